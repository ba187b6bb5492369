#pragma once

#include "core/DayWindow.h"
#include "db/procedures/Procedure.h"
#include "db/procedures/SaleReads.h"

#include <QByteArray>
#include <QDateTime>
#include <functional>
#include <optional>
#include <vector>

// The cashier's checkout: the queries of the checkout screen, the discharge of a sale line and
// of a whole sale, and the removal of a pending line.
namespace db::proc {

// Line and sale states.
inline const QString kNoDescargado = QStringLiteral("NO DESCARGADO");
inline const QString kDescargado = QStringLiteral("DESCARGADO");
inline const QString kDevuelto = QStringLiteral("DEVUELTO");
inline const QString kSinStock = QStringLiteral("SIN STOCK");

// Receipt types (FacTipoSunat).
inline const QString kNotaDeVenta = QStringLiteral("NOTA DE VENTA");
inline const QString kBoletaDeVenta = QStringLiteral("BOLETA DE VENTA");
inline const QString kFactura = QStringLiteral("FACTURA");

// One row of the pending-sale list: a sale of the day with lines still "NO DESCARGADO", and the
// total of those lines.
struct PendingSale {
    int FacNumero = 0;
    core::Money TOTAL;
};
// Newest number first.
std::vector<PendingSale> pendingSales(Db& db, const core::DateTimeRange& day);

// The amount to pay: the sale's lines of the day that are neither "DEVUELTO" nor "SIN STOCK";
// none when there is no such line.
std::optional<core::Money> saleTotal(Db& db, int facNumero, const core::DateTimeRange& day);

// The photo of the active user whose key (UsuTecla) is `key` ("F4".."F9"); empty without one.
QByteArray sellerPhoto(Db& db, const QString& key);

// The user key a workstation tag names: its last character "4".."9" gives "F4".."F9"; any
// other ending names none (empty).
QString sellerKey(const QString& facHostName);

// The tag a discharge records: the cashier's code, with a "0" in front when it is 10 or less,
// followed by the seller's trimmed workstation tag (3 and "CAJA1-4" give "03CAJA1-4").
QString cashierTag(int cashierCode, const QString& facHostName);

// The next receipt number of a type: one running sequence per type over all days, starting
// at 1. Must be called inside the transaction that writes the number: it takes the lock that
// keeps two workstations from getting the same number.
int nextReceiptNumber(Db& db, const QString& facTipoSunat);

// Taken by whatever changes a sale's lines, the discharge included, so a line is never added to,
// changed in or removed from a sale while another connection changes or discharges it.
inline const QString kSaleLinesLock = QStringLiteral("DESCARGO");

// A sale a discharge left "SIN STOCK" reads "NO DESCARGADO" again once a line is added to it;
// when removing pending lines leaves it with lines and none but "SIN STOCK" ones, it reads
// "SIN STOCK" again. Call it under the sale lines' lock after removing lines.
void markSaleLeftWithoutStock(Db& db, int facNumero, const core::DateTimeRange& day);

// True when a discharged factura carries the receipt number.
bool facturaNumbered(Db& db, int facNumSunat);

struct DecargarPresStockIn {
    int pUsuCod = 0;
    QDateTime pFechaHoy;  // the start of the sale-day window
    int pFacNum = 0;
    std::optional<int> pFacNumSunat;  // none for a sale note
    int pCodPres = 0;
    int pDetaNumero = 0;
    QString pFacHostName;                  // varchar(17): cashierTag()
    std::optional<QString> pFacTipoSunat;  // varchar(15); none for a sale note
};
struct DecargarPresStockOut {
    QString pMensaje;      // varchar(60)
    QString Estado;        // the line's state afterwards; empty when there is no such line
    bool changed = false;  // the line was "NO DESCARGADO" and this call settled it
};
// Settles one line of the day's sale, only while it is "NO DESCARGADO": takes its units from the
// presentation's stock and marks it "DESCARGADO", or marks it "SIN STOCK" when the stock no longer
// covers them (stock never goes below 0). A discharged line gives the sale its state
// "DESCARGADO", its receipt type ("NOTA DE VENTA" when none is passed), receipt number and
// series (the current IGV row's), the daily-summary flag for a boleta, and the cashier's tag in
// FacCajero; FacHostName keeps the seller's tag.
DecargarPresStockOut KZ_DecargarPresStock(Db& db, const DecargarPresStockIn& in);

struct EliminarItemDescargarIn {
    int pFacNum = 0;
    int pDetaNumero = 0;
    int pCodPres = 0;
    QDateTime pFechaHoy;  // the start of the sale-day window: sale numbers repeat every day
};
struct EliminarItemDescargarOut {
    QString pMensaje;  // varchar(25)
};
// Removes a line of the day's sale (and its discounts) while it is still "NO DESCARGADO".
EliminarItemDescargarOut KZ_EliminarItemDescargar(Db& db, const EliminarItemDescargarIn& in);

// The discharge of a whole sale: every line, whatever its state, in line order.
struct DischargeOrder {
    int facNumero = 0;
    core::DateTimeRange day;      // the sale-day window
    int cashierCode = 0;          // the session user
    std::optional<QString> type;  // kBoletaDeVenta or kFactura; none for a sale note
    // The moment of the discharge, stored (FacDescargo) when a line is sold: the date and time its
    // receipt prints, also when it is printed again. None keeps the moment stored.
    QDateTime at;
};

// What the discharge hands its observers while it runs, inside its transaction.
struct DischargeStart {
    const DischargeOrder& order;
    int receiptNumber = 0;  // the number a boleta or factura gets; 0 for a sale note
    const std::vector<SaleLine>& lines;
    const std::optional<Igv>& igv;  // the IGV row in force, whose series the sale stores
};
// The lines are settled together after `begin`; then each line, in line order, is passed to
// `beforeLine` and, with what KZ_DecargarPresStock would have answered for it, to `afterLine`.
struct DischargeHooks {
    std::function<void(const DischargeStart&)> begin;  // before the first line
    std::function<void(const SaleLine&)> beforeLine;
    std::function<void(const SaleLine&, const DecargarPresStockOut&)> afterLine;
    std::function<void()> beforeCommit;  // after the last line
};

struct DischargeResult {
    int receiptNumber = 0;  // the number the sale carries for its type; 0 for none
    QString series;         // the series stored with that number
    int discharged = 0;     // lines this discharge marked "DESCARGADO"
    int withoutStock = 0;   // lines this discharge marked "SIN STOCK"
};
// The number and every line in one transaction: all of it happens or none of it does. Discharges
// on every workstation run one at a time. A sale that already carries a boleta number keeps it
// for a boleta; a factura discharged again gets the next number (the sale then carries that one).
// The pending lines are judged in line order against the stock they need, each against what the
// lines before it left, as KZ_DecargarPresStock line by line would judge them, and written in a
// few statements however many there are. A hook that throws abandons the discharge.
DischargeResult DischargeSale(Db& db, const DischargeOrder& order,
                              const DischargeHooks& hooks = {});

}  // namespace db::proc
