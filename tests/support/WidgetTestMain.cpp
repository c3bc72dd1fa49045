// The main of test programs that make widgets, which need a QApplication where the other programs
// make do with TestMain.cpp's QGuiApplication.

#include "support/TestMainBody.h"

#include <QApplication>

int main(int argc, char** argv) {
    return runTests<QApplication>(argc, argv);
}
