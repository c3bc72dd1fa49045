#pragma once

// The scene the render and view benchmarks share: a 24-megapixel photo with a turned frame, a
// watermark and six text items, composed with a template.

#include "model/DatedPicture.h"
#include "model/Dialogs.h"

#include <QPainter>
#include <QTemporaryDir>

class QuietDialogs : public Dialogs {
public:
    Answer message(const std::string&, Buttons, Icon) override { return Answer::Ok; }
};

struct ComposedScene {
    QTemporaryDir dir;
    CDatedPicture picture;
    CDatedPicture templ;
    int movedItem = -1; // a text item the benchmarks move

    // `everyEffect`: each text item with an outline, a soft shadow and a rounded box.
    explicit ComposedScene(bool everyEffect = false) {
        QImage photo(6000, 4000, QImage::Format_RGB32);
        for (int y = 0; y < photo.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(photo.scanLine(y));
            for (int x = 0; x < photo.width(); ++x)
                line[x] = qRgb(x % 256, y % 256, (x ^ y) % 256);
        }
        picture.picture = std::make_unique<imaging::Bitmap>(std::move(photo));
        picture.bounds = picture.picture->bounds();

        QImage frame(1200, 1800, QImage::Format_RGB32);
        frame.fill(Qt::white);
        {
            QPainter p(&frame);
            p.setPen(QPen(QColor(120, 80, 40), 90));
            p.drawRect(45, 45, 1110, 1710);
        }
        frame.save(dir.filePath("frame.png"));
        QImage mark(400, 100, QImage::Format_ARGB32_Premultiplied);
        mark.fill(QColor(250, 220, 0, 200));
        mark.save(dir.filePath("mark.png"));

        templ.templateDir = dir.path().toStdString();
        templ.borderPath = "frame.png";
        templ.borderOpacity = 200;
        templ.AppendItem();
        ImprintItem& watermark = templ.item(0);
        watermark.tag = kTagWatermark;
        watermark.visible = 1;
        watermark.fontName = "mark.png";
        watermark.fontSize = 160;
        watermark.anchorAngle = 20;
        const char* texts[] = {"06/21/01 14:38:56", "Canon EOS",   "1/250 s", "f/5.6",
                               "ISO 200",           "Holiday 2001"};
        for (int i = 0; i < 6; ++i) {
            templ.AddLabelItem("Label " + std::to_string(i), texts[i]);
            ImprintItem& it = templ.item(templ.itemCount - 1);
            it.anchor = i % 4;
            it.offsetY = 24 + 30 * (i / 4);
            it.anchorAngle = i == 5 ? 15 : 0;
            if (everyEffect) {
                it.effects.outline = it.effects.shadow = it.effects.box = it.effects.boxRounded = true;
                it.effects.shadowSoftnessPt = 1.5f;
            }
        }

        QuietDialogs quiet;
        picture.ApplyTemplate(templ, quiet);
        movedItem = picture.itemCount - 2;
    }
};
