#pragma once

#include "imaging/PropertyBlock.h"

#include <cstdint>
#include <string>
#include <vector>

// Looking into a property block from tests: records by id, and numbers read from values the way
// every reader of the block reads them, little-endian.
namespace propertyitems {

inline const imaging::PropertyItem* find(const imaging::PropertyBlock& block, std::uint32_t id) {
    for (const imaging::PropertyItem& item : block.items())
        if (item.id == id) return &item;
    return nullptr;
}

inline std::vector<std::uint32_t> ids(const imaging::PropertyBlock& block) {
    std::vector<std::uint32_t> out;
    for (const imaging::PropertyItem& item : block.items()) out.push_back(item.id);
    return out;
}

inline std::uint16_t u16(const imaging::PropertyItem& item, std::size_t index = 0) {
    const std::uint8_t* p = item.value + 2 * index;
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline std::uint32_t u32(const imaging::PropertyItem& item, std::size_t index = 0) {
    const std::uint8_t* p = item.value + 4 * index;
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}

inline std::int32_t s32(const imaging::PropertyItem& item, std::size_t index = 0) {
    return static_cast<std::int32_t>(u32(item, index));
}

inline std::string bytes(const imaging::PropertyItem& item) {
    return std::string(reinterpret_cast<const char*>(item.value), item.length);
}

// True when a NUL follows the value inside the block, so a reader looking for a terminator stops.
inline bool nulAfterValue(const imaging::PropertyItem& item) {
    return item.value != nullptr && item.value[item.length] == 0;
}

} // namespace propertyitems
