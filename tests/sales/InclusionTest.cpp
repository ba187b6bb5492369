#include "support/CheckoutSeed.h"
#include "support/DbTest.h"
#include "support/Keys.h"
#include "support/Listings.h"
#include "support/WindowTest.h"

#include "db/DemoShop.h"
#include "db/procedures/Checkout.h"
#include "db/procedures/Inclusion.h"
#include "sales/UnitProdIncluya.h"
#include "ui/Palette.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStringList>
#include <QTableView>
#include <QTest>

using namespace db::proc;
using namespace testsupport;

namespace {

const QDate kDay(2026, 3, 7);

QStringList names(const std::vector<FoundPresentation>& found) {
    QStringList out;
    for (const FoundPresentation& f : found)
        out << f.PresTipo;
    return out;
}

class InclusionProcedures : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped())
            return;
        product(1, "GRIPALIV", "PARACETAMOL + FENILEFRINA + CLORFENAMINA", "ANTIGRIPAL", "LAB A",
                "GRIPALIV TAB", "3.50", 5);
        product(2, "PANADOL", "PARACETAMOL", "ANALGESICO", "LAB B", "PANADOL 500MG", "1.20", 6);
        product(3, "CLORFENAMINA 4MG", "CLORFENAMINA MALEATO", "ANTIHISTAMINICO", "LAB C",
                "CLORFENAMINA X 100", "0.40", 9);
        product(4, "O'BRIEN 100%", "ACIDO_FOLICO", "VITAMINA", "LAB D", "O'BRIEN, 50% EXTRA", "8",
                10);
        product(5, "AGOTADO", "NINGUNO", "NADA", "LAB E", "AGOTADO JARABE", "12", 0);
    }

    void product(int code, const char* name, const char* generic, const char* mecanismo,
                 const char* lab, const char* pres, const char* price, int stock) {
        db().exec(QStringLiteral("INSERT INTO PRODUCTO (ProdCodigo, ProdNomComercial, "
                                 "ProdNomGenerico, ProAccionMecanismo) VALUES (?, ?, ?, ?)"),
                  {code, QString::fromUtf8(name), QString::fromUtf8(generic),
                   QString::fromUtf8(mecanismo)});
        db().exec(QStringLiteral("INSERT INTO LABORATORIO (LabCodigo, LabNombre) VALUES (?, ?)"),
                  {code, QString::fromUtf8(lab)});
        db().exec(QStringLiteral("INSERT INTO PRODUCTO_LABORATORIO (ProdLabCod, ProdCodigo, "
                                 "LabCodigo, ProdLabEstado) VALUES (?, ?, ?, 'ACTIVO')"),
                  {code, code, code});
        db().exec(QStringLiteral("INSERT INTO PRESENTACION (CodPresentacion, ProdLabCod, PresTipo, "
                                 "PresVenta, PresStockTotal) VALUES (?, ?, ?, ?, ?)"),
                  {code, code, QString::fromUtf8(pres), QVariant::fromValue(money(price)), stock});
    }

    QStringList find(const ProductSearch& s) { return names(searchPresentations(db(), s)); }
};

TEST_P(InclusionProcedures, EveryIngredientMustBeContainedInAnyOrder) {
    ProductSearch s;
    s.ingredientes = {QStringLiteral("PARACETAMOL"), QStringLiteral("CLORFENAMINA")};
    EXPECT_EQ(find(s), QStringList{QStringLiteral("GRIPALIV TAB")});
    s.ingredientes = {QStringLiteral("clorfenamina"), QStringLiteral("paracetamol")};
    EXPECT_EQ(find(s), QStringList{QStringLiteral("GRIPALIV TAB")});
    std::vector<FoundProduct> products = searchProducts(db(), s);
    ASSERT_EQ(products.size(), 1u);
    EXPECT_EQ(products[0].ProdNomComercial, QStringLiteral("GRIPALIV"));
}

TEST_P(InclusionProcedures, NoFilterListsEveryPresentationInStockOrAtZeroByName) {
    const std::vector<FoundPresentation> all = searchPresentations(db(), {});
    EXPECT_EQ(names(all), (QStringList{"AGOTADO JARABE", "CLORFENAMINA X 100", "GRIPALIV TAB",
                                       "O'BRIEN, 50% EXTRA", "PANADOL 500MG"}));
    ASSERT_EQ(all.size(), 5u);
    EXPECT_EQ(all[2].LabNombre, QStringLiteral("LAB A"));
    EXPECT_EQ(all[2].PresVenta, money("3.50"));
    EXPECT_EQ(all[2].PresStockTotal, 5);
    EXPECT_EQ(all[2].ProAccionMecanismo, QStringLiteral("ANTIGRIPAL"));
}

TEST_P(InclusionProcedures, PriceBoundsAreMoneyAndIncluded) {
    ProductSearch s;
    s.priceFrom = money("1.20");
    s.priceTo = money("3.50");
    EXPECT_EQ(find(s), (QStringList{"GRIPALIV TAB", "PANADOL 500MG"}));
}

TEST_P(InclusionProcedures, StockBoundsCompareAsChosen) {
    ProductSearch s;
    s.stockFrom = StockBound{Comparison::Greater, 5};
    s.stockTo = StockBound{Comparison::Less, 10};
    EXPECT_EQ(find(s), (QStringList{"CLORFENAMINA X 100", "PANADOL 500MG"}));
    s.stockFrom = StockBound{Comparison::GreaterOrEqual, 5};
    s.stockTo = StockBound{Comparison::LessOrEqual, 6};
    EXPECT_EQ(find(s), (QStringList{"GRIPALIV TAB", "PANADOL 500MG"}));
    s.stockFrom.reset();
    s.stockTo = StockBound{Comparison::Equal, 0};
    EXPECT_EQ(find(s), QStringList{QStringLiteral("AGOTADO JARABE")});
}

TEST_P(InclusionProcedures, QuotesCommasAndWildcardsTypedAreLookedForAsText) {
    ProductSearch s;
    s.producto = QStringLiteral("O'BRIEN");
    EXPECT_EQ(find(s), QStringList{QStringLiteral("O'BRIEN, 50% EXTRA")});
    s = {};
    s.presentacion = QStringLiteral("N, 50%");
    EXPECT_EQ(find(s), QStringList{QStringLiteral("O'BRIEN, 50% EXTRA")});
    s.presentacion = QStringLiteral("%");
    EXPECT_EQ(find(s), QStringList{QStringLiteral("O'BRIEN, 50% EXTRA")});
    s = {};
    s.ingredientes = {QStringLiteral("I_O")};
    EXPECT_TRUE(find(s).isEmpty());
    s.ingredientes = {QStringLiteral("DO_F")};
    EXPECT_EQ(find(s), QStringList{QStringLiteral("O'BRIEN, 50% EXTRA")});
}

TEST_P(InclusionProcedures, EachTextFiltersItsOwnColumn) {
    ProductSearch s;
    s.laboratorio = QStringLiteral("lab b");
    EXPECT_EQ(find(s), QStringList{QStringLiteral("PANADOL 500MG")});
    s = {};
    s.mecanismo = QStringLiteral("HISTAM");
    EXPECT_EQ(find(s), QStringList{QStringLiteral("CLORFENAMINA X 100")});
}

class SoldLinesListing : public InclusionProcedures {
protected:
    void SetUp() override {
        InclusionProcedures::SetUp();
        if (IsSkipped())
            return;
        seedSale(db(), 1, kDay, QStringLiteral("CAJA1-4"), {{1, 2, "3.50"}, {1, 2, "3.50"}});
        seedSale(db(), 2, kDay, QStringLiteral("CAJA1-5"), {{2, 1, "1.20", kDescargado}});
        seedSale(db(), 3, kDay, QStringLiteral("CAJA1-6"), {{3, 4, "0.40"}});
        seedSale(db(), 2, kDay.addDays(-1), QStringLiteral("CAJA1-7"), {{2, 1, "1.20"}});
    }

    QList<int> numbers(const SoldLinesSearch& s) {
        QList<int> out;
        for (const SoldLine& l : soldLines(db(), s))
            out << l.FacNumero;
        return out;
    }
};

TEST_P(SoldLinesListing, OneSaleOfTheDayGroupsItsEqualLinesWithTheirSum) {
    const std::vector<SoldLine> lines = soldLines(db(), {core::saleDay(kDay), 1, std::nullopt});
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].Cantidad, 2);
    EXPECT_EQ(lines[0].PresTipo, QStringLiteral("GRIPALIV TAB"));
    EXPECT_EQ(lines[0].Estado, kNoDescargado);
    EXPECT_EQ(lines[0].TOTAL, money("14"));
    EXPECT_EQ(lines[0].FacHostName, QStringLiteral("CAJA1-4"));
}

TEST_P(SoldLinesListing, ARangeOrTheWholeDayHighestNumberFirst) {
    EXPECT_EQ(numbers({core::saleDay(kDay), 2, 3}), (QList<int>{3, 2}));
    EXPECT_EQ(numbers({core::saleDay(kDay), std::nullopt, std::nullopt}), (QList<int>{3, 2, 1}));
    const std::vector<SoldLine> yesterday =
        soldLines(db(), {core::saleDay(kDay.addDays(-1)), 2, std::nullopt});
    ASSERT_EQ(yesterday.size(), 1u);
    EXPECT_EQ(yesterday[0].FacHostName, QStringLiteral("CAJA1-7"));
}

class InclusionWindow : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        if (IsSkipped())
            return;
        ASSERT_TRUE(db::loadDemoShop(db()));
        form = sales::TFormProdIncluya::open(ctx());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    }
    void TearDown() override {
        delete form.data();
        WindowTest::TearDown();
    }

    template <class W = QLineEdit>
    W* get(const char* name) const {
        return child<W>(form, name);
    }
    void type(const char* box, const QString& text) { typeText(get(box), text); }
    void consult() {
        get<QPushButton>("SBConsultar")->click();
        EXPECT_TRUE(waitForListings(form));
    }
    QAbstractItemModel* grid() const { return get<QTableView>("DBGrid1")->model(); }
    QStringList column(int c) const {
        QStringList out;
        for (int r = 0; r < grid()->rowCount(); ++r)
            out << grid()->index(r, c).data().toString();
        return out;
    }
    QString message() const { return get<QLabel>("MENSAJE")->text(); }

    QPointer<sales::TFormProdIncluya> form;
};

TEST_P(InclusionWindow, TwoIngredientsFindTheCompoundProductInEitherOrder) {
    type("EdNomGen", QStringLiteral("paracetamol+clorfenamina "));
    consult();
    EXPECT_EQ(get("EdNomGen")->text(), QStringLiteral("PARACETAMOL+CLORFENAMINA"));
    ASSERT_GT(grid()->rowCount(), 0);
    for (const QString& name : column(0))
        EXPECT_EQ(name, QStringLiteral("GRIPALIV FORTE"));
    EXPECT_EQ(message(), QStringLiteral("%1 ELEMENTOS ENCONTRADOS").arg(grid()->rowCount()));
}

TEST_P(InclusionWindow, EveryBoxEmptyListsEveryPresentationWithItsCount) {
    consult();
    const int all = db::integer(
        db().scalar(QStringLiteral("SELECT COUNT(*) FROM PRESENTACION WHERE PresStockTotal >= 0")));
    EXPECT_EQ(grid()->rowCount(), all);
    EXPECT_EQ(message(), QStringLiteral("%1 ELEMENTOS ENCONTRADOS").arg(all));
    EXPECT_EQ(grid()->headerData(1, Qt::Horizontal).toString(),
              QStringLiteral("PRESENTACION DE PRODUCTO"));
}

TEST_P(InclusionWindow, ABadBoundOrAStockBoundWithoutComparisonSaysErrorAndKeepsTheResult) {
    type("EdProducto", QStringLiteral("GRIPALIV"));
    consult();
    const int found = grid()->rowCount();
    ASSERT_GT(found, 0);
    const int queries = int(db().statementsRun());
    type("Ed1", QStringLiteral("1.2.3"));
    type("Ed2", QStringLiteral("9"));
    consult();
    EXPECT_EQ(messages.last(), QStringLiteral("error..."));
    EXPECT_EQ(int(db().statementsRun()), queries);
    EXPECT_EQ(grid()->rowCount(), found);

    get<QPushButton>("SBNuevo")->click();
    type("C1", QStringLiteral("5"));
    consult();
    EXPECT_EQ(messages.shown.size(), 2);
    EXPECT_EQ(grid()->rowCount(), found);
    get<QComboBox>("CB1")->setCurrentText(QStringLiteral(">"));
    consult();
    EXPECT_EQ(messages.shown.size(), 2);
    for (int r = 0; r < grid()->rowCount(); ++r) {
        EXPECT_GT(grid()->index(r, 6).data().toInt(), 5);
        EXPECT_EQ(grid()->index(r, 6).data(Qt::BackgroundRole).value<QBrush>().color(),
                  ui::palette::skyBlue);
    }
}

TEST_P(InclusionWindow, TheSalesListingShowsTheChosenSaleOfTheDay) {
    seedSale(db(), 7, clock.today(), QStringLiteral("CAJA1-4"), {{2, 3, "0.50"}});
    seedSale(db(), 8, clock.today(), QStringLiteral("CAJA1-5"), {{2, 1, "0.50"}});
    auto* check = get<QCheckBox>("CheckNumVenta");
    EXPECT_FALSE(get("EdNumVen1")->isEnabled());
    check->click();
    EXPECT_TRUE(get("EdNumVen1")->isEnabled());
    type("EdNumVen1", QStringLiteral("7x"));
    EXPECT_EQ(get("EdNumVen1")->text(), QString());
    type("EdNumVen1", QStringLiteral("7"));
    consult();
    EXPECT_EQ(column(0), QStringList{QStringLiteral("7")});
    EXPECT_EQ(column(4), QStringList{QStringLiteral("1.50")});
    EXPECT_EQ(column(5), QStringList{QStringLiteral("CAJA1-4")});
    EXPECT_EQ(message(), QString());
    get("EdNumVen1")->clear();
    consult();
    EXPECT_EQ(column(0), (QStringList{"8", "7"}));
}

TEST_P(InclusionWindow, TheProductsModeSearchesTheProductsOwnTexts) {
    get<QComboBox>("ComboBox1")->setCurrentText(QStringLiteral("KAIROS"));
    type("EdProducto", QStringLiteral("O'"));
    consult();
    EXPECT_EQ(messages.shown, QStringList());
    EXPECT_EQ(grid()->columnCount(), 3);
    get("EdProducto")->clear();
    type("EdMecanismo", QStringLiteral("HISTAMINA"));
    consult();
    EXPECT_EQ(column(0), QStringList{QStringLiteral("CLORFENAMINA 4MG")});
    EXPECT_EQ(grid()->index(0, 2).data(Qt::BackgroundRole).value<QBrush>().color(),
              ui::palette::skyBlue);
}

TEST_P(InclusionWindow, AFailedSearchSaysErrorOnceAndListsNothing) {
    db().exec(QStringLiteral("DROP TABLE LABORATORIO"));
    consult();
    EXPECT_EQ(messages.shown, QStringList{QStringLiteral("error...")});
    EXPECT_EQ(grid()->rowCount(), 0);
    EXPECT_EQ(message(), QString());
}

}  // namespace

VELCARIS_DB_TEST_SUITE(InclusionProcedures);
VELCARIS_DB_TEST_SUITE(InclusionWindow);
VELCARIS_DB_TEST_SUITE(SoldLinesListing);
