#include "catalogue/UnitProductoLaboratorio.h"

#include "catalogue/CatalogueModule.h"
#include "catalogue/FormParts.h"
#include "session/Session.h"
#include "session/UnitDM.h"
#include "ui/Activation.h"
#include "ui/Guard.h"
#include "ui/Hint.h"
#include "ui/Messages.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <utility>

namespace catalogue {

namespace {

using db::proc::LaboratorioChoice;
using db::proc::ProductoChoice;
using ui::setHint;

const QString kNothingToAssign =
    QStringLiteral("NO HAY PRODUCTO O MARCA QUE ASIGNAR\rELIJA UNO DE CADA LISTA");

QTableView* grid(QWidget* parent, const char* name, const QString& hint) {
    auto* g = new QTableView(parent);
    g->setObjectName(QString::fromLatin1(name));
    setHint(g, hint);
    g->horizontalHeader()->setStretchLastSection(true);
    g->setMinimumSize(420, 300);
    return g;
}

// The widgets of one list's pane, top to bottom: its search box (beside the caption), the notice
// under it, the list, its navigator and the button that adds what the list lacks.
struct ListPane {
    QWidget* search;
    QWidget* notice;
    QWidget* list;
    QWidget* navigator;
    QWidget* add;
};

void layOutListPane(QWidget* pane, const QString& caption, const ListPane& w) {
    auto* g = new QGridLayout(pane);
    g->setContentsMargins(0, 0, 0, 0);
    g->addWidget(new QLabel(caption, pane), 0, 0);
    g->addWidget(w.search, 0, 1);
    g->addWidget(w.notice, 1, 0, 1, 2);
    g->addWidget(w.list, 2, 0, 1, 2);
    g->addWidget(w.navigator, 3, 0);
    g->addWidget(w.add, 3, 1, Qt::AlignRight);
}

}  // namespace

TFormProductoLaboratorio* TFormProductoLaboratorio::open(session::AppContext& ctx) {
    auto* form = new TFormProductoLaboratorio(ctx, ctx.mainWindow);
    parts::show(form);
    return form;
}

TFormProductoLaboratorio::TFormProductoLaboratorio(session::AppContext& ctx, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowCloseButtonHint), ctx_(ctx) {
    setObjectName(QStringLiteral("FormProductoLaboratorio"));
    setWindowTitle(QStringLiteral("ASIGNACION DE PRODUCTO"));
    build();
    wire();
    ui::guard(ctx_.messages, [this] { reload(); });
    ui::onActivation(this, [this] { FormActivate(); });
}

TFormProductoLaboratorio::~TFormProductoLaboratorio() = default;

void TFormProductoLaboratorio::setProductSearch(const QString& text) {
    pendingSearch_ = text;
    EdProducto->setText(text);
}

void TFormProductoLaboratorio::build() {
    auto* panes = new QHBoxLayout;
    panes->addWidget(buildProductPane());
    panes->addWidget(buildBrandPane());
    AVISO = parts::notice(this, "AVISO");
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(panes);
    layout->addWidget(AVISO);
    layout->addWidget(buildButtonBar());
}

QWidget* TFormProductoLaboratorio::buildProductPane() {
    auto* pane = new QWidget(this);
    EdProducto = parts::box(pane, "EdProducto", db::proc::kProdNombreSize);
    PRODUCTO = parts::notice(pane, "PRODUCTO");
    DBGrid1 = grid(pane, "DBGrid1",
                   QStringLiteral("RELACION DE PRODUCTOS EXISTENTES EN LA BASE DE DATOS"));
    QConProd = std::make_unique<ChoiceList<ProductoChoice>>(DBGrid1, EdProducto,
                                                            &ProductoChoice::ProdNomComercial);
    auto& m = QConProd->model();
    QConProd->setColumns({
        {.title = QStringLiteral("CODIGO"),
         .width = 60,
         .value = m.by(&ProductoChoice::ProdCodigo)},
        {.title = QStringLiteral("NOMBRE COMERCIAL"),
         .width = 220,
         .value = m.by(&ProductoChoice::ProdNomComercial)},
        {.title = QStringLiteral("PRINCIPIO"),
         .width = 180,
         .value = m.by(&ProductoChoice::ProdNomGenerico)},
    });
    DBNavigator2 = parts::navigator(pane, "DBNavigator2", DBGrid1);
    SpeedButton4 = parts::button(pane, "SpeedButton4", QStringLiteral("&Nuevo Producto"));
    setHint(SpeedButton4, QStringLiteral("NUEVO PRODUCTO QUE NO FIGURA EN LA LISTA DE PRODUCTOS"));
    layOutListPane(pane, QStringLiteral("PRODUCTO:"),
                   {EdProducto, PRODUCTO, DBGrid1, DBNavigator2, SpeedButton4});
    return pane;
}

QWidget* TFormProductoLaboratorio::buildBrandPane() {
    auto* pane = new QWidget(this);
    EdLaboratorio = parts::box(pane, "EdLaboratorio", db::proc::kLabNombreSize);
    LABORATORIO = parts::notice(pane, "LABORATORIO");
    DBGrid2 = grid(pane, "DBGrid2",
                   QStringLiteral("RELACION DE LABORATORIOS EXISTENTES EN LA BASE DE DATOS"));
    QConLab = brandList(DBGrid2, EdLaboratorio, QStringLiteral("NOMBRE DE LABORATORIO"));
    DBNavigator1 = parts::navigator(pane, "DBNavigator1", DBGrid2);
    SpeedButton5 = parts::button(pane, "SpeedButton5", QStringLiteral("N&ueva Marca"));
    setHint(SpeedButton5,
            QStringLiteral("NUEVO LABORATORIO QUE NO FIGURA EN LA LISTA DE LABORATORIOS"));
    layOutListPane(pane, QStringLiteral("MARCA"),
                   {EdLaboratorio, LABORATORIO, DBGrid2, DBNavigator1, SpeedButton5});
    return pane;
}

QWidget* TFormProductoLaboratorio::buildButtonBar() {
    auto* bar = new QWidget(this);
    SpeedButton1 = parts::button(bar, "SpeedButton1", QStringLiteral("&Asignar"));
    setHint(SpeedButton1, QStringLiteral("ASIGNACION DE UN PRODUCTO Y SU LABORATORIO PARA SU "
                                         "INGRESO A LA  LISTA DE MEDICAMENTOS EN BOTICA"));
    SpeedButton3 = parts::button(bar, "SpeedButton3", QStringLiteral("&Nuevo"));
    Salir = parts::button(bar, "Salir", QStringLiteral("&Salir"));
    setHint(Salir, QStringLiteral("SALIR DE LA VENTANA DE ASIGNACION DE PRODUCTO"));
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->addStretch();
    for (QPushButton* b : {SpeedButton1, SpeedButton3, Salir})
        row->addWidget(b);
    return bar;
}

void TFormProductoLaboratorio::wire() {
    for (QObject* w : {static_cast<QObject*>(EdProducto), static_cast<QObject*>(DBGrid1),
                       static_cast<QObject*>(EdLaboratorio), static_cast<QObject*>(DBGrid2)})
        w->installEventFilter(this);
    connect(SpeedButton4, &QPushButton::clicked, this,
            [this] { openNewProduct(ctx_, EdProducto->text().trimmed()); });
    connect(SpeedButton5, &QPushButton::clicked, this, [this] { openNewBrand(ctx_); });
    connect(SpeedButton1, &QPushButton::clicked, this,
            &TFormProductoLaboratorio::SpeedButton1Click);
    connect(SpeedButton3, &QPushButton::clicked, this,
            &TFormProductoLaboratorio::SpeedButton3Click);
    connect(Salir, &QPushButton::clicked, this, &TFormProductoLaboratorio::SalirClick);
}

// Escape anywhere empties the product search and goes back to it; Enter moves on.
bool TFormProductoLaboratorio::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Escape) {
        EdProducto->clear();
        EdProducto->setFocus();
        return true;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        return enterKey(watched);
    return QWidget::eventFilter(watched, event);
}

bool TFormProductoLaboratorio::enterKey(QObject* watched) {
    if (watched == EdProducto && !EdProducto->text().isEmpty())
        DBGrid1->setFocus();
    else if (watched == DBGrid1 && !EdProducto->text().isEmpty())
        EdLaboratorio->setFocus();
    else if (watched == EdLaboratorio && !EdLaboratorio->text().isEmpty())
        DBGrid2->setFocus();
    return true;
}

void TFormProductoLaboratorio::FormActivate() {
    emptySearch();
    PRODUCTO->clear();
    LABORATORIO->clear();
    AVISO->clear();
    ui::guard(ctx_.messages, [this] { reload(); });
    // The text handed on at opening outlives the first activation, which comes after it.
    EdProducto->setText(std::exchange(pendingSearch_, QString()));
}

void TFormProductoLaboratorio::reload() {
    QConProd->setRows(db::proc::productoChoices(ctx_.db));
    QConLab->setRows(db::proc::laboratorioChoices(ctx_.db));
}

// The pair is taken before the question: closing the question activates the window again,
// which re-reads both lists and moves them to their first rows.
void TFormProductoLaboratorio::SpeedButton1Click() {
    ui::guard(ctx_.messages, [this] {
        if (!ctx_.dm.isSessionOpen())
            return;
        const ProductoChoice* product = QConProd->current();
        const LaboratorioChoice* brand = QConLab->current();
        if (!product || !brand) {
            ctx_.messages.notice(kNothingToAssign);
            emptySearch();
            return;
        }
        const ProductoChoice chosenProduct = *product;
        const LaboratorioChoice chosenBrand = *brand;
        const bool yes = ctx_.messages.confirm(
            QStringLiteral("Se realizara la siguiente Asignacion: \r") +
            chosenProduct.ProdNomComercial.trimmed() + QStringLiteral(" - ") +
            chosenBrand.LabNombre.trimmed() + QStringLiteral("\r") + ctx_.session.login() +
            QStringLiteral(", DESEAS REALIZAR LA ASIGNACION..."));
        if (yes)
            assign(chosenProduct, chosenBrand);
        emptySearch();
    });
}

void TFormProductoLaboratorio::assign(const ProductoChoice& product,
                                      const LaboratorioChoice& brand) {
    const db::proc::AsignaLaboratorioProductoOut out =
        db::proc::KZ_AsignaLaboratorioProducto(ctx_.db, {product.ProdCodigo, brand.LabCodigo});
    PRODUCTO->setText(product.ProdNomComercial);
    LABORATORIO->setText(brand.LabNombre);
    AVISO->setText(out.pMensaje);
    ctx_.dm.reopenSessionDatasets();
}

void TFormProductoLaboratorio::emptySearch() {
    EdProducto->clear();
    EdLaboratorio->clear();
    EdProducto->setFocus();
}

void TFormProductoLaboratorio::SpeedButton3Click() {
    AVISO->clear();
    emptySearch();
}

void TFormProductoLaboratorio::SalirClick() {
    PRODUCTO->clear();
    LABORATORIO->clear();
    AVISO->clear();
    close();
}

}  // namespace catalogue
