#include "sales/CounterTest.h"

#include "ui/Palette.h"

#include <QApplication>
#include <QDateTimeEdit>
#include <QHeaderView>
#include <QLabel>

using namespace testsupport;
using namespace testsupport::counter;
using sales::SalesCounter;

namespace {

class SearchScreen : public CounterTest {
protected:
    QString hostOf(int sale) {
        return db::text(db().scalar(
            QStringLiteral("SELECT FacHostName FROM FACTURA WHERE FacNumero = ?"), {sale}));
    }
    QVariant nameCell(int row, int role) {
        return child<QTableView>(screen, "DBGrid1")
            ->model()
            ->data(child<QTableView>(screen, "DBGrid1")->model()->index(row, 2), role);
    }
    int rowNamed(const QString& name) {
        const auto& rows = dm().products();
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (rows[i].ProdNomComercial == name)
                return int(i);
        return -1;
    }
};

TEST_P(SearchScreen, F4TwiceBeforeAnyLineKeepsTheNumberAndRetagsIt) {
    openCounter();
    f4();
    EXPECT_EQ(child<QLabel>(screen, "V")->text(), QStringLiteral("1"));
    EXPECT_EQ(session().saleNumber(), 1);
    EXPECT_FALSE(session().newSale());
    EXPECT_EQ(hostOf(1), QStringLiteral("CAJA01-4"));
    EXPECT_EQ(QApplication::focusWidget(), child<QLineEdit>(screen, "EdNombre"));

    platform.name = QStringLiteral("  MOSTRADOR2  ");
    f4();
    EXPECT_EQ(child<QLabel>(screen, "V")->text(), QStringLiteral("1"));
    EXPECT_EQ(count(db(), QStringLiteral("FACTURA")), 1);
    EXPECT_EQ(hostOf(1), QStringLiteral("MOSTRADOR2-4"));
    EXPECT_EQ(db::integer(db().scalar(QStringLiteral("SELECT UsuCod FROM FACTURA"))), 1);
}

TEST_P(SearchScreen, OneLineThenF4GivesANewNumberAndTheFirstSaleStaysPending) {
    openCounter();
    f4();
    choose(QStringLiteral("AMOXIL"), kAmoxilTab);
    ASSERT_NE(f1(), nullptr);
    enterQuantity(QStringLiteral("1"));
    ASSERT_EQ(linesOf(1), 1);
    EXPECT_TRUE(session().newSale());

    f4();
    EXPECT_EQ(child<QLabel>(screen, "V")->text(), QStringLiteral("2"));
    EXPECT_EQ(saleState(1), QStringLiteral("NO DESCARGADO"));
    EXPECT_EQ(linesOf(1), 1);
    EXPECT_EQ(linesOf(2), 0);
}

TEST_P(SearchScreen, TheSaleLabelBackAtVWithTheFlagClearReservesANewNumber) {
    openCounter();
    f4();
    session().clearCurrentSale();  // the quotation was deleted before any line
    ASSERT_FALSE(session().newSale());
    f4();
    EXPECT_EQ(child<QLabel>(screen, "V")->text(), QStringLiteral("2"));
    EXPECT_EQ(count(db(), QStringLiteral("FACTURA")), 2);
}

TEST_P(SearchScreen, F1RefusesWithoutASaleAndWithoutStock) {
    openCounter();
    choose(QStringLiteral("AMOXIL"), kAmoxilTab);
    child<QTableView>(screen, "cg")->setFocus();
    f1();
    EXPECT_EQ(messages.last(), QStringLiteral("DEBE CREAR UNA NUEVA VENTA, Pulse Su Tecla"));
    EXPECT_EQ(quotation(), nullptr);
    EXPECT_EQ(QApplication::focusWidget(), child<QLineEdit>(screen, "EdNombre"));
    EXPECT_EQ(child<QTableView>(screen, "cg")->palette().color(QPalette::Base), ui::palette::white);

    f4();
    choose(QStringLiteral("AMOXIL"), kAmoxilSusp);
    f1();
    EXPECT_EQ(messages.last(),
              QStringLiteral("NO HAY STOCK DE: AMOXIL SUSP 250\rANOTAR EN CUADERNO DE FALTOS..."));
    EXPECT_EQ(quotation(), nullptr);
}

TEST_P(SearchScreen, TypingMovesToTheFirstNameStartingWithItAndPaintsEveryNameContainingIt) {
    openCounter();
    search(QStringLiteral("AMO"));
    ASSERT_NE(dm().currentProduct(), nullptr);
    EXPECT_EQ(dm().currentProduct()->ProdNomComercial, QStringLiteral("AMOBAN"));
    EXPECT_EQ(child<QTableView>(screen, "DBGrid1")->currentIndex().row(),
              dm().currentProductIndex());
    EXPECT_EQ(child<QLabel>(screen, "DBText1")->text(), QStringLiteral("AMOBAN"));

    const QColor red = ui::palette::red;
    for (const char* name : {"AMOBAN", "AMOXIL", "CLAMOXIL"})
        EXPECT_EQ(nameCell(rowNamed(QString::fromLatin1(name)), Qt::ForegroundRole).value<QColor>(),
                  red)
            << name;
    for (const char* name : {"AMBROXOL", "PANADOL"})
        EXPECT_NE(nameCell(rowNamed(QString::fromLatin1(name)), Qt::ForegroundRole).value<QColor>(),
                  red)
            << name;

    search(QStringLiteral("AMOX"));
    EXPECT_EQ(dm().currentProduct()->ProdNomComercial, QStringLiteral("AMOXIL"));
    EXPECT_EQ(child<QLabel>(screen, "DBText2")->text(), QStringLiteral("GENFAR"));
    EXPECT_EQ(child<QLabel>(screen, "DBText8")->text(),
              QStringLiteral("5"));  // its first presentation's stock

    child<QLineEdit>(screen, "EdNombre")->clear();  // an empty search paints nothing
    EXPECT_NE(nameCell(rowNamed(QStringLiteral("AMOXIL")), Qt::ForegroundRole).value<QColor>(),
              red);
}

TEST_P(SearchScreen, TheGridsShowTheirColumnsAndTheInactiveMark) {
    openCounter();
    const QAbstractItemModel* products = child<QTableView>(screen, "DBGrid1")->model();
    QStringList titles;
    for (int c = 0; c < products->columnCount(); ++c)
        titles << products->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(titles, (QStringList{"CODIGO", ".", "NOMBRE COMERCIAL", "MARCA", "DESCRIPCION"}));
    const int amoban = rowNamed(QStringLiteral("AMOBAN"));
    EXPECT_EQ(products->index(amoban, 1).data().toString(), QStringLiteral("INACTIVO"));
    EXPECT_EQ(products->index(rowNamed(QStringLiteral("AMOXIL")), 1).data().toString(), QString());

    choose(QStringLiteral("AMOXIL"), kAmoxilTab);
    const QAbstractItemModel* panels = child<QTableView>(screen, "cg")->model();
    ASSERT_EQ(panels->rowCount(), 2);
    QStringList first;
    for (int c = 0; c < panels->columnCount(); ++c)
        first << panels->index(0, c).data().toString().trimmed();
    EXPECT_EQ(first, (QStringList{"140.00", "", "AMOXIL 500 MG TAB", "PI:", "0.50", "PV:", "1.20",
                                  "0", "STOCK:", "5"}));
    EXPECT_EQ(panels->index(1, 1).data().toString(), QStringLiteral("*"));  // continued, no stock
    EXPECT_EQ(child<QTableView>(screen, "cg")->verticalHeader()->defaultSectionSize(), 24);
}

TEST_P(SearchScreen, CostFiguresShowOnlyWhenAsked) {
    openCounter();
    session().setCostFiguresVisible(false);
    for (const int column : {0, 3, 4})
        EXPECT_TRUE(child<QTableView>(screen, "cg")->isColumnHidden(column)) << column;
    EXPECT_FALSE(child<QTableView>(screen, "cg")->isColumnHidden(6));
    session().setCostFiguresVisible(true);
    EXPECT_FALSE(child<QTableView>(screen, "cg")->isColumnHidden(4));
}

TEST_P(SearchScreen, ActivationMovesTheSaleDayToTodayAndWithdrawsTheDiscount) {
    openCounter();
    QWidget elsewhere;
    activate(&elsewhere);
    clock.set(QDateTime(QDate(2026, 3, 3), QTime(8, 0)));
    session().setDiscountAllowed(true);
    activate(screen->window());
    EXPECT_FALSE(session().discountAllowed());
    EXPECT_EQ(session().saleDay(), core::saleDay(QDate(2026, 3, 3)));
}

TEST_P(SearchScreen, KeysMoveTheFocusAndPaintAsTheSellerExpects) {
    openCounter();
    search(QStringLiteral("PANA"));
    pressKey(child<QLineEdit>(screen, "EdNombre"), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), child<QTableView>(screen, "DBGrid1"));
    EXPECT_EQ(child<QLineEdit>(screen, "EdNombre")->palette().color(QPalette::Base),
              ui::palette::white);

    pressKey(child<QTableView>(screen, "DBGrid1"), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), child<QTableView>(screen, "cg"));
    EXPECT_EQ(child<QTableView>(screen, "cg")->palette().color(QPalette::Base),
              ui::palette::silver);
    EXPECT_EQ(child<QTableView>(screen, "cg")->palette().color(QPalette::Highlight),
              ui::palette::red);

    pressKey(child<QTableView>(screen, "cg"), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), child<QLineEdit>(screen, "EdNombre"));
    EXPECT_EQ(child<QLineEdit>(screen, "EdNombre")->palette().color(QPalette::Base),
              ui::palette::red);
    EXPECT_EQ(child<QTableView>(screen, "cg")->palette().color(QPalette::Base), ui::palette::white);
    EXPECT_EQ(child<QLineEdit>(screen, "EdNombre")->text(), QStringLiteral("PANA"));

    pressKey(child<QTableView>(screen, "DBGrid1"), Qt::Key_Escape);
    EXPECT_EQ(child<QLineEdit>(screen, "EdNombre")->text(), QString());
    EXPECT_EQ(QApplication::focusWidget(), child<QLineEdit>(screen, "EdNombre"));

    search(QStringLiteral("PANA"));
    child<QLabel>(screen, "DBImage1")->setFocus();
    pressKey(child<QLabel>(screen, "DBImage1"), Qt::Key_Escape);
    EXPECT_EQ(QApplication::focusWidget(), child<QLineEdit>(screen, "EdNombre"));
    EXPECT_EQ(child<QLineEdit>(screen, "EdNombre")->text(), QStringLiteral("PANA"));
}

TEST_P(SearchScreen, TheCommandsOfOtherWindowsRunOnlyOnceWired) {
    openCounter();
    int checkouts = 0;
    int quick = 0;
    pressKey(child<QLineEdit>(screen, "EdNombre"), Qt::Key_F3);  // not wired: nothing happens
    EXPECT_EQ(platform.trims, 1);
    salesCounter().wire(SalesCounter::Command::Checkout, [&] { ++checkouts; });
    salesCounter().wire(SalesCounter::Command::QuickCheckout, [&] { ++quick; });
    pressKey(child<QTableView>(screen, "DBGrid1"), Qt::Key_F3);
    pressKey(child<QTableView>(screen, "cg"), Qt::Key_F9);
    EXPECT_EQ(checkouts, 1);
    EXPECT_EQ(quick, 1);

    dm().closeSessionDatasets();  // F3 needs a session, F9 does not
    pressKey(child<QLineEdit>(screen, "EdNombre"), Qt::Key_F3);
    pressKey(child<QLabel>(screen, "DBImage1"), Qt::Key_F9);
    EXPECT_EQ(checkouts, 1);
    EXPECT_EQ(quick, 2);
    EXPECT_EQ(platform.trims, 3);
}

TEST_P(SearchScreen, ClosingEmptiesTheUserLabel) {
    openCounter();
    session().setUserCaption(QStringLiteral("USUARIO: ADMIN"));
    ASSERT_EQ(principal->userLabel(), QStringLiteral("USUARIO: ADMIN"));
    screen->close();
    EXPECT_EQ(principal->userLabel(), QString());
    EXPECT_TRUE(QTest::qWaitFor([&] { return screen.isNull(); }));
}

TEST(WorkstationTag, IsTheTrimmedComputerNameCutToFifteenAndTheKey) {
    EXPECT_EQ(sales::TFormBusqueda::workstationTag(QStringLiteral(" CAJA01 ")),
              QStringLiteral("CAJA01-4"));
    EXPECT_EQ(sales::TFormBusqueda::workstationTag(QStringLiteral("FARMACIA-PRINCIPAL-01")),
              QStringLiteral("FARMACIA-PRINCI-4"));
}

TEST_P(SearchScreen, ANameNobodyHasLeavesTheCursorWhereItWas) {
    openCounter();
    search(QStringLiteral("PANA"));
    const int panadol = rowNamed(QStringLiteral("PANADOL"));
    ASSERT_EQ(dm().currentProductIndex(), panadol);
    typeText(child<QLineEdit>(screen, "EdNombre"), QStringLiteral("ZZZ"));  // "PANAZZZ"
    EXPECT_EQ(dm().currentProductIndex(), panadol);
    EXPECT_EQ(child<QTableView>(screen, "DBGrid1")->currentIndex().row(), panadol);
}

TEST_P(SearchScreen, AnotherWorkstationsDischargeShowsOnceTheCursorRests) {
    openCounter();
    choose(QStringLiteral("PANADOL"), kPanadol);
    QLabel* stock = child<QLabel>(screen, "DBText8");
    ASSERT_EQ(stock->text(), QStringLiteral("40"));
    db().exec(
        QStringLiteral("UPDATE PRESENTACION SET PresStockTotal = 37 WHERE CodPresentacion = ?"),
        {kPanadol});
    EXPECT_EQ(stock->text(), QStringLiteral("40"));  // typing itself runs no query
    EXPECT_TRUE(QTest::qWaitFor([stock] { return stock->text() == QLatin1String("37"); }, 3000));
}

TEST_P(SearchScreen, F1ReadsTheStockAgainBeforeItsTest) {
    openCounter();
    f4();
    choose(QStringLiteral("AMOXIL"), kAmoxilTab);
    db().exec(
        QStringLiteral("UPDATE PRESENTACION SET PresStockTotal = 0 WHERE CodPresentacion = ?"),
        {kAmoxilTab});
    EXPECT_EQ(f1(), nullptr);
    EXPECT_EQ(
        messages.last(),
        QStringLiteral("NO HAY STOCK DE: AMOXIL 500 MG TAB\rANOTAR EN CUADERNO DE FALTOS..."));
}

}  // namespace

VELCARIS_DB_TEST_SUITE(SearchScreen);
