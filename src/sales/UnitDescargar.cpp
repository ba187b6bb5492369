#include "sales/UnitDescargar.h"

#include "core/Clock.h"
#include "core/InputRules.h"
#include "platform/Platform.h"
#include "sales/CheckoutModels.h"
#include "session/AppContext.h"
#include "session/Session.h"
#include "session/UnitDM.h"
#include "ui/FocusFrame.h"
#include "ui/FormHelpers.h"
#include "ui/Grid.h"
#include "ui/Guard.h"
#include "ui/Hint.h"
#include "ui/InputFilter.h"
#include "ui/Palette.h"
#include "ui/TextStyle.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace sales {

using db::proc::PendingSale;
using db::proc::SaleLine;

namespace {

const QString kCaption = QStringLiteral("VENTANA DE IMPRESION DE VENTAS");
const QString kDischargeError = QStringLiteral("ERROR EN EL DESCARGO...");
const QString kButtonDischargeError = QStringLiteral(
    "  ERROR EN LA BASE DE DATOS\rPOSIBLEMENTE NO SE LLEVO A CABO LA DESCARGA\r\rANOTAR LA HORA "
    "Y EL NUMERO DE VENTA");
const QString kTypeSaleNumber = QStringLiteral("INGRESE EL NUMERO DE VENTA...");
const QString kNoDni = QStringLiteral("00000000");

template <class W>
W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QPushButton* button(const char* name, const char* caption, const char* hint) {
    auto* b = named(new QPushButton(QString::fromUtf8(caption)), name);
    ui::setHint(b, QString::fromUtf8(hint));
    return b;
}

bool isEnter(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

}  // namespace

TFormDescargar::TFormDescargar(session::AppContext& context,
                               std::unique_ptr<ReceiptOutput> receipts, QWidget* parent)
    : QWidget(parent),
      ctx_(context),
      receipts_(std::move(receipts)),
      sale_(context, this, false),
      EdFacNumero(sale_.EdFacNumero),
      DBGrid1(sale_.DBGrid1) {
    setObjectName(QStringLiteral("FormDescargar"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(kCaption);
    build();
    wire();
    ui::showFocusFrame(this);
    ui::guard(ctx_.messages, [this] { readPending(); });
    Timer1 = named(new QTimer(this), "Timer1");
    Timer1->setSingleShot(true);
    Timer1->setInterval(100);
    connect(Timer1, &QTimer::timeout, this,
            [this] { ui::guard(ctx_.messages, [this] { Timer1Timer(); }); });
    Timer1->start();
}

TFormDescargar::~TFormDescargar() = default;

void TFormDescargar::build() {
    auto* column = new QVBoxLayout(this);
    column->addWidget(sale_.header(QStringLiteral("VENTA:")));

    DBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    PopupMenu1 = named(new QMenu(this), "PopupMenu1");
    Eliminar = named(PopupMenu1->addAction(QStringLiteral("&Eliminar")), "Eliminar");

    pendingModel_ = new PendingSalesModel(this);
    DBGrid3 = named(new QTableView, "DBGrid3");
    ui::Grid::setUp(DBGrid3, pendingModel_);
    DBGrid3->horizontalHeader()->hide();
    ui::setFontSize(DBGrid3, 14);
    DBGrid3->verticalHeader()->setDefaultSectionSize(DBGrid3->fontMetrics().height() + 8);
    ui::setHint(DBGrid3, QStringLiteral("TICKET  -  MONTO A PAGAR"));
    DBGrid3->horizontalHeader()->setStretchLastSection(true);
    DBGrid3->setFixedWidth(190);

    auto* grids = new QHBoxLayout;
    grids->addWidget(DBGrid1, 1);
    grids->addWidget(DBGrid3);
    column->addLayout(grids, 1);

    auto* choices = new QHBoxLayout;
    choices->addWidget(buildReceiptBoxes());
    choices->addWidget(buildCustomerBoxes(), 1);
    column->addLayout(choices);
    column->addWidget(buildButtons());

    column->addWidget(sale_.Mensaje);
    resize(980, 640);
}

QWidget* TFormDescargar::buildReceiptBoxes() {
    auto* box = new QGroupBox;
    auto* grid = new QGridLayout(box);
    CBNotadeVenta = named(new QCheckBox(QStringLiteral("NOTA DE VENTA")), "CBNotadeVenta");
    CbBoleta = named(new QCheckBox(QStringLiteral("BOLETA")), "CbBoleta");
    CbFactura = named(new QCheckBox(QStringLiteral("FACTURA")), "CbFactura");
    SI = named(new QCheckBox(QStringLiteral("SI  IMPRIMIR")), "SI");
    ui::setHint(SI, QStringLiteral("DESCARGAR Y SI IMPRIMIR"));
    NO = named(new QCheckBox(QStringLiteral("NO IMPRIMIR")), "NO");
    ui::setHint(NO, QStringLiteral("DESCARGAR Y NO IMPRIMIR"));
    // Clicking the checked box keeps it checked: exactly one of each group is ever chosen.
    auto* types = new QButtonGroup(box);
    auto* printing = new QButtonGroup(box);
    for (QCheckBox* b : {CBNotadeVenta, CbBoleta, CbFactura}) {
        ui::setFontSize(b, 10, true);
        types->addButton(b);
    }
    for (QCheckBox* b : {SI, NO}) {
        ui::setFontSize(b, 10, true);
        printing->addButton(b);
    }
    CBNotadeVenta->setChecked(true);
    NO->setChecked(true);
    grid->addWidget(CBNotadeVenta, 0, 0);
    grid->addWidget(CbBoleta, 1, 0);
    grid->addWidget(CbFactura, 2, 0);
    grid->addWidget(SI, 0, 1);
    grid->addWidget(NO, 1, 1);
    return box;
}

QWidget* TFormDescargar::buildCustomerBoxes() {
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    const auto pair = [&](QLabel*& label, const char* labelName, const char* caption,
                          QLineEdit*& edit, const char* editName, int row) {
        label = named(new QLabel(QString::fromLatin1(caption)), labelName);
        ui::setFontSize(label, 9, true);
        edit = named(new QLineEdit, editName);
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1);
    };
    pair(Label2, "Label2", "CLIENTE:", Ed_Nombre, "Ed_Nombre", 0);
    pair(Label3, "Label3", "DIRECCION:", Ed_direccion, "Ed_direccion", 1);
    pair(Label4, "Label4", "DNI:", Ed_Dni, "Ed_Dni", 2);
    pair(Label5, "Label5", "R.U.C:", EdRuc, "EdRuc", 2);  // DNI and R.U.C never show together
    Ed_Nombre->setText(QStringLiteral("CLIENTES VARIOS"));
    Ed_direccion->setText(QStringLiteral("SAUCAL - VU DEZURUZE"));
    for (QLineEdit* e : {Ed_Nombre, Ed_direccion})
        ui::forceUpperCase(e);
    ui::filter(Ed_Nombre, core::endsWithNameChar);
    ui::filter(Ed_direccion, core::isAddressText);
    Ed_Dni->setInputMask(QStringLiteral("00000000;_"));
    Ed_Dni->setText(kNoDni);
    EdRuc->setInputMask(QStringLiteral("00000000000;_"));
    Ed_Dni->setFixedWidth(120);
    EdRuc->setFixedWidth(160);
    grid->setColumnStretch(1, 1);
    // The rows keep their place while hidden, so choosing a receipt type moves nothing else.
    for (QWidget* w : box->findChildren<QWidget*>()) {
        QSizePolicy policy = w->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        w->setSizePolicy(policy);
    }
    hideCustomer();
    return box;
}

QWidget* TFormDescargar::buildButtons() {
    auto* bar = new QWidget;
    auto* row = new QHBoxLayout(bar);
    Nuevo = button("Nuevo", "&Nuevo", "NUEVA CONSULTA A REALIZAR");
    Imprimir = button("Imprimir", "&Imprimir/Descargar", "DESCARGAR LA VENTA E IMPRIMIRLA");
    Imprimir->setEnabled(false);
    Previuw = button("Previuw", "Imprimir/NO DESCARGA", "IMPRIMIR LA VENTA PERO NO DESCARGARLA");
    Salir = button("Salir", "&Salir", "SALIR DE LA VENTANA");
    BtnVozDescargar = button("BtnVozDescargar", "", "");
    BtnVozDescargar->setIcon(style()->standardIcon(QStyle::SP_MediaVolume));
    BtnVozDescargar->setFixedWidth(40);
    for (QPushButton* b : {Nuevo, Imprimir, Previuw, Salir})
        b->setMinimumHeight(34);
    row->addWidget(Nuevo);
    row->addWidget(Imprimir);
    row->addWidget(Previuw);
    row->addStretch(1);
    row->addWidget(BtnVozDescargar);
    row->addWidget(Salir);
    return bar;
}

void TFormDescargar::wire() {
    for (QCheckBox* b : {CBNotadeVenta, CbBoleta, CbFactura})
        connect(b, &QCheckBox::toggled, this, [this, b](bool on) {
            if (on)
                typeChecked(b);
        });
    for (QCheckBox* b : {SI, NO})
        connect(b, &QCheckBox::toggled, this, [this, b](bool on) {
            if (on)
                printChecked(b);
        });
    for (QObject* o :
         std::initializer_list<QObject*>{EdFacNumero, DBGrid1, DBGrid3, Nuevo, Imprimir, Previuw,
                                         Salir, Ed_Nombre, Ed_direccion, Ed_Dni, EdRuc})
        o->installEventFilter(this);
    const auto silently = [this](void (TFormDescargar::*action)()) {
        return [this, action] { this->silently([this, action] { (this->*action)(); }); };
    };
    connect(DBGrid3, &QTableView::clicked, this, silently(&TFormDescargar::DBGrid3ColEnter));
    connect(DBGrid3, &QTableView::doubleClicked, this, [this] { DBGrid3DblClick(); });
    connect(DBGrid1, &QTableView::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu1->popup(DBGrid1->viewport()->mapToGlobal(at)); });
    connect(Eliminar, &QAction::triggered, this, silently(&TFormDescargar::EliminarClick));
    connect(Nuevo, &QPushButton::clicked, this, silently(&TFormDescargar::NuevoClick));
    connect(Imprimir, &QPushButton::clicked, this, [this] { ImprimirClick(); });
    connect(Previuw, &QPushButton::clicked, this, [this] { PreviuwClick(); });
    connect(Salir, &QPushButton::clicked, this, &TFormDescargar::closeScreen);
    connect(BtnVozDescargar, &QPushButton::clicked, this,
            silently(&TFormDescargar::BtnVozDescargarClick));
}

bool TFormDescargar::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto& key = *static_cast<QKeyEvent*>(event);
    if (watched == EdFacNumero)
        return numberBoxKey(key);
    const bool customerBox =
        watched == Ed_Nombre || watched == Ed_direccion || watched == Ed_Dni || watched == EdRuc;
    if (customerBox)
        return customerBoxKey(watched, key);
    if (key.key() != Qt::Key_Escape)
        return QWidget::eventFilter(watched, event);
    if (watched == DBGrid3)
        return silently([this] { DBGrid3Escape(); });
    if (watched == DBGrid1)
        return silently([this] { resetAfterEscape(true); });
    if (watched == Nuevo || watched == Imprimir || watched == Previuw || watched == Salir)
        return silently([this] { resetAfterEscape(false); });
    return QWidget::eventFilter(watched, event);
}

bool TFormDescargar::silently(const std::function<void()>& action) {
    ui::guard(ctx_.messages, action);
    return true;
}

// Enter loads, F12 discharges, Esc resets; any other character hides the customer boxes.
bool TFormDescargar::numberBoxKey(const QKeyEvent& key) {
    if (isEnter(&key))
        return silently([this] { EdFacNumeroEnter(); });
    if (key.key() == Qt::Key_F12) {
        quickDischarge();
        return true;
    }
    if (key.key() == Qt::Key_Escape)
        return silently([this] { EdFacNumeroEscape(); });
    if (!key.text().isEmpty())
        hideCustomer();
    return false;
}

// Esc empties the four boxes; Enter walks name, address, then the DNI or the R.U.C, then back to
// the sale number.
bool TFormDescargar::customerBoxKey(QObject* box, const QKeyEvent& key) {
    if (key.key() == Qt::Key_Escape) {
        clearCustomer();
        EdFacNumero->setFocus();
        return true;
    }
    if (!isEnter(&key))
        return false;
    if (box == Ed_Nombre)
        Ed_direccion->setFocus();
    else if (box == Ed_direccion && CbBoleta->isChecked())
        Ed_Dni->setFocus();
    else if (box == Ed_direccion && CbFactura->isChecked())
        EdRuc->setFocus();
    else if (box == Ed_Dni || box == EdRuc)
        EdFacNumero->setFocus();
    return true;
}

void TFormDescargar::closeEvent(QCloseEvent* event) {
    Imprimir->setEnabled(false);
    QWidget::closeEvent(event);
}

core::DateTimeRange TFormDescargar::day() const {
    return core::saleDay(ctx_.clock.today());
}

void TFormDescargar::startingSteps() {
    Imprimir->setEnabled(false);
    sale_.startingSteps();
}

// Datasets.

void TFormDescargar::readPending() {
    pending_ = db::proc::pendingSales(ctx_.db, day());
    pendingModel_->setRows(pending_);
}

void TFormDescargar::openLines(int facNumero) {
    sale_.open(facNumero, day());
}

// No sale is loaded any more: nothing for Imprimir to discharge.
void TFormDescargar::closeLines() {
    Imprimir->setEnabled(false);
    sale_.close();
}

// Display.

void TFormDescargar::applyDisplayRules(bool enableImprimir) {
    if (sale_.applyDisplayRules() == db::proc::kNoDescargado && enableImprimir)
        Imprimir->setEnabled(true);
}

void TFormDescargar::setCustomerVisible(bool dni, bool ruc) {
    for (QWidget* w : std::initializer_list<QWidget*>{Label2, Ed_Nombre, Label3, Ed_direccion})
        w->setVisible(true);
    Label4->setVisible(dni);
    Ed_Dni->setVisible(dni);
    Label5->setVisible(ruc);
    EdRuc->setVisible(ruc);
}

void TFormDescargar::hideCustomer() {
    for (QWidget* w : std::initializer_list<QWidget*>{Label2, Ed_Nombre, Label3, Ed_direccion,
                                                      Label4, Ed_Dni, Label5, EdRuc})
        w->setVisible(false);
}

void TFormDescargar::clearCustomer() {
    for (QLineEdit* e : {Ed_Nombre, Ed_direccion, Ed_Dni, EdRuc})
        e->clear();
}

// The customer boxes belong to the next sale discharged: loading a sale leaves them as the
// cashier typed them, and a discharge empties them (the DNI box back to its default), so no
// receipt names the previous sale's customer.
void TFormDescargar::startNextCustomer() {
    clearCustomer();
    Ed_Dni->setText(kNoDni);
}

void TFormDescargar::blackCaptions() {
    for (QCheckBox* b : {CBNotadeVenta, CbBoleta, CbFactura, SI, NO})
        ui::setTextColour(b, ui::palette::black);
}

// Receipt type and printing choice.

void TFormDescargar::typeChecked(QCheckBox* box) {
    for (QCheckBox* b : {CBNotadeVenta, CbBoleta, CbFactura})
        ui::setTextColour(b, b == box ? ui::palette::red : ui::palette::black);
    if (box == CBNotadeVenta) {
        hideCustomer();
        return;
    }
    SI->setChecked(true);
    setCustomerVisible(box == CbBoleta, box == CbFactura);
    Ed_Nombre->setFocus();
}

void TFormDescargar::printChecked(QCheckBox* box) {
    ui::setTextColour(SI, box == SI ? ui::palette::red : ui::palette::black);
    ui::setTextColour(NO, box == NO ? ui::palette::red : ui::palette::black);
}

// A discharged sale proposes its own receipt type; a waiting one, or none, a sale note. The
// customer boxes end hidden whatever the preset showed.
void TFormDescargar::presetType(const SaleLine* line) {
    const QString estado = line ? line->FacEstado : QString();
    const QString type = line ? line->FacTipoSunat : QString();
    const bool discharged = estado == db::proc::kDescargado;
    QCheckBox* preset = nullptr;
    if (type == db::proc::kBoletaDeVenta && discharged)
        preset = CbBoleta;
    if (estado == db::proc::kNoDescargado || estado.isEmpty())
        preset = CBNotadeVenta;
    if (type == db::proc::kFactura && discharged)
        preset = CbFactura;
    if (type == db::proc::kNotaDeVenta && discharged)
        preset = CBNotadeVenta;
    if (preset)
        preset->setChecked(true);
    hideCustomer();
}

ReceiptType TFormDescargar::checkedType() const {
    if (CbBoleta->isChecked())
        return ReceiptType::Boleta;
    if (CbFactura->isChecked())
        return ReceiptType::Factura;
    return ReceiptType::NotaDeVenta;
}

CustomerData TFormDescargar::customer() const {
    return {Ed_Nombre->text().trimmed(), Ed_direccion->text().trimmed(), Ed_Dni->text().trimmed(),
            EdRuc->text().trimmed()};
}

ReceiptJob TFormDescargar::job(int facNumero, ReceiptType type) const {
    return {facNumero, day(), type, customer(), SI->isChecked()};
}

// A printed factura names its customer: a name, an address and a taxpayer number of 11 digits.
bool TFormDescargar::facturaDataMissing() {
    if (!SI->isChecked() || !CbFactura->isChecked())
        return false;
    const CustomerData c = customer();
    const auto refuse = [this](const char* text, QLineEdit* box) {
        ctx_.messages.notice(QString::fromLatin1(text));
        box->setFocus();
        return true;
    };
    if (c.name.isEmpty())
        return refuse("DEBE INGRESAR UN NOMBRE", Ed_Nombre);
    if (c.address.isEmpty())
        return refuse("DEBE INGRESAR UNA DIRECCION", Ed_direccion);
    if (c.ruc.isEmpty())
        return refuse("DEBE INGRESAR UN RUC", EdRuc);
    if (c.ruc.size() != 11)
        return refuse("DEBE INGRESAR UN RUC DE 11 DIGITOS", EdRuc);
    return false;
}

// Actions.

void TFormDescargar::Timer1Timer() {
    sale_.startUp(this);
    readPending();
    if (pending_.size() == 1) {
        const int number = pending_.front().FacNumero;
        EdFacNumero->setText(QString::number(number));
        Imprimir->setEnabled(false);
        openLines(number);
        sale_.showStartUpSale();
    } else if (pending_.size() > 1) {
        ui::Grid::selectRow(DBGrid3, int(pending_.size()) - 1);
        EdFacNumero->setText(QString::number(pending_.back().FacNumero));
    }
}

void TFormDescargar::EdFacNumeroEnter() {
    const std::optional<int> typed = sale_.typedNumber();
    if (!typed)
        return;
    const int number = *typed;
    if (number <= 0) {
        hideCustomer();
        return;
    }
    Imprimir->setEnabled(false);
    openLines(number);
    presetType(sale_.firstLine());
    applyDisplayRules();
    readPending();
    EdFacNumero->setFocus();
}

void TFormDescargar::DBGrid3ColEnter() {
    const int row = ui::Grid::currentRow(DBGrid3);
    if (row < 0 || row >= int(pending_.size()))
        return;
    const int number = pending_[std::size_t(row)].FacNumero;
    Imprimir->setEnabled(false);
    openLines(number);
    EdFacNumero->setText(QString::number(number));
    applyDisplayRules();
}

// What Esc in the sale-number box and in the pending list share: nothing loaded, the pending
// list re-read.
void TFormDescargar::unloadSale() {
    Imprimir->setEnabled(false);
    sale_.unload();
    readPending();
}

void TFormDescargar::EdFacNumeroEscape() {
    unloadSale();
    if (pending_.size() == 1) {
        ui::Grid::selectRow(DBGrid3, 0);
        DBGrid3ColEnter();
    } else {
        EdFacNumero->clear();
    }
    EdFacNumero->setFocus();
    hideCustomer();
}

void TFormDescargar::DBGrid3Escape() {
    unloadSale();
    EdFacNumero->setText(pending_.size() == 1 ? QString::number(pending_.front().FacNumero)
                                              : QString());
    EdFacNumero->setFocus();
}

// What Esc in the lines or on a button and "&Nuevo" share: no sale, an empty sale number.
void TFormDescargar::closeSale() {
    Imprimir->setEnabled(false);
    sale_.closeSale();
}

void TFormDescargar::resetAfterEscape(bool fromLines) {
    closeSale();
    if (fromLines)
        sale_.Mensaje->clear();
    readPending();
}

void TFormDescargar::NuevoClick() {
    SI->setChecked(true);
    closeSale();
    sale_.Mensaje->clear();
    sale_.PC->clear();
    sale_.closePhoto();
}

void TFormDescargar::EliminarClick() {
    const int row = ui::Grid::currentRow(DBGrid1);
    if (row < 0 || row >= int(sale_.lines().size()))
        return;
    const SaleLine line = sale_.lines()[std::size_t(row)];
    if (!ctx_.messages.confirm(QStringLiteral("DESEA ELIMINAR:") + line.PresTipo.trimmed()))
        return;
    if (line.Estado != db::proc::kNoDescargado) {
        ctx_.messages.notice(QStringLiteral("ITEMS YA HAN SIDO DESCARGADOS..."));
        return;
    }
    const auto out = db::proc::KZ_EliminarItemDescargar(
        ctx_.db, {line.FacNumero, line.DetaNumero, line.CodPresentacion, day().start});
    openLines(line.FacNumero);
    sale_.Total->setText(sale_.totalText());
    sale_.Mensaje->setText(out.pMensaje.trimmed());
    readPending();
}

void TFormDescargar::BtnVozDescargarClick() {
    ctx_.platform.playSound(QStringLiteral("DESCARGAR"));
}

void TFormDescargar::PreviuwClick() {
    ui::guard(
        ctx_.messages,
        [this] {
            if (EdFacNumero->text().isEmpty()) {
                ctx_.messages.notice(kTypeSaleNumber);
                clearCustomer();
                EdFacNumero->setFocus();
                return;
            }
            receipts_->preview(job(sale_.typedNumber().value_or(0), checkedType()));
            EdFacNumero->setFocus();
        },
        QStringLiteral("ERROR EN LA CONSULTA..."));
}

void TFormDescargar::DBGrid3DblClick() {
    ui::guard(
        ctx_.messages,
        [this] {
            const int row = std::max(ui::Grid::currentRow(DBGrid3), 0);
            if (facturaDataMissing())
                return;
            if (ctx_.session.userCode() > 0 && !pending_.empty()) {
                discharge(pending_[std::size_t(row)].FacNumero, checkedType());
                EdFacNumero->setFocus();
            }
            blackCaptions();
        },
        kDischargeError);
}

void TFormDescargar::ImprimirClick() {
    ui::guard(
        ctx_.messages,
        [this] {
            const int number = sale_.typedNumber().value_or(0);
            if (number < 1 || ctx_.session.userCode() < 1) {
                ctx_.messages.notice(kTypeSaleNumber);
                EdFacNumero->setFocus();
                return;
            }
            const SaleLine* loaded = sale_.firstLine();
            if (!loaded || loaded->FacNumero != number) {
                Imprimir->setEnabled(false);
                ctx_.messages.notice(QStringLiteral("EL NUMERO QUE HA INGRESADO: ") +
                                     EdFacNumero->text().trimmed() +
                                     QStringLiteral("\rNO CONCUERDA CON EL CONSULTADO: ") +
                                     (loaded ? QString::number(loaded->FacNumero) : QString()) +
                                     QStringLiteral("\rINTENTALO NUEVAMENTE..."));
                EdFacNumero->clear();
                EdFacNumero->setFocus();
                return;
            }
            if (facturaDataMissing())
                return;
            discharge(number, checkedType());
            EdFacNumero->setFocus();
        },
        kButtonDischargeError);
}

void TFormDescargar::quickDischarge() {
    ui::guard(
        ctx_.messages,
        [this] {
            if (ctx_.session.userCode() <= 0 || pending_.empty())
                return;
            const std::optional<int> number = sale_.typedNumber();
            if (!number)
                throw std::invalid_argument("numero de venta no valido");
            discharge(*number, ReceiptType::NotaDeVenta);
            DBGrid3->setFocus();
        },
        kDischargeError);
}

// The discharge shared by the three paths, and what it shows and refreshes once it is done.
void TFormDescargar::discharge(int facNumero, ReceiptType type) {
    try {
        dischargeSale(ctx_, job(facNumero, type), *receipts_);
    } catch (...) {
        // A receipt that failed after the commit leaves the sale discharged: show what holds.
        showStored(facNumero, true);
        throw;
    }
    showStored(facNumero, false);
    startNextCustomer();
    ctx_.dm.refreshPresentations();
    const QString number = QString::number(facNumero);
    EdFacNumero->setText(number);
    ctx_.session.recordDischarge(facNumero);
}

// The sale and the pending list as the database holds them now.
void TFormDescargar::showStored(int facNumero, bool enableImprimir) {
    Imprimir->setEnabled(false);
    openLines(facNumero);
    applyDisplayRules(enableImprimir);
    readPending();
}

void TFormDescargar::closeScreen() {
    ui::closeOnDesktop(this);
}

TFormDescargar* openCheckout(session::AppContext& context) {
    auto* form = new TFormDescargar(context, makeReceiptOutput(context));
    ui::showOnDesktop(form, context.desktop, false);
    form->startingSteps();
    return form;
}

}  // namespace sales
