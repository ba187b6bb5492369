#include "admin/AdminModule.h"

#include "admin/UnitPasswordAcceso.h"
#include "session/AppContext.h"
#include "session/Commands.h"
#include "session/Session.h"

namespace admin {

namespace {

// A new re-authentication window for the accounts, freed when it closes.
void openAccountsReauth(session::AppContext& ctx) {
    session::ReauthWindow* reauth = ctx.commands.newReauthWindow(ctx.mainWindow);
    if (!reauth)
        return;
    reauth->setAttribute(Qt::WA_DeleteOnClose);
    ctx.session.setDiscountAllowed(false);
    reauth->showFor(session::ReauthPurpose::Accounts);
}

}  // namespace

void registerAdmin(session::AppContext& context) {
    session::AppContext* ctx = &context;
    context.commands.setReauthScreen(session::ReauthPurpose::Accounts,
                                     [ctx] { return TFormLoginPasswordEC::open(*ctx); });
    context.commands.add(QStringLiteral("Password1"), [ctx] { openAccountsReauth(*ctx); });
}

}  // namespace admin
