#include "support/CheckoutSeed.h"
#include "support/DbTest.h"
#include "support/Keys.h"
#include "support/Seed.h"
#include "support/WindowTest.h"

#include "core/Password.h"
#include "db/procedures/Checkout.h"
#include "db/procedures/Monitor.h"
#include "program/Program.h"
#include "sales/UnitVentasTodo.h"
#include "shell/UnitPrincipal.h"
#include "ui/Palette.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <memory>

using namespace db::proc;
using namespace testsupport;

namespace {

const QDate kToday(2026, 3, 2);

class MonitorReads : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped())
            return;
        seedPresentation(db(), 101, QStringLiteral("PARACETAMOL 500MG"), 100);
    }

    // A sale of one line at a moment of its own.
    void saleAt(int facNumero, const QDateTime& at, const char* amount, const QString& estado) {
        db().exec(QStringLiteral("INSERT INTO FACTURA (FacNumero, FacFecha, FacHostName, "
                                 "FacEstado) VALUES (?, ?, 'CAJA1-4', ?)"),
                  {facNumero, at, estado});
        db().exec(QStringLiteral("INSERT INTO DETAFAC (FacNumero, FacFecha, DetaNumero, "
                                 "CodPresentacion, Cantidad, Importe, Estado) "
                                 "VALUES (?, ?, 1, 101, 1, ?, ?)"),
                  {facNumero, at, QVariant::fromValue(money(amount)), estado});
    }
};

TEST_P(MonitorReads, ASaleInThreeStatesGivesThreeRowsEachWithItsOwnSum) {
    seedSale(db(), 1, kToday, QStringLiteral("CAJA1-4"),
             {{101, 1, "2", kDescargado},
              {101, 2, "3", kDevuelto},
              {101, 1, "4"},
              {101, 1, "5", kDescargado}});
    seedSale(db(), 2, kToday, QStringLiteral("CAJA1-4"), {{101, 1, "1"}});

    const std::vector<DaySale> rows = daySales(db(), core::salesMonitorDay(kToday, 0));

    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].FacNumero, 1);
    EXPECT_EQ(rows[0].Estado, kDescargado);
    EXPECT_EQ(rows[0].TOTAL, money("7"));
    EXPECT_EQ(rows[1].Estado, kDevuelto);
    EXPECT_EQ(rows[1].TOTAL, money("6"));
    EXPECT_EQ(rows[2].Estado, kNoDescargado);
    EXPECT_EQ(rows[3].FacNumero, 2);
}

TEST_P(MonitorReads, TheLastSecondOfADayAndTheFirstOfTheNextStayApart) {
    saleAt(1, QDateTime(kToday.addDays(-1), core::kDayLastSecond), "10", kNoDescargado);
    saleAt(1, QDateTime(kToday, core::kDayFirstSecond), "20", kNoDescargado);
    saleAt(1, QDateTime(kToday, core::kDayLastSecond), "30", kDescargado);
    saleAt(1, QDateTime(kToday.addDays(1), core::kDayFirstSecond), "40", kNoDescargado);

    const core::DateTimeRange today = core::salesMonitorDay(kToday, 0);
    const std::vector<DaySale> rows = daySales(db(), today);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].TOTAL, money("30"));
    EXPECT_EQ(rows[1].TOTAL, money("20"));
    EXPECT_EQ(undischargedSales(db(), today), 1);
    EXPECT_EQ(saleTotal(db(), 1, core::salesMonitorDay(kToday, -1)), money("10"));
}

TEST_P(MonitorReads, TheCountIsOfTheDaysSalesNotDischarged) {
    seedSale(db(), 1, kToday, QStringLiteral("CAJA1-4"), {{101, 1, "1"}});
    seedSale(db(), 2, kToday, QStringLiteral("CAJA1-4"), {{101, 1, "1"}});
    seedSale(db(), 3, kToday, QStringLiteral("CAJA1-4"), {{101, 1, "1", kDescargado}});
    setSaleReceipt(db(), 3, kToday, kDescargado, kNotaDeVenta);
    seedSale(db(), 1, kToday.addDays(-1), QStringLiteral("CAJA1-4"), {{101, 1, "1"}});

    EXPECT_EQ(undischargedSales(db(), core::salesMonitorDay(kToday, 0)), 2);
    EXPECT_EQ(undischargedSales(db(), core::salesMonitorDay(kToday, -1)), 1);
    EXPECT_EQ(undischargedSales(db(), core::salesMonitorDay(kToday, -2)), 0);
}

class Monitor : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        if (IsSkipped())
            return;
        seedPresentation(db(), 101, QStringLiteral("PARACETAMOL 500MG"), 100);
        seedPresentation(db(), 102, QStringLiteral("IBUPROFENO 400MG"), 100);
    }

    void TearDown() override {
        delete form.data();
        principal.reset();
        WindowTest::TearDown();
    }

    void logInAs(int code, const QString& login, const QString& role) {
        seedUser(db(), code, login, QStringLiteral("CLAVE"), role, QStringLiteral("ACTIVO"),
                 login.toUpper());
        ASSERT_EQ(dm().openAccess(code, core::Encripta(QStringLiteral("CLAVE"))), 1);
        session().logIn(code, login, 0, false);
    }

    QDate today() const { return clock.today(); }
    void sale(int number, const QDate& day, const std::vector<SeedLine>& lines) {
        seedSale(db(), number, day, QStringLiteral("CAJA2-7"), lines);
    }

    // A new monitor as its opener shows it, once its start-up refresh has run.
    void open() {
        delete form.data();
        form = sales::openSalesMonitor(ctx());
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form));
        ASSERT_TRUE(QTest::qWaitFor([this] {
            return form->windowTitle().startsWith(QStringLiteral("PERSONAL DE TURNO: "));
        }));
    }

    template <class W = QWidget>
    W* get(const char* name) const {
        return child<W>(form, name);
    }
    QLineEdit* numberBox() const { return get<QLineEdit>("EdFacNumero"); }
    QTableView* list() const { return get<QTableView>("DBGrid3"); }
    QTableView* lines() const { return get<QTableView>("DBGrid1"); }
    QString textOf(const char* label) const { return get<QLabel>(label)->text(); }
    QColor captionColour(const char* button) const {
        return get(button)->palette().color(QPalette::ButtonText);
    }
    static QStringList column(QTableView* grid, int c, int role = Qt::DisplayRole) {
        QStringList out;
        for (int r = 0; r < grid->model()->rowCount(); ++r) {
            const QVariant v = grid->model()->index(r, c).data(role);
            out << (role == Qt::ForegroundRole ? v.value<QBrush>().color().name() : v.toString());
        }
        return out;
    }
    void load(const QString& number) {
        numberBox()->clear();
        typeText(numberBox(), number);
        pressKey(numberBox(), Qt::Key_Return);
    }

    std::unique_ptr<shell::TPRINCIPAL> principal;
    QPointer<sales::TFormVentasTodo> form;
};

TEST_P(Monitor, ACashierIsRefusedAndAPharmacistOpensANewMonitorEachTime) {
    program::registerSubsystems(ctx());
    principal = std::make_unique<shell::TPRINCIPAL>(ctx());
    logInAs(7, QStringLiteral("rosa"), QStringLiteral("CAJERO"));
    QMdiArea* area = principal->mdiArea();
    const int before = int(area->subWindowList().size());
    principal->findChild<QAction*>(QStringLiteral("Exit1"))->trigger();
    EXPECT_EQ(messages.last(), QStringLiteral("ROSA NO TIENES LA AUTORIZACION PARA\r"
                                              "REALIZAR ESTA OPERACION DE INGRESO..."));
    EXPECT_EQ(area->subWindowList().size(), before);

    logInAs(8, QStringLiteral("pilar"), QStringLiteral("QUIMICO FARMACEUTICO"));
    principal->findChild<QAction*>(QStringLiteral("Exit1"))->trigger();
    principal->findChild<QAction*>(QStringLiteral("Exit1"))->trigger();
    int monitors = 0;
    for (QMdiSubWindow* w : area->subWindowList())
        monitors += qobject_cast<sales::TFormVentasTodo*>(w->widget()) ? 1 : 0;
    EXPECT_EQ(monitors, 2);
}

TEST_P(Monitor, DayOneListsYesterdayAndActivationReturnsToTodayWithHoyRed) {
    logInAs(8, QStringLiteral("pilar"), QStringLiteral("ADMINISTRADOR"));
    sale(1, today(), {{101, 1, "5"}});
    sale(4, today().addDays(-1), {{101, 2, "3"}});
    sale(2, today().addDays(-1), {{102, 1, "7"}});
    sale(3, today().addDays(-1), {{101, 1, "1", kDescargado}});
    setSaleReceipt(db(), 3, today().addDays(-1), kDescargado, kNotaDeVenta);
    open();
    EXPECT_EQ(column(list(), 0), QStringList{QStringLiteral("1")});
    EXPECT_EQ(textOf("ST"), QStringLiteral("NO DESCARGADOS: 1"));

    get<QPushButton>("SpeedButton2")->click();

    EXPECT_EQ(column(list(), 0), (QStringList{"2", "3", "4"}));
    EXPECT_EQ(numberBox()->text(), QStringLiteral("2"));
    EXPECT_EQ(column(lines(), 3), QStringList{QStringLiteral("IBUPROFENO 400MG")});
    EXPECT_EQ(textOf("Total"), QStringLiteral("7"));
    EXPECT_EQ(textOf("PC"), QStringLiteral("CAJA2-7"));
    EXPECT_EQ(textOf("ST"), QStringLiteral("NO DESCARGADOS: 2"));
    EXPECT_EQ(captionColour("SpeedButton2"), ui::palette::red);
    EXPECT_EQ(captionColour("SpeedButton11"), ui::palette::black);

    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    EXPECT_EQ(column(list(), 0), QStringList{QStringLiteral("1")});
    EXPECT_EQ(textOf("ST"), QStringLiteral("NO DESCARGADOS: 1"));
    EXPECT_EQ(captionColour("SpeedButton11"), ui::palette::red);
    EXPECT_EQ(captionColour("SpeedButton2"), ui::palette::black);
}

TEST_P(Monitor, ASaleInThreeStatesGivesThreeRowsColouredByState) {
    logInAs(8, QStringLiteral("pilar"), QStringLiteral("ADMINISTRADOR"));
    sale(5, today(), {{101, 1, "2", kDescargado}, {102, 1, "3", kDevuelto}, {101, 1, "4"}});
    open();
    EXPECT_EQ(column(list(), 2), (QStringList{kDescargado, kDevuelto, kNoDescargado}));
    const QString red = ui::palette::red.name();
    const QString blue = ui::palette::blue.name();
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(column(list(), c, Qt::ForegroundRole), (QStringList{red, red, blue})) << c;
}

TEST_P(Monitor, TheStartUpLoadsTheOnlySaleOfTheDayAndNoneLeavesTheNumberEmpty) {
    logInAs(8, QStringLiteral("pilar"), QStringLiteral("ADMINISTRADOR"));
    open();
    EXPECT_EQ(numberBox()->text(), QString());
    EXPECT_EQ(lines()->model()->rowCount(), 0);

    sale(9, today(), {{101, 2, "1.50"}});
    open();
    EXPECT_EQ(numberBox()->text(), QStringLiteral("9"));
    EXPECT_EQ(column(lines(), 3), QStringList{QStringLiteral("PARACETAMOL 500MG")});
    EXPECT_EQ(lines()->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("FECHA"));
    const auto background = [this](int c) {
        return lines()->model()->index(0, c).data(Qt::BackgroundRole).value<QBrush>().color();
    };
    EXPECT_EQ(background(1), ui::palette::infoBackground);  // "ESTADO", after the date
    EXPECT_NE(background(0), ui::palette::infoBackground);
    EXPECT_EQ(textOf("Total"), QStringLiteral("3"));
    EXPECT_EQ(textOf("PC"), QStringLiteral("CAJA2-7"));
}

TEST_P(Monitor, ANumberTypedOnDayTwoLoadsDayTwosSaleNotTodays) {
    logInAs(8, QStringLiteral("pilar"), QStringLiteral("ADMINISTRADOR"));
    sale(1, today(), {{101, 1, "5"}});
    sale(1, today().addDays(-2), {{102, 3, "2"}});
    open();
    get<QPushButton>("SpeedButton3")->click();
    load(QStringLiteral("1"));
    EXPECT_EQ(column(lines(), 3), QStringList{QStringLiteral("IBUPROFENO 400MG")});
    EXPECT_EQ(textOf("Total"), QStringLiteral("6"));
    EXPECT_TRUE(column(lines(), 0)
                    .front()
                    .startsWith(today().addDays(-2).toString(QStringLiteral("dd/MM/yyyy"))));
}

}  // namespace

VELCARIS_DB_TEST_SUITE(MonitorReads);
VELCARIS_DB_TEST_SUITE(Monitor);
