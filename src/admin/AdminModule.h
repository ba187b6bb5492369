#pragma once

namespace session {
struct AppContext;
}

namespace admin {

// Registers the administration openers: "&Utilitarios" > "&Password" through the
// re-authentication and the accounts window it opens, the backup ("BacKup BD" and its toolbar
// button), the workstation messages and the cash withdrawals.
void registerAdmin(session::AppContext& context);

}  // namespace admin
