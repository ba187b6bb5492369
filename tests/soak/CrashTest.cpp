#include "soak/SoakShop.h"
#include "support/CheckoutSeed.h"
#include "support/DbTest.h"

#include "db/procedures/Checkout.h"
#include "db/procedures/Sales.h"
#include "einvoice/FacturaFiles.h"
#include "sales/FacturaFilesOutput.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>

using namespace db::proc;

namespace {

// What the crash test hands its worker process.
const char* const kDatabaseVariable = "VELCARIS_CRASH_DB";
const char* const kDrivesVariable = "VELCARIS_CRASH_DRIVES";
const char* const kSeedVariable = "VELCARIS_CRASH_SEED";

constexpr int kRounds = 20;
constexpr int kMostSteps = 24;  // a discharge of n lines announces n + 4 steps
constexpr int kPendingSales = 60;
const soak::Stock kStock{{201, 20000}, {202, 20000}, {203, 20000}};
const QDateTime kNow(soak::kDay, QTime(11, 0));

using soak::announce;
using soak::kMark;

// The worker announces each step of a discharge.
const QByteArray kCommitted("COMMITTED ");

class AnnouncingOutput : public sales::FacturaFilesOutput {
public:
    using FacturaFilesOutput::FacturaFilesOutput;

    void begin(const sales::ReceiptJob& job, int receiptNumber, const QDateTime& at,
               const std::vector<SaleLine>& lines, const std::optional<Igv>& igv) override {
        announce("BEGIN");
        FacturaFilesOutput::begin(job, receiptNumber, at, lines, igv);
    }
    void afterLine(const SaleLine& line, const DecargarPresStockOut& out) override {
        FacturaFilesOutput::afterLine(line, out);
        announce("LINE");
    }
    void beforeCommit() override {
        FacturaFilesOutput::beforeCommit();
        announce("FILES");
    }
    // Announced before the files get their names, so a kill can fall in between.
    void committed(const sales::Receipt& receipt) override {
        announce(kCommitted + QByteArray::number(receipt.job.facNumero));
        FacturaFilesOutput::committed(receipt);
        announce("NAMED");
    }
};

sales::ReceiptJob jobFor(int sale, sales::ReceiptType type) {
    return {sale,
            soak::saleDay(),
            type,
            {QStringLiteral("CLIENTE %1").arg(sale), QStringLiteral("AV. GRAU 120"),
             QStringLiteral("00000000"), QStringLiteral("20481234567")},
            false};
}

// A new sale of one to four lines, for when no sale is pending.
int newSale(db::Db& db, QRandomGenerator& rng) {
    const QDateTime dayStart = soak::saleDay().start;
    const int sale = KZ_NumeroVenta(db, {dayStart, 3, QStringLiteral("CAJA1-4")}, kNow).pNumero;
    for (int k = 0, n = 1 + rng.bounded(4); k < n; ++k)
        KZ_IngresoPresVenta(db,
                            {201 + rng.bounded(3), 1 + rng.bounded(3), testsupport::money("3.50"),
                             testsupport::money("1"), sale, dayStart});
    return sale;
}

int pendingOrNewSale(db::Db& db, QRandomGenerator& rng) {
    const std::vector<PendingSale> pending = pendingSales(db, soak::saleDay());
    return pending.empty() ? newSale(db, rng)
                           : pending[rng.bounded(static_cast<int>(pending.size()))].FacNumero;
}

// The worker: a cashier discharging sales of every type until it is killed (left alone, it
// stops after a minute). Without the crash test's variables it returns at once.
TEST(CrashWorker, DischargesUntilKilled) {
    const auto info = db::ConnectionInfo::parse(qEnvironmentVariable(kDatabaseVariable));
    if (!info)
        return;
    db::Db db(*info);
    soak::FolderPlatform platform(qEnvironmentVariable(kDrivesVariable));
    soak::Station station(db, platform, 9);
    QRandomGenerator rng(static_cast<quint32>(qEnvironmentVariableIntValue(kSeedVariable)));
    announce("READY");
    const QDeadlineTimer end(60000);
    while (!end.hasExpired()) {
        const int sale = pendingOrNewSale(db, rng);
        AnnouncingOutput output(platform);
        sales::dischargeSale(station.context(),
                             jobFor(sale, static_cast<sales::ReceiptType>(rng.bounded(3))), output);
    }
}

class Crash : public testsupport::DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped())
            return;
        soak::seedShop(db(), kStock);
        QRandomGenerator rng(kPendingSales);
        db::Db::Transaction tx(db());
        for (int sale = 1; sale <= kPendingSales; ++sale) {
            std::vector<testsupport::SeedLine> lines;
            for (int k = 0, n = 1 + rng.bounded(4); k < n; ++k)
                lines.push_back({201 + rng.bounded(3), 1 + rng.bounded(3), "3.50"});
            testsupport::seedSale(db(), sale, soak::kDay, QStringLiteral("CAJA1-4"), lines);
        }
        tx.commit();
    }

    // Runs a worker until it has announced `steps` steps of its discharges and kills it with
    // SIGKILL, so the kill falls at a random point of a discharge (the worker runs on while the
    // announcement is read); returns the sales it announced as committed.
    QList<int> killWorkerAfter(int steps, quint32 seed, const QString& drives) {
        QProcess worker;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kDatabaseVariable), soak::workerUrl(info()));
        env.insert(QString::fromLatin1(kDrivesVariable), drives);
        env.insert(QString::fromLatin1(kSeedVariable), QString::number(seed));
        worker.setProcessEnvironment(env);
        worker.start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("--gtest_filter=CrashWorker.*")});
        QList<int> committed;
        QByteArray output;
        int seen = 0;
        const auto take = [&](const QByteArray& line) {
            output += line;
            if (!line.startsWith(kMark) || line.contains("READY"))
                return;
            ++seen;
            const QByteArray step = line.mid(kMark.size()).trimmed();
            if (step.startsWith(kCommitted))
                committed << step.mid(kCommitted.size()).toInt();
        };
        while (seen < steps && (worker.canReadLine() || worker.waitForReadyRead(30000))) {
            while (seen < steps && worker.canReadLine())
                take(worker.readLine());
        }
        worker.kill();
        worker.waitForFinished();
        // What it announced before it died happened.
        for (const QByteArray& line : worker.readAllStandardOutput().split('\n'))
            take(line + '\n');
        EXPECT_GE(seen, steps) << "the worker stopped by itself:\n"
                               << output.constData() << worker.readAllStandardError().constData();
        return committed;
    }

    void expectOpensCleanly(db::Db& reopened) {
        if (reopened.dialect() != db::Dialect::SQLite)
            return;
        EXPECT_EQ(db::text(reopened.scalar(QStringLiteral("PRAGMA integrity_check"))),
                  QStringLiteral("ok"));
        EXPECT_EQ(db::text(reopened.scalar(QStringLiteral("PRAGMA journal_mode"))),
                  QStringLiteral("wal"));
        EXPECT_EQ(db::integer(reopened.scalar(QStringLiteral("PRAGMA synchronous"))), 2);  // FULL
    }

    int pendingLines(db::Db& reopened, int sale) {
        return db::integer(reopened.scalar(
            QStringLiteral("SELECT COUNT(*) FROM DETAFAC WHERE FacNumero = ? AND Estado = ? "
                           "AND FacFecha BETWEEN ? AND ?"),
            {sale, kNoDescargado, soak::saleDay().start, soak::saleDay().end}));
    }

    // Another workstation discharges a factura, files and all.
    void expectNextDischargeWorks(db::Db& reopened, soak::FolderPlatform& platform,
                                  QRandomGenerator& rng) {
        const int sale = pendingOrNewSale(reopened, rng);
        soak::Station station(reopened, platform, 4);
        sales::FacturaFilesOutput output(platform);
        const DischargeResult result = sales::dischargeSale(
            station.context(), jobFor(sale, sales::ReceiptType::Factura), output);
        EXPECT_GT(result.discharged, 0);
        EXPECT_EQ(pendingLines(reopened, sale), 0);
        const QString base = einvoice::FacturaFiles::baseName(result.receiptNumber);
        EXPECT_TRUE(QFile::exists(platform.dataFolder() + base + QStringLiteral(".det")))
            << base.toStdString();
    }
};

TEST_P(Crash, AWorkstationKilledInADischargeLeavesEverySaleWholeOrPending) {
    const quint32 seed = soak::seed();
    SCOPED_TRACE(QStringLiteral("replay with VELCARIS_SOAK_SEED=%1").arg(seed).toStdString());
    QTemporaryDir drives;
    soak::FolderPlatform platform(drives.path());
    QRandomGenerator rng(seed);
    int committedSeen = 0;
    int round = 0;
    for (; round < kRounds && !HasFailure(); ++round) {
        SCOPED_TRACE(QStringLiteral("round %1").arg(round).toStdString());
        const QList<int> committed =
            killWorkerAfter(1 + rng.bounded(kMostSteps), seed + round, drives.path());
        committedSeen += committed.size();

        const std::unique_ptr<db::Db> reopened = connectAnother();
        expectOpensCleanly(*reopened);
        for (const int sale : committed)
            EXPECT_EQ(pendingLines(*reopened, sale), 0) << "sale " << sale;
        EXPECT_EQ(soak::lineAndSaleFaults(*reopened), QStringList());
        EXPECT_EQ(soak::stockFaults(*reopened, kStock), QStringList());
        EXPECT_EQ(soak::saleNumberFaults(*reopened), QStringList());
        EXPECT_EQ(soak::receiptNumberFaults(*reopened), QStringList());
        EXPECT_EQ(soak::taxFileFaults(*reopened, platform.dataFolder(), false), QStringList());
        sales::recoverFacturaFiles(*reopened, platform);  // as the restarted program does
        EXPECT_EQ(soak::taxFileFaults(*reopened, platform.dataFolder(), true), QStringList());
        expectNextDischargeWorks(*reopened, platform, rng);
    }
    std::printf("[  crash   ] %s: %d kills, %d discharges committed before them\n",
                testsupport::engineName({GetParam(), 0}).c_str(), round, committedSeen);
    EXPECT_GT(committedSeen, 0);
}

VELCARIS_DB_TEST_SUITE(Crash);

}  // namespace
