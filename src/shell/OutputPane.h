#pragma once

#include <QString>
#include <QWidget>

// The status bar's pane that names the dated copy. A text longer than the pane is shown with its
// middle left out; the whole text is the pane's tool tip.
class COutputPane : public QWidget {
    Q_OBJECT

public:
    explicit COutputPane(int width, QWidget* parent = nullptr);

    void setText(const QString& text);
    QString text() const { return text_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
};
