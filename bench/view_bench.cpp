// The picture view keeping up with the hand: a 24-megapixel photo with a border, a watermark and six
// items, fitted in a 1280 x 800 view. Every step is one event and one synchronous paint of the view.
// Each repetition is a single step, so the "median" rows are the median step.

#include "ComposedScene.h"
#include "view/PictureView.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// Counts the paints the viewport gets, so that a step that painted nothing cannot pass for fast.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

struct Scene : ComposedScene {
    std::unique_ptr<CPictureView> view;
    PaintCounter counter;
    QPoint mouse; // view pixels, over the moved item while the button is down

    explicit Scene(bool everyEffect = false) : ComposedScene(everyEffect) {
        view = std::make_unique<CPictureView>();
        const int frameWidth = view->frameWidth();
        view->resize(1280 + 2 * frameWidth, 800 + 2 * frameWidth);
        view->show();
        QApplication::processEvents();
        view->viewport()->installEventFilter(&counter);
        view->AttachPicture(&picture);
        view->viewport()->repaint();
    }

    void send(QWidget* to, QEvent& event) { QApplication::sendEvent(to, &event); }

    void mouseEvent(QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, view->viewport()->mapToGlobal(at), Qt::LeftButton, buttons,
                          Qt::NoModifier);
        send(view->viewport(), event);
        mouse = at;
    }

    void pressOnMovedItem() {
        view->ZoomToFit();
        const ImprintItem& it = picture.item(movedItem);
        const QPointF middle(it.posX + it.textWidthPx / 2, it.posY + it.textHeightPx / 2);
        mouseEvent(QEvent::MouseButtonPress, view->geometry().viewFromPicture(middle).toPoint(),
                   Qt::LeftButton);
        view->viewport()->repaint();
    }

    void release() { mouseEvent(QEvent::MouseButtonRelease, mouse, Qt::NoButton); }
};

Scene& scene() {
    static Scene s;
    return s;
}

Scene& sceneWithEffects() {
    static Scene s(true);
    return s;
}

// Fails the benchmark when the timed step did not paint, or (for `scaled`) scaled no rows.
void checkPainted(benchmark::State& state, int paintsBefore, bool scaled) {
    Scene& s = scene();
    if (s.counter.paints == paintsBefore) state.SkipWithError("the view did not paint");
    if (scaled && s.view->rowsScaledByLastPaint() == 0) state.SkipWithError("the view scaled nothing");
}

// The arrow keys move the selected item by the repeat count: ten pixels a step, back and forth.
void BM_NudgeItem10PixelsAndPaint(benchmark::State& state) {
    Scene& s = scene();
    s.pressOnMovedItem();
    s.release();
    static bool right = true;
    const int paintsBefore = s.counter.paints;
    for (auto _ : state) {
        QKeyEvent key(QEvent::KeyPress, right ? Qt::Key_Right : Qt::Key_Left, Qt::NoModifier, QString(),
                      false, 10);
        right = !right;
        s.send(s.view.get(), key);
        s.view->viewport()->repaint();
    }
    checkPainted(state, paintsBefore, true);
}

// The mouse dragging the item: two view pixels, about ten picture pixels at the fit zoom.
void BM_DragStepAndPaint(benchmark::State& state) {
    Scene& s = scene();
    s.pressOnMovedItem();
    static int dx = 2; // back and forth across repetitions, so the item stays where it was
    const int paintsBefore = s.counter.paints;
    for (auto _ : state) {
        s.mouseEvent(QEvent::MouseMove, s.mouse + QPoint(dx, 0), Qt::LeftButton);
        dx = -dx;
        s.view->viewport()->repaint();
    }
    checkPainted(state, paintsBefore, true);
    s.release();
}

// The same with every text item outlined, shadowed and boxed.
void BM_DragStepWithEveryEffectAndPaint(benchmark::State& state) {
    Scene& s = sceneWithEffects();
    s.pressOnMovedItem();
    static int dx = 2;
    const int paintsBefore = s.counter.paints;
    for (auto _ : state) {
        s.mouseEvent(QEvent::MouseMove, s.mouse + QPoint(dx, 0), Qt::LeftButton);
        dx = -dx;
        s.view->viewport()->repaint();
    }
    if (s.counter.paints == paintsBefore) state.SkipWithError("the view did not paint");
    s.release();
}

// A long hand movement: twenty view pixels (about a hundred picture pixels) a step.
void BM_LongDragStepAndPaint(benchmark::State& state) {
    Scene& s = scene();
    s.pressOnMovedItem();
    static int dx = 20;
    const int paintsBefore = s.counter.paints;
    for (auto _ : state) {
        s.mouseEvent(QEvent::MouseMove, s.mouse + QPoint(dx, dx / 2), Qt::LeftButton);
        dx = -dx;
        s.view->viewport()->repaint();
    }
    checkPainted(state, paintsBefore, true);
    s.release();
}

// Zoom In from the fit and Zoom Out back to it, in turn: every step scales the whole shown part anew
// (and shows or hides the scroll bars).
void BM_ZoomStepAndPaint(benchmark::State& state) {
    Scene& s = scene();
    static bool in = true;
    s.view->ZoomToFit();
    if (!in) s.view->ZoomBy(1.25f);
    s.view->viewport()->repaint();
    const int paintsBefore = s.counter.paints;
    for (auto _ : state)
        s.view->ZoomBy(in ? 1.25f : 0.8f), s.view->viewport()->repaint();
    in = !in;
    checkPainted(state, paintsBefore, true);
}

// A paint with nothing changed: the floor of every step above.
void BM_PaintUnchanged(benchmark::State& state) {
    Scene& s = scene();
    s.view->ZoomToFit();
    s.view->viewport()->repaint();
    const int paintsBefore = s.counter.paints;
    for (auto _ : state)
        s.view->viewport()->repaint();
    checkPainted(state, paintsBefore, false);
}

// A change that may resize a text (the format bar's label box) renders the whole picture.
void BM_TextChangeAndPaint(benchmark::State& state) {
    Scene& s = scene();
    s.view->ZoomToFit();
    static bool longer = true;
    const int paintsBefore = s.counter.paints;
    for (auto _ : state) {
        s.picture.item(s.movedItem).label = longer ? "Speed " : "";
        longer = !longer;
        s.view->viewport()->repaint();
    }
    checkPainted(state, paintsBefore, true);
}

void steps(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(1)
        ->Repetitions(101)
        ->ReportAggregatesOnly(true);
}

} // namespace

BENCHMARK(BM_NudgeItem10PixelsAndPaint)->Apply(steps);
BENCHMARK(BM_DragStepAndPaint)->Apply(steps);
BENCHMARK(BM_DragStepWithEveryEffectAndPaint)->Apply(steps);
BENCHMARK(BM_LongDragStepAndPaint)->Apply(steps);
BENCHMARK(BM_ZoomStepAndPaint)->Apply(steps);
BENCHMARK(BM_PaintUnchanged)->Apply(steps);
BENCHMARK(BM_TextChangeAndPaint)->Apply([](benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(1)
        ->Repetitions(21)
        ->ReportAggregatesOnly(true);
});
