#pragma once

#include <QComboBox>

// A drop-down list whose rows show a small picture before their text, in the list and in the closed
// box alike. Subclasses draw the picture and say where the text starts.
class CPictureCombo : public QComboBox {
    Q_OBJECT

public:
    explicit CPictureCombo(QWidget* parent = nullptr);

    // The height every row of the list reports, view pixels.
    void setRowHeight(int height);
    int rowHeight() const { return rowHeight_; }

    enum class RowLook { InList, Selected, InClosedBox };
    // Paints one row into `box` (view pixels): the highlight when selected, the picture, the text.
    void paintRow(QPainter& painter, const QRect& box, int row, RowLook look) const;
    // The width a row needs to show whole.
    int rowWidth(int row) const;

protected:
    // Draws the row's picture; `box` is the whole row. Rows without a picture draw nothing.
    virtual void drawPicture(QPainter& painter, const QRect& box, int row) const = 0;
    // Where every row's text starts, from the row's left side.
    virtual int textOffset() const = 0;

    void paintEvent(QPaintEvent* event) override;

private:
    int rowHeight_ = 16;
};
