#include "purchasing/UnitRepresentante.h"

#include "core/InputRules.h"
#include "core/Roles.h"
#include "db/procedures/Stock.h"
#include "platform/Platform.h"
#include "purchasing/PurchasingParts.h"
#include "session/CommandRules.h"
#include "session/UnitDM.h"
#include "ui/Activation.h"
#include "ui/FormHelpers.h"
#include "ui/Grid.h"
#include "ui/Guard.h"
#include "ui/InputFilter.h"
#include "ui/Messages.h"
#include "ui/TableModel.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace purchasing {

namespace {

using db::proc::RepresentanteRow;
namespace roles = core::roles;

const QString kChooseSupplier = QStringLiteral("ELIGE EL PROVEEDOR");
const QString kNoSuppliers = QStringLiteral("INGRESE PRIMERO LOS PROVEEDORES");
const QString kSaveFailed =
    QStringLiteral("ESCOGE UN REPRESENTANTE, O \rEXISTE UN ERROR EN LA TRANSACCION");
const QString kNotAPicture = QStringLiteral("EL ARCHIVO ELEGIDO NO ES UNA IMAGEN...");

}  // namespace

TFormRepresentante* TFormRepresentante::open(session::AppContext& ctx) {
    auto* form = new TFormRepresentante(ctx);
    parts::show(form);
    return form;
}

TFormRepresentante::TFormRepresentante(session::AppContext& ctx)
    : QWidget(ctx.mainWindow, Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint),
      ctx_(ctx) {
    setObjectName(QStringLiteral("FormRepresentante"));
    setWindowTitle(QStringLiteral("VENTANA DE INGRESO DE REPRESENTANTE"));
    own_ = new parts::OwnBoxes(this);
    build();
    wire();
    ui::guard(ctx_.messages, [this] { reload(); });
    ui::onActivation(this, [this] { ui::guard(ctx_.messages, [this] { activated(); }); });
}

void TFormRepresentante::build() {
    namespace p = db::proc;
    EdN = parts::box(this, "EdN", p::kRepNombreSize);
    EdA = parts::box(this, "EdA", p::kRepApellidosSize);
    EdT = parts::box(this, "EdT", p::kRepTelefonoSize);
    EdE = parts::box(this, "EdE", p::kRepEmailSize, true);
    EdD = parts::box(this, "EdD", 0);
    CBRepresentate = parts::choice(this, "CBRepresentate", {}, kChooseSupplier);
    DBImage1 = new QLabel(this);
    DBImage1->setObjectName(QStringLiteral("DBImage1"));
    DBImage1->setFixedSize(160, 180);
    DBImage1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    DBImage1->setScaledContents(true);
    ST = parts::messageLine(this, "ST");
    BtnNuevo = parts::button(this, "BtnNuevo", QStringLiteral("&Nuevo"));
    BtnGrabar = parts::button(this, "BtnGrabar", QStringLiteral("&Grabar"));
    BtnEditar = parts::button(this, "BtnEditar", QStringLiteral("&Editar"));
    BtnEliminar = parts::button(this, "BtnEliminar", QStringLiteral("&Eliminar"));
    BtnSalir = parts::button(this, "BtnSalir", QStringLiteral("&Salir"));
    buildGrid();

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("NOMBRE(S):"), EdN);
    fields->addRow(QStringLiteral("APELLIDOS:"), EdA);
    fields->addRow(QStringLiteral("TELEFONO(S):"), EdT);
    fields->addRow(QStringLiteral("EMAIL:"), EdE);
    fields->addRow(QStringLiteral("DESCRIPCION:"), EdD);
    fields->addRow(QStringLiteral("PROVEEDOR"), CBRepresentate);
    auto* top = new QHBoxLayout;
    top->addLayout(fields, 1);
    top->addWidget(DBImage1);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {BtnNuevo, BtnGrabar, BtnEditar, BtnEliminar, BtnSalir})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(ST);
    layout->addLayout(buttons);
    layout->addWidget(DBGrid1);
}

void TFormRepresentante::buildGrid() {
    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setFixedSize(760, 220);
    QRepresentante = new ui::VectorModel<RepresentanteRow>(this);
    auto* m = QRepresentante;
    m->setColumns({{.title = QStringLiteral("APELLIDOS"),
                    .width = 150,
                    .value = m->by(&RepresentanteRow::RepApellidos)},
                   {.title = QStringLiteral("NOMBRE(S)"),
                    .width = 120,
                    .value = m->by(&RepresentanteRow::RepNombre)},
                   {.title = QStringLiteral("PROVEEDOR"),
                    .width = 140,
                    .value = m->by(&RepresentanteRow::ProvRazSoc)},
                   {.title = QStringLiteral("TELEFONO"),
                    .width = 80,
                    .value = m->by(&RepresentanteRow::RepTelefono)},
                   {.title = QStringLiteral("EMAIL"),
                    .width = 120,
                    .value = m->by(&RepresentanteRow::RepEmail)},
                   {.title = QStringLiteral("DESCRIPCION"),
                    .width = 150,
                    .value = m->by(&RepresentanteRow::RepDescrip)}});
    ui::Grid::setUp(DBGrid1, m);
    parts::contextMenu(
        DBGrid1,
        {{"PMFoto", QStringLiteral("Foto"), [this] { PMFotoClick(); }},
         {"PMEditar", QStringLiteral("&Editar"), [this] { PMEditarClick(); }},
         {"PMBorrarFoto", QStringLiteral("&Borrar Foto"), [this] { PMBorrarFotoClick(); }},
         {"PMEliminar", QStringLiteral("Eliminar Representante"), [this] { PMEliminarClick(); }}});
}

void TFormRepresentante::wire() {
    ui::filter(EdN, core::endsWithLetter);
    parts::enterMovesTo(EdN, EdA);
    parts::enterMovesTo(EdA, EdT);
    parts::enterMovesTo(EdT, EdE);
    parts::enterMovesTo(EdE, EdD);
    parts::enterMovesTo(EdD, CBRepresentate);
    connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { ui::guard(ctx_.messages, [this] { showPhoto(); }); });
    connect(BtnNuevo, &QPushButton::clicked, this, &TFormRepresentante::BtnNuevoClick);
    connect(BtnGrabar, &QPushButton::clicked, this, &TFormRepresentante::BtnGrabarClick);
    connect(BtnEditar, &QPushButton::clicked, this, &TFormRepresentante::BtnEditarClick);
    connect(BtnEliminar, &QPushButton::clicked, this, &TFormRepresentante::BtnEliminarClick);
    connect(BtnSalir, &QPushButton::clicked, this, &QWidget::close);
}

// Without suppliers it says so once: closing that very box activates the window again. Back
// from its own box, the chosen supplier and the buttons stay.
void TFormRepresentante::activated() {
    const bool own = own_->backFromOwn();
    reload();
    if (own)
        return;
    if (db::proc::proveedorNombres(ctx_.db).isEmpty()) {
        if (!toldNoSuppliers_) {
            toldNoSuppliers_ = true;
            own_->run([this] { ctx_.messages.notice(kNoSuppliers); });
        }
        return;
    }
    fillSuppliers();
    setButtons(true, false, false);
}

void TFormRepresentante::fillSuppliers() {
    CBRepresentate->clear();
    CBRepresentate->addItems(db::proc::proveedorNombres(ctx_.db));
    CBRepresentate->setCurrentIndex(-1);
}

void TFormRepresentante::reload() {
    parts::setRowsKeeping(DBGrid1, QRepresentante, db::proc::representantes(ctx_.db),
                          std::mem_fn(&RepresentanteRow::RepCodigo));
    showPhoto();
}

void TFormRepresentante::showPhoto() {
    const RepresentanteRow* row = selected();
    DBImage1->setVisible(row != nullptr);
    QPixmap photo;
    if (row)
        photo.loadFromData(db::proc::fotoRepresentante(ctx_.db, row->RepCodigo));
    DBImage1->setPixmap(photo);
}

void TFormRepresentante::BtnNuevoClick() {
    for (QLineEdit* b : {EdN, EdA, EdT, EdE, EdD})
        b->clear();
    editing_ = 0;
    EdN->setFocus();
}

void TFormRepresentante::BtnGrabarClick() {
    own_->run([this] {
        if (!ui::guard(ctx_.messages, [this] {
                if (grabarChecked())
                    shown(db::proc::KZ_IngresoRepresentante(
                        ctx_.db, {parts::chosen(CBRepresentate), typed()}));
            }))
            ui::guard(ctx_.messages, [this] {
                ctx_.messages.notice(kSaveFailed);
                CBRepresentate->setFocus();
            });
    });
}

bool TFormRepresentante::grabarChecked() {
    if (EdN->text().trimmed().isEmpty()) {
        ctx_.messages.notice(QStringLiteral("TIENE QUE INGRESAR EL NOMBRE DEL PRESENTANTE"));
        EdN->setFocus();
        return false;
    }
    if (parts::chosen(CBRepresentate).isEmpty()) {
        ctx_.messages.notice(QStringLiteral("TIENE QUE INGRESAR EL PROVEEDOR\rEN DONDE TRABAJA: ") +
                             EdN->text().trimmed());
        CBRepresentate->setFocus();
        return false;
    }
    return session::roleAllows(ctx_, roles::Group::AdministratorOrPharmacist, roles::kOperacion);
}

void TFormRepresentante::BtnEditarClick() {
    own_->run([this] {
        ui::guard(ctx_.messages, [this] {
            if (EdN->text().trimmed().isEmpty()) {
                ctx_.messages.notice(
                    QStringLiteral("TIENE QUE INGRESAR EL NOMBRE DEL REPRESENTANTE"));
                EdN->setFocus();
                return;
            }
            shown(db::proc::KZ_EditarRepresentante(ctx_.db, editing_, typed()));
        });
    });
}

void TFormRepresentante::BtnEliminarClick() {
    setButtons(true, false, false);
    if (!roles::passes(ctx_.dm.sessionRole(), roles::Group::AdministratorOrPharmacist))
        return;
    own_->run([this] {
        ui::guard(ctx_.messages, [this] {
            if (!ctx_.messages.confirm(QStringLiteral("DESEA ELIMINAR:\rAL REPRESENTANTE:   ") +
                                       deleting_.RepNombre.trimmed() +
                                       QStringLiteral("\rPERMANENTEMENTE...")))
                return;
            shown(db::proc::KZ_BorraRepresentante(ctx_.db, deleting_.RepCodigo));
            EdN->setFocus();
        });
    });
}

void TFormRepresentante::PMFotoClick() {
    const RepresentanteRow* row = selected();
    if (!row)
        return;
    const int code = row->RepCodigo;
    const QString file = ctx_.platform.choosePictureFile(this);
    if (file.isEmpty())
        return;
    own_->run([this, code, &file] {
        ui::guard(ctx_.messages, [this, code, &file] {
            const QByteArray bytes = parts::pictureBytes(file);
            if (bytes.isEmpty()) {
                ctx_.messages.notice(kNotAPicture, ui::Messages::Kind::Warning);
                return;
            }
            if (!db::proc::guardaFotoRepresentante(ctx_.db, code, bytes))
                return;
            showPhoto();
            ctx_.messages.notice(QStringLiteral("IMAGEN  ASIGNADA...AL REPRESENTATE"));
        });
    });
}

void TFormRepresentante::PMEditarClick() {
    const RepresentanteRow* row = selected();
    if (!row)
        return;
    BtnGrabar->setEnabled(false);
    BtnEliminar->setEnabled(false);
    EdN->setText(row->RepNombre.trimmed());
    EdA->setText(row->RepApellidos.trimmed());
    EdT->setText(row->RepTelefono.trimmed());
    EdE->setText(row->RepEmail.trimmed());
    EdD->setText(row->RepDescrip.trimmed());
    editing_ = row->RepCodigo;
    BtnEditar->setEnabled(true);
}

void TFormRepresentante::PMBorrarFotoClick() {
    own_->run([this] {
        const RepresentanteRow* row = selected();
        if (!row) {
            ctx_.messages.notice(QStringLiteral("NO HAY INGRESOS QUE ELIMINAR..."));
            return;
        }
        const int code = row->RepCodigo;
        ui::guard(
            ctx_.messages,
            [this, code] {
                const db::proc::Resultado out = db::proc::KZ_BorraFotoRepresentante(ctx_.db, code);
                showPhoto();
                ctx_.messages.notice(out.pMensaje);
            },
            QStringLiteral("NO SE PUDO BORRAR LA IMAGEN..."));
    });
}

void TFormRepresentante::PMEliminarClick() {
    const RepresentanteRow* row = selected();
    if (!row)
        return;
    deleting_ = *row;
    setButtons(false, false, true);
}

const RepresentanteRow* TFormRepresentante::selected() const {
    return parts::selectedRow(DBGrid1, QRepresentante);
}

db::proc::RepresentanteDatos TFormRepresentante::typed() const {
    return {EdN->text().trimmed(), EdA->text().trimmed(), EdT->text().trimmed(),
            EdE->text().trimmed(), EdD->text().trimmed()};
}

void TFormRepresentante::shown(const db::proc::Resultado& out) {
    reload();
    ST->setText(out.pMensaje.trimmed());
    if (out.codigo == 0)
        ctx_.messages.notice(out.pMensaje, ui::Messages::Kind::Warning);
}

void TFormRepresentante::setButtons(bool grabar, bool editar, bool eliminar) {
    BtnGrabar->setEnabled(grabar);
    BtnEditar->setEnabled(editar);
    BtnEliminar->setEnabled(eliminar);
}

}  // namespace purchasing
