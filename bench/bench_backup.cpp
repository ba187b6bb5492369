// The database's copy and its archive on each engine, for a shop of 100,000 product-brand links
// with a year of sales: the copy with its check and renaming, and the archive plain and with
// AES-256. PostgreSQL runs when VELCARIS_BENCH_PG names a server.

#include "ScaleData.h"
#include "Support.h"

#include "db/procedures/Backup.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <map>
#include <string>

namespace {

// The scale shop and a folder for its copies.
class BackupShop {
public:
    explicit BackupShop(db::Dialect dialect) : database_(dialect) {
        bench::ScaleOptions options;
        options.days = 365;
        bench::generateAndReport(database_.db(), options);
    }
    const db::ConnectionInfo& info() const { return database_.info(); }
    QString folder() const { return folder_.path(); }
    QString copy() const { return QDir(folder()).filePath(db::proc::kBackupFile); }

private:
    bench::ScratchDatabase database_;
    QTemporaryDir folder_;
};

void Copy(benchmark::State& state, db::Dialect dialect) {
    BackupShop& shop = bench::perEngine<BackupShop>(dialect);
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        db::proc::KZ_BacKupBaseDatosVelcaris(shop.info(), {shop.folder()});
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    state.counters["MB"] = double(QFileInfo(shop.copy()).size()) / (1024 * 1024);
}

void Archive(benchmark::State& state, db::Dialect dialect, const char* password) {
    BackupShop& shop = bench::perEngine<BackupShop>(dialect);
    if (!QFileInfo::exists(shop.copy()))
        db::proc::KZ_BacKupBaseDatosVelcaris(shop.info(), {shop.folder()});
    const QString zip = QDir(shop.folder()).filePath(db::proc::kArchiveFile);
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        db::proc::KZ_Dba_AddRarFile({shop.copy(), zip, QString::fromLatin1(password)});
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    state.counters["MB"] = double(QFileInfo(zip).size()) / (1024 * 1024);
}

std::string named(const char* what, db::Dialect dialect) {
    return std::string(what) + "/" + bench::engineName(dialect);
}

}  // namespace

void bench::registerBenchmarks() {
    for (const db::Dialect dialect : engines()) {
        benchmark::RegisterBenchmark(named("BackupCopy", dialect).c_str(), Copy, dialect)
            ->UseManualTime()
            ->Iterations(2)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(named("BackupArchivePlain", dialect).c_str(), Archive, dialect,
                                     "")
            ->UseManualTime()
            ->Iterations(2)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(named("BackupArchiveAes256", dialect).c_str(), Archive,
                                     dialect, "CLAVE-DE-PRUEBA")
            ->UseManualTime()
            ->Iterations(2)
            ->Unit(benchmark::kMillisecond);
    }
}
