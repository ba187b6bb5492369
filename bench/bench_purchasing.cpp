// The order's presentation look-up over the scale catalogue (100,000 links, about 200,000
// presentations): opening it, which reads every presentation with its brand and sorts them by
// type into the grid, and one keystroke in its name box against a bare std::lower_bound over
// the same sorted types.

#include "ScaleData.h"
#include "Support.h"

#include "db/procedures/Purchasing.h"
#include "purchasing/UnitDetallePedido.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableView>
#include <algorithm>

namespace {

constexpr int kLinks = 100000;
constexpr int kTypedTypes = 400;
constexpr int kTypedLetters = 6;
const QDateTime kNow(QDate(2026, 3, 2), QTime(10, 0));

struct Catalogue {
    explicit Catalogue(db::Dialect dialect) : data(dialect) {
        bench::ScaleOptions options;
        options.links = kLinks;
        bench::generateAndReport(data.db(), options);
        program = std::make_unique<bench::Program>(data.db(), kNow, bench::kAdminUser);
    }
    session::AppContext& ctx() { return program->ctx(); }
    bench::ScratchDatabase data;
    std::unique_ptr<bench::Program> program;
};

// An open look-up on the SQLite catalogue, with the typed prefixes and the sorted types.
class LookUp {
public:
    explicit LookUp(Catalogue& catalogue)
        : form_(new purchasing::TFormDetallePedido(catalogue.ctx(), nullptr)) {
        form_->load();
        for (const auto& p : db::proc::presentacionesConsulta(catalogue.ctx().db))
            sortedTypes_.push_back(p.PresTipo.toUpper());
        std::stable_sort(sortedTypes_.begin(), sortedTypes_.end());
        bench::Rng rng(20260302);
        for (int i = 0; i < kTypedTypes; ++i) {
            const QString type = sortedTypes_[std::size_t(rng.below(int(sortedTypes_.size())))];
            for (int n = 1; n <= std::min<int>(kTypedLetters, int(type.size())); ++n)
                prefixes_.push_back(type.left(n));
        }
    }
    ~LookUp() { delete form_; }

    const QString& nextPrefix() {
        const QString& prefix = prefixes_[next_];
        next_ = (next_ + 1) % prefixes_.size();
        if (prefix.size() == 1)
            box()->clear();
        return prefix;
    }
    void type(QChar letter) {
        const QString text(letter);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, text);
        QApplication::sendEvent(box(), &press);
        QApplication::sendEvent(box(), &release);
    }
    int lowerBound(const QString& prefix) const {
        return int(std::lower_bound(sortedTypes_.begin(), sortedTypes_.end(), prefix) -
                   sortedTypes_.begin());
    }
    bool cursorAt(const QString& prefix) const {
        return grid()->currentIndex().row() == lowerBound(prefix);
    }
    double floorSeconds() const {
        const double perPass = bench::meanSeconds([&] {
            for (const QString& prefix : prefixes_)
                benchmark::DoNotOptimize(lowerBound(prefix));
        });
        return perPass / double(prefixes_.size());
    }

private:
    QLineEdit* box() const { return form_->findChild<QLineEdit*>(QStringLiteral("Ednombre")); }
    QTableView* grid() const { return form_->findChild<QTableView*>(QStringLiteral("DBGrid1")); }

    purchasing::TFormDetallePedido* form_;
    std::vector<QString> sortedTypes_;
    std::vector<QString> prefixes_;
    std::size_t next_ = 0;
};

// Opening: the window built, every presentation read and sorted into its grid.
void Opening(benchmark::State& state, db::Dialect dialect) {
    Catalogue& catalogue = bench::perEngine<Catalogue>(dialect);
    bench::IterationClock clock(state);
    int listed = 0;
    for (auto _ : state)
        clock.time([&] {
            purchasing::TFormDetallePedido form(catalogue.ctx(), nullptr);
            form.load();
            listed = form.rowCount();
        });
    state.counters["presentations"] = double(listed);
    state.counters["rss_MB"] = bench::residentMegabytes();
}

// One keystroke in the name box: the prefix search and the grid's cursor.
void Keystroke(benchmark::State& state) {
    static LookUp* lookUp = nullptr;
    if (!lookUp) {
        lookUp = new LookUp(bench::perEngine<Catalogue>(db::Dialect::SQLite));
        bench::onRelease([] {
            delete lookUp;
            lookUp = nullptr;
        });
    }
    bench::IterationClock clock(state);
    for (auto _ : state) {
        const QString prefix = lookUp->nextPrefix();
        clock.time([&] { lookUp->type(prefix.back()); });
        if (!lookUp->cursorAt(prefix)) {
            state.SkipWithError("the cursor is not on the first type with the typed prefix");
            break;
        }
    }
    clock.reportAgainst(lookUp->floorSeconds());
}

}  // namespace

void bench::registerBenchmarks() {
    for (const db::Dialect dialect : bench::engines())
        benchmark::RegisterBenchmark(("LookUpOpening/" + bench::engineName(dialect)).c_str(),
                                     Opening, dialect)
            ->UseManualTime()
            ->MinTime(3)
            ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("LookUpKeystroke/Ednombre", Keystroke)
        ->UseManualTime()
        ->Unit(benchmark::kMicrosecond);
}
