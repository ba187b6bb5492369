#include "admin/UnitFormDescargarMonto.h"

#include "admin/AdminParts.h"
#include "admin/WithdrawalReport.h"
#include "core/Clock.h"
#include "core/Format.h"
#include "core/InputRules.h"
#include "core/Roles.h"
#include "db/Settings.h"
#include "platform/Platform.h"
#include "printing/Layout.h"
#include "printing/Output.h"
#include "session/CommandRules.h"
#include "session/Session.h"
#include "ui/Activation.h"
#include "ui/ContextMenu.h"
#include "ui/Grid.h"
#include "ui/Guard.h"
#include "ui/InputFilter.h"
#include "ui/TableModel.h"

#include <QAction>
#include <QDateTimeEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace admin {

namespace {

constexpr int kReasonSize = 100;
const core::Money kLargest = core::Money::fromRaw(999'999'900);  // 99,999.99
const QString kNoAmount = QStringLiteral("INGRESE EL MONTO A DESCARGAR");
const QString kBadAmount = QStringLiteral("INGRESE UN MONTO VALIDO");
const QString kNoReason = QStringLiteral("INGRESE EL MOTIVO DEL DESCARGO");
const QString kNotRecorded = QStringLiteral("NO SE PUDO REGISTRAR EL EGRESO");

QDateTimeEdit* periodBox(QWidget* parent, const char* name) {
    auto* box = new QDateTimeEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    box->setCalendarPopup(true);
    return box;
}

}  // namespace

TFormDescargarMonto* TFormDescargarMonto::open(session::AppContext& ctx) {
    auto* form = new TFormDescargarMonto(ctx);
    parts::show(form);
    return form;
}

TFormDescargarMonto::TFormDescargarMonto(session::AppContext& ctx)
    : QWidget(ctx.mainWindow, parts::windowFlags(false)), ctx_(ctx) {
    setObjectName(QStringLiteral("FormDescargarMonto"));
    setWindowTitle(QStringLiteral("EGRESOS REALIZADOS EN EL DIA ACTUAL"));
    ownBoxes_ = new parts::OwnBoxes(this);
    build();
    wire();
    ui::onActivation(this, [this] { ui::guard(ctx_.messages, [this] { activated(); }); });
}

void TFormDescargarMonto::build() {
    STMonto = parts::statusText(this, "STMonto");
    STMonto->setAlignment(Qt::AlignCenter);
    STMensaje = parts::statusText(this, "STMensaje");
    buildGrid();
    EdCantidad = new QLineEdit(this);
    EdCantidad->setObjectName(QStringLiteral("EdCantidad"));
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setTabChangesFocus(true);
    Memo1->setFixedHeight(60);
    DT1 = periodBox(this, "DT1");
    DT2 = periodBox(this, "DT2");
    BtnGrabar = parts::button(this, "BtnGrabar", QStringLiteral("&Grabar"));
    BtnEditar = parts::button(this, "BtnEditar", QStringLiteral("&Calcular"));
    BtnImprimir = parts::button(this, "BtnImprimir", QStringLiteral("&Imprimir"));
    BtnEliminar = parts::button(this, "BtnEliminar", QStringLiteral("&Eliminar"));
    BtnSalir = parts::button(this, "BtnSalir", QStringLiteral("&Salir"));

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("MONTO:"), EdCantidad);
    fields->addRow(QStringLiteral("MOTIVO:"), Memo1);
    auto* period = new QHBoxLayout;
    period->addWidget(new QLabel(QStringLiteral("DEL:"), this));
    period->addWidget(DT1);
    period->addWidget(new QLabel(QStringLiteral("AL:"), this));
    period->addWidget(DT2);
    period->addStretch();
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {BtnGrabar, BtnEditar, BtnImprimir, BtnEliminar, BtnSalir})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(STMonto);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(period);
    layout->addLayout(fields);
    layout->addWidget(STMensaje);
    layout->addLayout(buttons);
    setMinimumSize(660, 540);
}

void TFormDescargarMonto::buildGrid() {
    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    rows_ = new ui::VectorModel<db::proc::EgresoRow>(this);
    using Row = db::proc::EgresoRow;
    rows_->setColumns(
        {{.title = QStringLiteral("N°"), .width = 50, .value = rows_->by([](const Row& r) {
              return QVariant(r.EgreCod);
          })},
         {.title = QStringLiteral("FECHA DE EGRESO"),
          .width = 140,
          .value = rows_->by(
              [](const Row& r) { return QVariant(core::fmt::shortDateLongTime(r.EgreFecha)); })},
         {.title = QStringLiteral("MONTO"),
          .width = 80,
          .alignment = Qt::AlignRight | Qt::AlignVCenter,
          .value = rows_->by(
              [](const Row& r) { return QVariant(core::fmt::twoDecimals(r.EgreMonto)); })},
         {.title = QStringLiteral("MOTIVO DEL DESCARGO"),
          .width = 320,
          .value = rows_->by([](const Row& r) { return QVariant(r.EgreMotivo.simplified()); })}});
    ui::Grid::setUp(DBGrid1, rows_);
    DBGrid1->horizontalHeader()->setStretchLastSection(true);
    DBGrid1->horizontalHeader()->setStyleSheet(QStringLiteral(
        "QHeaderView::section { background-color: red; color: white; font-weight: bold; }"));
    auto* menu = new QMenu(DBGrid1);
    QAction* remove = menu->addAction(QStringLiteral("&Eliminar"));
    remove->setObjectName(QStringLiteral("Eliminar1"));
    remove->setShortcut(QKeySequence(QStringLiteral("Ctrl+E")));
    ui::attachContextMenu(DBGrid1, menu);
}

void TFormDescargarMonto::wire() {
    ui::filter(EdCantidad, core::endsWithDigitOrPoint);
    ui::capLength(Memo1, kReasonSize);
    connect(BtnGrabar, &QPushButton::clicked, this,
            [this] { ownBoxes_->own([this] { BtnGrabarClick(); }); });
    connect(BtnEditar, &QPushButton::clicked, this,
            [this] { ui::guard(ctx_.messages, [this] { list(); }); });
    connect(BtnImprimir, &QPushButton::clicked, this, &TFormDescargarMonto::BtnImprimirClick);
    connect(BtnSalir, &QPushButton::clicked, this, &QWidget::close);
}

// Back from its own box the focus stays where the action put it.
void TFormDescargarMonto::activated() {
    today();
    list();
    if (!ownBoxes_->returning())
        EdCantidad->setFocus();
}

// The period of today: from yesterday at 23:59:59 to tomorrow at 00:00:01.
void TFormDescargarMonto::today() {
    const QDate day = ctx_.clock.today();
    DT1->setDateTime(QDateTime(day.addDays(-1), QTime(23, 59, 59)));
    DT2->setDateTime(QDateTime(day.addDays(1), QTime(0, 0, 1)));
}

void TFormDescargarMonto::list() {
    rows_->setRows(db::proc::egresos(ctx_.db, DT1->dateTime(), DT2->dateTime()));
    total_ = db::proc::totalEgresos(ctx_.db, DT1->dateTime(), DT2->dateTime());
    STMonto->setText(core::fmt::shortest(total_));
}

void TFormDescargarMonto::BtnGrabarClick() {
    if (!session::roleAllows(ctx_, core::roles::Group::AdministratorOrPharmacist,
                             core::roles::kOperacion))
        return;
    const std::optional<core::Money> amount = checkedAmount();
    if (!amount)
        return;
    if (Memo1->toPlainText().trimmed().isEmpty()) {
        ctx_.messages.notice(kNoReason);
        Memo1->setFocus();
        return;
    }
    record(*amount);
}

// The amount typed, above 0 and at most 99,999.99; otherwise says so and gives the box the focus.
std::optional<core::Money> TFormDescargarMonto::checkedAmount() {
    const QString typed = EdCantidad->text().trimmed();
    std::optional<core::Money> amount;
    if (typed.isEmpty()) {
        ctx_.messages.notice(kNoAmount);
    } else if (amount = core::Money::parse(typed);
               !amount || *amount <= core::Money() || *amount > kLargest) {
        amount.reset();
        ctx_.messages.notice(kBadAmount);
    }
    if (!amount)
        EdCantidad->setFocus();
    return amount;
}

void TFormDescargarMonto::record(core::Money amount) {
    db::proc::IngresoEgresoOut out;
    const bool recorded = ui::guard(ctx_.messages, [&] {
        out = db::proc::KZ_IngresoEgreso(
            ctx_.db, {amount, Memo1->toPlainText(), ctx_.session.userCode()}, ctx_.clock.now());
    });
    ui::guard(ctx_.messages, [this] {
        today();
        list();
    });
    STMensaje->setText(recorded ? out.pMensaje.trimmed() : kNotRecorded);
}

void TFormDescargarMonto::BtnImprimirClick() {
    ui::guard(ctx_.messages, [this] {
        const QDateTime now = ctx_.clock.now();
        const printing::Document doc =
            printing::layout(withdrawalReport(rows_->rows(), total_), now);
        printing::preview(doc, this, windowTitle(), [this, doc, now] {
            const printing::Printed printed = printing::print(
                doc, ctx_.settings, ctx_.platform.printSystem(), QStringLiteral("EGRESOS"), now);
            if (printed.failed())
                ctx_.messages.notice(QStringLiteral("NO SE PUDO IMPRIMIR: ") + printed.problem,
                                     ui::Messages::Kind::Warning);
        });
    });
}

}  // namespace admin
