// Stock intakes with a year of intakes behind them (about 11,000 batches on 20,000 links): the
// three steps of a two-batch intake (its number and staging, the apply, the confirmation) and
// one expiry-date intake, each against one single-row commit.

#include "ScaleData.h"
#include "Support.h"

#include "db/procedures/Stock.h"

namespace {

constexpr int kLinks = 20000;
const QDateTime kNow(QDate(2026, 3, 2), QTime(10, 0));

struct Year {
    explicit Year(db::Dialect dialect) : data(dialect) {
        bench::ScaleOptions options;
        options.links = kLinks;
        options.days = 365;
        options.linesPerDay = 200;
        presentations = bench::generateAndReport(data.db(), options).presentations;
        supplier = db::proc::proveedorNombres(data.db()).front();
    }
    bench::ScratchDatabase data;
    int presentations = 0;
    QString supplier;
};

Year& year(db::Dialect dialect) {
    static std::map<db::Dialect, std::unique_ptr<Year>> shared;
    auto& one = shared[dialect];
    if (!one) {
        one = std::make_unique<Year>(dialect);
        bench::onRelease([] { shared.clear(); });
    }
    return *one;
}

enum class Step { Stage, Apply, Confirm, ExpiryDate };

db::proc::IngresoPresFechCadMasStockIn batch(const Year& y, int intake, int code, int units) {
    db::proc::IngresoPresFechCadMasStockIn in;
    in.pIngreso = intake;
    in.pEstacion = QStringLiteral("BENCH");
    in.pCodPresentacion = code;
    in.pFechCad = kNow.addDays(200 + units);
    in.pStock = units;
    in.pFechIngre = kNow;
    in.pCodTrab = bench::kAdminUser;
    in.pPC = core::Money::fromRaw(100000);
    in.pProvNom = y.supplier;
    in.pPresFechNumDoc = QStringLiteral("F001-123");
    in.pDocTipo = QStringLiteral("FACTURA");
    return in;
}

db::proc::KardexIngresoIn expiryBatch(const Year& y, int code) {
    db::proc::KardexIngresoIn in;
    in.pCodPresentacion = code;
    in.pFechCad = kNow.addDays(300);
    in.pStock = 6;
    in.pFechIngre = kNow;
    in.pCodTrab = bench::kAdminUser;
    in.pProvNom = y.supplier;
    in.pPresFechNumDoc = QStringLiteral("NE-77");
    in.pDocTipo = QStringLiteral("NOTA DE ENVIO");
    return in;
}

// One history row inserted and committed on its own, for a presentation no intake touches.
void insertAndCommit(db::Db& db) {
    db::Db::Transaction tx(db);
    db.exec(QStringLiteral("INSERT INTO PRESFECHCAD (CodPresentacion, PresFechIngre, "
                           "PresStockActual, Hora) VALUES (?, ?, ?, ?)"),
            {0, kNow, 1, kNow});
    tx.commit();
}

// Every iteration runs a whole intake on a presentation drawn at random and times one step.
void Intake(benchmark::State& state, db::Dialect dialect, Step step) {
    Year& y = year(dialect);
    db::Db& db = y.data.db();
    bench::Rng rng(20260302);
    bench::IterationClock clock(state);
    const auto timed = [&](Step s, const std::function<void()>& op) {
        if (s == step)
            clock.time(op);
        else
            op();
    };
    for (auto _ : state) {
        const int code = 1 + rng.below(y.presentations);
        if (step == Step::ExpiryDate) {
            clock.time([&] {
                benchmark::DoNotOptimize(db::proc::KZ_KardexIngreso(db, expiryBatch(y, code)));
            });
        } else {
            int intake = 0;
            timed(Step::Stage, [&] {
                intake = db::proc::nuevoIngresoStock(db);
                db::proc::KZT_IngresoPresFechCadMasStock(db, batch(y, intake, code, 10));
                db::proc::KZT_IngresoPresFechCadMasStock(db, batch(y, intake, code, 5));
            });
            timed(Step::Apply, [&] {
                if (!db::proc::KZ_IngresoMasStock(db, {intake, code, core::Money::fromRaw(100000)})
                         .applied)
                    state.SkipWithError("the intake was not applied");
            });
            timed(Step::Confirm, [&] {
                db::proc::KZ_IngresoNPCNPGNPV(
                    db, {intake, code, core::Money::fromRaw(100000), core::Money::fromRaw(120000)});
            });
        }
        clock.timeFloor([&] { insertAndCommit(db); });
    }
    db.exec(QStringLiteral("DELETE FROM PRESFECHCAD WHERE CodPresentacion = 0"));
    state.counters["intakes"] =
        double(db::integer(db.scalar(QStringLiteral("SELECT COUNT(*) FROM KARDEXINGRESO"))));
    clock.reportAgainstFloor();
}

}  // namespace

void bench::registerBenchmarks() {
    const std::pair<const char*, Step> steps[] = {{"IntakeStageTwoBatches", Step::Stage},
                                                  {"IntakeApply", Step::Apply},
                                                  {"IntakeConfirm", Step::Confirm},
                                                  {"ExpiryDateIntake", Step::ExpiryDate}};
    for (const db::Dialect dialect : bench::engines())
        for (const auto& [name, step] : steps)
            benchmark::RegisterBenchmark(
                (std::string(name) + "/" + bench::engineName(dialect)).c_str(), Intake, dialect,
                step)
                ->UseManualTime()
                ->Unit(benchmark::kMicrosecond);
}
