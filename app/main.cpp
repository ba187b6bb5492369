#include "core/Clock.h"
#include "db/DemoShop.h"
#include "db/Open.h"
#include "db/ProgramLog.h"
#include "db/procedures/Backup.h"
#include "program/Program.h"
#include "ui/QtTranslations.h"

#include <termios.h>
#include <unistd.h>
#include <QApplication>
#include <QDir>
#include <QFile>
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

// One line from the terminal without echoing it; from a pipe, its first line.
QString readSecret(const QString& prompt) {
    QTextStream err(stderr);
    err << prompt << Qt::flush;
    termios saved{};
    const bool terminal = isatty(STDIN_FILENO) && tcgetattr(STDIN_FILENO, &saved) == 0;
    if (terminal) {
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
    }
    const QString line = QTextStream(stdin).readLine();
    if (terminal) {
        tcsetattr(STDIN_FILENO, TCSANOW, &saved);
        err << Qt::endl;
    }
    return line;
}

bool isArchive(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) && f.read(2) == "PK";
}

// `velcaris --restore FILE` puts a copy (or its archive, asking for the archive's password) into
// the configured database when that one is new or empty. Exits 0, or prints one line and exits 2.
int restoreDatabase(const QString& file) {
    try {
        const auto info = db::ConnectionInfo::parse(db::Settings::load().databaseUrl());
        if (!info)
            throw db::Error(QStringLiteral("configuracion"),
                            QStringLiteral("la direccion de la base de datos no es valida"));
        const QString password =
            isArchive(file) ? readSecret(QStringLiteral("Clave del archivo (Enter si no tiene): "))
                            : QString();
        db::proc::restoreDatabase(*info, file, password);
        QTextStream(stdout) << "velcaris: base de datos restaurada: " << info->display()
                            << Qt::endl;
        return 0;
    } catch (const db::Error& e) {
        QTextStream(stderr) << "velcaris: " << e.where() << ": " << e.serverText().simplified()
                            << Qt::endl;
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
    if (const qsizetype at = args.indexOf(QStringLiteral("--restore")); at >= 0) {
        QCoreApplication core(argc, argv);
        return restoreDatabase(args.value(at + 1));
    }
    QApplication app(argc, argv);
    ui::loadQtTranslations();
    return program::runGui();
}
