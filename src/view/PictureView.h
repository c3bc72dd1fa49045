#pragma once

#include "view/ItemDragger.h"
#include "view/RenderTracker.h"
#include "view/ScaledCache.h"
#include "view/ViewGeometry.h"

#include <QAbstractScrollArea>
#include <QImage>

class CDatedPicture;
class QPainter;

// The view that fills the main window: the dated picture, zoomed and scrolled, with print-area guides
// and the selected item's frame and rotate handle. Items are dragged, turned, nudged and hidden here.
// The view never owns the picture; the main window attaches it and listens to the signals.
class CPictureView : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit CPictureView(QWidget* parent = nullptr);
    ~CPictureView() override;

    // Shows a picture (null is ignored): no selection, fitted to the view when it has a work picture.
    void AttachPicture(CDatedPicture* picture);
    CDatedPicture* datedPicture() const { return datedPicture_; }

public slots:
    // Zoom commands; before the first fit they do nothing. Zoom In is ZoomBy(1.25), Zoom Out
    // ZoomBy(0.8), Actual Size SetZoom(1.0).
    void ZoomToFit();
    void ZoomBy(float factor);
    void SetZoom(float zoom);
    // Lays the picture out again for the current size of the view.
    void LayoutToClient();
    // Moves the shown part by a mouse movement from (x0, y0) to (x1, y1), view pixels.
    void PanBy(int x0, int y0, int x1, int y1);

    // Selects an item (-1 for none) and repaints; the format bar is not told.
    void SelectItem(int index);
    // Paints again after the items or settings were changed elsewhere (the format bar, the options).
    void Redraw();

public:
    int selectedIndex() const { return dragger_.selectedIndex(); }
    // What the last change made in the view was ("Move", "Turn", "Nudge", "Hide"), for the undo list.
    const QString& lastChange() const { return lastChange_; }
    // The size of the work picture as the view laid it out, picture pixels.
    QSize pictureSize() const { return geometry_.pictureBounds().size().toSize(); }

    // Print-area guides: 0 (off), 1.5 (4x6), 1.4 (5x7) or 1.25 (8x10).
    double printRatio() const { return printRatio_; }
    void setPrintRatio(double ratio);
    // The View menu's commands: the same size again turns the guides off, another replaces them.
    void TogglePrintRatio(double ratio);

    // The colour around the picture, a Windows colour value (red in the low byte).
    int backColor() const { return backColor_; }
    void setBackColor(int colorRef);

    const ViewGeometry& geometry() const { return geometry_; }
    // Device rows of the scaled picture that the last paint scaled again (0 when it reused them all).
    int rowsScaledByLastPaint() const { return cache_.rowsScaledLastTime(); }

signals:
    // An item or the template changed; sent at once, connect directly.
    void formatChanged();
    // The format bar is to show this item, -1 for none.
    void showItem(int index);
    // A date could not be shown; emitted after the paint that found it, never from inside it.
    void dateProblem(const QString& message);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QString lastChange_;
    void paintStartHint(QPainter& painter, const QColor& back);
    void apply(const DragOutcome& outcome);
    // Takes a work picture whose size changed behind the view's back, keeping the selection.
    void refit();
    void syncScrollBars();
    void onScrollAction(Qt::Orientation axis, int action);
    void onScrollValue(Qt::Orientation axis, int value);
    void bringPictureUpToDate();
    void paintGuides(QPainter& painter);
    void paintSelection(QPainter& painter);
    QSize clientSize() const;
    // The viewport's size once the scroll bars the layout needs are shown and the others hidden.
    QSize clientWithNeededBars() const;

    CDatedPicture* datedPicture_ = nullptr;
    ViewGeometry geometry_;
    ItemDragger dragger_{geometry_};
    RenderTracker tracker_;
    ScaledCache cache_;
    QImage handleImage_;   // the rotate handle with its near-white pixels keyed out
    QImage handleImage2x_; // the same for high-density screens
    double printRatio_ = 0.0;
    int backColor_ = 0xFFFFFF;
    bool fitPending_ = false;  // a fit asked for while the view had no size
    bool syncingBars_ = false; // the scroll bars are being set from the layout, not by the user
};
