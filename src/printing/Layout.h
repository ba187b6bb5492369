#pragma once

#include "printing/PageModel.h"
#include "printing/Report.h"

#include <QDateTime>

namespace printing {

// Lays the report out into pages. The first pass counts the pages, the second fills the page
// count into the values that show it ("Pág. Nº: 2 de 3"); a report prints its bands even when it
// has no row.
Document layout(const Report& report, const QDateTime& printedAt);

}  // namespace printing
