// Listings and windows over the five-year shop (bench/ScaleData.h), on each engine:
// "<Window>FirstScreen/<engine>", the time from the request to the first screen of rows shown
// ("x_target": over 300 ms; "last_row_ms": to the last row; "rows"), and "<Window>Open/<engine>",
// a window's construction, activation and first offscreen paint. The advanced search runs with
// every box empty, through its window; the returns window's range listing (the most sold
// presentation over the five years) and the daily summary's list of seven days through the
// reader the windows use, into a grid's model.

#include "ScaleData.h"
#include "Support.h"

#include "db/Reader.h"
#include "db/procedures/Inclusion.h"
#include "db/procedures/Returns.h"
#include "db/procedures/Summary.h"
#include "sales/UnitProdIncluya.h"
#include "summary/UnitResumenDiario.h"
#include "ui/TableModel.h"

#include <QApplication>
#include <QPushButton>
#include <QTableView>

namespace {

const QDate kToday = bench::ScaleOptions().lastDay;
const QDateTime kNow(kToday, QTime(10, 0));
constexpr double kTargetSeconds = 0.3;
constexpr int kDailySeller = 1;  // the generator's most popular presentation

db::Db& shop(db::Dialect dialect) {
    return bench::perEngine<bench::FiveYearsAndDay>(dialect).years();
}

// Runs the event loop until `done`, sleeping while no event comes (the rows arrive as events).
template <class Done>
void until(Done done) {
    while (!done())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// Times a listing: `start` requests it, `rows` counts what is shown, `reading` says whether
// rows are still to come.
template <class Start, class Rows, class Reading>
void timeListing(benchmark::State& state, Start start, Rows rows, Reading reading) {
    bench::IterationClock clock(state);
    double last = 0;
    for (auto _ : state) {
        const bench::Clock::time_point begun = bench::Clock::now();
        clock.time([&] {
            start();
            until([&] { return rows() > 0 || !reading(); });
        });
        until([&] { return !reading(); });
        last += bench::secondsSince(begun);
    }
    state.counters["rows"] = double(rows());
    state.counters["x_target"] = clock.mean() / kTargetSeconds;
    state.counters["last_row_ms"] = last * 1000 / double(state.iterations());
    bench::trimHeap();
    state.counters["rss_MB"] = bench::residentMegabytes();
}

class SearchWindow {
public:
    explicit SearchWindow(db::Dialect dialect) : program_(shop(dialect), kNow, bench::kAdminUser) {
        form_ = sales::TFormProdIncluya::open(program_.ctx());
        QApplication::processEvents();
    }
    ~SearchWindow() { delete form_; }

    void consult() { form_->findChild<QPushButton*>(QStringLiteral("SBConsultar"))->click(); }
    int rows() const {
        return form_->findChild<QTableView*>(QStringLiteral("DBGrid1"))->model()->rowCount();
    }
    bool reading() const { return form_->findChild<db::Reader*>()->running(); }

private:
    bench::Program program_;
    sales::TFormProdIncluya* form_;
};

// "whole_ms": the search's rows read at once, as the window read them before showing any.
void ProdIncluyaFirstScreen(benchmark::State& state, db::Dialect dialect) {
    SearchWindow& w = bench::perEngine<SearchWindow>(dialect);
    timeListing(
        state, [&] { w.consult(); }, [&] { return w.rows(); }, [&] { return w.reading(); });
    state.counters["whole_ms"] =
        1000 *
        bench::meanSeconds(
            [&] { benchmark::DoNotOptimize(db::proc::searchPresentations(shop(dialect), {})); }, 1);
}

// A listing read by the windows' reader into a grid's model.
template <class Row>
void ReaderFirstScreen(benchmark::State& state, db::Dialect dialect, db::Listing listing,
                       Row (*convert)(const QSqlQuery&)) {
    db::Db& db = shop(dialect);
    db::Reader reader(db);
    std::unique_ptr<ui::VectorModel<Row>> model;
    timeListing(
        state,
        [&] {
            model = std::make_unique<ui::VectorModel<Row>>();
            reader.listInto(listing, convert, model.get());
        },
        [&] { return model->rowCount(); }, [&] { return reader.running(); });
}

void DevolucionFirstScreen(benchmark::State& state, db::Dialect dialect) {
    ReaderFirstScreen(
        state, dialect,
        db::proc::ventasDevolucionListing(
            kDailySeller, {QDateTime(kToday.addDays(-bench::FiveYearsAndDay::kDays), QTime(0, 0)),
                           QDateTime(kToday.addDays(1), QTime(0, 0))}),
        &db::proc::ventaDevolucion);
}

void ResumenDiarioFirstScreen(benchmark::State& state, db::Dialect dialect) {
    ReaderFirstScreen(
        state, dialect,
        db::proc::summaryBoletasListing(core::midnights(kToday.addDays(-6), kToday.addDays(1))),
        &db::proc::boletaOf);
}

// A window built, shown, activated and painted offscreen, then closed.
template <class Open>
void timeOpening(benchmark::State& state, db::Dialect dialect, Open open) {
    bench::Program program(shop(dialect), kNow, bench::kAdminUser);
    bench::IterationClock clock(state);
    for (auto _ : state) {
        QWidget* form = nullptr;
        clock.time([&] {
            form = open(program.ctx());
            form->activateWindow();
            QApplication::processEvents();
            benchmark::DoNotOptimize(form->grab());
        });
        delete form;
        QApplication::processEvents();
    }
    state.counters["x_target"] = clock.mean() / kTargetSeconds;
}

void ProdIncluyaOpen(benchmark::State& state, db::Dialect dialect) {
    timeOpening(state, dialect,
                [](session::AppContext& ctx) { return sales::TFormProdIncluya::open(ctx); });
}

void ResumenDiarioOpen(benchmark::State& state, db::Dialect dialect) {
    timeOpening(state, dialect, [](session::AppContext& ctx) {
        auto* form = new summary::TFormArchivoPlano(ctx);
        form->showSummary();
        return form;
    });
}

}  // namespace

void bench::registerBenchmarks() {
    using Bench = void (*)(benchmark::State&, db::Dialect);
    const std::pair<const char*, Bench> listings[] = {
        {"ProdIncluyaFirstScreen", ProdIncluyaFirstScreen},
        {"DevolucionFirstScreen", DevolucionFirstScreen},
        {"ResumenDiarioFirstScreen", ResumenDiarioFirstScreen}};
    const std::pair<const char*, Bench> openings[] = {{"ProdIncluyaOpen", ProdIncluyaOpen},
                                                      {"ResumenDiarioOpen", ResumenDiarioOpen}};
    for (const db::Dialect dialect : engines()) {
        for (const auto& [name, run] : listings)
            benchmark::RegisterBenchmark((std::string(name) + "/" + engineName(dialect)).c_str(),
                                         run, dialect)
                ->UseManualTime()
                ->Iterations(5)
                ->Unit(benchmark::kMillisecond);
        for (const auto& [name, run] : openings)
            benchmark::RegisterBenchmark((std::string(name) + "/" + engineName(dialect)).c_str(),
                                         run, dialect)
                ->UseManualTime()
                ->Iterations(10)
                ->Unit(benchmark::kMillisecond);
    }
}
