// Start to first paint: the desktop application started as `imprix PHOTO` is, timed from the start of
// main to the end of the first paint of the picture view after the photo was opened. Prints that
// time, and the wall-clock time main started at, so that a caller that noted when it started the
// program also has the time before main (loading the libraries):
//
//   start=$EPOCHREALTIME; build/default/bin/bench_first_paint PHOTO
//
// Not a test; run it by hand under a window system with a window manager (Xvfb and openbox), from the
// folder of the programs (build/default/bin), where the templates are.

#include "shell/ImprintApp.h"
#include "view/PictureView.h"

#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

// Quits after the first paint of the picture view has finished.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(const QElapsedTimer& sinceMain) : sinceMain_(sinceMain) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!seen_ && event->type() == QEvent::Paint && watched->parent() &&
            qobject_cast<CPictureView*>(watched->parent())) {
            seen_ = true;
            // Queued: runs once this paint is done and on the screen's way.
            QTimer::singleShot(0, qApp, [this] {
                std::printf("first paint of the picture: %.1f ms after main started\n",
                            sinceMain_.nsecsElapsed() / 1e6);
                std::fflush(stdout);
                // At once: closing the window would ask whether to save the dated copy.
                std::_Exit(0);
            });
        }
        return false;
    }

private:
    const QElapsedTimer& sinceMain_;
    bool seen_ = false;
};

} // namespace

int main(int argc, char** argv) {
    QElapsedTimer sinceMain;
    sinceMain.start();
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_first_paint PHOTO\n");
        return 2;
    }
    std::printf("main started at %ld.%06ld\n", static_cast<long>(now.tv_sec), now.tv_nsec / 1000);
    std::fflush(stdout);
    int appArgc = 1;
    CImprintApp app(appArgc, argv);
    FirstPaint watch(sinceMain);
    app.installEventFilter(&watch);
    if (!app.InitInstance({argv[1]})) return 1;
    return app.exec();
}
