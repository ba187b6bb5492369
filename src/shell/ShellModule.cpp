#include "shell/ShellModule.h"

#include "session/AppContext.h"
#include "session/Commands.h"
#include "shell/UnitLoginPassword.h"

namespace shell {

void registerShell(session::AppContext& context) {
    session::AppContext* ctx = &context;
    context.commands.setReauthFactory([ctx](QWidget* parent) {
        auto* form = new TFormLoginPassword(*ctx, parent);
        form->setAccountsOpener(ctx->commands.reauthScreen(session::ReauthPurpose::Accounts));
        form->setConsoleOpener(ctx->commands.reauthScreen(session::ReauthPurpose::Console));
        return form;
    });
}

}  // namespace shell
