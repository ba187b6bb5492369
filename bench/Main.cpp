#include "Support.h"
#include "core/Clock.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <exception>
#include <iostream>

// Widgets run offscreen and the program's settings never touch the user's own files.
int main(int argc, char** argv) {
    core::readTimeZoneOnce();
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    if (!qEnvironmentVariableIsSet("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toUtf8());
    QDir(home.path()).mkpath(QStringLiteral("config"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    try {
        bench::registerBenchmarks();
        benchmark::RunSpecifiedBenchmarks();
        bench::releaseAll();
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        bench::releaseAll();
        return 1;
    }
    benchmark::Shutdown();
    return 0;
}
