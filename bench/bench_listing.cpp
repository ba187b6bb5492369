// The advanced search with every box empty over 100,000 product-brand links (about 165,000
// presentations): the time from "Consultar" to its first screen of rows and to its last row,
// and the same read taken whole before anything is shown, as every listing was read before.

#include "ScaleData.h"
#include "Support.h"

#include "db/procedures/Inclusion.h"
#include "sales/UnitProdIncluya.h"

#include <QApplication>
#include <QPushButton>
#include <QTableView>

namespace {

const QDateTime kNow(QDate(2026, 3, 2), QTime(10, 0));
constexpr double kTargetSeconds = 0.3;

struct Catalogue {
    explicit Catalogue(db::Dialect dialect) : data(dialect) {
        bench::generateAndReport(data.db(), {});
    }
    bench::ScratchDatabase data;
};

class SearchWindow {
public:
    explicit SearchWindow(db::Dialect dialect)
        : program_(bench::perEngine<Catalogue>(dialect).data.db(), kNow, bench::kAdminUser) {
        form_ = sales::TFormProdIncluya::open(program_.ctx());
        QApplication::processEvents();
    }
    ~SearchWindow() { delete form_; }

    db::Db& db() { return program_.ctx().db; }
    void consult() { form_->findChild<QPushButton*>(QStringLiteral("SBConsultar"))->click(); }
    int rows() const {
        return form_->findChild<QTableView*>(QStringLiteral("DBGrid1"))->model()->rowCount();
    }
    bool reading() const { return form_->findChild<db::Reader*>()->running(); }
    // Runs the event loop until `done`.
    template <class Done>
    void until(Done done) {
        while (!done())
            QApplication::processEvents(QEventLoop::AllEvents, 5);
    }

private:
    bench::Program program_;
    sales::TFormProdIncluya* form_;
};

// The first screen, and the last row as its floor ("x_floor": the whole listing over its first
// screen); "x_target": the first screen over 300 ms; "whole_ms": the read taken whole.
void FirstScreen(benchmark::State& state, db::Dialect dialect) {
    SearchWindow& w = bench::perEngine<SearchWindow>(dialect);
    bench::IterationClock clock(state);
    double last = 0;
    for (auto _ : state) {
        const bench::Clock::time_point start = bench::Clock::now();
        clock.time([&] {
            w.consult();
            w.until([&] { return w.rows() > 0; });
        });
        w.until([&] { return !w.reading(); });
        last += bench::secondsSince(start);
    }
    last /= double(state.iterations());
    const double whole = bench::meanSeconds(
        [&] { benchmark::DoNotOptimize(db::proc::searchPresentations(w.db(), {})); }, 1);
    state.counters["rows"] = double(w.rows());
    state.counters["x_target"] = clock.mean() / kTargetSeconds;
    state.counters["last_row_ms"] = last * 1000;
    state.counters["whole_ms"] = whole * 1000;
    bench::trimHeap();
    state.counters["rss_MB"] = bench::residentMegabytes();
}

}  // namespace

void bench::registerBenchmarks() {
    for (db::Dialect dialect : bench::engines())
        benchmark::RegisterBenchmark(
            ("ProdIncluyaFirstScreen/" + bench::engineName(dialect)).c_str(), FirstScreen, dialect)
            ->UseManualTime()
            ->Iterations(5)
            ->Unit(benchmark::kMillisecond);
}
