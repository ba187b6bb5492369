#include "support/CheckoutSeed.h"
#include "support/DbTest.h"

#include "db/procedures/Checkout.h"
#include "db/procedures/Sales.h"
#include "db/procedures/SearchCommands.h"
#include "db/procedures/Stock.h"
#include "db/procedures/StockAdjust.h"

#include <atomic>
#include <semaphore>

using namespace db::proc;
using testsupport::addSaleLine;
using testsupport::seedPresentation;
using testsupport::seedSale;
using testsupport::stockOf;

namespace {

const QDate kDay(2026, 3, 2);

class SearchCommands : public testsupport::DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped())
            return;
        seedPresentation(db(), 101, QStringLiteral("PARACETAMOL 500MG"), 0);
    }
    int presentations(int code) {
        return db::integer(db().scalar(
            QStringLiteral("SELECT COUNT(*) FROM PRESENTACION WHERE CodPresentacion = ?"), {code}));
    }
    void insertReference(const QString& sql) { db().exec(sql, {101}); }
    int rowsOf(const QString& table, int code) {
        return db::integer(db().scalar(QStringLiteral("SELECT COUNT(*) FROM ") + table +
                                           QStringLiteral(" WHERE CodPresentacion = ?"),
                                       {code}));
    }
    // A price change and two expiry rows of `code`, and an expiry row of another presentation.
    void seedPriceLogAndExpiries(int code) {
        db().exec(QStringLiteral("INSERT INTO SEGUIMIENTO_PRECIO (SegCod, CodPresentacion) "
                                 "VALUES (?, ?)"),
                  {code, code});
        for (int other : {code, code, code + 1})
            db().exec(QStringLiteral("INSERT INTO PRESFECHCAD (CodPresentacion, PresStockActual) "
                                     "VALUES (?, 0)"),
                      {other});
    }
};

TEST_P(SearchCommands, TheLinkSwitchesBetweenActiveAndInactiveAndAnyOtherStateBecomesActive) {
    const int link = db::integer(db().scalar(
        QStringLiteral("SELECT ProdLabCod FROM PRESENTACION WHERE CodPresentacion = 101")));
    EXPECT_EQ(prodLabEstado(db(), link), QStringLiteral("ACTIVO"));
    EXPECT_EQ(KZ_EditarEstadoProductoLaboratorio(db(), {link}).pMensaje,
              QStringLiteral("PRODUCTO-LABORATORIO INACTIVO"));
    EXPECT_EQ(prodLabEstado(db(), link), QStringLiteral("INACTIVO"));
    EXPECT_EQ(KZ_EditarEstadoProductoLaboratorio(db(), {link}).pMensaje,
              QStringLiteral("PRODUCTO-LABORATORIO ACTIVO"));
    db().exec(QStringLiteral("UPDATE PRODUCTO_LABORATORIO SET ProdLabEstado = 'activo'"));
    KZ_EditarEstadoProductoLaboratorio(db(), {link});
    EXPECT_EQ(prodLabEstado(db(), link), QStringLiteral("ACTIVO"));
    EXPECT_EQ(KZ_EditarEstadoProductoLaboratorio(db(), {999}).pMensaje,
              QStringLiteral("NO EXISTE EL PRODUCTO-LABORATORIO"));
}

TEST_P(SearchCommands, APresentationWithoutStockOrHistoryIsDeletedWithItsPriceLogAndExpiries) {
    seedPriceLogAndExpiries(101);
    const BorraPresentacionOut out = KZ_BorraPresentacion(db(), {101});
    EXPECT_TRUE(out.borrada);
    EXPECT_EQ(out.pMensaje4, QStringLiteral("PRESENTACION BORRADA"));
    EXPECT_EQ(presentations(101), 0);
    EXPECT_EQ(rowsOf(QStringLiteral("SEGUIMIENTO_PRECIO"), 101), 0);
    EXPECT_EQ(rowsOf(QStringLiteral("PRESFECHCAD"), 101), 0);
    EXPECT_EQ(rowsOf(QStringLiteral("PRESFECHCAD"), 102), 1);
    EXPECT_FALSE(KZ_BorraPresentacion(db(), {101}).borrada);
}

TEST_P(SearchCommands, APresentationWithStockOrAnythingReferringToItIsKept) {
    // Old imported data may hold a stock below zero: it is kept like any other stock.
    for (int stock : {3, -2}) {
        db().exec(QStringLiteral("UPDATE PRESENTACION SET PresStockTotal = ?"), {stock});
        const BorraPresentacionOut out = KZ_BorraPresentacion(db(), {101});
        EXPECT_FALSE(out.borrada);
        EXPECT_EQ(
            out.pMensaje4,
            QStringLiteral("NO SE PUEDE BORRAR LA PRESENTACION: TIENE STOCK (%1)").arg(stock));
        EXPECT_EQ(presentations(101), 1);
    }
    db().exec(QStringLiteral("UPDATE PRESENTACION SET PresStockTotal = 0"));
    const QString references[] = {
        QStringLiteral("INSERT INTO KARDEXINGRESO (KarInCod, CodPresentacion) VALUES (1, ?)"),
        QStringLiteral("INSERT INTO CANJE (CanCod, CodPresentacion) VALUES (1, ?)"),
        QStringLiteral("INSERT INTO CRUCE (CruceCod, CodPresentacion) VALUES (1, ?)"),
        QStringLiteral(
            "INSERT INTO INVENTARIO_DETALLE (InvDetaCod, CodPresentacion) VALUES (1, ?)"),
    };
    for (const QString& sql : references) {
        SCOPED_TRACE(sql.toStdString());
        insertReference(sql);
        EXPECT_FALSE(KZ_BorraPresentacion(db(), {101}).borrada);
        EXPECT_EQ(presentations(101), 1);
        db().exec(QStringLiteral("DELETE FROM ") + sql.section(QLatin1Char(' '), 2, 2));
    }
    seedSale(db(), 5, kDay, QStringLiteral("CAJA1-4"), {{101, 1, "1"}});
    const BorraPresentacionOut sold = KZ_BorraPresentacion(db(), {101});
    EXPECT_EQ(sold.pMensaje4, QStringLiteral("NO SE PUEDE BORRAR LA PRESENTACION: TIENE VENTAS"));
    EXPECT_EQ(presentations(101), 1);
}

TEST_P(SearchCommands, ADeletionAndASaleOfThePresentationAtOnceNeverBothHappen) {
    db().exec(QStringLiteral("UPDATE PRESENTACION SET PresStockTotal = 0"));
    for (int round = 0; round < 6; ++round) {
        const int code = 200 + round;
        seedPresentation(db(), code, QStringLiteral("PRES %1").arg(code), 0);
        seedSale(db(), 10 + round, kDay, QStringLiteral("CAJA1-4"), {});
        // One connection takes its last unit away and deletes it while the other sells it:
        // the sale comes first, or finds it gone or without stock.
        db().exec(QStringLiteral("UPDATE PRESENTACION SET PresStockTotal = 1 WHERE "
                                 "CodPresentacion = ?"),
                  {code});
        std::atomic<bool> deleted{false};
        std::atomic<bool> sold{false};
        concurrently(2, [&](int i, db::Db& conn) {
            if (i == 0) {
                conn.exec(QStringLiteral("UPDATE PRESENTACION SET PresStockTotal = 0 WHERE "
                                         "CodPresentacion = ?"),
                          {code});
                deleted = KZ_BorraPresentacion(conn, {code}).borrada;
            } else {
                IngresoPresVentaIn in;
                in.pCodPres = code;
                in.pCan = 1;
                in.pNumFac = 10 + round;
                in.pFechaHoy = QDateTime(kDay, QTime(0, 0));
                sold = KZ_IngresoPresVenta(conn, in).resultado == Ingreso::Ingresado;
            }
        });
        EXPECT_NE(deleted.load(), sold.load()) << "round " << round;
        EXPECT_EQ(deleted.load(), presentations(code) == 0);
    }
}

// Each stock writer, on presentation `code` (stock 0): true when it changed the stock.
struct StockWriter {
    const char* name;
    std::function<bool(db::Db&, int code)> write;
};
const StockWriter kStockWriters[] = {
    {"adjuster",
     [](db::Db& c, int code) {
         const EditarStockTotalIn in{
             code, 1, kFalta, -4, testsupport::money("1"), testsupport::money("2"), 0};
         return KZ_EditarStockTotal(c, in, QDateTime(kDay, QTime(9, 0))).resultado ==
                AjusteStock::Editado;
     }},
    {"intake",
     [](db::Db& c, int code) {
         const int ingreso = nuevoIngresoStock(c);
         IngresoPresFechCadMasStockIn batch{ingreso, QStringLiteral("CAJA2"), code};
         batch.pFechCad = QDateTime(kDay.addYears(1), QTime(9, 0));
         batch.pStock = 4;
         batch.pFechIngre = QDateTime(kDay, QTime(9, 0));
         batch.pProvNom = QStringLiteral("SAUCAL");
         EXPECT_TRUE(KZT_IngresoPresFechCadMasStock(c, batch).staged);
         return KZ_IngresoMasStock(c, {ingreso, code, testsupport::money("1")}).applied;
     }},
    {"expiry-date intake",
     [](db::Db& c, int code) {
         KardexIngresoIn in{code, QDateTime(kDay.addYears(1), QTime(9, 0)), 4};
         in.pFechIngre = QDateTime(kDay, QTime(9, 0));
         in.pProvNom = QStringLiteral("SAUCAL");
         return KZ_KardexIngreso(c, in).KarInCod > 0;
     }},
};

// A writer started while a deletion is under way waits for it and then finds nothing to change:
// no units lost with the presentation, no row left pointing at nothing.
TEST_P(SearchCommands, AStockWriterWaitsForADeletionUnderWayAndFindsThePresentationGone) {
    db().exec(QStringLiteral("INSERT INTO PROVEEDOR (ProvCod, ProvRazSoc) VALUES (1, 'SAUCAL')"));
    db().exec(QStringLiteral("INSERT INTO INVENTARIO (InvCod, InvFecha) VALUES (1, ?)"),
              {QDateTime(kDay, QTime(8, 0))});
    int code = 300;
    for (const StockWriter& writer : kStockWriters) {
        SCOPED_TRACE(writer.name);
        seedPresentation(db(), ++code, QStringLiteral("PRES %1").arg(code), 0);
        std::binary_semaphore started{0};
        std::atomic<bool> written{false};
        std::atomic<bool> finished{false};
        std::atomic<bool> writtenDuringDeletion{false};
        std::atomic<bool> deleted{false};
        concurrently(2, [&](int i, db::Db& conn) {
            if (i == 1) {
                started.acquire();
                written = writer.write(conn, code);
                finished = true;
                return;
            }
            const BorraPresentacionHooks hooks{[&] {
                started.release();
                writtenDuringDeletion = doneBeforeBlocked(finished);
            }};
            deleted = KZ_BorraPresentacion(conn, {code}, hooks).borrada;
        });
        EXPECT_FALSE(writtenDuringDeletion.load());
        EXPECT_TRUE(deleted.load());
        EXPECT_FALSE(written.load());
        for (const char* table : {"KARDEXINGRESO", "PRESFECHCAD", "INVENTARIO_DETALLE"})
            EXPECT_EQ(rowsOf(QString::fromLatin1(table), code), 0) << table;
    }
}

// Stock that arrives after the checks by a path that takes no lock (old data, a maintenance)
// still stops the deletion, with the price log and expiries kept.
TEST_P(SearchCommands, AStockThatArrivesAfterTheChecksStopsTheDeletion) {
    seedPriceLogAndExpiries(101);
    const std::unique_ptr<db::Db> other = connectAnother();
    db::Db& writer = GetParam() == db::Dialect::PostgreSQL ? *other : db();
    const BorraPresentacionHooks hooks{[&] {
        writer.exec(
            QStringLiteral("UPDATE PRESENTACION SET PresStockTotal = 3 "
                           "WHERE CodPresentacion = 101"));
    }};
    const BorraPresentacionOut out = KZ_BorraPresentacion(db(), {101}, hooks);
    EXPECT_FALSE(out.borrada);
    EXPECT_EQ(out.pMensaje4, QStringLiteral("NO SE PUEDE BORRAR LA PRESENTACION: TIENE STOCK (3)"));
    EXPECT_EQ(stockOf(db(), 101), 3);
    EXPECT_EQ(rowsOf(QStringLiteral("SEGUIMIENTO_PRECIO"), 101), 1);
    EXPECT_EQ(rowsOf(QStringLiteral("PRESFECHCAD"), 101), 2);
}

TEST_P(SearchCommands, TheHistoryListsDischargedLinesNewestFirstAtMostFifteen) {
    for (int sale = 1; sale <= 20; ++sale) {
        seedSale(db(), sale, kDay.addDays(sale), QStringLiteral("CAJA1-4"),
                 {{101, sale, "3", kDescargado}});
    }
    // A sale holding the presentation twice lists both lines, and the older sales after it.
    addSaleLine(db(), 20, kDay.addDays(20), 2, {101, 7, "3", kDescargado});
    seedSale(db(), 30, kDay.addDays(30), QStringLiteral("CAJA1-4"), {{101, 4, "3"}});  // pending
    const std::vector<SeguimientoRow> rows = seguimiento(db(), 101);
    ASSERT_EQ(rows.size(), 15u);
    EXPECT_EQ(rows[0].FacNumero, 20);
    EXPECT_EQ(rows[0].Cantidad, 20);
    EXPECT_EQ(rows[1].FacNumero, 20);
    EXPECT_EQ(rows[1].Cantidad, 7);
    EXPECT_EQ(rows[2].FacNumero, 19);
    EXPECT_EQ(rows[14].FacNumero, 7);
    EXPECT_TRUE(seguimiento(db(), 999).empty());
}

VELCARIS_DB_TEST_SUITE(SearchCommands);

}  // namespace
