#include "stock/UnitCanje.h"

#include "core/Clock.h"
#include "core/Format.h"
#include "core/InputRules.h"
#include "db/procedures/Stock.h"
#include "session/Session.h"
#include "session/UnitDM.h"
#include "stock/IntakeDocument.h"
#include "ui/Activation.h"
#include "ui/Grid.h"
#include "ui/Guard.h"
#include "ui/InputFilter.h"
#include "ui/Palette.h"
#include "ui/TableModel.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <functional>
#include <stdexcept>

namespace stock {

namespace {

using db::proc::CanjeRow;
using db::proc::LoteCanje;

const QString kSendItem = QStringLiteral("POR CANJE DEVUELVE");
const QString kReceiveItem = QStringLiteral("POR CANJE RECIBIDO");
const QString kNoUnits = QStringLiteral("NO SE ACEPTAN VALORES NULOS...");
const QString kZero = QStringLiteral("INGRESE VALORES MAYORES A CERO...");
const QString kTypedMovement = QStringLiteral("ELIJA UNA OPCION; NO LA INGRESE...");
const QString kBadDate = QStringLiteral("FECHA NO VALIDA");
const QString kUnits = QStringLiteral(" UNIDADES");
constexpr int kExpiryDays = 730;
constexpr int kLatestExpiryDays = 5475;

QString wrongUnits(const QString& held, int figure, const QString& verb, const QString& units) {
    return QStringLiteral("CANTIDAD ERRONEA:\r") + held + QString::number(figure) + kUnits +
           QStringLiteral("\r") + verb + units + kUnits;
}

QDateTime firstOfYear(int year) {
    return QDateTime(QDate(year, 1, 1), QTime(0, 0));
}

QString dateText(const QDateTime& moment) {
    return moment.isValid() ? core::fmt::shortDate(moment.date()) : QString();
}

template <class Row, class F>
int indexOf(const std::vector<Row>& rows, F key, int wanted) {
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (std::invoke(key, rows[i]) == wanted)
            return int(i);
    return 0;
}

}  // namespace

TFrmCanje* TFrmCanje::open(session::AppContext& ctx) {
    auto* form = new TFrmCanje(ctx);
    showIntakeWindow(ctx, form, [form] { form->activated(); });
    return form;
}

TFrmCanje::TFrmCanje(session::AppContext& ctx)
    : QWidget(ctx.mainWindow, Qt::Window | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      ctx_(ctx) {
    setObjectName(QStringLiteral("FrmCanje"));
    setWindowTitle(QStringLiteral("Canje de Productos"));
    build();
    wire();
    ui::onActivation(this, [this] { ui::guard(ctx_.messages, [this] { activated(); }); });
}

void TFrmCanje::build() {
    STProducto = new QLabel(this);
    STProducto->setObjectName(QStringLiteral("STProducto"));
    QFont bold = STProducto->font();
    bold.setBold(true);
    STProducto->setFont(bold);
    SPEditar = new QPushButton(QStringLiteral("&Editar"), this);
    SPEditar->setObjectName(QStringLiteral("SPEditar"));
    SpeedButton4 = new QPushButton(QStringLiteral("&Salir"), this);
    SpeedButton4->setObjectName(QStringLiteral("SpeedButton4"));
    buildGrids();

    auto* grids = new QVBoxLayout;
    grids->addWidget(new QLabel(QStringLiteral("LOTES INGRESADOS:"), this));
    grids->addWidget(DBGrid1, 1);
    grids->addWidget(new QLabel(QStringLiteral("CANJES DEL LOTE:"), this));
    grids->addWidget(DBGrid2, 1);
    auto* middle = new QHBoxLayout;
    middle->addWidget(buildBoxes());
    middle->addLayout(grids, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(SPEditar);
    buttons->addWidget(SpeedButton4);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(STProducto);
    layout->addLayout(middle, 1);
    layout->addLayout(buttons);
    setFixedSize(900, 460);
}

QWidget* TFrmCanje::buildBoxes() {
    auto* box = new QWidget(this);
    CBEstado = new QComboBox(box);
    CBEstado->setObjectName(QStringLiteral("CBEstado"));
    CBEstado->setEditable(true);
    CBEstado->setInsertPolicy(QComboBox::NoInsert);
    ui::forceUpperCase(CBEstado->lineEdit());
    CBEstado->addItems({kSendItem, kReceiveItem});
    CBEstado->setCurrentIndex(-1);
    EdUnidades = new QLineEdit(box);
    EdUnidades->setObjectName(QStringLiteral("EdUnidades"));
    document_ = new IntakeDocument(ctx_, box, "CbTipoDocumento");
    DateTimePicker1 = expiryBox(box, "DateTimePicker1");
    auto* fields = new QFormLayout(box);
    fields->addRow(QStringLiteral("ESTADO:"), CBEstado);
    fields->addRow(QStringLiteral("UNIDADES:"), EdUnidades);
    fields->addRow(QStringLiteral("PROVEEDOR:"), document_->supplierBox());
    fields->addRow(QStringLiteral("TIPO DOCUMENTO:"), document_->typeBox());
    fields->addRow(QStringLiteral("NUMERO DE DOCUMENTO:"), document_->numberBox());
    fields->addRow(QStringLiteral("FECHA DE CADUCIDAD:"), DateTimePicker1);
    box->setFixedWidth(400);
    return box;
}

void TFrmCanje::buildGrids() {
    const int year = ctx_.clock.today().year();
    const auto boldRed = [](bool on) { return on ? QColor(ui::palette::red) : QColor(); };
    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    batches_ = new ui::VectorModel<LoteCanje>(this);
    const auto thisYear = [year](const LoteCanje& b) {
        return dateText(b.KarInFechaCad).contains(QString::number(year));
    };
    batches_->setColumns(
        {{.title = QStringLiteral("FECHA DE CADUCIDAD"),
          .width = 150,
          .value =
              batches_->by([](const LoteCanje& b) { return QVariant(dateText(b.KarInFechaCad)); }),
          .foreground = batches_->by([=](const LoteCanje& b) { return boldRed(thisYear(b)); }),
          .bold = batches_->by(thisYear)},
         {.title = QStringLiteral("STOCK"),
          .width = 80,
          .alignment = Qt::AlignRight | Qt::AlignVCenter,
          .value = batches_->by([](const LoteCanje& b) { return QVariant(b.KarInStock); })}});
    ui::Grid::setUp(DBGrid1, batches_);

    DBGrid2 = new QTableView(this);
    DBGrid2->setObjectName(QStringLiteral("DBGrid2"));
    exchanges_ = new ui::VectorModel<CanjeRow>(this);
    const auto due = [](const CanjeRow& c) { return c.CanEstado == QLatin1String("PCD"); };
    const auto right = Qt::AlignRight | Qt::AlignVCenter;
    exchanges_->setColumns(
        {{.title = QStringLiteral("FECHA SALIDA"),
          .width = 100,
          .value = exchanges_->by(
              [](const CanjeRow& c) { return QVariant(dateText(c.CanFechaSalida)); })},
         {.title = QStringLiteral("FECHA INGRESO"),
          .width = 100,
          .value = exchanges_->by(
              [](const CanjeRow& c) { return QVariant(dateText(c.CanFechaIngreso)); })},
         {.title = QStringLiteral("UND. ENV."),
          .width = 75,
          .alignment = right,
          .value = exchanges_->by([](const CanjeRow& c) { return QVariant(c.CanUnidades); })},
         {.title = QStringLiteral("UND. REC."),
          .width = 75,
          .alignment = right,
          .value = exchanges_->by([](const CanjeRow& c) { return QVariant(c.CanUnidPen); })},
         {.title = QStringLiteral("ESTADO"),
          .width = 60,
          .value = exchanges_->by([](const CanjeRow& c) { return QVariant(c.CanEstado); }),
          .foreground = exchanges_->by([=](const CanjeRow& c) { return boldRed(due(c)); }),
          .bold = exchanges_->by(due)}});
    ui::Grid::setUp(DBGrid2, exchanges_);
}

void TFrmCanje::wire() {
    ui::filter(EdUnidades, core::endsWithDigit);
    for (QObject* w : std::initializer_list<QObject*>{document_->supplierBox(),
                                                      document_->typeBox(), document_->numberBox()})
        w->installEventFilter(this);
    installEventFilter(this);
    connect(CBEstado, &QComboBox::currentTextChanged, this, &TFrmCanje::CBEstadoChange);
    connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { readExchanges(0); });
    connect(DBGrid2->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &TFrmCanje::applyMode);
    connect(SPEditar, &QPushButton::clicked, this, &TFrmCanje::SPEditarClick);
    connect(SpeedButton4, &QPushButton::clicked, this, &QWidget::close);
}

bool TFrmCanje::eventFilter(QObject* watched, QEvent* event) {
    if (watched == this && event->type() == QEvent::WindowDeactivate)
        leftForOwnBox_ = ownActions_ > 0;
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == document_->numberBox()) {
                document_->typeBox()->setFocus();
                return true;
            }
            if (watched == document_->supplierBox() || watched == document_->typeBox()) {
                document_->numberBox()->setFocus();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

// Reads the suppliers and the batches again, keeping the batch, the exchange and every box as
// they were; the expiry box takes its default only when the window opens.
void TFrmCanje::activated() {
    const bool own = leftForOwnBox_;
    leftForOwnBox_ = false;
    document_->readSuppliers();
    const QDateTime now = ctx_.clock.now();
    if (!opened_)
        DateTimePicker1->setDateTime(now.addDays(kExpiryDays));
    opened_ = true;
    const session::PresentationRow* current = ctx_.dm.currentPresentation();
    presentation_ = current ? current->CodPresentacion : 0;
    if (!own)
        STProducto->setText(QStringLiteral("PRODUCTO: ") +
                            (current ? current->PresTipo.trimmed() : QString()));
    since_ = firstOfYear(now.date().year());
    if (db::proc::lotesCanje(ctx_.db, presentation_, since_).empty())
        since_ = firstOfYear(now.date().addDays(-kExpiryDays).year());
    rereadGrids();
}

void TFrmCanje::readBatches(int keepBatch, int keepExchange) {
    batches_->setRows(db::proc::lotesCanje(ctx_.db, presentation_, since_));
    ui::Grid::selectRow(DBGrid1, indexOf(batches_->rows(), &LoteCanje::KarInCod, keepBatch));
    readExchanges(keepExchange);
}

void TFrmCanje::readExchanges(int keepExchange) {
    const LoteCanje* b = batch();
    exchanges_->setRows(b ? db::proc::canjesDeLote(ctx_.db, b->KarInCod) : std::vector<CanjeRow>{});
    ui::Grid::selectRow(DBGrid2, indexOf(exchanges_->rows(), &CanjeRow::CanCod, keepExchange));
    applyMode();
}

const LoteCanje* TFrmCanje::batch() const {
    const int row = ui::Grid::currentRow(DBGrid1);
    return row < 0 ? nullptr : &batches_->row(row);
}

const CanjeRow* TFrmCanje::exchange() const {
    const int row = ui::Grid::currentRow(DBGrid2);
    return row < 0 ? nullptr : &exchanges_->row(row);
}

void TFrmCanje::CBEstadoChange() {
    const QString item = CBEstado->currentText().trimmed();
    if (item == kSendItem) {
        mode_ = Mode::Send;
        SPEditar->setText(QStringLiteral("POR CANJE &DEVUELVE"));
    } else if (item == kReceiveItem) {
        mode_ = Mode::Receive;
        SPEditar->setText(QStringLiteral("POR CANJE &RECIBIDO"));
    } else {
        return;
    }
    applyMode();
    if (EdUnidades->isEnabled())
        EdUnidades->setFocus();
}

// A send-back needs a batch's units only; a receipt needs an exchange of the selected batch.
void TFrmCanje::applyMode() {
    const bool receive = mode_ == Mode::Receive && exchange() != nullptr;
    const bool enabled = mode_ == Mode::Send || receive;
    EdUnidades->setEnabled(enabled);
    SPEditar->setEnabled(enabled);
    for (QWidget* w :
         std::initializer_list<QWidget*>{document_->supplierBox(), document_->typeBox(),
                                         document_->numberBox(), DateTimePicker1})
        w->setEnabled(receive);
}

void TFrmCanje::SPEditarClick() {
    ++ownActions_;
    ui::guard(ctx_.messages, [this] {
        if (!unitsChecked())
            return;
        const int units = EdUnidades->text().trimmed().toInt();
        if (mode_ == Mode::Receive)
            receive(units);
        else
            sendBack(units);
    });
    --ownActions_;
}

bool TFrmCanje::unitsChecked() {
    const QString typed = EdUnidades->text().trimmed();
    if (typed.isEmpty()) {
        refuseUnits(kNoUnits);
        return false;
    }
    bool ok = false;
    const qlonglong units = typed.toLongLong(&ok);
    if (!ok && !core::isDigitsOnly(typed))
        throw std::invalid_argument("units are no number: " + typed.toStdString());
    if (ok && units == 0) {
        refuseUnits(kZero);
        return false;
    }
    if (!unitsWithinRange(ctx_, EdUnidades))
        return false;
    const QString item = CBEstado->currentText().trimmed();
    if (item != kSendItem && item != kReceiveItem) {
        ctx_.messages.notice(kTypedMovement);
        return false;
    }
    return true;
}

void TFrmCanje::receive(int units) {
    const CanjeRow* sent = exchange();
    if (!sent)
        return;
    const QString typed = EdUnidades->text().trimmed();
    if (units > sent->CanUnidades) {
        refuseUnits(wrongUnits(QStringLiteral("SI SE LLEVARON: "), sent->CanUnidades,
                               QStringLiteral("ES ILOGICO QUE SE INGRESE: "), typed));
        return;
    }
    if (!document_->suppliersOnFile() || !document_->typeAccepted(offeredTypes()) ||
        !document_->supplierChosen() || !document_->numberGiven(true))
        return;
    const QDateTime now = ctx_.clock.now();
    const QDate expiry = DateTimePicker1->date();
    DateTimePicker1->setDate(QDate(expiry.year(), expiry.month(), 1));
    if (DateTimePicker1->dateTime() > now.addDays(kLatestExpiryDays)) {
        ctx_.messages.notice(kBadDate);
        DateTimePicker1->setDateTime(now.addDays(kExpiryDays));
        DateTimePicker1->setFocus();
        return;
    }
    if (presentation_ > 0) {
        db::proc::IngresoCanjeIn in;
        in.pCodPresentacion = presentation_;
        in.pCanCod = sent->CanCod;
        in.pKarCod = batch()->KarInCod;
        in.pProvNom = document_->supplier();
        in.pFechCad = DateTimePicker1->dateTime();
        in.pUnidades = units;
        in.pPC = db::proc::presentacionStock(ctx_.db, presentation_).value().PresPrecioCosto;
        in.pDocTipo = document_->type();
        in.pNumDoc = document_->number();
        in.pUsuCod = ctx_.session.userCode();
        shown(db::proc::KZ_IngresoCanje(ctx_.db, in, now));
    }
}

void TFrmCanje::sendBack(int units) {
    const LoteCanje* b = batch();
    const QString typed = EdUnidades->text().trimmed();
    const QString verb = QStringLiteral("ES ILOGICO QUE DEVUELVA: ");
    const int received = b ? b->KarInStock : 0;
    if (units > received) {
        refuseUnits(wrongUnits(QStringLiteral("SI SE INGRESO: "), received, verb, typed));
        return;
    }
    if (!b)
        return;
    const int stock = db::proc::presentacionStock(ctx_.db, presentation_).value().PresStockTotal;
    if (units > stock) {
        refuseUnits(wrongUnits(QStringLiteral("EN FISICO HAY: "), stock, verb, typed));
        return;
    }
    shown(db::proc::KZ_DevolucionCanje(ctx_.db, {presentation_, b->KarInCod, units},
                                       ctx_.clock.now()));
}

void TFrmCanje::refuseUnits(const QString& text) {
    ctx_.messages.notice(text);
    EdUnidades->clear();
    EdUnidades->setFocus();
}

// The movement's outcome after the grids are read again; a refusal also in a box.
void TFrmCanje::shown(const db::proc::CanjeOut& out) {
    rereadGrids();
    ctx_.dm.refreshPresentations();
    STProducto->setText(out.pMensaje.trimmed());
    if (!out.done)
        ctx_.messages.notice(out.pMensaje.trimmed());
}

void TFrmCanje::rereadGrids() {
    const LoteCanje* b = batch();
    const CanjeRow* c = exchange();
    readBatches(b ? b->KarInCod : 0, c ? c->CanCod : 0);
}

}  // namespace stock
