// Turning one property record into an item: names from the catalogue, the value's text by the
// rules of its tag, and whether the item is offered in the item list by default.

#include "model/DatedPicture.h"
#include "model/FormatText.h"
#include "model/TagCatalogue.h"
#include "model/ValueReader.h"
#include "model/ValueTextRules.h"

#include <span>

namespace {

// Step 5: the first value in the field of its type, and the plain text of it.
void readFirstValue(ImprintItem& it, const ValueReader& v) {
    // A reused slot must not show the numbers of its earlier occupant.
    it.shortValue = 0;
    it.longValue = 0;
    it.slongValue = 0;
    it.rationalNum = 0;
    it.rationalDen = 1;
    it.srationalNum = 0;
    it.srationalDen = 1;
    switch (it.valueType) {
    case 2:
        it.listed = 1;
        it.valueText = v.cString(0);
        break;
    case 3:
        it.shortValue = v.u16(0);
        it.valueText = formatText("%u", it.shortValue);
        break;
    case 4:
        it.longValue = v.u32(0);
        it.valueText = formatText("%u", it.longValue);
        break;
    case 9:
        it.slongValue = v.s32(0);
        it.valueText = formatText("%d", it.slongValue);
        break;
    case 5:
        // A pair cut short reads as 0 as a whole, not as a numerator over 0.
        if (v.size() >= 8) {
            it.rationalNum = v.u32(0);
            it.rationalDen = v.u32(4);
        }
        it.valueText = formatText("%u/%u", it.rationalNum, it.rationalDen);
        break;
    case 10:
        if (v.size() >= 8) {
            it.srationalNum = v.s32(0);
            it.srationalDen = v.s32(4);
        }
        it.valueText = formatText("%d/%d", it.srationalNum, it.srationalDen);
        break;
    default:
        it.valueText.clear();
        break;
    }
}

// The last of the items with the tag, or null.
ImprintItem* lastWithTag(std::span<ImprintItem> items, std::uint32_t tag) {
    for (auto it = items.rbegin(); it != items.rend(); ++it)
        if (it->tag == tag) return &*it;
    return nullptr;
}

} // namespace

int CDatedPicture::AddItemFromProperty(const imaging::PropertyItem& property) {
    if (AddPropertyItem(property) == 0) return 1;
    ImprintItem& it = items[static_cast<std::size_t>(itemCount - 1)];
    it.visible = 0;
    it.listed = 0;
    it.typeName = propertyTypeName(it.valueType);
    if (const TagRow* row = findTag(it.tag)) {
        it.displayName = row->displayName;
        if (row->shortLabel[0] != '\0') it.label = std::string(row->shortLabel) + ": ";
    } else {
        it.displayName = formatText("Special %d)", static_cast<int>(it.tag));
        it.label.clear();
    }

    const ValueReader reader(it);
    readFirstValue(it, reader);

    if (isDroppedTag(it.tag)) {
        DropLastItem();
        return 1;
    }
    const std::span<ImprintItem> earlier(items.data(), static_cast<std::size_t>(itemCount - 1));
    const ValueTextRule* rule = findValueTextRule(it.tag);
    if (rule == nullptr) {
        it.listed = 0;
        return 0;
    }
    if (rule->listing != Listing::AsRead) it.listed = rule->listing == Listing::Always ? 1 : 0;
    applyTextRule(rule->text, it, lastWithTag(earlier, rule->text.reference));
    // A reference that comes after its value in the file: the value's text is made again with it.
    if (const ValueTextRule* referencing = findRuleReferencing(it.tag))
        if (ImprintItem* value = lastWithTag(earlier, referencing->tag))
            applyTextRule(referencing->text, *value, &it);
    return 0;
}
