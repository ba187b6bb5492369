#include "db/procedures/Accounts.h"

#include "core/Roles.h"

#include <QStringList>
#include <algorithm>
#include <functional>
#include <optional>

namespace db::proc {

namespace {

const QString kLock = QStringLiteral("USUARIO");
const QString kActivo = QStringLiteral("ACTIVO");
const QString kInactivo = QStringLiteral("INACTIVO");
const QString kBranchPattern = QStringLiteral("%VELCARIS%");
constexpr int kOwner = 1;

const QString kOwnerRefused = QStringLiteral("EL USUARIO 1 NO SE MODIFICA DESDE AQUI");
const QString kNoAccount = QStringLiteral("NO EXISTE EL USUARIO");
const QString kBlank = QStringLiteral("NO SE PERMITE VALORES EN BLANCO");
const QString kNotAuthorised = QStringLiteral("PASSWORD DEL ADMINISTRADOR INCORRECTO");
const QString kInSession = QStringLiteral("EL USUARIO SE ENCUENTRA EN SESION");
const QString kHasHistory =
    QStringLiteral("EL USUARIO TIENE MOVIMIENTOS, NO SE PUEDE ELIMINAR\rUSE &Inactivar");

// The tables whose rows name the account that made them.
const QStringList kHistoryTables = {QStringLiteral("FACTURA"),
                                    QStringLiteral("KARDEXINGRESO"),
                                    QStringLiteral("EGRESO"),
                                    QStringLiteral("IGV"),
                                    QStringLiteral("ASISTENCIA"),
                                    QStringLiteral("PEDIDO"),
                                    QStringLiteral("CRUCE"),
                                    QStringLiteral("INVENTARIO_DETALLE"),
                                    QStringLiteral("SEGUIMIENTO_PRECIO"),
                                    QStringLiteral("RESUMEN")};

MensajeOut refused(const QString& message, int size = 50) {
    return {param(message, size), false};
}

MensajeOut done(const QString& message, int size = 50) {
    return {param(message, size), true};
}

QVariantList datosValues(const DatosUsuario& d) {
    return {param(d.pUsuCargo, 20).trimmed(),     param(d.pUsuNombres, 20).trimmed(),
            param(d.pUsuApellidos, 30).trimmed(), param(d.pUsuDni, 8).trimmed(),
            param(d.pUsuTelefono, 20).trimmed(),  d.pUsuEdad,
            param(d.pUsuDomicilio, 40).trimmed(), d.pUsuFechNac,
            param(d.pUsuTecla, 2).trimmed()};
}

struct Account {
    int code = 0;
    QString stored;
    QString role;
    QString state;
};

std::optional<Account> accountWhere(Db& db, const QString& condition, const QVariantList& values) {
    QSqlQuery q = db.exec(
        QStringLiteral("SELECT UsuCod, UsuPassword, UsuCargo, UsuEstado FROM USUARIO WHERE ") +
            condition,
        values);
    if (!q.next())
        return std::nullopt;
    return Account{integer(q.value(0)), text(q.value(1)), text(q.value(2)), text(q.value(3))};
}

std::optional<Account> accountOfLogin(Db& db, const QString& login) {
    return accountWhere(db, QStringLiteral("UsuLogin = ?"), {login.trimmed()});
}

bool hasHistory(Db& db, int code) {
    for (const QString& table : kHistoryTables) {
        const QString sql = QStringLiteral("SELECT 1 FROM %1 WHERE UsuCod = ? LIMIT 1").arg(table);
        if (!db.scalar(sql, {code}).isNull())
            return true;
    }
    return false;
}

// Why the session user may not change the account, or empty when it may.
QString refusalOfChange(Db& db, const CambioCuentaIn& in) {
    if (in.pUsuCod == kOwner)
        return kOwnerRefused;
    if (in.pUsuCod == in.pSesionUsuCod)
        return kInSession;
    const auto target = accountWhere(db, QStringLiteral("UsuCod = ? AND UsuLogin = ?"),
                                     {in.pUsuCod, param(in.pUsuLogin, 30).trimmed()});
    if (!target)
        return kNoAccount;
    const auto admin = accountWhere(db, QStringLiteral("UsuCod = ?"), {in.pSesionUsuCod});
    if (!admin || core::roles::trimmed(admin->role) != core::roles::ADMINISTRADOR ||
        core::roles::trimmed(admin->state) != kActivo ||
        !in.sessionPassword.matches(admin->stored, admin->code))
        return kNotAuthorised;
    return {};
}

using Change = std::function<MensajeOut(Db&, int code)>;

MensajeOut changeAccount(Db& db, const CambioCuentaIn& in, const Change& change) {
    Db::Transaction tx(db, {kLock});
    const QString refusal = refusalOfChange(db, in);
    MensajeOut out = refusal.isEmpty() ? change(db, in.pUsuCod) : refused(refusal, 70);
    tx.commit();
    return out;
}

MensajeOut setState(Db& db, int code, const QString& state, const QString& message) {
    db.exec(QStringLiteral("UPDATE USUARIO SET UsuEstado = ? WHERE UsuCod = ?"), {state, code});
    return done(message, 70);
}

}  // namespace

MensajeOut KZ_IngresoLoginPassword(Db& db, const IngresoLoginPasswordIn& in, const QDateTime& now) {
    const QString login = param(in.datos.pUsuLogin, 10).trimmed();
    if (login.isEmpty() || in.password.isEmpty())
        return refused(kBlank);
    Db::Transaction tx(db, {kLock});
    if (accountOfLogin(db, login)) {
        tx.commit();
        return refused(QStringLiteral("EL LOGIN YA EXISTE: ") + login);
    }
    QVariant branch =
        db.scalar(QStringLiteral("SELECT MIN(SucCod) FROM SUCURSAL WHERE SucNombre LIKE ?"),
                  {kBranchPattern});
    if (branch.isNull())
        branch = db.scalar(QStringLiteral("SELECT MIN(SucCod) FROM SUCURSAL"));
    const int code = std::max(kOwner + 1, db.nextKey(kLock, QStringLiteral("UsuCod")));
    QVariantList values = {code, branch, login, in.password.storedForm(code)};
    values << datosValues(in.datos) << kActivo << now << now;
    db.exec(QStringLiteral("INSERT INTO USUARIO (UsuCod, SucCod, UsuLogin, UsuPassword, UsuCargo, "
                           "UsuNombres, UsuApellidos, UsuDni, UsuTelefono, UsuEdad, UsuDomicilio, "
                           "UsuFechNac, UsuTecla, UsuEstado, UsuFechaIngreso, UsuFechaRenuncia) "
                           "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            values);
    tx.commit();
    return done(QStringLiteral("USUARIO REGISTRADO: ") + login);
}

MensajeOut KZ_EditarUsuario(Db& db, const DatosUsuario& in) {
    Db::Transaction tx(db, {kLock});
    QVariantList values = datosValues(in);
    values << param(in.pUsuLogin, 10).trimmed() << kOwner;
    const int changed = db.execCount(
        QStringLiteral("UPDATE USUARIO SET UsuCargo = ?, UsuNombres = ?, UsuApellidos = ?, "
                       "UsuDni = ?, UsuTelefono = ?, UsuEdad = ?, UsuDomicilio = ?, "
                       "UsuFechNac = ?, UsuTecla = ? WHERE UsuLogin = ? AND UsuCod <> ?"),
        values);
    tx.commit();
    return changed > 0 ? done(QStringLiteral("DATOS DEL USUARIO ACTUALIZADOS"))
                       : refused(kNoAccount);
}

bool KZ_RecuperaPassword(Db& db, const RecuperaPasswordIn& in) {
    const auto account = accountOfLogin(db, param(in.pLogin, 30));
    return account && account->code != kOwner && in.current.matches(account->stored, account->code);
}

MensajeOut KZ_CambiarPassword(Db& db, const CambiarPasswordIn& in) {
    if (in.next.isEmpty())
        return refused(kBlank);
    Db::Transaction tx(db, {kLock});
    const auto account = accountOfLogin(db, param(in.pUsuLogin, 30));
    MensajeOut out;
    if (!account || account->code == kOwner) {
        out = refused(account ? kOwnerRefused : kNoAccount);
    } else if (!in.current.matches(account->stored, account->code)) {
        out = refused(QStringLiteral("PASSWORD ACTUAL INCORRECTO"));
    } else {
        db.exec(QStringLiteral("UPDATE USUARIO SET UsuPassword = ? WHERE UsuCod = ?"),
                {in.next.storedForm(account->code), account->code});
        out = done(QStringLiteral("PASSWORD CAMBIADO CORRECTAMENTE"));
    }
    tx.commit();
    return out;
}

MensajeOut KZ_ForzarPassword(Db& db, const ForzarPasswordIn& in) {
    if (in.pUsuCod == kOwner)
        return refused(kOwnerRefused);
    if (in.password.isEmpty())
        return refused(kBlank);
    Db::Transaction tx(db, {kLock});
    const int changed = db.execCount(
        QStringLiteral("UPDATE USUARIO SET UsuPassword = ? WHERE UsuCod = ? AND UsuLogin = ?"),
        {in.password.storedForm(in.pUsuCod), in.pUsuCod, param(in.pLogin, 20).trimmed()});
    tx.commit();
    return changed > 0 ? done(QStringLiteral("SE FORZO EL NUEVO PASSWORD")) : refused(kNoAccount);
}

MensajeOut KZ_EliminaUsuario(Db& db, const CambioCuentaIn& in) {
    return changeAccount(db, in, [](Db& d, int code) {
        if (hasHistory(d, code))
            return refused(kHasHistory, 70);
        d.exec(QStringLiteral("DELETE FROM USUARIO WHERE UsuCod = ?"), {code});
        return done(QStringLiteral("USUARIO ELIMINADO"), 70);
    });
}

MensajeOut KZ_InactivarUsuario(Db& db, const CambioCuentaIn& in) {
    return changeAccount(db, in, [](Db& d, int code) {
        return setState(d, code, kInactivo, QStringLiteral("USUARIO INACTIVADO"));
    });
}

MensajeOut KZ_ActivarUsuario(Db& db, const CambioCuentaIn& in) {
    return changeAccount(db, in, [](Db& d, int code) {
        return setState(d, code, kActivo, QStringLiteral("USUARIO ACTIVADO"));
    });
}

MensajeOut KZ_IngresoFotoLogin(Db& db, const IngresoFotoLoginIn& in) {
    if (in.pUsuCod == kOwner)
        return refused(kOwnerRefused);
    Db::Transaction tx(db, {kLock});
    const int changed =
        db.execCount(QStringLiteral("UPDATE USUARIO SET UsuFoto = ? WHERE UsuCod = ?"),
                     {in.pUsuFoto, in.pUsuCod});
    tx.commit();
    return changed > 0 ? done(QStringLiteral("IMAGEN ASIGNADA")) : refused(kNoAccount);
}

MensajeOut KZ_BorraFotoLogin(Db& db, int pUsuCod) {
    if (pUsuCod == kOwner)
        return refused(kOwnerRefused);
    Db::Transaction tx(db, {kLock});
    const int changed = db.execCount(
        QStringLiteral("UPDATE USUARIO SET UsuFoto = NULL WHERE UsuCod = ?"), {pUsuCod});
    tx.commit();
    return changed > 0 ? done(QStringLiteral("IMAGEN BORRADA...")) : refused(kNoAccount);
}

QString passwordDeAcceso(Db& db, int userCode, const core::TypedPassword& typed) {
    Db::Transaction tx(db);
    const auto account = accountWhere(db, QStringLiteral("UsuCod = ?"), {userCode});
    if (!account || !typed.matches(account->stored, userCode)) {
        tx.commit();
        return {};
    }
    QString stored = account->stored;
    if (!core::IsCurrentPasswordForm(stored)) {
        stored = typed.storedForm(userCode);
        const int changed = db.execCount(
            QStringLiteral(
                "UPDATE USUARIO SET UsuPassword = ? WHERE UsuCod = ? AND UsuPassword = ?"),
            {stored, userCode, account->stored});
        if (changed == 0)
            stored.clear();  // changed meanwhile by another workstation
    }
    tx.commit();
    return stored;
}

std::vector<EstadoUsuario> verUsuarios(Db& db) {
    QSqlQuery q = db.exec(QStringLiteral("SELECT UsuLogin, UsuEstado, UsuCod FROM USUARIO "
                                         "WHERE UsuCod <> ? ORDER BY UsuLogin"),
                          {kOwner});
    std::vector<EstadoUsuario> rows;
    while (q.next())
        rows.push_back({text(q.value(0)), text(q.value(1)), integer(q.value(2))});
    return rows;
}

QStringList nombresSucursales(Db& db) {
    QSqlQuery q = db.exec(QStringLiteral("SELECT SucNombre FROM SUCURSAL ORDER BY SucCod"));
    QStringList names;
    while (q.next())
        names << text(q.value(0));
    return names;
}

}  // namespace db::proc
