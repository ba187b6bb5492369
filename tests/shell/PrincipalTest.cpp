#include "support/CheckoutSeed.h"
#include "support/ProgramTest.h"
#include "support/Seed.h"

#include "core/Password.h"
#include "sales/SalesCounter.h"
#include "sales/UnitBusqueda.h"
#include "sales/UnitCotizacion.h"
#include "session/CommandRules.h"

#include <QAbstractButton>
#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTest>
#include <cstring>

using testsupport::seedUser;

using testsupport::child;

namespace {

const QString kNotYet = QStringLiteral("NO DISPONIBLE TODAVIA");
const QString kQuestion = QStringLiteral("DESEA ELIMINAR ITEMS\rNO DESCARGADOS...");

// The accounts, one per role that may log in; the pharmacist's name is stored with blanks.
struct Account {
    int code;
    const char* password;
    const char* role;
    const char* nombres;
    char letter;  // how the rule table below names the role
};
const Account kAccounts[] = {
    {1, "CLAVE1", "ADMINISTRADOR", "MARCO", 'A'},
    {2, "CLAVE2", "QUIMICO FARMACEUTICO", "  LUZ ", 'Q'},
    {3, "CLAVE3", "CAJERO", "ROSA", 'C'},
    {4, "CLAVE4", "TECNICA", "ANA", 'T'},
    {5, "CLAVE5", "AUXILIAR", "EVA", 'X'},
};

class Principal : public testsupport::ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        if (IsSkipped())
            return;
        for (const Account& a : kAccounts)
            seedUser(db(), a.code, QStringLiteral("USER%1").arg(a.code),
                     QString::fromLatin1(a.password), QString::fromLatin1(a.role),
                     QStringLiteral("ACTIVO"), QString::fromLatin1(a.nombres));
        testsupport::seedPresentation(db(), 1, QStringLiteral("PANADOL 500"), 10);
        startProgram();
    }

    // Makes the account the session user, as the login's access query does.
    void actAs(const Account& a) {
        ASSERT_EQ(dm().openAccess(a.code, core::Encripta(QString::fromLatin1(a.password))), 1);
    }
    // Logs in through the login window.
    void logIn(int code) {
        enter(QString::number(code), QString::fromLatin1(kAccounts[code - 1].password));
        ASSERT_EQ(session().userCode(), code) << messages.last().toStdString();
    }

    QAction* action(const QString& name) { return principal().findChild<QAction*>(name); }
    QAbstractButton* button(const QString& name) {
        return principal().findChild<QAbstractButton*>(name);
    }
    QLabel* label(const char* name) {
        return principal().findChild<QLabel*>(QString::fromLatin1(name));
    }
    void trigger(const char* name) {
        action(QString::fromLatin1(name))->trigger();
        settle();
    }
    int pendingLines() {
        return db::integer(db().scalar(
            QStringLiteral("SELECT COUNT(*) FROM DETAFAC WHERE Estado = 'NO DESCARGADO'")));
    }
};

// ---- the rule of every command ----

// What one run of a rule shows: the trims made, the refusal shown, whether the command goes on.
struct Outcome {
    int trims = 0;
    QString shown;
    bool goesOn = true;

    bool operator==(const Outcome&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Outcome& o) {
    return os << "{trims " << o.trims << ", shown \"" << o.shown.toStdString() << "\", "
              << (o.goesOn ? "goes on" : "ends") << '}';
}

struct Rule {
    const char* control;
    const char* order;    // T trim, S session-open test, R role test
    const char* roles;    // letters of the roles that pass the role test
    const char* refusal;  // %1 the trimmed session name, %2 the product; nullptr: silent
};

const char* const kIngreso =
    "%1 NO TIENES LA AUTORIZACION PARA\rREALIZAR ESTA OPERACION DE INGRESO...";
const char* const kOperacion = "%1 NO TIENES LA AUTORIZACION PARA\rREALIZAR ESTA OPERACION";
const char* const kEdicion =
    "%1 NO TIENES LA AUTORIZACION PARA\rREALIZAR ESTA OPERACION DE EDICION...";
const char* const kEliminarA =
    "%1 NO TIENES LA AUTORIZACION PARA\rREALIZAR ESTA OPERACION DE ELIMINAR A\r%2";
const char* const kRestringido = "%1 ACCESO RESTRINGIDO";
const char* const kRestringidoDots = "%1 ACCESO RESTRINGIDO...";

const Rule kRules[] = {
    {"Producto_1", "TSR", "AQ", kIngreso},
    {"Laboratorio1", "TSR", "AQ", kIngreso},
    {"MasStock1", "TSR", "AQ", kOperacion},
    {"Proveedor1", "TSR", "AQ", kOperacion},
    {"Representante1", "TSR", "AQ", kOperacion},
    {"Pedido2", "TSR", "AQ", kOperacion},
    {"Exit1", "TSR", "AQ", kIngreso},
    {"SpeedButton1", "TSR", "AQ", kIngreso},
    {"SpeedButton2", "TSR", "AQ", kIngreso},
    {"LaboratorioProducto1", "RS", "AQ", kOperacion},
    {"Contents1", "SR", "AQ", kIngreso},
    {"Foto1", "T", "", nullptr},
    {"Producto1", "TSR", "AQ", kEdicion},
    {"Presentacion1", "TSR", "AQ", kIngreso},
    {"New4", "TRS", "AQ", kIngreso},
    {"New3", "S", "", nullptr},
    {"Calcular1", "TS", "", nullptr},
    {"Descarga1", "S", "", nullptr},
    {"Devolucion1", "TS", "", nullptr},
    {"Calculadora1", "S", "", nullptr},
    {"Password1", "TSR", "A", kRestringido},
    {"BacKupBD1", "STR", "XCAQ", kRestringidoDots},
    {"Actulaizar1", "TS", "", nullptr},
    {"MensajeaPCs1", "TSR", "CAQ", kRestringido},
    {"Eliminar1", "S", "", nullptr},
    {"Descargar2", "S", "", nullptr},
    {"LoginPassword1", "", "", nullptr},
    {"Datos1", "RS", "A", kRestringido},
    {"About1", "S", "", nullptr},
    {"Salir1", "", "", nullptr},
    {"Boletas1", "", "", nullptr},
    {"raspaso1", "R", "A", nullptr},
    {"Salir2", "", "", nullptr},
    {"SPLaboratorioProducto", "RTS", "AQ", kOperacion},
    {"SBPresentacion", "TSR", "AQ", nullptr},
    {"SBMasStock", "TRS", "AQ", kEliminarA},
    {"SBDetallePedido", "TSR", "AQ", kOperacion},
    {"SBEliminar", "RS", "AQ", kEliminarA},
    {"BusquedaIncluya", "TS", "", nullptr},
    {"DescargarImprimir", "TS", "", nullptr},
    {"SBReportesVarios", "RTS", "AQ", kIngreso},
    {"SPassword", "", "", nullptr},
    {"SpBacKUpBd", "", "", nullptr},
    {"SBCalculadora", "TS", "", nullptr},
    {"StaticText1", "", "", nullptr},
    {"StaticText2", "", "", nullptr},
};

// What the rule should do for a session user whose role passes or not.
Outcome expected(const Rule& rule, bool sessionOpen, bool rolePasses, const QString& name,
                 const QString& product) {
    Outcome o;
    for (const char* test = rule.order; *test; ++test) {
        if (*test == 'T') {
            ++o.trims;
        } else if (*test == 'S' && !sessionOpen) {
            o.goesOn = false;
            return o;
        } else if (*test == 'R' && !rolePasses) {
            if (rule.refusal)
                o.shown = QString::fromLatin1(rule.refusal)
                              .replace(QStringLiteral("%1"), name)
                              .replace(QStringLiteral("%2"), product);
            o.goesOn = false;
            return o;
        }
    }
    return o;
}

TEST_P(Principal, EveryCommandRunsItsTestsInOrderForEachRole) {
    ASSERT_EQ(session::commandRules().size(), std::size(kRules));
    const QString product = dm().currentProduct()->ProdNomComercial;
    ASSERT_EQ(product, QStringLiteral("PANADOL 500"));
    for (const Rule& rule : kRules) {
        const QString control = QString::fromLatin1(rule.control);
        EXPECT_TRUE(action(control) || button(control) || label(rule.control)) << rule.control;
        ASSERT_NE(session::commandRule(control), nullptr) << rule.control;
    }

    struct Session {
        const Account* user;  // nullptr: nobody has logged in
        bool open;
    };
    std::vector<Session> sessions = {{nullptr, true}};
    for (const Account& a : kAccounts)
        sessions.push_back({&a, true});
    sessions.push_back({&kAccounts[0], false});
    sessions.push_back({&kAccounts[3], false});

    for (const Session& session : sessions) {
        SCOPED_TRACE(std::string(session.user ? session.user->role : "nobody") +
                     (session.open ? ", session open" : ", no session"));
        if (session.user)
            actAs(*session.user);
        else
            dm().closeAccess();
        if (!session.open)
            dm().closeSessionDatasets();
        const QString name =
            session.user ? QString::fromLatin1(session.user->nombres).trimmed() : QString();
        for (const Rule& rule : kRules) {
            SCOPED_TRACE(rule.control);
            const bool rolePasses =
                session.user && std::strchr(rule.roles, session.user->letter) != nullptr;
            messages.clear();
            platform.trims = 0;
            Outcome got;
            got.goesOn = session::runCommandRule(
                *session::commandRule(QString::fromLatin1(rule.control)), program().context());
            got.trims = platform.trims;
            got.shown = messages.shown.join(QLatin1Char('|'));
            EXPECT_EQ(got, expected(rule, session.open, rolePasses, name,
                                    session.open ? product : QString()));
        }
    }
}

TEST_P(Principal, BeforeAnyLoginTheRefusalStartsWithTheBlankOfTheEmptyName) {
    EXPECT_FALSE(run(QStringLiteral("Producto_1")));
    EXPECT_EQ(messages.shown,
              QStringList{QStringLiteral(
                  " NO TIENES LA AUTORIZACION PARA\rREALIZAR ESTA OPERACION DE INGRESO...")});
}

TEST_P(Principal, APharmacistPassesTheSalesMonitorRuleButNotPasswordManagement) {
    logIn(2);
    for (const char* control : {"Exit1", "SpeedButton1", "SpeedButton2", "Proveedor1"})
        EXPECT_TRUE(run(QString::fromLatin1(control))) << control;
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_FALSE(run(QStringLiteral("Password1")));
    EXPECT_EQ(messages.shown, QStringList{QStringLiteral("LUZ ACCESO RESTRINGIDO")});
}

TEST_P(Principal, ACommandThatTestsTheRoleFirstTrimsOnlyOnceItPassed) {
    logIn(4);  // TECNICA
    for (const char* control : {"SPLaboratorioProducto", "SBReportesVarios"}) {
        platform.trims = 0;
        EXPECT_FALSE(run(QString::fromLatin1(control)));
        EXPECT_EQ(platform.trims, 0) << control;
    }
    platform.trims = 0;
    EXPECT_FALSE(run(QStringLiteral("New4")));  // trims before its role test
    EXPECT_EQ(platform.trims, 1);

    actAs(kAccounts[0]);
    for (const char* control : {"SPLaboratorioProducto", "SBReportesVarios", "New4"}) {
        platform.trims = 0;
        EXPECT_TRUE(run(QString::fromLatin1(control)));
        EXPECT_EQ(platform.trims, 1) << control;
    }
}

// ---- command bodies ----

TEST_P(Principal, EliminarPedidosRemovesThePendingLinesOnlyOnYes) {
    testsupport::seedSale(db(), 1, clock.today(), QStringLiteral("CAJA01-4"),
                          {{1, 1, "2"}, {1, 2, "2"}});
    testsupport::seedSale(db(), 2, clock.today(), QStringLiteral("CAJA02-4"),
                          {{1, 1, "2", QStringLiteral("DESCARGADO")}});
    logIn(4);
    sales::TFormBusqueda* screen = searchScreen();
    ASSERT_NE(screen, nullptr);
    session().reserveSale(1);
    platform.trims = 0;

    trigger("Eliminar1");  // answered No
    EXPECT_EQ(messages.shown, QStringList{kQuestion});
    EXPECT_EQ(pendingLines(), 2);
    EXPECT_EQ(child<QLabel>(screen, "V")->text(), QStringLiteral("1"));
    EXPECT_EQ(platform.trims, 1);

    messages.clear();
    messages.answers = {true};
    trigger("Eliminar1");
    EXPECT_EQ(messages.shown,
              (QStringList{kQuestion, QStringLiteral("  ******* REPORTE *******\r\r"
                                                     "SE ELIMINARON 2 ITEMS NO DESCARGADOS\r\r"
                                                     "  ***********************")}));
    EXPECT_EQ(pendingLines(), 0);
    EXPECT_EQ(db::integer(db().scalar(QStringLiteral("SELECT COUNT(*) FROM DETAFAC"))), 1);
    EXPECT_EQ(child<QLabel>(screen, "V")->text(), QStringLiteral("V"));
    EXPECT_EQ(platform.trims, 2);
}

TEST_P(Principal, CommandsOnWindowsThatAreNotOpenSkipThatStep) {
    testsupport::seedSale(db(), 1, clock.today(), QStringLiteral("CAJA01-4"), {{1, 1, "2"}});
    messages.answers = {true};
    trigger("Eliminar1");  // no search screen before a login
    EXPECT_EQ(pendingLines(), 0);
    EXPECT_EQ(messages.shown.size(), 2);

    logIn(3);
    messages.clear();
    platform.trims = 0;
    const int windows = int(QApplication::topLevelWidgets().size());
    trigger("Calcular1");  // before any quotation window
    EXPECT_EQ(platform.trims, 1);
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_EQ(sales::SalesCounter::of(context()).quotation, nullptr);
    EXPECT_EQ(int(QApplication::topLevelWidgets().size()), windows);
}

TEST_P(Principal, TheCloseBoxLeavesTheWindowOpen) {
    logIn(1);
    EXPECT_FALSE(principal().close());
    settle();
    EXPECT_TRUE(principal().isVisible());
    EXPECT_EQ(programEnds, 0);
    EXPECT_NE(searchScreen(), nullptr);
}

// ---- the menu bar and the toolbar ----

struct MenuItem {
    QStringList path;  // captions from the menu bar down
    const char* control;
    QKeySequence shortcut;
};

TEST_P(Principal, EveryMenuItemIsInItsPlaceWithItsCaptionAndShortcut) {
    using K = QKeySequence;
    const MenuItem items[] = {
        {{"&Ingresos"}, "Ingresos1", K(Qt::Key_F2)},
        {{"&Ingresos", "&Producto"}, "Producto_1", {}},
        {{"&Ingresos", "&Marca"}, "Laboratorio1", {}},
        {{"&Ingresos", "&Mas Stock"}, "MasStock1", {}},
        {{"&Ingresos", "P&roveedor"}, "Proveedor1", {}},
        {{"&Ingresos", "R&epresentante"}, "Representante1", {}},
        {{"&Ingresos", "Pedido", "Pedido"}, "Pedido2", {}},
        {{"&Ingresos", "Pedido", "Pago"}, "Pago1", {}},
        {{"&Ingresos", "E&xit"}, "Exit1", {}},
        {{"&Asignar"}, "Asignar1", K(Qt::CTRL | Qt::Key_A)},
        {{"&Asignar", "Marca - Prod", "&Marca -Producto"}, "LaboratorioProducto1", {}},
        {{"&Asignar", "Marca - Prod", "&Presentacion"}, "Contents1", {}},
        {{"&Asignar", "&Foto"}, "Foto1", K(Qt::CTRL | Qt::Key_F)},
        {{"&Editar"}, "Editar1", K(Qt::CTRL | Qt::ALT | Qt::Key_E)},
        {{"&Editar", "Producto"}, "Producto1", {}},
        {{"&Editar", "Presentacion"}, "Presentacion1", {}},
        {{"Reportes", "&Listar", "&Productos"}, "New4", K(Qt::CTRL | Qt::Key_P)},
        {{"&Busqueda", "Pr&oducto", "Incluya"}, "New3", {}},
        {{"&Busqueda", "Pr&oducto", "&Salir"}, "Exit3", {}},
        {{"&Cotizacion", "&Calcular"}, "Calcular1", {}},
        {{"&Movimiento", "&Descarga"}, "Descarga1", {}},
        {{"&Movimiento", "D&evolucion"}, "Devolucion1", {}},
        {{"&Utilitarios", "&Calculadora"}, "Calculadora1", {}},
        {{"&Utilitarios", "&Password"}, "Password1", {}},
        {{"&Utilitarios", "BacKup BD"}, "BacKupBD1", {}},
        {{"&Utilitarios", "&Actualizar"}, "Actulaizar1", {}},
        {{"&Utilitarios", "Mensaje a PC's"}, "MensajeaPCs1", {}},
        {{"&Utilitarios", "&Eliminar Pedidos..."}, "Eliminar1", {}},
        {{"&Utilitarios", "&Descargar"}, "Descargar2", {}},
        {{"Acces&o", "Login Password"}, "LoginPassword1", {}},
        {{"Con&figuracion", "&Datos"}, "Datos1", K(Qt::CTRL | Qt::Key_D)},
        {{"&Help"}, "Help1", K(Qt::CTRL | Qt::Key_H)},
        {{"&Help", "&About"}, "About1", {}},
        {{"&Help", "&Salir"}, "Salir1", {}},
        {{"&Procesos", "&Boletas"}, "Boletas1", {}},
        {{"&Procesos", "&Traspaso"}, "raspaso1", {}},
        {{"Sa&lir"}, "Salir2", {}},
    };
    for (const MenuItem& item : items) {
        SCOPED_TRACE(item.path.join(QStringLiteral(" > ")).toStdString());
        QList<QAction*> level = principal().menuBar()->actions();
        QAction* found = nullptr;
        for (const QString& caption : item.path) {
            found = nullptr;
            for (QAction* a : level)
                if (a->text() == caption)
                    found = a;
            ASSERT_NE(found, nullptr) << caption.toStdString();
            level = found->menu() ? found->menu()->actions() : QList<QAction*>();
        }
        const QString name = found->menu() ? found->menu()->objectName() : found->objectName();
        EXPECT_EQ(name, QString::fromLatin1(item.control));
        EXPECT_EQ(found->shortcut(), item.shortcut);
    }
    EXPECT_FALSE(action(QStringLiteral("Salir2"))->icon().isNull());
    EXPECT_EQ(principal().windowTitle(), QStringLiteral("VELCARIS - SAUCAL"));
}

TEST_P(Principal, TheToolbarHoldsTheButtonsThenPhotoUserNameAndTotalsWithTheirHints) {
    const std::pair<const char*, const char*> expected[] = {
        {"SPLaboratorioProducto", "ASIGNAR PRODUCTO - LABORATORIO"},
        {"SBPresentacion", "ASIGNANDO PRESENTACION DE PRODUCTO"},
        {"SBMasStock", "INGRESO DE MAS STOCK..."},
        {"SBDetallePedido", "DETALLE DE PEDIDO"},
        {"SBEliminar", "DESASIGNAR UN PRODUCTO-LABORATORIO"},
        {"BusquedaIncluya", "BUSQUEDA AVANZADA..."},
        {"DescargarImprimir", "REALIZAR UNA VENTA"},
        {"SBReportesVarios", "REPORTES VARIOS"},
        {"SPassword", "CAMBIAR DE USUARIO"},
        {"SpBacKUpBd", "BACKUP DE LA BASE DE DATOS VELCARIS"},
        {"SBCalculadora", "Calculadora"},
        {"SpeedButton2", "Ventas"},
        {"SpeedButton1", "Salir del Programa"},
        {"DBImage1", "USUARIO ACTIVO"},
        {"LLog", "PERSONA QUE INICIO LA SESION"},
        {"Label1", nullptr},
        {"StaticText1", "BOLETAS DEL DIA"},
        {"StaticText2", "FACTURAS DEL DIA"},
    };
    auto* panel = principal().findChild<QWidget*>(QStringLiteral("Panel1"));
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->height(), 40);
    QList<QWidget*> row;
    for (int i = 0; i < panel->layout()->count(); ++i)
        if (QWidget* w = panel->layout()->itemAt(i)->widget())
            row << w;
    ASSERT_EQ(row.size(), int(std::size(expected)));
    for (int i = 0; i < row.size(); ++i) {
        SCOPED_TRACE(expected[i].first);
        EXPECT_EQ(row[i]->objectName(), QString::fromLatin1(expected[i].first));
        if (!expected[i].second)
            continue;
        const QString hint = QString::fromLatin1(expected[i].second);
        EXPECT_EQ(row[i]->statusTip(), hint);
        if (row[i]->isEnabled()) {
            EXPECT_EQ(row[i]->toolTip(), hint);
        }
    }
    EXPECT_EQ(label("LLog")->text(), QStringLiteral("USUARIO"));
    EXPECT_EQ(label("Label1")->text(), QStringLiteral("VELCARIS"));
}

TEST_P(Principal, ACommandWhoseWindowIsNotBuiltYetIsDisabledAndSaysSo) {
    for (const char* built :
         {"Foto1", "Calcular1", "Descarga1", "Calculadora1", "Actulaizar1", "Eliminar1",
          "LoginPassword1", "About1", "Salir1", "Salir2", "DescargarImprimir", "SPassword",
          "SBCalculadora", "SBEliminar", "StaticText1", "StaticText2", "Boletas1"})
        EXPECT_TRUE(isRegistered(QString::fromLatin1(built))) << built;
    int disabled = 0;
    for (const session::CommandRule& rule : session::commandRules()) {
        SCOPED_TRACE(rule.control.toStdString());
        QAction* a = action(rule.control);
        QAbstractButton* b = button(rule.control);
        if (!a && !b)
            continue;
        const bool enabled = a ? a->isEnabled() : b->isEnabled();
        const QString tip = a ? a->toolTip() : b->toolTip();
        EXPECT_EQ(enabled, isRegistered(rule.control));
        if (!enabled) {
            EXPECT_EQ(tip, kNotYet);
            ++disabled;
        } else {
            EXPECT_NE(tip, kNotYet);
        }
    }
    EXPECT_GT(disabled, 0);
}

// ---- status bar and the login window in front ----

TEST_P(Principal, TheStatusBarShowsTheHintAndTheDate) {
    QStatusTipEvent tip(QStringLiteral("CAMBIAR DE USUARIO"));
    QApplication::sendEvent(button(QStringLiteral("SPassword")), &tip);
    EXPECT_EQ(principal().statusText(0), QStringLiteral("CAMBIAR DE USUARIO"));
    EXPECT_TRUE(principal().statusText(1).isEmpty());
    EXPECT_EQ(principal().statusText(2), QStringLiteral(" Saucal - lunes, 2 de marzo de 2026"));
    QLabel* date = principal().statusBar()->findChild<QLabel*>(QStringLiteral("StatusPanel2"));
    ASSERT_NE(date, nullptr);
    EXPECT_GE(date->contentsRect().width(), date->fontMetrics().horizontalAdvance(date->text()))
        << "the date is shown whole";
    EXPECT_FALSE(principal().statusText(3).isEmpty());
}

// The widgets of a bar, left to right: none runs into the next and all lie inside the bar.
void expectSideBySide(const QList<QWidget*>& row, const QWidget* bar) {
    for (int i = 0; i < row.size(); ++i) {
        SCOPED_TRACE(row[i]->objectName().toStdString());
        const QRect g = row[i]->geometry();
        EXPECT_GE(g.left(), 0);
        EXPECT_LT(g.right(), bar->width());
        if (i > 0) {
            EXPECT_GT(g.left(), row[i - 1]->geometry().right());
        }
    }
}

TEST_P(Principal, ToolbarAndStatusBarFitTheWindowWithoutOverlapping) {
    logIn(3);
    QTest::mouseClick(label("StaticText1"), Qt::LeftButton);
    QTest::mouseClick(label("StaticText2"), Qt::LeftButton);
    QWidget* panel = principal().findChild<QWidget*>(QStringLiteral("Panel1"));
    QList<QWidget*> tools;
    for (int i = 0; i < panel->layout()->count(); ++i)
        if (QWidget* w = panel->layout()->itemAt(i)->widget())
            tools << w;
    QList<QWidget*> panels;
    for (int i = 0; i < 4; ++i)
        panels << principal().statusBar()->findChild<QLabel*>(
            QStringLiteral("StatusPanel%1").arg(i));

    const QSize screen = principal().screen()->availableGeometry().size();
    ASSERT_LT(screen.width(), 1024);
    EXPECT_LE(principal().minimumSizeHint().width(), screen.width());
    for (const QSize size : {screen, QSize(1366, 768)}) {
        SCOPED_TRACE(size.width());
        principal().setGeometry(QRect(QPoint(0, 0), size));
        settle();
        EXPECT_EQ(principal().width(), size.width());
        expectSideBySide(tools, panel);
        expectSideBySide(panels, principal().statusBar());
        for (const char* whole : {"LLog", "StaticText1", "StaticText2"})
            EXPECT_GE(label(whole)->width(), label(whole)->sizeHint().width()) << whole;
    }
    EXPECT_GE(label("Label1")->width(), label("Label1")->sizeHint().width());
    const int widths[] = {500, 60, 230, 70};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(panels[i]->width(), widths[i]) << i;
}

TEST_P(Principal, TheLoginWindowComesToTheFrontWhenTheMainWindowIsActivated) {
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &other; }));
    principal().activateWindow();
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == login(); }));
}

VELCARIS_DB_TEST_SUITE(Principal);

}  // namespace
