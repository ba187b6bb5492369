#include "purchasing/UnitDetallePedido.h"

#include "core/Format.h"
#include "db/procedures/Catalogue.h"
#include "purchasing/PurchasingParts.h"
#include "ui/Guard.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QTableView>
#include <QVBoxLayout>

namespace purchasing {

using db::proc::PresentacionConsulta;

TFormDetallePedido* TFormDetallePedido::open(session::AppContext& ctx) {
    auto* form = new TFormDetallePedido(ctx, ctx.mainWindow);
    parts::show(form);
    return form;
}

TFormDetallePedido::TFormDetallePedido(session::AppContext& ctx, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint),
      ctx_(ctx) {
    setObjectName(QStringLiteral("FormDetallePedido"));
    setWindowTitle(QStringLiteral("DETALLE DE PEDIDO"));
    build();
    connect(Ednombre, &QLineEdit::textChanged, this, &TFormDetallePedido::EdnombreChange);
}

void TFormDetallePedido::build() {
    Ednombre = parts::box(this, "Ednombre", db::proc::kPresTipoSize);
    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setFixedSize(720, 420);
    QPresentaciones = new ui::VectorModel<PresentacionConsulta>(this);
    auto* m = QPresentaciones;
    const auto right = Qt::AlignRight | Qt::AlignVCenter;
    m->setColumns({{.title = QStringLiteral("PRESENTACION"),
                    .width = 290,
                    .value = m->by(&PresentacionConsulta::PresTipo)},
                   {.title = QStringLiteral("LABORATORIO"),
                    .width = 170,
                    .value = m->by(&PresentacionConsulta::LabNombre)},
                   {.title = QStringLiteral("P. COSTO"),
                    .width = 75,
                    .alignment = right,
                    .value = m->by([](const PresentacionConsulta& p) {
                        return core::fmt::twoDecimals(p.PresPrecioCosto);
                    })},
                   {.title = QStringLiteral("P. VENTA"),
                    .width = 75,
                    .alignment = right,
                    .value = m->by([](const PresentacionConsulta& p) {
                        return core::fmt::twoDecimals(p.PresVenta);
                    })},
                   {.title = QStringLiteral("STOCK"),
                    .width = 60,
                    .alignment = right,
                    .value = m->by(&PresentacionConsulta::PresStockTotal)}});
    ui::Grid::setUp(DBGrid1, m);
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("NOMBRE DE PRODUCTO"), Ednombre);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(DBGrid1);
}

void TFormDetallePedido::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!loaded_)
        ui::guard(ctx_.messages, [this] { load(); });
}

void TFormDetallePedido::load() {
    std::vector<PresentacionConsulta> rows = db::proc::presentacionesConsulta(ctx_.db);
    index_.sort(rows, &PresentacionConsulta::PresTipo);
    QPresentaciones->setRows(std::move(rows));
    loaded_ = true;
    ui::Grid::selectRow(DBGrid1, 0);
}

int TFormDetallePedido::rowCount() const {
    return int(QPresentaciones->rows().size());
}

void TFormDetallePedido::EdnombreChange(const QString& text) {
    const int at = index_.find(text);
    if (at >= 0)
        ui::Grid::selectRow(DBGrid1, at);
}

}  // namespace purchasing
