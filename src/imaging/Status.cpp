#include "imaging/Status.h"

namespace imaging {

const char* statusName(Status status) {
    switch (status) {
    case Status::Ok:
        return "Ok";
    case Status::GenericError:
        return "GenericError";
    case Status::InvalidParameter:
        return "InvalidParameter";
    case Status::OutOfMemory:
        return "OutOfMemory";
    case Status::ObjectBusy:
        return "ObjectBusy";
    case Status::InsufficientBuffer:
        return "InsufficientBuffer";
    case Status::NotImplemented:
        return "NotImplemented";
    case Status::Win32Error:
        return "Win32Error";
    case Status::WrongState:
        return "WrongState";
    case Status::Aborted:
        return "Aborted";
    case Status::FileNotFound:
        return "FileNotFound";
    case Status::ValueOverflow:
        return "ValueOverflow";
    case Status::AccessDenied:
        return "AccessDenied";
    case Status::UnknownImageFormat:
        return "UnknownImageFormat";
    case Status::FontFamilyNotFound:
        return "FontFamilyNotFound";
    case Status::FontStyleNotFound:
        return "FontStyleNotFound";
    case Status::NotTrueTypeFont:
        return "NotTrueTypeFont";
    case Status::UnsupportedVersion:
        return "UnsupportedVersion";
    case Status::NotInitialized:
        return "NotInitialized";
    case Status::PropertyNotFound:
        return "PropertyNotFound";
    case Status::PropertyNotSupported:
        return "PropertyNotSupported";
    }
    return "Unknown";
}

} // namespace imaging
