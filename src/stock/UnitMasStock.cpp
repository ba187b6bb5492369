#include "stock/UnitMasStock.h"

#include "core/Clock.h"
#include "core/Format.h"
#include "core/InputRules.h"
#include "core/Roles.h"
#include "db/procedures/SaleReads.h"
#include "db/procedures/Stock.h"
#include "platform/Platform.h"
#include "session/CommandRules.h"
#include "session/Session.h"
#include "session/UnitDM.h"
#include "stock/IntakeDocument.h"
#include "ui/Activation.h"
#include "ui/FormHelpers.h"
#include "ui/Guard.h"
#include "ui/Hint.h"
#include "ui/InputFilter.h"
#include "ui/Palette.h"
#include "ui/TextStyle.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <optional>

namespace stock {

namespace {

const QString kCaption = QStringLiteral("INGRESO DE MERCADERIA, EXISTENTE EN FARMACIA");
const QString kNoRate = QStringLiteral("PRIMERO DEBERIA INGRESAR\rEL IGV EN LA BASE DE DATOS...");
const QString kBlank = QStringLiteral("NO SE PERMITEN VALORES EN BLANCO");
const QString kApplyFailed = QStringLiteral("ERROR EN EL INGRESO DE DATOS");
const QString kBadCost = QStringLiteral("EL PRECIO DE COSTO NO ES UN NUMERO");
const QString kBadPrice = QStringLiteral("LOS NUEVOS PRECIOS NO SON NUMEROS");
const QString kZeroQuantity = QStringLiteral("LA CANTIDAD NO PUEDE SER 0");
const QString kTooMany = QStringLiteral("EL STOCK NO PUEDE PASAR DE 32767 UNIDADES");
const QString kPriceRefused = QStringLiteral(
    "INGRESO ERRONEO\rPRECIO DE COSTO NUNCA\rPUEDE SER MAYOR QUE\rEL PRECIO DE VENTA...");
constexpr int kUnitsDigits = 5;

// Types a batch accepts: those the box offers and "OTROS", typed.
QStringList acceptedTypes() {
    return offeredTypes() << QStringLiteral("OTROS");
}

// A box's trimmed text with its commas as points, as a number; none when it is none.
std::optional<double> numberIn(QLineEdit* box) {
    box->setText(core::withDecimalPoints(box->text()));
    bool ok = false;
    const double value = box->text().trimmed().toDouble(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

std::optional<core::Money> moneyIn(QLineEdit* box) {
    box->setText(core::withDecimalPoints(box->text()));
    return core::Money::parse(box->text().trimmed());
}

// Digits and the first decimal separator (as a point); later separators dropped. None when
// anything else is in the text.
std::optional<QString> cleanPrice(const QString& text) {
    QString out;
    bool separator = false;
    for (const QChar c : text.trimmed()) {
        if (c.isDigit() && c.unicode() < 128) {
            out += c;
        } else if (c == QLatin1Char(',') || c == QLatin1Char('.')) {
            if (!separator)
                out += QLatin1Char('.');
            separator = true;
        } else {
            return std::nullopt;
        }
    }
    return out;
}

QLineEdit* lineBox(QWidget* parent, const char* name) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

QLabel* label(QWidget* parent, const char* name) {
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

}  // namespace

TFrmMasStock* TFrmMasStock::open(session::AppContext& ctx) {
    const session::PresentationRow* current = ctx.dm.currentPresentation();
    const session::ProductRow* product = ctx.dm.currentProduct();
    auto* form = new TFrmMasStock(ctx, current ? current->CodPresentacion : 0,
                                  product ? product->ProdNomComercial.trimmed() : QString());
    showIntakeWindow(ctx, form, [form] { form->activated(); });
    return form;
}

TFrmMasStock::TFrmMasStock(session::AppContext& ctx, int presentation, const QString& product)
    : QWidget(ctx.mainWindow,
              Qt::Window | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      ctx_(ctx),
      presentation_(presentation),
      product_(product) {
    setObjectName(QStringLiteral("FrmMasStock"));
    setWindowTitle(kCaption);
    build();
    wire();
    const std::optional<db::proc::Igv> igv = db::proc::currentIgv(ctx.db);
    rate_ = igv && igv->IgvValor ? *igv->IgvValor : 0;
    // Only a return from another window of the program counts: its own message boxes leave the
    // supplier, document and expiry date as the user set them.
    ui::onActivation(
        this, [this] { ui::guard(ctx_.messages, [this] { activated(); }); },
        ui::BoxActivation::None);
}

void TFrmMasStock::build() {
    PRODUCTO = label(this, "PRODUCTO");
    PRESENTACION = label(this, "PRESENTACION");
    AVISO = label(this, "AVISO");
    antes = label(this, "antes");
    antes->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    Pc = lineBox(this, "Pc");
    Pc->setMaxLength(20);
    Cantidad = lineBox(this, "Cantidad");
    Cantidad->setMaxLength(kUnitsDigits);
    CON = new QRadioButton(QStringLiteral("CON"), this);
    CON->setObjectName(QStringLiteral("CON"));
    SIN = new QRadioButton(QStringLiteral("SIN"), this);
    SIN->setObjectName(QStringLiteral("SIN"));
    auto* tax = new QGroupBox(QStringLiteral("I.G.V."), this);
    auto* taxRow = new QHBoxLayout(tax);
    taxRow->addWidget(CON);
    taxRow->addWidget(SIN);
    Stock = lineBox(this, "Stock");
    Stock->setMaxLength(kUnitsDigits);
    DateTimePicker1 = expiryBox(this, "DateTimePicker1");
    Ingreso = button(this, "Ingreso", QStringLiteral("&ING"));
    S = label(this, "S");
    document_ = new IntakeDocument(ctx_, this, "CBTipoDocumento");
    ui::setHint(document_->supplierBox(), QStringLiteral("NOMBRE DEL PROVEEDOR"));
    ui::setHint(document_->typeBox(), QStringLiteral("ELIJA EL TIPO DE DOCUMENTO"));
    ui::setHint(document_->numberBox(), QStringLiteral("NUMERO DE BOLETA/FACTURA/COMPROBANTE"));
    Averiguar = button(this, "Averiguar", QStringLiteral("&Averiguar"));
    Ingresar = button(this, "Ingresar", QStringLiteral("Ingr&esar"));
    Salir = button(this, "Salir", QStringLiteral("&Salir"));

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("PRECIO DE COSTO:")), 0, 0);
    grid->addWidget(Pc, 0, 1);
    grid->addWidget(Cantidad, 0, 2);
    grid->addWidget(tax, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("NUEVO STOCK:")), 1, 0);
    grid->addWidget(Stock, 1, 1);
    grid->addWidget(DateTimePicker1, 1, 2);
    grid->addWidget(Ingreso, 1, 3);
    grid->addWidget(S, 1, 4);
    grid->addWidget(new QLabel(QStringLiteral("PROVEEDOR:")), 2, 0);
    grid->addWidget(document_->supplierBox(), 2, 1, 1, 2);
    grid->addWidget(document_->typeBox(), 3, 1);
    grid->addWidget(document_->numberBox(), 3, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Averiguar);
    buttons->addWidget(Ingresar);
    buttons->addWidget(Salir);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PRODUCTO);
    layout->addWidget(PRESENTACION);
    layout->addWidget(antes);
    layout->addWidget(AVISO);
    layout->addLayout(grid);
    layout->addWidget(buildNewPrices());
    layout->addLayout(buttons);
    setMinimumWidth(640);
}

QWidget* TFrmMasStock::buildNewPrices() {
    Nuevo = new QGroupBox(this);
    Nuevo->setObjectName(QStringLiteral("Nuevo"));
    NPC = lineBox(Nuevo, "NPC");
    ui::setHint(NPC, QStringLiteral("PULSA ENTER, PARA VER PG, Y PV"));
    NPG = lineBox(Nuevo, "NPG");
    NPV = lineBox(Nuevo, "NPV");
    for (QLineEdit* price : {NPC, NPG, NPV})
        price->setMaxLength(20);
    auto* fields = new QGridLayout(Nuevo);
    fields->addWidget(new QLabel(QStringLiteral("PRECIO DE COSTO")), 0, 0);
    fields->addWidget(NPC, 0, 1);
    fields->addWidget(new QLabel(QStringLiteral("PORCENTAJE DE GANANCIA:")), 1, 0);
    fields->addWidget(NPG, 1, 1);
    fields->addWidget(new QLabel(QStringLiteral("PRECIO DE VENTA:")), 2, 0);
    fields->addWidget(NPV, 2, 1);
    return Nuevo;
}

void TFrmMasStock::wire() {
    ui::filter(Stock, core::isDigitsOnly);
    ui::filter(Cantidad, core::isDigitsOnly);
    for (QObject* w :
         std::initializer_list<QObject*>{Pc, Cantidad, Stock, DateTimePicker1, NPC, NPG, NPV})
        w->installEventFilter(this);
    connect(Ingreso, &QPushButton::clicked, this, &TFrmMasStock::IngresoClick);
    connect(Averiguar, &QPushButton::clicked, this, &TFrmMasStock::AveriguarClick);
    connect(Ingresar, &QPushButton::clicked, this, &TFrmMasStock::IngresarClick);
    connect(Salir, &QPushButton::clicked, this, &QWidget::close);
}

bool TFrmMasStock::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return QWidget::eventFilter(watched, event);
    ui::guard(ctx_.messages, [this, watched] { enterIn(watched); });
    return true;
}

void TFrmMasStock::enterIn(QObject* watched) {
    if (watched == Pc)
        PcEnter();
    else if (watched == Cantidad)
        CantidadEnter();
    else if (watched == Stock)
        StockEnter();
    else if (watched == DateTimePicker1)
        Ingreso->setFocus();
    else if (watched == NPC)
        NPCEnter();
    else if (watched == NPG)
        NPGEnter();
    else if (watched == NPV)
        NPVEnter();
}

// While an intake is under way (back from a message box or another window) only the suppliers
// are read again: the batches, the total and what was typed stay.
void TFrmMasStock::activated() {
    document_->readSuppliers();
    if (!underWay())
        startAfresh();
}

void TFrmMasStock::startAfresh() {
    state_ = State::Ready;
    intake_ = 0;
    staged_ = 0;
    DateTimePicker1->setEnabled(true);
    DateTimePicker1->setDateTime(ctx_.clock.now().addDays(1));
    if (document_->supplierBox()->count() > 0)
        document_->supplierBox()->setEditText(document_->supplierBox()->itemText(0));
    Averiguar->setEnabled(true);
    Ingresar->setEnabled(false);
    SIN->setChecked(true);
    for (QWidget* w : std::initializer_list<QWidget*>{Pc, Stock, Cantidad})
        w->setEnabled(true);
    Nuevo->hide();
    showBefore();
    AVISO->clear();
    S->clear();
    document_->recall();
}

// The presentation as it stands, read by its code; no profit when it has no cost.
void TFrmMasStock::showBefore() {
    const std::optional<db::proc::PresentacionStock> p =
        db::proc::presentacionStock(ctx_.db, presentation_);
    if (!p)
        return;
    PRODUCTO->setText(product_);
    PRESENTACION->setText(p->PresTipo.trimmed());
    const double cost = p->PresPrecioCosto.toDouble();
    const QString profit =
        cost == 0 ? QString() : core::fmt::shortest((p->PresVenta.toDouble() / cost - 1) * 100);
    antes->setText(ui::Messages::displayed(
        QStringLiteral("\r PRODUCTO        : ") + product_ +
        QStringLiteral("\r PRESENTACION    : ") + p->PresTipo.trimmed() +
        QStringLiteral("\r PRECIO DE COSTO : ") + core::fmt::shortest(p->PresPrecioCosto) +
        QStringLiteral("  Soles/Unidad.\r PRECIO DE VENTA : ") + core::fmt::shortest(p->PresVenta) +
        QStringLiteral("  Soles/Unidad.\r STOCK ACTUAL    : ") +
        QString::number(p->PresStockTotal) + QStringLiteral(" Unidades.\r Ganancia        : ") +
        profit + QStringLiteral("%")));
}

void TFrmMasStock::PcEnter() {
    Pc->setText(core::withDecimalPoints(Pc->text()));
    if (CON->isChecked()) {
        if (rate_ == 0) {
            ctx_.messages.notice(kNoRate);
            return;
        }
        const std::optional<double> cost = numberIn(Pc);
        if (!cost) {
            ctx_.messages.notice(kBadCost);
            return;
        }
        ui::setTextColour(Pc, ui::palette::red);
        Pc->setText(core::fmt::shortest(*cost * (rate_ / 100 + 1)));
    }
    Stock->setFocus();
}

void TFrmMasStock::CantidadEnter() {
    if (Cantidad->text().isEmpty())
        return;
    const int quantity = Cantidad->text().trimmed().toInt();
    if (quantity == 0) {
        ctx_.messages.notice(kZeroQuantity);
        return;
    }
    const std::optional<double> cost = numberIn(Pc);
    if (!cost) {
        ctx_.messages.notice(kBadCost);
        return;
    }
    Pc->setText(core::fmt::shortest(*cost / quantity));
    Stock->setFocus();
}

void TFrmMasStock::StockEnter() {
    bool ok = false;
    if (Stock->text().trimmed().toInt(&ok) > 0 && ok) {
        Stock->setText(Stock->text().remove(QLatin1Char(' ')));
        DateTimePicker1->setFocus();
    }
}

void TFrmMasStock::NPCEnter() {
    const std::optional<QString> cleaned = cleanPrice(NPC->text());
    if (!cleaned) {
        NPC->clear();
        NPC->setFocus();
        return;
    }
    NPC->setText(*cleaned);
    NPG->show();
    NPV->show();
    NPV->setFocus();
}

void TFrmMasStock::NPGEnter() {
    const std::optional<double> profit = numberIn(NPG);
    const std::optional<double> cost = numberIn(NPC);
    if (profit && cost)
        NPV->setText(core::fmt::shortest((*profit / 100 + 1) * *cost));
    NPV->setFocus();
}

void TFrmMasStock::NPVEnter() {
    if (NPV->text().isEmpty() || NPC->text().isEmpty())
        return;
    numberIn(NPG);
    const std::optional<double> sale = numberIn(NPV);
    const std::optional<double> cost = numberIn(NPC);
    if (sale && cost && *cost != 0)
        NPG->setText(core::fmt::shortest((*sale / *cost - 1) * 100));
}

void TFrmMasStock::IngresoClick() {
    ui::guard(ctx_.messages, [this] {
        if (!batchChecked())
            return;
        bool ok = false;
        const int units = Stock->text().trimmed().toInt(&ok);
        if (!ok || units <= 0)
            return;
        if (units > db::proc::kStockMax - staged_) {
            ctx_.messages.notice(kTooMany);
            return;
        }
        stage(units);
    });
}

// The checks of "&ING" in their order, each ending it.
bool TFrmMasStock::batchChecked() {
    return expiryAccepted(ctx_, DateTimePicker1) && document_->suppliersOnFile() &&
           document_->supplierChosen() && document_->typeAccepted(acceptedTypes()) &&
           document_->numberGiven();
}

void TFrmMasStock::stage(int units) {
    const std::optional<core::Money> cost = moneyIn(Pc);
    if (!cost) {
        ctx_.messages.notice(kBadCost);
        Pc->setFocus();
        return;
    }
    ui::setTextColour(Pc, ui::palette::black);
    if (intake_ == 0)
        intake_ = db::proc::nuevoIngresoStock(ctx_.db);
    db::proc::IngresoPresFechCadMasStockIn in;
    in.pIngreso = intake_;
    in.pEstacion = ctx_.platform.computerName();
    in.pCodPresentacion = presentation_;
    in.pFechCad = DateTimePicker1->dateTime();
    in.pStock = units;
    in.pFechIngre = ctx_.clock.now();
    in.pCodTrab = ctx_.session.userCode();
    in.pPC = *cost;
    in.pProvNom = document_->supplierBox()->currentText();
    in.pPresFechNumDoc = document_->number();
    in.pDocTipo = document_->typeBox()->currentText();
    const db::proc::IngresoPresFechCadMasStockOut out =
        db::proc::KZT_IngresoPresFechCadMasStock(ctx_.db, in);
    AVISO->setText(out.pMensaje.trimmed());
    if (!out.staged) {
        ctx_.messages.notice(out.pMensaje);
        return;
    }
    staged_ += units;
    state_ = State::Staged;
    S->setText(QString::number(staged_));
    ctx_.dm.refreshPresentations();
    document_->remember();
    Stock->clear();
    Averiguar->setEnabled(true);
    Stock->setFocus();
}

void TFrmMasStock::AveriguarClick() {
    ui::guard(ctx_.messages, [this] {
        if (roleRefused())
            return;
        if (Pc->text().isEmpty() || staged_ <= 0) {
            AVISO->setText(kBlank);
            return;
        }
        ui::guard(
            ctx_.messages, [this] { apply(); }, kApplyFailed);
    });
}

void TFrmMasStock::apply() {
    const std::optional<core::Money> cost = moneyIn(Pc);
    if (!cost) {
        ctx_.messages.notice(kBadCost);
        return;
    }
    const db::proc::IngresoMasStockOut out =
        db::proc::KZ_IngresoMasStock(ctx_.db, {intake_, presentation_, *cost});
    ctx_.dm.refreshPresentations();
    AVISO->setText(out.pMensaje);
    if (!out.applied) {
        ctx_.messages.notice(out.pMensaje);
        return;
    }
    state_ = State::Applied;
    Ingresar->setEnabled(true);
    for (QWidget* w :
         std::initializer_list<QWidget*>{Pc, Stock, Cantidad, Averiguar, DateTimePicker1})
        w->setEnabled(false);
    NPC->setText(out.pCosto.trimmed());
    const int quantity = Cantidad->text().trimmed().toInt();
    if (quantity != 0)
        Pc->setText(core::fmt::twoDecimals(cost->toDouble() / quantity));
    // The new profit and sale price come with Enter in the proposed cost.
    NPG->hide();
    NPV->hide();
    Nuevo->show();
    NPC->setFocus();
}

void TFrmMasStock::IngresarClick() {
    ui::guard(ctx_.messages, [this] {
        if (!roleRefused())
            confirm();
    });
}

void TFrmMasStock::confirm() {
    const std::optional<core::Money> sale = moneyIn(NPV);
    const std::optional<core::Money> cost = moneyIn(NPC);
    if (!sale || !cost) {
        ctx_.messages.notice(kBadPrice);
        return;
    }
    if (*sale <= *cost) {
        ctx_.messages.notice(kPriceRefused);
        return;
    }
    const db::proc::IngresoNPCNPGNPVOut out =
        db::proc::KZ_IngresoNPCNPGNPV(ctx_.db, {intake_, presentation_, *cost, *sale});
    ctx_.dm.refreshPresentations();
    AVISO->setText(out.pMensaje);
    if (!out.confirmed)
        return;
    for (QLineEdit* box : {Pc, Stock, NPC, NPG, NPV, Cantidad})
        box->clear();
    Ingresar->setEnabled(false);
    Stock->setEnabled(false);
    staged_ = 0;
    intake_ = 0;
    state_ = State::Confirmed;
}

// The role rule of "&Averiguar" and "Ingr&esar": a refusal empties the boxes and closes the
// window, which undoes the intake.
bool TFrmMasStock::roleRefused() {
    namespace roles = core::roles;
    if (session::roleAllows(ctx_, roles::Group::AdministratorOrPharmacist, roles::kOperacion))
        return false;
    for (QLineEdit* box : {Pc, Stock, NPC, NPG, NPV, Cantidad})
        box->clear();
    Ingresar->setEnabled(false);
    Stock->setEnabled(false);
    close();
    return true;
}

// Undoes the intake under way; false, with the reason shown, when it cannot be undone.
bool TFrmMasStock::undo() {
    ctx_.dm.refreshPresentations();
    const db::proc::BorraTempPresOut out =
        db::proc::KZ_BorraTempPres(ctx_.db, {intake_, presentation_});
    ctx_.dm.refreshPresentations();
    if (!out.undone) {
        AVISO->setText(out.pMensaje);
        ctx_.messages.notice(out.pMensaje);
        return false;
    }
    staged_ = 0;
    intake_ = 0;
    state_ = State::Ready;
    return true;
}

void TFrmMasStock::closeEvent(QCloseEvent* event) {
    bool leave = true;
    if (underWay())
        leave = ui::guard(ctx_.messages, [this] { undo(); }) && !underWay();
    if (!leave) {
        event->ignore();
        return;
    }
    AVISO->clear();
    ctx_.session.requestProductGridFocus();
    event->accept();
}

}  // namespace stock
