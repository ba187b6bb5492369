#include "support/Keys.h"
#include "support/Listings.h"
#include "support/WindowTest.h"

#include "core/Password.h"
#include "db/DemoShop.h"
#include "db/procedures/Checkout.h"
#include "db/procedures/Sales.h"
#include "db/procedures/StockAdjust.h"
#include "program/Program.h"
#include "sales/StockAdjuster.h"
#include "sales/UnitBusqueda.h"
#include "sales/UnitDevolucion.h"
#include "shell/UnitPrincipal.h"
#include "ui/Palette.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

namespace {

using namespace testsupport;

// The demo shop as a new administrator tries the counter: a boleta of 3 units discharged, then
// returned, followed, adjusted and locked.
class DemoCounter : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        if (IsSkipped())
            return;
        db::loadDemoShop(db());
        QSqlQuery p = db().exec(QStringLiteral(
            "SELECT P.CodPresentacion, PR.ProdNomComercial FROM PRESENTACION P JOIN "
            "PRODUCTO_LABORATORIO PL ON PL.ProdLabCod = P.ProdLabCod JOIN PRODUCTO PR ON "
            "PR.ProdCodigo = PL.ProdCodigo WHERE P.PresStockTotal >= 3 ORDER BY "
            "P.CodPresentacion"));
        ASSERT_TRUE(p.next());
        code = db::integer(p.value(0));
        product = db::text(p.value(1));
        dm().openSessionDatasets();
        program::registerSubsystems(ctx());
        principal = std::make_unique<shell::TPRINCIPAL>(ctx());
        ASSERT_EQ(dm().openAccess(2, core::Encripta(QStringLiteral("ADMIN"))), 1);
        session().logIn(2, dm().access()->UsuLogin, 0, false);
        screen = sales::TFormBusqueda::of(ctx());
        ASSERT_NE(screen, nullptr);
        screen->window()->show();
        typeText(child<QLineEdit>(screen, "EdNombre"), product);
        const auto& rows = dm().presentations();
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (rows[i].CodPresentacion == code)
                dm().setCurrentPresentationIndex(int(i));
        ASSERT_EQ(dm().currentPresentation()->CodPresentacion, code);
        start = stock();
    }
    void TearDown() override {
        delete screen.data();
        principal.reset();
        WindowTest::TearDown();
    }

    int stock() {
        return db::integer(db().scalar(
            QStringLiteral("SELECT PresStockTotal FROM PRESENTACION WHERE CodPresentacion = ?"),
            {code}));
    }
    int rowsOf(const QString& table) {
        return db::integer(db().scalar(QStringLiteral("SELECT COUNT(*) FROM ") + table));
    }
    // A boleta of 3 units of the presentation, discharged.
    int sellThree() {
        const core::DateTimeRange day = core::saleDay(clock.today());
        const int sale =
            db::proc::KZ_NumeroVenta(db(), {day.start, 2, QStringLiteral("CAJA01-4")}, clock.now())
                .pNumero;
        const auto p = *db::proc::presentacionVenta(db(), code);
        db::proc::KZ_IngresoPresVenta(db(),
                                      {code, 3, p.PresVenta, p.PresPrecioCosto, sale, day.start});
        db::proc::DischargeSale(db(), {sale, day, 2, db::proc::kBoletaDeVenta, clock.now()});
        return sale;
    }
    void returnUnits(sales::TFormDevolucion* form, const char* units) {
        child<QLineEdit>(form, "EdStock")->setText(QString::fromLatin1(units));
        child<QPushButton>(form, "IngresarAdmin")->click();
        EXPECT_TRUE(waitForListings(form));
    }
    void adjust(const char* kind, const char* units) {
        child<QCheckBox>(screen, kind)->setChecked(true);
        auto* box = child<QLineEdit>(screen, "EdCanStock");
        typeText(box, QString::fromLatin1(units));
        pressKey(box, Qt::Key_Return);
    }

    std::unique_ptr<shell::TPRINCIPAL> principal;
    QPointer<sales::TFormBusqueda> screen;
    int code = 0;
    QString product;
    int start = 0;
};

TEST_P(DemoCounter, ABoletaIsReturnedFollowedAdjustedAndThenLocked) {
    const int sale = sellThree();
    ASSERT_EQ(stock(), start - 3);

    ctx().commands.run(QStringLiteral("PMPresDevolucion"), ctx());
    sales::TFormDevolucion* form = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* f = qobject_cast<sales::TFormDevolucion*>(w); f && f->isVisible())
            form = f;
    ASSERT_NE(form, nullptr);
    child<QPushButton>(form, "Consultar")->click();
    ASSERT_TRUE(waitForListings(form));
    returnUnits(form, "1");
    messages.clear();
    ctx().commands.run(QStringLiteral("PMPresSeguimiento"), ctx());
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.last().endsWith(QStringLiteral("   %1").arg(sale)));
    EXPECT_TRUE(messages.last().contains(QStringLiteral("\r    02  ")));
    returnUnits(form, "2");
    EXPECT_EQ(rowsOf(QStringLiteral("DEVOLUCION")), 2);
    EXPECT_EQ(db::text(db().scalar(QStringLiteral("SELECT Estado FROM DETAFAC WHERE FacNumero = ?"),
                                   {sale})),
              db::proc::kDevuelto);
    EXPECT_EQ(stock(), start);
    form->close();

    for (QAction* a : sales::StockAdjuster::of(ctx())->menu()->actions())
        if (a->objectName() == QLatin1String("Editar1"))
            a->trigger();
    adjust("CBStockSobra", "2");
    adjust("CBStockFalta", "5");
    EXPECT_EQ(stock(), start + 3);
    EXPECT_EQ(child<QLabel>(screen, "DBText8")->text(), QString::number(start + 3));
    EXPECT_EQ(db::integer(db().scalar(
                  QStringLiteral("SELECT COUNT(*) FROM INVENTARIO_DETALLE WHERE InvCod = 1 AND "
                                 "CodPresentacion = ? AND InvDetaTipo = 'SOBRA'"),
                  {code})),
              1);
    EXPECT_EQ(db::integer(db().scalar(
                  QStringLiteral("SELECT COUNT(*) FROM INVENTARIO_DETALLE WHERE InvCod = 1 AND "
                                 "CodPresentacion = ? AND InvDetaTipo = 'FALTA'"),
                  {code})),
              1);

    messages.answers = {true};
    ctx().commands.run(QStringLiteral("PMPresBorrar"), ctx());
    EXPECT_TRUE(messages.last().startsWith(QStringLiteral("NO SE PUEDE BORRAR LA PRESENTACION")));

    db().exec(QStringLiteral("INSERT INTO PARAMETRO (ParNombre, ParValor) VALUES (?, ?)"),
              {db::proc::kStockChangeLockKey, db::proc::kStockChangeLocked});
    adjust("CBStockFalta", "5");
    EXPECT_EQ(child<QWidget>(screen, "Panel4")->palette().color(QPalette::Window),
              ui::palette::red);
    EXPECT_EQ(stock(), start + 3);
}

VELCARIS_DB_TEST_SUITE(DemoCounter);

}  // namespace
