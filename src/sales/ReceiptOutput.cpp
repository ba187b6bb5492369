#include "sales/ReceiptOutput.h"

#include "core/Clock.h"
#include "sales/ReceiptPrinter.h"
#include "session/AppContext.h"
#include "session/Session.h"

namespace sales {

std::optional<QString> facTipoSunat(ReceiptType type) {
    switch (type) {
        case ReceiptType::Boleta:
            return db::proc::kBoletaDeVenta;
        case ReceiptType::Factura:
            return db::proc::kFactura;
        case ReceiptType::NotaDeVenta:
            break;
    }
    return std::nullopt;
}

void ReceiptOutput::begin(const ReceiptJob&, int, const QDateTime&,
                          const std::vector<db::proc::SaleLine>&,
                          const std::optional<db::proc::Igv>&) {}
void ReceiptOutput::beforeLine(const db::proc::SaleLine&) {}
void ReceiptOutput::afterLine(const db::proc::SaleLine&, const db::proc::DecargarPresStockOut&) {}
void ReceiptOutput::beforeCommit() {}
void ReceiptOutput::committed(const Receipt&) {}
void ReceiptOutput::abandoned() {}
void ReceiptOutput::print(const Receipt&) {}
void ReceiptOutput::preview(const ReceiptJob&) {}

std::unique_ptr<ReceiptOutput> makeReceiptOutput(session::AppContext& context) {
    return std::make_unique<ReceiptPrinter>(context);
}

namespace {

// A receipt is printed only for what was sold, and a tax receipt only with its number.
bool printable(const ReceiptJob& job, const db::proc::DischargeResult& result) {
    if (!job.print || result.discharged == 0)
        return false;
    return job.type == ReceiptType::NotaDeVenta || result.receiptNumber > 0;
}

}  // namespace

db::proc::DischargeResult dischargeSale(session::AppContext& context, const ReceiptJob& job,
                                        ReceiptOutput& output) {
    const QDateTime at = context.clock.now();
    db::proc::DischargeHooks hooks;
    hooks.begin = [&](const db::proc::DischargeStart& start) {
        output.begin(job, start.receiptNumber, at, start.lines, start.igv);
    };
    hooks.beforeLine = [&](const db::proc::SaleLine& line) { output.beforeLine(line); };
    hooks.afterLine = [&](const db::proc::SaleLine& line,
                          const db::proc::DecargarPresStockOut& out) {
        output.afterLine(line, out);
    };
    hooks.beforeCommit = [&] { output.beforeCommit(); };
    db::proc::DischargeResult result;
    try {
        result = db::proc::DischargeSale(
            context.db,
            {job.facNumero, job.day, context.session.userCode(), facTipoSunat(job.type), at},
            hooks);
    } catch (...) {
        output.abandoned();
        throw;
    }
    const Receipt receipt{job, result.receiptNumber, result.series, at};
    output.committed(receipt);
    if (printable(job, result))
        output.print(receipt);
    return result;
}

}  // namespace sales
