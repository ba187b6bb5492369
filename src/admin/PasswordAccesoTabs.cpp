#include "admin/AccountParts.h"
#include "admin/UnitPasswordAcceso.h"
#include "core/Roles.h"
#include "ui/ContextMenu.h"
#include "ui/FormHelpers.h"
#include "ui/Grid.h"
#include "ui/Palette.h"
#include "ui/TextStyle.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

// The controls of the user-accounts window's four tabs.
namespace admin {

namespace {

using db::proc::EstadoUsuario;
using db::proc::UserRow;

const QString kDateFormat = QStringLiteral("dd/MM/yyyy");
// The size of the passwords the "EDITAR" and "FORZAR" tabs set: the re-authentication carries
// no more.
constexpr int kPasswordSize = 30;

QString dateText(const QDateTime& dt) {
    return dt.isValid() ? dt.toString(kDateFormat) : QString();
}

QTableView* grid(QWidget* parent, const char* name) {
    auto* view = new QTableView(parent);
    view->setObjectName(QString::fromLatin1(name));
    return view;
}

QLabel* caption(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    return label;
}

// Every column of an account but its password and photo.
std::vector<ui::ColumnDef> allColumns(const ui::VectorModel<UserRow>* m) {
    const auto textOf = [m](QString UserRow::*field) { return m->by(field); };
    const auto dateOf = [m](QDateTime UserRow::*field) {
        return m->by([field](const UserRow& u) { return dateText(u.*field); });
    };
    return {
        {.title = QStringLiteral("UsuCod"), .width = 50, .value = m->by(&UserRow::UsuCod)},
        {.title = QStringLiteral("SucCod"), .width = 50, .value = m->by(&UserRow::SucCod)},
        {.title = QStringLiteral("UsuLogin"), .value = textOf(&UserRow::UsuLogin)},
        {.title = QStringLiteral("UsuCargo"), .width = 130, .value = textOf(&UserRow::UsuCargo)},
        {.title = QStringLiteral("UsuNombres"),
         .width = 120,
         .value = textOf(&UserRow::UsuNombres)},
        {.title = QStringLiteral("UsuApellidos"),
         .width = 150,
         .value = textOf(&UserRow::UsuApellidos)},
        {.title = QStringLiteral("UsuDni"), .value = textOf(&UserRow::UsuDni)},
        {.title = QStringLiteral("UsuTelefono"), .value = textOf(&UserRow::UsuTelefono)},
        {.title = QStringLiteral("UsuEdad"), .width = 50, .value = m->by(&UserRow::UsuEdad)},
        {.title = QStringLiteral("UsuDomicilio"),
         .width = 150,
         .value = textOf(&UserRow::UsuDomicilio)},
        {.title = QStringLiteral("UsuFechNac"), .value = dateOf(&UserRow::UsuFechNac)},
        {.title = QStringLiteral("UsuEstado"), .value = textOf(&UserRow::UsuEstado)},
        {.title = QStringLiteral("UsuTecla"), .width = 50, .value = textOf(&UserRow::UsuTecla)},
        {.title = QStringLiteral("UsuFechaIngreso"), .value = dateOf(&UserRow::UsuFechaIngreso)},
        {.title = QStringLiteral("UsuFechaRenuncia"), .value = dateOf(&UserRow::UsuFechaRenuncia)}};
}

}  // namespace

void TFormLoginPasswordEC::build() {
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->addTab(buildNuevo(), QStringLiteral("NUEVO"));
    PageControl1->addTab(buildEditar(), QStringLiteral("EDITAR"));
    PageControl1->addTab(buildInactivar(), QStringLiteral("INACTIVAR"));
    PageControl1->addTab(buildForzar(), QStringLiteral("FORZAR"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1);
}

QWidget* TFormLoginPasswordEC::buildNuevo() {
    auto* page = new QWidget(this);
    DBGridUsuario = grid(page, "DBGridUsuario");
    usersModel_ = new Users(page);
    usersModel_->setColumns({{.title = QStringLiteral("USUARIO"),
                              .width = 90,
                              .value = usersModel_->by(&UserRow::UsuLogin)},
                             {.title = QStringLiteral("APELLIDOS"),
                              .width = 170,
                              .value = usersModel_->by(&UserRow::UsuApellidos)},
                             {.title = QStringLiteral("TECLA"),
                              .width = 50,
                              .value = usersModel_->by(&UserRow::UsuTecla)}});
    ui::Grid::setUp(DBGridUsuario, usersModel_);
    DBGridUsuario->horizontalHeader()->setStyleSheet(QStringLiteral(
        "QHeaderView::section { background: red; color: white; font-weight: bold; }"));
    DBGridUsuario->setMinimumWidth(330);
    DBImage1 = new QLabel(page);
    DBImage1->setObjectName(QStringLiteral("DBImage1"));
    DBImage1->setFixedSize(150, 150);
    DBImage1->setScaledContents(true);
    DBImage1->setFrameShape(QFrame::Box);
    PopupMenu1 = new QMenu(page);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    const auto item = [this](const char* name, const QString& text, Qt::Key key, auto slot) {
        QAction* a = PopupMenu1->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        a->setShortcut(QKeySequence(Qt::CTRL | key));
        connect(a, &QAction::triggered, this, slot);
    };
    item("Foto1", QStringLiteral("&Foto"), Qt::Key_F, &TFormLoginPasswordEC::FotoClick);
    item("Borrar1", QStringLiteral("&Borrar"), Qt::Key_B, &TFormLoginPasswordEC::BorrarFotoClick);
    item("Editar1", QStringLiteral("&Editar"), Qt::Key_E,
         &TFormLoginPasswordEC::EditarUsuarioClick);
    ui::attachContextMenu(DBGridUsuario, PopupMenu1);

    auto* right = new QVBoxLayout;
    right->addWidget(DBGridUsuario, 1);
    right->addWidget(DBImage1, 0, Qt::AlignHCenter);
    auto* layout = new QHBoxLayout(page);
    layout->addWidget(buildNuevoBoxes(page));
    layout->addLayout(right, 1);
    return page;
}

QWidget* TFormLoginPasswordEC::buildNuevoBoxes(QWidget* page) {
    auto* panel = new QWidget(page);
    EdLogin = parts::box(panel, "EdLogin");
    EdPassword1 = parts::passwordBox(panel, "EdPassword1");
    EdPassword2 = parts::passwordBox(panel, "EdPassword2");
    CBCargo = parts::choice(
        panel, "CBCargo",
        {core::roles::ADMINISTRADOR, QStringLiteral("AUXILIAR"), QStringLiteral("CAJERO"),
         QStringLiteral("QUIMICO FARMACEUTICO"), QStringLiteral("CONTADOR"),
         QStringLiteral("VIGILANTE"), QStringLiteral("TECNICA")},
        core::roles::ADMINISTRADOR, 20);
    EdNombres = parts::box(panel, "EdNombres", 20);
    EdApellidos = parts::box(panel, "EdApellidos", 30);
    EdDNI = parts::digitsBox(panel, "EdDNI", parts::kDniDigits);
    EdTelefono = parts::box(panel, "EdTelefono", 20);
    EdEdad = parts::digitsBox(panel, "EdEdad", 3);
    EdEdad->setText(QStringLiteral("31"));
    CbTeclaVenta = new QComboBox(panel);
    CbTeclaVenta->setObjectName(QStringLiteral("CbTeclaVenta"));
    CbTeclaVenta->addItems({QStringLiteral("F5"), QStringLiteral("F6"), QStringLiteral("F7"),
                            QStringLiteral("F8"), QStringLiteral("F9")});
    EdDomicilio = parts::box(panel, "EdDomicilio", 40);
    DTFechaNac = new QDateEdit(QDate(1990, 1, 1), panel);
    DTFechaNac->setObjectName(QStringLiteral("DTFechaNac"));
    DTFechaNac->setDisplayFormat(kDateFormat);
    DTFechaNac->setCalendarPopup(true);
    CBSucursal = new QComboBox(panel);
    CBSucursal->setObjectName(QStringLiteral("CBSucursal"));
    CBSucursal->hide();
    Aceptar1 = parts::button(panel, "Aceptar1", QStringLiteral("&Aceptar"));
    BtEditar = parts::button(panel, "BtEditar", QStringLiteral("&Editar"));
    BtEditar->setEnabled(false);
    Cancelar1 = parts::button(panel, "Cancelar1", QStringLiteral("&Salir"));

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("LOGIN:"), EdLogin);
    fields->addRow(QStringLiteral("PASSWORD"), EdPassword1);
    fields->addRow(QStringLiteral("PASSWORD:"), EdPassword2);
    fields->addRow(QStringLiteral("CARGO:"), CBCargo);
    fields->addRow(QStringLiteral("NOMBRES:"), EdNombres);
    fields->addRow(QStringLiteral("APELLIDOS:"), EdApellidos);
    fields->addRow(QStringLiteral("D.N.I:"), EdDNI);
    fields->addRow(QStringLiteral("TELEFONO(S):"), EdTelefono);
    fields->addRow(QStringLiteral("EDAD:"), EdEdad);
    fields->addRow(QStringLiteral("TECLA:"), CbTeclaVenta);
    fields->addRow(QStringLiteral("DOMICILIO:"), EdDomicilio);
    fields->addRow(QStringLiteral("FECHA NAC:"), DTFechaNac);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {Aceptar1, BtEditar, Cancelar1})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(panel);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->addStretch();
    return panel;
}

QWidget* TFormLoginPasswordEC::buildEditar() {
    auto* page = new QWidget(this);
    CbLogin = parts::choice(page, "CbLogin", {}, QString(), kPasswordSize);
    EdPassLog1 = parts::passwordBox(page, "EdPassLog1", kPasswordSize);
    EdPassLog2 = parts::passwordBox(page, "EdPassLog2", kPasswordSize);
    EdPassLog3 = parts::passwordBox(page, "EdPassLog3", kPasswordSize);
    ST1 = new QLabel(page);
    ST1->setObjectName(QStringLiteral("ST1"));
    ST1->setWordWrap(true);
    ST1->setAutoFillBackground(true);
    QPalette p = ST1->palette();
    p.setColor(QPalette::Window, ui::palette::black);
    ST1->setPalette(p);
    ui::setTextColour(ST1, ui::palette::lime);
    ST1->setMinimumHeight(40);
    Editar = parts::button(page, "Editar", QStringLiteral("&Editar"));
    Cacelar2 = parts::button(page, "Cacelar2", QStringLiteral("&Salir"));

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("LOGIN:"), CbLogin);
    fields->addRow(QStringLiteral("PASSWORD:"), EdPassLog1);
    fields->addRow(QStringLiteral("NUEVO PASSWORD:"), EdPassLog2);
    fields->addRow(QStringLiteral("NUEVO PASSWORD:"), EdPassLog3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Editar);
    buttons->addWidget(Cacelar2);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(fields);
    layout->addWidget(ST1);
    layout->addLayout(buttons);
    layout->addStretch();
    return page;
}

QWidget* TFormLoginPasswordEC::buildInactivar() {
    auto* page = new QWidget(this);
    DBGrid1 = grid(page, "DBGrid1");
    statesModel_ = new States(page);
    const auto inactive = [m = statesModel_](int row) {
        return m->row(row).UsuEstado == QLatin1String("INACTIVO");
    };
    statesModel_->setColumns(
        {{.width = 110, .value = statesModel_->by(&EstadoUsuario::UsuLogin)},
         {.width = 100,
          .value = statesModel_->by(&EstadoUsuario::UsuEstado),
          .foreground = [inactive](int r) { return inactive(r) ? ui::palette::red : QColor(); },
          .bold = inactive},
         {.width = 50, .value = statesModel_->by(&EstadoUsuario::UsuCod)}});
    ui::Grid::setUp(DBGrid1, statesModel_);
    DBGrid1->horizontalHeader()->hide();
    DBGrid1->setToolTip(QStringLiteral("ELEGIR EL USUARIO A ELIMINAR"));
    EdEliminaPassword = new QLineEdit(page);
    EdEliminaPassword->setObjectName(QStringLiteral("EdEliminaPassword"));
    EdEliminaPassword->setMaxLength(kPasswordSize);
    EdEliminaPassword->setToolTip(QStringLiteral("PASSWORD DEL ADMINISTRADOR"));
    ui::hashEcho(EdEliminaPassword);
    BitBtn1 = parts::button(page, "BitBtn1", QStringLiteral("&Eliminar"));
    Activar = parts::button(page, "Activar", QStringLiteral("&Activar"));
    Inactivar = parts::button(page, "Inactivar", QStringLiteral("&Inactivar"));

    auto* password = new QFormLayout;
    password->addRow(QStringLiteral("PASSWORD:"), EdEliminaPassword);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {BitBtn1, Activar, Inactivar})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(password);
    layout->addLayout(buttons);
    return page;
}

QWidget* TFormLoginPasswordEC::buildForzar() {
    auto* page = new QWidget(this);
    DBGrid2 = grid(page, "DBGrid2");
    forceModel_ = new Users(page);
    forceModel_->setColumns(allColumns(forceModel_));
    ui::Grid::setUp(DBGrid2, forceModel_);
    P1 = parts::passwordBox(page, "P1", kPasswordSize);
    P2 = parts::passwordBox(page, "P2", kPasswordSize);
    SBForzar = parts::button(page, "SBForzar", QStringLiteral("&Forzar"));
    auto* boxes = new QHBoxLayout;
    boxes->addWidget(caption(QStringLiteral("Password:"), page));
    boxes->addWidget(P1);
    boxes->addWidget(caption(QStringLiteral("Password:"), page));
    boxes->addWidget(P2);
    boxes->addWidget(SBForzar);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(DBGrid2, 1);
    layout->addLayout(boxes);
    return page;
}

}  // namespace admin
