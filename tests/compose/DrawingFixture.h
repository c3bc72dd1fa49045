#pragma once

#include "imaging/Graphics.h"
#include "model/DatedPicture.h"

#include <QImage>
#include <QRect>

#include <memory>
#include <string>

// A model with a white work picture of a chosen size, and helpers to place and draw its items.
class DrawingFixture {
public:
    DrawingFixture(int width, int height) {
        model.workPicture = std::make_unique<imaging::Bitmap>(QImage(width, height, QImage::Format_RGB32));
        clear();
    }

    int addItem(const std::string& text, int anchor = 0) {
        model.AppendItem();
        const int index = model.itemCount - 1;
        ImprintItem& it = model.item(index);
        it.visible = 1;
        it.valueText = text;
        it.anchor = anchor;
        return index;
    }

    ImprintItem& item(int index) { return model.item(index); }

    // Places the item, measuring it on a scratch surface, so the work picture stays clean.
    void place(int index) {
        imaging::Bitmap scratch(QImage(8, 8, QImage::Format_RGB32));
        imaging::Graphics g(scratch);
        // measuring needs the real work picture's size only, which the model reads itself
        model.PlaceItem(index, g);
    }

    void draw(int index) {
        imaging::Graphics g(*model.workPicture);
        model.DrawItem(model.item(index), g);
    }

    void clear() { model.workPicture->image().fill(Qt::white); }

    const QImage& image() const { return model.workPicture->image(); }

    // The smallest rectangle holding every pixel that is not white.
    QRect ink() const {
        const QImage& img = image();
        int left = img.width(), top = img.height(), right = -1, bottom = -1;
        for (int y = 0; y < img.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
            for (int x = 0; x < img.width(); ++x) {
                if ((line[x] & 0xFFFFFF) == 0xFFFFFF) continue;
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
        }
        return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
    }

    // The item's box in work-picture pixels.
    QRect box(int index) {
        const ImprintItem& it = model.item(index);
        return QRect(it.posX + it.bounds.x, it.posY + it.bounds.y, it.bounds.width, it.bounds.height);
    }

    CDatedPicture model;
};
