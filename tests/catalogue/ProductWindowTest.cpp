#include "catalogue/CatalogueTest.h"

#include "catalogue/UnitProducto.h"
#include "catalogue/UnitProductoLaboratorio.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>

using namespace testsupport;
using ::catalogue::TFormProducto;

namespace {

class ProductWindow : public testsupport::catalog::CatalogueTest {
protected:
    TFormProducto* openNew() {
        EXPECT_TRUE(run("Producto_1"));
        TFormProducto* form = shown<TFormProducto>();
        EXPECT_NE(form, nullptr);
        return form;
    }
    // Edit mode on the product, whose line the seed leaves empty: "MEDICINA" chosen.
    TFormProducto* openEdit(const QString& product) {
        db().exec(
            QStringLiteral("UPDATE PRODUCTO SET ProdLinea = 'MEDICINA' WHERE ProdLinea IS NULL"));
        dm().reopenSessionDatasets();
        standOn(product);
        EXPECT_TRUE(run("Producto1"));
        return shown<TFormProducto>();
    }
    void fillNew(TFormProducto* form, const QString& name) {
        typeInto(form, "NomCom", name);
        typeInto(form, "NomGen", name + QStringLiteral(" GEN"));
    }
    QComboBox* linea(TFormProducto* form) { return child<QComboBox>(form, "Linea"); }
    QString mensaje(TFormProducto* form) { return child<QLabel>(form, "MENSAJE")->text(); }
};

TEST_P(ProductWindow, TheMenuOpensItInNewModeAndASaveAppendsItsStatementToTheDaysFile) {
    logInAs(1);
    TFormProducto* form = openNew();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("VENTANA DE INGRESO DE PRODUCTO"));
    EXPECT_EQ(linea(form)->currentText(), QStringLiteral("MEDICINA"));
    EXPECT_FALSE(child<QPushButton>(form, "Grabar")->isHidden());
    EXPECT_TRUE(child<QPushButton>(form, "Editar")->isHidden());

    fillNew(form, QStringLiteral("dolofen"));  // the boxes are upper case
    click(form, "Grabar");
    EXPECT_EQ(productName(6), QStringLiteral("DOLOFEN"));
    EXPECT_EQ(mensaje(form), QStringLiteral("PRODUCTO INGRESADO CON CODIGO 6"));
    const QStringList lines = scriptLines(clock.today());
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("INSERT INTO PRODUCTO")));
    EXPECT_EQ(messages.shown, QStringList{lines[0]});
    EXPECT_TRUE(scriptPath(clock.today())
                    .endsWith(QStringLiteral("/C/Velcaris/Base de datos/PRODUCTO_02-03-2026.sql")));
}

TEST_P(ProductWindow, TwoSavesGiveTwoLinesInOrderAndEarlierLinesStay) {
    logInAs(1);
    QDir().mkpath(QFileInfo(scriptPath(clock.today())).path());
    QFile earlier(scriptPath(clock.today()));
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("-- EARLIER\n");
    earlier.close();

    TFormProducto* form = openNew();
    fillNew(form, QStringLiteral("UNO"));
    click(form, "Grabar");
    fillNew(form, QStringLiteral("DOS"));
    click(form, "Grabar");
    const QStringList lines = scriptLines(clock.today());
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], QStringLiteral("-- EARLIER"));
    EXPECT_TRUE(lines[1].contains(QStringLiteral("'UNO'")));
    EXPECT_TRUE(lines[2].contains(QStringLiteral("'DOS'")));
}

TEST_P(ProductWindow, TheFileIsNamedDayMonthYear) {
    EXPECT_EQ(::catalogue::ProductScript::fileName(QDate(2026, 10, 9)),
              QStringLiteral("PRODUCTO_09-10-2026.sql"));
    EXPECT_EQ(::catalogue::ProductScript::fileName(QDate(2026, 9, 10)),
              QStringLiteral("PRODUCTO_10-09-2026.sql"));
    clock.set(QDateTime(QDate(2026, 10, 9), QTime(8, 0)));
    logInAs(1);
    TFormProducto* form = openNew();
    fillNew(form, QStringLiteral("OCTUBRE"));
    click(form, "Grabar");
    EXPECT_EQ(scriptLines(QDate(2026, 10, 9)).size(), 1);
}

TEST_P(ProductWindow, AStatementWithAnApostropheRunsOnTheEngine) {
    logInAs(1);
    TFormProducto* form = openNew();
    fillNew(form, QStringLiteral("D'ONOFRIO"));
    click(form, "Grabar");
    const QStringList lines = scriptLines(clock.today());
    ASSERT_EQ(lines.size(), 1);
    db().exec(QStringLiteral("DELETE FROM PRODUCTO WHERE ProdCodigo = 6"));
    db().exec(lines[0]);
    EXPECT_EQ(productName(6), QStringLiteral("D'ONOFRIO"));
}

TEST_P(ProductWindow, ATechnicianIsRefusedOnGrabarAndTheFileIsUntouched) {
    logInAs(5);
    auto* form = TFormProducto::openNew(ctx(), QStringLiteral("X"));
    click(form, "Grabar");
    EXPECT_EQ(
        messages.shown,
        QStringList{QStringLiteral("ANA NO TIENES LA AUTORIZACION PARA\rREALIZAR ESTA OPERACION")});
    EXPECT_EQ(productCount(), 5);
    EXPECT_FALSE(QFile::exists(scriptPath(clock.today())));
}

TEST_P(ProductWindow, ALineTypedInLowerCaseIsRefusedAndEmptied) {
    logInAs(2);  // a cashier may save, in a window another command opened
    TFormProducto* form = TFormProducto::openNew(ctx());
    fillNew(form, QStringLiteral("ZINC"));
    linea(form)->lineEdit()->clear();
    typeText(linea(form)->lineEdit(), QStringLiteral("medicina"));
    click(form, "Grabar");
    EXPECT_EQ(messages.shown, QStringList{QStringLiteral("ELIGE UNA OPCION, NO LA INGRESES")});
    EXPECT_EQ(linea(form)->currentText(), QString());
    EXPECT_EQ(productCount(), 5);

    typeText(linea(form)->lineEdit(), QStringLiteral("POPULARES"));  // typed exactly: accepted
    click(form, "Grabar");
    EXPECT_EQ(productCount(), 6);
}

TEST_P(ProductWindow, NuevoEmptiesTheBoxesAndKeepsTheFiveLines) {
    logInAs(1);
    TFormProducto* form = openNew();
    fillNew(form, QStringLiteral("ZINC"));
    click(form, "SpeedButton1");
    for (const char* box : {"NomCom", "NomGen", "Mecanismo"})
        EXPECT_TRUE(child<QLineEdit>(form, box)->text().isEmpty()) << box;
    EXPECT_EQ(linea(form)->currentText(), QString());
    EXPECT_EQ(linea(form)->count(), 5);
    EXPECT_FALSE(child<QPushButton>(form, "Grabar")->isHidden());
}

TEST_P(ProductWindow, TheBoxesHoldWhatTheColumnsStore) {
    logInAs(1);
    TFormProducto* form = openNew();
    typeInto(form, "NomCom", QString(130, QLatin1Char('A')));
    EXPECT_EQ(child<QLineEdit>(form, "NomCom")->text().size(), 110);
    typeInto(form, "Mecanismo", QString(130, QLatin1Char('M')));
    EXPECT_EQ(child<QLineEdit>(form, "Mecanismo")->text().size(), 120);
    auto* memo = child<QPlainTextEdit>(form, "Descrip");
    memo->setFocus();
    typeText(memo, QString(40, QLatin1Char('d')));
    EXPECT_EQ(memo->toPlainText().size(), 30);
    click(form, "Grabar");
    EXPECT_EQ(db::text(db().scalar(
                  QStringLiteral("SELECT ProDescripcion FROM PRODUCTO WHERE ProdCodigo = 6"))),
              QString(30, QLatin1Char('d')));
}

TEST_P(ProductWindow, ALineThatCannotBeWrittenIsReportedAndTheProductStaysSaved) {
    logInAs(1);
    QDir().mkpath(scriptPath(clock.today()));  // a folder where the file should be
    TFormProducto* form = openNew();
    fillNew(form, QStringLiteral("ZINC"));
    click(form, "Grabar");
    EXPECT_EQ(productName(6), QStringLiteral("ZINC"));
    ASSERT_EQ(messages.shown.size(), 2);
    EXPECT_EQ(messages.shown[0],
              QStringLiteral("NO SE PUDO ESCRIBIR EN EL ARCHIVO:\r") + scriptPath(clock.today()));
    EXPECT_TRUE(messages.shown[1].startsWith(QStringLiteral("INSERT INTO PRODUCTO")));
}

TEST_P(ProductWindow, TheAssignmentWindowOpensItWithItsTrimmedSearchText) {
    logInAs(1);
    auto* links = ::catalogue::TFormProductoLaboratorio::open(ctx());
    typeInto(links, "EdProducto", QStringLiteral("NUEVO PROD  "));
    click(links, "SpeedButton4");
    TFormProducto* form = shown<TFormProducto>();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(child<QLineEdit>(form, "NomCom")->text(), QStringLiteral("NUEVO PROD"));
    EXPECT_EQ(linea(form)->currentText(), QStringLiteral("MEDICINA"));
    EXPECT_TRUE(child<QPushButton>(form, "Editar")->isHidden());
}

TEST_P(ProductWindow, EditModeShowsTheCurrentProductAndNamesItsBrand) {
    logInAs(1);
    db().exec(
        QStringLiteral("UPDATE PRODUCTO SET ProdLinea = 'POPULARES', ProDescripcion = "
                       "'CAJA X 10' WHERE ProdCodigo = 5"));
    dm().reopenSessionDatasets();
    TFormProducto* form = openEdit(QStringLiteral("PANADOL"));
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("PRODUCTO:  PANADOL    LABORATORIO:  GSK"));
    EXPECT_TRUE(child<QPushButton>(form, "Grabar")->isHidden());
    EXPECT_FALSE(child<QPushButton>(form, "Editar")->isHidden());
    EXPECT_EQ(child<QLineEdit>(form, "NomGen")->text(), QStringLiteral("PANADOL GENERICO"));
    EXPECT_EQ(linea(form)->currentText(), QStringLiteral("POPULARES"));
    EXPECT_EQ(child<QPlainTextEdit>(form, "Descrip")->toPlainText(), QStringLiteral("CAJA X 10"));
    EXPECT_EQ(child<QLineEdit>(form, "Mecanismo")->text(), QStringLiteral("ANALGESICO"));
}

TEST_P(ProductWindow, TwoEditsAfterTheListWasReopenedBothChangeTheProductOpened) {
    logInAs(1);
    TFormProducto* form = openEdit(QStringLiteral("PANADOL"));
    ASSERT_NE(form, nullptr);
    typeInto(form, "NomCom", QStringLiteral("PANADOL FORTE"));
    click(form, "Editar");
    EXPECT_EQ(productName(5), QStringLiteral("PANADOL FORTE"));
    EXPECT_EQ(child<QLabel>(form, "MENSAJE")->text(), QStringLiteral("PRODUCTO EDITADO"));
    EXPECT_EQ(dm().currentProduct()->ProdNomComercial, QStringLiteral("PANADOL FORTE"));

    dm().openProductList();  // the list reopened elsewhere: its first link is current
    ASSERT_NE(dm().currentProduct()->ProdCodigo, 5);
    typeInto(form, "NomCom", QStringLiteral("PANADOL EXTRA"));
    click(form, "Editar");
    EXPECT_EQ(productName(5), QStringLiteral("PANADOL EXTRA"));
    EXPECT_EQ(productName(2), QStringLiteral("AMBROXOL"));
}

TEST_P(ProductWindow, AnEditWithoutALineLeavesTodosAndChangesNothing) {
    logInAs(1);
    TFormProducto* form = openEdit(QStringLiteral("PANADOL"));
    linea(form)->setCurrentText(QString());
    click(form, "Editar");
    click(form, "Editar");
    EXPECT_EQ(messages.shown, (QStringList{QStringLiteral("ELEJIR UNA OPCION"),
                                           QStringLiteral("ELEJIR UNA OPCION")}));
    EXPECT_EQ(linea(form)->currentText(), QStringLiteral("TODOS"));
}

TEST_P(ProductWindow, ADatabaseFailureOnEditarIsShownAndTheWindowKeepsItsContents) {
    logInAs(1);
    TFormProducto* form = openEdit(QStringLiteral("PANADOL"));
    typeInto(form, "NomCom", QStringLiteral("OTRO"));
    db().exec(QStringLiteral("DROP TABLE PRODUCTO"));
    click(form, "Editar");
    EXPECT_EQ(messages.shown,
              QStringList{QStringLiteral("NO SE PUDO EDITAR\rERROR EN LA BASE DE DATOS...")});
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(child<QLineEdit>(form, "NomCom")->text(), QStringLiteral("OTRO"));
}

TEST_P(ProductWindow, EnterMovesOnAndEscapeBack) {
    logInAs(1);
    TFormProducto* form = openNew();
    activate(form);
    auto* nomGen = child<QLineEdit>(form, "NomGen");
    nomGen->setFocus();
    pressKey(nomGen, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), child<QLineEdit>(form, "NomCom"));
    pressKey(child<QLineEdit>(form, "NomCom"), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), child<QLineEdit>(form, "Mecanismo"));
    pressKey(child<QLineEdit>(form, "Mecanismo"), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), child<QPlainTextEdit>(form, "Descrip"));
    pressKey(child<QPlainTextEdit>(form, "Descrip"), Qt::Key_Escape);
    EXPECT_EQ(QApplication::focusWidget(), child<QLineEdit>(form, "Mecanismo"));
    pressKey(child<QLineEdit>(form, "Mecanismo"), Qt::Key_Escape);
    pressKey(child<QLineEdit>(form, "NomCom"), Qt::Key_Escape);
    pressKey(nomGen, Qt::Key_Escape);
    EXPECT_TRUE(linea(form)->hasFocus());
}

}  // namespace

VELCARIS_DB_TEST_SUITE(ProductWindow);
