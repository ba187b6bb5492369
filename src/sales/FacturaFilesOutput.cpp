#include "sales/FacturaFilesOutput.h"

#include "core/AmountInWords.h"
#include "core/Format.h"
#include "db/procedures/Checkout.h"
#include "einvoice/FacturaFiles.h"
#include "platform/Platform.h"

#include <stdexcept>

namespace sales {

FacturaFilesOutput::FacturaFilesOutput(platform::Platform& platform) : platform_(platform) {}

FacturaFilesOutput::~FacturaFilesOutput() = default;

void FacturaFilesOutput::begin(const ReceiptJob& job, int receiptNumber, const QDateTime& at,
                               const std::vector<db::proc::SaleLine>&,
                               const std::optional<db::proc::Igv>& igv) {
    files_.reset();
    sold_.clear();
    written_ = false;
    if (job.type != ReceiptType::Factura || receiptNumber <= 0)
        return;
    if (!igv || !igv->IgvValor)
        throw std::runtime_error("no hay tasa de IGV vigente: la factura no se emite");
    igvPercent_ = *igv->IgvValor;
    job_ = job;
    number_ = receiptNumber;
    at_ = at;
    files_ = std::make_unique<einvoice::FacturaFiles>(
        platform_.mapPath(QString::fromLatin1(kDataFolder)),
        platform_.mapPath(QStringLiteral("D:\\")), receiptNumber, platform_.computerName());
}

void FacturaFilesOutput::afterLine(const db::proc::SaleLine& line,
                                   const db::proc::DecargarPresStockOut& out) {
    if (files_ && out.changed && out.Estado == db::proc::kDescargado)
        sold_.push_back(line);
}

void FacturaFilesOutput::beforeCommit() {
    if (!files_ || sold_.empty())
        return;
    core::Money total;
    for (const db::proc::SaleLine& line : sold_)
        total += line.SUB_TOTAL;
    einvoice::FacturaHeader header;
    header.number = number_;
    header.at = at_;
    header.total = total;
    header.ruc = job_.customer.ruc;
    header.name = job_.customer.name;
    header.address = job_.customer.address;
    header.totalInWords = core::Imprime_Soles(core::fmt::shortest(total));
    header.igvPercent = igvPercent_;
    files_->writeHeader(header);
    for (const db::proc::SaleLine& line : sold_)
        files_->appendLine(
            {line.Cantidad, line.Importe, line.CodPresentacion, line.PresTipo, total});
    files_->seal();
    written_ = true;
}

void FacturaFilesOutput::committed(const Receipt&) {
    if (files_ && written_)
        files_->commit();
    files_.reset();
}

void FacturaFilesOutput::abandoned() {
    if (files_)
        files_->discard();
    files_.reset();
}

int recoverFacturaFiles(db::Db& db, platform::Platform& platform) {
    return einvoice::FacturaFiles::recover(
        platform.mapPath(QString::fromLatin1(FacturaFilesOutput::kDataFolder)),
        platform.computerName(),
        [&db](int number) { return db::proc::facturaNumbered(db, number); });
}

}  // namespace sales
