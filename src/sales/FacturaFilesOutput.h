#pragma once

#include "einvoice/SafeFiles.h"
#include "sales/ReceiptOutput.h"

#include <memory>
#include <vector>

namespace db {
class Db;
}
namespace einvoice {
class FacturaFiles;
}
namespace platform {
class Platform;
}

namespace sales {

// The factura's five tax files behind the receipt output: written under temporary names before
// the discharge commits, named after it committed, removed when it failed. The files hold the
// lines this discharge sold, and the total of those lines. Prints nothing.
class FacturaFilesOutput : public ReceiptOutput {
public:
    static constexpr const char* kDataFolder = einvoice::safefiles::kToolFolder;

    explicit FacturaFilesOutput(platform::Platform& platform);
    ~FacturaFilesOutput() override;

    // A factura needs the rate of the IGV row in force.
    void begin(const ReceiptJob& job, int receiptNumber, const QDateTime& at,
               const std::vector<db::proc::SaleLine>& lines,
               const std::optional<db::proc::Igv>& igv) override;
    void afterLine(const db::proc::SaleLine& line,
                   const db::proc::DecargarPresStockOut& out) override;
    void beforeCommit() override;
    void committed(const Receipt& receipt) override;
    void abandoned() override;

private:
    platform::Platform& platform_;
    std::unique_ptr<einvoice::FacturaFiles> files_;
    ReceiptJob job_;
    int number_ = 0;
    QDateTime at_;
    double igvPercent_ = 0;
    std::vector<db::proc::SaleLine> sold_;
    bool written_ = false;
};

// A workstation that stopped between a factura's commit and the naming of its files left them
// under temporary names: gives them their names, and removes the temporary files of discharges
// that did not happen, this workstation's only. Run at start-up. Returns how many facturas got
// their files.
int recoverFacturaFiles(db::Db& db, platform::Platform& platform);

}  // namespace sales
