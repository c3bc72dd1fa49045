#include "imaging/PropertyBlock.h"

#include <algorithm>
#include <cstring>

namespace imaging {

PropertyBlock& PropertyBlock::operator=(const PropertyBlock& other) {
    if (this == &other) return *this;
    items_.clear();
    values_.clear();
    storedBytes_ = 0;
    for (const PropertyItem& item : other.items_)
        add(item.id, item.type, item.value, item.length);
    return *this;
}

void PropertyBlock::add(std::uint32_t id, std::uint16_t type, const void* data, std::uint32_t length) {
    // Padding: a NUL past the value, and enough that a reader of the value's first number of up to
    // eight bytes stays inside the buffer even when the value is shorter than its type needs.
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length) + 8, 0);
    if (data != nullptr && length > 0) std::memcpy(bytes.data(), data, length);
    storedBytes_ += bytes.size();
    values_.push_back(std::move(bytes));
    items_.push_back(PropertyItem{id, length, type, values_.back().data()});
}

bool PropertyBlock::contains(std::uint32_t id) const {
    return std::any_of(items_.begin(), items_.end(), [id](const PropertyItem& p) { return p.id == id; });
}

} // namespace imaging
