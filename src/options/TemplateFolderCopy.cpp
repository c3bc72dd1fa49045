#include "options/TemplateFolderCopy.h"

#include "imaging/TextCodec.h"
#include "imaging/WholeFile.h"

#include <QFile>

#include <sys/stat.h>

namespace {

// True when both paths name one existing file, by its device and inode, so links, "." and ".." in
// either path do not hide it. Copying a file onto itself would empty it.
bool sameFile(const std::string& a, const std::string& b) {
    struct stat sa = {};
    struct stat sb = {};
    if (::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0) return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

} // namespace

std::string FileNameOfPath(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool CopyIntoTemplateFolder(const std::string& chosen, const std::string& destination) {
    if (chosen.find('/') == std::string::npos) return true;
    if (chosen == destination || sameFile(chosen, destination)) return true;

    // A picture file, read whole (border and watermark files are pictures of a few megabytes), and
    // written through the one writer that leaves the old file whole when the new one cannot be.
    QFile source(imaging::toQString(chosen));
    if (!source.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError) return false;
    return imaging::writeFileWhole(destination, bytes).empty();
}
