#include "imaging/ImageDecoder.h"

#include "photofactory/PhotoFactory.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace imaging;

namespace {

// Turns the reuse on for one test and off again after it, whatever happens.
struct ReuseOn {
    explicit ReuseOn(int pictures) { keepDecodedPixelsForReuse(pictures); }
    ~ReuseOn() { keepDecodedPixelsForReuse(0); }
};

// A plain red photo, or a textured one.
std::string writeJpeg(const TempDir& dir, const std::string& name, bool textured, int width = 64,
                      int height = 48) {
    photofactory::Photo photo;
    photo.width = width;
    photo.height = height;
    photo.color = Qt::red;
    photo.textured = textured;
    const std::string path = dir.path(name);
    EXPECT_EQ(photofactory::writePhoto(path, photo), "");
    return path;
}

// The photo decoded into memory of its own, before any reuse is turned on.
QImage decodedAlone(const std::string& path) {
    return decodeImageFile(path).image.copy();
}

} // namespace

TEST(ReusingDecodedPixels, decodesTheNextPhotoIntoTheMemoryOfAReleasedOne) {
    TempDir dir;
    const std::string red = writeJpeg(dir, "red.jpg", false), textured = writeJpeg(dir, "textured.jpg", true);
    const QImage wanted = decodedAlone(textured);

    ReuseOn reuse(1);
    const uchar* first = nullptr;
    {
        DecodedImage photo = decodeImageFile(red);
        ASSERT_EQ(photo.status, Status::Ok);
        first = photo.image.constBits();
    }
    // Memory that went back to the allocator would go to the next picture of that size.
    QImage decoy(64, 48, QImage::Format_RGB32);
    decoy.fill(Qt::green);
    DecodedImage next = decodeImageFile(textured);
    ASSERT_EQ(next.status, Status::Ok);
    EXPECT_EQ(next.image.constBits(), first);
    EXPECT_EQ(next.image.format(), QImage::Format_RGB32);
    EXPECT_EQ(next.image, wanted) << "the same pixels as a photo decoded into new memory";
}

TEST(ReusingDecodedPixels, neverHandsOutMemoryOfAPictureStillInUse) {
    TempDir dir;
    const std::string red = writeJpeg(dir, "red.jpg", false), textured = writeJpeg(dir, "textured.jpg", true);
    const QImage redAlone = decodedAlone(red);

    ReuseOn reuse(2);
    DecodedImage held = decodeImageFile(red);
    const QImage shared = held.image; // as a work picture shares the loaded photo's pixels
    held.image = QImage();
    DecodedImage next = decodeImageFile(textured);
    ASSERT_EQ(next.status, Status::Ok);
    EXPECT_NE(next.image.constBits(), shared.constBits());
    EXPECT_EQ(shared, redAlone) << "the picture in use keeps its pixels";
}

TEST(ReusingDecodedPixels, takesOnlyMemoryOfTheSameLength) {
    TempDir dir;
    const std::string small = writeJpeg(dir, "small.jpg", false, 32, 24);
    const std::string large = writeJpeg(dir, "large.jpg", true, 64, 48);
    const QImage wanted = decodedAlone(large);

    ReuseOn reuse(1);
    decodeImageFile(small); // released at once: its memory is kept
    DecodedImage next = decodeImageFile(large);
    ASSERT_EQ(next.status, Status::Ok);
    EXPECT_EQ(next.image, wanted);
}
