#pragma once

#include <QDateTime>
#include <QString>
#include <functional>
#include <stdexcept>

namespace db {
class Db;
}
namespace platform {
class Platform;
}

namespace summary {

// Points of a generation inside its transaction, for tests: a throw abandons it.
struct SummaryHooks {
    std::function<void(int k)> beforeMark;  // before the k-th boleta (from 1) is marked
    std::function<void()> afterCommit;      // committed, the files not yet named
};

struct SummaryResult {
    QString name;  // the files' name without extension; empty when nothing was waiting
    int boletas = 0;
};

// The summary was recorded and its boletas marked, but its files could not get their names;
// they keep their temporary names until a recovery names them.
class NamingError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The daily summary of boletas in the tool's folder on this workstation.
class DailySummary {
public:
    DailySummary(db::Db& db, platform::Platform& platform);

    // The folder the files go to.
    QString folder() const;

    // Writes every boleta waiting up to the end of `now`'s day into one new pair of files of that
    // day and marks them reported by it, in one transaction under the summary lock: a boleta is
    // reported exactly when its line is in a complete, named summary. The correlative is the
    // next above the day's recorded summaries and the day's files in the folder. Throws, with
    // nothing marked and no file left, on any failure before the commit; NamingError after it.
    SummaryResult generate(const QDateTime& now, int userCode, const SummaryHooks& hooks = {});

    // Names the files of recorded summaries left under temporary names and removes this
    // workstation's temporaries of unrecorded ones, under the summary lock. Returns how many
    // files got their names.
    int recover();

private:
    int recoverLocked();

    db::Db& db_;
    platform::Platform& platform_;
};

}  // namespace summary
