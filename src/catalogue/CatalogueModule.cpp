#include "catalogue/CatalogueModule.h"

#include "catalogue/UnitCambiarLaboratorio.h"
#include "catalogue/UnitDigemid.h"
#include "catalogue/UnitEdicionPresentacion.h"
#include "catalogue/UnitFoto.h"
#include "catalogue/UnitLaboratorio.h"
#include "catalogue/UnitPresentacion.h"
#include "catalogue/UnitProducto.h"
#include "catalogue/UnitProductoLaboratorio.h"
#include "platform/Platform.h"
#include "session/AppContext.h"
#include "session/CommandRules.h"
#include "session/Commands.h"
#include "session/Session.h"
#include "session/UnitDM.h"
#include "ui/Guard.h"

#include <QAbstractButton>
#include <QPointer>

namespace catalogue {

namespace {

const QString kLinkButton = QStringLiteral("SPLaboratorioProducto");
const QString kEditItem = QStringLiteral("PMPresEditar");
const QString kNothingToEdit = QStringLiteral("NO HAY PRESENTACION ALGUNA QUE EDITAR");
const QString kEditFailed = QStringLiteral("ERROR EN LA BASE DE DATOS...");

using Prices = TFrmEdicionPresentacion::Prices;

void editPresentation(session::AppContext& ctx, Prices prices, const QString& nothing) {
    ui::guard(
        ctx.messages, [&] { TFrmEdicionPresentacion::open(ctx, prices, nothing); }, kEditFailed);
}

// The toolbar's link button stays disabled while the window it opened lives.
void openLinksFromToolbar(session::AppContext& ctx) {
    TFormProductoLaboratorio* form = TFormProductoLaboratorio::open(ctx);
    if (!ctx.mainWindow)
        return;
    QPointer<QAbstractButton> button = ctx.mainWindow->findChild<QAbstractButton*>(kLinkButton);
    if (!button)
        return;
    button->setEnabled(false);
    QObject::connect(form, &QObject::destroyed, button, [button] { button->setEnabled(true); });
}

// The menu's link command: only with a current product that has a name.
void openLinksFromMenu(session::AppContext& ctx) {
    const session::ProductRow* product = ctx.dm.currentProduct();
    if (!product || product->ProdNomComercial.trimmed().isEmpty())
        return;
    ctx.platform.trimWorkingSet();
    TFormProductoLaboratorio::open(ctx);
}

}  // namespace

void editPresentationByKey(session::AppContext& context) {
    if (session::runCommandRule(*session::commandRule(kEditItem), context))
        TFrmEdicionPresentacion::open(context, Prices::Shortest,
                                      kNothingToEdit + QStringLiteral("..."));
}

void openNewProduct(session::AppContext& context, const QString& commercialName) {
    TFormProducto::openNew(context, commercialName);
}

void openNewBrand(session::AppContext& context) {
    TFormLaboratorio::open(context);
}

void registerCatalogue(session::AppContext& context) {
    session::AppContext* ctx = &context;
    session::Commands& c = context.commands;
    c.add(QStringLiteral("Producto_1"), [ctx] { TFormProducto::openNew(*ctx); });
    c.add(QStringLiteral("Laboratorio1"), [ctx] { TFormLaboratorio::open(*ctx); });
    c.add(QStringLiteral("LaboratorioProducto1"), [ctx] { openLinksFromMenu(*ctx); });
    c.add(QStringLiteral("Producto1"), [ctx] { TFormProducto::openEdit(*ctx); });
    c.add(kLinkButton, [ctx] { openLinksFromToolbar(*ctx); });
    c.add(QStringLiteral("Contents1"), [ctx] { TFormPresentacion::open(*ctx, false); });
    c.add(QStringLiteral("SBPresentacion"), [ctx] { TFormPresentacion::open(*ctx, true); });
    c.add(QStringLiteral("Presentacion1"),
          [ctx] { editPresentation(*ctx, Prices::TwoDecimals, kNothingToEdit); });

    c.add(QStringLiteral("PMProdEditar"), [ctx] { TFormProducto::openEdit(*ctx); });
    c.add(QStringLiteral("PMProdCambiarLaboratorio"),
          [ctx] { TFormCambiarLaboratorio::open(*ctx); });
    const auto newPresentation = [ctx] { TFormPresentacion::open(*ctx, false); };
    c.add(QStringLiteral("PMProdPresentacion"), newPresentation);
    c.add(QStringLiteral("PMPresPresentacion"), newPresentation);
    c.add(kEditItem, [ctx] {
        editPresentation(*ctx, Prices::Shortest, kNothingToEdit + QStringLiteral("..."));
    });
    c.add(QStringLiteral("PMPresFoto"), [ctx] { TFormFoto::open(*ctx); });
    c.add(QStringLiteral("PMPresDigemid"), [ctx] { TFormDigemid::open(*ctx); });
    c.add(QStringLiteral("PMNombreAsignarProdLab"), [ctx] {
        TFormProductoLaboratorio::open(*ctx)->setProductSearch(
            ctx->session.productSearch().trimmed());
    });
}

}  // namespace catalogue
