#include "db/Migrations.h"

#include <QDir>
#include <QFile>
#include <map>

namespace db {

namespace {

QString folder(Dialect dialect) {
    return dialect == Dialect::SQLite ? QStringLiteral(":/schema/sqlite")
                                      : QStringLiteral(":/schema/postgres");
}

// Migration files "NNN_name.sql" by number.
std::map<int, QString> migrations(Dialect dialect) {
    std::map<int, QString> out;
    const QDir dir(folder(dialect));
    for (const QString& name : dir.entryList({QStringLiteral("*.sql")}, QDir::Files, QDir::Name)) {
        bool ok = false;
        const int number = name.section(QLatin1Char('_'), 0, 0).toInt(&ok);
        if (ok)
            out[number] = dir.filePath(name);
    }
    return out;
}

QString readAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("migrate"), QStringLiteral("no se pudo leer ") + path);
    return QString::fromUtf8(f.readAll());
}

bool hasVersionTable(Db& db) {
    const QString sql =
        db.dialect() == Dialect::SQLite
            ? QStringLiteral(
                  "SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' AND "
                  "name = 'schema_version'")
            : QStringLiteral(
                  "SELECT COUNT(*) FROM information_schema.tables WHERE "
                  "table_schema = current_schema() AND table_name = 'schema_version'");
    return integer(db.scalar(sql)) > 0;
}

}  // namespace

int latestSchemaVersion(Dialect dialect) {
    const auto all = migrations(dialect);
    return all.empty() ? 0 : all.rbegin()->first;
}

int schemaVersion(Db& db) {
    if (!hasVersionTable(db))
        return 0;
    return integer(db.scalar(QStringLiteral("SELECT MAX(version) FROM schema_version")));
}

void migrate(Db& db) {
    Db::Transaction tx(db);
    // Taken first so that two workstations starting at once upgrade one after the other.
    db.lock(QStringLiteral("schema_version"));
    db.exec(
        QStringLiteral("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER PRIMARY KEY, "
                       "applied VARCHAR(19) NOT NULL)"));
    const int current = schemaVersion(db);
    const int latest = latestSchemaVersion(db.dialect());
    if (current > latest)
        throw Error(QStringLiteral("migrate"),
                    QStringLiteral("La base de datos es de una version mas nueva del programa "
                                   "(esquema %1, este programa conoce hasta el %2). Actualice el "
                                   "programa.")
                        .arg(current)
                        .arg(latest));
    for (const auto& [number, path] : migrations(db.dialect())) {
        if (number <= current)
            continue;
        db.execScript(readAll(path));
        db.exec(QStringLiteral("INSERT INTO schema_version (version, applied) VALUES (?, ?)"),
                {number, dateTimeText(QDateTime::currentDateTime())});
    }
    tx.commit();
}

}  // namespace db
