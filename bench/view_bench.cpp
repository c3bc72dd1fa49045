// The picture view keeping up with the hand: a 24-megapixel photo with a border, a watermark and six
// items, fitted in a 1280 x 800 view. Every step is one event and one synchronous paint of the view.
// Each repetition is a single step, so the "median" rows are the median step.

#include "model/DatedPicture.h"
#include "model/Dialogs.h"
#include "view/PictureView.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

class QuietDialogs : public Dialogs {
public:
    Answer message(const std::string&, Buttons, Icon) override { return Answer::Ok; }
};

// Counts the paints the viewport gets, so that a step that painted nothing cannot pass for fast.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

struct Scene {
    QTemporaryDir dir;
    CDatedPicture picture;
    CDatedPicture templ;
    std::unique_ptr<CPictureView> view;
    PaintCounter counter;
    int movedItem = -1;
    QPoint mouse; // view pixels, over the moved item while the button is down

    Scene() {
        QImage photo(6000, 4000, QImage::Format_RGB32);
        for (int y = 0; y < photo.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(photo.scanLine(y));
            for (int x = 0; x < photo.width(); ++x)
                line[x] = qRgb(x % 256, y % 256, (x ^ y) % 256);
        }
        picture.picture = std::make_unique<imaging::Bitmap>(std::move(photo));
        picture.bounds = picture.picture->bounds();

        QImage frame(1200, 1800, QImage::Format_RGB32);
        frame.fill(Qt::white);
        {
            QPainter p(&frame);
            p.setPen(QPen(QColor(120, 80, 40), 90));
            p.drawRect(45, 45, 1110, 1710);
        }
        frame.save(dir.filePath("frame.png"));
        QImage mark(400, 100, QImage::Format_ARGB32_Premultiplied);
        mark.fill(QColor(250, 220, 0, 200));
        mark.save(dir.filePath("mark.png"));

        templ.templateDir = dir.path().toStdString();
        templ.borderPath = "frame.png";
        templ.borderOpacity = 200;
        templ.AppendItem();
        ImprintItem& watermark = templ.item(0);
        watermark.tag = kTagWatermark;
        watermark.visible = 1;
        watermark.fontName = "mark.png";
        watermark.fontSize = 160;
        watermark.anchorAngle = 20;
        const char* texts[] = {"06/21/01 14:38:56", "Canon EOS",   "1/250 s", "f/5.6",
                               "ISO 200",           "Holiday 2001"};
        for (int i = 0; i < 6; ++i) {
            templ.AddLabelItem("Label " + std::to_string(i), texts[i]);
            ImprintItem& it = templ.item(templ.itemCount - 1);
            it.anchor = i % 4;
            it.offsetY = 24 + 30 * (i / 4);
            it.anchorAngle = i == 5 ? 15 : 0;
        }
        QuietDialogs quiet;
        picture.ApplyTemplate(templ, quiet);
        movedItem = picture.itemCount - 2;

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
