// The property items of PNG files: the Exif of the eXIf chunk, and the chunks that have a tag of
// their own (tIME, tEXt and iTXt texts, gAMA, cHRM, pHYs, sRGB, iCCP).

#include "imaging/PropertyReader.h"

#include "photofactory/PhotoFactory.h"
#include "support/PropertyItems.h"
#include "support/TempDir.h"

#include <QByteArray>
#include <QImage>

#include <gtest/gtest.h>

using namespace imaging;
using namespace propertyitems;

namespace {

using Chunks = std::vector<std::pair<std::string, std::vector<std::uint8_t>>>;

std::vector<std::uint8_t> data(std::string_view text) {
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

std::vector<std::uint8_t> be32(std::initializer_list<std::uint32_t> values) {
    std::vector<std::uint8_t> out;
    for (std::uint32_t v : values)
        for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
    return out;
}

// A zlib stream: qCompress puts a four-byte length before it.
std::string zlib(const std::string& text) {
    return qCompress(QByteArray::fromStdString(text)).mid(4).toStdString();
}

QImage smallImage() {
    QImage image(16, 8, QImage::Format_RGB32);
    image.fill(Qt::gray);
    return image;
}

std::string text(const PropertyBlock& block, std::uint32_t id) {
    const PropertyItem* item = find(block, id);
    if (item == nullptr) return "(absent)";
    EXPECT_EQ(item->type, kTypeAscii) << std::hex << id;
    return bytes(*item);
}

} // namespace

TEST(ReadingPngProperties, mapsTheExifChunkTheTimeAndTheTextsToTheirTags) {
    TempDir dir;
    photofactory::Photo photo;
    photo.bigEndian = true;
    photo.tags = {{"Exif.Image.Make", "Nikon"}, {"Exif.Photo.DateTimeOriginal", "2020:01:02 03:04:05"}};
    photo.pngTime = photofactory::PngTime{2021, 3, 4, 5, 6, 7};
    photo.pngTexts = {{"Title", "Harbour"},
                      {"Author", "Ann"},
                      {"Description", "Caf\xE9 at dusk"}, // tEXt is Latin-1
                      {"Copyright", "(c) Ann"},
                      {"Software", "Imprix"},
                      {"Comment", "no tag of its own"}};
    const std::string path = dir.path("photo.png");
    ASSERT_EQ(photofactory::writePhoto(path, photo), "");

    std::string problem;
    const PropertyBlock block = readProperties(path, &problem);
    EXPECT_EQ(problem, "");

    // The eXIf chunk's Exif, little-endian like every value.
    EXPECT_EQ(text(block, 0x010f), std::string("Nikon", 6));
    EXPECT_EQ(text(block, 0x9003), std::string("2020:01:02 03:04:05", 20));
    // tIME with zero-padded fields, NUL-terminated.
    EXPECT_EQ(text(block, 0x0132), std::string("2021:03:04 05:06:07", 20));
    EXPECT_EQ(text(block, 0x0320), std::string("Harbour", 8));
    EXPECT_EQ(text(block, 0x013b), std::string("Ann", 4));
    EXPECT_EQ(text(block, 0x010e), std::string("Caf\xC3\xA9 at dusk", 14));
    EXPECT_EQ(text(block, 0x8298), std::string("(c) Ann", 8));
    EXPECT_EQ(text(block, 0x0131), std::string("Imprix", 7));
    EXPECT_EQ(block.count(), 9u) << "the Comment text has no tag; the Exif adds its directory pointer";
    for (const PropertyItem& item : block.items()) EXPECT_TRUE(nulAfterValue(item));
}

TEST(ReadingPngProperties, keepsTheFirstValueOfATag) {
    TempDir dir;
    photofactory::Photo photo;
    // Exif comes first: its date and software stay, the tIME and the tEXt of the same tags go.
    photo.tags = {{"Exif.Image.DateTime", "2020:01:02 03:04:05"}, {"Exif.Image.Software", "Camera 1.0"}};
    photo.pngTime = photofactory::PngTime{2021, 3, 4, 5, 6, 7};
    // Of two texts with the same keyword, the first.
    photo.pngTexts = {{"Software", "Editor"}, {"Title", "First"}, {"Title", "Second"}};
    const std::string path = dir.path("twice.png");
    ASSERT_EQ(photofactory::writePhoto(path, photo), "");

    const PropertyBlock block = readProperties(path);
    EXPECT_EQ(text(block, 0x0132), std::string("2020:01:02 03:04:05", 20));
    EXPECT_EQ(text(block, 0x0131), std::string("Camera 1.0", 11));
    EXPECT_EQ(text(block, 0x0320), std::string("First", 6));
    const auto all = ids(block);
    EXPECT_EQ(std::count(all.begin(), all.end(), 0x0132u), 1);
    EXPECT_EQ(std::count(all.begin(), all.end(), 0x0131u), 1);
    EXPECT_EQ(std::count(all.begin(), all.end(), 0x0320u), 1);
}

TEST(ReadingPngProperties, readsInternationalTextsPlainAndCompressed) {
    TempDir dir;
    const std::string plain = std::string("Title\0\0\0de\0Titel\0", 18) + "Gr\xC3\xBC\xC3\x9F" "e";
    const std::string packed = std::string("Description\0\x01\0en\0\0", 17) + zlib("A long \xE2\x80\x93 quiet day");
    const std::string junk = std::string("Author\0\x01\0\0\0", 10) + "not a zlib stream";
    const std::string path = dir.path("itxt.png");
    ASSERT_EQ(photofactory::writePngWithChunks(path, smallImage(),
                                               {{"iTXt", data(plain)}, {"iTXt", data(packed)}, {"iTXt", data(junk)}}),
              "");

    const PropertyBlock block = readProperties(path);
    EXPECT_EQ(text(block, 0x0320), std::string("Gr\xC3\xBC\xC3\x9F" "e", 8));
    EXPECT_EQ(text(block, 0x010e), std::string("A long \xE2\x80\x93 quiet day", 20));
    // A compressed text that does not inflate is left out.
    EXPECT_FALSE(block.contains(0x013b));
}

TEST(ReadingPngProperties, mapsTheColourAndResolutionChunks) {
    TempDir dir;
    const std::string profile = "a colour profile's bytes, \x01\x02\x03 and more";
    const Chunks chunks = {
        {"gAMA", be32({45455})},
        {"cHRM", be32({31270, 32900, 64000, 33000, 30000, 60000, 15000, 6000})},
        {"pHYs", [] {
             auto d = be32({2835, 5670});
             d.push_back(1);
             return d;
         }()},
        {"sRGB", {0}},
        {"iCCP", data(std::string("Display P3\0\0", 12) + zlib(profile))},
    };
    const std::string path = dir.path("colour.png");
    ASSERT_EQ(photofactory::writePngWithChunks(path, smallImage(), chunks), "");

    const PropertyBlock block = readProperties(path);

    // Gamma 2.2 as the rational 100000 / 45455: the file stores 1/gamma times 100000.
    const PropertyItem* gamma = find(block, 0x0301);
    ASSERT_NE(gamma, nullptr);
    EXPECT_EQ(gamma->type, kTypeRational);
    EXPECT_EQ(gamma->length, 8u);
    EXPECT_EQ(u32(*gamma, 0), 100000u);
    EXPECT_EQ(u32(*gamma, 1), 45455u);

    // Chromaticities in hundred-thousandths: the white point, then red, green and blue.
    const PropertyItem* white = find(block, 0x013e);
    ASSERT_NE(white, nullptr);
    EXPECT_EQ(white->type, kTypeRational);
    EXPECT_EQ(white->length, 16u);
    EXPECT_EQ(u32(*white, 0), 31270u);
    EXPECT_EQ(u32(*white, 1), 100000u);
    EXPECT_EQ(u32(*white, 2), 32900u);
    const PropertyItem* primaries = find(block, 0x013f);
    ASSERT_NE(primaries, nullptr);
    EXPECT_EQ(primaries->length, 48u);
    EXPECT_EQ(u32(*primaries, 0), 64000u);
    EXPECT_EQ(u32(*primaries, 10), 6000u);
    EXPECT_EQ(u32(*primaries, 11), 100000u);

    // Pixels per unit, the unit (1 = metre).
    const PropertyItem* unit = find(block, 0x5110);
    ASSERT_NE(unit, nullptr);
    EXPECT_EQ(unit->type, kTypeByte);
    EXPECT_EQ(bytes(*unit), "\x01");
    const PropertyItem* perUnitX = find(block, 0x5111);
    ASSERT_NE(perUnitX, nullptr);
    EXPECT_EQ(perUnitX->type, kTypeLong);
    EXPECT_EQ(u32(*perUnitX), 2835u);
    const PropertyItem* perUnitY = find(block, 0x5112);
    ASSERT_NE(perUnitY, nullptr);
    EXPECT_EQ(u32(*perUnitY), 5670u);

    const PropertyItem* intent = find(block, 0x0303);
    ASSERT_NE(intent, nullptr);
    EXPECT_EQ(intent->type, kTypeByte);
    EXPECT_EQ(intent->length, 1u);
    EXPECT_EQ(intent->value[0], 0);

    EXPECT_EQ(text(block, 0x0302), std::string("Display P3", 11));
    const PropertyItem* icc = find(block, 0x8773);
    ASSERT_NE(icc, nullptr);
    EXPECT_EQ(bytes(*icc), profile);

    for (const PropertyItem& item : block.items()) EXPECT_TRUE(nulAfterValue(item));
}
