// Drawing one item's text on the work picture, and the box its rotated text covers.

#include "compose/ItemText.h"
#include "compose/PrintFrame.h"
#include "model/DateFormat.h"
#include "model/DateSources.h"
#include "model/DatedPicture.h"
#include "model/TagCatalogue.h"

#include "imaging/Color.h"
#include "imaging/Graphics.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kRadiansPerDegree = 0.017453;

// A face name holds 31 bytes besides its terminator; never cut inside a UTF-8 sequence.
std::string faceName(const std::string& name) {
    if (name.size() <= 31) return name;
    std::size_t n = 31;
    while (n > 0 && (static_cast<unsigned char>(name[n]) & 0xC0) == 0x80)
        --n;
    return name.substr(0, n);
}

// Lines of text line up on the side of the item's corner.
bool anchoredRight(int anchor) {
    return anchor == 1 || anchor == 3 || anchor == 5 || anchor == 7;
}

} // namespace

void CDatedPicture::DrawItem(ImprintItem& item, imaging::Graphics& graphics) {
    if (item.tag == kTagWatermark) {
        DrawWatermark(item, graphics);
        return;
    }
    if (!workPicture) return;

    std::string value = item.valueText;
    if (isDateTag(item.tag)) {
        // A date found by the item's sources when its own tag gave none (or none that can be shown).
        try {
            value = FormatDate(DateTextOf(item), dateFormat, ShowingOf(item));
        } catch (const DateConversionError& e) {
            NoteDateProblem("The date of \"" + item.displayName + "\" cannot be shown: " + e.what());
            return;
        }
    }
    const std::string text = item.label + value + item.unit;

    const PrintFrame frame(workPicture->width(), workPicture->height(), aspectWidth, aspectHeight);
    graphics.beginContainer();
    graphics.translate(item.posX, item.posY);
    graphics.rotate(item.angle);

    const double pixelsPerPoint = frame.longPx() / frame.printLong / 72.0;
    imaging::LogFont logFont;
    logFont.faceName = faceName(item.fontName);
    logFont.height = truncToInt(item.fontSize * pixelsPerPoint);
    logFont.weight = item.weight();
    logFont.italic = item.isItalic();
    const imaging::Font font(logFont);

    // The measured box holds the text and the room its effects take, so placing, the selection frame
    // and hit-testing all count them.
    const ItemTextLayout layout =
        layOutItemText(text, font, item.effects, pixelsPerPoint, anchoredRight(item.anchor), graphics);
    const QSizeF box = layout.size();
    item.textWidthPx = truncToInt(box.width());
    item.textHeightPx = truncToInt(box.height());
    item.textWidthPt = truncToInt(box.width() / frame.longPx() * frame.printLong * 72.0);
    item.textHeightPt = truncToInt(box.height() / frame.longPx() * frame.printLong * 72.0);

    const bool automatic = item.effects.autoColor && item.autoColor >= 0;
    const int color = automatic ? item.autoColor : item.color;
    const int outline =
        automatic ? (item.autoColor == kAutoWhite ? kAutoBlack : kAutoWhite) : item.effects.outlineColor;
    drawItemText(graphics, layout, font, item.effects, pixelsPerPoint,
                 imaging::fromColorRef(color, item.opacity & 0xFF), imaging::fromColorRef(outline), effects_);
    graphics.endContainer();
}

void CDatedPicture::ComputeItemBounds(ImprintItem& item) {
    const double w = item.textWidthPx;
    const double h = item.textHeightPx;
    const double a = item.angle * kRadiansPerDegree;
    const double b = (90.0 - item.angle) * kRadiansPerDegree; // in double: a template may hold any angle
    const int x1 = truncToInt(w * std::cos(a));
    const int y1 = truncToInt(w * std::sin(a));
    const int x3 = truncToInt(-h * std::cos(b));
    const int y3 = truncToInt(h * std::sin(b));
    const int x2 = truncToInt(x1 - h * std::cos(b));
    const int y2 = truncToInt(y1 + h * std::sin(b));
    const int left = std::min({0, x1, x2, x3});
    const int top = std::min({0, y1, y2, y3});
    // Corners at the ends of the int range (a text measured wider than any picture) saturate.
    const auto span = [](int high, int low) { return truncToInt(static_cast<double>(high) - low); };
    item.bounds =
        ItemRect{left, top, span(std::max({0, x1, x2, x3}), left), span(std::max({0, y1, y2, y3}), top)};
}

void CDatedPicture::NoteDateProblem(const std::string& message) {
    const auto key = std::make_pair(pictureSerial, dateFormat);
    if (reportedDateProblem_ == key || !pendingDateProblem_.empty()) return;
    pendingDateProblem_ = message;
}

std::optional<std::string> CDatedPicture::WhyNoDateIsShown(const CDatedPicture& templ) const {
    std::optional<std::string> why;
    for (int t = 0; t < templ.itemCount; ++t) {
        const ImprintItem& wanted = templ.item(t);
        if (!wanted.visible || !isDateTag(wanted.tag)) continue;
        const ImprintItem* shown = nullptr;
        for (int i = 0; i < itemCount && !shown; ++i)
            if (item(i).visible && item(i).tag == wanted.tag) shown = &item(i);
        if (!shown) {
            const TagRow* row = findTag(wanted.tag);
            const std::string name = row ? row->displayName : "date";
            if (!why)
                why = wanted.dateSources.empty()
                          ? "the photo has no " + name
                          : "the photo has no " + name + " and none of its sources a date";
            continue;
        }
        try {
            FormatDate(DateTextOf(*shown), dateFormat, ShowingOf(*shown));
            return std::nullopt;
        } catch (const DateConversionError& e) {
            if (!why) why = "the date of \"" + shown->displayName + "\" cannot be shown: " + e.what();
        }
    }
    return why;
}

std::vector<std::string> CDatedPicture::DatesFromOtherSources() const {
    std::vector<std::string> sources;
    for (int i = 0; i < itemCount; ++i) {
        const ImprintItem& it = item(i);
        if (!it.visible || !isDateTag(it.tag) || it.resolvedDate.empty()) continue;
        std::string name = DateSourceName(it.resolvedFrom);
        if (std::find(sources.begin(), sources.end(), name) == sources.end())
            sources.push_back(std::move(name));
    }
    return sources;
}

std::optional<std::string> CDatedPicture::TakeDateProblem() {
    if (pendingDateProblem_.empty()) return std::nullopt;
    reportedDateProblem_ = std::make_pair(pictureSerial, dateFormat);
    return std::exchange(pendingDateProblem_, std::string());
}
