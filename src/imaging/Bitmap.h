#pragma once

#include "imaging/ImageDecoder.h"
#include "imaging/Status.h"

#include <QImage>
#include <QRectF>

#include <memory>
#include <string>

namespace imaging {

// Owner of one bitmap: a QImage and the last status of the operations on it. Decoded photos are
// Format_RGB32; pictures with alpha are Format_ARGB32_Premultiplied.
class Bitmap : public StatusOwner {
public:
    Bitmap() = default;
    explicit Bitmap(QImage image) : image_(std::move(image)) {}

    // Decodes a file by its content (see decodeImageFile). Orientation from the file is applied, so
    // the bitmap is upright. On failure returns null, sets status and, when asked, a reason for the user.
    static std::unique_ptr<Bitmap> fromFile(const std::string& pathUtf8, Status& status,
                                            std::string* reason = nullptr,
                                            Accept accept = Accept::AnyPicture);

    // A blank bitmap of the given size and pixel format, or null with status OutOfMemory or
    // InvalidParameter when the size is impossible or too large.
    static std::unique_ptr<Bitmap> create(int width, int height, QImage::Format format, Status& status);

    // A copy in the same pixel format. It shares the pixels until either is written to (Qt's implicit
    // sharing, safe across threads), so a template's border or watermark applied to many photos, by
    // several jobs at once, is held once however often it is copied.
    std::unique_ptr<Bitmap> clone() const;

    // A copy of one area (picture pixels), clipped to the bitmap, in the same pixel format.
    std::unique_ptr<Bitmap> cloneArea(const QRect& area) const;

    bool isNull() const { return image_.isNull(); }
    int width() const { return image_.width(); }
    int height() const { return image_.height(); }
    QRectF bounds() const { return QRectF(0, 0, image_.width(), image_.height()); }
    QImage::Format pixelFormat() const { return image_.format(); }

    // One pixel as ARGB; a point outside the bitmap records InvalidParameter and gives 0.
    QRgb pixel(int x, int y);

    QImage& image() { return image_; }
    const QImage& image() const { return image_; }

private:
    QImage image_;
};

} // namespace imaging
