// Draws the pictures of the desktop application's toolbar and its icon into a folder. The files in
// src/res/shell are this program's output:
//
//   imprix-make-shell-images src/res/shell
//
// toolbar.png holds the nine button pictures side by side, 32 x 32 pixels each, on transparency, in
// the toolbar's order: Open, Save Dated Copy, Previous, Next, Process All, Options, Zoom In, Zoom Out,
// Zoom Fit; toolbar@2x.png the same at twice the size. imprix-N.png is the icon, N pixels square;
// imprix.svg the same icon as a scalable picture for the desktop's icon theme (its digits as outlines,
// so no font is needed to show it).

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <functional>
#include <iostream>
#include <vector>

namespace {

const QColor kOutline(38, 55, 80);
const QColor kBlue(47, 111, 181);
const QColor kLightBlue(120, 176, 232);
const QColor kSky(150, 200, 245);
const QColor kHill(70, 150, 80);
const QColor kOrange(245, 130, 20);
const QColor kFolderBack(214, 160, 48);
const QColor kFolderFront(246, 198, 88);
const QColor kPaper(252, 252, 248);
const QColor kGreen(52, 150, 72);
const QColor kGrey(120, 128, 140);

QPen outline(double width = 1.4) {
    QPen pen(kOutline, width);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

// A small photo: white card, sky, a hill and the sun. Units are the 32-unit button square.
void photo(QPainter& p, const QRectF& card) {
    p.setPen(outline(1.2));
    p.setBrush(kPaper);
    p.drawRoundedRect(card, 1.5, 1.5);
    const QRectF inner = card.adjusted(2, 2, -2, -2);
    p.setPen(Qt::NoPen);
    p.setBrush(kSky);
    p.drawRect(inner);
    QPainterPath hill;
    hill.moveTo(inner.left(), inner.bottom());
    hill.lineTo(inner.left(), inner.top() + inner.height() * 0.65);
    hill.quadTo(inner.left() + inner.width() * 0.4, inner.top() + inner.height() * 0.25, inner.right(),
                inner.top() + inner.height() * 0.7);
    hill.lineTo(inner.right(), inner.bottom());
    hill.closeSubpath();
    p.setBrush(kHill);
    p.drawPath(hill);
    p.setBrush(QColor(255, 214, 64));
    const double r = inner.height() * 0.16;
    p.drawEllipse(QPointF(inner.right() - r * 1.8, inner.top() + r * 1.8), r, r);
}

void open(QPainter& p) {
    p.setPen(outline());
    p.setBrush(kFolderBack);
    QPainterPath back;
    back.moveTo(3, 27);
    back.lineTo(3, 7);
    back.lineTo(11, 7);
    back.lineTo(13.5, 9.5);
    back.lineTo(27, 9.5);
    back.lineTo(27, 27);
    back.closeSubpath();
    p.drawPath(back);
    photo(p, QRectF(8, 5, 18, 13));
    p.setPen(outline());
    p.setBrush(kFolderFront);
    QPainterPath front;
    front.moveTo(3, 27);
    front.lineTo(7, 14);
    front.lineTo(30, 14);
    front.lineTo(27, 27);
    front.closeSubpath();
    p.drawPath(front);
}

void saveCopy(QPainter& p) {
    p.setPen(outline());
    p.setBrush(kBlue);
    QPainterPath body;
    body.moveTo(4, 5.5);
    body.lineTo(4, 26.5);
    body.quadTo(4, 28, 5.5, 28);
    body.lineTo(26.5, 28);
    body.quadTo(28, 28, 28, 26.5);
    body.lineTo(28, 9);
    body.lineTo(24, 4);
    body.lineTo(5.5, 4);
    body.quadTo(4, 4, 4, 5.5);
    p.drawPath(body);
    p.setBrush(QColor(200, 208, 218));
    p.drawRect(QRectF(10, 4, 11, 8));
    p.setPen(Qt::NoPen);
    p.setBrush(kOutline);
    p.drawRect(QRectF(17, 5.5, 2.5, 5));
    p.setPen(outline(1.0));
    p.setBrush(kPaper);
    p.drawRect(QRectF(7.5, 16, 17, 12));
    // the date on the label, in the orange of a film camera's imprint
    p.setPen(Qt::NoPen);
    p.setBrush(kOrange);
    for (int i = 0; i < 3; ++i)
        p.drawRect(QRectF(9.5 + i * 5, 21, 3.5, 4));
}

void arrow(QPainter& p, bool right) {
    QPainterPath path;
    path.moveTo(4, 12.5);
    path.lineTo(16, 12.5);
    path.lineTo(16, 5);
    path.lineTo(28, 16);
    path.lineTo(16, 27);
    path.lineTo(16, 19.5);
    path.lineTo(4, 19.5);
    path.closeSubpath();
    if (!right) {
        QTransform mirror(-1, 0, 0, 1, 32, 0);
        path = mirror.map(path);
    }
    QLinearGradient fill(0, 5, 0, 27);
    fill.setColorAt(0, kLightBlue);
    fill.setColorAt(1, kBlue);
    p.setPen(outline());
    p.setBrush(fill);
    p.drawPath(path);
}

void processAll(QPainter& p) {
    photo(p, QRectF(10, 3, 18, 13));
    photo(p, QRectF(7, 7, 18, 13));
    photo(p, QRectF(4, 11, 18, 13));
    // fast forward
    p.setPen(outline(1.1));
    p.setBrush(kGreen);
    for (int i = 0; i < 2; ++i) {
        const double x = 15 + i * 7;
        QPainterPath chevron;
        chevron.moveTo(x, 20);
        chevron.lineTo(x + 8, 25);
        chevron.lineTo(x, 30);
        chevron.closeSubpath();
        p.drawPath(chevron);
    }
}

void options(QPainter& p) {
    const QPointF c(16, 16);
    QPainterPath gear;
    const int teeth = 8;
    for (int i = 0; i < teeth * 4; ++i) {
        const double a = (i - 0.5) * M_PI * 2 / (teeth * 4);
        const double r = (i % 4 == 0 || i % 4 == 1) ? 13.0 : 9.8;
        const QPointF pt(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
        if (i == 0)
            gear.moveTo(pt);
        else
            gear.lineTo(pt);
    }
    gear.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(c, 4.2, 4.2);
    QRadialGradient fill(c, 13);
    fill.setColorAt(0, QColor(190, 198, 210));
    fill.setColorAt(1, kGrey);
    p.setPen(outline());
    p.setBrush(fill);
    p.drawPath(gear.subtracted(hole));
}

// A magnifying glass; `sign` 1 draws a plus in the lens, -1 a minus, 0 nothing.
void magnifier(QPainter& p, int sign, const QPointF& centre = QPointF(13, 13), double radius = 9) {
    QPen handle(kOutline, 4.5);
    handle.setCapStyle(Qt::RoundCap);
    p.setPen(handle);
    const QPointF from = centre + QPointF(radius * 0.72, radius * 0.72);
    p.drawLine(from, from + QPointF(radius * 0.85, radius * 0.85));
    QRadialGradient glass(centre - QPointF(radius / 3, radius / 3), radius * 1.4);
    glass.setColorAt(0, QColor(255, 255, 255));
    glass.setColorAt(1, QColor(176, 214, 246));
    p.setPen(outline(1.8));
    p.setBrush(glass);
    p.drawEllipse(centre, radius, radius);
    if (sign == 0) return;
    QPen mark(kBlue, 2.6);
    mark.setCapStyle(Qt::RoundCap);
    p.setPen(mark);
    const double arm = radius * 0.5;
    p.drawLine(centre - QPointF(arm, 0), centre + QPointF(arm, 0));
    if (sign > 0) p.drawLine(centre - QPointF(0, arm), centre + QPointF(0, arm));
}

void zoomFit(QPainter& p) {
    QPen corner(kBlue, 2.4);
    corner.setCapStyle(Qt::RoundCap);
    corner.setJoinStyle(Qt::RoundJoin);
    p.setPen(corner);
    p.setBrush(Qt::NoBrush);
    const double a = 3, b = 29, l = 7;
    p.drawPolyline(QPolygonF({QPointF(a, a + l), QPointF(a, a), QPointF(a + l, a)}));
    p.drawPolyline(QPolygonF({QPointF(b - l, a), QPointF(b, a), QPointF(b, a + l)}));
    p.drawPolyline(QPolygonF({QPointF(a, b - l), QPointF(a, b), QPointF(a + l, b)}));
    p.drawPolyline(QPolygonF({QPointF(b - l, b), QPointF(b, b), QPointF(b, b - l)}));
    magnifier(p, 0, QPointF(14, 14), 6.5);
}

const std::vector<std::function<void(QPainter&)>>& buttons() {
    static const std::vector<std::function<void(QPainter&)>> all = {
        open,       saveCopy, [](QPainter& p) { arrow(p, false); }, [](QPainter& p) { arrow(p, true); },
        processAll, options,  [](QPainter& p) { magnifier(p, 1); }, [](QPainter& p) { magnifier(p, -1); },
        zoomFit,
    };
    return all;
}

QImage toolbarStrip(int scale) {
    const int side = 32 * scale;
    QImage strip(side * static_cast<int>(buttons().size()), side, QImage::Format_ARGB32_Premultiplied);
    strip.fill(Qt::transparent);
    QPainter p(&strip);
    p.setRenderHint(QPainter::Antialiasing);
    for (std::size_t i = 0; i < buttons().size(); ++i) {
        p.save();
        p.translate(static_cast<double>(i) * side, 0);
        p.scale(scale, scale);
        buttons()[i](p);
        p.restore();
    }
    return strip;
}

// The icon's hill over its picture area, and the face of its date.
QPainterPath iconHill(const QRectF& inner) {
    QPainterPath hill;
    hill.moveTo(inner.left(), inner.bottom());
    hill.lineTo(inner.left(), inner.top() + 22);
    hill.quadTo(inner.left() + 20, inner.top() + 8, inner.right(), inner.top() + 24);
    hill.lineTo(inner.right(), inner.bottom());
    hill.closeSubpath();
    return hill;
}

QFont iconDigitsFont() {
    QFont digits(QStringLiteral("DSEG7 Classic"));
    digits.setPixelSize(8);
    digits.setBold(true);
    return digits;
}

// A print with the date in the corner, as a film camera imprinted it.
QImage appIcon(int size) {
    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(size / 64.0, size / 64.0);
    p.translate(32, 32);
    p.rotate(-6);
    p.translate(-32, -32);
    p.setPen(QPen(QColor(0, 0, 0, 60), 2));
    p.setBrush(QColor(0, 0, 0, 40));
    p.drawRoundedRect(QRectF(6, 12, 54, 42), 3, 3);
    p.setPen(QPen(kOutline, 1.5));
    p.setBrush(kPaper);
    p.drawRoundedRect(QRectF(4, 10, 56, 44), 3, 3);
    const QRectF inner(8, 14, 48, 36);
    QLinearGradient sky(inner.topLeft(), inner.bottomLeft());
    sky.setColorAt(0, QColor(90, 160, 230));
    sky.setColorAt(1, QColor(190, 225, 250));
    p.setPen(Qt::NoPen);
    p.setBrush(sky);
    p.drawRect(inner);
    p.setBrush(kHill);
    p.drawPath(iconHill(inner));
    p.setBrush(QColor(255, 214, 64));
    p.drawEllipse(QPointF(inner.left() + 10, inner.top() + 8), 4.5, 4.5);
    const QFont digits = iconDigitsFont();
    p.setFont(digits);
    p.setPen(kOrange);
    // In the seven-segment face "!" is a blank as wide as a digit.
    p.drawText(QRectF(inner.left(), inner.bottom() - 13, inner.width() - 2, 12),
               Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("01!6!21"));
    return icon;
}

QString svgColor(const QColor& c) {
    return c.alpha() == 255 ? c.name()
                            : QStringLiteral("rgba(%1,%2,%3,%4)")
                                  .arg(c.red())
                                  .arg(c.green())
                                  .arg(c.blue())
                                  .arg(c.alphaF());
}

QString svgPath(const QPainterPath& path) {
    QString d;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isMoveTo())
            d += QStringLiteral("M%1 %2").arg(e.x, 0, 'f', 3).arg(e.y, 0, 'f', 3);
        else if (e.isLineTo())
            d += QStringLiteral("L%1 %2").arg(e.x, 0, 'f', 3).arg(e.y, 0, 'f', 3);
        else if (e.isCurveTo()) {
            const QPainterPath::Element c2 = path.elementAt(i + 1), end = path.elementAt(i + 2);
            d += QStringLiteral("C%1 %2 %3 %4 %5 %6")
                     .arg(e.x, 0, 'f', 3)
                     .arg(e.y, 0, 'f', 3)
                     .arg(c2.x, 0, 'f', 3)
                     .arg(c2.y, 0, 'f', 3)
                     .arg(end.x, 0, 'f', 3)
                     .arg(end.y, 0, 'f', 3);
            i += 2;
        }
    }
    return d;
}

// The icon of appIcon() on a 64-unit canvas.
QByteArray appIconSvg() {
    const QRectF inner(8, 14, 48, 36);
    const QFont digits = iconDigitsFont();
    QPainterPath text;
    text.addText(0, 0, digits, QStringLiteral("01!6!21"));
    const QRectF box(inner.left(), inner.bottom() - 13, inner.width() - 2, 12);
    const QFontMetricsF metrics(digits);
    const double width = metrics.horizontalAdvance(QStringLiteral("01!6!21"));
    text.translate(box.right() - width, box.center().y() + (metrics.ascent() - metrics.descent()) / 2);
    QString svg;
    svg += QStringLiteral(
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"64\" viewBox=\"0 0 64 64\">\n"
        "  <defs><linearGradient id=\"sky\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">"
        "<stop offset=\"0\" stop-color=\"#5aa0e6\"/><stop offset=\"1\" stop-color=\"#bee1fa\"/>"
        "</linearGradient></defs>\n"
        "  <g transform=\"rotate(-6 32 32)\">\n"
        "    <rect x=\"6\" y=\"12\" width=\"54\" height=\"42\" rx=\"3\" fill=\"#000\" fill-opacity=\"0.157\" "
        "stroke=\"#000\" stroke-opacity=\"0.235\" stroke-width=\"2\"/>\n");
    svg += QStringLiteral(
               "    <rect x=\"4\" y=\"10\" width=\"56\" height=\"44\" rx=\"3\" fill=\"%1\" stroke=\"%2\" "
               "stroke-width=\"1.5\"/>\n")
               .arg(svgColor(kPaper), svgColor(kOutline));
    svg += QStringLiteral("    <rect x=\"8\" y=\"14\" width=\"48\" height=\"36\" fill=\"url(#sky)\"/>\n");
    svg +=
        QStringLiteral("    <path d=\"%1Z\" fill=\"%2\"/>\n").arg(svgPath(iconHill(inner)), svgColor(kHill));
    svg += QStringLiteral("    <circle cx=\"18\" cy=\"22\" r=\"4.5\" fill=\"#ffd640\"/>\n");
    svg += QStringLiteral("    <path d=\"%1\" fill=\"%2\"/>\n").arg(svgPath(text), svgColor(kOrange));
    svg += QStringLiteral("  </g>\n</svg>\n");
    return svg.toUtf8();
}

bool save(const QImage& image, const QDir& folder, const QString& name) {
    if (image.save(folder.filePath(name))) return true;
    std::cerr << "cannot write " << folder.filePath(name).toStdString() << '\n';
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::cerr << "usage: imprix-make-shell-images FOLDER\n";
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(folder.path())) return 1;
    bool ok = save(toolbarStrip(1), folder, QStringLiteral("toolbar.png")) &&
              save(toolbarStrip(2), folder, QStringLiteral("toolbar@2x.png"));
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        ok = ok && save(appIcon(size), folder, QStringLiteral("imprix-%1.png").arg(size));
    QFile svg(folder.filePath(QStringLiteral("imprix.svg")));
    ok = ok && svg.open(QIODevice::WriteOnly) && svg.write(appIconSvg()) > 0;
    return ok ? 0 : 1;
}
