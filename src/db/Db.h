#pragma once

#include "core/Money.h"
#include "db/ConnectionInfo.h"
#include "db/Error.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>
#include <memory>
#include <optional>
#include <vector>

namespace db {

class StatementCache;

// One connection to SQLite or PostgreSQL. Every statement binds its values; no value is ever
// pasted into SQL text. The statements it prepares are kept by their SQL text (the most recently
// used few dozen), so running the same SQL again only binds and executes it. Not copyable; owned
// by one thread.
class Db {
public:
    explicit Db(const ConnectionInfo& info);  // connects, throws Error
    ~Db();
    Db(const Db&) = delete;
    Db& operator=(const Db&) = delete;

    Dialect dialect() const { return info_.dialect; }
    const ConnectionInfo& info() const { return info_; }
    QSqlDatabase handle() const;

    // Runs one statement with "?" placeholders bound in order, on the statement kept for the
    // SQL (prepared on first use). Values go through bindable(): Money as its raw integer,
    // date-times as "YYYY-MM-DD HH:MM:SS", null as NULL. A statement that fails is not kept. The
    // query returned reads the result until it is finished or destroyed; the same SQL run again
    // meanwhile gets a statement of its own. Without values the statement runs unprepared; a
    // CREATE, ALTER or DROP then forgets every kept statement. Name the columns a SELECT reads:
    // Qt's SQLite driver sizes a row by the columns the statement had when it was prepared, and a
    // "*" of a table another connection has changed since would overflow it.
    QSqlQuery exec(const QString& sql, const QVariantList& values = {});
    // The first column of the first row, or a null QVariant when there is no row.
    QVariant scalar(const QString& sql, const QVariantList& values = {});
    // Rows changed by one statement.
    int execCount(const QString& sql, const QVariantList& values = {});
    // One write (UPDATE, INSERT or DELETE, without RETURNING) and its values.
    struct Write {
        QString sql;
        QVariantList values;
    };
    // Runs the writes in their order and returns the rows each changed. On PostgreSQL they go as
    // one statement (data-modifying WITH), whose parts all see the database as it was before any
    // of them: a write must not read what an earlier one of them changes, so that both engines
    // give the same result.
    std::vector<int> execCounts(const std::vector<Write>& writes);
    // A read of one row and a write that takes its rows from the read's, named R (an INSERT ...
    // SELECT ... FROM R WHERE ..., say), so that without a row read nothing is written. Returns
    // the row as it was before the write (none without one) and the rows the write changed. On
    // PostgreSQL the two go as one statement, on SQLite as two, the write reading R again within
    // the same transaction.
    struct ReadWrite {
        std::optional<QSqlRecord> row;
        int written = 0;
    };
    ReadWrite readThenWrite(const QString& read, const QVariantList& readValues,
                            const Write& write);
    // Several statements separated by ";" at the end of a line; "--" comments allowed. Forgets
    // every kept statement first (a script changes the schema).
    void execScript(const QString& script);

    // Closes the connection and opens it again with the same settings (after the server dropped
    // it); the statements kept for the old connection are forgotten. Not inside a transaction.
    void reopen();

    // Messages sent to the database (transaction control included; a BEGIN with its locks is
    // one) and statements prepared, since the connection was made.
    quint64 statementsRun() const { return statementsRun_; }
    quint64 statementsPrepared() const { return statementsPrepared_; }

    // The case-insensitive LIKE operator of the dialect ("LIKE" or "ILIKE").
    QString likeCi() const;

    bool inTransaction() const { return depth_ > 0; }
    // Inside a transaction: serialises every workstation that takes the same named lock until
    // the transaction ends (SQLite's write transaction already is exclusive). Several names are
    // taken in their order, in one statement; a name the transaction already holds is skipped.
    void lock(const QString& name);
    void lock(const QStringList& names);
    // Highest value of column + 1 (1 for an empty table), unique under concurrency: must be
    // called inside a transaction, takes lock(table).
    int nextKey(const QString& table, const QString& column);

    // The database server's local time.
    QDateTime serverNow();

    // A scoped write transaction. A transaction opened while another is open on the same Db
    // joins it: only the outermost commits; a joined one that is not committed spoils the
    // outer one, whose commit then throws, as it does on PostgreSQL after any statement of the
    // transaction failed (the server has undone it all). `locks` are taken first, as lock(names)
    // takes them; on PostgreSQL a new transaction takes them in the same round trip as its BEGIN.
    class Transaction {
    public:
        explicit Transaction(Db& db, const QStringList& locks = {});
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
    void open();
    void begin(const QStringList& locks);
    void finish(bool commit);
    // Runs SQL unprepared on a query of its own.
    bool run(QSqlQuery& q, const QString& sql);
    void statementFailed();
    QSqlQuery prepare(const QString& sql);

    ConnectionInfo info_;
    QString name_;
    int depth_ = 0;
    bool spoiled_ = false;
    QStringList locksHeld_;  // by the transaction open
    std::unique_ptr<StatementCache> statements_;
    quint64 statementsRun_ = 0;
    quint64 statementsPrepared_ = 0;
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
