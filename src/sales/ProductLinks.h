#pragma once

#include <QString>

namespace session {
struct AppContext;
}

namespace sales {

// "DESASIGNAR UN PRODUCTO-LABORATORIO" and the product grid's "&Desasignar": asks (`question`,
// then the product) whether the current product-brand link of the data module is to go; on Yes
// removes it (KZ_BorrandoProducto, which refuses a link that still has presentations), reopens the
// session's product list and shows the procedure's answer. Nothing happens without a current link
// that has a commercial name.
void unassignCurrentProduct(session::AppContext& context, const QString& question);

}  // namespace sales
