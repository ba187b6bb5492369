#include "support/DbTest.h"
#include "support/Seed.h"

#include "core/Password.h"
#include "db/procedures/Session.h"

#include <QSet>
#include <mutex>

using namespace db::proc;
using db::Db;
using testsupport::seedUser;

namespace {

const QDateTime kMorning(QDate(2026, 3, 2), QTime(8, 30, 0));
const QDateTime kEvening(QDate(2026, 3, 2), QTime(19, 45, 10));

class SessionProcedures : public testsupport::DbTest {
protected:
    struct Entry {
        int UsuCod = 0;
        QString AsiPrograma;
        QDateTime AsiIngreso;
        QDateTime AsiSalida;
    };
    Entry entry(int key) {
        QSqlQuery q = db().exec(QStringLiteral("SELECT UsuCod, AsiPrograma, AsiIngreso, AsiSalida "
                                               "FROM ASISTENCIA WHERE AsiCod = ?"),
                                {key});
        EXPECT_TRUE(q.next()) << "no entry " << key;
        return {db::integer(q.value(0)), db::text(q.value(1)), db::dateTime(q.value(2)),
                db::dateTime(q.value(3))};
    }
    QString verify(const QString& login, const QString& password) {
        return KZ_VerificaLoginPassword(db(), {login, core::ScramblePassword(password)}).pMensaje;
    }
    int count(const char* table) {
        return db::integer(db().scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)));
    }
};

TEST_P(SessionProcedures, EntryRecordsUserProgramAndTimeStillOpen) {
    const int first = KZ_HorarioIngreso(db(), {7, QStringLiteral("VENTAS")}, kMorning).pMax;
    const int second =
        KZ_HorarioIngreso(db(), {8, QStringLiteral("VENTAS Y CAJA CENTRAL")}, kEvening).pMax;

    EXPECT_NE(first, second);
    const Entry e = entry(first);
    EXPECT_EQ(e.UsuCod, 7);
    EXPECT_EQ(e.AsiPrograma, QStringLiteral("VENTAS"));
    EXPECT_EQ(e.AsiIngreso, kMorning);
    EXPECT_FALSE(e.AsiSalida.isValid());
    EXPECT_EQ(entry(second).AsiPrograma, QStringLiteral("VENTAS Y CAJ"));  // varchar(12)
}

TEST_P(SessionProcedures, ExitClosesOnlyTheUsersOpenEntry) {
    const int own = KZ_HorarioIngreso(db(), {7, QStringLiteral("VENTAS")}, kMorning).pMax;
    const int other = KZ_HorarioIngreso(db(), {8, QStringLiteral("VENTAS")}, kMorning).pMax;

    KZ_HorarioSalida(db(), {other, 7}, kEvening);  // not user 7's entry
    EXPECT_FALSE(entry(other).AsiSalida.isValid());

    KZ_HorarioSalida(db(), {own, 7}, kEvening);
    EXPECT_EQ(entry(own).AsiSalida, kEvening);

    KZ_HorarioSalida(db(), {own, 7}, kEvening.addSecs(3600));  // already closed
    EXPECT_EQ(entry(own).AsiSalida, kEvening);
    EXPECT_EQ(entry(own).AsiIngreso, kMorning);
}

TEST_P(SessionProcedures, WorkstationsEnteringAtOnceGetDistinctKeys) {
    constexpr int kStations = 4;
    constexpr int kEach = 5;
    std::mutex mutex;
    QSet<int> keys;
    concurrently(kStations, [&](int station, Db& connection) {
        for (int i = 0; i < kEach; ++i) {
            const int key =
                KZ_HorarioIngreso(connection, {station + 1, QStringLiteral("VENTAS")}, kMorning)
                    .pMax;
            const std::lock_guard<std::mutex> lock(mutex);
            keys.insert(key);
        }
    });
    EXPECT_EQ(keys.size(), kStations * kEach);
    EXPECT_EQ(count("ASISTENCIA"), kStations * kEach);
}

TEST_P(SessionProcedures, VerificationAcceptsOnlyAnActiveAccountWithItsPassword) {
    seedUser(db(), 2, QStringLiteral("ROSA"), QStringLiteral("CLAVE1"),
             QStringLiteral("ADMINISTRADOR"));
    seedUser(db(), 3, QStringLiteral("LUIS"), QStringLiteral("CLAVE2"), QStringLiteral("CAJERO"),
             QStringLiteral("INACTIVO"));
    seedUser(db(), 4, QStringLiteral("EVA"), QStringLiteral("AB}"), QStringLiteral("TECNICA"));

    struct Case {
        const char* login;
        const char* password;
        const char* expected;
    };
    const Case cases[] = {
        {"ROSA", "CLAVE1", "1"},   {"  ROSA ", "CLAVE1", "1"},
        {"ROSA", " CLAVE1 ", "1"},  // blanks around a password are not part of it
        {"ROSA", "CLAVE2", "0"},   {"ROSA", "clave1", "0"},
        {"ROSA", "", "0"},         {"LUIS", "CLAVE2", "0"},  // inactive
        {"NADIE", "CLAVE1", "0"},  {"", "CLAVE1", "0"},
        {"EVA", "AB}", "1"},  // its scramble begins with a control character
    };
    for (const Case& c : cases) {
        EXPECT_EQ(verify(QString::fromLatin1(c.login), QString::fromLatin1(c.password)),
                  QString::fromLatin1(c.expected))
            << c.login << " / " << c.password;
    }
}

TEST_P(SessionProcedures, VerificationRefusesThePasswordSentUnscrambled) {
    seedUser(db(), 2, QStringLiteral("ROSA"), QStringLiteral("CLAVE1"),
             QStringLiteral("ADMINISTRADOR"));
    EXPECT_EQ(
        KZ_VerificaLoginPassword(db(), {QStringLiteral("ROSA"), QStringLiteral("CLAVE1")}).pMensaje,
        QStringLiteral("0"));
}

TEST_P(SessionProcedures, OwnerIsCreatedOnceAsAdministratorWithABranch) {
    const IngresoPropietarioOut out = KZ_IngresoPropietario(
        db(), {QStringLiteral("DUENO"), QStringLiteral("SECRETO9"), {}}, kMorning);
    EXPECT_EQ(out.pMensaje, QStringLiteral("1"));

    QSqlQuery q = db().exec(
        QStringLiteral("SELECT UsuCod, UsuLogin, UsuCargo, UsuEstado, SucCod, UsuFechaIngreso "
                       "FROM USUARIO"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(db::integer(q.value(0)), 1);
    EXPECT_EQ(db::text(q.value(1)), QStringLiteral("DUENO"));
    EXPECT_EQ(db::text(q.value(2)), QStringLiteral("ADMINISTRADOR"));
    EXPECT_EQ(db::text(q.value(3)), QStringLiteral("ACTIVO"));
    EXPECT_EQ(db::integer(q.value(4)),
              db::integer(db().scalar(QStringLiteral("SELECT SucCod FROM SUCURSAL"))));
    EXPECT_EQ(db::dateTime(q.value(5)), kMorning);
    EXPECT_FALSE(q.next());
    EXPECT_EQ(count("SUCURSAL"), 1);
    EXPECT_EQ(verify(QStringLiteral("DUENO"), QStringLiteral("SECRETO9")), QStringLiteral("1"));

    const IngresoPropietarioOut again =
        KZ_IngresoPropietario(db(), {QStringLiteral("OTRO"), QStringLiteral("X"), {}}, kEvening);
    EXPECT_NE(again.pMensaje, QStringLiteral("1"));
    EXPECT_FALSE(again.pMensaje.isEmpty());
    EXPECT_EQ(count("USUARIO"), 1);
    EXPECT_EQ(count("SUCURSAL"), 1);
}

TEST_P(SessionProcedures, OwnerJoinsTheExistingBranch) {
    db().exec(QStringLiteral("INSERT INTO SUCURSAL (SucCod, SucNombre) VALUES (7, 'CENTRO')"));
    KZ_IngresoPropietario(db(), {QStringLiteral("DUENO"), QStringLiteral("SECRETO9"), {}},
                          kMorning);
    EXPECT_EQ(db::integer(db().scalar(QStringLiteral("SELECT SucCod FROM USUARIO"))), 7);
    EXPECT_EQ(count("SUCURSAL"), 1);
}

TEST_P(SessionProcedures, OwnerNeedsLoginAndPassword) {
    for (const auto& [login, password] : {std::pair{"", "SECRETO9"}, std::pair{"DUENO", "   "}}) {
        const IngresoPropietarioOut out = KZ_IngresoPropietario(
            db(), {QString::fromLatin1(login), QString::fromLatin1(password), {}}, kMorning);
        EXPECT_NE(out.pMensaje, QStringLiteral("1")) << login << "/" << password;
    }
    EXPECT_EQ(count("USUARIO"), 0);
    EXPECT_EQ(count("SUCURSAL"), 0);
}

TEST_P(SessionProcedures, StoredPasswordNeitherHoldsNorGivesBackThePassword) {
    const QString password = QStringLiteral("FARMA2026");
    KZ_IngresoPropietario(db(), {QStringLiteral("DUENO"), password, {}}, kMorning);
    const QString stored = db::text(db().scalar(QStringLiteral("SELECT UsuPassword FROM USUARIO")));

    EXPECT_EQ(stored, core::Encripta(password, 1));
    EXPECT_FALSE(stored.contains(password, Qt::CaseInsensitive));
    EXPECT_FALSE(stored.contains(core::ScramblePassword(password)));
    const QByteArray decoded =
        QByteArray::fromBase64(stored.section(QLatin1Char('$'), -1).toLatin1());
    EXPECT_FALSE(decoded.contains(password.toLatin1()));
    EXPECT_FALSE(core::UnscramblePassword(stored).contains(password));
    EXPECT_TRUE(core::Desencripta(stored, QStringLiteral("FARMA2025")).isEmpty());
    // The same length whatever the password: nothing of it shows.
    EXPECT_EQ(core::Encripta(QStringLiteral("A"), 1).size(), stored.size());
}

}  // namespace

VELCARIS_DB_TEST_SUITE(SessionProcedures);
