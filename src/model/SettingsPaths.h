#pragma once

#include <string>

// Where the desktop application and the batch program find their settings and templates.

// The settings file of an executable: its path with the extension of its file name replaced by
// ".ini", or ".ini" appended when the name has none ("/opt/imprix/bin/imprix" gives
// "/opt/imprix/bin/imprix.ini"). A dot in a folder name is never taken for an extension.
std::string settingsFilePath(const std::string& executablePath);

// The template folder a "TemplatePath" value names: a value without any separator is a folder
// beside the executable; any other value is used as written.
std::string resolveTemplateFolder(const std::string& value, const std::string& executableFolder);

// A folder of the settings as a shell user writes it: "~" and "~/..." name the home folder (a
// folder literally named "~" is never made for it); anything else is returned as it is.
std::string expandHomeFolder(const std::string& value);

// The defaults of the settings the core knows about.
inline constexpr const char* kSettingsSection = "General";
inline constexpr const char* kDefaultTemplateName = "Simple.tpl";
inline constexpr const char* kDefaultTemplateFolder = "Templates";
// "LosslessJpeg": 1 (the default) keeps a JPEG photo's own data outside the items of its copy, 0
// encodes the whole picture at the template's quality.
inline constexpr const char* kLosslessKey = "LosslessJpeg";
// "OptimizeHuffman": 1 encodes whole-picture copies with Huffman tables fitted to the picture (about a
// fifth smaller, slower); 0, the default, with the standard tables.
inline constexpr const char* kOptimizeKey = "OptimizeHuffman";

// Where the settings file lies and where a bare "TemplatePath" folder name is looked up.
//
// A portable copy (the build tree, a folder copied to a stick) keeps both beside the executable: its
// folder holds the settings file or a "Templates" folder, and may be written. An installed copy (a
// read-only /usr/bin, or bin/ of any prefix without a "Templates" folder) keeps both in the user's
// configuration folder: $XDG_CONFIG_HOME/imprix, ~/.config/imprix by default.
struct SettingsHome {
    std::string iniPath; // the settings file
    std::string folder;  // a bare "TemplatePath" value names a folder in here
    bool portable = true;
};

// The home of the settings of the program at `executablePath`; the settings file is named after the
// program ("imprix" gives imprix.ini), as `settingsFilePath` says.
SettingsHome locateSettingsHome(const std::string& executablePath);

// An installed copy finds the templates that ship with it in the user's template folder: when
// `home.folder`/Templates does not exist yet, it is made and the shipped templates are copied in,
// from <prefix>/share/imprix/Templates (<prefix> being the executable's folder's parent), else from
// Templates beside the executable. Files already there are never replaced. Returns an empty text, or
// why the templates could not be copied.
std::string provideShippedTemplates(const SettingsHome& home, const std::string& executableFolder);

// The templates that ship with the program: <prefix>/share/imprix/Templates beside its bin/, else
// imprix/Templates in a data folder of the desktop ($XDG_DATA_DIRS, /usr/share ...), else Templates
// beside the executable; empty when none exists.
std::string shippedTemplatesFolder(const std::string& executableFolder);

// The template folder to use: `folder` when it exists; else (a home that could not be written, so the
// shipped templates were not copied in) the shipped templates themselves, so that the default
// template is the shipped one and not a new one made in its place.
std::string usableTemplateFolder(const std::string& folder, const std::string& executableFolder);

// The folder the shipped templates are installed into, below the prefix.
inline constexpr const char* kShippedTemplatesFolder = "share/imprix/Templates";

// The user's pictures folder: the default output folder.
std::string defaultOutputFolder();
