#pragma once

#include <QString>

namespace session {
struct AppContext;
}

namespace catalogue {

// Registers the catalogue's openers: the main window's product, brand and link commands and
// the search screen's context items of the product grid, the presentation grid and the search
// box.
void registerCatalogue(session::AppContext& context);

// The presentation grid's edit key: the "&Editar" item's rule and window, its errors left to
// the caller.
void editPresentationByKey(session::AppContext& context);

// The windows the catalogue's windows open for one another, without knowing each other.
// The product window in new mode, with that commercial name.
void openNewProduct(session::AppContext& context, const QString& commercialName);
// The brand window, its boxes empty.
void openNewBrand(session::AppContext& context);

}  // namespace catalogue
