#include "shell/UnitEntrada.h"

#include "core/Clock.h"
#include "core/Password.h"
#include "core/Roles.h"
#include "db/Db.h"
#include "db/procedures/Accounts.h"
#include "db/procedures/Session.h"
#include "db/procedures/SessionData.h"
#include "platform/Platform.h"
#include "session/AppContext.h"
#include "session/Session.h"
#include "session/UnitDM.h"
#include "ui/Activation.h"
#include "ui/Clicks.h"
#include "ui/FormHelpers.h"
#include "ui/Guard.h"
#include "ui/InputFilter.h"
#include "ui/Palette.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

namespace shell {

int TFormEntrada::step_ = 0;

namespace {

QLabel* caption(const QString& text, QWidget* parent, int x, int y) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setItalic(true);
    font.setBold(true);
    label->setFont(font);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, ui::palette::white);
    label->setPalette(p);
    label->setGeometry(x, y, 80, 24);
    return label;
}

QLabel* light(const char* name, const char* file, QWidget* parent) {
    auto* picture = new QLabel(parent);
    picture->setObjectName(QString::fromLatin1(name));
    picture->setPixmap(QPixmap(QStringLiteral(":/pictures/%1.png").arg(QLatin1String(file))));
    picture->setGeometry(352, 68, 32, 32);
    picture->hide();
    return picture;
}

QString digitsOf(const QString& text) {
    QString digits;
    for (const QChar c : text)
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits += c;
    return digits;
}

}  // namespace

TFormEntrada::TFormEntrada(session::AppContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), ctx_(context) {
    setObjectName(QStringLiteral("FormEntrada"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("        ACCESO AL SISTEMA VELCARIS"));
    setFixedSize(404, 167);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, ui::palette::navy);
    setPalette(p);

    QLabel* title = caption(windowTitle().trimmed(), this, 20, 12);
    title->setFont(QFont(title->font().family(), 11, QFont::Bold));
    title->setGeometry(20, 12, 364, 24);

    QLabel* loginCaption = caption(QStringLiteral("Login:"), this, 24, 56);
    loginCaption->setObjectName(QStringLiteral("Label1"));
    CbLogin = new QComboBox(this);
    CbLogin->setObjectName(QStringLiteral("CbLogin"));
    CbLogin->setEditable(true);
    CbLogin->setInsertPolicy(QComboBox::NoInsert);
    CbLogin->setGeometry(110, 56, 226, 24);

    caption(QStringLiteral("Password:"), this, 24, 96)->setObjectName(QStringLiteral("Label2"));
    EdPasword = new QLineEdit(this);
    EdPasword->setObjectName(QStringLiteral("EdPasword"));
    ui::hashEcho(EdPasword);
    EdPasword->setGeometry(110, 96, 226, 24);
    ui::forceUpperCase(EdPasword);
    connect(EdPasword, &QLineEdit::returnPressed, this, &TFormEntrada::EdPaswordKeyPress);
    ui::onClick(loginCaption, [this] { EdPasword->setFocus(); });

    Iinactiva = light("Iinactiva", "inactiva", this);
    IEspera = light("IEspera", "espera", this);
    IActiva = light("IActiva", "activa", this);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(7);
    connect(Timer1, &QTimer::timeout, this, &TFormEntrada::Timer1Timer);

    ctx_.platform.playSound(QStringLiteral("VELCARIS"));
    step_ = 0;
    ui::guard(ctx_.messages, [this] {
        for (const db::proc::LoginEntry& u : db::proc::activeUsersButTheOwner(ctx_.db))
            users_.push_back(nombreCompleto(u.UsuLogin, u.UsuApellidos, u.UsuCod));
    });
    ui::onActivation(this, [this] { FormActivate(); });
    Timer1->start();

    ui::centreOnDesktop(this);
    show();
}

QString TFormEntrada::nombreCompleto(const QString& login, const QString& apellidos, int code) {
    return login + QLatin1Char(' ') + apellidos + QStringLiteral("   ") + QString::number(code);
}

// The list is refilled on every activation; the entry chosen or typed before (a refused attempt
// brings the window back) stays, so the next attempt is the same user's.
void TFormEntrada::FormActivate() {
    const QString chosen = CbLogin->currentText();
    CbLogin->clear();
    for (const QString& user : users_)
        CbLogin->addItem(user);
    if (!chosen.isEmpty())
        CbLogin->setEditText(chosen);
    else if (!users_.empty())
        CbLogin->setEditText(users_.front());
    if (!CbLogin->currentText().isEmpty())
        EdPasword->setFocus();
}

void TFormEntrada::Timer1Timer() {
    ++step_;
    if (step_ <= 100)
        showOnly(Iinactiva);
    else if (step_ <= 200)
        showOnly(IEspera);
    else if (step_ <= 300)
        showOnly(IActiva);
    else
        step_ = 0;
}

void TFormEntrada::showOnly(QLabel* picture) {
    for (QLabel* p : {Iinactiva, IEspera, IActiva})
        p->setVisible(p == picture);
}

void TFormEntrada::EdPaswordKeyPress() {
    if (ctx_.session.countLoginAttempt() > 2) {
        ctx_.messages.notice(QStringLiteral("Claves Incorrectas, Lo siento..."));
        ctx_.session.requestEnd();
        return;
    }
    ui::guard(ctx_.messages, [this] { attempt(); });
}

void TFormEntrada::attempt() {
    const QString blank = QStringLiteral("NO SE PERMITE VALORES EN BLANCO");
    const QString password = core::roles::trimmed(EdPasword->text());
    if (password.isEmpty()) {
        ctx_.messages.notice(blank);
        EdPasword->setFocus();
        return;
    }
    const QString login = core::roles::trimmed(CbLogin->currentText());
    if (login.isEmpty()) {
        ctx_.messages.notice(blank);
        CbLogin->setFocus();
        return;
    }
    ctx_.dm.closeAccess();
    bool isNumber = false;
    const int code = digitsOf(login).toInt(&isNumber);
    if (!isNumber) {  // no digits, or more than a user code holds
        EdPasword->clear();
        showOnly(Iinactiva);
        refuse(noAccess(), CbLogin);
        return;
    }
    const QString stored = db::proc::passwordDeAcceso(ctx_.db, code, core::TypedPassword(password));
    const int rows = stored.isEmpty() ? 0 : ctx_.dm.openAccess(code, stored);
    const auto& access = ctx_.dm.access();
    if (access && core::roles::trimmed(access->UsuEstado).toUpper() == QLatin1String("INACTIVO")) {
        showOnly(Iinactiva);
        EdPasword->clear();
        refuse(QStringLiteral("ACCESO RESTRINGIDO, ESTADO INACTIVO"), CbLogin);
        return;
    }
    if (rows != 1 || !core::roles::mayLogIn(access->UsuCargo)) {
        EdPasword->clear();
        showOnly(Iinactiva);
        refuse(noAccess(), EdPasword);
        return;
    }
    succeed(code);
}

QString TFormEntrada::noAccess() const {
    return QStringLiteral("Intento de Coneccion N°:") +
           QString::number(ctx_.session.loginAttempts()) +
           QStringLiteral("\rUSUARIO SIN ACCESO AL SISTEMA...");
}

void TFormEntrada::refuse(const QString& message, QWidget* focus) {
    ctx_.messages.notice(message);
    focus->setFocus();
}

void TFormEntrada::succeed(int userCode) {
    session::TDM& dm = ctx_.dm;
    dm.openSessionDatasets();
    const int attendance =
        db::proc::KZ_HorarioIngreso(ctx_.db, {userCode, QStringLiteral("VENTAS")}, ctx_.clock.now())
            .pMax;
    Timer1->stop();
    ctx_.session.logIn(userCode, core::roles::trimmed(dm.access()->UsuLogin), attendance,
                       dm.user() && dm.user()->UsuCargo == core::roles::ADMINISTRADOR);
    close();
}

}  // namespace shell
