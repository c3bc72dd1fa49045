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

// The defaults of the settings the core knows about.
inline constexpr const char* kSettingsSection = "General";
inline constexpr const char* kDefaultTemplateName = "Simple.tpl";
inline constexpr const char* kDefaultTemplateFolder = "Templates";

// The user's pictures folder: the default output folder.
std::string defaultOutputFolder();
