#include "support/DbTest.h"
#include "support/Seed.h"

#include "core/Password.h"
#include "db/procedures/Accounts.h"
#include "db/procedures/Session.h"

#include <atomic>

using namespace db::proc;
using core::TypedPassword;
using db::Db;
using testsupport::seedUser;

namespace {

const QDateTime kNow(QDate(2026, 3, 2), QTime(10, 15, 0));
const QString kAdmin = QStringLiteral("ADMINISTRADOR");

class AccountsProcedures : public testsupport::DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped())
            return;
        seedUser(db(), 1, QStringLiteral("DUENO"), QStringLiteral("JEFE1"), kAdmin);
        seedUser(db(), 2, QStringLiteral("ROSA"), QStringLiteral("CLAVE1"), kAdmin);
        seedUser(db(), 3, QStringLiteral("LUIS"), QStringLiteral("CLAVE2"),
                 QStringLiteral("CAJERO"));
        seedUser(db(), 4, QStringLiteral("EVA"), QStringLiteral("CLAVE3"), kAdmin);
        db().exec(
            QStringLiteral("INSERT INTO SUCURSAL (SucCod, SucNombre) VALUES (1, 'CENTRO'), "
                           "(2, 'BOTICA VELCARIS'), (3, 'VELCARIS NORTE')"));
    }
    MensajeOut create(Db& on, const QString& login, const QString& password) {
        DatosUsuario d;
        d.pUsuLogin = login;
        d.pUsuCargo = QStringLiteral("TECNICA");
        d.pUsuNombres = QStringLiteral("ANA");
        d.pUsuTecla = QStringLiteral("F9");
        return KZ_IngresoLoginPassword(on, {d, TypedPassword(password)}, kNow);
    }
    QVariant column(const char* name, const QString& login) {
        return db().scalar(QStringLiteral("SELECT %1 FROM USUARIO WHERE UsuLogin = ?").arg(name),
                           {login});
    }
    int codeOf(const QString& login) { return db::integer(column("UsuCod", login)); }
    QString stateOf(int code) {
        return db::text(
            db().scalar(QStringLiteral("SELECT UsuEstado FROM USUARIO WHERE UsuCod = ?"), {code}));
    }
    // Every text column of every account, as one text.
    QString everyText() {
        QSqlQuery q = db().exec(QStringLiteral(
            "SELECT UsuLogin, UsuPassword, UsuCargo, UsuNombres, UsuApellidos, UsuDni, "
            "UsuTelefono, UsuDomicilio, UsuEstado, UsuTecla FROM USUARIO"));
        QStringList texts;
        while (q.next())
            for (int i = 0; i < 10; ++i)
                texts << q.value(i).toString();
        return texts.join(QLatin1Char('|'));
    }
    bool logsIn(int code, const QString& password) {
        return !passwordDeAcceso(db(), code, TypedPassword(password)).isEmpty();
    }
};

// Creating, changing and forcing a password: afterwards only its one-way form is stored, it
// logs in and the one before it does not.
TEST_P(AccountsProcedures, PasswordsAreStoredOneWayAndTheNewOneLogsIn) {
    const QString vendedor = QStringLiteral("VENDEDOR2");
    const auto pw = [](const char* text) { return TypedPassword(QString::fromLatin1(text)); };
    const auto set = [&](int step) {
        if (step == 0)
            return create(db(), vendedor, QStringLiteral("PRIMERA1"));
        if (step == 1)
            return KZ_CambiarPassword(db(), {vendedor, pw("PRIMERA1"), pw("SEGUNDA22")});
        return KZ_ForzarPassword(db(), {codeOf(vendedor), vendedor, pw("TERCERA333")});
    };
    const QStringList passwords = {"PRIMERA1", "SEGUNDA22", "TERCERA333"};
    for (int step = 0; step < 3; ++step) {
        EXPECT_TRUE(set(step).done) << step;
        const int code = codeOf(vendedor);
        EXPECT_EQ(db::text(column("UsuPassword", vendedor)), core::Encripta(passwords[step], code));
        EXPECT_FALSE(everyText().contains(passwords[step]));
        EXPECT_TRUE(logsIn(code, passwords[step]));
        EXPECT_FALSE(step > 0 && logsIn(code, passwords[step - 1]));
    }
}

TEST_P(AccountsProcedures, EqualPasswordsDifferAndAFirstFormIsUpgradedAtLogin) {
    create(db(), QStringLiteral("ANA"), QStringLiteral("CLAVE1"));
    EXPECT_NE(db::text(column("UsuPassword", QStringLiteral("ANA"))),
              db::text(column("UsuPassword", QStringLiteral("ROSA"))));

    EXPECT_FALSE(logsIn(2, QStringLiteral("CLAVE9")));
    EXPECT_EQ(db::text(column("UsuPassword", QStringLiteral("ROSA"))),
              core::Encripta(QStringLiteral("CLAVE1")));
    EXPECT_EQ(passwordDeAcceso(db(), 2, TypedPassword(QStringLiteral("CLAVE1"))),
              core::Encripta(QStringLiteral("CLAVE1"), 2));
    EXPECT_EQ(db::text(column("UsuPassword", QStringLiteral("ROSA"))),
              core::Encripta(QStringLiteral("CLAVE1"), 2));
    EXPECT_TRUE(logsIn(2, QStringLiteral("CLAVE1")));
    EXPECT_EQ(KZ_VerificaLoginPassword(
                  db(), {QStringLiteral("ROSA"), core::ScramblePassword(QStringLiteral("CLAVE1"))})
                  .pMensaje,
              QStringLiteral("1"));
}

TEST_P(AccountsProcedures, CreateAttachesTheBranchAndNowAndRefusesALoginThatExists) {
    EXPECT_TRUE(create(db(), QStringLiteral("NUEVO"), QStringLiteral("A1")).done);
    EXPECT_FALSE(create(db(), QStringLiteral("ROSA"), QStringLiteral("A1")).done);
    EXPECT_FALSE(create(db(), QStringLiteral("VACIO"), QStringLiteral("  ")).done);
    EXPECT_EQ(db::integer(column("SucCod", QStringLiteral("NUEVO"))), 2);
    EXPECT_EQ(db::text(column("UsuEstado", QStringLiteral("NUEVO"))), QStringLiteral("ACTIVO"));
    EXPECT_EQ(db::dateTime(column("UsuFechaIngreso", QStringLiteral("NUEVO"))), kNow);
    EXPECT_EQ(db::dateTime(column("UsuFechaRenuncia", QStringLiteral("NUEVO"))), kNow);
    EXPECT_EQ(codeOf(QStringLiteral("NUEVO")), 5);
}

TEST_P(AccountsProcedures, TwoWorkstationsCreatingOneLoginLeaveOneAccount) {
    std::atomic<int> created = 0;
    concurrently(4, [&](int, db::Db& connection) {
        created += create(connection, QStringLiteral("GEMELO"), QStringLiteral("X1")).done;
    });
    EXPECT_EQ(created, 1);
    EXPECT_EQ(db::integer(db().scalar(
                  QStringLiteral("SELECT COUNT(*) FROM USUARIO WHERE UsuLogin = 'GEMELO'"))),
              1);
}

TEST_P(AccountsProcedures, AWrongOldPasswordOrUserOneChangesNothing) {
    const QString before = everyText();
    const auto pw = [](const char* text) { return TypedPassword(QString::fromLatin1(text)); };
    EXPECT_FALSE(KZ_CambiarPassword(db(), {QStringLiteral("LUIS"), pw("CLAVE9"), pw("N")}).done);
    EXPECT_FALSE(KZ_CambiarPassword(db(), {QStringLiteral("DUENO"), pw("JEFE1"), pw("N")}).done);
    EXPECT_FALSE(KZ_ForzarPassword(db(), {1, QStringLiteral("DUENO"), pw("N")}).done);
    EXPECT_FALSE(KZ_ForzarPassword(db(), {3, QStringLiteral("ROSA"), pw("N")}).done);
    EXPECT_FALSE(KZ_RecuperaPassword(db(), {QStringLiteral("LUIS"), pw("CLAVE9")}));
    EXPECT_TRUE(KZ_RecuperaPassword(db(), {QStringLiteral("LUIS"), pw("CLAVE2")}));
    EXPECT_EQ(everyText(), before);
}

// Deleting, deactivating and reactivating need the session user's own password, an active
// administrator as that user, and an account named by code and login that is not user 1 or
// the session user.
TEST_P(AccountsProcedures, AccountChangesNeedTheSessionAdministratorsOwnPassword) {
    struct Case {
        const char* name;
        int code;
        const char* login;
        const char* password;
        int session;
        bool done;
    };
    const Case cases[] = {
        {"another administrator's password", 3, "LUIS", "CLAVE3", 2, false},
        {"user 1", 1, "DUENO", "CLAVE1", 2, false},
        {"the session user", 2, "ROSA", "CLAVE1", 2, false},
        {"code and login of two accounts", 3, "EVA", "CLAVE1", 2, false},
        {"a cashier's session", 4, "EVA", "CLAVE2", 3, false},
        {"the own password", 3, "LUIS", "CLAVE1", 2, true},
    };
    const std::pair<MensajeOut (*)(Db&, const CambioCuentaIn&), QString> changes[] = {
        {&KZ_InactivarUsuario, QStringLiteral("INACTIVO")},
        {&KZ_ActivarUsuario, QStringLiteral("ACTIVO")},
    };
    for (const auto& [change, state] : changes) {
        for (const Case& c : cases) {
            const QString before = stateOf(c.code);
            const MensajeOut out =
                change(db(), {c.code, QString::fromLatin1(c.login),
                              TypedPassword(QString::fromLatin1(c.password)), c.session});
            EXPECT_EQ(out.done, c.done) << c.name;
            EXPECT_EQ(stateOf(c.code), c.done ? state : before) << c.name;
        }
    }
    const CambioCuentaIn byInactiveAdministrator = {3, QStringLiteral("LUIS"),
                                                    TypedPassword(QStringLiteral("CLAVE3")), 4};
    KZ_InactivarUsuario(db(),
                        {4, QStringLiteral("EVA"), TypedPassword(QStringLiteral("CLAVE1")), 2});
    EXPECT_FALSE(KZ_EliminaUsuario(db(), byInactiveAdministrator).done);
}

TEST_P(AccountsProcedures, AnAccountWithHistoryIsNotDeleted) {
    const QStringList history = {
        QStringLiteral("INSERT INTO FACTURA (FacNumero, FacFecha, UsuCod) VALUES (1, ?, 3)"),
        QStringLiteral("INSERT INTO EGRESO (EgreCod, UsuCod, EgreFecha) VALUES (1, 3, ?)"),
        QStringLiteral("INSERT INTO ASISTENCIA (AsiCod, UsuCod, AsiIngreso) VALUES (1, 3, ?)"),
    };
    const CambioCuentaIn luis = {3, QStringLiteral("LUIS"), TypedPassword(QStringLiteral("CLAVE1")),
                                 2};
    for (const QString& row : history) {
        db().exec(row, {kNow});
        const MensajeOut out = KZ_EliminaUsuario(db(), luis);
        EXPECT_FALSE(out.done) << row.toStdString();
        EXPECT_TRUE(out.pMensaje.contains(QStringLiteral("&Inactivar")));
        EXPECT_EQ(stateOf(3), QStringLiteral("ACTIVO"));
        db().exec(QStringLiteral("DELETE FROM %1").arg(row.section(QLatin1Char(' '), 2, 2)));
    }
    EXPECT_TRUE(KZ_EliminaUsuario(db(), luis).done);
    EXPECT_EQ(codeOf(QStringLiteral("LUIS")), 0);
}

// Two administrators deactivating each other at once: one of them stays active.
TEST_P(AccountsProcedures, TwoAdministratorsCannotDeactivateEachOther) {
    for (int round = 0; round < 3; ++round) {
        db().exec(QStringLiteral("UPDATE USUARIO SET UsuEstado = 'ACTIVO' WHERE UsuCod IN (2, 4)"));
        std::atomic<int> done = 0;
        concurrently(2, [&](int i, db::Db& connection) {
            const CambioCuentaIn in =
                i == 0 ? CambioCuentaIn{4, QStringLiteral("EVA"),
                                        TypedPassword(QStringLiteral("CLAVE1")), 2}
                       : CambioCuentaIn{2, QStringLiteral("ROSA"),
                                        TypedPassword(QStringLiteral("CLAVE3")), 4};
            done += KZ_InactivarUsuario(connection, in).done;
        });
        EXPECT_EQ(done, 1);
        EXPECT_NE(stateOf(2), stateOf(4));
    }
}

}  // namespace

VELCARIS_DB_TEST_SUITE(AccountsProcedures);
