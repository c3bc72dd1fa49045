// A window that hosts the format bar over a photo: the bar in a tool bar, the dated picture below it
// as a plain image. For trying the bar by hand and for screenshots; the real picture view and main
// window live elsewhere.
//
//   formatbar_harness PHOTO [--select NAME] [--open LIST] [--shot FILE.png]
//
// --select shows the first item whose name begins with NAME, as choosing it in the item list would;
// --open drops down one of the bar's lists (anchor, fontFace, fontSize, fontStyle, itemList);
// --shot saves the screen under the window after a moment and quits.

#include "formatbar/ColorDialogChooser.h"
#include "formatbar/MainBar.h"
#include "model/DatedPicture.h"
#include "shell/WidgetDialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMainWindow>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include <cstdio>

namespace {

QString argumentAfter(const QStringList& args, const QString& option) {
    const qsizetype at = args.indexOf(option);
    return at >= 0 && at + 1 < args.size() ? args[at + 1] : QString();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr,
                     "usage: formatbar_harness PHOTO [--select NAME] [--open LIST] [--shot FILE.png]\n");
        return 2;
    }

    QMainWindow window;
    WidgetDialogs dialogs(&window);
    ColorDialogChooser chooser(&window);
    CustomColors customColors;
    customColors.fill(0xffffff);

    CDatedPicture templ;
    templ.MakeNewTemplate();
    CDatedPicture picture;
    std::string whyNot;
    if (picture.LoadPicture(args[1].toStdString(), templ, dialogs, &whyNot) != 1) {
        std::fprintf(stderr, "cannot open %s: %s\n", qPrintable(args[1]), whyNot.c_str());
        return 1;
    }

    auto* bar = new CMainBar;
    bar->setColorChooser(&chooser);
    bar->SetCustomColors(&customColors);
    auto* toolBar = window.addToolBar(QStringLiteral("Format"));
    toolBar->setMovable(false);
    toolBar->addWidget(bar);

    auto* view = new QLabel;
    view->setAlignment(Qt::AlignCenter);
    view->setMinimumSize(1000, 640);
    window.setCentralWidget(view);

    const auto redraw = [&] {
        picture.RenderDatedImage();
        const QImage& work = picture.workPicture->image();
        view->setPixmap(
            QPixmap::fromImage(work.scaled(view->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    };
    QObject::connect(bar, &CMainBar::redrawRequested, &window, redraw);
    QObject::connect(bar, &CMainBar::formatChanged, &window, [&] {
        window.statusBar()->showMessage(picture.modified ? QStringLiteral("* Using unsaved changes.")
                                                         : QString());
    });
    QObject::connect(bar, &CMainBar::itemSelected, &window, [&](int index) {
        if (index >= 0) picture.item(index).visible = 1;
        bar->ShowItem(index);
    });

    bar->setDatedPicture(&picture);
    bar->FillItemList(false);
    bar->ShowItem(-1);

    const QString select = argumentAfter(args, QStringLiteral("--select"));
    if (!select.isEmpty()) {
        for (int i = 0; i < picture.itemCount; ++i) {
            if (!QString::fromStdString(picture.item(i).displayName).startsWith(select)) continue;
            picture.item(i).visible = 1;
            bar->ShowItem(i);
            break;
        }
    }

    window.statusBar()->showMessage(QStringLiteral("Ready"));
    window.resize(1300, 760);
    window.show();
    redraw();

    const QString list = argumentAfter(args, QStringLiteral("--open"));
    if (auto* combo = list.isEmpty() ? nullptr : bar->findChild<QComboBox*>(list))
        QTimer::singleShot(300, combo, [combo] { combo->showPopup(); });
    const QString shot = argumentAfter(args, QStringLiteral("--shot"));
    if (!shot.isEmpty()) {
        QTimer::singleShot(1200, &window, [&] {
            const QRect frame = window.frameGeometry();
            const QPixmap screen =
                window.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
            if (!screen.save(shot)) std::fprintf(stderr, "cannot write %s\n", qPrintable(shot));
            app.quit();
        });
    }
    return app.exec();
}
