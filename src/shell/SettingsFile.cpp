#include "shell/SettingsFile.h"

#include "model/ProfileFile.h"
#include "model/SettingsPaths.h"

#include <algorithm>

namespace {

constexpr const char* kColorsSection = "CustomColors";
constexpr const char* kWhite = "16777215";
constexpr const char* kWindowSection = "Window";
constexpr const char* kRecentSection = "Recent";

std::string recentKey(std::size_t slot) {
    return "File" + std::to_string(slot + 1);
}

std::string colorKey(int slot) {
    return "C" + std::to_string(slot + 1);
}

} // namespace

int LoadSettings(AppSettings& settings, std::string& outputDir) {
    const ProfileFile file(settings.iniPath);
    const std::string outDir =
        expandHomeFolder(file.getString(kSettingsSection, "OutDir", defaultOutputFolder()));
    settings.outputDir = outDir;
    if (outputDir.empty()) outputDir = outDir;
    settings.defaultTemplate = file.getString(kSettingsSection, "TemplateDef", kDefaultTemplateName);
    // A folder the settings name is theirs to keep, found or not; the default one falls back to the
    // shipped templates when it could not be made.
    const std::string templatePath = file.getString(kSettingsSection, "TemplatePath", kDefaultTemplateFolder);
    settings.templateFolder = resolveTemplateFolder(
        templatePath, settings.homeFolder.empty() ? settings.exeFolder : settings.homeFolder);
    if (templatePath == kDefaultTemplateFolder)
        settings.templateFolder = usableTemplateFolder(settings.templateFolder, settings.exeFolder);
    settings.backColor = file.getInt(kSettingsSection, "BackColor", "9474192");
    settings.viewAllExif = file.getInt(kSettingsSection, "ViewAllExif", "0");
    settings.losslessJpeg = file.getInt(kSettingsSection, kLosslessKey, "1") != 0 ? 1 : 0;
    settings.optimizeHuffman = file.getInt(kSettingsSection, kOptimizeKey, "0") != 0 ? 1 : 0;
    const int viewRatio = file.getInt(kSettingsSection, "ViewRatio", "1.5");
    for (int slot = 0; slot < static_cast<int>(settings.customColors.size()); ++slot)
        settings.customColors[static_cast<std::size_t>(slot)] =
            file.getInt(kColorsSection, colorKey(slot), kWhite);
    settings.windowGeometry = file.getString(kWindowSection, "Geometry", "");
    settings.recentFiles.clear();
    for (std::size_t slot = 0; slot < kMostRecentFiles; ++slot) {
        const std::string path = file.getString(kRecentSection, recentKey(slot), "");
        if (!path.empty()) settings.recentFiles.push_back(path);
    }
    return viewRatio;
}

void RememberRecent(AppSettings& settings, const std::string& path) {
    auto& list = settings.recentFiles;
    list.erase(std::remove(list.begin(), list.end(), path), list.end());
    list.insert(list.begin(), path);
    if (list.size() > kMostRecentFiles) list.resize(kMostRecentFiles);
}

std::string SaveSettings(const AppSettings& settings) {
    ProfileFile file(settings.iniPath);
    file.setString(kSettingsSection, "OutDir", settings.outputDir);
    file.setString(kSettingsSection, "TemplateDef", settings.defaultTemplate);
    file.setString(kSettingsSection, "TemplatePath", settings.templateFolder);
    file.setInt(kSettingsSection, "BackColor", settings.backColor);
    file.setInt(kSettingsSection, "ViewAllExif", settings.viewAllExif);
    file.setInt(kSettingsSection, "ViewRatio", settings.viewRatio);
    file.setInt(kSettingsSection, kLosslessKey, settings.losslessJpeg);
    file.setInt(kSettingsSection, kOptimizeKey, settings.optimizeHuffman);
    for (int slot = 0; slot < static_cast<int>(settings.customColors.size()); ++slot)
        file.setInt(kColorsSection, colorKey(slot), settings.customColors[static_cast<std::size_t>(slot)]);
    if (!settings.windowGeometry.empty()) file.setString(kWindowSection, "Geometry", settings.windowGeometry);
    // A slot no longer used is emptied, but only when the file has it: a file is never given keys it
    // does not need.
    for (std::size_t slot = 0; slot < kMostRecentFiles; ++slot) {
        if (slot < settings.recentFiles.size())
            file.setString(kRecentSection, recentKey(slot), settings.recentFiles[slot]);
        else if (!file.getString(kRecentSection, recentKey(slot), "").empty())
            file.setString(kRecentSection, recentKey(slot), "");
    }
    return file.save(settings.iniPath);
}
