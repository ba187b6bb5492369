#include "sales/PresentationCommands.h"

#include "core/Clock.h"
#include "core/Format.h"
#include "sales/ProductLinks.h"
#include "sales/UnitBusqueda.h"
#include "sales/UnitDevolucion.h"
#include "session/AppContext.h"
#include "session/Commands.h"
#include "session/UnitDM.h"
#include "ui/Messages.h"

namespace sales {

namespace {

const QString kBreak = QStringLiteral("\r");
const QString kHistoryColumns =
    QStringLiteral("CAN.   PC.       PV.     VENDE.  FECHA DE VENTA            TICKET");

void focusSearchBox(session::AppContext& ctx) {
    if (TFormBusqueda* screen = TFormBusqueda::of(ctx))
        screen->focusSearchBox();
}

constexpr core::Money kOne = core::Money::fromRaw(10000);
constexpr core::Money kNine = core::Money::fromRaw(90000);
constexpr core::Money kTen = core::Money::fromRaw(100000);

bool isSmall(core::Money m) {
    return m > kOne && m < kTen;
}

// One line of the history; short amounts and quantities get a leading "0", so columns line up.
QString historyLine(const db::proc::SeguimientoRow& row) {
    const bool smallCost = isSmall(row.Costo);
    const bool smallPrice = isSmall(row.Importe);
    QString costLead = QStringLiteral("  ");
    QString priceLead = QStringLiteral("  ");
    if (smallCost && row.Importe > kNine)
        costLead = QStringLiteral("  0");
    else if (smallPrice && row.Costo > kNine)
        priceLead = QStringLiteral("  0");
    else if (smallCost && smallPrice)
        costLead = priceLead = QStringLiteral("  0");
    const bool oneDigit = row.Cantidad <= 9;
    return QStringLiteral("    ") + (oneDigit ? QStringLiteral("0") : QString()) +
           QString::number(row.Cantidad) + costLead + core::fmt::twoDecimals(row.Costo) +
           priceLead + core::fmt::twoDecimals(row.Importe) +
           (oneDigit ? QStringLiteral("    ") : QStringLiteral("  ")) + row.FacHostName.trimmed() +
           QStringLiteral("  ") + core::fmt::shortDateLongTime(row.FacFecha).trimmed() +
           QStringLiteral("   ") + QString::number(row.FacNumero) + kBreak;
}

void unassign(session::AppContext& ctx) {
    unassignCurrentProduct(ctx, QStringLiteral("DESEA DESASIGNAR:"));
    focusSearchBox(ctx);
}

void switchLinkState(session::AppContext& ctx) {
    const session::ProductRow* product = ctx.dm.currentProduct();
    if (!product)
        return;
    const int link = product->ProdLabCod;
    const QString name = product->ProdNomComercial.trimmed();
    const QString word = db::proc::prodLabEstado(ctx.db, link) == QStringLiteral("ACTIVO")
                             ? QStringLiteral("INACTIVAR")
                             : QStringLiteral("ACTIVAR");
    if (!ctx.messages.confirm(QStringLiteral("DESEA ") + word + kBreak +
                              QStringLiteral("EL PRODUCTO:   ") + name + QStringLiteral("/") +
                              product->LabNombre.trimmed()) ||
        name.isEmpty())
        return;
    const auto out = db::proc::KZ_EditarEstadoProductoLaboratorio(ctx.db, {link});
    ctx.dm.reopenSessionDatasets();
    ctx.messages.notice(out.pMensaje);
    focusSearchBox(ctx);
}

void deletePresentation(session::AppContext& ctx) {
    const session::PresentationRow* presentation = ctx.dm.currentPresentation();
    if (!presentation)
        return;
    const int code = presentation->CodPresentacion;
    if (!ctx.messages.confirm(QStringLiteral("DESEA BORRAR:\rLA PRESENTACION:   ") +
                              presentation->PresTipo + QStringLiteral("\rPERMANENTEMENTE...")))
        return;
    const auto out = db::proc::KZ_BorraPresentacion(ctx.db, {code});
    ctx.messages.notice(out.pMensaje4);
    ctx.dm.refreshPresentations();
    focusSearchBox(ctx);
}

void showSalesHistory(session::AppContext& ctx) {
    const session::PresentationRow* presentation = ctx.dm.currentPresentation();
    if (!presentation)
        return;
    const QString text =
        salesHistoryText(presentation->CodPresentacion, presentation->PresTipo, ctx.clock.now(),
                         db::proc::seguimiento(ctx.db, presentation->CodPresentacion));
    if (!text.isEmpty())
        ctx.messages.notice(text);
    focusSearchBox(ctx);
}

}  // namespace

QString salesHistoryText(int codPresentacion, const QString& presTipo, const QDateTime& now,
                         const std::vector<db::proc::SeguimientoRow>& rows) {
    if (rows.empty())
        return {};
    QString text = QStringLiteral("CODIGO PRESENTACION: ") + QString::number(codPresentacion) +
                   kBreak + presTipo.trimmed() + kBreak + QStringLiteral("FECHA DE REPORTE: ") +
                   core::fmt::shortDateLongTime(now) + kBreak + kBreak + kHistoryColumns + kBreak +
                   kBreak;
    for (std::size_t i = 0; i < rows.size() && i < std::size_t(db::proc::kSeguimientoLines); ++i)
        text += historyLine(rows[i]);
    return text.trimmed();
}

void registerPresentationCommands(session::AppContext& context) {
    session::AppContext* ctx = &context;
    session::Commands& c = context.commands;
    c.add(QStringLiteral("PMProdDesasignar"), [ctx] { unassign(*ctx); });
    c.add(QStringLiteral("PMProdActivoInactivo"), [ctx] { switchLinkState(*ctx); });
    c.add(QStringLiteral("PMPresBorrar"), [ctx] { deletePresentation(*ctx); });
    c.add(QStringLiteral("PMPresSeguimiento"), [ctx] { showSalesHistory(*ctx); });
    c.add(QStringLiteral("PMPresDevolucion"), [ctx] { TFormDevolucion::open(*ctx); });
    c.add(QStringLiteral("Devolucion1"), [ctx] {
        const QDateTime now = ctx->clock.now();
        TFormDevolucion::open(*ctx, {now.addDays(-1), now.addDays(1)});
    });
}

}  // namespace sales
