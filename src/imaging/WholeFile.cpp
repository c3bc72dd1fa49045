#include "imaging/WholeFile.h"

#include "imaging/TextCodec.h"

#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

namespace imaging {

std::string writeFileWhole(const std::string& pathUtf8, const QByteArray& bytes) {
    // QSaveFile follows a link and renames its new file over whatever the link leads to: a device or
    // a pipe (as root even /dev/full) would be replaced by a plain file.
    const QFileInfo target(toQString(pathUtf8));
    if (target.exists() && !target.isFile() && !target.isDir()) return "not a regular file";
    QSaveFile file(toQString(pathUtf8));
    if (!file.open(QIODevice::WriteOnly)) return toUtf8(file.errorString());
    // Qt 6.4's commit() renames even when flushing its buffer failed (a full disk, a file size
    // limit), which would put a cut-off file in place of the old one: check the flush first.
    errno = 0;
    const bool flushed = file.write(bytes) == bytes.size() && file.flush();
    const int writeErrno = errno;
    if (!flushed || file.error() != QFileDevice::NoError || file.size() != bytes.size()) {
        // QSaveFile leaves its reason at "Unknown error" when the flush fails; the system's is the
        // one the user needs ("No space left on device", "File too large").
        std::string reason = writeErrno != 0 ? std::strerror(writeErrno) : toUtf8(file.errorString());
        file.cancelWriting();
        return reason.empty() ? "the file could not be written whole" : reason;
    }
    if (!file.commit()) return toUtf8(file.errorString());
    return {};
}

} // namespace imaging
