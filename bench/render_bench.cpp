// Repainting the dated image, as every paint of the view does: the whole of it, only what one moved
// item covered and covers, and a plain copy of the picture's pixels as the floor.

#include "model/DatedPicture.h"
#include "model/Dialogs.h"

#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

class QuietDialogs : public Dialogs {
public:
    Answer message(const std::string&, Buttons, Icon) override { return Answer::Ok; }
};

// A 24-megapixel photo with a turned frame, a watermark and six text items.
struct Scene {
    QTemporaryDir dir;
    CDatedPicture picture;
    CDatedPicture templ;
    int movedItem = -1;

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
        picture.RenderDatedImage(); // the border is prepared once, as on the first paint
        movedItem = picture.itemCount - 2;
    }
};

Scene& scene() {
    static Scene s;
    return s;
}

void BM_FullRender(benchmark::State& state) {
    Scene& s = scene();
    for (auto _ : state)
        s.picture.RenderDatedImage();
}

void BM_RegionRenderAfterMove(benchmark::State& state) {
    Scene& s = scene();
    int step = 40;
    for (auto _ : state) {
        ImprintItem& it = s.picture.item(s.movedItem);
        const QRect before = s.picture.ItemCoverage(s.movedItem);
        it.posX += step, it.posY += step / 2;
        step = -step; // back and forth, as a drag goes
        s.picture.RenderDatedImage(QRegion(before).united(s.picture.ItemCoverage(s.movedItem)));
    }
}

void BM_CopyPicture(benchmark::State& state) {
    Scene& s = scene();
    const QImage& from = s.picture.picture->image();
    QImage& to = s.picture.workPicture->image();
    for (auto _ : state) {
        std::memcpy(to.bits(), from.constBits(), static_cast<std::size_t>(from.sizeInBytes()));
        benchmark::ClobberMemory();
    }
}

// What a change of the border's opacity costs on the next paint: the border is made again.
void BM_FullRenderAfterBorderChange(benchmark::State& state) {
    Scene& s = scene();
    for (auto _ : state) {
        s.picture.borderOpacity = s.picture.borderOpacity == 200 ? 201 : 200;
        s.picture.RenderDatedImage();
    }
}

} // namespace

BENCHMARK(BM_CopyPicture)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullRender)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RegionRenderAfterMove)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullRenderAfterBorderChange)->Unit(benchmark::kMillisecond);
