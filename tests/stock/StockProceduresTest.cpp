#include "sales/SalesSeed.h"
#include "support/CheckoutSeed.h"
#include "support/DbTest.h"

#include "db/procedures/Checkout.h"
#include "db/procedures/Stock.h"

#include <QSet>
#include <mutex>

using namespace db::proc;
using db::Db;
using testsupport::counter::count;
using testsupport::counter::seedLink;
using testsupport::counter::soles;

namespace {

const QDateTime kNow(QDate(2026, 3, 2), QTime(10, 15, 0));
const QDateTime kExpiry(QDate(2027, 5, 1), QTime(10, 15, 0));
const QDateTime kLaterExpiry(QDate(2027, 9, 1), QTime(10, 15, 0));
const QDate kSaleDay(2026, 3, 7);

class StockProcedures : public testsupport::DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped())
            return;
        seedLink(db(), 1, QStringLiteral("AMOXIL"), QStringLiteral("GENFAR"));
        testsupport::counter::seedPresentation(db(), 10, 1, QStringLiteral("AMOXIL 500 MG TAB"),
                                               "12.00", "15.00", 5);
        testsupport::counter::seedPresentation(db(), 11, 1, QStringLiteral("AMOXIL SUSP"), "4.00",
                                               "7.50", 0);
        db().exec(QStringLiteral("INSERT INTO PROVEEDOR (ProvCod, ProvRazSoc) VALUES (?, ?)"),
                  {3, QStringLiteral("SAUCAL")});
        db().exec(QStringLiteral("INSERT INTO PROVEEDOR (ProvCod, ProvRazSoc) VALUES (?, ?)"),
                  {4, QStringLiteral("ALMACEN BRISA")});
    }

    static IngresoPresFechCadMasStockIn batch(int ingreso, int code, int units,
                                              const QDateTime& expiry = kExpiry,
                                              const QString& estacion = QStringLiteral("CAJA1")) {
        IngresoPresFechCadMasStockIn in;
        in.pIngreso = ingreso;
        in.pEstacion = estacion;
        in.pCodPresentacion = code;
        in.pFechCad = expiry;
        in.pStock = units;
        in.pFechIngre = kNow;
        in.pCodTrab = 7;
        in.pPC = soles("10");
        in.pProvNom = QStringLiteral("SAUCAL");
        in.pPresFechNumDoc = QStringLiteral("NE-0041");
        in.pDocTipo = QStringLiteral("NOTA DE ENVIO");
        return in;
    }
    // An intake of batches of `units` staged on `connection` and applied at a cost of 10.
    static IngresoMasStockOut stageAndApply(Db& connection, int code,
                                            std::initializer_list<int> units) {
        const int ingreso = nuevoIngresoStock(connection);
        for (int u : units)
            EXPECT_TRUE(KZT_IngresoPresFechCadMasStock(connection, batch(ingreso, code, u)).staged);
        return KZ_IngresoMasStock(connection, {ingreso, code, soles("10")});
    }
    PresentacionStock presentation(int code) { return *presentacionStock(db(), code); }
    int staged() { return count(db(), QStringLiteral("KARDEXINGRESO_TEMP")); }
    int batches() { return count(db(), QStringLiteral("KARDEXINGRESO")); }
    int history() { return count(db(), QStringLiteral("PRESFECHCAD")); }

    static KardexIngresoIn expiryBatch(int code, int units) {
        KardexIngresoIn in;
        in.pCodPresentacion = code;
        in.pFechCad = kExpiry;
        in.pStock = units;
        in.pFechIngre = kNow;
        in.pCodTrab = 7;
        in.pProvNom = QStringLiteral("ALMACEN BRISA");
        in.pPresFechNumDoc = QStringLiteral("C-77");
        in.pDocTipo = QStringLiteral("COMPROBANTE");
        return in;
    }
};

// ---- intake numbers ----

TEST_P(StockProcedures, IntakeNumbersAreUniqueAcrossWorkstations) {
    std::mutex mutex;
    QSet<int> numbers;
    concurrently(6, [&](int, Db& connection) {
        for (int i = 0; i < 3; ++i) {
            const int n = nuevoIngresoStock(connection);
            const std::lock_guard<std::mutex> hold(mutex);
            numbers.insert(n);
        }
    });
    EXPECT_EQ(numbers.size(), 18);
    EXPECT_EQ(nuevoIngresoStock(db()), 19);
}

TEST_P(StockProcedures, ALostCounterRowStartsAgainAboveTheStagedIntakes) {
    ASSERT_TRUE(KZT_IngresoPresFechCadMasStock(db(), batch(nuevoIngresoStock(db()), 10, 1)).staged);
    ASSERT_TRUE(KZT_IngresoPresFechCadMasStock(db(), batch(nuevoIngresoStock(db()), 10, 1)).staged);
    db().exec(QStringLiteral("DELETE FROM PARAMETRO"));
    EXPECT_EQ(nuevoIngresoStock(db()), 3);
    EXPECT_EQ(nuevoIngresoStock(db()), 4);
}

// ---- staging ----

TEST_P(StockProcedures, StagingFindsTheSupplierByItsTrimmedNameAndChangesNoStock) {
    IngresoPresFechCadMasStockIn in = batch(1, 10, 10);
    in.pProvNom = QStringLiteral("SAUCAL   ");
    const IngresoPresFechCadMasStockOut out = KZT_IngresoPresFechCadMasStock(db(), in);
    EXPECT_TRUE(out.staged);
    EXPECT_EQ(out.pMensaje, QStringLiteral("FECHA DE PRESENTACION INGRESADA"));
    EXPECT_EQ(db::integer(db().scalar(QStringLiteral("SELECT ProvCod FROM KARDEXINGRESO_TEMP"))),
              3);
    EXPECT_EQ(presentation(10).PresStockTotal, 5);
    EXPECT_EQ(batches(), 0);
}

TEST_P(StockProcedures, StagingRefusesAnUnknownSupplierAndUnitsOutOfRangeStagingNothing) {
    IngresoPresFechCadMasStockIn unknown = batch(1, 10, 10);
    unknown.pProvNom = QStringLiteral("DROGUERIA FANTASMA");
    EXPECT_EQ(KZT_IngresoPresFechCadMasStock(db(), unknown).pMensaje,
              QStringLiteral("NO EXISTE EL PROVEEDOR"));
    for (int units : {0, -3, 32768}) {
        const IngresoPresFechCadMasStockOut out =
            KZT_IngresoPresFechCadMasStock(db(), batch(1, 10, units));
        EXPECT_FALSE(out.staged) << units;
        EXPECT_EQ(out.pMensaje, QStringLiteral("CANTIDAD DE UNIDADES INCORRECTA"));
    }
    EXPECT_EQ(staged(), 0);
}

// ---- apply ----

TEST_P(StockProcedures, ApplyRecordsEachBatchUnderItsOwnKeyAndRaisesTheStockByTheirTotal) {
    ASSERT_TRUE(KZT_IngresoPresFechCadMasStock(db(), batch(1, 10, 10)).staged);
    ASSERT_TRUE(KZT_IngresoPresFechCadMasStock(db(), batch(1, 10, 5, kLaterExpiry)).staged);
    const IngresoMasStockOut out = KZ_IngresoMasStock(db(), {1, 10, soles("10")});
    ASSERT_TRUE(out.applied);
    EXPECT_EQ(presentation(10).PresStockTotal, 20);
    EXPECT_EQ(presentation(10).PresPrecioCosto, soles("10"));
    EXPECT_EQ(presentation(10).PresVenta, soles("15"));
    // 5 units at 12 and 15 at 10.
    EXPECT_EQ(out.pCosto, QStringLiteral("10.5"));
    QSqlQuery q = db().exec(QStringLiteral(
        "SELECT KarInCod, CodPresentacion, UsuCod, ProvCod, KarInStock, KarInPc, "
        "KarInFechaIngreso, KarInFechaCad, KarInDocTipo, KarInNumDoc FROM KARDEXINGRESO "
        "ORDER BY KarInCod"));
    const QDateTime expiries[] = {kExpiry, kLaterExpiry};
    const int units[] = {10, 5};
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(q.next());
        EXPECT_EQ(db::integer(q.value(0)), i + 1);
        EXPECT_EQ(db::integer(q.value(1)), 10);
        EXPECT_EQ(db::integer(q.value(2)), 7);
        EXPECT_EQ(db::integer(q.value(3)), 3);
        EXPECT_EQ(db::integer(q.value(4)), units[i]);
        EXPECT_DOUBLE_EQ(db::real(q.value(5)), 10.0);
        EXPECT_EQ(db::dateTime(q.value(6)), kNow);
        EXPECT_EQ(db::dateTime(q.value(7)), expiries[i]);
        EXPECT_EQ(db::text(q.value(8)), QStringLiteral("NOTA DE ENVIO"));
        EXPECT_EQ(db::text(q.value(9)), QStringLiteral("NE-0041"));
    }
    EXPECT_FALSE(q.next());
    QSqlQuery h = db().exec(QStringLiteral(
        "SELECT KarInCod, PresStockActual FROM PRESFECHCAD WHERE CodPresentacion = 10 "
        "ORDER BY KarInCod"));
    ASSERT_TRUE(h.next());
    EXPECT_EQ(db::integer(h.value(1)), 15);
    ASSERT_TRUE(h.next());
    EXPECT_EQ(db::integer(h.value(0)), 2);
    EXPECT_EQ(db::integer(h.value(1)), 20);
}

TEST_P(StockProcedures, ApplyAddsToTheStockAsItIsNotAsTheWindowReadIt) {
    ASSERT_TRUE(KZT_IngresoPresFechCadMasStock(db(), batch(1, 10, 10)).staged);
    db().exec(
        QStringLiteral("UPDATE PRESENTACION SET PresStockTotal = 2 WHERE CodPresentacion = 10"));
    ASSERT_TRUE(KZ_IngresoMasStock(db(), {1, 10, soles("10")}).applied);
    EXPECT_EQ(presentation(10).PresStockTotal, 12);
}

TEST_P(StockProcedures, ApplyRefusesNothingStagedAnIntakeAppliedTwiceAndAnOverflow) {
    EXPECT_EQ(KZ_IngresoMasStock(db(), {1, 10, soles("10")}).pMensaje,
              QStringLiteral("NO HAY LOTES POR INGRESAR"));
    ASSERT_TRUE(KZ_IngresoMasStock(db(), {0, 10, soles("10")}).pCosto.isEmpty());

    ASSERT_TRUE(KZT_IngresoPresFechCadMasStock(db(), batch(1, 10, 10)).staged);
    ASSERT_TRUE(KZ_IngresoMasStock(db(), {1, 10, soles("10")}).applied);
    const IngresoMasStockOut twice = KZ_IngresoMasStock(db(), {1, 10, soles("10")});
    EXPECT_FALSE(twice.applied);
    EXPECT_EQ(twice.pMensaje, QStringLiteral("EL INGRESO YA FUE REALIZADO"));
    EXPECT_FALSE(KZT_IngresoPresFechCadMasStock(db(), batch(1, 10, 3)).staged);
    EXPECT_EQ(presentation(10).PresStockTotal, 15);

    db().exec(QStringLiteral(
        "UPDATE PRESENTACION SET PresStockTotal = 32760 WHERE CodPresentacion = 11"));
    ASSERT_TRUE(KZT_IngresoPresFechCadMasStock(db(), batch(2, 11, 8)).staged);
    const IngresoMasStockOut over = KZ_IngresoMasStock(db(), {2, 11, soles("3")});
    EXPECT_FALSE(over.applied);
    EXPECT_EQ(over.pMensaje, QStringLiteral("EL STOCK NO PUEDE PASAR DE 32767 UNIDADES"));
    EXPECT_EQ(presentation(11).PresStockTotal, 32760);
    EXPECT_EQ(presentation(11).PresPrecioCosto, soles("4"));
    EXPECT_EQ(batches(), 1);
}

TEST_P(StockProcedures, ApplyToAPresentationWithoutStockProposesTheNewCost) {
    const IngresoMasStockOut out = stageAndApply(db(), 11, {6});
    ASSERT_TRUE(out.applied);
    EXPECT_EQ(out.pCosto, QStringLiteral("10"));
}

TEST_P(StockProcedures, TheProposedCostIsRoundedToTheTenThousandthTiesAwayFromZero) {
    const struct {
        int held;
        const char* heldCost;
        int taken;
        const char* newCost;
        const char* proposed;
    } cases[] = {
        {2, "10", 1, "12", "10.6667"},         // 10.66666...
        {1, "10", 2, "12", "11.3333"},         // 11.33333...
        {1, "0.0001", 1, "0", "0.0001"},       // 0.00005
        {3, "0.0001", 1, "0.0002", "0.0001"},  // 0.000125
    };
    int ingreso = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.proposed);
        db().exec(QStringLiteral("UPDATE PRESENTACION SET PresStockTotal = ?, PresPrecioCosto = ? "
                                 "WHERE CodPresentacion = 11"),
                  {c.held, QVariant::fromValue(soles(c.heldCost))});
        ASSERT_TRUE(KZT_IngresoPresFechCadMasStock(db(), batch(++ingreso, 11, c.taken)).staged);
        EXPECT_EQ(KZ_IngresoMasStock(db(), {ingreso, 11, soles(c.newCost)}).pCosto, c.proposed);
    }
}

// ---- confirm ----

TEST_P(StockProcedures, ConfirmStoresBothPricesAndLetsGoOfTheStaging) {
    ASSERT_TRUE(stageAndApply(db(), 10, {10, 5}).applied);
    const IngresoNPCNPGNPVOut out = KZ_IngresoNPCNPGNPV(db(), {1, 10, soles("10.5"), soles("14")});
    EXPECT_TRUE(out.confirmed);
    EXPECT_EQ(out.pMensaje, QStringLiteral("NUEVOS PRECIOS INGRESADOS"));
    EXPECT_EQ(presentation(10).PresPrecioCosto, soles("10.5"));
    EXPECT_EQ(presentation(10).PresVenta, soles("14"));
    EXPECT_EQ(staged(), 0);
    // Nothing is left for a later undo to take back.
    EXPECT_TRUE(KZ_BorraTempPres(db(), {1, 10}).undone);
    EXPECT_EQ(presentation(10).PresStockTotal, 20);
    EXPECT_EQ(batches(), 2);
}

TEST_P(StockProcedures, ConfirmRefusesAnIntakeNotAppliedAndASalePriceNotAboveTheCost) {
    ASSERT_TRUE(KZT_IngresoPresFechCadMasStock(db(), batch(1, 10, 10)).staged);
    EXPECT_EQ(KZ_IngresoNPCNPGNPV(db(), {1, 10, soles("10"), soles("14")}).pMensaje,
              QStringLiteral("EL INGRESO NO FUE REALIZADO"));
    ASSERT_TRUE(KZ_IngresoMasStock(db(), {1, 10, soles("10")}).applied);
    EXPECT_FALSE(KZ_IngresoNPCNPGNPV(db(), {1, 10, soles("14"), soles("14")}).confirmed);
    EXPECT_EQ(presentation(10).PresVenta, soles("15"));
    EXPECT_EQ(staged(), 1);
}

// ---- undo ----

TEST_P(StockProcedures, UndoOfAStagedIntakeOnlyDropsItsStagingRows) {
    ASSERT_TRUE(KZT_IngresoPresFechCadMasStock(db(), batch(1, 10, 10)).staged);
    ASSERT_TRUE(KZT_IngresoPresFechCadMasStock(db(), batch(2, 10, 4)).staged);
    EXPECT_TRUE(KZ_BorraTempPres(db(), {1, 10}).undone);
    EXPECT_EQ(staged(), 1);
    EXPECT_EQ(presentation(10).PresStockTotal, 5);
    EXPECT_EQ(presentation(10).PresPrecioCosto, soles("12"));
}

TEST_P(StockProcedures, UndoOfAnAppliedIntakeTakesBackExactlyWhatItsApplyDid) {
    ASSERT_TRUE(stageAndApply(db(), 10, {10, 5}).applied);
    const BorraTempPresOut out = KZ_BorraTempPres(db(), {1, 10});
    EXPECT_TRUE(out.undone);
    EXPECT_EQ(out.pMensaje, QStringLiteral("INGRESO ANULADO"));
    const PresentacionStock p = presentation(10);
    EXPECT_EQ(p.PresStockTotal, 5);
    EXPECT_EQ(p.PresPrecioCosto, soles("12"));
    EXPECT_EQ(p.PresVenta, soles("15"));
    EXPECT_EQ(batches(), 0);
    EXPECT_EQ(history(), 0);
    EXPECT_EQ(staged(), 0);
}

TEST_P(StockProcedures, UndoKeepsASaleMadeMeanwhileAndACostEditedMeanwhile) {
    ASSERT_TRUE(stageAndApply(db(), 10, {10, 5}).applied);
    db().exec(QStringLiteral("UPDATE PRESENTACION SET PresStockTotal = PresStockTotal - 3, "
                             "PresPrecioCosto = ? WHERE CodPresentacion = 10"),
              {QVariant::fromValue(soles("11"))});
    ASSERT_TRUE(KZ_BorraTempPres(db(), {1, 10}).undone);
    EXPECT_EQ(presentation(10).PresStockTotal, 2);
    EXPECT_EQ(presentation(10).PresPrecioCosto, soles("11"));
}

TEST_P(StockProcedures, UndoIsRefusedWhenTheIntakesUnitsWereSoldAndChangesNothing) {
    ASSERT_TRUE(stageAndApply(db(), 10, {10, 5}).applied);
    db().exec(
        QStringLiteral("UPDATE PRESENTACION SET PresStockTotal = 14 "
                       "WHERE CodPresentacion = 10"));
    const BorraTempPresOut out = KZ_BorraTempPres(db(), {1, 10});
    EXPECT_FALSE(out.undone);
    EXPECT_EQ(out.pMensaje, QStringLiteral("NO SE PUEDE ANULAR: YA SE VENDIO EL STOCK"));
    EXPECT_EQ(presentation(10).PresStockTotal, 14);
    EXPECT_EQ(presentation(10).PresPrecioCosto, soles("10"));
    EXPECT_EQ(batches(), 2);
    EXPECT_EQ(staged(), 2);
    // The intake can still be confirmed.
    EXPECT_TRUE(KZ_IngresoNPCNPGNPV(db(), {1, 10, soles("10"), soles("13")}).confirmed);
}

TEST_P(StockProcedures, UndoLeavesAnotherIntakeOfTheSamePresentationAlone) {
    ASSERT_TRUE(stageAndApply(db(), 10, {10}).applied);
    ASSERT_TRUE(stageAndApply(db(), 10, {4}).applied);
    ASSERT_TRUE(KZ_BorraTempPres(db(), {1, 10}).undone);
    EXPECT_EQ(presentation(10).PresStockTotal, 9);
    EXPECT_EQ(db::integer(db().scalar(QStringLiteral("SELECT KarInStock FROM KARDEXINGRESO"))), 4);
    EXPECT_EQ(history(), 1);
}

TEST_P(StockProcedures, AWorkstationsLeftoversGoAndOtherWorkstationsStay) {
    ASSERT_TRUE(KZT_IngresoPresFechCadMasStock(db(), batch(1, 10, 10)).staged);
    ASSERT_TRUE(
        KZT_IngresoPresFechCadMasStock(db(), batch(2, 10, 4, kExpiry, QStringLiteral("CAJA2")))
            .staged);
    borraIngresosDeEstacion(db(), QStringLiteral("CAJA1"));
    EXPECT_EQ(staged(), 1);
    EXPECT_EQ(KZ_IngresoMasStock(db(), {1, 10, soles("10")}).pMensaje,
              QStringLiteral("NO HAY LOTES POR INGRESAR"));
}

// ---- the expiry-date intake ----

TEST_P(StockProcedures, KardexIngresoRecordsOneBatchAtThePresentationsCost) {
    const KardexIngresoOut out = KZ_KardexIngreso(db(), expiryBatch(10, 7));
    EXPECT_EQ(out.pMensaje, QStringLiteral("INGRESO REALIZADO CORRECTAMENTE"));
    EXPECT_EQ(out.KarInCod, 1);
    EXPECT_EQ(presentation(10).PresStockTotal, 12);
    QSqlQuery q = db().exec(QStringLiteral(
        "SELECT ProvCod, KarInStock, KarInPc, KarInFechaCad, KarInDocTipo FROM KARDEXINGRESO"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(db::integer(q.value(0)), 4);
    EXPECT_EQ(db::integer(q.value(1)), 7);
    EXPECT_DOUBLE_EQ(db::real(q.value(2)), 12.0);
    EXPECT_EQ(db::dateTime(q.value(3)), kExpiry);
    EXPECT_EQ(db::text(q.value(4)), QStringLiteral("COMPROBANTE"));
    EXPECT_EQ(db::integer(db().scalar(QStringLiteral("SELECT PresStockActual FROM PRESFECHCAD"))),
              12);
}

TEST_P(StockProcedures, KardexIngresoRefusesAnUnknownSupplierNoUnitsAndAnOverflow) {
    KardexIngresoIn unknown = expiryBatch(10, 7);
    unknown.pProvNom = QStringLiteral("ELIGE PROVEEDOR");
    EXPECT_EQ(KZ_KardexIngreso(db(), unknown).pMensaje, QStringLiteral("NO EXISTE EL PROVEEDOR"));
    EXPECT_EQ(KZ_KardexIngreso(db(), expiryBatch(10, 0)).KarInCod, 0);
    EXPECT_EQ(KZ_KardexIngreso(db(), expiryBatch(10, 32763)).pMensaje,
              QStringLiteral("EL STOCK NO PUEDE PASAR DE 32767 UNIDADES"));
    EXPECT_EQ(KZ_KardexIngreso(db(), expiryBatch(99, 1)).pMensaje,
              QStringLiteral("NO EXISTE LA PRESENTACION"));
    EXPECT_EQ(presentation(10).PresStockTotal, 5);
    EXPECT_EQ(batches(), 0);
    EXPECT_EQ(history(), 0);
}

// ---- several workstations ----

TEST_P(StockProcedures, WorkstationsIntakingAtOnceEachApplyExactlyTheirOwnBatches) {
    // Stations 0-2 take in 10 and 5 units of presentation 10, station 3 takes 7 of 11.
    std::mutex mutex;
    std::vector<int> applied;
    concurrently(4, [&](int station, Db& connection) {
        const int code = station == 3 ? 11 : 10;
        const IngresoMasStockOut out = station == 3 ? stageAndApply(connection, code, {7})
                                                    : stageAndApply(connection, code, {10, 5});
        const std::lock_guard<std::mutex> hold(mutex);
        applied.push_back(out.applied ? 1 : 0);
    });
    EXPECT_EQ(applied, std::vector<int>(4, 1));
    EXPECT_EQ(presentation(10).PresStockTotal, 5 + 3 * 15);
    EXPECT_EQ(presentation(11).PresStockTotal, 7);
    EXPECT_EQ(batches(), 7);
    EXPECT_EQ(db::integer(db().scalar(
                  QStringLiteral("SELECT COUNT(DISTINCT KarInCod) FROM KARDEXINGRESO"))),
              7);
    EXPECT_EQ(
        db::integer(db().scalar(QStringLiteral("SELECT SUM(KarInStock) FROM KARDEXINGRESO WHERE "
                                               "CodPresentacion = 10"))),
        45);
    EXPECT_EQ(history(), 7);
}

// A sale of 2 tablets discharged on `connection`: a sale of the day numbered `sale`.
void sellTwoTablets(Db& connection, int sale) {
    DecargarPresStockIn in;
    in.pUsuCod = 7;
    in.pFechaHoy = core::saleDay(kSaleDay).start;
    in.pFacNum = sale;
    in.pCodPres = 10;
    in.pDetaNumero = 1;
    in.pFacHostName = QStringLiteral("07CAJA2-5");
    EXPECT_EQ(KZ_DecargarPresStock(connection, in).Estado, QStringLiteral("DESCARGADO"));
}

TEST_P(StockProcedures, AnIntakeAppliedWhileTheCounterSellsLeavesTheExactStock) {
    constexpr int kRounds = 8;
    testsupport::seedIgv(db(), 1, QStringLiteral("B001"), QStringLiteral("F001"));
    // Enough stock for every sale, whichever runs first.
    db().exec(
        QStringLiteral("UPDATE PRESENTACION SET PresStockTotal = ? WHERE CodPresentacion = 10"),
        {2 * kRounds});
    for (int sale = 1; sale <= kRounds; ++sale)
        testsupport::seedSale(db(), sale, kSaleDay, QStringLiteral("CAJA2-4"), {{10, 2, "30"}});
    concurrently(2, [&](int station, Db& connection) {
        for (int round = 1; round <= kRounds; ++round) {
            if (station == 0)
                EXPECT_TRUE(stageAndApply(connection, 10, {3, 2}).applied);
            else
                sellTwoTablets(connection, round);
        }
    });
    EXPECT_EQ(presentation(10).PresStockTotal, 2 * kRounds + 5 * kRounds - 2 * kRounds);
}

// A sale discharged after the intake's checks and before its raise: on PostgreSQL by another
// workstation, which commits; on SQLite, whose writers take turns, inside the intake's own
// transaction. The history and the proposed cost count the stock the sale left.
TEST_P(StockProcedures, EachBatchsHistoryRowHoldsTheStockAfterItWhenASaleCameFirst) {
    testsupport::seedIgv(db(), 1, QStringLiteral("B001"), QStringLiteral("F001"));
    testsupport::seedSale(db(), 1, kSaleDay, QStringLiteral("CAJA2-4"), {{10, 2, "30"}});
    const std::unique_ptr<Db> other = connectAnother();
    Db& seller = GetParam() == db::Dialect::PostgreSQL ? *other : db();
    const IntakeHooks sale{[&] { sellTwoTablets(seller, 1); }};
    struct Case {
        const char* intake;
        std::function<void(Db&)> run;
        std::vector<int> history;
    } cases[] = {
        // 3 held at 12 and 5 taken in at 10.
        {"apply",
         [&](Db& c) {
             ASSERT_TRUE(KZT_IngresoPresFechCadMasStock(c, batch(1, 10, 3)).staged);
             ASSERT_TRUE(KZT_IngresoPresFechCadMasStock(c, batch(1, 10, 2)).staged);
             EXPECT_EQ(KZ_IngresoMasStock(c, {1, 10, soles("10")}, sale).pCosto, "10.75");
         },
         {6, 8}},
        {"expiry-date intake",
         [&](Db& c) { EXPECT_GT(KZ_KardexIngreso(c, expiryBatch(10, 3), sale).KarInCod, 0); },
         {6}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.intake);
        db().exec(QStringLiteral("DELETE FROM PRESFECHCAD"));
        db().exec(QStringLiteral("UPDATE PRESENTACION SET PresStockTotal = 5, PresPrecioCosto = ? "
                                 "WHERE CodPresentacion = 10"),
                  {QVariant::fromValue(soles("12"))});
        db().exec(QStringLiteral("UPDATE DETAFAC SET Estado = ?"), {kNoDescargado});
        c.run(db());
        std::vector<int> history;
        QSqlQuery q =
            db().exec(QStringLiteral("SELECT PresStockActual FROM PRESFECHCAD ORDER BY KarInCod"));
        while (q.next())
            history.push_back(db::integer(q.value(0)));
        EXPECT_EQ(history, c.history);
        EXPECT_EQ(presentation(10).PresStockTotal, c.history.back());
    }
}

TEST_P(StockProcedures, AnExpiryDateIntakeAndADischargeAtOnceLeaveTheExactStock) {
    const QDate day(2026, 3, 7);
    testsupport::seedIgv(db(), 1, QStringLiteral("B001"), QStringLiteral("F001"));
    constexpr int kRounds = 6;
    // Enough stock for every sale, whichever runs first.
    db().exec(
        QStringLiteral("UPDATE PRESENTACION SET PresStockTotal = ? WHERE CodPresentacion = 10"),
        {2 * kRounds});
    for (int sale = 1; sale <= kRounds; ++sale)
        testsupport::seedSale(db(), sale, day, QStringLiteral("CAJA2-4"), {{10, 2, "30"}});
    concurrently(2, [&](int station, Db& connection) {
        for (int round = 1; round <= kRounds; ++round) {
            if (station == 0) {
                EXPECT_GT(KZ_KardexIngreso(connection, expiryBatch(10, 3)).KarInCod, 0);
                continue;
            }
            DecargarPresStockIn in;
            in.pUsuCod = 7;
            in.pFechaHoy = core::saleDay(day).start;
            in.pFacNum = round;
            in.pCodPres = 10;
            in.pDetaNumero = 1;
            in.pFacHostName = QStringLiteral("07CAJA2-5");
            EXPECT_EQ(KZ_DecargarPresStock(connection, in).Estado, QStringLiteral("DESCARGADO"));
        }
    });
    EXPECT_EQ(presentation(10).PresStockTotal, 2 * kRounds + 3 * kRounds - 2 * kRounds);
}

VELCARIS_DB_TEST_SUITE(StockProcedures);

}  // namespace
