#include "formatbar/PictureCombo.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QStyledItemDelegate>

namespace {

// Hands the list's rows to the combo box that draws them.
class RowDelegate : public QStyledItemDelegate {
public:
    explicit RowDelegate(CPictureCombo* combo) : QStyledItemDelegate(combo), combo_(combo) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const bool selected = option.state & QStyle::State_Selected;
        combo_->paintRow(*painter, option.rect, index.row(),
                         selected ? CPictureCombo::RowLook::Selected : CPictureCombo::RowLook::InList);
    }
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex& index) const override {
        return {combo_->rowWidth(index.row()), combo_->rowHeight()};
    }

private:
    CPictureCombo* combo_;
};

} // namespace

CPictureCombo::CPictureCombo(QWidget* parent) : QComboBox(parent) {
    setItemDelegate(new RowDelegate(this));
}

void CPictureCombo::setRowHeight(int height) {
    rowHeight_ = height;
    view()->doItemsLayout();
}

void CPictureCombo::paintRow(QPainter& painter, const QRect& box, int row, RowLook look) const {
    painter.save();
    const QPalette::ColorGroup group = isEnabled() ? QPalette::Active : QPalette::Disabled;
    switch (look) {
    case RowLook::Selected:
        painter.fillRect(box, palette().color(group, QPalette::Highlight));
        painter.setPen(palette().color(group, QPalette::HighlightedText));
        break;
    case RowLook::InList:
        painter.setPen(palette().color(group, QPalette::Text));
        break;
    case RowLook::InClosedBox:
        painter.setPen(palette().color(group, QPalette::ButtonText));
        break;
    }
    if (!isEnabled()) painter.setOpacity(0.45);
    drawPicture(painter, box, row);
    painter.setOpacity(1.0);
    const QRect textBox = box.adjusted(textOffset(), 0, 0, 0);
    painter.setFont(font());
    painter.drawText(textBox, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, itemText(row));
    painter.restore();
}

int CPictureCombo::rowWidth(int row) const {
    return textOffset() + fontMetrics().horizontalAdvance(itemText(row)) + 8;
}

void CPictureCombo::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    if (currentIndex() < 0) return;
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    painter.setClipRect(field);
    paintRow(painter, field, currentIndex(), RowLook::InClosedBox);
}
