#include "support/DbTest.h"

#include "db/Migrations.h"

#include <QCoreApplication>
#include <atomic>
#include <barrier>
#include <chrono>
#include <exception>
#include <mutex>
#include <thread>

namespace testsupport {

namespace {

std::atomic<int> databaseSerial{0};

db::ConnectionInfo serverInfo() {
    const auto info = db::ConnectionInfo::parse(qEnvironmentVariable("VELCARIS_TEST_PG"));
    if (!info || info->dialect != db::Dialect::PostgreSQL)
        throw std::runtime_error("VELCARIS_TEST_PG is not a postgresql:// URL");
    return *info;
}

}  // namespace

std::string engineName(const ::testing::TestParamInfo<db::Dialect>& info) {
    return info.param == db::Dialect::SQLite ? "SQLite" : "PostgreSQL";
}

void DbTest::SetUp() {
    if (GetParam() == db::Dialect::PostgreSQL) {
        if (qEnvironmentVariable("VELCARIS_TEST_PG").isEmpty()) {
            if (qEnvironmentVariableIsSet("VELCARIS_REQUIRE_PG"))
                FAIL() << "VELCARIS_TEST_PG is not set";
            GTEST_SKIP() << "VELCARIS_TEST_PG is not set";
        }
        const db::ConnectionInfo server = serverInfo();
        pgName_ =
            QStringLiteral("t_%1_%2").arg(QCoreApplication::applicationPid()).arg(++databaseSerial);
        db::Db admin(server);
        admin.exec(QStringLiteral("CREATE DATABASE ") + pgName_);
        info_ = server.withDatabase(pgName_);
    } else {
        ASSERT_TRUE(dir_.isValid());
        info_.dialect = db::Dialect::SQLite;
        info_.path = dir_.filePath(QStringLiteral("test.db"));
    }
    main_ = std::make_unique<db::Db>(info_);
    db::migrate(*main_);
}

void DbTest::TearDown() {
    main_.reset();
    if (!pgName_.isEmpty()) {
        db::Db admin(serverInfo());
        admin.exec(QStringLiteral("DROP DATABASE IF EXISTS ") + pgName_ +
                   QStringLiteral(" WITH (FORCE)"));
    }
}

void DbTest::concurrently(int n, const std::function<void(int, db::Db&)>& body) {
    std::barrier start(n);
    std::mutex mutex;
    std::exception_ptr first;
    std::vector<std::thread> threads;
    for (int i = 0; i < n; ++i) {
        threads.emplace_back([&, i] {
            bool arrived = false;
            try {
                db::Db connection(info_);
                arrived = true;
                start.arrive_and_wait();
                body(i, connection);
            } catch (...) {
                if (!arrived)
                    start.arrive_and_drop();
                const std::lock_guard<std::mutex> lock(mutex);
                if (!first)
                    first = std::current_exception();
            }
        });
    }
    for (auto& t : threads)
        t.join();
    if (first)
        std::rethrow_exception(first);
}

bool DbTest::doneBeforeBlocked(const std::atomic<bool>& done) {
    using namespace std::chrono_literals;
    if (info_.dialect == db::Dialect::SQLite) {
        std::this_thread::sleep_for(300ms);
        return done;
    }
    db::Db watcher(info_);
    for (int i = 0; i < 1000 && !done; ++i) {
        if (db::integer(watcher.scalar(QStringLiteral(
                "SELECT COUNT(*) FROM pg_stat_activity WHERE datname = current_database() "
                "AND wait_event_type = 'Lock'"))) > 0)
            return false;
        std::this_thread::sleep_for(10ms);
    }
    return done;
}

}  // namespace testsupport
