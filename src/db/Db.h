#pragma once

#include "core/Money.h"
#include "db/ConnectionInfo.h"
#include "db/Error.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

namespace db {

// One connection to SQLite or PostgreSQL. Every statement binds its values; no value is ever
// pasted into SQL text. Not copyable; owned by one thread.
class Db {
public:
    explicit Db(const ConnectionInfo& info);  // connects, throws Error
    ~Db();
    Db(const Db&) = delete;
    Db& operator=(const Db&) = delete;

    Dialect dialect() const { return info_.dialect; }
    const ConnectionInfo& info() const { return info_; }
    QSqlDatabase handle() const;

    // Prepares and runs one statement with "?" placeholders bound in order. Values go through
    // bindable(): Money as its raw integer, date-times as "YYYY-MM-DD HH:MM:SS", null as NULL.
    QSqlQuery exec(const QString& sql, const QVariantList& values = {});
    // The first column of the first row, or a null QVariant when there is no row.
    QVariant scalar(const QString& sql, const QVariantList& values = {});
    // Rows changed by one statement.
    int execCount(const QString& sql, const QVariantList& values = {});
    // Several statements separated by ";" at the end of a line; "--" comments allowed.
    void execScript(const QString& script);

    // The case-insensitive LIKE operator of the dialect ("LIKE" or "ILIKE").
    QString likeCi() const;

    bool inTransaction() const { return depth_ > 0; }
    // Inside a transaction: serialises every workstation that takes the same named lock until
    // the transaction ends (SQLite's write transaction already is exclusive).
    void lock(const QString& name);
    // Highest value of column + 1 (1 for an empty table), unique under concurrency: must be
    // called inside a transaction, takes lock(table).
    int nextKey(const QString& table, const QString& column);

    // The database server's local time.
    QDateTime serverNow();

    // A scoped write transaction. A transaction opened while another is open on the same Db
    // joins it: only the outermost commits; a joined one that is not committed spoils the
    // outer one, whose commit then throws.
    class Transaction {
    public:
        explicit Transaction(Db& db);
        ~Transaction();
        Transaction(const Transaction&) = delete;
        Transaction& operator=(const Transaction&) = delete;
        void commit();

    private:
        Db& db_;
        bool outer_;
        bool done_ = false;
    };

    static QVariant bindable(const QVariant& value);

private:
    friend class Transaction;
    void begin();
    void finish(bool commit);

    ConnectionInfo info_;
    QString name_;
    int depth_ = 0;
    bool spoiled_ = false;
};

// Readers for values that come back from either dialect.
QString text(const QVariant& v);  // right-trimmed; null gives ""
int integer(const QVariant& v);   // null gives 0
double real(const QVariant& v);   // null gives 0
core::Money money(const QVariant& v);
QDateTime dateTime(const QVariant& v);  // null gives an invalid QDateTime
QByteArray blob(const QVariant& v);

// A date-time as the database stores it: "YYYY-MM-DD HH:MM:SS".
QString dateTimeText(const QDateTime& dt);

}  // namespace db
