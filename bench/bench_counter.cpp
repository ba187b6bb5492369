// The sales counter on each engine: the checkout's reads with a year of sales behind them
// against the same shop with one day of sales; one bound statement; recording a sale line
// against one single-row commit; discharging a 20-line and a 100-line factura (with and without
// its tax files) against one single-row commit and against that commit with five small files
// synced, the 100-line one also against a 20-line one, with the statements a discharge runs; and
// printing a 20-line receipt to PDF. PostgreSQL runs when VELCARIS_BENCH_PG names a server.

#include "ScaleData.h"
#include "Support.h"

#include "core/DayWindow.h"
#include "db/procedures/Checkout.h"
#include "db/procedures/Sales.h"
#include "db/procedures/Shell.h"
#include "einvoice/QRCodeImage.h"
#include "printing/Layout.h"
#include "printing/Paint.h"
#include "sales/FacturaFilesOutput.h"
#include "sales/Receipts.h"
#include "sales/UnitBusqueda.h"

#include <QFileInfo>
#include <algorithm>
#include <string>

namespace {

const QDate kToday = bench::ScaleOptions().lastDay;
const QDateTime kNow(kToday, QTime(22, 0));
const core::DateTimeRange kSaleDay = core::saleDay(kToday);
constexpr int kLinesPerSale = 20;
constexpr int kStockedPresentations = 2000;  // the presentations the benchmarks sell
// Where the floor's single rows go: a sale of a day far from every other.
const QDateTime kFloorSale(QDate(2000, 1, 1), QTime(12, 0));

// One shop on one engine: a year of sales, the same shop with only its last day, and the
// program (data module on the year's connection) that records and discharges sales.
class Shop {
public:
    explicit Shop(db::Dialect dialect) : shop_(dialect) {
        program_ = std::make_unique<bench::Program>(year(), kNow, bench::kCashierUser);
        year().exec(QStringLiteral("UPDATE PRESENTACION SET PresStockTotal = 30000 "
                                   "WHERE CodPresentacion <= ?"),
                    {kStockedPresentations});
        for (int code = 1; code <= kStockedPresentations; ++code)
            stocked_.push_back(*db::proc::presentacionVenta(year(), code));
    }

    db::Db& year() { return shop_.year(); }
    db::Db& day() { return shop_.day(); }
    bench::Program& program() { return *program_; }

    // The sale numbers of the last day (the same in both databases).
    int salesToday() {
        return db::integer(
            day().scalar(QStringLiteral("SELECT MAX(FacNumero) FROM FACTURA WHERE FacFecha "
                                        "BETWEEN ? AND ?"),
                         {kSaleDay.start, kSaleDay.end}));
    }

    // A new sale of today on the year's database, as F4 on the search screen reserves it: a
    // second after the one before, as a counter's sales are (from 06:00, wrapping within the
    // day), never thousands of headers stamped with the same second.
    int newSale() {
        const QDateTime at = kSaleDay.start.addSecs(6 * 3600 + salesMade_++ % (16 * 3600));
        return db::proc::KZ_NumeroVenta(
                   year(),
                   {kSaleDay.start, bench::kAdminUser,
                    sales::TFormBusqueda::workstationTag(QStringLiteral("CAJA01"))},
                   at)
            .pNumero;
    }
    // A line of a sale, as the quotation window records a quantity of 1: the next of the
    // stocked presentations in turn, so that none sells more often in a day than a real one.
    // With `lines`, the sale's lines as they stand after it.
    db::proc::IngresoPresVentaOut addLine(int sale,
                                          std::vector<db::proc::SaleLine>* lines = nullptr) {
        const db::proc::PresentacionVenta& p = stocked_[nextSold_++ % stocked_.size()];
        return db::proc::KZ_IngresoPresVenta(
            year(), {p.CodPresentacion, 1, p.PresVenta, p.PresPrecioCosto, sale, kSaleDay.start},
            lines);
    }
    // A sale of `lines` lines, recorded in one transaction.
    int newFullSale(int lines = kLinesPerSale) {
        const int sale = newSale();
        db::Db::Transaction tx(year());
        for (int line = 0; line < lines; ++line)
            addLine(sale);
        tx.commit();
        return sale;
    }

    // The floor of every write: one row inserted and committed on its own, in a sale of a day
    // no read looks at; removeFloorRows() takes them away again.
    void insertAndCommit() {
        db::Db::Transaction tx(year());
        year().exec(QStringLiteral("INSERT INTO DETAFAC (FacNumero, FacFecha, DetaNumero, "
                                   "CodPresentacion, Cantidad, Importe, Costo, Estado) "
                                   "VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
                    {0, kFloorSale, ++floorRows_, stocked_.front().CodPresentacion, 1,
                     QVariant::fromValue(core::Money::fromRaw(10000)),
                     QVariant::fromValue(core::Money::fromRaw(5000)), db::proc::kDescargado});
        tx.commit();
    }
    void removeFloorRows() {
        year().exec(QStringLiteral("DELETE FROM DETAFAC WHERE FacNumero = 0 AND FacFecha = ?"),
                    {kFloorSale});
    }
    // The floor of a factura's discharge with its files: one row committed, then five small
    // files made durable as the tax files are. Returns the files, to be removed untimed.
    QStringList commitWithFiles() {
        insertAndCommit();
        return bench::writeSyncedFiles(floorFiles_.path(), 5);
    }

private:
    bench::YearAndDay shop_;
    std::unique_ptr<bench::Program> program_;
    QTemporaryDir floorFiles_;
    std::vector<db::proc::PresentacionVenta> stocked_;  // as the search screen shows them
    std::size_t nextSold_ = 0;
    int floorRows_ = 0;
    int salesMade_ = 0;
};

Shop& shop(db::Dialect dialect) {
    return bench::perEngine<Shop>(dialect);
}

// A read of today's checkout on the year's database, against the same read on the one-day
// database. `read` returns a figure of what it read, which must be the same on both.
using Read = std::function<qint64(db::Db&, int step)>;

void HistoryRead(benchmark::State& state, db::Dialect dialect, const Read& read) {
    Shop& s = shop(dialect);
    const int sales = s.salesToday();
    bench::IterationClock clock(state);
    int step = 0;
    for (auto _ : state) {
        const int current = step++ % sales;
        qint64 year = 0;
        qint64 day = 0;
        clock.time([&] { year = read(s.year(), current); });
        clock.timeFloor([&] { day = read(s.day(), current); });
        if (year != day) {
            state.SkipWithError("a year of history changed what today's read returns");
            break;
        }
    }
    clock.reportAgainstFloor();
}

qint64 pendingList(db::Db& db, int) {
    qint64 figure = 0;
    for (const db::proc::PendingSale& sale : db::proc::pendingSales(db, kSaleDay))
        figure += sale.TOTAL.raw();
    return figure;
}

qint64 dailyTotals(db::Db& db, int) {
    return db::proc::totalDelDia(db, kToday, db::proc::kBoletaDeVenta).raw() +
           db::proc::totalDelDia(db, kToday, db::proc::kFactura).raw();
}

qint64 saleLinesOfDay(db::Db& db, int step) {
    qint64 figure = 0;
    for (const db::proc::SaleLine& line : db::proc::saleLines(db, step + 1, kSaleDay))
        figure += line.SUB_TOTAL.raw();
    return figure;
}

// A transaction that takes the sale lines' lock and does nothing else.
void takeLinesLock(db::Db& db) {
    db::Db::Transaction tx(db, {db::proc::kSaleLinesLock});
    tx.commit();
}

// A sale line as the quotation window records it: KZ_IngresoPresVenta, giving back the sale's
// lines for the window's list. Timed alongside, to show where a line's time goes: a line
// recorded without its list ("line"), the sale's lines read on their own ("lines"), a
// transaction that only takes the lines' lock ("lock"), and the single-row commit ("floor").
// Every kLinesPerSale lines the seller starts a new sale; the sales are removed at the end, so
// later reads find today as it was.
void SaleLine(benchmark::State& state, db::Dialect dialect) {
    Shop& s = shop(dialect);
    bench::IterationClock clock(state);
    std::vector<int> sales{s.newSale()};
    int line = 0;
    for (auto _ : state) {
        if (line >= kLinesPerSale) {
            sales.push_back(s.newSale());
            line = 0;
        }
        db::proc::IngresoPresVentaOut out;
        std::vector<db::proc::SaleLine> listed;
        clock.time([&] { out = s.addLine(sales.back(), &listed); });
        if (out.resultado != db::proc::Ingreso::Ingresado || listed.size() != std::size_t(++line)) {
            state.SkipWithError("the line was not recorded");
            break;
        }
        clock.timeFloor("line", [&] { out = s.addLine(sales.back()); });
        if (out.resultado != db::proc::Ingreso::Ingresado) {
            state.SkipWithError("the line was not recorded");
            break;
        }
        ++line;
        clock.timeFloor("lines",
                        [&] { listed = db::proc::saleLines(s.year(), sales.back(), kSaleDay); });
        clock.timeFloor("lock", [&] { takeLinesLock(s.year()); });
        clock.timeFloor([&] { s.insertAndCommit(); });
    }
    for (const int sale : sales)
        db::proc::KZ_BorraCotizacion(s.year(), {kSaleDay.start, sale});
    s.removeFloorRows();
    clock.reportAgainstFloor();
}

sales::ReceiptJob facturaJob(int sale) {
    sales::ReceiptJob job;
    job.facNumero = sale;
    job.day = kSaleDay;
    job.type = sales::ReceiptType::Factura;
    job.customer = {QStringLiteral("DROGUERIA SAN JUAN S.A.C."), QStringLiteral("AV. LARCO 1180"),
                    QString(), QStringLiteral("20481234567")};
    return job;
}

// The cashier's discharge of a factura of `lines` lines: the receipt number and every line in one
// transaction, with the five tax files written before the commit and named after it (or, without
// `taxFiles`, the database's part alone). Timed alongside: one single-row commit ("floor"), that
// commit followed by five small files made durable as the tax files are ("files"), beside a
// longer factura the discharge of a 20-line one ("d20"), and to show where a discharge's time
// goes, the sale's lines read on their own ("lines") and a transaction that only takes the lines'
// lock ("lock"). Also the statements one discharge runs and prepares.
void Discharge(benchmark::State& state, db::Dialect dialect, bool taxFiles, int lines) {
    Shop& s = shop(dialect);
    bench::IterationClock clock(state);
    sales::FacturaFilesOutput files(s.program().ctx().platform);
    sales::ReceiptOutput nothing;
    sales::ReceiptOutput& output = taxFiles ? files : nothing;
    const auto discharge = [&](int sale) {
        return sales::dischargeSale(s.program().ctx(), facturaJob(sale), output);
    };
    double statements = 0;
    double prepared = 0;
    for (auto _ : state) {
        const int sale = s.newFullSale(lines);
        const int shorter = lines > kLinesPerSale ? s.newFullSale() : 0;
        clock.timeFloor("lines", [&] { db::proc::saleLines(s.year(), sale, kSaleDay); });
        clock.timeFloor("lock", [&] { takeLinesLock(s.year()); });
        const quint64 run = s.year().statementsRun();
        const quint64 prepares = s.year().statementsPrepared();
        db::proc::DischargeResult result;
        clock.time([&] { result = discharge(sale); });
        statements += double(s.year().statementsRun() - run);
        prepared += double(s.year().statementsPrepared() - prepares);
        if (result.discharged != lines || result.receiptNumber <= 0) {
            state.SkipWithError("the factura was not discharged");
            break;
        }
        clock.timeFloor([&] { s.insertAndCommit(); });
        QStringList floorFiles;
        clock.timeFloor("files", [&] { floorFiles = s.commitWithFiles(); });
        for (const QString& path : floorFiles)
            QFile::remove(path);
        if (shorter > 0)
            clock.timeFloor("d20", [&] { discharge(shorter); });
    }
    s.removeFloorRows();
    clock.reportAgainstFloor();
    const double iterations = std::max<double>(1, double(state.iterations()));
    state.counters["statements"] = statements / iterations;
    state.counters["prepared"] = prepared / iterations;
}

// A discharged 20-line factura printed to a PDF file: its QR picture, the layout QuickRep2, the
// page model and the file.
void ReceiptPdf(benchmark::State& state) {
    Shop& s = shop(db::Dialect::SQLite);
    const int sale = s.newFullSale();
    sales::ReceiptJob job{sale, kSaleDay, sales::ReceiptType::Factura, {}, false};
    job.customer.ruc = QStringLiteral("20481234567");
    sales::FacturaFilesOutput output(s.program().ctx().platform);
    sales::dischargeSale(s.program().ctx(), job, output);
    const sales::ReceiptData data = sales::loadReceiptData(s.year(), sale, kSaleDay);
    const sales::Shop shopData = sales::Shop::fromSettings(s.program().ctx().settings);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("factura.pdf"));
    bench::IterationClock clock(state);
    for (auto _ : state) {
        clock.time([&] {
            einvoice::TQRCodeImage qr;
            qr.setText(sales::facturaQrText(data, job.customer.ruc, kToday));
            const printing::Document doc = printing::layout(
                sales::QuickRep2(data, job.customer, shopData, qr.picture()), kNow);
            printing::writePdf(doc, path);
        });
    }
    if (data.lines.size() != std::size_t(kLinesPerSale) || QFileInfo(path).size() == 0)
        state.SkipWithError("the receipt was not printed");
    state.counters["pdf_kB"] = double(QFileInfo(path).size()) / 1024.0;
}

// One bound statement: a presentation read by its key, as every procedure's steps are. What a
// write costs beyond its commit is roughly its number of statements times this.
void OneStatement(benchmark::State& state, db::Dialect dialect) {
    Shop& s = shop(dialect);
    bench::IterationClock clock(state);
    int code = 0;
    for (auto _ : state) {
        std::optional<db::proc::PresentacionVenta> p;
        clock.time([&] { p = db::proc::presentacionVenta(s.year(), 1 + code++ % 100000); });
        if (!p) {
            state.SkipWithError("no presentation read");
            break;
        }
    }
}

std::string named(const char* what, db::Dialect dialect) {
    return std::string(what) + "/" + bench::engineName(dialect);
}

}  // namespace

void bench::registerBenchmarks() {
    const std::pair<const char*, qint64 (*)(db::Db&, int)> reads[] = {
        {"PendingList", pendingList},
        {"DailyTotals", dailyTotals},
        {"SaleLinesOfDay", saleLinesOfDay},
    };
    for (const db::Dialect dialect : engines())
        for (const auto& [name, read] : reads)
            benchmark::RegisterBenchmark(named(name, dialect).c_str(), HistoryRead, dialect,
                                         Read(read))
                ->UseManualTime()
                ->Unit(benchmark::kMicrosecond);
    for (const db::Dialect dialect : engines()) {
        benchmark::RegisterBenchmark(named("OneStatement", dialect).c_str(), OneStatement, dialect)
            ->UseManualTime()
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(named("SaleLine", dialect).c_str(), SaleLine, dialect)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
        for (const int lines : {kLinesPerSale, 100}) {
            for (const bool taxFiles : {true, false}) {
                const std::string name =
                    "Discharge" + std::to_string(lines) + (taxFiles ? "" : "WithoutFiles");
                benchmark::RegisterBenchmark(named(name.c_str(), dialect).c_str(), Discharge,
                                             dialect, taxFiles, lines)
                    ->UseManualTime()
                    ->Unit(benchmark::kMillisecond);
            }
        }
    }
    benchmark::RegisterBenchmark("ReceiptPdf/Factura20", ReceiptPdf)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
}
