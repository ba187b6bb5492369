#include "sales/SalesSeed.h"
#include "support/DbTest.h"

#include "db/procedures/Sales.h"

#include <QSet>
#include <atomic>
#include <mutex>

using namespace db::proc;
using namespace testsupport::counter;
using db::Db;

namespace {

const QDate kDay(2026, 3, 2);
const QDateTime kDayStart(kDay, core::kDayFirstSecond);
const QDateTime kNow(kDay, QTime(10, 15, 30));
const QDateTime kNextDayStart(kDay.addDays(1), core::kDayFirstSecond);
const QString kTag = QStringLiteral("MOSTRADOR01-4");

class SalesProcedures : public testsupport::DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped())
            return;
        seedLink(db(), 1, QStringLiteral("AMOXIL"), QStringLiteral("GENFAR"));
        seedPresentation(db(), 10, 1, QStringLiteral("AMOXIL 500 MG TAB"), "0.50", "1.20", 5);
        seedPresentation(db(), 11, 1, QStringLiteral("AMOXIL 250 MG SUSP"), "4.00", "7.50", 40);
    }

    int newSale(const QDateTime& dayStart = kDayStart, const QDateTime& now = kNow) {
        return KZ_NumeroVenta(db(), {dayStart, 7, kTag}, now).pNumero;
    }
    // Also checks the lines the call gives back against the lines read after it.
    IngresoPresVentaOut add(int sale, int pres, int quantity, const char* price = "1.20",
                            const QDateTime& dayStart = kDayStart) {
        std::vector<LineaVenta> given{LineaVenta{}};
        const IngresoPresVentaOut out = KZ_IngresoPresVenta(
            db(), {pres, quantity, soles(price), soles("0.50"), sale, dayStart}, &given);
        const std::vector<LineaVenta> read = lines(sale, dayStart.date());
        EXPECT_EQ(given.size(), read.size());
        for (std::size_t i = 0; i < std::min(given.size(), read.size()); ++i)
            EXPECT_EQ(fields(given[i]), fields(read[i])) << "line " << i;
        return out;
    }
    std::vector<LineaVenta> lines(int sale, const QDate& day = kDay) {
        return saleLines(db(), sale, core::saleDay(day));
    }
    static std::string fields(const LineaVenta& l) {
        return QStringList{QString::number(l.FacNumero),
                           l.FacFecha.toString(Qt::ISODate),
                           QString::number(l.DetaNumero),
                           QString::number(l.CodPresentacion),
                           QString::number(l.Cantidad),
                           QString::number(l.Importe.raw()),
                           QString::number(l.SUB_TOTAL.raw()),
                           l.Estado,
                           l.PresTipo,
                           l.LabNombre,
                           QString::number(l.PresPrecioCosto.raw()),
                           QString::number(l.PresVenta.raw()),
                           QString::number(l.PresStockTotal),
                           QString::number(l.inCatalogue),
                           l.FacEstado,
                           l.FacHostName,
                           l.FacSerieSunat,
                           QString::number(l.FacNumSunat),
                           l.FacTipoSunat,
                           QString::number(l.FacEstadoSunat)}
            .join(QLatin1Char('|'))
            .toStdString();
    }
    int discounts() { return count(db(), QStringLiteral("DESCUENTO")); }
};

TEST_P(SalesProcedures, NumeroVentaRecordsThePendingSaleOfTheWorkstationAndSeller) {
    const int first = newSale();
    QSqlQuery q = db().exec(QStringLiteral("SELECT FacFecha, UsuCod, FacHostName, FacEstado "
                                           "FROM FACTURA WHERE FacNumero = ?"),
                            {first});
    ASSERT_TRUE(q.next());
    EXPECT_EQ(db::dateTime(q.value(0)), kNow);
    EXPECT_EQ(db::integer(q.value(1)), 7);
    EXPECT_EQ(db::text(q.value(2)), kTag);
    EXPECT_EQ(db::text(q.value(3)), QStringLiteral("NO DESCARGADO"));
}

TEST_P(SalesProcedures, NumeroVentaCountsWithinTheDayAndKeepsTheSaleInsideIt) {
    EXPECT_EQ(newSale(), 1);
    EXPECT_EQ(newSale(), 2);
    // The next day starts again; a reservation at midnight is dated inside the sale-day window.
    const QDateTime midnight = kDay.addDays(1).startOfDay();
    EXPECT_EQ(newSale(kNextDayStart, midnight), 1);
    EXPECT_EQ(estadoVenta(db(), 1, core::saleDay(kDay.addDays(1))),
              QStringLiteral("NO DESCARGADO"));
    EXPECT_EQ(newSale(), 3);
}

TEST_P(SalesProcedures, NumeroVentaKeepsAWholeFifteenCharacterNameTag) {
    const QString tag = QStringLiteral("ABCDEFGHIJKLMNO-4");
    const int sale = KZ_NumeroVenta(db(), {kDayStart, 7, tag}, kNow).pNumero;
    EXPECT_EQ(db::text(db().scalar(
                  QStringLiteral("SELECT FacHostName FROM FACTURA WHERE FacNumero = ?"), {sale})),
              tag);
}

TEST_P(SalesProcedures, EightWorkstationsPressingF4AtOnceGetEightNumbers) {
    constexpr int kStations = 8;
    std::mutex mutex;
    QSet<int> numbers;
    concurrently(kStations, [&](int station, Db& connection) {
        const QString tag = QStringLiteral("PC%1-4").arg(station);
        const int n = KZ_NumeroVenta(connection, {kDayStart, station + 1, tag}, kNow).pNumero;
        const std::lock_guard<std::mutex> hold(mutex);
        numbers.insert(n);
    });
    EXPECT_EQ(numbers.size(), kStations);
    for (int n = 1; n <= kStations; ++n)
        EXPECT_TRUE(numbers.contains(n)) << n;
    EXPECT_EQ(count(db(), QStringLiteral("FACTURA")), kStations);
}

TEST_P(SalesProcedures, EditaVendedorRetagsOnlyThatDaysPendingSale) {
    const int today = newSale();
    const int tomorrow = newSale(kNextDayStart, kNextDayStart);
    ASSERT_EQ(today, tomorrow);
    const int discharged = newSale();
    setSaleState(db(), discharged, QStringLiteral("DESCARGADO"));

    Kz_EditaVendedorNumeroVenta(db(), {kDayStart, QStringLiteral("CAJA02-4"), today});
    Kz_EditaVendedorNumeroVenta(db(), {kDayStart, QStringLiteral("CAJA02-4"), discharged});

    QSqlQuery q =
        db().exec(QStringLiteral("SELECT FacNumero, FacFecha, FacHostName FROM FACTURA "
                                 "ORDER BY FacFecha, FacNumero"));
    QStringList tags;
    while (q.next())
        tags << db::text(q.value(2));
    EXPECT_EQ(tags, (QStringList{QStringLiteral("CAJA02-4"), kTag, kTag}));
}

TEST_P(SalesProcedures, IngresoPresVentaAddsPendingLinesAndReturnsTheRunningTotal) {
    const int sale = newSale();
    const IngresoPresVentaOut first = add(sale, 10, 2);
    const IngresoPresVentaOut second = add(sale, 11, 1, "7.00");

    EXPECT_EQ(first.resultado, Ingreso::Ingresado);
    EXPECT_EQ(first.DetaNumero, 1);
    EXPECT_EQ(first.pTOTAL, soles("2.40"));
    EXPECT_EQ(first.pMensaje, QStringLiteral("ITEM 1: 2 AMOXIL 500 MG TAB"));
    EXPECT_EQ(second.DetaNumero, 2);
    EXPECT_EQ(second.pTOTAL, soles("9.40"));

    const std::vector<LineaVenta> l = lines(sale);
    ASSERT_EQ(l.size(), 2u);
    EXPECT_EQ(l[0].PresTipo, QStringLiteral("AMOXIL 500 MG TAB"));
    EXPECT_EQ(l[0].LabNombre, QStringLiteral("GENFAR"));
    EXPECT_EQ(l[0].Cantidad, 2);
    EXPECT_EQ(l[0].Importe, soles("1.20"));
    EXPECT_EQ(l[0].Estado, QStringLiteral("NO DESCARGADO"));
    EXPECT_EQ(l[0].FacFecha, kNow);  // the header's date, so both join
    EXPECT_EQ(l[1].Importe, soles("7.00"));
    EXPECT_EQ(l[1].PresPrecioCosto, soles("4.00"));
    EXPECT_EQ(
        db::money(db().scalar(QStringLiteral("SELECT Costo FROM DETAFAC WHERE DetaNumero = 1"))),
        soles("0.50"));
    EXPECT_EQ(totalVenta(db(), sale, core::saleDay(kDay)), soles("9.40"));
}

TEST_P(SalesProcedures, IngresoPresVentaRefusesAndAddsNothing) {
    const int sale = newSale();
    add(sale, 10, 3);
    const int discharged = newSale();
    setSaleState(db(), discharged, QStringLiteral("DESCARGADO"));
    struct Case {
        const char* what;
        int sale;
        int pres;
        int quantity;
        Ingreso expected;
        QString message;
    };
    const Case cases[] = {
        {"quantity 0", sale, 10, 0, Ingreso::CantidadNoAdmisible,
         QStringLiteral("CANTIDAD NO ADMISIBLE")},
        {"no such sale", 99, 10, 1, Ingreso::VentaInexistente,
         QStringLiteral("NO EXISTE LA VENTA Nº 99")},
        {"discharged", discharged, 10, 1, Ingreso::VentaDescargada,
         QStringLiteral("VENTA Nº 2 HA SIDO DESCARGADA")},
        {"no such presentation", sale, 77, 1, Ingreso::PresentacionInexistente,
         QStringLiteral("NO EXISTE LA PRESENTACION")},
        {"3 more on stock 5 holding 3", sale, 10, 3, Ingreso::SinStock,
         QStringLiteral("SOBREPASA EL STOCK TOTAL EN LA FARMACIA...")},
    };
    for (const Case& c : cases) {
        const IngresoPresVentaOut out = add(c.sale, c.pres, c.quantity);
        EXPECT_EQ(out.resultado, c.expected) << c.what;
        EXPECT_EQ(out.pMensaje, c.message) << c.what;
        EXPECT_EQ(out.DetaNumero, 0) << c.what;
    }
    EXPECT_EQ(count(db(), QStringLiteral("DETAFAC")), 1);
    EXPECT_EQ(add(sale, 10, 3).pTOTAL, soles("3.60"));  // a refusal reports the total as it is

    EXPECT_EQ(add(sale, 10, 2).resultado, Ingreso::Ingresado);  // 3 + 2 = the stock
}

TEST_P(SalesProcedures, ASaleThatWentWithoutStockTakesNewLinesAndIsPendingAgain) {
    const int sale = newSale();
    add(sale, 10, 1);
    setLineState(db(), sale, 1, QStringLiteral("SIN STOCK"));
    setSaleState(db(), sale, QStringLiteral("SIN STOCK"));
    const IngresoPresVentaOut out = add(sale, 10, 2);
    EXPECT_EQ(out.resultado, Ingreso::Ingresado) << out.pMensaje.toStdString();
    EXPECT_EQ(out.DetaNumero, 2);
    EXPECT_EQ(estadoVenta(db(), sale, core::saleDay(kDay)), QStringLiteral("NO DESCARGADO"));
}

TEST_P(SalesProcedures, StockCheckCountsOnlyThisSalesPendingUnitsOfThatDay) {
    const int sale = newSale();
    add(sale, 10, 3);
    setLineState(db(), sale, 1, QStringLiteral("DESCARGADO"));  // its units left the stock
    const int tomorrow = newSale(kNextDayStart, kNextDayStart);
    EXPECT_EQ(add(tomorrow, 10, 5, "1.20", kNextDayStart).resultado, Ingreso::Ingresado);
    const int other = newSale();
    EXPECT_EQ(add(other, 10, 5).resultado, Ingreso::Ingresado);
    EXPECT_EQ(add(sale, 10, 5).resultado, Ingreso::Ingresado);
}

TEST_P(SalesProcedures, ConcurrentEntriesOnOneSaleNeverExceedTheStock) {
    const int sale = newSale();
    std::atomic<int> accepted = 0;
    concurrently(8, [&](int, Db& connection) {
        const IngresoPresVentaOut out =
            KZ_IngresoPresVenta(connection, {10, 1, soles("1.20"), soles("0.50"), sale, kDayStart});
        if (out.resultado == Ingreso::Ingresado)
            ++accepted;
    });
    EXPECT_EQ(accepted, 5);
    EXPECT_EQ(unidadesEnVenta(db(), sale, core::saleDay(kDay), 10), 5);
    QSet<int> numbers;
    for (const LineaVenta& l : lines(sale))
        numbers.insert(l.DetaNumero);
    EXPECT_EQ(numbers.size(), 5);
}

TEST_P(SalesProcedures, IngresoDescuentoRecordsTheDiscountOfTheLineJustAdded) {
    const int sale = newSale();
    add(sale, 10, 1);
    add(sale, 11, 1);
    add(sale, 10, 2, "1.00");
    const QDateTime at = kNow.addSecs(30);
    const IngresoDescuentoOut out = KZ_IngresoDescuento(
        db(), {sale, 10, QStringLiteral("ADMIN"), 2, soles("1.00"), kDayStart}, at);
    EXPECT_EQ(out.pMensaje, QStringLiteral("DESCUENTO REGISTRADO EN EL ITEM 3"));
    // Given again, it replaces the line's discount.
    KZ_IngresoDescuento(db(), {sale, 10, QStringLiteral("MAXIMOS"), 2, soles("0.90"), kDayStart},
                        at);

    QSqlQuery q =
        db().exec(QStringLiteral("SELECT FacNumero, FacFecha, DetaNumero, CodPresentacion, "
                                 "DesNombre, DesUnidades, DesImporte, DesFecha "
                                 "FROM DESCUENTO"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(db::integer(q.value(0)), sale);
    EXPECT_EQ(db::dateTime(q.value(1)), kNow);
    EXPECT_EQ(db::integer(q.value(2)), 3);
    EXPECT_EQ(db::integer(q.value(3)), 10);
    EXPECT_EQ(db::text(q.value(4)), QStringLiteral("MAXIMOS"));
    EXPECT_EQ(db::integer(q.value(5)), 2);
    EXPECT_EQ(db::money(q.value(6)), soles("0.90"));
    EXPECT_EQ(db::dateTime(q.value(7)), at);
    EXPECT_FALSE(q.next());

    EXPECT_EQ(
        KZ_IngresoDescuento(db(), {sale, 77, QStringLiteral("ADMIN"), 1, soles("1"), kDayStart}, at)
            .pMensaje,
        QStringLiteral("NO HAY ITEM PARA EL DESCUENTO"));
}

TEST_P(SalesProcedures, EliminarItemRemovesExactlyThatPendingLineOfThatDay) {
    const int sale = newSale();
    add(sale, 10, 1);
    add(sale, 11, 1);
    const int tomorrow = newSale(kNextDayStart, kNextDayStart);
    add(tomorrow, 10, 1, "1.20", kNextDayStart);
    KZ_IngresoDescuento(db(), {sale, 10, QStringLiteral("ADMIN"), 1, soles("1"), kDayStart}, kNow);

    const EliminarItemOut wrongPres = KZ_EliminarItem(db(), {sale, 11, 1, kDayStart});
    EXPECT_FALSE(wrongPres.eliminado);
    EXPECT_EQ(wrongPres.pMensaje, QStringLiteral("NO EXISTE EL ITEM 1"));

    const EliminarItemOut out = KZ_EliminarItem(db(), {sale, 10, 1, kDayStart});
    EXPECT_TRUE(out.eliminado);
    EXPECT_EQ(out.pMensaje, QStringLiteral("ITEM 1 ELIMINADO"));
    ASSERT_EQ(lines(sale).size(), 1u);
    EXPECT_EQ(lines(sale)[0].DetaNumero, 2);
    EXPECT_EQ(lines(tomorrow, kDay.addDays(1)).size(), 1u);  // same number, another day
    EXPECT_EQ(discounts(), 0);

    setLineState(db(), sale, 2, QStringLiteral("DESCARGADO"));
    const EliminarItemOut discharged = KZ_EliminarItem(db(), {sale, 11, 2, kDayStart});
    EXPECT_FALSE(discharged.eliminado);
    EXPECT_EQ(discharged.pMensaje, QStringLiteral("ITEM 2 YA DESCARGADO: NO SE ELIMINA"));
    EXPECT_EQ(lines(sale).size(), 1u);
}

TEST_P(SalesProcedures, BorraCotizacionRemovesOnlyPendingLinesAndSaysWhat) {
    const int sale = newSale();
    EXPECT_EQ(KZ_BorraCotizacion(db(), {kDayStart, sale}).pMensaje,
              QStringLiteral("COTIZACION Nº 1 SIN ITEMS QUE ELIMINAR"));
    add(sale, 10, 1);
    add(sale, 11, 1);
    KZ_IngresoDescuento(db(), {sale, 11, QStringLiteral("ADMIN"), 1, soles("7"), kDayStart}, kNow);
    const int tomorrow = newSale(kNextDayStart, kNextDayStart);
    add(tomorrow, 10, 1, "1.20", kNextDayStart);

    EXPECT_EQ(KZ_BorraCotizacion(db(), {kDayStart, sale}).pMensaje,
              QStringLiteral("COTIZACION Nº 1 ELIMINADA: 2 ITEMS"));
    EXPECT_TRUE(lines(sale).empty());
    EXPECT_EQ(discounts(), 0);
    EXPECT_EQ(lines(tomorrow, kDay.addDays(1)).size(), 1u);
    EXPECT_EQ(newSale(), 2);  // the emptied sale keeps its number

    const int mixed = 2;
    add(mixed, 10, 1);
    add(mixed, 11, 1);
    add(mixed, 11, 1);
    setLineState(db(), mixed, 1, QStringLiteral("DESCARGADO"));
    EXPECT_EQ(KZ_BorraCotizacion(db(), {kDayStart, mixed}).pMensaje,
              QStringLiteral("ELIMINADOS 2 ITEMS; 1 DESCARGADOS QUEDAN"));
    EXPECT_EQ(lines(mixed).size(), 1u);
}

TEST_P(SalesProcedures, BorrandoProductoRemovesOnlyALinkWithoutPresentations) {
    seedLink(db(), 2, QStringLiteral("PANADOL"), QStringLiteral("GSK"));
    EXPECT_EQ(KZ_BorrandoProducto(db(), {1}).pMensaje,
              QStringLiteral("NO SE BORRA: TIENE 2 PRESENTACION(ES)"));
    EXPECT_EQ(KZ_BorrandoProducto(db(), {2}).pMensaje,
              QStringLiteral("PRODUCTO-LABORATORIO BORRADO"));
    EXPECT_EQ(KZ_BorrandoProducto(db(), {2}).pMensaje,
              QStringLiteral("NO EXISTE EL PRODUCTO-LABORATORIO"));
    EXPECT_EQ(count(db(), QStringLiteral("PRODUCTO_LABORATORIO")), 1);
    EXPECT_EQ(count(db(), QStringLiteral("PRODUCTO")), 2);  // the product itself stays
}

TEST_P(SalesProcedures, ReadsOfTheQuotationKeepToTheSaleDayWindow) {
    const int sale = newSale();
    add(sale, 10, 2);
    add(sale, 10, 1);
    const core::DateTimeRange today = core::saleDay(kDay);
    const core::DateTimeRange yesterday = core::saleDay(kDay.addDays(-1));
    EXPECT_EQ(unidadesEnVenta(db(), sale, today, 10), 3);
    EXPECT_EQ(unidadesEnVenta(db(), sale, today, 11), 0);
    EXPECT_EQ(unidadesEnVenta(db(), sale, yesterday, 10), 0);
    EXPECT_EQ(totalVenta(db(), sale, yesterday), core::Money());
    EXPECT_EQ(estadoVenta(db(), sale, yesterday), QString());
    EXPECT_TRUE(saleLines(db(), sale, yesterday).empty());
}

}  // namespace

VELCARIS_DB_TEST_SUITE(SalesProcedures);
