#include "session/ContextRules.h"

namespace session {

using core::roles::Group;
using core::roles::Refusal;

namespace {

struct Row {
    ContextMenu menu;
    const char* control;
    const char* caption;
    const char* shortcut;
    const char* order;  // as CommandRule::order: 'T' trim, 'R' role test
    Group group;
    std::optional<Refusal> refusal;
    QString suffix;
    bool isDefault = false;
};

std::vector<ContextItem> makeItems() {
    namespace r = core::roles;
    const ContextMenu products = ContextMenu::Products;
    const ContextMenu presentations = ContextMenu::Presentations;
    const ContextMenu box = ContextMenu::SearchBox;
    const Group staff = Group::CounterStaff;
    const Group everybody = Group::AdministratorOnly;  // not tested: the order has no 'R'
    const Refusal refused = Refusal::NotAuthorised;
    const Row rows[] = {
        {products, "PMProdPresentacion", "&Presentacion", "Ctrl+P", "R", staff, refused,
         r::kIngresos, true},
        {products, "PMProdCambiarLaboratorio", "&Cambiar LABORATORIO", "Ctrl+C", "R", staff,
         refused, r::kOperacion},
        {products, "PMProdEditar", "&Editar", "Ctrl+E", "R", staff, refused, r::kIngresos},
        {products, "PMProdDesasignar", "&Desasignar", "Ctrl+D", "R", staff, refused, r::kOperacion},
        {products, "PMProdActivoInactivo", "Activo/Inactivo", "Ctrl+I", "R", staff, refused,
         r::kOperacion},
        {presentations, "PMPresCaducidad", "&Caducidad", "Ctrl+C", "R", staff, refused,
         r::kIngresos, true},
        {presentations, "PMPresMasStock", "&MAS STOCK", "Ctrl+M", "TR", staff, refused,
         r::kOperacion},
        {presentations,
         "PMPresDevolucion",
         "Devolucion",
         "Ctrl+D",
         "",
         everybody,
         std::nullopt,
         {}},
        {presentations, "PMPresPresentacion", "&Presentacion", "Ctrl+P", "R", staff, refused,
         r::kIngresos},
        {presentations, "PMPresEditar", "&Editar", "Ctrl+E", "R", staff, refused,
         r::kOperacionEdicion},
        {presentations, "PMPresFoto", "&Foto", "Ctrl+F", "R", staff, refused, r::kOperacionEdicion},
        {presentations,
         "PMPresBorrar",
         "&Borrar",
         "Ctrl+B",
         "R",
         Group::AdministratorOrCashier,
         Refusal::NotAuthorisedNamingProduct,
         {}},
        {presentations,
         "PMPresSeguimiento",
         "&Seguimiento",
         "Ctrl+S",
         "",
         everybody,
         std::nullopt,
         {}},
        {presentations, "PMPresCanje", "Can&je", "Ctrl+J", "R", staff, refused, r::kOperacion},
        {presentations, "PMPresCruce", "C&ruce", "Ctrl+R", "R", staff, refused, r::kOperacion},
        {presentations,
         "PMPresDigemid",
         "Codigo D&IGEMID",
         "Ctrl+I",
         "",
         everybody,
         std::nullopt,
         {}},
        {box,
         "PMNombreAsignarProdLab",
         "Asignar Prod-Lab",
         "Ctrl+A",
         "",
         everybody,
         std::nullopt,
         {}},
        {box,
         "PMNombreStockModificar",
         "Stock Modificar",
         "Ctrl+M",
         "",
         everybody,
         std::nullopt,
         {}},
    };
    std::vector<ContextItem> items;
    for (const Row& row : rows)
        items.push_back({row.menu,
                         QString::fromLatin1(row.caption),
                         QKeySequence(QString::fromLatin1(row.shortcut)),
                         row.isDefault,
                         {QString::fromLatin1(row.control), QString::fromLatin1(row.order),
                          row.group, row.refusal, row.suffix}});
    return items;
}

}  // namespace

const std::vector<ContextItem>& contextItems() {
    static const std::vector<ContextItem> items = makeItems();
    return items;
}

const ContextItem* contextItem(const QString& control) {
    for (const ContextItem& item : contextItems())
        if (item.rule.control == control)
            return &item;
    return nullptr;
}

}  // namespace session
