// The sales monitor and the advanced search on each engine: the monitor's day list, its count
// of sales not discharged and one sale's lines and total, for a day ten days back with a year
// of sales behind it, against the same reads on a shop holding only that day; and the advanced
// search over 100,000 product-brand links with one box filled and with every box empty.
// PostgreSQL runs when VELCARIS_BENCH_PG names a server.

#include "ScaleData.h"
#include "Support.h"

#include "core/DayWindow.h"
#include "db/procedures/Checkout.h"
#include "db/procedures/Inclusion.h"
#include "db/procedures/Monitor.h"

#include <string>

namespace {

const QDate kLastDay = bench::ScaleOptions().lastDay;
constexpr int kDaysBack = 10;
const QDate kDay = kLastDay.addDays(-kDaysBack);

// A year of sales up to the last day, and a shop whose only day is the monitored one: the
// generator makes a day's sales from its date alone, so that day is the same in both.
class Shop {
public:
    explicit Shop(db::Dialect dialect) : year_(dialect), day_(dialect) {
        bench::ScaleOptions options;
        options.pendingSales = 0;
        options.days = 365;
        bench::generateAndReport(year_.db(), options);
        options.days = 1;
        options.lastDay = kDay;
        bench::generateAndReport(day_.db(), options);
    }
    db::Db& year() { return year_.db(); }
    db::Db& day() { return day_.db(); }

private:
    bench::ScratchDatabase year_;
    bench::ScratchDatabase day_;
};

Shop& shop(db::Dialect dialect) {
    return bench::perEngine<Shop>(dialect);
}

// The catalogue alone, for the advanced search.
class Catalogue {
public:
    explicit Catalogue(db::Dialect dialect) : scratch_(dialect) {
        bench::generateAndReport(scratch_.db(), bench::ScaleOptions());
    }
    db::Db& db() { return scratch_.db(); }

private:
    bench::ScratchDatabase scratch_;
};

// What the monitor reads for a day button: the list, the count and the first sale's lines and
// total; returns a figure of what it read.
qint64 monitorDay(db::Db& db) {
    const core::DateTimeRange day = core::salesMonitorDay(kLastDay, -kDaysBack);
    const std::vector<db::proc::DaySale> list = db::proc::daySales(db, day);
    qint64 figure = db::proc::undischargedSales(db, day);
    for (const db::proc::DaySale& row : list)
        figure += row.TOTAL.raw();
    if (!list.empty()) {
        figure += qint64(db::proc::saleLines(db, list.front().FacNumero, day).size());
        figure +=
            db::proc::saleTotal(db, list.front().FacNumero, day).value_or(core::Money()).raw();
    }
    return figure;
}

void MonitorDay(benchmark::State& state, db::Dialect dialect) {
    Shop& s = shop(dialect);
    bench::IterationClock clock(state);
    for (auto _ : state) {
        qint64 year = 0;
        qint64 day = 0;
        clock.time([&] { year = monitorDay(s.year()); });
        clock.timeFloor([&] { day = monitorDay(s.day()); });
        if (year != day || year == 0) {
            state.SkipWithError("a year of history changed what the day's reads return");
            break;
        }
    }
    clock.reportAgainstFloor();
}

void Inclusion(benchmark::State& state, db::Dialect dialect, bool oneBox) {
    db::Db& db = bench::perEngine<Catalogue>(dialect).db();
    db::proc::ProductSearch search;
    if (oneBox)
        search.producto = QStringLiteral("FORTE");
    bench::IterationClock clock(state);
    std::size_t rows = 0;
    for (auto _ : state)
        clock.time([&] { rows = db::proc::searchPresentations(db, search).size(); });
    state.counters["rows"] = double(rows);
}

std::string named(const char* name, db::Dialect dialect) {
    return std::string(name) + "/" + bench::engineName(dialect);
}

}  // namespace

void bench::registerBenchmarks() {
    for (const db::Dialect dialect : engines()) {
        benchmark::RegisterBenchmark(named("MonitorDayTenDaysBack", dialect).c_str(), MonitorDay,
                                     dialect)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(named("InclusionOneBox", dialect).c_str(), Inclusion, dialect,
                                     true)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(named("InclusionEveryBoxEmpty", dialect).c_str(), Inclusion,
                                     dialect, false)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    }
}
