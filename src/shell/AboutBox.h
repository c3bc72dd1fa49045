#pragma once

#include <QDialog>

// "About Imprix": the application's icon, its name and version, and an OK button.
class CAboutBox : public QDialog {
    Q_OBJECT

public:
    explicit CAboutBox(QWidget* parent = nullptr);
};
