#pragma once

#include "core/DayWindow.h"
#include "core/Money.h"
#include "db/procedures/Procedure.h"

#include <QDateTime>
#include <optional>
#include <vector>

// The reads that the checkout, the quotation and the receipts share: a sale's lines, its
// header, and the IGV row in force.
namespace db::proc {

// One line of a sale, with its presentation and brand as the catalogue has them now and its
// sale's header.
struct SaleLine {
    // The line itself (DETAFAC).
    int FacNumero = 0;
    QDateTime FacFecha;
    int DetaNumero = 0;
    int CodPresentacion = 0;
    int Cantidad = 0;
    core::Money Importe;    // unit price charged
    core::Money SUB_TOTAL;  // Importe x Cantidad
    QString Estado;
    // The presentation and its brand: empty texts and zeros when the presentation, or its
    // product-brand link or brand, is no longer in the catalogue.
    QString PresTipo;
    QString LabNombre;  // right-trimmed, as stored
    core::Money PresPrecioCosto;
    core::Money PresVenta;
    int PresStockTotal = 0;
    bool inCatalogue = false;  // the presentation still exists
    // The sale's header (FACTURA).
    QString FacEstado;
    QString FacHostName;
    QString FacSerieSunat;
    int FacNumSunat = 0;  // 0: none
    QString FacTipoSunat;
    bool FacEstadoSunat = false;
};
// Every line of sale `facNumero` dated within the window, by date and line number. A line is
// listed whatever is gone from the catalogue or the headers, so the lines always add up to what
// the sale charges.
std::vector<SaleLine> saleLines(Db& db, int facNumero, const core::DateTimeRange& window);
// The same lines as a derived table with three values to bind (facNumero and the window's
// bounds), for a statement that reads them beside something else; its columns FacFecha and
// DetaNumero give their order.
extern const QString kSaleLinesTable;
// A sale line's own columns (DETAFAC's), as a table under saleLinesTableOver must have them.
extern const QString kLineColumns;
// kSaleLinesTable over `lines` instead of DETAFAC: a table or derived table with kLineColumns.
QString saleLinesTableOver(const QString& lines);
// A line read from the columns of kSaleLinesTable, the query's column `first` on.
SaleLine lineAt(const QSqlQuery& q, int first);

// A sale's header as its receipts print it.
struct SaleHeader {
    QString FacHostName;    // the seller's workstation tag
    QString FacTipoSunat;   // the receipt type it was discharged as
    int FacNumSunat = 0;    // its receipt number; 0 for none
    QDateTime FacFecha;     // when the sale was opened
    QDateTime FacDescargo;  // its last discharge that sold a line; invalid for none kept
};
// The header of sale `facNumero` dated within the window; none without one.
std::optional<SaleHeader> saleHeader(Db& db, int facNumero, const core::DateTimeRange& window);

// The IGV row in force: the one with the highest IgvCod.
struct Igv {
    int IgvCod = 0;
    std::optional<double> IgvValor;  // the rate in percent (18 for 18 %); none when not set
    QString IgvSerieBoleta;          // trimmed
    QString IgvSerieFactura;
};
// None when the shop has no IGV row yet.
std::optional<Igv> currentIgv(Db& db);
// The same row as a derived table of four columns (IgvCod, IgvValor, IgvSerieBoleta,
// IgvSerieFactura), for statements that read it beside something else, and the row read from
// those columns of a result from `first` on (none when IgvCod is null).
extern const QString kIgvInForce;
std::optional<Igv> igvAt(const QSqlQuery& q, int first);

}  // namespace db::proc
