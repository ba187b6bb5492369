#include "sales/SalesSeed.h"
#include "support/CheckoutSeed.h"
#include "support/DbTest.h"

#include "db/procedures/Stock.h"

#include <QCoreApplication>
#include <QProcess>
#include <QThread>
#include <QUrl>
#include <cstdio>

using namespace db::proc;
using testsupport::counter::count;
using testsupport::counter::soles;

namespace {

const char* const kDatabaseVariable = "VELCARIS_INTAKE_DB";
const QString kStation = QStringLiteral("CAJA1");
const QByteArray kApplied("@@ APPLIED");

// An intake of 10 and 5 tablets at a cost of 10, applied and left unconfirmed.
void applyUnconfirmed(db::Db& db) {
    const int ingreso = nuevoIngresoStock(db);
    for (int units : {10, 5}) {
        IngresoPresFechCadMasStockIn in{ingreso, kStation, 10};
        in.pFechCad = QDateTime(QDate(2027, 5, 1), QTime(9, 0));
        in.pStock = units;
        in.pFechIngre = QDateTime(QDate(2026, 3, 2), QTime(9, 0));
        in.pProvNom = QStringLiteral("SAUCAL");
        ASSERT_TRUE(KZT_IngresoPresFechCadMasStock(db, in).staged);
    }
    ASSERT_TRUE(KZ_IngresoMasStock(db, {ingreso, 10, soles("10")}).applied);
}

// The worker: a workstation that applies an intake and dies before confirming it. Without the
// test's variable it returns at once.
TEST(IntakeWorker, AppliesAnIntakeAndWaitsToBeKilled) {
    const auto info = db::ConnectionInfo::parse(qEnvironmentVariable(kDatabaseVariable));
    if (!info)
        return;
    db::Db db(*info);
    applyUnconfirmed(db);
    std::fputs((kApplied + '\n').constData(), stdout);
    std::fflush(stdout);
    QThread::sleep(60);
}

class LeftIntakes : public testsupport::DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped())
            return;
        testsupport::counter::seedLink(db(), 1, QStringLiteral("AMOXIL"), QStringLiteral("GENFAR"));
        testsupport::counter::seedPresentation(db(), 10, 1, QStringLiteral("AMOXIL 500 MG TAB"),
                                               "12.00", "15.00", 5);
        db().exec(QStringLiteral("INSERT INTO PROVEEDOR (ProvCod, ProvRazSoc) VALUES (3, ?)"),
                  {QStringLiteral("SAUCAL")});
    }

    QString workerUrl() const {
        if (info().dialect == db::Dialect::SQLite)
            return QStringLiteral("sqlite://") + info().path;
        QUrl url(qEnvironmentVariable("VELCARIS_TEST_PG"));
        url.setPath(QLatin1Char('/') + info().database);
        return url.toString();
    }

    // Runs the worker until it has applied its intake, then kills it with SIGKILL.
    void killWorkerAfterItsApply() {
        QProcess worker;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kDatabaseVariable), workerUrl());
        worker.setProcessEnvironment(env);
        worker.start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("--gtest_filter=IntakeWorker.*")});
        QByteArray output;
        while (!output.contains(kApplied) && worker.waitForReadyRead(30000))
            output += worker.readAllStandardOutput();
        worker.kill();
        worker.waitForFinished();
        ASSERT_TRUE(output.contains(kApplied)) << output.constData();
    }
};

// A workstation that died with an intake applied and unconfirmed takes it back at its next
// start, as leaving the window would have; one whose units were sold meanwhile stays applied.
TEST_P(LeftIntakes, AnIntakeAppliedByAKilledProgramIsUndoneAtItsNextStart) {
    const struct {
        int sold;
        int kept;
        int stock;
        const char* cost;
        int batches;
    } cases[] = {{0, 0, 5, "12", 0}, {3, 0, 2, "12", 0}, {6, 1, 14, "10", 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sold);
        db().exec(QStringLiteral("DELETE FROM KARDEXINGRESO"));
        db().exec(QStringLiteral("UPDATE PRESENTACION SET PresStockTotal = 5, PresPrecioCosto = ? "
                                 "WHERE CodPresentacion = 10"),
                  {QVariant::fromValue(soles("12"))});
        killWorkerAfterItsApply();
        ASSERT_EQ(count(db(), QStringLiteral("KARDEXINGRESO")), 2);
        db().exec(QStringLiteral("UPDATE PRESENTACION SET PresStockTotal = PresStockTotal - ? "
                                 "WHERE CodPresentacion = 10"),
                  {c.sold});
        EXPECT_EQ(borraIngresosDeEstacion(db(), kStation), c.kept);
        const PresentacionStock p = *presentacionStock(db(), 10);
        EXPECT_EQ(p.PresStockTotal, c.stock);
        EXPECT_EQ(p.PresPrecioCosto, soles(c.cost));
        EXPECT_EQ(count(db(), QStringLiteral("KARDEXINGRESO")), c.batches);
        EXPECT_EQ(count(db(), QStringLiteral("KARDEXINGRESO_TEMP")), 0);
    }
}

VELCARIS_DB_TEST_SUITE(LeftIntakes);

}  // namespace
