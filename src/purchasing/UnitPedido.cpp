#include "purchasing/UnitPedido.h"

#include "core/Clock.h"
#include "core/Format.h"
#include "purchasing/PurchasingParts.h"
#include "session/Session.h"
#include "ui/Activation.h"
#include "ui/Guard.h"
#include "ui/Messages.h"
#include "ui/Palette.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace purchasing {

namespace {

using db::proc::PagoRow;
using db::proc::PedidoRow;
using db::proc::ProveedorRow;
using db::proc::RepresentanteRow;

constexpr int kDeliveryDays = 5;
constexpr int kCuotasColumn = 3;
constexpr int kPagoEstadoColumn = 2;

QTableView* grid(QWidget* parent, const char* name, int width, int height) {
    auto* g = new QTableView(parent);
    g->setObjectName(QString::fromLatin1(name));
    g->setFixedSize(width, height);
    return g;
}

QString moment(const QDateTime& dt) {
    return dt.toString(QStringLiteral("dd/MM/yyyy HH:mm"));
}

// Bold red where the state is the one still open.
template <class Row>
ui::ColumnDef stateColumn(const ui::VectorModel<Row>* m, QString Row::*state, const char* open,
                          int width) {
    const QString pending = QString::fromLatin1(open);
    const auto isOpen = [pending, state](const Row& r) { return (r.*state).trimmed() == pending; };
    return {.title = QStringLiteral("ESTADO"),
            .width = width,
            .value = m->by(state),
            .foreground =
                m->by([isOpen](const Row& r) { return isOpen(r) ? ui::palette::red : QColor(); }),
            .bold = m->by(isOpen)};
}

}  // namespace

TFormPedido::TFormPedido(session::AppContext& ctx)
    : QWidget(ctx.mainWindow, Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint),
      ctx_(ctx) {
    setObjectName(QStringLiteral("FormPedido"));
    setWindowTitle(QStringLiteral("VENTANA DE INGRESO DE PEDIDOS"));
    own_ = new parts::OwnBoxes(this);
    build();
    wire();
    ui::guard(ctx_.messages, [this] {
        parts::setRowsKeeping(DBGrid2, TProveedor, db::proc::proveedores(ctx_.db),
                              std::mem_fn(&ProveedorRow::ProvCod));
        reloadRepresentatives();
        reload();
    });
    ui::onActivation(this, [this] { ui::guard(ctx_.messages, [this] { activated(); }); });
}

void TFormPedido::build() {
    buildLists();
    ST = parts::messageLine(this, "ST");
    BtnNuevo = parts::button(this, "BtnNuevo", QStringLiteral("&Nuevo"));
    BtnGrabar = parts::button(this, "BtnGrabar", QStringLiteral("&Grabar"));
    BtnEditar = parts::button(this, "BtnEditar", QStringLiteral("&Editar"));
    BtnEliminar = parts::button(this, "BtnEliminar", QStringLiteral("&Eliminar"));
    BtnSalir = parts::button(this, "BtnSalir", QStringLiteral("&Salir"));
    buildOrderGrid();
    buildInstalmentGrid();

    auto* top = new QHBoxLayout;
    top->addWidget(DBGrid2);
    top->addWidget(DBGrid1);
    top->addWidget(buildBoxes());
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {BtnNuevo, BtnGrabar, BtnEditar, BtnEliminar, BtnSalir})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(ST);
    layout->addLayout(buttons);
    layout->addWidget(DBGrid3);
    layout->addWidget(DBGrid4);
}

void TFormPedido::buildLists() {
    DBGrid2 = grid(this, "DBGrid2", 260, 150);
    TProveedor = new ui::VectorModel<ProveedorRow>(this);
    TProveedor->setColumns({{.title = QStringLiteral("NOMBRE DEL PROVEEDOR"),
                             .width = 230,
                             .value = TProveedor->by(&ProveedorRow::ProvRazSoc)}});
    ui::Grid::setUp(DBGrid2, TProveedor);
    DBGrid1 = grid(this, "DBGrid1", 330, 150);
    TRepresentante = new ui::VectorModel<RepresentanteRow>(this);
    TRepresentante->setColumns({{.title = QStringLiteral("APELLIDOS Y NOMBRES DEL PREVENDEDOR"),
                                 .width = 300,
                                 .value = TRepresentante->by([](const RepresentanteRow& r) {
                                     return r.RepApellidos.trimmed() + QStringLiteral(", ") +
                                            r.RepNombre.trimmed();
                                 })}});
    ui::Grid::setUp(DBGrid1, TRepresentante);
}

QWidget* TFormPedido::buildBoxes() {
    DateTimePicker1 = parts::picker(this, "DateTimePicker1");
    DateTimePicker2 = parts::picker(this, "DateTimePicker2");
    CBEstado = parts::choice(this, "CBEstado", db::proc::estadosPedido(), QStringLiteral("ESTADO"));
    auto* boxes = new QWidget(this);
    auto* fields = new QFormLayout(boxes);
    fields->addRow(QStringLiteral("PEDIDO:"), DateTimePicker1);
    fields->addRow(QStringLiteral("ENTREGA:"), DateTimePicker2);
    fields->addRow(QStringLiteral("ESTADO:"), CBEstado);
    return boxes;
}

void TFormPedido::buildOrderGrid() {
    DBGrid3 = grid(this, "DBGrid3", 990, 210);
    QPedido = new ui::VectorModel<PedidoRow>(this);
    auto* m = QPedido;
    const auto right = Qt::AlignRight | Qt::AlignVCenter;
    m->setColumns(
        {{.title = QStringLiteral("NUM"),
          .width = 45,
          .alignment = right,
          .value = m->by(&PedidoRow::PedNumero)},
         {.title = QStringLiteral("TOTAL"),
          .width = 75,
          .alignment = right,
          .value = m->by([](const PedidoRow& r) { return core::fmt::twoDecimals(r.TOTAL); })},
         {.title = QStringLiteral("FECHA PEDIDO"),
          .width = 115,
          .value = m->by([](const PedidoRow& r) { return moment(r.PedFechaPedido); })},
         {.title = QStringLiteral("CUOTAS"),
          .width = 70,
          .alignment = right,
          .value = m->by(&PedidoRow::PedNumCuotas)},
         {.title = QStringLiteral("PROVEEDOR"),
          .width = 140,
          .value = m->by(&PedidoRow::ProvRazSoc)},
         stateColumn(m, &PedidoRow::PedEstado, "NO ENTREGADO", 100),
         {.title = QStringLiteral("REPRESENTANTE"),
          .width = 160,
          .value = m->by(&PedidoRow::APENOMPEDIDO)},
         {.title = QStringLiteral("FECHA ENTREGA"),
          .width = 115,
          .value = m->by([](const PedidoRow& r) { return moment(r.PedFechaEntrega); })},
         {.title = QStringLiteral("PERSONA REALIZO EL PEDIDO"),
          .width = 160,
          .value = m->by(&PedidoRow::APENOMUSU)}});
    ui::Grid::setUp(DBGrid3, m);
    parts::contextMenu(DBGrid3,
                       {{"PMEditar", QStringLiteral("&Editar"), [this] { PMEditarClick(); }},
                        {"PMEliminar", QStringLiteral("Eliminar"), [this] { PMEliminarClick(); }}});
    parts::cellButton(DBGrid3, kCuotasColumn,
                      [this](int row) { emit newInstalmentAsked(QPedido->row(row).PedNumero); });
}

void TFormPedido::buildInstalmentGrid() {
    DBGrid4 = grid(this, "DBGrid4", 420, 140);
    TPago = new ui::VectorModel<PagoRow>(this);
    auto* m = TPago;
    m->setColumns(
        {{.title = QStringLiteral("PAGO"), .width = 130, .value = m->by([](const PagoRow& r) {
              return moment(r.PagFechaPago);
          })},
         {.title = QStringLiteral("MONTO"),
          .width = 100,
          .alignment = Qt::AlignRight | Qt::AlignVCenter,
          .value = m->by([](const PagoRow& r) { return core::fmt::twoDecimals(r.PagMonto); })},
         stateColumn(m, &PagoRow::PagEstado, "PENDIENTE", 150)});
    ui::Grid::setUp(DBGrid4, m);
    parts::cellButton(DBGrid4, kPagoEstadoColumn,
                      [this](int row) { emit editInstalmentAsked(TPago->row(row)); });
}

void TFormPedido::wire() {
    connect(DBGrid2->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { ui::guard(ctx_.messages, [this] { reloadRepresentatives(); }); });
    connect(DBGrid3->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { ui::guard(ctx_.messages, [this] { reloadInstalments(); }); });
    connect(BtnNuevo, &QPushButton::clicked, this, &TFormPedido::BtnNuevoClick);
    connect(BtnGrabar, &QPushButton::clicked, this, &TFormPedido::BtnGrabarClick);
    connect(BtnEditar, &QPushButton::clicked, this, &TFormPedido::BtnEditarClick);
    connect(BtnEliminar, &QPushButton::clicked, this, &TFormPedido::BtnEliminarClick);
    connect(BtnSalir, &QPushButton::clicked, this, &QWidget::close);
}

// Back from its own box or its instalment window, what the user set stays.
void TFormPedido::activated() {
    const bool own = own_->backFromOwn();
    parts::setRowsKeeping(DBGrid2, TProveedor, db::proc::proveedores(ctx_.db),
                          std::mem_fn(&ProveedorRow::ProvCod));
    reloadRepresentatives();
    reload();
    if (own)
        return;
    setButtons(true, false, false);
    const QDateTime now = ctx_.clock.now();
    DateTimePicker1->setDateTime(now);
    DateTimePicker2->setDateTime(now.addDays(kDeliveryDays));
}

void TFormPedido::returningFromPayment() {
    own_->expectReturn();
}

void TFormPedido::reload() {
    parts::setRowsKeeping(DBGrid3, QPedido, db::proc::pedidos(ctx_.db),
                          std::mem_fn(&PedidoRow::PedNumero));
    reloadInstalments();
}

void TFormPedido::reloadRepresentatives() {
    const ProveedorRow* supplier = parts::selectedRow(DBGrid2, TProveedor);
    parts::setRowsKeeping(DBGrid1, TRepresentante,
                          supplier ? db::proc::representantesDe(ctx_.db, supplier->ProvCod)
                                   : std::vector<RepresentanteRow>{},
                          std::mem_fn(&RepresentanteRow::RepCodigo));
}

void TFormPedido::reloadInstalments() {
    const PedidoRow* order = selectedOrder();
    parts::setRowsKeeping(
        DBGrid4, TPago,
        order ? db::proc::pagosDe(ctx_.db, order->PedNumero) : std::vector<PagoRow>{},
        std::mem_fn(&PagoRow::PagCod));
}

void TFormPedido::BtnNuevoClick() {
    DateTimePicker1->setDateTime(ctx_.clock.now());
    CBEstado->setCurrentIndex(-1);
    editing_ = 0;
    deleting_ = 0;
    setButtons(true, false, false);
}

void TFormPedido::BtnGrabarClick() {
    own_->run([this] {
        ui::guard(ctx_.messages, [this] {
            if (!commonChecks() || !stateAndDatesChecked())
                return;
            db::proc::PedidoIn in;
            in.pRepCodigo = parts::selectedRow(DBGrid1, TRepresentante)->RepCodigo;
            in.pUsuCod = ctx_.session.userCode();
            in.pPedFechaPedido = DateTimePicker1->dateTime();
            in.pPedFechaEntrega = DateTimePicker2->dateTime();
            in.pPedEstado = parts::chosen(CBEstado);
            shown(db::proc::KZ_IngresoPedido(ctx_.db, in));
        });
    });
}

void TFormPedido::BtnEditarClick() {
    own_->run([this] {
        ui::guard(ctx_.messages, [this] {
            if (!commonChecks() || !stateAndDatesChecked())
                return;
            db::proc::PedidoIn in;
            in.pPedNumero = editing_;
            in.pPedFechaPedido = DateTimePicker1->dateTime();
            in.pPedFechaEntrega = DateTimePicker2->dateTime();
            in.pPedEstado = parts::chosen(CBEstado);
            shown(db::proc::KZ_EditarPedido(ctx_.db, in));
        });
    });
}

void TFormPedido::BtnEliminarClick() {
    own_->run([this] {
        ui::guard(ctx_.messages, [this] {
            if (!commonChecks())
                return;
            if (!ctx_.messages.confirm(QStringLiteral("DESEA ELIMINAR:\rEL PEDIDO:   ") +
                                       QString::number(deleting_) +
                                       QStringLiteral(" PERMANENTEMENTE...\rCON PAGOS Y "
                                                      "DETALLES...")))
                return;
            shown(db::proc::KZ_BorraPedido(ctx_.db, deleting_));
        });
    });
}

// The order's own dates and state fill the boxes, so that editing one keeps the others.
void TFormPedido::PMEditarClick() {
    const PedidoRow* order = selectedOrder();
    if (!order)
        return;
    setButtons(false, true, false);
    editing_ = order->PedNumero;
    DateTimePicker1->setDateTime(order->PedFechaPedido);
    DateTimePicker2->setDateTime(order->PedFechaEntrega);
    parts::choose(CBEstado, order->PedEstado);
}

void TFormPedido::PMEliminarClick() {
    const PedidoRow* order = selectedOrder();
    if (!order)
        return;
    setButtons(false, false, true);
    deleting_ = order->PedNumero;
}

bool TFormPedido::commonChecks() {
    if (!parts::selectedRow(DBGrid2, TProveedor)) {
        ctx_.messages.notice(
            QStringLiteral("INGRESE UN PROVEEDOR, ANTES DE HACER EL PEDIDO\rVAYA "
                           "AL MENU INGRESOS/PROVEEDOR"));
        return false;
    }
    if (!parts::selectedRow(DBGrid1, TRepresentante)) {
        ctx_.messages.notice(
            QStringLiteral("INGRESE UN REPRESENTANTE, ANTES DE HACER EL PEDIDO\r"
                           "VAYA AL MENU INGRESOS/REPRESENTANTE"));
        return false;
    }
    return true;
}

bool TFormPedido::stateAndDatesChecked() {
    if (parts::chosen(CBEstado).isEmpty()) {
        ctx_.messages.notice(QStringLiteral("ELIJA EL ESTADO DEL PEDIDO"));
        CBEstado->setFocus();
        return false;
    }
    if (DateTimePicker2->dateTime() < DateTimePicker1->dateTime()) {
        ctx_.messages.notice(
            QStringLiteral("FECHA DE ENTREGA NO PUEDE SER\r MENOR QUE FECHA DE PEDIDO"));
        return false;
    }
    return true;
}

void TFormPedido::shown(const db::proc::Resultado& out) {
    reload();
    ST->setText(out.pMensaje.trimmed());
    if (out.codigo == 0)
        ctx_.messages.notice(out.pMensaje, ui::Messages::Kind::Warning);
}

void TFormPedido::setButtons(bool grabar, bool editar, bool eliminar) {
    BtnGrabar->setEnabled(grabar);
    BtnEditar->setEnabled(editar);
    BtnEliminar->setEnabled(eliminar);
}

const PedidoRow* TFormPedido::selectedOrder() const {
    return parts::selectedRow(DBGrid3, QPedido);
}

}  // namespace purchasing
