// Dating one photo as imprix-batch does (load with a template, render, save), and its pieces: decoding,
// applying the template, rendering, encoding with the metadata copied, and writing the file. The photos
// are camera-sized and textured like real ones, so the codec works as hard as on a camera's. The
// pieces run as in a batch, decoding into the memory of the photo before; "new_memory" shows what a
// process dating a single photo pays to have its pixels mapped.

#include "compose/DatedCopy.h"
#include "imaging/ImageDecoder.h"
#include "imaging/ImageEncoder.h"
#include "imaging/MetadataCopy.h"
#include "imaging/WholeFile.h"
#include "model/DatedPicture.h"
#include "model/Dialogs.h"
#include "photofactory/PhotoFactory.h"

#include <QColorSpace>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>
#include <tuple>

namespace {

class QuietDialogs : public Dialogs {
public:
    Answer message(const std::string&, Buttons, Icon) override { return Answer::Ok; }
};

constexpr int kQuality = 60; // the quality bench/compare.sh gives every program

QTemporaryDir& workDir() {
    static QTemporaryDir dir;
    return dir;
}

std::string outputDir() {
    return workDir().path().toStdString();
}

// A textured photo with a camera's Exif, made once per size, with or without a colour profile (an
// Adobe RGB one, as a camera set to that colour space writes).
const std::string& cameraPhoto(int width, int height, bool profile = false) {
    static std::map<std::tuple<int, int, bool>, std::string> made;
    auto& path = made[{width, height, profile}];
    if (path.empty()) {
        path =
            workDir()
                .filePath(QStringLiteral("IMG_%1x%2%3.jpg").arg(width).arg(height).arg(profile ? "_icc" : ""))
                .toStdString();
        photofactory::Photo photo;
        if (profile) photo.iccProfile = QColorSpace(QColorSpace::AdobeRgb).iccProfile();
        photo.width = width;
        photo.height = height;
        photo.textured = true;
        photo.quality = 92;
        photo.thumbnail = true;
        photo.tags = {{"Exif.Image.Make", "Canon"},
                      {"Exif.Image.Model", "EOS"},
                      {"Exif.Image.Orientation", "1"},
                      {"Exif.Image.DateTime", "2001:06:21 14:38:56"},
                      {"Exif.Photo.DateTimeOriginal", "2001:06:21 14:38:56"},
                      {"Exif.Photo.DateTimeDigitized", "2001:06:21 14:38:56"},
                      {"Exif.Photo.ExposureTime", "1/250"},
                      {"Exif.Photo.FNumber", "56/10"},
                      {"Exif.Photo.ISOSpeedRatings", "200"},
                      {"Exif.Photo.Flash", "25"},
                      {"Exif.Photo.FocalLength", "350/10"},
                      {"Exif.GPSInfo.GPSLatitudeRef", "N"},
                      {"Exif.GPSInfo.GPSLatitude", "46/1 30/1 0/1"}};
        photofactory::writePhoto(path, photo);
    }
    return path;
}

const std::string& photoOf(const benchmark::State& state, bool profile = false) {
    return cameraPhoto(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), profile);
}

// The shipped Simple.tpl, or, before it exists, the same look made here: the date taken in orange
// seven-segment digits in the bottom-right corner.
const CDatedPicture& simpleTemplate() {
    static const CDatedPicture templ = [] {
        CDatedPicture t;
        const std::string shipped = std::string(IMPRIX_TEMPLATE_DIR) + "/Simple.tpl";
        QuietDialogs quiet;
        if (QFileInfo::exists(QString::fromStdString(shipped))) {
            t.templateDir = IMPRIX_TEMPLATE_DIR;
            if (t.ReadTemplate(shipped, quiet) == 0) return t;
        }
        t = CDatedPicture();
        t.dateFormat = "'%y  %#m  %#d";
        t.AppendItem();
        ImprintItem& date = t.item(0);
        date.visible = 1;
        date.tag = kTagDateTimeOriginal;
        date.displayName = "Date Time Original";
        date.fontName = "DSEG7 Classic";
        date.fontSize = 14;
        date.fontStyle = 700 | ImprintItem::kItalicFlag;
        date.color = 255 | (128 << 8) | (16 << 16);
        date.anchor = 1; // bottom right
        date.offsetX = 30;
        date.offsetY = 20;
        return t;
    }();
    return templ;
}

std::string sizeLabel(const benchmark::State& state) {
    return std::to_string(state.range(0) * state.range(1) / 1'000'000) + " MP";
}

// Decoding into the kept memory of the last photo, as imprix-batch does, or into new memory, as a
// process dating one photo does (the system maps and zeroes every page).
void reusePixels(bool reuse) {
    imaging::keepDecodedPixelsForReuse(reuse ? 1 : 0);
}

// The whole of one photo in imprix-batch: load with the template, render, save the dated copy.
void BM_DatePhoto(benchmark::State& state, bool reuse, bool profile = false) {
    reusePixels(reuse);
    const std::string& photo = photoOf(state, profile);
    const std::string output = outputDir() + "/Dated.jpg";
    QuietDialogs quiet;
    for (auto _ : state) {
        CDatedPicture model;
        model.LoadPicture(photo, simpleTemplate(), quiet);
        model.jpegQuality = kQuality;
        model.outputDir = outputDir();
        model.RenderDatedImageForSave();
        benchmark::DoNotOptimize(SaveDatedCopy(model, output, photo, quiet));
    }
    state.SetLabel(sizeLabel(state));
}

void BM_Decode(benchmark::State& state, bool reuse) {
    reusePixels(reuse);
    const std::string& photo = photoOf(state);
    for (auto _ : state)
        benchmark::DoNotOptimize(imaging::decodeImageFile(photo));
    state.SetLabel(sizeLabel(state));
}

// Decoding, reading the properties into items and applying the template.
void BM_LoadWithTemplate(benchmark::State& state) {
    reusePixels(true);
    const std::string& photo = photoOf(state);
    QuietDialogs quiet;
    for (auto _ : state) {
        CDatedPicture model;
        benchmark::DoNotOptimize(model.LoadPicture(photo, simpleTemplate(), quiet));
    }
    state.SetLabel(sizeLabel(state));
}

// The render of a freshly loaded photo before it is saved.
void BM_RenderForSave(benchmark::State& state) {
    reusePixels(true);
    const std::string& photo = photoOf(state);
    QuietDialogs quiet;
    for (auto _ : state) {
        state.PauseTiming();
        auto model = std::make_unique<CDatedPicture>();
        model->LoadPicture(photo, simpleTemplate(), quiet);
        state.ResumeTiming();
        model->RenderDatedImageForSave();
        state.PauseTiming();
        model.reset();
        state.ResumeTiming();
    }
    state.SetLabel(sizeLabel(state));
}

struct Rendered {
    QImage image;
    QByteArray jpeg; // with the metadata
};

const Rendered& renderedPhoto(const benchmark::State& state) {
    static std::map<std::pair<int, int>, Rendered> made;
    Rendered& r = made[{static_cast<int>(state.range(0)), static_cast<int>(state.range(1))}];
    if (r.image.isNull()) {
        QuietDialogs quiet;
        CDatedPicture model;
        model.LoadPicture(photoOf(state), simpleTemplate(), quiet);
        model.RenderDatedImageForSave();
        r.image = model.workPicture->image();
        imaging::encodeImage(r.image, *imaging::findEncoder("image/jpeg"), kQuality, r.jpeg);
        imaging::copyMetadataInto(r.jpeg, r.image.width(), r.image.height(), photoOf(state));
    }
    return r;
}

void BM_Encode(benchmark::State& state) {
    const QImage& image = renderedPhoto(state).image;
    const imaging::EncoderInfo& jpeg = *imaging::findEncoder("image/jpeg");
    for (auto _ : state) {
        QByteArray bytes;
        benchmark::DoNotOptimize(imaging::encodeImage(image, jpeg, kQuality, bytes));
    }
    state.SetLabel(sizeLabel(state));
}

void BM_EncodeWithMetadata(benchmark::State& state) {
    const QImage& image = renderedPhoto(state).image;
    const std::string& photo = photoOf(state);
    const imaging::EncoderInfo& jpeg = *imaging::findEncoder("image/jpeg");
    for (auto _ : state) {
        QByteArray bytes;
        imaging::encodeImage(image, jpeg, kQuality, bytes);
        benchmark::DoNotOptimize(
            imaging::copyMetadataInto(bytes, image.width(), image.height(), photo).failure);
    }
    state.SetLabel(sizeLabel(state));
}

// Writing the finished file through a temporary file and a rename.
void BM_Write(benchmark::State& state) {
    const QByteArray& jpeg = renderedPhoto(state).jpeg;
    const std::string output = outputDir() + "/Written.jpg";
    for (auto _ : state)
        benchmark::DoNotOptimize(imaging::writeFileWhole(output, jpeg));
    state.SetLabel(sizeLabel(state) + ", " + std::to_string(jpeg.size() / 1024) + " KiB");
}

void photoSizes(benchmark::internal::Benchmark* b) {
    b->Args({4000, 3000})->Args({6000, 4000})->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK_CAPTURE(BM_DatePhoto, reused_pixels, true)->Apply(photoSizes);
BENCHMARK_CAPTURE(BM_DatePhoto, new_memory, false)->Apply(photoSizes);
BENCHMARK_CAPTURE(BM_DatePhoto, reused_pixels_colour_profile, true, true)->Apply(photoSizes);
BENCHMARK_CAPTURE(BM_Decode, reused_pixels, true)->Apply(photoSizes);
BENCHMARK_CAPTURE(BM_Decode, new_memory, false)->Apply(photoSizes);
BENCHMARK(BM_LoadWithTemplate)->Apply(photoSizes);
// Each iteration loads the photo untimed, ten times as long as the render itself: a few are enough.
BENCHMARK(BM_RenderForSave)->Apply(photoSizes)->Iterations(8);
BENCHMARK(BM_Encode)->Apply(photoSizes);
BENCHMARK(BM_EncodeWithMetadata)->Apply(photoSizes);
BENCHMARK(BM_Write)->Apply(photoSizes);
