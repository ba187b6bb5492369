#include "sales/SalesModule.h"

#include "sales/PresentationCommands.h"
#include "sales/ProductLinks.h"
#include "sales/SalesCounter.h"
#include "sales/StockAdjuster.h"
#include "sales/UnitBusqueda.h"
#include "sales/UnitCotizacion.h"
#include "sales/UnitDescargar.h"
#include "sales/UnitProdIncluya.h"
#include "sales/UnitTraspasoNotBol.h"
#include "sales/UnitVentasTodo.h"
#include "session/AppContext.h"
#include "session/Commands.h"
#include "session/Session.h"

namespace sales {

namespace {

// What reaches the stock adjuster of the session's search screen: the search box's "Stock
// Modificar", and the calls of the console when it switches the stock-change lock here.
void registerStockAdjuster(session::AppContext& context) {
    session::AppContext* ctx = &context;
    const auto onAdjuster = [ctx](void (StockAdjuster::*call)()) {
        return [ctx, call] {
            if (StockAdjuster* adjuster = StockAdjuster::of(*ctx))
                (adjuster->*call)();
        };
    };
    context.commands.add(QStringLiteral("PMNombreStockModificar"),
                         onAdjuster(&StockAdjuster::StockModificar));
    context.commands.add(kStockUnlockedHere, onAdjuster(&StockAdjuster::showUnlocked));
    context.commands.add(kStockLockedHere, onAdjuster(&StockAdjuster::showLocked));
}

}  // namespace

void registerSales(session::AppContext& context) {
    session::AppContext* ctx = &context;
    const auto checkout = [ctx] { openCheckout(*ctx); };
    context.commands.add(QStringLiteral("Calcular1"), [ctx] { TFormCotizacion::reshowLast(*ctx); });
    context.commands.add(QStringLiteral("Descarga1"), checkout);
    context.commands.add(QStringLiteral("DescargarImprimir"), checkout);
    const auto monitor = [ctx] { openSalesMonitor(*ctx); };
    for (const char* control : {"Exit1", "SpeedButton1", "SpeedButton2"})
        context.commands.add(QString::fromLatin1(control), monitor);
    for (const char* control : {"New3", "BusquedaIncluya"})
        context.commands.add(QString::fromLatin1(control), [ctx] { TFormProdIncluya::open(*ctx); });
    context.commands.add(QStringLiteral("raspaso1"), [ctx] { TFormTraspasoNotBol::showFor(*ctx); });
    context.commands.add(QStringLiteral("SBEliminar"),
                         [ctx] { unassignCurrentProduct(*ctx, QStringLiteral("DESEA BORRAR:")); });
    registerPresentationCommands(context);
    registerStockAdjuster(context);

    SalesCounter& counter = SalesCounter::of(context);
    counter.wire(SalesCounter::Command::Quote, [ctx] { TFormCotizacion::openForCurrent(*ctx); });
    counter.wire(SalesCounter::Command::Checkout, checkout);
    counter.wire(SalesCounter::Command::QuickCheckout, checkout);

    QObject::connect(&context.session, &session::Session::loggedIn, &counter, [ctx] {
        if (ctx->session.userCode() > 0)
            StockAdjuster::attach(*ctx, *TFormBusqueda::openOnDesktop(*ctx));
    });
    QObject::connect(&context.session, &session::Session::loggedOut, &counter,
                     [ctx] { TFormBusqueda::closeOnDesktop(*ctx); });
}

}  // namespace sales
