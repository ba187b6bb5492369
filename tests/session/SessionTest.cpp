#include "support/ProgramTest.h"
#include "support/Seed.h"
#include "support/WindowTest.h"

#include "core/Password.h"
#include "sales/UnitBusqueda.h"
#include "session/Commands.h"
#include "session/Session.h"
#include "shell/UnitPrincipal.h"

#include <QAction>
#include <QLabel>
#include <QSignalSpy>
#include <QToolButton>

using testsupport::seedUser;

using testsupport::child;

namespace {

// The registry on its own: what a control does is its rule's tests, then its opener.
class Registry : public testsupport::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        if (IsSkipped())
            return;
        seedUser(db(), 2, QStringLiteral("ANA"), QStringLiteral("CLAVE2"),
                 QStringLiteral("TECNICA"), QStringLiteral("ACTIVO"), QStringLiteral("ANA"));
    }
    bool run(const char* control) {
        return ctx().commands.run(QString::fromLatin1(control), ctx());
    }
};

TEST_P(Registry, ARegisteredControlRunsItsRuleFirstAndThenItsOpener) {
    std::vector<int> trimsSeenByOpener;
    ctx().commands.add(QStringLiteral("Calcular1"),
                       [&] { trimsSeenByOpener.push_back(platform.trims); });

    dm().closeSessionDatasets();  // "TS": trimmed, then the session test fails silently
    EXPECT_FALSE(run("Calcular1"));
    EXPECT_TRUE(trimsSeenByOpener.empty());
    EXPECT_EQ(platform.trims, 1);

    dm().openSessionDatasets();
    EXPECT_TRUE(run("Calcular1"));
    EXPECT_EQ(trimsSeenByOpener, std::vector<int>{2});  // the trim came before the opener
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_P(Registry, ARefusedRoleStopsTheOpenerWithItsRefusal) {
    int opened = 0;
    ctx().commands.add(QStringLiteral("Producto_1"), [&] { ++opened; });
    ASSERT_EQ(dm().openAccess(2, core::Encripta(QStringLiteral("CLAVE2"))), 1);
    EXPECT_FALSE(run("Producto_1"));
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(messages.shown,
              QStringList{QStringLiteral("ANA NO TIENES LA AUTORIZACION PARA\rREALIZAR ESTA "
                                         "OPERACION DE INGRESO...")});
}

TEST_P(Registry, AnOpenerThatFailsEndsInsideTheGuard) {
    ctx().commands.add(QStringLiteral("About1"), [] { throw std::runtime_error("roto"); });
    EXPECT_TRUE(run("About1"));  // the rule passed; the opener's failure ends the action
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_P(Registry, TheMainWindowEnablesWhatIsRegisteredAndDisablesTheRest) {
    int opened = 0;
    ctx().commands.add(QStringLiteral("Proveedor1"), [&] { ++opened; });
    ctx().commands.add(QStringLiteral("SBMasStock"), [&] { ++opened; });
    shell::TPRINCIPAL principal(ctx());

    auto* supplier = principal.findChild<QAction*>(QStringLiteral("Proveedor1"));
    auto* moreStock = principal.findChild<QToolButton*>(QStringLiteral("SBMasStock"));
    auto* representative = principal.findChild<QAction*>(QStringLiteral("Representante1"));
    auto* backup = principal.findChild<QToolButton*>(QStringLiteral("SpBacKUpBd"));
    ASSERT_TRUE(supplier && moreStock && representative && backup);
    EXPECT_TRUE(supplier->isEnabled());
    EXPECT_TRUE(moreStock->isEnabled());
    EXPECT_NE(supplier->toolTip(), QStringLiteral("NO DISPONIBLE TODAVIA"));
    for (QObject* control : {static_cast<QObject*>(representative), static_cast<QObject*>(backup)})
        EXPECT_FALSE(control->property("enabled").toBool()) << control->objectName().toStdString();
    EXPECT_EQ(representative->toolTip(), QStringLiteral("NO DISPONIBLE TODAVIA"));
    EXPECT_EQ(backup->toolTip(), QStringLiteral("NO DISPONIBLE TODAVIA"));

    seedUser(db(), 1, QStringLiteral("ADMIN"), QStringLiteral("CLAVE1"),
             QStringLiteral("ADMINISTRADOR"));
    ASSERT_EQ(dm().openAccess(1, core::Encripta(QStringLiteral("CLAVE1"))), 1);
    supplier->trigger();
    moreStock->click();
    EXPECT_EQ(opened, 2);
}

// The session's changes reach the windows that show them, in a whole program.
class SessionSignals : public testsupport::ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        if (IsSkipped())
            return;
        seedUser(db(), 2, QStringLiteral("ANA"), QStringLiteral("CLAVE2"),
                 QStringLiteral("TECNICA"));
        startProgram();
    }
    QLabel* panel(int i) {
        return principal().findChild<QLabel*>(QStringLiteral("StatusPanel%1").arg(i));
    }
};

TEST_P(SessionSignals, ALoginOpensTheSearchScreenAndNamesTheUser) {
    QSignalSpy loggedIn(&session(), &session::Session::loggedIn);
    enter(QStringLiteral("2"), QStringLiteral("CLAVE2"));
    EXPECT_EQ(loggedIn.count(), 1);
    EXPECT_EQ(session().userCode(), 2);
    EXPECT_EQ(session().login(), QStringLiteral("ANA"));
    EXPECT_EQ(principal().userLabel(), QStringLiteral("USUARIO: ANA"));
    ASSERT_NE(searchScreen(), nullptr);
    EXPECT_EQ(child<QLabel>(searchScreen(), "V")->text(), QStringLiteral("V"));
}

TEST_P(SessionSignals, AReservedSaleAndItsEndShowOnTheSearchScreen) {
    enter(QStringLiteral("2"), QStringLiteral("CLAVE2"));
    ASSERT_NE(searchScreen(), nullptr);
    QSignalSpy changed(&session(), &session::Session::currentSaleChanged);
    session().reserveSale(7);
    EXPECT_EQ(child<QLabel>(searchScreen(), "V")->text(), QStringLiteral("7"));
    EXPECT_FALSE(session().newSale());
    session().clearCurrentSale();
    EXPECT_EQ(child<QLabel>(searchScreen(), "V")->text(), QStringLiteral("V"));
    EXPECT_EQ(session().saleNumber(), 7);  // the number the quotation worked on stays known
    EXPECT_EQ(changed.count(), 2);
}

TEST_P(SessionSignals, ADischargeShowsInTheStatusBar) {
    session().recordDischarge(12);
    EXPECT_EQ(panel(1)->text(), QStringLiteral("12"));
    EXPECT_EQ(session().lastDischargedSale(), 12);
}

TEST_P(SessionSignals, AChangeOfUserClosesTheSearchScreenAndEmptiesTheUserLabel) {
    enter(QStringLiteral("2"), QStringLiteral("CLAVE2"));
    ASSERT_NE(searchScreen(), nullptr);
    principal().findChild<QToolButton*>(QStringLiteral("SPassword"))->click();
    settle();
    EXPECT_EQ(searchScreen(), nullptr);
    EXPECT_EQ(principal().userLabel(), QString());
    EXPECT_NE(login(), nullptr);
}

// The next user's search screen starts without the previous user's sale, so nobody adds lines
// to another seller's sale.
TEST_P(SessionSignals, TheNextLoginStartsWithoutThePreviousUsersSale) {
    enter(QStringLiteral("2"), QStringLiteral("CLAVE2"));
    session().reserveSale(7);
    principal().findChild<QToolButton*>(QStringLiteral("SPassword"))->click();
    settle();
    enter(QStringLiteral("2"), QStringLiteral("CLAVE2"));
    ASSERT_NE(searchScreen(), nullptr);
    EXPECT_FALSE(session().currentSale());
    EXPECT_TRUE(session().newSale());
    EXPECT_EQ(child<QLabel>(searchScreen(), "V")->text(), QStringLiteral("V"));
}

TEST_P(SessionSignals, AskingToEndReachesTheProgram) {
    session().requestEnd();
    EXPECT_EQ(programEnds, 1);
}

VELCARIS_DB_TEST_SUITE(Registry);
VELCARIS_DB_TEST_SUITE(SessionSignals);

}  // namespace
