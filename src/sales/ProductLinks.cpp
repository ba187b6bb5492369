#include "sales/ProductLinks.h"

#include "db/procedures/Sales.h"
#include "session/AppContext.h"
#include "session/UnitDM.h"
#include "ui/Messages.h"

namespace sales {

void unassignCurrentProduct(session::AppContext& context, const QString& question) {
    const session::ProductRow* product = context.dm.currentProduct();
    const QString name = product ? product->ProdNomComercial.trimmed() : QString();
    if (name.isEmpty())
        return;
    const int link = product->ProdLabCod;
    if (!context.messages.confirm(question + QStringLiteral("\rEL PRODUCTO:   ") + name +
                                  QStringLiteral("\rPERMANENTEMENTE...")))
        return;
    const db::proc::BorrandoProductoOut out = db::proc::KZ_BorrandoProducto(context.db, {link});
    context.dm.reopenSessionDatasets();
    context.messages.notice(out.pMensaje);
}

}  // namespace sales
