// The exchange window's read of one presentation (its batches since the first of the year and
// the exchanges of the first one) with a year of intakes behind it (about 11,000 batches on
// 20,000 links) against the same with one day of intakes; and the cross-check window's
// valuation, the sums over 10,000 cross-check rows of the shop.

#include "ScaleData.h"
#include "Support.h"

#include "db/procedures/Exchange.h"

#include <QSqlQuery>

namespace {

constexpr int kLinks = 20000;
constexpr int kCrossChecks = 10000;
const QDateTime kNow(QDate(2026, 3, 2), QTime(10, 0));
const QDateTime kYearStart(QDate(2026, 1, 1), QTime(0, 0));

template <int Days>
struct Shop {
    explicit Shop(db::Dialect dialect) : data(dialect) {
        bench::ScaleOptions options;
        options.links = kLinks;
        options.days = Days;
        options.linesPerDay = 200;
        presentations = bench::generateAndReport(data.db(), options).presentations;
        QSqlQuery q = data.db().exec(
            QStringLiteral("SELECT DISTINCT CodPresentacion FROM KARDEXINGRESO ORDER BY 1"));
        while (q.next())
            received.push_back(db::integer(q.value(0)));
        // An exchange of every tenth batch, so that the exchange grid has rows to read.
        data.db().exec(
            QStringLiteral("INSERT INTO CANJE (CanCod, CodPresentacion, KarInCod, "
                           "CanEstado, CanUnidades, CanUnidPen) "
                           "SELECT KarInCod, CodPresentacion, KarInCod, 'PCD', 1, 0 "
                           "FROM KARDEXINGRESO WHERE KarInCod % 10 = 0"));
        data.db().exec(QStringLiteral("UPDATE CANJE SET CanFechaSalida = ?"), {kNow});
    }
    bench::ScratchDatabase data;
    int presentations = 0;
    std::vector<int> received;  // presentations with batches
};

void addCrossChecks(db::Db& db, int presentations) {
    db::Db::Transaction tx(db);
    bench::Rng rng(20260302);
    for (int i = 1; i <= kCrossChecks; ++i) {
        const int units = 1 + rng.below(5);
        const bool shortage = rng.chance(0.5);
        db.exec(QStringLiteral("INSERT INTO CRUCE (CruceCod, CodPresentacion, UsuCod, CruCantidad, "
                               "CruEstado, CruFecha) VALUES (?, ?, ?, ?, ?, ?)"),
                {i, 1 + rng.below(presentations), bench::kAdminUser, shortage ? units : -units,
                 shortage ? db::proc::kFalta : db::proc::kSobra, kNow});
    }
    tx.commit();
}

template <int Days>
void BatchList(benchmark::State& state, db::Dialect dialect) {
    Shop<Days>& shop = bench::perEngine<Shop<Days>>(dialect);
    db::Db& db = shop.data.db();
    bench::Rng rng(20260302);
    bench::IterationClock clock(state);
    std::size_t rows = 0;
    for (auto _ : state) {
        const int code = shop.received[std::size_t(rng.below(int(shop.received.size())))];
        clock.time([&] {
            const auto batches = db::proc::lotesCanje(db, code, kYearStart);
            rows += batches.size();
            if (!batches.empty())
                benchmark::DoNotOptimize(db::proc::canjesDeLote(db, batches.front().KarInCod));
        });
    }
    state.counters["batches"] =
        double(db::integer(db.scalar(QStringLiteral("SELECT COUNT(*) FROM KARDEXINGRESO"))));
    state.counters["rows_per_read"] = double(rows) / double(std::max<long>(state.iterations(), 1));
}

void Valuation(benchmark::State& state, db::Dialect dialect) {
    Shop<365>& shop = bench::perEngine<Shop<365>>(dialect);
    db::Db& db = shop.data.db();
    if (db::integer(db.scalar(QStringLiteral("SELECT COUNT(*) FROM CRUCE"))) == 0)
        addCrossChecks(db, shop.presentations);
    bench::IterationClock clock(state);
    for (auto _ : state)
        clock.time([&] { benchmark::DoNotOptimize(db::proc::montosCruce(db)); });
    state.counters["rows"] =
        double(db::integer(db.scalar(QStringLiteral("SELECT COUNT(*) FROM CRUCE"))));
}

}  // namespace

void bench::registerBenchmarks() {
    for (const db::Dialect dialect : bench::engines()) {
        const std::string engine = bench::engineName(dialect);
        benchmark::RegisterBenchmark(("ExchangeBatchListOneDay/" + engine).c_str(), BatchList<1>,
                                     dialect)
            ->UseManualTime()
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("ExchangeBatchListYear/" + engine).c_str(), BatchList<365>,
                                     dialect)
            ->UseManualTime()
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("CrossCheckValuation10000/" + engine).c_str(), Valuation,
                                     dialect)
            ->UseManualTime()
            ->Unit(benchmark::kMicrosecond);
    }
}
