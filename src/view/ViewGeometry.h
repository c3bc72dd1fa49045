#pragma once

#include <QLineF>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QSize>
#include <QSizeF>
#include <Qt>

struct ImprintItem;

// Where the picture view shows the work picture. Three spaces meet here:
//   picture pixels - pixels of the work picture, the units of an item's position and size;
//   view pixels    - pixels of the view's client area (its viewport);
//   thousandths    - scroll positions, thousandths of the picture's width or height.
// A picture point p is shown at view point (p - sourceRect origin) * zoom + dest origin, per axis.
class ViewGeometry {
public:
    // One scroll bar: whether it is shown, the shown part (page) and the position, in thousandths.
    struct ScrollBar {
        bool shown = false;
        int page = 0;
        int position = 0;
        bool operator==(const ScrollBar&) const = default;
    };

    enum class ScrollRequest { LineBack, LineForward, PageBack, PageForward, Thumb, ToStart, ToEnd, Other };

    // The selected item's frame and its rotate handle, view pixels.
    struct SelectionRects {
        QRect viewRect;
        QRect handleRect;
    };

    static constexpr int kLineStep = 50;  // thousandths
    static constexpr int kPageStep = 200; // thousandths
    static constexpr int kWheelNotch = 120;
    static constexpr int kHandleSize = 13; // view pixels
    static constexpr float kMaxZoom = 16.0f;
    static constexpr float kMinZoomOfFit = 0.85f;

    // --- the picture and its layout -----------------------------------------------------------
    // Takes the work picture's size (picture pixels) and shows it from its top-left corner. The zoom
    // and its limits stay until the next fit.
    void setPictureSize(QSizeF picturePx);
    bool hasPicture() const { return pictureWidth_ > 0 && pictureHeight_ > 0; }
    // True once a fit has set the zoom limits; zoom commands do nothing before.
    bool hasZoomLimits() const { return fitted_; }

    // Lays the shown part out for a client area of the given size (view pixels): a picture smaller
    // than the client is centred, the shown part keeps its origin unless it would reach past the
    // picture's edge.
    void LayoutToClient(QSize clientPx);
    // Shows the whole picture as large as the client area allows; sets the zoom limits.
    void ZoomToFit(QSize clientPx);
    // Multiplies the zoom (factors outside 0.1..10 are ignored), keeping the middle of what is shown.
    // False when nothing changed because the factor or the missing fit ruled it out.
    bool ZoomBy(float factor);
    // Sets the zoom within its limits, keeping the middle of what is shown.
    bool SetZoom(float zoom);

    // --- mapping between picture pixels and view pixels ----------------------------------------
    QPointF viewFromPicture(QPointF picturePx) const;
    QPointF pictureFromView(QPointF viewPx) const;
    // The picture pixel under a view pixel, truncated toward zero as the hit test wants it.
    QPoint picturePixelAt(QPoint viewPx) const;
    // A picture rectangle (picture pixels) as view pixels: position mapped, size times zoom.
    QRectF viewRectOf(const QRectF& picturePx) const;
    QLineF viewLineOf(const QLineF& picturePx) const;

    // --- scrolling (thousandths) ---------------------------------------------------------------
    ScrollBar scrollBar(Qt::Orientation axis) const;
    // The position a scroll request leads to, clamped to 0..1000 - page; `thumb` is the position a
    // thumb request carries.
    int scrollTarget(Qt::Orientation axis, ScrollRequest request, int thumb) const;
    // Shows the picture from the given position on.
    void scrollTo(Qt::Orientation axis, int thousandths);
    // One wheel message: 120 per notch, toward the user negative; sideways when a modifier key or
    // a button was held. Smaller steps add up to notches. False when it scrolled nothing.
    bool wheel(int delta, bool sideways);
    // Moves the shown part with a mouse movement from `from` to `to` (view pixels), within the
    // picture's edges.
    void PanBy(QPoint fromPx, QPoint toPx);

    // --- the selection frame -------------------------------------------------------------------
    // The axis-aligned box of the item's turned text and the rotate handle touching its top-right
    // corner, moved inside the shown part near its right or top edge (view pixels).
    SelectionRects selectionRects(const ImprintItem& item) const;

    // --- state, for painting and tests ---------------------------------------------------------
    QSize clientSize() const { return clientSize_; }                                     // view pixels
    QRectF pictureBounds() const { return QRectF(0, 0, pictureWidth_, pictureHeight_); } // picture pixels
    QRectF sourceRect() const {
        return QRectF(sourceX_, sourceY_, sourceWidth_, sourceHeight_);
    }                                                                                   // picture px
    QRectF destRect() const { return QRectF(destX_, destY_, destWidth_, destHeight_); } // view pixels
    float zoom() const { return zoom_; }
    float minZoom() const { return minZoom_; }
    float maxZoom() const { return maxZoom_; }

private:
    void recentre(float newZoom);
    float& origin(Qt::Orientation axis) { return axis == Qt::Horizontal ? sourceX_ : sourceY_; }
    float origin(Qt::Orientation axis) const { return axis == Qt::Horizontal ? sourceX_ : sourceY_; }
    float shown(Qt::Orientation axis) const { return axis == Qt::Horizontal ? sourceWidth_ : sourceHeight_; }
    float extent(Qt::Orientation axis) const {
        return axis == Qt::Horizontal ? pictureWidth_ : pictureHeight_;
    }
    // Keeps the shown part inside the picture: first not before its start, then not past its end.
    void clampOrigin(Qt::Orientation axis);

    QSize clientSize_;
    float pictureWidth_ = 0, pictureHeight_ = 0;
    float sourceX_ = 0, sourceY_ = 0, sourceWidth_ = 0, sourceHeight_ = 0;
    int pendingWheelX_ = 0, pendingWheelY_ = 0; // wheel steps not yet a whole notch
    float destX_ = 0, destY_ = 0, destWidth_ = 0, destHeight_ = 0;
    float zoom_ = 1.0f;
    float minZoom_ = 0, maxZoom_ = 0;
    bool fitted_ = false;
};
