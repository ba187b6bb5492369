#pragma once

#include "core/Money.h"
#include "db/procedures/Procedure.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// Stock intakes. An intake of the intake window has a number of its own (nuevoIngresoStock) and
// goes through three steps on its staged batches (KARDEXINGRESO_TEMP): staged, applied (the
// batches recorded, the stock raised, the new cost set), confirmed (the new prices stored, the
// staging rows gone); undoing it takes back exactly what its apply did. The expiry-date window
// records one batch in one step. Stock always moves relatively, under the presentation lock, so
// a sale discharged meanwhile at another workstation is never undone.
namespace db::proc {

// Intakes and edits of a presentation take this lock in turn.
inline const QString kPresentacionLock = QStringLiteral("PRESENTACION");

inline constexpr int kStockMax = 32767;  // PresStockTotal is a smallint
inline constexpr int kEstacionSize = 50;
inline constexpr int kDocSize = 20;         // KarInDocTipo, KarInNumDoc
inline constexpr int kProvNombreSize = 50;  // ProvRazSoc

// The presentation as an intake sees it, read by its code.
struct PresentacionStock {
    int CodPresentacion = 0;
    QString PresTipo;
    core::Money PresPrecioCosto;
    core::Money PresVenta;
    int PresStockTotal = 0;
};
std::optional<PresentacionStock> presentacionStock(Db& db, int codPresentacion);
// Every supplier's legal name, in the table's order.
QStringList proveedorNombres(Db& db);

// The next intake number, unique across workstations: the counter row in PARAMETRO, raised
// under its lock.
int nuevoIngresoStock(Db& db);

struct IngresoPresFechCadMasStockIn {
    int pIngreso = 0;  // the intake number
    QString pEstacion;
    int pCodPresentacion = 0;
    QDateTime pFechCad;
    int pStock = 0;
    QDateTime pFechIngre;
    int pCodTrab = 0;
    core::Money pPC;
    QString pProvNom;
    QString pPresFechNumDoc;
    QString pDocTipo;
};
struct IngresoPresFechCadMasStockOut {
    QString pMensaje;  // varchar(50)
    bool staged = false;
};
// Stages one batch of the intake. Refuses an unknown supplier (found by its trimmed name),
// units outside 1..32767 and an intake already applied, staging nothing.
IngresoPresFechCadMasStockOut KZT_IngresoPresFechCadMasStock(
    Db& db, const IngresoPresFechCadMasStockIn& in);

// A point inside an intake's transaction, for tests: its checks made, its stock not yet raised.
// A throw abandons the intake.
struct IntakeHooks {
    std::function<void()> beforeRaise;
};

struct IngresoMasStockIn {
    int pIngreso = 0;
    int pCod = 0;
    core::Money pNewPc;
};
struct IngresoMasStockOut {
    QString pCosto;    // varchar(10): the proposed cost, empty when refused
    QString pMensaje;  // varchar(50)
    bool applied = false;
};
// Applies the staged batches: each becomes a KARDEXINGRESO row under a key of its own with its
// PRESFECHCAD row, the stock gains their units and the cost becomes pNewPc. The proposed cost is
// the average of the units in stock at the old cost and the new units at the new cost (the new
// cost when there was no stock). Refuses an intake with nothing staged, one already applied, an
// unknown presentation and a stock that would pass 32767, changing nothing.
IngresoMasStockOut KZ_IngresoMasStock(Db& db, const IngresoMasStockIn& in,
                                      const IntakeHooks& hooks = {});

struct IngresoNPCNPGNPVIn {
    int pIngreso = 0;
    int pCodProd = 0;
    core::Money pPresCosto;
    core::Money pPresVenta;
};
struct IngresoNPCNPGNPVOut {
    QString pMensaje;  // varchar(50)
    bool confirmed = false;
};
// Confirms an applied intake: stores the new cost and sale price and lets go of its staging
// rows. Refuses an intake not applied and a sale price not above the cost.
IngresoNPCNPGNPVOut KZ_IngresoNPCNPGNPV(Db& db, const IngresoNPCNPGNPVIn& in);

struct BorraTempPresIn {
    int pIngreso = 0;
    int pCodProd = 0;
};
struct BorraTempPresOut {
    QString pMensaje;  // varchar(50); empty when there was nothing to undo
    bool undone = true;
};
// Undoes an unconfirmed intake. Staged only: its staging rows go. Applied: its batches and their
// history rows go, the applied units come off the stock and the cost goes back to the one the
// apply replaced where it still is the applied one (a price edited meanwhile stays). Refused,
// changing nothing, when fewer units remain than the intake added.
BorraTempPresOut KZ_BorraTempPres(Db& db, const BorraTempPresIn& in);

// Undoes the intakes a workstation left unconfirmed when its program ended: a staged one drops
// its rows, an applied one is taken back as KZ_BorraTempPres does. One whose units were sold
// meanwhile stays applied, its rows dropped. Returns how many stayed applied.
int borraIngresosDeEstacion(Db& db, const QString& estacion);

struct KardexIngresoIn {
    int pCodPresentacion = 0;
    QDateTime pFechCad;
    int pStock = 0;
    QDateTime pFechIngre;
    int pCodTrab = 0;
    QString pProvNom;
    QString pPresFechNumDoc;
    QString pDocTipo;
};
struct KardexIngresoOut {
    QString pMensaje;  // varchar(50)
    int KarInCod = 0;  // 0 when refused
};
// One batch at the presentation's cost in one step: its KARDEXINGRESO and PRESFECHCAD rows and
// the stock raised. Refuses what the apply refuses and an unknown supplier.
KardexIngresoOut KZ_KardexIngreso(Db& db, const KardexIngresoIn& in, const IntakeHooks& hooks = {});

}  // namespace db::proc
