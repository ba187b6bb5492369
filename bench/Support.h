#pragma once

#include "core/Clock.h"
#include "db/Db.h"
#include "db/Settings.h"
#include "platform/SystemPlatform.h"
#include "session/AppContext.h"
#include "session/Commands.h"
#include "session/Session.h"
#include "session/UnitDM.h"
#include "ui/Messages.h"

#include <benchmark/benchmark.h>

#include <QStringList>
#include <QTemporaryDir>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace bench {

// Every bench program defines this; the shared main() calls it once Qt is up, so that the
// benchmarks can depend on the environment (VELCARIS_BENCH_PG).
void registerBenchmarks();

// Shared fixtures (windows, connections) must go while Qt is still up: main() runs every
// release given here once the benchmarks have run.
void onRelease(std::function<void()> release);
void releaseAll();

// One T per engine, made from the engine on first use and released with the other fixtures.
template <class T>
T& perEngine(db::Dialect dialect) {
    static std::map<db::Dialect, std::unique_ptr<T>> made;
    std::unique_ptr<T>& one = made[dialect];
    if (!one) {
        one = std::make_unique<T>(dialect);
        if (made.size() == 1)
            onRelease([] { made.clear(); });
    }
    return *one;
}

// The engines to measure: SQLite always, PostgreSQL when VELCARIS_BENCH_PG names a server
// (postgresql://user@host:port/db or postgresql://user@/db?host=/socket/dir) where the bench may
// create databases.
std::vector<db::Dialect> engines();
std::string engineName(db::Dialect dialect);

// A throwaway, migrated database: a SQLite file in a temporary folder, or a database of its
// own on the PostgreSQL server, dropped at destruction.
class ScratchDatabase {
public:
    explicit ScratchDatabase(db::Dialect dialect);
    ~ScratchDatabase();
    ScratchDatabase(const ScratchDatabase&) = delete;
    ScratchDatabase& operator=(const ScratchDatabase&) = delete;

    db::Db& db() { return *main_; }
    const db::ConnectionInfo& info() const { return info_; }

private:
    QTemporaryDir dir_;
    db::ConnectionInfo info_;
    QString pgName_;
    std::unique_ptr<db::Db> main_;
};

// A database kept between runs under a name (a SQLite file in the bench data folder, a database
// of the PostgreSQL server), made by `fill` when it is missing: filled under another name and
// given its own only once complete, so a run stopped half-way leaves nothing that passes for it.
// The bench data folder is VELCARIS_BENCH_DATA, else bench-data in the build folder.
std::unique_ptr<db::Db> keptDatabase(db::Dialect dialect, const QString& name,
                                     const std::function<void(db::Db&)>& fill);

// Message boxes that show nothing: the last text is kept, every question is answered No.
class SilentMessages : public ui::Messages {
public:
    QString last;

protected:
    void showNotice(const QString& text, Kind) override { last = text; }
    bool ask(const QString& text) override {
        last = text;
        return false;
    }
};

// A program's surroundings on a database, as after a login: a settings file and drives C:, D:
// and E: of its own (two shops never share a tax folder), a fixed clock, silent messages, the
// real platform services and the data module with its session datasets open; no main window.
class Program {
public:
    Program(db::Db& db, const QDateTime& now, int sessionUser);

    session::AppContext& ctx() { return ctx_; }
    session::TDM& dm() { return dm_; }
    const session::TDM& dm() const { return dm_; }
    core::FixedClock& clock() { return clock_; }

private:
    static db::Settings ownSettings(const QTemporaryDir& folder);

    QTemporaryDir folder_;
    db::Settings settings_ = ownSettings(folder_);
    core::FixedClock clock_;
    SilentMessages messages_;
    platform::SystemPlatform platform_{settings_};
    session::TDM dm_;
    session::Session session_;
    session::Commands commands_;
    session::AppContext ctx_;
};

// The process's resident memory, from /proc/self/statm.
double residentMegabytes();
// Gives the heap's free memory back to the system, as the program's working-set trim does.
void trimHeap();

using Clock = std::chrono::steady_clock;

inline double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Benchmarks run with manual time: each iteration times only its measured step, so the
// preparation of the next one (a fresh sale, an emptied box) stays out of the figures. A step
// compared with a floor can time the floor in the same iteration, so that both meet the same
// machine (a busy disk, a checkpoint) and their ratio stays fair. A step may have several floors,
// each by its name.
class IterationClock {
public:
    explicit IterationClock(benchmark::State& state) : state_(state) {}

    template <class Op>
    void time(Op&& op) {
        const double s = timed(op);
        state_.SetIterationTime(s);
        step_.add(s);
    }
    template <class Op>
    void timeFloor(Op&& op) {
        timeFloor(kFloor, op);
    }
    template <class Op>
    void timeFloor(const std::string& name, Op&& op) {
        floors_[name].add(timed(op));
    }
    double mean() const { return step_.mean(); }

    // Reports the floor in microseconds ("floor_us"), and the mean step time as a multiple of
    // it ("x_floor"): the given floor, or the mean of the floors timed alongside. Floors of
    // other names are reported as "<name>_us" and "x_<name>".
    void reportAgainst(double floorSeconds) const { report(kFloor, floorSeconds); }
    void reportAgainstFloor() const;

private:
    struct Sum {
        double total = 0;
        long count = 0;
        void add(double s) {
            total += s;
            ++count;
        }
        double mean() const { return count == 0 ? 0.0 : total / double(count); }
    };
    template <class Op>
    static double timed(Op&& op) {
        const Clock::time_point start = Clock::now();
        op();
        return secondsSince(start);
    }
    void report(const std::string& name, double floorSeconds) const;

    static inline const std::string kFloor = "floor";
    benchmark::State& state_;
    Sum step_;
    std::map<std::string, Sum> floors_;
};

// Writes `count` small files into `folder` and makes them durable as the tax files are: written
// without a sync in between, their writing started together, each file then synced, then the
// folder. Returns their paths.
QStringList writeSyncedFiles(const QString& folder, int count);

// The mean time of op over repeated calls lasting at least minSeconds (at least three calls).
double meanSeconds(const std::function<void()>& op, double minSeconds = 0.3);

}  // namespace bench
