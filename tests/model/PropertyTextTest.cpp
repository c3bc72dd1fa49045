#include "model/DatedPicture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using namespace std::string_view_literals;
using imaging::kTypeAscii;
using imaging::kTypeByte;
using imaging::kTypeLong;
using imaging::kTypeRational;
using imaging::kTypeShort;
using imaging::kTypeSLong;
using imaging::kTypeSRational;
using imaging::kTypeUndefined;

namespace {

using Bytes = std::vector<std::uint8_t>;

// Values are little-endian, as the property block stores them.
Bytes u16s(std::initializer_list<std::int32_t> values) {
    Bytes out;
    for (std::int32_t v : values)
        out.insert(out.end(), {std::uint8_t(v), std::uint8_t(v >> 8)});
    return out;
}

Bytes u32s(std::initializer_list<std::int64_t> values) {
    Bytes out;
    for (std::int64_t v : values)
        out.insert(out.end(),
                   {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)});
    return out;
}

// The bytes as written: a terminating NUL only where the literal spells one.
Bytes raw(std::string_view bytes) {
    return Bytes(bytes.begin(), bytes.end());
}

Bytes utf16(std::u16string_view text) {
    Bytes out;
    for (char16_t c : text)
        out.insert(out.end(), {std::uint8_t(c), std::uint8_t(c >> 8)});
    return out;
}

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The value lives in a buffer of exactly the record's length, so AddressSanitizer catches a read
// past it.
int addRecord(CDatedPicture& picture, std::uint32_t tag, std::uint16_t type, const Bytes& value) {
    const Bytes exact(value.begin(), value.end());
    const imaging::PropertyItem record{tag, static_cast<std::uint32_t>(exact.size()), type, exact.data()};
    return picture.AddItemFromProperty(record);
}

ImprintItem itemFor(std::uint32_t tag, std::uint16_t type, const Bytes& value) {
    CDatedPicture picture;
    EXPECT_EQ(addRecord(picture, tag, type, value), 0);
    EXPECT_EQ(picture.itemCount, 1);
    return picture.itemCount == 1 ? picture.item(0) : ImprintItem();
}

struct TextRow {
    const char* what;
    std::uint32_t tag;
    std::uint16_t type;
    Bytes value;
    std::string text;
};

void expectTexts(const std::vector<TextRow>& rows) {
    for (const TextRow& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(itemFor(row.tag, row.type, row.value).valueText, row.text);
    }
}

} // namespace

TEST(PropertyText, readsTheFirstValueOfItsTypeWithTheTypeName) {
    struct Row {
        std::uint16_t type;
        Bytes value;
        std::string text;
        std::string typeName;
    };
    const Row rows[] = {
        {kTypeShort, u16s({3000, 7}), "3000", "PropertyTagTypeShort"},
        {kTypeLong, u32s({4000000000}), "4000000000", "PropertyTagTypeLong"},
        {kTypeSLong, u32s({-5}), "-5", "PropertyTagTypeSLONG"},
        {kTypeRational, u32s({1, 3, 9, 9}), "1/3", "PropertyTagTypeRational"},
        {kTypeSRational, u32s({-1, 3}), "-1/3", "PropertyTagTypeSRational"},
        {kTypeAscii, raw("abc\0def"sv), "abc", "PropertyTagTypeASCII"},
        {kTypeByte, raw("abc"), "", "PropertyTagTypeByte"},
        {kTypeUndefined, raw("abc"), "", "PropertyTagTypeUndefined"},
        {0, raw("abc"), "", "Nothing"},
        {11, raw("abc"), "", "Nothing"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typeName + " " + std::to_string(row.type));
        const ImprintItem it = itemFor(0xa002, row.type, row.value); // Pix X Dim: no rule of its own
        EXPECT_EQ(it.valueText, row.text);
        EXPECT_EQ(it.typeName, row.typeName);
    }
    EXPECT_EQ(itemFor(0xa002, kTypeShort, u16s({3000})).shortValue, 3000);
    const ImprintItem rational = itemFor(0x0002, kTypeSRational, u32s({-7, 2}));
    EXPECT_EQ(rational.srationalNum, -7);
    EXPECT_EQ(rational.srationalDen, 2);
}

TEST(PropertyText, takesTheNamesFromTheCatalogueOrMakesThemUp) {
    CDatedPicture picture;
    ASSERT_EQ(addRecord(picture, 0x0100, kTypeShort, u16s({3000})), 0);
    EXPECT_EQ(picture.item(0).displayName, "Image Width");
    EXPECT_EQ(picture.item(0).label, "Width: "); // short label with ": "
    EXPECT_EQ(picture.item(0).valueText, "3000");

    ASSERT_EQ(addRecord(picture, 0x829d, kTypeRational, u32s({28, 10})), 0);
    EXPECT_EQ(picture.item(1).label, "F/: ");

    // Date Time has no short label: it is unlabelled, also in a slot whose earlier item had a label.
    ASSERT_EQ(addRecord(picture, 0x0132, kTypeAscii, raw("2001:06:21 14:38:56\0"sv)), 0);
    EXPECT_EQ(picture.item(2).displayName, "Date Time");
    EXPECT_EQ(picture.item(2).label, "");
    EXPECT_EQ(picture.item(2).valueText, "2001:06:21 14:38:56");
    picture.item(2).label = "Taken ";
    picture.DropLastItem();
    ASSERT_EQ(addRecord(picture, 0x0132, kTypeAscii, raw("2002:01:01 00:00:00\0"sv)), 0);
    EXPECT_EQ(picture.item(2).label, "");
    EXPECT_EQ(picture.item(2).listed, 1);

    // A tag the catalogue lacks: the made-up name has no opening parenthesis, the label is cleared.
    picture.DropLastItem();
    ASSERT_EQ(addRecord(picture, 0x1234, kTypeShort, u16s({1})), 0);
    EXPECT_EQ(picture.item(2).displayName, "Special 4660)");
    EXPECT_EQ(picture.item(2).label, "");
}

TEST(PropertyText, dropsThumbnailAndDirectoryTagsAtOnce) {
    for (std::uint32_t tag : {0x5012u, 0x5019u, 0x501bu, 0x5020u, 0x503bu, 0x8769u, 0x8825u}) {
        SCOPED_TRACE(tag);
        CDatedPicture picture;
        ASSERT_EQ(addRecord(picture, 0x0100, kTypeShort, u16s({3000})), 0);
        EXPECT_EQ(addRecord(picture, tag, kTypeLong, u32s({160})), 1);
        EXPECT_EQ(picture.itemCount, 1);
    }
    // Neighbours of the dropped ranges are kept.
    for (std::uint32_t tag : {0x5011u, 0x501au, 0x501cu, 0x503cu}) {
        SCOPED_TRACE(tag);
        CDatedPicture picture;
        EXPECT_EQ(addRecord(picture, tag, kTypeLong, u32s({160})), 0);
        EXPECT_EQ(picture.itemCount, 1);
    }
}

TEST(PropertyText, offersChosenTagsAndTextTagsWithARuleInTheItemList) {
    struct Row {
        const char* what;
        std::uint32_t tag;
        std::uint16_t type;
        int listed;
    };
    const Row rows[] = {
        {"Date Time, even when not text", 0x0132, kTypeUndefined, 1},
        {"ISO Speed", 0x8827, kTypeShort, 1},
        {"Shutter Speed", 0x9201, kTypeSRational, 1},
        {"Aperture", 0x9202, kTypeRational, 1},
        {"User Comment", 0x9286, kTypeUndefined, 1},
        {"XP Subject", 0x9c9f, kTypeByte, 1},
        {"Image Path", 0xf701, kTypeAscii, 1},
        {"Image Name", 0xf702, kTypeAscii, 1},
        {"the watermark", 0xf704, kTypeUndefined, 1},
        {"Copyright: a rule keeps text listed", 0x8298, kTypeAscii, 1},
        {"Exif Version as text", 0x9000, kTypeAscii, 1},
        {"Exif Version as bytes", 0x9000, kTypeUndefined, 0},
        {"Maker Note", 0x927c, kTypeUndefined, 0},
        {"Image Width", 0x0100, kTypeShort, 0},
        {"Date Time Original: text without a rule", 0x9003, kTypeAscii, 0},
        {"Date Time Digitized", 0x9004, kTypeAscii, 0},
        {"Equip Make", 0x010f, kTypeAscii, 0},
        {"Equip Model", 0x0110, kTypeAscii, 0},
        {"Gps Latitude Ref", 0x0001, kTypeAscii, 0},
        {"Image unique ID", 0xa420, kTypeAscii, 0},
        {"Image Stamp", 0xf703, kTypeAscii, 0},
        {"an unknown tag", 0x1234, kTypeAscii, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const ImprintItem it = itemFor(row.tag, row.type, raw("0230\0"sv));
        EXPECT_EQ(it.listed, row.listed);
        EXPECT_EQ(it.visible, 0);
    }
}

TEST(PropertyText, startsAReusedSlotHiddenAndWithoutTheNumbersOfItsEarlierItem) {
    CDatedPicture picture;
    ASSERT_EQ(addRecord(picture, 0x011a, kTypeRational, u32s({300, 1})), 0);
    picture.item(0).visible = 1;
    picture.item(0).listed = 1;
    picture.DropLastItem();
    // X Resolution written as a short must not show the rational left in the slot.
    ASSERT_EQ(addRecord(picture, 0x011a, kTypeShort, u16s({72})), 0);
    EXPECT_EQ(picture.item(0).valueText, "0.0");
    EXPECT_EQ(picture.item(0).visible, 0);
    EXPECT_EQ(picture.item(0).listed, 0);
}

TEST(PropertyText, namesEnumeratedCodesAndShowsUnknownOnes) {
    expectTexts({
        {"orientation 1", 0x0112, kTypeShort, u16s({1}), "Normal"},
        {"orientation 6", 0x0112, kTypeShort, u16s({6}), "Right row Top col"},
        {"orientation 8", 0x0112, kTypeShort, u16s({8}), "Left row Bottom col"},
        {"orientation 9 keeps the number", 0x0112, kTypeShort, u16s({9}), "9"},
        {"orientation written as a long", 0x0112, kTypeLong, u32s({3}), "Bottom row Right col"},
        {"resolution unit 2", 0x0128, kTypeShort, u16s({2}), "per inch"},
        {"resolution unit 3", 0x0128, kTypeShort, u16s({3}), "per cm"},
        {"resolution unit 1", 0x0128, kTypeShort, u16s({1}), "Unknown unit (1)"},
        {"focal plane unit", 0xa210, kTypeShort, u16s({3}), "per cm"},
        {"YCbCr positioning 1", 0x0213, kTypeShort, u16s({1}), "Centered"},
        {"YCbCr positioning 2", 0x0213, kTypeShort, u16s({2}), "Co-sited"},
        {"YCbCr positioning read as signed", 0x0213, kTypeShort, u16s({0xffff}), "Other (code -1)"},
        {"exposure program 1", 0x8822, kTypeShort, u16s({1}), "Manual"},
        {"exposure program 5", 0x8822, kTypeShort, u16s({5}), "Creative (more depth of field)"},
        {"exposure program 8", 0x8822, kTypeShort, u16s({8}), "Landscape"},
        {"exposure program 0", 0x8822, kTypeShort, u16s({0}), "0"},
        {"metering 2 with its trailing blank", 0x9207, kTypeShort, u16s({2}), "Center Weighted Average "},
        {"metering 6", 0x9207, kTypeShort, u16s({6}), "Partial"},
        {"metering 0", 0x9207, kTypeShort, u16s({0}), "Unknown"},
        {"metering 255", 0x9207, kTypeShort, u16s({255}), "Unknown"},
        {"light source 0", 0x9208, kTypeShort, u16s({0}), "Unknown (0)"},
        {"light source 3", 0x9208, kTypeShort, u16s({3}), "Tungsten (incandescent light)"},
        {"light source 12", 0x9208, kTypeShort, u16s({12}),
         "Daylight fluorescent (D 5700 \xE2\x80\x93 7100K)"},
        {"light source 13", 0x9208, kTypeShort, u16s({13}),
         "Day white fluorescent (N 4600 \xE2\x80\x93 5400K)"},
        {"light source 14", 0x9208, kTypeShort, u16s({14}),
         "Cool white fluorescent (W 3900 \xE2\x80\x93 4500K)"},
        {"light source 15", 0x9208, kTypeShort, u16s({15}), "White fluorescent (WW 3200 \xE2\x80\x93 3700K)"},
        {"light source 16", 0x9208, kTypeShort, u16s({16}), "Unknown (16)"},
        {"light source 24", 0x9208, kTypeShort, u16s({24}), "ISO studio tungsten"},
        {"light source 255", 0x9208, kTypeShort, u16s({255}), "Other light source"},
        {"colour space 1", 0xa001, kTypeShort, u16s({1}), "sRGB"},
        {"colour space 0xffff", 0xa001, kTypeShort, u16s({0xffff}), "Uncalibrated"},
        {"colour space 2 appends", 0xa001, kTypeShort, u16s({2}), "2 Unknown"},
        {"sensing method 2", 0xa217, kTypeShort, u16s({2}), "One chip color area sensor"},
        {"sensing method 8", 0xa217, kTypeShort, u16s({8}), "Color sequential linear sensor"},
        {"sensing method 6", 0xa217, kTypeShort, u16s({6}), "Not defined, code 6"},
        {"sensing method read as signed", 0xa217, kTypeShort, u16s({0xfffe}), "Not defined, code -2"},
        {"file source 3", 0xa300, kTypeUndefined, {3}, "Digital Still Camera"},
        {"file source 1", 0xa300, kTypeUndefined, {1}, "Undefined code 1"},
        {"scene type 1", 0xa301, kTypeUndefined, {1}, "Directly photographed image"},
        {"scene type 255", 0xa301, kTypeUndefined, {255}, "Undefined code 255"},
    });
}

TEST(PropertyText, writesRationalsAndExposureValuesAsPhotographersReadThem) {
    for (std::uint32_t tag : {0x011au, 0x011bu, 0x829du, 0x9102u, 0x920au, 0xa20eu, 0xa20fu}) {
        SCOPED_TRACE(tag);
        EXPECT_EQ(itemFor(tag, kTypeRational, u32s({7, 2})).valueText, "3.5");
    }
    expectTexts({
        {"resolution", 0x011a, kTypeRational, u32s({0xffffffff, 1}), "4294967295.0"}, // unsigned
        {"exposure time over 10", 0x829a, kTypeRational, u32s({10, 600}), "1/60 sec"},
        {"exposure time over 1", 0x829a, kTypeRational, u32s({1, 250}), "1/250 sec"},
        {"shutter speed", 0x9201, kTypeSRational, u32s({6906, 1000}), "1/120 sec"},
        {"aperture", 0x9202, kTypeRational, u32s({497, 100}), "5.6"},
        {"brightness", 0x9203, kTypeSRational, u32s({-123, 100}), "-1.23"},
        {"exposure bias", 0x9204, kTypeSRational, u32s({-2, 3}), "-0.67"},
        {"subject distance 0", 0x9206, kTypeRational, u32s({0, 1}), "Distance unknown"},
        {"subject distance all ones", 0x9206, kTypeRational, u32s({0xffffffff, 1}), "Infinity"},
        {"subject distance", 0x9206, kTypeRational, u32s({350, 100}), "3.50 m"},
        {"flash energy", 0xa20b, kTypeRational, u32s({5, 2}), "2.50 Beam Candle Power Seconds"},
        {"subject location read as signed", 0xa214, kTypeShort, u16s({100, 0xffff}), "x 100, y -1"},
    });
}

TEST(PropertyText, spellsOutTheFlashBits) {
    expectTexts({
        {"0", 0x9209, kTypeShort, u16s({0}), "No flash. "},
        {"fired, auto", 0x9209, kTypeShort, u16s({0x19}), "Flash fired. Auto flash. "},
        {"fired, red eye", 0x9209, kTypeShort, u16s({0x41}), "Flash fired. Red eye mode. "},
        {"return not detected", 0x9209, kTypeShort, u16s({0x05}),
         "Flash fired. Strobe return light not detected. "},
        {"return detected", 0x9209, kTypeShort, u16s({0x07}), "Flash fired. Strobe return light detected. "},
        {"compulsory", 0x9209, kTypeShort, u16s({0x08}), "No flash. Compulsory flash. "},
        {"off", 0x9209, kTypeShort, u16s({0x10}), "No flash. Flash off. "},
        {"all bits", 0x9209, kTypeShort, u16s({0x5f}),
         "Flash fired. Strobe return light detected. Auto flash. Red eye mode. "},
        {"the high byte is ignored", 0x9209, kTypeShort, u16s({0x0100}), "No flash. "},
        {"no flash function bit is ignored", 0x9209, kTypeShort, u16s({0x20}), "No flash. "},
    });
}

TEST(PropertyText, readsUserCommentsByTheirCharacterCode) {
    const std::string zoe = "Zo\xC3\xAB";
    expectTexts({
        {"ASCII up to the value's end", 0x9286, kTypeUndefined, raw("ASCII\0\0\0Hello"sv), "Hello"},
        {"code in lower case", 0x9286, kTypeUndefined, raw("ascii\0\0\0Hi\0"sv), "Hi"},
        {"UNICODE", 0x9286, kTypeUndefined, raw("UNICODE\0"sv) + utf16(u"Zo\u00eb\0"sv), zoe},
        {"unicode in lower case", 0x9286, kTypeUndefined, raw("Unicode\0"sv) + utf16(u"Zo\u00eb"), zoe},
        {"JIS", 0x9286, kTypeUndefined, raw("JIS\0\0\0\0\0\x1b$B"sv), "JIS text"},
        {"all-zero code reads 8-bit text", 0x9286, kTypeUndefined, Bytes(8) + raw(zoe), zoe},
        {"other code longer than 8: whole string", 0x9286, kTypeUndefined, raw("Camera comment\0"sv),
         "Camera comment"},
        {"other code, empty", 0x9286, kTypeUndefined, raw("\0A\0\0\0\0\0\0Hello"sv), ""},
        {"other code, one character", 0x9286, kTypeUndefined, raw("X\0\0\0\0\0\0\0Hello"sv), ""},
        {"other code, text after it", 0x9286, kTypeUndefined, raw("XYZ\0\0\0\0\0Hello"sv), "Hello"},
        {"other code, one-character text", 0x9286, kTypeUndefined, raw("XYZ\0\0\0\0\0H"sv), ""},
    });
}

TEST(PropertyText, listsDeviceSettingsUpToTheEndOfTheValue) {
    expectTexts({
        {"two settings", 0xa40b, kTypeUndefined, u16s({2, 1}) + utf16(u"Sharp\0Vivid\0"sv),
         "Cols:2 Rows:1 Sharp | Vivid | "},
        {"no more than columns times rows", 0xa40b, kTypeUndefined, u16s({1, 1}) + utf16(u"A\0B\0"sv),
         "Cols:1 Rows:1 A | "},
        {"fewer strings than announced", 0xa40b, kTypeUndefined, u16s({3, 1}) + utf16(u"A\0B\0"sv),
         "Cols:3 Rows:1 A | B | "},
        {"huge count, last string without NUL", 0xa40b, kTypeUndefined, u16s({0x7fff, 0x7fff}) + utf16(u"AB"),
         "Cols:32767 Rows:32767 AB | "},
        {"negative count reads no strings", 0xa40b, kTypeUndefined, u16s({-1, 2}) + utf16(u"A\0"sv),
         "Cols:-1 Rows:2 "},
        {"zero columns", 0xa40b, kTypeUndefined, u16s({0, 5}) + utf16(u"A\0"sv), "Cols:0 Rows:5 "},
    });
}

TEST(PropertyText, namesWindowsXpTagsAndReadsTheirUtf16Text) {
    struct Row {
        std::uint32_t tag;
        const char* displayName;
        const char* label;
    };
    const Row rows[] = {
        {0x9c9b, "MS Title", "Title: "},     {0x9c9c, "MS Comments", "Comments: "},
        {0x9c9d, "MS Author", "Author: "},   {0x9c9e, "MS Keywords", "Keywords: "},
        {0x9c9f, "MS Subject", "Subject: "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.displayName);
        const ImprintItem it = itemFor(row.tag, kTypeByte, utf16(u"Caf\u00e9\0"sv));
        EXPECT_EQ(it.displayName, row.displayName);
        EXPECT_EQ(it.label, row.label);
        EXPECT_EQ(it.valueText, "Caf\xC3\xA9");
        EXPECT_EQ(it.listed, 1);
    }
    // Without a terminator, and with an odd last byte, the text ends with the value.
    EXPECT_EQ(itemFor(0x9c9b, kTypeByte, utf16(u"Sea") + Bytes{'x'}).valueText, "Sea");
}

TEST(PropertyText, appendsTheMeaningOfACodeToItsNumber) {
    expectTexts({
        {"custom rendered", 0xa401, kTypeShort, u16s({1}), "1 Custom process"},
        {"exposure mode 2", 0xa402, kTypeShort, u16s({2}), "2 Auto bracket"},
        {"exposure mode unknown", 0xa402, kTypeShort, u16s({0xffff}), "65535 Unknown code"},
        {"white balance", 0xa403, kTypeShort, u16s({0}), "0 Auto white balance"},
        {"scene capture", 0xa406, kTypeShort, u16s({3}), "3 Night scene"},
        {"gain control 4", 0xa407, kTypeShort, u16s({4}), "4 High gain down"},
        {"gain control 7", 0xa407, kTypeShort, u16s({7}), "7 Unknown code"},
        {"contrast", 0xa408, kTypeShort, u16s({2}), "2 Hard"},
        {"saturation", 0xa409, kTypeShort, u16s({1}), "1 Low saturation"},
        {"sharpness", 0xa40a, kTypeShort, u16s({1}), "1 Soft"},
        {"sharpness unknown", 0xa40a, kTypeShort, u16s({3}), "3 Unknown code"},
        {"subject distance range 1", 0xa40c, kTypeShort, u16s({1}), "1 Macro"},
        {"subject distance range 2", 0xa40c, kTypeShort, u16s({2}), "2"},
    });
}

TEST(PropertyText, readsTextsAndByteSequences) {
    expectTexts({
        {"copyright with two strings", 0x8298, kTypeAscii, raw("Jane Roe\0Editor\0"sv), "Jane Roe, Editor"},
        {"copyright, second without NUL", 0x8298, kTypeAscii, raw("Jane Roe\0Ed"sv), "Jane Roe, Ed"},
        {"copyright with one string", 0x8298, kTypeAscii, raw("Jane Roe\0"sv), "Jane Roe"},
        {"copyright without NUL", 0x8298, kTypeAscii, raw("Jane Roe"), "Jane Roe"},
        {"exif version", 0x9000, kTypeUndefined, raw("0230"), "0230"},
        {"exif version, 4 bytes at most", 0x9000, kTypeUndefined, raw("02301"), "0230"},
        {"exif version, NUL first", 0x9000, kTypeUndefined, raw("02\0001"sv), "02"},
        {"flashpix version", 0xa000, kTypeUndefined, raw("0100"), "0100"},
        {"components Y Cb Cr", 0x9101, kTypeUndefined, {1, 2, 3, 0}, "Y Cb Cr "},
        {"components R G B", 0x9101, kTypeUndefined, {4, 5, 6, 0}, "R G B "},
        {"components 0 ends the walk", 0x9101, kTypeUndefined, {1, 0, 2}, "Default"},
        {"components other bytes add nothing", 0x9101, kTypeUndefined, {9, 1, 7, 2}, "Y "},
        {"maker note without NUL", 0x927c, kTypeUndefined, raw("Nikon"), "Nikon"},
        {"maker note up to its NUL", 0x927c, kTypeUndefined, raw("Nik\0on"sv), "Nik"},
        {"colour filter pattern", 0xa302, kTypeUndefined, u16s({2, 2}) + Bytes{0, 1, 1, 2},
         "h 2 v 2 R G G B "},
        {"colour filter other colours", 0xa302, kTypeUndefined, u16s({2, -1}) + Bytes{3, 6, 9},
         "h 2 v -1 C W 9 "},
    });
}

TEST(PropertyText, readsValuesTooShortForTheirTypeAsZeroOrEmpty) {
    expectTexts({
        {"0-byte short", 0xa002, kTypeShort, {}, "0"},
        {"1-byte short", 0xa002, kTypeShort, {7}, "0"},
        {"3-byte long", 0xa002, kTypeLong, {1, 2, 3}, "0"},
        {"3-byte signed long", 0xa002, kTypeSLong, {1, 2, 3}, "0"},
        {"4-byte rational", 0x0002, kTypeRational, u32s({72}), "0/1"},
        {"7-byte signed rational", 0x0002, kTypeSRational, u32s({-1}) + Bytes{1, 0, 0}, "0/1"},
        {"4-byte resolution", 0x011a, kTypeRational, u32s({72}), "0.0"},
        {"4-byte exposure time", 0x829a, kTypeRational, u32s({10}), "0/1"},
        {"4-byte exposure bias", 0x9204, kTypeSRational, u32s({-2}), "0.00"},
        {"empty text", 0x010f, kTypeAscii, {}, ""},
        {"1-byte user comment", 0x9286, kTypeUndefined, {'A'}, ""},
        {"1-byte zero user comment", 0x9286, kTypeUndefined, {0}, ""},
        {"user comment with its code only", 0x9286, kTypeUndefined, raw("ASCII"), ""},
        {"unicode comment, odd byte", 0x9286, kTypeUndefined, raw("UNICODE\0A"sv), ""},
        {"1-byte flash", 0x9209, kTypeShort, {0x19}, "No flash. "},
        {"0-byte YCbCr positioning", 0x0213, kTypeShort, {}, "Other (code 0)"},
        {"1-byte sensing method", 0xa217, kTypeShort, {2}, "Not defined, code 0"},
        {"0-byte file source", 0xa300, kTypeUndefined, {}, "Undefined code 0"},
        {"3-byte subject location", 0xa214, kTypeShort, {5, 0, 7}, "x 5, y 0"},
        {"3-byte colour filter pattern", 0xa302, kTypeUndefined, {2, 0, 2}, "h 2 v 0 "},
        {"3-byte device settings", 0xa40b, kTypeUndefined, {2, 0, 1}, "Cols:2 Rows:0 "},
        {"2-byte exif version", 0x9000, kTypeUndefined, raw("02"), "02"},
        {"2-byte components: the missing byte reads 0", 0x9101, kTypeUndefined, {1, 2}, "Default"},
        {"empty maker note", 0x927c, kTypeUndefined, {}, ""},
        {"1-byte XP title", 0x9c9b, kTypeByte, {'A'}, ""},
        {"copyright ending at its NUL", 0x8298, kTypeAscii, raw("A\0"sv), "A"},
    });
}

TEST(PropertyText, writesExposuresAndApexValuesInThePhotographersForms) {
    expectTexts({
        {"exposure 376/1000000: the nearest 1/N", 0x829a, kTypeRational, u32s({376, 1000000}), "1/2660 sec"},
        {"exposure 10/29 rounds, not truncates", 0x829a, kTypeRational, u32s({10, 29}), "1/3 sec"},
        {"exposure half a second", 0x829a, kTypeRational, u32s({1, 2}), "1/2 sec"},
        {"exposure 0.6 s: no 1/N near", 0x829a, kTypeRational, u32s({6, 10}), "0.6 sec"},
        {"exposure 0.8 s", 0x829a, kTypeRational, u32s({8, 10}), "0.8 sec"},
        {"exposure 20/10: whole seconds", 0x829a, kTypeRational, u32s({20, 10}), "2 sec"},
        {"exposure 10 s", 0x829a, kTypeRational, u32s({10, 1}), "10 sec"},
        {"exposure 1.3 s: one decimal", 0x829a, kTypeRational, u32s({13, 10}), "1.3 sec"},
        {"exposure with zero numerator keeps the fraction", 0x829a, kTypeRational, u32s({0, 1}), "0/1"},
        {"exposure with zero denominator keeps the fraction", 0x829a, kTypeRational, u32s({5, 0}), "5/0"},
        {"shutter 1/125", 0x9201, kTypeSRational, u32s({6965784, 1000000}), "1/125 sec"},
        {"shutter -2: four seconds", 0x9201, kTypeSRational, u32s({-2, 1}), "4 sec"},
        {"shutter 0: one second", 0x9201, kTypeSRational, u32s({0, 1}), "1 sec"},
        {"shutter with zero denominator keeps the fraction", 0x9201, kTypeSRational, u32s({1, 0}), "1/0"},
        {"shutter too fast for any 1/N", 0x9201, kTypeSRational, u32s({0x7fffffff, 1}), "2147483647/1"},
        {"max aperture 3 is f/2.8", 0x9205, kTypeRational, u32s({3, 1}), "2.8"},
        {"max aperture 29/10 is f/2.7", 0x9205, kTypeRational, u32s({29, 10}), "2.7"},
        {"comment with undefined code, Windows-1252", 0x9286, kTypeUndefined, Bytes(8) + raw("\xe6\xf8\xe5"),
         "\xC3\xA6\xC3\xB8\xC3\xA5"},
        {"comment with undefined code, up to its NUL", 0x9286, kTypeUndefined, Bytes(8) + raw("  \0\xff"sv),
         "  "},
    });
}

TEST(PropertyText, showsGpsPositionsWithTheLetterOfTheirReferenceInEitherOrder) {
    struct Record {
        std::uint32_t tag;
        std::uint16_t type;
        Bytes value;
    };
    struct Row {
        const char* what;
        std::vector<Record> records; // in the file's order
        std::uint32_t tag;           // of the item whose text is checked
        std::string text;
    };
    const Bytes north = raw("N\0"sv);
    const Row rows[] = {
        {"latitude after its reference",
         {{0x0001, kTypeAscii, north}, {0x0002, kTypeRational, u32s({51, 1, 28, 1, 5878, 100})}},
         0x0002,
         "51\u00b0 28\u2032 58.78\u2033 N"},
        {"longitude before its reference",
         {{0x0004, kTypeRational, u32s({3, 1, 11, 1, 721, 100})}, {0x0003, kTypeAscii, raw("W\0"sv)}},
         0x0004,
         "3\u00b0 11\u2032 7.21\u2033 W"},
        {"degrees and decimal minutes, no reference",
         {{0x0002, kTypeRational, u32s({51, 1, 2858, 100, 0, 1})}},
         0x0002,
         "51\u00b0 28\u2032 34.80\u2033"},
        {"decimal degrees",
         {{0x0002, kTypeRational, u32s({51482995, 1000000})}},
         0x0002,
         "51\u00b0 28\u2032 58.78\u2033"},
        {"seconds that round up carry into the degrees",
         {{0x0002, kTypeRational, u32s({10, 1, 59, 1, 59999, 1000})}},
         0x0002,
         "11\u00b0 0\u2032 0.00\u2033"},
        {"signed storage, reference as a byte",
         {{0x0003, kTypeByte, {'E'}}, {0x0004, kTypeSRational, u32s({24, 1, 54, 1, 2438, 100})}},
         0x0004,
         "24\u00b0 54\u2032 24.38\u2033 E"},
        {"no degrees: the plain fraction",
         {{0x0002, kTypeRational, u32s({0, 0, 0, 0, 0, 0})}},
         0x0002,
         "0/0"},
        {"destination latitude",
         {{0x0014, kTypeRational, u32s({20, 1, 26, 1, 2610, 100})}, {0x0013, kTypeAscii, raw("S\0"sv)}},
         0x0014,
         "20\u00b0 26\u2032 26.10\u2033 S"},
        {"altitude below sea level",
         {{0x0005, kTypeByte, {1}}, {0x0006, kTypeRational, u32s({38750, 233})}},
         0x0006,
         "166.3 m below sea level"},
        {"altitude before its reference 0",
         {{0x0006, kTypeRational, u32s({933, 10})}, {0x0005, kTypeByte, {0}}},
         0x0006,
         "93.3 m"},
        {"altitude reference", {{0x0005, kTypeByte, {1}}}, 0x0005, "Below sea level"},
        {"time, seconds truncated",
         {{0x0007, kTypeRational, u32s({14, 1, 38, 1, 5699, 100})}},
         0x0007,
         "14:38:56 UTC"},
        {"latitude reference as a byte", {{0x0001, kTypeByte, {'N'}}}, 0x0001, "N"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        CDatedPicture picture;
        for (const Record& record : row.records) {
            ASSERT_EQ(addRecord(picture, record.tag, record.type, record.value), 0);
        }
        const ImprintItem* checked = nullptr;
        for (int i = 0; i < picture.itemCount; ++i)
            if (picture.item(i).tag == row.tag) checked = &picture.item(i);
        ASSERT_NE(checked, nullptr);
        EXPECT_EQ(checked->valueText, row.text);
    }
}
