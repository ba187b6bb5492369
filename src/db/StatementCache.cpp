#include "db/StatementCache.h"

#include <QSqlError>
#include <QSqlRecord>
#include <QSqlResult>

namespace db {

namespace {

// The result behind a query handed to a caller: every read goes to the lent statement, whose
// position and error it follows. Once given back it reads as an exhausted result.
class LentResult final : public QSqlResult {
public:
    explicit LentResult(std::shared_ptr<Statement> statement)
        : QSqlResult(statement->query.driver()), statement_(std::move(statement)) {
        const QSqlQuery& q = statement_->query;
        setQuery(q.lastQuery());
        setForwardOnly(true);
        setSelect(q.isSelect());
        setActive(q.isActive());
        setAt(q.at());
    }
    ~LentResult() override { giveBack(); }

protected:
    QVariant data(int i) override { return statement_ ? q().value(i) : QVariant(); }
    bool isNull(int i) override { return !statement_ || q().isNull(i); }
    bool reset(const QString&) override { return false; }
    bool fetch(int i) override { return follow(statement_ && q().seek(i)); }
    bool fetchNext() override { return follow(statement_ && q().next()); }
    bool fetchPrevious() override { return follow(statement_ && q().previous()); }
    bool fetchFirst() override { return follow(statement_ && q().first()); }
    bool fetchLast() override { return follow(statement_ && q().last()); }
    int size() override { return statement_ ? q().size() : -1; }
    int numRowsAffected() override { return statement_ ? q().numRowsAffected() : -1; }
    QSqlRecord record() const override { return statement_ ? q().record() : QSqlRecord(); }
    QVariant lastInsertId() const override { return statement_ ? q().lastInsertId() : QVariant(); }
    // QSqlQuery::finish().
    void detachFromResultSet() override { giveBack(); }

private:
    QSqlQuery& q() const { return statement_->query; }

    bool follow(bool moved) {
        if (statement_) {
            setAt(q().at());
            setLastError(q().lastError());
        }
        return moved;
    }

    void giveBack() {
        if (!statement_)
            return;
        q().finish();
        statement_->lent = false;
        statement_.reset();
    }

    std::shared_ptr<Statement> statement_;
};

}  // namespace

std::shared_ptr<Statement> StatementCache::borrow(const QString& sql,
                                                  const std::function<QSqlQuery()>& prepare) {
    const auto found = bySql_.constFind(sql);
    const bool kept = found != bySql_.constEnd();
    if (kept && !(*found)->second->lent) {
        order_.splice(order_.begin(), order_, *found);
        order_.front().second->lent = true;
        return order_.front().second;
    }
    auto statement = std::make_shared<Statement>(Statement{prepare(), true});
    if (!kept)
        keep(sql, statement);
    return statement;
}

void StatementCache::keep(const QString& sql, std::shared_ptr<Statement> statement) {
    order_.emplace_front(sql, std::move(statement));
    bySql_.insert(sql, order_.begin());
    if (order_.size() > capacity_) {
        bySql_.remove(order_.back().first);
        order_.pop_back();
    }
}

void StatementCache::drop(const QString& sql, const std::shared_ptr<Statement>& statement) {
    const auto found = bySql_.find(sql);
    if (found == bySql_.end() || (*found)->second != statement)
        return;
    order_.erase(*found);
    bySql_.erase(found);
}

void StatementCache::clear() {
    bySql_.clear();
    order_.clear();
}

QSqlQuery readerOf(std::shared_ptr<Statement> statement) {
    return QSqlQuery(new LentResult(std::move(statement)));
}

}  // namespace db
