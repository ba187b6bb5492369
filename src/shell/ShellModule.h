#pragma once

namespace session {
struct AppContext;
}

namespace shell {

// Registers what the shell offers the other subsystems: the privileged re-authentication.
void registerShell(session::AppContext& context);

}  // namespace shell
