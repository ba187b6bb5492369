// The daily summary of boletas on each engine: listing the last seven days and generating the
// summary of 500 waiting boletas with a year of reported boletas behind them, against the same
// 500 in a shop with one day of sales. PostgreSQL runs when VELCARIS_BENCH_PG names a server.

#include "ScaleData.h"
#include "Support.h"

#include "core/DayWindow.h"
#include "db/procedures/Checkout.h"
#include "db/procedures/Summary.h"
#include "summary/DailySummary.h"

#include <QDir>
#include <map>
#include <string>

namespace {

const QDate kToday = bench::ScaleOptions().lastDay;
const QDateTime kNow(kToday, QTime(22, 0));
constexpr int kWaiting = 500;
constexpr int kFirstWaitingSale = 20001;  // above every generated sale number of a day

// A shop whose every generated boleta is reported, with kWaiting boletas of today waiting.
class SummaryShop {
public:
    SummaryShop(db::Dialect dialect, int days) : database_(dialect) {
        bench::ScaleOptions options;
        options.links = 5000;
        options.days = days;
        bench::generateAndReport(db(), options);
        reportEverything();
        addWaiting();
        program_ = std::make_unique<bench::Program>(db(), kNow, bench::kCashierUser);
    }

    db::Db& db() { return database_.db(); }
    summary::DailySummary summary() { return {db(), program_->ctx().platform}; }

    // Puts the boletas of a summary back to waiting and forgets the summary and its files.
    void undo(const summary::SummaryResult& result) {
        const int resumen = db::integer(db().scalar(
            QStringLiteral("SELECT ResCod FROM RESUMEN WHERE ResArchivo = ?"), {result.name}));
        db().exec(QStringLiteral("UPDATE FACTURA SET FacResumen = NULL, FacEstadoSunat = 1 "
                                 "WHERE FacTipoSunat = ? AND FacResumen = ?"),
                  {db::proc::kBoletaDeVenta, resumen});
        db().exec(QStringLiteral("DELETE FROM RESUMEN WHERE ResCod = ?"), {resumen});
        const QDir folder(summary().folder());
        for (const char* ext : {".rdi", ".trd"})
            QFile::remove(folder.filePath(result.name + QLatin1String(ext)));
    }

private:
    void reportEverything() {
        db().exec(QStringLiteral("INSERT INTO RESUMEN (ResCod, ResFecha, ResCorrelativo, "
                                 "ResArchivo, ResTemporal, UsuCod, ResBoletas) "
                                 "VALUES (1, ?, 1, 'HISTORIA', 'HISTORIA', 1, 0)"),
                  {QDateTime(QDate(2000, 1, 1), QTime(0, 0))});
        db().exec(QStringLiteral("UPDATE FACTURA SET FacResumen = 1, FacEstadoSunat = 0 "
                                 "WHERE FacTipoSunat = ?"),
                  {db::proc::kBoletaDeVenta});
    }

    void addWaiting() {
        db::Db::Transaction tx(db());
        for (int i = 0; i < kWaiting; ++i) {
            const int sale = kFirstWaitingSale + i;
            const QDateTime at(kToday, QTime(8, 0).addSecs(i * 60));
            db().exec(QStringLiteral("INSERT INTO FACTURA (FacNumero, FacFecha, UsuCod, "
                                     "FacHostName, FacEstado, FacTipoSunat, FacSerieSunat, "
                                     "FacNumSunat, FacEstadoSunat) VALUES (?, ?, 4, 'CAJA1-4', "
                                     "?, ?, 'B001', ?, 1)"),
                      {sale, at, db::proc::kDescargado, db::proc::kBoletaDeVenta, 900000 + i});
            for (int line = 1; line <= 2; ++line)
                db().exec(
                    QStringLiteral("INSERT INTO DETAFAC (FacNumero, FacFecha, DetaNumero, "
                                   "CodPresentacion, Cantidad, Importe, Costo, Estado) "
                                   "VALUES (?, ?, ?, ?, 1, ?, ?, ?)"),
                    {sale, at, line, line, QVariant::fromValue(core::Money::fromRaw(59000 + i)),
                     QVariant::fromValue(core::Money::fromRaw(30000)), db::proc::kDescargado});
        }
        tx.commit();
    }

    bench::ScratchDatabase database_;
    std::unique_ptr<bench::Program> program_;
};

struct Shops {
    std::unique_ptr<SummaryShop> year;
    std::unique_ptr<SummaryShop> day;
};

Shops& shops(db::Dialect dialect) {
    static std::map<db::Dialect, Shops> all;
    Shops& s = all[dialect];
    if (!s.year) {
        s.year = std::make_unique<SummaryShop>(dialect, 365);
        s.day = std::make_unique<SummaryShop>(dialect, 1);
        if (all.size() == 1)
            bench::onRelease([] { all.clear(); });
    }
    return s;
}

// "&Mostrar" with seven days.
void List(benchmark::State& state, db::Dialect dialect) {
    Shops& s = shops(dialect);
    const core::DateTimeRange week = core::midnights(kToday.addDays(-6), kToday.addDays(1));
    bench::IterationClock clock(state);
    for (auto _ : state) {
        std::size_t year = 0;
        std::size_t day = 0;
        clock.time([&] { year = db::proc::summaryBoletas(s.year->db(), week).size(); });
        clock.timeFloor([&] { day = db::proc::summaryBoletas(s.day->db(), week).size(); });
        if (year != kWaiting || day != kWaiting) {
            state.SkipWithError("the list is not the waiting boletas");
            break;
        }
    }
    clock.reportAgainstFloor();
}

// "&Generar" of the 500, undone untimed after each.
void Generate(benchmark::State& state, db::Dialect dialect) {
    Shops& s = shops(dialect);
    bench::IterationClock clock(state);
    for (auto _ : state) {
        summary::SummaryResult year;
        summary::SummaryResult day;
        clock.time([&] { year = s.year->summary().generate(kNow, bench::kCashierUser); });
        s.year->undo(year);
        clock.timeFloor([&] { day = s.day->summary().generate(kNow, bench::kCashierUser); });
        s.day->undo(day);
        if (year.boletas != kWaiting || day.boletas != kWaiting) {
            state.SkipWithError("the summary is not of the waiting boletas");
            break;
        }
    }
    clock.reportAgainstFloor();
}

std::string named(const char* what, db::Dialect dialect) {
    return std::string(what) + "/" + bench::engineName(dialect);
}

}  // namespace

void bench::registerBenchmarks() {
    for (const db::Dialect dialect : engines()) {
        benchmark::RegisterBenchmark(named("SummaryList", dialect).c_str(), List, dialect)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(named("SummaryGenerate", dialect).c_str(), Generate, dialect)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    }
}
