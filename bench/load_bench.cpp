// Opening a photo: decoding its pixels, reading its metadata and making its items.

#include "imaging/ImageDecoder.h"
#include "imaging/PropertyReader.h"
#include "model/DatedPicture.h"
#include "photofactory/PhotoFactory.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const std::string& cameraPhoto(int width, int height) {
    static QTemporaryDir dir;
    static std::map<std::pair<int, int>, std::string> made;
    auto& path = made[{width, height}];
    if (path.empty()) {
        path = dir.filePath(QStringLiteral("photo-%1x%2.jpg").arg(width).arg(height)).toStdString();
        photofactory::Photo photo;
        photo.width = width;
        photo.height = height;
        photo.thumbnail = true;
        photo.tags = {{"Exif.Image.Make", "Canon"},
                      {"Exif.Image.Model", "EOS"},
                      {"Exif.Image.Orientation", "1"},
                      {"Exif.Photo.DateTimeOriginal", "2001:06:21 14:38:56"},
                      {"Exif.Photo.ExposureTime", "1/250"},
                      {"Exif.Photo.FNumber", "56/10"},
                      {"Exif.Photo.Flash", "25"},
                      {"Exif.GPSInfo.GPSLatitude", "46/1 30/1 0/1"}};
        photofactory::writePhoto(path, photo);
    }
    return path;
}

void BM_DecodePixels(benchmark::State& state) {
    const std::string& path = cameraPhoto(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) benchmark::DoNotOptimize(imaging::decodeImageFile(path));
    state.SetLabel(std::to_string(state.range(0) * state.range(1) / 1'000'000) + " MP");
}

void BM_ReadProperties(benchmark::State& state) {
    const std::string& path = cameraPhoto(6000, 4000);
    for (auto _ : state) benchmark::DoNotOptimize(imaging::readProperties(path));
}

void BM_ReadPicture(benchmark::State& state) {
    const std::string& path = cameraPhoto(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    CDatedPicture model;
    for (auto _ : state) benchmark::DoNotOptimize(model.ReadPicture(path));
}

} // namespace

BENCHMARK(BM_DecodePixels)->Args({4000, 3000})->Args({6000, 4000})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadProperties)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadPicture)->Args({6000, 4000})->Unit(benchmark::kMillisecond);
