#pragma once

#include "core/DayWindow.h"
#include "core/Money.h"
#include "db/procedures/Procedure.h"

#include <vector>

// The sales monitor's reads: a day's sales by line state and the count of its sales still not
// discharged. A sale's lines and total are the checkout's reads (saleLines, saleTotal).
namespace db::proc {

// One row of the day's list: the lines of a sale in one state and what they add up to.
struct DaySale {
    int FacNumero = 0;
    QString Estado;
    core::Money TOTAL;
};
// Every sale of the day by state, lowest number first (a sale in two states gives two rows).
std::vector<DaySale> daySales(Db& db, const core::DateTimeRange& day);

// The sales of the day whose header reads "NO DESCARGADO".
int undischargedSales(Db& db, const core::DateTimeRange& day);

}  // namespace db::proc
