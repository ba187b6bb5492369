// Returns and the sales history on each engine, with a year of sales behind them against the
// same shop with one day of sales: the returns window's day listing and the history of a
// presentation sold many times a day (each a bound statement whose cost must not grow with the
// history), and the administrator's range listing over the whole year. PostgreSQL runs when
// VELCARIS_BENCH_PG names a server.

#include "ScaleData.h"
#include "Support.h"

#include "core/DayWindow.h"
#include "db/procedures/Returns.h"
#include "db/procedures/SearchCommands.h"

#include <string>

namespace {

const QDate kToday = bench::ScaleOptions().lastDay;
// The generator's most popular presentation: dozens of lines every day.
constexpr int kDailySeller = 1;

using Shop = bench::YearAndDay;

Shop& shop(db::Dialect dialect) {
    return bench::perEngine<Shop>(dialect);
}

// A figure of what a read returned, the same on both databases.
using Read = qint64 (*)(db::Db&);

qint64 dayListing(db::Db& db) {
    qint64 figure = 0;
    for (const db::proc::VentaDevolucion& row :
         db::proc::ventasDevolucion(db, kDailySeller, core::calendarDay(kToday)))
        figure += row.FacNumero * 100 + row.DetaNumero;
    return figure;
}

qint64 history(db::Db& db) {
    qint64 figure = 0;
    for (const db::proc::SeguimientoRow& row : db::proc::seguimiento(db, kDailySeller))
        figure += row.FacNumero * 100 + row.Cantidad;
    return figure;
}

// The year's read timed against the day's.
void AgainstOneDay(benchmark::State& state, db::Dialect dialect, Read read) {
    Shop& s = shop(dialect);
    bench::IterationClock clock(state);
    for (auto _ : state) {
        qint64 year = 0;
        qint64 day = 0;
        clock.time([&] { year = read(s.year()); });
        clock.timeFloor([&] { day = read(s.day()); });
        if (year != day || year == 0) {
            state.SkipWithError("a year of history changed what today's read returns");
            break;
        }
    }
    clock.reportAgainstFloor();
}

// The administrator's listing of the presentation's whole year.
void YearRange(benchmark::State& state, db::Dialect dialect) {
    Shop& s = shop(dialect);
    const core::DateTimeRange year = core::midnights(kToday.addDays(-365), kToday.addDays(1));
    bench::IterationClock clock(state);
    std::size_t rows = 0;
    for (auto _ : state)
        clock.time([&] { rows = db::proc::ventasDevolucion(s.year(), kDailySeller, year).size(); });
    state.counters["rows"] = double(rows);
}

std::string named(const char* name, db::Dialect dialect) {
    return std::string("Returns/") + name + "/" + bench::engineName(dialect);
}

}  // namespace

void bench::registerBenchmarks() {
    for (const db::Dialect dialect : engines()) {
        benchmark::RegisterBenchmark(named("DayListing", dialect).c_str(), AgainstOneDay, dialect,
                                     &dayListing)
            ->UseManualTime()
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(named("History", dialect).c_str(), AgainstOneDay, dialect,
                                     &history)
            ->UseManualTime()
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(named("YearRangeListing", dialect).c_str(), YearRange, dialect)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    }
}
