#include "shell/ShellModule.h"

#include "session/AppContext.h"
#include "session/Commands.h"
#include "shell/UnitLoginPassword.h"

namespace shell {

void registerShell(session::AppContext& context) {
    session::AppContext* ctx = &context;
    context.commands.setReauthFactory(
        [ctx](QWidget* parent) { return new TFormLoginPassword(*ctx, parent); });
}

}  // namespace shell
