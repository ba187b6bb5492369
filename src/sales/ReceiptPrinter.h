#pragma once

#include "sales/FacturaFilesOutput.h"

#include <QDateTime>

namespace printing {
struct Document;
}
namespace session {
struct AppContext;
}

namespace sales {

struct ReceiptData;

// The receipt output of the running program: the factura's tax files, and the customer's
// receipt of the chosen type, with its QR picture for a boleta or factura, printed on the
// workstation's printer after a discharge or shown in the preview without discharging.
class ReceiptPrinter : public FacturaFilesOutput {
public:
    // The QR picture every receipt goes through, on the C: drive.
    static constexpr const char* kQrPicture = "c:\\kzv.bmp";

    explicit ReceiptPrinter(session::AppContext& context);

    // A receipt that does not reach a printer that takes it is kept as a file, and the cashier
    // is told what happened and where the file is.
    void print(const Receipt& receipt) override;
    // Dated, like its QR text, at the sale's last discharge; printed from there as after a
    // discharge, so a receipt kept as a file can be printed again. A sale without discharged
    // lines shows "NO HAY PRESENTACIONES VENDIDAS" instead.
    void preview(const ReceiptJob& job) override;

private:
    // The receipt as it prints, dated `at` and with its QR text of that day: as long as its
    // content, or on the roll's fixed 233.1 mm pages when the setting `printing/fixed_length`
    // is "true".
    printing::Document document(const ReceiptData& data, const ReceiptJob& job,
                                const QDateTime& at);
    void send(const ReceiptData& data, ReceiptType type, const printing::Document& doc,
              const QDateTime& at);

    session::AppContext& ctx_;
};

}  // namespace sales
