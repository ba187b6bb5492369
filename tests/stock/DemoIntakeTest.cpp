#include "support/DbTest.h"

#include "db/DemoShop.h"
#include "db/procedures/Stock.h"

using namespace db::proc;
using db::Db;

namespace {

const QDateTime kNow(QDate(2026, 3, 2), QTime(11, 0));

// The demo shop's intakes: one workstation stages two batches with their expiry dates, applies
// and confirms them while another takes in stock of its own; a second intake left unconfirmed
// leaves no trace; then one batch through the expiry-date intake.
class DemoIntake : public testsupport::DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped())
            return;
        db::loadDemoShop(db());
        QSqlQuery q = db().exec(
            QStringLiteral("SELECT CodPresentacion FROM PRESENTACION ORDER BY CodPresentacion"));
        ASSERT_TRUE(q.next());
        first = db::integer(q.value(0));
        ASSERT_TRUE(q.next());
        second = db::integer(q.value(0));
    }
    static IngresoPresFechCadMasStockIn batch(int intake, int code, int units, int days,
                                              const QString& station) {
        IngresoPresFechCadMasStockIn in;
        in.pIngreso = intake;
        in.pEstacion = station;
        in.pCodPresentacion = code;
        in.pFechCad = kNow.addDays(days);
        in.pStock = units;
        in.pFechIngre = kNow;
        in.pCodTrab = 1;
        in.pPC = core::Money::fromRaw(25000);
        in.pProvNom = QStringLiteral("SAUCAL");
        in.pPresFechNumDoc = QStringLiteral("NE-100");
        in.pDocTipo = QStringLiteral("NOTA DE ENVIO");
        return in;
    }
    PresentacionStock of(int code) { return *presentacionStock(db(), code); }
    int rows(const char* table, int code) {
        return db::integer(db().scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE "
                                                      "CodPresentacion = ?")
                                           .arg(QString::fromLatin1(table)),
                                       {code}));
    }
    int first = 0;
    int second = 0;
};

TEST_P(DemoIntake, TheTablesHoldExactlyTheConfirmedBatchesStocksAndPrices) {
    const PresentacionStock before = of(first);
    const PresentacionStock otherBefore = of(second);
    const int historyBefore = rows("PRESFECHCAD", first);
    concurrently(2, [&](int station, Db& connection) {
        const QString name = station == 0 ? QStringLiteral("CAJA1") : QStringLiteral("CAJA2");
        const int intake = nuevoIngresoStock(connection);
        if (station == 0) {
            ASSERT_TRUE(
                KZT_IngresoPresFechCadMasStock(connection, batch(intake, first, 10, 200, name))
                    .staged);
            ASSERT_TRUE(
                KZT_IngresoPresFechCadMasStock(connection, batch(intake, first, 5, 400, name))
                    .staged);
            ASSERT_TRUE(KZ_IngresoMasStock(connection, {intake, first, core::Money::fromRaw(25000)})
                            .applied);
            ASSERT_TRUE(KZ_IngresoNPCNPGNPV(connection, {intake, first, core::Money::fromRaw(26000),
                                                         core::Money::fromRaw(39000)})
                            .confirmed);
        } else {
            ASSERT_TRUE(
                KZT_IngresoPresFechCadMasStock(connection, batch(intake, second, 7, 300, name))
                    .staged);
            ASSERT_TRUE(
                KZ_IngresoMasStock(connection, {intake, second, core::Money::fromRaw(25000)})
                    .applied);
            ASSERT_TRUE(
                KZ_IngresoNPCNPGNPV(connection, {intake, second, core::Money::fromRaw(25000),
                                                 core::Money::fromRaw(30000)})
                    .confirmed);
        }
    });
    // A second intake, applied and left: undone on leaving.
    const int left = nuevoIngresoStock(db());
    ASSERT_TRUE(
        KZT_IngresoPresFechCadMasStock(db(), batch(left, first, 8, 500, QStringLiteral("CAJA1")))
            .staged);
    ASSERT_TRUE(KZ_IngresoMasStock(db(), {left, first, core::Money::fromRaw(99000)}).applied);
    ASSERT_TRUE(KZ_BorraTempPres(db(), {left, first}).undone);
    KardexIngresoIn expiry;
    expiry.pCodPresentacion = first;
    expiry.pFechCad = QDateTime(QDate(2026, 9, 1), QTime(11, 0));
    expiry.pStock = 3;
    expiry.pFechIngre = kNow;
    expiry.pCodTrab = 1;
    expiry.pProvNom = QStringLiteral("SAUCAL");
    expiry.pPresFechNumDoc = QStringLiteral("NE-101");
    expiry.pDocTipo = QStringLiteral("NOTA DE ENVIO");
    ASSERT_GT(KZ_KardexIngreso(db(), expiry).KarInCod, 0);

    const PresentacionStock after = of(first);
    EXPECT_EQ(after.PresStockTotal, before.PresStockTotal + 10 + 5 + 3);
    EXPECT_EQ(after.PresPrecioCosto, core::Money::fromRaw(26000));
    EXPECT_EQ(after.PresVenta, core::Money::fromRaw(39000));
    EXPECT_EQ(of(second).PresStockTotal, otherBefore.PresStockTotal + 7);
    QSqlQuery q = db().exec(
        QStringLiteral("SELECT KarInStock, KarInFechaCad, KarInPc FROM KARDEXINGRESO "
                       "WHERE CodPresentacion = ? AND KarInNumDoc LIKE 'NE-10%' ORDER BY KarInCod"),
        {first});
    QList<int> units;
    QList<QDateTime> expiries;
    while (q.next()) {
        units << db::integer(q.value(0));
        expiries << db::dateTime(q.value(1));
    }
    EXPECT_EQ(units, (QList<int>{10, 5, 3}));
    EXPECT_EQ(expiries, (QList<QDateTime>{kNow.addDays(200), kNow.addDays(400),
                                          QDateTime(QDate(2026, 9, 1), QTime(11, 0))}));
    EXPECT_DOUBLE_EQ(db::real(db().scalar(QStringLiteral("SELECT KarInPc FROM KARDEXINGRESO WHERE "
                                                         "KarInNumDoc = 'NE-101'"))),
                     2.6);
    EXPECT_EQ(rows("PRESFECHCAD", first), historyBefore + 3);
    EXPECT_EQ(db::integer(db().scalar(QStringLiteral("SELECT COUNT(*) FROM KARDEXINGRESO_TEMP"))),
              0);
}

VELCARIS_DB_TEST_SUITE(DemoIntake);

}  // namespace
