#include "model/SettingsPaths.h"

#include "imaging/TextCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

std::string settingsFilePath(const std::string& executablePath) {
    const auto slash = executablePath.rfind('/');
    const auto dot = executablePath.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash) ||
        dot == (slash == std::string::npos ? 0 : slash + 1))
        return executablePath + ".ini";
    return executablePath.substr(0, dot) + ".ini";
}

std::string expandHomeFolder(const std::string& value) {
    if (value != "~" && value.rfind("~/", 0) != 0) return value;
    return imaging::toUtf8(QDir::homePath()) + value.substr(1);
}

std::string resolveTemplateFolder(const std::string& rawValue, const std::string& executableFolder) {
    const std::string value = expandHomeFolder(rawValue);
    if (value.find('/') != std::string::npos || value.find('\\') != std::string::npos) return value;
    return executableFolder + "/" + value;
}

std::string defaultOutputFolder() {
    QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (pictures.isEmpty()) pictures = QStandardPaths::writableLocation(QStandardPaths::HomeLocation);
    return imaging::toUtf8(pictures);
}

namespace {

QString q(const std::string& s) {
    return imaging::toQString(s);
}

bool isPortableFolder(const QString& folder, const QString& iniPath) {
    const QFileInfo info(folder);
    if (!info.isDir() || !info.isWritable()) return false;
    return QFileInfo(iniPath).isFile() ||
           QFileInfo(folder + QStringLiteral("/") + kDefaultTemplateFolder).isDir();
}

} // namespace

SettingsHome locateSettingsHome(const std::string& executablePath) {
    SettingsHome home;
    const auto slash = executablePath.rfind('/');
    const std::string exeFolder = slash == std::string::npos ? "." : executablePath.substr(0, slash);
    home.iniPath = settingsFilePath(executablePath);
    home.folder = exeFolder;
    if (isPortableFolder(q(exeFolder), q(home.iniPath))) return home;

    QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (config.isEmpty()) config = QDir::homePath() + QStringLiteral("/.config");
    home.portable = false;
    home.folder = imaging::toUtf8(config) + "/imprix";
    home.iniPath = home.folder + "/" + imaging::toUtf8(QFileInfo(q(home.iniPath)).fileName());
    return home;
}

std::string shippedTemplatesFolder(const std::string& executableFolder) {
    QStringList candidates{q(executableFolder) + QStringLiteral("/../") + kShippedTemplatesFolder};
    // Installed elsewhere (a package's /usr, a Flatpak's /app): the data folders of the desktop.
    for (const QString& data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        candidates << data + QStringLiteral("/imprix/") + kDefaultTemplateFolder;
    candidates << q(executableFolder) + QStringLiteral("/") + kDefaultTemplateFolder;
    for (const QString& folder : candidates)
        if (QFileInfo(folder).isDir()) return imaging::toUtf8(QDir::cleanPath(folder));
    return {};
}

std::string usableTemplateFolder(const std::string& folder, const std::string& executableFolder) {
    if (QFileInfo(q(folder)).isDir()) return folder;
    const std::string shipped = shippedTemplatesFolder(executableFolder);
    return shipped.empty() ? folder : shipped;
}

std::string provideShippedTemplates(const SettingsHome& home, const std::string& executableFolder) {
    if (home.portable) return {};
    const QString target = q(home.folder) + QStringLiteral("/") + kDefaultTemplateFolder;
    if (QFileInfo::exists(target)) return {};

    const std::string shipped = shippedTemplatesFolder(executableFolder);
    if (shipped.empty()) return {}; // nothing shipped: try again next time
    const QDir source(q(shipped));
    if (!QDir().mkpath(target)) return "cannot make the template folder " + imaging::toUtf8(target);
    std::string problems;
    for (const QFileInfo& file : source.entryInfoList(QDir::Files | QDir::Readable)) {
        const QString copy = target + QStringLiteral("/") + file.fileName();
        if (QFileInfo::exists(copy)) continue;
        if (!QFile::copy(file.filePath(), copy)) {
            problems += (problems.empty() ? "cannot copy " : ", ") + imaging::toUtf8(file.fileName());
            continue;
        }
        // The copy belongs to the user, whatever the installed file's permissions were.
        QFile::setPermissions(copy,
                              QFile::permissions(copy) | QFileDevice::WriteOwner | QFileDevice::ReadOwner);
    }
    return problems.empty() ? problems : problems + " into " + imaging::toUtf8(target);
}
