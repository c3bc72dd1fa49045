#include "view/ViewGeometry.h"

#include "compose/PrintFrame.h"
#include "model/ImprintItem.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr double kRadiansPerDegree = 0.017453;

// A shown span this close to the picture's size is the whole picture: W / (W / width) need not give
// the width back exactly in floating point, and a scroll bar for a fraction of a pixel helps no one.
constexpr float kWholeSlack = 1e-5f;

int clampScroll(int pos, int page) {
    if (pos < 0) pos = 0;
    if (pos > 1000 - page) pos = 1000 - page;
    return pos;
}

} // namespace

void ViewGeometry::setPictureSize(QSizeF picturePx) {
    pictureWidth_ = static_cast<float>(picturePx.width());
    pictureHeight_ = static_cast<float>(picturePx.height());
    sourceX_ = sourceY_ = 0;
    sourceWidth_ = pictureWidth_;
    sourceHeight_ = pictureHeight_;
}

void ViewGeometry::LayoutToClient(QSize clientPx) {
    clientSize_ = clientPx;
    const float W = static_cast<float>(clientPx.width()), H = static_cast<float>(clientPx.height());
    destX_ = 0, destY_ = 0, destWidth_ = W, destHeight_ = H;
    if (!hasPicture() || !(zoom_ > 0)) return;

    sourceWidth_ = W / zoom_;
    if (sourceWidth_ > pictureWidth_ * (1 - kWholeSlack)) {
        sourceWidth_ = pictureWidth_;
        destWidth_ = pictureWidth_ * zoom_;
        destX_ = (W - destWidth_) * 0.5f;
    }
    sourceHeight_ = H / zoom_;
    if (sourceHeight_ > pictureHeight_ * (1 - kWholeSlack)) {
        sourceHeight_ = pictureHeight_;
        destHeight_ = pictureHeight_ * zoom_;
        destY_ = (H - destHeight_) * 0.5f;
    }
    // A larger client would otherwise show what lies beyond the picture's right or bottom edge.
    clampOrigin(Qt::Horizontal);
    clampOrigin(Qt::Vertical);
}

void ViewGeometry::ZoomToFit(QSize clientPx) {
    if (!hasPicture() || clientPx.isEmpty()) return;
    const float W = static_cast<float>(clientPx.width()), H = static_cast<float>(clientPx.height());
    sourceX_ = sourceY_ = 0;
    sourceWidth_ = pictureWidth_;
    sourceHeight_ = pictureHeight_;
    const float pictureAspect = pictureWidth_ / pictureHeight_;
    float destWidth = W;
    if (pictureAspect <= W / H) destWidth = H * pictureAspect;
    zoom_ = destWidth / sourceWidth_;
    minZoom_ = zoom_ * kMinZoomOfFit;
    maxZoom_ = kMaxZoom;
    fitted_ = true;
    LayoutToClient(clientPx);
}

bool ViewGeometry::ZoomBy(float factor) {
    if (!fitted_ || !(factor >= 0.1f && factor <= 10.0f)) return false;
    return SetZoom(factor * zoom_);
}

bool ViewGeometry::SetZoom(float zoom) {
    if (!fitted_ || std::isnan(zoom)) return false;
    if (zoom < minZoom_) zoom = minZoom_;
    if (zoom > maxZoom_) zoom = maxZoom_;
    recentre(zoom);
    zoom_ = zoom;
    LayoutToClient(clientSize_);
    return true;
}

void ViewGeometry::recentre(float newZoom) {
    for (const Qt::Orientation axis : {Qt::Horizontal, Qt::Vertical}) {
        const float client =
            static_cast<float>(axis == Qt::Horizontal ? clientSize_.width() : clientSize_.height());
        if (client >= newZoom * extent(axis)) {
            origin(axis) = 0;
            continue;
        }
        const float span = client / newZoom;
        float x = origin(axis) + shown(axis) * 0.5f - span * 0.5f;
        if (x <= 0)
            x = 0;
        else if (x + span > extent(axis))
            x = extent(axis) - span;
        origin(axis) = x;
    }
}

void ViewGeometry::clampOrigin(Qt::Orientation axis) {
    float& o = origin(axis);
    if (o < 0) o = 0;
    if (o > extent(axis) - shown(axis)) o = std::max(0.0f, extent(axis) - shown(axis));
}

QPointF ViewGeometry::viewFromPicture(QPointF picturePx) const {
    const float x = (static_cast<float>(picturePx.x()) - sourceX_) * zoom_ + destX_;
    const float y = (static_cast<float>(picturePx.y()) - sourceY_) * zoom_ + destY_;
    return QPointF(x, y);
}

QPointF ViewGeometry::pictureFromView(QPointF viewPx) const {
    const float x = (static_cast<float>(viewPx.x()) - destX_) * (1 / zoom_) + sourceX_;
    const float y = (static_cast<float>(viewPx.y()) - destY_) * (1 / zoom_) + sourceY_;
    return QPointF(x, y);
}

QPoint ViewGeometry::picturePixelAt(QPoint viewPx) const {
    const QPointF p = pictureFromView(viewPx);
    return QPoint(truncToInt(p.x()), truncToInt(p.y()));
}

QRectF ViewGeometry::viewRectOf(const QRectF& picturePx) const {
    return QRectF(viewFromPicture(picturePx.topLeft()), picturePx.size() * zoom_);
}

QLineF ViewGeometry::viewLineOf(const QLineF& picturePx) const {
    return QLineF(viewFromPicture(picturePx.p1()), viewFromPicture(picturePx.p2()));
}

ViewGeometry::ScrollBar ViewGeometry::scrollBar(Qt::Orientation axis) const {
    ScrollBar bar;
    bar.shown = hasPicture() && shown(axis) < extent(axis);
    if (!bar.shown) {
        bar.page = 1000;
        return bar;
    }
    bar.page = truncToInt(shown(axis) / extent(axis) * 1000);
    bar.position = truncToInt(origin(axis) / extent(axis) * 1000);
    return bar;
}

int ViewGeometry::scrollTarget(Qt::Orientation axis, ScrollRequest request, int thumb) const {
    const ScrollBar bar = scrollBar(axis);
    int pos = bar.position;
    switch (request) {
    case ScrollRequest::LineBack:
        pos -= kLineStep;
        break;
    case ScrollRequest::LineForward:
        pos += kLineStep;
        break;
    case ScrollRequest::PageBack:
        pos -= kPageStep;
        break;
    case ScrollRequest::PageForward:
        pos += kPageStep;
        break;
    case ScrollRequest::Thumb:
        pos = thumb;
        break;
    case ScrollRequest::ToStart:
        pos = 0;
        break;
    case ScrollRequest::ToEnd:
        pos = 1000;
        break;
    case ScrollRequest::Other:
        break;
    }
    return clampScroll(pos, bar.page);
}

void ViewGeometry::scrollTo(Qt::Orientation axis, int thousandths) {
    if (!hasPicture()) return;
    origin(axis) = static_cast<float>(thousandths) * extent(axis) * 0.001f;
    // The page is truncated to whole thousandths, so the last position can reach a little past the
    // edge; what lies there is not picture.
    clampOrigin(axis);
}

bool ViewGeometry::wheel(int delta, bool sideways) {
    const Qt::Orientation axis = sideways ? Qt::Horizontal : Qt::Vertical;
    // Touchpads and smooth wheels send small steps: they add up to notches, and what is left waits
    // for the next step the same way (a turn the other way starts afresh).
    int& pending = sideways ? pendingWheelX_ : pendingWheelY_;
    if ((pending < 0) != (delta < 0)) pending = 0;
    pending += delta;
    delta = pending / kWheelNotch * kWheelNotch;
    pending -= delta;
    const int notches = std::abs(delta / kWheelNotch);
    if (notches == 0 || !(shown(axis) < extent(axis))) return false;
    const ScrollBar bar = scrollBar(axis);
    // A notch toward the user scrolls down, or left when sideways.
    const int step = (delta < 0) == sideways ? -kLineStep : kLineStep;
    int pos = bar.position;
    for (int n = 0; n < notches; ++n)
        pos = clampScroll(pos + step, bar.page);
    scrollTo(axis, pos);
    return true;
}

void ViewGeometry::PanBy(QPoint fromPx, QPoint toPx) {
    if (!hasPicture()) return;
    if (destWidth_ > 0) sourceX_ -= static_cast<float>(toPx.x() - fromPx.x()) / destWidth_ * sourceWidth_;
    if (destHeight_ > 0) sourceY_ -= static_cast<float>(toPx.y() - fromPx.y()) / destHeight_ * sourceHeight_;
    clampOrigin(Qt::Horizontal);
    clampOrigin(Qt::Vertical);
}

ViewGeometry::SelectionRects ViewGeometry::selectionRects(const ImprintItem& item) const {
    const double w = item.textWidthPx, h = item.textHeightPx;
    const double a = item.angle * kRadiansPerDegree;
    const double x1 = item.posX, y1 = item.posY;
    const int x2 = truncToInt(x1 + w * std::cos(a)), y2 = truncToInt(y1 + w * std::sin(a));
    const int x3 = truncToInt(x2 - h * std::sin(a)), y3 = truncToInt(y2 + h * std::cos(a));
    const int x4 = truncToInt(x1 - h * std::sin(a)), y4 = truncToInt(y1 + h * std::cos(a));
    const int minX = std::min({item.posX, x2, x3, x4}), maxX = std::max({item.posX, x2, x3, x4});
    const int minY = std::min({item.posY, y2, y3, y4}), maxY = std::max({item.posY, y2, y3, y4});

    SelectionRects rects;
    rects.viewRect = QRect(truncToInt((static_cast<float>(minX) - sourceX_) * zoom_ + destX_),
                           truncToInt((static_cast<float>(minY) - sourceY_) * zoom_ + destY_),
                           truncToInt(zoom_ * static_cast<float>(static_cast<double>(maxX) - minX)),
                           truncToInt(zoom_ * static_cast<float>(static_cast<double>(maxY) - minY)));
    const QRect& box = rects.viewRect;
    QRect handle(box.x() + box.width(), box.y() - kHandleSize, kHandleSize, kHandleSize);
    if (destX_ + destWidth_ < static_cast<float>(box.x() + box.width() + kHandleSize))
        handle.moveLeft(box.x() - kHandleSize);
    if (static_cast<float>(handle.y()) < destY_) handle.moveTop(box.y() + box.height());
    rects.handleRect = handle;
    return rects;
}
