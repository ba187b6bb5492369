#include "Support.h"

#include "db/Migrations.h"

#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <atomic>
#include <memory>
#include <stdexcept>
#include <vector>

namespace bench {

namespace {

std::atomic<int> databaseSerial{0};

QString serverUrl() {
    return qEnvironmentVariable("VELCARIS_BENCH_PG");
}

db::ConnectionInfo serverInfo() {
    const auto info = db::ConnectionInfo::parse(serverUrl());
    if (!info || info->dialect != db::Dialect::PostgreSQL)
        throw db::Error(QStringLiteral("VELCARIS_BENCH_PG"),
                        QStringLiteral("not a postgresql:// URL"));
    return *info;
}

std::vector<std::function<void()>>& releases() {
    static std::vector<std::function<void()>> all;
    return all;
}

}  // namespace

void onRelease(std::function<void()> release) {
    releases().push_back(std::move(release));
}

void releaseAll() {
    auto& all = releases();
    for (auto it = all.rbegin(); it != all.rend(); ++it)
        (*it)();
    all.clear();
}

std::vector<db::Dialect> engines() {
    if (serverUrl().isEmpty())
        return {db::Dialect::SQLite};
    return {db::Dialect::SQLite, db::Dialect::PostgreSQL};
}

std::string engineName(db::Dialect dialect) {
    return dialect == db::Dialect::SQLite ? "SQLite" : "PostgreSQL";
}

ScratchDatabase::ScratchDatabase(db::Dialect dialect) {
    if (dialect == db::Dialect::PostgreSQL) {
        const db::ConnectionInfo server = serverInfo();
        pgName_ = QStringLiteral("bench_%1_%2")
                      .arg(QCoreApplication::applicationPid())
                      .arg(++databaseSerial);
        db::Db admin(server);
        admin.exec(QStringLiteral("CREATE DATABASE ") + pgName_);
        info_ = server.withDatabase(pgName_);
    } else {
        if (!dir_.isValid())
            throw db::Error(QStringLiteral("bench"), QStringLiteral("no temporary folder"));
        info_.dialect = db::Dialect::SQLite;
        info_.path = dir_.filePath(QStringLiteral("bench.db"));
    }
    main_ = std::make_unique<db::Db>(info_);
    db::migrate(*main_);
}

namespace {

QString dataFolder() {
    const QString set = qEnvironmentVariable("VELCARIS_BENCH_DATA");
    return set.isEmpty() ? QCoreApplication::applicationDirPath() + QStringLiteral("/../bench-data")
                         : set;
}

std::unique_ptr<db::Db> keptFile(const QString& name, const std::function<void(db::Db&)>& fill) {
    QDir().mkpath(dataFolder());
    db::ConnectionInfo info;
    info.path = QDir(dataFolder()).absoluteFilePath(name + QStringLiteral(".db"));
    if (!QFile::exists(info.path)) {
        db::ConnectionInfo partial = info;
        partial.path += QStringLiteral(".partial");
        for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
            QFile::remove(partial.path + suffix);
        {
            db::Db db(partial);
            db::migrate(db);
            fill(db);
            db.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
        }
        if (!QFile::rename(partial.path, info.path))
            throw db::Error(info.path, QStringLiteral("not renamed"));
    }
    auto db = std::make_unique<db::Db>(info);
    db::migrate(*db);
    return db;
}

std::unique_ptr<db::Db> keptServerDatabase(const QString& name,
                                           const std::function<void(db::Db&)>& fill) {
    const db::ConnectionInfo server = serverInfo();
    const QString partial = name + QStringLiteral("_partial");
    {
        db::Db admin(server);
        const bool kept =
            admin.scalar(QStringLiteral("SELECT 1 FROM pg_database WHERE datname = ?"), {name})
                .isValid();
        if (!kept) {
            admin.exec(QStringLiteral("DROP DATABASE IF EXISTS ") + partial +
                       QStringLiteral(" WITH (FORCE)"));
            admin.exec(QStringLiteral("CREATE DATABASE ") + partial);
            {
                db::Db db(server.withDatabase(partial));
                db::migrate(db);
                fill(db);
            }
            admin.exec(QStringLiteral("ALTER DATABASE ") + partial + QStringLiteral(" RENAME TO ") +
                       name);
        }
    }
    auto db = std::make_unique<db::Db>(server.withDatabase(name));
    db::migrate(*db);
    return db;
}

}  // namespace

std::unique_ptr<db::Db> keptDatabase(db::Dialect dialect, const QString& name,
                                     const std::function<void(db::Db&)>& fill) {
    return dialect == db::Dialect::SQLite ? keptFile(name, fill) : keptServerDatabase(name, fill);
}

ScratchDatabase::~ScratchDatabase() {
    main_.reset();
    if (pgName_.isEmpty())
        return;
    try {
        db::Db admin(serverInfo());
        admin.exec(QStringLiteral("DROP DATABASE IF EXISTS ") + pgName_ +
                   QStringLiteral(" WITH (FORCE)"));
    } catch (const std::exception&) {
    }
}

db::Settings Program::ownSettings(const QTemporaryDir& folder) {
    const QByteArray before = qgetenv("VELCARIS_CONFIG");
    qputenv("VELCARIS_CONFIG", folder.filePath(QStringLiteral("velcaris.ini")).toLocal8Bit());
    db::Settings settings = db::Settings::load();
    if (before.isEmpty())
        qunsetenv("VELCARIS_CONFIG");
    else
        qputenv("VELCARIS_CONFIG", before);
    for (const char letter : {'C', 'D', 'E'})
        settings.setValue(QStringLiteral("drives/") + QLatin1Char(letter),
                          folder.filePath(QString(QLatin1Char(letter))));
    return settings;
}

Program::Program(db::Db& db, const QDateTime& now, int sessionUser)
    : clock_(now), dm_(db), ctx_{db,        settings_, clock_,   messages_,
                                 platform_, dm_,       session_, commands_} {
    for (const char letter : {'C', 'D', 'E'})
        QDir().mkpath(settings_.drive(QLatin1Char(letter)));
    session_.setSaleDay(now.date());
    session_.logIn(sessionUser, QString(), 0, false);
}

double residentMegabytes() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    if (fields.size() < 2)
        return 0;
    return fields[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

void trimHeap() {
    malloc_trim(0);
}

void IterationClock::report(const std::string& name, double floorSeconds) const {
    state_.counters[name + "_us"] = floorSeconds * 1e6;
    state_.counters["x_" + name] = floorSeconds > 0 ? mean() / floorSeconds : 0.0;
}

void IterationClock::reportAgainstFloor() const {
    for (const auto& [name, floor] : floors_)
        report(name, floor.mean());
}

QStringList writeSyncedFiles(const QString& folder, int count) {
    static int serial = 0;
    const QByteArray line("1000|IGV|VAT|10.00|1.80|\r\n");
    std::vector<std::unique_ptr<QFile>> files;
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        paths << QDir(folder).filePath(QStringLiteral(".floor-%1-%2.tmp").arg(++serial).arg(i));
        files.push_back(std::make_unique<QFile>(paths.back()));
        if (!files.back()->open(QIODevice::WriteOnly) || files.back()->write(line) != line.size() ||
            !files.back()->flush())
            throw std::runtime_error("bench: a floor file could not be written");
        ::sync_file_range(files.back()->handle(), 0, 0, SYNC_FILE_RANGE_WRITE);
    }
    for (const auto& f : files) {
        if (::fsync(f->handle()) != 0)
            throw std::runtime_error("bench: a floor file could not be synced");
    }
    const int dir = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    const bool synced = dir >= 0 && ::fsync(dir) == 0;
    if (dir >= 0)
        ::close(dir);
    if (!synced)
        throw std::runtime_error("bench: the floor folder could not be synced");
    return paths;
}

double meanSeconds(const std::function<void()>& op, double minSeconds) {
    const Clock::time_point start = Clock::now();
    long calls = 0;
    double elapsed = 0;
    while (calls < 3 || elapsed < minSeconds) {
        op();
        ++calls;
        elapsed = secondsSince(start);
    }
    return elapsed / double(calls);
}

}  // namespace bench
