#include "support/DbTest.h"

#include "db/Reader.h"

#include <QDir>
#include <QSqlDatabase>
#include <QTest>
#include <memory>
#include <numeric>

using namespace testsupport;

namespace {

const QString kSeries =
    QStringLiteral("WITH RECURSIVE S(N) AS (SELECT 1 UNION ALL SELECT N + 1 FROM S WHERE N < ?) ");

// The numbers 1 to n, in order, with their count.
db::Listing numbers(int n, int plus = 0) {
    return {{kSeries + QStringLiteral("SELECT N + ? FROM S ORDER BY N"), {n, plus}},
            db::Read{kSeries + QStringLiteral("SELECT COUNT(*) FROM S"), {n}}};
}

int number(const QSqlQuery& q) {
    return q.value(0).toInt();
}

// What a listing handed over.
struct Seen {
    std::vector<int> rows;
    int batches = 0;
    int totals = -1;
    int finished = 0;
    QStringList failures;
};

class ListingReader : public DbTest {
protected:
    void start(db::Reader& reader, db::Listing listing) {
        seen = {};
        reader.list<int>(
            std::move(listing), &number,
            [this](std::vector<int>&& rows) {
                seen.rows.insert(seen.rows.end(), rows.begin(), rows.end());
                ++seen.batches;
            },
            {.totals = [this](const QVariantList& t) { seen.totals = t.value(0).toInt(); },
             .finished = [this] { ++seen.finished; },
             .failed = [this](const QString& e) { seen.failures << e; }});
    }
    bool waitFor(const std::function<bool()>& done) { return QTest::qWaitFor(done, 10000); }

    Seen seen;
};

TEST_P(ListingReader, TheFirstScreenArrivesBeforeTheRestIsRead) {
    const auto memory = db::ConnectionInfo::parse(QStringLiteral("sqlite::memory:"));
    std::unique_ptr<db::Db> inMemory = std::make_unique<db::Db>(*memory);
    for (db::Db* on : {&db(), inMemory.get()}) {
        db::Reader reader(*on);
        reader.holdBatches(true);
        start(reader, numbers(5000));
        ASSERT_TRUE(waitFor([&] { return seen.totals >= 0; }));
        QTest::qWait(50);
        EXPECT_EQ(seen.rows.size(), std::size_t(db::Reader::kFirstBatch));
        EXPECT_EQ(seen.totals, 5000);
        EXPECT_TRUE(reader.running());
        reader.holdBatches(false);
        ASSERT_TRUE(waitFor([&] { return seen.finished == 1; }));
        ASSERT_EQ(seen.rows.size(), 5000u);
        EXPECT_EQ(seen.rows.front(), 1);
        EXPECT_EQ(seen.rows.back(), 5000);
        EXPECT_GT(seen.batches, 2);
        EXPECT_FALSE(reader.running());
    }
}

TEST_P(ListingReader, ANewListingWhileOneRunsShowsOnlyItsOwnRows) {
    db::Reader reader(db());
    reader.holdBatches(true);
    start(reader, numbers(5000));
    ASSERT_TRUE(waitFor([&] { return !seen.rows.empty(); }));
    start(reader, numbers(3, 100000));
    reader.holdBatches(false);
    ASSERT_TRUE(waitFor([&] { return seen.finished == 1; }));
    QTest::qWait(100);
    EXPECT_EQ(seen.rows, (std::vector<int>{100001, 100002, 100003}));
    EXPECT_EQ(seen.totals, 3);
    EXPECT_EQ(seen.finished, 1);
    EXPECT_TRUE(seen.failures.isEmpty());
}

TEST_P(ListingReader, DestroyedMidReadItLeavesNoThreadNorConnection) {
    const QStringList connections = QSqlDatabase::connectionNames();
    const auto threads = [] { return QDir(QStringLiteral("/proc/self/task")).count(); };
    const auto threadsBefore = threads();
    const auto backends = [this] {
        return db().dialect() == db::Dialect::SQLite
                   ? 1
                   : db::integer(db().scalar(
                         QStringLiteral("SELECT COUNT(*) FROM pg_stat_activity WHERE datname = "
                                        "current_database() AND pid <> pg_backend_pid()"))) +
                         1;
    };
    {
        db::Reader reader(db());
        reader.holdBatches(true);
        start(reader, numbers(200000));
        ASSERT_TRUE(waitFor([&] { return !seen.rows.empty(); }));
        EXPECT_EQ(QSqlDatabase::connectionNames().size(), connections.size() + 1);
        EXPECT_GT(threads(), threadsBefore);
    }
    // A joined thread's task may outlive the join by a moment.
    EXPECT_TRUE(waitFor([&] { return threads() <= threadsBefore; }));
    EXPECT_EQ(QSqlDatabase::connectionNames(), connections);
    EXPECT_TRUE(waitFor([&] { return backends() == 1; }));
    EXPECT_EQ(db::integer(db().scalar(QStringLiteral("SELECT 1 + ?"), {1})), 2);
    QTest::qWait(50);
    EXPECT_EQ(seen.finished, 0);
    EXPECT_TRUE(seen.failures.isEmpty());
}

TEST_P(ListingReader, AFailingReadReportsItsFailureOnceAndNothingElse) {
    db::Reader reader(db());
    start(reader, {{QStringLiteral("SELECT N FROM NO_SUCH_TABLE ORDER BY N"), {}}, std::nullopt});
    ASSERT_TRUE(waitFor([&] { return !seen.failures.isEmpty(); }));
    QTest::qWait(100);
    EXPECT_EQ(seen.failures.size(), 1);
    EXPECT_TRUE(seen.rows.empty());
    EXPECT_EQ(seen.finished, 0);
    EXPECT_FALSE(reader.running());
    start(reader, numbers(2));
    ASSERT_TRUE(waitFor([&] { return seen.finished == 1; }));
    EXPECT_EQ(seen.rows, (std::vector<int>{1, 2}));
}

TEST_P(ListingReader, ADistinctListingLeavesOutEqualNeighboursAlsoPastItsFirstScreen) {
    // 0, 1, 1, 2, 2, ...: rows 60 and 61 are equal, one on each side of the first screen.
    const db::Listing halves{
        {kSeries + QStringLiteral("SELECT N / 2 FROM S ORDER BY N"), {201}}, std::nullopt, true};
    std::vector<int> expected(101);
    std::iota(expected.begin(), expected.end(), 0);
    db::Reader reader(db());
    start(reader, halves);
    ASSERT_TRUE(waitFor([&] { return seen.finished == 1; }));
    EXPECT_EQ(seen.rows, expected);
    EXPECT_EQ(db::readAll(db(), halves, &number), expected);
}

}  // namespace

VELCARIS_DB_TEST_SUITE(ListingReader);
