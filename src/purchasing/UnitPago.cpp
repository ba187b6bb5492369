#include "purchasing/UnitPago.h"

#include "core/Clock.h"
#include "core/Format.h"
#include "core/InputRules.h"
#include "purchasing/PurchasingParts.h"
#include "ui/Activation.h"
#include "ui/FormHelpers.h"
#include "ui/Guard.h"
#include "ui/InputFilter.h"
#include "ui/Messages.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace purchasing {

namespace {

constexpr int kAmountSize = 15;

}  // namespace

TFormPago::TFormPago(session::AppContext& ctx, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint),
      ctx_(ctx) {
    setObjectName(QStringLiteral("FormPago"));
    setWindowTitle(QStringLiteral("VENTANA DE PAGOS"));
    own_ = new parts::OwnBoxes(this);
    build();
    wire();
    ui::onActivation(this, [this] { ui::guard(ctx_.messages, [this] { activated(); }); });
}

void TFormPago::build() {
    STPago = parts::messageLine(this, "STPago");
    DateTimePicker1 = parts::picker(this, "DateTimePicker1");
    EdMonto = parts::box(this, "EdMonto", kAmountSize);
    CbEstado = parts::choice(this, "CbEstado", db::proc::estadosPago(), QStringLiteral("ESTADO"));
    BtnGrabar = parts::button(this, "BtnGrabar", QStringLiteral("&Grabar"));
    BtnEditar = parts::button(this, "BtnEditar", QStringLiteral("&Editar"));
    BtnSalir = parts::button(this, "BtnSalir", QStringLiteral("&Salir"));
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("FECHA DE PAGO:"), DateTimePicker1);
    fields->addRow(QStringLiteral("MONTO:"), EdMonto);
    fields->addRow(QStringLiteral("ESTADO:"), CbEstado);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {BtnGrabar, BtnEditar, BtnSalir})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(STPago);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    setMinimumWidth(420);
}

void TFormPago::wire() {
    ui::filter(EdMonto, core::isPriceText);
    parts::enterMovesTo(EdMonto, CbEstado);
    connect(BtnGrabar, &QPushButton::clicked, this, &TFormPago::BtnGrabarClick);
    connect(BtnEditar, &QPushButton::clicked, this, &TFormPago::BtnEditarClick);
    connect(BtnSalir, &QPushButton::clicked, this, &QWidget::close);
}

void TFormPago::startNew(int pedNumero) {
    order_ = pedNumero;
    instalment_ = 0;
    EdMonto->clear();
    CbEstado->setCurrentIndex(-1);
    DateTimePicker1->setDateTime(ctx_.clock.now());
    present(QStringLiteral("INGRESO, PEDIDO NUMERO: ") + QString::number(pedNumero), false);
}

void TFormPago::startEdit(const db::proc::PagoRow& pago) {
    order_ = pago.PedNumero;
    instalment_ = pago.PagCod;
    DateTimePicker1->setDateTime(pago.PagFechaPago);
    EdMonto->setText(core::fmt::shortest(pago.PagMonto));
    parts::choose(CbEstado, pago.PagEstado);
    present(QStringLiteral("EDICION PEDIDO NUMERO: ") + QString::number(pago.PedNumero), true);
}

void TFormPago::present(const QString& title, bool editing) {
    STPago->setText(title);
    BtnGrabar->setVisible(!editing);
    BtnEditar->setVisible(editing);
    if (isHidden()) {
        adjustSize();
        ui::centreOnDesktop(this);
    }
    show();
    raise();
    activateWindow();
    DateTimePicker1->setFocus();
}

// A new instalment is dated now when the window comes back to the user; an edited one keeps
// its date, and so does anything set before the window's own box.
void TFormPago::activated() {
    if (own_->backFromOwn())
        return;
    if (instalment_ == 0)
        DateTimePicker1->setDateTime(ctx_.clock.now());
    DateTimePicker1->setFocus();
}

void TFormPago::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    emit closed();
}

void TFormPago::BtnGrabarClick() {
    own_->run([this] {
        ui::guard(ctx_.messages, [this] {
            db::proc::PagoIn in;
            in.pPedNumero = order_;
            if (!typed(in))
                return;
            const db::proc::Resultado out = db::proc::KZ_IngresoPago(ctx_.db, in);
            STPago->setText(out.pMensaje.trimmed());
            emit saved();
            if (out.codigo == 0)
                ctx_.messages.notice(out.pMensaje, ui::Messages::Kind::Warning);
        });
    });
}

void TFormPago::BtnEditarClick() {
    own_->run([this] {
        ui::guard(ctx_.messages, [this] {
            db::proc::PagoIn in;
            in.pPagCod = instalment_;
            if (!typed(in))
                return;
            const db::proc::Resultado out = db::proc::KZ_EditarPago(ctx_.db, in);
            STPago->setText(out.pMensaje.trimmed());
            emit saved();
            if (out.codigo == 0) {
                ctx_.messages.notice(out.pMensaje, ui::Messages::Kind::Warning);
                return;
            }
            close();
        });
    });
}

// The boxes' values, each check showing its message and focusing its box.
bool TFormPago::typed(db::proc::PagoIn& in) {
    const QString amount = core::withDecimalPoints(EdMonto->text().trimmed());
    if (amount.isEmpty()) {
        ctx_.messages.notice(QStringLiteral("INGRESE UN VALOR"));
        EdMonto->setFocus();
        return false;
    }
    bool number = false;
    in.pPagMonto = amount.toDouble(&number);
    if (!number) {
        ctx_.messages.notice(QStringLiteral("EL MONTO INGRESADO NO ES UN NUMERO"));
        EdMonto->setFocus();
        return false;
    }
    in.pPagEstado = parts::chosen(CbEstado);
    if (in.pPagEstado.isEmpty()) {
        ctx_.messages.notice(QStringLiteral("ELIJA EL ESTADO DEL PAGO"));
        CbEstado->setFocus();
        return false;
    }
    in.pPagFechaPago = DateTimePicker1->dateTime();
    return true;
}

}  // namespace purchasing
