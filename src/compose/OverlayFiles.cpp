// Loading the border and watermark files that travel with a template in its directory.

#include "model/DatedPicture.h"
#include "model/Dialogs.h"

#include "imaging/TextCodec.h"

#include <QFileInfo>

namespace {

// The names come from template files, which may come from anyone: only a plain file name inside the
// template directory is looked up, never a path that leads out of it.
bool isBareFileName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string("/\\\0", 3)) == std::string::npos;
}

std::string inDirectory(const std::string& directory, const std::string& name) {
    return directory + "/" + name;
}

// A link in the template directory may lead to a file beside it, never out of it: a shared template
// folder could otherwise make the program read any picture the user can.
bool staysInDirectory(const std::string& directory, const std::string& name) {
    const QFileInfo file(imaging::toQString(inDirectory(directory, name)));
    if (!file.isSymLink()) return true;
    const QString folder = QFileInfo(imaging::toQString(directory)).canonicalFilePath();
    const QString target = file.canonicalFilePath();
    return !folder.isEmpty() && !target.isEmpty() && target.startsWith(folder + QLatin1Char('/'));
}

std::unique_ptr<imaging::Bitmap> loadBareName(const std::string& directory, const std::string& name) {
    if (!isBareFileName(name) || !staysInDirectory(directory, name)) return nullptr;
    imaging::Status status = imaging::Status::Ok;
    return imaging::Bitmap::fromFile(inDirectory(directory, name), status);
}

} // namespace

bool CDatedPicture::LoadBorder(const std::string& fileName, int opacity, Dialogs& dialogs) {
    borderBitmap.reset();
    borderBitmap = loadBareName(templateDir, fileName);
    if (!borderBitmap) {
        dialogs.error("Unable to load border " + fileName + ".  Invalid type or permissions.");
        return false;
    }
    borderPath = fileName;
    borderOpacity = opacity;
    return true;
}

bool CDatedPicture::LoadWatermark(const std::string& fileName, int opacity, Dialogs& dialogs) {
    watermarkBitmap.reset();
    watermarkBitmap = loadBareName(templateDir, fileName);
    if (!watermarkBitmap) {
        dialogs.error("Unable to load Watermark " + inDirectory(templateDir, fileName) + ".");
        return false;
    }
    return SetWatermarkItem(fileName, opacity);
}

void CDatedPicture::LoadOverlaysOnce(Dialogs* dialogs) {
    if (!borderBitmap && !borderPath.empty() && !(dialogs && LoadBorder(borderPath, borderOpacity, *dialogs)))
        borderPath.clear();
    for (int i = 0; i < itemCount; ++i) {
        ImprintItem& it = item(i);
        if (it.tag != kTagWatermark || !it.visible || watermarkBitmap) continue;
        if (it.fontName.empty() || !(dialogs && LoadWatermark(it.fontName, it.fontSize, *dialogs)))
            it.visible = 0;
    }
}
