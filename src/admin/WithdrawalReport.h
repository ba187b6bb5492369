#pragma once

#include "core/Money.h"
#include "db/procedures/Withdrawals.h"
#include "printing/Report.h"

#include <vector>

namespace admin {

// The printed list of a period's withdrawals: A4 portrait, its total and the printed-at moment on
// top, one line per withdrawal with the user's full name.
printing::Report withdrawalReport(const std::vector<db::proc::EgresoRow>& rows, core::Money total);

}  // namespace admin
