#include "shell/UnitPrincipal.h"

#include "core/Clock.h"
#include "core/Format.h"
#include "db/procedures/Session.h"
#include "db/procedures/Shell.h"
#include "platform/Platform.h"
#include "sales/SalesCounter.h"
#include "sales/UnitBusqueda.h"
#include "sales/UnitCotizacion.h"
#include "sales/UnitDescargar.h"
#include "shell/AppContext.h"
#include "shell/Clicks.h"
#include "shell/CommandRules.h"
#include "shell/UnitAcercaDe.h"
#include "shell/UnitDM.h"
#include "shell/UnitEntrada.h"
#include "ui/Guard.h"
#include "ui/Palette.h"
#include "ui/TextStyle.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace shell {

namespace {

const QString kNotYet = QStringLiteral("NO DISPONIBLE TODAVIA");

QIcon picture(const char* name) {
    return QIcon(QStringLiteral(":/pictures/%1.png").arg(QLatin1String(name)));
}

// The client area: the background picture stretched over it.
class Desktop : public QMdiArea {
public:
    explicit Desktop(QWidget* parent) : QMdiArea(parent) {
        picture_.load(QStringLiteral(":/pictures/escritorio.png"));
        setBackground(ui::palette::applicationWorkspace);
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QMdiArea::resizeEvent(event);
        if (!picture_.isNull())
            setBackground(picture_.scaled(viewport()->size(), Qt::IgnoreAspectRatio,
                                          Qt::SmoothTransformation));
    }

private:
    QPixmap picture_;
};

QAction* item(QMenu* menu, const char* caption, const char* name,
              const QKeySequence& shortcut = {}) {
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    return action;
}

QMenu* submenu(QWidget* owner, const char* caption, const char* name,
               const QKeySequence& shortcut = {}) {
    auto* menu = new QMenu(QString::fromUtf8(caption), owner);
    menu->setObjectName(QString::fromLatin1(name));
    menu->setToolTipsVisible(true);
    menu->menuAction()->setShortcut(shortcut);
    return menu;
}

QMenu* addSubmenu(QMenu* parent, const char* caption, const char* name) {
    QMenu* menu = submenu(parent, caption, name);
    parent->addMenu(menu);
    return menu;
}

// A label whose text is shown whole or not at all: it gives way first when the toolbar is
// narrower than everything on it.
class YieldingLabel : public QLabel {
public:
    using QLabel::QLabel;
    QSize minimumSizeHint() const override { return {0, QLabel::minimumSizeHint().height()}; }

protected:
    void paintEvent(QPaintEvent* event) override {
        if (width() >= sizeHint().width())
            QLabel::paintEvent(event);
    }
};

QLabel* boldLabel(QLabel* label, const QString& name, const QColor& colour, int points) {
    label->setObjectName(name);
    ui::setFontSize(label, points, true);
    ui::setTextColour(label, colour);
    return label;
}

QLabel* totalBox(const QString& name, const QString& hint, const QColor& text,
                 const QColor& background) {
    QLabel* box = boldLabel(new QLabel, name, text, 11);
    box->setToolTip(hint);
    box->setStatusTip(hint);
    box->setAutoFillBackground(true);
    QPalette p = box->palette();
    p.setColor(QPalette::Window, background);
    box->setPalette(p);
    box->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    box->setAlignment(Qt::AlignCenter);
    box->setMinimumWidth(90);
    box->setCursor(Qt::PointingHandCursor);
    return box;
}

}  // namespace

// The body of every control's command. nullptr: the window it opens is not part of the program
// yet, so the control stays disabled with the tooltip "NO DISPONIBLE TODAVIA". Wiring a window
// is writing its opener as a member of TPRINCIPAL and naming it here.
const std::vector<TPRINCIPAL::Command>& TPRINCIPAL::commands() {
    static const std::vector<Command> all = {
        {"Producto_1", nullptr},            // TFormProducto, new product
        {"Laboratorio1", nullptr},          // TFormLaboratorio
        {"MasStock1", nullptr},             // TFrmMasStock
        {"Proveedor1", nullptr},            // TFormProveedor
        {"Representante1", nullptr},        // TFormRepresentante
        {"Pedido2", nullptr},               // TFormPago, TFormPedido, TFormDetallePedido
        {"Exit1", nullptr},                 // the sales monitor TFormVentasTodo
        {"LaboratorioProducto1", nullptr},  // TFormProductoLaboratorio
        {"Contents1", nullptr},             // TFormPresentacion
        {"Foto1", &TPRINCIPAL::rulesOnly},  // only trims the working set
        {"Producto1", nullptr},             // TFormProducto, editing
        {"Presentacion1", nullptr},         // TFrmEdicionPresentacion
        {"New4", nullptr},                  // TFormListar
        {"New3", nullptr},                  // TFormProdIncluya
        {"Calcular1", &TPRINCIPAL::Calcular1Click},
        {"Descarga1", &TPRINCIPAL::DescargarImprimirClick},
        {"Devolucion1", nullptr},  // TFormDevolucion
        {"Calculadora1", &TPRINCIPAL::Calculadora1Click},
        {"Password1", nullptr},  // TFormLoginPassword, then the user accounts
        {"BacKupBD1", nullptr},  // TFormBacKupBD
        {"Actulaizar1", &TPRINCIPAL::Actulaizar1Click},
        {"MensajeaPCs1", nullptr},  // TFormMensajesPC02PC03
        {"Eliminar1", &TPRINCIPAL::Eliminar1Click},
        {"Descargar2", nullptr},  // TFormDescargarMonto
        {"LoginPassword1", &TPRINCIPAL::LoginPassword1Click},
        {"Datos1", nullptr},  // TFormLoginPassword, then the console
        {"About1", &TPRINCIPAL::About1Click},
        {"Salir1", &TPRINCIPAL::Salir1Click},
        {"Boletas1", nullptr},  // TFormArchivoPlano
        {"raspaso1", nullptr},  // TFormTraspasoNotBol
        {"Salir2", &TPRINCIPAL::Salir2Click},
        {"SPLaboratorioProducto", nullptr},  // TFormProductoLaboratorio
        {"SBPresentacion", nullptr},         // TFormPresentacion
        {"SBMasStock", nullptr},             // TFrmMasStock
        {"SBEliminar", nullptr},             // KZ_BorrandoProducto
        {"BusquedaIncluya", nullptr},        // TFormProdIncluya
        {"DescargarImprimir", &TPRINCIPAL::DescargarImprimirClick},
        {"SBReportesVarios", nullptr},  // TFormListar
        {"SPassword", &TPRINCIPAL::SPasswordClick},
        {"SpBacKUpBd", nullptr},  // TFormBacKupBD
        {"SBCalculadora", &TPRINCIPAL::Calculadora1Click},
        {"SpeedButton2", nullptr},  // the sales monitor TFormVentasTodo
        {"SpeedButton1", nullptr},  // the sales monitor TFormVentasTodo
        {"StaticText1", &TPRINCIPAL::StaticText1Click},
        {"StaticText2", &TPRINCIPAL::StaticText2Click},
    };
    return all;
}

TPRINCIPAL::TPRINCIPAL(AppContext& context)
    : ctx_(context), endProgram_([] { QCoreApplication::exit(0); }) {
    setObjectName(QStringLiteral("PRINCIPAL"));
    setWindowTitle(QStringLiteral("VELCARIS - SAUCAL"));
    mdi_ = new Desktop(this);
    mdi_->setObjectName(QStringLiteral("Desktop"));
    buildMenus();
    auto* client = new QWidget(this);
    auto* column = new QVBoxLayout(client);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    setCentralWidget(client);
    column->addWidget(buildToolbar());
    column->addWidget(mdi_, 1);
    buildStatusBar();
    wireCommands();
    sales::wireCheckoutKeys(this, ctx_);
    connect(&ctx_.dm, &TDM::accessChanged, this, &TPRINCIPAL::showUserPhoto);
    qApp->installEventFilter(this);
    showHint(QString());
    newSaleFlag = 1;
}

TPRINCIPAL::~TPRINCIPAL() = default;

void TPRINCIPAL::buildMenus() {
    QMenuBar* bar = menuBar();
    const auto top = [&](const char* caption, const char* name, const QKeySequence& key = {}) {
        QMenu* menu = submenu(this, caption, name, key);
        bar->addMenu(menu);
        return menu;
    };

    QMenu* ingresos = top("&Ingresos", "Ingresos1", QKeySequence(Qt::Key_F2));
    item(ingresos, "&Producto", "Producto_1");
    item(ingresos, "&Marca", "Laboratorio1");
    item(ingresos, "&Mas Stock", "MasStock1");
    item(ingresos, "P&roveedor", "Proveedor1");
    item(ingresos, "R&epresentante", "Representante1");
    QMenu* pedido = addSubmenu(ingresos, "Pedido", "Pedido1");
    item(pedido, "Pedido", "Pedido2");
    item(pedido, "Pago", "Pago1");
    item(ingresos, "E&xit", "Exit1");

    QMenu* asignar = top("&Asignar", "Asignar1", QKeySequence(Qt::CTRL | Qt::Key_A));
    QMenu* marcaProd = addSubmenu(asignar, "Marca - Prod", "MarcaProd1");
    item(marcaProd, "&Marca -Producto", "LaboratorioProducto1");
    item(marcaProd, "&Presentacion", "Contents1");
    item(asignar, "&Foto", "Foto1", QKeySequence(Qt::CTRL | Qt::Key_F));

    QMenu* editar = top("&Editar", "Editar1", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_E));
    item(editar, "Producto", "Producto1");
    item(editar, "Presentacion", "Presentacion1");

    QMenu* reportes = top("Reportes", "Reportes1");
    QMenu* listar = addSubmenu(reportes, "&Listar", "Listar1");
    item(listar, "&Productos", "New4", QKeySequence(Qt::CTRL | Qt::Key_P));

    QMenu* busqueda = top("&Busqueda", "Busqueda1");
    QMenu* producto = addSubmenu(busqueda, "Pr&oducto", "Producto2");
    item(producto, "Incluya", "New3");
    item(producto, "&Salir", "Exit3");

    QMenu* cotizacion = top("&Cotizacion", "Cotizacion1");
    item(cotizacion, "&Calcular", "Calcular1");

    QMenu* movimiento = top("&Movimiento", "Movimiento1");
    item(movimiento, "&Descarga", "Descarga1");
    item(movimiento, "D&evolucion", "Devolucion1");

    QMenu* utilitarios = top("&Utilitarios", "Utilitarios1");
    item(utilitarios, "&Calculadora", "Calculadora1");
    item(utilitarios, "&Password", "Password1");
    item(utilitarios, "BacKup BD", "BacKupBD1");
    item(utilitarios, "&Actualizar", "Actulaizar1");
    item(utilitarios, "Mensaje a PC's", "MensajeaPCs1");
    item(utilitarios, "&Eliminar Pedidos...", "Eliminar1");
    item(utilitarios, "&Descargar", "Descargar2");

    QMenu* acceso = top("Acces&o", "Acceso1");
    item(acceso, "Login Password", "LoginPassword1");

    QMenu* configuracion = top("Con&figuracion", "Configuracion1");
    item(configuracion, "&Datos", "Datos1", QKeySequence(Qt::CTRL | Qt::Key_D));

    QMenu* help = top("&Help", "Help1", QKeySequence(Qt::CTRL | Qt::Key_H));
    item(help, "&About", "About1");
    item(help, "&Salir", "Salir1");

    QMenu* procesos = top("&Procesos", "Procesos1");
    item(procesos, "&Boletas", "Boletas1");
    item(procesos, "&Traspaso", "raspaso1");

    QAction* salir = bar->addAction(picture("salir"), QStringLiteral("Sa&lir"));
    salir->setObjectName(QStringLiteral("Salir2"));
}

QWidget* TPRINCIPAL::buildToolbar() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFixedHeight(40);
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(4, 2, 4, 2);
    row->setSpacing(2);

    struct Button {
        const char* name;
        const char* hint;
        const char* picture;
    };
    static const Button buttons[] = {
        {"SPLaboratorioProducto", "ASIGNAR PRODUCTO - LABORATORIO", "producto-laboratorio"},
        {"SBPresentacion", "ASIGNANDO PRESENTACION DE PRODUCTO", "presentacion"},
        {"SBMasStock", "INGRESO DE MAS STOCK...", "mas-stock"},
        {"SBEliminar", "DESASIGNAR UN PRODUCTO-LABORATORIO", "eliminar"},
        {"BusquedaIncluya", "BUSQUEDA AVANZADA...", "busqueda"},
        {"DescargarImprimir", "REALIZAR UNA VENTA", "venta"},
        {"SBReportesVarios", "REPORTES VARIOS", "reportes"},
        {"SPassword", "CAMBIAR DE USUARIO", "usuario"},
        {"SpBacKUpBd", "BACKUP DE LA BASE DE DATOS VELCARIS", "backup"},
        {"SBCalculadora", "Calculadora", "calculadora"},
        {"SpeedButton2", "Ventas", "ventas"},
        {"SpeedButton1", "Salir del Programa", "salir"},
    };
    for (const Button& b : buttons) {
        auto* button = new QToolButton(panel);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setToolTip(QString::fromLatin1(b.hint));
        button->setStatusTip(QString::fromLatin1(b.hint));
        button->setIcon(picture(b.picture));
        button->setIconSize(QSize(24, 24));
        button->setFixedSize(32, 32);
        button->setAutoRaise(true);
        row->addWidget(button);
    }
    row->addSpacing(6);

    DBImage1 = new QLabel(panel);
    DBImage1->setObjectName(QStringLiteral("DBImage1"));
    DBImage1->setToolTip(QStringLiteral("USUARIO ACTIVO"));
    DBImage1->setStatusTip(QStringLiteral("USUARIO ACTIVO"));
    DBImage1->setFixedSize(32, 32);
    DBImage1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    DBImage1->setAlignment(Qt::AlignCenter);
    row->addWidget(DBImage1);

    LLog = boldLabel(new QLabel(QStringLiteral("USUARIO")), QStringLiteral("LLog"),
                     ui::palette::red, 10);
    LLog->setToolTip(QStringLiteral("PERSONA QUE INICIO LA SESION"));
    LLog->setStatusTip(QStringLiteral("PERSONA QUE INICIO LA SESION"));
    row->addWidget(LLog);

    QLabel* business = boldLabel(new YieldingLabel(QStringLiteral("VELCARIS")),
                                 QStringLiteral("Label1"), ui::palette::red, 16);
    business->setContentsMargins(8, 0, 0, 0);
    row->addWidget(business);
    row->addSpacing(6);
    StaticText1 = totalBox(QStringLiteral("StaticText1"), QStringLiteral("BOLETAS DEL DIA"),
                           ui::palette::lime, ui::palette::desktop);
    StaticText2 = totalBox(QStringLiteral("StaticText2"), QStringLiteral("FACTURAS DEL DIA"),
                           ui::palette::red, ui::palette::black);
    row->addWidget(StaticText1);
    row->addWidget(StaticText2);
    row->addStretch(1);
    return panel;
}

void TPRINCIPAL::buildStatusBar() {
    static const int widths[4] = {500, 60, 230, 70};
    for (int i = 0; i < 4; ++i) {
        auto* panel = new QLabel(statusBar());
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        if (i == 1)
            panel->setAlignment(Qt::AlignCenter);
        // The hint panel gives way on a narrow screen; the others keep their width.
        if (i == 0) {
            panel->setMaximumWidth(widths[i]);
            panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        } else {
            panel->setFixedWidth(widths[i]);
        }
        statusBar()->addWidget(panel, i == 0 ? 1 : 0);
        panels_[i] = panel;
    }
    panels_[3]->setText(QStringLiteral("v1.0.7"));
}

void TPRINCIPAL::wireCommands() {
    for (const Command& command : commands()) {
        const QString name = QString::fromLatin1(command.control);
        const auto go = [this, name] { run(name); };
        if (auto* action = findChild<QAction*>(name)) {
            connect(action, &QAction::triggered, this, go);
            if (!command.body) {
                action->setEnabled(false);
                action->setToolTip(kNotYet);
            }
        } else if (auto* button = findChild<QAbstractButton*>(name)) {
            connect(button, &QAbstractButton::clicked, this, go);
            if (!command.body) {
                button->setEnabled(false);
                button->setToolTip(kNotYet);
            }
        } else if (auto* box = findChild<QLabel*>(name)) {
            onClick(box, go);
        }
    }
}

TPRINCIPAL::Body TPRINCIPAL::bodyOf(const QString& control) const {
    for (const Command& command : commands())
        if (control == QLatin1String(command.control))
            return command.body;
    return nullptr;
}

bool TPRINCIPAL::isWired(const QString& control) const {
    return bodyOf(control) != nullptr;
}

bool TPRINCIPAL::run(const QString& control) {
    const CommandRule* rule = commandRule(control);
    const Body body = bodyOf(control);
    bool passed = false;
    ui::guard(ctx_.messages, [&] {
        if (rule && !runCommandRule(*rule, ctx_))
            return;
        passed = true;
        if (body)
            (this->*body)();
    });
    return passed;
}

TFormEntrada* TPRINCIPAL::showLoginWindow() {
    if (login_)
        login_->close();
    login_ = new TFormEntrada(ctx_, this);
    return login_;
}

TFormEntrada* TPRINCIPAL::loginWindow() const {
    return login_;
}

void TPRINCIPAL::endProgram() {
    endProgram_();
}

void TPRINCIPAL::setUserLabel(const QString& text) {
    LLog->setText(text);
}

QString TPRINCIPAL::userLabel() const {
    return LLog->text();
}

void TPRINCIPAL::openSearchScreen() {
    auto* screen = new sales::TFormBusqueda(ctx_);
    screen->setCostFiguresVisible(costFiguresVisible_);
    QMdiSubWindow* sub = mdi_->addSubWindow(screen);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->showMaximized();
    screen->focusSearchBox();
}

// Closes the sub-window with the screen (which closes the screen first), so that no empty
// frame is left on the desktop.
void TPRINCIPAL::closeSearchScreen() {
    sales::TFormBusqueda* screen = searchScreen();
    if (!screen)
        return;
    if (auto* frame = qobject_cast<QMdiSubWindow*>(screen->parentWidget()))
        frame->close();
    else
        screen->close();
}

sales::TFormBusqueda* TPRINCIPAL::searchScreen() {
    return sales::SalesCounter::of(this).searchScreen;
}

void TPRINCIPAL::setCostFiguresVisible(bool visible) {
    costFiguresVisible_ = visible;
    if (sales::TFormBusqueda* screen = searchScreen())
        screen->setCostFiguresVisible(visible);
}

void TPRINCIPAL::setSaleLabel(const QString& text) {
    if (sales::TFormBusqueda* screen = searchScreen())
        screen->setSaleLabel(text);
}

QString TPRINCIPAL::statusText(int panel) const {
    return panels_[panel]->text();
}

void TPRINCIPAL::setStatusText(int panel, const QString& text) {
    panels_[panel]->setText(text);
}

void TPRINCIPAL::DescargarImprimirClick() {
    sales::openCheckout(ctx_);
}

bool TPRINCIPAL::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && login_) {
        login_->raise();
        login_->activateWindow();
    }
    return QMainWindow::event(event);
}

bool TPRINCIPAL::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        showHint(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TPRINCIPAL::closeEvent(QCloseEvent* event) {
    event->ignore();
}

void TPRINCIPAL::showHint(const QString& hint) {
    panels_[0]->setText(hint);
    panels_[2]->setText(
        QStringLiteral(" Saucal - ") +
        QLocale::system().toString(ctx_.clock.today(), QLocale::LongFormat).trimmed());
}

void TPRINCIPAL::showUserPhoto() {
    const auto& access = ctx_.dm.access();
    QPixmap photo;
    if (access && !access->UsuFoto.isEmpty())
        photo.loadFromData(access->UsuFoto);
    if (photo.isNull())
        DBImage1->clear();
    else
        DBImage1->setPixmap(photo.scaled(DBImage1->contentsRect().size(), Qt::KeepAspectRatio,
                                         Qt::SmoothTransformation));
}

void TPRINCIPAL::showDayTotal(QLabel* box, const QString& receiptType) {
    box->setText(
        core::fmt::shortest(db::proc::totalDelDia(ctx_.db, ctx_.clock.today(), receiptType)));
}

void TPRINCIPAL::closeAttendance() {
    db::proc::KZ_HorarioSalida(ctx_.db, {ctx_.dm.attendanceId, ctx_.dm.sessionUserCode},
                               ctx_.clock.now());
}

// Shows the last quotation window again with the current presentation; nothing before one was
// created.
void TPRINCIPAL::Calcular1Click() {
    sales::TFormCotizacion::reshowLast(ctx_);
}

void TPRINCIPAL::Calculadora1Click() {
    ctx_.platform.startCalculator();
}

void TPRINCIPAL::Actulaizar1Click() {
    ctx_.dm.reopenSessionDatasets();
}

void TPRINCIPAL::Eliminar1Click() {
    if (ctx_.messages.confirm(QStringLiteral("DESEA ELIMINAR ITEMS\rNO DESCARGADOS..."))) {
        const auto out = db::proc::KZ_BorrarVentasNoDescargadas(ctx_.db);
        setSaleLabel(QStringLiteral("V"));
        ctx_.messages.notice(QStringLiteral("  ******* REPORTE *******\r\r") + out.pMensaje +
                             QStringLiteral("\r\r  ***********************"));
    }
    ctx_.platform.trimWorkingSet();
}

void TPRINCIPAL::LoginPassword1Click() {
    ctx_.dm.closeSessionDatasets();
    closeSearchScreen();
    showLoginWindow();
}

void TPRINCIPAL::About1Click() {
    (new TAcercaDe(ctx_, this))->show();
}

void TPRINCIPAL::Salir1Click() {
    endProgram();
}

void TPRINCIPAL::Salir2Click() {
    closeAttendance();
    endProgram();
}

void TPRINCIPAL::SPasswordClick() {
    closeAttendance();
    ctx_.dm.closeAccess();
    ctx_.dm.closeSessionDatasets();
    closeSearchScreen();
    showLoginWindow();
}

void TPRINCIPAL::StaticText1Click() {
    showDayTotal(StaticText1, QStringLiteral("BOLETA DE VENTA"));
}

void TPRINCIPAL::StaticText2Click() {
    showDayTotal(StaticText2, QStringLiteral("FACTURA"));
}

}  // namespace shell
