#pragma once

#include <QtGlobal>

#include <csetjmp>
#include <cstdio> // jpeglib.h uses FILE without including it

extern "C" {
#include <jerror.h>
#include <jpeglib.h>
}

#if !defined(JCS_EXTENSIONS)
#error "Imprix needs libjpeg-turbo's jpeglib.h (Debian: libjpeg62-turbo-dev), which reads 4-byte pixels"
#endif

namespace imaging {

// How a QRgb lies in memory (blue, green, red, then alpha on a little-endian machine), as libjpeg-turbo
// reads and writes 4-byte pixels; decoding sets the fourth byte to 255.
constexpr J_COLOR_SPACE kQRgbLayout = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX : JCS_EXT_XRGB;

// libjpeg reports a fatal error by calling error_exit, which must not return: this one jumps back to
// the setjmp of the code that started libjpeg, with the message. The jump must not skip a destructor,
// so whatever libjpeg runs under holds plain data only.
struct JpegErrorExit {
    jpeg_error_mgr manager; // first, so that libjpeg's pointer to it is one to the whole
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    // A warning that the picture data is damaged (a scan cut short, a bad code), rather than one
    // about bytes outside the picture data.
    bool damaged;
};

inline void leaveOnJpegError(j_common_ptr info) {
    auto* exit = reinterpret_cast<JpegErrorExit*>(info->err);
    (*info->err->format_message)(info, exit->message);
    std::longjmp(exit->jump, 1);
}

// Warnings have level -1; trace messages, which libjpeg only prints when asked, are ignored.
inline void noteJpegWarning(j_common_ptr info, int level) {
    auto* exit = reinterpret_cast<JpegErrorExit*>(info->err);
    if (level >= 0) return;
    ++info->err->num_warnings;
    if (info->err->msg_code == JWRN_EXTRANEOUS_DATA) return; // stray bytes between markers
    if (!exit->damaged) (*info->err->format_message)(info, exit->message);
    exit->damaged = true;
}

// Points `info` at the error exit, freshly reset.
inline jpeg_error_mgr* useJpegErrorExit(JpegErrorExit& exit) {
    jpeg_error_mgr* manager = jpeg_std_error(&exit.manager);
    exit.manager.error_exit = leaveOnJpegError;
    exit.manager.emit_message = noteJpegWarning;
    exit.message[0] = '\0';
    exit.damaged = false;
    return manager;
}

} // namespace imaging
