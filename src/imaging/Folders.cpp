#include "imaging/Folders.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace imaging {

std::string makeFolders(const std::string& pathUtf8) {
    if (pathUtf8.empty()) return "no folder is named";
    // Each level in turn from the top, so the reason names the level that could not be made.
    for (std::size_t end = pathUtf8.find('/', 1);; end = pathUtf8.find('/', end + 1)) {
        const std::string level = pathUtf8.substr(0, end);
        struct stat st {};
        if (::stat(level.c_str(), &st) == 0) {
            if (!S_ISDIR(st.st_mode)) return level + ": " + std::strerror(ENOTDIR);
        } else if (errno != ENOENT || (::mkdir(level.c_str(), 0777) != 0 && errno != EEXIST)) {
            return level + ": " + std::strerror(errno);
        }
        if (end == std::string::npos) return {};
    }
}

} // namespace imaging
