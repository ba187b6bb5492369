#include "core/Clock.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

// Test defaults are set here rather than through ctest: widgets run offscreen and the
// program's settings never touch the developer's own files.
int main(int argc, char** argv) {
    core::readTimeZoneOnce();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    testsupport::useTemporaryHome(home);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
