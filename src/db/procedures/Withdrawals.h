#pragma once

#include "core/Money.h"
#include "db/procedures/Procedure.h"

#include <QDateTime>
#include <vector>

// Money taken out of the till, with its reason and the user who took it.
namespace db::proc {

struct IngresoEgresoIn {
    core::Money pMonto;
    QString pMotivo;  // varchar(100), line breaks included
    int UsuCod = 0;   // the session user
};
struct IngresoEgresoOut {
    QString pMensaje;  // varchar(50)
    int EgreCod = 0;
};

// Adds an EGRESO row under a new key, dated `now` (the program's clock, which follows the
// database server's).
IngresoEgresoOut KZ_IngresoEgreso(Db& db, const IngresoEgresoIn& in, const QDateTime& now);

struct EgresoRow {
    int EgreCod = 0;
    int UsuCod = 0;
    QDateTime EgreFecha;
    core::Money EgreMonto;
    QString EgreMotivo;
    QString NOMBRE_COMPLETO;  // names, ", ", surnames of the user; empty without one
};

// The withdrawals dated between the two moments (both included), newest first.
std::vector<EgresoRow> egresos(Db& db, const QDateTime& from, const QDateTime& to);
// Their total; 0 when there is none.
core::Money totalEgresos(Db& db, const QDateTime& from, const QDateTime& to);

}  // namespace db::proc
