#pragma once

#include "core/Money.h"
#include "db/procedures/Procedure.h"

#include <QDateTime>
#include <functional>
#include <vector>

// The search screen's context commands on a product-brand link or a presentation: the link's
// state, the removal of a presentation and its recent sales.
namespace db::proc {

// QProdLabEstado: the link's state ("ACTIVO", "INACTIVO", ...); empty when there is none.
QString prodLabEstado(Db& db, int prodLabCod);

struct EditarEstadoProductoLaboratorioIn {
    int pProdLabCod = 0;
};
struct EditarEstadoProductoLaboratorioOut {
    QString pMensaje;  // varchar(50): the new state, or that the link is gone
};
// Switches the link in one statement: "ACTIVO" becomes "INACTIVO", any other state "ACTIVO".
EditarEstadoProductoLaboratorioOut KZ_EditarEstadoProductoLaboratorio(
    Db& db, const EditarEstadoProductoLaboratorioIn& in);

struct BorraPresentacionIn {
    int pCodPres = 0;
};
struct BorraPresentacionOut {
    QString pMensaje4;  // varchar(100)
    bool borrada = false;
};
// Removes the presentation with its price log and stock-entry history. Refuses, changing
// nothing, while it has stock or a sale line, an intake, an exchange, a cross-check or an
// adjustment refers to it: those would lose the presentation they count (one is retired as
// "DISCONTINUO" instead). Holds the sale lines' lock, so no sale takes it meanwhile.
// A point inside the deletion's transaction, for tests: its checks made, nothing deleted yet.
struct BorraPresentacionHooks {
    std::function<void()> beforeDelete;
};
BorraPresentacionOut KZ_BorraPresentacion(Db& db, const BorraPresentacionIn& in,
                                          const BorraPresentacionHooks& hooks = {});

// QSeguimiento: a discharged line of the presentation that the customer kept units of.
struct SeguimientoRow {
    int Cantidad = 0;
    core::Money Costo;
    core::Money Importe;
    QString FacHostName;
    QDateTime FacFecha;
    int FacNumero = 0;
};
inline constexpr int kSeguimientoLines = 15;
// The presentation's newest discharged lines, at most kSeguimientoLines, newest sale first
// (a sale's lines in line order).
std::vector<SeguimientoRow> seguimiento(Db& db, int codPresentacion);

}  // namespace db::proc
