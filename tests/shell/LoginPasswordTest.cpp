#include "support/Keys.h"
#include "support/Seed.h"
#include "support/WindowTest.h"

#include "core/Password.h"
#include "shell/UnitLoginPassword.h"
#include "shell/UnitPrincipal.h"
#include "ui/Palette.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using shell::TFormLoginPassword;
using Purpose = TFormLoginPassword::Purpose;
using testsupport::pressKey;
using testsupport::seedUser;
using testsupport::typeText;

using testsupport::child;

namespace {

const QString kNoLogin = QStringLiteral("DEBE DE INGRESAR UN\rLOGIN");
const QString kNoPassword = QStringLiteral("DEBE DE INGRESAR UN\rPASSWORD");
const QString kNotAuthorised = QStringLiteral("USUARIO NO AUTORIZADO\rTU INTENTO SE HA GRABADO\r");
const QString kRefused = QStringLiteral("CLAVE INCORRECTA...\rO USUARIO INACTIVO");

enum class How { Button, Enter };

class LoginPassword : public testsupport::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        if (IsSkipped())
            return;
        seedUser(db(), 1, QStringLiteral("DUENO"), QStringLiteral("JEFE1"),
                 QStringLiteral("ADMINISTRADOR"));
        seedUser(db(), 2, QStringLiteral("ROSA"), QStringLiteral("CLAVE1"),
                 QStringLiteral("ADMINISTRADOR"));
        seedUser(db(), 3, QStringLiteral("LUIS"), QStringLiteral("CLAVE2"),
                 QStringLiteral("CAJERO"));
        seedUser(db(), 4, QStringLiteral("EVA"), QStringLiteral("CLAVE3"),
                 QStringLiteral("ADMINISTRADOR"), QStringLiteral("INACTIVO"));
        seedUser(db(), 5, QStringLiteral("MAXIMOS"), QStringLiteral("CLAVE4"),
                 QStringLiteral("TECNICA"));
        seedUser(db(), 6, QStringLiteral("BETO"), QStringLiteral("AB}"),
                 QStringLiteral("administrador  "));
        form = new TFormLoginPassword(ctx());
    }
    void TearDown() override {
        delete form.data();
        WindowTest::TearDown();
    }

    void loginSession(int code, const char* password) {
        ASSERT_EQ(dm().openAccess(code, core::Encripta(QString::fromLatin1(password))), 1);
    }
    void show(Purpose purpose) {
        form->showFor(purpose);
        ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    }
    void type(const QString& login, const QString& password) {
        child<QComboBox>(form, "CBLogin")->lineEdit()->clear();
        typeText(child<QComboBox>(form, "CBLogin")->lineEdit(), login);
        child<QLineEdit>(form, "EdPassword")->clear();
        typeText(child<QLineEdit>(form, "EdPassword"), password);
    }
    void check(How how) {
        if (how == How::Enter)
            pressKey(child<QLineEdit>(form, "EdPassword"), Qt::Key_Return);
        else
            child<QPushButton>(form, "Aceptar")->click();
    }
    void attempt(const QString& login, const QString& password, How how = How::Enter) {
        type(login, password);
        check(how);
    }
    QWidget* focused() const { return QApplication::focusWidget(); }

    QPointer<TFormLoginPassword> form;
};

TEST_P(LoginPassword, LooksAsSpecifiedAndMasksWithHashes) {
    EXPECT_EQ(form->size(), QSize(353, 193));
    EXPECT_FALSE(form->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(form->windowFlags() & Qt::WindowMinMaxButtonsHint);
    EXPECT_EQ(child<QPushButton>(form, "Aceptar")->text(), QStringLiteral("&Aceptar"));
    EXPECT_EQ(child<QPushButton>(form, "Cancelar")->text(), QStringLiteral("&Cancelar"));
    for (QWidget* box : {static_cast<QWidget*>(child<QComboBox>(form, "CBLogin")),
                         static_cast<QWidget*>(child<QLineEdit>(form, "EdPassword"))})
        EXPECT_EQ(box->palette().color(QPalette::Base), ui::palette::infoBackground);

    show(Purpose::Discount);
    type(QStringLiteral("rosa"), QStringLiteral("cla ve"));
    EXPECT_EQ(child<QComboBox>(form, "CBLogin")->currentText(), QStringLiteral("ROSA"));
    EXPECT_EQ(child<QLineEdit>(form, "EdPassword")->text(), QStringLiteral("CLA VE"));
    EXPECT_EQ(child<QLineEdit>(form, "EdPassword")->displayText(), QStringLiteral("######"));
}

TEST_P(LoginPassword, ActivationListsActiveUsersButTheOwnerSortedAndFocusesThePassword) {
    show(Purpose::Discount);
    QStringList items;
    for (int i = 0; i < child<QComboBox>(form, "CBLogin")->count(); ++i)
        items << child<QComboBox>(form, "CBLogin")->itemText(i);
    EXPECT_EQ(items, (QStringList{"BETO", "LUIS", "MAXIMOS", "ROSA"}));
    EXPECT_EQ(child<QComboBox>(form, "CBLogin")->currentText(), QStringLiteral("BETO"));
    EXPECT_EQ(focused(), child<QLineEdit>(form, "EdPassword"));

    child<QComboBox>(form, "CBLogin")->setFocus();
    pressKey(child<QComboBox>(form, "CBLogin")->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(focused(), child<QLineEdit>(form, "EdPassword"));
    EXPECT_TRUE(messages.shown.isEmpty());
}

struct Refusal {
    const char* name;
    int sessionUser;  // 0: no session
    const char* sessionPassword;
    const char* login;
    const char* password;
    QString message;
    bool passwordCleared;
};

TEST_P(LoginPassword, RefusalsInTheirOrder) {
    const Refusal cases[] = {
        {"no login", 2, "CLAVE1", "", "CLAVE1", kNoLogin, false},
        {"no password", 2, "CLAVE1", "ROSA", "", kNoPassword, false},
        {"cashier session with an administrator's password", 3, "CLAVE2", " ROSA ", "CLAVE1",
         kNotAuthorised + "ROSA", false},
        {"no session", 0, "", "ROSA", "CLAVE1", kNotAuthorised + "ROSA", false},
        {"wrong password", 2, "CLAVE1", "ROSA", "CLAVE2", kRefused, true},
        {"inactive account", 2, "CLAVE1", "EVA", "CLAVE3", kRefused, true},
        {"the owner is not listed but is checked", 2, "CLAVE1", "DUENO", "JEFE2", kRefused, true},
    };
    for (const Refusal& c : cases) {
        SCOPED_TRACE(c.name);
        dm().closeAccess();
        if (c.sessionUser)
            loginSession(c.sessionUser, c.sessionPassword);
        show(Purpose::Discount);
        messages.clear();
        attempt(QString::fromLatin1(c.login), QString::fromLatin1(c.password));
        EXPECT_EQ(messages.shown, QStringList{c.message});
        EXPECT_EQ(child<QLineEdit>(form, "EdPassword")->text().isEmpty(),
                  c.passwordCleared || !*c.password);
        EXPECT_FALSE(session().discountAllowed());
        EXPECT_TRUE(form->isVisible());
        if (c.message != kNotAuthorised + "ROSA") {
            EXPECT_EQ(focused(), child<QLineEdit>(form, "EdPassword"));
        }
    }
}

TEST_P(LoginPassword, MaximosSkipsTheSessionRoleTest) {
    loginSession(3, "CLAVE2");  // a cashier
    show(Purpose::Discount);
    attempt(QStringLiteral("MAXIMOS"), QStringLiteral("CLAVE4"));
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_TRUE(session().discountAllowed());
}

TEST_P(LoginPassword, SessionRoleIsTrimmedAndUpperCased) {
    loginSession(6, "AB}");  // stored as "administrador  "
    show(Purpose::Discount);
    // Its scramble begins with a control character, which travels untrimmed.
    attempt(QStringLiteral("BETO"), QStringLiteral("AB}"));
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_TRUE(session().discountAllowed());
}

TEST_P(LoginPassword, EnterCompactsTheLoginTheButtonSendsItAsTyped) {
    loginSession(2, "CLAVE1");
    show(Purpose::Discount);
    attempt(QStringLiteral("RO SA"), QStringLiteral("CLAVE1"), How::Button);
    EXPECT_EQ(child<QComboBox>(form, "CBLogin")->currentText(), QStringLiteral("RO SA"));
    EXPECT_EQ(messages.shown, QStringList{kRefused});
    EXPECT_FALSE(session().discountAllowed());

    messages.clear();
    attempt(QStringLiteral("RO SA"), QStringLiteral("CLAVE1"), How::Enter);
    EXPECT_EQ(child<QComboBox>(form, "CBLogin")->currentText(), QStringLiteral("ROSA"));
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_TRUE(session().discountAllowed());
}

TEST_P(LoginPassword, BlankPasswordEndsTheCheckSilently) {
    loginSession(2, "CLAVE1");
    show(Purpose::Discount);
    attempt(QStringLiteral("ROSA"), QStringLiteral("   "));
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_FALSE(session().discountAllowed());
    EXPECT_TRUE(form->isVisible());
}

TEST_P(LoginPassword, DiscountIsGrantedAndTheWindowHiddenForTheNextShow) {
    loginSession(2, "CLAVE1");
    for (const How how : {How::Button, How::Enter}) {
        session().setDiscountAllowed(false);
        show(Purpose::Discount);
        attempt(QStringLiteral("ROSA"), QStringLiteral("CLAVE1"), how);
        EXPECT_TRUE(session().discountAllowed());
        EXPECT_FALSE(form->isVisible());
        ASSERT_FALSE(form.isNull());
        EXPECT_TRUE(child<QLineEdit>(form, "EdPassword")->text().isEmpty());
    }
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_P(LoginPassword, CancelClearsPurposeAndPermission) {
    session().setDiscountAllowed(true);
    show(Purpose::Accounts);
    child<QPushButton>(form, "Cancelar")->click();
    EXPECT_FALSE(session().discountAllowed());
    EXPECT_EQ(form->purpose(), Purpose::Discount);
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(form.isNull());
}

struct Opening {
    Purpose purpose;
    How how;
    bool staysOpen;
};

TEST_P(LoginPassword, ScreensOpenByPurposeAndEnterClosesThisWindow) {
    loginSession(2, "CLAVE1");
    const Opening cases[] = {
        {Purpose::Accounts, How::Button, true},
        {Purpose::Accounts, How::Enter, false},
        {Purpose::Console, How::Button, true},
        {Purpose::Console, How::Enter, false},
    };
    int accounts = 0;
    int console = 0;
    form->setAccountsOpener([&] {
        ++accounts;
        return nullptr;
    });
    form->setConsoleOpener([&] {
        ++console;
        return nullptr;
    });
    for (const Opening& c : cases) {
        show(c.purpose);
        attempt(QStringLiteral("ROSA"), QStringLiteral("CLAVE1"), c.how);
        EXPECT_EQ(form->isVisible(), c.staysOpen);
        EXPECT_EQ(form->purpose(), c.purpose);  // the next caller sets it again
        EXPECT_FALSE(session().discountAllowed());
    }
    EXPECT_EQ(accounts, 2);
    EXPECT_EQ(console, 2);
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_P(LoginPassword, WithoutAnOpenerSuccessOpensNothing) {
    loginSession(2, "CLAVE1");
    show(Purpose::Console);
    attempt(QStringLiteral("ROSA"), QStringLiteral("CLAVE1"), How::Button);
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(child<QLineEdit>(form, "EdPassword")->text().isEmpty());
    EXPECT_FALSE(session().discountAllowed());
}

TEST_P(LoginPassword, PurposeLivesInTheSession) {
    loginSession(2, "CLAVE1");

    form->showFor(Purpose::Console);
    EXPECT_EQ(session().reauthPurpose(), Purpose::Console);
    session().setReauthPurpose(Purpose::Accounts);
    EXPECT_EQ(form->purpose(), Purpose::Accounts);

    child<QPushButton>(form, "Cancelar")->click();
    EXPECT_EQ(session().reauthPurpose(), Purpose::Discount);

    session().setReauthPurpose(Purpose::Console);
    show(Purpose::Discount);
    EXPECT_EQ(session().reauthPurpose(), Purpose::Discount);
    attempt(QStringLiteral("ROSA"), QStringLiteral("CLAVE1"));
    EXPECT_TRUE(session().discountAllowed());
    EXPECT_EQ(session().reauthPurpose(), Purpose::Discount);
}

}  // namespace

VELCARIS_DB_TEST_SUITE(LoginPassword);
