#pragma once

#include <QImage>
#include <QPoint>

#include <optional>

namespace imaging {
class Bitmap;
class Graphics;
} // namespace imaging

// The watermark as the render draws it: turned by the item's angle and faded by its opacity, ready
// to be laid down at a whole-pixel offset from the item's origin. A turned bitmap drawn straight
// onto the work picture is sampled a little differently when only part of the picture is repainted;
// laying down a prepared one gives the same pixels either way, and dragging it costs no resampling.
class PreparedWatermark {
public:
    // Draws the bitmap with its top-left corner at the surface's origin, turned clockwise by `angle`
    // degrees about it, one bitmap pixel per surface pixel, at opacity 0..255.
    void draw(const imaging::Bitmap& bitmap, int angle, int opacity, imaging::Graphics& graphics);

private:
    struct Inputs {
        qint64 bitmapKey = 0; // QImage::cacheKey
        int angle = 0;
        int alpha = 0;
        bool operator==(const Inputs&) const = default;
    };

    void prepare(const imaging::Bitmap& bitmap, const Inputs& inputs);

    std::optional<Inputs> inputs_;
    QImage image_;  // null when the turned bitmap would be too large to keep
    QPoint offset_; // of image_'s top-left from the item's origin
};
