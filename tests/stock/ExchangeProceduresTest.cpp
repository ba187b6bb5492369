#include "sales/SalesSeed.h"
#include "support/CheckoutSeed.h"
#include "support/DbTest.h"

#include "core/DayWindow.h"
#include "db/procedures/Checkout.h"
#include "db/procedures/Exchange.h"
#include "db/procedures/SessionData.h"

#include <atomic>

using namespace db::proc;
using db::Db;
using testsupport::counter::count;
using testsupport::counter::soles;

namespace {

const QDateTime kNow(QDate(2026, 3, 2), QTime(10, 15, 0));
const QDateTime kExpiry(QDate(2027, 6, 1), QTime(0, 0));
// Longer than 40 characters: a name cut there would find no supplier.
const QString kLongName = QStringLiteral("DISTRIBUIDORA FARMACEUTICA DEL SUR ORIENTE SAC");

// AMOXIL 500 MG TAB (10, stock 10) with a batch of 10 units (100), AMOXIL SUSP (11) with one
// of 4 (200), and two suppliers.
class ExchangeProcedures : public testsupport::DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped())
            return;
        testsupport::counter::seedLink(db(), 1, QStringLiteral("AMOXIL"), QStringLiteral("GENFAR"));
        testsupport::counter::seedPresentation(db(), 10, 1, QStringLiteral("AMOXIL 500 MG TAB"),
                                               "1.00", "2.00", 10);
        testsupport::counter::seedPresentation(db(), 11, 1, QStringLiteral("AMOXIL SUSP"), "4.00",
                                               "7.50", 4);
        db().exec(
            QStringLiteral("INSERT INTO PROVEEDOR (ProvCod, ProvRazSoc) VALUES (3, ?), (4, ?)"),
            {QStringLiteral("SAUCAL"), kLongName});
        batch(100, 10, 10);
        batch(200, 11, 4);
    }
    void batch(int key, int code, int units) {
        db().exec(QStringLiteral("INSERT INTO KARDEXINGRESO (KarInCod, CodPresentacion, UsuCod, "
                                 "ProvCod, KarInStock, KarInFechaCad) VALUES (?, ?, 1, 3, ?, ?)"),
                  {key, code, units, kExpiry});
    }
    void setStock(int stock) { db().exec("UPDATE PRESENTACION SET PresStockTotal = ?", {stock}); }
    int stock() {
        return db::integer(
            db().scalar("SELECT PresStockTotal FROM PRESENTACION WHERE "
                        "CodPresentacion = 10"));
    }
    static IngresoCanjeIn receipt(int canCod, int units, const QString& supplier = kLongName) {
        return {10, canCod, 100, supplier, kExpiry, units, soles("1.50"), "FACTURA", "F1-9", 4};
    }
    int canje(int units) {
        EXPECT_TRUE(KZ_DevolucionCanje(db(), {10, 100, units}, kNow).done);
        return canjesDeLote(db(), 100).back().CanCod;
    }
};

TEST_P(ExchangeProcedures, ASendBackIsDecidedAgainstTheStockAndTheBatchAsTheyAreNow) {
    struct Case {
        int stock, sentBefore, batch, units;
        const char* message;
    } cases[] = {
        {10, 0, 100, 3, "DEVOLUCION POR CANJE REALIZADA"},
        {10, 0, 100, 0, "CANTIDAD DE UNIDADES INCORRECTA"},
        {10, 0, 200, 1, "EL LOTE NO ES DE ESTA PRESENTACION"},
        {3, 0, 100, 5, "EN FISICO SOLO HAY 3 UNIDADES"},
        {10, 8, 100, 3, "DEL LOTE SOLO QUEDAN 2 UNIDADES POR DEVOLVER"},
    };
    for (const Case& c : cases) {
        db().exec(QStringLiteral("DELETE FROM CANJE"));
        setStock(20);
        if (c.sentBefore > 0)
            canje(c.sentBefore);
        setStock(c.stock);
        const CanjeOut out = KZ_DevolucionCanje(db(), {10, c.batch, c.units}, kNow);
        EXPECT_EQ(out.pMensaje, QString::fromLatin1(c.message));
        const int sent = out.done ? c.units : 0;
        EXPECT_EQ(stock(), c.stock - sent) << c.message;
        EXPECT_EQ(count(db(), "CANJE"), (c.sentBefore > 0) + (sent > 0)) << c.message;
    }
}

TEST_P(ExchangeProcedures, ReceiptsBecomeBatchesUntilTheExchangeIsBackAndNoFurther) {
    const int exchange = canje(3);
    IngresoCanjeIn otherBatch = receipt(exchange, 1);
    otherBatch.pKarCod = 200;
    struct Case {
        IngresoCanjeIn in;
        const char* message;
        int pending;
        const char* state;
    } cases[] = {
        {receipt(exchange, 2), "INGRESO POR CANJE REALIZADO", 2, "PCD"},
        {receipt(exchange, 0), "CANTIDAD DE UNIDADES INCORRECTA", 2, "PCD"},
        {otherBatch, "EL CANJE NO ES DE ESTE LOTE", 2, "PCD"},
        {receipt(exchange, 2), "EL CANJE SOLO ESPERA 1 UNIDADES", 2, "PCD"},
        {receipt(exchange, 1, kLongName.left(40)), "NO EXISTE EL PROVEEDOR", 2, "PCD"},
        {receipt(exchange, 1), "INGRESO POR CANJE REALIZADO", 3, "PCR"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KZ_IngresoCanje(db(), c.in, kNow.addDays(c.pending)).pMensaje,
                  QString::fromLatin1(c.message));
        const CanjeRow row = canjesDeLote(db(), 100).front();
        EXPECT_EQ(row.CanUnidPen, c.pending) << c.message;
        EXPECT_EQ(row.CanEstado, QString::fromLatin1(c.state)) << c.message;
        EXPECT_EQ(row.CanFechaIngreso, kNow.addDays(c.pending)) << c.message;
        EXPECT_EQ(stock(), 7 + c.pending) << c.message;
        EXPECT_EQ(count(db(), "KARDEXINGRESO"), 2 + (c.pending - 1)) << c.message;
    }
    QSqlQuery q = db().exec(QStringLiteral(
        "SELECT K.KarInStock, K.ProvCod, K.KarInFechaCad, K.KarInNumDoc, K.UsuCod, "
        "P.PresStockActual FROM KARDEXINGRESO K JOIN PRESFECHCAD P ON P.KarInCod = K.KarInCod "
        "WHERE K.KarInCod > 200 ORDER BY K.KarInCod"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(
        (QVariantList{db::integer(q.value(0)), db::integer(q.value(1)), db::dateTime(q.value(2)),
                      db::text(q.value(3)), db::integer(q.value(4)), db::integer(q.value(5))}),
        (QVariantList{2, 4, kExpiry, "F1-9", 4, 9}));
}

TEST_P(ExchangeProcedures, ACrossCheckKeepsTheStockAndGivesTheRealUnits) {
    struct Case {
        int units;
        QString state;
        const char* message;
        const char* real;  // the data module's figure; empty: nothing recorded
    } cases[] = {
        {3, kFalta, "CRUCE INGRESADO CORRECTAMENTE", "7 /3 FALTA"},
        {40, kSobra, "CRUCE INGRESADO CORRECTAMENTE", "50 /40 SOBRA"},
        {11, kFalta, "LA FALTA SUPERA EL STOCK DE 10 UNIDADES", ""},
        {0, kSobra, "CANTIDAD DE UNIDADES INCORRECTA", ""},
        {1, QStringLiteral("OTRO"), "ELIJA SI EL PRODUCTO SOBRA O FALTA", ""},
    };
    for (const Case& c : cases) {
        db().exec(QStringLiteral("DELETE FROM CRUCE"));
        EXPECT_EQ(KZ_IngresoCruce(db(), {10, 4, c.units, c.state}, kNow).pMensaje,
                  QString::fromLatin1(c.message));
        EXPECT_EQ(stock(), 10);
        const std::vector<CruceRow> rows = cruceRows(db());
        EXPECT_EQ(rows.empty() ? QString() : rows[0].total, QString::fromLatin1(c.real));
    }
}

TEST_P(ExchangeProcedures, DeletionsTakeOnlyTheirRowsAndAllOrNone) {
    for (int code : {10, 10, 10, 11})
        KZ_IngresoCruce(db(), {code, 4, 1, kSobra}, kNow);
    EXPECT_EQ(KZ_EliminaItemCruce(db(), {4, 10}).pMensaje, QStringLiteral("NO EXISTE EL CRUCE"));
    EXPECT_TRUE(eliminaCruces(db(), {{1, 10}, {2, 10}}).done);
    EXPECT_FALSE(eliminaCruces(db(), {{3, 10}, {2, 10}}).done);  // 2 is gone: 3 stays
    EXPECT_EQ(crucesDePresentacion(db(), 10).size(), 1u);
    EXPECT_EQ(crucesDePresentacion(db(), 11).size(), 1u);
}

TEST_P(ExchangeProcedures, TwoWorkstationsSendingBackAtOnceNeverTakeTheSameUnits) {
    struct Case {
        int stock, eachSends, stockAfter;
    } cases[] = {{4, 4, 0}, {20, 6, 14}};  // the last units; more than the batch has twice
    for (const Case& c : cases) {
        db().exec(QStringLiteral("DELETE FROM CANJE"));
        setStock(c.stock);
        std::atomic<int> done = 0;
        concurrently(2, [&](int, Db& connection) {
            done += KZ_DevolucionCanje(connection, {10, 100, c.eachSends}, kNow).done ? 1 : 0;
        });
        EXPECT_EQ(done, 1);
        EXPECT_EQ(stock(), c.stockAfter);
    }
}

TEST_P(ExchangeProcedures, ASendBackAndADischargeOfTheLastUnitsAtOnceLeaveNoNegativeStock) {
    const QDate day = kNow.date();
    setStock(4);
    testsupport::seedSale(db(), 1, day, QStringLiteral("CAJA2-4"), {{10, 4, "8"}});
    std::atomic<int> done = 0;
    concurrently(2, [&](int station, Db& connection) {
        if (station == 0) {
            done += KZ_DevolucionCanje(connection, {10, 100, 4}, kNow).done ? 1 : 0;
            return;
        }
        DecargarPresStockIn in{7, core::saleDay(day).start, 1, {}, 10, 1, "07CAJA2-5", {}};
        done += KZ_DecargarPresStock(connection, in).Estado == "DESCARGADO" ? 1 : 0;
    });
    EXPECT_EQ(done, 1);
    EXPECT_EQ(stock(), 0);
}

TEST_P(ExchangeProcedures, TwoReceiptsAtOnceNeverExceedTheExchange) {
    const int exchange = canje(5);
    std::atomic<int> done = 0;
    concurrently(2, [&](int, Db& connection) {
        done += KZ_IngresoCanje(connection, receipt(exchange, 3), kNow).done ? 1 : 0;
    });
    EXPECT_EQ(done, 1);
    EXPECT_EQ(canjesDeLote(db(), 100).front().CanUnidPen, 3);
    EXPECT_EQ(stock(), 8);
}

VELCARIS_DB_TEST_SUITE(ExchangeProcedures);

}  // namespace
