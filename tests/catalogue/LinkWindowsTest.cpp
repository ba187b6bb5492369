#include "catalogue/CatalogueTest.h"

#include "catalogue/UnitCambiarLaboratorio.h"
#include "catalogue/UnitLaboratorio.h"
#include "catalogue/UnitProducto.h"
#include "catalogue/UnitProductoLaboratorio.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <functional>

using namespace testsupport;
using ::catalogue::TFormCambiarLaboratorio;
using ::catalogue::TFormLaboratorio;
using ::catalogue::TFormProducto;
using ::catalogue::TFormProductoLaboratorio;

namespace {

// The window leaves the activation and gets it back, as after a message box.
void reactivate(QWidget* window) {
    QEvent off(QEvent::WindowDeactivate);
    QCoreApplication::sendEvent(window, &off);
    QEvent on(QEvent::WindowActivate);
    QCoreApplication::sendEvent(window, &on);
}

// Scripted answers, with something done while the question is open.
class MessagesWithHook : public ScriptedMessages {
public:
    std::function<void()> whileAsking;

protected:
    bool ask(const QString& text) override {
        if (whileAsking)
            whileAsking();
        return ScriptedMessages::ask(text);
    }
};

class LinkWindows : public testsupport::catalog::CatalogueTest {
protected:
    QString cell(QWidget* window, const char* grid, int column) {
        auto* view = child<QTableView>(window, grid);
        return view->model()->data(view->currentIndex().siblingAtColumn(column)).toString();
    }
    int links() { return counter::count(db(), QStringLiteral("PRODUCTO_LABORATORIO")); }
    QString label(QWidget* window, const char* name) { return child<QLabel>(window, name)->text(); }
};

// ---- the brand window ----

TEST_P(LinkWindows, ABrandIsSavedByAPharmacistOnce) {
    logInAs(4);
    ASSERT_TRUE(run("Laboratorio1"));
    auto* form = shown<TFormLaboratorio>();
    ASSERT_NE(form, nullptr);
    typeInto(form, "EdNombre", QStringLiteral("abbott"));
    typeInto(form, "EdRazSoc", QStringLiteral("ABBOTT S.A."));
    click(form, "Grabar");
    EXPECT_EQ(label(form, "MENSAJE"), QStringLiteral("MARCA INGRESADA CON CODIGO 6"));
    EXPECT_EQ(child<QLineEdit>(form, "EdNombre")->text(), QStringLiteral("ABBOTT"));
    click(form, "Grabar");
    EXPECT_EQ(label(form, "MENSAJE"), QStringLiteral("YA EXISTE LA MARCA"));
}

TEST_P(LinkWindows, ACashierIsRefusedABrand) {
    logInAs(2);
    auto* other = TFormLaboratorio::open(ctx());
    typeInto(other, "EdNombre", QStringLiteral("ROCHE"));
    click(other, "Grabar");
    EXPECT_EQ(
        messages.shown,
        QStringList{QStringLiteral(" NO TIENES LA AUTORIZACION PARA\rREALIZAR ESTA OPERACION")});
    EXPECT_EQ(counter::count(db(), QStringLiteral("LABORATORIO")), 5);
}

TEST_P(LinkWindows, ABrandNeedsANameAndItsBoxesHoldWhatIsStored) {
    logInAs(1);
    auto* form = TFormLaboratorio::open(ctx());
    click(form, "Grabar");
    EXPECT_EQ(messages.shown, QStringList{QStringLiteral("INGRESA EL NOMBRE DE LA MARCA...")});
    typeInto(form, "EdNombre", QString(90, QLatin1Char('N')));
    EXPECT_EQ(child<QLineEdit>(form, "EdNombre")->text().size(), 82);
    typeInto(form, "EdRazSoc", QString(90, QLatin1Char('R')));
    EXPECT_EQ(child<QLineEdit>(form, "EdRazSoc")->text().size(), 82);
    auto* memo = child<QPlainTextEdit>(form, "Descri");
    typeText(memo, QString(50, QLatin1Char('D')));
    EXPECT_EQ(memo->toPlainText().size(), 45);
    click(form, "SpeedButton2");
    EXPECT_TRUE(child<QLineEdit>(form, "EdNombre")->text().isEmpty());
    EXPECT_TRUE(memo->toPlainText().isEmpty());
}

// ---- the assignment window ----

TEST_P(LinkWindows, TheSearchMovesToTheFirstPrefixAndATextMatchingNothingLeavesTheRow) {
    logInAs(1);
    auto* form = TFormProductoLaboratorio::open(ctx());
    typeInto(form, "EdProducto", QStringLiteral("AMO"));
    EXPECT_EQ(cell(form, "DBGrid1", 1), QStringLiteral("AMOBAN"));
    typeText(child<QLineEdit>(form, "EdProducto"), QStringLiteral("XIL"));
    EXPECT_EQ(cell(form, "DBGrid1", 1), QStringLiteral("AMOXIL"));
    typeText(child<QLineEdit>(form, "EdProducto"), QString(40, QLatin1Char('Z')));
    EXPECT_EQ(cell(form, "DBGrid1", 1), QStringLiteral("AMOXIL"));
    typeInto(form, "EdLaboratorio", QStringLiteral("G"));
    EXPECT_EQ(cell(form, "DBGrid2", 1), QStringLiteral("GENFAR"));
    typeText(child<QLineEdit>(form, "EdLaboratorio"), QStringLiteral("S"));
    EXPECT_EQ(cell(form, "DBGrid2", 1), QStringLiteral("GSK"));
}

TEST_P(LinkWindows, NoChangesNothingAndStillEmptiesBothBoxes) {
    logInAs(1);
    auto* form = TFormProductoLaboratorio::open(ctx());
    typeInto(form, "EdProducto", QStringLiteral("PANADOL"));
    typeInto(form, "EdLaboratorio", QStringLiteral("BAYER"));
    click(form, "SpeedButton1");  // answered No
    EXPECT_EQ(messages.asked,
              QStringList{QStringLiteral("Se realizara la siguiente Asignacion: \rPANADOL - "
                                         "BAYER\rADMIN, DESEAS REALIZAR LA ASIGNACION...")});
    EXPECT_EQ(links(), 5);
    EXPECT_TRUE(child<QLineEdit>(form, "EdProducto")->text().isEmpty());
    EXPECT_TRUE(child<QLineEdit>(form, "EdLaboratorio")->text().isEmpty());
}

TEST_P(LinkWindows, YesLinksThePairOfTheQuestionEvenWhenTheListsAreReReadMeanwhile) {
    MessagesWithHook hooked;
    // The window takes the context's messages: here the hooked ones.
    session::AppContext context = ctx();
    session::AppContext withHook{context.db,      context.settings, context.clock,
                                 hooked,          context.platform, context.dm,
                                 context.session, context.commands, context.mainWindow,
                                 context.desktop};
    logInAs(1);
    auto* form = TFormProductoLaboratorio::open(withHook);
    typeInto(form, "EdProducto", QStringLiteral("PANADOL"));
    typeInto(form, "EdLaboratorio", QStringLiteral("BAYER"));
    hooked.answers = {true};
    hooked.whileAsking = [form] { reactivate(form); };  // both lists back on their first rows
    click(form, "SpeedButton1");
    EXPECT_EQ(links(), 6);
    EXPECT_EQ(
        db::integer(db().scalar(QStringLiteral(
            "SELECT COUNT(*) FROM PRODUCTO_LABORATORIO WHERE ProdCodigo = 5 AND LabCodigo = 3"))),
        1);
    EXPECT_EQ(label(form, "PRODUCTO"), QStringLiteral("PANADOL"));
    EXPECT_EQ(label(form, "LABORATORIO"), QStringLiteral("BAYER"));
    EXPECT_EQ(label(form, "AVISO"), QStringLiteral("ASIGNACION REALIZADA CON CODIGO 6"));
    // The session's list shows the new link.
    int listed = 0;
    for (const session::ProductRow& p : dm().products())
        listed += p.ProdNomComercial == QLatin1String("PANADOL") ? 1 : 0;
    EXPECT_EQ(listed, 2);
}

TEST_P(LinkWindows, AProductEnteredThroughNuevoProductoIsListedOnceTheWindowIsActiveAgain) {
    logInAs(1);
    auto* form = TFormProductoLaboratorio::open(ctx());
    typeInto(form, "EdProducto", QStringLiteral("ZINCOVIT"));
    click(form, "SpeedButton4");
    auto* product = shown<TFormProducto>();
    ASSERT_NE(product, nullptr);
    click(product, "Grabar");
    reactivate(form);
    EXPECT_TRUE(child<QLineEdit>(form, "EdProducto")->text().isEmpty());
    typeInto(form, "EdProducto", QStringLiteral("ZINC"));
    EXPECT_EQ(cell(form, "DBGrid1", 1), QStringLiteral("ZINCOVIT"));
}

TEST_P(LinkWindows, AssigningWithAnEmptyListRefusesAndChangesNothing) {
    db().exec(QStringLiteral("DELETE FROM LABORATORIO"));
    logInAs(1);
    auto* form = TFormProductoLaboratorio::open(ctx());
    messages.answers = {true};
    click(form, "SpeedButton1");
    EXPECT_EQ(messages.shown, QStringList{QStringLiteral(
                                  "NO HAY PRODUCTO O MARCA QUE ASIGNAR\rELIJA UNO DE CADA LISTA")});
    EXPECT_TRUE(messages.asked.isEmpty());
    EXPECT_EQ(links(), 5);
}

TEST_P(LinkWindows, EnterMovesOnWhereTheBoxHasTextAndEscapeGoesBackToTheProductSearch) {
    logInAs(1);
    auto* form = TFormProductoLaboratorio::open(ctx());
    activate(form);
    auto* product = child<QLineEdit>(form, "EdProducto");
    auto* brand = child<QLineEdit>(form, "EdLaboratorio");
    product->setFocus();
    pressKey(product, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), product);  // empty: stays
    typeText(product, QStringLiteral("PAN"));
    pressKey(product, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), child<QTableView>(form, "DBGrid1"));
    pressKey(child<QTableView>(form, "DBGrid1"), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), brand);
    typeText(brand, QStringLiteral("G"));
    pressKey(brand, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), child<QTableView>(form, "DBGrid2"));
    pressKey(child<QTableView>(form, "DBGrid2"), Qt::Key_Escape);
    EXPECT_EQ(QApplication::focusWidget(), product);
    EXPECT_TRUE(product->text().isEmpty());
}

TEST_P(LinkWindows, TheToolbarButtonStaysDisabledWhileItsWindowIsOpen) {
    logInAs(1);
    auto* button = principal->findChild<QAbstractButton*>(QStringLiteral("SPLaboratorioProducto"));
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isEnabled());
    button->click();
    settle();
    auto* form = shown<TFormProductoLaboratorio>();
    ASSERT_NE(form, nullptr);
    EXPECT_FALSE(button->isEnabled());
    button->click();
    settle();
    EXPECT_EQ(shownCount<TFormProductoLaboratorio>(), 1);
    click(form, "Salir");
    EXPECT_TRUE(button->isEnabled());
}

// ---- the move window ----

TEST_P(LinkWindows, ACashierOpensTheMoveFromTheSearchScreenAndIsRefusedOnEditar) {
    logInAs(2);
    standOn(QStringLiteral("PANADOL"));
    EXPECT_TRUE(run("PMProdCambiarLaboratorio"));
    auto* form = shown<TFormCambiarLaboratorio>();
    ASSERT_NE(form, nullptr);
    typeInto(form, "EdLaboratorio", QStringLiteral("BAYER"));
    click(form, "Editar");
    EXPECT_EQ(
        messages.shown,
        QStringList{QStringLiteral(" NO TIENES LA AUTORIZACION PARA\rREALIZAR ESTA OPERACION")});
    EXPECT_EQ(brandOfLink(5), 5);
}

TEST_P(LinkWindows, ASecondEditarMovesTheSameLink) {
    logInAs(1);
    standOn(QStringLiteral("PANADOL"));
    auto* form = TFormCambiarLaboratorio::open(ctx());
    ASSERT_NE(form, nullptr);
    typeInto(form, "EdLaboratorio", QStringLiteral("BAYER"));
    click(form, "Editar");
    EXPECT_EQ(brandOfLink(5), 3);
    EXPECT_EQ(label(form, "AVISO"), QStringLiteral("LABORATORIO CAMBIADO"));
    EXPECT_EQ(dm().currentProduct()->LabNombre, QStringLiteral("BAYER"));

    dm().openProductList();  // the list's current row is now another link
    typeInto(form, "EdLaboratorio", QStringLiteral("GENFAR"));
    click(form, "Editar");
    EXPECT_EQ(brandOfLink(5), 1);
    EXPECT_EQ(brandOfLink(1), 1);
    EXPECT_EQ(brandOfLink(2), 2);
}

}  // namespace

VELCARIS_DB_TEST_SUITE(LinkWindows);
