#include "imaging/WholeFile.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace imaging {
namespace {

std::string systemReason(int error) {
    return std::strerror(error);
}

// A new file beside the target, made for this write only (O_EXCL): nothing another program left
// there, and no link, is ever written through. Its name is short so that it fits wherever the
// target's does. The system applies the user's umask to the 0666, as for any new file.
int createBeside(const std::string& folder, std::string& tempPath) {
    static std::atomic<unsigned> serial{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath =
            folder + "/.imprix-" + std::to_string(::getpid()) + "-" + std::to_string(serial++) + ".tmp";
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

std::string writeFileWhole(const std::string& pathUtf8, const QByteArray& bytes) {
    // What stands at the name now: a link is left as it is (writing through it would replace the
    // file it leads to, which may be anything of the user's; replacing it would undo what someone set
    // up on purpose), and so is anything that is not a plain file (a pipe, a device, a folder).
    struct stat old {};
    const bool exists = ::lstat(pathUtf8.c_str(), &old) == 0;
    if (!exists && errno != ENOENT) return systemReason(errno);
    if (exists && S_ISLNK(old.st_mode)) return "a symbolic link has this name; it is left as it is";
    if (exists && S_ISDIR(old.st_mode)) return systemReason(EISDIR);
    if (exists && !S_ISREG(old.st_mode)) return "not a regular file";

    const auto slash = pathUtf8.rfind('/');
    const std::string folder = slash == std::string::npos ? "."
                               : slash == 0               ? "/"
                                                          : pathUtf8.substr(0, slash);
    std::string tempPath;
    const int fd = createBeside(folder, tempPath);
    if (fd < 0) return systemReason(errno);
    // A replaced copy keeps the permissions it had.
    bool written = (!exists || ::fchmod(fd, old.st_mode & 07777) == 0) &&
                   writeAll(fd, bytes.constData(), static_cast<std::size_t>(bytes.size())) &&
                   ::fsync(fd) == 0;
    int error = written ? 0 : errno;
    if (::close(fd) != 0 && written) {
        written = false;
        error = errno;
    }
    // rename() puts the new file in the name's place whole, and replaces a link put there meanwhile
    // rather than following it.
    if (written && ::rename(tempPath.c_str(), pathUtf8.c_str()) != 0) {
        written = false;
        error = errno;
    }
    if (!written) {
        ::unlink(tempPath.c_str());
        return systemReason(error != 0 ? error : EIO);
    }
    return {};
}

} // namespace imaging
