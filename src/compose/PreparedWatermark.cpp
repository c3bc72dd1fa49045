#include "compose/PreparedWatermark.h"

#include "imaging/Bitmap.h"
#include "imaging/Graphics.h"
#include "imaging/ImageAttributes.h"
#include "imaging/ImageLimits.h"

#include <QTransform>

#include <algorithm>

namespace {

constexpr qreal kAlphaPerStep = 0.003921569;  // opacity 0..255 to an alpha scale
constexpr qint64 kMaxKeptPixels = 64'000'000; // a turned copy kept beyond this costs too much memory

imaging::ImageAttributes fadeTo(int alpha) {
    imaging::ImageAttributes fade;
    fade.setAlphaScale(alpha * kAlphaPerStep);
    return fade;
}

} // namespace

void PreparedWatermark::draw(const imaging::Bitmap& bitmap, int angle, int opacity,
                             imaging::Graphics& graphics) {
    if (bitmap.isNull()) return;
    const Inputs inputs{bitmap.image().cacheKey(), angle % 360, std::clamp(opacity, 0, 255)};
    if (inputs_ != inputs) prepare(bitmap, inputs);
    if (!image_.isNull()) {
        graphics.drawImage(image_, QRectF(offset_, image_.size()), QRectF(image_.rect()));
        return;
    }
    // Too large to keep a turned copy: draw it turned directly.
    const imaging::ImageAttributes fade = fadeTo(inputs.alpha);
    graphics.beginContainer();
    graphics.rotate(inputs.angle);
    graphics.drawImage(bitmap, bitmap.bounds(), bitmap.bounds(), &fade);
    graphics.endContainer();
}

void PreparedWatermark::prepare(const imaging::Bitmap& bitmap, const Inputs& inputs) {
    inputs_ = inputs;
    image_ = QImage();
    QTransform turn;
    turn.rotate(inputs.angle);
    // One pixel more on every side for the smoothed edges of a turned bitmap.
    const QRect box = turn.mapRect(bitmap.bounds()).toAlignedRect().adjusted(-1, -1, 1, 1);
    if (!imaging::sizeAllowed(box.width(), box.height()) ||
        qint64(box.width()) * box.height() > kMaxKeptPixels)
        return;

    imaging::Bitmap canvas(QImage(box.size(), QImage::Format_ARGB32_Premultiplied));
    if (canvas.isNull()) return;
    canvas.image().fill(Qt::transparent);
    {
        imaging::Graphics graphics(canvas);
        graphics.translate(-box.x(), -box.y());
        graphics.rotate(inputs.angle);
        const imaging::ImageAttributes fade = fadeTo(inputs.alpha);
        graphics.drawImage(bitmap, bitmap.bounds(), bitmap.bounds(), &fade);
    }
    image_ = std::move(canvas.image());
    offset_ = box.topLeft();
}
