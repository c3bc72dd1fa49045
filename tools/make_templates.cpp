// Makes the templates that ship with Imprix, and the watermark picture one of them uses, in a folder.
// The files in src/res/templates are this program's output; a test keeps them equal to it.

#include "model/DatedPicture.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <iostream>
#include <string>

namespace {

constexpr const char kLogoFile[] = "ImprixLogo.png";

// A Windows colour value: red in the low byte.
constexpr int colorRef(int red, int green, int blue) {
    return red | (green << 8) | (blue << 16);
}

constexpr int kFilmOrange = colorRef(255, 128, 16);
constexpr int kDarkGrey = colorRef(60, 60, 60);
constexpr int kWhite = colorRef(255, 255, 255);
constexpr int kRegular = 400;
constexpr int kBold = 700;

// Anchor codes of the format bar's list.
constexpr int kBottomLeft = 0;
constexpr int kBottomRight = 1;
constexpr int kLandscapeBottomLeft = 4;
constexpr int kLandscapeBottomRight = 5;

// Appends a visible item with the defaults of a fresh one. Distances and sizes are print points.
ImprintItem& addItem(CDatedPicture& templ, std::uint32_t tag, const std::string& displayName) {
    templ.AppendItem();
    ImprintItem& it = templ.item(templ.itemCount - 1);
    it = ImprintItem();
    it.visible = 1;
    it.tag = tag;
    it.displayName = displayName;
    return it;
}

void setText(ImprintItem& it, const std::string& font, int size, int style, int color, int opacity = 255) {
    it.fontName = font;
    it.fontSize = size;
    it.fontStyle = style;
    it.color = color;
    it.opacity = opacity;
}

// A shipped template dates every photo that has any date at all: the date taken, then the other
// dates of the photo, then one in its file name, then the file's own time.
void dateFromAnySource(ImprintItem& it) {
    it.dateSources = {DateSource::DateTimeOriginal, DateSource::DateTimeDigitized, DateSource::DateTime,
                      DateSource::GpsDateTime,      DateSource::FileName,          DateSource::FileTime};
}

void setPlace(ImprintItem& it, int anchor, int offsetX, int offsetY) {
    it.anchor = anchor;
    it.offsetX = offsetX;
    it.offsetY = offsetY;
}

// The date taken in the corner, as the date backs of film cameras printed it: orange seven-segment
// digits, the year with an apostrophe, month and day without leading zeros.
CDatedPicture simpleTemplate() {
    CDatedPicture templ;
    // Two blanks: a blank of the seven-segment font is a quarter of a digit wide.
    templ.dateFormat = "'%y  %#m  %#d";
    ImprintItem& date = addItem(templ, kTagDateTimeOriginal, "Date Time Original");
    setText(date, "DSEG7 Classic", 14, kBold | ImprintItem::kItalicFlag, kFilmOrange);
    setPlace(date, kBottomRight, 30, 20);
    dateFromAnySource(date);
    // A soft dark shadow keeps the orange readable on a white sky; on a night photo it disappears.
    date.effects.shadow = true;
    date.effects.shadowColor = colorRef(20, 10, 0);
    date.effects.shadowOffsetPt = 0.8f;
    date.effects.shadowSoftnessPt = 1.2f;
    return templ;
}

// A white band below the photo with the date taken on the left, the camera and its exposure on the
// right. The 6 by 5 shape adds the band to 3:2 and 4:3 photos alike; on tall
// photos it goes to the left side and the "Lndscp:" anchors put the caption there, turned.
CDatedPicture captionTemplate() {
    CDatedPicture templ;
    templ.aspectEnabled = 1;
    templ.aspectWidth = 6.0f;
    templ.aspectHeight = 5.0f;
    templ.whiteSideWide = 0; // bottom
    templ.whiteSideTall = 1; // left
    templ.dateFormat = "%#d %B %Y  %H:%M";
    const std::string font = "Liberation Sans";

    ImprintItem& date = addItem(templ, kTagDateTimeOriginal, "Date Time Original");
    setText(date, font, 12, kBold, kDarkGrey);
    setPlace(date, kLandscapeBottomLeft, 18, 14);
    dateFromAnySource(date);

    ImprintItem& model = addItem(templ, 0x0110, "Equip Model");
    setText(model, font, 9, kRegular, kDarkGrey);
    setPlace(model, kLandscapeBottomRight, 18, 21);

    // One line of exposure below the camera, each value right-aligned in its own column.
    ImprintItem& iso = addItem(templ, 0x8827, "ISO Speed");
    iso.listed = 1;
    iso.label = "ISO ";
    setText(iso, font, 8, kRegular, kDarkGrey);
    setPlace(iso, kLandscapeBottomRight, 18, 10);

    ImprintItem& fStop = addItem(templ, 0x829d, "F-Stop");
    fStop.label = "f/";
    setText(fStop, font, 8, kRegular, kDarkGrey);
    setPlace(fStop, kLandscapeBottomRight, 58, 10);

    ImprintItem& exposure = addItem(templ, 0x829a, "Exposure Time");
    setText(exposure, font, 8, kRegular, kDarkGrey);
    setPlace(exposure, kLandscapeBottomRight, 90, 10);
    return templ;
}

// A logo laid over the photo's corner and a credit line to fill in.
CDatedPicture watermarkTemplate() {
    CDatedPicture templ;
    ImprintItem& logo = addItem(templ, kTagWatermark, "Watermark");
    logo.fontName = kLogoFile;
    logo.fontSize = 170; // the watermark's opacity
    setPlace(logo, kBottomLeft, 14, 12);

    ImprintItem& credit = addItem(templ, kTagLabel, "Credit");
    credit.label = "\xC2\xA9 Your Name"; // "(c) Your Name"
    setText(credit, "Liberation Serif", 11, kRegular | ImprintItem::kItalicFlag, kWhite, 220);
    setPlace(credit, kBottomRight, 18, 14);
    return templ;
}

// A caption of two lines on a rounded, half-dark box in the corner, as on a postcard: a line to make
// one's own, then the date taken.
CDatedPicture postcardTemplate() {
    CDatedPicture templ;
    templ.dateFormat = "%#d %B %Y";
    ImprintItem& caption = addItem(templ, kTagDateTimeOriginal, "Date Time Original");
    caption.label = "Greetings from the lake\n"; // the first line: the user's own words
    setText(caption, "Liberation Serif", 11, kRegular | ImprintItem::kItalicFlag, kWhite);
    setPlace(caption, kBottomLeft, 20, 16);
    dateFromAnySource(caption);
    caption.effects.box = true;
    caption.effects.boxRounded = true;
    caption.effects.boxColor = colorRef(20, 24, 30);
    caption.effects.boxOpacity = 150;
    caption.effects.boxPaddingPt = 5.0f;
    return templ;
}

// A camera drawn in white with a dark rim, so that it shows on light and dark photos alike.
QImage logoPicture() {
    QImage image(192, 144, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    QPainterPath body;
    body.addRoundedRect(QRectF(12, 36, 168, 96), 16, 16);
    QPainterPath viewfinder;
    viewfinder.addRoundedRect(QRectF(56, 16, 64, 28), 8, 8);
    body = body.united(viewfinder);
    QPainterPath lens;
    lens.addEllipse(QPointF(96, 84), 34, 34);
    QPainterPath window;
    window.addRoundedRect(QRectF(140, 48, 24, 14), 4, 4);

    p.setPen(QPen(QColor(30, 30, 30, 200), 6));
    p.setBrush(QColor(255, 255, 255));
    p.drawPath(body.subtracted(lens).subtracted(window));
    p.setBrush(QColor(255, 255, 255, 120));
    p.drawEllipse(QPointF(96, 84), 22, 22);
    p.end();
    return image;
}

bool write(CDatedPicture templ, const QDir& folder, const std::string& name) {
    // Quality 90: a dated copy is one more JPEG generation of the photo, and at 60 fine grain is
    // visibly softened.
    templ.jpegQuality = 90;
    std::string whyNot;
    if (templ.WriteTemplate(folder.filePath(QString::fromStdString(name)).toStdString(), &whyNot) != 0) {
        std::cerr << "imprix-make-templates: cannot write " << name << ": " << whyNot << '\n';
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: imprix-make-templates FOLDER\n";
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(folder.path())) {
        std::cerr << "imprix-make-templates: cannot make " << argv[1] << '\n';
        return 1;
    }

    bool ok = write(simpleTemplate(), folder, "Simple.tpl");
    ok = write(captionTemplate(), folder, "Caption.tpl") && ok;
    ok = write(watermarkTemplate(), folder, "Watermark.tpl") && ok;
    ok = write(postcardTemplate(), folder, "Postcard.tpl") && ok;
    if (!logoPicture().save(folder.filePath(kLogoFile), "PNG")) {
        std::cerr << "imprix-make-templates: cannot write " << kLogoFile << '\n';
        ok = false;
    }
    return ok ? 0 : 1;
}
