#pragma once

#include <QByteArray>

#include <string>

namespace imaging {

// Writes the bytes to a new temporary file beside the target and renames it over the target only when
// every byte reached the disk, so the target is either the new file whole or the old one untouched.
// Only a plain file is replaced (keeping its permissions): a symbolic link, a folder, a pipe or a
// device at the target's name is left as it is and refused. Returns an empty text on success, else
// the system's reason.
std::string writeFileWhole(const std::string& pathUtf8, const QByteArray& bytes);

} // namespace imaging
