#include "core/Clock.h"
#include "db/DemoShop.h"
#include "db/Open.h"
#include "db/ProgramLog.h"
#include "program/Program.h"
#include "ui/QtTranslations.h"

#include <QApplication>
#include <QDir>
#include <QTextStream>
#include <cstdio>

namespace {

// `velcaris --init-db` creates or upgrades the configured database; `--demo` also loads the demo
// shop into a database without users. Both exit 0, or print one line and exit 2.
int initDatabase(bool demo) {
    QTextStream err(stderr);
    try {
        const db::Settings settings = db::Settings::load();
        auto database = db::openConfigured(settings);
        if (demo) {
            db::loadDemoShop(*database);
            // The demo workstation has every drive, so facturas leave their tax files.
            for (const char drive : {'C', 'D', 'E'})
                QDir().mkpath(settings.drive(QLatin1Char(drive)));
        }
        QTextStream(stdout) << "velcaris: base de datos lista: " << database->info().display()
                            << Qt::endl;
        return 0;
    } catch (const db::Error& e) {
        err << "velcaris: " << e.where() << ": " << e.serverText().simplified() << Qt::endl;
        return 2;
    }
}

}  // namespace

int main(int argc, char** argv) {
    core::readTimeZoneOnce();
    db::startLog(db::Settings::load());
    const QStringList args = [&] {
        QStringList out;
        for (int i = 1; i < argc; ++i)
            out << QString::fromLocal8Bit(argv[i]);
        return out;
    }();
    if (args.contains(QStringLiteral("--init-db")) || args.contains(QStringLiteral("--demo"))) {
        QCoreApplication core(argc, argv);
        return initDatabase(args.contains(QStringLiteral("--demo")));
    }
    QApplication app(argc, argv);
    ui::loadQtTranslations();
    return program::runGui();
}
