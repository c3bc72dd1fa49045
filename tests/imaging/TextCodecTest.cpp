#include "imaging/TextCodec.h"

#include <gtest/gtest.h>

using imaging::normalizeToUtf8;
using imaging::toQString;

TEST(TextCodec, readsUtf8AndWindows1252AliketoTheSameText) {
    EXPECT_EQ(toQString("Caf\xC3\xA9"), QStringLiteral(u"Café")); // UTF-8
    EXPECT_EQ(toQString("Caf\xE9"), QStringLiteral(u"Café"));     // Windows-1252
    EXPECT_EQ(toQString("D 5700 \x96 7100K"), QStringLiteral(u"D 5700 – 7100K"));
    EXPECT_EQ(toQString("\x80 \xC3\xA9"), QStringLiteral(u"€ é")); // mixed in one text
}

TEST(TextCodec, neverLetsABrokenSequenceThrough) {
    EXPECT_EQ(normalizeToUtf8("\xC3"), "\xC3\x83"); // truncated sequence: one 1252 byte
    EXPECT_EQ(normalizeToUtf8("\xED\xA0\x80"), "\xC3\xAD\xC2\xA0\xE2\x82\xAC"); // encoded surrogate
    EXPECT_EQ(normalizeToUtf8("\xF0\x9F\x93\xB7"), "\xF0\x9F\x93\xB7");         // emoji kept
}

TEST(TextCodec, readsLittleEndianUtf16UpToItsTerminator) {
    const std::uint8_t text[] = {'O', 0, 'k', 0, 0, 0, 'x', 0};
    EXPECT_EQ(imaging::utf16LeToUtf8(text, sizeof text), "Ok");
    EXPECT_EQ(imaging::utf16LeToUtf8(text, 3), "O"); // odd last byte ignored
    EXPECT_EQ(imaging::utf16LeToUtf8(nullptr, 4), "");
}
