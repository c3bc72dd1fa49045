// Repainting the dated image, as every paint of the view does: the whole of it, only what one moved
// item covered and covers, and a plain copy of the picture's pixels as the floor.

#include "ComposedScene.h"

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

struct Scene : ComposedScene {
    Scene() { picture.RenderDatedImage(); } // the border is prepared once, as on the first paint
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
