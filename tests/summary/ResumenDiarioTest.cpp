#include "summary/SummaryFixture.h"
#include "support/Listings.h"

#include "db/procedures/Summary.h"
#include "summary/SummaryModule.h"
#include "summary/UnitResumenDiario.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using summary::TFormArchivoPlano;
using testsupport::summary::kToday;

namespace {

class ResumenDiario : public testsupport::summary::SummaryTest {
protected:
    void SetUp() override {
        SummaryTest::SetUp();
        if (IsSkipped())
            return;
        logIn(3, QStringLiteral("CAJERA"));
        window = std::make_unique<TFormArchivoPlano>(ctx());
        window->show();
    }
    void TearDown() override {
        window.reset();
        SummaryTest::TearDown();
    }

    template <class W>
    W* control(const char* name) {
        return window->findChild<W*>(QString::fromLatin1(name));
    }
    QTableView* grid() { return control<QTableView>("DBGrid2"); }
    void press(const char* button) {
        control<QPushButton>(button)->click();
        EXPECT_TRUE(testsupport::waitForListings(window.get()));
    }
    int rows() { return grid()->model()->rowCount(); }
    QString cell(int row, int column) {
        return grid()->model()->index(row, column).data().toString();
    }
    bool ticked(int row) {
        return grid()->model()->index(row, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked;
    }
    void clickCell(int row, int column) {
        const QPoint at = grid()->visualRect(grid()->model()->index(row, column)).center();
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, at);
    }

    std::unique_ptr<TFormArchivoPlano> window;
};

TEST_P(ResumenDiario, ShowsItsControlsAndAnEmptyListUntilMostrar) {
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Generar archivo plano"));
    boleta(1, kToday, {{101, 1, "5.00"}});
    EXPECT_EQ(rows(), 0);
    QComboBox* days = control<QComboBox>("ComboBox1");
    ASSERT_EQ(days->count(), 7);
    EXPECT_EQ(days->itemText(0), QStringLiteral("1"));
    EXPECT_EQ(days->itemText(6), QStringLiteral("7"));
    EXPECT_EQ(days->currentText(), QStringLiteral("1"));
    EXPECT_TRUE(control<QLineEdit>("EdRuta")->isReadOnly());
    EXPECT_EQ(control<QLineEdit>("EdRuta")->text(), folder());
    const QStringList titles{
        "H/I",     "N° BOLETA", "TIPO",           "FECHA DE VENTA", "N° VENTA INTERNA",
        "USUARIO", "ESTADO",    "PUNTO DE VENTA", "SERIE SUNAT"};
    for (int c = 0; c < titles.size(); ++c)
        EXPECT_EQ(grid()->model()->headerData(c, Qt::Horizontal).toString(), titles[c]);
}

TEST_P(ResumenDiario, MostrarListsTheChosenDaysAndSetsThePickerToToday) {
    boleta(1, kToday, {{101, 1, "5.00"}});
    boleta(2, kToday.addDays(-2), {{101, 1, "5.00"}});
    control<QDateEdit>("DateTimePicker1")->setDate(kToday.addDays(-9));
    press("BitBtn1");
    EXPECT_EQ(control<QDateEdit>("DateTimePicker1")->date(), kToday);
    ASSERT_EQ(rows(), 1);
    EXPECT_EQ(cell(0, 4), QStringLiteral("1"));
    EXPECT_EQ(cell(0, 2), QStringLiteral("BOLETA DE VENTA"));
    EXPECT_EQ(cell(0, 7), QStringLiteral("CAJA1-5"));
    EXPECT_TRUE(ticked(0));
    control<QComboBox>("ComboBox1")->setCurrentIndex(2);
    press("BitBtn1");
    EXPECT_EQ(rows(), 2);
}

// A cashier's day: three boletas and a factura, one boleta left for later.
TEST_P(ResumenDiario, AnUntickedBoletaWaitsForTheNextSummaryWhileTheFirstStaysAsItWas) {
    boleta(1, kToday, {{101, 2, "29.50"}});
    boleta(2, kToday, {{101, 1, "10.00"}});
    discharge(3, kToday, {{101, 1, "99.00"}}, db::proc::kFactura);
    boleta(4, kToday, {{101, 3, "2.00"}});
    press("BitBtn1");
    ASSERT_EQ(rows(), 3);

    clickCell(1, 0);
    EXPECT_FALSE(ticked(1));
    EXPECT_EQ(cell(1, 4), QStringLiteral("2"));
    press("BitBtn4");
    EXPECT_EQ(messages.last(), QStringLiteral("ARCHIVO PLANO GENERADO"));
    const QByteArray first = file(1, ".rdi");
    EXPECT_EQ(first.count("\r\n"), 2);
    EXPECT_TRUE(first.contains("|B001-1|1|11111111|PEN|50.00|0.00|0|0|0|0|59.00|"));
    EXPECT_TRUE(first.contains("|B001-3|1|11111111|PEN|5.08|0.00|0|0|0|0|6.00|"));
    EXPECT_EQ(reportedCount(), 2);

    press("BitBtn1");
    ASSERT_EQ(rows(), 1);
    EXPECT_FALSE(ticked(0));
    clickCell(0, 0);
    EXPECT_TRUE(ticked(0));
    press("BitBtn4");
    EXPECT_EQ(messages.last(), QStringLiteral("ARCHIVO PLANO GENERADO"));
    EXPECT_TRUE(file(2, ".rdi").contains("|B001-2|1|11111111|PEN|8.47|0.00|0|0|0|0|10.00|"));
    EXPECT_EQ(file(1, ".rdi"), first);
    EXPECT_EQ(rows(), 0);

    press("BitBtn4");
    EXPECT_EQ(messages.last(), QStringLiteral("NO HAY VALORES PARA MOSTRAR"));
    EXPECT_EQ(summaries(), 2);
}

TEST_P(ResumenDiario, AClickOutsideTheCheckColumnChangesNothing) {
    boleta(1, kToday, {{101, 1, "5.00"}});
    press("BitBtn1");
    clickCell(0, 3);
    EXPECT_TRUE(ticked(0));
    EXPECT_EQ(db::proc::summaryBoletas(db(), core::saleDay(kToday)).at(0).FacEstadoSunat, true);
}

TEST_P(ResumenDiario, AClickOnABoletaAnotherWorkstationReportedDropsItFromTheList) {
    boleta(1, kToday, {{101, 1, "5.00"}});
    press("BitBtn1");
    auto other = connectAnother();
    summary::DailySummary(*other, platform).generate(clock.now(), 4);
    clickCell(0, 0);
    EXPECT_EQ(rows(), 0);
    press("BitBtn4");
    EXPECT_EQ(messages.last(), QStringLiteral("NO HAY VALORES PARA MOSTRAR"));
}

TEST_P(ResumenDiario, AFailedGenerationSaysSoAndMarksNothing) {
    boleta(1, kToday, {{101, 1, "5.00"}});
    platform.removeDrive(QLatin1Char('D'));
    press("BitBtn4");
    EXPECT_EQ(messages.last(), QStringLiteral("ERROR, NO SE GENERO EL ARCHIVO PLANO"));
    EXPECT_EQ(reportedCount(), 0);
}

TEST_P(ResumenDiario, TheSummaryRecordsTheUserLoggedIn) {
    boleta(1, kToday, {{101, 1, "5.00"}});
    press("BitBtn4");
    EXPECT_EQ(db::integer(db().scalar(QStringLiteral("SELECT UsuCod FROM RESUMEN"))), 3);
}

TEST_P(ResumenDiario, BoletasShowsTheOneSummaryWindow) {
    summary::registerSummary(ctx());
    ASSERT_TRUE(ctx().commands.has(QStringLiteral("Boletas1")));
    ctx().commands.run(QStringLiteral("Boletas1"), ctx());
    QWidget* shown = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != window.get() && qobject_cast<TFormArchivoPlano*>(w) && w->isVisible())
            shown = w;
    ASSERT_NE(shown, nullptr);
    shown->hide();
    ctx().commands.run(QStringLiteral("Boletas1"), ctx());
    EXPECT_TRUE(shown->isVisible());
    int windows = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        windows += w != window.get() && qobject_cast<TFormArchivoPlano*>(w) ? 1 : 0;
    EXPECT_EQ(windows, 1);
    delete shown;
}

VELCARIS_DB_TEST_SUITE(ResumenDiario);

}  // namespace
