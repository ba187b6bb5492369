#include "stock/StockTest.h"

#include "stock/StockModule.h"

#include <QGroupBox>

using namespace testsupport;
using State = ::stock::TFrmMasStock::State;
using ::stock::TFrmMasStock;

namespace {

class MasStock : public stockwin::StockTest {
protected:
    TFrmMasStock* open(int user = 1) { return openAs<TFrmMasStock>(user, "PMPresMasStock"); }

    // One batch of `units` at cost 10 from SAUCAL.
    void stage(TFrmMasStock* w, int units) {
        typeInto(w, "Pc", QStringLiteral("10"));
        typeInto(w, "Stock", QString::number(units));
        click(w, "Ingreso");
    }
    // Batches of 10 and 5 staged and applied: the tablets go from 5 to 20 units.
    TFrmMasStock* applied() {
        TFrmMasStock* w = open();
        fillDocument(w, "CBTipoDocumento");
        stage(w, 10);
        stage(w, 5);
        click(w, "Averiguar");
        EXPECT_EQ(w->state(), State::Applied);
        return w;
    }
    void sell(int units) {
        db().exec(QStringLiteral("UPDATE PRESENTACION SET PresStockTotal = PresStockTotal - ? "
                                 "WHERE CodPresentacion = ?"),
                  {units, kAmoxilTab});
    }
    void comeBack(QWidget* w) {
        activate(screen->window());
        activate(w);
        settle();
    }
};

// ---- the batch's rules ----

TEST_P(MasStock, TomorrowsExpiryIsAcceptedAndTodaysRefused) {
    TFrmMasStock* w = open();
    ASSERT_NE(w, nullptr);
    fillDocument(w, "CBTipoDocumento");
    stage(w, 10);
    EXPECT_EQ(text(w, "S"), QStringLiteral("10"));
    EXPECT_EQ(text(w, "AVISO"), QStringLiteral("FECHA DE PRESENTACION INGRESADA"));
    messages.clear();
    child<QDateTimeEdit>(w, "DateTimePicker1")->setDateTime(clock.now());
    stage(w, 5);
    EXPECT_EQ(messages.shown, QStringList{"INGRESE FECHA CORRECTA"});
    EXPECT_EQ(text(w, "S"), QStringLiteral("10"));
}

TEST_P(MasStock, SaucalGivesItsTypeAndAnotherSupplierEmptiesItSoTheBatchAsksForIt) {
    TFrmMasStock* w = open();
    supplier(w)->setEditText(QStringLiteral("SAUCAL"));
    EXPECT_EQ(text(w, "CBTipoDocumento"), QStringLiteral("NOTA DE ENVIO"));
    supplier(w)->setEditText(QStringLiteral("DROGUERIA SUR"));
    EXPECT_EQ(text(w, "CBTipoDocumento"), QString());
    typeInto(w, "EdNumDoc", QStringLiteral("F001-9"));
    stage(w, 10);
    EXPECT_EQ(messages.shown, QStringList{"ELEJIR UNA OPCION, PARA EL TIPO DE DOCUMENTO"});
    EXPECT_EQ(text(w, "CBTipoDocumento"), QStringLiteral("TIPO DOCUMENTO"));
    EXPECT_EQ(counter::count(db(), QStringLiteral("KARDEXINGRESO_TEMP")), 0);
}

TEST_P(MasStock, ALowerCaseDocumentNumberEmptiesAtItsFirstLetter) {
    TFrmMasStock* w = open();
    typeInto(w, "EdNumDoc", QStringLiteral("NE-4"));
    EXPECT_EQ(text(w, "EdNumDoc"), QStringLiteral("NE-4"));
    typeInto(w, "EdNumDoc", QStringLiteral("n"));
    EXPECT_EQ(text(w, "EdNumDoc"), QString());
}

TEST_P(MasStock, BatchesOfTenAndFiveShowFifteenAndApplyFifteen) {
    TFrmMasStock* w = applied();
    EXPECT_EQ(text(w, "S"), QStringLiteral("15"));
    EXPECT_EQ(tablets().PresStockTotal, 20);
    EXPECT_EQ(tablets().PresPrecioCosto, counter::soles("10"));
    // 5 units at 0.50 and 15 at 10.
    EXPECT_EQ(text(w, "NPC"), QStringLiteral("7.625"));
    EXPECT_TRUE(child<QGroupBox>(w, "Nuevo")->isVisible());
    EXPECT_FALSE(child<QPushButton>(w, "Averiguar")->isEnabled());
    EXPECT_TRUE(child<QPushButton>(w, "Ingresar")->isEnabled());
    // The new profit and sale price show once Enter confirms the proposed cost.
    EXPECT_FALSE(child<QLineEdit>(w, "NPV")->isVisible());
    pressKey(child<QLineEdit>(w, "NPC"), Qt::Key_Return);
    EXPECT_TRUE(child<QLineEdit>(w, "NPG")->isVisible());
    EXPECT_TRUE(child<QLineEdit>(w, "NPV")->isVisible());
}

TEST_P(MasStock, ApplyingWithNothingStagedOnlySaysSo) {
    TFrmMasStock* w = open();
    typeInto(w, "Pc", QStringLiteral("10"));
    click(w, "Averiguar");
    EXPECT_EQ(text(w, "AVISO"), QStringLiteral("NO SE PERMITEN VALORES EN BLANCO"));
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_EQ(tablets().PresStockTotal, 5);
}

TEST_P(MasStock, AnUnreadableCostIsRefusedWithAMessageAndNothingStaged) {
    TFrmMasStock* w = open();
    fillDocument(w, "CBTipoDocumento");
    typeInto(w, "Pc", QStringLiteral("1O"));
    typeInto(w, "Stock", QStringLiteral("10"));
    click(w, "Ingreso");
    EXPECT_EQ(messages.shown, QStringList{"EL PRECIO DE COSTO NO ES UN NUMERO"});
    EXPECT_EQ(counter::count(db(), QStringLiteral("KARDEXINGRESO_TEMP")), 0);
    EXPECT_EQ(text(w, "S"), QString());
}

TEST_P(MasStock, ACantidadOfZeroIsRefusedAndTheCostStays) {
    TFrmMasStock* w = open();
    typeInto(w, "Pc", QStringLiteral("30"));
    typeInto(w, "Cantidad", QStringLiteral("0"));
    pressKey(child<QLineEdit>(w, "Cantidad"), Qt::Key_Return);
    EXPECT_EQ(messages.shown, QStringList{"LA CANTIDAD NO PUEDE SER 0"});
    EXPECT_EQ(text(w, "Pc"), QStringLiteral("30"));
    typeInto(w, "Cantidad", QStringLiteral("4"));
    pressKey(child<QLineEdit>(w, "Cantidad"), Qt::Key_Return);
    EXPECT_EQ(text(w, "Pc"), QStringLiteral("7.5"));
}

TEST_P(MasStock, ANewCostOfTwelveCommaFiftyPointThreeBecomesTwelvePointFiveOThree) {
    TFrmMasStock* w = applied();
    typeInto(w, "NPC", QStringLiteral("12,50.3"));
    pressKey(child<QLineEdit>(w, "NPC"), Qt::Key_Return);
    EXPECT_EQ(text(w, "NPC"), QStringLiteral("12.503"));
    typeInto(w, "NPC", QStringLiteral("12A"));
    pressKey(child<QLineEdit>(w, "NPC"), Qt::Key_Return);
    EXPECT_EQ(text(w, "NPC"), QString());
}

TEST_P(MasStock, ConfirmingStoresTheNewPricesAndLeavingThenUndoesNothing) {
    TFrmMasStock* w = applied();
    typeInto(w, "NPC", QStringLiteral("7.7"));
    typeInto(w, "NPV", QStringLiteral("9"));
    click(w, "Ingresar");
    EXPECT_EQ(w->state(), State::Confirmed);
    EXPECT_EQ(tablets().PresPrecioCosto, counter::soles("7.7"));
    EXPECT_EQ(tablets().PresVenta, counter::soles("9"));
    click(w, "Salir");
    EXPECT_EQ(shown<TFrmMasStock>(), nullptr);
    EXPECT_EQ(tablets().PresStockTotal, 20);
    EXPECT_EQ(counter::count(db(), QStringLiteral("KARDEXINGRESO")), 2);
}

TEST_P(MasStock, ASalePriceNotAboveTheNewCostIsRefusedAndTheIntakeStaysApplied) {
    TFrmMasStock* w = applied();
    typeInto(w, "NPC", QStringLiteral("9"));
    typeInto(w, "NPV", QStringLiteral("9"));
    click(w, "Ingresar");
    EXPECT_EQ(messages.last(), QStringLiteral("INGRESO ERRONEO\rPRECIO DE COSTO NUNCA\rPUEDE SER "
                                              "MAYOR QUE\rEL PRECIO DE VENTA..."));
    EXPECT_EQ(w->state(), State::Applied);
    EXPECT_EQ(tablets().PresVenta, counter::soles("1.20"));
}

TEST_P(MasStock, ACashierMayStageButTheApplyIsRefusedAndUndoesTheStaging) {
    TFrmMasStock* w = open(2);
    ASSERT_NE(w, nullptr);
    fillDocument(w, "CBTipoDocumento");
    stage(w, 10);
    click(w, "Averiguar");
    EXPECT_EQ(messages.last(),
              QStringLiteral(" NO TIENES LA AUTORIZACION PARA\rREALIZAR ESTA OPERACION"));
    EXPECT_EQ(shown<TFrmMasStock>(), nullptr);
    EXPECT_EQ(counter::count(db(), QStringLiteral("KARDEXINGRESO_TEMP")), 0);
    EXPECT_EQ(tablets().PresStockTotal, 5);
}

// ---- activation ----

TEST_P(MasStock, ComingBackWhileStagedOrAppliedKeepsTheBatchesTotalAndState) {
    TFrmMasStock* w = open();
    fillDocument(w, "CBTipoDocumento");
    stage(w, 10);
    comeBack(w);
    EXPECT_EQ(w->state(), State::Staged);
    EXPECT_EQ(text(w, "S"), QStringLiteral("10"));
    EXPECT_EQ(text(w, "Pc"), QStringLiteral("10"));
    stage(w, 5);
    click(w, "Averiguar");
    comeBack(w);
    EXPECT_EQ(w->state(), State::Applied);
    EXPECT_EQ(text(w, "S"), QStringLiteral("15"));
    click(w, "Salir");
    EXPECT_EQ(tablets().PresStockTotal, 5);
}

TEST_P(MasStock, WithoutAnIntakeTheWindowShowsThePresentationBeforeAndNoProfitWithoutCost) {
    db().exec(QStringLiteral("UPDATE PRESENTACION SET PresPrecioCosto = 0 WHERE "
                             "CodPresentacion = ?"),
              {kAmoxilTab});
    dm().reopenSessionDatasets();
    TFrmMasStock* w = open();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(text(w, "antes").endsWith(QStringLiteral(" Ganancia        : %")));
    EXPECT_TRUE(text(w, "antes").contains(QStringLiteral(" STOCK ACTUAL    : 5 Unidades.")));
}

// ---- leaving unconfirmed ----

TEST_P(MasStock, LeavingAfterMovingToAnotherPresentationRestoresOnlyTheOpenedOne) {
    TFrmMasStock* w = applied();
    dm().setCurrentPresentationIndex(1);
    click(w, "Salir");
    EXPECT_EQ(shown<TFrmMasStock>(), nullptr);
    EXPECT_EQ(tablets().PresStockTotal, 5);
    EXPECT_EQ(tablets().PresPrecioCosto, counter::soles("0.50"));
    const db::proc::PresentacionStock susp = *db::proc::presentacionStock(db(), kAmoxilSusp);
    EXPECT_EQ(susp.PresStockTotal, 0);
    EXPECT_EQ(susp.PresPrecioCosto, counter::soles("4"));
    EXPECT_EQ(counter::count(db(), QStringLiteral("KARDEXINGRESO")), 0);
}

TEST_P(MasStock, ASaleDischargedBeforeLeavingStaysDischarged) {
    TFrmMasStock* w = applied();
    sell(3);
    click(w, "Salir");
    EXPECT_EQ(tablets().PresStockTotal, 2);
}

TEST_P(MasStock, WithTheIntakesUnitsSoldLeavingIsRefusedAndTheIntakeStaysToBeConfirmed) {
    TFrmMasStock* w = applied();
    sell(6);
    click(w, "Salir");
    EXPECT_EQ(messages.last(), QStringLiteral("NO SE PUEDE ANULAR: YA SE VENDIO EL STOCK"));
    EXPECT_EQ(shown<TFrmMasStock>(), w);
    EXPECT_EQ(w->state(), State::Applied);
    EXPECT_EQ(tablets().PresStockTotal, 14);
    EXPECT_EQ(counter::count(db(), QStringLiteral("KARDEXINGRESO")), 2);
}

TEST_P(MasStock, AnIntakeLeftAppliedWhenTheProgramEndsIsUndoneAtItsNextStart) {
    applied();
    principal.reset();  // the program's exit: its windows go without their close handlers
    settle();
    EXPECT_EQ(tablets().PresStockTotal, 20);
    ::stock::removeLeftIntakes(ctx());
    EXPECT_EQ(tablets().PresStockTotal, 5);
    EXPECT_EQ(tablets().PresPrecioCosto, counter::soles("0.50"));
    EXPECT_EQ(counter::count(db(), QStringLiteral("KARDEXINGRESO")), 0);
}

// ---- openers ----

TEST_P(MasStock, TheToolbarRefusesACashierNamingTheProductAndTheMenuItemLetsHerIn) {
    logInAs(2);
    standOnTablets();
    run("SBMasStock");
    EXPECT_EQ(shown<TFrmMasStock>(), nullptr);
    ASSERT_FALSE(messages.shown.isEmpty());
    EXPECT_TRUE(messages.last().contains(QStringLiteral("AMOXIL")));
    run("PMPresMasStock");
    EXPECT_NE(shown<TFrmMasStock>(), nullptr);
}

VELCARIS_DB_TEST_SUITE(MasStock);

}  // namespace
