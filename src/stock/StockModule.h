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

// Undoes the intakes this workstation left unconfirmed when it ended (an exit or a crash with
// the intake window open), as leaving the window would have.
void removeLeftIntakes(session::AppContext& context);

}  // namespace stock
