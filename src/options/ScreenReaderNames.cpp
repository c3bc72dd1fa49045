#include "options/ScreenReaderNames.h"

#include <QAbstractSpinBox>
#include <QBoxLayout>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>

namespace {

bool isInput(const QWidget* w) {
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QAbstractSpinBox*>(w);
}

// The first input of a layout item: the widget itself, or the first one in a nested layout.
QWidget* firstInput(QLayoutItem* item) {
    if (!item) return nullptr;
    if (QWidget* w = item->widget()) return isInput(w) ? w : nullptr;
    if (QLayout* inner = item->layout())
        for (int i = 0; i < inner->count(); ++i)
            if (QWidget* w = firstInput(inner->itemAt(i))) return w;
    return nullptr;
}

QString spoken(QString text) {
    text.remove(QLatin1Char('&'));
    while (text.endsWith(QLatin1Char(':')) || text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    return text;
}

void link(QLabel* label, QWidget* input) {
    if (!label || !input || label->buddy() || label->text().isEmpty()) return;
    label->setBuddy(input);
    if (input->accessibleName().isEmpty()) input->setAccessibleName(spoken(label->text()));
}

void linkLayout(QLayout* layout) {
    if (!layout) return;
    if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
        for (int r = 0; r < grid->rowCount(); ++r)
            for (int c = 0; c + 1 < grid->columnCount(); ++c) {
                QLayoutItem* item = grid->itemAtPosition(r, c);
                auto* label = item ? qobject_cast<QLabel*>(item->widget()) : nullptr;
                if (label) link(label, firstInput(grid->itemAtPosition(r, c + 1)));
            }
    } else if (qobject_cast<QBoxLayout*>(layout)) {
        for (int i = 0; i + 1 < layout->count(); ++i)
            if (auto* label = qobject_cast<QLabel*>(layout->itemAt(i)->widget()))
                link(label, firstInput(layout->itemAt(i + 1)));
    }
    for (int i = 0; i < layout->count(); ++i)
        linkLayout(layout->itemAt(i)->layout());
}

} // namespace

void nameControlsForScreenReaders(QWidget* root) {
    if (!root) return;
    linkLayout(root->layout());
    for (QWidget* child : root->findChildren<QWidget*>())
        linkLayout(child->layout());
    for (QWidget* child : root->findChildren<QWidget*>()) {
        if (!isInput(child) || !child->accessibleName().isEmpty()) continue;
        for (QWidget* up = child->parentWidget(); up && up != root->parentWidget(); up = up->parentWidget())
            if (auto* group = qobject_cast<QGroupBox*>(up)) {
                child->setAccessibleName(spoken(group->title()));
                break;
            }
    }
}
