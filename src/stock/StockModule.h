#pragma once

namespace session {
struct AppContext;
}

namespace stock {

// Registers the stock intake openers: the main window's "&Mas Stock" and its toolbar button,
// and the search screen's "&MAS STOCK", "&Caducidad", "Can&je" and "C&ruce".
void registerStock(session::AppContext& context);

// The presentation grid's "." key: the "&Caducidad" item's rule and window.
void expiryDateByKey(session::AppContext& context);

// Removes the staging rows this workstation left when it ended during an intake.
void removeLeftIntakes(session::AppContext& context);

}  // namespace stock
