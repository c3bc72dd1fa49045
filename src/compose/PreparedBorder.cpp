#include "compose/PreparedBorder.h"

#include "imaging/Bitmap.h"
#include "imaging/Graphics.h"
#include "imaging/ImageAttributes.h"

#include <algorithm>
#include <mutex>
#include <utility>

namespace {

constexpr int kTileSide = 128;               // work-picture pixels
constexpr qreal kAlphaPerStep = 0.003921569; // opacity 0..255 to an alpha scale

// Every border pixel within 10 of the centre pixel in each of red, green and blue is left out, so
// the photo shows through the frame's opening.
imaging::ImageAttributes centreColourKey(imaging::Bitmap& border) {
    const QRgb centre = border.pixel(border.width() / 2, border.height() / 2);
    const auto low = [](int c) { return c <= 10 ? 0 : c - 10; };
    const auto high = [](int c) { return c >= 245 ? 255 : c + 10; };
    imaging::ImageAttributes key;
    key.setColorKey(qRgba(low(qRed(centre)), low(qGreen(centre)), low(qBlue(centre)), 255),
                    qRgba(high(qRed(centre)), high(qGreen(centre)), high(qBlue(centre)), 255));
    return key;
}

// The keyed border depends on the border's pixels alone, so it is made once and shared by every
// photo, and every job, that draws the same border: a border may be as large as a photo, and a keyed
// copy for each job would multiply that. Holding the lock while keying makes the other jobs wait for
// the one copy rather than make their own.
QImage keyedBorder(imaging::Bitmap& border) {
    static std::mutex mutex;
    static qint64 keyedFrom = 0;
    static QImage keyed;
    std::lock_guard lock(mutex);
    const qint64 key = std::as_const(border).image().cacheKey();
    if (key != keyedFrom || keyed.isNull()) {
        keyed = QImage(); // let the last border's copy go first
        keyed = centreColourKey(border).keyed(border.image());
        keyedFrom = key;
    }
    return keyed;
}

bool transparent(const QImage& image, const QRect& area) {
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = area.left(); x <= area.right(); ++x)
            if (qAlpha(line[x]) != 0) return false;
    }
    return true;
}

} // namespace

bool PreparedBorder::turns(QSize border, QSize work, bool autoRotate) {
    const bool borderUpright = border.height() >= border.width();
    const bool workUpright = work.height() >= work.width();
    return autoRotate && borderUpright != workUpright;
}

void PreparedBorder::draw(imaging::Bitmap& border, int opacity, bool autoRotate, QSize workSize,
                          imaging::Graphics& graphics, const QRect& clip) {
    if (border.isNull() || workSize.isEmpty()) return;
    const Inputs inputs{std::as_const(border).image().cacheKey(), workSize, std::clamp(opacity, 0, 255),
                        turns(border.image().size(), workSize, autoRotate)};
    if (inputs_ != inputs) prepare(border, inputs);
    for (const Tile& tile : tiles_) {
        const QRect area(tile.at, tile.image.size());
        if (area.intersects(clip)) graphics.drawImage(tile.image, QRectF(area), QRectF(tile.image.rect()));
    }
}

void PreparedBorder::prepare(imaging::Bitmap& border, const Inputs& inputs) {
    tiles_.clear();
    inputs_ = inputs;
    if (inputs.alpha == 0) return; // an invisible border leaves every pixel as it is

    const QImage keyed = keyedBorder(border);
    if (keyed.isNull()) return;
    imaging::ImageAttributes fade;
    fade.setAlphaScale(inputs.alpha * kAlphaPerStep);

    // Made in bands of one tile row, so preparing never needs a second picture-sized image.
    const int width = inputs.workSize.width(), height = inputs.workSize.height();
    for (int top = 0; top < height; top += kTileSide) {
        const int rows = std::min(kTileSide, height - top);
        imaging::Bitmap band(QImage(width, rows, QImage::Format_ARGB32_Premultiplied));
        if (band.isNull()) { // out of memory: no border rather than half of one
            tiles_.clear();
            return;
        }
        band.image().fill(Qt::transparent);
        {
            imaging::Graphics graphics(band);
            graphics.translate(0, -top);
            QRectF dest(0, 0, width, height);
            if (inputs.turned) {
                graphics.translate(width, 0);
                graphics.rotate(90);
                dest = QRectF(0, 0, height, width);
            }
            graphics.drawImage(keyed, dest, QRectF(keyed.rect()), &fade);
        }
        keepShownRuns(band.image(), top);
    }
}

void PreparedBorder::keepShownRuns(const QImage& band, int top) {
    // Neighbouring tiles with something to show are kept as one run: fewer, longer blends.
    const int width = band.width(), rows = band.height();
    int runStart = -1;
    for (int left = 0; left < width + kTileSide; left += kTileSide) { // one step past the end closes a run
        const bool shows =
            left < width && !transparent(band, QRect(left, 0, std::min(kTileSide, width - left), rows));
        if (shows && runStart < 0) runStart = left;
        if (shows || runStart < 0) continue;
        const QRect run(runStart, 0, std::min(left, width) - runStart, rows);
        tiles_.push_back(Tile{QPoint(runStart, top), band.copy(run)});
        runStart = -1;
    }
}
