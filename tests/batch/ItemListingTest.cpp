#include "batch/ItemListing.h"

#include "model/ImprintItem.h"

#include <gtest/gtest.h>

TEST(TheItemListing, writesOneTabSeparatedLinePerItem) {
    ImprintItem item;
    item.tag = 0x9003;
    item.displayName = "Date Time Original";
    item.label = "Date Time Original: ";
    item.typeName = "PropertyTagTypeASCII";
    item.valueText = "2001:06:21 14:38:56";
    EXPECT_EQ(formatItemLine(item), "0x9003\tDate Time Original\tDate Time Original: \tPropertyTagTypeASCII\t"
                                    "2001:06:21 14:38:56\t0");
    item.tag = 0xf701;
    item.listed = 1;
    EXPECT_EQ(formatItemLine(item).substr(0, 7), "0xf701\t");
    EXPECT_EQ(formatItemLine(item).back(), '1');
}

TEST(TheItemListing, keepsEveryTextOnOneLineAndInUtf8) {
    EXPECT_EQ(escapeListingField("a\tb"), "a\\tb");
    EXPECT_EQ(escapeListingField("line\nbreak\r"), "line\\nbreak\\r");
    EXPECT_EQ(escapeListingField("C:\\Photos"), "C:\\\\Photos");
    EXPECT_EQ(escapeListingField("red\x1b[31m\x7f"), "red\\x1b[31m\\x7f"); // nothing acts on the terminal
    EXPECT_EQ(escapeListingField("Caf\xE9"), "Caf\xC3\xA9");               // Windows-1252 from an old camera
}
