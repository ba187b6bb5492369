#include "sales/CounterTest.h"
#include "support/CheckoutSeed.h"

#include "db/procedures/Checkout.h"
#include "db/procedures/SearchCommands.h"
#include "sales/PresentationCommands.h"
#include "sales/UnitDevolucion.h"
#include "session/CommandRules.h"

#include <gtest/gtest.h>

namespace {

using namespace testsupport;
using namespace testsupport::counter;
using db::proc::SeguimientoRow;

const QDateTime kReport(QDate(2026, 3, 2), QTime(9, 5, 7));
const QString kHeader = QStringLiteral(
    "CODIGO PRESENTACION: 20\rPANADOL 500 MG\rFECHA DE REPORTE: 02/03/2026 9:05:07\r\r"
    "CAN.   PC.       PV.     VENDE.  FECHA DE VENTA            TICKET\r\r");

SeguimientoRow sold(int units, const char* cost, const char* price, int ticket = 7) {
    return {units,
            money(cost),
            money(price),
            QStringLiteral("CAJA1-4"),
            QDateTime(QDate(2026, 3, 1), QTime(18, 4, 9)),
            ticket};
}

QString history(const std::vector<SeguimientoRow>& rows) {
    return sales::salesHistoryText(20, QStringLiteral("PANADOL 500 MG "), kReport, rows);
}

TEST(SalesHistoryText, ShortAmountsAndQuantitiesKeepTheirColumnsWithALeadingZero) {
    EXPECT_EQ(history({sold(5, "2.50", "3.00")}),
              kHeader + QStringLiteral("    05  02.50  03.00    CAJA1-4  01/03/2026 18:04:09   7"));
    EXPECT_EQ(history({sold(12, "15.00", "20.00")}),
              kHeader + QStringLiteral("    12  15.00  20.00  CAJA1-4  01/03/2026 18:04:09   7"));
    // A cost of 1.00 or less is not "small": no leading zero for it, none for the price either.
    EXPECT_EQ(history({sold(3, "0.50", "1.20")}),
              kHeader + QStringLiteral("    03  0.50  1.20    CAJA1-4  01/03/2026 18:04:09   7"));
    EXPECT_EQ(history({sold(10, "2.00", "12.00")}),
              kHeader + QStringLiteral("    10  02.00  12.00  CAJA1-4  01/03/2026 18:04:09   7"));
    EXPECT_EQ(history({sold(10, "12.00", "9.50")}),
              kHeader + QStringLiteral("    10  12.00  09.50  CAJA1-4  01/03/2026 18:04:09   7"));
}

TEST(SalesHistoryText, FifteenLinesAtMostOneLineEachAndNothingWithoutSales) {
    std::vector<SeguimientoRow> rows;
    for (int i = 0; i < 20; ++i)
        rows.push_back(sold(12, "15.00", "20.00", 100 - i));
    const QStringList lines = history(rows).split(QLatin1Char('\r'));
    EXPECT_EQ(lines.size(), 6 + 15);
    EXPECT_TRUE(lines.last().endsWith(QStringLiteral("   86")));
    EXPECT_EQ(history({}), QString());
}

class PresentationCommands : public CounterTest {
protected:
    void SetUp() override {
        CounterTest::SetUp();
        if (IsSkipped())
            return;
        seedUser(db(), 4, QStringLiteral("QF"), QStringLiteral("CLAVE4"),
                 QStringLiteral("QUIMICO FARMACEUTICO"), QStringLiteral("ACTIVO"),
                 QStringLiteral("LUCIA"));
        seedUser(db(), 5, QStringLiteral("AUX"), QStringLiteral("CLAVE5"),
                 QStringLiteral("AUXILIAR"));
    }
    bool run(const char* control) {
        return ctx().commands.run(QString::fromLatin1(control), ctx());
    }
    void closeReturnsWindows() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<sales::TFormDevolucion*>(w))
                w->close();
    }
    QString linkState(int link) { return db::proc::prodLabEstado(db(), link); }
};

TEST_P(PresentationCommands, EachItemPassesTheRolesOfItsGroup) {
    const struct {
        int user;
        const char* password;
        std::vector<bool> passes;  // Desasignar, Activo/Inactivo, Borrar, Seguimiento, Devolucion
    } users[] = {
        {1, "CLAVE1", {true, true, true, true, true}},
        {4, "CLAVE4", {true, true, false, true, true}},
        {2, "CLAVE2", {true, true, true, true, true}},
        {3, "CLAVE3", {false, false, false, true, true}},
        {5, "CLAVE5", {false, false, false, true, true}},
    };
    const char* items[] = {"PMProdDesasignar", "PMProdActivoInactivo", "PMPresBorrar",
                           "PMPresSeguimiento", "PMPresDevolucion"};
    for (const auto& u : users) {
        openCounter(u.user, u.password);
        for (std::size_t i = 0; i < std::size(items); ++i) {
            SCOPED_TRACE(std::string(items[i]) + " user " + std::to_string(u.user));
            EXPECT_TRUE(ctx().commands.has(QString::fromLatin1(items[i])));
            EXPECT_EQ(run(items[i]), u.passes[i]);
        }
        closeReturnsWindows();
    }
}

TEST_P(PresentationCommands, APharmacistsDeletionIsRefusedNamingTheProduct) {
    openCounter(4, "CLAVE4");
    choose(QStringLiteral("PANADOL"), kPanadol);
    run("PMPresBorrar");
    EXPECT_EQ(messages.last(), QStringLiteral("LUCIA NO TIENES LA AUTORIZACION PARA\rREALIZAR ESTA "
                                              "OPERACION DE ELIMINAR A\rPANADOL"));
    EXPECT_TRUE(messages.asked.isEmpty());
}

TEST_P(PresentationCommands, TheStateSwitchAsksByStateAndChangesOnlyOnYes) {
    openCounter();
    search(QStringLiteral("PANADOL"));
    run("PMProdActivoInactivo");
    EXPECT_EQ(messages.asked.last(), QStringLiteral("DESEA INACTIVAR\rEL PRODUCTO:   PANADOL/GSK"));
    EXPECT_EQ(linkState(5), QStringLiteral("ACTIVO"));

    search(QStringLiteral("AMOBAN"));
    messages.answers = {true};
    run("PMProdActivoInactivo");
    EXPECT_EQ(messages.asked.last(),
              QStringLiteral("DESEA ACTIVAR\rEL PRODUCTO:   AMOBAN/MEDIFARMA"));
    EXPECT_EQ(linkState(4), QStringLiteral("ACTIVO"));
    EXPECT_EQ(messages.last(), QStringLiteral("PRODUCTO-LABORATORIO ACTIVO"));
    EXPECT_EQ(dm().currentProduct()->ProdNomComercial, QStringLiteral("AMOBAN"));
    EXPECT_EQ(dm().currentProduct()->ProdLabEstado, QStringLiteral("ACTIVO"));
    EXPECT_TRUE(child<QLineEdit>(screen, "EdNombre")->hasFocus());
}

TEST_P(PresentationCommands, DeletionIsRefusedWithStockAndAfterASaleAndDoneOtherwise) {
    openCounter();
    choose(QStringLiteral("PANADOL"), kPanadol);
    messages.answers = {true};
    run("PMPresBorrar");
    EXPECT_EQ(
        messages.asked.last(),
        QStringLiteral("DESEA BORRAR:\rLA PRESENTACION:   PANADOL 500 MG\rPERMANENTEMENTE..."));
    EXPECT_EQ(messages.last(),
              QStringLiteral("NO SE PUEDE BORRAR LA PRESENTACION: TIENE STOCK (40)"));

    db().exec(QStringLiteral("UPDATE PRESENTACION SET PresStockTotal = 0"));
    seedSale(db(), 9, clock.today(), QStringLiteral("CAJA1-4"),
             {{kPanadol, 1, "3.50", db::proc::kDescargado}});
    messages.answers = {true};
    run("PMPresBorrar");
    EXPECT_EQ(messages.last(), QStringLiteral("NO SE PUEDE BORRAR LA PRESENTACION: TIENE VENTAS"));

    choose(QStringLiteral("AMOXIL"), kAmoxilSusp);  // stock 0, never sold
    messages.answers = {true};
    run("PMPresBorrar");
    EXPECT_EQ(messages.last(), QStringLiteral("PRESENTACION BORRADA"));
    for (const auto& p : dm().presentations())
        EXPECT_NE(p.CodPresentacion, kAmoxilSusp);
}

TEST_P(PresentationCommands, TheHistoryShowsTheSaleInOneBoxAndNothingForOneNeverSold) {
    openCounter();
    choose(QStringLiteral("PANADOL"), kPanadol);
    seedSale(db(), 9, clock.today(), QStringLiteral("CAJA1-4"),
             {{kPanadol, 3, "3.50", db::proc::kDescargado}});
    messages.clear();
    run("PMPresSeguimiento");
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(
        messages.last().startsWith(QStringLiteral("CODIGO PRESENTACION: 20\rPANADOL 500 MG")));
    EXPECT_TRUE(messages.last().endsWith(
        QStringLiteral("    03  0.00  3.50    CAJA1-4  02/03/2026 0:00:01   9")));
    choose(QStringLiteral("AMOXIL"), kAmoxilTab);
    messages.clear();
    run("PMPresSeguimiento");
    EXPECT_TRUE(messages.shown.isEmpty());
}

VELCARIS_DB_TEST_SUITE(PresentationCommands);

}  // namespace
