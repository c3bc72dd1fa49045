#include "imaging/TiffMessages.h"

#include <QtGlobal>

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>

#include <dlfcn.h>
#include <link.h>

namespace imaging {
namespace {

// libtiff's handler type and setters (tiffio.h), stable since libtiff 3: the library is reached
// through the copy Qt's plugin loaded, not linked, so its headers are not needed.
using TiffHandler = void (*)(const char* module, const char* format, va_list arguments);
using SetTiffHandler = TiffHandler (*)(TiffHandler);

void toQtWarning(const char* module, const char* format, va_list arguments) {
    char text[1024];
    std::vsnprintf(text, sizeof text, format, arguments);
    qWarning("%s: %s", module ? module : "libtiff", text);
}

int findLibtiff(dl_phdr_info* info, std::size_t, void* path) {
    const char* name = info->dlpi_name;
    const char* slash = std::strrchr(name, '/');
    if (std::strncmp(slash ? slash + 1 : name, "libtiff.so", 10) != 0) return 0;
    *static_cast<std::string*>(path) = name;
    return 1;
}

} // namespace

void routeTiffMessagesToQt() {
    static std::atomic<bool> routed{false};
    static std::mutex mutex;
    if (routed) return;
    std::lock_guard lock(mutex);
    if (routed) return;
    std::string path;
    dl_iterate_phdr(findLibtiff, &path);
    if (path.empty()) return;
    // A reference that is never given back: the plugin keeps libtiff loaded for the program's life.
    void* libtiff = dlopen(path.c_str(), RTLD_LAZY | RTLD_NOLOAD);
    if (libtiff == nullptr) return;
    for (const char* setter : {"TIFFSetWarningHandler", "TIFFSetErrorHandler"}) {
        if (auto set = reinterpret_cast<SetTiffHandler>(dlsym(libtiff, setter))) set(toQtWarning);
    }
    routed = true;
}

} // namespace imaging
