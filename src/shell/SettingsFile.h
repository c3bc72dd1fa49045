#pragma once

#include "shell/AppSettings.h"

#include <string>

// The desktop application's settings file: section "General" with OutDir, TemplateDef, TemplatePath,
// BackColor, ViewAllExif, ViewRatio and LosslessJpeg, section "CustomColors" with C1 to C16, and section
// "Window" with the window's Geometry once the window was closed.

// Reads every key, in that order, into `settings` (settings.iniPath and settings.exeFolder must be
// set). "OutDir" goes into settings.outputDir, and into `outputDir` too when that is empty. "TemplatePath"
// ends up absolute when it names a bare folder: in settings.homeFolder, or beside the executable when that is
// empty. Returns "ViewRatio" as read (atoi): the caller turns the guides on for 1 to 3; settings.viewRatio is
// left alone.
int LoadSettings(AppSettings& settings, std::string& outputDir);

// Writes every key, in the same order, keeping whatever else the file holds. The file is replaced
// whole; a failed write leaves the old file as it was and is not reported to the user. Returns an
// empty text, or why the file could not be written.
std::string SaveSettings(const AppSettings& settings);

// File > Open Recent holds this many photos and folders.
inline constexpr std::size_t kMostRecentFiles = 10;
// Puts a photo or folder the user opened first in the recent list (once), keeping the ten newest.
void RememberRecent(AppSettings& settings, const std::string& path);
