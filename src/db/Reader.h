#pragma once

#include "db/Db.h"

#include <QObject>
#include <QPointer>
#include <any>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QThread;

namespace db {

// A statement's SQL and its bound values.
struct Read {
    QString sql;
    QVariantList values;
};

// What a listing reads: its rows in the order shown (a SELECT ending in its ORDER BY, which a
// LIMIT or an OFFSET may follow) and, optionally, one row of totals read by a query of its own.
// A distinct listing leaves out a row equal to the one before it: its SQL orders by every column
// it reads, so equal rows are neighbours, and it can stream in an index's order where a
// SELECT DISTINCT would have to read every row before its first.
struct Listing {
    Read rows;
    std::optional<Read> totals;
    bool distinct = false;
};

// Whether the query's row equals `previous`, which then becomes that row.
bool repeats(const QSqlQuery& q, QVariantList& previous);

// Reads one listing at a time off the caller's thread, on a connection of its own, and hands
// its rows back on the caller's thread in batches: the first screen as soon as the database
// gives it, then the totals, then the rest. Starting another listing, cancel() or destroying
// the reader stops the one running and interrupts its statement; destroying it also ends its
// thread and closes its connection. An in-memory SQLite database, which a second connection
// cannot open, is read on the caller's thread, one batch per turn of its event loop.
class Reader : public QObject {
    Q_OBJECT
public:
    static constexpr int kFirstBatch = 60;  // more than a screen of any grid
    static constexpr int kBatch = 2000;

    // Adds the query's current row to a batch (empty at first); runs on the reading thread.
    using Take = std::function<void(const QSqlQuery& row, std::any& batch)>;
    // Called on the caller's thread, for the listing started last only; a failed listing
    // reports its failure once and nothing after it.
    struct Handlers {
        std::function<void(std::any& batch)> rows;
        std::function<void(const QVariantList& totals)> totals;
        std::function<void()> finished;
        std::function<void(const QString& error)> failed;
    };

    explicit Reader(Db& db, QObject* parent = nullptr);
    ~Reader() override;

    void start(Listing listing, Take take, Handlers handlers);
    // The same with rows of a type, each made by `convert` on the reading thread.
    template <class Row>
    void list(Listing listing, Row (*convert)(const QSqlQuery&),
              std::function<void(std::vector<Row>&&)> rows, Handlers handlers = {});

    // The same into a model (a QObject with append(std::vector<Row>)), as long as it lives.
    template <class Row, class Model>
    void listInto(Listing listing, Row (*convert)(const QSqlQuery&), Model* model,
                  Handlers handlers = {}) {
        list<Row>(
            std::move(listing), convert,
            [model = QPointer<Model>(model)](std::vector<Row>&& rows) {
                if (model)
                    model->append(std::move(rows));
            },
            std::move(handlers));
    }

    void cancel();
    bool running() const { return running_; }

    // Holds every batch after the first until released (for tests of a listing in progress);
    // a cancelled listing is let go.
    void holdBatches(bool hold);

private:
    struct Shared;
    struct Job;

    // Runs the listing's first query, hands over its first screen and its totals, and leaves
    // `q` on the rest; false when there is no more.
    // Reads up to n rows of the query into a batch; false once the rows ran out.
    static bool readBatch(QSqlQuery& q, Job& job, int n, std::any& batch);
    bool firstScreen(Db& c, Job& job, QSqlQuery& q);
    void runOnThread(Job& job);
    void startOnThisThread(const std::shared_ptr<Job>& job);
    void stepOnThisThread(const std::shared_ptr<Job>& job, std::shared_ptr<QSqlQuery> query);
    void deliver(quint64 generation, std::function<void()> call);
    void deliverRows(quint64 generation, const std::shared_ptr<std::any>& batch);
    void finish(quint64 generation);
    void fail(quint64 generation, const std::exception& e);
    void interrupt();

    Db& db_;
    std::shared_ptr<Shared> shared_;
    QThread* thread_ = nullptr;
    QObject* worker_ = nullptr;  // lives on thread_
    Handlers handlers_;
    bool running_ = false;
};

template <class Row>
void Reader::list(Listing listing, Row (*convert)(const QSqlQuery&),
                  std::function<void(std::vector<Row>&&)> rows, Handlers handlers) {
    handlers.rows = [rows = std::move(rows)](std::any& batch) {
        rows(std::move(*std::any_cast<std::vector<Row>>(&batch)));
    };
    start(
        std::move(listing),
        [convert](const QSqlQuery& q, std::any& batch) {
            if (!batch.has_value())
                batch = std::vector<Row>();
            std::any_cast<std::vector<Row>>(&batch)->push_back(convert(q));
        },
        std::move(handlers));
}

// Every row of a listing at once, each made by `convert`.
template <class Row>
std::vector<Row> readAll(Db& db, const Listing& listing, Row (*convert)(const QSqlQuery&)) {
    QSqlQuery q = db.exec(listing.rows.sql, listing.rows.values);
    std::vector<Row> out;
    QVariantList previous;
    while (q.next())
        if (!listing.distinct || !repeats(q, previous))
            out.push_back(convert(q));
    return out;
}

}  // namespace db
