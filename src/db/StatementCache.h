#pragma once

#include <QHash>
#include <QSqlQuery>
#include <QString>
#include <functional>
#include <list>
#include <memory>

namespace db {

// One prepared statement of a connection. While a caller reads its result it is lent, and the
// same SQL then runs on a statement of its own.
struct Statement {
    QSqlQuery query;
    bool lent = false;
};

// The prepared statements of one connection by their SQL text, the most recently used kept,
// so that SQL run again is only bound and executed.
class StatementCache {
public:
    explicit StatementCache(std::size_t capacity) : capacity_(capacity) {}
    StatementCache(const StatementCache&) = delete;
    StatementCache& operator=(const StatementCache&) = delete;

    // A statement of `sql` that nobody reads, marked lent: the kept one when it is free;
    // otherwise one that `prepare` makes, kept unless the kept one is lent.
    std::shared_ptr<Statement> borrow(const QString& sql,
                                      const std::function<QSqlQuery()>& prepare);
    // Forgets the statement of `sql` when it is `statement` (which failed).
    void drop(const QString& sql, const std::shared_ptr<Statement>& statement);
    // Forgets every statement; those still lent go when their readers let them go.
    void clear();

private:
    using Entry = std::pair<QString, std::shared_ptr<Statement>>;

    void keep(const QString& sql, std::shared_ptr<Statement> statement);

    std::size_t capacity_;
    std::list<Entry> order_;  // most recently used first
    QHash<QString, std::list<Entry>::iterator> bySql_;
};

// A query reading the result of a lent statement. The statement is reset and given back when the
// query is finished or its last copy is destroyed, so it never holds a result (nor, on SQLite, a
// read snapshot) once its reader is done.
QSqlQuery readerOf(std::shared_ptr<Statement> statement);

}  // namespace db
