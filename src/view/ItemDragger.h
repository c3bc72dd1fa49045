#pragma once

#include <QPoint>

#include <optional>

class CDatedPicture;
class ViewGeometry;

// The cursor shapes of the picture view.
enum class ViewCursor {
    Unchanged,
    OpenHand,     // over bare picture
    PointingHand, // over an item's text
    ClosedHand,   // panning
    Fist,         // moving an item
};

// What the view does after a mouse or key event has been handled.
struct DragOutcome {
    ViewCursor cursor = ViewCursor::Unchanged;
    std::optional<int> showItem; // the format bar shows this item, -1 for none
    bool formatChanged = false;  // tell the main window
    bool repaint = false;
    bool scrolled = false; // the shown part moved: scroll bars follow
    bool takeFocus = false;
    bool handled = false;         // a key the view uses
    const char* change = nullptr; // with formatChanged: what was done, for the undo list ("Move")
};

// Selecting, moving, turning, nudging and hiding items with the mouse and the keyboard, and panning
// the bare picture. Fed with view pixels; works on the items of the attached picture in place.
class ItemDragger {
public:
    enum class Key { Left, Right, Up, Down, Delete, Other };

    explicit ItemDragger(ViewGeometry& geometry) : geometry_(geometry) {}

    // A new picture: no selection, no drag.
    void setPicture(CDatedPicture* picture);
    int selectedIndex() const { return selectedIndex_; }
    void select(int index) { selectedIndex_ = index; }

    // The first visible item whose text lies under the view point, or the selected item when the point
    // is strictly inside its rotate handle (only when `onHandle` is asked for); -1 for none.
    // `grabOffset` gets the point minus the item's origin, picture pixels.
    int HitTest(QPoint viewPx, QPoint* grabOffset, bool* onHandle);

    DragOutcome press(QPoint viewPx);
    // A mouse move; `leftDown` and `ctrl` are the button and key state that came with it.
    DragOutcome move(QPoint viewPx, bool leftDown, bool ctrl);
    DragOutcome release(QPoint viewPx);
    DragOutcome leave();
    // A key press with its repeat count.
    DragOutcome key(Key key, int count);
    // The cursor for a hovering mouse: the pointing hand over an item's text, else the open hand.
    ViewCursor cursorAt(QPoint viewPx);

    bool dragging() const { return pressed_; }
    bool rotating() const { return rotating_; }

private:
    void clearDrag();

    ViewGeometry& geometry_;
    CDatedPicture* picture_ = nullptr;
    int selectedIndex_ = -1;
    bool pressed_ = false;  // the left button went down in the view
    bool rotating_ = false; // the press was on the selected item's handle
    QPoint grabOffset_;     // picture pixels
    QPoint lastMouse_;      // view pixels
    QPoint pressPoint_;     // view pixels, of a press on the handle
    int angleAtPress_ = 0;  // degrees
    bool hoverTracking_ = false;
};
