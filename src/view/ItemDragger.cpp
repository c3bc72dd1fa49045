#include "view/ItemDragger.h"

#include "compose/PrintFrame.h"
#include "model/DatedPicture.h"
#include "view/ViewGeometry.h"

#include <cmath>

namespace {

// The factors the item placement uses, not the exact ones, so that hits match what is drawn.
constexpr double kRadiansPerDegree = 0.017453;
constexpr double kDegreesPerRadian = 57.2958;
constexpr int kSnapDegrees = 15;

} // namespace

void ItemDragger::setPicture(CDatedPicture* picture) {
    picture_ = picture;
    clearDrag();
    selectedIndex_ = -1;
}

void ItemDragger::clearDrag() {
    pressed_ = false;
    rotating_ = false;
    grabOffset_ = QPoint();
    lastMouse_ = QPoint();
    pressPoint_ = QPoint();
    angleAtPress_ = 0;
}

int ItemDragger::HitTest(QPoint viewPx, QPoint* grabOffset, bool* onHandle) {
    if (onHandle) *onHandle = false;
    if (grabOffset) *grabOffset = QPoint();
    if (!picture_) return -1;

    const QPoint p = geometry_.picturePixelAt(viewPx);
    for (int i = 0; i < picture_->itemCount; ++i) {
        const ImprintItem& it = picture_->item(i);
        if (!it.visible) continue;

        // The point turned back by the item's angle about its origin, so the text box is level.
        const double dx = static_cast<double>(p.x()) - it.posX, dy = static_cast<double>(p.y()) - it.posY;
        const double d = std::sqrt(dx * dx + dy * dy);
        const double t = (std::atan2(dy, dx) * kDegreesPerRadian - it.angle) * kRadiansPerDegree;
        const long long rx = truncToInt(it.posX + d * std::cos(t));
        const long long ry = truncToInt(it.posY + d * std::sin(t));
        if (it.posX <= rx && rx < static_cast<long long>(it.posX) + it.textWidthPx && it.posY <= ry &&
            ry < static_cast<long long>(it.posY) + it.textHeightPx) {
            if (grabOffset) *grabOffset = QPoint(p.x() - it.posX, p.y() - it.posY);
            return i;
        }

        // Hidden items were passed over above: they have no handle on screen to press.
        if (onHandle && i == selectedIndex_) {
            const QRect h = geometry_.selectionRects(it).handleRect;
            const int x = viewPx.x(), y = viewPx.y();
            if (h.x() < x && x < h.x() + h.width() && h.y() < y && y < h.y() + h.height()) {
                *onHandle = true;
                pressPoint_ = viewPx;
                return i;
            }
        }
    }
    return -1;
}

DragOutcome ItemDragger::press(QPoint viewPx) {
    DragOutcome out;
    if (!picture_) return out;
    pressed_ = true;
    QPoint grab = grabOffset_;
    bool onHandle = false;
    selectedIndex_ = HitTest(viewPx, &grab, &onHandle);
    rotating_ = onHandle;
    if (selectedIndex_ >= 0 && !rotating_) {
        grabOffset_ = grab;
        out.cursor = ViewCursor::Fist;
    } else if (rotating_) {
        angleAtPress_ = picture_->item(selectedIndex_).angle;
    } else {
        grabOffset_ = QPoint();
        out.cursor = ViewCursor::ClosedHand;
    }
    out.showItem = selectedIndex_;
    out.repaint = true;
    lastMouse_ = viewPx;
    return out;
}

DragOutcome ItemDragger::move(QPoint viewPx, bool leftDown, bool ctrl) {
    DragOutcome out;
    if (!picture_) return out;
    if (!hoverTracking_) {
        hoverTracking_ = true;
        out.cursor = ViewCursor::OpenHand;
    }
    if (!leftDown) {
        out.cursor = cursorAt(viewPx);
        return out;
    }
    // A drag whose press went to another window is none of the view's business.
    if (!pressed_) return out;

    const QPointF p = geometry_.pictureFromView(viewPx);
    if (selectedIndex_ >= picture_->itemCount) {
        // The list changed under the selection; nothing to drag.
    } else if (selectedIndex_ >= 0) {
        ImprintItem& it = picture_->item(selectedIndex_);
        picture_->modified = 1;
        picture_->needsRedraw = 1;
        if (!rotating_) {
            it.posX = truncToInt(p.x()) - grabOffset_.x();
            it.posY = truncToInt(p.y()) - grabOffset_.y();
        } else {
            // Turned by the angle between where the handle was pressed and where the mouse is now,
            // both seen from the item's origin.
            const QPointF q = geometry_.pictureFromView(pressPoint_);
            const int a0 = truncToInt(std::atan2(it.posY - q.y(), it.posX - q.x()) * kDegreesPerRadian);
            const int a1 = truncToInt(std::atan2(it.posY - p.y(), it.posX - p.x()) * kDegreesPerRadian);
            int angle = a1 - a0 + angleAtPress_;
            if (angle < 0)
                angle += 360;
            else if (angle > 359)
                angle -= 360;
            if (ctrl) angle = angle / kSnapDegrees * kSnapDegrees;
            it.angle = angle;
        }
        out.repaint = true;
    } else {
        geometry_.PanBy(lastMouse_, viewPx);
        out.scrolled = true;
        out.repaint = true;
    }
    lastMouse_ = viewPx;
    return out;
}

DragOutcome ItemDragger::release(QPoint viewPx) {
    DragOutcome out;
    pressed_ = false;
    if (!picture_) return out;
    out.takeFocus = true;
    out.change = rotating_ ? "Turn" : "Move";
    rotating_ = false;
    out.cursor = cursorAt(viewPx);
    out.formatChanged = picture_->modified != 0;
    return out;
}

DragOutcome ItemDragger::leave() {
    hoverTracking_ = false;
    return {};
}

DragOutcome ItemDragger::key(Key key, int count) {
    DragOutcome out;
    if (!picture_ || selectedIndex_ < 0 || selectedIndex_ >= picture_->itemCount) return out;
    ImprintItem& it = picture_->item(selectedIndex_);
    out.handled = true;
    switch (key) {
    case Key::Left:
        it.posX -= count;
        break;
    case Key::Right:
        it.posX += count;
        break;
    case Key::Up:
        it.posY -= count;
        break;
    case Key::Down:
        it.posY += count;
        break;
    case Key::Delete:
        // The selection stays on the hidden item, so the format bar keeps showing it.
        it.visible = 0;
        out.showItem = selectedIndex_;
        break;
    case Key::Other:
        out.handled = false;
        break;
    }
    if (out.handled) {
        picture_->modified = 1;
        picture_->needsRedraw = 1;
        out.change = key == Key::Delete ? "Hide" : "Nudge";
    }
    out.formatChanged = picture_->modified != 0;
    out.repaint = true;
    return out;
}

ViewCursor ItemDragger::cursorAt(QPoint viewPx) {
    QPoint grab;
    return HitTest(viewPx, &grab, nullptr) >= 0 ? ViewCursor::PointingHand : ViewCursor::OpenHand;
}
