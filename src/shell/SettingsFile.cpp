#include "shell/SettingsFile.h"

#include "model/ProfileFile.h"
#include "model/SettingsPaths.h"

namespace {

constexpr const char* kColorsSection = "CustomColors";
constexpr const char* kWhite = "16777215";
constexpr const char* kWindowSection = "Window";

std::string colorKey(int slot) {
    return "C" + std::to_string(slot + 1);
}

} // namespace

int LoadSettings(AppSettings& settings, std::string& outputDir) {
    const ProfileFile file(settings.iniPath);
    const std::string outDir = expandHomeFolder(file.getString(kSettingsSection, "OutDir", defaultOutputFolder()));
    settings.outputDir = outDir;
    if (outputDir.empty()) outputDir = outDir;
    settings.defaultTemplate = file.getString(kSettingsSection, "TemplateDef", kDefaultTemplateName);
    settings.templateFolder = resolveTemplateFolder(
        file.getString(kSettingsSection, "TemplatePath", kDefaultTemplateFolder),
        settings.homeFolder.empty() ? settings.exeFolder : settings.homeFolder);
    settings.backColor = file.getInt(kSettingsSection, "BackColor", "9474192");
    settings.viewAllExif = file.getInt(kSettingsSection, "ViewAllExif", "0");
    settings.losslessJpeg = file.getInt(kSettingsSection, kLosslessKey, "1") != 0 ? 1 : 0;
    const int viewRatio = file.getInt(kSettingsSection, "ViewRatio", "1.5");
    for (int slot = 0; slot < static_cast<int>(settings.customColors.size()); ++slot)
        settings.customColors[static_cast<std::size_t>(slot)] =
            file.getInt(kColorsSection, colorKey(slot), kWhite);
    settings.windowGeometry = file.getString(kWindowSection, "Geometry", "");
    return viewRatio;
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
    for (int slot = 0; slot < static_cast<int>(settings.customColors.size()); ++slot)
        file.setInt(kColorsSection, colorKey(slot), settings.customColors[static_cast<std::size_t>(slot)]);
    if (!settings.windowGeometry.empty()) file.setString(kWindowSection, "Geometry", settings.windowGeometry);
    return file.save(settings.iniPath);
}
