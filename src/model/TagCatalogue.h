#pragma once

#include <cstdint>
#include <span>
#include <string>

// One row of the property tag catalogue: the tag, its name in the item list and the short label
// drawn before its value (empty for tags drawn without one).
struct TagRow {
    std::uint16_t id;
    const char* displayName;
    const char* shortLabel;
};

// The catalogue's rows in table order, followed by the end row (id 0xffff, empty texts).
std::span<const TagRow> tagCatalogue();

// The first row whose id equals the tag, or null when none does before the end row.
const TagRow* findTag(std::uint32_t tag);

// The name of a property type code ("PropertyTagTypeASCII" for 2); "Nothing" for codes without one.
std::string propertyTypeName(std::uint16_t type);
