#pragma once

#include "db/Db.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <atomic>
#include <functional>
#include <memory>

namespace testsupport {

// A fresh, migrated database of one engine per test. PostgreSQL tests need VELCARIS_TEST_PG, the
// URL of a server where the test may create databases (scripts/test starts a throwaway one);
// without it they are skipped, unless VELCARIS_REQUIRE_PG is set, when they fail.
class DbTest : public ::testing::TestWithParam<db::Dialect> {
protected:
    void SetUp() override;
    void TearDown() override;

    db::Db& db() { return *main_; }
    const db::ConnectionInfo& info() const { return info_; }
    // Another workstation's connection to the same database.
    std::unique_ptr<db::Db> connectAnother() { return std::make_unique<db::Db>(info_); }

    // Runs body(i, connection) on n threads at once, each with a connection of its own, started
    // together; rethrows the first exception any of them raised.
    void concurrently(int n, const std::function<void(int, db::Db&)>& body);
    // Waits until `done` is set or, on PostgreSQL, a connection to the test's database waits
    // for a lock (SQLite's writers wait for each other's transaction unseen: 300 ms there).
    // Returns whether `done` was set.
    bool doneBeforeBlocked(const std::atomic<bool>& done);

private:
    QTemporaryDir dir_;
    db::ConnectionInfo info_;
    QString pgName_;
    std::unique_ptr<db::Db> main_;
};

std::string engineName(const ::testing::TestParamInfo<db::Dialect>& info);

}  // namespace testsupport

#define VELCARIS_DB_TEST_SUITE(Suite)                                                         \
    INSTANTIATE_TEST_SUITE_P(Engines, Suite,                                                  \
                             ::testing::Values(db::Dialect::SQLite, db::Dialect::PostgreSQL), \
                             ::testsupport::engineName)
