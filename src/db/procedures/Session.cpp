#include "db/procedures/Session.h"

#include "core/Password.h"

namespace db::proc {

namespace {

const QString kAccepted = QStringLiteral("1");
const QString kRefused = QStringLiteral("0");
const QString kActivo = QStringLiteral("ACTIVO");
const QString kOwnerBranch = QStringLiteral("VELCARIS");

// The shop's first branch, created when there is none.
int ensureBranch(Db& db) {
    db.lock(QStringLiteral("SUCURSAL"));
    const QVariant first = db.scalar(QStringLiteral("SELECT MIN(SucCod) FROM SUCURSAL"));
    if (!first.isNull())
        return integer(first);
    const int code = db.nextKey(QStringLiteral("SUCURSAL"), QStringLiteral("SucCod"));
    db.exec(QStringLiteral("INSERT INTO SUCURSAL (SucCod, SucNombre) VALUES (?, ?)"),
            {code, kOwnerBranch});
    return code;
}

}  // namespace

HorarioIngresoOut KZ_HorarioIngreso(Db& db, const HorarioIngresoIn& in, const QDateTime& now) {
    Db::Transaction tx(db);
    const int key = db.nextKey(QStringLiteral("ASISTENCIA"), QStringLiteral("AsiCod"));
    db.exec(QStringLiteral("INSERT INTO ASISTENCIA (AsiCod, UsuCod, AsiPrograma, AsiIngreso, "
                           "AsiSalida) VALUES (?, ?, ?, ?, NULL)"),
            {key, in.pCodUsuario, param(in.pPrograma, 12), now});
    tx.commit();
    return {key};
}

void KZ_HorarioSalida(Db& db, const HorarioSalidaIn& in, const QDateTime& now) {
    Db::Transaction tx(db);
    db.exec(QStringLiteral("UPDATE ASISTENCIA SET AsiSalida = ? "
                           "WHERE AsiCod = ? AND UsuCod = ? AND AsiSalida IS NULL"),
            {now, in.pMax, in.pCodUsuario});
    tx.commit();
}

VerificaLoginPasswordOut KZ_VerificaLoginPassword(Db& db, const VerificaLoginPasswordIn& in) {
    const QString login = param(in.pUsuLogin, 30).trimmed();
    // The scramble may end in a blank that belongs to it: cut, never trimmed.
    const QString scrambled = in.pUsuPassword.left(30);
    if (login.isEmpty() || scrambled.isEmpty())
        return {kRefused};
    QSqlQuery q = db.exec(QStringLiteral("SELECT UsuCod, UsuPassword FROM USUARIO "
                                         "WHERE UsuLogin = ? AND UsuEstado = ?"),
                          {login, kActivo});
    while (q.next()) {
        if (core::ScrambledPasswordMatches(text(q.value(1)), scrambled, integer(q.value(0))))
            return {kAccepted};
    }
    return {kRefused};
}

bool hayUsuarios(Db& db) {
    return !db.scalar(QStringLiteral("SELECT 1 FROM USUARIO LIMIT 1")).isNull();
}

IngresoPropietarioOut KZ_IngresoPropietario(Db& db, const IngresoPropietarioIn& in,
                                            const QDateTime& now) {
    const QString login = param(in.pUsuLogin, 10).trimmed();
    if (login.isEmpty() || in.pUsuPassword.trimmed().isEmpty())
        return {QStringLiteral("INGRESE UN LOGIN Y UN PASSWORD")};
    const QString stored = core::Encripta(in.pUsuPassword, 1);
    Db::Transaction tx(db, {QStringLiteral("USUARIO")});
    if (hayUsuarios(db)) {
        tx.commit();
        return {QStringLiteral("YA EXISTEN USUARIOS REGISTRADOS")};
    }
    const int branch = ensureBranch(db);
    db.exec(QStringLiteral("INSERT INTO USUARIO (UsuCod, SucCod, UsuLogin, UsuPassword, UsuCargo, "
                           "UsuNombres, UsuEstado, UsuFechaIngreso) "
                           "VALUES (1, ?, ?, ?, 'ADMINISTRADOR', ?, ?, ?)"),
            {branch, login, stored, param(in.pUsuNombres, 20).trimmed(), kActivo, now});
    tx.commit();
    return {kAccepted};
}

}  // namespace db::proc
