#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

// The desktop tests run the real windows on the X display VELCARIS_TEST_DISPLAY names (a
// throwaway Xvfb with a window manager, scripts/desktop), so activation and focus are the window
// manager's and not faked. Without it they skip, offscreen.
int main(int argc, char** argv) {
    const QByteArray display = qgetenv("VELCARIS_TEST_DISPLAY");
    if (display.isEmpty()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    } else {
        qputenv("QT_QPA_PLATFORM", "xcb");
        qputenv("DISPLAY", display);
    }
    QTemporaryDir home;
    if (!qEnvironmentVariableIsSet("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toUtf8());
    QDir(home.path()).mkpath(QStringLiteral("config"));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
