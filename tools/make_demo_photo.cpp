// Makes the demo photo: a small landscape picture with the Exif of a typical camera.

#include "photofactory/PhotoFactory.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>

#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: imprix-make-demo OUTPUT.jpg\n";
        return 2;
    }
    QGuiApplication app(argc, argv);
    const std::string path = argv[1];
    QDir().mkpath(QFileInfo(QString::fromStdString(path)).absolutePath());

    photofactory::Photo photo;
    photo.width = 1200;
    photo.height = 800;
    photo.color = QColor(110, 160, 210);
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
