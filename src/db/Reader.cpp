#include "db/Reader.h"

#include <sqlite3.h>
#include <QLoggingCategory>
#include <QSqlDriver>
#include <QSqlError>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <condition_variable>
#include <mutex>

namespace db {

namespace {

Q_LOGGING_CATEGORY(lcReader, "velcaris.reader", QtWarningMsg)

bool inMemory(const Db& db) {
    return db.dialect() == Dialect::SQLite && db.info().path == QStringLiteral(":memory:");
}

}  // namespace

bool repeats(const QSqlQuery& q, QVariantList& previous) {
    const int n = q.record().count();
    bool same = previous.size() == n;
    for (int i = 0; i < n && same; ++i)
        same = q.value(i) == previous.at(i);
    if (!same) {
        previous.clear();
        for (int i = 0; i < n; ++i)
            previous << q.value(i);
    }
    return same;
}

struct Reader::Job {
    quint64 generation = 0;
    Listing listing;
    Take take;
    QVariantList previous;  // the last row read, for a distinct listing
};

bool Reader::readBatch(QSqlQuery& q, Job& job, int n, std::any& batch) {
    for (int i = 0; i < n; ++i) {
        if (!q.next()) {
            if (q.lastError().isValid())
                throw Error(QStringLiteral("listado"), q.lastError().text());
            return false;
        }
        if (!job.listing.distinct || !repeats(q, job.previous))
            job.take(q, batch);
    }
    return true;
}

namespace {

QVariantList firstRow(QSqlQuery q) {
    QVariantList row;
    if (q.next())
        for (int i = 0; i < q.record().count(); ++i)
            row << q.value(i);
    return row;
}

sqlite3* sqliteHandle(const Db& db) {
    const QVariant h = db.handle().driver()->handle();
    if (qstrcmp(h.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(h.data());
}

}  // namespace

struct Reader::Shared {
    std::atomic<quint64> generation{0};  // the listing wanted; every other one stops
    std::atomic<quint64> busy{0};        // the listing the reading thread is running
    std::atomic<qint64> backendPid{0};
    std::mutex mutex;  // guards what follows
    std::condition_variable wake;
    bool hold = false;
    sqlite3* sqlite = nullptr;
    std::unique_ptr<Db> connection;  // used on the reading thread only

    bool stopped(quint64 g) const { return generation.load() != g; }
    void waitWhileHeld(quint64 g) {
        std::unique_lock lock(mutex);
        wake.wait(lock, [&] { return !hold || stopped(g); });
    }
    Db& connect(const ConnectionInfo& info) {
        if (connection)
            return *connection;
        auto c = std::make_unique<Db>(info);
        if (c->dialect() == Dialect::PostgreSQL)
            backendPid = c->scalar(QStringLiteral("SELECT pg_backend_pid()")).toLongLong();
        std::lock_guard lock(mutex);
        sqlite = sqliteHandle(*c);
        connection = std::move(c);
        return *connection;
    }
    // Ends the listing's snapshot after a failure, when there is one.
    void rollBack() {
        if (!connection)
            return;
        try {
            connection->exec(QStringLiteral("ROLLBACK"));
        } catch (const Error&) {
            qCDebug(lcReader) << "no transaction to roll back";
        }
    }
    void disconnect() {
        std::unique_ptr<Db> c;
        {
            std::lock_guard lock(mutex);
            sqlite = nullptr;
            c = std::move(connection);
        }
    }
};

Reader::Reader(Db& db, QObject* parent) : QObject(parent), db_(db), shared_(new Shared) {
    if (inMemory(db))
        return;
    thread_ = new QThread;
    thread_->setObjectName(QStringLiteral("listing"));
    worker_ = new QObject;
    worker_->moveToThread(thread_);
    thread_->start();
    // Connected ahead, so the first listing does not wait for it; a failure here is met again,
    // and reported, by the first listing.
    QMetaObject::invokeMethod(worker_, [s = shared_, info = db.info()] {
        try {
            s->connect(info);
        } catch (const Error& e) {
            qCDebug(lcReader) << e.what();
        }
    });
}

Reader::~Reader() {
    cancel();
    if (!thread_)
        return;
    // After the job under way, which the cancellation stops; the connection closes on the
    // thread that opened it.
    QMetaObject::invokeMethod(
        worker_, [s = shared_] { s->disconnect(); }, Qt::BlockingQueuedConnection);
    thread_->quit();
    thread_->wait();
    delete worker_;
    delete thread_;
}

void Reader::start(Listing listing, Take take, Handlers handlers) {
    cancel();
    handlers_ = std::move(handlers);
    running_ = true;
    auto job =
        std::make_shared<Job>(Job{shared_->generation.load(), std::move(listing), std::move(take)});
    if (thread_)
        QMetaObject::invokeMethod(worker_, [this, job] { runOnThread(*job); });
    else
        startOnThisThread(job);
}

bool Reader::firstScreen(Db& c, Job& job, QSqlQuery& q) {
    const Read& rows = job.listing.rows;
    // PostgreSQL's driver fetches a whole result before its first row: there the first screen is
    // a query of its own, and the rest another one in the same snapshot.
    const bool pg = c.dialect() == Dialect::PostgreSQL;
    q = pg ? c.exec(rows.sql + QStringLiteral(" LIMIT ?"), rows.values + QVariantList{kFirstBatch})
           : c.exec(rows.sql, rows.values);
    auto batch = std::make_shared<std::any>();
    const bool more = readBatch(q, job, kFirstBatch, *batch);
    deliverRows(job.generation, batch);
    if (job.listing.totals) {
        const QVariantList totals =
            firstRow(c.exec(job.listing.totals->sql, job.listing.totals->values));
        deliver(job.generation, [this, totals] {
            if (handlers_.totals)
                handlers_.totals(totals);
        });
    }
    if (more && pg)
        q = c.exec(rows.sql + QStringLiteral(" OFFSET ?"), rows.values + QVariantList{kFirstBatch});
    return more;
}

void Reader::runOnThread(Job& job) {
    Shared& s = *shared_;
    if (s.stopped(job.generation))
        return;
    s.busy = job.generation;
    try {
        Db& c = s.connect(db_.info());
        c.exec(c.dialect() == Dialect::PostgreSQL
                   ? QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ, READ ONLY")
                   : QStringLiteral("BEGIN"));
        QSqlQuery q;
        bool more = firstScreen(c, job, q);
        while (more && !s.stopped(job.generation)) {
            s.waitWhileHeld(job.generation);
            auto batch = std::make_shared<std::any>();
            more = readBatch(q, job, kBatch, *batch);
            deliverRows(job.generation, batch);
        }
        q = QSqlQuery();
        c.exec(QStringLiteral("ROLLBACK"));
        finish(job.generation);
    } catch (const std::exception& e) {
        fail(job.generation, e);
        s.rollBack();
    }
    s.busy = 0;
}

void Reader::startOnThisThread(const std::shared_ptr<Job>& job) {
    try {
        auto q = std::make_shared<QSqlQuery>();
        if (!firstScreen(db_, *job, *q))
            q.reset();
        stepOnThisThread(job, q);
    } catch (const std::exception& e) {
        fail(job->generation, e);
    }
}

void Reader::stepOnThisThread(const std::shared_ptr<Job>& job, std::shared_ptr<QSqlQuery> query) {
    if (shared_->stopped(job->generation))
        return;
    if (!query) {
        finish(job->generation);
        return;
    }
    QTimer::singleShot(shared_->hold ? 10 : 0, this, [this, job, query]() mutable {
        if (!shared_->hold && !shared_->stopped(job->generation)) {
            auto batch = std::make_shared<std::any>();
            if (!readBatch(*query, *job, kBatch, *batch))
                query.reset();
            deliverRows(job->generation, batch);
        }
        stepOnThisThread(job, std::move(query));
    });
}

void Reader::deliverRows(quint64 generation, const std::shared_ptr<std::any>& batch) {
    if (batch->has_value())
        deliver(generation, [this, batch] { handlers_.rows(*batch); });
}

void Reader::finish(quint64 generation) {
    deliver(generation, [this] {
        running_ = false;
        if (handlers_.finished)
            handlers_.finished();
    });
}

void Reader::fail(quint64 generation, const std::exception& e) {
    qCWarning(lcReader) << e.what();
    deliver(generation, [this, error = QString::fromUtf8(e.what())] {
        running_ = false;
        if (handlers_.failed)
            handlers_.failed(error);
    });
}

void Reader::deliver(quint64 generation, std::function<void()> call) {
    QMetaObject::invokeMethod(
        this,
        [this, generation, call = std::move(call)] {
            if (!shared_->stopped(generation))
                call();
        },
        Qt::QueuedConnection);
}

void Reader::cancel() {
    const quint64 was = shared_->generation++;
    running_ = false;
    {
        std::lock_guard lock(shared_->mutex);
        shared_->wake.notify_all();
    }
    if (thread_ && was != 0 && shared_->busy.load() == was)
        interrupt();
}

void Reader::interrupt() {
    if (db_.dialect() == Dialect::SQLite) {
        std::lock_guard lock(shared_->mutex);
        if (shared_->sqlite)
            sqlite3_interrupt(shared_->sqlite);
        return;
    }
    const qint64 pid = shared_->backendPid.load();
    if (pid == 0 || db_.inTransaction())
        return;
    try {
        db_.exec(QStringLiteral("SELECT pg_cancel_backend(?)"), {pid});
    } catch (const Error& e) {
        qCWarning(lcReader) << e.what();
    }
}

void Reader::holdBatches(bool hold) {
    std::lock_guard lock(shared_->mutex);
    shared_->hold = hold;
    shared_->wake.notify_all();
}

}  // namespace db
