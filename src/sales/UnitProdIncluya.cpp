#include "sales/UnitProdIncluya.h"

#include "core/Clock.h"
#include "core/Format.h"
#include "core/InputRules.h"
#include "session/AppContext.h"
#include "ui/Activation.h"
#include "ui/FormHelpers.h"
#include "ui/Grid.h"
#include "ui/Guard.h"
#include "ui/InputFilter.h"
#include "ui/Palette.h"
#include "ui/TableModel.h"
#include "ui/TextStyle.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace sales {

namespace p = db::proc;

namespace {

const QString kError = QStringLiteral("error...");
const QString kStock = QStringLiteral("STOCK");
const QString kKairos = QStringLiteral("KAIROS");
constexpr int kTextSizes[] = {110, 82, 90, 110, 120};  // the columns the text boxes search

template <class W>
W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QColor filtered(const QLineEdit* box) {
    return box->text().trimmed().isEmpty() ? QColor() : ui::palette::skyBlue;
}

std::optional<int> number(const QLineEdit* box) {
    bool ok = false;
    const int n = box->text().trimmed().toInt(&ok);
    return ok ? std::optional<int>(n) : std::nullopt;
}

// The comparison chosen in a stock box's list; none while nothing is chosen.
std::optional<p::Comparison> comparison(const QComboBox* box) {
    static const std::pair<const char*, p::Comparison> kChoices[] = {
        {">", p::Comparison::Greater},
        {">=", p::Comparison::GreaterOrEqual},
        {"=", p::Comparison::Equal},
        {"<", p::Comparison::Less},
        {"<=", p::Comparison::LessOrEqual}};
    for (const auto& [text, c] : kChoices)
        if (box->currentText() == QLatin1String(text))
            return c;
    return std::nullopt;
}

// A stock bound: none for an empty box; an error for a bound without its comparison.
bool stockBound(const QComboBox* choice, const QLineEdit* box, std::optional<p::StockBound>& out) {
    if (box->text().trimmed().isEmpty())
        return true;
    const std::optional<p::Comparison> c = comparison(choice);
    const std::optional<int> value = number(box);
    if (!c || !value)
        return false;
    out = p::StockBound{*c, *value};
    return true;
}

}  // namespace

TFormProdIncluya::TFormProdIncluya(session::AppContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint),
      ctx_(context),
      reader_(new db::Reader(context.db, this)) {
    setObjectName(QStringLiteral("FormProdIncluya"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("FORMULARIO DE BUSQUEDA AVANZADA..."));
    auto* row = new QHBoxLayout(this);
    row->addWidget(buildFilters());
    auto* right = new QVBoxLayout;
    DBGrid1 = named(new QTableView, "DBGrid1");
    DBGrid1->setStyleSheet(QStringLiteral("QTableView { background-color: %1; } "
                                          "QHeaderView::section { background-color: %2; "
                                          "color: %3; font-weight: bold; }")
                               .arg(ui::palette::infoBackground.name(), ui::palette::red.name(),
                                    ui::palette::white.name()));
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    MENSAJE = named(new QLabel, "MENSAJE");
    MENSAJE->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    ui::setFontSize(MENSAJE, 10, true);
    right->addWidget(DBGrid1, 1);
    right->addWidget(MENSAJE);
    row->addLayout(right, 1);
    setFixedSize(997, 603);
    // Its error boxes keep the result shown: only a return from another window clears it.
    ui::onActivation(
        this, [this] { activated(); }, ui::BoxActivation::None);
}

QLineEdit* TFormProdIncluya::textBox(QGridLayout* grid, int row, const char* name,
                                     const char* caption, int columnSize) {
    auto* box = named(new QLineEdit, name);
    ui::forceUpperCase(box);
    ui::capLength(box, columnSize);
    grid->addWidget(new QLabel(QString::fromLatin1(caption)), row, 0);
    grid->addWidget(box, row, 1, 1, 3);
    return box;
}

QWidget* TFormProdIncluya::buildFilters() {
    auto* panel = new QWidget;
    panel->setFixedWidth(330);
    auto* column = new QVBoxLayout(panel);
    auto* grid = new QGridLayout;
    EdProducto = textBox(grid, 0, "EdProducto", "PRODUCTO:", kTextSizes[0]);
    EdLaboratorio = textBox(grid, 1, "EdLaboratorio", "LABORATORIO:", kTextSizes[1]);
    EdPresentacion = textBox(grid, 2, "EdPresentacion", "PRESENTACION:", kTextSizes[2]);
    EdNomGen = textBox(grid, 3, "EdNomGen", "PRINCIPIO ACTIVO:", kTextSizes[3]);
    EdMecanismo = textBox(grid, 4, "EdMecanismo", "MECANISMO DE ACCION:", kTextSizes[4]);

    Ed1 = named(new QLineEdit, "Ed1");
    Ed2 = named(new QLineEdit, "Ed2");
    for (QLineEdit* e : {Ed1, Ed2}) {
        ui::commaAsPoint(e);
        ui::filter(e, core::isPriceText);
        e->setMaxLength(12);
    }
    grid->addWidget(new QLabel(QStringLiteral("PRECIO DE VENTA:")), 5, 0);
    grid->addWidget(Ed1, 5, 1);
    grid->addWidget(Ed2, 5, 2);

    CB1 = named(new QComboBox, "CB1");
    CB1->addItems({QStringLiteral(">"), QStringLiteral(">="), QStringLiteral("=")});
    CB2 = named(new QComboBox, "CB2");
    CB2->addItems({QStringLiteral("<"), QStringLiteral("<="), QStringLiteral("=")});
    C1 = named(new QLineEdit, "C1");
    C2 = named(new QLineEdit, "C2");
    for (QLineEdit* e : {C1, C2}) {
        ui::filter(e, core::isDigitsOnly);
        e->setMaxLength(5);
    }
    grid->addWidget(new QLabel(kStock), 6, 0);
    grid->addWidget(CB1, 6, 1);
    grid->addWidget(C1, 6, 2);
    grid->addWidget(CB2, 7, 1);
    grid->addWidget(C2, 7, 2);

    ComboBox1 = named(new QComboBox, "ComboBox1");
    ComboBox1->addItems({kStock, kKairos});
    grid->addWidget(new QLabel(QStringLiteral("UBICACION")), 8, 0);
    grid->addWidget(ComboBox1, 8, 1, 1, 2);
    column->addLayout(grid);
    column->addWidget(buildSaleDay());

    SBNuevo = named(new QPushButton(QStringLiteral("&Nuevo")), "SBNuevo");
    SBSalir = named(new QPushButton(QStringLiteral("&Salir")), "SBSalir");
    SBConsultar = named(new QPushButton(QStringLiteral("&Consultar")), "SBConsultar");
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {SBNuevo, SBConsultar, SBSalir})
        buttons->addWidget(b);
    column->addLayout(buttons);
    column->addStretch(1);
    connect(SBNuevo, &QPushButton::clicked, this, [this] { SBNuevoClick(); });
    connect(SBSalir, &QPushButton::clicked, this, &QWidget::close);
    connect(SBConsultar, &QPushButton::clicked, this, [this] { SBConsultarClick(); });
    CB1->setCurrentIndex(-1);
    CB2->setCurrentIndex(-1);
    return panel;
}

QWidget* TFormProdIncluya::buildSaleDay() {
    auto* group = new QGroupBox(QStringLiteral("VENTA EN OTRO DIA"));
    auto* row = new QHBoxLayout(group);
    CheckNumVenta = named(new QCheckBox, "CheckNumVenta");
    DateTimePicker1 = named(new QDateEdit, "DateTimePicker1");
    DateTimePicker1->setCalendarPopup(true);
    DateTimePicker1->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    EdNumVen1 = named(new QLineEdit, "EdNumVen1");
    EdNumVen2 = named(new QLineEdit, "EdNumVen2");
    for (QLineEdit* e : {EdNumVen1, EdNumVen2}) {
        ui::filter(e, core::isDigitsOnly);
        e->setMaxLength(9);
    }
    row->addWidget(CheckNumVenta);
    row->addWidget(DateTimePicker1);
    row->addWidget(EdNumVen1);
    row->addWidget(new QLabel(QStringLiteral("A")));
    row->addWidget(EdNumVen2);
    for (QWidget* w : std::initializer_list<QWidget*>{DateTimePicker1, EdNumVen1, EdNumVen2})
        w->setEnabled(false);
    connect(CheckNumVenta, &QCheckBox::clicked, this, [this] {
        for (QWidget* w : std::initializer_list<QWidget*>{DateTimePicker1, EdNumVen1, EdNumVen2})
            w->setEnabled(true);
    });
    return group;
}

TFormProdIncluya* TFormProdIncluya::open(session::AppContext& context) {
    auto* form = new TFormProdIncluya(context, context.mainWindow);
    ui::centreOnDesktop(form);
    form->QWidget::show();
    form->raise();
    form->activateWindow();
    return form;
}

void TFormProdIncluya::activated() {
    DateTimePicker1->setDate(ctx_.clock.today());
    for (QLineEdit* e : {EdProducto, EdLaboratorio, EdNomGen, EdMecanismo, EdPresentacion})
        e->clear();
    MENSAJE->clear();
    reader_->cancel();
    show(nullptr);
}

void TFormProdIncluya::SBNuevoClick() {
    for (QLineEdit* e :
         {EdProducto, EdLaboratorio, EdNomGen, EdMecanismo, Ed1, Ed2, C1, C2, EdPresentacion})
        e->clear();
    CB1->setCurrentIndex(-1);
    CB2->setCurrentIndex(-1);
    ComboBox1->setCurrentText(kStock);
    EdProducto->setFocus();
}

void TFormProdIncluya::SBConsultarClick() {
    MENSAJE->clear();
    EdNomGen->setText(EdNomGen->text().trimmed());
    if (CheckNumVenta->isChecked()) {
        if (!ui::guard(ctx_.messages, [this] { listSales(); }))
            refuse();
        return;
    }
    const std::optional<p::ProductSearch> search = typedSearch();
    if (!search) {
        refuse();
        return;
    }
    const bool ran = ui::guard(ctx_.messages, [this, &search] {
        if (ComboBox1->currentText() == kStock)
            searchPresentations(*search);
        else if (ComboBox1->currentText() == kKairos)
            searchProducts(*search);
    });
    if (!ran)
        refuse();
}

std::optional<p::ProductSearch> TFormProdIncluya::typedSearch() const {
    p::ProductSearch s;
    s.producto = EdProducto->text().trimmed();
    s.laboratorio = EdLaboratorio->text().trimmed();
    s.presentacion = EdPresentacion->text().trimmed();
    s.mecanismo = EdMecanismo->text().trimmed();
    for (const QString& part : EdNomGen->text().split(QLatin1Char('+'))) {
        if (!part.trimmed().isEmpty())
            s.ingredientes << part.trimmed();
    }
    if (!Ed1->text().trimmed().isEmpty() && !Ed2->text().trimmed().isEmpty()) {
        s.priceFrom = core::Money::parse(Ed1->text());
        s.priceTo = core::Money::parse(Ed2->text());
        if (!s.priceFrom || !s.priceTo)
            return std::nullopt;
    }
    if (!stockBound(CB1, C1, s.stockFrom) || !stockBound(CB2, C2, s.stockTo))
        return std::nullopt;
    return s;
}

void TFormProdIncluya::listSales() {
    p::SoldLinesSearch s;
    s.day = core::saleDay(DateTimePicker1->date());
    const std::optional<int> first = number(EdNumVen1);
    const std::optional<int> last = number(EdNumVen2);
    if (first) {
        s.first = first;
        s.last = last;
    }
    auto* model = new ui::VectorModel<p::SoldLine>(this);
    const Qt::Alignment centre = Qt::AlignCenter;
    model->setColumns(
        {{.title = QStringLiteral("NUMERO VENTA"),
          .width = 90,
          .alignment = centre,
          .value = model->by(&p::SoldLine::FacNumero)},
         {.title = QStringLiteral("CANTIDAD"),
          .width = 70,
          .alignment = centre,
          .value = model->by(&p::SoldLine::Cantidad)},
         {.title = QStringLiteral("PRESENTACION DE PRODUCTO"),
          .width = 315,
          .value = model->by(&p::SoldLine::PresTipo)},
         {.title = QStringLiteral("ESTADO"),
          .width = 120,
          .value = model->by(&p::SoldLine::Estado)},
         {.title = QStringLiteral("IMPORTE"),
          .width = 70,
          .alignment = centre,
          .value = model->by([](const p::SoldLine& l) { return core::fmt::twoDecimals(l.TOTAL); })},
         {.title = QStringLiteral("PUNTO_VENTA"),
          .width = 90,
          .alignment = centre,
          .value = model->by(&p::SoldLine::FacHostName)}});
    list(p::soldLinesListing(ctx_.db, s), &p::soldLine, model);
}

void TFormProdIncluya::searchPresentations(const p::ProductSearch& search) {
    auto* model = new ui::VectorModel<p::FoundPresentation>(this);
    const Qt::Alignment centre = Qt::AlignCenter;
    const QColor price = filtered(Ed1);
    const QColor stock = filtered(C1).isValid() ? filtered(C1) : filtered(C2);
    using F = p::FoundPresentation;
    model->setColumns(
        {{.title = QStringLiteral("NOMBRE COMERCIAL"),
          .width = 80,
          .value = model->by(&F::ProdNomComercial)},
         {.title = QStringLiteral("PRESENTACION DE PRODUCTO"),
          .width = 400,
          .value = model->by(&F::PresTipo)},
         {.title = QStringLiteral("NOMBRE GENERICO"),
          .width = 120,
          .value = model->by(&F::ProdNomGenerico)},
         {.title = QStringLiteral("MECANISMO DE ACCION"),
          .width = 70,
          .value = model->by(&F::ProAccionMecanismo)},
         {.title = QStringLiteral("LabNombre"), .value = model->by(&F::LabNombre)},
         {.title = QStringLiteral("PRECIO DE VENTA"),
          .width = 100,
          .alignment = centre,
          .value = model->by([](const F& f) { return core::fmt::twoDecimals(f.PresVenta); }),
          .background = [price](int) { return price; }},
         {.title = QStringLiteral("STOCK"),
          .width = 50,
          .alignment = centre,
          .value = model->by(&F::PresStockTotal),
          .background = [stock](int) { return stock; }}});
    list(p::presentationsListing(ctx_.db, search), &p::foundPresentation, model);
}

void TFormProdIncluya::searchProducts(const p::ProductSearch& search) {
    auto* model = new ui::VectorModel<p::FoundProduct>(this);
    using F = p::FoundProduct;
    const auto tinted = [](const QLineEdit* box) {
        const QColor colour = filtered(box);
        return [colour](int) { return colour; };
    };
    model->setColumns({{.title = QStringLiteral("NOMBRE COMERCIAL"),
                        .width = 210,
                        .value = model->by(&F::ProdNomComercial),
                        .background = tinted(EdProducto)},
                       {.title = QStringLiteral("NOMBRE GENERICO"),
                        .width = 210,
                        .value = model->by(&F::ProdNomGenerico),
                        .background = tinted(EdNomGen)},
                       {.title = QStringLiteral("MECANISMO DE ACCION"),
                        .width = 323,
                        .value = model->by(&F::ProAccionMecanismo),
                        .background = tinted(EdMecanismo)}});
    list(p::productsListing(ctx_.db, search), &p::foundProduct, model);
}

template <class Row>
void TFormProdIncluya::list(db::Listing listing, Row (*convert)(const QSqlQuery&),
                            ui::VectorModel<Row>* model) {
    show(model);
    reader_->listInto(std::move(listing), convert, model,
                      {.totals =
                           [this](const QVariantList& totals) {
                               MENSAJE->setText(QString::number(db::integer(totals.value(0))) +
                                                QStringLiteral(" ELEMENTOS ENCONTRADOS"));
                           },
                       .failed = [this](const QString&) { refuse(); }});
}

// The grid shows the model (none: an empty grid).
void TFormProdIncluya::show(ui::TableModel* model) {
    ui::TableModel* old = model_;
    model_ = model ? model : new ui::TableModel(this);
    ui::Grid::setUp(DBGrid1, model_);
    DBGrid1->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    if (old)
        old->deleteLater();
}

void TFormProdIncluya::refuse() {
    ctx_.messages.notice(kError, ui::Messages::Kind::Error);
}

}  // namespace sales
