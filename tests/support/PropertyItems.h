#pragma once

#include "imaging/PropertyBlock.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
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
    for (const imaging::PropertyItem& item : block.items())
        out.push_back(item.id);
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

// Numbers as little-endian bytes of the given width.
inline std::string le(std::initializer_list<std::int64_t> values, int width = 4) {
    std::string out;
    for (std::int64_t v : values)
        for (int i = 0; i < width; ++i)
            out += static_cast<char>((static_cast<std::uint64_t>(v) >> (8 * i)) & 0xFF);
    return out;
}

struct Expected {
    std::uint32_t id;
    std::uint16_t type;
    std::string value; // its size is the record's length
};

// Expects a record of each id with the type and value, and a NUL after every value of the block.
inline void expectRecords(const imaging::PropertyBlock& block, const std::vector<Expected>& records) {
    for (const Expected& e : records) {
        const imaging::PropertyItem* item = find(block, e.id);
        ASSERT_NE(item, nullptr) << "no record 0x" << std::hex << e.id;
        EXPECT_EQ(item->type, e.type) << std::hex << e.id;
        EXPECT_EQ(bytes(*item), e.value) << std::hex << e.id;
    }
    for (const imaging::PropertyItem& item : block.items())
        EXPECT_TRUE(nulAfterValue(item)) << "no NUL after the value of 0x" << std::hex << item.id;
}

} // namespace propertyitems
