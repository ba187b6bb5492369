#include "catalogue/CatalogueTest.h"

#include "catalogue/UnitCambiarLaboratorio.h"
#include "catalogue/UnitLaboratorio.h"
#include "catalogue/UnitProducto.h"
#include "catalogue/UnitProductoLaboratorio.h"
#include "session/ContextRules.h"

#include <QAction>
#include <QMenu>

using namespace testsupport;
using ::catalogue::TFormCambiarLaboratorio;
using ::catalogue::TFormLaboratorio;
using ::catalogue::TFormProducto;
using ::catalogue::TFormProductoLaboratorio;

namespace {

const QString kIngreso = QStringLiteral(
    " NO TIENES LA AUTORIZACION PARA\rREALIZAR ESTA "
    "OPERACION DE INGRESO...");
const QString kEdicion = QStringLiteral(
    " NO TIENES LA AUTORIZACION PARA\rREALIZAR ESTA "
    "OPERACION DE EDICION...");
const QString kOperacion =
    QStringLiteral(" NO TIENES LA AUTORIZACION PARA\rREALIZAR ESTA OPERACION");
const QString kIngresos = QStringLiteral(" NO TIENES LA AUTORIZACION PARA\rREALIZAR INGRESOS");

class Openers : public testsupport::catalog::CatalogueTest {
protected:
    // Which catalogue window the control opened ("" none), and what was shown.
    QString opened(const char* control) {
        messages.clear();
        run(control);
        if (shown<TFormProducto>())
            return shown<TFormProducto>()->productCode() ? QStringLiteral("edit")
                                                         : QStringLiteral("new");
        if (shown<TFormLaboratorio>())
            return QStringLiteral("brand");
        if (shown<TFormProductoLaboratorio>())
            return QStringLiteral("links");
        if (shown<TFormCambiarLaboratorio>())
            return QStringLiteral("move");
        return {};
    }
    QAction* item(const char* control) {
        return screen->findChild<QAction*>(QString::fromLatin1(control));
    }
};

struct Case {
    const char* control;
    const char* window;  // opened for the administrator and the pharmacist
    QString refusal;     // for a technician (empty name); a cashier as noted
    bool cashierPasses;
};

TEST_P(Openers, EveryOpenerForEveryRole) {
    const Case cases[] = {
        {"Producto_1", "new", kIngreso, false},
        {"Laboratorio1", "brand", kIngreso, false},
        {"LaboratorioProducto1", "links", kOperacion, false},
        {"Producto1", "edit", kEdicion, false},
        {"SPLaboratorioProducto", "links", kOperacion, false},
        {"PMProdEditar", "edit", kIngresos, true},
        {"PMProdCambiarLaboratorio", "move", kOperacion, true},
        {"PMNombreAsignarProdLab", "links", {}, true},
    };
    for (const int user : {1, 4, 2, 3}) {
        logInAs(user);
        standOn(QStringLiteral("PANADOL"));
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.control) + " user " + std::to_string(user));
            const bool passes =
                user == 1 || user == 4 || (user == 2 && c.cashierPasses) || c.refusal.isEmpty();
            const QString window = opened(c.control);
            if (passes) {
                EXPECT_EQ(window, QString::fromLatin1(c.window));
                EXPECT_TRUE(messages.shown.isEmpty());
            } else {
                EXPECT_EQ(window, QString());
                EXPECT_EQ(messages.shown, QStringList{c.refusal});
            }
            TearDownWindows();
        }
    }
}

TEST_P(Openers, TheMenusLinkCommandNeedsACurrentProductWithAName) {
    logInAs(1);
    db().exec(QStringLiteral("DELETE FROM PRODUCTO_LABORATORIO"));
    dm().reopenSessionDatasets();
    const int trims = platform.trims;
    EXPECT_EQ(opened("LaboratorioProducto1"), QString());
    EXPECT_EQ(platform.trims, trims);
    EXPECT_EQ(opened("SPLaboratorioProducto"), QStringLiteral("links"));
}

TEST_P(Openers, TheSearchScreenCarriesEveryContextItemInOrderAndOnlyRegisteredOnesWork) {
    logInAs(1);
    QStringList captions;
    for (QMenu* menu : {screen->productMenu(), screen->presentationMenu(), screen->searchMenu()})
        for (QAction* a : menu->actions())
            captions << a->text() + QLatin1Char(' ') + a->shortcut().toString();
    EXPECT_EQ(
        captions,
        (QStringList{"&Presentacion Ctrl+P", "&Cambiar LABORATORIO Ctrl+C", "&Editar Ctrl+E",
                     "&Desasignar Ctrl+D", "Activo/Inactivo Ctrl+I", "&Caducidad Ctrl+C",
                     "&MAS STOCK Ctrl+M", "Devolucion Ctrl+D", "&Presentacion Ctrl+P",
                     "&Editar Ctrl+E", "&Foto Ctrl+F", "&Borrar Ctrl+B", "&Seguimiento Ctrl+S",
                     "Can&je Ctrl+J", "C&ruce Ctrl+R", "Codigo D&IGEMID Ctrl+I",
                     "Asignar Prod-Lab Ctrl+A", "Stock Modificar Ctrl+M"}));
    for (const char* mine : {"PMProdEditar", "PMProdCambiarLaboratorio", "PMNombreAsignarProdLab"})
        EXPECT_TRUE(item(mine)->isEnabled()) << mine;
    for (const char* stock : {"PMPresCanje", "PMPresCruce"})
        EXPECT_TRUE(item(stock)->isEnabled()) << stock;
    EXPECT_EQ(screen->productMenu()->defaultAction(), item("PMProdPresentacion"));
}

TEST_P(Openers, CtrlAInTheSearchBoxOpensTheAssignmentWithTheTrimmedSearch) {
    logInAs(1);
    auto* box = child<QLineEdit>(screen, "EdNombre");
    box->setFocus();
    typeText(box, QStringLiteral("PANA  "));
    pressKey(box, Qt::Key_A, Qt::ControlModifier);
    settle();
    auto* form = shown<TFormProductoLaboratorio>();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(child<QLineEdit>(form, "EdProducto")->text(), QStringLiteral("PANA"));
    EXPECT_EQ(box->selectedText(), QString());  // not select-all
}

TEST_P(Openers, TheGridsShortcutsActOnlyInTheirOwnGrid) {
    logInAs(1);
    search(QStringLiteral("PANADOL"));
    auto* products = child<QTableView>(screen, "DBGrid1");
    products->setFocus();
    pressKey(products, Qt::Key_E, Qt::ControlModifier);
    settle();
    auto* form = shown<TFormProducto>();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->productCode(), 5);
    form->close();
    settle();
    activate(screen->window());
    auto* presentations = child<QTableView>(screen, "cg");
    presentations->setFocus();
    pressKey(presentations, Qt::Key_E, Qt::ControlModifier);  // the presentation's, not yet there
    settle();
    EXPECT_EQ(shown<TFormProducto>(), nullptr);
}

}  // namespace

VELCARIS_DB_TEST_SUITE(Openers);
