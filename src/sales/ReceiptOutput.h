#pragma once

#include "core/DayWindow.h"
#include "db/procedures/Checkout.h"

#include <QDateTime>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

namespace session {
struct AppContext;
}

namespace sales {

enum class ReceiptType { NotaDeVenta, Boleta, Factura };

// FacTipoSunat of a receipt type; none for a sale note, which carries no receipt number.
std::optional<QString> facTipoSunat(ReceiptType type);

// The trimmed texts of the checkout's customer boxes at the moment of the discharge.
struct CustomerData {
    QString name;
    QString address;
    QString dni;
    QString ruc;
};

// One discharge (or preview) as the checkout asks for it.
struct ReceiptJob {
    int facNumero = 0;
    core::DateTimeRange day;  // the sale-day window
    ReceiptType type = ReceiptType::NotaDeVenta;
    CustomerData customer;
    bool print = false;  // "SI  IMPRIMIR" is checked
};

// A discharged receipt, as it is to be printed.
struct Receipt {
    ReceiptJob job;
    int receiptNumber = 0;  // FacNumSunat of a boleta or factura; 0 for a sale note
    QString series;         // FacSerieSunat as the discharge stored it
    QDateTime at;           // the moment of the discharge (the tax files' D and H)
};

// The printed receipt and the factura's tax files, at the points of the discharge where they
// are made. For one discharge the calls come in this order:
//
//   begin, then beforeLine / afterLine for every line, then beforeCommit: inside the discharge's
//     transaction; an exception from any of them undoes the whole discharge, and abandoned()
//     follows. Whatever must not exist unless the discharge happens (the tax files under their
//     final names) is only prepared here.
//   committed: the discharge is in the database.
//   print: only when printing was chosen and the discharge settled at least one line as
//     "DESCARGADO"; a boleta or factura only with the receipt number it got.
//
// The base class does nothing at any point.
class ReceiptOutput {
public:
    virtual ~ReceiptOutput() = default;

    // The receipt number is decided (0 for a sale note); `lines` are every line of the sale, in
    // the order they are passed; `igv` is the IGV row in force, whose series the sale stores.
    virtual void begin(const ReceiptJob& job, int receiptNumber, const QDateTime& at,
                       const std::vector<db::proc::SaleLine>& lines,
                       const std::optional<db::proc::Igv>& igv);
    virtual void beforeLine(const db::proc::SaleLine& line);
    // `out.changed` with `out.Estado` "DESCARGADO": the line was sold by this discharge.
    virtual void afterLine(const db::proc::SaleLine& line,
                           const db::proc::DecargarPresStockOut& out);
    virtual void beforeCommit();
    virtual void committed(const Receipt& receipt);
    virtual void abandoned();
    virtual void print(const Receipt& receipt);

    // The checkout's "Imprimir/NO DESCARGA" for a typed sale number (job.facNumero > 0): shows
    // the receipt of the checked type without discharging, numbering or filing anything.
    virtual void preview(const ReceiptJob& job);
};

// The receipt output of the running program.
std::unique_ptr<ReceiptOutput> makeReceiptOutput(session::AppContext& context);

// The discharge of one sale by the cashier, with the receipt output called at its points.
// Throws when the discharge failed (nothing of it was committed) or, after the commit, when the
// receipt output failed to finish or print.
db::proc::DischargeResult dischargeSale(session::AppContext& context, const ReceiptJob& job,
                                        ReceiptOutput& output);

}  // namespace sales
