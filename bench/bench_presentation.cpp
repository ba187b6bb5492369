// The DIGEMID code's duplicate look-up on the scale catalogue (100,000 links, about 200,000
// presentations, the medicines' codes unique), against a single-row read of a presentation by
// its key: with its index the look-up is one index probe as well.

#include "ScaleData.h"
#include "Support.h"

#include "db/procedures/Catalogue.h"
#include "db/procedures/SessionData.h"

namespace {

constexpr int kLinks = 100000;

struct Presentations {
    explicit Presentations(db::Dialect dialect) : data(dialect) {
        bench::ScaleOptions options;
        options.links = kLinks;
        count = bench::generateAndReport(data.db(), options).presentations;
        for (const db::proc::PresentationRow& row : db::proc::presentationRows(data.db()))
            if (row.PresCodDigemid > 0)
                held.push_back(row.PresCodDigemid);
    }
    bench::ScratchDatabase data;
    int count = 0;
    std::vector<int> held;  // the codes presentations hold
};

Presentations& presentations(db::Dialect dialect) {
    static std::map<db::Dialect, std::unique_ptr<Presentations>> shared;
    auto& one = shared[dialect];
    if (!one) {
        one = std::make_unique<Presentations>(dialect);
        bench::onRelease([] { shared.clear(); });
    }
    return *one;
}

// A code entered for one presentation, looked up among the others, with the presentation's own
// read by key alongside as the floor. Half the codes are held by another presentation.
void DuplicateLookUp(benchmark::State& state, db::Dialect dialect) {
    Presentations& p = presentations(dialect);
    db::Db& db = p.data.db();
    bench::Rng rng(20260302);
    bench::IterationClock clock(state);
    long found = 0;
    long asked = 0;
    for (auto _ : state) {
        const int self = 1 + rng.below(p.count);
        const int code = asked++ % 2 == 0 ? p.held[std::size_t(rng.below(int(p.held.size())))]
                                          : 900000000 + self;
        clock.time([&] { found += db::proc::codDigemidEnOtraPresentacion(db, code, self); });
        clock.timeFloor([&] { benchmark::DoNotOptimize(db::proc::presentacionPrecios(db, self)); });
    }
    if (found == 0)
        state.SkipWithError("no code was found among the presentations");
    state.counters["presentations"] = double(p.count);
    clock.reportAgainstFloor();
}

}  // namespace

void bench::registerBenchmarks() {
    for (const db::Dialect dialect : bench::engines())
        benchmark::RegisterBenchmark(("DigemidDuplicate/" + bench::engineName(dialect)).c_str(),
                                     DuplicateLookUp, dialect)
            ->UseManualTime()
            ->Unit(benchmark::kMicrosecond);
}
