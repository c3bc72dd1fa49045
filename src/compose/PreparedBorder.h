#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>
#include <vector>

namespace imaging {
class Bitmap;
class Graphics;
} // namespace imaging

// The border as the render lays it over the work picture: its centre colour keyed out, faded by its
// opacity, turned to the work picture's orientation when asked, and stretched over all of it.
// Making it costs many times more than laying it down, and the view repaints often, so it is kept
// until the border, the work picture's size, the opacity or the turning changes. It is kept in runs
// of tiles, without the ones the key left empty, so a frame costs little memory and little blending;
// and it is laid down without scaling, so a repaint of any part gives the very pixels of a whole one.
class PreparedBorder {
public:
    // Lays the border over the part `clip` of a work picture of `workSize`; the surface's
    // coordinates are work-picture pixels.
    void draw(imaging::Bitmap& border, int opacity, bool autoRotate, QSize workSize,
              imaging::Graphics& graphics, const QRect& clip);

    // True when the border is turned a quarter turn clockwise to match the work picture: with
    // auto-rotation on, when one of them is upright (height at least width) and the other is not.
    static bool turns(QSize border, QSize work, bool autoRotate);

private:
    struct Inputs {
        qint64 borderKey = 0; // QImage::cacheKey, which changes with every change of the pixels
        QSize workSize;
        int alpha = 0;
        bool turned = false;
        bool operator==(const Inputs&) const = default;
    };
    struct Tile {
        QPoint at; // work-picture pixels
        QImage image;
    };

    void prepare(imaging::Bitmap& border, const Inputs& inputs);
    void keepShownRuns(const QImage& band, int top);

    std::optional<Inputs> inputs_;
    std::vector<Tile> tiles_;
};
