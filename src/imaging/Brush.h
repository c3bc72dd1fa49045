#pragma once

#include "imaging/Status.h"

#include <QBrush>
#include <QColor>
#include <QPen>

#include <optional>

namespace imaging {

// Owner of a fill: a solid colour, or a hatch pattern over a background colour.
class Brush : public StatusOwner {
public:
    static Brush solid(const QColor& argb) { return Brush(QBrush(argb), std::nullopt); }

    // Hatch brushes fill their background first and lay the pattern over it.
    static Brush hatch(Qt::BrushStyle pattern, const QColor& fore, const QColor& back) {
        return Brush(QBrush(fore, pattern), back);
    }

    const QBrush& pattern() const { return pattern_; }
    const std::optional<QColor>& background() const { return background_; }

private:
    Brush(QBrush pattern, std::optional<QColor> background)
        : pattern_(std::move(pattern)), background_(std::move(background)) {}

    QBrush pattern_;
    std::optional<QColor> background_;
};

// Owner of a line style: colour and width in pixels.
class Pen : public StatusOwner {
public:
    explicit Pen(const QColor& argb, qreal width = 1.0) : pen_(QBrush(argb), width) {
        pen_.setCosmetic(width <= 1.0);
    }
    Pen(const Brush& brush, qreal width) : pen_(brush.pattern(), width) {}

    const QPen& qpen() const { return pen_; }

private:
    QPen pen_;
};

} // namespace imaging
