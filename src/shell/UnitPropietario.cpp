#include "shell/UnitPropietario.h"

#include "core/Clock.h"
#include "db/procedures/Session.h"
#include "ui/Activation.h"
#include "ui/FormHelpers.h"
#include "ui/Guard.h"
#include "ui/InputFilter.h"
#include "ui/Messages.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace shell {

namespace {

const QString kNoLogin = QStringLiteral("DEBE DE INGRESAR UN\rLOGIN");
const QString kBlankInLogin = QStringLiteral("EL LOGIN NO DEBE TENER ESPACIOS");
const QString kNoPassword = QStringLiteral("DEBE DE INGRESAR UN\rPASSWORD");
const QString kMismatch = QStringLiteral("LOS PASSWORDS NO COINCIDEN");
const QString kRecorded =
    QStringLiteral("ADMINISTRADOR REGISTRADO\rPARA INGRESAR ESCRIBA EL CODIGO 1 EN LOGIN");
const QString kNotRecorded = QStringLiteral("NO SE PUDO REGISTRAR AL ADMINISTRADOR");
const QString kUnreadable = QStringLiteral("NO SE PUDO LEER LA BASE DE DATOS");
// USUARIO's column sizes, and that of the password procedures.
constexpr int kLoginSize = 10;
constexpr int kNamesSize = 20;
constexpr int kPasswordSize = 20;

QLineEdit* upperCaseBox(QWidget* parent, const char* name, int size) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    ui::forceUpperCase(box);
    ui::capLength(box, size);
    return box;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);  // Enter belongs to the boxes
    return b;
}

void moveOnEnter(QLineEdit* from, QLineEdit* to) {
    QObject::connect(from, &QLineEdit::returnPressed, to, [to] { to->setFocus(); });
}

}  // namespace

TFormPropietario::TFormPropietario(session::AppContext& ctx, QWidget* parent)
    : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("FormPropietario"));
    setWindowTitle(QStringLiteral("ADMINISTRADOR DEL SISTEMA"));
    build();
    // Enter moves from box to box; in the last one it records.
    moveOnEnter(EdNombres, EdLogin);
    moveOnEnter(EdLogin, EdPassword1);
    moveOnEnter(EdPassword1, EdPassword2);
    connect(EdPassword2, &QLineEdit::returnPressed, this, &TFormPropietario::AceptarClick);
    connect(Aceptar, &QPushButton::clicked, this, &TFormPropietario::AceptarClick);
    connect(Cancelar, &QPushButton::clicked, this, &QDialog::reject);
}

void TFormPropietario::build() {
    EdNombres = upperCaseBox(this, "EdNombres", kNamesSize);
    EdLogin = upperCaseBox(this, "EdLogin", kLoginSize);
    EdPassword1 = upperCaseBox(this, "EdPassword1", kPasswordSize);
    EdPassword2 = upperCaseBox(this, "EdPassword2", kPasswordSize);
    ui::hashEcho(EdPassword1);
    ui::hashEcho(EdPassword2);
    Aceptar = button(this, "Aceptar", QStringLiteral("&Aceptar"));
    Cancelar = button(this, "Cancelar", QStringLiteral("&Cancelar"));

    auto* heading = new QLabel(
        QStringLiteral("PRIMER INICIO: REGISTRE AL\nADMINISTRADOR DE LA FARMACIA"), this);
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("NOMBRES:"), EdNombres);
    fields->addRow(QStringLiteral("LOGIN:"), EdLogin);
    fields->addRow(QStringLiteral("PASSWORD:"), EdPassword1);
    fields->addRow(QStringLiteral("CONFIRMAR:"), EdPassword2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Aceptar);
    buttons->addWidget(Cancelar);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(360, 0)));
    ui::centreOnDesktop(this);
}

TFormPropietario::Fault TFormPropietario::fault() const {
    const QString login = EdLogin->text().trimmed();
    if (login.isEmpty())
        return {kNoLogin, EdLogin};
    if (login.contains(QLatin1Char(' ')))
        return {kBlankInLogin, EdLogin};
    if (EdPassword1->text().trimmed().isEmpty())
        return {kNoPassword, EdPassword1};
    if (EdPassword1->text().trimmed() != EdPassword2->text().trimmed())
        return {kMismatch, EdPassword1};
    return {};
}

void TFormPropietario::AceptarClick() {
    const Fault f = fault();
    if (f.box) {
        if (f.message == kMismatch) {
            EdPassword1->clear();
            EdPassword2->clear();
        }
        ctx_.messages.notice(f.message);
        f.box->setFocus();
        return;
    }
    ui::guard(
        ctx_.messages, [this] { record(); }, kNotRecorded);
}

void TFormPropietario::record() {
    const db::proc::IngresoPropietarioOut out = db::proc::KZ_IngresoPropietario(
        ctx_.db,
        {EdLogin->text().trimmed(), EdPassword1->text().trimmed(), EdNombres->text().trimmed()},
        ctx_.clock.now());
    const bool recorded = out.pMensaje == QLatin1String("1");
    ctx_.messages.notice(recorded ? kRecorded : out.pMensaje);
    // Refused because another workstation registered its owner first: that one stands.
    if (recorded || db::proc::hayUsuarios(ctx_.db))
        accept();
}

bool ensureOwner(session::AppContext& ctx) {
    bool known = false;
    if (!ui::guard(
            ctx.messages, [&] { known = db::proc::hayUsuarios(ctx.db); }, kUnreadable))
        return false;
    if (known)
        return true;
    TFormPropietario form(ctx);
    return ui::execModal(form) == QDialog::Accepted;
}

}  // namespace shell
