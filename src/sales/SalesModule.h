#pragma once

namespace session {
struct AppContext;
}

namespace sales {

// Registers the counter's commands (the quotation, the checkout, the removal of a product-brand
// link), the search screen's keys and the search screen that a login opens and a change of user
// closes.
void registerSales(session::AppContext& context);

}  // namespace sales
