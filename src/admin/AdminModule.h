#pragma once

namespace session {
struct AppContext;
}

namespace admin {

// Registers the administration openers: "&Utilitarios" > "&Password", through the
// re-authentication, and the accounts window it opens.
void registerAdmin(session::AppContext& context);

}  // namespace admin
