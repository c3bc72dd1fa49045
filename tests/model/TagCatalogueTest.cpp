#include "model/TagCatalogue.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

TEST(TagCatalogue, holdsItsRowsInTableOrderFollowedByTheEndRow) {
    const std::span<const TagRow> rows = tagCatalogue();
    ASSERT_EQ(rows.size(), 231u); // 230 tags and the end row
    struct Spot {
        std::size_t index;
        std::uint16_t id;
        const char* displayName;
    };
    const Spot spots[] = {
        {0, 0x8769, "Exif IFD"}, // the directory tags come first
        {1, 0x8825, "Gps IFD"},
        {2, 0x00fe, "New Subfile Type"},
        {9, 0x0107, "ThreshHolding"},
        {75, 0x8773, "ICC Profile"}, // out of numeric order, between 0x0214 and 0x0301
        {135, 0x503b, "Thumbnail CopyRight"},
        {145, 0x829d, "F-Stop"},
        {187, 0x0000, "GpsVer"}, // the GPS rows follow the Exif rows
        {213, 0x001a, "Gps Dest Dist"},
        {214, 0xa401, "Custom rendered"},
        {229, 0xf703, "Image Stamp"},
    };
    for (const Spot& spot : spots) {
        SCOPED_TRACE(spot.displayName);
        EXPECT_EQ(rows[spot.index].id, spot.id);
        EXPECT_STREQ(rows[spot.index].displayName, spot.displayName);
    }
    EXPECT_EQ(rows.back().id, 0xffff);
    EXPECT_STREQ(rows.back().displayName, "");
    EXPECT_STREQ(rows.back().shortLabel, "");

    std::set<std::uint16_t> ids;
    for (const TagRow& row : rows.first(230))
        ids.insert(row.id);
    EXPECT_EQ(ids.size(), 230u);
    EXPECT_EQ(ids.count(0xffff), 0u);
}

TEST(TagCatalogue, labelsEveryTagWithItsDisplayNameUnlessShortened) {
    const std::map<std::uint16_t, std::string> shortened = {
        {0x0100, "Width"},
        {0x0101, "Height"},
        {0x0102, "Bits/Sample"},
        {0x0103, "Comprssn"},
        {0x0106, "Photo Interp"},
        {0x010e, "Desc"},
        {0x010f, "Make"},
        {0x0110, "Model"},
        {0x0115, "Samples/Pixel"},
        {0x0116, "Rows/Strip"},
        {0x0117, "Strip Bytes"},
        {0x0118, "Min Sample"},
        {0x0119, "Max Sample"},
        {0x011a, "X Res"},
        {0x011b, "Y Res"},
        {0x011e, "X Pos"},
        {0x011f, "Y Pos"},
        {0x0122, "Gray Resp Unit"},
        {0x0123, "Gray Resp Curve"},
        {0x0128, "Res Unit"},
        {0x013c, "Host Comp"},
        {0x013f, "Pri Chromat"},
        {0x5001, "Res X Unit"},
        {0x5002, "Res Y Unit"},
        {0x5003, "Res X Length Unit"},
        {0x5004, "Res Y Length Unit"},
        {0x829d, "F/"},
        {0x8827, "ISO"},
        {0x9000, "Exif Ver"},
        {0x9202, "F/"},
        {0x9205, "Max F/"},
        {0x9286, "Comment"},
        {0x0132, ""}, // Date Time and Image Stamp are drawn without a label
        {0xf703, ""},
    };
    for (const TagRow& row : tagCatalogue().first(230)) {
        SCOPED_TRACE(row.displayName);
        const auto it = shortened.find(row.id);
        EXPECT_EQ(row.shortLabel, it != shortened.end() ? it->second : std::string(row.displayName));
    }
}

TEST(TagCatalogue, findsTheFirstRowWithTheTagAndNothingAtTheEndRow) {
    const std::span<const TagRow> rows = tagCatalogue();
    for (const TagRow& row : rows.first(230))
        EXPECT_EQ(findTag(row.id), &row) << row.displayName;

    EXPECT_EQ(findTag(0xffff), nullptr);  // the end row is no tag
    EXPECT_EQ(findTag(0x9c9b), nullptr);  // the XP tags are named by their own rule
    EXPECT_EQ(findTag(0x10100), nullptr); // a 32-bit id never matches the 16-bit row it ends with
    ASSERT_NE(findTag(0x0000), nullptr);
    EXPECT_STREQ(findTag(0x0000)->displayName, "GpsVer");
    EXPECT_STREQ(findTag(0x0155)->displayName, "S Max Sample Value");
    EXPECT_STREQ(findTag(0xa302)->displayName, "Color filter array Pattern");
}

TEST(TagCatalogue, namesPropertyTypesByTheirCode) {
    const std::map<std::uint16_t, std::string> names = {
        {0, "Nothing"},
        {1, "PropertyTagTypeByte"},
        {2, "PropertyTagTypeASCII"},
        {3, "PropertyTagTypeShort"},
        {4, "PropertyTagTypeLong"},
        {5, "PropertyTagTypeRational"},
        {6, "Nothing"},
        {7, "PropertyTagTypeUndefined"},
        {8, "Nothing"},
        {9, "PropertyTagTypeSLONG"},
        {10, "PropertyTagTypeSRational"},
        {11, "Nothing"}, // codes past the last type have no name of their own
        {0xffff, "Nothing"},
    };
    for (const auto& [type, name] : names)
        EXPECT_EQ(propertyTypeName(type), name) << type;
}
