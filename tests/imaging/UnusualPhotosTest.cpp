// Photos at the edges of what the product opens: the largest cameras make, and pixel formats other
// than 8-bit RGB. Each decodes to the usual upright RGB32 picture.

#include "imaging/Bitmap.h"
#include "imaging/ImageLimits.h"
#include "imaging/PropertyReader.h"
#include "model/DatedPicture.h"

#include "support/TempDir.h"

#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <vector>

#include <jpeglib.h>

namespace {

// Writes a JPEG row by row, so a test never holds all its pixels: `row(y, samples)` fills one row of
// `components` samples per pixel (1 grey, 3 RGB, 4 CMYK).
bool writeJpeg(const std::string& path, int width, int height, int components,
               const std::function<void(int, JSAMPLE*)>& row) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    jpeg_compress_struct c{};
    jpeg_error_mgr errors{};
    c.err = jpeg_std_error(&errors);
    jpeg_create_compress(&c);
    jpeg_stdio_dest(&c, file);
    c.image_width = static_cast<JDIMENSION>(width);
    c.image_height = static_cast<JDIMENSION>(height);
    c.input_components = components;
    c.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 4 ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 50, TRUE);
    jpeg_start_compress(&c, TRUE);
    std::vector<JSAMPLE> samples(static_cast<std::size_t>(width) * components);
    while (c.next_scanline < c.image_height) {
        row(static_cast<int>(c.next_scanline), samples.data());
        JSAMPROW rows[] = {samples.data()};
        jpeg_write_scanlines(&c, rows, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    return std::fclose(file) == 0;
}

::testing::AssertionResult near(const imaging::Bitmap& bitmap, int x, int y, QRgb want) {
    const QRgb got = bitmap.image().pixel(x, y);
    if (std::abs(qRed(got) - qRed(want)) <= 8 && std::abs(qGreen(got) - qGreen(want)) <= 8 &&
        std::abs(qBlue(got) - qBlue(want)) <= 8)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "pixel (" << x << ", " << y << ") is " << std::hex << got << ", not " << want << " within 8";
}

std::unique_ptr<imaging::Bitmap> decode(const std::string& path) {
    imaging::Status status = imaging::Status::GenericError;
    std::string reason;
    auto bitmap = imaging::Bitmap::fromFile(path, status, &reason);
    EXPECT_EQ(status, imaging::Status::Ok) << reason;
    return bitmap;
}

void putLe(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// An uncompressed 8 x 8 grey TIFF with one page per grey level, each page's directory naming the
// page in its description.
std::vector<std::uint8_t> multiPageTiff(const std::vector<std::uint8_t>& greys) {
    std::vector<std::uint8_t> out = {'I', 'I', 42, 0};
    putLe(out, 8, 4);
    for (std::size_t page = 0; page < greys.size(); ++page) {
        const std::uint32_t ifd = static_cast<std::uint32_t>(out.size());
        const std::uint32_t entries = 10;
        const std::uint32_t text = ifd + 2 + 12 * entries + 4;
        const std::string description = "page " + std::to_string(page + 1);
        const std::uint32_t pixels = text + static_cast<std::uint32_t>(description.size() + 1);
        const std::uint32_t next = page + 1 < greys.size() ? pixels + 64 : 0;
        const std::uint32_t table[entries][3] = {
            {0x0100, 3, 8},      {0x0101, 3, 8}, {0x0102, 3, 8}, {0x0103, 3, 1},  {0x0106, 3, 1},
            {0x0111, 4, pixels}, {0x0115, 3, 1}, {0x0116, 3, 8}, {0x0117, 4, 64}, {0x010e, 2, text},
        };
        putLe(out, entries, 2);
        for (const auto& [tag, type, value] : table) {
            putLe(out, tag, 2);
            putLe(out, type, 2);
            putLe(out, tag == 0x010e ? static_cast<std::uint32_t>(description.size() + 1) : 1, 4);
            putLe(out, value, 4);
        }
        putLe(out, next, 4);
        out.insert(out.end(), description.begin(), description.end());
        out.push_back(0);
        out.insert(out.end(), 64, greys[page]);
    }
    return out;
}

} // namespace

TEST(TheSizeLimits, openAHundredMegapixelPhoto) {
    constexpr int kWidth = 12288, kHeight = 8192; // 100.7 megapixels, 403 MB of decoded pixels
    static_assert(std::int64_t(kWidth) * kHeight <= imaging::kMaxPixels && kWidth <= imaging::kMaxSide);
    TempDir dir;
    const std::string path = dir.path("100mp.jpg");
    // Red on the left half, blue on the right, green below the middle.
    ASSERT_TRUE(writeJpeg(path, kWidth, kHeight, 3, [](int y, JSAMPLE* s) {
        for (int x = 0; x < kWidth; ++x, s += 3) {
            const bool bottom = y >= kHeight / 2, left = x < kWidth / 2;
            s[0] = !bottom && left ? 200 : 30;
            s[1] = bottom ? 200 : 30;
            s[2] = !bottom && !left ? 200 : 30;
        }
    }));

    CDatedPicture model;
    std::string whyNot;
    ASSERT_EQ(model.ReadPicture(path, &whyNot), 1) << whyNot;
    ASSERT_NE(model.picture, nullptr);
    EXPECT_EQ(model.picture->width(), kWidth);
    EXPECT_EQ(model.picture->height(), kHeight);
    EXPECT_TRUE(near(*model.picture, 100, 100, qRgb(200, 30, 30)));
    EXPECT_TRUE(near(*model.picture, kWidth - 100, 100, qRgb(30, 30, 200)));
    EXPECT_TRUE(near(*model.picture, kWidth / 2, kHeight - 100, qRgb(30, 200, 30)));
}

TEST(DecodingAPhoto, turnsUnusualPixelFormatsIntoRgb) {
    TempDir dir;
    {
        SCOPED_TRACE("CMYK JPEG, as print workflows write them (inverted, as Photoshop stores it)");
        ASSERT_TRUE(writeJpeg(dir.path("cmyk.jpg"), 32, 16, 4, [](int, JSAMPLE* s) {
            for (int x = 0; x < 32; ++x, s += 4)
                s[0] = 255, s[1] = x < 16 ? 0 : 255, s[2] = 0, s[3] = 255;
        }));
        const auto bitmap = decode(dir.path("cmyk.jpg"));
        ASSERT_TRUE(bitmap);
        EXPECT_EQ(bitmap->pixelFormat(), QImage::Format_RGB32);
        EXPECT_TRUE(near(*bitmap, 4, 8, qRgb(255, 0, 0)));
        EXPECT_TRUE(near(*bitmap, 28, 8, qRgb(255, 255, 0)));
    }
    {
        SCOPED_TRACE("grey JPEG");
        ASSERT_TRUE(
            writeJpeg(dir.path("grey.jpg"), 16, 16, 1, [](int, JSAMPLE* s) { std::fill_n(s, 16, 90); }));
        const auto bitmap = decode(dir.path("grey.jpg"));
        ASSERT_TRUE(bitmap);
        EXPECT_EQ(bitmap->pixelFormat(), QImage::Format_RGB32);
        EXPECT_TRUE(near(*bitmap, 8, 8, qRgb(90, 90, 90)));
    }
    {
        SCOPED_TRACE("16-bit PNG with alpha");
        QImage deep(16, 16, QImage::Format_RGBA64);
        deep.fill(QColor::fromRgba64(0xFFFF, 0x8000, 0x0000, 0xFFFF));
        ASSERT_TRUE(deep.save(QString::fromStdString(dir.path("deep.png")), "PNG"));
        const auto bitmap = decode(dir.path("deep.png"));
        ASSERT_TRUE(bitmap);
        EXPECT_EQ(bitmap->pixelFormat(), QImage::Format_ARGB32_Premultiplied);
        EXPECT_TRUE(near(*bitmap, 8, 8, qRgb(255, 128, 0)));
    }
    {
        SCOPED_TRACE("multi-page TIFF: the first page, and no items from the others");
        const std::vector<std::uint8_t> tiff = multiPageTiff({200, 40, 120});
        QFile file(QString::fromStdString(dir.path("pages.tif")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(tiff.data()), static_cast<qint64>(tiff.size()));
        file.close();
        CDatedPicture model;
        std::string whyNot;
        ASSERT_EQ(model.ReadPicture(dir.path("pages.tif"), &whyNot), 1) << whyNot;
        EXPECT_EQ(model.picture->width(), 8);
        EXPECT_TRUE(near(*model.picture, 4, 4, qRgb(200, 200, 200)));
        std::vector<std::string> descriptions;
        for (int i = 0; i < model.itemCount; ++i)
            if (model.item(i).tag == 0x010e) descriptions.push_back(model.item(i).valueText);
        EXPECT_EQ(descriptions, std::vector<std::string>{"page 1"});
    }
}
