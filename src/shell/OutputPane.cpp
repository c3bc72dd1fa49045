#include "shell/OutputPane.h"

#include <QPainter>
#include <QStyle>

COutputPane::COutputPane(int width, QWidget* parent) : QWidget(parent) {
    setFixedWidth(width);
    setMinimumHeight(fontMetrics().height() + 4);
}

void COutputPane::setText(const QString& text) {
    if (text == text_) return;
    text_ = text;
    setToolTip(text);
    update();
}

void COutputPane::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect box = rect().adjusted(4, 0, -4, 0);
    const QString shown = fontMetrics().elidedText(text_, Qt::ElideMiddle, box.width());
    style()->drawItemText(&painter, box, Qt::AlignLeft | Qt::AlignVCenter, palette(), isEnabled(), shown,
                          QPalette::WindowText);
}
