#include "support/CheckoutSeed.h"
#include "support/DbTest.h"

#include "db/procedures/Checkout.h"
#include "db/procedures/Sales.h"
#include "db/procedures/Shell.h"

#include <QSet>
#include <algorithm>
#include <chrono>
#include <functional>
#include <mutex>
#include <thread>

using namespace db::proc;
using testsupport::lineState;
using testsupport::SeedLine;
using testsupport::seedPresentation;
using testsupport::seedSale;
using testsupport::stockOf;

namespace {

const QDate kDay(2026, 3, 7);
const core::DateTimeRange kWindow = core::saleDay(kDay);

struct Header {
    QString FacEstado;
    QString FacTipoSunat;
    QVariant FacNumSunat;
    QString FacSerieSunat;
    int FacEstadoSunat = -1;
    QString FacHostName;
    QString FacCajero;
};

class CheckoutProcedures : public testsupport::DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped())
            return;
        seedPresentation(db(), 101, QStringLiteral("PARACETAMOL 500MG"), 10);
        seedPresentation(db(), 102, QStringLiteral("IBUPROFENO 400MG"), 10);
        seedPresentation(db(), 103, QStringLiteral("AMOXICILINA 500MG"), 1);
        testsupport::seedIgv(db(), 1, QStringLiteral("B001"), QStringLiteral("F001"));
        testsupport::seedIgv(db(), 2, QStringLiteral("B002"), QStringLiteral("F002"));
    }

    Header header(int facNumero, const QDate& day = kDay) {
        QSqlQuery q =
            db().exec(QStringLiteral("SELECT FacEstado, FacTipoSunat, FacNumSunat, FacSerieSunat, "
                                     "FacEstadoSunat, FacHostName, FacCajero FROM FACTURA "
                                     "WHERE FacNumero = ? AND FacFecha = ?"),
                      {facNumero, QDateTime(day, core::kDayFirstSecond)});
        EXPECT_TRUE(q.next()) << "no sale " << facNumero;
        return {db::text(q.value(0)), db::text(q.value(1)),    q.value(2),
                db::text(q.value(3)), db::integer(q.value(4)), db::text(q.value(5)),
                db::text(q.value(6))};
    }

    DecargarPresStockOut discharge(int facNumero, int deta, int codPres,
                                   std::optional<QString> type = {},
                                   std::optional<int> number = {}) {
        DecargarPresStockIn in;
        in.pUsuCod = 7;
        in.pFechaHoy = kWindow.start;
        in.pFacNum = facNumero;
        in.pCodPres = codPres;
        in.pDetaNumero = deta;
        in.pFacHostName = QStringLiteral("07CAJA2-5");
        in.pFacTipoSunat = type;
        in.pFacNumSunat = number;
        return KZ_DecargarPresStock(db(), in);
    }

    // A sale of the day whose discharge was undone: its lines and header still pending, no number.
    void expectUndone(int facNumero, int lines) {
        for (int deta = 1; deta <= lines; ++deta)
            EXPECT_EQ(lineState(db(), facNumero, kDay, deta), kNoDescargado) << deta;
        EXPECT_EQ(header(facNumero).FacEstado, kNoDescargado);
        EXPECT_TRUE(header(facNumero).FacNumSunat.isNull());
    }

    DischargeResult dischargeSale(int facNumero, std::optional<QString> type,
                                  const DischargeHooks& hooks = {}) {
        return DischargeSale(db(), {facNumero, kWindow, 7, type}, hooks);
    }
};

TEST_P(CheckoutProcedures, ADischargedLineTakesItsStockAndNumbersTheSale) {
    seedSale(db(), 5, kDay, QStringLiteral("CAJA2-5"), {{101, 3, "2.50"}});

    const DecargarPresStockOut out = discharge(5, 1, 101, kBoletaDeVenta, 12);

    EXPECT_TRUE(out.changed);
    EXPECT_EQ(out.Estado, kDescargado);
    EXPECT_EQ(lineState(db(), 5, kDay, 1), kDescargado);
    EXPECT_EQ(stockOf(db(), 101), 7);
    const Header h = header(5);
    EXPECT_EQ(h.FacEstado, kDescargado);
    EXPECT_EQ(h.FacTipoSunat, kBoletaDeVenta);
    EXPECT_EQ(db::integer(h.FacNumSunat), 12);
    EXPECT_EQ(h.FacSerieSunat, QStringLiteral("B002"));  // the latest IGV row
    EXPECT_EQ(h.FacEstadoSunat, 1);                      // waits for the daily summary
    EXPECT_EQ(h.FacHostName, QStringLiteral("CAJA2-5"));
    EXPECT_EQ(h.FacCajero, QStringLiteral("07CAJA2-5"));
}

TEST_P(CheckoutProcedures, ASaleNoteCarriesItsTypeButNoNumberNorSeries) {
    seedSale(db(), 5, kDay, QStringLiteral("CAJA2-5"), {{101, 1, "2.50"}});
    discharge(5, 1, 101);
    const Header h = header(5);
    EXPECT_EQ(h.FacTipoSunat, kNotaDeVenta);
    EXPECT_TRUE(h.FacNumSunat.isNull());
    EXPECT_TRUE(h.FacSerieSunat.isEmpty());
    EXPECT_EQ(h.FacEstadoSunat, 0);
}

TEST_P(CheckoutProcedures, OnlyLinesStillPendingChange) {
    for (const QString& state : {kDescargado, kDevuelto, kSinStock}) {
        db().exec(QStringLiteral("DELETE FROM DETAFAC"));
        db().exec(QStringLiteral("DELETE FROM FACTURA"));
        seedSale(db(), 5, kDay, QStringLiteral("CAJA2-5"), {{101, 2, "1", state}});
        const int stock = stockOf(db(), 101);

        const DecargarPresStockOut out = discharge(5, 1, 101, kFactura, 3);

        EXPECT_FALSE(out.changed) << state.toStdString();
        EXPECT_EQ(lineState(db(), 5, kDay, 1), state);
        EXPECT_EQ(stockOf(db(), 101), stock);
        EXPECT_TRUE(header(5).FacNumSunat.isNull()) << state.toStdString();
        EXPECT_EQ(header(5).FacEstado, kNoDescargado);
    }
}

TEST_P(CheckoutProcedures, StockThatNoLongerCoversTheLineLeavesItWithoutStock) {
    seedSale(db(), 5, kDay, QStringLiteral("CAJA2-5"), {{103, 2, "4"}, {101, 1, "1"}});

    EXPECT_EQ(discharge(5, 1, 103, kBoletaDeVenta, 1).Estado, kSinStock);
    EXPECT_EQ(stockOf(db(), 103), 1);
    EXPECT_EQ(header(5).FacEstado, kSinStock);
    EXPECT_TRUE(header(5).FacNumSunat.isNull());

    EXPECT_EQ(discharge(5, 2, 101, kBoletaDeVenta, 1).Estado, kDescargado);
    EXPECT_EQ(header(5).FacEstado, kDescargado);
    EXPECT_EQ(db::integer(header(5).FacNumSunat), 1);
}

TEST_P(CheckoutProcedures, ASaleWhoseLastLineIsShortOfStockIsDischargedAndCountsInTheDay) {
    seedSale(db(), 5, kDay, QStringLiteral("CAJA2-5"), {{101, 2, "1.50"}, {103, 2, "4"}});

    const DischargeResult result = dischargeSale(5, kBoletaDeVenta);

    EXPECT_EQ(result.discharged, 1);
    EXPECT_EQ(result.withoutStock, 1);
    EXPECT_EQ(lineState(db(), 5, kDay, 2), kSinStock);
    EXPECT_EQ(header(5).FacEstado, kDescargado);
    EXPECT_EQ(db::integer(header(5).FacNumSunat), 1);
    // The day's total counts every line of a discharged sale, whatever the line's own state.
    EXPECT_EQ(totalDelDia(db(), kDay, kBoletaDeVenta), testsupport::money("11"));
}

TEST_P(CheckoutProcedures, TheSameNumberOnAnotherDayIsAnotherSale) {
    const QDate yesterday = kDay.addDays(-1);
    seedSale(db(), 5, yesterday, QStringLiteral("CAJA1-4"), {{101, 1, "1"}});
    seedSale(db(), 5, kDay, QStringLiteral("CAJA1-4"), {{101, 1, "1"}});

    dischargeSale(5, kBoletaDeVenta);

    EXPECT_EQ(lineState(db(), 5, yesterday, 1), kNoDescargado);
    EXPECT_EQ(header(5, yesterday).FacEstado, kNoDescargado);
    EXPECT_EQ(lineState(db(), 5, kDay, 1), kDescargado);
    EXPECT_EQ(stockOf(db(), 101), 9);
}

TEST_P(CheckoutProcedures, EachTypeNumbersFromOneAndEveryLineOfASaleGetsTheSameNumber) {
    seedSale(db(), 1, kDay, QStringLiteral("CAJA1-4"),
             {{101, 1, "1"}, {102, 1, "1"}, {101, 1, "1"}});
    seedSale(db(), 2, kDay, QStringLiteral("CAJA1-4"), {{102, 1, "1"}});
    seedSale(db(), 3, kDay, QStringLiteral("CAJA1-4"), {{102, 1, "1"}});
    seedSale(db(), 4, kDay.addDays(1), QStringLiteral("CAJA1-4"), {{102, 1, "1"}});
    seedSale(db(), 5, kDay, QStringLiteral("CAJA1-4"), {{102, 1, "1"}});

    std::vector<int> passed;
    DischargeHooks hooks;
    hooks.begin = [&](const DischargeStart& s) { passed.push_back(s.receiptNumber); };
    const DischargeResult three = dischargeSale(1, kBoletaDeVenta, hooks);
    EXPECT_EQ(three.receiptNumber, 1);
    EXPECT_EQ(three.series, QStringLiteral("B002"));
    EXPECT_EQ(three.discharged, 3);
    EXPECT_EQ(passed, std::vector<int>{1});
    EXPECT_EQ(dischargeSale(2, kFactura).receiptNumber, 1);
    EXPECT_EQ(dischargeSale(3, kBoletaDeVenta).receiptNumber, 2);
    EXPECT_EQ(
        DischargeSale(db(), {4, core::saleDay(kDay.addDays(1)), 7, kBoletaDeVenta}).receiptNumber,
        3);  // one sequence over all days
    EXPECT_EQ(dischargeSale(5, std::nullopt).receiptNumber, 0);
    EXPECT_TRUE(header(5).FacNumSunat.isNull());
    EXPECT_EQ(stockOf(db(), 101), 8);
    EXPECT_EQ(db::integer(db().scalar(
                  QStringLiteral("SELECT COUNT(DISTINCT FacNumSunat) FROM FACTURA WHERE "
                                 "FacTipoSunat = ? AND FacNumero = 1"),
                  {kBoletaDeVenta})),
              1);
}

TEST_P(CheckoutProcedures, AFailingDischargeChangesNothingAndASecondAttemptCompletesIt) {
    seedSale(db(), 5, kDay, QStringLiteral("CAJA1-4"), {{101, 2, "1"}, {102, 3, "1"}});
    DischargeHooks failing;
    failing.beforeLine = [](const SaleLine& l) {
        if (l.DetaNumero == 2)
            throw std::runtime_error("disco lleno");
    };

    EXPECT_THROW(dischargeSale(5, kFactura, failing), std::runtime_error);

    EXPECT_EQ(lineState(db(), 5, kDay, 1), kNoDescargado);
    EXPECT_EQ(stockOf(db(), 101), 10);
    EXPECT_TRUE(header(5).FacNumSunat.isNull());
    const DischargeResult again = dischargeSale(5, kFactura);
    EXPECT_EQ(again.receiptNumber, 1);  // the failed attempt took no number
    EXPECT_EQ(again.discharged, 2);
    EXPECT_EQ(stockOf(db(), 101), 8);
    EXPECT_EQ(stockOf(db(), 102), 7);

    const DischargeResult third = dischargeSale(5, kFactura);
    EXPECT_EQ(third.discharged, 0);
    EXPECT_EQ(third.receiptNumber, 0);
    EXPECT_EQ(stockOf(db(), 101), 8);
    EXPECT_EQ(db::integer(header(5).FacNumSunat), 1);
}

// The lines are judged by the stock as they were read; stock that is less when the units are
// taken (here lowered by the discharge's own connection, as nothing else can within its lock
// on SQLite) undoes the whole discharge instead of selling what is not there.
TEST_P(CheckoutProcedures, StockLoweredAfterTheReadUndoesTheDischarge) {
    seedSale(db(), 5, kDay, QStringLiteral("CAJA1-4"), {{101, 2, "1"}, {102, 3, "1"}});
    DischargeHooks lowering;
    lowering.begin = [&](const DischargeStart&) {
        db().exec(QStringLiteral("UPDATE PRESENTACION SET PresStockTotal = ? "
                                 "WHERE CodPresentacion = ?"),
                  {1, 102});
    };

    EXPECT_THROW(dischargeSale(5, kFactura, lowering), db::Error);

    expectUndone(5, 2);
    EXPECT_EQ(stockOf(db(), 101), 10);
    EXPECT_EQ(stockOf(db(), 102), 10);
}

// Stock lowered by another workstation after the discharge read it (here that workstation holds
// the row until the discharge waits for it) is less when the units are taken, and undoes the
// discharge.
TEST_P(CheckoutProcedures, StockLoweredWhileTheDischargeTakesItUndoesTheDischarge) {
    if (GetParam() != db::Dialect::PostgreSQL)
        GTEST_SKIP() << "SQLite's write transaction keeps every other writer out";
    seedSale(db(), 5, kDay, QStringLiteral("CAJA1-4"), {{101, 2, "1"}, {102, 3, "1"}});
    db::Db::Transaction lowering(db());
    db().exec(
        QStringLiteral("UPDATE PRESENTACION SET PresStockTotal = ? WHERE CodPresentacion = ?"),
        {1, 102});
    bool undone = false;
    std::thread cashier([&] {
        const std::unique_ptr<db::Db> connection = connectAnother();
        try {
            DischargeSale(*connection, {5, kWindow, 7, kFactura});
        } catch (const db::Error&) {
            undone = true;
        }
    });
    const std::unique_ptr<db::Db> watcher = connectAnother();
    const auto waiting = [&] {
        return db::integer(watcher->scalar(
                   QStringLiteral("SELECT COUNT(*) FROM pg_stat_activity WHERE datname = "
                                  "current_database() AND wait_event_type = 'Lock'"))) > 0;
    };
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!waiting() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(waiting());
    lowering.commit();
    cashier.join();

    EXPECT_TRUE(undone);
    expectUndone(5, 2);
    EXPECT_EQ(stockOf(db(), 101), 10);
    EXPECT_EQ(stockOf(db(), 102), 1);
}

TEST_P(CheckoutProcedures, ASaleKeepsTheNumberItCarriesForItsType) {
    seedSale(db(), 5, kDay, QStringLiteral("CAJA1-4"), {{101, 1, "1"}});
    seedSale(db(), 6, kDay, QStringLiteral("CAJA1-4"), {{101, 1, "1"}});
    dischargeSale(5, kBoletaDeVenta);
    dischargeSale(6, kBoletaDeVenta);
    // A line added later to the first sale is discharged under its receipt, not a new one.
    db().exec(QStringLiteral("INSERT INTO DETAFAC (FacNumero, FacFecha, DetaNumero, "
                             "CodPresentacion, Cantidad, Importe, Estado) VALUES (5, ?, 2, 102, 1, "
                             "10000, 'NO DESCARGADO')"),
              {kWindow.start});

    EXPECT_EQ(dischargeSale(5, kBoletaDeVenta).receiptNumber, 1);
}

TEST_P(CheckoutProcedures, LinesOfAFacturaDischargedLaterGetTheNextFacturaNumber) {
    seedSale(db(), 5, kDay, QStringLiteral("CAJA1-4"), {{101, 1, "1"}});
    seedSale(db(), 6, kDay, QStringLiteral("CAJA1-4"), {{101, 1, "1"}});
    EXPECT_EQ(dischargeSale(5, kFactura).receiptNumber, 1);
    EXPECT_EQ(dischargeSale(6, kFactura).receiptNumber, 2);
    testsupport::addSaleLine(db(), 5, kDay, 2, {102, 1, "1"});

    std::vector<int> passed;
    DischargeHooks hooks;
    hooks.begin = [&](const DischargeStart& s) { passed.push_back(s.receiptNumber); };
    const DischargeResult again = dischargeSale(5, kFactura, hooks);

    EXPECT_EQ(again.receiptNumber, 3);
    EXPECT_EQ(again.discharged, 1);
    EXPECT_EQ(passed, std::vector<int>{3});
    EXPECT_EQ(db::integer(header(5).FacNumSunat), 3);
    EXPECT_EQ(dischargeSale(6, kFactura).receiptNumber, 0);  // nothing left to discharge
    EXPECT_EQ(db::integer(header(6).FacNumSunat), 2);
}

TEST_P(CheckoutProcedures, RemovingAPendingLineOfTheDay) {
    seedSale(db(), 5, kDay, QStringLiteral("CAJA1-4"), {{101, 1, "1"}, {102, 1, "1", kDescargado}});
    seedSale(db(), 5, kDay.addDays(-1), QStringLiteral("CAJA1-4"), {{101, 1, "1"}});
    db().exec(QStringLiteral("INSERT INTO DESCUENTO (FacNumero, FacFecha, DetaNumero, "
                             "CodPresentacion, DesUnidades) VALUES (5, ?, 1, 101, 1)"),
              {kWindow.start});

    EXPECT_EQ(KZ_EliminarItemDescargar(db(), {5, 2, 102, kWindow.start}).pMensaje,
              QStringLiteral("ITEM YA FUE DESCARGADO"));
    EXPECT_EQ(KZ_EliminarItemDescargar(db(), {5, 1, 101, kWindow.start}).pMensaje,
              QStringLiteral("ITEM ELIMINADO"));
    EXPECT_EQ(KZ_EliminarItemDescargar(db(), {5, 1, 101, kWindow.start}).pMensaje,
              QStringLiteral("ITEM NO ENCONTRADO"));

    EXPECT_EQ(saleLines(db(), 5, kWindow).size(), 1u);
    EXPECT_EQ(lineState(db(), 5, kDay.addDays(-1), 1), kNoDescargado);
    EXPECT_EQ(db::integer(db().scalar(QStringLiteral("SELECT COUNT(*) FROM DESCUENTO"))), 0);
}

TEST_P(CheckoutProcedures, PendingListAndTotalsOfTheDay) {
    seedSale(db(), 3, kDay, QStringLiteral("CAJA1-4"),
             {{101, 2, "1.50"}, {102, 1, "10", kDescargado}});
    seedSale(db(), 8, kDay, QStringLiteral("CAJA1-4"), {{101, 1, "4.25"}});
    seedSale(db(), 9, kDay, QStringLiteral("CAJA1-4"), {{101, 1, "1", kDescargado}});
    seedSale(db(), 12, kDay.addDays(-1), QStringLiteral("CAJA1-4"), {{101, 1, "1"}});
    seedSale(db(), 4, kDay, QStringLiteral("CAJA1-4"),
             {{101, 1, "1"}, {102, 2, "5", kDevuelto}, {103, 1, "7", kSinStock}});

    const std::vector<PendingSale> pending = pendingSales(db(), kWindow);
    ASSERT_EQ(pending.size(), 3u);
    EXPECT_EQ(pending[0].FacNumero, 8);
    EXPECT_EQ(pending[1].FacNumero, 4);
    EXPECT_EQ(pending[2].FacNumero, 3);
    EXPECT_EQ(pending[2].TOTAL, testsupport::money("3"));  // pending lines only
    EXPECT_EQ(saleTotal(db(), 3, kWindow), testsupport::money("13"));
    EXPECT_EQ(saleTotal(db(), 4, kWindow), testsupport::money("1"));
    EXPECT_FALSE(saleTotal(db(), 77, kWindow));

    const std::vector<SaleLine> lines = saleLines(db(), 3, kWindow);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].PresTipo, QStringLiteral("PARACETAMOL 500MG"));
    EXPECT_EQ(lines[0].LabNombre, QStringLiteral("GENFAR"));
    EXPECT_EQ(lines[0].SUB_TOTAL, testsupport::money("3"));
    EXPECT_EQ(lines[1].Estado, kDescargado);
}

TEST_P(CheckoutProcedures, SellerPhotoOfTheActiveUserOwningTheKey) {
    db().exec(QStringLiteral("INSERT INTO USUARIO (UsuCod, UsuEstado, UsuTecla, UsuFoto) VALUES "
                             "(1, 'INACTIVO', 'F7', ?), (2, 'ACTIVO', 'F7', ?)"),
              {QByteArray("old"), QByteArray("new")});
    EXPECT_EQ(sellerPhoto(db(), QStringLiteral("F7")), QByteArray("new"));
    EXPECT_TRUE(sellerPhoto(db(), QStringLiteral("F5")).isEmpty());
    EXPECT_TRUE(sellerPhoto(db(), QString()).isEmpty());
}

TEST_P(CheckoutProcedures, EightCheckoutsAtOnceGetEightConsecutiveBoletaNumbers) {
    for (int sale = 1; sale <= 8; ++sale)
        seedSale(db(), sale, kDay, QStringLiteral("CAJA1-4"), {{101, 1, "1"}});
    std::mutex mutex;
    QSet<int> numbers;

    concurrently(8, [&](int i, db::Db& connection) {
        const int n = DischargeSale(connection, {i + 1, kWindow, 7, kBoletaDeVenta}).receiptNumber;
        const std::lock_guard<std::mutex> lock(mutex);
        numbers.insert(n);
    });

    EXPECT_EQ(numbers, (QSet<int>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(stockOf(db(), 101), 2);
}

TEST_P(CheckoutProcedures, TwoSalesHoldingTheLastUnitDischargeOneOfThem) {
    seedSale(db(), 1, kDay, QStringLiteral("CAJA1-4"), {{103, 1, "1"}});
    seedSale(db(), 2, kDay, QStringLiteral("CAJA1-5"), {{103, 1, "1"}});

    concurrently(2, [&](int i, db::Db& connection) {
        DischargeSale(connection, {i + 1, kWindow, 7, std::nullopt});
    });

    QStringList states{lineState(db(), 1, kDay, 1), lineState(db(), 2, kDay, 1)};
    std::sort(states.begin(), states.end());
    EXPECT_EQ(states, (QStringList{kDescargado, kSinStock}));
    EXPECT_EQ(stockOf(db(), 103), 0);
}

// Lines of one sale wanting the last units are judged in line order, each against what the lines
// before it left; only pending lines change, and only their units leave stock.
TEST_P(CheckoutProcedures, TheLinesOfASaleTakeTheStockInLineOrder) {
    seedPresentation(db(), 104, QStringLiteral("LORATADINA 10MG"), 3);
    seedSale(db(), 5, kDay, QStringLiteral("CAJA1-4"),
             {{104, 2, "1"},
              {104, 2, "1"},  // what the first line left does not cover it
              {999, 1, "1"},  // a presentation no longer in the catalogue
              {104, 5, "1", kDescargado},
              {104, 1, "1"},
              {102, 2, "1", kDevuelto},
              {101, 3, "1"}});
    std::vector<int> before;
    std::vector<std::pair<int, DecargarPresStockOut>> after;
    DischargeHooks hooks;
    hooks.beforeLine = [&](const SaleLine& l) { before.push_back(l.DetaNumero); };
    hooks.afterLine = [&](const SaleLine& l, const DecargarPresStockOut& out) {
        after.emplace_back(l.DetaNumero, out);
    };

    const DischargeResult result = dischargeSale(5, kBoletaDeVenta, hooks);

    const QStringList states{kDescargado, kSinStock, kSinStock,  kDescargado,
                             kDescargado, kDevuelto, kDescargado};
    const std::vector<bool> changed{true, true, true, false, true, false, true};
    EXPECT_EQ(before, (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    ASSERT_EQ(after.size(), 7u);
    for (int deta = 1; deta <= 7; ++deta) {
        SCOPED_TRACE(deta);
        EXPECT_EQ(lineState(db(), 5, kDay, deta), states[deta - 1]);
        EXPECT_EQ(after[deta - 1].first, deta);
        EXPECT_EQ(after[deta - 1].second.Estado, states[deta - 1]);
        EXPECT_EQ(after[deta - 1].second.changed, changed[deta - 1]);
    }
    EXPECT_EQ(stockOf(db(), 104), 0);
    EXPECT_EQ(stockOf(db(), 101), 7);
    EXPECT_EQ(stockOf(db(), 102), 10);
    EXPECT_EQ(result.discharged, 3);
    EXPECT_EQ(result.withoutStock, 2);
    EXPECT_EQ(result.receiptNumber, 1);
    EXPECT_EQ(header(5).FacEstado, kDescargado);
    EXPECT_EQ(header(5).FacCajero, QStringLiteral("07CAJA1-4"));
}

TEST_P(CheckoutProcedures, ASaleNoLineOfWhichIsCoveredReadsWithoutStockAndKeepsNoNumber) {
    seedSale(db(), 5, kDay, QStringLiteral("CAJA1-4"), {{103, 2, "1"}, {103, 3, "1"}});

    const DischargeResult result = dischargeSale(5, kFactura);

    EXPECT_EQ(result.withoutStock, 2);
    EXPECT_EQ(result.receiptNumber, 0);
    EXPECT_EQ(stockOf(db(), 103), 1);
    EXPECT_EQ(header(5).FacEstado, kSinStock);
    EXPECT_TRUE(header(5).FacNumSunat.isNull());
    EXPECT_EQ(dischargeSale(5, kFactura).withoutStock, 0);  // nothing is pending any more
}

// Two sales that together want more than the stock, discharged at once: whichever runs first,
// the lines left without stock are those that single-line discharges, line by line and sale by
// sale in the same order, leave without stock.
TEST_P(CheckoutProcedures, TwoSalesWantingMoreThanTheStockAtOnceSettleAsLineByLine) {
    // Each sale sells its line of 101 whatever happens, so both get a boleta number, in the
    // order they ran.
    const auto seedPair = [&](int code, int firstSale) {
        seedPresentation(db(), code, QStringLiteral("A"), 3);
        seedPresentation(db(), code + 1, QStringLiteral("B"), 2);
        seedSale(db(), firstSale, kDay, QStringLiteral("CAJA1-4"),
                 {{code, 2}, {101, 1}, {code + 1, 1}, {code, 2}, {code + 1, 2}});
        seedSale(db(), firstSale + 1, kDay, QStringLiteral("CAJA1-5"),
                 {{code + 1, 2}, {code, 1}, {101, 1}, {code, 2}});
    };
    seedPair(201, 1);  // discharged at once
    seedPair(301, 3);  // their reference, line by line

    concurrently(2, [](int i, db::Db& connection) {
        DischargeSale(connection, {1 + i, kWindow, 7, kBoletaDeVenta});
    });
    const int firstRun = db::integer(header(1).FacNumSunat) == 1 ? 0 : 1;
    for (int k = 0; k < 2; ++k) {
        const int sale = 3 + (firstRun + k) % 2;
        for (const SaleLine& l : saleLines(db(), sale, kWindow))
            discharge(sale, l.DetaNumero, l.CodPresentacion, kBoletaDeVenta, k + 1);
    }

    int withoutStock = 0;
    for (int sale = 1; sale <= 2; ++sale) {
        SCOPED_TRACE(sale);
        for (const SaleLine& l : saleLines(db(), sale, kWindow)) {
            EXPECT_EQ(l.Estado, lineState(db(), sale + 2, kDay, l.DetaNumero)) << l.DetaNumero;
            withoutStock += l.Estado == kSinStock ? 1 : 0;
        }
        EXPECT_EQ(header(sale).FacEstado, header(sale + 2).FacEstado);
        EXPECT_EQ(header(sale).FacNumSunat, header(sale + 2).FacNumSunat);
    }
    EXPECT_GT(withoutStock, 0);
    EXPECT_EQ(stockOf(db(), 201), stockOf(db(), 301));
    EXPECT_EQ(stockOf(db(), 202), stockOf(db(), 302));
}

TEST_P(CheckoutProcedures, APendingLineRemovedDuringTheDischargeWaitsForItAndFindsItSold) {
    seedSale(db(), 5, kDay, QStringLiteral("CAJA1-4"), {{101, 2}, {102, 1}});
    std::thread remover;
    QString removal;
    DischargeHooks hooks;
    hooks.begin = [&](const DischargeStart&) {
        remover = std::thread([&] {
            const std::unique_ptr<db::Db> other = connectAnother();
            removal = KZ_EliminarItemDescargar(*other, {5, 2, 102, kWindow.start}).pMensaje;
        });
        // Time for the other workstation to connect and reach the line before the discharge
        // writes it.
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
    };
    const DischargeResult result = dischargeSale(5, kBoletaDeVenta, hooks);
    remover.join();

    EXPECT_EQ(result.discharged, 2);
    EXPECT_EQ(removal, QStringLiteral("ITEM YA FUE DESCARGADO"));
    EXPECT_EQ(lineState(db(), 5, kDay, 2), kDescargado);
    EXPECT_EQ(stockOf(db(), 101), 8);
    EXPECT_EQ(stockOf(db(), 102), 9);
}

TEST_P(CheckoutProcedures, ASaleLeftWithOnlyLinesWithoutStockReadsWithoutStockAgain) {
    const std::vector<std::function<void(int sale, int deta, int pres)>> removals{
        [&](int sale, int deta, int pres) {
            KZ_EliminarItem(db(), {sale, pres, deta, kWindow.start});
        },
        [&](int sale, int deta, int pres) {
            KZ_EliminarItemDescargar(db(), {sale, deta, pres, kWindow.start});
        },
        [&](int sale, int, int) {
            KZ_BorraCotizacion(db(), {kWindow.start, sale});
        }};
    for (std::size_t k = 0; k < removals.size(); ++k) {
        SCOPED_TRACE(k);
        const int sale = 10 + int(k);
        seedSale(db(), sale, kDay, QStringLiteral("CAJA1-4"), {{103, 2}});
        dischargeSale(sale, kBoletaDeVenta);
        ASSERT_EQ(header(sale).FacEstado, kSinStock);
        const IngresoPresVentaOut added = KZ_IngresoPresVenta(
            db(), {101, 1, testsupport::money("1"), testsupport::money("1"), sale, kWindow.start});
        ASSERT_EQ(added.resultado, Ingreso::Ingresado);
        EXPECT_EQ(header(sale).FacEstado, kNoDescargado);

        removals[k](sale, added.DetaNumero, 101);
        EXPECT_EQ(header(sale).FacEstado, kSinStock);
        EXPECT_EQ(stockOf(db(), 103), 1);
    }
    // A sale that still has a pending line, and one left with no line at all, stay pending.
    seedSale(db(), 20, kDay, QStringLiteral("CAJA1-4"), {{101, 1}, {102, 1}});
    KZ_EliminarItem(db(), {20, 101, 1, kWindow.start});
    EXPECT_EQ(header(20).FacEstado, kNoDescargado);
    KZ_BorraCotizacion(db(), {kWindow.start, 20});
    EXPECT_EQ(header(20).FacEstado, kNoDescargado);
}

// The discharge settles a sale in a few statements, however many lines it has.
TEST_P(CheckoutProcedures, TwelveLinesAreDischargedWithTheStatementsOfTwo) {
    seedSale(db(), 5, kDay, QStringLiteral("CAJA1-4"), {{101, 1, "1"}, {102, 1, "1"}});
    std::vector<testsupport::SeedLine> twelve;
    for (int k = 0; k < 12; ++k)
        twelve.push_back({101 + k % 2, 1, "1"});
    seedSale(db(), 6, kDay, QStringLiteral("CAJA1-4"), twelve);

    const quint64 start = db().statementsRun();
    EXPECT_EQ(dischargeSale(5, kFactura).discharged, 2);
    const quint64 forTwo = db().statementsRun() - start;
    EXPECT_EQ(dischargeSale(6, kFactura).discharged, 12);
    EXPECT_EQ(db().statementsRun() - start - forTwo, forTwo);
}

// A discharged sale's header: the number it carries or the next one, the IGV row's series
// trimmed, the cashier's code before the trimmed workstation tag, cut to the column's size.
TEST_P(CheckoutProcedures, TheHeaderGetsItsNumberTheTrimmedSeriesAndTheCashiersTag) {
    testsupport::seedIgv(db(), 3, QStringLiteral("\tB003 "), QStringLiteral("F003\t"));
    seedSale(db(), 5, kDay, QStringLiteral("\tCAJA1-4 "), {{101, 1, "1"}});
    seedSale(db(), 6, kDay, QStringLiteral("CAJA-DEL-FONDO-17"), {{101, 1, "1"}});
    seedSale(db(), 7, kDay, QStringLiteral("CAJA1-5"), {{102, 1, "1"}});
    testsupport::setSaleReceipt(db(), 7, kDay, kNoDescargado, kBoletaDeVenta, 41);

    const DischargeResult factura = dischargeSale(5, kFactura);
    const DischargeResult boleta = dischargeSale(6, kBoletaDeVenta);
    const DischargeResult carried = dischargeSale(7, kBoletaDeVenta);

    EXPECT_EQ(factura.series, QStringLiteral("F003"));
    EXPECT_EQ(header(5).FacSerieSunat, QStringLiteral("F003"));
    EXPECT_EQ(header(5).FacCajero, QStringLiteral("07CAJA1-4"));
    EXPECT_EQ(db::integer(header(5).FacNumSunat), 1);
    EXPECT_EQ(boleta.series, QStringLiteral("B003"));
    EXPECT_EQ(header(6).FacSerieSunat, QStringLiteral("B003"));
    EXPECT_EQ(header(6).FacCajero, QStringLiteral("07CAJA-DEL-FONDO-"));
    EXPECT_EQ(boleta.receiptNumber, 42);  // after the number sale 7 already carries
    EXPECT_EQ(carried.receiptNumber, 41);
    EXPECT_EQ(db::integer(header(7).FacNumSunat), 41);
    EXPECT_EQ(header(7).FacCajero, QStringLiteral("07CAJA1-5"));
}

// On PostgreSQL a line changes state within its own page, so its three indexes are not written
// again: the pages keep room for it even when the sale's lines share them with a later sale's.
TEST_P(CheckoutProcedures, ADischargeLeavesItsLinesInTheirPages) {
    if (GetParam() != db::Dialect::PostgreSQL)
        GTEST_SKIP() << "SQLite rewrites a row in place";
    seedPresentation(db(), 104, QStringLiteral("LORATADINA 10MG"), 500);
    seedSale(db(), 5, kDay, QStringLiteral("CAJA1-4"), std::vector<SeedLine>(30, {104, 1, "1"}));
    seedSale(db(), 6, kDay, QStringLiteral("CAJA1-4"), std::vector<SeedLine>(60, {104, 1, "1"}));
    const auto pages = [&] {
        QSqlQuery q =
            db().exec(QStringLiteral("SELECT DISTINCT (ctid::text::point)[0] FROM DETAFAC "
                                     "WHERE FacNumero = 5 ORDER BY 1"));
        QList<int> out;
        while (q.next())
            out << db::integer(q.value(0));
        return out;
    };
    const QList<int> before = pages();

    ASSERT_EQ(dischargeSale(5, kFactura).discharged, 30);

    EXPECT_EQ(pages(), before);
}

TEST(CheckoutTags, CashierTagAndSellerKey) {
    const struct {
        int code;
        const char* host;
        const char* tag;
    } tags[] = {{3, "CAJA1-4", "03CAJA1-4"},
                {7, "CAJA2-5 ", "07CAJA2-5"},
                {10, "CAJA2-5", "010CAJA2-5"},
                {12, "CAJA1-4", "12CAJA1-4"},
                {15, "CAJA2-5", "15CAJA2-5"}};
    for (const auto& t : tags)
        EXPECT_EQ(cashierTag(t.code, QString::fromLatin1(t.host)), QString::fromLatin1(t.tag));

    const struct {
        const char* host;
        const char* key;
    } keys[] = {{"CAJA1-4", "F4"}, {"CAJA1-9 ", "F9"}, {"CAJA1-3", ""}, {"CAJA", ""}, {"", ""}};
    for (const auto& k : keys)
        EXPECT_EQ(sellerKey(QString::fromLatin1(k.host)), QString::fromLatin1(k.key)) << k.host;
}

VELCARIS_DB_TEST_SUITE(CheckoutProcedures);

}  // namespace
