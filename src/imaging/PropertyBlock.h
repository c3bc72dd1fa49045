#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace imaging {

// Property type codes of the records (the TIFF field types).
enum PropertyType : std::uint16_t {
    kTypeByte = 1,
    kTypeAscii = 2,
    kTypeShort = 3,
    kTypeLong = 4,
    kTypeRational = 5,
    kTypeUndefined = 7,
    kTypeSLong = 9,
    kTypeSRational = 10,
};

// One property record: tag id, value length in bytes, type code and a pointer to the value. Values
// are in little-endian byte order whatever the order in the file, and every value is followed by at
// least one NUL byte inside the block, so a reader looking for a terminator never runs off its end.
struct PropertyItem {
    std::uint32_t id = 0;
    std::uint32_t length = 0;
    std::uint16_t type = 0;
    const std::uint8_t* value = nullptr;
};

// All property records of one picture and the values they point to, in one block.
class PropertyBlock {
public:
    PropertyBlock() = default;
    PropertyBlock(const PropertyBlock& other) { *this = other; }
    PropertyBlock& operator=(const PropertyBlock& other);
    PropertyBlock(PropertyBlock&&) noexcept = default;
    PropertyBlock& operator=(PropertyBlock&&) noexcept = default;

    // Appends a record; the value bytes are copied into the block.
    void add(std::uint32_t id, std::uint16_t type, const void* data, std::uint32_t length);
    bool contains(std::uint32_t id) const;

    const std::vector<PropertyItem>& items() const { return items_; }
    std::size_t count() const { return items_.size(); }
    bool empty() const { return items_.empty(); }
    // Bytes held for values and their padding.
    std::size_t valueBytes() const { return storedBytes_; }

private:
    std::vector<PropertyItem> items_;
    // One buffer per value keeps earlier pointers valid while the block grows.
    std::vector<std::vector<std::uint8_t>> values_;
    std::size_t storedBytes_ = 0;
};

} // namespace imaging
