#include "imaging/Graphics.h"

#include "imaging/Bitmap.h"
#include "imaging/TextCodec.h"

#include <QFontMetricsF>
#include <QPainterPath>

namespace imaging {
namespace {

// Qt's raster engine caches glyphs up to this size (QT_MAX_CACHED_GLYPH_SIZE), in pixels.
constexpr int kLargestCachedGlyph = 64;

} // namespace

Graphics::Graphics(Bitmap& target) {
    if (target.isNull() || !painter_.begin(&target.image())) record(Status::InvalidParameter);
    prepare();
}

Graphics::Graphics(QPaintDevice* device) {
    if (device == nullptr || !painter_.begin(device)) record(Status::InvalidParameter);
    prepare();
}

Graphics::~Graphics() {
    while (containers_ > 0)
        endContainer();
    if (painter_.isActive()) painter_.end();
}

void Graphics::prepare() {
    if (!painter_.isActive()) return;
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    painter_.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

void Graphics::beginContainer() {
    if (!painter_.isActive()) return;
    painter_.save();
    ++containers_;
}

void Graphics::endContainer() {
    if (containers_ == 0) {
        record(Status::WrongState);
        return;
    }
    painter_.restore();
    --containers_;
}

void Graphics::fillRectangle(const Brush& brush, const QRectF& rect) {
    if (!painter_.isActive()) return void(record(Status::WrongState));
    if (brush.background()) painter_.fillRect(rect, *brush.background());
    painter_.fillRect(rect, brush.pattern());
}

void Graphics::drawLine(const Pen& pen, const QPointF& from, const QPointF& to) {
    if (!painter_.isActive()) return void(record(Status::WrongState));
    painter_.setPen(pen.qpen());
    painter_.drawLine(from, to);
}

void Graphics::drawRectangle(const Pen& pen, const QRectF& rect) {
    if (!painter_.isActive()) return void(record(Status::WrongState));
    painter_.setPen(pen.qpen());
    painter_.setBrush(Qt::NoBrush);
    painter_.drawRect(rect);
}

void Graphics::drawImage(const QImage& image, const QRectF& dest, const QRectF& source,
                         const ImageAttributes* attributes) {
    if (!painter_.isActive()) return void(record(Status::WrongState));
    if (image.isNull()) return void(record(Status::InvalidParameter));
    const qreal oldOpacity = painter_.opacity();
    if (attributes) painter_.setOpacity(oldOpacity * attributes->alphaScale());
    if (attributes && attributes->colorKey()) {
        painter_.drawImage(dest, attributes->keyed(image), source);
    } else {
        painter_.drawImage(dest, image, source);
    }
    painter_.setOpacity(oldOpacity);
}

void Graphics::drawImage(const Bitmap& bitmap, const QRectF& dest, const QRectF& source,
                         const ImageAttributes* attributes) {
    drawImage(bitmap.image(), dest, source, attributes);
}

QRectF Graphics::measureString(const std::string& textUtf8, const Font& font) {
    const QFontMetricsF metrics(font.qfont(), painter_.isActive() ? painter_.device() : nullptr);
    const QString text = toQString(textUtf8);
    return QRectF(0, 0, metrics.horizontalAdvance(text), metrics.height());
}

QPainterPath Graphics::outlineOfString(const std::string& textUtf8, const Font& font, qreal reach) {
    if (reach <= 0) return {};
    const QFont& qfont = font.qfont();
    QPainterPath glyphs;
    glyphs.setFillRule(Qt::WindingFill);
    glyphs.addText(
        QPointF(0, QFontMetricsF(qfont, painter_.isActive() ? painter_.device() : nullptr).ascent()), qfont,
        toQString(textUtf8));
    QPainterPathStroker stroker;
    stroker.setWidth(2 * reach);
    stroker.setJoinStyle(Qt::RoundJoin);
    stroker.setCapStyle(Qt::RoundCap);
    return stroker.createStroke(glyphs);
}

void Graphics::fillPath(const QPainterPath& path, const QColor& argb) {
    if (!painter_.isActive()) return void(record(Status::WrongState));
    painter_.fillPath(path, argb);
}

void Graphics::fillRoundedRectangle(const Brush& brush, const QRectF& rect, qreal radius) {
    if (!painter_.isActive()) return void(record(Status::WrongState));
    if (radius <= 0) return fillRectangle(brush, rect);
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    painter_.fillPath(path, brush.pattern());
}

void Graphics::drawString(const std::string& textUtf8, const Font& font, const QPointF& origin,
                          const Brush& brush) {
    if (!painter_.isActive()) return void(record(Status::WrongState));
    const QFont& qfont = font.qfont();
    const QString text = toQString(textUtf8);
    const QPointF baseline(origin.x(), origin.y() + QFontMetricsF(qfont, painter_.device()).ascent());
    // Past 64 pixels Qt's rasterizer fills glyphs as outlines anyway, but it still caches a glyph no
    // installed font has (drawn as a box) as an image of the pixel size squared: 670 MB at 8192
    // pixels. Filling the outlines here gives the same pixels and caches nothing. (Qt draws
    // underlines and strike-outs its own way; items never have them.)
    if (qfont.pixelSize() > kLargestCachedGlyph && !qfont.underline() && !qfont.strikeOut()) {
        QPainterPath path;
        path.setFillRule(Qt::WindingFill);
        path.addText(baseline, qfont, text);
        painter_.fillPath(path, brush.pattern());
        return;
    }
    painter_.setFont(qfont);
    painter_.setPen(QPen(brush.pattern(), 0));
    painter_.drawText(baseline, text);
}

} // namespace imaging
