#include "soak/SoakShop.h"
#include "support/CheckoutSeed.h"
#include "support/DbTest.h"

#include "db/procedures/Checkout.h"
#include "db/procedures/Returns.h"
#include "db/procedures/Sales.h"
#include "sales/FacturaFilesOutput.h"

#include <QDeadlineTimer>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <iterator>
#include <mutex>
#include <stdexcept>

using namespace db::proc;

namespace {

constexpr int kSellers = 3;
constexpr int kCashiers = 2;
// Little stock, so sales compete for the last units and returns bring them back.
const soak::Stock kStock{{101, 20}, {102, 20}, {103, 8}, {104, 3}};
const QDateTime kNow(soak::kDay, QTime(10, 0));

// VELCARIS_SOAK_SECONDS runs longer.
int soakSeconds() {
    const int s = qEnvironmentVariableIntValue("VELCARIS_SOAK_SECONDS");
    return s > 0 ? s : 3;
}

// What the workstations saw committed, across threads.
class Ledger {
public:
    void addSale(int number) {
        const std::lock_guard<std::mutex> hold(mutex_);
        saleNumbers << number;
    }
    void addDischarge(const std::map<int, int>& units, int factura) {
        const std::lock_guard<std::mutex> hold(mutex_);
        ++discharges;
        for (const auto& [code, n] : units)
            discharged[code] += n;
        if (factura > 0)
            facturas.insert(factura);
    }
    void addReturn(int code, int units) {
        const std::lock_guard<std::mutex> hold(mutex_);
        ++returns;
        returned[code] += units;
    }
    void addFault(const QString& text) {
        const std::lock_guard<std::mutex> hold(mutex_);
        faults << text;
    }

    // Read once the workstations are done.
    QList<int> saleNumbers;
    std::map<int, int> discharged;
    std::map<int, int> returned;
    QSet<int> facturas;
    int discharges = 0;
    int returns = 0;
    QStringList faults;

private:
    std::mutex mutex_;
};

struct DiskFull : std::runtime_error {
    DiskFull() : std::runtime_error("disco lleno") {}
};

// The factura files, and the units each committed discharge sold. A failing output throws once
// the files are written, as a full disk would, which must undo the whole discharge.
class CountingOutput : public sales::FacturaFilesOutput {
public:
    CountingOutput(platform::Platform& platform, Ledger& ledger, bool failing)
        : FacturaFilesOutput(platform), ledger_(ledger), failing_(failing) {}

    void afterLine(const SaleLine& line, const DecargarPresStockOut& out) override {
        FacturaFilesOutput::afterLine(line, out);
        if (out.changed && out.Estado == kDescargado)
            sold_[line.CodPresentacion] += line.Cantidad;
    }
    void beforeCommit() override {
        FacturaFilesOutput::beforeCommit();
        if (failing_)
            throw DiskFull();
    }
    void committed(const sales::Receipt& receipt) override {
        const bool factura = receipt.job.type == sales::ReceiptType::Factura && !sold_.empty();
        ledger_.addDischarge(sold_, factura ? receipt.receiptNumber : 0);
        FacturaFilesOutput::committed(receipt);
    }

private:
    Ledger& ledger_;
    bool failing_;
    std::map<int, int> sold_;
};

int anyPresentation(QRandomGenerator& rng) {
    auto it = kStock.begin();
    std::advance(it, rng.bounded(static_cast<int>(kStock.size())));
    return it->first;
}

// A seller: reserves a number, adds one to four lines, now and then removes one or all.
void sell(int seller, db::Db& db, QRandomGenerator& rng, const QDeadlineTimer& end,
          Ledger& ledger) {
    const QString tag = QStringLiteral("VENTA%1-%2").arg(seller).arg(4 + seller);
    const QDateTime dayStart = soak::saleDay().start;
    while (!end.hasExpired()) {
        const int sale = KZ_NumeroVenta(db, {dayStart, seller + 1, tag}, kNow).pNumero;
        ledger.addSale(sale);
        const int lines = 1 + rng.bounded(4);
        for (int k = 0; k < lines; ++k) {
            const IngresoPresVentaOut out = KZ_IngresoPresVenta(
                db, {anyPresentation(rng), 1 + rng.bounded(3), testsupport::money("2.50"),
                     testsupport::money("1"), sale, dayStart});
            if (out.resultado == Ingreso::VentaDescargada)
                break;
            if (out.resultado != Ingreso::Ingresado && out.resultado != Ingreso::SinStock)
                ledger.addFault(QStringLiteral("sale %1: ").arg(sale) + out.pMensaje);
        }
        const std::vector<LineaVenta> held = saleLines(db, sale, soak::saleDay());
        if (!held.empty() && rng.bounded(8) == 0) {
            const LineaVenta& l = held[rng.bounded(static_cast<int>(held.size()))];
            KZ_EliminarItem(db, {sale, l.CodPresentacion, l.DetaNumero, dayStart});
        }
        if (rng.bounded(20) == 0)
            KZ_BorraCotizacion(db, {dayStart, sale});
        QThread::usleep(rng.bounded(3000));  // the customer pays; the cashiers get their turn
    }
}

// A cashier's discharge of one of the pending sales, of any receipt type.
void dischargeOne(soak::Station& station, soak::FolderPlatform& platform, QRandomGenerator& rng,
                  Ledger& ledger) {
    const std::vector<PendingSale> pending = pendingSales(station.context().db, soak::saleDay());
    if (pending.empty()) {
        QThread::msleep(1);
        return;
    }
    const int sale = pending[rng.bounded(static_cast<int>(pending.size()))].FacNumero;
    const auto type = static_cast<sales::ReceiptType>(rng.bounded(3));
    const sales::ReceiptJob job{
        sale,
        soak::saleDay(),
        type,
        {QStringLiteral("CLIENTE %1").arg(sale), QStringLiteral("JR. PIZARRO 410"),
         QStringLiteral("00000000"), QStringLiteral("20481234567")},
        false};
    CountingOutput output(platform, ledger, rng.bounded(12) == 0);
    try {
        sales::dischargeSale(station.context(), job, output);
    } catch (const DiskFull&) {
    }
}

// A cashier's return of some units of a discharged line; now and then one unit more than the
// line holds, which must be refused.
void returnSome(db::Db& db, QRandomGenerator& rng, Ledger& ledger) {
    QSqlQuery q = db.exec(QStringLiteral("SELECT FacNumero, DetaNumero, CodPresentacion, Cantidad "
                                         "FROM DETAFAC WHERE Estado = ? ORDER BY FacNumero, "
                                         "DetaNumero"),
                          {kDescargado});
    struct Line {
        int facNumero, detaNumero, codPres, cantidad;
    };
    std::vector<Line> lines;
    while (q.next())
        lines.push_back({db::integer(q.value(0)), db::integer(q.value(1)), db::integer(q.value(2)),
                         db::integer(q.value(3))});
    q.finish();
    if (lines.empty())
        return;
    const Line& l = lines[rng.bounded(static_cast<int>(lines.size()))];
    IngresoDevolucionIn in;
    in.pCodPres = l.codPres;
    in.pDetaNumero = l.detaNumero;
    in.pFacNum = l.facNumero;
    in.pCanDevueltas = 1 + rng.bounded(l.cantidad + 1);
    in.pCajero = QStringLiteral("CAJERO");
    in.pFacFecha = QDateTime(soak::kDay, QTime(0, 0));
    const IngresoDevolucionOut out = KZ_IngresoDevolucion(db, in, kNow.addSecs(3600));
    if (out.resultado != Devolucion::Devuelto) {
        // Another cashier may have returned units of the line since it was read.
        if (out.resultado != Devolucion::SobrepasaLoVendido &&
            out.resultado != Devolucion::ItemNoDescargado)
            ledger.addFault(out.pMensaje);
        return;
    }
    // A line only ever gives units back, so it never returns more than it held when read.
    if (in.pCanDevueltas > l.cantidad)
        ledger.addFault(QStringLiteral("returned more than the line held: ") + out.pMensaje);
    ledger.addReturn(l.codPres, in.pCanDevueltas);
}

void cashier(int station, db::Db& db, soak::FolderPlatform& platform, QRandomGenerator& rng,
             const QDeadlineTimer& end, Ledger& ledger) {
    soak::Station workstation(db, platform, 20 + station);
    while (!end.hasExpired()) {
        if (rng.bounded(4) == 0)
            returnSome(db, rng, ledger);
        else
            dischargeOne(workstation, platform, rng, ledger);
    }
}

class Soak : public testsupport::DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped())
            return;
        soak::seedShop(db(), kStock);
    }

    std::map<int, int> perPresentation(const QString& sql, const QVariantList& values = {}) {
        std::map<int, int> out;
        QSqlQuery q = db().exec(sql, values);
        while (q.next())
            out[db::integer(q.value(0))] = db::integer(q.value(1));
        return out;
    }
};

TEST_P(Soak, SellersCashiersAndReturnsAtOnceKeepEveryCountTrue) {
    const quint32 seed = soak::seed();
    SCOPED_TRACE(QStringLiteral("replay with VELCARIS_SOAK_SEED=%1").arg(seed).toStdString());
    QTemporaryDir drives;
    soak::FolderPlatform platform(drives.path());
    Ledger ledger;
    const QDeadlineTimer end(soakSeconds() * 1000);

    concurrently(kSellers + kCashiers, [&](int i, db::Db& connection) {
        QRandomGenerator rng(seed + static_cast<quint32>(i));
        if (i < kSellers)
            sell(i, connection, rng, end, ledger);
        else
            cashier(i - kSellers, connection, platform, rng, end, ledger);
    });

    std::printf("[   soak   ] %s: %lld sales, %d discharges, %d facturas, %d returns\n",
                testsupport::engineName({GetParam(), 0}).c_str(),
                static_cast<long long>(ledger.saleNumbers.size()), ledger.discharges,
                static_cast<int>(ledger.facturas.size()), ledger.returns);
    EXPECT_EQ(ledger.faults, QStringList());
    EXPECT_GT(ledger.discharges, 0);

    EXPECT_EQ(soak::saleNumberFaults(db()), QStringList());
    // Every number reserved was handed to one seller only.
    EXPECT_EQ(QSet<int>(ledger.saleNumbers.begin(), ledger.saleNumbers.end()).size(),
              ledger.saleNumbers.size());
    EXPECT_EQ(db::integer(db().scalar(QStringLiteral("SELECT COUNT(*) FROM FACTURA"))),
              ledger.saleNumbers.size());
    EXPECT_EQ(soak::receiptNumberFaults(db()), QStringList());
    EXPECT_EQ(soak::lineAndSaleFaults(db()), QStringList());
    EXPECT_EQ(soak::stockFaults(db(), kStock), QStringList());
    EXPECT_EQ(soak::taxFileFaults(db(), platform.dataFolder(), true), QStringList());

    // What the workstations committed agrees with what the database holds.
    const std::map<int, int> devueltas =
        perPresentation(QStringLiteral("SELECT CodPresentacion, SUM(DevUnidades) FROM DEVOLUCION "
                                       "GROUP BY CodPresentacion"));
    const std::map<int, int> held =
        perPresentation(QStringLiteral("SELECT CodPresentacion, SUM(Cantidad) FROM DETAFAC WHERE "
                                       "Estado IN (?, ?) GROUP BY CodPresentacion"),
                        {kDescargado, kDevuelto});
    for (const auto& [code, initial] : kStock) {
        SCOPED_TRACE(code);
        const int discharged = ledger.discharged[code];
        const int returned = ledger.returned[code];
        EXPECT_EQ(testsupport::stockOf(db(), code), initial - discharged + returned);
        EXPECT_EQ(devueltas.contains(code) ? devueltas.at(code) : 0, returned);
        EXPECT_EQ((held.contains(code) ? held.at(code) : 0) + returned, discharged);
    }
    QSet<int> facturas;
    QSqlQuery q = db().exec(
        QStringLiteral("SELECT FacNumSunat FROM FACTURA WHERE FacTipoSunat = ?"), {kFactura});
    while (q.next())
        facturas.insert(db::integer(q.value(0)));
    EXPECT_EQ(facturas, ledger.facturas);
}

// Under load: a discharge that fails lets go of its receipt number when it rolls back, and the
// next factura may take that number before the failed one has cleaned up its files.
TEST_P(Soak, AFailedFacturaLeavesTheFilesOfTheNextOneWithItsNumberAlone) {
    testsupport::seedSale(db(), 1, soak::kDay, QStringLiteral("CAJA1-4"), {{101, 1, "2.50"}});
    testsupport::seedSale(db(), 2, soak::kDay, QStringLiteral("CAJA1-5"), {{102, 2, "4"}});
    QTemporaryDir drives;
    soak::FolderPlatform platform(drives.path());
    soak::Station station(db(), platform, 20);
    const auto factura = [](int sale) {
        return sales::ReceiptJob{sale, soak::saleDay(), sales::ReceiptType::Factura, {}, false};
    };

    // The failed discharge's clean-up runs while the next one has written its files and not yet
    // named them.
    struct Failing : sales::FacturaFilesOutput {
        using FacturaFilesOutput::FacturaFilesOutput;
        void beforeCommit() override {
            FacturaFilesOutput::beforeCommit();
            throw std::runtime_error("disco lleno");
        }
        void abandoned() override { whenAbandoned(); }
        std::function<void()> whenAbandoned;
    } failing(platform);
    struct Next : sales::FacturaFilesOutput {
        using FacturaFilesOutput::FacturaFilesOutput;
        void beforeCommit() override {
            FacturaFilesOutput::beforeCommit();
            midway();
        }
        std::function<void()> midway;
    } next(platform);
    next.midway = [&] { failing.FacturaFilesOutput::abandoned(); };
    DischargeResult second;
    failing.whenAbandoned = [&] {
        second = sales::dischargeSale(station.context(), factura(2), next);
    };

    EXPECT_THROW(sales::dischargeSale(station.context(), factura(1), failing), std::runtime_error);

    EXPECT_EQ(second.receiptNumber, 1);  // the number the failed one let go
    EXPECT_EQ(testsupport::lineState(db(), 1, soak::kDay, 1), kNoDescargado);
    EXPECT_EQ(soak::taxFileFaults(db(), platform.dataFolder(), true), QStringList());
}

VELCARIS_DB_TEST_SUITE(Soak);

}  // namespace
