// The work picture: the loaded picture's copy, or a larger picture with room for white space that
// gives it the template's aspect ratio.

#include "compose/PrintFrame.h"
#include "imaging/JpegDecoder.h"
#include "model/DatedPicture.h"
#include "model/Dialogs.h"

#include <algorithm>
#include <cmath>

namespace {

struct WorkSize {
    int width = 0;
    int height = 0;
    float offsetX = 0; // where the picture's top-left corner lies in the work picture
    float offsetY = 0;
};

// The work picture keeps the picture's orientation (a square one counts as wide) and grows along one
// side until its ratio is R; the white space goes before the picture when `before` is set. Ratios are
// computed in single precision, the precision the settings are stored in, so a template gives the
// same sizes wherever it is applied.
WorkSize whiteSpaceFor(float W, float H, float aspectWidth, float aspectHeight, bool before) {
    WorkSize s;
    const float longSide = std::max(aspectWidth, aspectHeight);
    const float shortSide = std::min(aspectWidth, aspectHeight);
    if (!(shortSide > 0) || !std::isfinite(longSide)) return s; // no print has that shape
    const float R = longSide / shortSide;
    int newWidth = 0, newHeight = 0;
    if (H > W) {
        if (H / W < R) {
            newWidth = truncToInt(W);
            newHeight = truncToInt(R * W);
        } else {
            newWidth = truncToInt(H / R);
            newHeight = truncToInt(H);
        }
    } else if (W / H < R) {
        newWidth = truncToInt(R * H);
        newHeight = truncToInt(H);
    } else {
        newWidth = truncToInt(W);
        newHeight = truncToInt(W / R);
    }
    s.width = newWidth;
    s.height = newHeight;
    if (before) {
        // Only one side grows; the other offset stays 0.
        s.offsetX = static_cast<float>(static_cast<long long>(newWidth) - truncToInt(W));
        s.offsetY = static_cast<float>(static_cast<long long>(newHeight) - truncToInt(H));
    }
    return s;
}

} // namespace

void CDatedPicture::BuildWorkPicture(Dialogs& dialogs) {
    if (!picture || picture->isNull()) return;
    StopDecoding();
    workPicture.reset();

    const int W = picture->width(), H = picture->height();
    if (!aspectEnabled && pendingPhoto_) {
        // The photo is decoded into the work picture at the save: memory of its own, described as the
        // photo decoded on its own would be (its resolution sizes the items).
        imaging::Status status = imaging::Status::InvalidParameter;
        workPicture = imaging::Bitmap::create(W, H, QImage::Format_RGB32, status);
        if (!workPicture) {
            dialogs.error("The picture could not be created: out of memory.");
            return;
        }
        pendingPhoto_->describe(workPicture->image());
        whiteOffsetX = whiteOffsetY = 0;
        pictureWidth = static_cast<float>(W);
        pictureHeight = static_cast<float>(H);
        StartDecoding();
        return;
    }
    if (!aspectEnabled) {
        // A copy of the picture that shares its pixels: the first painting on the work picture makes
        // its own copy (which RenderDatedImageForSave avoids).
        workPicture = std::make_unique<imaging::Bitmap>(picture->image());
        whiteOffsetX = whiteOffsetY = 0;
        pictureWidth = static_cast<float>(workPicture ? workPicture->width() : W);
        pictureHeight = static_cast<float>(workPicture ? workPicture->height() : H);
        return;
    }

    const bool before = (H > W ? whiteSideTall : whiteSideWide) == 1;
    const WorkSize size =
        whiteSpaceFor(static_cast<float>(W), static_cast<float>(H), aspectWidth, aspectHeight, before);
    whiteOffsetX = size.offsetX;
    whiteOffsetY = size.offsetY;
    pictureWidth = static_cast<float>(W);
    pictureHeight = static_cast<float>(H);

    imaging::Status status = imaging::Status::InvalidParameter;
    // Bitmap::create refuses a size that is not positive or that the allocation limit does not allow.
    workPicture = imaging::Bitmap::create(size.width, size.height, picture->pixelFormat(), status);
    if (!workPicture) {
        dialogs.error("Invalide Aspect Ratio.  Image could not be created.");
        return;
    }
    // The render covers every pixel, but nothing should ever show or save what the memory held before;
    // a photo still to be decoded covers its part itself, and the render the rest, before the save.
    if (pendingPhoto_)
        StartDecoding();
    else
        workPicture->image().fill(0);
}
