#include "view/PictureView.h"

#include "compose/PrintFrame.h"
#include "imaging/Color.h"
#include "imaging/ImageAttributes.h"
#include "imaging/TextCodec.h"
#include "model/DatedPicture.h"
#include "view/PrintGuides.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QWheelEvent>

#include <exception>
#include <utility>

// Resources of a static library are registered by hand (Q_INIT_RESOURCE must not be in a namespace).
static void initViewResources() {
    Q_INIT_RESOURCE(view);
}

namespace {

// The rotate handle's near-white pixels are not drawn.
constexpr QRgb kHandleKeyLow = 0xFFFAFAFA;
constexpr QRgb kHandleKeyHigh = 0xFFFFFFFF;

const QColor kMaskColor(10, 10, 10, 128);
const QColor kGuideColor(150, 150, 0);
const QColor kFrameColor(255, 255, 0);

QImage keyedHandle(const QString& path) {
    imaging::ImageAttributes attributes;
    attributes.setColorKey(kHandleKeyLow, kHandleKeyHigh);
    return attributes.keyed(QImage(path));
}

// Wide lines running down to the right, opaque olive on nothing.
QBrush guideHatch() {
    QImage tile(8, 8, QImage::Format_ARGB32_Premultiplied);
    tile.fill(Qt::transparent);
    for (int y = 0; y < 8; ++y)
        for (int w = 0; w < 3; ++w)
            tile.setPixelColor((y + w) % 8, y, kGuideColor);
    return QBrush(tile);
}

Qt::CursorShape shapeOf(ViewCursor cursor) {
    switch (cursor) {
    case ViewCursor::PointingHand:
        return Qt::PointingHandCursor;
    case ViewCursor::ClosedHand:
    case ViewCursor::Fist:
        return Qt::ClosedHandCursor;
    case ViewCursor::OpenHand:
    case ViewCursor::Unchanged:
        break;
    }
    return Qt::OpenHandCursor;
}

ViewGeometry::ScrollRequest requestOf(int action) {
    using R = ViewGeometry::ScrollRequest;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        return R::LineBack;
    case QAbstractSlider::SliderSingleStepAdd:
        return R::LineForward;
    case QAbstractSlider::SliderPageStepSub:
        return R::PageBack;
    case QAbstractSlider::SliderPageStepAdd:
        return R::PageForward;
    case QAbstractSlider::SliderMove:
        return R::Thumb;
    case QAbstractSlider::SliderToMinimum:
        return R::ToStart;
    case QAbstractSlider::SliderToMaximum:
        return R::ToEnd;
    default:
        return R::Other;
    }
}

ItemDragger::Key keyOf(int key) {
    switch (key) {
    case Qt::Key_Left:
        return ItemDragger::Key::Left;
    case Qt::Key_Right:
        return ItemDragger::Key::Right;
    case Qt::Key_Up:
        return ItemDragger::Key::Up;
    case Qt::Key_Down:
        return ItemDragger::Key::Down;
    case Qt::Key_Delete:
        return ItemDragger::Key::Delete;
    default:
        return ItemDragger::Key::Other;
    }
}

bool hasWorkPicture(const CDatedPicture* picture) {
    return picture && picture->workPicture && !picture->workPicture->isNull();
}

} // namespace

CPictureView::CPictureView(QWidget* parent) : QAbstractScrollArea(parent) {
    initViewResources();
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Tab and a click both bring the keys here: the arrows nudge the selected item.
    setFocusPolicy(Qt::StrongFocus);
    // Every pixel is painted, so Qt need not clear the background first (no flashing).
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(true);

    for (const Qt::Orientation axis : {Qt::Horizontal, Qt::Vertical}) {
        QScrollBar* bar = axis == Qt::Horizontal ? horizontalScrollBar() : verticalScrollBar();
        connect(bar, &QAbstractSlider::actionTriggered, this,
                [this, axis](int action) { onScrollAction(axis, action); });
        connect(bar, &QAbstractSlider::valueChanged, this,
                [this, axis](int value) { onScrollValue(axis, value); });
    }

    handleImage_ = keyedHandle(QStringLiteral(":/view/rotate-handle.png"));
    handleImage2x_ = keyedHandle(QStringLiteral(":/view/rotate-handle@2x.png"));
}

CPictureView::~CPictureView() = default;

QSize CPictureView::clientSize() const {
    return viewport()->size();
}

void CPictureView::AttachPicture(CDatedPicture* picture) {
    if (!picture) return;
    datedPicture_ = picture;
    dragger_.setPicture(picture);
    tracker_.forget();
    cache_.clear();
    if (hasWorkPicture(picture)) {
        geometry_.setPictureSize(std::as_const(*picture->workPicture).image().size());
        ZoomToFit();
    }
    viewport()->update();
}

void CPictureView::refit() {
    if (!hasWorkPicture(datedPicture_)) return;
    const QSize size = std::as_const(*datedPicture_->workPicture).image().size();
    if (size == geometry_.pictureBounds().size().toSize()) return;
    geometry_.setPictureSize(size);
    tracker_.forget();
    cache_.clear();
    ZoomToFit();
}

void CPictureView::ZoomToFit() {
    if (!geometry_.hasPicture()) return;
    // The size the viewport has without scroll bars, which a fitted picture does not need (Qt's
    // maximumViewportSize() leaves out the bars that are on at the time).
    const QSize client = contentsRect().size();
    fitPending_ = client.isEmpty();
    if (fitPending_) return;
    geometry_.ZoomToFit(client);
    LayoutToClient();
}

void CPictureView::ZoomBy(float factor) {
    if (geometry_.ZoomBy(factor)) LayoutToClient();
}

void CPictureView::SetZoom(float zoom) {
    if (geometry_.SetZoom(zoom)) LayoutToClient();
}

void CPictureView::LayoutToClient() {
    geometry_.LayoutToClient(clientWithNeededBars());
    // Showing or hiding a scroll bar resizes the viewport to that size (and lays out again, the same).
    syncScrollBars();
    viewport()->update();
}

QSize CPictureView::clientWithNeededBars() const {
    // A scroll bar takes room from the client, which may make the other one needed: try until the
    // bars the layout asks for are the bars it was made with.
    const QSize whole = contentsRect().size();
    const int barWidth = verticalScrollBar()->sizeHint().width();
    const int barHeight = horizontalScrollBar()->sizeHint().height();
    QSize client = whole;
    for (int pass = 0; pass < 3; ++pass) {
        ViewGeometry trial = geometry_;
        trial.LayoutToClient(client);
        QSize next = whole;
        if (trial.scrollBar(Qt::Vertical).shown) next.rwidth() -= barWidth;
        if (trial.scrollBar(Qt::Horizontal).shown) next.rheight() -= barHeight;
        if (next == client) break;
        client = next;
    }
    return client;
}

void CPictureView::PanBy(int x0, int y0, int x1, int y1) {
    geometry_.PanBy(QPoint(x0, y0), QPoint(x1, y1));
    syncScrollBars();
    viewport()->update();
}

void CPictureView::SelectItem(int index) {
    dragger_.select(index);
    viewport()->update();
}

void CPictureView::Redraw() {
    viewport()->update();
}

void CPictureView::setPrintRatio(double ratio) {
    printRatio_ = ratio;
    viewport()->update();
}

void CPictureView::TogglePrintRatio(double ratio) {
    setPrintRatio(printRatio_ == ratio ? 0.0 : ratio);
}

void CPictureView::setBackColor(int colorRef) {
    backColor_ = colorRef;
    viewport()->update();
}

void CPictureView::syncScrollBars() {
    const QScopedValueRollback<bool> guard(syncingBars_, true);
    for (const Qt::Orientation axis : {Qt::Horizontal, Qt::Vertical}) {
        QScrollBar* bar = axis == Qt::Horizontal ? horizontalScrollBar() : verticalScrollBar();
        const ViewGeometry::ScrollBar state = geometry_.scrollBar(axis);
        // Qt's range leaves out the page: positions run from 0 to 1000 - page.
        bar->setRange(0, 1000 - state.page);
        bar->setPageStep(state.page);
        bar->setSingleStep(ViewGeometry::kLineStep);
        bar->setValue(state.position);
    }
    setHorizontalScrollBarPolicy(geometry_.scrollBar(Qt::Horizontal).shown ? Qt::ScrollBarAlwaysOn
                                                                           : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(geometry_.scrollBar(Qt::Vertical).shown ? Qt::ScrollBarAlwaysOn
                                                                       : Qt::ScrollBarAlwaysOff);
}

void CPictureView::onScrollAction(Qt::Orientation axis, int action) {
    if (syncingBars_) return;
    // Qt has moved the slider by its own steps; put it where the view's steps lead instead. The value
    // is still the one before the action.
    QScrollBar* bar = axis == Qt::Horizontal ? horizontalScrollBar() : verticalScrollBar();
    bar->setSliderPosition(geometry_.scrollTarget(axis, requestOf(action), bar->sliderPosition()));
}

void CPictureView::onScrollValue(Qt::Orientation axis, int value) {
    if (syncingBars_) return;
    geometry_.scrollTo(axis, value);
    viewport()->update();
}

void CPictureView::scrollContentsBy(int, int) {
    // The shown part follows the scroll bars' values (onScrollValue); nothing to move here.
}

void CPictureView::resizeEvent(QResizeEvent*) {
    if (fitPending_)
        ZoomToFit();
    else if (geometry_.hasPicture() && clientSize() != geometry_.clientSize())
        LayoutToClient();
}

void CPictureView::apply(const DragOutcome& outcome) {
    if (outcome.cursor != ViewCursor::Unchanged) {
        const Qt::CursorShape shape = shapeOf(outcome.cursor);
        if (viewport()->cursor().shape() != shape) viewport()->setCursor(shape);
    }
    if (outcome.scrolled) syncScrollBars();
    if (outcome.repaint) viewport()->update();
    if (outcome.takeFocus) setFocus(Qt::MouseFocusReason);
    if (outcome.showItem) emit showItem(*outcome.showItem);
    if (outcome.formatChanged) {
        lastChange_ = QString::fromLatin1(outcome.change ? outcome.change : "Change");
        emit formatChanged();
    }
}

void CPictureView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QAbstractScrollArea::mousePressEvent(event);
    apply(dragger_.press(event->position().toPoint()));
}

void CPictureView::mouseDoubleClickEvent(QMouseEvent* event) {
    // Qt gives the second press of a quick pair as a double click: it starts a drag all the same.
    mousePressEvent(event);
}

void CPictureView::mouseMoveEvent(QMouseEvent* event) {
    apply(dragger_.move(event->position().toPoint(), event->buttons().testFlag(Qt::LeftButton),
                        event->modifiers().testFlag(Qt::ControlModifier)));
}

void CPictureView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QAbstractScrollArea::mouseReleaseEvent(event);
    apply(dragger_.release(event->position().toPoint()));
}

void CPictureView::leaveEvent(QEvent* event) {
    apply(dragger_.leave());
    QAbstractScrollArea::leaveEvent(event);
}

void CPictureView::wheelEvent(QWheelEvent* event) {
    const QPoint angle = event->angleDelta();
    const bool anyFlag = event->modifiers() != Qt::NoModifier || event->buttons() != Qt::NoButton;
    int delta = angle.y();
    bool sideways = anyFlag;
    if (angle.y() == 0) {
        // X11 turns Alt + wheel into a sideways wheel: a modifier like the others. A tilting wheel
        // scrolls the way it tilts.
        delta = anyFlag ? angle.x() : -angle.x();
        sideways = true;
    }
    if (geometry_.wheel(delta, sideways)) {
        syncScrollBars();
        viewport()->update();
    }
    event->accept();
}

void CPictureView::keyPressEvent(QKeyEvent* event) {
    // The keys move the selected item; they never scroll the view as a scroll area's keys would.
    // Shift moves ten pixels a press, for long ways without the mouse.
    const int step = (event->modifiers() & Qt::ShiftModifier) ? 10 : 1;
    const DragOutcome outcome = dragger_.key(keyOf(event->key()), step * std::max(1, event->count()));
    apply(outcome);
    event->setAccepted(outcome.handled);
}

void CPictureView::bringPictureUpToDate() {
    CDatedPicture& picture = *datedPicture_;
    const QImage& work = std::as_const(*picture.workPicture).image();
    const qint64 keyBefore = work.cacheKey();

    RenderTracker::Plan plan;
    plan.extent = RenderTracker::Extent::Nothing;
    if (picture.needsRedraw) {
        plan = tracker_.plan(picture);
        if (plan.extent == RenderTracker::Extent::Whole)
            picture.RenderDatedImage();
        else if (plan.extent == RenderTracker::Extent::Region)
            picture.RenderDatedImage(plan.region);
        tracker_.noteRendered(picture);
    }

    const QRectF dest = geometry_.destRect();
    const ScaledCache::Layout layout{geometry_.sourceRect(), dest.size(), viewport()->devicePixelRatioF()};
    cache_.refresh(work, layout, keyBefore,
                   plan.extent == RenderTracker::Extent::Region ? plan.region : QRegion());

    if (std::optional<std::string> problem = picture.TakeDateProblem()) {
        const QString text = imaging::toQString(*problem);
        QMetaObject::invokeMethod(
            this, [this, text] { emit dateProblem(text); }, Qt::QueuedConnection);
    }
}

void CPictureView::paintStartHint(QPainter& painter, const QColor& back) {
    // Without a photo the view tells a new user where to begin, in a tone that reads on its background.
    const bool dark = qGray(back.rgb()) < 150;
    painter.setPen(dark ? QColor(235, 235, 235) : QColor(60, 60, 60));
    QFont font = this->font();
    font.setPointSizeF(font.pointSizeF() * 1.3);
    painter.setFont(font);
    painter.drawText(viewport()->rect(), Qt::AlignCenter | Qt::TextWordWrap,
                     tr("Open a photo with File > Open (Ctrl+O),\nor drop photos or a folder here."));
}

void CPictureView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const QColor back = imaging::fromColorRef(backColor_);
    const QRect client = viewport()->rect();
    if (!hasWorkPicture(datedPicture_) || !geometry_.hasPicture()) {
        painter.fillRect(client, back);
        if (!datedPicture_ || !datedPicture_->picture || datedPicture_->picture->isNull())
            paintStartHint(painter, back);
        return;
    }
    if (std::as_const(*datedPicture_->workPicture).image().size() !=
        geometry_.pictureBounds().size().toSize()) {
        // The work picture was made anew at another size without the view being told: fit it anew
        // once this paint is over (scroll bars must not come and go while painting).
        painter.fillRect(client, back);
        QMetaObject::invokeMethod(
            this, [this] { refit(); }, Qt::QueuedConnection);
        return;
    }
    if (client.size() != geometry_.clientSize()) geometry_.LayoutToClient(client.size());

    try {
        bringPictureUpToDate();
    } catch (const std::exception&) {
        // Nothing may leave a paint event; what the cache holds is shown as it is.
    }

    const QRectF dest = geometry_.destRect();
    const QRect shown(truncToInt(dest.x()), truncToInt(dest.y()), truncToInt(dest.width()),
                      truncToInt(dest.height()));
    const QImage& cached = cache_.image();
    QRegion margins(client);
    if (!cached.isNull()) {
        if (cached.hasAlphaChannel()) painter.fillRect(shown, back);
        painter.drawImage(QRectF(shown.topLeft(), QSizeF(cached.size()) / viewport()->devicePixelRatioF()),
                          cached);
        margins -= shown;
    }
    paintGuides(painter);
    for (const QRect& r : margins)
        painter.fillRect(r, back);
    paintSelection(painter);
}

void CPictureView::paintGuides(QPainter& painter) {
    const std::optional<PrintGuides> guides = PrintGuides::of(geometry_.pictureBounds().size(), printRatio_);
    if (!guides) return;
    for (const QRectF& mask : guides->masks)
        painter.fillRect(geometry_.viewRectOf(mask), kMaskColor);
    static const QBrush hatch = guideHatch();
    painter.setPen(QPen(hatch, 2.0));
    for (const QLineF& line : guides->lines)
        painter.drawLine(geometry_.viewLineOf(line));
}

void CPictureView::paintSelection(QPainter& painter) {
    const int index = dragger_.selectedIndex();
    if (index < 0 || index >= datedPicture_->itemCount) return;
    ImprintItem& item = datedPicture_->item(index);
    if (!item.visible) return;
    const ViewGeometry::SelectionRects rects = geometry_.selectionRects(item);
    const QRect& box = rects.viewRect;
    const QRect& handle = rects.handleRect;
    item.viewRect = ItemRect{box.x(), box.y(), box.width(), box.height()};
    item.handleRect = ItemRect{handle.x(), handle.y(), handle.width(), handle.height()};

    painter.setPen(QPen(QBrush(kFrameColor, Qt::FDiagPattern), 2.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box);
    const bool dense = viewport()->devicePixelRatioF() > 1.25 && !handleImage2x_.isNull();
    painter.drawImage(QRectF(handle), dense ? handleImage2x_ : handleImage_);
}
