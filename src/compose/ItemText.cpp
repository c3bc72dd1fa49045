#include "compose/ItemText.h"

#include "compose/EffectCache.h"

#include "imaging/Blur.h"
#include "imaging/Brush.h"
#include "imaging/Color.h"
#include "imaging/Font.h"
#include "imaging/Graphics.h"

#include <QImage>

#include <algorithm>
#include <cmath>

namespace {

// The largest shadow image made for one item: a text too large for it is drawn without softness.
constexpr double kMostShadowPixels = 16e6;

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find('\n', from)) != std::string::npos; from = at + 1)
        lines.push_back(text.substr(from, at - from));
    lines.push_back(text.substr(from));
    return lines;
}

double lineX(const ItemTextLayout& layout, std::size_t line) {
    return layout.room.left() + (layout.alignRight ? layout.textWidth - layout.lineWidths[line] : 0);
}

double lineY(const ItemTextLayout& layout, std::size_t line) {
    return layout.room.top() + static_cast<double>(line) * layout.lineHeight;
}

} // namespace

ItemTextLayout layOutItemText(const std::string& text, const imaging::Font& font, const TextEffects& effects,
                              double pixelsPerPoint, bool alignRight, imaging::Graphics& graphics) {
    ItemTextLayout layout;
    layout.alignRight = alignRight;
    layout.lines = splitLines(text);
    for (const std::string& line : layout.lines) {
        const QRectF box = graphics.measureString(line, font);
        layout.lineWidths.push_back(box.width());
        layout.lineHeight = box.height();
        layout.textWidth = std::max(layout.textWidth, box.width());
    }
    layout.textHeight = layout.lineHeight * static_cast<double>(layout.lines.size());

    // Each effect needs room on each side; the room is the most any of them needs there.
    double left = 0, top = 0, right = 0, bottom = 0;
    const auto need = [&](double l, double t, double r, double b) {
        left = std::max(left, l);
        top = std::max(top, t);
        right = std::max(right, r);
        bottom = std::max(bottom, b);
    };
    if (effects.box) {
        const double pad = effects.boxPaddingPt * pixelsPerPoint;
        need(pad, pad, pad, pad);
    }
    if (effects.outline) {
        const double reach = effects.outlineWidthPt * pixelsPerPoint;
        need(reach, reach, reach, reach);
    }
    if (effects.shadow) {
        const double offset = effects.shadowOffsetPt * pixelsPerPoint,
                     soft = effects.shadowSoftnessPt * pixelsPerPoint;
        need(std::max(0.0, soft - offset), std::max(0.0, soft - offset), offset + soft, offset + soft);
    }
    const auto whole = [](double v) { return std::ceil(v); }; // the measured box is whole pixels
    layout.room = QMarginsF(whole(left), whole(top), whole(right), whole(bottom));
    return layout;
}

void drawItemText(imaging::Graphics& graphics, const ItemTextLayout& layout, const imaging::Font& font,
                  const TextEffects& effects, double pixelsPerPoint, const QColor& textColor,
                  const QColor& outlineColor, EffectCache& cache) {
    if (effects.box) {
        const double pad = effects.boxPaddingPt * pixelsPerPoint;
        const QRectF box(layout.room.left() - pad, layout.room.top() - pad, layout.textWidth + 2 * pad,
                         layout.textHeight + 2 * pad);
        const double radius = effects.boxRounded ? std::min(box.height(), box.width()) / 4 : 0;
        graphics.fillRoundedRectangle(
            imaging::Brush::solid(imaging::fromColorRef(effects.boxColor, effects.boxOpacity)), box, radius);
    }

    if (effects.shadow) {
        const QColor color = imaging::fromColorRef(effects.shadowColor, textColor.alpha());
        const double offset = effects.shadowOffsetPt * pixelsPerPoint;
        const int soft = static_cast<int>(std::lround(effects.shadowSoftnessPt * pixelsPerPoint));
        const QSizeF text(layout.textWidth + 2 * soft, layout.textHeight + 2 * soft);
        if (soft < 1 || text.width() * text.height() > kMostShadowPixels) {
            const imaging::Brush brush = imaging::Brush::solid(color);
            for (std::size_t i = 0; i < layout.lines.size(); ++i)
                graphics.drawString(layout.lines[i], font,
                                    QPointF(lineX(layout, i) + offset, lineY(layout, i) + offset), brush);
        } else {
            // Drawn sharp on its own picture, softened there, and laid down with its offset.
            const QFont& f = font.qfont();
            QString key = QStringLiteral("%1|%2|%3|%4|%5|%6|%7")
                              .arg(f.family())
                              .arg(f.pixelSize())
                              .arg(f.weight())
                              .arg(f.italic())
                              .arg(color.rgba())
                              .arg(soft)
                              .arg(layout.alignRight);
            for (const std::string& line : layout.lines)
                key += QLatin1Char('\n') + QString::fromStdString(line);
            QImage shadow = cache.findShadow(key);
            if (shadow.isNull()) {
                shadow =
                    QImage(static_cast<int>(std::ceil(text.width())),
                           static_cast<int>(std::ceil(text.height())), QImage::Format_ARGB32_Premultiplied);
                shadow.fill(Qt::transparent);
                {
                    imaging::Graphics onShadow(&shadow);
                    const imaging::Brush brush = imaging::Brush::solid(color);
                    for (std::size_t i = 0; i < layout.lines.size(); ++i)
                        onShadow.drawString(layout.lines[i], font,
                                            QPointF(lineX(layout, i) - layout.room.left() + soft,
                                                    lineY(layout, i) - layout.room.top() + soft),
                                            brush);
                }
                imaging::blurImage(shadow, soft);
                cache.keepShadow(key, shadow);
            }
            const QPointF at(layout.room.left() + offset - soft, layout.room.top() + offset - soft);
            graphics.drawImage(shadow, QRectF(at, shadow.size()), QRectF(shadow.rect()));
        }
    }

    if (effects.outline) {
        const double reach = effects.outlineWidthPt * pixelsPerPoint;
        const QColor color(outlineColor.red(), outlineColor.green(), outlineColor.blue(), textColor.alpha());
        const QFont& f = font.qfont();
        for (std::size_t i = 0; i < layout.lines.size(); ++i) {
            const QString key = QStringLiteral("%1|%2|%3|%4|%5|")
                                    .arg(f.family())
                                    .arg(f.pixelSize())
                                    .arg(f.weight())
                                    .arg(f.italic())
                                    .arg(reach) +
                                QString::fromStdString(layout.lines[i]);
            // Stroked once on its own picture and laid down on every draw: stroking glyphs is slow.
            const int margin = static_cast<int>(std::ceil(reach)) + 1;
            QImage outline = cache.findOutline(key + QString::number(color.rgba()));
            if (outline.isNull()) {
                outline = QImage(static_cast<int>(std::ceil(layout.lineWidths[i])) + 2 * margin,
                                 static_cast<int>(std::ceil(layout.lineHeight)) + 2 * margin,
                                 QImage::Format_ARGB32_Premultiplied);
                outline.fill(Qt::transparent);
                imaging::Graphics onOutline(&outline);
                onOutline.fillPath(
                    onOutline.outlineOfString(layout.lines[i], font, reach).translated(margin, margin),
                    color);
                cache.keepOutline(key + QString::number(color.rgba()), outline);
            }
            const QPointF at(lineX(layout, i) - margin, lineY(layout, i) - margin);
            graphics.drawImage(outline, QRectF(at, outline.size()), QRectF(outline.rect()));
        }
    }

    const imaging::Brush brush = imaging::Brush::solid(textColor);
    for (std::size_t i = 0; i < layout.lines.size(); ++i)
        graphics.drawString(layout.lines[i], font, QPointF(lineX(layout, i), lineY(layout, i)), brush);
}
