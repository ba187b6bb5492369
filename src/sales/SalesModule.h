#pragma once

#include <QString>

namespace session {
struct AppContext;
}

namespace sales {

// Registers the counter's commands (the quotation, the checkout, the removal of a product-brand
// link), the search screen's keys and the search screen that a login opens and a change of user
// closes.
void registerSales(session::AppContext& context);

// The commands the console runs after switching the stock-change lock from this workstation:
// the search screen's stock adjuster then shows itself unlocked or locked.
inline const QString kStockUnlockedHere = QStringLiteral("StockCambiarAqui");
inline const QString kStockLockedHere = QStringLiteral("StockNoCambiarAqui");

}  // namespace sales
