#pragma once

namespace session {
struct AppContext;
}

namespace summary {

// Registers "&Procesos" > "&Boletas", which shows the one daily summary window.
void registerSummary(session::AppContext& context);

}  // namespace summary
