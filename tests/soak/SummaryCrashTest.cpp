#include "soak/SoakShop.h"
#include "support/CheckoutSeed.h"
#include "support/DbTest.h"

#include "db/procedures/Checkout.h"
#include "summary/DailySummary.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

using namespace db::proc;

namespace {

const char* const kDatabaseVariable = "VELCARIS_SUMMARY_CRASH_DB";
const char* const kDrivesVariable = "VELCARIS_SUMMARY_CRASH_DRIVES";
const char* const kStopVariable = "VELCARIS_SUMMARY_CRASH_STOP";

constexpr int kBoletas = 12;
const QByteArray kBeforeCommit("MARKING");
const QByteArray kAfterCommit("COMMITTED");

// Tells the test where the worker stands, then waits there for the kill.
[[noreturn]] void stopHere(const QByteArray& point) {
    soak::announce(point);
    for (;;)
        QThread::sleep(1);
}

// The worker: a workstation generating the day's summary, killed at the point the test names
// (while marking the last boleta, or after the commit before the files have their names).
// Without the test's variables it returns at once.
TEST(SummaryCrashWorker, GeneratesUntilKilled) {
    const auto info = db::ConnectionInfo::parse(qEnvironmentVariable(kDatabaseVariable));
    if (!info)
        return;
    db::Db db(*info);
    soak::FolderPlatform platform(qEnvironmentVariable(kDrivesVariable));
    const QByteArray stop = qgetenv(kStopVariable);
    summary::SummaryHooks hooks;
    hooks.beforeMark = [&](int k) {
        if (stop == kBeforeCommit && k == kBoletas)
            stopHere(kBeforeCommit);
    };
    hooks.afterCommit = [&] {
        if (stop == kAfterCommit)
            stopHere(kAfterCommit);
    };
    summary::DailySummary(db, platform).generate(QDateTime(soak::kDay, QTime(20, 0)), 3, hooks);
}

class SummaryCrash : public testsupport::DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped())
            return;
        soak::seedShop(db(), {{201, 1000}});
        for (int sale = 1; sale <= kBoletas; ++sale) {
            testsupport::seedSale(db(), sale, soak::kDay, QStringLiteral("CAJA1-4"),
                                  {{201, 1, "5.90"}});
            DischargeSale(db(), {sale, soak::saleDay(), 3, kBoletaDeVenta});
        }
    }

    // Runs the worker until it stands at `point` and kills it with SIGKILL.
    void killWorkerAt(const QByteArray& point) {
        QProcess worker;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kDatabaseVariable), soak::workerUrl(info()));
        env.insert(QString::fromLatin1(kDrivesVariable), drives.path());
        env.insert(QString::fromLatin1(kStopVariable), QString::fromLatin1(point));
        worker.setProcessEnvironment(env);
        worker.start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("--gtest_filter=SummaryCrashWorker.*")});
        QByteArray output;
        while (!output.contains(soak::kMark + point) && worker.waitForReadyRead(30000))
            output += worker.readAllStandardOutput();
        worker.kill();
        worker.waitForFinished();
        ASSERT_TRUE(output.contains(soak::kMark + point))
            << output.constData() << worker.readAllStandardError().constData();
    }

    QStringList entries() const {
        return QDir(platform.dataFolder()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    int count(db::Db& reopened, const char* sql) {
        return db::integer(reopened.scalar(QString::fromLatin1(sql)));
    }

    QTemporaryDir drives;
    soak::FolderPlatform platform{drives.path()};
};

TEST_P(SummaryCrash, KilledBeforeTheCommitTheRestartFindsNoFileAndTheBoletasWaiting) {
    killWorkerAt(kBeforeCommit);
    ASSERT_EQ(entries().size(), 2);  // both written, under temporary names
    const std::unique_ptr<db::Db> reopened = connectAnother();
    EXPECT_EQ(summary::DailySummary(*reopened, platform).recover(), 0);  // as the restart does
    EXPECT_TRUE(entries().isEmpty());
    EXPECT_EQ(count(*reopened, "SELECT COUNT(*) FROM RESUMEN"), 0);
    EXPECT_EQ(count(*reopened,
                    "SELECT COUNT(*) FROM FACTURA WHERE FacResumen IS NULL "
                    "AND FacEstadoSunat = 1"),
              kBoletas);
    const summary::SummaryResult next =
        summary::DailySummary(*reopened, platform).generate(QDateTime(soak::kDay, QTime(21, 0)), 3);
    EXPECT_EQ(next.name, QStringLiteral("10471829356-RC-20260307-001"));
    EXPECT_EQ(next.boletas, kBoletas);
}

TEST_P(SummaryCrash, KilledBetweenTheCommitAndTheNamingTheRestartNamesBothFiles) {
    killWorkerAt(kAfterCommit);
    ASSERT_EQ(entries().size(), 2);
    const std::unique_ptr<db::Db> reopened = connectAnother();
    EXPECT_EQ(summary::DailySummary(*reopened, platform).recover(), 2);
    EXPECT_EQ(entries(), (QStringList{QStringLiteral("10471829356-RC-20260307-001.rdi"),
                                      QStringLiteral("10471829356-RC-20260307-001.trd")}));
    QFile rdi(QDir(platform.dataFolder()).filePath(entries().front()));
    ASSERT_TRUE(rdi.open(QIODevice::ReadOnly));
    const QByteArray lines = rdi.readAll();
    EXPECT_EQ(lines.count("\r\n"), kBoletas);
    for (int n = 1; n <= kBoletas; ++n)
        EXPECT_EQ(lines.count("|B001-" + QByteArray::number(n) + "|"), 1) << n;
    EXPECT_EQ(count(*reopened, "SELECT COUNT(*) FROM FACTURA WHERE FacResumen = 1"), kBoletas);
    EXPECT_EQ(count(*reopened, "SELECT COUNT(*) FROM RESUMEN"), 1);
    EXPECT_TRUE(summary::DailySummary(*reopened, platform)
                    .generate(QDateTime(soak::kDay, QTime(21, 0)), 3)
                    .name.isEmpty());
}

VELCARIS_DB_TEST_SUITE(SummaryCrash);

}  // namespace
