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
    remove("LABORATORIO", "LabCodigo", 103);
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

    EXPECT_EQ(lines[2].PresTipo, QStringLiteral("AMOXICILINA 500MG"));  // only its brand is gone
    EXPECT_TRUE(lines[2].LabNombre.isEmpty());
    // The quotation's total and its list agree.
    EXPECT_EQ(sum(lines), totalVenta(db(), 5, kWindow));
}

TEST_P(SaleReads, ALineWithoutItsLinkIsListedAndTheSellerCanStillRemoveIt) {
    remove("PRODUCTO_LABORATORIO", "ProdLabCod", 102);
    const std::vector<SaleLine> lines = saleLines(db(), 5, kWindow);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].PresTipo, QStringLiteral("IBUPROFENO 400MG"));
    EXPECT_TRUE(lines[1].LabNombre.isEmpty());

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

TEST_P(SaleReads, TheIgvRowInForceHasTheHighestCode) {
    EXPECT_EQ(currentIgv(db())->IgvCod, 1);
    testsupport::seedIgv(db(), 3, QStringLiteral("B003"), QStringLiteral("F003"));
    testsupport::seedIgv(db(), 2, QStringLiteral("B009"), QStringLiteral("F009"));
    db().exec(QStringLiteral("UPDATE IGV SET IgvValor = ? WHERE IgvCod = ?"), {16.5, 3});
    const std::optional<Igv> igv = currentIgv(db());
    ASSERT_TRUE(igv);
    EXPECT_EQ(igv->IgvCod, 3);
    EXPECT_EQ(igv->IgvValor, std::optional<double>(16.5));
    EXPECT_EQ(igv->IgvSerieBoleta, QStringLiteral("B003"));
    EXPECT_EQ(igv->IgvSerieFactura, QStringLiteral("F003"));

    db().exec(QStringLiteral("UPDATE IGV SET IgvValor = NULL WHERE IgvCod = ?"), {3});
    EXPECT_FALSE(currentIgv(db())->IgvValor);
    db().exec(QStringLiteral("DELETE FROM IGV"));
    EXPECT_FALSE(currentIgv(db()));
}

TEST_P(SaleReads, TheHeaderOfASaleOfTheWindowOnly) {
    const std::optional<SaleHeader> header = saleHeader(db(), 5, kWindow);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->FacHostName, QStringLiteral("CAJA1-4"));
    EXPECT_EQ(header->FacNumSunat, 0);
    EXPECT_FALSE(saleHeader(db(), 5, core::saleDay(kDay.addDays(1))));
    EXPECT_FALSE(saleHeader(db(), 6, kWindow));
}

VELCARIS_DB_TEST_SUITE(SaleReads);
