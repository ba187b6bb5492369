#include "sales/UnitVentasTodo.h"

#include "core/Clock.h"
#include "sales/CheckoutModels.h"
#include "session/AppContext.h"
#include "ui/Activation.h"
#include "ui/FormHelpers.h"
#include "ui/Grid.h"
#include "ui/Guard.h"
#include "ui/Hint.h"
#include "ui/Palette.h"
#include "ui/TextStyle.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace sales {

namespace {

// The day buttons by -offset: their names and captions.
constexpr const char* kDayButtonNames[TFormVentasTodo::kDays] = {
    "SpeedButton11", "SpeedButton2",  "SpeedButton3", "SpeedButton4",
    "SpeedButton1",  "SpeedButton5",  "SpeedButton6", "SpeedButton8",
    "SpeedButton9",  "SpeedButton10", "SpeedButton7"};

bool isEnter(const QKeyEvent& key) {
    return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
}

}  // namespace

TFormVentasTodo::TFormVentasTodo(session::AppContext& context, QWidget* parent)
    : QWidget(parent), ctx_(context), sale_(context, this, true) {
    setObjectName(QStringLiteral("FormVentasTodo"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("VENTAS"));
    day_ = core::salesMonitorDay(ctx_.clock.today(), 0);
    build();
    wire();
    ui::onActivation(this, [this] { activated(); });
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    Timer1->setInterval(100);
    connect(Timer1, &QTimer::timeout, this, [this] { silently([this] { Timer1Timer(); }); });
    Timer1->start();
}

TFormVentasTodo::~TFormVentasTodo() = default;

void TFormVentasTodo::build() {
    auto* column = new QVBoxLayout(this);
    column->addWidget(sale_.header(QStringLiteral("NUMERO DE VENTA:")));
    column->addWidget(buildDayButtons());

    listModel_ = new DaySalesModel(this);
    DBGrid3 = new QTableView;
    DBGrid3->setObjectName(QStringLiteral("DBGrid3"));
    ui::Grid::setUp(DBGrid3, listModel_);
    DBGrid3->horizontalHeader()->hide();
    ui::setFontSize(DBGrid3, 12);
    DBGrid3->verticalHeader()->setDefaultSectionSize(DBGrid3->fontMetrics().height() + 8);
    DBGrid3->setFixedWidth(250);
    auto* grids = new QHBoxLayout;
    grids->addWidget(sale_.DBGrid1, 1);
    grids->addWidget(DBGrid3);
    column->addLayout(grids, 1);

    ST = new QLabel;
    ST->setObjectName(QStringLiteral("ST"));
    ui::setFontSize(ST, 10, true);
    Salir = new QPushButton(QStringLiteral("&Salir"));
    Salir->setObjectName(QStringLiteral("Salir"));
    ui::setHint(Salir, QStringLiteral("SALIR DE LA VENTANA"));
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(ST);
    bottom->addWidget(sale_.Mensaje, 1);
    bottom->addWidget(Salir);
    column->addLayout(bottom);
    resize(1000, 640);
}

QWidget* TFormVentasTodo::buildDayButtons() {
    auto* bar = new QWidget;
    auto* row = new QHBoxLayout(bar);
    for (int d = 0; d < kDays; ++d) {
        auto* b = new QPushButton(d == 0 ? QStringLiteral("HOY") : QString::number(d));
        b->setObjectName(QString::fromLatin1(kDayButtonNames[d]));
        ui::setFontSize(b, 10, true);
        b->setMinimumHeight(30);
        row->addWidget(b);
        dayButtons_.push_back(b);
    }
    row->addStretch(1);
    return bar;
}

void TFormVentasTodo::wire() {
    for (int d = 0; d < kDays; ++d)
        connect(dayButtons_[std::size_t(d)], &QPushButton::clicked, this,
                [this, d] { ui::guardShowingError(ctx_.messages, [this, d] { dayClick(-d); }); });
    connect(DBGrid3, &QTableView::clicked, this,
            [this] { silently([this] { DBGrid3ColEnter(); }); });
    connect(Salir, &QPushButton::clicked, this, [this] { ui::closeOnDesktop(this); });
    for (QObject* o :
         std::initializer_list<QObject*>{sale_.EdFacNumero, sale_.DBGrid1, DBGrid3, Salir})
        o->installEventFilter(this);
}

bool TFormVentasTodo::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto& key = *static_cast<QKeyEvent*>(event);
    if (watched == sale_.EdFacNumero && isEnter(key))
        return silently([this] { EdFacNumeroEnter(); });
    if (key.key() != Qt::Key_Escape)
        return QWidget::eventFilter(watched, event);
    if (watched == sale_.EdFacNumero)
        return silently([this] { EdFacNumeroEscape(); });
    if (watched == DBGrid3)
        return silently([this] { DBGrid3Escape(); });
    return silently([this, watched] { resetAfterEscape(watched == sale_.DBGrid1); });
}

bool TFormVentasTodo::silently(const std::function<void()>& action) {
    ui::guard(ctx_.messages, action);
    return true;
}

void TFormVentasTodo::startingSteps() {
    sale_.startingSteps();
}

void TFormVentasTodo::setDay(int offset) {
    offset_ = offset;
    day_ = core::salesMonitorDay(ctx_.clock.today(), offset);
}

void TFormVentasTodo::readList() {
    list_ = db::proc::daySales(ctx_.db, day_);
    listModel_->setRows(list_);
}

void TFormVentasTodo::readCount() {
    ST->setText(QStringLiteral("NO DESCARGADOS: ") +
                QString::number(db::proc::undischargedSales(ctx_.db, day_)));
}

// Every load reads the sale of the chosen day: numbers repeat every day.
void TFormVentasTodo::open(int facNumero) {
    sale_.open(facNumero, day_);
    sale_.EdFacNumero->setText(QString::number(facNumero));
}

void TFormVentasTodo::redCaption(int offset) {
    for (int d = 0; d < kDays; ++d)
        ui::setTextColour(dayButtons_[std::size_t(d)],
                          d == -offset ? ui::palette::red : ui::palette::black);
}

// Back to today, with "HOY" red so the buttons say which day is listed.
void TFormVentasTodo::activated() {
    ui::guardShowingError(ctx_.messages, [this] {
        setDay(0);
        redCaption(0);
        readList();
        readCount();
    });
}

void TFormVentasTodo::Timer1Timer() {
    sale_.startUp(this);
    readList();
    if (list_.size() == 1) {
        open(list_.front().FacNumero);
        sale_.showStartUpSale();
    } else if (list_.size() > 1) {
        ui::Grid::selectRow(DBGrid3, int(list_.size()) - 1);
        sale_.EdFacNumero->setText(QString::number(list_.back().FacNumero));
    }
}

void TFormVentasTodo::dayClick(int offset) {
    setDay(offset);
    readList();
    if (!list_.empty()) {
        ui::Grid::selectRow(DBGrid3, 0);
        open(list_.front().FacNumero);
    } else {
        sale_.close();
        sale_.EdFacNumero->clear();
    }
    sale_.showPcAndTotal();
    readCount();
    redCaption(offset);
}

void TFormVentasTodo::DBGrid3ColEnter() {
    const int row = ui::Grid::currentRow(DBGrid3);
    if (row < 0 || row >= int(list_.size()))
        return;
    open(list_[std::size_t(row)].FacNumero);
    readCount();
    sale_.applyDisplayRules();
}

void TFormVentasTodo::EdFacNumeroEnter() {
    const std::optional<int> typed = sale_.typedNumber();
    if (!typed || *typed <= 0)
        return;
    sale_.open(*typed, day_);
    sale_.applyDisplayRules();
    readList();
    sale_.EdFacNumero->setFocus();
}

void TFormVentasTodo::EdFacNumeroEscape() {
    sale_.unload();
    readList();
    if (list_.size() == 1) {
        ui::Grid::selectRow(DBGrid3, 0);
        DBGrid3ColEnter();
    } else {
        sale_.EdFacNumero->clear();
    }
    sale_.EdFacNumero->setFocus();
}

void TFormVentasTodo::DBGrid3Escape() {
    sale_.unload();
    readList();
    sale_.EdFacNumero->setText(list_.size() == 1 ? QString::number(list_.front().FacNumero)
                                                 : QString());
    sale_.EdFacNumero->setFocus();
}

void TFormVentasTodo::resetAfterEscape(bool fromLines) {
    sale_.closeSale();
    if (fromLines)
        sale_.Mensaje->clear();
    readList();
}

TFormVentasTodo* openSalesMonitor(session::AppContext& context) {
    auto* form = new TFormVentasTodo(context);
    ui::showOnDesktop(form, context.desktop, false);
    form->startingSteps();
    return form;
}

}  // namespace sales
