// Makes the demo photo: a small landscape picture with the Exif of a typical camera. With a size and
// --textured it makes photos for measuring: camera-sized, with the gradients and noise of a real
// picture, so they decode and encode as a camera's would.

#include "photofactory/PhotoFactory.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>

#include <cstdio>
#include <cstring>
#include <iostream>

namespace {

constexpr const char kUsage[] =
    "usage: imprix-make-demo OUTPUT.jpg [--size WIDTHxHEIGHT] [--textured] [--quality Q]\n"
    "  without options: the 1200x800 demo photo of a plain colour at quality 90\n";

} // namespace

int main(int argc, char** argv) {
    photofactory::Photo photo;
    photo.width = 1200;
    photo.height = 800;
    photo.color = QColor(110, 160, 210);
    std::string path;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        const bool hasValue = i + 1 < argc;
        char tail = 0;
        if (std::strcmp(arg, "--size") == 0 && hasValue) {
            if (std::sscanf(argv[++i], "%dx%d%c", &photo.width, &photo.height, &tail) != 2 ||
                photo.width <= 0 || photo.height <= 0) {
                std::cerr << "imprix-make-demo: bad size " << argv[i] << '\n' << kUsage;
                return 2;
            }
        } else if (std::strcmp(arg, "--quality") == 0 && hasValue) {
            if (std::sscanf(argv[++i], "%d%c", &photo.quality, &tail) != 1 || photo.quality < 0 ||
                photo.quality > 100) {
                std::cerr << "imprix-make-demo: bad quality " << argv[i] << '\n' << kUsage;
                return 2;
            }
        } else if (std::strcmp(arg, "--textured") == 0) {
            photo.textured = true;
        } else if (arg[0] != '-' && path.empty()) {
            path = arg;
        } else {
            std::cerr << kUsage;
            return 2;
        }
    }
    if (path.empty()) {
        std::cerr << kUsage;
        return 2;
    }
    QGuiApplication app(argc, argv);
    QDir().mkpath(QFileInfo(QString::fromStdString(path)).absolutePath());

    photo.thumbnail = true;
    photo.tags = {
        {"Exif.Image.Make", "Imprix"},
        {"Exif.Image.Model", "Demo Camera"},
        {"Exif.Image.Orientation", "1"},
        {"Exif.Image.DateTime", "2001:06:21 14:38:56"},
        {"Exif.Image.XPTitle", "Summer holiday"},
        {"Exif.Photo.DateTimeOriginal", "2001:06:21 14:38:56"},
        {"Exif.Photo.DateTimeDigitized", "2001:06:21 14:38:56"},
        {"Exif.Photo.ExposureTime", "10/600"},
        {"Exif.Photo.FNumber", "56/10"},
        {"Exif.Photo.ISOSpeedRatings", "200"},
        {"Exif.Photo.ShutterSpeedValue", "6906/1000"},
        {"Exif.Photo.ApertureValue", "497/100"},
        {"Exif.Photo.Flash", "25"},
        {"Exif.Photo.FocalLength", "350/10"},
        {"Exif.Photo.UserComment", "charset=Ascii A day at the lake"},
        {"Exif.GPSInfo.GPSLatitudeRef", "N"},
        {"Exif.GPSInfo.GPSLatitude", "46/1 30/1 0/1"},
        {"Exif.GPSInfo.GPSLongitudeRef", "E"},
        {"Exif.GPSInfo.GPSLongitude", "7/1 45/1 0/1"},
    };
    if (const std::string error = photofactory::writePhoto(path, photo); !error.empty()) {
        std::cerr << "imprix-make-demo: " << error << '\n';
        return 1;
    }
    return 0;
}
