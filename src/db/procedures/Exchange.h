#pragma once

#include "core/Money.h"
#include "db/procedures/Procedure.h"

#include <QDateTime>
#include <QString>
#include <vector>

// Supplier exchanges of received batches and the inventory cross-check. An exchange sends units
// of one batch back to its supplier (the stock falls) and later receives their replacements as a
// new batch (the stock rises). A cross-check row records a counted difference without touching
// the stock: the real units are the stock less CruCantidad (positive for "FALTA", negative for
// "SOBRA"). Every movement is decided under the presentation lock, against the stock and the
// exchanges as they are then, never against figures a window read earlier.
namespace db::proc {

// A batch of a presentation as the exchange window lists it.
struct LoteCanje {
    QString NOMBRE;  // who received it: "NAMES, SURNAMES"
    QDateTime KarInFechaIngreso;
    QDateTime KarInFechaCad;
    int KarInStock = 0;
    int KarInCod = 0;
    QString ProvRazSoc;
};
// The presentation's batches expiring on or after `desde`, soonest first.
std::vector<LoteCanje> lotesCanje(Db& db, int codPresentacion, const QDateTime& desde);

struct CanjeRow {
    int CanCod = 0;
    QDateTime CanFechaSalida;
    QDateTime CanFechaIngreso;  // invalid until units come back
    int CanUnidades = 0;        // units sent
    int CanUnidPen = 0;         // units received so far
    QString CanEstado;          // "PCD" while units are due, "PCR" once all are back
};
// The exchanges of one batch, oldest first.
std::vector<CanjeRow> canjesDeLote(Db& db, int karInCod);

struct DevolucionCanjeIn {
    int pCodPresentacion = 0;
    int pKarCod = 0;
    int pUnidades = 0;
};
struct CanjeOut {
    QString pMensaje;  // varchar(50)
    bool done = false;
};
// Sends units of a batch back: an exchange row "PCD" dated `now` and the stock lowered. Refuses
// fewer than 1 unit, a batch not of the presentation, more units than the stock holds and more
// than the batch has left to send (its units less what its exchanges sent), changing nothing.
CanjeOut KZ_DevolucionCanje(Db& db, const DevolucionCanjeIn& in, const QDateTime& now);

struct IngresoCanjeIn {
    int pCodPresentacion = 0;
    int pCanCod = 0;
    int pKarCod = 0;
    QString pProvNom;  // the supplier's whole legal name
    QDateTime pFechCad;
    int pUnidades = 0;
    core::Money pPC;
    QString pDocTipo;
    QString pNumDoc;
    int pUsuCod = 0;  // who receives them
};
// Receives replacement units of an exchange: a new batch received `now` (with its PRESFECHCAD
// row), the stock raised, the units added to the exchange's CanUnidPen, CanFechaIngreso set and
// the state "PCR" once every unit sent is back. Refuses fewer than 1 unit, an exchange not of
// the batch and presentation, more units than the exchange still awaits, an unknown supplier and
// a stock that would pass 32767, changing nothing.
CanjeOut KZ_IngresoCanje(Db& db, const IngresoCanjeIn& in, const QDateTime& now);

// A cross-check row of a presentation as the cross-check window lists it.
struct CruceItem {
    QString NOMBRE;  // who recorded it
    QDateTime CruFecha;
    QString CruEstado;
    int CruCantidad = 0;  // absolute
    int CruceCod = 0;
    int CodPresentacion = 0;
};
// The presentation's rows, newest first.
std::vector<CruceItem> crucesDePresentacion(Db& db, int codPresentacion);

// The sale value of every shortage and of every surplus of the shop.
struct MontosCruce {
    core::Money FALTA;
    core::Money SOBRA;
};
MontosCruce montosCruce(Db& db);

inline const QString kFalta = QStringLiteral("FALTA");
inline const QString kSobra = QStringLiteral("SOBRA");

struct IngresoCruceIn {
    int pCodPresentacion = 0;
    int pUsuario = 0;
    int pUnidades = 0;
    QString pEstado;  // kFalta or kSobra
};
// Records one difference dated `now`; the stock stays. Refuses units outside 1..32767, another
// state, an unknown presentation and a shortage above the stock.
CanjeOut KZ_IngresoCruce(Db& db, const IngresoCruceIn& in, const QDateTime& now);

struct EliminaItemCruceIn {
    int pCodCruce = 0;
    int pCodPresentacion = 0;
};
// Deletes that row of that presentation only; refuses a row that is not there.
CanjeOut KZ_EliminaItemCruce(Db& db, const EliminaItemCruceIn& in);
// Deletes every row given, in order, in one transaction: a refusal of any undoes them all and is
// returned; otherwise the last call's outcome.
CanjeOut eliminaCruces(Db& db, const std::vector<EliminaItemCruceIn>& rows);

}  // namespace db::proc
