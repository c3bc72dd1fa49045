#include "compose/LosslessCopy.h"

#include "imaging/Graphics.h"
#include "imaging/ImageDecoder.h"
#include "imaging/JpegCoefficients.h"
#include "imaging/LocalFile.h"
#include "model/DatedPicture.h"

#include <QRegion>

#include <vector>

namespace {

// A watermark over less than this share of the picture is drawn like any item.
constexpr double kCoveringWatermark = 0.5;

struct Patch {
    QRect area; // whole MCUs, work-picture pixels
    QImage before;
    QImage after;
};

} // namespace

std::string wholePictureReason(const CDatedPicture& model) {
    const bool photo = model.workPicture && !model.workPicture->isNull();
    if (model.aspectEnabled &&
        (!photo || model.workPicture->width() != static_cast<int>(model.pictureWidth) ||
         model.workPicture->height() != static_cast<int>(model.pictureHeight)))
        return "white space";
    if (model.borderBitmap && !model.borderBitmap->isNull()) return "border";
    const int w = model.watermarkIndex;
    if (w >= 0 && w < model.itemCount && model.item(w).visible && model.watermarkBitmap &&
        !model.watermarkBitmap->isNull()) {
        if (!photo) return "watermark";
        const QRect covered = model.ItemCoverage(w);
        const double share = static_cast<double>(covered.width()) * covered.height() /
                             (static_cast<double>(model.workPicture->width()) * model.workPicture->height());
        if (share >= kCoveringWatermark) return "watermark";
    }
    return {};
}

std::string makeLosslessCopy(const CDatedPicture& model, const std::string& photoPath, QByteArray& jpeg) {
    jpeg.clear();
    if (!model.workPicture || model.workPicture->isNull()) return "no picture";
    if (std::string reason = wholePictureReason(model); !reason.empty()) return reason;

    QFile file;
    if (const std::string problem = imaging::openLocalFile(file, photoPath); !problem.empty()) return problem;
    const QByteArray photo = file.readAll();
    imaging::JpegCoefficients coefficients;
    if (std::string reason = coefficients.read(photo, imaging::jpegOrientation(photo)); !reason.empty())
        return reason;
    if (coefficients.size() != model.workPicture->image().size())
        return "a picture of another size than decoded";

    // Drawn on a copy: drawing measures the items again and keeps their effects.
    CDatedPicture scene(model);
    std::string why;
    // A picture read for its size only chooses automatic colours again, from the blocks under the items.
    for (int i = 0; i < scene.itemCount && scene.pixelsUnread; ++i) {
        const ImprintItem& it = scene.item(i);
        if (!it.visible || !it.effects.autoColor) continue;
        const QRect box = coefficients.wholeMcus(
            QRect(it.posX + it.bounds.x, it.posY + it.bounds.y, it.bounds.width, it.bounds.height));
        if (box.isEmpty()) continue;
        const QImage under = coefficients.decode(box, why);
        if (under.isNull()) return why;
        scene.ChooseAutoColor(i, under, box.topLeft());
    }

    // The MCUs under the items, in rectangles that do not overlap, so that each is drawn on once.
    QRegion touched;
    for (int i = 0; i < scene.itemCount; ++i)
        if (scene.item(i).visible) touched += coefficients.wholeMcus(scene.ItemCoverage(i));
    const QSize mcu = coefficients.mcuSize();
    std::vector<Patch> patches;
    for (const QRect& area : touched) {
        // Decoded with an MCU of their neighbours around, so that the chroma next to the rectangle's
        // edges is upsampled as in the whole picture.
        const QRect wider =
            coefficients.wholeMcus(area.adjusted(-mcu.width(), -mcu.height(), mcu.width(), mcu.height()));
        QImage pixels = coefficients.decode(wider, why);
        if (pixels.isNull()) return why;
        Patch patch{area, pixels.copy(area.translated(-wider.topLeft())), {}};
        scene.RenderItemsOnto(pixels, wider.topLeft());
        patch.after = pixels.copy(area.translated(-wider.topLeft()));
        patches.push_back(std::move(patch));
    }
    for (const Patch& patch : patches)
        if (coefficients.replace(patch.before, patch.after, patch.area.topLeft(), why) < 0) return why;
    if (std::string problem = coefficients.write(jpeg); !problem.empty()) return problem;
    return {};
}

void CDatedPicture::RenderItemsOnto(QImage& pixels, QPoint at) {
    if (!workPicture || pixels.isNull()) return;
    const QRect area(at, pixels.size());
    imaging::Graphics graphics(&pixels);
    graphics.translate(-at.x(), -at.y());
    for (int i = 0; i < itemCount; ++i) {
        ImprintItem& it = item(i);
        if (it.visible && ItemCoverage(i).intersects(area)) DrawItem(it, graphics);
    }
}
