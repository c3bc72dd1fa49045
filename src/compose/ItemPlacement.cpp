// Placing an item from its anchor and distances, and the way back after it was dragged.

#include "compose/PrintFrame.h"
#include "model/DatedPicture.h"

#include <QImage>

namespace {

bool turnsWithTallPictures(int anchor) {
    return anchor >= 4 && anchor <= 7;
}

} // namespace

void CDatedPicture::PlaceItem(int index, imaging::Graphics& graphics) {
    if (!workPicture || index < 0 || index >= itemCount) return;
    ImprintItem& it = item(index);
    ResolveDate(it); // its sources may have changed since it was last placed
    const PrintFrame f(workPicture->width(), workPicture->height(), aspectWidth, aspectHeight);

    long long angle = it.anchorAngle;
    if (turnsWithTallPictures(it.anchor) && f.tall) angle += 90;
    if (angle >= 360) angle -= 360;
    it.angle = truncToInt(static_cast<double>(angle));

    DrawItem(it, graphics);
    ComputeItemBounds(it);

    const double W = f.width, H = f.height;
    const double L = it.bounds.x, T = it.bounds.y, Wb = it.bounds.width, Hb = it.bounds.height;
    // On a wide picture the landscape anchors are the plain corners of the same name.
    const int code = (turnsWithTallPictures(it.anchor) && !f.tall) ? it.anchor - 4 : it.anchor;
    switch (code) {
    case 0:
        it.posX = truncToInt(f.dx(it.offsetX) - L);
        it.posY = truncToInt(H - T - Hb - f.dy(it.offsetY));
        break;
    case 1:
        it.posX = truncToInt(W - L - Wb - f.dx(it.offsetX));
        it.posY = truncToInt(H - T - Hb - f.dy(it.offsetY));
        break;
    case 2:
        it.posX = truncToInt(f.dx(it.offsetX) - L);
        it.posY = truncToInt(f.dy(it.offsetY) - T);
        break;
    case 3:
        it.posX = truncToInt(W - L - Wb - f.dx(it.offsetX));
        it.posY = truncToInt(f.dy(it.offsetY) - T);
        break;
    case 4:
        it.posX = truncToInt(f.dx(it.offsetY) - L);
        it.posY = truncToInt(f.dy(it.offsetX) - T);
        break;
    case 5:
        it.posX = truncToInt(f.dx(it.offsetY) - L);
        it.posY = truncToInt(H - T - Hb - f.dy(it.offsetX));
        break;
    case 6:
        it.posX = truncToInt(W - L - Wb - f.dx(it.offsetY));
        it.posY = truncToInt(f.dy(it.offsetX) - T);
        break;
    case 7:
        it.posX = truncToInt(W - L - Wb - f.dx(it.offsetY));
        it.posY = truncToInt(H - T - Hb - f.dy(it.offsetX));
        break;
    default:
        break; // an unknown anchor keeps the origin
    }

    // Keep the origin on the picture; a box reaching over an edge from inside stays.
    if (it.posX < 0) it.posX = truncToInt(10 - L);
    if (it.posX > W) it.posX = truncToInt(W - Wb);
    if (it.posY < 0) it.posY = truncToInt(10 - T);
    if (it.posY > H) it.posY = truncToInt(H - Hb);

    // An automatic colour is chosen for this photo, from what lies under the item where it is placed.
    ChooseAutoColor(index);
}

void CDatedPicture::ChooseAutoColor(int index) {
    if (index < 0 || index >= itemCount) return;
    ImprintItem& it = item(index);
    it.autoColor = it.effects.autoColor ? (MeanLuminanceUnder(index) < 127.5 ? kAutoWhite : kAutoBlack) : -1;
}

void CDatedPicture::ChooseAutoColor(int index, const QImage& photo, QPoint photoAt) {
    if (index < 0 || index >= itemCount) return;
    ImprintItem& it = item(index);
    it.autoColor = it.effects.autoColor
                       ? (MeanLuminanceUnder(index, photo, photoAt) < 127.5 ? kAutoWhite : kAutoBlack)
                       : -1;
}

double CDatedPicture::MeanLuminanceUnder(int index) const {
    static const QImage none;
    const QImage& photo = picture ? std::as_const(*picture).image() : none;
    return MeanLuminanceUnder(index, photo, QPoint(truncToInt(whiteOffsetX), truncToInt(whiteOffsetY)));
}

double CDatedPicture::MeanLuminanceUnder(int index, const QImage& photo, QPoint photoAt) const {
    if (!workPicture || index < 0 || index >= itemCount) return 0;
    const ImprintItem& it = item(index);
    const QRect box = QRect(it.posX + it.bounds.x, it.posY + it.bounds.y, it.bounds.width, it.bounds.height)
                          .intersected(QRect(0, 0, workPicture->width(), workPicture->height()));
    if (box.isEmpty()) return 0;
    // The loaded picture where it lies in the work picture, the white space's colour elsewhere; a grid
    // of samples is enough for a mean.
    const QColor white = QColor(whiteColor & 0xFF, (whiteColor >> 8) & 0xFF, (whiteColor >> 16) & 0xFF);
    const int steps = 48;
    double sum = 0;
    int samples = 0;
    for (int j = 0; j < steps; ++j) {
        for (int i = 0; i < steps; ++i) {
            const int x = box.left() + (box.width() - 1) * i / (steps - 1);
            const int y = box.top() + (box.height() - 1) * j / (steps - 1);
            const int px = x - photoAt.x(), py = y - photoAt.y();
            const QRgb c = photo.valid(px, py) ? photo.pixel(px, py) : white.rgb();
            sum += 0.299 * qRed(c) + 0.587 * qGreen(c) + 0.114 * qBlue(c);
            ++samples;
        }
    }
    return sum / samples;
}

void CDatedPicture::StoreItemOffsets(int index) {
    if (!workPicture || index < 0 || index >= itemCount) return;
    ImprintItem& it = item(index);
    ComputeItemBounds(it);
    const PrintFrame f(workPicture->width(), workPicture->height(), aspectWidth, aspectHeight);

    const double W = f.width, H = f.height;
    const double L = it.bounds.x, T = it.bounds.y, Wb = it.bounds.width, Hb = it.bounds.height;
    const double x = it.posX, y = it.posY;
    const int code = (turnsWithTallPictures(it.anchor) && !f.tall) ? it.anchor - 4 : it.anchor;
    switch (code) {
    case 0:
        it.offsetX = truncToInt(f.ux(x + L));
        it.offsetY = truncToInt(f.uy(H - y - T - Hb));
        break;
    case 1:
        it.offsetX = truncToInt(f.ux(W - x - L - Wb));
        it.offsetY = truncToInt(f.uy(H - y - T - Hb));
        break;
    case 2:
        it.offsetX = truncToInt(f.ux(x + L));
        it.offsetY = truncToInt(f.uy(y + T));
        break;
    case 3:
        it.offsetX = truncToInt(f.ux(W - x - L - Wb));
        it.offsetY = truncToInt(f.uy(y + T));
        break;
    case 4:
        it.offsetX = truncToInt(f.uy(y + T));
        it.offsetY = truncToInt(f.ux(x + L));
        break;
    case 5:
        it.offsetX = truncToInt(f.uy(H - y - T - Hb));
        it.offsetY = truncToInt(f.ux(x + L));
        break;
    case 6:
        it.offsetX = truncToInt(f.uy(y + T));
        it.offsetY = truncToInt(f.ux(W - x - L - Wb));
        break;
    case 7:
        it.offsetX = truncToInt(f.uy(H - y - T - Hb));
        it.offsetY = truncToInt(f.ux(W - x - L - Wb));
        break;
    default:
        break;
    }

    long long anchorAngle = it.angle;
    if (turnsWithTallPictures(it.anchor) && f.tall) anchorAngle -= 90;
    if (anchorAngle < 0) anchorAngle += 360;
    it.anchorAngle = truncToInt(static_cast<double>(anchorAngle));
}
