#include "sales/SalesSeed.h"
#include "support/DbTest.h"

#include "session/UnitDM.h"

using namespace testsupport::counter;

namespace {

// The session datasets of the data module on a small catalogue.
class DataModule : public testsupport::DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped())
            return;
        seedLink(db(), 1, QStringLiteral("panadol"), QStringLiteral("GSK"));
        seedLink(db(), 2, QStringLiteral("AMOXIL"), QStringLiteral("GENFAR"),
                 QStringLiteral("INACTIVO"));
        seedLink(db(), 3, QStringLiteral("AMBROXOL"), QStringLiteral("PORTUGAL"));
        seedPresentation(db(), 10, 1, QStringLiteral("PANADOL TABLETAS"), "10.00", "12.50", 7);
        seedPresentation(db(), 11, 1, QStringLiteral("PANADOL JARABE"), "0", "9.00", 0);
        seedPresentation(db(), 20, 2, QStringLiteral("AMOXIL 500"), "0.50", "1.20", 5);
        db().exec(
            QStringLiteral("INSERT INTO CRUCE (CruceCod, CodPresentacion, CruCantidad, "
                           "CruEstado) VALUES (1, 10, 9, 'SOBRA')"));
        dm = std::make_unique<session::TDM>(db());
    }
    void TearDown() override {
        dm.reset();
        DbTest::TearDown();
    }

    void moveTo(const QString& name, const QString& presTipo) {
        dm->locateProduct(name);
        const auto& rows = dm->presentations();
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (rows[i].PresTipo == presTipo)
                dm->setCurrentPresentationIndex(int(i));
        ASSERT_EQ(dm->currentPresentation()->PresTipo, presTipo);
    }
    QStringList names() const {
        QStringList out;
        for (const session::ProductRow& p : dm->products())
            out << p.ProdNomComercial + QLatin1Char('|') + p.ACTINAC();
        return out;
    }

    std::unique_ptr<session::TDM> dm;
};

TEST_P(DataModule, TheProductListIsSortedByNameAndSearchedByPrefix) {
    EXPECT_EQ(names(), (QStringList{QStringLiteral("AMBROXOL|"), QStringLiteral("AMOXIL|INACTIVO"),
                                    QStringLiteral("panadol|")}));
    dm->locateProduct(QStringLiteral("amo"));
    EXPECT_EQ(dm->currentProduct()->ProdNomComercial, QStringLiteral("AMOXIL"));
    dm->locateProduct(QStringLiteral("PAN"));
    EXPECT_EQ(dm->currentProduct()->ProdNomComercial, QStringLiteral("panadol"));
    dm->locateProduct(QStringLiteral("AMB"));
    for (const char* unmatched : {"ZZZ", "AMZ", "AMOXILO"}) {
        dm->locateProduct(QString::fromLatin1(unmatched));  // no name starts so: it stays
        EXPECT_EQ(dm->currentProduct()->ProdNomComercial, QStringLiteral("AMBROXOL")) << unmatched;
    }
}

TEST_P(DataModule, PresentationsOfTheLinkWithTheirMarksMarginAndCrossCheck) {
    moveTo(QStringLiteral("PAN"), QStringLiteral("PANADOL TABLETAS"));
    ASSERT_EQ(dm->presentations().size(), 2u);
    EXPECT_EQ(dm->presentations()[0].PresTipo, QStringLiteral("PANADOL JARABE"));
    const session::PresentationRow& jarabe = dm->presentations()[0];
    EXPECT_EQ(jarabe.P_Estado(), QStringLiteral("*"));  // continued, no stock
    EXPECT_EQ(jarabe.PORCENGANAN(), QString());         // no cost
    EXPECT_EQ(dm->currentPresentation()->PORCENGANAN(), QStringLiteral("   25.00"));
    EXPECT_EQ(dm->cruceText(), QStringLiteral("2 /9 SOBRA"));
}

TEST_P(DataModule, ARefreshRereadsTheLinkAndKeepsTheCurrentPresentation) {
    moveTo(QStringLiteral("PAN"), QStringLiteral("PANADOL TABLETAS"));
    db().exec(
        QStringLiteral("UPDATE PRESENTACION SET PresStockTotal = 3 WHERE CodPresentacion = 10"));
    db().exec(QStringLiteral("UPDATE CRUCE SET CruCantidad = 1, CruEstado = 'FALTA'"));
    seedPresentation(db(), 12, 1, QStringLiteral("PANADOL FORTE"), "1", "2", 4);

    dm->refreshPresentations();

    ASSERT_EQ(dm->presentations().size(), 3u);
    EXPECT_EQ(dm->currentPresentation()->CodPresentacion, 10);
    EXPECT_EQ(dm->currentPresentation()->PresStockTotal, 3);
    EXPECT_EQ(dm->cruceText(), QStringLiteral("2 /1 FALTA"));

    db().exec(QStringLiteral("DELETE FROM PRESENTACION WHERE CodPresentacion = 10"));
    dm->refreshPresentations();
    EXPECT_EQ(dm->currentPresentationIndex(), 0);  // gone: the first one
    EXPECT_EQ(dm->presentations().size(), 2u);
}

TEST_P(DataModule, WithTheSessionClosedThereIsNothingToShowOrRefresh) {
    dm->closeSessionDatasets();
    EXPECT_FALSE(dm->isSessionOpen());
    EXPECT_EQ(dm->currentProduct(), nullptr);
    dm->refreshPresentations();
    EXPECT_TRUE(dm->presentations().empty());
    dm->openSessionDatasets();
    EXPECT_EQ(dm->products().size(), 3u);
}

}  // namespace

VELCARIS_DB_TEST_SUITE(DataModule);
