#pragma once

#include <string>

namespace imaging {

// Makes a folder and every folder above it that is missing. Returns an empty text when the folder
// exists afterwards, else what stopped it, with the system's reason ("/out/a: Permission denied",
// "/out/notes.txt: Not a directory").
std::string makeFolders(const std::string& pathUtf8);

} // namespace imaging
