#include "sales/UnitCotizacion.h"

#include "core/Clock.h"
#include "core/Format.h"
#include "core/InputRules.h"
#include "db/procedures/Checkout.h"
#include "sales/SalesCounter.h"
#include "session/Commands.h"
#include "session/Session.h"
#include "session/UnitDM.h"
#include "ui/Activation.h"
#include "ui/FormHelpers.h"
#include "ui/Grid.h"
#include "ui/Guard.h"
#include "ui/Hint.h"
#include "ui/InputFilter.h"
#include "ui/Palette.h"
#include "ui/TableModel.h"
#include "ui/TextStyle.h"

#include <QAction>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <stdexcept>

namespace sales {

namespace {

using db::proc::LineaVenta;
using ui::setHint;

const QString kIngresoError = QStringLiteral("ERROR EN EL INGRESO\rO ERROR EN B.D...");
const QString kStockAdding =
    QStringLiteral("EL VALOR INGRESADO SOBREPASA EL STOCK TOTAL\r            EN LA FARMACIA...");
const QString kStockPuttingBack =
    QStringLiteral("EL VALOR INGRESADO SOBREPASA EL STOCK TOTAL\rEN LA FARMACIA...");
const QString kLineDischarged = QStringLiteral("VENTA YA HA SIDO DESCARGADA...");
const QString kBelowCost = QStringLiteral("DESCUENTO CASI POR DEBAJO DEL PRECIO DE COSTO");

QLabel* bigLabel(const char* name, QWidget* parent, const QColor& text, const QColor& back) {
    auto* l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    ui::setFontSize(l, 20, true);
    ui::setTextColour(l, text);
    l->setAutoFillBackground(true);
    QPalette p = l->palette();
    p.setColor(QPalette::Window, back);
    l->setPalette(p);
    l->setMinimumHeight(44);
    return l;
}

QLineEdit* box(const char* name, QWidget* parent, const QString& hint) {
    auto* b = new QLineEdit(parent);
    b->setObjectName(QLatin1String(name));
    setHint(b, hint);
    return b;
}

// The typed price as money; a price that cannot be read ends the action.
core::Money typedPrice(const QLineEdit* box) {
    const std::optional<core::Money> price = core::Money::parse(box->text().trimmed());
    if (!price)
        throw std::invalid_argument("precio no valido");
    return *price;
}

QAction* action(QMenu* menu, QWidget* owner, const QString& text, const char* name,
                const QKeySequence& shortcut) {
    QAction* a = menu->addAction(text);
    a->setObjectName(QLatin1String(name));
    a->setShortcut(shortcut);
    a->setShortcutContext(Qt::WidgetShortcut);
    owner->addAction(a);
    return a;
}

}  // namespace

TFormCotizacion* TFormCotizacion::openForCurrent(session::AppContext& ctx) {
    const db::proc::PresentationRow* presentation = ctx.dm.currentPresentation();
    if (!presentation)
        return nullptr;
    SalesCounter& counter = SalesCounter::of(ctx);
    if (counter.quotation)
        counter.quotation->deleteLater();
    auto* window = new TFormCotizacion(ctx, ctx.mainWindow);
    counter.quotation = window;
    window->prepare(*presentation);
    window->show();
    window->activateWindow();
    return window;
}

bool TFormCotizacion::reshowLast(session::AppContext& ctx) {
    auto* window = qobject_cast<TFormCotizacion*>(SalesCounter::of(ctx).quotation);
    if (!window)
        return false;
    if (const db::proc::PresentationRow* p = ctx.dm.currentPresentation())
        window->usePresentation(*p);
    window->show();
    window->raise();
    window->activateWindow();
    return true;
}

TFormCotizacion::TFormCotizacion(session::AppContext& ctx, QWidget* parent)
    : QWidget(parent, Qt::Window),
      ctx_(ctx),
      counter_(SalesCounter::of(ctx)),
      model_(new ui::VectorModel<LineaVenta>(this)) {
    setObjectName(QStringLiteral("FormCotizacion"));
    setWindowTitle(QStringLiteral("COTIZACION DE PRODUCTOS"));
    build();
    buildMenus();
    resize(858, 608);
    ui::centreOnDesktop(this);
    ui::onActivation(this, [this] { FormActivate(); });
}

TFormCotizacion::~TFormCotizacion() = default;

const std::vector<LineaVenta>& TFormCotizacion::lines() const {
    return model_->rows();
}

// ---- construction ----

void TFormCotizacion::build() {
    CLIENTE = bigLabel("CLIENTE", this, ui::palette::lime, ui::palette::black);
    setHint(CLIENTE, QStringLiteral("CLIENTE ACTUAL"));
    TOTAL = bigLabel("TOTAL", this, ui::palette::red, ui::palette::white);
    TOTAL->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setHint(TOTAL, QStringLiteral("TOTAL ACUMULADO DE LA VENTA"));
    EdPres = box("EdPres", this, QStringLiteral("PRESENTACION DEL PRODUCTO A VENDER AL CLIENTE"));
    EdPres->setEnabled(false);
    EdPv = box("EdPv", this, QStringLiteral("PRECIO UNITARIO DE VENTA AL CLIENTE"));
    EdPv->setEnabled(false);
    ui::filter(EdPv, core::endsWithDigitOrPoint);
    EdCan = box("EdCan", this, QStringLiteral("CANTIDAD REQUERIDA POR EL CLIENTE"));
    ui::filter(EdCan, core::endsWithDigit);
    for (QLineEdit* b : {EdPres, EdPv, EdCan})
        ui::setFontSize(b, 13);
    DETALLE = new QLabel(this);
    DETALLE->setObjectName(QStringLiteral("DETALLE"));
    setHint(DETALLE, QStringLiteral("ESTADO DE LA PRESENTACION ACTUAL"));
    DETALLE->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    DETALLE->setMinimumHeight(24);
    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    setHint(DBGrid1, QStringLiteral("LISTA DE PRESENTACIONES A VENDER"));
    const auto right = Qt::AlignRight | Qt::AlignVCenter;
    const auto column = [this](const char* title, int width, auto member,
                               Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter) {
        return ui::ColumnDef{.title = QString::fromLatin1(title),
                             .width = width,
                             .alignment = alignment,
                             .value = model_->by(member)};
    };
    const auto money = [this, right](const char* title, int width,
                                     core::Money LineaVenta::*member) {
        return ui::ColumnDef{.title = QString::fromLatin1(title),
                             .width = width,
                             .alignment = right,
                             .value = model_->by([member](const LineaVenta& l) {
                                 return QVariant(core::fmt::twoDecimals(l.*member));
                             })};
    };
    // Every column of the sale's lines in the query's order, under the titles a seller reads.
    model_->setColumns({
        column("VENTA", 60, &LineaVenta::FacNumero),
        column("CODIGO", 70, &LineaVenta::CodPresentacion),
        column("PRESENTACION", 260, &LineaVenta::PresTipo),
        column("LABORATORIO", 150, &LineaVenta::LabNombre),
        money("IMPORTE", 75, &LineaVenta::Importe),
        column("CANT.", 55, &LineaVenta::Cantidad, right),
        column("ESTADO", 125, &LineaVenta::Estado),
        column(
            "FECHA", 150,
            [](const LineaVenta& l) { return QVariant(core::fmt::shortDateLongTime(l.FacFecha)); }),
        column("ITEM", 50, &LineaVenta::DetaNumero, right),
        money("COSTO", 75, &LineaVenta::PresPrecioCosto),
        money("P. VENTA", 75, &LineaVenta::PresVenta),
        column("STOCK", 60, &LineaVenta::PresStockTotal, right),
    });
    ui::Grid::setUp(DBGrid1, model_);
    BitBtn1 = new QPushButton(QStringLiteral("&Borrar Cotizacion"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });

    auto* entry = new QGridLayout;
    entry->addWidget(new QLabel(QStringLiteral("PRESENTACION:"), this), 0, 0);
    entry->addWidget(new QLabel(QStringLiteral("PRECIO:"), this), 0, 1);
    entry->addWidget(new QLabel(QStringLiteral("CANTIDAD:"), this), 0, 2);
    entry->addWidget(EdPres, 1, 0);
    entry->addWidget(EdPv, 1, 1);
    entry->addWidget(EdCan, 1, 2);
    entry->setColumnStretch(0, 1);
    auto* header = new QHBoxLayout;
    header->addWidget(CLIENTE, 1);
    header->addWidget(TOTAL, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(BitBtn1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(header);
    layout->addLayout(entry);
    layout->addWidget(DETALLE);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(bottom);
    for (QWidget* w : {static_cast<QWidget*>(EdPres), static_cast<QWidget*>(EdPv),
                       static_cast<QWidget*>(EdCan), static_cast<QWidget*>(DBGrid1)})
        w->installEventFilter(this);
}

void TFormCotizacion::buildMenus() {
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    connect(action(PopupMenu1, DBGrid1, QStringLiteral("&Editar"), "Editar1",
                   QKeySequence(Qt::CTRL | Qt::Key_E)),
            &QAction::triggered, this, [this] { takeOut(false); });
    connect(action(PopupMenu1, DBGrid1, QStringLiteral("&Borrar"), "Borrar1",
                   QKeySequence(Qt::CTRL | Qt::Key_B)),
            &QAction::triggered, this, [this] { deleteLine(); });
    connect(action(PopupMenu1, DBGrid1, QStringLiteral("Descuento"), "Descuento1",
                   QKeySequence(Qt::CTRL | Qt::Key_D)),
            &QAction::triggered, this, [this] { takeOut(true); });
    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    connect(action(PopupMenu2, EdCan, QStringLiteral("&Descuento"), "Descuento2",
                   QKeySequence(Qt::CTRL | Qt::Key_D)),
            &QAction::triggered, this, [this] { askDiscount(); });
    for (QWidget* w : {static_cast<QWidget*>(DBGrid1), static_cast<QWidget*>(EdCan)})
        w->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(DBGrid1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu1->popup(DBGrid1->viewport()->mapToGlobal(at)); });
    connect(EdCan, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu2->popup(EdCan->mapToGlobal(at)); });
}

void TFormCotizacion::prepare(const db::proc::PresentationRow& presentation) {
    EdPv->setEnabled(false);
    reloadLines();
    usePresentation(presentation);
    mode_ = 0;
    ctx_.session.setDiscountAllowed(false);
}

void TFormCotizacion::usePresentation(const db::proc::PresentationRow& presentation) {
    item_ = {presentation.CodPresentacion, presentation.PresTipo.trimmed(),
             presentation.PresPrecioCosto, presentation.PresVenta};
    EdPres->setText(item_.PresTipo);
    EdPv->setText(core::fmt::printf8_2(item_.PresVenta).trimmed());
}

// ---- what the window reads ----

int TFormCotizacion::saleNumber() const {
    return ctx_.session.saleNumber();
}

core::DateTimeRange TFormCotizacion::saleDay() const {
    return ctx_.session.saleDay();
}

void TFormCotizacion::reloadLines() {
    model_->setRows(db::proc::saleLines(ctx_.db, saleNumber(), saleDay()));
}

const LineaVenta* TFormCotizacion::selectedLine() const {
    const int row = ui::Grid::currentRow(DBGrid1);
    return row < 0 || row >= int(lines().size()) ? nullptr : &lines()[std::size_t(row)];
}

void TFormCotizacion::showTotal(core::Money total) {
    TOTAL->setText(core::fmt::shortest(total));
}

// ---- keys ----

bool TFormCotizacion::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Escape) {
        escape();
        return true;
    }
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (watched == EdPv && enter) {
        EdPvEnter();
        return true;
    }
    if (watched == EdCan && enter) {
        EdCanEnter();
        return true;
    }
    if (watched == EdCan && key == Qt::Key_F9) {
        showLastDiscountAuth();
        return true;
    }
    if (watched == DBGrid1 && enter) {
        EdCan->clear();
        EdCan->setFocus();
        return true;
    }
    return false;
}

void TFormCotizacion::escape() {
    EdPv->setEnabled(false);
    TOTAL->clear();
    close();
}

void TFormCotizacion::closeEvent(QCloseEvent* event) {
    EdPv->setEnabled(false);
    EdCan->clear();
    emit counter_.quotationClosed();
    event->accept();
}

void TFormCotizacion::FormActivate() {
    TOTAL->clear();
    showTotal(counter_.lastSaleTotal);
    DETALLE->clear();
    CLIENTE->setText(QStringLiteral("CLIENTE Nº: ") + QString::number(saleNumber()));
    EdCan->clear();
    if (ctx_.session.discountAllowed()) {
        EdPv->setEnabled(true);
        EdPv->setFocus();
    } else {
        EdCan->setFocus();
    }
}

// ---- the price and the quantity ----

void TFormCotizacion::EdPvEnter() {
    ui::guard(ctx_.messages, [this] {
        EdPv->setText(core::withDecimalPoints(EdPv->text()));
        if (mode_ == 0 && typedPrice(EdPv) < item_.PresPrecioCosto) {
            ctx_.messages.notice(kBelowCost);
            EdPv->setText(core::fmt::shortest(item_.PresVenta));
        }
        EdPv->setEnabled(false);
        EdCan->setFocus();
    });
}

void TFormCotizacion::EdCanEnter() {
    ui::guard(
        ctx_.messages,
        [this] {
            const QString typed = EdCan->text().trimmed();
            if (typed.isEmpty()) {
                DBGrid1->setFocus();
                return;
            }
            bool fits = false;
            const int quantity = typed.toInt(&fits);
            if (!fits)
                throw std::out_of_range("cantidad fuera de rango");
            if (quantity < 1) {
                ctx_.messages.notice(QStringLiteral("CANTIDAD NO ADMISIBLE"));
                EdCan->clear();
                EdCan->setFocus();
                return;
            }
            recordQuantity(quantity);
        },
        kIngresoError);
}

void TFormCotizacion::recordQuantity(int quantity) {
    ctx_.session.setNewSale(true);
    if (refuseDischargedSale())
        return;
    EdPv->setText(core::withDecimalPoints(EdPv->text()));
    ctx_.dm.refreshPresentations();
    const Item& line = mode_ == 0 ? item_ : takenOut_;
    const auto fresh = db::proc::presentacionVenta(ctx_.db, line.CodPresentacion);
    if (!fresh)
        throw std::runtime_error("la presentacion ya no existe");
    if (refuseBeyondStock(quantity, fresh->PresStockTotal,
                          mode_ == 0 ? kStockAdding : kStockPuttingBack))
        return;
    if (!recordLine(quantity, mode_ == 0 ? fresh->PresPrecioCosto : takenOut_.PresPrecioCosto))
        return;
    if (mode_ == 1)
        backToAdding();
    EdPv->setEnabled(false);
    ctx_.session.setDiscountAllowed(false);
}

bool TFormCotizacion::refuseDischargedSale() {
    if (db::proc::estadoVenta(ctx_.db, saleNumber(), saleDay()) != db::proc::kDescargado)
        return false;
    endDischargedSale();
    return true;
}

void TFormCotizacion::endDischargedSale() {
    ctx_.session.clearCurrentSale();
    ctx_.messages.notice(QStringLiteral("VENTA Nº") + QString::number(saleNumber()) +
                         QStringLiteral(" HA SIDO DESCARGADA"));
    close();
}

bool TFormCotizacion::refuseBeyondStock(int quantity, int stock, const QString& message) {
    const int onSale = db::proc::unidadesEnVenta(ctx_.db, saleNumber(), saleDay(),
                                                 (mode_ == 0 ? item_ : takenOut_).CodPresentacion);
    if (qint64(stock) >= qint64(quantity) + onSale)
        return false;
    refuseStock(message);
    return true;
}

void TFormCotizacion::refuseStock(const QString& message) {
    ctx_.messages.notice(message);
    EdCan->clear();
    EdCan->setFocus();
}

// The line, and its discount when one was authorised, committed together; the sale lines' lock
// both procedures take goes with the BEGIN.
bool TFormCotizacion::recordLine(int quantity, core::Money cost) {
    const Item& line = mode_ == 0 ? item_ : takenOut_;
    const core::Money price = typedPrice(EdPv);
    const QDateTime dayStart = saleDay().start;
    db::Db::Transaction tx(ctx_.db, {db::proc::kSaleLinesLock});
    std::vector<LineaVenta> lines;
    const db::proc::IngresoPresVentaOut out = db::proc::KZ_IngresoPresVenta(
        ctx_.db, {line.CodPresentacion, quantity, price, cost, saleNumber(), dayStart}, &lines);
    switch (out.resultado) {
        case db::proc::Ingreso::Ingresado:
            break;
        case db::proc::Ingreso::VentaDescargada:
            tx.commit();
            endDischargedSale();
            return false;
        case db::proc::Ingreso::SinStock:
            tx.commit();
            refuseStock(mode_ == 0 ? kStockAdding : kStockPuttingBack);
            return false;
        default:
            tx.commit();
            DETALLE->setText(out.pMensaje);
            ctx_.messages.notice(out.pMensaje);
            return false;
    }
    if (ctx_.session.discountAllowed())
        db::proc::KZ_IngresoDescuento(
            ctx_.db,
            {saleNumber(), line.CodPresentacion, ctx_.session.login(), quantity, price, dayStart},
            ctx_.clock.now());
    tx.commit();
    model_->setRows(std::move(lines));
    counter_.lastSaleTotal = out.pTOTAL;
    showTotal(out.pTOTAL);
    DETALLE->setText(out.pMensaje);
    EdCan->clear();
    DBGrid1->setFocus();
    return true;
}

void TFormCotizacion::backToAdding() {
    if (const db::proc::PresentationRow* p = ctx_.dm.currentPresentation()) {
        item_ = {p->CodPresentacion, p->PresTipo.trimmed(), p->PresPrecioCosto, p->PresVenta};
        EdPres->setText(item_.PresTipo);
        EdPv->setText(core::fmt::shortest(item_.PresVenta));
    }
    mode_ = 0;
}

// ---- lines ----

bool TFormCotizacion::refuseDischargedLine(const LineaVenta& line) {
    if (line.Estado.trimmed() == db::proc::kNoDescargado)
        return false;
    // After the box, whose closing activates the window (which empties both labels).
    ctx_.messages.notice(kLineDischarged);
    TOTAL->clear();
    DETALLE->setText(kLineDischarged);
    return true;
}

// The selected line removed through KZ_EliminarItem, the list re-read and the procedure's
// message shown; none when no line is selected or the selected one is already discharged.
std::optional<TFormCotizacion::Removed> TFormCotizacion::removeSelectedLine() {
    const LineaVenta* selected = selectedLine();
    if (!selected || refuseDischargedLine(*selected))
        return std::nullopt;
    const LineaVenta line = *selected;
    DETALLE->clear();
    const db::proc::EliminarItemOut out = db::proc::KZ_EliminarItem(
        ctx_.db, {line.FacNumero, line.CodPresentacion, line.DetaNumero, line.FacFecha});
    reloadLines();
    DETALLE->setText(out.pMensaje);
    return Removed{line, out};
}

// "&Editar" and "Descuento": the line is removed and its values wait in the boxes until the
// seller enters the quantity again. A line the database refuses to remove stays as it was.
void TFormCotizacion::takeOut(bool discount) {
    ui::guard(ctx_.messages, [this, discount] {
        const std::optional<Removed> removed = removeSelectedLine();
        if (!removed)
            return;
        if (!removed->out.eliminado) {
            ctx_.messages.notice(removed->out.pMensaje);
            return;
        }
        const LineaVenta& line = removed->line;
        mode_ = 1;
        takenOut_ = {line.CodPresentacion, line.PresTipo.trimmed(), line.PresPrecioCosto,
                     line.PresVenta};
        EdPres->setText(line.PresTipo.trimmed());
        EdPv->setText(core::fmt::shortest(line.Importe));
        EdCan->setText(QString::number(line.Cantidad));
        if (discount)
            askDiscount();
        else
            EdCan->setFocus();
    });
}

void TFormCotizacion::deleteLine() {
    ui::guard(ctx_.messages, [this] {
        if (!removeSelectedLine())
            return;
        const int remaining = lines().empty() ? 0 : lines().front().FacNumero;
        showTotal(db::proc::totalVenta(ctx_.db, remaining, saleDay()));
        EdCan->setFocus();
    });
}

// ---- discounts ----

void TFormCotizacion::askDiscount() {
    ui::guard(ctx_.messages, [this] {
        if (counter_.discountAuth)
            counter_.discountAuth->deleteLater();
        counter_.discountAuth = ctx_.commands.newReauthWindow(ctx_.mainWindow);
        showLastDiscountAuth();
    });
}

void TFormCotizacion::showLastDiscountAuth() {
    if (auto* auth = qobject_cast<session::ReauthWindow*>(counter_.discountAuth))
        auth->showFor(session::ReauthPurpose::Discount);
}

// ---- the whole quotation ----

void TFormCotizacion::BitBtn1Click() {
    ui::guard(ctx_.messages, [this] {
        const db::proc::BorraCotizacionOut out =
            db::proc::KZ_BorraCotizacion(ctx_.db, {saleDay().start, saleNumber()});
        model_->setRows({});
        CLIENTE->clear();
        TOTAL->clear();
        ctx_.session.clearCurrentSale();
        ctx_.messages.notice(out.pMensaje);
        close();
    });
}

}  // namespace sales
