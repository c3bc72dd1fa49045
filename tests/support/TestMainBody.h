#pragma once

// The one main of every test program, on the application class the program needs: QGuiApplication
// for the core, QApplication for widgets. Include it in exactly one source file of a program.

#include <QByteArray>
#include <QtGlobal>

#include <gtest/gtest.h>

#if defined(__SANITIZE_ADDRESS__)
// Tests ask for absurd amounts of memory on purpose to see the product refuse them gracefully: let
// the sanitizer's allocator fail such requests like the real one instead of stopping the run.
extern "C" const char* __asan_default_options() {
    return "allocator_may_return_null=1:max_allocation_size_mb=65536";
}
#endif

template <typename Application> int runTests(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    Application app(argc, argv);
    return RUN_ALL_TESTS();
}
