#pragma once

#include "core/Password.h"
#include "db/procedures/Procedure.h"

#include <QByteArray>
#include <QDateTime>
#include <vector>

// User accounts: creating, editing, passwords, states and photos. Every procedure refuses user 1,
// takes the USUARIO lock and stores passwords only in their one-way form.
namespace db::proc {

// An account's personal data, as the create and edit procedures receive it.
struct DatosUsuario {
    QString pUsuLogin;      // varchar(10)
    QString pUsuCargo;      // varchar(20)
    QString pUsuNombres;    // varchar(20)
    QString pUsuApellidos;  // varchar(30)
    QString pUsuDni;        // varchar(8)
    QString pUsuTelefono;   // varchar(20)
    int pUsuEdad = 0;
    QString pUsuDomicilio;  // varchar(40)
    QDateTime pUsuFechNac;
    QString pUsuTecla;  // varchar(2)
};

struct MensajeOut {
    QString pMensaje;
    bool done = false;  // the change was made
};

struct IngresoLoginPasswordIn {
    DatosUsuario datos;
    core::TypedPassword password;
};
// A new "ACTIVO" account with the next code, attached to the branch whose name holds
// "VELCARIS" (else the lowest one), joining and leaving dates both `now`. A login that exists is
// refused.
MensajeOut KZ_IngresoLoginPassword(Db& db, const IngresoLoginPasswordIn& in, const QDateTime& now);

// The personal data of the account of pUsuLogin; password, photo, state and branch untouched.
MensajeOut KZ_EditarUsuario(Db& db, const DatosUsuario& in);

struct RecuperaPasswordIn {
    QString pLogin;  // varchar(30)
    core::TypedPassword current;
};
// True when the typed password is the one the login's account stores.
bool KZ_RecuperaPassword(Db& db, const RecuperaPasswordIn& in);

struct CambiarPasswordIn {
    QString pUsuLogin;  // varchar(30)
    core::TypedPassword current;
    core::TypedPassword next;
};
// Replaces the login's password when `current` is the one it stores.
MensajeOut KZ_CambiarPassword(Db& db, const CambiarPasswordIn& in);

struct ForzarPasswordIn {
    int pUsuCod = 0;
    QString pLogin;  // varchar(20)
    core::TypedPassword password;
};
// Sets the password of the account that code and login name, without the old one.
MensajeOut KZ_ForzarPassword(Db& db, const ForzarPasswordIn& in);

// What deleting, deactivating and reactivating an account receive: the account (code and
// login must name one), the password typed for the session user, and that user.
struct CambioCuentaIn {
    int pUsuCod = 0;
    QString pUsuLogin;  // varchar(30)
    core::TypedPassword sessionPassword;
    int pSesionUsuCod = 0;
};
// Each acts only when the session user is an active administrator whose own password was typed,
// and never on that user. An account with history (sales, intakes, withdrawals, orders, tax
// rates, attendance, ...) is not deleted: deactivating it keeps its rows listed.
MensajeOut KZ_EliminaUsuario(Db& db, const CambioCuentaIn& in);
MensajeOut KZ_InactivarUsuario(Db& db, const CambioCuentaIn& in);
MensajeOut KZ_ActivarUsuario(Db& db, const CambioCuentaIn& in);

struct IngresoFotoLoginIn {
    int pUsuCod = 0;
    QByteArray pUsuFoto;
};
MensajeOut KZ_IngresoFotoLogin(Db& db, const IngresoFotoLoginIn& in);
MensajeOut KZ_BorraFotoLogin(Db& db, int pUsuCod);

// The login's check of a code and typed password: the account's stored form when the password
// is its own (a first-form password replaced by the current form first), empty otherwise.
QString passwordDeAcceso(Db& db, int userCode, const core::TypedPassword& typed);

// QVerUsuarios: every account but user 1, by login.
struct EstadoUsuario {
    QString UsuLogin;
    QString UsuEstado;
    int UsuCod = 0;
};
std::vector<EstadoUsuario> verUsuarios(Db& db);
// ADOQSucursales' names, in code order.
QStringList nombresSucursales(Db& db);

}  // namespace db::proc
