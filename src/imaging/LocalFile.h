#pragma once

#include <QFile>

#include <string>

namespace imaging {

// Opens the file a path names for reading. The path is taken as the bytes the system names files by,
// so a name that is not valid UTF-8 (written on another system, or by a camera) opens too; a trip
// through QString would turn it into another name. Returns an empty text, or the system's reason.
std::string openLocalFile(QFile& file, const std::string& path,
                          QIODevice::OpenMode mode = QIODevice::ReadOnly);

} // namespace imaging
