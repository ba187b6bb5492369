#include "sales/CounterTest.h"

#include "core/Format.h"
#include "shell/UnitLoginPassword.h"
#include "ui/Palette.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

using namespace testsupport;
using namespace testsupport::counter;
using sales::TFormCotizacion;

namespace {

const QString kStockAdding =
    QStringLiteral("EL VALOR INGRESADO SOBREPASA EL STOCK TOTAL\r            EN LA FARMACIA...");
const QString kStockPuttingBack =
    QStringLiteral("EL VALOR INGRESADO SOBREPASA EL STOCK TOTAL\rEN LA FARMACIA...");
const QString kBelowCost = QStringLiteral("DESCUENTO CASI POR DEBAJO DEL PRECIO DE COSTO");

// A line as the quotation grid lists it.
struct Line {
    int cod;
    int cantidad;
    QString importe;
    bool operator==(const Line&) const = default;
};

class Quotation : public CounterTest {
protected:
    // A sale reserved and the quotation window open on the presentation.
    TFormCotizacion* openOn(int codPresentacion,
                            const QString& product = QStringLiteral("AMOXIL")) {
        if (child<QLabel>(screen, "V")->text() == QLatin1String("V"))
            f4();
        choose(product, codPresentacion);
        return f1();
    }
    void trigger(const char* actionName) {
        auto* a = quotation()->findChild<QAction*>(QLatin1String(actionName));
        EXPECT_NE(a, nullptr) << actionName;
        if (a)
            a->trigger();
    }
    void selectLine(int row) { child<QTableView>(quotation(), "DBGrid1")->selectRow(row); }
    // The re-authentication window the quotation showed, answered with a login and password.
    void reauthenticate(const QString& login, const QString& password) {
        auto* auth = qobject_cast<shell::TFormLoginPassword*>(salesCounter().discountAuth);
        ASSERT_NE(auth, nullptr);
        ASSERT_TRUE(QTest::qWaitFor([auth] { return QApplication::activeWindow() == auth; }));
        child<QComboBox>(auth, "CBLogin")->setEditText(login);
        child<QLineEdit>(auth, "EdPassword")->clear();
        typeText(child<QLineEdit>(auth, "EdPassword"), password);
        pressKey(child<QLineEdit>(auth, "EdPassword"), Qt::Key_Return);
        activate(quotation());  // the window manager gives the activation back
    }
    std::vector<Line> shownLines() {
        std::vector<Line> out;
        for (const auto& l : quotation()->lines())
            out.push_back({l.CodPresentacion, l.Cantidad, core::fmt::shortest(l.Importe)});
        return out;
    }
    int discountRows() { return count(db(), QStringLiteral("DESCUENTO")); }
};

TEST_P(Quotation, OpensWithThePresentationAtItsListPriceLocked) {
    openCounter();
    TFormCotizacion* q = openOn(kAmoxilTab);
    ASSERT_NE(q, nullptr);
    EXPECT_EQ(q->windowTitle(), QStringLiteral("COTIZACION DE PRODUCTOS"));
    EXPECT_EQ(q->size(), QSize(858, 608));
    EXPECT_EQ(child<QLineEdit>(q, "EdPres")->text(), QStringLiteral("AMOXIL 500 MG TAB"));
    EXPECT_EQ(child<QLineEdit>(q, "EdPv")->text(), QStringLiteral("1.20"));
    EXPECT_FALSE(child<QLineEdit>(q, "EdPv")->isEnabled());
    EXPECT_FALSE(child<QLineEdit>(q, "EdPres")->isEnabled());
    EXPECT_EQ(child<QLabel>(q, "CLIENTE")->text(), QStringLiteral("CLIENTE Nº: 1"));
    EXPECT_EQ(child<QLabel>(q, "TOTAL")->text(), QStringLiteral("0"));
    EXPECT_EQ(q->lineEditMode(), 0);
    EXPECT_EQ(QApplication::focusWidget(), child<QLineEdit>(q, "EdCan"));
}

TEST_P(Quotation, ASaleThatWentWithoutStockIsNotDischargedToTheSeller) {
    openCounter();
    openOn(kAmoxilTab);
    enterQuantity(QStringLiteral("1"));
    setLineState(db(), 1, 1, QStringLiteral("SIN STOCK"));  // the cashier found no stock
    setSaleState(db(), 1, QStringLiteral("SIN STOCK"));
    messages.clear();
    enterQuantity(QStringLiteral("2"));
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.last().toStdString();
    EXPECT_EQ(linesOf(1), 2);
    EXPECT_EQ(saleState(1), QStringLiteral("NO DESCARGADO"));
    EXPECT_TRUE(quotation()->isVisible());
    EXPECT_EQ(child<QLabel>(screen, "V")->text(), QStringLiteral("1"));
}

TEST_P(Quotation, TheStockCheckCountsTheUnitsAlreadyOnTheSale) {
    openCounter();
    openOn(kAmoxilTab);
    enterQuantity(QStringLiteral("3"));
    ASSERT_EQ(linesOf(1), 1);
    EXPECT_EQ(child<QLabel>(quotation(), "TOTAL")->text(), QStringLiteral("3.6"));
    EXPECT_EQ(child<QLabel>(quotation(), "DETALLE")->text(),
              QStringLiteral("ITEM 1: 3 AMOXIL 500 MG TAB"));

    enterQuantity(QStringLiteral("3"));  // 3 + 3 > 5
    EXPECT_EQ(messages.last(), kStockAdding);
    EXPECT_EQ(linesOf(1), 1);
    EXPECT_EQ(child<QLineEdit>(quotation(), "EdCan")->text(), QString());
    EXPECT_EQ(QApplication::focusWidget(), child<QLineEdit>(quotation(), "EdCan"));

    enterQuantity(QStringLiteral("2"));
    EXPECT_EQ(linesOf(1), 2);
    EXPECT_EQ(child<QLabel>(quotation(), "TOTAL")->text(), QStringLiteral("6"));
    EXPECT_EQ(salesCounter().lastSaleTotal, soles("6"));
    EXPECT_EQ(QApplication::focusWidget(), child<QTableView>(quotation(), "DBGrid1"));
}

TEST_P(Quotation, AnEmptyZeroOrOversizedQuantityIsNotRecorded) {
    openCounter();
    TFormCotizacion* q = openOn(kAmoxilTab);
    pressKey(child<QLineEdit>(q, "EdCan"), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), child<QTableView>(q, "DBGrid1"));
    enterQuantity(QStringLiteral("0"));
    EXPECT_EQ(messages.last(), QStringLiteral("CANTIDAD NO ADMISIBLE"));
    enterQuantity(QStringLiteral("99999999999"));
    EXPECT_EQ(messages.last(), QStringLiteral("ERROR EN EL INGRESO\rO ERROR EN B.D..."));
    typeText(child<QLineEdit>(q, "EdCan"), QStringLiteral("2,"));  // the filter empties the box
    EXPECT_EQ(child<QLineEdit>(q, "EdCan")->text(), QString());
    EXPECT_EQ(linesOf(1), 0);
}

TEST_P(Quotation, ADischargedSaleStopsTheSellerAndFreesTheSaleLabel) {
    openCounter();
    openOn(kAmoxilTab);
    enterQuantity(QStringLiteral("1"));
    setSaleState(db(), 1, QStringLiteral("DESCARGADO"));  // the cashier discharged it

    enterQuantity(QStringLiteral("1"));
    EXPECT_EQ(messages.last(), QStringLiteral("VENTA Nº1 HA SIDO DESCARGADA"));
    EXPECT_EQ(child<QLabel>(screen, "V")->text(), QStringLiteral("V"));
    EXPECT_FALSE(quotation()->isVisible());
    EXPECT_EQ(linesOf(1), 1);

    f4();
    EXPECT_EQ(child<QLabel>(screen, "V")->text(), QStringLiteral("2"));
}

TEST_P(Quotation, EditarTakesTheLineOutAndEscLeavesItDeleted) {
    openCounter();
    TFormCotizacion* q = openOn(kAmoxilTab);
    enterQuantity(QStringLiteral("2"));
    selectLine(0);
    trigger("Editar1");
    EXPECT_EQ(q->lineEditMode(), 1);
    EXPECT_EQ(child<QLineEdit>(q, "EdCan")->text(), QStringLiteral("2"));
    EXPECT_EQ(child<QLineEdit>(q, "EdPv")->text(), QStringLiteral("1.2"));
    EXPECT_EQ(child<QLabel>(q, "DETALLE")->text(), QStringLiteral("ITEM 1 ELIMINADO"));
    EXPECT_EQ(linesOf(1), 0);

    pressKey(child<QLineEdit>(q, "EdCan"), Qt::Key_Escape);
    EXPECT_FALSE(q->isVisible());
    EXPECT_EQ(linesOf(1), 0);
    EXPECT_TRUE(QTest::qWaitFor(
        [this] { return QApplication::focusWidget() == child<QLineEdit>(screen, "EdNombre"); }));
}

TEST_P(Quotation, APutBackLineTakesTheNewQuantityAndReturnsToAdding) {
    openCounter();
    TFormCotizacion* q = openOn(kAmoxilTab);
    enterQuantity(QStringLiteral("2"));
    choose(QStringLiteral("PANADOL"), kPanadol);  // the search screen moved meanwhile
    selectLine(0);
    trigger("Editar1");
    enterQuantity(QStringLiteral("6"));  // beyond the stock of 5
    EXPECT_EQ(messages.last(), kStockPuttingBack);
    enterQuantity(QStringLiteral("4"));
    EXPECT_EQ(shownLines(), (std::vector<Line>{{kAmoxilTab, 4, QStringLiteral("1.2")}}));
    EXPECT_EQ(q->lineEditMode(), 0);
    EXPECT_EQ(child<QLineEdit>(q, "EdPres")->text(), QStringLiteral("PANADOL 500 MG"));
    EXPECT_EQ(child<QLineEdit>(q, "EdPv")->text(), QStringLiteral("3.5"));
}

TEST_P(Quotation, BorrarDeletesTheLineAndShowsWhatRemains) {
    openCounter();
    TFormCotizacion* q = openOn(kAmoxilTab);
    enterQuantity(QStringLiteral("1"));
    enterQuantity(QStringLiteral("2"));
    selectLine(0);
    trigger("Borrar1");
    EXPECT_EQ(shownLines(), (std::vector<Line>{{kAmoxilTab, 2, QStringLiteral("1.2")}}));
    EXPECT_EQ(child<QLabel>(q, "TOTAL")->text(), QStringLiteral("2.4"));
    EXPECT_EQ(QApplication::focusWidget(), child<QLineEdit>(q, "EdCan"));

    setLineState(db(), 1, 2, QStringLiteral("DESCARGADO"));
    pressKey(child<QLineEdit>(q, "EdCan"), Qt::Key_Escape);
    openOn(kAmoxilTab);  // reopened, it lists the line as discharged
    for (const char* command : {"Borrar1", "Editar1"}) {
        selectLine(0);
        trigger(command);
        EXPECT_EQ(messages.last(), QStringLiteral("VENTA YA HA SIDO DESCARGADA...")) << command;
        EXPECT_EQ(child<QLabel>(quotation(), "DETALLE")->text(),
                  QStringLiteral("VENTA YA HA SIDO DESCARGADA..."));
    }
    EXPECT_EQ(linesOf(1), 1);
}

TEST_P(Quotation, ADiscountedPriceBelowCostIsReplacedWhenAddingAndAcceptedWhenPuttingBack) {
    openCounter();
    TFormCotizacion* q = openOn(kAmoxilTab);
    trigger("Descuento2");
    reauthenticate(QStringLiteral("ADMIN"), QStringLiteral("CLAVE1"));
    ASSERT_TRUE(session().discountAllowed());
    ASSERT_TRUE(child<QLineEdit>(q, "EdPv")->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), child<QLineEdit>(q, "EdPv"));

    child<QLineEdit>(q, "EdPv")->clear();
    typeText(child<QLineEdit>(q, "EdPv"), QStringLiteral("0.40"));
    pressKey(child<QLineEdit>(q, "EdPv"), Qt::Key_Return);
    EXPECT_EQ(messages.last(), kBelowCost);
    EXPECT_EQ(child<QLineEdit>(q, "EdPv")->text(), QStringLiteral("1.2"));
    EXPECT_FALSE(child<QLineEdit>(q, "EdPv")->isEnabled());
    enterQuantity(QStringLiteral("1"));
    EXPECT_EQ(discountRows(), 1);  // recorded at the list price, still as a discount
    EXPECT_FALSE(session().discountAllowed());

    selectLine(0);
    trigger("Descuento1");
    reauthenticate(QStringLiteral("ADMIN"), QStringLiteral("CLAVE1"));
    child<QLineEdit>(q, "EdPv")->clear();
    typeText(child<QLineEdit>(q, "EdPv"), QStringLiteral("0.40"));
    pressKey(child<QLineEdit>(q, "EdPv"), Qt::Key_Return);
    EXPECT_EQ(child<QLineEdit>(q, "EdPv")->text(), QStringLiteral("0.40"));
    enterQuantity(QStringLiteral("1"));
    EXPECT_EQ(shownLines(), (std::vector<Line>{{kAmoxilTab, 1, QStringLiteral("0.4")}}));
    EXPECT_EQ(db::text(db().scalar(QStringLiteral("SELECT DesNombre FROM DESCUENTO"))),
              QStringLiteral("ADMIN"));
    EXPECT_EQ(db::money(db().scalar(QStringLiteral("SELECT DesImporte FROM DESCUENTO"))),
              soles("0.40"));
}

TEST_P(Quotation, ANonAdministratorGetsNoDiscountPriceWithoutMaximos) {
    openCounter(2, "CLAVE2");  // a cashier
    TFormCotizacion* q = openOn(kAmoxilTab);
    trigger("Descuento2");
    reauthenticate(QStringLiteral("ADMIN"), QStringLiteral("CLAVE1"));
    EXPECT_EQ(messages.last(),
              QStringLiteral("USUARIO NO AUTORIZADO\rTU INTENTO SE HA GRABADO\rADMIN"));
    EXPECT_FALSE(session().discountAllowed());
    EXPECT_FALSE(child<QLineEdit>(q, "EdPv")->isEnabled());

    pressKey(child<QLineEdit>(q, "EdCan"), Qt::Key_F9);  // shows the same window again
    reauthenticate(QStringLiteral("MAXIMOS"), QStringLiteral("CLAVE3"));
    EXPECT_TRUE(session().discountAllowed());
    EXPECT_TRUE(child<QLineEdit>(q, "EdPv")->isEnabled());
}

TEST_P(Quotation, BorrarCotizacionRemovesThePendingLinesAndFreesTheSaleLabel) {
    openCounter();
    TFormCotizacion* q = openOn(kAmoxilTab);
    enterQuantity(QStringLiteral("1"));
    enterQuantity(QStringLiteral("1"));
    child<QPushButton>(q, "BitBtn1")->click();
    EXPECT_EQ(messages.last(), QStringLiteral("COTIZACION Nº 1 ELIMINADA: 2 ITEMS"));
    EXPECT_EQ(child<QLabel>(screen, "V")->text(), QStringLiteral("V"));
    EXPECT_FALSE(q->isVisible());
    EXPECT_EQ(linesOf(1), 0);
}

TEST_P(Quotation, TheLastSaleTotalCarriesOverAndCalcularShowsTheLastWindowAgain) {
    openCounter();
    openOn(kAmoxilTab);
    enterQuantity(QStringLiteral("2"));
    pressKey(child<QLineEdit>(quotation(), "EdCan"), Qt::Key_Escape);
    f4();  // a new sale: the next window first shows the last total
    TFormCotizacion* q = openOn(kPanadol, QStringLiteral("PANADOL"));
    EXPECT_EQ(child<QLabel>(q, "CLIENTE")->text(), QStringLiteral("CLIENTE Nº: 2"));
    EXPECT_EQ(child<QLabel>(q, "TOTAL")->text(), QStringLiteral("2.4"));

    pressKey(child<QLineEdit>(q, "EdCan"), Qt::Key_Escape);
    choose(QStringLiteral("AMOXIL"), kAmoxilTab);
    ASSERT_TRUE(TFormCotizacion::reshowLast(ctx()));
    EXPECT_TRUE(isActive(q));
    EXPECT_EQ(quotation(), q);
    EXPECT_EQ(child<QLineEdit>(q, "EdPres")->text(), QStringLiteral("AMOXIL 500 MG TAB"));
    EXPECT_EQ(child<QLineEdit>(q, "EdPv")->text(), QStringLiteral("1.20"));
}

TEST_P(Quotation, CalcularBeforeAnyQuotationDoesNothing) {
    openCounter();
    EXPECT_FALSE(TFormCotizacion::reshowLast(ctx()));
}

}  // namespace

VELCARIS_DB_TEST_SUITE(Quotation);
