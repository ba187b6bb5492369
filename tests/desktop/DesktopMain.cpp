#include "core/Clock.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

// The desktop tests run the real windows on the X display VELCARIS_TEST_DISPLAY names (a
// throwaway Xvfb with a window manager, scripts/desktop), so activation and focus are the window
// manager's and not faked. Without it they skip, offscreen.
int main(int argc, char** argv) {
    core::readTimeZoneOnce();
    const QByteArray display = qgetenv("VELCARIS_TEST_DISPLAY");
    if (display.isEmpty()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    } else {
        qputenv("QT_QPA_PLATFORM", "xcb");
        qputenv("DISPLAY", display);
    }
    QTemporaryDir home;
    testsupport::useTemporaryHome(home);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
