#include "support/CheckoutSeed.h"
#include "support/Keys.h"
#include "support/Seed.h"
#include "support/WindowTest.h"

#include "admin/UnitPasswordAcceso.h"
#include "core/Password.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QFont>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using admin::TFormLoginPasswordEC;
using testsupport::child;
using testsupport::pressKey;
using testsupport::seedUser;
using testsupport::typeText;

namespace {

const QString kTooLong = QStringLiteral("MAXIMO 10 CARACTERES...");

class AccountsWindow : public testsupport::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        if (IsSkipped())
            return;
        const QString admin = QStringLiteral("ADMINISTRADOR");
        seedUser(db(), 1, QStringLiteral("DUENO"), QStringLiteral("JEFE1"), admin);
        seedUser(db(), 2, QStringLiteral("ROSA"), QStringLiteral("CLAVE1"), admin);
        seedUser(db(), 3, QStringLiteral("LUIS"), QStringLiteral("CLAVE2"),
                 QStringLiteral("CAJERO"), QStringLiteral("ACTIVO"), QStringLiteral("LUIS"),
                 QStringLiteral("PEREZ"));
        seedUser(db(), 4, QStringLiteral("EVA"), QStringLiteral("CLAVE3"), admin,
                 QStringLiteral("INACTIVO"));
        testsupport::setUserPhoto(db(), 2, testsupport::photoOf(Qt::green));
        ASSERT_EQ(dm().openAccess(2, core::Encripta(QStringLiteral("CLAVE1"))), 1);
        logIn(2, QStringLiteral("ROSA"));
        dm().openSessionDatasets();
        form = TFormLoginPasswordEC::open(ctx());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    }
    void TearDown() override {
        delete form.data();
        WindowTest::TearDown();
    }
    QLineEdit* box(const char* name) { return child<QLineEdit>(form, name); }
    void type(const char* name, const QString& text) {
        box(name)->clear();
        typeText(box(name), text);
    }
    void click(const char* name) { child<QPushButton>(form, name)->click(); }
    QTableView* grid(const char* name) { return child<QTableView>(form, name); }
    // Every cell of a grid, one text.
    QString cells(const char* name) {
        const QAbstractItemModel* m = grid(name)->model();
        QStringList all;
        for (int r = 0; r < m->rowCount(); ++r)
            for (int c = 0; c < m->columnCount(); ++c)
                all << m->index(r, c).data().toString();
        return all.join(QLatin1Char('|'));
    }
    void select(const char* name, const QString& login, int column = 0) {
        const QAbstractItemModel* m = grid(name)->model();
        for (int r = 0; r < m->rowCount(); ++r)
            if (m->index(r, column).data().toString() == login)
                grid(name)->setCurrentIndex(m->index(r, 0));
    }
    QString stored(int code) {
        return db::text(db().scalar(
            QStringLiteral("SELECT UsuPassword FROM USUARIO WHERE UsuCod = ?"), {code}));
    }
    int accounts() {
        return db::integer(db().scalar(QStringLiteral("SELECT COUNT(*) FROM USUARIO")));
    }

    QPointer<TFormLoginPasswordEC> form;
};

TEST_P(AccountsWindow, ListsLeaveOutUserOneAndNoBoxShowsAStoredForm) {
    EXPECT_EQ(child<QTabWidget>(form, "PageControl1")->currentIndex(), 3);
    for (const char* name : {"DBGridUsuario", "DBGrid1", "DBGrid2"}) {
        EXPECT_FALSE(cells(name).contains(QStringLiteral("DUENO"))) << name;
        EXPECT_FALSE(cells(name).contains(QStringLiteral("pbkdf2"))) << name;
    }
    const QAbstractItemModel* states = grid("DBGrid1")->model();
    EXPECT_EQ(states->index(0, 1).data().toString(), QStringLiteral("INACTIVO"));  // EVA
    EXPECT_TRUE(states->index(0, 1).data(Qt::FontRole).value<QFont>().bold());
    EXPECT_FALSE(states->index(1, 1).data(Qt::FontRole).value<QFont>().bold());

    select("DBGridUsuario", QStringLiteral("ROSA"));
    pressKey(grid("DBGridUsuario"), Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(box("EdLogin")->text(), QStringLiteral("ROSA"));
    EXPECT_FALSE(box("EdLogin")->isEnabled());
    EXPECT_TRUE(box("EdPassword1")->text().isEmpty());
    EXPECT_TRUE(box("EdPassword2")->text().isEmpty());
    EXPECT_TRUE(child<QPushButton>(form, "BtEditar")->isEnabled());
}

// The create checks in their order: each case is refused with its message, empties what it
// says and creates nothing; the last one creates the account.
TEST_P(AccountsWindow, CreateChecksInOrder) {
    struct Case {
        QString login, p1, p2, age, dni;
        QString message;
        QStringList emptied;
    };
    const QString noPassword = QStringLiteral("DEBE DE INGRESAR UN\rPASSWORD");
    const Case cases[] = {
        {"", "A", "A", "31", "", "DEBE DE INGRESAR UN\rLOGIN", {}},
        {"ANA", "", "A", "31", "", noPassword, {}},
        {"ANA", "A", "", "31", "", noPassword, {}},
        {"ANA", "A", "A", "", "", "DEBE DE INGRESAR \rLA EDAD", {}},
        {"ANA", "ABCDEFGHIJK", "A", "31", "", kTooLong, {"EdPassword1", "EdPassword2"}},
        {"ANAMARIALUZ", "A", "A", "31", "", kTooLong, {"EdLogin"}},
        {"ANA",
         "A",
         "B",
         "31",
         "",
         "NO CONCUERDAN LOS PASSWORDS INGRESADOS",
         {"EdPassword1", "EdPassword2"}},
        {"ANA", "A", "A", "31", "1234567", "EL D.N.I DEBE TENER 8 DIGITOS", {}},
        {"ANA",
         "ABCDEFGHIJ",
         "ABCDEFGHIJ",
         "31",
         "12345678",
         "USUARIO REGISTRADO: ANA",
         {"EdLogin", "EdPassword1", "EdPassword2", "EdEdad", "EdDNI"}},
    };
    for (const Case& c : cases) {
        const std::pair<const char*, QString> boxes[] = {{"EdLogin", c.login},
                                                         {"EdPassword1", c.p1},
                                                         {"EdPassword2", c.p2},
                                                         {"EdEdad", c.age},
                                                         {"EdDNI", c.dni}};
        for (const auto& [name, text] : boxes)
            type(name, text);
        messages.clear();
        click("Aceptar1");
        EXPECT_EQ(messages.shown, QStringList{c.message}) << c.message.toStdString();
        for (const auto& [name, text] : boxes)
            EXPECT_EQ(box(name)->text(), c.emptied.contains(QLatin1String(name)) ? QString() : text)
                << c.message.toStdString() << " " << name;
    }
    EXPECT_EQ(accounts(), 5);
}

TEST_P(AccountsWindow, DniAndAgeTakeDigitsOnlyUpToTheirSize) {
    const struct {
        const char* box;
        QString typed;
        QString shown;
    } cases[] = {{"EdDNI", "1234A", ""},
                 {"EdDNI", "123456789", "12345678"},
                 {"EdEdad", "3X", ""},
                 {"EdEdad", "1234", "123"}};
    for (const auto& c : cases) {
        type(c.box, c.typed);
        EXPECT_EQ(box(c.box)->text(), c.shown) << c.box << " " << c.typed.toStdString();
    }
}

TEST_P(AccountsWindow, TheOwnRowOnInactivarShowsTheInSessionTextAndCallsNothing) {
    select("DBGrid1", QStringLiteral("ROSA"));
    type("EdEliminaPassword", QStringLiteral("CLAVE1"));
    click("Inactivar");
    EXPECT_EQ(messages.shown,
              QStringList{QStringLiteral("    EL USUARIO SE ENCUENTRA EN SESION\r"
                                         "ABRIR UNA NUEVA SESION CON DIFERENTE USUARIO")});
    EXPECT_EQ(
        db::text(db().scalar(QStringLiteral("SELECT UsuEstado FROM USUARIO WHERE UsuCod = 2"))),
        QStringLiteral("ACTIVO"));
}

// A wrong current password leaves a hint and changes nothing; changing one's own password
// keeps the session's role checks passing.
TEST_P(AccountsWindow, PasswordChangeHintsAWrongCurrentPasswordAndKeepsTheSession) {
    auto* login = child<QComboBox>(form, "CbLogin");
    const QString before = stored(2);
    for (const char* current : {"CLAVE9", "CLAVE1"}) {
        login->setEditText(QStringLiteral("ROSA"));
        type("EdPassLog1", QString::fromLatin1(current));
        type("EdPassLog2", QStringLiteral("NUEVA12345678"));
        type("EdPassLog3", QStringLiteral("NUEVA12345678"));
        click("Editar");
    }
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_EQ(stored(2), core::Encripta(QStringLiteral("NUEVA12345678"), 2));
    EXPECT_NE(stored(2), before);
    EXPECT_EQ(child<QLabel>(form, "ST1")->text(),
              QStringLiteral("PASSWORD CAMBIADO CORRECTAMENTE"));
    ASSERT_TRUE(dm().user().has_value());
    EXPECT_EQ(dm().sessionRole(), QStringLiteral("ADMINISTRADOR"));

    type("EdPassLog1", QStringLiteral("CLAVE9"));
    type("EdPassLog2", QStringLiteral("OTRA"));
    type("EdPassLog3", QStringLiteral("OTRA"));
    click("Editar");
    EXPECT_EQ(child<QLabel>(form, "ST1")->text(),
              QStringLiteral("PASSWORD INCORRECTO,INTENTELO NUEVAMENTE, TENGA EN CUENTA LAS "
                             "MAYUSCULAS Y MINUSCULAS"));
    EXPECT_TRUE(box("EdPassLog1")->text().isEmpty());
}

// "&Foto" and "&Borrar" act on the selected row, not on the logged-in user.
TEST_P(AccountsWindow, PhotoAndItsRemovalActOnTheSelectedRow) {
    QTemporaryDir dir;
    platform.pictureFile = dir.filePath(QStringLiteral("luis.png"));
    QImage(2000, 1000, QImage::Format_RGB32).save(platform.pictureFile);
    const auto photo = [this](int code) {
        return db::blob(
            db().scalar(QStringLiteral("SELECT UsuFoto FROM USUARIO WHERE UsuCod = ?"), {code}));
    };
    select("DBGridUsuario", QStringLiteral("LUIS"));
    pressKey(grid("DBGridUsuario"), Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(messages.last(), QStringLiteral("IMAGEN  ASIGNADA...AL USUARIO"));
    EXPECT_EQ(QImage::fromData(photo(3)).width(), 1024);
    EXPECT_FALSE(child<QLabel>(form, "DBImage1")->pixmap().isNull());

    pressKey(grid("DBGridUsuario"), Qt::Key_B, Qt::ControlModifier);
    EXPECT_TRUE(photo(3).isEmpty());
    EXPECT_FALSE(photo(2).isEmpty());
}

}  // namespace

VELCARIS_DB_TEST_SUITE(AccountsWindow);
