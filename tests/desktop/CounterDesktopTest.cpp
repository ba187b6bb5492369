#include "support/DesktopTest.h"

#include "ui/Grid.h"

#include "core/Clock.h"
#include "core/Format.h"
#include "db/DemoShop.h"
#include "db/Settings.h"
#include "db/procedures/Checkout.h"
#include "db/procedures/Sales.h"
#include "db/procedures/Stock.h"
#include "program/Program.h"
#include "sales/SalesCounter.h"
#include "sales/UnitBusqueda.h"
#include "sales/UnitDevolucion.h"
#include "session/Commands.h"
#include "session/Session.h"
#include "session/UnitDM.h"
#include "shell/UnitEntrada.h"
#include "shell/UnitPrincipal.h"
#include "stock/UnitCanje.h"
#include "stock/UnitCruce.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <memory>

using testsupport::child;
using testsupport::pressKey;
using testsupport::typeText;

namespace {

// The counter on a real desktop.
class CounterDesktop : public testsupport::DesktopTest {
protected:
    sales::TFormBusqueda* screen() { return sales::TFormBusqueda::of(context()); }
    QWidget* quotation() { return sales::SalesCounter::of(context()).quotation; }

    // Logs the technician in by code and opens the quotation of one syrup on a new sale.
    void quoteSyrup() {
        loginBox()->lineEdit()->setText(QStringLiteral("5"));
        enterPassword(QStringLiteral("TECNICA"));
        ASSERT_NE(screen(), nullptr);
        ASSERT_TRUE(becomesActive(&program_->principal()));
        auto* search = child<QLineEdit>(screen(), "EdNombre");
        ASSERT_TRUE(focusIn(search));
        pressKey(search, Qt::Key_F4);
        typeText(search, QStringLiteral("PARACETAMOL"));
        const auto& rows = program_->dm().presentations();
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (rows[i].PresTipo.contains(QStringLiteral("JARABE")))
                program_->dm().setCurrentPresentationIndex(int(i));
        pressKey(child<QTableView>(screen(), "cg"), Qt::Key_F1);
        ASSERT_TRUE(becomesActive(quotation()));
        ASSERT_TRUE(focusIn(child<QLineEdit>(quotation(), "EdCan")));
    }

    int discountRows() {
        return db::integer(db().scalar(QStringLiteral("SELECT COUNT(*) FROM DESCUENTO")));
    }
};

TEST_P(CounterDesktop, TheOwnersDiscountHandsTheActivationBackToTheQuotationsPrice) {
    quoteSyrup();
    QAction* discount = quotation()->findChild<QAction*>(QStringLiteral("Descuento2"));
    ASSERT_NE(discount, nullptr);
    discount->trigger();
    QWidget* auth = sales::SalesCounter::of(context()).discountAuth;
    ASSERT_TRUE(becomesActive(auth));
    child<QComboBox>(auth, "CBLogin")->setEditText(QStringLiteral("MAXIMOS"));
    auto* password = child<QLineEdit>(auth, "EdPassword");
    typeText(password, QStringLiteral("MAXIMOS"));
    pressKey(password, Qt::Key_Return);

    ASSERT_TRUE(becomesActive(quotation()));
    auto* price = child<QLineEdit>(quotation(), "EdPv");
    ASSERT_TRUE(focusIn(price));
    EXPECT_TRUE(price->isEnabled());
    EXPECT_TRUE(context().session.discountAllowed());
    EXPECT_FALSE(auth->isVisible());

    price->clear();
    typeText(price, QStringLiteral("3.90"));
    pressKey(price, Qt::Key_Return);
    auto* quantity = child<QLineEdit>(quotation(), "EdCan");
    ASSERT_TRUE(focusIn(quantity));
    typeText(quantity, QStringLiteral("1"));
    pressKey(quantity, Qt::Key_Return);
    EXPECT_EQ(discountRows(), 1);
    EXPECT_TRUE(boxes_.empty());
}

TEST_P(CounterDesktop, ARefusedQuantityLeavesTheQuotationActiveWithTheFocusInTheQuantity) {
    quoteSyrup();
    auto* quantity = child<QLineEdit>(quotation(), "EdCan");
    typeText(quantity, QStringLiteral("0"));
    answerNextBox();
    pressKey(quantity, Qt::Key_Return);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, QStringLiteral("CANTIDAD NO ADMISIBLE"));
    EXPECT_EQ(boxes_[0].owner, quotation());  // in front of the quotation, not the main window
    EXPECT_TRUE(becomesActive(quotation()));
    EXPECT_TRUE(focusIn(quantity));
    EXPECT_TRUE(quantity->text().isEmpty());
}

// A discharged boleta of 3 units of a presentation in stock, which the search screen then
// shows as its current one.
int sellThreeAndChooseIt(session::AppContext& ctx, db::Db& db, const QDateTime& now) {
    QSqlQuery p = db.exec(QStringLiteral(
        "SELECT P.CodPresentacion, PR.ProdNomComercial FROM PRESENTACION P JOIN "
        "PRODUCTO_LABORATORIO PL ON PL.ProdLabCod = P.ProdLabCod JOIN PRODUCTO PR ON "
        "PR.ProdCodigo = PL.ProdCodigo WHERE P.PresStockTotal >= 3 ORDER BY P.CodPresentacion"));
    p.next();
    const int code = db::integer(p.value(0));
    const core::DateTimeRange day = core::saleDay(now.date());
    const int sale =
        db::proc::KZ_NumeroVenta(db, {day.start, 2, QStringLiteral("CAJA01-4")}, now).pNumero;
    const auto pres = *db::proc::presentacionVenta(db, code);
    db::proc::KZ_IngresoPresVenta(db,
                                  {code, 3, pres.PresVenta, pres.PresPrecioCosto, sale, day.start});
    db::proc::DischargeSale(db, {sale, day, 2, db::proc::kBoletaDeVenta, now});
    typeText(child<QLineEdit>(sales::TFormBusqueda::of(ctx), "EdNombre"), db::text(p.value(1)));
    ctx.dm.refreshPresentations();
    const auto& rows = ctx.dm.presentations();
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].CodPresentacion == code)
            ctx.dm.setCurrentPresentationIndex(int(i));
    return code;
}

TEST_P(CounterDesktop, ARefusedReturnStandsInFrontOfTheReturnsWindowWhichKeepsTheFocus) {
    loginBox()->lineEdit()->setText(QStringLiteral("2"));
    enterPassword(QStringLiteral("ADMIN"));
    ASSERT_NE(screen(), nullptr);
    ASSERT_TRUE(becomesActive(&program_->principal()));
    sellThreeAndChooseIt(context(), db(), clock_.now());
    context().commands.run(QStringLiteral("PMPresDevolucion"), context());
    QWidget* form = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<sales::TFormDevolucion*>(w) && w->isVisible())
            form = w;
    ASSERT_TRUE(becomesActive(form));
    child<QPushButton>(form, "Consultar")->click();
    auto* units = child<QLineEdit>(form, "EdStock");
    ASSERT_TRUE(focusIn(units));
    units->setText(QStringLiteral("4"));
    answerNextBox();
    child<QPushButton>(form, "IngresarAdmin")->click();
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_TRUE(boxes_[0].text.startsWith(QStringLiteral("NO PUEDE SOBREPASAR LO COMPRADO...")));
    EXPECT_EQ(boxes_[0].owner, form);
    EXPECT_TRUE(becomesActive(form));
    EXPECT_TRUE(focusIn(units));
    form->close();

    ASSERT_TRUE(becomesActive(&program_->principal()));
    answerNextBox();
    context().commands.run(QStringLiteral("PMPresSeguimiento"), context());
    ASSERT_EQ(boxes_.size(), 2u);
    EXPECT_TRUE(boxes_[1].text.startsWith(QStringLiteral("CODIGO PRESENTACION: ")));
    EXPECT_TRUE(becomesActive(&program_->principal()));
    EXPECT_TRUE(focusIn(child<QLineEdit>(screen(), "EdNombre")));
}

TEST_P(CounterDesktop, ARefusedLoginKeepsTheChosenUserAndItsNextAttemptLogsIn) {
    const int cashier = loginBox()->findText(QStringLiteral("CAJERO"), Qt::MatchStartsWith);
    ASSERT_GE(cashier, 0);
    loginBox()->setCurrentIndex(cashier);
    const QString chosen = loginBox()->currentText();
    answerNextBox();
    enterPassword(QStringLiteral("NOESESTA"));
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_TRUE(boxes_[0].text.startsWith(QStringLiteral("Intento de Coneccion")))
        << boxes_[0].text.toStdString();
    EXPECT_EQ(boxes_[0].owner, login());
    ASSERT_TRUE(becomesActive(login()));
    EXPECT_EQ(loginBox()->currentText(), chosen);
    ASSERT_TRUE(focusIn(passwordBox()));

    enterPassword(QStringLiteral("CAJERO"));
    EXPECT_EQ(context().session.login(), QStringLiteral("CAJERO"));
    EXPECT_EQ(ends_, 0);
    EXPECT_TRUE(becomesActive(&program_->principal()));
}

// The open window of that class.
template <class W>
W* openWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* form = qobject_cast<W*>(w); form && w->isVisible())
            return form;
    return nullptr;
}

// The pharmacist logged in on a presentation that has just received a batch of 10 units.
db::proc::KardexIngresoIn pharmacistOnABatch(session::AppContext& ctx, db::Db& db,
                                             const QDateTime& now) {
    const int code = sellThreeAndChooseIt(ctx, db, now);
    db::proc::KardexIngresoIn batch{
        code,   now.addDays(400), 10, now, 3, db::proc::proveedorNombres(db).front(),
        "F1-7", "FACTURA"};
    EXPECT_GT(db::proc::KZ_KardexIngreso(db, batch).KarInCod, 0);
    ctx.dm.refreshPresentations();
    return batch;
}

TEST_P(CounterDesktop, BackFromARefusalTheExchangeWindowSendsFromTheBatchChosenBefore) {
    loginBox()->lineEdit()->setText(QStringLiteral("3"));
    enterPassword(QStringLiteral("QUIMICO"));
    ASSERT_TRUE(becomesActive(&program_->principal()));
    const db::proc::KardexIngresoIn batch = pharmacistOnABatch(context(), db(), clock_.now());
    const int chosen =
        db::integer(db().scalar(QStringLiteral("SELECT MAX(KarInCod) FROM KARDEXINGRESO")));
    context().commands.run(QStringLiteral("PMPresCanje"), context());
    auto* form = openWindow<stock::TFrmCanje>();
    ASSERT_TRUE(becomesActive(form));
    auto* batches = child<QTableView>(form, "DBGrid1");
    for (int r = 0; r < batches->model()->rowCount(); ++r)
        if (batches->model()->index(r, 0).data().toString() ==
            core::fmt::shortDate(batch.pFechCad.date()))
            ui::Grid::selectRow(batches, r);
    const int row = ui::Grid::currentRow(batches);
    child<QComboBox>(form, "CBEstado")->setCurrentIndex(0);
    auto* units = child<QLineEdit>(form, "EdUnidades");
    ASSERT_TRUE(focusIn(units));
    typeText(units, QStringLiteral("11"));
    answerNextBox();
    child<QPushButton>(form, "SPEditar")->click();
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_TRUE(boxes_[0].text.contains(QStringLiteral("SI SE INGRESO: 10 UNIDADES")));
    EXPECT_EQ(boxes_[0].owner, form);
    ASSERT_TRUE(becomesActive(form));
    EXPECT_TRUE(focusIn(units));
    EXPECT_EQ(ui::Grid::currentRow(batches), row);
    typeText(units, QStringLiteral("2"));
    child<QPushButton>(form, "SPEditar")->click();
    EXPECT_EQ(child<QLabel>(form, "STProducto")->text(),
              QStringLiteral("DEVOLUCION POR CANJE REALIZADA"));
    EXPECT_EQ(db::integer(db().scalar(QStringLiteral("SELECT KarInCod FROM CANJE"))), chosen);
}

TEST_P(CounterDesktop, BackFromARefusalTheCrossCheckRecordsAShortageTheSearchScreenShows) {
    loginBox()->lineEdit()->setText(QStringLiteral("3"));
    enterPassword(QStringLiteral("QUIMICO"));
    ASSERT_TRUE(becomesActive(&program_->principal()));
    pharmacistOnABatch(context(), db(), clock_.now());
    const int stock = context().dm.currentPresentation()->PresStockTotal;
    context().commands.run(QStringLiteral("PMPresCruce"), context());
    auto* form = openWindow<stock::TFormCruce>();
    ASSERT_TRUE(becomesActive(form));
    child<QCheckBox>(form, "CBFalta")->setChecked(true);
    auto* units = child<QLineEdit>(form, "EdUnidades");
    ASSERT_TRUE(focusIn(units));
    typeText(units, QStringLiteral("0"));
    answerNextBox();
    pressKey(child<QPushButton>(form, "SBGrabar"), Qt::Key_Space);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, QStringLiteral("INGRESE VALORES MAYORES A CERO..."));
    EXPECT_EQ(boxes_[0].owner, form);
    ASSERT_TRUE(becomesActive(form));
    EXPECT_TRUE(focusIn(units));
    EXPECT_TRUE(child<QCheckBox>(form, "CBFalta")->isChecked());
    typeText(units, QStringLiteral("2"));
    pressKey(child<QPushButton>(form, "SBGrabar"), Qt::Key_Space);
    EXPECT_EQ(child<QLabel>(form, "ST1")->text(), QStringLiteral("CRUCE INGRESADO CORRECTAMENTE"));
    EXPECT_EQ(child<QTableView>(form, "DBGrid1")->model()->rowCount(), 1);
    EXPECT_EQ(child<QLabel>(screen(), "DBText10")->text(),
              QStringLiteral("%1 /2 FALTA").arg(stock - 2));
}

}  // namespace

VELCARIS_DB_TEST_SUITE(CounterDesktop);
