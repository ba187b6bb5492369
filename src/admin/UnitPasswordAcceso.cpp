#include "admin/UnitPasswordAcceso.h"

#include "admin/AccountParts.h"
#include "core/Clock.h"
#include "core/Password.h"
#include "core/Roles.h"
#include "platform/Platform.h"
#include "session/Session.h"
#include "session/UnitDM.h"
#include "ui/Activation.h"
#include "ui/ContextMenu.h"
#include "ui/FormHelpers.h"
#include "ui/Grid.h"
#include "ui/Guard.h"
#include "ui/Palette.h"
#include "ui/PictureFile.h"
#include "ui/TextStyle.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <stdexcept>

namespace admin {

namespace {

using db::proc::EstadoUsuario;
using db::proc::UserRow;
namespace proc = db::proc;

const QString kNoLogin = QStringLiteral("DEBE DE INGRESAR UN\rLOGIN");
const QString kNoPassword = QStringLiteral("DEBE DE INGRESAR UN\rPASSWORD");
const QString kNoAge = QStringLiteral("DEBE DE INGRESAR \rLA EDAD");
const QString kTooLong = QStringLiteral("MAXIMO 10 CARACTERES...");
const QString kCreateMismatch = QStringLiteral("NO CONCUERDAN LOS PASSWORDS INGRESADOS");
const QString kMismatch = QStringLiteral("NO CONCUERDAN LOS PASSWORDS");
const QString kDni = QStringLiteral("EL D.N.I DEBE TENER 8 DIGITOS");
const QString kRetry = QStringLiteral("INTENTALO NUEVAMENTE");
const QString kWrongCurrent = QStringLiteral(
    "PASSWORD INCORRECTO,INTENTELO NUEVAMENTE, TENGA EN CUENTA LAS MAYUSCULAS Y MINUSCULAS");
const QString kNoText1 = QStringLiteral("DEBE DE INGRESAR UNA CADENA DE TEXTO");
const QString kNoText2 = QStringLiteral("DEBE DE INGRESAR UNA CADENA TE TEXTO");
const QString kInSession = QStringLiteral(
    "    EL USUARIO SE ENCUENTRA EN SESION\rABRIR UNA NUEVA SESION CON DIFERENTE USUARIO");
const QString kBadConnection =
    QStringLiteral("OCURRE UNA MALA CONECCION CON EL SERVIDOR\rUN ERROR...");
const QString kNotAPicture = QStringLiteral("EL ARCHIVO ELEGIDO NO ES UNA IMAGEN...");
const QString kPhotoSet = QStringLiteral("IMAGEN  ASIGNADA...AL USUARIO");
const QString kPhotoNotRemoved = QStringLiteral("NO SE PUDO BORRAR LA IMAGEN...");

// The create tab's check of a password's and a login's length.
constexpr int kCreateLimit = 10;

QString trimmedText(const QLineEdit* box) {
    return box->text().trimmed();
}

void clearAll(std::initializer_list<QLineEdit*> boxes) {
    for (QLineEdit* b : boxes)
        b->clear();
}

}  // namespace

TFormLoginPasswordEC* TFormLoginPasswordEC::open(session::AppContext& ctx) {
    auto* form = new TFormLoginPasswordEC(ctx);
    ui::centreOnDesktop(form);
    form->show();
    form->activateWindow();
    return form;
}

TFormLoginPasswordEC::TFormLoginPasswordEC(session::AppContext& ctx)
    : QWidget(ctx.mainWindow, Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint),
      ctx_(ctx) {
    setObjectName(QStringLiteral("FormLoginPasswordEC"));
    setWindowTitle(QStringLiteral("UTILITARIOS PARA PASSWORDS"));
    setAttribute(Qt::WA_DeleteOnClose);
    build();
    wire();
    reread();
    PageControl1->setCurrentIndex(3);
    setFixedSize(sizeHint().boundedTo(QSize(1000, 700)));
}

void TFormLoginPasswordEC::wire() {
    ui::onActivation(this, [this] { FormActivate(); });
    const QList<QWidget*> chain = {EdLogin,   EdPassword1, EdPassword2, CBCargo,
                                   EdNombres, EdApellidos, EdDNI,       EdTelefono,
                                   EdEdad,    EdDomicilio, DTFechaNac};
    for (qsizetype i = 0; i + 1 < chain.size(); ++i)
        parts::moveOnEnter(chain[i], chain[i + 1]);
    parts::moveOnEnter(CbLogin, EdPassLog1);
    parts::moveOnEnter(EdPassLog1, EdPassLog2);
    parts::moveOnEnter(EdPassLog2, EdPassLog3);
    parts::moveOnEnter(EdPassLog3, Editar);
    parts::moveOnEnter(P1, P2);
    connect(Aceptar1, &QPushButton::clicked, this, &TFormLoginPasswordEC::Aceptar1Click);
    connect(BtEditar, &QPushButton::clicked, this, &TFormLoginPasswordEC::BtEditarClick);
    connect(Cancelar1, &QPushButton::clicked, this, [this] {
        clearAll({EdLogin, EdPassword1, EdPassword2});
        close();
    });
    connect(Editar, &QPushButton::clicked, this, &TFormLoginPasswordEC::EditarClick);
    connect(Cacelar2, &QPushButton::clicked, this, [this] {
        clearAll({EdPassLog1, EdPassLog2, EdPassLog3});
        close();
    });
    connect(SBForzar, &QPushButton::clicked, this, &TFormLoginPasswordEC::SBForzarClick);
    connect(BitBtn1, &QPushButton::clicked, this,
            [this] { changeAccount(&proc::KZ_EliminaUsuario); });
    connect(Inactivar, &QPushButton::clicked, this,
            [this] { changeAccount(&proc::KZ_InactivarUsuario); });
    connect(Activar, &QPushButton::clicked, this,
            [this] { changeAccount(&proc::KZ_ActivarUsuario); });
    connect(DBGridUsuario->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &TFormLoginPasswordEC::showPhoto);
}

void TFormLoginPasswordEC::closeEvent(QCloseEvent* event) {
    ctx_.session.setDiscountAllowed(false);
    event->accept();
}

void TFormLoginPasswordEC::FormActivate() {
    QStringList logins;
    for (const UserRow& u : users_)
        logins << u.UsuLogin.trimmed();
    logins.sort();
    CbLogin->clear();
    CbLogin->addItems(logins);
    CbLogin->setEditText(logins.value(0));
    ui::guard(ctx_.messages, [this] {
        CBSucursal->clear();
        CBSucursal->addItems(proc::nombresSucursales(ctx_.db));
    });
}

// TUsuario and QVerUsuarios again, each grid keeping its row where it still exists.
void TFormLoginPasswordEC::reread() {
    users_ = proc::usersButTheOwner(ctx_.db);
    for (auto [view, model] :
         {std::pair{DBGridUsuario, usersModel_}, std::pair{DBGrid2, forceModel_}}) {
        const int row = ui::Grid::currentRow(view);
        model->setRows(users_);
        ui::Grid::selectRow(view, std::max(row, 0));
    }
    const int row = ui::Grid::currentRow(DBGrid1);
    statesModel_->setRows(proc::verUsuarios(ctx_.db));
    ui::Grid::selectRow(DBGrid1, std::max(row, 0));
    showPhoto();
}

void TFormLoginPasswordEC::showPhoto() {
    const UserRow* user = selectedUser(DBGridUsuario);
    QPixmap photo;
    if (user)
        photo.loadFromData(user->UsuFoto);
    DBImage1->setPixmap(photo);
}

const UserRow* TFormLoginPasswordEC::selectedUser(const QTableView* view) const {
    const int row = ui::Grid::currentRow(view);
    const auto* model = static_cast<const Users*>(view->model());
    return row < 0 || row >= model->rowCount() ? nullptr : &model->row(row);
}

void TFormLoginPasswordEC::Aceptar1Click() {
    if (!createChecked())
        return;
    ui::guard(
        ctx_.messages,
        [this] {
            bool ageRead = false;
            const proc::DatosUsuario d = datos(&ageRead);
            if (!ageRead)
                throw std::runtime_error("edad no numerica");
            const proc::MensajeOut out = proc::KZ_IngresoLoginPassword(
                ctx_.db, {d, core::TypedPassword(trimmedText(EdPassword1))}, ctx_.clock.now());
            ctx_.dm.reopenAccess();
            reread();
            clearNuevo();
            ctx_.messages.notice(out.pMensaje);
        },
        kRetry);
}

bool TFormLoginPasswordEC::createChecked() {
    const auto refuse = [this](const QString& message, QWidget* focus) {
        ctx_.messages.notice(message);
        focus->setFocus();
        return false;
    };
    if (trimmedText(EdLogin).isEmpty())
        return refuse(kNoLogin, EdLogin);
    for (QLineEdit* box : {EdPassword1, EdPassword2})
        if (trimmedText(box).isEmpty())
            return refuse(kNoPassword, box);
    if (trimmedText(EdEdad).isEmpty())
        return refuse(kNoAge, EdEdad);
    if (trimmedText(EdPassword1).size() > kCreateLimit ||
        trimmedText(EdPassword2).size() > kCreateLimit) {
        clearAll({EdPassword1, EdPassword2});
        return refuse(kTooLong, EdPassword1);
    }
    if (trimmedText(EdLogin).size() > kCreateLimit) {
        EdLogin->clear();
        return refuse(kTooLong, EdLogin);
    }
    if (trimmedText(EdPassword1) != trimmedText(EdPassword2)) {
        clearAll({EdPassword1, EdPassword2});
        return refuse(kCreateMismatch, EdPassword1);
    }
    return dniChecked();
}

bool TFormLoginPasswordEC::dniChecked() {
    const QString dni = trimmedText(EdDNI);
    if (dni.isEmpty() || dni.size() == parts::kDniDigits)
        return true;
    ctx_.messages.notice(kDni);
    EdDNI->setFocus();
    return false;
}

proc::DatosUsuario TFormLoginPasswordEC::datos(bool* ageRead) const {
    return {trimmedText(EdLogin),
            CBCargo->currentText().trimmed(),
            trimmedText(EdNombres),
            trimmedText(EdApellidos),
            trimmedText(EdDNI),
            trimmedText(EdTelefono),
            trimmedText(EdEdad).toInt(ageRead),
            trimmedText(EdDomicilio),
            DTFechaNac->date().startOfDay(),
            CbTeclaVenta->currentText().trimmed()};
}

void TFormLoginPasswordEC::clearNuevo() {
    clearAll({EdLogin, EdPassword1, EdPassword2, EdNombres, EdApellidos, EdDNI, EdTelefono, EdEdad,
              EdDomicilio});
}

// Loads the selected account into the "NUEVO" boxes for editing; the password boxes stay empty.
void TFormLoginPasswordEC::EditarUsuarioClick() {
    const UserRow* u = selectedUser(DBGridUsuario);
    if (!u)
        return;
    EdLogin->setText(u->UsuLogin.trimmed());
    EdLogin->setEnabled(false);
    CBCargo->setEditText(u->UsuCargo.trimmed());
    EdNombres->setText(u->UsuNombres.trimmed());
    EdApellidos->setText(u->UsuApellidos.trimmed());
    EdDNI->setText(u->UsuDni.trimmed());
    EdTelefono->setText(u->UsuTelefono.trimmed());
    EdDomicilio->setText(u->UsuDomicilio.trimmed());
    EdEdad->setText(QString::number(u->UsuEdad));
    if (u->UsuFechNac.isValid())
        DTFechaNac->setDate(u->UsuFechNac.date());
    CbTeclaVenta->setCurrentText(u->UsuTecla.trimmed());
    clearAll({EdPassword1, EdPassword2});
    BtEditar->setEnabled(true);
}

void TFormLoginPasswordEC::BtEditarClick() {
    bool ageRead = false;
    const proc::DatosUsuario d = datos(&ageRead);
    if (!ageRead || !dniChecked())
        return;
    ui::guard(ctx_.messages, [this, &d] {
        const proc::MensajeOut out = proc::KZ_EditarUsuario(ctx_.db, d);
        ctx_.messages.notice(out.pMensaje);
        ctx_.dm.reopenAccess();
        reread();
        EdLogin->setEnabled(true);
        clearNuevo();
        EdLogin->setFocus();
    });
}

void TFormLoginPasswordEC::EditarClick() {
    if (!changeChecked())
        return;
    ui::guard(ctx_.messages, [this] {
        const QString login = CbLogin->currentText().trimmed();
        if (!proc::KZ_RecuperaPassword(ctx_.db,
                                       {login, core::TypedPassword(trimmedText(EdPassLog1))})) {
            EdPassLog1->clear();
            ST1->setText(kWrongCurrent);
            EdPassLog1->setFocus();
            return;
        }
        ST1->clear();
        const proc::MensajeOut out =
            proc::KZ_CambiarPassword(ctx_.db, {login, core::TypedPassword(trimmedText(EdPassLog1)),
                                               core::TypedPassword(trimmedText(EdPassLog2))});
        clearAll({EdPassLog1, EdPassLog2, EdPassLog3});
        ctx_.dm.reopenAccess();
        ST1->setText(out.pMensaje.trimmed());
    });
}

bool TFormLoginPasswordEC::changeChecked() {
    if (CbLogin->currentText().trimmed().isEmpty()) {
        ctx_.messages.notice(kNoLogin);
        CbLogin->setFocus();
        return false;
    }
    for (QLineEdit* box : {EdPassLog1, EdPassLog2, EdPassLog3}) {
        if (trimmedText(box).isEmpty()) {
            ctx_.messages.notice(kNoPassword);
            box->setFocus();
            return false;
        }
    }
    if (trimmedText(EdPassLog2) != trimmedText(EdPassLog3)) {
        clearAll({EdPassLog2, EdPassLog3});
        ctx_.messages.notice(kMismatch);
        EdPassLog2->setFocus();
        return false;
    }
    return true;
}

void TFormLoginPasswordEC::SBForzarClick() {
    const UserRow* u = selectedUser(DBGrid2);
    if (!ctx_.dm.isSessionOpen() || !u || !forceChecked())
        return;
    const UserRow user = *u;
    if (!ctx_.messages.confirm(QStringLiteral("DESEA FORZAR UN NUEVO PASSWORD...\rUSUARIO: ") +
                               user.UsuNombres.trimmed() + QStringLiteral(", ") +
                               user.UsuApellidos.trimmed()))
        return;
    ui::guard(ctx_.messages, [this, &user] {
        const proc::MensajeOut out = proc::KZ_ForzarPassword(
            ctx_.db, {user.UsuCod, user.UsuLogin.trimmed(), core::TypedPassword(trimmedText(P1))});
        clearAll({P1, P2});
        ctx_.dm.reopenAccess();
        reread();
        ctx_.messages.notice(out.pMensaje);
    });
}

bool TFormLoginPasswordEC::forceChecked() {
    const bool noFirst = trimmedText(P1).isEmpty();
    const bool noSecond = trimmedText(P2).isEmpty();
    if (noFirst || noSecond) {
        ctx_.messages.notice(noFirst && !noSecond ? kNoText1 : kNoText2);
        (noSecond && !noFirst ? P2 : P1)->setFocus();
        return false;
    }
    if (trimmedText(P1) != trimmedText(P2)) {
        clearAll({P1, P2});
        ctx_.messages.notice(kMismatch);
        P1->setFocus();
        return false;
    }
    return true;
}

void TFormLoginPasswordEC::changeAccount(Change change) {
    const QString password = trimmedText(EdEliminaPassword);
    const int row = ui::Grid::currentRow(DBGrid1);
    if (password.isEmpty() || row < 0)
        return;
    const EstadoUsuario target = statesModel_->row(row);
    if (target.UsuLogin.trimmed() == ctx_.session.login().trimmed()) {
        ctx_.messages.notice(kInSession);
        return;
    }
    ui::guard(
        ctx_.messages,
        [&] {
            const proc::MensajeOut out =
                change(ctx_.db, {target.UsuCod, target.UsuLogin.trimmed(),
                                 core::TypedPassword(password), ctx_.session.userCode()});
            ctx_.messages.notice(out.pMensaje);
            ctx_.dm.reopenAccess();
            reread();
            FormActivate();
            EdEliminaPassword->clear();
        },
        kBadConnection);
}

void TFormLoginPasswordEC::FotoClick() {
    const UserRow* u = selectedUser(DBGridUsuario);
    if (!u)
        return;
    const int code = u->UsuCod;
    const QString file = ctx_.platform.choosePictureFile(this);
    if (file.isEmpty())
        return;
    ui::guard(ctx_.messages, [this, code, &file] {
        const QByteArray bytes = ui::photoBytes(file);
        if (bytes.isEmpty()) {
            ctx_.messages.notice(kNotAPicture, ui::Messages::Kind::Warning);
            return;
        }
        const proc::MensajeOut out = proc::KZ_IngresoFotoLogin(ctx_.db, {code, bytes});
        reread();
        ctx_.dm.reopenAccess();
        ctx_.messages.notice(out.done ? kPhotoSet : out.pMensaje);
    });
}

// Removes the photo of the selected account.
void TFormLoginPasswordEC::BorrarFotoClick() {
    const UserRow* u = selectedUser(DBGridUsuario);
    if (!u)
        return;
    const int code = u->UsuCod;
    ui::guard(
        ctx_.messages,
        [this, code] {
            const proc::MensajeOut out = proc::KZ_BorraFotoLogin(ctx_.db, code);
            ctx_.dm.reopenAccess();
            reread();
            ctx_.messages.notice(out.pMensaje);
        },
        kPhotoNotRemoved);
}

}  // namespace admin
