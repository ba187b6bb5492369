#include "sales/CounterTest.h"
#include "support/CheckoutSeed.h"

#include "db/procedures/StockAdjust.h"
#include "sales/SalesModule.h"
#include "sales/StockAdjuster.h"
#include "ui/Palette.h"

#include <QCheckBox>
#include <QLabel>
#include <QMenu>

namespace {

using namespace testsupport;
using namespace testsupport::counter;

class StockAdjusterWindow : public CounterTest {
protected:
    void SetUp() override {
        CounterTest::SetUp();
        if (IsSkipped())
            return;
        db().exec(QStringLiteral("UPDATE USUARIO SET UsuNombres = 'JUAN' WHERE UsuCod = 1"));
        db().exec(QStringLiteral("UPDATE USUARIO SET UsuNombres = 'ROSA' WHERE UsuCod = 2"));
        db().exec(QStringLiteral("INSERT INTO INVENTARIO (InvCod, InvFecha) VALUES (1, ?)"),
                  {clock.now()});
    }
    void open(int user = 1, const char* password = "CLAVE1") {
        openCounter(user, password);
        choose(QStringLiteral("PANADOL"), kPanadol);
        adjuster = sales::StockAdjuster::of(ctx());
        ASSERT_NE(adjuster, nullptr);
    }
    void menu(const char* item) {
        for (QAction* a : adjuster->menu()->actions())
            if (a->objectName() == QLatin1String(item))
                a->trigger();
    }
    QLineEdit* quantity() { return child<QLineEdit>(screen, "EdCanStock"); }
    QCheckBox* box(const char* name) { return child<QCheckBox>(screen, name); }
    void enterUnits(const QString& units) {
        typeText(quantity(), units);
        pressKey(quantity(), Qt::Key_Return);
    }
    QColor panelColour() {
        return child<QWidget>(screen, "Panel4")->palette().color(QPalette::Window);
    }
    int stock() { return testsupport::stockOf(db(), kPanadol); }
    int adjustments() { return count(db(), QStringLiteral("INVENTARIO_DETALLE")); }
    QString shown() { return child<QLabel>(screen, "DBText8")->text(); }

    sales::StockAdjuster* adjuster = nullptr;
};

TEST_P(StockAdjusterWindow, AnAdjustmentWhosePresentationCannotBeReadAgainIsStillReportedAsMade) {
    open();
    menu("Editar1");
    box("CBStockFalta")->setChecked(true);
    db().exec(QStringLiteral("DROP TABLE CRUCE"));  // the data module reads it, the change not
    messages.clear();
    enterUnits(QStringLiteral("4"));
    EXPECT_EQ(stock(), 44);
    EXPECT_EQ(messages.shown,
              (QStringList{"EL STOCK SE CAMBIO, PERO NO SE PUDO LEER DE NUEVO LA PRESENTACION...",
                           "EDICION SATISFACTORIA..."}));
    EXPECT_NE(panelColour(), ui::palette::red);
}

TEST_P(StockAdjusterWindow, AShortageOfFourAddsFourShowsItAndRecordsMinusFour) {
    open();
    EXPECT_FALSE(quantity()->isVisible());
    menu("Editar1");
    EXPECT_TRUE(quantity()->isVisible());
    EXPECT_TRUE(box("CBStockSobra")->isVisible());
    EXPECT_TRUE(box("CbPCCero")->isVisible());
    EXPECT_FALSE(box("CBRegNoReg")->isVisible());
    EXPECT_TRUE(quantity()->hasFocus());
    box("CBStockFalta")->setChecked(true);
    enterUnits(QStringLiteral("4"));
    EXPECT_EQ(messages.last(), QStringLiteral("EDICION SATISFACTORIA..."));
    EXPECT_EQ(stock(), 44);
    EXPECT_EQ(shown(), QStringLiteral("44"));
    EXPECT_EQ(db::integer(db().scalar(QStringLiteral("SELECT InvDetaUni FROM INVENTARIO_DETALLE"))),
              -4);
    EXPECT_TRUE(quantity()->text().isEmpty());
    EXPECT_TRUE(child<QLineEdit>(screen, "EdNombre")->hasFocus());

    box("CBStockSobra")->setChecked(true);
    EXPECT_FALSE(box("CBStockFalta")->isChecked());
    enterUnits(QStringLiteral("2"));
    EXPECT_EQ(stock(), 42);
    EXPECT_EQ(adjustments(), 2);
}

TEST_P(StockAdjusterWindow, TheKindMustBeChosenAndCheckingItEmptiesTheTypedNumber) {
    open();
    menu("Editar1");
    typeText(quantity(), QStringLiteral("3"));
    box("CBStockSobra")->setChecked(true);
    EXPECT_TRUE(quantity()->text().isEmpty());
    box("CBStockSobra")->setChecked(false);
    messages.clear();
    enterUnits(QStringLiteral("3"));
    EXPECT_EQ(messages.shown, QStringList{QStringLiteral("ELIGE EL TIPO DE PROCESO...")});
    EXPECT_EQ(stock(), 40);
    typeText(quantity(), QStringLiteral("A"));
    EXPECT_TRUE(quantity()->text().isEmpty());
}

TEST_P(StockAdjusterWindow, ACashiersAdjustmentIsRefusedOnEnterAndChangesNothing) {
    open(2, "CLAVE2");
    menu("Editar1");
    EXPECT_EQ(messages.last(), QStringLiteral("ROSA NO TIENES LA AUTORIZACION PARA\rREALIZAR ESTA "
                                              "OPERACION DE EDICION"));
    EXPECT_FALSE(quantity()->isVisible());
    ctx().commands.run(QStringLiteral("PMNombreStockModificar"), ctx());
    EXPECT_TRUE(quantity()->isVisible());
    EXPECT_FALSE(box("CBStockSobra")->isVisible());
    enterUnits(QStringLiteral("3"));
    EXPECT_EQ(messages.last(),
              QStringLiteral("ROSA NO TIENES LA AUTORIZACION PARA\rREALIZAR ESTA OPERACION"));
    EXPECT_EQ(stock(), 40);
    EXPECT_EQ(adjustments(), 0);
}

TEST_P(StockAdjusterWindow, WhileLockedEnterTurnsThePanelRedShowsNothingAndChangesNothing) {
    db().exec(QStringLiteral("INSERT INTO PARAMETRO (ParNombre, ParValor) VALUES (?, ?)"),
              {db::proc::kStockChangeLockKey, db::proc::kStockChangeLocked});
    open();
    menu("Editar1");
    box("CBStockFalta")->setChecked(true);
    messages.clear();
    enterUnits(QStringLiteral("4"));
    EXPECT_EQ(panelColour(), ui::palette::red);
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_EQ(stock(), 40);
    EXPECT_EQ(adjustments(), 0);
}

TEST_P(StockAdjusterWindow, OnlyMaximosGetsTheNotRegisteredSwitchWhichRecordsNothing) {
    db().exec(QStringLiteral("UPDATE USUARIO SET UsuCargo = 'ADMINISTRADOR' WHERE UsuCod = 3"));
    open(3, "CLAVE3");
    menu("Editar1");
    ASSERT_TRUE(box("CBRegNoReg")->isVisible());
    box("CBRegNoReg")->setChecked(true);
    EXPECT_FALSE(box("CbPCCero")->isVisible());
    box("CBStockFalta")->setChecked(true);
    enterUnits(QStringLiteral("2"));
    EXPECT_EQ(stock(), 42);
    EXPECT_EQ(adjustments(), 0);
}

TEST_P(StockAdjusterWindow, TheMenuHidesTheControlsAndTheConsoleSwitchesShowTheLock) {
    open();
    menu("Editar1");
    menu("Ocultar1");
    EXPECT_FALSE(quantity()->isVisible());
    EXPECT_FALSE(box("CBStockFalta")->isVisible());
    EXPECT_TRUE(box("CbPCCero")->isVisible());
    menu("NoCambios1");
    EXPECT_FALSE(box("CbPCCero")->isVisible());
    EXPECT_EQ(messages.last(), QStringLiteral("DESDE AHORA NO SE PUEDE\rCAMBIAR EL STOCK..."));
    EXPECT_EQ(panelColour(), ui::palette::infoBackground);

    ctx().commands.run(sales::kStockUnlockedHere, ctx());
    EXPECT_EQ(panelColour(), ui::palette::activeCaptionGradient);
    for (const char* name : {"CBStockSobra", "CBStockFalta", "CbPCCero", "CBRegNoReg"})
        EXPECT_TRUE(box(name)->isVisible()) << name;
    EXPECT_TRUE(quantity()->isVisible());
    ctx().commands.run(sales::kStockLockedHere, ctx());
    EXPECT_FALSE(quantity()->isVisible());
    EXPECT_EQ(panelColour(), ui::palette::infoBackground);
}

TEST_P(StockAdjusterWindow, EscInAKindBoxEmptiesTheSearchBoxAndPutsTheCursorThere) {
    open();
    menu("Editar1");
    pressKey(box("CBStockSobra"), Qt::Key_Escape);
    EXPECT_TRUE(child<QLineEdit>(screen, "EdNombre")->text().isEmpty());
    EXPECT_TRUE(child<QLineEdit>(screen, "EdNombre")->hasFocus());
}

VELCARIS_DB_TEST_SUITE(StockAdjusterWindow);

}  // namespace
