#include "formatbar/ColorButton.h"

#include "imaging/Color.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

CColorButton::CColorButton(QWidget* parent) : QPushButton(parent) {
    // Connected first, so the colour is chosen before any other listener hears the click.
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (active_) PickColor();
    });
}

void CColorButton::SetColor(int colorRef) {
    color_ = colorRef;
    update();
}

bool CColorButton::PickColor() {
    if (!chooser_) return false;
    const std::optional<int> chosen = chooser_->chooseColor(color_, customColors_);
    if (!chosen || *chosen == color_) return false;
    SetColor(*chosen);
    return true;
}

void CColorButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton frame;
    initStyleOption(&frame);
    frame.text.clear();
    frame.icon = QIcon();
    painter.drawControl(QStyle::CE_PushButtonBevel, frame);

    const QRect swatch = rect().adjusted(2, 2, -2, -2);
    painter.fillRect(swatch, imaging::fromColorRef(color_));
    if (!isEnabled()) {
        // Half-tone: every pixel whose coordinates add up to an even number in the button face colour.
        const QColor face = palette().color(QPalette::Disabled, QPalette::Button);
        for (int y = swatch.top(); y <= swatch.bottom(); ++y)
            for (int x = swatch.left() + ((swatch.left() + y) & 1); x <= swatch.right(); x += 2)
                painter.fillRect(QRect(x, y, 1, 1), face);
    }
    if (!text().isEmpty()) paintText(painter, swatch);
}

void CColorButton::paintText(QPainter& painter, const QRect& swatch) {
    QRect box = swatch;
    if (isDown()) box.adjust(0, 0, 2, 2);
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideRight, box.width());
    const int flags = Qt::AlignCenter | Qt::TextSingleLine;
    painter.save();
    painter.setFont(font());
    if (isEnabled()) {
        painter.setPen(palette().color(QPalette::Active, QPalette::ButtonText));
        painter.drawText(box, flags, shown);
    } else {
        painter.setPen(palette().color(QPalette::Light));
        painter.drawText(box.translated(1, 1), flags, shown);
        painter.setPen(palette().color(QPalette::Disabled, QPalette::Text));
        painter.drawText(box, flags, shown);
    }
    painter.restore();
}
