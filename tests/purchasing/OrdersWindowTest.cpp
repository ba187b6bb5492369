#include "purchasing/PurchasingTest.h"

using namespace testsupport;

namespace {

const QDateTime kNow(QDate(2026, 3, 2), QTime(9, 0));

// The order window on SAUCAL's JUAN ARANDA.
class Orders : public purchase::PurchasingTest {
protected:
    QWidget* orders() {
        QWidget* w = openAs(4, "Pedido2", "FormPedido");
        selectRow(w, "DBGrid2", 2);
        selectRow(w, "DBGrid1", 0);
        return w;
    }
    void placeOrder(QWidget* w, const QDateTime& delivery = kNow.addDays(5)) {
        child<QDateTimeEdit>(w, "DateTimePicker2")->setDateTime(delivery);
        choose(w, "CBEstado", QStringLiteral("NO ENTREGADO"));
        click(w, "BtnGrabar");
    }
    // The payment window the button of the order's "CUOTAS" cell shows, with the amounts saved.
    QWidget* payInstalments(QWidget* w, const QStringList& amounts) {
        pressCell(w, "DBGrid3", 0, "CUOTAS");
        QWidget* pago = principal->findChild<QWidget*>(QStringLiteral("FormPago"));
        EXPECT_TRUE(pago->isVisible());
        for (const QString& amount : amounts) {
            typeInto(pago, "EdMonto", amount);
            choose(pago, "CbEstado", QStringLiteral("PENDIENTE"));
            click(pago, "BtnGrabar");
        }
        return pago;
    }
    QDateTime dbMoment(const char* sql) { return db::dateTime(value(sql)); }
};

TEST_P(Orders, ANewOrderIsListedAtOnceAndItsInstalmentsAddUp) {
    QWidget* w = orders();
    placeOrder(w);
    ASSERT_EQ(rows(w, "DBGrid3"), 1);
    EXPECT_EQ(cell(w, "DBGrid3", 0, "TOTAL"), QStringLiteral("0.00"));
    EXPECT_EQ(cell(w, "DBGrid3", 0, "CUOTAS"), QStringLiteral("0"));
    EXPECT_EQ(cell(w, "DBGrid3", 0, "REPRESENTANTE"), QStringLiteral("ARANDA, JUAN"));
    QWidget* pago = payInstalments(w, {"100", "50", "25,0"});
    EXPECT_EQ(child<QLabel>(pago, "STPago")->text(), QStringLiteral("PAGO INGRESADO CON CODIGO 3"));
    EXPECT_TRUE(pago->isVisible());
    EXPECT_EQ(cell(w, "DBGrid3", 0, "TOTAL"), QStringLiteral("175.00"));
    EXPECT_EQ(cell(w, "DBGrid3", 0, "CUOTAS"), QStringLiteral("3"));
    EXPECT_EQ(rows(w, "DBGrid4"), 3);
}

TEST_P(Orders, TheDeliveryMayNotComeBeforeTheOrder) {
    const QStringList refused{"FECHA DE ENTREGA NO PUEDE SER\r MENOR QUE FECHA DE PEDIDO"};
    const std::vector<std::pair<int, bool>> cases = {{0, true}, {-60, false}, {3600, true}};
    QWidget* w = orders();
    for (const auto& [seconds, accepted] : cases) {
        child<QDateTimeEdit>(w, "DateTimePicker1")->setDateTime(kNow);
        messages.clear();
        placeOrder(w, kNow.addSecs(seconds));
        EXPECT_EQ(messages.shown, accepted ? QStringList() : refused) << seconds;
    }
    EXPECT_EQ(rows(w, "DBGrid3"), 2);
}

TEST_P(Orders, TheStatePromptIsNoState) {
    QWidget* w = orders();
    click(w, "BtnNuevo");
    click(w, "BtnGrabar");
    EXPECT_EQ(messages.shown, QStringList{"ELIJA EL ESTADO DEL PEDIDO"});
    EXPECT_EQ(rows(w, "DBGrid3"), 0);
}

TEST_P(Orders, AnEditChangesOnlyTheStateOfTheOrderTheBoxesWereFilledFrom) {
    QWidget* w = orders();
    child<QDateTimeEdit>(w, "DateTimePicker1")->setDateTime(kNow.addDays(-3));
    placeOrder(w, kNow.addDays(4));
    click(w, "BtnNuevo");
    placeOrder(w);
    selectRow(w, "DBGrid3", 1);
    menu(w, "PMEditar");
    selectRow(w, "DBGrid3", 0);
    choose(w, "CBEstado", QStringLiteral("ENTREGADO"));
    click(w, "BtnEditar");
    const char* sql = "SELECT PedEstado FROM PEDIDO WHERE PedNumero = ?";
    EXPECT_EQ(db::text(value(sql, {1})), QStringLiteral("ENTREGADO"));
    EXPECT_EQ(db::text(value(sql, {2})), QStringLiteral("NO ENTREGADO"));
    EXPECT_EQ(dbMoment("SELECT PedFechaPedido FROM PEDIDO WHERE PedNumero = 1"), kNow.addDays(-3));
    EXPECT_EQ(dbMoment("SELECT PedFechaEntrega FROM PEDIDO WHERE PedNumero = 1"), kNow.addDays(4));
}

TEST_P(Orders, EditingAnInstalmentKeepsItsDateAndClosesTheWindow) {
    QWidget* w = orders();
    placeOrder(w);
    QWidget* pago = payInstalments(w, {"100", "50"});
    pago->close();
    db().exec(QStringLiteral("UPDATE PAGO SET PagFechaPago = ? WHERE PagCod = 1"),
              {kNow.addDays(-10)});
    activate(principal.get());
    activate(w);
    pressCell(w, "DBGrid4", 0, "ESTADO");
    EXPECT_EQ(child<QLabel>(pago, "STPago")->text(), QStringLiteral("EDICION PEDIDO NUMERO: 1"));
    EXPECT_EQ(child<QLineEdit>(pago, "EdMonto")->text(), QStringLiteral("100"));
    activate(pago);
    typeInto(pago, "EdMonto", QStringLiteral("120.5"));
    click(pago, "BtnEditar");
    EXPECT_FALSE(pago->isVisible());
    EXPECT_EQ(dbMoment("SELECT PagFechaPago FROM PAGO WHERE PagCod = 1"), kNow.addDays(-10));
    EXPECT_EQ(db::real(value("SELECT PagMonto FROM PAGO WHERE PagCod = 1")), 120.5);
    EXPECT_EQ(db::real(value("SELECT PagMonto FROM PAGO WHERE PagCod = 2")), 50);
    EXPECT_EQ(cell(w, "DBGrid3", 0, "TOTAL"), QStringLiteral("170.50"));
}

TEST_P(Orders, AnAmountThatReadsAsNoNumberIsRefused) {
    QWidget* w = orders();
    placeOrder(w);
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"", "INGRESE UN VALOR"},
        {"1.2.3", "EL MONTO INGRESADO NO ES UN NUMERO"},
        {"1O", "INGRESE UN VALOR"}};
    for (const auto& [typed, message] : cases) {
        messages.clear();
        payInstalments(w, {QString::fromLatin1(typed)});
        EXPECT_EQ(messages.last(), QString::fromLatin1(message)) << typed;
    }
    EXPECT_EQ(counter::count(db(), QStringLiteral("PAGO")), 0);
}

TEST_P(Orders, DeletionAnsweredNoChangesNothingAndYesTakesTheInstalments) {
    QWidget* w = orders();
    placeOrder(w);
    payInstalments(w, {"100"})->close();
    for (const bool answer : {false, true}) {
        menu(w, "PMEliminar");
        messages.answers = {answer};
        click(w, "BtnEliminar");
        EXPECT_EQ(counter::count(db(), QStringLiteral("PEDIDO")), answer ? 0 : 1);
        EXPECT_EQ(counter::count(db(), QStringLiteral("PAGO")), answer ? 0 : 1);
    }
    EXPECT_EQ(messages.asked.first(),
              QStringLiteral("DESEA ELIMINAR:\rEL PEDIDO:   1 "
                             "PERMANENTEMENTE...\rCON PAGOS Y DETALLES..."));
    EXPECT_EQ(rows(w, "DBGrid3"), 0);
}

TEST_P(Orders, TheLookUpMovesToTheFirstPresentationBeginningWithTheText) {
    QWidget* w = openAs(1, "SBDetallePedido", "FormDetallePedido");
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"AMOXIL S", "AMOXIL SUSP 250"},
        {"pan", "PANADOL 500 MG"},
        {"AMOXIL", "AMOXIL 500 MG TAB"}};
    for (const auto& [typed, shown] : cases) {
        typeInto(w, "Ednombre", QString::fromLatin1(typed));
        const int row = child<QTableView>(w, "DBGrid1")->currentIndex().row();
        EXPECT_EQ(cell(w, "DBGrid1", row, "PRESENTACION"), QString::fromLatin1(shown)) << typed;
    }
}

}  // namespace

VELCARIS_DB_TEST_SUITE(Orders);
