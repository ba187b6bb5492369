#include "shell/UnitPrincipal.h"

#include "core/Clock.h"
#include "core/Format.h"
#include "db/Settings.h"
#include "db/procedures/Session.h"
#include "db/procedures/Shell.h"
#include "platform/Platform.h"
#include "session/AppContext.h"
#include "session/CommandRules.h"
#include "session/Commands.h"
#include "session/Session.h"
#include "session/UnitDM.h"
#include "shell/UnitAcercaDe.h"
#include "shell/UnitEntrada.h"
#include "ui/Clicks.h"
#include "ui/Messages.h"
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
#include <algorithm>

namespace shell {

namespace {

const QString kNotYet = QStringLiteral("NO DISPONIBLE TODAVIA");
constexpr int kDatePanelWidth = 230;

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

// The business name as the status bar writes it: "SAUCAL" as "Saucal".
QString capitalised(const QString& name) {
    QStringList words = name.split(QLatin1Char(' '));
    for (QString& word : words)
        word = word.left(1).toUpper() + word.mid(1).toLower();
    return words.join(QLatin1Char(' '));
}

}  // namespace

TPRINCIPAL::TPRINCIPAL(session::AppContext& context)
    : ctx_(context), endProgram_([] { QCoreApplication::exit(0); }) {
    setObjectName(QStringLiteral("PRINCIPAL"));
    setWindowTitle(QStringLiteral("VELCARIS - ") + ctx_.settings.businessName());
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
    ctx_.mainWindow = this;
    ctx_.desktop = mdi_;
    registerCommands();
    wireCommands();
    const session::Session& s = ctx_.session;
    connect(&ctx_.dm, &session::TDM::accessChanged, this, &TPRINCIPAL::showUserPhoto);
    connect(&s, &session::Session::userCaptionChanged, LLog, &QLabel::setText);
    connect(&s, &session::Session::saleDischarged, this,
            [this](int sale) { setStatusText(1, QString::number(sale)); });
    connect(&s, &session::Session::endRequested, this, &TPRINCIPAL::endProgram);
    qApp->installEventFilter(this);
    showHint(QString());
}

void TPRINCIPAL::registerCommands() {
    session::Commands& c = ctx_.commands;
    const auto body = [this](void (TPRINCIPAL::*member)()) {
        return [this, member] { (this->*member)(); };
    };
    c.add(QStringLiteral("Foto1"), [] {});  // its rule only trims the working set
    c.add(QStringLiteral("Calculadora1"), body(&TPRINCIPAL::Calculadora1Click));
    c.add(QStringLiteral("SBCalculadora"), body(&TPRINCIPAL::Calculadora1Click));
    c.add(QStringLiteral("Actulaizar1"), body(&TPRINCIPAL::Actulaizar1Click));
    c.add(QStringLiteral("Eliminar1"), body(&TPRINCIPAL::Eliminar1Click));
    c.add(QStringLiteral("LoginPassword1"), body(&TPRINCIPAL::LoginPassword1Click));
    c.add(QStringLiteral("About1"), body(&TPRINCIPAL::About1Click));
    c.add(QStringLiteral("Salir1"), body(&TPRINCIPAL::Salir1Click));
    c.add(QStringLiteral("Salir2"), body(&TPRINCIPAL::Salir2Click));
    c.add(QStringLiteral("SPassword"), body(&TPRINCIPAL::SPasswordClick));
    c.add(QStringLiteral("StaticText1"),
          [this] { showDayTotal(StaticText1, QStringLiteral("BOLETA DE VENTA")); });
    c.add(QStringLiteral("StaticText2"),
          [this] { showDayTotal(StaticText2, QStringLiteral("FACTURA")); });
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
        {"SBDetallePedido", "DETALLE DE PEDIDO", "presentacion"},
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
        button->setFixedSize(30, 30);
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
    static const int widths[4] = {500, 60, kDatePanelWidth, 70};
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

// Every control with a rule asks the registry; one nobody registered is disabled.
void TPRINCIPAL::wireCommands() {
    for (const session::CommandRule& rule : session::commandRules()) {
        const QString name = rule.control;
        const auto go = [this, name] { ctx_.commands.run(name, ctx_); };
        const bool registered = ctx_.commands.has(name);
        if (auto* action = findChild<QAction*>(name)) {
            connect(action, &QAction::triggered, this, go);
            action->setEnabled(registered);
            if (!registered)
                action->setToolTip(kNotYet);
        } else if (auto* button = findChild<QAbstractButton*>(name)) {
            connect(button, &QAbstractButton::clicked, this, go);
            button->setEnabled(registered);
            if (!registered)
                button->setToolTip(kNotYet);
        } else if (auto* box = findChild<QLabel*>(name)) {
            ui::onClick(box, go);
        }
    }
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

QString TPRINCIPAL::userLabel() const {
    return LLog->text();
}

QString TPRINCIPAL::statusText(int panel) const {
    return panels_[panel]->text();
}

void TPRINCIPAL::setStatusText(int panel, const QString& text) {
    panels_[panel]->setText(text);
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
    showDate();
}

// The day in the shop's language, its panel as wide as the text needs (230 pixels at least).
void TPRINCIPAL::showDate() {
    QLabel* panel = panels_[2];
    const QString text =
        QLatin1Char(' ') + capitalised(ctx_.settings.businessName()) + QStringLiteral(" - ") +
        core::fmt::shopLocale().toString(ctx_.clock.today(), QLocale::LongFormat).trimmed();
    if (panel->text() == text)
        return;
    panel->setText(text);
    const int needed = panel->fontMetrics().horizontalAdvance(text) + 2 * panel->frameWidth() +
                       panel->fontMetrics().averageCharWidth();
    panel->setFixedWidth(std::max(kDatePanelWidth, needed));
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
    db::proc::KZ_HorarioSalida(ctx_.db, {ctx_.session.attendanceId(), ctx_.session.userCode()},
                               ctx_.clock.now());
}

// The session's windows close and the login window opens.
void TPRINCIPAL::backToLogin() {
    ctx_.dm.closeSessionDatasets();
    ctx_.session.logOut();
    showLoginWindow();
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
        ctx_.session.clearCurrentSale();
        ctx_.messages.notice(QStringLiteral("  ******* REPORTE *******\r\r") + out.pMensaje +
                             QStringLiteral("\r\r  ***********************"));
    }
    ctx_.platform.trimWorkingSet();
}

void TPRINCIPAL::LoginPassword1Click() {
    backToLogin();
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
    backToLogin();
}

}  // namespace shell
