#include "db/Migrations.h"

#include "db/SqliteFile.h"

#include <QDir>
#include <QFile>
#include <map>

namespace db {

namespace {

QString folder(Dialect dialect) {
    return dialect == Dialect::SQLite ? QStringLiteral(":/schema/sqlite")
                                      : QStringLiteral(":/schema/postgres");
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

// The first of the migrations newer than `current`; 0 for none.
int firstPending(const Migrations& all, int current) {
    const auto next = all.upper_bound(current);
    return next == all.end() ? 0 : next->first;
}

// The copy of a SQLite file that already has a schema, made before its first pending
// migration; empty when none is due.
QString copyBeforeMigrating(Db& db, const Migrations& all) {
    if (!sqlitefile::isFile(db.info()))
        return {};
    const int current = schemaVersion(db);
    const int first = firstPending(all, current);
    if (current < 1 || first == 0)
        return {};
    return sqlitefile::copyBefore(db, first);
}

void apply(Db& db, const Migrations& all) {
    Db::Transaction tx(db);
    // Taken first so that two workstations starting at once upgrade one after the other.
    db.lock(QStringLiteral("schema_version"));
    db.exec(
        QStringLiteral("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER PRIMARY KEY, "
                       "applied VARCHAR(19) NOT NULL)"));
    const int current = schemaVersion(db);
    const int latest = all.empty() ? 0 : all.rbegin()->first;
    if (current > latest)
        throw Error(QStringLiteral("migrate"),
                    QStringLiteral("La base de datos es de una version mas nueva del programa "
                                   "(esquema %1, este programa conoce hasta el %2). Actualice el "
                                   "programa.")
                        .arg(current)
                        .arg(latest));
    for (auto it = all.upper_bound(current); it != all.end(); ++it) {
        db.execScript(it->second);
        db.exec(QStringLiteral("INSERT INTO schema_version (version, applied) VALUES (?, ?)"),
                {it->first, dateTimeText(QDateTime::currentDateTime())});
    }
    tx.commit();
}

}  // namespace

Migrations migrations(Dialect dialect) {
    Migrations out;
    const QDir dir(folder(dialect));
    for (const QString& name : dir.entryList({QStringLiteral("*.sql")}, QDir::Files, QDir::Name)) {
        bool ok = false;
        const int number = name.section(QLatin1Char('_'), 0, 0).toInt(&ok);
        if (ok)
            out[number] = readAll(dir.filePath(name));
    }
    return out;
}

int latestSchemaVersion(Dialect dialect) {
    const Migrations all = migrations(dialect);
    return all.empty() ? 0 : all.rbegin()->first;
}

int schemaVersion(Db& db) {
    if (!hasVersionTable(db))
        return 0;
    return integer(db.scalar(QStringLiteral("SELECT MAX(version) FROM schema_version")));
}

void migrate(Db& db) {
    migrate(db, migrations(db.dialect()));
}

void migrate(Db& db, const Migrations& all) {
    const QString copy = copyBeforeMigrating(db, all);
    try {
        apply(db, all);
    } catch (const Error& e) {
        if (copy.isEmpty())
            throw;
        throw Error(e.where(), e.serverText() +
                                   QStringLiteral(". La actualización no se aplicó y la base de "
                                                  "datos quedó como estaba; su copia de antes "
                                                  "es ") +
                                   copy);
    }
}

}  // namespace db
