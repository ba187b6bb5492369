#pragma once

#include "db/procedures/SearchCommands.h"

#include <QDateTime>
#include <QString>
#include <vector>

namespace session {
struct AppContext;
}

namespace sales {

// The search screen's context commands on the current product-brand link and presentation:
// "&Desasignar", "Activo/Inactivo", "&Borrar", "&Seguimiento" and "Devolucion", registered
// under their items' names. Each refreshes what it changed and puts the cursor back in the
// search box.
void registerPresentationCommands(session::AppContext& context);

// The sales history as its message box shows it: a header with the presentation's code, its
// text and the moment of the report, then one line per row; empty without rows.
QString salesHistoryText(int codPresentacion, const QString& presTipo, const QDateTime& now,
                         const std::vector<db::proc::SeguimientoRow>& rows);

}  // namespace sales
