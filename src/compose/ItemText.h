#pragma once

#include "model/ItemExtras.h"

#include <QColor>
#include <QMarginsF>
#include <QSizeF>
#include <QString>

#include <string>
#include <vector>

class EffectCache;

namespace imaging {
class Font;
class Graphics;
} // namespace imaging

// The text of an item as it is drawn: its lines (a line break in the label or unit starts a new
// one), aligned to the side of the item's corner, inside the room its effects take.
struct ItemTextLayout {
    std::vector<std::string> lines;
    std::vector<double> lineWidths; // pixels
    double lineHeight = 0;          // pixels
    double textWidth = 0;           // the widest line
    double textHeight = 0;          // every line
    QMarginsF room;                 // around the text: the box's padding, the outline, the shadow
    bool alignRight = false;        // lines end at the right of the text; else they start at its left

    // The item's measured box: the text and the room around it, pixels.
    QSizeF size() const {
        return QSizeF(room.left() + textWidth + room.right(), room.top() + textHeight + room.bottom());
    }
};

// Lays the text out in the font; effect sizes in print points become pixels at `pixelsPerPoint`.
ItemTextLayout layOutItemText(const std::string& text, const imaging::Font& font, const TextEffects& effects,
                              double pixelsPerPoint, bool alignRight, imaging::Graphics& graphics);

// Draws the laid-out text with its effects, the top-left of the measured box at the origin: the box,
// then the shadow, the outline and the text. The text is in `textColor` (its alpha the item's
// opacity); the outline in `outlineColor`.
void drawItemText(imaging::Graphics& graphics, const ItemTextLayout& layout, const imaging::Font& font,
                  const TextEffects& effects, double pixelsPerPoint, const QColor& textColor,
                  const QColor& outlineColor, EffectCache& cache);
