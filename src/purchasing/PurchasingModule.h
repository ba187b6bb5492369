#pragma once

namespace session {
struct AppContext;
}

namespace purchasing {

// Registers the purchasing openers: the main window's "P&roveedor", "R&epresentante",
// "Pedido" > "Pedido" and the look-up's toolbar button.
void registerPurchasing(session::AppContext& context);

}  // namespace purchasing
