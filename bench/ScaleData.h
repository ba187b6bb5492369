#pragma once

#include "Support.h"

#include <QDate>
#include <QString>
#include <cstdint>

namespace db {
class Db;
}

namespace bench {

// A small, fast, portable generator: the same seed gives the same numbers on every machine
// and standard library (splitmix64).
class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next();
    // Uniform in [0, n).
    int below(int n);
    // Uniform in [low, high].
    int between(int low, int high) { return low + below(high - low + 1); }
    // Uniform in [0, 1).
    double unit();
    bool chance(double p) { return unit() < p; }

private:
    std::uint64_t state_;
};

// A made-up commercial name in the style of a Spanish pharmacy's list ("CLOFENDOL FORTE 500MG",
// "MEXITRAN"), built from syllables so that names share prefixes as real ones do.
QString pharmacyName(Rng& rng);
// A made-up maker ("LABORATORIOS VITANSA", "QUIRODEX PHARMA").
QString brandName(Rng& rng);

struct ScaleOptions {
    int links = 100000;  // product-brand links, each with 1 to 3 presentations
    // Days of sales ending on lastDay (0: none), with their intakes and returns. The sales of a
    // day depend only on the seed, the catalogue and the date, so the last day is the same
    // whatever the number of days before it.
    int days = 0;
    int linesPerDay = 2740;  // about 1,000,000 sale lines in a year
    // The last day's last few sales still have lines "NO DESCARGADO", as at a busy counter.
    int pendingSales = 12;
    QDate lastDay{2026, 3, 2};
    std::uint64_t seed = 0x7e1ca815;
};

struct ScaleCounts {
    int brands = 0;
    int products = 0;
    int links = 0;
    int presentations = 0;
    int sales = 0;
    int saleLines = 0;
    int intakes = 0;
    int returns = 0;
};

// Fills a migrated, empty database with a branch, users (each one's password is the login), the
// tax setting, suppliers, the catalogue and the sales the options ask for, in one transaction,
// with multi-row inserts. Sales are "DESCARGADO" as nota de venta, boleta or factura with their
// running receipt numbers; a few lines are "SIN STOCK" or "DEVUELTO" (with their returns); the
// last day's last sales are still pending. On PostgreSQL the tables are analysed afterwards, as
// the server's autovacuum would have done.
ScaleCounts generateScaleData(db::Db& db, const ScaleOptions& options);

// generateScaleData, with what it wrote and how long it took on stderr.
ScaleCounts generateAndReport(db::Db& db, const ScaleOptions& options);

// The same shop twice on one engine: with a year of sales ending on the options' last day, and
// with that last day alone, for reads timed against the same read without the history.
class YearAndDay {
public:
    explicit YearAndDay(db::Dialect dialect);
    db::Db& year() { return year_.db(); }
    db::Db& day() { return day_.db(); }

private:
    ScratchDatabase year_;
    ScratchDatabase day_;
};

// The shop with five years of sales ending on the options' last day (about 1.8 million sales,
// 5 million lines, with their intakes and returns), generated once per engine and kept between
// runs (keptDatabase; a new generator version is a new name); and the same shop with that last
// day alone, made for the run, for reads timed against the same read without the history.
class FiveYearsAndDay {
public:
    static constexpr int kDays = 5 * 365;
    explicit FiveYearsAndDay(db::Dialect dialect);
    db::Db& years() { return *years_; }
    db::Db& day() { return day_.db(); }

private:
    std::unique_ptr<db::Db> years_;
    ScratchDatabase day_;
};

// The users the generator writes, by code: 1 is an administrator, 4 a cashier.
constexpr int kAdminUser = 1;
constexpr int kCashierUser = 4;

}  // namespace bench
