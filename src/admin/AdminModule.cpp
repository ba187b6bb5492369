#include "admin/AdminModule.h"

#include "admin/UnitBacKupBD.h"
#include "admin/UnitFormDescargarMonto.h"
#include "admin/UnitFormMensajesPC02PC03.h"
#include "session/AppContext.h"
#include "session/Commands.h"

namespace admin {

void registerAdmin(session::AppContext& context) {
    session::AppContext* ctx = &context;
    session::Commands& c = context.commands;
    const auto backup = [ctx] { TFormBacKupBD::open(*ctx); };
    c.add(QStringLiteral("BacKupBD1"), backup);
    c.add(QStringLiteral("SpBacKUpBd"), backup);
    c.add(QStringLiteral("MensajeaPCs1"), [ctx] { TFormMensajesPC02PC03::open(*ctx); });
    c.add(QStringLiteral("Descargar2"), [ctx] { TFormDescargarMonto::open(*ctx); });
}

}  // namespace admin
