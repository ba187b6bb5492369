#include "purchasing/PurchasingModule.h"

#include "purchasing/PurchasingParts.h"
#include "purchasing/UnitDetallePedido.h"
#include "purchasing/UnitPago.h"
#include "purchasing/UnitPedido.h"
#include "purchasing/UnitProveedor.h"
#include "purchasing/UnitRepresentante.h"
#include "session/AppContext.h"
#include "session/Commands.h"

namespace purchasing {

namespace {

// The payment window, the order window and the look-up, in this order; the order window shows
// and the other two go with it.
void openOrders(session::AppContext& ctx) {
    auto* pedido = new TFormPedido(ctx);
    auto* pago = new TFormPago(ctx, pedido);
    new TFormDetallePedido(ctx, pedido);
    QObject::connect(pedido, &TFormPedido::newInstalmentAsked, pago, &TFormPago::startNew);
    QObject::connect(pedido, &TFormPedido::editInstalmentAsked, pago, &TFormPago::startEdit);
    QObject::connect(pago, &TFormPago::saved, pedido, &TFormPedido::reload);
    QObject::connect(pago, &TFormPago::closed, pedido, &TFormPedido::returningFromPayment);
    parts::show(pedido);
}

}  // namespace

void registerPurchasing(session::AppContext& context) {
    session::AppContext* ctx = &context;
    session::Commands& c = context.commands;
    c.add(QStringLiteral("Proveedor1"), [ctx] { TFormProveedor::open(*ctx); });
    c.add(QStringLiteral("Representante1"), [ctx] { TFormRepresentante::open(*ctx); });
    c.add(QStringLiteral("Pedido2"), [ctx] { openOrders(*ctx); });
    c.add(QStringLiteral("SBDetallePedido"), [ctx] { TFormDetallePedido::open(*ctx); });
}

}  // namespace purchasing
