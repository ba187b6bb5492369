#include "sales/CounterTest.h"
#include "support/CheckoutSeed.h"
#include "support/Listings.h"

#include "db/procedures/Checkout.h"
#include "db/procedures/Returns.h"
#include "sales/UnitDevolucion.h"

#include <QDateTimeEdit>
#include <QLabel>
#include <QPushButton>

namespace {

using namespace testsupport;
using namespace testsupport::counter;
using db::proc::kDescargado;

class Returns : public CounterTest {
protected:
    static constexpr int kSale = 5;

    void SetUp() override {
        CounterTest::SetUp();
        if (IsSkipped())
            return;
        db().exec(QStringLiteral("UPDATE USUARIO SET UsuNombres = 'ROSA MARIA ' WHERE UsuCod = 2"));
        db().exec(QStringLiteral("UPDATE USUARIO SET UsuNombres = 'JUAN' WHERE UsuCod = 1"));
        const QDate today = clock.today();
        // Today: a line of 3 Panadol, a pending one, a returned one and another presentation.
        seedSale(db(), kSale, today, QStringLiteral("CAJA1-4"),
                 {{kPanadol, 3, "3.50", kDescargado},
                  {kPanadol, 2, "3.50"},
                  {kPanadol, 0, "3.50", db::proc::kDevuelto},
                  {kAmoxilTab, 1, "1.20", kDescargado}});
        // Yesterday's discharged line of the same presentation.
        seedSale(db(), 4, today.addDays(-1), QStringLiteral("CAJA1-4"),
                 {{kPanadol, 6, "3.50", kDescargado}});
    }

    sales::TFormDevolucion* open(int user, const char* password, const char* command) {
        openCounter(user, password);
        choose(QStringLiteral("PANADOL"), kPanadol);
        ctx().commands.run(QString::fromLatin1(command), ctx());
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* form = qobject_cast<sales::TFormDevolucion*>(w); form && form->isVisible())
                return form;
        return nullptr;
    }
    static int listed(QWidget* form) {
        return child<QTableView>(form, "DBGrid1")->model()->rowCount();
    }
    static void click(QWidget* form, const char* button) {
        child<QPushButton>(form, button)->click();
        EXPECT_TRUE(testsupport::waitForListings(form));
    }
    static void enter(QWidget* form, const QString& units, const char* button) {
        child<QLineEdit>(form, "EdStock")->setText(units);
        click(form, button);
    }
    int returns() { return count(db(), QStringLiteral("DEVOLUCION")); }
    // No return recorded and the stock as seeded.
    void expectNothingReturned() {
        EXPECT_EQ(returns(), 0);
        EXPECT_EQ(testsupport::stockOf(db(), kPanadol), 40);
    }
    QString stockShown() { return child<QLabel>(screen, "DBText8")->text(); }
};

TEST_P(Returns, ACashierListsTheDaysLinesButEveryReturnIsRefusedWithHerNames) {
    QPointer<sales::TFormDevolucion> form = open(2, "CLAVE2", "PMPresDevolucion");
    ASSERT_NE(form, nullptr);
    EXPECT_FALSE(child<QDateTimeEdit>(form, "F1")->isEnabled());
    EXPECT_FALSE(child<QDateTimeEdit>(form, "F2")->isEnabled());
    EXPECT_TRUE(child<QPushButton>(form, "Ingresar")->isVisible());
    EXPECT_FALSE(child<QPushButton>(form, "Ingresar")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(form, "IngresarAdmin")->isVisible());
    EXPECT_FALSE(child<QLineEdit>(form, "EdStock")->isVisible());

    click(form, "Consultar");
    EXPECT_EQ(listed(form), 1);  // not the pending, returned, other or yesterday's lines
    EXPECT_TRUE(child<QLineEdit>(form, "EdStock")->isVisible());
    EXPECT_TRUE(child<QPushButton>(form, "Ingresar")->isEnabled());
    enter(form, QStringLiteral("1"), "Ingresar");
    EXPECT_EQ(messages.last(),
              QStringLiteral("ROSA MARIA NO TIENES LA AUTORIZACION PARA\rREALIZAR ESTA OPERACION"));
    expectNothingReturned();
    form->close();
}

TEST_P(Returns, AnAdministratorsRangeMustEndAfterItStartsOrThePickersReset) {
    QPointer<sales::TFormDevolucion> form = open(1, "CLAVE1", "Devolucion1");
    ASSERT_NE(form, nullptr);
    auto* f1 = child<QDateTimeEdit>(form, "F1");
    auto* f2 = child<QDateTimeEdit>(form, "F2");
    EXPECT_TRUE(f1->isEnabled());
    EXPECT_TRUE(child<QPushButton>(form, "IngresarAdmin")->isVisible());
    EXPECT_FALSE(child<QPushButton>(form, "Ingresar")->isVisible());
    EXPECT_EQ(f1->dateTime(), clock.now().addDays(-1));
    EXPECT_EQ(f2->dateTime(), clock.now().addDays(1));
    f1->setDateTime(QDateTime(clock.today().addDays(-5), QTime(8, 0)));
    f2->setDateTime(f1->dateTime());
    messages.clear();
    click(form, "Consultar");
    EXPECT_EQ(messages.shown, QStringList{QStringLiteral("INGRESE CORRECTAMENTE LAS FECHAS...")});
    EXPECT_EQ(f1->dateTime(), QDateTime(clock.today().addDays(-1), QTime(8, 0)));
    EXPECT_EQ(f2->dateTime(), QDateTime(clock.today().addDays(1), QTime(8, 0)));
    EXPECT_EQ(listed(form), 0);
    form->close();
}

TEST_P(Returns, TooManyUnitsAreRefusedExactlyAndTheWholeLineComesBackIntoStock) {
    QPointer<sales::TFormDevolucion> form = open(1, "CLAVE1", "PMPresDevolucion");
    ASSERT_NE(form, nullptr);
    click(form, "Consultar");
    ASSERT_EQ(listed(form), 1);
    messages.clear();
    enter(form, QStringLiteral("4"), "IngresarAdmin");
    EXPECT_EQ(messages.shown, QStringList{QStringLiteral(
                                  "NO PUEDE SOBREPASAR LO COMPRADO...\r    COMPRE: 3\rNO PUEDO "
                                  "DEVOLVER: 4")});
    EXPECT_TRUE(child<QLineEdit>(form, "EdStock")->text().isEmpty());
    EXPECT_EQ(returns(), 0);

    enter(form, QStringLiteral("3"), "IngresarAdmin");
    EXPECT_EQ(child<QLabel>(form, "Mensaje")->text(),
              QStringLiteral("DEVUELTAS 3 UNIDADES DEL ITEM 1 DE LA VENTA Nº 5; QUEDAN 0"));
    EXPECT_EQ(listed(form), 0);
    EXPECT_EQ(returns(), 1);
    EXPECT_EQ(testsupport::stockOf(db(), kPanadol), 43);
    EXPECT_EQ(stockShown(), QStringLiteral("43"));
    EXPECT_TRUE(child<QLineEdit>(form, "EdStock")->text().isEmpty());
    form->close();
}

TEST_P(Returns, ALineReturnedMeanwhileOnAnotherWorkstationGetsTheProceduresRefusal) {
    QPointer<sales::TFormDevolucion> form = open(1, "CLAVE1", "PMPresDevolucion");
    ASSERT_NE(form, nullptr);
    click(form, "Consultar");
    ASSERT_EQ(listed(form), 1);
    const std::unique_ptr<db::Db> other = connectAnother();
    db::proc::IngresoDevolucionIn in;
    in.pCodPres = kPanadol;
    in.pDetaNumero = 1;
    in.pFacNum = kSale;
    in.pCanDevueltas = 3;
    in.pFacFecha = clock.now();
    ASSERT_EQ(db::proc::KZ_IngresoDevolucion(*other, in, clock.now()).resultado,
              db::proc::Devolucion::Devuelto);

    enter(form, QStringLiteral("2"), "IngresarAdmin");
    EXPECT_EQ(child<QLabel>(form, "Mensaje")->text(),
              QStringLiteral("ITEM 1 DE LA VENTA Nº 5 DEVUELTO: NO SE DEVUELVE"));
    EXPECT_EQ(returns(), 1);
    EXPECT_EQ(testsupport::stockOf(db(), kPanadol), 43);
    form->close();
}

TEST_P(Returns, AfterAReturnTheListingIsReadAgainForThePresentationItWasListedFor) {
    QPointer<sales::TFormDevolucion> form = open(1, "CLAVE1", "PMPresDevolucion");
    ASSERT_NE(form, nullptr);
    click(form, "Consultar");
    ASSERT_EQ(listed(form), 1);
    choose(QStringLiteral("AMOXIL"), kAmoxilTab);  // sold today too
    enter(form, QStringLiteral("3"), "IngresarAdmin");
    EXPECT_EQ(returns(), 1);
    EXPECT_EQ(listed(form), 0);
    form->close();
}

TEST_P(Returns, AReturnWhoseListingCannotBeReadAgainIsStillReportedAsMade) {
    QPointer<sales::TFormDevolucion> form = open(1, "CLAVE1", "PMPresDevolucion");
    ASSERT_NE(form, nullptr);
    click(form, "Consultar");
    ASSERT_EQ(listed(form), 1);
    db().exec(QStringLiteral("DROP TABLE FACTURA"));  // the listing reads it, the return does not
    messages.clear();
    enter(form, QStringLiteral("1"), "IngresarAdmin");
    EXPECT_EQ(returns(), 1);
    EXPECT_EQ(testsupport::stockOf(db(), kPanadol), 41);
    EXPECT_EQ(child<QLabel>(form, "Mensaje")->text(),
              QStringLiteral("DEVUELTAS 1 UNIDADES DEL ITEM 1 DE LA VENTA Nº 5; QUEDAN 2"));
    ASSERT_TRUE(testsupport::waitForListings(form));
    EXPECT_EQ(messages.shown, QStringList{QStringLiteral(
                                  "LA DEVOLUCION SE REALIZO, PERO NO SE PUDO LEER DE NUEVO LA "
                                  "LISTA...")});
    form->close();
}

TEST_P(Returns, EntriesThatAreNoPositiveWholeNumberWithinTheLineAreRefused) {
    QPointer<sales::TFormDevolucion> form = open(1, "CLAVE1", "PMPresDevolucion");
    ASSERT_NE(form, nullptr);
    click(form, "Consultar");
    const struct {
        const char* entry;
        const char* message;
    } cases[] = {
        {"", "INGRESE UN VALOR..."},
        {"0", "VALOR ERRONEO..."},
        {"-5", "NO SE PERMITEN VALORES NEGATIVOS"},
        {"5-5", "VALOR ERRONEO..."},
        {"99999999999999999999",
         "NO PUEDE SOBREPASAR LO COMPRADO...\r    COMPRE: 3\rNO PUEDO DEVOLVER: "
         "99999999999999999999"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        messages.clear();
        enter(form, QString::fromLatin1(c.entry), "IngresarAdmin");
        EXPECT_EQ(messages.shown, QStringList{QString::fromLatin1(c.message)});
        EXPECT_TRUE(child<QLineEdit>(form, "EdStock")->text().isEmpty());
    }
    typeText(child<QLineEdit>(form, "EdStock"), QStringLiteral("3A"));
    EXPECT_TRUE(child<QLineEdit>(form, "EdStock")->text().isEmpty());
    expectNothingReturned();
    form->close();
}

TEST_P(Returns, EnterInTheStartPickerEndsTheRangeTwoDaysLaterAtTheFirstSecond) {
    QPointer<sales::TFormDevolucion> form = open(1, "CLAVE1", "PMPresDevolucion");
    ASSERT_NE(form, nullptr);
    auto* f1 = child<QDateTimeEdit>(form, "F1");
    f1->setDateTime(QDateTime(QDate(2026, 2, 10), QTime(15, 0)));
    pressKey(f1, Qt::Key_Return);
    EXPECT_EQ(child<QDateTimeEdit>(form, "F2")->dateTime(),
              QDateTime(QDate(2026, 2, 12), QTime(0, 0, 1)));
    form->close();
}

VELCARIS_DB_TEST_SUITE(Returns);

}  // namespace
