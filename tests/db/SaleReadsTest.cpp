#include "support/CheckoutSeed.h"
#include "support/DbTest.h"

#include "db/procedures/Checkout.h"
#include "db/procedures/Sales.h"

using namespace db::proc;
using testsupport::money;

namespace {

const QDate kDay(2026, 3, 7);
const core::DateTimeRange kWindow = core::saleDay(kDay);

// Sale 5 of the day: 2 x 5.90 of presentation 101, 1 x 3.00 of 102 and 1 x 4.00 of 103.
class SaleReads : public testsupport::DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped())
            return;
        testsupport::seedPresentation(db(), 101, QStringLiteral("PARACETAMOL 500MG"), 10);
        testsupport::seedPresentation(db(), 102, QStringLiteral("IBUPROFENO 400MG"), 10,
                                      QStringLiteral("BAYER"));
        testsupport::seedPresentation(db(), 103, QStringLiteral("AMOXICILINA 500MG"), 10,
                                      QStringLiteral("PORTUGAL"));
        testsupport::seedIgv(db(), 1, QStringLiteral("B001"), QStringLiteral("F001"));
        testsupport::seedSale(db(), 5, kDay, QStringLiteral("CAJA1-4"),
                              {{101, 2, "5.90"}, {102, 1, "3"}, {103, 1, "4"}});
    }

    void remove(const char* table, const char* key, int code) {
        db().exec(QStringLiteral("DELETE FROM %1 WHERE %2 = ?")
                      .arg(QLatin1String(table), QLatin1String(key)),
                  {code});
    }

    core::Money sum(const std::vector<SaleLine>& lines) {
        core::Money total;
        for (const SaleLine& l : lines)
            total += l.SUB_TOTAL;
        return total;
    }
};

}  // namespace

TEST_P(SaleReads, ALineStaysListedWithBlanksWhateverIsGoneFromTheCatalogue) {
    remove("PRESENTACION", "CodPresentacion", 102);
    remove("PRODUCTO_LABORATORIO", "ProdLabCod", 103);
    const std::vector<SaleLine> lines = saleLines(db(), 5, kWindow);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].PresTipo, QStringLiteral("PARACETAMOL 500MG"));
    EXPECT_EQ(lines[0].LabNombre, QStringLiteral("GENFAR"));
    EXPECT_EQ(lines[0].PresStockTotal, 10);
    EXPECT_EQ(lines[0].FacHostName, QStringLiteral("CAJA1-4"));

    const SaleLine& gone = lines[1];
    EXPECT_EQ(gone.DetaNumero, 2);
    EXPECT_EQ(gone.CodPresentacion, 102);  // the line's own, so the line can still be removed
    EXPECT_EQ(gone.Cantidad, 1);
    EXPECT_EQ(gone.SUB_TOTAL, money("3"));
    EXPECT_TRUE(gone.PresTipo.isEmpty());
    EXPECT_TRUE(gone.LabNombre.isEmpty());
    EXPECT_EQ(gone.PresStockTotal, 0);
    EXPECT_EQ(gone.FacEstado, kNoDescargado);

    EXPECT_EQ(lines[2].PresTipo, QStringLiteral("AMOXICILINA 500MG"));  // only its link is gone
    EXPECT_TRUE(lines[2].LabNombre.isEmpty());
    // The quotation's total and its list agree.
    EXPECT_EQ(sum(lines), totalVenta(db(), 5, kWindow));
}

TEST_P(SaleReads, TheSellerCanStillRemoveALineWhosePresentationIsGone) {
    remove("PRESENTACION", "CodPresentacion", 102);
    const SaleLine gone = saleLines(db(), 5, kWindow)[1];
    const EliminarItemOut out = KZ_EliminarItem(
        db(), {gone.FacNumero, gone.CodPresentacion, gone.DetaNumero, gone.FacFecha});
    EXPECT_TRUE(out.eliminado) << out.pMensaje.toStdString();
    EXPECT_EQ(saleLines(db(), 5, kWindow).size(), 2u);
}

TEST_P(SaleReads, TheDischargeRefusesALineWhosePresentationIsGoneAndChargesTheRest) {
    remove("PRESENTACION", "CodPresentacion", 102);
    const DischargeResult result = DischargeSale(db(), {5, kWindow, 4, kBoletaDeVenta});
    EXPECT_EQ(result.discharged, 2);
    EXPECT_EQ(result.withoutStock, 1);
    const std::vector<SaleLine> lines = saleLines(db(), 5, kWindow);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].Estado, kSinStock);
    EXPECT_EQ(lines[0].FacSerieSunat, QStringLiteral("B001"));
    EXPECT_EQ(saleTotal(db(), 5, kWindow), money("15.8"));
}

VELCARIS_DB_TEST_SUITE(SaleReads);
