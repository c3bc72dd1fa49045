// Opening a photo: decoding its pixels, reading its metadata and making its items.

#include "imaging/ImageDecoder.h"
#include "imaging/JpegStructure.h"
#include "imaging/PropertyReader.h"
#include "model/DatedPicture.h"
#include "photofactory/PhotoFactory.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const std::string& cameraPhoto(int width, int height, bool textured = false) {
    static QTemporaryDir dir;
    static std::map<std::tuple<int, int, bool>, std::string> made;
    auto& path = made[{width, height, textured}];
    if (path.empty()) {
        const QString name =
            QStringLiteral("photo-%1x%2%3.jpg").arg(width).arg(height).arg(textured ? "-textured" : "");
        path = dir.filePath(name).toStdString();
        photofactory::Photo photo;
        photo.width = width;
        photo.height = height;
        photo.textured = textured;
        photo.thumbnail = true;
        photo.tags = {
            {"Exif.Image.Make", "Canon"},         {"Exif.Image.Model", "EOS"},
            {"Exif.Image.Orientation", "1"},      {"Exif.Photo.DateTimeOriginal", "2001:06:21 14:38:56"},
            {"Exif.Photo.ExposureTime", "1/250"}, {"Exif.Photo.FNumber", "56/10"},
            {"Exif.Photo.Flash", "25"},           {"Exif.GPSInfo.GPSLatitude", "46/1 30/1 0/1"}};
        photofactory::writePhoto(path, photo);
    }
    return path;
}

void BM_DecodePixels(benchmark::State& state) {
    const std::string& path = cameraPhoto(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state)
        benchmark::DoNotOptimize(imaging::decodeImageFile(path));
    state.SetLabel(std::to_string(state.range(0) * state.range(1) / 1'000'000) + " MP");
}

void BM_ReadProperties(benchmark::State& state) {
    const std::string& path = cameraPhoto(6000, 4000);
    for (auto _ : state)
        benchmark::DoNotOptimize(imaging::readProperties(path));
}

void BM_ReadPicture(benchmark::State& state) {
    const std::string& path = cameraPhoto(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    CDatedPicture model;
    for (auto _ : state)
        benchmark::DoNotOptimize(model.ReadPicture(path));
}

// The marker walk every JPEG gets before it is decoded, over a camera-like 24-megapixel photo.
void BM_JpegStructure(benchmark::State& state) {
    const std::string& path = cameraPhoto(6000, 4000, true);
    for (auto _ : state)
        benchmark::DoNotOptimize(imaging::jpegStructure(path));
    state.SetBytesProcessed(state.iterations() * QFileInfo(QString::fromStdString(path)).size());
}

} // namespace

BENCHMARK(BM_DecodePixels)->Args({4000, 3000})->Args({6000, 4000})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadProperties)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_JpegStructure)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadPicture)->Args({6000, 4000})->Unit(benchmark::kMillisecond);
