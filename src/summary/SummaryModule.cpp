#include "summary/SummaryModule.h"

#include "session/AppContext.h"
#include "session/Commands.h"
#include "summary/UnitResumenDiario.h"

#include <QPointer>
#include <memory>

namespace summary {

void registerSummary(session::AppContext& context) {
    session::AppContext* ctx = &context;
    auto window = std::make_shared<QPointer<TFormArchivoPlano>>();
    context.commands.add(QStringLiteral("Boletas1"), [ctx, window] {
        if (!*window)
            *window = new TFormArchivoPlano(*ctx, ctx->mainWindow);
        (*window)->showSummary();
    });
}

}  // namespace summary
