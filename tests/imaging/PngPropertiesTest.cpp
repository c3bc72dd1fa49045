// The property items of PNG files: the Exif of the eXIf chunk, and the chunks that have a tag of
// their own (tIME, tEXt and iTXt texts, gAMA, cHRM, pHYs, sRGB, iCCP).

#include "imaging/PropertyReader.h"

#include "photofactory/PhotoFactory.h"
#include "support/PropertyItems.h"
#include "support/TempDir.h"

#include <QByteArray>
#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

using namespace imaging;
using namespace propertyitems;
using namespace std::string_literals;

namespace {

using Chunks = std::vector<std::pair<std::string, std::vector<std::uint8_t>>>;

std::vector<std::uint8_t> asBytes(std::string_view text) {
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

std::vector<std::uint8_t> be32(std::initializer_list<std::uint32_t> values) {
    std::vector<std::uint8_t> out;
    for (std::uint32_t v : values)
        for (int shift = 24; shift >= 0; shift -= 8)
            out.push_back(static_cast<std::uint8_t>(v >> shift));
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

    expectRecords(block, {
                             // The eXIf chunk's Exif.
                             {0x010f, kTypeAscii, "Nikon\0"s},
                             {0x9003, kTypeAscii, "2020:01:02 03:04:05\0"s},
                             // tIME with zero-padded fields.
                             {0x0132, kTypeAscii, "2021:03:04 05:06:07\0"s},
                             {0x0320, kTypeAscii, "Harbour\0"s},
                             {0x013b, kTypeAscii, "Ann\0"s},
                             {0x010e, kTypeAscii, "Caf\u00E9 at dusk\0"s},
                             {0x8298, kTypeAscii, "(c) Ann\0"s},
                             {0x0131, kTypeAscii, "Imprix\0"s},
                         });
    for (const PropertyItem& item : block.items())
        EXPECT_NE(bytes(item), "no tag of its own\0"s);
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
    expectRecords(block, {{0x0132, kTypeAscii, "2020:01:02 03:04:05\0"s},
                          {0x0131, kTypeAscii, "Camera 1.0\0"s},
                          {0x0320, kTypeAscii, "First\0"s}});
    const auto all = ids(block);
    EXPECT_EQ(std::count(all.begin(), all.end(), 0x0132u), 1);
    EXPECT_EQ(std::count(all.begin(), all.end(), 0x0131u), 1);
    EXPECT_EQ(std::count(all.begin(), all.end(), 0x0320u), 1);
}

TEST(ReadingPngProperties, readsInternationalTextsPlainAndCompressed) {
    TempDir dir;
    // keyword, NUL, compressed flag, method, language, NUL, translated keyword, NUL, text
    const std::string plain = "Title\0\0\0de\0Titel\0"s + "Gr\u00FC\u00DFe";
    const std::string packed = "Description\0\x01\0en\0\0"s + zlib("A long \u2013 quiet day");
    const std::string path = dir.path("itxt.png");
    ASSERT_EQ(photofactory::writePngWithChunks(path, smallImage(),
                                               {{"iTXt", asBytes(plain)}, {"iTXt", asBytes(packed)}}),
              "");

    std::string problem;
    const PropertyBlock block = readProperties(path, &problem);
    EXPECT_EQ(problem, "");
    expectRecords(block, {{0x0320, kTypeAscii, "Gr\u00FC\u00DFe\0"s},
                          {0x010e, kTypeAscii, "A long \u2013 quiet day\0"s}});
}

TEST(ReadingPngProperties, mapsTheColourAndResolutionChunks) {
    TempDir dir;
    const std::string profile = "a colour profile's bytes, \x01\x02\x03 and more";
    const Chunks chunks = {
        {"gAMA", be32({45455})},
        {"cHRM", be32({31270, 32900, 64000, 33000, 30000, 60000, 15000, 6000})},
        {"pHYs",
         [] {
             auto d = be32({2835, 5670});
             d.push_back(1);
             return d;
         }()},
        {"sRGB", {0}},
        {"iCCP", asBytes("Display P3\0\0"s + zlib(profile))},
    };
    const std::string path = dir.path("colour.png");
    ASSERT_EQ(photofactory::writePngWithChunks(path, smallImage(), chunks), "");

    expectRecords(
        readProperties(path),
        {
            // Gamma 2.2 as 100000 / 45455: the chunk holds 100000 / gamma.
            {0x0301, kTypeRational, le({100000, 45455})},
            // Chromaticities in hundred-thousandths: the white point, then red, green, blue.
            {0x013e, kTypeRational, le({31270, 100000, 32900, 100000})},
            {0x013f, kTypeRational,
             le({64000, 100000, 33000, 100000, 30000, 100000, 60000, 100000, 15000, 100000, 6000, 100000})},
            // The unit (1 = metre), then pixels per unit.
            {0x5110, kTypeByte, "\x01"},
            {0x5111, kTypeLong, le({2835})},
            {0x5112, kTypeLong, le({5670})},
            {0x0303, kTypeByte, "\0"s},
            {0x0302, kTypeAscii, "Display P3\0"s},
            {0x8773, kTypeUndefined, profile},
        });
}

TEST(ReadingPngProperties, readsTheChunksOfAPngNamedLikeAJpeg) {
    // The decoder goes by the content, and so do the properties.
    TempDir dir;
    photofactory::Photo photo;
    photo.pngTime = photofactory::PngTime{2021, 3, 4, 5, 6, 7};
    ASSERT_EQ(photofactory::writePhoto(dir.path("photo.png"), photo), "");
    ASSERT_TRUE(QFile::copy(QString::fromStdString(dir.path("photo.png")),
                            QString::fromStdString(dir.path("photo.jpg"))));
    expectRecords(readProperties(dir.path("photo.jpg")), {{0x0132, kTypeAscii, "2021:03:04 05:06:07\0"s}});
}
