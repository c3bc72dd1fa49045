#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// What each fuzz target does with one input. The fuzzers call these, and so does the ordinary test
// that replays the kept inputs in every build, so an input that once found a fault keeps proving the
// fix. Each returns an empty text when every check held, else what went wrong; a crash, a leak or
// undefined behaviour is left to the sanitizers.
namespace fuzzing {

// A template file's bytes through ParseTemplate; what parsed must write and read back unchanged.
std::string parseTemplateBytes(const std::uint8_t* data, std::size_t size);

// A template file's bytes applied to a small photo with a date, a camera and a label, and drawn.
std::string applyTemplateBytes(const std::uint8_t* data, std::size_t size);

// Property records (id, type, declared length, value) cut from the bytes, each through
// AddItemFromProperty into one model, as loading a photo passes them.
std::string addPropertyRecords(const std::uint8_t* data, std::size_t size);

// The bytes as a photo file: its properties read, then made into items.
std::string readPhotoProperties(const std::uint8_t* data, std::size_t size);

// The bytes as a JPEG photo file, decoded by the JPEG decoder when its header allows, on its own and
// into a larger picture; a decoded photo has its header's size, turned by its orientation.
std::string decodeJpegBytes(const std::uint8_t* data, std::size_t size);

// A date text and a date format (the bytes before and after the first line break) through FormatDate.
std::string formatDateBytes(const std::uint8_t* data, std::size_t size);

// The bytes as a settings file: every setting read, written back and read again.
std::string readSettingsBytes(const std::uint8_t* data, std::size_t size);

using Entry = std::string (*)(const std::uint8_t* data, std::size_t size);

struct Target {
    const char* name; // also the folder of its kept inputs, fuzz/corpus/<name>
    Entry entry;
};

// Every target, in the order scripts/fuzz runs them.
const std::vector<Target>& targets();
const Target* findTarget(const std::string& name);

} // namespace fuzzing
