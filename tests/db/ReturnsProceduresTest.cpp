#include "support/CheckoutSeed.h"
#include "support/DbTest.h"

#include "db/procedures/Checkout.h"
#include "db/procedures/Returns.h"

#include <atomic>

using namespace db::proc;
using testsupport::lineState;
using testsupport::money;
using testsupport::seedPresentation;
using testsupport::seedSale;
using testsupport::stockOf;

namespace {

const QDate kDay(2026, 3, 7);
const core::DateTimeRange kWindow = core::saleDay(kDay);
const QDateTime kNow(kDay.addDays(1), QTime(16, 20, 5));

class ReturnsProcedures : public testsupport::DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped())
            return;
        seedPresentation(db(), 101, QStringLiteral("PARACETAMOL 500MG"), 10);
        seedPresentation(db(), 102, QStringLiteral("IBUPROFENO 400MG"), 10);
        // Sale 5: 3 x 101 at 2.50 and 1 x 102 at 4, discharged as a boleta.
        seedSale(db(), 5, kDay, QStringLiteral("CAJA1-4"), {{101, 3, "2.50"}, {102, 1, "4"}});
        DischargeSale(db(), {5, kWindow, 7, kBoletaDeVenta});
    }

    IngresoDevolucionIn line(int deta, int codPres, int units, int facNum = 5,
                             const QDate& day = kDay) const {
        IngresoDevolucionIn in;
        in.pCodPres = codPres;
        in.pDetaNumero = deta;
        in.pImporte = money("2.50");
        in.pCosto = money("0");
        in.pFacNum = facNum;
        in.pCanDevueltas = units;
        in.pCajero = QStringLiteral("ADMIN");
        in.pFacFecha = QDateTime(day, QTime(0, 0));
        return in;
    }
    IngresoDevolucionOut giveBack(int deta, int codPres, int units) {
        return KZ_IngresoDevolucion(db(), line(deta, codPres, units), kNow);
    }

    int quantity(int facNum, int deta) {
        return db::integer(
            db().scalar(QStringLiteral("SELECT Cantidad FROM DETAFAC WHERE FacNumero = ? AND "
                                       "DetaNumero = ? AND FacFecha BETWEEN ? AND ?"),
                        {facNum, deta, kWindow.start, kWindow.end}));
    }
    int returnRows() {
        return db::integer(db().scalar(QStringLiteral("SELECT COUNT(*) FROM DEVOLUCION")));
    }
    int unitsReturned() {
        return db::integer(
            db().scalar(QStringLiteral("SELECT COALESCE(SUM(DevUnidades), 0) FROM DEVOLUCION")));
    }
};

TEST_P(ReturnsProcedures, APartialReturnLowersTheLineAndTheLastUnitMakesItReturned) {
    ASSERT_EQ(stockOf(db(), 101), 7);

    const IngresoDevolucionOut first = giveBack(1, 101, 2);
    EXPECT_EQ(first.resultado, Devolucion::Devuelto);
    EXPECT_EQ(first.restantes, 1);
    EXPECT_EQ(first.pMensaje, QStringLiteral("DEVUELTAS 2 UNIDADES DEL ITEM 1 DE LA VENTA Nº 5; "
                                             "QUEDAN 1"));
    EXPECT_EQ(stockOf(db(), 101), 9);
    EXPECT_EQ(lineState(db(), 5, kDay, 1), kDescargado);
    EXPECT_EQ(quantity(5, 1), 1);
    EXPECT_EQ(saleTotal(db(), 5, kWindow), money("6.50"));  // what the customer kept

    const IngresoDevolucionOut last = giveBack(1, 101, 1);
    EXPECT_EQ(last.resultado, Devolucion::Devuelto);
    EXPECT_EQ(last.restantes, 0);
    EXPECT_EQ(stockOf(db(), 101), 10);
    EXPECT_EQ(lineState(db(), 5, kDay, 1), kDevuelto);
    EXPECT_EQ(quantity(5, 1), 0);
    EXPECT_EQ(saleTotal(db(), 5, kWindow), money("4"));
    EXPECT_EQ(stockOf(db(), 102), 9);  // the other line is untouched
    EXPECT_EQ(lineState(db(), 5, kDay, 2), kDescargado);

    QSqlQuery q = db().exec(
        QStringLiteral("SELECT FacNumero, FacFecha, DetaNumero, CodPresentacion, DevUnidades, "
                       "DevFecha, DevCajero FROM DEVOLUCION ORDER BY DevUnidades DESC"));
    for (const int units : {2, 1}) {
        ASSERT_TRUE(q.next());
        EXPECT_EQ(db::integer(q.value(0)), 5);
        EXPECT_EQ(db::dateTime(q.value(1)), kWindow.start);  // the line's own date-time
        EXPECT_EQ(db::integer(q.value(2)), 1);
        EXPECT_EQ(db::integer(q.value(3)), 101);
        EXPECT_EQ(db::integer(q.value(4)), units);
        EXPECT_EQ(db::dateTime(q.value(5)), kNow);
        EXPECT_EQ(db::text(q.value(6)), QStringLiteral("ADMIN"));
    }
    EXPECT_FALSE(q.next());
    // The receipt stays as issued.
    EXPECT_EQ(db::text(db().scalar(QStringLiteral("SELECT FacEstado FROM FACTURA"))), kDescargado);
    EXPECT_EQ(db::integer(db().scalar(QStringLiteral("SELECT FacNumSunat FROM FACTURA"))), 1);
}

TEST_P(ReturnsProcedures, RefusalsChangeNothing) {
    seedSale(db(), 6, kDay, QStringLiteral("CAJA1-4"),
             {{101, 1, "1"}, {101, 1, "1", kSinStock}, {101, 1, "1", kDevuelto}});
    giveBack(2, 102, 1);  // sale 5's line 2 is now "DEVUELTO"
    const int rows = returnRows();
    const int stock = stockOf(db(), 101);

    const struct {
        IngresoDevolucionIn in;
        Devolucion why;
        const char* mensaje;
    } cases[] = {
        {line(1, 101, 0), Devolucion::CantidadNoAdmisible, "CANTIDAD NO ADMISIBLE"},
        {line(1, 101, -2), Devolucion::CantidadNoAdmisible, "CANTIDAD NO ADMISIBLE"},
        {line(1, 101, 4), Devolucion::SobrepasaLoVendido,
         "NO PUEDE SOBREPASAR LO VENDIDO: QUEDAN 3 UNIDADES"},
        {line(2, 102, 1), Devolucion::ItemNoDescargado,
         "ITEM 2 DE LA VENTA Nº 5 DEVUELTO: NO SE DEVUELVE"},
        {line(1, 101, 1, 6), Devolucion::ItemNoDescargado,
         "ITEM 1 DE LA VENTA Nº 6 NO DESCARGADO: NO SE DEVUELVE"},
        {line(2, 101, 1, 6), Devolucion::ItemNoDescargado,
         "ITEM 2 DE LA VENTA Nº 6 SIN STOCK: NO SE DEVUELVE"},
        {line(3, 101, 1, 6), Devolucion::ItemNoDescargado,
         "ITEM 3 DE LA VENTA Nº 6 DEVUELTO: NO SE DEVUELVE"},
        {line(1, 102, 1), Devolucion::ItemNoEncontrado, "NO EXISTE EL ITEM 1 DE LA VENTA Nº 5"},
        {line(3, 101, 1), Devolucion::ItemNoEncontrado, "NO EXISTE EL ITEM 3 DE LA VENTA Nº 5"},
        {line(1, 101, 1, 5, kDay.addDays(-1)), Devolucion::ItemNoEncontrado,
         "NO EXISTE EL ITEM 1 DE LA VENTA Nº 5"},
    };
    for (const auto& c : cases) {
        const IngresoDevolucionOut out = KZ_IngresoDevolucion(db(), c.in, kNow);
        EXPECT_EQ(out.resultado, c.why) << c.mensaje;
        EXPECT_EQ(out.pMensaje, QString::fromUtf8(c.mensaje));
        EXPECT_EQ(out.restantes, 0);
    }

    EXPECT_EQ(returnRows(), rows);
    EXPECT_EQ(stockOf(db(), 101), stock);
    EXPECT_EQ(quantity(5, 1), 3);
    EXPECT_EQ(lineState(db(), 5, kDay, 1), kDescargado);
    EXPECT_EQ(lineState(db(), 6, kDay, 1), kNoDescargado);
    EXPECT_EQ(giveBack(1, 101, 3).resultado, Devolucion::Devuelto);  // exactly what remains
}

TEST_P(ReturnsProcedures, TheSaleIsFoundByItsDayWhateverTheTimeAndTheCashierIsCut) {
    IngresoDevolucionIn in = line(1, 101, 1);
    in.pFacFecha = QDateTime(kDay, QTime(18, 45));
    in.pCajero = QStringLiteral("UN NOMBRE DE CAJERO DEMASIADO LARGO");

    EXPECT_EQ(KZ_IngresoDevolucion(db(), in, kNow).resultado, Devolucion::Devuelto);
    EXPECT_EQ(db::text(db().scalar(QStringLiteral("SELECT DevCajero FROM DEVOLUCION"))),
              QStringLiteral("UN NOMBRE DE CAJERO"));  // 20 characters, trailing blank cut
}

TEST_P(ReturnsProcedures, UnitsOfAPresentationNoLongerInTheCatalogueAreNotTakenBack) {
    db().exec(QStringLiteral("DELETE FROM PRESENTACION WHERE CodPresentacion = 101"));

    EXPECT_THROW(giveBack(1, 101, 2), db::Error);

    EXPECT_EQ(returnRows(), 0);
    EXPECT_EQ(quantity(5, 1), 3);
    EXPECT_EQ(lineState(db(), 5, kDay, 1), kDescargado);
}

TEST_P(ReturnsProcedures, TwoWorkstationsReturningTheLastUnitsOfALine) {
    std::atomic<int> accepted{0};
    concurrently(2, [&](int, db::Db& connection) {
        if (KZ_IngresoDevolucion(connection, line(1, 101, 3), kNow).resultado ==
            Devolucion::Devuelto)
            ++accepted;
    });

    EXPECT_EQ(accepted, 1);
    EXPECT_EQ(returnRows(), 1);
    EXPECT_EQ(stockOf(db(), 101), 10);
    EXPECT_EQ(lineState(db(), 5, kDay, 1), kDevuelto);
}

TEST_P(ReturnsProcedures, SixWorkstationsReturningOneUnitEachOfAThreeUnitLine) {
    std::atomic<int> accepted{0};
    concurrently(6, [&](int, db::Db& connection) {
        if (KZ_IngresoDevolucion(connection, line(1, 101, 1), kNow).resultado ==
            Devolucion::Devuelto)
            ++accepted;
    });

    EXPECT_EQ(accepted, 3);
    EXPECT_EQ(unitsReturned(), 3);
    EXPECT_EQ(stockOf(db(), 101), 10);
    EXPECT_EQ(quantity(5, 1), 0);
    EXPECT_EQ(lineState(db(), 5, kDay, 1), kDevuelto);
}

VELCARIS_DB_TEST_SUITE(ReturnsProcedures);

}  // namespace
