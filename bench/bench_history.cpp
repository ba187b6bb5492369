// The day's reads with five years of sales behind them against the same reads on a shop holding
// only that day ("<Read>History5y/<engine>", "x_floor": five years over one day): the checkout's
// pending list, the day's totals and a sale's lines, the monitor's day, the daily summary's list,
// the returns window's day listing and the sales history of a presentation sold dozens of times
// a day. The five-year shop is generated once per engine and kept (bench/ScaleData.h).

#include "ScaleData.h"
#include "Support.h"

#include "core/DayWindow.h"
#include "db/procedures/Checkout.h"
#include "db/procedures/Monitor.h"
#include "db/procedures/Returns.h"
#include "db/procedures/SaleReads.h"
#include "db/procedures/SearchCommands.h"
#include "db/procedures/Shell.h"
#include "db/procedures/Summary.h"

#include <string>

namespace {

const QDate kToday = bench::ScaleOptions().lastDay;
const core::DateTimeRange kSaleDay = core::saleDay(kToday);
constexpr int kDailySeller = 1;  // the generator's most popular presentation

// A figure of what a read returned, the same on both shops; `step` varies the read.
using Read = qint64 (*)(db::Db&, int step);

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

qint64 daysLines(db::Db& db, int step) {
    qint64 figure = 0;
    for (const db::proc::SaleLine& line : db::proc::saleLines(db, step % 500 + 1, kSaleDay))
        figure += line.SUB_TOTAL.raw();
    return figure;
}

qint64 monitorDay(db::Db& db, int) {
    const core::DateTimeRange day = core::salesMonitorDay(kToday, 0);
    const std::vector<db::proc::DaySale> list = db::proc::daySales(db, day);
    qint64 figure = db::proc::undischargedSales(db, day);
    for (const db::proc::DaySale& row : list)
        figure += row.TOTAL.raw();
    if (!list.empty())
        figure +=
            qint64(db::proc::saleLines(db, list.front().FacNumero, day).size()) +
            db::proc::saleTotal(db, list.front().FacNumero, day).value_or(core::Money()).raw();
    return figure;
}

qint64 summaryList(db::Db& db, int) {
    qint64 figure = 0;
    for (const db::proc::SummaryBoleta& b :
         db::proc::summaryBoletas(db, core::midnights(kToday, kToday.addDays(1))))
        figure += b.FacNumero;
    return figure;
}

qint64 returnsDay(db::Db& db, int) {
    qint64 figure = 0;
    for (const db::proc::VentaDevolucion& row :
         db::proc::ventasDevolucion(db, kDailySeller, core::calendarDay(kToday)))
        figure += row.FacNumero * 100 + row.DetaNumero;
    return figure;
}

qint64 salesHistory(db::Db& db, int) {
    qint64 figure = 0;
    for (const db::proc::SeguimientoRow& row : db::proc::seguimiento(db, kDailySeller))
        figure += row.FacNumero * 100 + row.Cantidad;
    return figure;
}

void AgainstOneDay(benchmark::State& state, db::Dialect dialect, Read read) {
    bench::FiveYearsAndDay& s = bench::perEngine<bench::FiveYearsAndDay>(dialect);
    bench::IterationClock clock(state);
    int step = 0;
    for (auto _ : state) {
        qint64 years = 0;
        qint64 day = 0;
        clock.time([&] { years = read(s.years(), step); });
        clock.timeFloor([&] { day = read(s.day(), step); });
        ++step;
        if (years != day) {
            state.SkipWithError("five years of history changed what the day's read returns");
            break;
        }
    }
    clock.reportAgainstFloor();
}

}  // namespace

void bench::registerBenchmarks() {
    const std::pair<const char*, Read> reads[] = {
        {"PendingList", pendingList},  {"DailyTotals", dailyTotals}, {"DaysLines", daysLines},
        {"MonitorDay", monitorDay},    {"SummaryList", summaryList}, {"ReturnsDay", returnsDay},
        {"SalesHistory", salesHistory}};
    for (const db::Dialect dialect : engines())
        for (const auto& [name, read] : reads)
            benchmark::RegisterBenchmark(
                (std::string(name) + "History5y/" + engineName(dialect)).c_str(), AgainstOneDay,
                dialect, read)
                ->UseManualTime()
                ->Unit(benchmark::kMicrosecond);
}
