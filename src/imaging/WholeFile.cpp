#include "imaging/WholeFile.h"

#include "imaging/TextCodec.h"

#include <QSaveFile>

namespace imaging {

std::string writeFileWhole(const std::string& pathUtf8, const QByteArray& bytes) {
    QSaveFile file(toQString(pathUtf8));
    if (!file.open(QIODevice::WriteOnly)) return toUtf8(file.errorString());
    // Qt 6.4's commit() renames even when flushing its buffer failed (a full disk, a file size
    // limit), which would put a cut-off file in place of the old one: check the flush first.
    if (file.write(bytes) != bytes.size() || !file.flush() || file.error() != QFileDevice::NoError ||
        file.size() != bytes.size()) {
        std::string reason = toUtf8(file.errorString());
        file.cancelWriting();
        return reason.empty() ? "the file could not be written whole" : reason;
    }
    if (!file.commit()) return toUtf8(file.errorString());
    return {};
}

} // namespace imaging
