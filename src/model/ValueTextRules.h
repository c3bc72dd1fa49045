#pragma once

#include "model/ImprintItem.h"
#include "model/ValueReader.h"

#include <cstdint>
#include <span>

// The rules that turn a property value into its item's text, one row per tag, and whether the item
// is offered in the item list by default.

// A code of an enumerated value and its name, as Exiv2's TagDetails pairs them.
struct CodeName {
    std::int64_t code;
    const char* name;
};

// Which number of the value a code is read from.
enum class CodeSource : std::uint8_t {
    First,    // the first value as its type was read (a byte for byte and undefined values)
    Raw16,    // the first 16 bits, unsigned, whatever the type
    RawS16,   // the first 16 bits, signed
    FirstByte // the first byte
};

// The part of a rule that writes the text. The plain text of the value (its number, fraction or
// string) is already in the item when the rule runs.
struct TextRule {
    // What the rule does with a code that has a name.
    enum class Kind : std::uint8_t {
        Keep,       // nothing: the plain text stays
        Name,       // the name replaces the text
        AppendName, // a blank and the name follow the number
        OneDecimal, // "%.1f" of the unsigned rational
        Code,       // the rule's function writes the text
    };
    // What the rule does with a code that has no name.
    enum class Unknown : std::uint8_t {
        Keep,   // the plain text stays
        Print,  // `unknown` printed with the code read from `shown` replaces it
        Append, // a blank and `unknown` follow it
    };
    // A rule that needs code: it may write the item's text (or leave it), seeing the raw value and,
    // for a value whose text names its reference, the item of the reference tag when there is one.
    using Function = void (*)(ImprintItem& item, const ValueReader& value, const ImprintItem* reference);
    static constexpr std::uint32_t kNoReference = 0xffffffff; // file tags are 16-bit

    Kind kind = Kind::Keep;
    std::span<const CodeName> names = {};
    Unknown whenUnknown = Unknown::Keep;
    const char* unknown = nullptr;
    CodeSource key = CodeSource::First;
    CodeSource shown = CodeSource::First;
    Function function = nullptr;
    std::uint32_t reference = kNoReference;
};

// Where an item stands in the item list once its rule ran.
enum class Listing : std::uint8_t {
    AsRead, // as its type left it: a string is listed, a number is not
    Always,
    Never,
};

struct ValueTextRule {
    std::uint16_t tag;
    Listing listing;
    TextRule text;
};

// The rule of a tag, or null for a tag without one (its item keeps its plain text and is not listed).
const ValueTextRule* findValueTextRule(std::uint32_t tag);
// The rule whose text names the value of the given reference tag, or null.
const ValueTextRule* findRuleReferencing(std::uint32_t referenceTag);
// True for the tags whose items are dropped as soon as they are made: the thumbnail's and the
// directory pointers.
bool isDroppedTag(std::uint32_t tag);

// Writes the item's text by the rule. `reference` is the item of the rule's reference tag, if any.
void applyTextRule(const TextRule& rule, ImprintItem& item, const ImprintItem* reference);

// The first number of the value as its type was read; the first byte of a byte or undefined value.
std::int64_t firstNumber(const ImprintItem& item, const ValueReader& value);
