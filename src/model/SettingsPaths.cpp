#include "model/SettingsPaths.h"

#include "imaging/TextCodec.h"

#include <QStandardPaths>

std::string settingsFilePath(const std::string& executablePath) {
    const auto slash = executablePath.rfind('/');
    const auto dot = executablePath.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash) ||
        dot == (slash == std::string::npos ? 0 : slash + 1))
        return executablePath + ".ini";
    return executablePath.substr(0, dot) + ".ini";
}

std::string resolveTemplateFolder(const std::string& value, const std::string& executableFolder) {
    if (value.find('/') != std::string::npos || value.find('\\') != std::string::npos) return value;
    return executableFolder + "/" + value;
}

std::string defaultOutputFolder() {
    QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (pictures.isEmpty()) pictures = QStandardPaths::writableLocation(QStandardPaths::HomeLocation);
    return imaging::toUtf8(pictures);
}
