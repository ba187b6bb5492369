// The product-brand assignment window over the scale catalogue (100,000 links, about 77,000
// products, 400 brands): its activation, which reads both lists again into their grids, and one
// keystroke in its product search against a bare std::lower_bound over the same sorted names.

#include "ScaleData.h"
#include "Support.h"

#include "catalogue/UnitProductoLaboratorio.h"
#include "db/procedures/Catalogue.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableView>
#include <algorithm>

namespace {

constexpr int kLinks = 100000;
constexpr int kTypedNames = 400;
constexpr int kTypedLetters = 6;
const QDateTime kNow(QDate(2026, 3, 2), QTime(10, 0));

struct Catalogue {
    explicit Catalogue(db::Dialect dialect) : data(dialect) {
        bench::ScaleOptions options;
        options.links = kLinks;
        bench::generateAndReport(data.db(), options);
    }
    bench::ScratchDatabase data;
};

Catalogue& catalogue(db::Dialect dialect) {
    static std::map<db::Dialect, std::unique_ptr<Catalogue>> shared;
    auto& one = shared[dialect];
    if (!one) {
        one = std::make_unique<Catalogue>(dialect);
        bench::onRelease([] { shared.clear(); });
    }
    return *one;
}

// The assignment window shown offscreen on the scale catalogue of one engine.
class AssignmentWindow {
public:
    explicit AssignmentWindow(db::Dialect dialect)
        : program_(catalogue(dialect).data.db(), kNow, bench::kAdminUser),
          form_(catalogue::TFormProductoLaboratorio::open(program_.ctx())) {
        QApplication::processEvents();
        for (const db::proc::ProductoChoice& p : db::proc::productoChoices(program_.ctx().db))
            sortedNames_.push_back(p.ProdNomComercial.toUpper());
        std::stable_sort(sortedNames_.begin(), sortedNames_.end());
        bench::Rng rng(20260302);
        for (int i = 0; i < kTypedNames; ++i) {
            const QString name = sortedNames_[std::size_t(rng.below(int(sortedNames_.size())))];
            for (int n = 1; n <= std::min<int>(kTypedLetters, int(name.size())); ++n)
                prefixes_.push_back(name.left(n));
        }
    }
    ~AssignmentWindow() { delete form_; }

    // The window leaves the activation and gets it back.
    void activate() {
        QEvent off(QEvent::WindowDeactivate);
        QApplication::sendEvent(form_, &off);
        QEvent on(QEvent::WindowActivate);
        QApplication::sendEvent(form_, &on);
    }
    int listedProducts() const { return grid()->model()->rowCount(); }
    int listedBrands() const {
        return form_->findChild<QTableView*>(QStringLiteral("DBGrid2"))->model()->rowCount();
    }
    std::size_t products() const { return sortedNames_.size(); }

    const QString& nextPrefix() {
        const QString& prefix = prefixes_[next_];
        next_ = (next_ + 1) % prefixes_.size();
        if (prefix.size() == 1)
            box()->clear();
        return prefix;
    }
    void type(QChar letter) {
        const QString text(letter);
        const int key = letter.isLetter() && letter.unicode() < 128
                            ? Qt::Key_A + (letter.toUpper().unicode() - 'A')
                            : Qt::Key_unknown;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(box(), &press);
        QApplication::sendEvent(box(), &release);
    }
    int lowerBound(const QString& prefix) const {
        const auto it = std::lower_bound(sortedNames_.begin(), sortedNames_.end(), prefix);
        return int(it - sortedNames_.begin());
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
    QLineEdit* box() const { return form_->findChild<QLineEdit*>(QStringLiteral("EdProducto")); }
    QTableView* grid() const { return form_->findChild<QTableView*>(QStringLiteral("DBGrid1")); }

    bench::Program program_;
    catalogue::TFormProductoLaboratorio* form_;
    std::vector<QString> sortedNames_;
    std::vector<QString> prefixes_;
    std::size_t next_ = 0;
};

AssignmentWindow& window(db::Dialect dialect) {
    static std::map<db::Dialect, std::unique_ptr<AssignmentWindow>> shared;
    auto& one = shared[dialect];
    if (!one) {
        one = std::make_unique<AssignmentWindow>(dialect);
        bench::onRelease([] { shared.clear(); });
    }
    return *one;
}

// Activation: both lists read again and sorted into their grids.
void Activation(benchmark::State& state, db::Dialect dialect) {
    AssignmentWindow& w = window(dialect);
    bench::IterationClock clock(state);
    for (auto _ : state)
        clock.time([&] { w.activate(); });
    if (std::size_t(w.listedProducts()) != w.products() || w.listedBrands() == 0)
        state.SkipWithError("the lists do not hold every product and brand");
    state.counters["products"] = double(w.listedProducts());
    state.counters["brands"] = double(w.listedBrands());
    state.counters["rss_MB"] = bench::residentMegabytes();
}

// One keystroke in the product search: the prefix search and the grid's cursor.
void Keystroke(benchmark::State& state) {
    AssignmentWindow& w = window(db::Dialect::SQLite);
    bench::IterationClock clock(state);
    for (auto _ : state) {
        const QString prefix = w.nextPrefix();
        clock.time([&] { w.type(prefix.back()); });
        if (!w.cursorAt(prefix)) {
            state.SkipWithError("the cursor is not on the first name with the typed prefix");
            break;
        }
    }
    clock.reportAgainst(w.floorSeconds());
}

}  // namespace

void bench::registerBenchmarks() {
    for (const db::Dialect dialect : bench::engines())
        benchmark::RegisterBenchmark(("AssignmentActivation/" + bench::engineName(dialect)).c_str(),
                                     Activation, dialect)
            ->UseManualTime()
            ->MinTime(3)
            ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("AssignmentKeystroke/EdProducto", Keystroke)
        ->UseManualTime()
        ->Unit(benchmark::kMicrosecond);
}
