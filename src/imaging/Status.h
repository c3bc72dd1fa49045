#pragma once

namespace imaging {

// Result codes of the imaging layer, numbered like the platform imaging library the templates and
// tools of this product were first written against, so logs and tests can quote the same numbers.
enum class Status : int {
    Ok = 0,
    GenericError = 1,
    InvalidParameter = 2,
    OutOfMemory = 3,
    ObjectBusy = 4,
    InsufficientBuffer = 5,
    NotImplemented = 6,
    Win32Error = 7,
    WrongState = 8,
    Aborted = 9,
    FileNotFound = 10,
    ValueOverflow = 11,
    AccessDenied = 12,
    UnknownImageFormat = 13,
    FontFamilyNotFound = 14,
    FontStyleNotFound = 15,
    NotTrueTypeFont = 16,
    UnsupportedVersion = 17,
    NotInitialized = 18,
    PropertyNotFound = 19,
    PropertyNotSupported = 20,
};

const char* statusName(Status status);

// Base of every owner object: keeps the last non-Ok status of the object it owns. Reading the
// status clears it, so a caller sees each failure once.
class StatusOwner {
public:
    Status lastStatus() {
        const Status s = last_;
        last_ = Status::Ok;
        return s;
    }
    Status peekStatus() const { return last_; }

protected:
    Status record(Status s) {
        if (s != Status::Ok) last_ = s;
        return s;
    }

private:
    Status last_ = Status::Ok;
};

} // namespace imaging
