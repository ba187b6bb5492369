#include "stock/StockTest.h"

#include "catalogue/UnitPresentacion.h"
#include "sales/SalesCounter.h"

#include <QApplication>

using namespace testsupport;
using ::stock::TFormFecha;
using ::stock::TFrmMasStock;

namespace {

class Fecha : public stockwin::StockTest {
protected:
    TFormFecha* open(int user = 1) { return openAs<TFormFecha>(user, "PMPresCaducidad"); }
    void save(TFormFecha* w, int units) {
        typeInto(w, "Stock", QString::number(units));
        click(w, "Grabar");
    }
    QDateTime savedExpiry() {
        return db::dateTime(db().scalar(QStringLiteral("SELECT KarInFechaCad FROM KARDEXINGRESO")));
    }
};

TEST_P(Fecha, TheDefaultExpirySavesTheFirstOfThatMonthAtTheTimeOfDay) {
    TFormFecha* w = open();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("PRESENTACION:  AMOXIL 500 MG TAB"));
    fillDocument(w, "CbTipoDocumento", QStringLiteral("ALMACEN BRISA"), QStringLiteral("C-77"));
    child<QComboBox>(w, "CbTipoDocumento")->setEditText(QStringLiteral("COMPROBANTE"));
    save(w, 12);
    // 2 March + 90 days is 31 May.
    EXPECT_EQ(savedExpiry(), QDateTime(QDate(2026, 5, 1), QTime(9, 0)));
    EXPECT_EQ(tablets().PresStockTotal, 17);
    EXPECT_EQ(text(w, "Mensaje"), QStringLiteral("INGRESO REALIZADO CORRECTAMENTE"));
    EXPECT_EQ(text(w, "Stock"), QString());
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(dm().currentPresentation()->PresStockTotal, 17);
}

TEST_P(Fecha, AlmacenBrisaGivesComprobante) {
    TFormFecha* w = open();
    supplier(w)->setEditText(QStringLiteral("ALMACEN BRISA"));
    EXPECT_EQ(text(w, "CbTipoDocumento"), QStringLiteral("COMPROBANTE"));
}

TEST_P(Fecha, TodaysExpiryIsRefusedAndTheChosenDocumentStays) {
    TFormFecha* w = open();
    fillDocument(w, "CbTipoDocumento");
    child<QDateTimeEdit>(w, "DateTimePicker2")->setDateTime(clock.now());
    save(w, 3);
    EXPECT_EQ(messages.shown, QStringList{"INGRESE FECHA CORRECTA"});
    EXPECT_EQ(counter::count(db(), QStringLiteral("KARDEXINGRESO")), 0);
    EXPECT_EQ(text(w, "CBProveedor"), QStringLiteral("SAUCAL"));
}

TEST_P(Fecha, ACashierMayFillTheWindowButTheSaveIsRefused) {
    TFormFecha* w = open(2);
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(child<QLineEdit>(w, "FechIngre")->isEnabled());
    fillDocument(w, "CbTipoDocumento");
    save(w, 3);
    EXPECT_EQ(messages.last(),
              QStringLiteral(" NO TIENES LA AUTORIZACION PARA\rREALIZAR ESTA OPERACION"));
    EXPECT_EQ(tablets().PresStockTotal, 5);
}

TEST_P(Fecha, ASupplierNoSupplierHasIsRefusedWithItsMessage) {
    TFormFecha* w = open();
    fillDocument(w, "CbTipoDocumento", QStringLiteral("DROGUERIA NORTE"));
    save(w, 3);
    EXPECT_EQ(messages.last(), QStringLiteral("NO EXISTE EL PROVEEDOR"));
    EXPECT_EQ(tablets().PresStockTotal, 5);
    EXPECT_EQ(text(w, "Stock"), QStringLiteral("3"));
}

// The units box keeps every digit a stock can hold: a count is saved whole or refused, never
// cut to a smaller one.
TEST_P(Fecha, TheUnitsAreSavedWholeOrRefusedAboveWhatAStockHolds) {
    struct Case {
        const char* typed;
        const char* shown;
        int stockAfter;
        const char* message;
    };
    const Case cases[] = {
        {"12000", "12000", 12005, nullptr},
        {"40000", "40000", 5, "CANTIDAD ERRONEA:\rNO SE ACEPTAN MAS DE 32767 UNIDADES"},
        {"1234567", "123456", 5, "CANTIDAD ERRONEA:\rNO SE ACEPTAN MAS DE 32767 UNIDADES"},
    };
    for (const Case& c : cases) {
        db().exec(QStringLiteral("DELETE FROM KARDEXINGRESO"));
        db().exec(QStringLiteral("DELETE FROM PRESFECHCAD"));
        db().exec(QStringLiteral("UPDATE PRESENTACION SET PresStockTotal = 5 WHERE "
                                 "CodPresentacion = ?"),
                  {kAmoxilTab});
        messages.clear();
        TFormFecha* w = open();
        fillDocument(w, "CbTipoDocumento");
        typeInto(w, "Stock", QString::fromLatin1(c.typed));
        EXPECT_EQ(text(w, "Stock"), QString::fromLatin1(c.shown)) << c.typed;
        click(w, "Grabar");
        EXPECT_EQ(tablets().PresStockTotal, c.stockAfter) << c.typed;
        EXPECT_EQ(counter::count(db(), QStringLiteral("KARDEXINGRESO")), c.message ? 0 : 1);
        if (c.message)
            EXPECT_EQ(messages.last(), QString::fromLatin1(c.message)) << c.typed;
        w->close();
        settle();
    }
}

TEST_P(Fecha, TheRememberedTextsFillTheNextWindowOfEitherKind) {
    TFormFecha* w = open();
    fillDocument(w, "CbTipoDocumento", QStringLiteral("DROGUERIA SUR"), QStringLiteral("F1-20"));
    save(w, 2);
    w->close();
    settle();
    run("PMPresMasStock");
    TFrmMasStock* intake = shown<TFrmMasStock>();
    ASSERT_NE(intake, nullptr);
    EXPECT_EQ(text(intake, "CBProveedor"), QStringLiteral("DROGUERIA SUR"));
    EXPECT_EQ(text(intake, "EdNumDoc"), QStringLiteral("F1-20"));
    EXPECT_EQ(text(intake, "CBTipoDocumento"), QStringLiteral("FACTURA"));
    fillDocument(intake, "CBTipoDocumento", QStringLiteral("SAUCAL"), QStringLiteral("NE-3"));
    typeInto(intake, "Pc", QStringLiteral("1"));
    typeInto(intake, "Stock", QStringLiteral("4"));
    click(intake, "Ingreso");
    click(intake, "Salir");
    run("PMPresCaducidad");
    TFormFecha* next = shown<TFormFecha>();
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(text(next, "CBProveedor"), QStringLiteral("SAUCAL"));
    EXPECT_EQ(text(next, "EdNumDoc"), QStringLiteral("NE-3"));
    EXPECT_EQ(text(next, "CbTipoDocumento"), QStringLiteral("NOTA DE ENVIO"));
}

TEST_P(Fecha, ThePeriodKeyOpensItUnderTheCaducidadRule) {
    logInAs(5);
    standOnTablets();
    salesCounter().run(sales::SalesCounter::Command::ExpiryDate);
    settle();
    EXPECT_EQ(shown<TFormFecha>(), nullptr);
    EXPECT_EQ(messages.last(),
              QStringLiteral("ANA NO TIENES LA AUTORIZACION PARA\rREALIZAR INGRESOS"));
    logInAs(2);
    standOnTablets();
    salesCounter().run(sales::SalesCounter::Command::ExpiryDate);
    settle();
    EXPECT_NE(shown<TFormFecha>(), nullptr);
}

TEST_P(Fecha, TheNewPresentationsQuantityGoesIntoTheOpenWindowsUnits) {
    TFormFecha* w = open();
    ASSERT_TRUE(run("PMProdPresentacion"));
    auto* entry = shown<::catalogue::TFormPresentacion>();
    ASSERT_NE(entry, nullptr);
    child<QLineEdit>(entry, "PresTipo")->setText(QStringLiteral("AMOXIL 1 G TAB"));
    pressKey(child<QLineEdit>(entry, "PresTipo"), Qt::Key_Return);
    child<QLineEdit>(entry, "Pc")->setText(QStringLiteral("10"));
    child<QLineEdit>(entry, "Pv")->setText(QStringLiteral("12"));
    child<QComboBox>(entry, "CB1")->setCurrentText(QStringLiteral("GENERICO"));
    child<QLineEdit>(entry, "Can")->setText(QStringLiteral(" 24"));
    click(entry, "Grabar");
    EXPECT_EQ(text(w, "Stock"), QStringLiteral("24"));
}

TEST_P(Fecha, BackFromItsOwnMessageTheChosenExpiryAndDocumentStay) {
    TFormFecha* w = open();
    const QDateTime chosen(QDate(2026, 11, 20), QTime(9, 0));
    child<QDateTimeEdit>(w, "DateTimePicker2")->setDateTime(chosen);
    fillDocument(w, "CbTipoDocumento", QStringLiteral("DROGUERIA SUR"), QString());
    messages.whileShown = [w] {
        QEvent off(QEvent::WindowDeactivate);
        QApplication::sendEvent(w, &off);
        QEvent on(QEvent::WindowActivate);
        QApplication::sendEvent(w, &on);
    };
    save(w, 3);
    messages.whileShown = nullptr;
    EXPECT_EQ(messages.shown, QStringList{"INGRESE EL NUMERO DE DOCUMENTO"});
    EXPECT_EQ(child<QDateTimeEdit>(w, "DateTimePicker2")->dateTime(), chosen);
    EXPECT_EQ(text(w, "CBProveedor"), QStringLiteral("DROGUERIA SUR"));
    EXPECT_EQ(text(w, "CbTipoDocumento"), QStringLiteral("FACTURA"));
}

VELCARIS_DB_TEST_SUITE(Fecha);

}  // namespace
