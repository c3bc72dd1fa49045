// Makes the demo photo: a small landscape picture with the Exif of a typical camera. With a size and
// --textured it makes photos for measuring: camera-sized, with the gradients and noise of a real
// picture, so they decode and encode as a camera's would.

#include "photofactory/PhotoFactory.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iostream>

namespace {

constexpr const char kUsage[] =
    "usage: imprix-make-demo OUTPUT.jpg [--size WIDTHxHEIGHT] [--textured] [--quality Q]\n"
    "  without options: the 1200x800 demo photo, a painted lake landscape, at quality 90; --textured: "
    "noise\n";

// A summer afternoon at a mountain lake, painted: what the demo photo and the gallery show.
QImage lakeLandscape(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(width / 1200.0, height / 800.0);
    const double horizon = 470;
    QLinearGradient sky(0, 0, 0, horizon);
    sky.setColorAt(0, QColor(58, 120, 196));
    sky.setColorAt(1, QColor(196, 222, 240));
    p.fillRect(QRectF(0, 0, 1200, horizon), sky);
    QRadialGradient sun(QPointF(880, 150), 90);
    sun.setColorAt(0, QColor(255, 250, 225));
    sun.setColorAt(0.45, QColor(255, 236, 170));
    sun.setColorAt(1, QColor(255, 236, 170, 0));
    p.fillRect(QRectF(760, 30, 240, 240), sun);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 245, 250));
    for (const QPointF c : {QPointF(210, 120), QPointF(270, 105), QPointF(330, 125), QPointF(250, 140)})
        p.drawEllipse(c, 60, 26);
    const auto ridge = [&](const std::vector<QPointF>& points, const QColor& top, const QColor& bottom) {
        QPainterPath path(QPointF(0, horizon));
        for (const QPointF& point : points)
            path.lineTo(point);
        path.lineTo(1200, horizon);
        path.closeSubpath();
        QLinearGradient fill(0, 200, 0, horizon);
        fill.setColorAt(0, top);
        fill.setColorAt(1, bottom);
        p.setBrush(fill);
        p.drawPath(path);
    };
    ridge({{0, 330},
           {140, 250},
           {260, 300},
           {420, 190},
           {560, 300},
           {700, 240},
           {820, 320},
           {1000, 230},
           {1200, 310}},
          QColor(120, 138, 170), QColor(150, 170, 190));
    p.setBrush(QColor(250, 250, 252));
    p.drawPolygon(QPolygonF(
        {QPointF(420, 190), QPointF(385, 228), QPointF(410, 222), QPointF(432, 236), QPointF(455, 220)}));
    p.drawPolygon(QPolygonF(
        {QPointF(1000, 230), QPointF(968, 262), QPointF(992, 256), QPointF(1020, 266), QPointF(1034, 252)}));
    ridge({{0, 400}, {180, 350}, {380, 410}, {600, 360}, {800, 420}, {1000, 370}, {1200, 400}},
          QColor(60, 110, 70), QColor(40, 86, 52));
    QLinearGradient lake(0, horizon, 0, 800);
    lake.setColorAt(0, QColor(120, 160, 190));
    lake.setColorAt(1, QColor(30, 70, 110));
    p.fillRect(QRectF(0, horizon, 1200, 330), lake);
    p.setBrush(QColor(255, 240, 190, 90));
    for (int i = 0; i < 9; ++i)
        p.drawRect(QRectF(860 - i * 9, horizon + 12 + i * 26, 40 + i * 18, 3));
    QLinearGradient shore(0, 640, 0, 800);
    shore.setColorAt(0, QColor(92, 140, 60));
    shore.setColorAt(1, QColor(54, 96, 40));
    QPainterPath meadow(QPointF(0, 800));
    meadow.lineTo(0, 660);
    meadow.cubicTo(300, 610, 520, 700, 760, 720);
    meadow.cubicTo(900, 730, 1050, 700, 1200, 730);
    meadow.lineTo(1200, 800);
    meadow.closeSubpath();
    p.setBrush(shore);
    p.drawPath(meadow);
    for (const auto& [x, y, s] :
         std::vector<std::array<double, 3>>{{90, 650, 1.2}, {150, 640, 0.9}, {250, 652, 0.7}}) {
        p.setBrush(QColor(74, 52, 36));
        p.drawRect(QRectF(x - 4 * s, y - 20 * s, 8 * s, 24 * s));
        p.setBrush(QColor(28, 78, 42));
        p.drawPolygon(QPolygonF(
            {QPointF(x, y - 130 * s), QPointF(x - 38 * s, y - 16 * s), QPointF(x + 38 * s, y - 16 * s)}));
    }
    p.end();
    // A little grain, as a camera gives, always the same.
    std::uint32_t state = 0x2545F491u;
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            const int n = static_cast<int>(state % 9) - 4;
            const QRgb c = line[x];
            line[x] = qRgb(std::clamp(qRed(c) + n, 0, 255), std::clamp(qGreen(c) + n, 0, 255),
                           std::clamp(qBlue(c) + n, 0, 255));
        }
    }
    return image;
}

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

    if (!photo.textured) photo.picture = lakeLandscape(photo.width, photo.height);
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
