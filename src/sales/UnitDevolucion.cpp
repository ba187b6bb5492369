#include "sales/UnitDevolucion.h"

#include "core/Clock.h"
#include "core/Format.h"
#include "core/InputRules.h"
#include "core/Roles.h"
#include "session/CommandRules.h"
#include "session/Session.h"
#include "session/UnitDM.h"
#include "ui/Activation.h"
#include "ui/FormHelpers.h"
#include "ui/Grid.h"
#include "ui/Guard.h"
#include "ui/InputFilter.h"
#include "ui/Palette.h"
#include "ui/TableModel.h"
#include "ui/TextStyle.h"

#include <QDateTimeEdit>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QVBoxLayout>

namespace sales {

namespace {

const QString kReturnFailed = QStringLiteral(
    "ERROR EN LA DEVOLUCION\rERROR EN BASE DE DATOS...\rNO HACER DOVOLUCIONES HASTA VENIR "
    "MAXIMOS");
const QString kNoRows = QStringLiteral("NO HAY VALORES CON LOS RANGOS INDICADOS...");
const QString kNotReadAgain =
    QStringLiteral("LA DEVOLUCION SE REALIZO, PERO NO SE PUDO LEER DE NUEVO LA LISTA...");

QDateTimeEdit* picker(const char* name, const QDateTime& value, QWidget* parent) {
    auto* p = new QDateTimeEdit(value, parent);
    p->setObjectName(QLatin1String(name));
    p->setDisplayFormat(QStringLiteral("dd/MM/yyyy hh:mm:ss"));
    p->setCalendarPopup(true);
    p->setEnabled(false);
    return p;
}

QPushButton* button(const char* name, const QString& caption, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

bool isEnter(const QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// The picker's date moved by `days`, its time of day kept.
void shiftDate(QDateTimeEdit* p, const QDate& date) {
    p->setDateTime(QDateTime(date, p->time()));
}

}  // namespace

const db::proc::VentaDevolucion* TFormDevolucion::Listing::currentRow() const {
    return current >= 0 && current < int(rows.size()) ? &rows[std::size_t(current)] : nullptr;
}

TFormDevolucion* TFormDevolucion::open(session::AppContext& ctx) {
    return open(ctx, core::todayPickerRange(ctx.clock.today()));
}

TFormDevolucion* TFormDevolucion::open(session::AppContext& ctx, const core::DateTimeRange& range) {
    auto* form = new TFormDevolucion(ctx, range);
    ui::centreOnDesktop(form);
    form->show();
    form->activateWindow();
    form->FormActivate();
    return form;
}

TFormDevolucion::TFormDevolucion(session::AppContext& ctx, const core::DateTimeRange& range)
    : QWidget(ctx.mainWindow, Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint),
      ctx_(ctx),
      reader_(new db::Reader(ctx.db, this)),
      model_(new ui::TableModel(this)) {
    setObjectName(QStringLiteral("FormDevolucion"));
    setWindowTitle(QStringLiteral("VENTANA DE INGRESO(DEVOLUCION) DE PRODUCTO"));
    setAttribute(Qt::WA_DeleteOnClose);
    build();
    F1->setDateTime(range.start);
    F2->setDateTime(range.end);
    ui::onActivation(this, [this] { ui::guard(ctx_.messages, [this] { FormActivate(); }); });
}

// ---- construction ----

void TFormDevolucion::build() {
    auto* column = new QVBoxLayout(this);
    column->addWidget(buildPickers());
    Mensaje = new QLabel(this);
    Mensaje->setObjectName(QStringLiteral("Mensaje"));
    Mensaje->setAutoFillBackground(true);
    QPalette p = Mensaje->palette();
    p.setColor(QPalette::Window, ui::palette::black);
    Mensaje->setPalette(p);
    ui::setTextColour(Mensaje, ui::palette::lime);
    QFont arial(QStringLiteral("Arial"));
    arial.setBold(true);
    Mensaje->setFont(arial);
    column->addWidget(Mensaje);
    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    setUpGrid();
    column->addWidget(DBGrid1, 1);
    column->addWidget(buildButtons());
    resize(900, 460);
}

QWidget* TFormDevolucion::buildPickers() {
    auto* box = new QWidget(this);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    F1 = picker("F1", {}, box);
    F2 = picker("F2", {}, box);
    Consultar = button("Consultar", QStringLiteral("&Consultar"), box);
    row->addWidget(new QLabel(QStringLiteral("FECHA INICIAL:"), box));
    row->addWidget(F1);
    row->addWidget(new QLabel(QStringLiteral("FECHA FINAL:"), box));
    row->addWidget(F2);
    row->addWidget(Consultar);
    row->addStretch(1);
    for (QObject* w : {static_cast<QObject*>(F1), static_cast<QObject*>(F2)})
        w->installEventFilter(this);
    connect(Consultar, &QPushButton::clicked, this,
            [this] { ui::guard(ctx_.messages, [this] { ConsultarClick(); }); });
    return box;
}

QWidget* TFormDevolucion::buildButtons() {
    auto* box = new QWidget(this);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    Label1 = new QLabel(QStringLiteral("NUMERO DE UNIDADES A INGRESAR:"), box);
    Label1->setObjectName(QStringLiteral("Label1"));
    EdStock = new QLineEdit(box);
    EdStock->setObjectName(QStringLiteral("EdStock"));
    ui::filter(EdStock, core::endsWithDigit);
    EdStock->installEventFilter(this);
    Label1->hide();
    EdStock->hide();
    Ingresar = button("Ingresar", QStringLiteral("&Ingresar Usuario"), box);
    Ingresar->setEnabled(false);
    IngresarAdmin = button("IngresarAdmin", QStringLiteral("Ingresar &Administrador"), box);
    Salir = button("Salir", QStringLiteral("&Salir"), box);
    row->addWidget(Label1);
    row->addWidget(EdStock);
    row->addStretch(1);
    row->addWidget(Ingresar);
    row->addWidget(IngresarAdmin);
    row->addWidget(Salir);
    connect(Ingresar, &QPushButton::clicked, this, [this] { devolver(Kind::Day); });
    connect(IngresarAdmin, &QPushButton::clicked, this, [this] { devolver(Kind::Range); });
    connect(Salir, &QPushButton::clicked, this, &QWidget::close);
    return box;
}

void TFormDevolucion::setUpGrid() {
    auto row = [this](int r) -> const db::proc::VentaDevolucion& {
        return listing(shown_).rows[std::size_t(r)];
    };
    model_->setColumns({
        {.title = QStringLiteral("PRESENTACION"),
         .width = 300,
         .value = [row](int r) { return QVariant(row(r).PresTipo); }},
        {.title = QStringLiteral("CANTIDAD"),
         .width = 80,
         .alignment = Qt::AlignRight | Qt::AlignVCenter,
         .value = [row](int r) { return QVariant(row(r).Cantidad); }},
        {.title = QStringLiteral("ESTADO"),
         .width = 110,
         .value = [row](int r) { return QVariant(row(r).Estado); }},
        {.title = QStringLiteral("FECHA DE VENTA"),
         .width = 150,
         .value = [row](int r) { return QVariant(core::fmt::shortDateLongTime(row(r).FacFecha)); }},
        {.title = QStringLiteral("TICKET NUMERO"),
         .width = 120,
         .alignment = Qt::AlignRight | Qt::AlignVCenter,
         .value = [row](int r) { return QVariant(row(r).FacNumero); }},
        {.title = QStringLiteral("VENDEDOR"),
         .width = 120,
         .value = [row](int r) { return QVariant(row(r).FacHostName); }},
    });
    ui::Grid::setUp(DBGrid1, model_);
    DBGrid1->setStyleSheet(QStringLiteral("QHeaderView::section { background-color: %1; color: "
                                          "white; font-weight: bold; }")
                               .arg(ui::palette::red.name()));
    connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    listing(shown_).current = current.row();
            });
}

// ---- activation and listings ----

bool TFormDevolucion::isAdministrator() const {
    return core::roles::passes(ctx_.dm.sessionRole(), core::roles::Group::AdministratorOnly);
}

int TFormDevolucion::currentPresentation() const {
    const session::PresentationRow* p = ctx_.dm.currentPresentation();
    return p ? p->CodPresentacion : 0;
}

void TFormDevolucion::FormActivate() {
    const session::ProductRow* product = ctx_.dm.currentProduct();
    Mensaje->setText(
        QStringLiteral("PRODUCTO: ") + (product ? product->ProdNomComercial.trimmed() : QString()) +
        QStringLiteral("  LABORATORIO: ") + (product ? product->LabNombre.trimmed() : QString()));
    resetPickers();
    Ingresar->hide();
    IngresarAdmin->hide();
    const bool admin = isAdministrator();
    F1->setEnabled(admin);
    F2->setEnabled(admin);
    (admin ? IngresarAdmin : Ingresar)->show();
}

void TFormDevolucion::resetPickers() {
    const QDate today = ctx_.clock.today();
    shiftDate(F1, today.addDays(-1));
    shiftDate(F2, today.addDays(1));
}

// Lists the rows of the presentation within the range as they arrive; `then` learns at the
// first row, or once none came, whether there are any. A listing that fails runs `failed`,
// when given (the ones the user asked for fail silently).
void TFormDevolucion::read(Kind kind, const core::DateTimeRange& range, int presentation,
                           std::function<void(bool found)> then, std::function<void()> failed) {
    Listing& l = listing(kind);
    l.rows.clear();
    l.presentation = presentation;
    l.range = range;
    l.current = 0;
    if (kind == shown_)
        showListing(kind);
    using Row = db::proc::VentaDevolucion;
    reader_->list<Row>(db::proc::ventasDevolucionListing(presentation, range),
                       &db::proc::ventaDevolucion,
                       [this, kind, then](std::vector<Row>&& rows) {
                           Listing& l = listing(kind);
                           const bool first = l.rows.empty();
                           l.rows.insert(l.rows.end(), std::make_move_iterator(rows.begin()),
                                         std::make_move_iterator(rows.end()));
                           if (kind == shown_)
                               model_->grow(int(l.rows.size()));
                           if (first && kind == shown_)
                               ui::Grid::selectRow(DBGrid1, l.current);
                           if (first && then)
                               then(true);
                       },
                       {.finished =
                            [this, kind, then] {
                                if (listing(kind).rows.empty() && then)
                                    then(false);
                            },
                        .failed =
                            [failed](const QString&) {
                                if (failed)
                                    failed();
                            }});
}

void TFormDevolucion::showListing(Kind kind) {
    shown_ = kind;
    model_->reset(int(listing(kind).rows.size()));
    if (!listing(kind).rows.empty())
        ui::Grid::selectRow(DBGrid1, listing(kind).current);
}

void TFormDevolucion::showQuantityBox() {
    Label1->show();
    EdStock->show();
    EdStock->setFocus();
}

void TFormDevolucion::ConsultarClick() {
    Kind kind = Kind::Day;
    core::DateTimeRange range = core::calendarDay(ctx_.clock.today());
    if (isAdministrator()) {
        if (F2->dateTime() <= F1->dateTime()) {
            ctx_.messages.notice(QStringLiteral("INGRESE CORRECTAMENTE LAS FECHAS..."));
            resetPickers();
            return;
        }
        kind = Kind::Range;
        range = {F1->dateTime(), F2->dateTime()};
    }
    shown_ = kind;
    read(kind, range, currentPresentation(), [this](bool found) {
        if (!found) {
            ctx_.messages.notice(ctx_.dm.sessionName().trimmed() + kNoRows);
            return;
        }
        showQuantityBox();
        Ingresar->setEnabled(true);
    });
}

void TFormDevolucion::F1Enter() {
    F2->setDateTime(core::afterStartEnter(F1->dateTime()).end);
    F2->setFocus();
}

void TFormDevolucion::EdStockEnter() {
    read(Kind::Day, core::calendarDay(ctx_.clock.today()), currentPresentation(),
         [this](bool found) {
             if (!found) {
                 ctx_.messages.notice(kNoRows);
                 return;
             }
             showQuantityBox();
         });
}

bool TFormDevolucion::eventFilter(QObject* watched, QEvent* event) {
    if (!isEnter(event))
        return QWidget::eventFilter(watched, event);
    ui::guard(ctx_.messages, [this, watched] {
        if (watched == F1)
            F1Enter();
        else if (watched == F2)
            Consultar->setFocus();
        else
            EdStockEnter();
    });
    return true;
}

// ---- the return ----

// Shows the refusal and empties the box (focused unless told otherwise); always false.
bool TFormDevolucion::refused(const QString& message, bool focus) {
    ctx_.messages.notice(message);
    EdStock->clear();
    if (focus)
        EdStock->setFocus();
    return false;
}

// A whole number of units from 1 to the line's quantity; the entry is trimmed.
bool TFormDevolucion::acceptable(const QString& entry, int cantidad) {
    if (entry.isEmpty())
        return refused(QStringLiteral("INGRESE UN VALOR..."), false);
    static const QRegularExpression whole(QStringLiteral("^-?[0-9]+$"));
    if (!whole.match(entry).hasMatch())
        return refused(QStringLiteral("VALOR ERRONEO..."));
    if (entry.startsWith(QLatin1Char('-')))
        return refused(QStringLiteral("NO SE PERMITEN VALORES NEGATIVOS"));
    QString digits = entry;
    while (digits.startsWith(QLatin1Char('0')))
        digits.remove(0, 1);
    if (digits.isEmpty())
        return refused(QStringLiteral("VALOR ERRONEO..."));
    // Compared as digits, so a number of any length is only ever too many.
    const QString bound = QString::number(cantidad);
    if (digits.size() > bound.size() || (digits.size() == bound.size() && digits > bound))
        return refused(QStringLiteral("NO PUEDE SOBREPASAR LO COMPRADO...\r    COMPRE: ") + bound +
                       QStringLiteral("\rNO PUEDO DEVOLVER: ") + entry);
    return true;
}

void TFormDevolucion::devolver(Kind kind) {
    ui::guard(
        ctx_.messages,
        [this, kind] {
            if (!session::roleAllows(ctx_, core::roles::Group::AdministratorOnly,
                                     core::roles::kOperacion))
                return;
            const Listing& l = listing(kind);
            const db::proc::VentaDevolucion* row = l.currentRow();
            const QString entry = EdStock->text().trimmed();
            if (!acceptable(entry, row ? row->Cantidad : 0))
                return;
            db::proc::IngresoDevolucionIn in;
            in.pCodPres = row->CodPresentacion;
            in.pDetaNumero = row->DetaNumero;
            in.pImporte = row->importe;
            in.pCosto = row->costo;
            in.pFacNum = row->FacNumero;
            in.pCanDevueltas = entry.toInt();
            in.pCajero = ctx_.session.login();
            in.pFacFecha = QDateTime(row->FacFecha.date(), QTime(0, 0));
            const db::proc::IngresoDevolucionOut out =
                db::proc::KZ_IngresoDevolucion(ctx_.db, in, ctx_.clock.now());
            Mensaje->setText(out.pMensaje.trimmed());
            EdStock->clear();
            // The return stands whatever happens now: a failing read says so on its own.
            ui::guard(
                ctx_.messages,
                [this, kind] {
                    const Listing& listed = listing(kind);
                    const QString made = Mensaje->text();
                    // The box's closing activates the window: the return's text is shown again.
                    read(kind, listed.range, listed.presentation, {}, [this, made] {
                        ctx_.messages.notice(kNotReadAgain);
                        Mensaje->setText(made);
                    });
                    ctx_.dm.refreshPresentations();
                },
                kNotReadAgain);
            EdStock->setFocus();
        },
        kReturnFailed);
}

}  // namespace sales
