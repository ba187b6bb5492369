#include "support/ProgramTest.h"
#include "support/Seed.h"

#include "admin/UnitPasswordAcceso.h"
#include "session/Commands.h"

#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>

using testsupport::child;
using testsupport::pressKey;
using testsupport::seedUser;
using testsupport::typeText;

namespace {

class AccountsRoad : public testsupport::ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        if (IsSkipped())
            return;
        seedUser(db(), 1, QStringLiteral("DUENO"), QStringLiteral("JEFE1"),
                 QStringLiteral("ADMINISTRADOR"));
        seedUser(db(), 2, QStringLiteral("ROSA"), QStringLiteral("CLAVE1"),
                 QStringLiteral("ADMINISTRADOR"));
        startProgram();
    }
    // "&Utilitarios" > "&Password" and the re-authentication, by Enter.
    admin::TFormLoginPasswordEC* openAccounts() {
        EXPECT_TRUE(run(QStringLiteral("Password1")));
        settle();
        auto* reauth = principal().findChild<session::ReauthWindow*>();
        child<QComboBox>(reauth, "CBLogin")->lineEdit()->clear();
        typeText(child<QComboBox>(reauth, "CBLogin")->lineEdit(), QStringLiteral("ROSA"));
        typeText(child<QLineEdit>(reauth, "EdPassword"), QStringLiteral("CLAVE1"));
        pressKey(child<QLineEdit>(reauth, "EdPassword"), Qt::Key_Return);
        settle();
        return principal().findChild<admin::TFormLoginPasswordEC*>();
    }
    void type(QWidget* form, const char* box, const QString& text) {
        child<QLineEdit>(form, box)->clear();
        typeText(child<QLineEdit>(form, box), text);
    }
    void select(QWidget* form, const char* grid, const QString& login) {
        auto* view = child<QTableView>(form, grid);
        for (int r = 0; r < view->model()->rowCount(); ++r)
            if (view->model()->index(r, 0).data().toString() == login)
                view->setCurrentIndex(view->model()->index(r, 0));
    }
    void changeUser(const QString& code, const QString& password) {
        run(QStringLiteral("SPassword"));
        settle();
        activateLogin();
        enter(code, password);
    }
};

// ADMIN creates VENDEDOR2 with a photo, who logs in and sees it; deactivated, the login is
// refused.
TEST_P(AccountsRoad, ANewAccountLogsInWithItsPhotoAndIsRefusedOnceInactive) {
    enter(QStringLiteral("2"), QStringLiteral("CLAVE1"));
    admin::TFormLoginPasswordEC* form = openAccounts();
    ASSERT_NE(form, nullptr) << messages.shown.join(QLatin1Char('/')).toStdString();
    type(form, "EdLogin", QStringLiteral("VENDEDOR2"));
    type(form, "EdPassword1", QStringLiteral("CLAVE9"));
    type(form, "EdPassword2", QStringLiteral("CLAVE9"));
    child<QComboBox>(form, "CBCargo")->setEditText(QStringLiteral("TECNICA"));
    child<QComboBox>(form, "CbTeclaVenta")->setCurrentText(QStringLiteral("F9"));
    child<QPushButton>(form, "Aceptar1")->click();
    EXPECT_EQ(messages.last(), QStringLiteral("USUARIO REGISTRADO: VENDEDOR2"));
    QTemporaryDir dir;
    platform.pictureFile = dir.filePath(QStringLiteral("v.png"));
    QImage(40, 40, QImage::Format_RGB32).save(platform.pictureFile);
    select(form, "DBGridUsuario", QStringLiteral("VENDEDOR2"));
    pressKey(child<QTableView>(form, "DBGridUsuario"), Qt::Key_F, Qt::ControlModifier);
    form->close();
    settle();

    changeUser(QStringLiteral("3"), QStringLiteral("CLAVE9"));
    EXPECT_EQ(session().userCode(), 3);
    EXPECT_FALSE(principal().findChild<QLabel*>(QStringLiteral("DBImage1"))->pixmap().isNull());

    changeUser(QStringLiteral("2"), QStringLiteral("CLAVE1"));
    form = openAccounts();
    ASSERT_NE(form, nullptr);
    select(form, "DBGrid1", QStringLiteral("VENDEDOR2"));
    type(form, "EdEliminaPassword", QStringLiteral("CLAVE1"));
    child<QPushButton>(form, "Inactivar")->click();
    EXPECT_EQ(messages.last(), QStringLiteral("USUARIO INACTIVADO"));
    form->close();
    changeUser(QStringLiteral("3"), QStringLiteral("CLAVE9"));
    EXPECT_EQ(messages.last(), QStringLiteral("ACCESO RESTRINGIDO, ESTADO INACTIVO"));
}

}  // namespace

VELCARIS_DB_TEST_SUITE(AccountsRoad);
