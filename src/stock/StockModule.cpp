#include "stock/StockModule.h"

#include "db/procedures/Stock.h"
#include "platform/Platform.h"
#include "session/AppContext.h"
#include "session/CommandRules.h"
#include "session/Commands.h"
#include "stock/UnitCanje.h"
#include "stock/UnitCruce.h"
#include "stock/UnitFecha.h"
#include "stock/UnitMasStock.h"

namespace stock {

namespace {

const QString kExpiryItem = QStringLiteral("PMPresCaducidad");

}  // namespace

void expiryDateByKey(session::AppContext& context) {
    if (session::runCommandRule(*session::commandRule(kExpiryItem), context))
        TFormFecha::open(context);
}

void removeLeftIntakes(session::AppContext& context) {
    if (const int kept =
            db::proc::borraIngresosDeEstacion(context.db, context.platform.computerName()))
        qWarning("%d intakes left unconfirmed stay applied: their units were sold", kept);
}

void registerStock(session::AppContext& context) {
    session::AppContext* ctx = &context;
    session::Commands& c = context.commands;
    const auto intake = [ctx] { TFrmMasStock::open(*ctx); };
    c.add(QStringLiteral("MasStock1"), intake);
    c.add(QStringLiteral("SBMasStock"), intake);
    c.add(QStringLiteral("PMPresMasStock"), intake);
    c.add(kExpiryItem, [ctx] { TFormFecha::open(*ctx); });
    c.add(QStringLiteral("PMPresCanje"), [ctx] { TFrmCanje::open(*ctx); });
    c.add(QStringLiteral("PMPresCruce"), [ctx] { TFormCruce::open(*ctx); });
}

}  // namespace stock
