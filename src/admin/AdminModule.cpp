#include "admin/AdminModule.h"

#include "admin/UnitBacKupBD.h"
#include "admin/UnitFormDescargarMonto.h"
#include "admin/UnitFormMensajesPC02PC03.h"
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
    session::Commands& c = context.commands;
    c.setReauthScreen(session::ReauthPurpose::Accounts,
                      [ctx] { return TFormLoginPasswordEC::open(*ctx); });
    c.add(QStringLiteral("Password1"), [ctx] { openAccountsReauth(*ctx); });
    const auto backup = [ctx] { TFormBacKupBD::open(*ctx); };
    c.add(QStringLiteral("BacKupBD1"), backup);
    c.add(QStringLiteral("SpBacKUpBd"), backup);
    c.add(QStringLiteral("MensajeaPCs1"), [ctx] { TFormMensajesPC02PC03::open(*ctx); });
    c.add(QStringLiteral("Descargar2"), [ctx] { TFormDescargarMonto::open(*ctx); });
}

}  // namespace admin
