// The seller's search screen over 100,000 product-brand links: loading the product list at
// login, and one keystroke in the search box (the prefix search and the repaint of the rows it
// shows) against a bare std::lower_bound over the same sorted names.

#include "ScaleData.h"
#include "Support.h"

#include "sales/UnitBusqueda.h"
#include "shell/UnitPrincipal.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableView>
#include <algorithm>

namespace {

constexpr int kLinks = 100000;
constexpr int kTypedNames = 400;  // names the seller starts typing, spread over the list
constexpr int kTypedLetters = 6;  // letters typed of each before starting over
const QDateTime kNow(QDate(2026, 3, 2), QTime(10, 0));

// The 100,000 links in a SQLite file, shared by every benchmark of the program.
struct Catalogue {
    Catalogue() : data(db::Dialect::SQLite) {
        bench::ScaleOptions options;
        options.links = kLinks;
        bench::generateAndReport(data.db(), options);
    }
    bench::ScratchDatabase data;
};

Catalogue& catalogue() {
    static std::unique_ptr<Catalogue> shared;
    if (!shared) {
        shared = std::make_unique<Catalogue>();
        bench::onRelease([] { shared.reset(); });
    }
    return *shared;
}

// Counts the paintings of a widget.
class PaintCounter : public QObject {
public:
    using QObject::QObject;
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// The seller's screen as a login leaves it: the main window shown offscreen at 1366 x 768 with
// the search screen maximised inside, and what the seller types: the first letters of names
// spread over the list, one letter at a time.
class SearchScreen {
public:
    SearchScreen() : program_(catalogue().data.db(), kNow, bench::kAdminUser) {
        principal_ = std::make_unique<shell::TPRINCIPAL>(program_.ctx());
        principal_->resize(1366, 768);
        principal_->show();
        screen_ = sales::TFormBusqueda::openOnDesktop(program_.ctx());
        screen_->findChild<QTableView*>(QStringLiteral("DBGrid1"))
            ->viewport()
            ->installEventFilter(&paints_);
        QApplication::processEvents();

        for (const session::ProductRow& row : program_.dm().products())
            sortedNames_.push_back(row.ProdNomComercial.toUpper());
        std::sort(sortedNames_.begin(), sortedNames_.end());
        bench::Rng rng(20260302);
        for (int i = 0; i < kTypedNames; ++i) {
            const QString name = program_.dm().products()[rng.below(kLinks)].ProdNomComercial;
            for (int n = 1; n <= std::min<int>(kTypedLetters, int(name.size())); ++n)
                prefixes_.push_back(name.left(n));
        }
    }

    // The keystroke of the next prefix: a key event into the search box. A new name starts with
    // the box emptied, outside the measured step.
    const QString& nextPrefix() {
        const QString& prefix = prefixes_[next_];
        next_ = (next_ + 1) % prefixes_.size();
        if (prefix.size() == 1) {
            screen_->findChild<QLineEdit*>(QStringLiteral("EdNombre"))->clear();
            QApplication::processEvents();
        }
        return prefix;
    }
    void type(QChar letter) {
        const QString text(letter);
        QKeyEvent press(QEvent::KeyPress, keyOf(letter), Qt::NoModifier, text);
        QKeyEvent release(QEvent::KeyRelease, keyOf(letter), Qt::NoModifier, text);
        QApplication::sendEvent(screen_->findChild<QLineEdit*>(QStringLiteral("EdNombre")), &press);
        QApplication::sendEvent(screen_->findChild<QLineEdit*>(QStringLiteral("EdNombre")),
                                &release);
    }

    // What the grid's painting asks its model for every visible cell.
    int readVisibleRows() const {
        const QTableView* grid = screen_->findChild<QTableView*>(QStringLiteral("DBGrid1"));
        const QAbstractItemModel* model = grid->model();
        const int first = std::max(0, grid->rowAt(0));
        int last = grid->rowAt(grid->viewport()->height() - 1);
        if (last < 0)
            last = model->rowCount() - 1;
        int cells = 0;
        for (int r = first; r <= last; ++r) {
            for (int c = 0; c < model->columnCount(); ++c) {
                const QModelIndex index = model->index(r, c);
                for (const int role :
                     {Qt::DisplayRole, Qt::FontRole, Qt::TextAlignmentRole, Qt::ForegroundRole,
                      Qt::BackgroundRole, Qt::CheckStateRole, Qt::DecorationRole})
                    benchmark::DoNotOptimize(model->data(index, role));
                ++cells;
            }
        }
        return cells;
    }

    // The floor: where std::lower_bound puts each prefix in the sorted names.
    int lowerBound(const QString& prefix) const {
        const auto it = std::lower_bound(sortedNames_.begin(), sortedNames_.end(), prefix);
        return it == sortedNames_.end() ? int(sortedNames_.size()) - 1
                                        : int(it - sortedNames_.begin());
    }
    double floorSeconds() const {
        const double perPass = bench::meanSeconds([&] {
            for (const QString& prefix : prefixes_)
                benchmark::DoNotOptimize(lowerBound(prefix));
        });
        return perPass / double(prefixes_.size());
    }

    // The screen's cursor is where the floor puts the prefix, in the data module and the grid.
    bool cursorAt(const QString& prefix) const {
        const int expected = lowerBound(prefix);
        return program_.dm().currentProductIndex() == expected &&
               screen_->findChild<QTableView*>(QStringLiteral("DBGrid1"))->currentIndex().row() ==
                   expected;
    }
    int paints() const { return paints_.paints; }

private:
    static int keyOf(QChar letter) {
        if (letter.isLetter() && letter.unicode() < 128)
            return Qt::Key_A + (letter.toUpper().unicode() - 'A');
        if (letter.isDigit())
            return Qt::Key_0 + letter.digitValue();
        return letter == QLatin1Char(' ') ? Qt::Key_Space : Qt::Key_unknown;
    }

    bench::Program program_;
    std::unique_ptr<shell::TPRINCIPAL> principal_;
    sales::TFormBusqueda* screen_ = nullptr;
    PaintCounter paints_;
    std::vector<QString> sortedNames_;
    std::vector<QString> prefixes_;
    std::size_t next_ = 0;
};

SearchScreen& searchScreen() {
    static std::unique_ptr<SearchScreen> shared;
    if (!shared) {
        shared = std::make_unique<SearchScreen>();
        bench::onRelease([] { shared.reset(); });
    }
    return *shared;
}

// One keystroke: the screen's own handling of the key (the prefix search, the grid's cursor,
// the product panel, the presentations of the new link), then, with `repaint`, the event loop's
// real painting of the window offscreen, or else the model data of every visible cell.
void Keystroke(benchmark::State& state, bool repaint) {
    SearchScreen& screen = searchScreen();
    bench::IterationClock clock(state);
    long cells = 0;
    for (auto _ : state) {
        const QString prefix = screen.nextPrefix();
        const int paintsBefore = screen.paints();
        clock.time([&] {
            screen.type(prefix.back());
            if (repaint)
                QApplication::processEvents();
            else
                cells += screen.readVisibleRows();
        });
        if (!screen.cursorAt(prefix)) {
            state.SkipWithError("the cursor is not on the first name with the typed prefix");
            break;
        }
        if (repaint && screen.paints() == paintsBefore) {
            state.SkipWithError("the product grid was not repainted");
            break;
        }
        if (!repaint)
            QApplication::processEvents();
    }
    clock.reportAgainst(screen.floorSeconds());
    if (!repaint)
        state.counters["cells"] =
            benchmark::Counter(double(cells), benchmark::Counter::kAvgIterations);
    state.counters["rss_MB"] = bench::residentMegabytes();
}

// A login's reading of the product list (and with `presentations`, every presentation and
// cross-check row too) into a data module of its own. The memory figures are taken with the
// heap trimmed, as the program trims it before opening most screens: what the lists keep.
void Login(benchmark::State& state, bool presentations) {
    db::Db& db = catalogue().data.db();
    bench::trimHeap();
    const double before = bench::residentMegabytes();
    auto dm = std::make_unique<session::TDM>(db);
    if (!presentations)
        dm->closePresentations();
    bench::IterationClock clock(state);
    for (auto _ : state) {
        clock.time([&] {
            if (presentations)
                dm->openSessionDatasets();
            else
                dm->openProductList();
        });
    }
    if (dm->products().size() != std::size_t(kLinks))
        state.SkipWithError("the product list does not hold every link");
    bench::trimHeap();
    state.counters["links"] = double(dm->products().size());
    state.counters["rss_MB"] = bench::residentMegabytes();
    state.counters["lists_MB"] = bench::residentMegabytes() - before;
}

}  // namespace

void bench::registerBenchmarks() {
    benchmark::RegisterBenchmark("Login/ProductList/SQLite", Login, false)
        ->UseManualTime()
        ->MinTime(3)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Login/SessionDatasets/SQLite", Login, true)
        ->UseManualTime()
        ->MinTime(3)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Keystroke/VisibleRowsData", Keystroke, false)
        ->UseManualTime()
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("Keystroke/OffscreenRepaint", Keystroke, true)
        ->UseManualTime()
        ->Unit(benchmark::kMicrosecond);
}
