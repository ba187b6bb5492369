#pragma once

#include "core/Money.h"
#include "db/Reader.h"
#include "db/procedures/Procedure.h"

#include "core/DayWindow.h"

#include <QDateTime>
#include <vector>

// Returns: units of a discharged sale line taken back into stock.
namespace db::proc {

struct IngresoDevolucionIn {
    int pCodPres = 0;
    int pDetaNumero = 0;
    core::Money pImporte;  // the line's unit price as listed; the stored line is what counts
    core::Money pCosto;    // the line's unit cost as listed; likewise
    int pFacNum = 0;
    int pCanDevueltas = 0;  // units to return
    QString pCajero;        // varchar(20): the session login
    QDateTime pFacFecha;    // the sale's day (its time of day is not used)
};
enum class Devolucion {
    Devuelto,
    CantidadNoAdmisible,
    ItemNoEncontrado,
    ItemNoDescargado,  // the line is "NO DESCARGADO", "SIN STOCK" or already "DEVUELTO"
    SobrepasaLoVendido
};
struct IngresoDevolucionOut {
    QString pMensaje;  // varchar(100)
    Devolucion resultado = Devolucion::Devuelto;
    int restantes = 0;  // units of the line the customer still keeps; 0 when refused
};

// Takes units of a discharged line of sale pFacNum of that day back: records a DEVOLUCION row
// (the line's whole key, the units, `now` and the cashier) and adds the units to the
// presentation's stock.
//
// A line's Cantidad is always the units the customer keeps. A return lowers it by the units
// returned and the line stays "DESCARGADO" while units remain; the return of its last unit
// makes it "DEVUELTO" with Cantidad 0. So the units a line discharged are its Cantidad plus the
// units of its DEVOLUCION rows, stock moves by exactly the units returned, the sale's total
// counts what the customer kept, and the returns listing offers what can still come back.
//
// Refuses, changing nothing, fewer than 1 unit, a line that is not on that sale of that day,
// a line that is not "DESCARGADO", and more units than the line still has. The check and the
// change are one statement, so of two workstations returning the last units of a line at once
// one is refused. The sale's header, receipt number and tax files stay as they were.
IngresoDevolucionOut KZ_IngresoDevolucion(Db& db, const IngresoDevolucionIn& in,
                                          const QDateTime& now);

// A sale line that can still give units back: discharged, with units the customer kept.
struct VentaDevolucion {
    QString PresTipo;
    int Cantidad = 0;
    QString Estado;
    QDateTime FacFecha;
    int FacNumero = 0;
    int CodPresentacion = 0;
    QString FacHostName;
    core::Money importe;
    core::Money costo;
    int DetaNumero = 0;
};
// The returns listings (the day's, QVerPresFechCad, and a range's,
// QVerPresFechCadAdministrador): the presentation's discharged lines with units left, dated
// within the range (both bounds included), one row per line, newest sale first.
std::vector<VentaDevolucion> ventasDevolucion(Db& db, int codPres,
                                              const core::DateTimeRange& range);
// The same as a listing.
Listing ventasDevolucionListing(int codPres, const core::DateTimeRange& range);
VentaDevolucion ventaDevolucion(const QSqlQuery& row);

}  // namespace db::proc
