#include "stock/StockTest.h"

#include "stock/UnitCanje.h"
#include "ui/Grid.h"

#include <QApplication>
#include <QPushButton>
#include <QTableView>

using namespace testsupport;
using ::stock::TFrmCanje;

namespace {

const QString kSend = QStringLiteral("POR CANJE DEVUELVE");
const QString kReceive = QStringLiteral("POR CANJE RECIBIDO");

// The tablets (stock 5) with a batch of 10 expiring this year (1) and one of 10 next year (2).
class Canje : public stockwin::StockTest {
protected:
    TFrmCanje* open() {
        batch(1, QDate(2026, 8, 1), 10);
        batch(2, QDate(2027, 2, 1), 10);
        return openAs<TFrmCanje>(1, "PMPresCanje");
    }
    void batch(int key, const QDate& expiry, int units) {
        db().exec(QStringLiteral("INSERT INTO KARDEXINGRESO (KarInCod, CodPresentacion, UsuCod, "
                                 "ProvCod, KarInStock, KarInFechaCad) VALUES (?, ?, 1, 1, ?, ?)"),
                  {key, kAmoxilTab, units, QDateTime(expiry, QTime(0, 0))});
    }
    void setStock(int stock) { db().exec("UPDATE PRESENTACION SET PresStockTotal = ?", {stock}); }
    static QTableView* grid(QWidget* w, const char* name) { return child<QTableView>(w, name); }
    static void choose(QWidget* w, int batchRow, const QString& movement) {
        ui::Grid::selectRow(grid(w, "DBGrid1"), batchRow);
        child<QComboBox>(w, "CBEstado")->setEditText(movement);
    }
    void perform(QWidget* w, int units) {
        typeInto(w, "EdUnidades", QString::number(units));
        click(w, "SPEditar");
    }
    void receiveWith(TFrmCanje* w, const QDate& expiry, int units) {
        fillDocument(w, "CbTipoDocumento", QStringLiteral("DROGUERIA SUR"));
        child<QDateTimeEdit>(w, "DateTimePicker1")->setDate(expiry);
        perform(w, units);
    }
};

TEST_P(Canje, AMovementsChecksRefuseWithTheFiguresTheyCompared) {
    struct Case {
        int stock;
        QString movement;
        int units;
        const char* message;
    } cases[] = {
        {20, kSend, 12,
         "CANTIDAD ERRONEA:\rSI SE INGRESO: 10 UNIDADES\rES ILOGICO QUE DEVUELVA: "
         "12 UNIDADES"},
        {3, kSend, 5,
         "CANTIDAD ERRONEA:\rEN FISICO HAY: 3 UNIDADES\rES ILOGICO QUE DEVUELVA: "
         "5 UNIDADES"},
        {20, kReceive, 7,
         "CANTIDAD ERRONEA:\rSI SE LLEVARON: 5 UNIDADES\rES ILOGICO QUE SE "
         "INGRESE: 7 UNIDADES"},
        {20, kSend, 40000, "CANTIDAD ERRONEA:\rNO SE ACEPTAN MAS DE 32767 UNIDADES"},
    };
    TFrmCanje* w = open();
    setStock(20);
    choose(w, 0, kSend);
    perform(w, 5);
    for (const Case& c : cases) {
        setStock(c.stock);
        messages.clear();
        choose(w, 0, c.movement);
        receiveWith(w, QDate(2027, 3, 1), c.units);
        EXPECT_EQ(messages.shown, QStringList{QString::fromLatin1(c.message)});
        EXPECT_EQ(text(w, "EdUnidades"), QString());
        EXPECT_EQ(counter::count(db(), "CANJE"), 1);
        EXPECT_EQ(tablets().PresStockTotal, c.stock);
    }
}

TEST_P(Canje, TheExpiryIsSentAsTheFirstOfItsMonthUpTo5475DaysAhead) {
    struct Case {
        QDate chosen, stored;  // stored invalid: refused
    } cases[] = {{QDate(2027, 3, 17), QDate(2027, 3, 1)},
                 {QDate(2025, 12, 20), QDate(2025, 12, 1)},
                 {QDate(2041, 3, 20), {}}};
    TFrmCanje* w = open();
    choose(w, 0, kSend);
    perform(w, 5);
    choose(w, 0, kReceive);
    for (const Case& c : cases) {
        messages.clear();
        receiveWith(w, c.chosen, 1);
        EXPECT_EQ(db::dateTime(db().scalar("SELECT MAX(KarInFechaCad) FROM KARDEXINGRESO WHERE "
                                           "KarInCod = (SELECT MAX(KarInCod) FROM KARDEXINGRESO)"))
                      .date(),
                  c.stored.isValid() ? c.stored : QDate(2025, 12, 1));
        EXPECT_EQ(messages.shown.contains("FECHA NO VALIDA"), !c.stored.isValid());
    }
    EXPECT_EQ(child<QDateTimeEdit>(w, "DateTimePicker1")->date(), QDate(2028, 3, 1));
}

TEST_P(Canje, AReceiptNeedsAnExchangeOfTheSelectedBatch) {
    TFrmCanje* w = open();
    choose(w, 1, kSend);
    EXPECT_TRUE(child<QPushButton>(w, "SPEditar")->isEnabled());
    EXPECT_EQ(child<QPushButton>(w, "SPEditar")->text(), QStringLiteral("POR CANJE &DEVUELVE"));
    choose(w, 1, kReceive);
    for (const char* name : {"SPEditar", "EdUnidades", "CBProveedor", "EdNumDoc"})
        EXPECT_FALSE(w->findChild<QWidget*>(QLatin1String(name))->isEnabled()) << name;
    perform(w, 2);
    EXPECT_EQ(counter::count(db(), "CANJE"), 0);
}

TEST_P(Canje, WithoutBatchesFromThisYearTheOnesOf730DaysBackShow) {
    struct Case {
        QDate expiry;
        int shown;
    } cases[] = {{QDate(2024, 1, 1), 1}, {QDate(2023, 12, 31), 0}};
    logInAs(1);
    standOnTablets();
    for (const Case& c : cases) {
        db().exec(QStringLiteral("DELETE FROM KARDEXINGRESO"));
        batch(7, c.expiry, 3);
        run("PMPresCanje");
        auto* w = shown<TFrmCanje>();
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(grid(w, "DBGrid1")->model()->rowCount(), c.shown);
        w->close();
        settle();
    }
}

TEST_P(Canje, BackFromARefusalTheChosenBatchTakesTheNextMovement) {
    TFrmCanje* w = open();
    choose(w, 1, kSend);
    messages.whileShown = [w] {
        QEvent off(QEvent::WindowDeactivate);
        QApplication::sendEvent(w, &off);
        QEvent on(QEvent::WindowActivate);
        QApplication::sendEvent(w, &on);
    };
    perform(w, 12);
    messages.whileShown = nullptr;
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(child<QComboBox>(w, "CBEstado")->currentText(), kSend);
    perform(w, 3);
    EXPECT_EQ(db::integer(db().scalar("SELECT KarInCod FROM CANJE")), 2);
    EXPECT_EQ(text(w, "STProducto"), QStringLiteral("DEVOLUCION POR CANJE REALIZADA"));
    EXPECT_EQ(ui::Grid::currentRow(grid(w, "DBGrid1")), 1);
    EXPECT_EQ(dm().currentPresentation()->PresStockTotal, 2);
}

VELCARIS_DB_TEST_SUITE(Canje);

}  // namespace
