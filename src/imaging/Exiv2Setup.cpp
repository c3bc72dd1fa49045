#include "imaging/Exiv2Setup.h"

#include <exiv2/exiv2.hpp>

#include <mutex>

namespace imaging {

void silenceExiv2Log() {
    static std::once_flag once;
    std::call_once(once, [] { Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute); });
}

void prepareExiv2ForThreads() {
    silenceExiv2Log();
    static std::once_flag once;
    std::call_once(once, [] { Exiv2::XmpParser::initialize(); });
}

} // namespace imaging
