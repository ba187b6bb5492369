#include "session/CommandRules.h"

#include "platform/Platform.h"
#include "session/AppContext.h"
#include "session/ContextRules.h"
#include "session/UnitDM.h"
#include "ui/Messages.h"

namespace session {

using core::roles::Group;
using core::roles::Refusal;

namespace {

CommandRule everybody(const char* control, const char* order) {
    return {QString::fromLatin1(control),
            QString::fromLatin1(order),
            Group::AdministratorOnly,
            std::nullopt,
            {}};
}

CommandRule refused(const char* control, const char* order, Group group,
                    std::optional<Refusal> refusal, const QString& suffix = {}) {
    return {QString::fromLatin1(control), QString::fromLatin1(order), group, refusal, suffix};
}

std::vector<CommandRule> makeRules() {
    namespace r = core::roles;
    const Group pharmacist = Group::AdministratorOrPharmacist;
    const Refusal notAuthorised = Refusal::NotAuthorised;
    return {
        refused("Producto_1", "TSR", pharmacist, notAuthorised, r::kOperacionIngreso),
        refused("Laboratorio1", "TSR", pharmacist, notAuthorised, r::kOperacionIngreso),
        refused("MasStock1", "TSR", pharmacist, notAuthorised, r::kOperacion),
        refused("Proveedor1", "TSR", pharmacist, notAuthorised, r::kOperacion),
        refused("Representante1", "TSR", pharmacist, notAuthorised, r::kOperacion),
        refused("Pedido2", "TSR", pharmacist, notAuthorised, r::kOperacion),
        refused("Exit1", "TSR", pharmacist, notAuthorised, r::kOperacionIngreso),
        refused("SpeedButton1", "TSR", pharmacist, notAuthorised, r::kOperacionIngreso),
        refused("SpeedButton2", "TSR", pharmacist, notAuthorised, r::kOperacionIngreso),
        refused("LaboratorioProducto1", "RS", pharmacist, notAuthorised, r::kOperacion),
        refused("Contents1", "SR", pharmacist, notAuthorised, r::kOperacionIngreso),
        everybody("Foto1", "T"),
        refused("Producto1", "TSR", pharmacist, notAuthorised, r::kOperacionEdicionDots),
        refused("Presentacion1", "TSR", pharmacist, notAuthorised, r::kOperacionIngreso),
        refused("New4", "TRS", pharmacist, notAuthorised, r::kOperacionIngreso),
        everybody("New3", "S"),
        everybody("Calcular1", "TS"),
        everybody("Descarga1", "S"),
        everybody("Devolucion1", "TS"),
        everybody("Calculadora1", "S"),
        refused("Password1", "TSR", Group::AdministratorOnly, Refusal::Restricted),
        refused("BacKupBD1", "STR", Group::BackupStaff, Refusal::RestrictedDotted),
        everybody("Actulaizar1", "TS"),
        refused("MensajeaPCs1", "TSR", Group::CounterStaff, Refusal::Restricted),
        everybody("Eliminar1", "S"),
        everybody("Descargar2", "S"),
        everybody("LoginPassword1", ""),
        refused("Datos1", "RS", Group::AdministratorOnly, Refusal::Restricted),
        everybody("About1", "S"),
        everybody("Salir1", ""),
        everybody("Boletas1", ""),
        refused("raspaso1", "R", Group::AdministratorOnly, std::nullopt),
        everybody("Salir2", ""),
        refused("SPLaboratorioProducto", "RTS", pharmacist, notAuthorised, r::kOperacion),
        refused("SBPresentacion", "TSR", pharmacist, std::nullopt),
        refused("SBMasStock", "TRS", pharmacist, Refusal::NotAuthorisedNamingProduct),
        refused("SBDetallePedido", "TSR", pharmacist, notAuthorised, r::kOperacion),
        refused("SBEliminar", "RS", pharmacist, Refusal::NotAuthorisedNamingProduct),
        everybody("BusquedaIncluya", "TS"),
        everybody("DescargarImprimir", "TS"),
        refused("SBReportesVarios", "RTS", pharmacist, notAuthorised, r::kOperacionIngreso),
        everybody("SPassword", ""),
        everybody("SpBacKUpBd", ""),
        everybody("SBCalculadora", "TS"),
        everybody("StaticText1", ""),
        everybody("StaticText2", ""),
    };
}

QString refusalFor(const CommandRule& rule, const TDM& dm) {
    if (*rule.refusal == Refusal::NotAuthorisedNamingProduct) {
        const ProductRow* product = dm.currentProduct();
        return core::roles::refusalText(*rule.refusal, dm.sessionName(),
                                        product ? product->ProdNomComercial : QString());
    }
    return core::roles::refusalText(*rule.refusal, dm.sessionName(), rule.suffix);
}

}  // namespace

const std::vector<CommandRule>& commandRules() {
    static const std::vector<CommandRule> rules = makeRules();
    return rules;
}

const CommandRule* commandRule(const QString& control) {
    for (const CommandRule& rule : commandRules())
        if (rule.control == control)
            return &rule;
    const ContextItem* item = contextItem(control);
    return item ? &item->rule : nullptr;
}

bool runCommandRule(const CommandRule& rule, AppContext& context) {
    for (const QChar test : rule.order) {
        switch (test.unicode()) {
            case 'T':
                context.platform.trimWorkingSet();
                break;
            case 'S':
                if (!context.dm.isSessionOpen())
                    return false;
                break;
            case 'R':
                if (core::roles::passes(context.dm.sessionRole(), rule.group))
                    break;
                if (rule.refusal)
                    context.messages.notice(refusalFor(rule, context.dm));
                return false;
        }
    }
    return true;
}

bool roleAllows(AppContext& context, Group group, const QString& suffix) {
    return runCommandRule({{}, QStringLiteral("R"), group, Refusal::NotAuthorised, suffix},
                          context);
}

}  // namespace session
