#pragma once

#include "db/procedures/Procedure.h"

#include <QDateTime>

namespace db::proc {

struct HorarioIngresoIn {
    int pCodUsuario = 0;
    QString pPrograma;  // varchar(12)
};
struct HorarioIngresoOut {
    int pMax = 0;  // the ASISTENCIA entry just opened
};
// Opens an attendance entry for the user and program at `now` and returns its key.
HorarioIngresoOut KZ_HorarioIngreso(Db& db, const HorarioIngresoIn& in, const QDateTime& now);

struct HorarioSalidaIn {
    int pMax = 0;
    int pCodUsuario = 0;
};
// Closes the attendance entry pMax at `now`, only while it is open and belongs to the user.
void KZ_HorarioSalida(Db& db, const HorarioSalidaIn& in, const QDateTime& now);

struct VerificaLoginPasswordIn {
    QString pUsuLogin;     // varchar(30)
    QString pUsuPassword;  // varchar(30), as core::ScramblePassword gives it
};
struct VerificaLoginPasswordOut {
    QString pMensaje;  // varchar(50): "1" accepted, "0" refused
};
// Accepts an active account whose trimmed login matches and whose stored password was made from
// the text the scrambled password comes from.
VerificaLoginPasswordOut KZ_VerificaLoginPassword(Db& db, const VerificaLoginPasswordIn& in);

// True when USUARIO holds any account.
bool hayUsuarios(Db& db);

struct IngresoPropietarioIn {
    QString pUsuLogin;     // varchar(10)
    QString pUsuPassword;  // the plain password: stored only through core::Encripta
    QString pUsuNombres;   // varchar(20)
};
struct IngresoPropietarioOut {
    QString pMensaje;  // varchar(50): "1" created, otherwise why not
};
// The first start of a shop: creates user 1, "ADMINISTRADOR", "ACTIVO", with the login and
// password, and a branch when there is none. Refuses when any user exists.
IngresoPropietarioOut KZ_IngresoPropietario(Db& db, const IngresoPropietarioIn& in,
                                            const QDateTime& now);

}  // namespace db::proc
