#include "purchasing/UnitProveedor.h"

#include "core/Roles.h"
#include "purchasing/PurchasingParts.h"
#include "session/CommandRules.h"
#include "session/UnitDM.h"
#include "ui/Activation.h"
#include "ui/Grid.h"
#include "ui/Guard.h"
#include "ui/Messages.h"
#include "ui/TableModel.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace purchasing {

namespace {

using db::proc::ProveedorRow;
namespace roles = core::roles;

const QString kNoName = QStringLiteral("TIENE QUE INGRESAR EL NOMBRE DEL PROVEEDOR");

}  // namespace

TFormProveedor* TFormProveedor::open(session::AppContext& ctx) {
    auto* form = new TFormProveedor(ctx);
    parts::show(form);
    return form;
}

TFormProveedor::TFormProveedor(session::AppContext& ctx)
    : QWidget(ctx.mainWindow, Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint),
      ctx_(ctx) {
    setObjectName(QStringLiteral("FormProveedor"));
    setWindowTitle(QStringLiteral("PROVEDDOR"));
    own_ = new parts::OwnBoxes(this);
    build();
    wire();
    ui::guard(ctx_.messages, [this] { reload(); });
    ui::onActivation(this, [this] { ui::guard(ctx_.messages, [this] { activated(); }); });
}

void TFormProveedor::build() {
    namespace p = db::proc;
    EdRS = parts::box(this, "EdRS", p::kProvRazSocSize);
    EdT = parts::box(this, "EdT", p::kProvTelefonoSize);
    EdTF = parts::box(this, "EdTF", p::kProvTelefaxSize);
    EdE = parts::box(this, "EdE", p::kProvEmailSize);
    EdC = parts::box(this, "EdC", p::kProvCuentaSize);
    EdD = parts::box(this, "EdD", p::kProvDescripSize);
    CBE = parts::choice(this, "CBE", {QStringLiteral("ACTIVO"), QStringLiteral("INACTIVO")},
                        QStringLiteral("ESTADO"));
    ST = parts::messageLine(this, "ST");
    BtnNuevo = parts::button(this, "BtnNuevo", QStringLiteral("&Nuevo"));
    BtnGrabar = parts::button(this, "BtnGrabar", QStringLiteral("&Grabar"));
    BtnEditar = parts::button(this, "BtnEditar", QStringLiteral("&Editar"));
    BtnBorrar = parts::button(this, "BtnBorrar", QStringLiteral("E&liminar"));
    BtnSalir = parts::button(this, "BtnSalir", QStringLiteral("&Salir"));
    buildGrid();

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("RAZON SOCIAL:"), EdRS);
    fields->addRow(QStringLiteral("TELEFONO:"), EdT);
    fields->addRow(QStringLiteral("TELEFAX:"), EdTF);
    fields->addRow(QStringLiteral("EMAIL:"), EdE);
    fields->addRow(QStringLiteral("CUENTA:"), EdC);
    fields->addRow(QStringLiteral("DESCRIPCION:"), EdD);
    fields->addRow(QStringLiteral("ESTADO:"), CBE);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {BtnNuevo, BtnGrabar, BtnEditar, BtnBorrar, BtnSalir})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(ST);
    layout->addLayout(buttons);
    layout->addWidget(DBProveedor);
}

void TFormProveedor::buildGrid() {
    DBProveedor = new QTableView(this);
    DBProveedor->setObjectName(QStringLiteral("DBProveedor"));
    DBProveedor->setFixedSize(780, 240);
    QProveedor = new ui::VectorModel<ProveedorRow>(this);
    auto* m = QProveedor;
    m->setColumns(
        {{.title = QStringLiteral("RAZON SOCIAL"),
          .width = 180,
          .value = m->by(&ProveedorRow::ProvRazSoc)},
         {.title = QStringLiteral("CUENTA"),
          .width = 140,
          .value = m->by(&ProveedorRow::ProvCuenta)},
         {.title = QStringLiteral("TELEFONO"),
          .width = 80,
          .value = m->by(&ProveedorRow::ProvTelefono)},
         {.title = QStringLiteral("TELE-FAX"),
          .width = 80,
          .value = m->by(&ProveedorRow::ProvTelefax)},
         {.title = QStringLiteral("EMAIL"), .width = 120, .value = m->by(&ProveedorRow::ProvEmail)},
         {.title = QStringLiteral("DESCRIPCION"),
          .width = 170,
          .value = m->by(&ProveedorRow::ProvDescrip)}});
    ui::Grid::setUp(DBProveedor, m);
    parts::contextMenu(DBProveedor,
                       {{"PMEditar", QStringLiteral("Editar"), [this] { PMEditarClick(); }},
                        {"PMEliminar", QStringLiteral("Eliminar"), [this] { PMEliminarClick(); }}});
}

void TFormProveedor::wire() {
    parts::enterMovesTo(EdRS, EdT);
    parts::enterMovesTo(EdT, EdTF);
    parts::enterMovesTo(EdTF, EdE);
    parts::enterMovesTo(EdE, EdC);
    parts::enterMovesTo(EdC, EdD);
    parts::enterMovesTo(EdD, BtnGrabar);
    connect(BtnNuevo, &QPushButton::clicked, this, &TFormProveedor::BtnNuevoClick);
    connect(BtnGrabar, &QPushButton::clicked, this, &TFormProveedor::BtnGrabarClick);
    connect(BtnEditar, &QPushButton::clicked, this, &TFormProveedor::BtnEditarClick);
    connect(BtnBorrar, &QPushButton::clicked, this, &TFormProveedor::BtnBorrarClick);
    connect(BtnSalir, &QPushButton::clicked, this, &QWidget::close);
}

// Back from its own message box the buttons stay as the action left them.
void TFormProveedor::activated() {
    const bool own = own_->backFromOwn();
    reload();
    if (!own) {
        BtnEditar->setEnabled(false);
        BtnBorrar->setEnabled(false);
    }
}

void TFormProveedor::reload() {
    parts::setRowsKeeping(DBProveedor, QProveedor, db::proc::proveedores(ctx_.db),
                          std::mem_fn(&ProveedorRow::ProvCod));
}

void TFormProveedor::BtnNuevoClick() {
    for (QLineEdit* b : {EdRS, EdT, EdTF, EdE, EdC, EdD})
        b->clear();
    editing_ = 0;
    BtnGrabar->setEnabled(true);
    BtnEditar->setEnabled(false);
    EdRS->setFocus();
}

void TFormProveedor::BtnGrabarClick() {
    own_->run([this] {
        ui::guard(ctx_.messages, [this] {
            if (!session::roleAllows(ctx_, roles::Group::AdministratorOrPharmacist,
                                     roles::kOperacionIngreso) ||
                !nameGiven())
                return;
            shown(db::proc::KZ_IngresoProveedor(ctx_.db, typed()));
        });
    });
}

void TFormProveedor::BtnEditarClick() {
    own_->run([this] {
        ui::guard(ctx_.messages, [this] {
            if (!nameGiven())
                return;
            shown(db::proc::KZ_EditarProveedor(ctx_.db, {editing_, typed(), CBE->currentText()}));
        });
    });
}

void TFormProveedor::BtnBorrarClick() {
    setButtons(true, false, false);
    if (!roles::passes(ctx_.dm.sessionRole(), roles::Group::AdministratorOrPharmacist))
        return;
    own_->run([this] {
        ui::guard(ctx_.messages, [this] {
            if (!ctx_.messages.confirm(QStringLiteral("DESEA ELIMINAR:\rAL PROVEEDOR:   ") +
                                       deleting_.ProvRazSoc.trimmed() +
                                       QStringLiteral("\rPERMANENTEMENTE...")))
                return;
            shown(db::proc::KZ_BorraProveedor(ctx_.db, deleting_.ProvCod));
            EdRS->setFocus();
        });
    });
}

void TFormProveedor::PMEditarClick() {
    const ProveedorRow* row = selected();
    if (!row)
        return;
    BtnBorrar->setEnabled(false);
    BtnGrabar->setEnabled(false);
    EdRS->setText(row->ProvRazSoc.trimmed());
    EdT->setText(row->ProvTelefono.trimmed());
    EdTF->setText(row->ProvTelefax.trimmed());
    EdE->setText(row->ProvEmail.trimmed());
    EdC->setText(row->ProvCuenta.trimmed());
    EdD->setText(row->ProvDescrip.trimmed());
    parts::choose(CBE, row->ProvEstado);
    editing_ = row->ProvCod;
    BtnEditar->setEnabled(true);
}

void TFormProveedor::PMEliminarClick() {
    const ProveedorRow* row = selected();
    if (!row)
        return;
    deleting_ = *row;
    setButtons(false, false, true);
}

const ProveedorRow* TFormProveedor::selected() const {
    return parts::selectedRow(DBProveedor, QProveedor);
}

db::proc::ProveedorDatos TFormProveedor::typed() const {
    return {EdRS->text().trimmed(), EdT->text().trimmed(), EdTF->text().trimmed(),
            EdE->text().trimmed(),  EdC->text().trimmed(), EdD->text().trimmed()};
}

bool TFormProveedor::nameGiven() {
    if (!EdRS->text().trimmed().isEmpty())
        return true;
    ctx_.messages.notice(kNoName);
    EdRS->setFocus();
    return false;
}

// The procedure's message in the strip, and in a box when it refused.
void TFormProveedor::shown(const db::proc::Resultado& out) {
    reload();
    ST->setText(out.pMensaje.trimmed());
    if (out.codigo == 0)
        ctx_.messages.notice(out.pMensaje, ui::Messages::Kind::Warning);
}

void TFormProveedor::setButtons(bool grabar, bool editar, bool borrar) {
    BtnGrabar->setEnabled(grabar);
    BtnEditar->setEnabled(editar);
    BtnBorrar->setEnabled(borrar);
}

}  // namespace purchasing
