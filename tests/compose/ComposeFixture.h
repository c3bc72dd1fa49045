#pragma once

#include "model/DatedPicture.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

#include <QImage>

#include <gtest/gtest.h>

#include <memory>
#include <string>

// A picture model holding a plain picture made in code, a template whose overlay files live in a
// temporary template directory, and the user who is shown the messages.
class ComposeFixture {
public:
    ComposeFixture(int width, int height, QColor color = QColor(0, 0, 200)) {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(color);
        setPicture(std::move(image));
        templ.templateDir = dir.root();
    }

    void setPicture(QImage image) {
        picture.picture = std::make_unique<imaging::Bitmap>(std::move(image));
        picture.bounds = picture.picture->bounds();
    }

    // Appends an item to a model and returns its index.
    static int addItem(CDatedPicture& model, std::uint32_t tag, const std::string& name, int visible = 0) {
        EXPECT_TRUE(model.AppendItem());
        ImprintItem& it = model.item(model.itemCount - 1);
        it = ImprintItem();
        it.tag = tag;
        it.displayName = name;
        it.valueText = name;
        it.visible = visible;
        return model.itemCount - 1;
    }

    // Writes an overlay file into the template directory.
    void writeOverlay(const std::string& name, const QImage& image) {
        ASSERT_TRUE(image.save(QString::fromStdString(dir.path(name)), "PNG")) << name;
    }

    // A visible watermark item in the template.
    int templateWatermark(const std::string& fileName, int opacity = 255) {
        const int i = addItem(templ, kTagWatermark, "Watermark", 1);
        templ.item(i).fontName = fileName;
        templ.item(i).fontSize = opacity;
        return i;
    }

    void applyAndRender() {
        picture.ApplyTemplate(templ, user);
        picture.RenderDatedImage();
    }

    const QImage& work() const { return picture.workPicture->image(); }

    TempDir dir;
    CDatedPicture picture;
    CDatedPicture templ;
    ScriptedDialogs user;
};

// A pixel within `tolerance` of the wanted colour in each of red, green and blue.
inline ::testing::AssertionResult pixelNear(const QImage& image, int x, int y, QColor want, int tolerance) {
    const QColor got = image.pixelColor(x, y);
    if (std::abs(got.red() - want.red()) <= tolerance && std::abs(got.green() - want.green()) <= tolerance &&
        std::abs(got.blue() - want.blue()) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "pixel (" << x << ", " << y << ") is " << got.name().toStdString() << ", wanted "
           << want.name().toStdString() << " within " << tolerance;
}

// Empty when the two images are equal pixel for pixel, else where they first differ.
inline std::string firstDifference(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return "sizes differ";
    for (int y = 0; y < a.height(); ++y) {
        const auto* la = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* lb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x)
            if (la[x] != lb[x])
                return "first difference at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
    }
    return {};
}
