#include "shell/ToolbarImages.h"

#include "shell/ShellResources.h"

#include <QColor>

#include <algorithm>
#include <functional>

namespace toolbarimages {

namespace {

constexpr int kSide = 32;

QImage mapColors(const QImage& image, const std::function<QRgb(QRgb)>& change) {
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if (qAlpha(line[x]) != 0) line[x] = change(line[x]);
    }
    return out;
}

QImage cut(const QImage& strip, int index, int side, double pixelRatio) {
    QImage piece = strip.copy(index * side, 0, side, side);
    piece.setDevicePixelRatio(pixelRatio);
    return piece;
}

void addLooks(QIcon& icon, const QImage& picture) {
    icon.addPixmap(QPixmap::fromImage(lightened(picture, 0.04)), QIcon::Normal);
    QImage disabled = greyed(picture);
    for (int i = 0; i < 3; ++i)
        disabled = lightened(disabled, 0.08);
    icon.addPixmap(QPixmap::fromImage(disabled), QIcon::Disabled);
    icon.addPixmap(QPixmap::fromImage(picture), QIcon::Active);
}

} // namespace

QImage lightened(const QImage& image, double amount) {
    QImage out = mapColors(image, [amount](QRgb pixel) {
        QColor color = QColor::fromRgb(pixel).toHsl();
        const double lightness = std::min(1.0, color.lightnessF() + amount);
        color.setHslF(color.hslHueF(), color.hslSaturationF(), lightness, color.alphaF());
        return color.rgba();
    });
    out.setDevicePixelRatio(image.devicePixelRatio());
    return out;
}

QImage greyed(const QImage& image) {
    QImage out = mapColors(image, [](QRgb pixel) {
        const int grey = (qBlue(pixel) + 6 * qGreen(pixel) + 3 * qRed(pixel)) / 10;
        return qRgba(grey, grey, grey, qAlpha(pixel));
    });
    out.setDevicePixelRatio(image.devicePixelRatio());
    return out;
}

std::vector<QIcon> icons() {
    initShellResources();
    const QImage strip(QStringLiteral(":/shell/toolbar.png"));
    const QImage strip2x(QStringLiteral(":/shell/toolbar@2x.png"));
    std::vector<QIcon> all(Count);
    for (int i = 0; i < Count; ++i) {
        if (!strip.isNull()) addLooks(all[static_cast<std::size_t>(i)], cut(strip, i, kSide, 1.0));
        if (!strip2x.isNull()) addLooks(all[static_cast<std::size_t>(i)], cut(strip2x, i, 2 * kSide, 2.0));
    }
    return all;
}

} // namespace toolbarimages
