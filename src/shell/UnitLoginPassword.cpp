#include "shell/UnitLoginPassword.h"

#include "core/Password.h"
#include "db/procedures/Session.h"
#include "db/procedures/SessionData.h"
#include "session/Session.h"
#include "session/UnitDM.h"
#include "ui/Activation.h"
#include "ui/FormHelpers.h"
#include "ui/Guard.h"
#include "ui/InputFilter.h"
#include "ui/Messages.h"
#include "ui/Palette.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

namespace shell {

namespace {

const QString kNoLogin = QStringLiteral("DEBE DE INGRESAR UN\rLOGIN");
const QString kNoPassword = QStringLiteral("DEBE DE INGRESAR UN\rPASSWORD");
const QString kNotAuthorised = QStringLiteral("USUARIO NO AUTORIZADO\rTU INTENTO SE HA GRABADO\r");
const QString kRefused = QStringLiteral("CLAVE INCORRECTA...\rO USUARIO INACTIVO");
// The login that may authorise whatever the session's role.
const QString kMaster = QStringLiteral("MAXIMOS");
const QString kAdministrator = QStringLiteral("ADMINISTRADOR");
// The size of KZ_VerificaLoginPassword's text parameters.
constexpr int kParameterSize = 30;

QString withoutBlanks(QString text) {
    return text.remove(QLatin1Char(' '));
}

void paintInfoBackground(QWidget* box) {
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, ui::palette::infoBackground);
    box->setPalette(palette);
}

}  // namespace

TFormLoginPassword::TFormLoginPassword(session::AppContext& ctx, QWidget* parent)
    : session::ReauthWindow(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      ctx_(ctx) {
    setObjectName(QStringLiteral("FormLoginPassword"));
    build();
    ui::guard(ctx_.messages, [this] { ADOQueryUsu_ = db::proc::activeLoginsButTheOwner(ctx_.db); });
    // A refusal's box leaves the login as typed: only a new showing fills the list again.
    ui::onActivation(
        this, [this] { FormActivate(); }, ui::BoxActivation::None);
    connect(CBLogin->lineEdit(), &QLineEdit::returnPressed, this,
            &TFormLoginPassword::CBLoginKeyPress);
    connect(EdPassword, &QLineEdit::returnPressed, this, [this] { check(Trigger::Enter); });
    connect(Aceptar, &QPushButton::clicked, this, [this] { check(Trigger::Button); });
    connect(Cancelar, &QPushButton::clicked, this, &TFormLoginPassword::CancelarClick);
}

void TFormLoginPassword::build() {
    setFixedSize(353, 193);

    CBLogin = new QComboBox(this);
    CBLogin->setObjectName(QStringLiteral("CBLogin"));
    CBLogin->setEditable(true);
    CBLogin->setInsertPolicy(QComboBox::NoInsert);
    CBLogin->setCompleter(nullptr);
    ui::forceUpperCase(CBLogin->lineEdit());
    ui::capLength(CBLogin->lineEdit(), kParameterSize);
    paintInfoBackground(CBLogin);

    EdPassword = new QLineEdit(this);
    EdPassword->setObjectName(QStringLiteral("EdPassword"));
    ui::forceUpperCase(EdPassword);
    ui::capLength(EdPassword, kParameterSize);
    ui::hashEcho(EdPassword);
    paintInfoBackground(EdPassword);

    Aceptar = new QPushButton(QStringLiteral("&Aceptar"), this);
    Aceptar->setObjectName(QStringLiteral("Aceptar"));
    Cancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
    Cancelar->setObjectName(QStringLiteral("Cancelar"));

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("LOGGIN:"), this), 0, 0);
    fields->addWidget(CBLogin, 0, 1);
    fields->addWidget(new QLabel(QStringLiteral("PASSWORD:"), this), 1, 0);
    fields->addWidget(EdPassword, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Aceptar);
    buttons->addWidget(Cancelar);
    auto* layout = new QVBoxLayout(this);
    layout->addStretch();
    layout->addLayout(fields);
    layout->addStretch();
    layout->addLayout(buttons);
    setTabOrder(CBLogin, EdPassword);
    setTabOrder(EdPassword, Aceptar);
    setTabOrder(Aceptar, Cancelar);
}

void TFormLoginPassword::showFor(Purpose purpose) {
    asker_ = QApplication::activeWindow() != this ? QApplication::activeWindow() : asker_.data();
    ctx_.session.setReauthPurpose(purpose);
    ui::centreOnDesktop(this);
    show();
    activateWindow();
}

TFormLoginPassword::Purpose TFormLoginPassword::purpose() const {
    return ctx_.session.reauthPurpose();
}

void TFormLoginPassword::FormActivate() {
    CBLogin->clear();
    CBLogin->addItems(ADOQueryUsu_);
    if (!ADOQueryUsu_.isEmpty())
        CBLogin->setEditText(ADOQueryUsu_.first());
    EdPassword->setFocus();
}

void TFormLoginPassword::CBLoginKeyPress() {
    EdPassword->setFocus();
}

void TFormLoginPassword::check(Trigger trigger) {
    ui::guard(ctx_.messages, [this, trigger] {
        if (CBLogin->currentText().isEmpty()) {
            ctx_.messages.notice(kNoLogin);
            EdPassword->setFocus();
            return;
        }
        if (EdPassword->text().isEmpty()) {
            ctx_.messages.notice(kNoPassword);
            EdPassword->setFocus();
            return;
        }
        if (!sessionMayAuthorise(CBLogin->currentText()))
            return;
        if (trigger == Trigger::Enter)
            CBLogin->setEditText(withoutBlanks(CBLogin->currentText()));
        const QString scrambled = core::ScramblePassword(EdPassword->text());
        if (scrambled.isEmpty())
            return;  // blanks only
        const db::proc::VerificaLoginPasswordOut out = db::proc::KZ_VerificaLoginPassword(
            ctx_.db, {CBLogin->currentText().trimmed(), scrambled});
        EdPassword->clear();
        if (out.pMensaje != QLatin1String("1")) {
            ctx_.messages.notice(kRefused);
            EdPassword->setFocus();
            return;
        }
        succeed(trigger);
    });
}

// The role that counts is the logged-in user's, not the one typed here.
bool TFormLoginPassword::sessionMayAuthorise(const QString& login) {
    if (login == kMaster)
        return true;
    const auto& access = ctx_.dm.access();
    if (access && access->UsuCargo.trimmed().toUpper() == kAdministrator)
        return true;
    ctx_.messages.notice(kNotAuthorised + login.trimmed());
    return false;
}

void TFormLoginPassword::succeed(Trigger trigger) {
    const bool byEnter = trigger == Trigger::Enter;
    switch (purpose()) {
        case Purpose::Accounts:
            open(openAccounts_, byEnter);
            break;
        case Purpose::Console:
            open(openConsole_, true);
            break;
        case Purpose::Discount:
            ctx_.session.setReauthPurpose(Purpose::Discount);
            ctx_.session.setDiscountAllowed(true);
            closeBackToAsker();
            return;
    }
    if (byEnter)
        close();
}

// The window that asked becomes active before this one goes, so the window manager does not
// hand the activation to another window first (the search screen's activation withdraws the
// discount).
void TFormLoginPassword::closeBackToAsker() {
    if (asker_ && asker_->isVisible()) {
        asker_->raise();
        asker_->activateWindow();
    }
    close();
}

void TFormLoginPassword::open(const Opener& opener, bool centre) {
    if (!opener)
        return;
    QWidget* screen = opener();
    if (screen && centre)
        ui::centreOnDesktop(screen);
}

void TFormLoginPassword::CancelarClick() {
    ctx_.session.setReauthPurpose(Purpose::Discount);
    ctx_.session.setDiscountAllowed(false);
    closeBackToAsker();
}

}  // namespace shell
