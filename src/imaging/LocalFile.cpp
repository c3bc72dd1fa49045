#include "imaging/LocalFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace imaging {

std::string openLocalFile(QFile& file, const std::string& path, QIODevice::OpenMode mode) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::strerror(errno);
    if (!file.open(fd, mode | QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return "the file cannot be read";
    }
    return {};
}

} // namespace imaging
