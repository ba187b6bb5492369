#include "support/CheckoutSeed.h"
#include "support/ProgramTest.h"
#include "support/Seed.h"

#include "sales/UnitBusqueda.h"

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QToolButton>

using testsupport::pressKey;
using testsupport::seedUser;
using testsupport::typeText;

namespace {

const QString kBlank = QStringLiteral("NO SE PERMITE VALORES EN BLANCO");
const QString kInactive = QStringLiteral("ACCESO RESTRINGIDO, ESTADO INACTIVO");
const QString kGoodbye = QStringLiteral("Claves Incorrectas, Lo siento...");

QString attemptMessage(int n) {
    return QStringLiteral("Intento de Coneccion N°:%1\rUSUARIO SIN ACCESO AL SISTEMA...").arg(n);
}

// The attendance rows in the order they were opened.
struct Attendance {
    int asiCod;
    int usuCod;
    QString programa;
    QDateTime ingreso;
    QVariant salida;
};

class Login : public testsupport::ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        if (IsSkipped())
            return;
        seedUser(db(), 1, QStringLiteral("DUENO"), QStringLiteral("JEFE1"),
                 QStringLiteral("ADMINISTRADOR"), QStringLiteral("ACTIVO"), QStringLiteral("MARCO"),
                 QStringLiteral("SALAS"));
        seedUser(db(), 12, QStringLiteral("ROSA"), QStringLiteral("CLAVE12"),
                 QStringLiteral("CAJERO"), QStringLiteral("ACTIVO"), QStringLiteral("ROSA"),
                 QStringLiteral("QUISPE MAMANI  "));
        seedUser(db(), 3, QStringLiteral("LUIS"), QStringLiteral("CLAVE3"),
                 QStringLiteral("CAJERO"), QStringLiteral("ACTIVO"), QString(),
                 QStringLiteral("PEREZ 2DO"));
        seedUser(db(), 4, QStringLiteral("ANA2"), QStringLiteral("CLAVE4"),
                 QStringLiteral("TECNICA"), QStringLiteral("ACTIVO"), QString(),
                 QStringLiteral("TORRES"));
        seedUser(db(), 5, QStringLiteral("EVA"), QStringLiteral("CLAVE5"),
                 QStringLiteral("ADMINISTRADOR"), QStringLiteral("INACTIVO"));
        seedUser(db(), 6, QStringLiteral("CONTA"), QStringLiteral("CLAVE6"),
                 QStringLiteral("CONTADOR"));
        seedUser(db(), 7, QStringLiteral("GUARDIA"), QStringLiteral("CLAVE7"),
                 QStringLiteral("VIGILANTE"));
        seedUser(db(), 8, QStringLiteral("JEFA"), QStringLiteral("CLAVE8"),
                 QStringLiteral("ADMINISTRADOR "));
        testsupport::setUserPhoto(db(), 12, testsupport::photoOf(Qt::green));
        startProgram();
    }

    void clickTool(const char* name) {
        principal().findChild<QToolButton*>(QString::fromLatin1(name))->click();
        settle();
    }
    void trigger(const char* name) {
        principal().findChild<QAction*>(QString::fromLatin1(name))->trigger();
        settle();
    }
    // The login window that a change of user or logout shows, with its list filled.
    void nextLogin() {
        ASSERT_NE(login(), nullptr);
        activateLogin();
    }

    QStringList listed() {
        QStringList entries;
        for (int i = 0; i < loginBox()->count(); ++i)
            entries << loginBox()->itemText(i);
        return entries;
    }
    int loginWindows() { return int(principal().findChildren<shell::TFormEntrada*>().size()); }
    bool photoShown() {
        return !principal().findChild<QLabel*>(QStringLiteral("DBImage1"))->pixmap().isNull();
    }
    QList<QMdiSubWindow*> subWindows() { return principal().mdiArea()->subWindowList(); }

    std::vector<Attendance> attendance() {
        QSqlQuery q =
            db().exec(QStringLiteral("SELECT AsiCod, UsuCod, AsiPrograma, AsiIngreso, "
                                     "AsiSalida FROM ASISTENCIA ORDER BY AsiCod"));
        std::vector<Attendance> rows;
        while (q.next())
            rows.push_back({db::integer(q.value(0)), db::integer(q.value(1)), db::text(q.value(2)),
                            db::dateTime(q.value(3)), q.value(4)});
        return rows;
    }

    // Expects the user logged in: session values, user label, no login window left.
    void expectSession(int code, const QString& login) {
        EXPECT_EQ(session().userCode(), code);
        EXPECT_EQ(session().login(), login);
        EXPECT_EQ(principal().userLabel(), QStringLiteral("USUARIO: ") + login);
        EXPECT_EQ(session().loginAttempts(), 0);
        EXPECT_EQ(loginWindows(), 0);
    }
    void expectNoSession() {
        EXPECT_EQ(session().userCode(), 0);
        EXPECT_EQ(loginWindows(), 1);
        EXPECT_TRUE(attendance().empty());
        EXPECT_TRUE(subWindows().isEmpty());
    }

    const QString rosaEntry = QStringLiteral("ROSA QUISPE MAMANI   12");
};

TEST_P(Login, TheListHoldsActiveUsersButTheOwnerAndOffersTheFirst) {
    EXPECT_EQ(login()->windowTitle(), QStringLiteral("        ACCESO AL SISTEMA VELCARIS"));
    EXPECT_EQ(login()->size(), QSize(404, 167));
    EXPECT_TRUE(login()->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(platform.sounds, QStringList{QStringLiteral("VELCARIS")});

    const QStringList entries = listed();
    EXPECT_EQ(entries.size(), 6) << entries.join(QLatin1Char('|')).toStdString();
    for (const char* entry : {"ROSA QUISPE MAMANI   12", "LUIS PEREZ 2DO   3", "ANA2 TORRES   4",
                              "CONTA    6", "GUARDIA    7", "JEFA    8"})
        EXPECT_TRUE(entries.contains(QString::fromLatin1(entry))) << entry;
    EXPECT_EQ(loginBox()->currentText(), entries.value(0));
    EXPECT_EQ(login()->focusWidget(), passwordBox());
}

TEST_P(Login, PickingTheEntryOrTypingTheCodeLogsInTheSameUser) {
    loginBox()->setCurrentIndex(loginBox()->findText(rosaEntry));
    typeText(passwordBox(), QStringLiteral("clave12"));
    EXPECT_EQ(passwordBox()->displayText(), QStringLiteral("#######"));
    pressKey(passwordBox(), Qt::Key_Return);
    settle();
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.last().toStdString();
    expectSession(12, QStringLiteral("ROSA"));

    clickTool("SPassword");
    nextLogin();
    enter(QStringLiteral("12"), QStringLiteral("CLAVE12"));
    expectSession(12, QStringLiteral("ROSA"));
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.last().toStdString();
}

TEST_P(Login, TheOwnerIsNotListedButLogsInByCode) {
    for (const QString& entry : listed())
        EXPECT_FALSE(entry.startsWith(QStringLiteral("DUENO"))) << entry.toStdString();
    enter(QStringLiteral("1"), QStringLiteral("JEFE1"));
    expectSession(1, QStringLiteral("DUENO"));
}

TEST_P(Login, TheOwnerTypedByCodeIsRefusedWithAWrongPassword) {
    enter(QStringLiteral("1"), QStringLiteral("JEFE2"));
    EXPECT_EQ(messages.last(), attemptMessage(1));
    expectNoSession();
    enter(QStringLiteral("1"), QStringLiteral("JEFE1"));
    expectSession(1, QStringLiteral("DUENO"));
}

TEST_P(Login, ALoginTextWithoutACodeIsRefusedAloud) {
    for (const char* typed : {"O'HARA %", "99999999999999999999"}) {
        messages.clear();
        enter(QString::fromLatin1(typed), QStringLiteral("CLAVE12"));
        EXPECT_EQ(messages.shown, QStringList{attemptMessage(session().loginAttempts())}) << typed;
        EXPECT_EQ(session().userCode(), 0);
        EXPECT_EQ(login()->focusWidget(), loginBox()) << typed;
    }
}

TEST_P(Login, ARefusedAttemptKeepsTheChosenUserForTheNextOne) {
    pick(rosaEntry, QStringLiteral("WRONG"));
    EXPECT_EQ(messages.last(), attemptMessage(1));
    activateLogin();  // the window comes back once the message is closed
    EXPECT_EQ(loginBox()->currentText(), rosaEntry);
    EXPECT_EQ(login()->focusWidget(), passwordBox());
    pressEnter(QStringLiteral("CLAVE12"));
    expectSession(12, QStringLiteral("ROSA"));
}

TEST_P(Login, ADigitInTheLoginOrSurnamesResolvesToAWrongCodeAndIsRefused) {
    pick(QStringLiteral("LUIS PEREZ 2DO   3"), QStringLiteral("CLAVE3"));
    EXPECT_EQ(messages.last(), attemptMessage(1));
    EXPECT_TRUE(passwordBox()->text().isEmpty());
    EXPECT_EQ(login()->focusWidget(), passwordBox());

    pick(QStringLiteral("ANA2 TORRES   4"), QStringLiteral("CLAVE4"));
    EXPECT_EQ(messages.last(), attemptMessage(2));
    expectNoSession();
}

TEST_P(Login, TwoBlankEntersThenTheThirdEndsTheProgramWhateverIsTyped) {
    pressEnter(QString());
    EXPECT_EQ(login()->focusWidget(), passwordBox());
    loginBox()->lineEdit()->clear();
    pressEnter(QStringLiteral("CLAVE12"));
    EXPECT_EQ(messages.shown, (QStringList{kBlank, kBlank}));
    EXPECT_EQ(programEnds, 0);

    pick(rosaEntry, QStringLiteral("CLAVE12"));
    EXPECT_EQ(messages.shown, (QStringList{kBlank, kBlank, kGoodbye}));
    EXPECT_EQ(programEnds, 1);
    expectNoSession();
}

TEST_P(Login, AnInactiveAccountIsRestrictedOnlyWithItsRightPassword) {
    enter(QStringLiteral("5"), QStringLiteral("CLAVE5"));
    EXPECT_EQ(messages.last(), kInactive);
    EXPECT_TRUE(passwordBox()->text().isEmpty());
    const QWidget* focus = login()->focusWidget();
    EXPECT_TRUE(focus == loginBox() || focus == loginBox()->lineEdit());

    enter(QStringLiteral("5"), QStringLiteral("OTRA"));
    EXPECT_EQ(messages.last(), attemptMessage(2));
    expectNoSession();
}

TEST_P(Login, RolesOutsideTheSalesStaffAreRefusedWithTheAttemptCount) {
    pick(QStringLiteral("CONTA    6"), QStringLiteral("CLAVE6"));
    EXPECT_EQ(messages.last(), attemptMessage(1));
    pick(QStringLiteral("GUARDIA    7"), QStringLiteral("CLAVE7"));
    EXPECT_EQ(messages.last(), attemptMessage(2));
    EXPECT_EQ(messages.shown.size(), 2);
    expectNoSession();
}

TEST_P(Login, AnAdministratorWithATrailingBlankLogsInWithoutCostFigures) {
    pick(QStringLiteral("JEFA    8"), QStringLiteral("CLAVE8"));
    expectSession(8, QStringLiteral("JEFA"));
    ASSERT_NE(searchScreen(), nullptr);
    EXPECT_FALSE(searchScreen()->costFiguresVisible());

    clickTool("SPassword");
    nextLogin();
    enter(QStringLiteral("1"), QStringLiteral("JEFE1"));
    ASSERT_NE(searchScreen(), nullptr);
    EXPECT_TRUE(searchScreen()->costFiguresVisible());
}

TEST_P(Login, OneFailureThenASuccessResetsTheCounterWhichOutlivesTheWindow) {
    pick(rosaEntry, QStringLiteral("MAL"));
    EXPECT_EQ(messages.last(), attemptMessage(1));
    pick(rosaEntry, QStringLiteral("CLAVE12"));
    expectSession(12, QStringLiteral("ROSA"));

    clickTool("SPassword");
    nextLogin();
    pick(rosaEntry, QStringLiteral("MAL"));
    EXPECT_EQ(messages.last(), attemptMessage(1));
    // Another login window keeps the count.
    clickTool("SPassword");
    nextLogin();
    pick(rosaEntry, QStringLiteral("MAL"));
    EXPECT_EQ(messages.last(), attemptMessage(2));
    EXPECT_EQ(programEnds, 0);
    pick(rosaEntry, QStringLiteral("CLAVE12"));
    EXPECT_EQ(messages.last(), kGoodbye);
    EXPECT_EQ(programEnds, 1);
}

TEST_P(Login, AttendanceIsClosedByChangeOfUserAndSalirOnly) {
    const QDateTime start = clock.now();
    pick(rosaEntry, QStringLiteral("CLAVE12"));
    auto rows = attendance();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].usuCod, 12);
    EXPECT_EQ(rows[0].programa, QStringLiteral("VENTAS"));
    EXPECT_EQ(rows[0].ingreso, start);
    EXPECT_TRUE(rows[0].salida.isNull());
    EXPECT_EQ(session().attendanceId(), rows[0].asiCod);

    clock.advanceSeconds(3600);
    clickTool("SPassword");
    EXPECT_EQ(db::dateTime(attendance()[0].salida), start.addSecs(3600));

    nextLogin();
    enter(QStringLiteral("1"), QStringLiteral("JEFE1"));
    trigger("LoginPassword1");  // Acceso > Login Password
    nextLogin();
    pick(rosaEntry, QStringLiteral("CLAVE12"));
    trigger("Salir1");  // Help > Salir
    EXPECT_EQ(programEnds, 1);
    rows = attendance();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1].usuCod, 1);
    EXPECT_TRUE(rows[1].salida.isNull());
    EXPECT_EQ(rows[2].usuCod, 12);
    EXPECT_TRUE(rows[2].salida.isNull());
    EXPECT_EQ(session().attendanceId(), rows[2].asiCod);

    clock.advanceSeconds(60);
    trigger("Salir2");  // Sa&lir
    EXPECT_EQ(programEnds, 2);
    rows = attendance();
    EXPECT_TRUE(rows[1].salida.isNull());
    EXPECT_EQ(db::dateTime(rows[2].salida), start.addSecs(3660));
}

TEST_P(Login, ALoginOpensTheSearchScreenMaximisedAndAChangeOfUserClosesIt) {
    EXPECT_TRUE(subWindows().isEmpty());
    pick(rosaEntry, QStringLiteral("CLAVE12"));
    ASSERT_EQ(subWindows().size(), 1);
    QMdiSubWindow* sub = subWindows().front();
    EXPECT_TRUE(qobject_cast<sales::TFormBusqueda*>(sub->widget()));
    EXPECT_EQ(sub->widget(), searchScreen());
    EXPECT_TRUE(sub->isMaximized());
    EXPECT_TRUE(sub->isVisible());
    EXPECT_EQ(principal().userLabel(), QStringLiteral("USUARIO: ROSA"));
    EXPECT_TRUE(photoShown());
    EXPECT_TRUE(dm().isSessionOpen());

    clickTool("SPassword");
    EXPECT_EQ(principal().userLabel(), QString());
    EXPECT_EQ(searchScreen(), nullptr);
    EXPECT_TRUE(subWindows().isEmpty());
    EXPECT_EQ(loginWindows(), 1);
    EXPECT_TRUE(login()->isVisible());
    EXPECT_FALSE(photoShown());
    EXPECT_FALSE(dm().isSessionOpen());
    EXPECT_EQ(dm().sessionRole(), QString());
}

TEST_P(Login, LoginPasswordClosesTheSessionButTheAccessQueryStillShowsThePreviousUser) {
    pick(rosaEntry, QStringLiteral("CLAVE12"));
    trigger("LoginPassword1");
    EXPECT_TRUE(photoShown());
    EXPECT_EQ(dm().sessionRole(), QStringLiteral("CAJERO"));
    EXPECT_EQ(principal().userLabel(), QString());
    EXPECT_TRUE(subWindows().isEmpty());
    EXPECT_FALSE(dm().isSessionOpen());
    EXPECT_EQ(loginWindows(), 1);

    nextLogin();
    enter(QStringLiteral("1"), QStringLiteral("JEFE1"));
    EXPECT_FALSE(photoShown());
    EXPECT_TRUE(dm().isSessionOpen());
    EXPECT_EQ(subWindows().size(), 1);
}

VELCARIS_DB_TEST_SUITE(Login);

}  // namespace
