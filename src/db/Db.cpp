#include "db/Db.h"

#include "db/StatementCache.h"

#include <QLoggingCategory>
#include <QRegularExpression>
#include <QSqlError>
#include <algorithm>
#include <atomic>
#include <iterator>

namespace db {

namespace {

Q_LOGGING_CATEGORY(lcDb, "velcaris.db", QtWarningMsg)

std::atomic<int> connectionSerial{0};

// The procedures of a session use a few dozen statements.
constexpr std::size_t kKeptStatements = 64;

const QString kDateTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

// Takes the query itself: its error must be read after the call has run.
void check(bool ok, const QString& where, const QSqlQuery& q) {
    if (!ok)
        throw Error(where, q.lastError().text());
}

QString head(const QString& sql) {
    return sql.simplified().left(80);
}

bool changesSchema(const QString& sql) {
    static const QRegularExpression ddl(QStringLiteral("^\\s*(CREATE|ALTER|DROP)\\b"),
                                        QRegularExpression::CaseInsensitiveOption);
    return ddl.match(sql).hasMatch();
}

bool isIdentifier(const QString& name) {
    static const QRegularExpression re(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return re.match(name).hasMatch();
}

// A stable 64-bit key for a lock name (FNV-1a), the same on every workstation.
qint64 lockKey(const QString& name) {
    quint64 h = 14695981039346656037ull;
    for (char c : name.toUtf8()) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ull;
    }
    return static_cast<qint64>(h);
}

// PostgreSQL's advisory locks of a transaction, taken in the order of `keys` (a select list is
// evaluated from left to right).
QString lockStatement(const QStringList& keys) {
    QStringList calls;
    for (const QString& key : keys)
        calls << QStringLiteral("pg_advisory_xact_lock(") + key + QLatin1Char(')');
    return QStringLiteral("SELECT ") + calls.join(QStringLiteral(", "));
}

}  // namespace

Db::Db(const ConnectionInfo& info)
    : info_(info), statements_(std::make_unique<StatementCache>(kKeptStatements)) {
    name_ = QStringLiteral("velcaris-%1").arg(++connectionSerial);
    const bool sqlite = info.dialect == Dialect::SQLite;
    QSqlDatabase d = QSqlDatabase::addDatabase(
        sqlite ? QStringLiteral("QSQLITE") : QStringLiteral("QPSQL"), name_);
    if (sqlite) {
        d.setDatabaseName(info.path);
        d.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=30000"));
    } else {
        d.setHostName(info.host);
        d.setPort(info.port);
        d.setUserName(info.user);
        d.setPassword(info.password);
        d.setDatabaseName(info.database);
        // The server's notices ("relation ... already exists, skipping") are not for the console.
        d.setConnectOptions(
            QStringLiteral("connect_timeout=10;options='-c client_min_messages=warning'"));
    }
    try {
        open();
    } catch (const Error&) {
        d = QSqlDatabase();
        QSqlDatabase::removeDatabase(name_);
        throw;
    }
}

void Db::open() {
    QSqlDatabase d = handle();
    if (!d.open())
        throw Error(QStringLiteral("No se pudo conectar a ") + info_.display(),
                    d.lastError().text());
    if (info_.dialect == Dialect::SQLite && info_.path != QStringLiteral(":memory:")) {
        exec(QStringLiteral("PRAGMA journal_mode=WAL"));
        exec(QStringLiteral("PRAGMA synchronous=FULL"));
        // A year of sale lines keeps its key index in memory (the default cache is 2 MiB), so
        // the day's queries do not slow down as the history grows.
        exec(QStringLiteral("PRAGMA cache_size=-32768"));
    }
    // Every statement is kept prepared with its values bound; PostgreSQL would otherwise plan a
    // join of several tables anew at each run whose custom plan looks cheaper than the generic
    // one, which costs several times running it (a sale's lines: 390 µs planned, 100 µs run).
    // A generic plan sized for years of history starts parallel workers for a day's read of a
    // few hundred rows: starting them took 30 ms where the read itself took 2 ms.
    if (info_.dialect == Dialect::PostgreSQL) {
        exec(QStringLiteral("SET plan_cache_mode = force_generic_plan"));
        exec(QStringLiteral("SET max_parallel_workers_per_gather = 0"));
    }
}

Db::~Db() {
    {
        QSqlDatabase d = handle();
        if (depth_ > 0) {
            QSqlQuery q(d);
            run(q, QStringLiteral("ROLLBACK"));
        }
        statements_->clear();
        d.close();
    }
    QSqlDatabase::removeDatabase(name_);
}

void Db::reopen() {
    if (depth_ > 0)
        throw Error(QStringLiteral("reopen"), QStringLiteral("dentro de una transaccion"));
    statements_->clear();
    handle().close();
    open();
}

QSqlDatabase Db::handle() const {
    return QSqlDatabase::database(name_, false);
}

QVariant Db::bindable(const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return QVariant();
    const QMetaType type = value.metaType();
    if (type == QMetaType::fromType<core::Money>())
        return QVariant::fromValue<qlonglong>(value.value<core::Money>().raw());
    if (type == QMetaType::fromType<QDateTime>())
        return dateTimeText(value.toDateTime());
    if (type == QMetaType::fromType<QDate>())
        return dateTimeText(QDateTime(value.toDate(), QTime(0, 0)));
    if (type == QMetaType::fromType<bool>())
        return value.toBool() ? 1 : 0;
    return value;
}

bool Db::run(QSqlQuery& q, const QString& sql) {
    ++statementsRun_;
    const bool ran = q.exec(sql);
    if (!ran)
        statementFailed();
    return ran;
}

void Db::statementFailed() {
    // PostgreSQL aborts the whole transaction at a failed statement, and its COMMIT then rolls
    // back without an error: the commit must fail instead of reporting what was not kept.
    if (depth_ > 0 && dialect() == Dialect::PostgreSQL)
        spoiled_ = true;
}

QSqlQuery Db::prepare(const QString& sql) {
    QSqlQuery q(handle());
    q.setForwardOnly(true);
    q.setNumericalPrecisionPolicy(QSql::HighPrecision);
    if (!q.prepare(sql)) {
        statementFailed();
        throw Error(head(sql), q.lastError().text());
    }
    ++statementsPrepared_;
    return q;
}

QSqlQuery Db::exec(const QString& sql, const QVariantList& values) {
    if (values.isEmpty()) {
        // Nothing to bind: run it directly, as statements that cannot be prepared need
        // (CREATE DATABASE, PRAGMA). Kept statements may not survive a change of the schema.
        if (changesSchema(sql))
            statements_->clear();
        QSqlQuery q(handle());
        q.setForwardOnly(true);
        q.setNumericalPrecisionPolicy(QSql::HighPrecision);
        check(run(q, sql), head(sql), q);
        return q;
    }
    const std::shared_ptr<Statement> s = statements_->borrow(sql, [&] { return prepare(sql); });
    for (int i = 0; i < values.size(); ++i)
        s->query.bindValue(i, bindable(values[i]));
    ++statementsRun_;
    if (!s->query.exec()) {
        const QString error = s->query.lastError().text();
        statements_->drop(sql, s);
        statementFailed();
        throw Error(head(sql), error);
    }
    return readerOf(s);
}

QVariant Db::scalar(const QString& sql, const QVariantList& values) {
    QSqlQuery q = exec(sql, values);
    return q.next() ? q.value(0) : QVariant();
}

int Db::execCount(const QString& sql, const QVariantList& values) {
    return exec(sql, values).numRowsAffected();
}

std::vector<int> Db::execCounts(const std::vector<Write>& writes) {
    std::vector<int> counts;
    if (dialect() == Dialect::SQLite || writes.size() < 2) {
        for (const Write& w : writes)
            counts.push_back(execCount(w.sql, w.values));
        return counts;
    }
    QStringList parts;
    QStringList reads;
    QVariantList values;
    for (std::size_t i = 0; i < writes.size(); ++i) {
        const QString name = QStringLiteral("W") + QString::number(i);
        parts << name + QStringLiteral(" AS (") + writes[i].sql + QStringLiteral(" RETURNING 1)");
        reads << QStringLiteral("(SELECT COUNT(*) FROM ") + name + QLatin1Char(')');
        values << writes[i].values;
    }
    QSqlQuery q = exec(QStringLiteral("WITH ") + parts.join(QStringLiteral(", ")) +
                           QStringLiteral(" SELECT ") + reads.join(QStringLiteral(", ")),
                       values);
    q.next();
    for (std::size_t i = 0; i < writes.size(); ++i)
        counts.push_back(integer(q.value(int(i))));
    return counts;
}

Db::ReadWrite Db::readThenWrite(const QString& read, const QVariantList& readValues,
                                const Write& write) {
    const QString withRows = QStringLiteral("WITH R AS (") + read + QStringLiteral(") ");
    ReadWrite out;
    if (dialect() == Dialect::SQLite) {
        QSqlQuery q = exec(read, readValues);
        if (q.next())
            out.row = q.record();
        q.finish();  // a read still stepping would see the write's rows
        out.written = execCount(withRows + write.sql, readValues + write.values);
        return out;
    }
    QSqlQuery q =
        exec(withRows + QStringLiteral(", W AS (") + write.sql +
                 QStringLiteral(" RETURNING 1) SELECT R.*, (SELECT COUNT(*) FROM W) FROM R"),
             readValues + write.values);
    if (q.next()) {
        QSqlRecord row = q.record();
        out.written = integer(row.value(row.count() - 1));
        row.remove(row.count() - 1);
        out.row = row;
    }
    return out;
}

void Db::execScript(const QString& script) {
    static const QRegularExpression end(QStringLiteral(";[ \\t]*(\\r?\\n|$)"));
    static const QRegularExpression comment(QStringLiteral("^\\s*--[^\\n]*$"),
                                            QRegularExpression::MultilineOption);
    statements_->clear();
    QString clean = script;
    clean.remove(comment);
    for (const QString& statement : clean.split(end)) {
        const QString s = statement.trimmed();
        if (s.isEmpty())
            continue;
        QSqlQuery q(handle());
        check(run(q, s), head(s), q);
    }
}

QString Db::likeCi() const {
    return dialect() == Dialect::PostgreSQL ? QStringLiteral("ILIKE") : QStringLiteral("LIKE");
}

void Db::lock(const QString& name) {
    lock(QStringList{name});
}

void Db::lock(const QStringList& names) {
    if (depth_ == 0)
        throw Error(QStringLiteral("lock ") + names.join(QLatin1Char(' ')),
                    QStringLiteral("fuera de una transaccion"));
    if (dialect() != Dialect::PostgreSQL)
        return;
    QVariantList keys;
    for (const QString& name : names) {
        if (locksHeld_.contains(name))
            continue;
        keys << lockKey(name);
        locksHeld_ << name;
    }
    if (!keys.isEmpty())
        exec(lockStatement(QStringList(keys.size(), QStringLiteral("?"))), keys);
}

int Db::nextKey(const QString& table, const QString& column) {
    if (!isIdentifier(table) || !isIdentifier(column))
        throw Error(QStringLiteral("nextKey"), QStringLiteral("nombre no valido"));
    lock(table);
    return integer(
        scalar(QStringLiteral("SELECT COALESCE(MAX(%1), 0) + 1 FROM %2").arg(column, table)));
}

QDateTime Db::serverNow() {
    const QString sql = dialect() == Dialect::PostgreSQL
                            ? QStringLiteral("SELECT LOCALTIMESTAMP(0)")
                            : QStringLiteral("SELECT datetime('now', 'localtime')");
    return dateTime(scalar(sql));
}

void Db::begin(const QStringList& locks) {
    if (depth_ > 0) {
        lock(locks);
        ++depth_;
        return;
    }
    if (dialect() == Dialect::SQLite) {
        QSqlQuery q(handle());
        check(run(q, QStringLiteral("BEGIN IMMEDIATE")), QStringLiteral("BEGIN IMMEDIATE"), q);
    } else {
        // One round trip: the locks' keys are numbers made from the program's own lock names,
        // never from typed text, so they can stand in the SQL.
        QString sql = QStringLiteral("BEGIN");
        if (!locks.isEmpty()) {
            QStringList keys;
            for (const QString& name : locks)
                keys << QString::number(lockKey(name));
            sql += QStringLiteral("; ") + lockStatement(keys);
        }
        QSqlQuery q(handle());
        if (!run(q, sql)) {
            const QSqlError error = q.lastError();
            QSqlQuery rollback(handle());
            run(rollback, QStringLiteral("ROLLBACK"));
            throw Error(QStringLiteral("BEGIN"), error.text());
        }
    }
    spoiled_ = false;
    locksHeld_ = locks;
    ++depth_;
}

void Db::finish(bool commit) {
    --depth_;
    if (depth_ > 0) {
        if (!commit)
            spoiled_ = true;
        return;
    }
    const bool spoiled = spoiled_;
    spoiled_ = false;
    QSqlQuery q(handle());
    if (commit && !spoiled) {
        if (run(q, QStringLiteral("COMMIT")))
            return;
        const QSqlError error = q.lastError();
        QSqlQuery rollback(handle());
        run(rollback, QStringLiteral("ROLLBACK"));
        throw Error(QStringLiteral("COMMIT"), error.text());
    }
    run(q, QStringLiteral("ROLLBACK"));
    if (commit)
        throw Error(QStringLiteral("COMMIT"), QStringLiteral("una parte de la transaccion fallo"));
}

Db::Transaction::Transaction(Db& db, const QStringList& locks) : db_(db), outer_(db.depth_ == 0) {
    db_.begin(locks);
}

Db::Transaction::~Transaction() {
    if (done_)
        return;
    try {
        db_.finish(false);
    } catch (const std::exception& e) {
        qCWarning(lcDb, "rollback failed: %s", e.what());
    } catch (...) {
        qCWarning(lcDb, "rollback failed: an unknown exception");
    }
}

void Db::Transaction::commit() {
    if (done_)
        return;
    done_ = true;
    db_.finish(true);
}

QString text(const QVariant& v) {
    if (v.isNull())
        return QString();
    QString s = v.toString();
    qsizetype n = s.size();
    while (n > 0 && s.at(n - 1) == QLatin1Char(' '))
        --n;
    s.truncate(n);
    return s;
}

int integer(const QVariant& v) {
    if (v.isNull())
        return 0;
    if (v.metaType() == QMetaType::fromType<QString>())
        return static_cast<int>(v.toString().toDouble());
    return v.toInt();
}

double real(const QVariant& v) {
    return v.isNull() ? 0.0 : v.toDouble();
}

core::Money money(const QVariant& v) {
    if (v.isNull())
        return core::Money();
    bool ok = false;
    const qlonglong raw = v.toLongLong(&ok);
    if (ok)
        return core::Money::fromRaw(raw);
    return core::Money::fromRaw(qRound64(v.toDouble()));
}

namespace {

// The digits of s[from, from + n), or -1 when one of them is not a digit.
int digits(QStringView s, qsizetype from, qsizetype n) {
    int value = 0;
    for (qsizetype i = from; i < from + n; ++i) {
        const char16_t c = s[i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

// "yyyy-MM-dd HH:mm:ss", the text every date-time is stored as, read without a format parser
// (which costs several times a whole row of a read); anything else gives an invalid QDateTime.
QDateTime storedDateTime(QStringView s) {
    if (s.size() != 19 || s[4] != u'-' || s[7] != u'-' || s[10] != u' ' || s[13] != u':' ||
        s[16] != u':')
        return QDateTime();
    const int fields[] = {digits(s, 0, 4),  digits(s, 5, 2),  digits(s, 8, 2),
                          digits(s, 11, 2), digits(s, 14, 2), digits(s, 17, 2)};
    if (std::any_of(std::begin(fields), std::end(fields), [](int f) { return f < 0; }))
        return QDateTime();
    const QDate date(fields[0], fields[1], fields[2]);
    const QTime time(fields[3], fields[4], fields[5]);
    if (!date.isValid() || !time.isValid())
        return QDateTime();
    return QDateTime(date, time);
}

}  // namespace

QDateTime dateTime(const QVariant& v) {
    if (v.isNull())
        return QDateTime();
    if (v.metaType() == QMetaType::fromType<QDateTime>())
        return v.toDateTime();
    const QString s = v.toString();
    QDateTime dt = storedDateTime(s);
    if (!dt.isValid())
        dt = QDateTime::fromString(s, Qt::ISODate);
    return dt;
}

QByteArray blob(const QVariant& v) {
    return v.isNull() ? QByteArray() : v.toByteArray();
}

QString dateTimeText(const QDateTime& dt) {
    return dt.toString(kDateTimeFormat);
}

}  // namespace db
