#pragma once

#include "core/Money.h"
#include "db/procedures/Procedure.h"

#include <QDateTime>

// The stock adjuster of the search screen: a direct correction of a presentation's stock,
// recorded as an adjustment of the current inventory period.
namespace db::proc {

// The stock-change lock: the PARAMETRO row of this name. Stock may not change while its value
// is kStockChangeLocked; with no row, or any other value, it may.
inline const QString kStockChangeLockKey = QStringLiteral("CAMBIO_STOCK_BLOQUEADO");
inline const QString kStockChangeLocked = QStringLiteral("1");

// Adjustments of the shop take this lock in turn.
inline const QString kAdjustmentsLock = QStringLiteral("INVENTARIO_DETALLE");

inline const QString kSobra = QStringLiteral("SOBRA");  // a surplus: units leave stock
inline const QString kFalta = QStringLiteral("FALTA");  // a shortage: units come into stock

struct EditarStockTotalIn {
    int pCodPresentacion = 0;
    int pUsuCod = 0;
    QString pInvDetaTipo;  // varchar(13): kSobra or kFalta
    int pInvDetaUni = 0;   // subtracted from stock: positive for kSobra, negative for kFalta
    core::Money pInvDetaPc;
    core::Money pInvDetaPv;
    int pSW = 0;  // 1: change the stock only, record nothing
};
enum class AjusteStock {
    Editado,
    ValorNegativo,  // the stock would fall below 0
    StockMaximo,    // the stock would pass the largest it holds
    CantidadCero,
    SinInventario,     // no inventory period to record it in
    AjusteMaximo,      // the row that takes the units would pass what it holds
    ErrorTransaccion,  // no such presentation, its stock is negative, or an unknown kind
};
struct EditarStockTotalOut {
    QString pMensaje;  // varchar(50)
    AjusteStock resultado = AjusteStock::Editado;
};

// Subtracts pInvDetaUni from the presentation's stock and, unless pSW is 1, records it in the
// current inventory period (the highest InvCod), dated `now`. While the presentation has rows
// of both kinds in that period, the newest row of the kind takes the units (and goes when they
// come to 0), refused, changing nothing, when that would take the row beyond -32768..32767;
// otherwise a new row is added under a key taken inside the transaction. The stock test and the
// change are one statement: stock never goes below 0 nor above 32767.
//
// Reads the stock-change lock in its transaction: while locked it throws db::Error, as the call
// fails against the procedure the console puts in place then, and changes nothing.
EditarStockTotalOut KZ_EditarStockTotal(Db& db, const EditarStockTotalIn& in, const QDateTime& now);

// The lock as the console sets it: one PARAMETRO row.
bool stockChangeLocked(Db& db);

}  // namespace db::proc
