// Damaged and hostile files: metadata that points past its end, claims huge counts or loops, PNG
// chunks that lie, and files that are no pictures at all. Reading their properties never crashes
// and gives no items or a bounded set; a picture whose pixels are sound still loads.

#include "imaging/Bitmap.h"
#include "imaging/PngChunks.h"
#include "imaging/PropertyReader.h"
#include "model/DatedPicture.h"

#include "photofactory/PhotoFactory.h"
#include "support/PropertyItems.h"
#include "support/TempDir.h"

#include <QFile>

#include <algorithm>

#include <gtest/gtest.h>

#include <zlib.h>

using namespace imaging;
using namespace propertyitems;
using namespace std::string_literals;

namespace {

// One IFD entry: tag, type, count and the value or its offset, as the file holds them.
struct Entry {
    std::uint16_t tag, type;
    std::uint32_t count, valueOrOffset;
};

void putLe(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// A little-endian TIFF block: the header pointing at `ifdOffset`, then at offset 8 an IFD that
// declares `declaredCount` entries but holds `entries`, its next-IFD offset, and `tail` after it.
std::vector<std::uint8_t> tiffBlock(const std::vector<Entry>& entries, std::uint32_t nextIfd = 0,
                                    std::uint32_t ifdOffset = 8, int declaredCount = -1,
                                    const std::string& tail = {}) {
    std::vector<std::uint8_t> out = {'I', 'I', 42, 0};
    putLe(out, ifdOffset, 4);
    putLe(out, declaredCount < 0 ? static_cast<std::uint32_t>(entries.size()) : declaredCount, 2);
    for (const Entry& e : entries) {
        putLe(out, e.tag, 2);
        putLe(out, e.type, 2);
        putLe(out, e.count, 4);
        putLe(out, e.valueOrOffset, 4);
    }
    putLe(out, nextIfd, 4);
    out.insert(out.end(), tail.begin(), tail.end());
    return out;
}

// Where `tail` starts in a block of n entries.
std::uint32_t tailOffset(std::size_t n) {
    return static_cast<std::uint32_t>(8 + 2 + 12 * n + 4);
}

// A 16 x 16 grey TIFF whose first directory also holds `extra` entries, with `tail` after the pixels;
// offsets of the extra entries count from the start of the file.
std::vector<std::uint8_t> decodableTiff(std::vector<Entry> extra, std::uint32_t width = 16,
                                        std::uint32_t height = 16, const std::string& tail = {}) {
    constexpr std::uint32_t kPixelsAt = 8;
    constexpr std::uint32_t kPixelBytes = 16 * 16;
    std::vector<Entry> entries = {
        {0x0100, 4, 1, width}, {0x0101, 4, 1, height}, {0x0102, 3, 1, 8},
        {0x0103, 3, 1, 1},     {0x0106, 3, 1, 1},      {0x0111, 4, 1, kPixelsAt},
        {0x0115, 3, 1, 1},     {0x0116, 4, 1, height}, {0x0117, 4, 1, kPixelBytes},
    };
    entries.insert(entries.end(), extra.begin(), extra.end());
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.tag < b.tag; });
    const std::uint32_t ifdAt = kPixelsAt + kPixelBytes;
    std::vector<std::uint8_t> out = {'I', 'I', 42, 0};
    putLe(out, ifdAt, 4);
    out.insert(out.end(), kPixelBytes, 128);
    putLe(out, static_cast<std::uint32_t>(entries.size()), 2);
    for (const Entry& e : entries) {
        putLe(out, e.tag, 2);
        putLe(out, e.type, 2);
        putLe(out, e.count, 4);
        putLe(out, e.valueOrOffset, 4);
    }
    putLe(out, 0, 4);
    out.insert(out.end(), tail.begin(), tail.end());
    return out;
}

// Where `tail` starts in a decodableTiff with `extra` entries.
std::uint32_t decodableTiffTail(std::size_t extra) {
    return static_cast<std::uint32_t>(8 + 16 * 16 + 2 + 12 * (9 + extra) + 4);
}

QImage testImage() {
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(qRgb(60, 120, 180));
    return image;
}

void expectBounded(const PropertyBlock& block) {
    EXPECT_LT(block.count(), 100u);
    EXPECT_LT(block.valueBytes(), 1u << 20);
    for (const PropertyItem& item : block.items()) {
        EXPECT_TRUE(nulAfterValue(item));
        EXPECT_TRUE(item.type >= kTypeByte && item.type <= 12) << "type " << item.type;
    }
}

// Loads the picture and expects its pixels and at least the path and name items.
void expectPixelsLoad(const std::string& path, int width, int height) {
    CDatedPicture model;
    std::string whyNot;
    ASSERT_EQ(model.ReadPicture(path, &whyNot), 1) << whyNot;
    ASSERT_NE(model.picture, nullptr);
    EXPECT_EQ(model.picture->width(), width);
    EXPECT_EQ(model.picture->height(), height);
    ASSERT_GE(model.itemCount, 2);
    EXPECT_EQ(model.item(model.itemCount - 1).tag, kTagImageName);
}

void expectLoadFails(const std::string& path) {
    CDatedPicture model;
    std::string whyNot;
    EXPECT_EQ(model.ReadPicture(path, &whyNot), 0);
    EXPECT_EQ(model.picture, nullptr);
    EXPECT_FALSE(whyNot.empty());
    EXPECT_EQ(whyNot.find('\n'), std::string::npos) << "one line for the user";
}

QByteArray readAll(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const std::string& path, const QByteArray& bytes) {
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

void writeAll(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    writeAll(path, QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
}

} // namespace

TEST(HostileMetadata, neverCrashesTheReaderNorStopsThePixelsLoading) {
    const std::string date = "2001:06:21 14:38:56\0"s;
    // A sound date entry whose text follows an IFD of n entries.
    const auto goodDate = [](std::size_t n) { return Entry{0x0132, 2, 20, tailOffset(n)}; };
    const std::vector<std::uint8_t> unknownTypes =
        tiffBlock({{0x0001, 0, 1, 0xCE}, {0x010f, 99, 5, 0}, goodDate(3)}, 0, 8, -1, date);
    struct Case {
        const char* name;
        std::vector<std::uint8_t> tiff;
    };
    const std::vector<Case> cases = {
        // An IFD that declares 300 entries and holds one.
        {"count past the end", tiffBlock({goodDate(1)}, 0, 8, 300, date)},
        // A text whose offset lies far past the block.
        {"offset past the end", tiffBlock({{0x010f, 2, 40, 0x7FFFFFF0u}, goodDate(2)}, 0, 8, -1, date)},
        // Counts whose values would take gigabytes.
        {"huge count",
         tiffBlock({{0x0111, 4, 0x40000000u, 26}, {0x010e, 2, 0xFFFFFFFFu, 26}}, 0, 8, -1, date)},
        // A next-IFD offset that points back at the same IFD.
        {"loop of next IFDs", tiffBlock({goodDate(1)}, 8, 8, -1, date)},
        // A thumbnail IFD whose next-IFD offset leads back to the main IFD.
        {"loop through the thumbnail IFD", tiffBlock({{0x010f, 2, 4, 0x006d6143u}}, tailOffset(1), 8, -1,
                                                     "\x01\0\x03\x01\x03\0\x01\0\0\0\x06\0\0\0\x08\0\0\0"s)},
        // The Exif and GPS pointers pointing back at the main IFD.
        {"loop through the Exif pointer", tiffBlock({{0x8769, 4, 1, 8}, {0x8825, 4, 1, 8}}, 0)},
        // Directory pointers past the end and into the middle of an entry.
        {"pointers past the end", tiffBlock({{0x8769, 4, 1, 0x7FFFFFFFu}, {0x8825, 4, 1, 13}}, 0)},
        // The first IFD past the end.
        {"IFD offset past the end", tiffBlock({}, 0, 0xFFFFFF00u)},
        // Type codes no TIFF reader knows, with counts.
        {"unknown types", unknownTypes},
        // A header and nothing else.
        {"header only", {'I', 'I', 42, 0, 8, 0, 0, 0}},
        // Not a TIFF header at all.
        {"bad byte order mark", {'X', 'X', 42, 0, 8, 0, 0, 0, 0, 0}},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.path("hostile.jpg");
        ASSERT_EQ(photofactory::writeJpegWithRawExif(path, testImage(), c.tiff), "");
        expectBounded(readProperties(path));
        expectPixelsLoad(path, 64, 48);
    }

    // Entries of unknown types are left out, and the sound entry beside them is read.
    const std::string path = dir.path("types.jpg");
    ASSERT_EQ(photofactory::writeJpegWithRawExif(path, testImage(), unknownTypes), "");
    const PropertyBlock block = readProperties(path);
    EXPECT_EQ(ids(block), std::vector<std::uint32_t>{0x0132});
    ASSERT_FALSE(block.empty());
    EXPECT_EQ(bytes(block.items()[0]), date);
}

TEST(HostileMetadata, survivesAJpegWhoseExifSegmentIsCutShort) {
    TempDir dir;
    const std::vector<std::uint8_t> exif = photofactory::encodeExif(
        {{"Exif.Image.Make", "Canon"}, {"Exif.Photo.DateTimeOriginal", "2001:06:21 14:38:56"}}, false);
    ASSERT_FALSE(exif.empty());
    const std::string whole = dir.path("whole.jpg");
    ASSERT_EQ(photofactory::writeJpegWithRawExif(whole, testImage(), exif), "");
    const QByteArray bytes = readAll(whole);
    ASSERT_EQ(bytes.mid(2, 2), QByteArray("\xFF\xE1", 2));

    // The segment's length says 20 bytes: the Exif is cut inside its first IFD, and the rest of it
    // lies between the segments, where the decoder skips it.
    const std::string shortSegment = dir.path("short-segment.jpg");
    QByteArray patched = bytes;
    patched[4] = 0;
    patched[5] = 20;
    writeAll(shortSegment, patched);
    expectBounded(readProperties(shortSegment));
    expectPixelsLoad(shortSegment, 64, 48);

    // The file ends inside the segment: no pixels, a reason, and still no crash.
    const std::string cut = dir.path("cut.jpg");
    writeAll(cut, bytes.left(40));
    expectBounded(readProperties(cut));
    expectLoadFails(cut);
}

TEST(HostileMetadata, readsPngChunksThatLieOrAreDamagedWithoutCrashing) {
    TempDir dir;
    // 20 MB of zeros inflate from a few kilobytes: more than any property value may hold.
    const std::string bomb = qCompress(QByteArray(20 << 20, '\0')).mid(4).toStdString();
    struct Case {
        const char* name;
        std::string type, data;
        // Exiv2 reads the text and profile chunks itself and throws on a damaged one; the reader
        // then gives no properties at all, as for any metadata Exiv2 cannot read.
        bool exiv2Refuses;
    };
    const std::vector<Case> cases = {
        {"a time too short", "tIME", "\x07\xE5\x03", false},
        {"a text without its NUL", "tEXt", "Title has no separator", true},
        {"an international text cut after its keyword", "iTXt", "Title\0"s, true},
        {"chromaticities too short", "cHRM", "\0\0\x7A\x26"s, false},
        {"a profile name without its NUL", "iCCP", std::string(100, 'P'), true},
        {"a profile that inflates past the limit", "iCCP", "Bomb\0\0"s + bomb, false},
        {"a compressed text that does not inflate", "iTXt", "Author\0\x01\0\0\0not zlib"s, true},
    };
    const std::string authorText = "Author\0Ann"s;
    const std::vector<std::uint8_t> author(authorText.begin(), authorText.end());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.path("chunk.png");
        const std::vector<std::uint8_t> data(c.data.begin(), c.data.end());
        ASSERT_EQ(photofactory::writePngWithChunks(path, testImage(), {{c.type, data}, {"tEXt", author}}),
                  "");
        std::string problem;
        const PropertyBlock block = readProperties(path, &problem);
        expectBounded(block);
        // Nothing of the damaged chunk; the sound text after it is read unless Exiv2 gave up.
        EXPECT_FALSE(block.contains(0x0132));
        EXPECT_FALSE(block.contains(0x013e));
        EXPECT_FALSE(block.contains(0x8773));
        if (c.exiv2Refuses) {
            EXPECT_TRUE(block.empty());
            EXPECT_FALSE(problem.empty());
        } else {
            EXPECT_EQ(problem, "");
            EXPECT_TRUE(block.contains(0x013b));
        }
        expectPixelsLoad(path, 64, 48);
    }
}

TEST(HostileMetadata, walksPngChunksNoFurtherThanTheFileWhateverTheirLengthsSay) {
    // Exiv2 refuses most such files before the chunks are walked, so the walk is tested on its own.
    TempDir dir;
    const std::string title = "Title\0Harbour"s, author = "Author\0Ann"s;
    ASSERT_EQ(photofactory::writePngWithChunks(dir.path("good.png"), testImage(),
                                               {{"tIME", {0x07, 0xE5, 3, 4, 5, 6, 7}},
                                                {"tEXt", {title.begin(), title.end()}},
                                                {"tEXt", {author.begin(), author.end()}}}),
              "");
    const QByteArray good = readAll(dir.path("good.png"));
    const qsizetype lengthField = good.indexOf("tEXtTitle") - 4;
    ASSERT_GT(lengthField, 0);

    const std::pair<std::uint32_t, bool> lies[] = {
        {0x00100000u, true}, // past the end of the file: the walk stops
        {0x80000010u, true}, // past any length a chunk may have: the walk stops
        {20, false},         // into the next chunk: what follows is read as chunks, within the file
        {3, false},          // shorter than the text
    };
    for (const auto& [length, stops] : lies) {
        SCOPED_TRACE(length);
        QByteArray patched = good;
        for (int i = 0; i < 4; ++i)
            patched[lengthField + i] = static_cast<char>(length >> (24 - 8 * i));
        const std::string path = dir.path("lying.png");
        writeAll(path, patched);

        PropertyBlock block;
        addPngChunkProperties(path, block);
        expectBounded(block);
        // The chunk before the liar is read; after one that runs off the file, nothing.
        EXPECT_TRUE(block.contains(0x0132));
        if (stops) EXPECT_EQ(block.count(), 1u);
    }
}

TEST(HostileMetadata, givesAReasonForFilesThatAreNoPictures) {
    TempDir dir;
    photofactory::Photo photo;
    photo.tags = {{"Exif.Image.Make", "Canon"}};
    ASSERT_EQ(photofactory::writePhoto(dir.path("good.jpg"), photo), "");
    ASSERT_EQ(photofactory::writePhoto(dir.path("good.png"), photo), "");
    ASSERT_EQ(photofactory::writePhoto(dir.path("good.tif"), photo), "");
    const QByteArray jpeg = readAll(dir.path("good.jpg"));
    const QByteArray png = readAll(dir.path("good.png"));
    const QByteArray tiff = readAll(dir.path("good.tif"));
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage.append(static_cast<char>((i * 7919 + 13) % 251));
    // A chunk after the header whose length runs past the end of the file.
    QByteArray lyingPng = png.left(33);
    lyingPng.append(QByteArray("\x00\x10\x00\x00tEXtTitle\0x", 15)).append(png.mid(33, 40));

    const std::vector<std::pair<const char*, QByteArray>> cases = {
        {"empty.jpg", {}},                                 // nothing at all
        {"empty.png", {}},                                 //
        {"garbage.jpg", garbage},                          // bytes of no format
        {"garbage.tif", QByteArray("II*\0", 4) + garbage}, // a TIFF header and then garbage
        {"cut.jpg", jpeg.left(300)},                       // cut inside the Exif and the headers
        {"cut.png", png.left(60)},                         // cut before the pixels
        {"cut.tif", tiff.left(200)},                       // cut before the strips
        {"lying.png", lyingPng},                           // a chunk length past the end
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        const std::string path = dir.path(name);
        writeAll(path, bytes);
        expectBounded(readProperties(path));
        expectLoadFails(path);
    }

    // A file that is not there says so.
    CDatedPicture model;
    std::string whyNot;
    EXPECT_EQ(model.ReadPicture(dir.path("missing.jpg"), &whyNot), 0);
    EXPECT_EQ(whyNot, "file not found");
    std::string problem;
    EXPECT_TRUE(readProperties(dir.path("missing.jpg"), &problem).empty());
    EXPECT_FALSE(problem.empty());
}

TEST(HostileMetadata, refusesAPictureTooLargeFromItsHeaderBeforeDecoding) {
    TempDir dir;
    ASSERT_EQ(photofactory::writeJpegWithRawExif(dir.path("small.jpg"), testImage(), {}), "");
    const QByteArray jpeg = readAll(dir.path("small.jpg"));
    const qsizetype frame = jpeg.indexOf("\xFF\xC0");
    ASSERT_GT(frame, 0) << "a baseline frame header";

    const std::pair<int, int> sizes[] = {
        {65000, 65000}, // four billion pixels
        {20000, 20000}, // 400 megapixels, over the 300 the product takes
        {65400, 16},    // few pixels, but a side longer than the painter's coordinates take
    };
    for (const auto& [width, height] : sizes) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        QByteArray patched = jpeg;
        patched[frame + 5] = static_cast<char>(height >> 8);
        patched[frame + 6] = static_cast<char>(height & 0xFF);
        patched[frame + 7] = static_cast<char>(width >> 8);
        patched[frame + 8] = static_cast<char>(width & 0xFF);
        const std::string path = dir.path("huge.jpg");
        writeAll(path, patched);

        Status status = Status::Ok;
        std::string reason;
        EXPECT_EQ(Bitmap::fromFile(path, status, &reason), nullptr);
        EXPECT_EQ(status, Status::OutOfMemory);
        EXPECT_EQ(
            reason.rfind("picture too large: " + std::to_string(width) + " x " + std::to_string(height), 0),
            0u)
            << reason;
        expectLoadFails(path);
    }

    // PNG and TIFF headers have room for 100000 x 100000 pixels: 40 GB of them.
    ASSERT_TRUE(testImage().save(QString::fromStdString(dir.path("small.png")), "PNG"));
    QByteArray png = readAll(dir.path("small.png"));
    ASSERT_EQ(png.mid(12, 4), "IHDR");
    const auto putBe32 = [&png](int at, quint32 v) {
        for (int i = 0; i < 4; ++i)
            png[at + i] = static_cast<char>(v >> (24 - 8 * i));
    };
    putBe32(16, 100000); // width
    putBe32(20, 100000); // height
    putBe32(29, static_cast<quint32>(crc32(0, reinterpret_cast<const Bytef*>(png.constData() + 12), 17)));
    writeAll(dir.path("bomb.png"), png);
    writeAll(dir.path("bomb.tif"), decodableTiff({}, 100000, 100000));
    for (const char* name : {"bomb.png", "bomb.tif"}) {
        SCOPED_TRACE(name);
        Status status = Status::Ok;
        std::string reason;
        EXPECT_EQ(Bitmap::fromFile(dir.path(name), status, &reason), nullptr);
        EXPECT_EQ(status, Status::OutOfMemory);
        EXPECT_EQ(reason, "picture too large: 100000 x 100000 pixels (at most 300 megapixels)");
        expectLoadFails(dir.path(name));
    }

    // 16-bit pixels at 16000 x 16000: within the product's limit, but 2 GB as Qt decodes them, past its
    // allocation limit. Qt allocates before it reads a pixel, and fails as for a damaged file.
    const QString deep = QString::fromStdString(dir.path("deep.png"));
    ASSERT_TRUE(testImage().convertToFormat(QImage::Format_RGBX64).save(deep, "PNG"));
    png = readAll(dir.path("deep.png"));
    ASSERT_EQ(png[24], 16) << "16 bits a sample";
    putBe32(16, 16000);
    putBe32(20, 16000);
    putBe32(29, static_cast<quint32>(crc32(0, reinterpret_cast<const Bytef*>(png.constData() + 12), 17)));
    writeAll(dir.path("deep.png"), png);
    Status status = Status::Ok;
    std::string reason;
    EXPECT_EQ(Bitmap::fromFile(dir.path("deep.png"), status, &reason), nullptr);
    EXPECT_EQ(status, Status::OutOfMemory);
    EXPECT_EQ(reason, "out of memory");
}

TEST(HostileMetadata, refusesTagsThatAllClaimOneStretchOfTheFile) {
    // 240 entries whose values are the same 256 KB: 60 MB claimed by a file of a quarter of that.
    // Exiv2 and libtiff copy every value, twice over in Exiv2: an 8 MB file like it takes 4 GB.
    std::vector<Entry> shared;
    for (std::uint16_t i = 0; i < 240; ++i)
        shared.push_back({static_cast<std::uint16_t>(0xc000 + i), 7, 256u << 10, 0});
    const auto pointAt = [&shared](std::uint32_t offset) {
        for (Entry& e : shared)
            e.valueOrOffset = offset;
    };
    const std::string blob(256u << 10, 'x');
    TempDir dir;

    pointAt(decodableTiffTail(shared.size()));
    writeAll(dir.path("shared.tif"), decodableTiff(shared, 16, 16, blob));
    Status status = Status::Ok;
    std::string reason;
    EXPECT_EQ(Bitmap::fromFile(dir.path("shared.tif"), status, &reason), nullptr);
    EXPECT_EQ(status, Status::OutOfMemory);
    EXPECT_EQ(reason, "damaged metadata: its tags claim 60 MB of values in 1 MB of file");
    expectLoadFails(dir.path("shared.tif"));
    // The same of a type no TIFF reader knows: Exiv2 reads them as bytes (500 MB for a 1 MB file).
    std::vector<Entry> oddTypes = shared;
    for (Entry& e : oddTypes)
        e.type = 99;
    writeAll(dir.path("odd-types.tif"), decodableTiff(oddTypes, 16, 16, blob));
    EXPECT_EQ(Bitmap::fromFile(dir.path("odd-types.tif"), status, &reason), nullptr);
    EXPECT_EQ(reason, "damaged metadata: its tags claim 60 MB of values in 1 MB of file");

    // In a PNG's eXIf chunk the pixels still load, without properties.
    pointAt(tailOffset(shared.size()));
    const std::vector<std::uint8_t> exif = tiffBlock(shared, 0, 8, -1, blob);
    ASSERT_EQ(photofactory::writePngWithChunks(dir.path("shared.png"), testImage(), {{"eXIf", exif}}), "");
    std::string problem;
    EXPECT_TRUE(readProperties(dir.path("shared.png"), &problem).empty());
    EXPECT_EQ(problem, "damaged metadata: its tags claim 60 MB of values in 1 MB of file");
    CDatedPicture model;
    ASSERT_EQ(model.ReadPicture(dir.path("shared.png")), 1);
    EXPECT_EQ(model.itemCount, 2); // the path and the name

    // A camera maker's note, read by Exiv2 for the cameras it knows: the same 240 entries inside it.
    const std::uint32_t exifAt = decodableTiffTail(2) + 6;
    const std::uint32_t noteAt = exifAt + 2 + 12 + 4;
    const std::uint32_t noteBytes = 2 + 12 * 240 + 4;
    pointAt(noteAt + noteBytes);
    const auto directory = [](const std::vector<Entry>& entries) {
        std::vector<std::uint8_t> out;
        putLe(out, static_cast<std::uint32_t>(entries.size()), 2);
        for (const Entry& e : entries) {
            putLe(out, e.tag, 2);
            putLe(out, e.type, 2);
            putLe(out, e.count, 4);
            putLe(out, e.valueOrOffset, 4);
        }
        putLe(out, 0, 4);
        return out;
    };
    const std::vector<std::uint8_t> note = directory(shared);
    const std::vector<std::uint8_t> exifIfd = directory({{0x927c, 7, noteBytes, noteAt}});
    std::string tail = "Canon"s + '\0';
    tail.append(exifIfd.begin(), exifIfd.end()).append(note.begin(), note.end()).append(blob);
    writeAll(dir.path("maker-note.tif"),
             decodableTiff({{0x010f, 2, 6, decodableTiffTail(2)}, {0x8769, 4, 1, exifAt}}, 16, 16, tail));
    EXPECT_EQ(Bitmap::fromFile(dir.path("maker-note.tif"), status, &reason), nullptr);
    EXPECT_EQ(reason.rfind("damaged metadata: its tags claim 61 MB of values", 0), 0u) << reason;

    // An Olympus maker note pointing at directories of its own, as at its camera settings; offsets
    // count from the note. Exiv2 copies every value of every one of them, twice.
    const auto olympus = [&](std::vector<std::vector<Entry>> nested, const std::string& blob) {
        const std::uint32_t exifAt = decodableTiffTail(2) + 8, noteAt = exifAt + 18;
        std::uint32_t at = 12 + 2 + 12 * static_cast<std::uint32_t>(nested.size()) + 4;
        std::vector<Entry> pointers;
        for (const std::vector<Entry>& d : nested) {
            pointers.push_back({0x2020, 13, 1, at});
            at += 2 + 12 * static_cast<std::uint32_t>(d.size()) + 4;
        }
        std::string note = "OLYMPUS\0II\x03\0"s;
        const std::vector<std::uint8_t> top = directory(pointers);
        note.append(top.begin(), top.end());
        for (std::vector<Entry>& d : nested) {
            for (Entry& e : d)
                e.valueOrOffset = at; // the blob, after the directories
            const std::vector<std::uint8_t> bytes = directory(d);
            note.append(bytes.begin(), bytes.end());
        }
        note += blob;
        const std::vector<std::uint8_t> exifIfd =
            directory({{0x927c, 7, static_cast<std::uint32_t>(note.size()), noteAt}});
        std::string tail = "OLYMPUS"s + '\0';
        tail.append(exifIfd.begin(), exifIfd.end()).append(note);
        return decodableTiff({{0x010f, 2, 8, decodableTiffTail(2)}, {0x8769, 4, 1, exifAt}}, 16, 16, tail);
    };
    writeAll(dir.path("nested.tif"), olympus({shared}, blob));
    EXPECT_EQ(Bitmap::fromFile(dir.path("nested.tif"), status, &reason), nullptr);
    EXPECT_EQ(reason, "damaged metadata: its tags claim 61 MB of values in 1 MB of file");
    // One entry of a type no TIFF reader knows among them: Exiv2 still reads the directory.
    std::vector<Entry> oddOne = shared;
    oddOne[0].type = 99;
    writeAll(dir.path("nested-odd.tif"), olympus({oddOne}, blob));
    EXPECT_EQ(Bitmap::fromFile(dir.path("nested-odd.tif"), status, &reason), nullptr);
    EXPECT_EQ(reason, "damaged metadata: its tags claim 61 MB of values in 1 MB of file");
    // More nested directories than a camera writes, each of one small value: past 64 they are not
    // counted, so none is read.
    writeAll(dir.path("many-nested.tif"), olympus({70, {{0x0100, 7, 8, 0}}}, "12345678"));
    EXPECT_EQ(Bitmap::fromFile(dir.path("many-nested.tif"), status, &reason), nullptr);
    EXPECT_EQ(reason, "damaged metadata: its maker note points at more directories than a camera writes");

    // The same values, each in its own place, are a sound if unusual file.
    std::string ownPlaces;
    for (std::size_t i = 0; i < 8; ++i) {
        shared[i].count = 4096;
        shared[i].valueOrOffset = decodableTiffTail(8) + static_cast<std::uint32_t>(4096 * i);
        ownPlaces += std::string(4096, static_cast<char>('a' + i));
    }
    writeAll(dir.path("own.tif"), decodableTiff({shared.begin(), shared.begin() + 8}, 16, 16, ownPlaces));
    expectPixelsLoad(dir.path("own.tif"), 16, 16);
    const PropertyBlock block = readProperties(dir.path("own.tif"));
    ASSERT_TRUE(block.contains(0xc007));
    EXPECT_EQ(find(block, 0xc007)->length, 4096u);
}

TEST(HostileMetadata, leavesOutValuesLargerThanTheLimitAndKeepsTheRest) {
    // One value of 17 MB, over the 16 MB a value may have, between two small ones.
    const std::uint32_t big = kMaxPropertyValueBytes + (1u << 20);
    const std::uint32_t tail = decodableTiffTail(3);
    const std::vector<Entry> entries = {
        {0x010f, 2, 6, tail},       // Make: "Canon" and its NUL
        {0xc000, 7, big, tail + 6}, // the large one
        {0xc001, 7, 100, tail + 6 + big},
    };
    std::string data = "Canon"s + '\0';
    data += std::string(big, 'b');
    data += std::string(100, 's');
    TempDir dir;
    writeAll(dir.path("large-value.tif"), decodableTiff(entries, 16, 16, data));

    const PropertyBlock block = readProperties(dir.path("large-value.tif"));
    EXPECT_TRUE(block.contains(0x010f));
    EXPECT_FALSE(block.contains(0xc000));
    ASSERT_TRUE(block.contains(0xc001));
    EXPECT_EQ(find(block, 0xc001)->length, 100u);
    EXPECT_LT(block.valueBytes(), 1u << 20);
    expectPixelsLoad(dir.path("large-value.tif"), 16, 16);
}
