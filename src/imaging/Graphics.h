#pragma once

#include "imaging/Brush.h"
#include "imaging/Font.h"
#include "imaging/ImageAttributes.h"
#include "imaging/Status.h"

#include <QPainter>
#include <QPainterPath>
#include <QRectF>

#include <string>

namespace imaging {

class Bitmap;

// Owner of a drawing surface on a bitmap or a widget. Coordinates are the surface's pixels; the
// world transform is changed by prepending translations and rotations, and containers undo them.
class Graphics : public StatusOwner {
public:
    explicit Graphics(Bitmap& target);
    explicit Graphics(QPaintDevice* device);
    ~Graphics();

    Graphics(const Graphics&) = delete;
    Graphics& operator=(const Graphics&) = delete;

    bool isActive() const { return painter_.isActive(); }

    // Containers nest; ending one restores the transform and clip of its beginning.
    void beginContainer();
    void endContainer();

    void translate(qreal dx, qreal dy) { painter_.translate(dx, dy); }
    void rotate(qreal degreesClockwise) { painter_.rotate(degreesClockwise); }
    void setClip(const QRectF& rect) { painter_.setClipRect(rect); }

    void fillRectangle(const Brush& brush, const QRectF& rect);
    void drawLine(const Pen& pen, const QPointF& from, const QPointF& to);
    void drawRectangle(const Pen& pen, const QRectF& rect);

    // Draws the source rectangle of an image (its pixels) scaled into the destination rectangle
    // (surface pixels), with an optional colour key and alpha scale.
    void drawImage(const QImage& image, const QRectF& dest, const QRectF& source,
                   const ImageAttributes* attributes = nullptr);
    void drawImage(const Bitmap& bitmap, const QRectF& dest, const QRectF& source,
                   const ImageAttributes* attributes = nullptr);

    // The box of one line of text laid out with its top-left at (0, 0), without a size limit.
    QRectF measureString(const std::string& textUtf8, const Font& font);

    // Draws one line of text with the top-left of its box at the origin given.
    void drawString(const std::string& textUtf8, const Font& font, const QPointF& origin, const Brush& brush);
    // The outline of the glyphs of one line of text laid out as drawString lays it out at (0, 0): a
    // stroke with round joins, so that filled it lies `reach` pixels out from every glyph (under the
    // text drawn after it).
    QPainterPath outlineOfString(const std::string& textUtf8, const Font& font, qreal reach);
    void fillPath(const QPainterPath& path, const QColor& argb);
    // Fills a rectangle with round corners of `radius` pixels (0 for square ones), antialiased.
    void fillRoundedRectangle(const Brush& brush, const QRectF& rect, qreal radius);

    QPainter& painter() { return painter_; }

private:
    void prepare();

    QPainter painter_;
    int containers_ = 0;
};

} // namespace imaging
