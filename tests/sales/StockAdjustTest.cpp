#include "support/CheckoutSeed.h"
#include "support/DbTest.h"

#include "db/procedures/StockAdjust.h"

#include <QSet>
#include <atomic>
#include <tuple>

using namespace db::proc;
using testsupport::money;
using testsupport::seedPresentation;
using testsupport::stockOf;

namespace {

const QDateTime kNow(QDate(2026, 3, 2), QTime(9, 30));
constexpr int kPres = 101;

class StockAdjust : public testsupport::DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped())
            return;
        seedPresentation(db(), kPres, QStringLiteral("PARACETAMOL 500MG"), 10);
        openPeriod(db(), 1);
    }

    static void openPeriod(db::Db& db, int code) {
        db.exec(QStringLiteral("INSERT INTO INVENTARIO (InvCod, InvFecha) VALUES (?, ?)"),
                {code, kNow});
    }
    static EditarStockTotalIn adjustment(const QString& kind, int units, int sw = 0) {
        EditarStockTotalIn in;
        in.pCodPresentacion = kPres;
        in.pUsuCod = 1;
        in.pInvDetaTipo = kind;
        in.pInvDetaUni = units;
        in.pInvDetaPc = money("0.50");
        in.pInvDetaPv = money("1.20");
        in.pSW = sw;
        return in;
    }
    EditarStockTotalOut adjust(const QString& kind, int units, int sw = 0) {
        return KZ_EditarStockTotal(db(), adjustment(kind, units, sw), kNow);
    }
    // The period's rows of a kind: their count and their units.
    std::pair<int, int> rowsOf(int period, const QString& kind) {
        QSqlQuery q = db().exec(QStringLiteral("SELECT COUNT(*), COALESCE(SUM(InvDetaUni), 0) "
                                               "FROM INVENTARIO_DETALLE WHERE InvCod = ? AND "
                                               "InvDetaTipo = ?"),
                                {period, kind});
        q.next();
        return {db::integer(q.value(0)), db::integer(q.value(1))};
    }
    int rows() {
        return db::integer(db().scalar(QStringLiteral("SELECT COUNT(*) FROM INVENTARIO_DETALLE")));
    }
    void lock(const QString& value) {
        db().exec(QStringLiteral("INSERT INTO PARAMETRO (ParNombre, ParValor) VALUES (?, ?)"),
                  {kStockChangeLockKey, value});
    }
};

TEST_P(StockAdjust, AShortageAddsItsUnitsAndASurplusTakesThemEachRecordedInThePeriod) {
    const EditarStockTotalOut falta = adjust(kFalta, -4);
    EXPECT_EQ(falta.resultado, AjusteStock::Editado);
    EXPECT_EQ(falta.pMensaje, QStringLiteral("EDICION SATISFACTORIA..."));
    EXPECT_EQ(stockOf(db(), kPres), 14);
    EXPECT_EQ(adjust(kSobra, 2).resultado, AjusteStock::Editado);
    EXPECT_EQ(stockOf(db(), kPres), 12);
    EXPECT_EQ(rowsOf(1, kFalta), std::make_pair(1, -4));
    EXPECT_EQ(rowsOf(1, kSobra), std::make_pair(1, 2));
    QSqlQuery row = db().exec(
        QStringLiteral("SELECT UsuCod, CodPresentacion, InvDetaPc, InvDetaPv, InvDetaFecha "
                       "FROM INVENTARIO_DETALLE WHERE InvDetaTipo = ?"),
        {kFalta});
    ASSERT_TRUE(row.next());
    EXPECT_EQ(db::integer(row.value(0)), 1);
    EXPECT_EQ(db::integer(row.value(1)), kPres);
    EXPECT_EQ(db::money(row.value(2)), money("0.50"));
    EXPECT_EQ(db::money(row.value(3)), money("1.20"));
    EXPECT_EQ(db::dateTime(row.value(4)), kNow);
}

TEST_P(StockAdjust, ASurplusBeyondTheStockIsRefusedAndChangesNothing) {
    const EditarStockTotalOut out = adjust(kSobra, 11);
    EXPECT_EQ(out.resultado, AjusteStock::ValorNegativo);
    EXPECT_EQ(out.pMensaje, QStringLiteral("EDICION NO PERMITIDA...VALOR NEGATIVO"));
    EXPECT_EQ(stockOf(db(), kPres), 10);
    EXPECT_EQ(rows(), 0);
    EXPECT_EQ(adjust(kSobra, 10).resultado, AjusteStock::Editado);  // down to exactly 0
    EXPECT_EQ(stockOf(db(), kPres), 0);
}

TEST_P(StockAdjust, StockNeverPassesTheLargestItHoldsNorTakesZeroUnits) {
    const EditarStockTotalOut above = adjust(kFalta, -32758);
    EXPECT_EQ(above.resultado, AjusteStock::StockMaximo);
    EXPECT_EQ(above.pMensaje, QStringLiteral("EDICION NO PERMITIDA...STOCK MAYOR A 32767"));
    EXPECT_EQ(adjust(kFalta, -99999).resultado, AjusteStock::StockMaximo);
    EXPECT_EQ(adjust(kFalta, 0).resultado, AjusteStock::CantidadCero);
    EXPECT_EQ(stockOf(db(), kPres), 10);
    EXPECT_EQ(rows(), 0);
    EXPECT_EQ(adjust(kFalta, -32757).resultado, AjusteStock::Editado);
    EXPECT_EQ(stockOf(db(), kPres), 32767);
}

TEST_P(StockAdjust, NotRegisteredChangesTheStockOnlyAndSaysSo) {
    const EditarStockTotalOut out = adjust(kSobra, 3, 1);
    EXPECT_EQ(out.pMensaje, QStringLiteral("EDICION SATISFACTORIA..."));
    EXPECT_EQ(stockOf(db(), kPres), 7);
    EXPECT_EQ(rows(), 0);
    const EditarStockTotalOut refused = adjust(kSobra, 8, 1);
    EXPECT_EQ(refused.pMensaje, QStringLiteral("EDICION NO PERMITIDA...VALOR NEGATIVO"));
    EXPECT_EQ(stockOf(db(), kPres), 7);
}

TEST_P(StockAdjust, WithoutAnInventoryPeriodNothingChangesAndTheMessageSaysWhy) {
    db().exec(QStringLiteral("DELETE FROM INVENTARIO"));
    const EditarStockTotalOut out = adjust(kFalta, -4);
    EXPECT_EQ(out.resultado, AjusteStock::SinInventario);
    EXPECT_EQ(out.pMensaje, QStringLiteral("NO HAY INVENTARIO ABIERTO...NO SE EDITA"));
    EXPECT_EQ(stockOf(db(), kPres), 10);
    EXPECT_EQ(rows(), 0);
}

TEST_P(StockAdjust, AMissingPresentationOrAnUnknownKindIsATransactionError) {
    EditarStockTotalIn missing = adjustment(kSobra, 1);
    missing.pCodPresentacion = 999;
    EXPECT_EQ(KZ_EditarStockTotal(db(), missing, kNow).pMensaje,
              QStringLiteral("ERROR EN TRANSACCION..."));
    EXPECT_EQ(adjust(QStringLiteral("OTRO"), 1).resultado, AjusteStock::ErrorTransaccion);
    EXPECT_EQ(stockOf(db(), kPres), 10);
}

TEST_P(StockAdjust, OnlyTheCurrentPeriodsNewestRowOfTheKindAccumulates) {
    ASSERT_EQ(adjust(kSobra, 1).resultado, AjusteStock::Editado);
    ASSERT_EQ(adjust(kFalta, -2).resultado, AjusteStock::Editado);
    openPeriod(db(), 2);
    // A new period starts with rows of its own, even though older ones exist.
    ASSERT_EQ(adjust(kSobra, 3).resultado, AjusteStock::Editado);
    ASSERT_EQ(adjust(kFalta, -4).resultado, AjusteStock::Editado);
    ASSERT_EQ(adjust(kSobra, 5).resultado, AjusteStock::Editado);
    ASSERT_EQ(adjust(kFalta, -6).resultado, AjusteStock::Editado);
    EXPECT_EQ(rowsOf(1, kSobra), std::make_pair(1, 1));
    EXPECT_EQ(rowsOf(1, kFalta), std::make_pair(1, -2));
    EXPECT_EQ(rowsOf(2, kSobra), std::make_pair(1, 8));
    EXPECT_EQ(rowsOf(2, kFalta), std::make_pair(1, -10));
    EXPECT_EQ(stockOf(db(), kPres), 10 - 1 + 2 - 3 + 4 - 5 + 6);
}

TEST_P(StockAdjust, AnAdjustmentTakingItsRowBeyondWhatTheRowHoldsIsRefusedChangingNothing) {
    db().exec(QStringLiteral("UPDATE PRESENTACION SET PresStockTotal = 20000"));
    for (const auto& [code, kind, units] :
         {std::tuple{1, kSobra, 32000}, std::tuple{2, kFalta, -32000}})
        db().exec(QStringLiteral("INSERT INTO INVENTARIO_DETALLE (InvDetaCod, CodPresentacion, "
                                 "InvCod, InvDetaTipo, InvDetaUni) VALUES (?, ?, 1, ?, ?)"),
                  {code, kPres, kind, units});
    const struct {
        const QString& kind;
        int units;
        bool made;
        int stock;
        int rowUnits;
    } cases[] = {{kSobra, 768, false, 20000, 32000},
                 {kSobra, 767, true, 19233, 32767},
                 {kFalta, -769, false, 19233, -32000},
                 {kFalta, -768, true, 20001, -32768}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.units);
        const EditarStockTotalOut out = adjust(c.kind, c.units);
        EXPECT_EQ(out.pMensaje,
                  c.made ? QStringLiteral("EDICION SATISFACTORIA...")
                         : QStringLiteral("EDICION NO PERMITIDA...AJUSTE MAYOR A 32767"));
        EXPECT_EQ(stockOf(db(), kPres), c.stock);
        EXPECT_EQ(rowsOf(1, c.kind), std::make_pair(1, c.rowUnits));
    }
}

TEST_P(StockAdjust, WhileLockedTheCallFailsAndChangesNothing) {
    lock(kStockChangeLocked);
    EXPECT_THROW(adjust(kFalta, -4), db::Error);
    EXPECT_EQ(stockOf(db(), kPres), 10);
    EXPECT_EQ(rows(), 0);
}

TEST_P(StockAdjust, AnyOtherValueOfTheLockRowLeavesStockChangeable) {
    lock(QStringLiteral("0"));
    EXPECT_FALSE(stockChangeLocked(db()));
    EXPECT_EQ(adjust(kFalta, -4).resultado, AjusteStock::Editado);
}

TEST_P(StockAdjust, EightWorkstationsAdjustingAtOnceKeepStockKeysAndPeriodSumsTrue) {
    constexpr int kStations = 8;
    constexpr int kRounds = 6;
    std::atomic<int> accepted{0};
    concurrently(kStations, [&](int station, db::Db& conn) {
        for (int round = 0; round < kRounds; ++round) {
            // Odd stations take surpluses, some far beyond any stock; even ones add shortages.
            const bool sobra = station % 2 == 1;
            const int units = sobra ? (round % 3 == 0 ? 50 : 3) : -1;
            const EditarStockTotalOut out =
                KZ_EditarStockTotal(conn, adjustment(sobra ? kSobra : kFalta, units), kNow);
            if (out.resultado == AjusteStock::Editado)
                accepted += units;
            else
                EXPECT_EQ(out.resultado, AjusteStock::ValorNegativo);
        }
    });
    const int stock = stockOf(db(), kPres);
    EXPECT_GE(stock, 0);
    EXPECT_EQ(stock, 10 - accepted.load());
    EXPECT_EQ(rowsOf(1, kSobra).second + rowsOf(1, kFalta).second, accepted.load());
    QSqlQuery keys = db().exec(QStringLiteral("SELECT InvDetaCod FROM INVENTARIO_DETALLE"));
    QSet<int> seen;
    int n = 0;
    while (keys.next()) {
        seen.insert(db::integer(keys.value(0)));
        ++n;
    }
    EXPECT_EQ(seen.size(), n);
}

VELCARIS_DB_TEST_SUITE(StockAdjust);

}  // namespace
