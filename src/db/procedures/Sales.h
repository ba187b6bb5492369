#pragma once

#include "core/DayWindow.h"
#include "core/Money.h"
#include "db/procedures/Procedure.h"
#include "db/procedures/SaleReads.h"

#include <QDateTime>
#include <optional>
#include <vector>

// The seller's counter: sale numbers, sale lines and discounts, and the reads the quotation
// window shows. A sale is its number within a day: every procedure finds it by the number and
// the day of its date argument, never by the number alone.
namespace db::proc {

struct NumeroVentaIn {
    QDateTime pFechaHoy;  // the day start of the sale day
    int pUsuCod = 0;      // the seller
    QString pUsuario;     // varchar(17): the workstation tag
};
struct NumeroVentaOut {
    int pNumero = 0;
};
// Records a new sale "NO DESCARGADO" of the seller and workstation, dated `now` (kept inside
// the sale day of pFechaHoy), under the day's next number, taken under the sale lock so that
// workstations reserving at the same moment get different numbers.
NumeroVentaOut KZ_NumeroVenta(Db& db, const NumeroVentaIn& in, const QDateTime& now);

struct EditaVendedorNumeroVentaIn {
    QDateTime pFechaHoy;
    QString pUsuario;  // varchar(17)
    int pNumero = 0;
};
// Gives the sale pNumero of that day, while "NO DESCARGADO", the workstation tag pUsuario.
void Kz_EditaVendedorNumeroVenta(Db& db, const EditaVendedorNumeroVentaIn& in);

struct IngresoPresVentaIn {
    int pCodPres = 0;
    int pCan = 0;
    core::Money pImporte;  // unit price charged
    core::Money pCosto;    // unit cost
    int pNumFac = 0;
    QDateTime pFechaHoy;
};
enum class Ingreso {
    Ingresado,
    CantidadNoAdmisible,
    VentaInexistente,
    VentaDescargada,
    PresentacionInexistente,
    SinStock
};
struct IngresoPresVentaOut {
    core::Money pTOTAL;  // the sale's total after the call
    QString pMensaje;    // varchar(50)
    Ingreso resultado = Ingreso::Ingresado;
    int DetaNumero = 0;  // the new line; 0 when refused
};
// Adds a line "NO DESCARGADO" under the sale's next line number. Refuses, adding nothing, a
// quantity below 1, a sale that does not exist or is discharged, and a quantity that with the
// units of the presentation still pending on the sale exceeds its stock. The check and the
// insertion hold the discharge's lock, so a line is never added to a sale being discharged.
// With `lines`, fills them with the sale's lines of the day as saleLines reads them after the
// call (on PostgreSQL in the same round trip as the line).
IngresoPresVentaOut KZ_IngresoPresVenta(Db& db, const IngresoPresVentaIn& in,
                                        std::vector<SaleLine>* lines = nullptr);

struct IngresoDescuentoIn {
    int pFacNum = 0;
    int pCodPres = 0;
    QString pNombreDescuento;  // varchar(20): who granted it
    int pCanDes = 0;
    core::Money pImpDes;  // the discounted unit price
    QDateTime pFechaHoy;
};
struct IngresoDescuentoOut {
    QString pMensaje;  // varchar(50)
};
// Records the discount, dated `now`, for the presentation's last pending line of the sale.
IngresoDescuentoOut KZ_IngresoDescuento(Db& db, const IngresoDescuentoIn& in, const QDateTime& now);

struct EliminarItemIn {
    int pFacNum = 0;
    int pCodPres = 0;
    int pDetaNumero = 0;
    QDateTime pFechaHoy;  // the sale's day: numbers repeat from one day to the next
};
struct EliminarItemOut {
    QString pMensaje;  // varchar(50)
    bool eliminado = false;
};
// Removes exactly that line of that sale and day, with its discounts, while "NO DESCARGADO".
EliminarItemOut KZ_EliminarItem(Db& db, const EliminarItemIn& in);

struct BorraCotizacionIn {
    QDateTime pFechaHoy;
    int pFacNum = 0;
};
struct BorraCotizacionOut {
    QString pMensaje;  // varchar(50): what was removed
};
// Removes the sale's lines not yet discharged, with their discounts. The header stays, so its
// number is never handed out again that day.
BorraCotizacionOut KZ_BorraCotizacion(Db& db, const BorraCotizacionIn& in);

struct BorrandoProductoIn {
    int pProdLabCod = 0;
};
struct BorrandoProductoOut {
    QString pMensaje;  // varchar(50)
};
// Removes the product-brand link; refuses while presentations hang from it, since they carry
// stock and sales.
BorrandoProductoOut KZ_BorrandoProducto(Db& db, const BorrandoProductoIn& in);

// A presentation as a sale line takes it, read afresh.
struct PresentacionVenta {
    int CodPresentacion = 0;
    QString PresTipo;
    core::Money PresPrecioCosto;
    core::Money PresVenta;
    int PresStockTotal = 0;
};
std::optional<PresentacionVenta> presentacionVenta(Db& db, int codPres);

// A row of the quotation window's line list: a line of the sale as every window reads it
// (saleLines).
using LineaVenta = SaleLine;
// The state of sale facNum within the window; empty when there is none.
QString estadoVenta(Db& db, int facNum, const core::DateTimeRange& window);
// Units of the presentation on the sale's lines within the window (every state).
int unidadesEnVenta(Db& db, int facNum, const core::DateTimeRange& window, int codPres);
// Sum of quantity x price of the sale's lines within the window.
core::Money totalVenta(Db& db, int facNum, const core::DateTimeRange& window);

}  // namespace db::proc
