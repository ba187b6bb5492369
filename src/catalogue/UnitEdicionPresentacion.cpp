#include "catalogue/UnitEdicionPresentacion.h"

#include "catalogue/FormParts.h"
#include "core/Clock.h"
#include "core/Format.h"
#include "core/Roles.h"
#include "db/procedures/Catalogue.h"
#include "session/CommandRules.h"
#include "session/Session.h"
#include "ui/Activation.h"
#include "ui/Guard.h"
#include "ui/Hint.h"
#include "ui/Palette.h"
#include "ui/TextStyle.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <limits>

namespace catalogue {

namespace {

const QString kCaption = QStringLiteral("VENTANA DE EDICION");
const QString kContinuo = QStringLiteral("CONTINUO");
const QString kChooseState = QStringLiteral(
    "DEBE ELEGIR SI EL PRODUCTO ESTA CONTINUO O DISCONTINUO\rINTENTELO NUEVAMENTE...");
const QString kChooseUnit = QStringLiteral(
    "DEBE ELEGIR SI EL PRODUCTO SE VENDE POR UNIDAD O POR CAJA\rINTENTELO NUEVAMENTE...");
const QString kNoName =
    QStringLiteral("NO SE PERMITEN VALORES VACIOS PARA\rEL NOMBRE DE LA PRESENTACION");
const QString kSaveFailed = QStringLiteral("ERROR EN EL INGRESO DE DATOS...");
const QString kZero = QStringLiteral("0.00");
constexpr int kSmallintMax = std::numeric_limits<qint16>::max();

QString priceText(core::Money value, TFrmEdicionPresentacion::Prices prices) {
    return prices == TFrmEdicionPresentacion::Prices::TwoDecimals ? core::fmt::twoDecimals(value)
                                                                  : core::fmt::shortest(value);
}

}  // namespace

TFrmEdicionPresentacion* TFrmEdicionPresentacion::open(session::AppContext& ctx, Prices prices,
                                                       const QString& nothingText) {
    auto* form = new TFrmEdicionPresentacion(ctx);
    const session::PresentationRow* current = ctx.dm.currentPresentation();
    if (current && !current->PresTipo.trimmed().isEmpty()) {
        form->presentation_ = *current;
        if (const session::ProductRow* product = ctx.dm.currentProduct()) {
            form->product_ = product->ProdNomComercial.trimmed();
            form->brand_ = product->LabNombre.trimmed();
        }
        form->fill(prices);
    } else {
        ctx.messages.notice(nothingText);
    }
    parts::show(form);
    form->activated();
    return form;
}

TFrmEdicionPresentacion::TFrmEdicionPresentacion(session::AppContext& ctx)
    : QWidget(ctx.mainWindow, Qt::Window | Qt::WindowCloseButtonHint), ctx_(ctx) {
    setObjectName(QStringLiteral("FormEdicionPresentacion"));
    setWindowTitle(kCaption);
    build();
    wire();
    rate_ = prices::igvRate(ctx.db);
    ui::onActivation(this, [this] { ui::guard(ctx_.messages, [this] { activated(); }); });
}

void TFrmEdicionPresentacion::build() {
    namespace p = db::proc;
    PROD = parts::notice(this, "PROD");
    PROD->setMinimumHeight(44);
    Mensaje = parts::messageStrip(this, "Mensaje");
    EditPres = new QLineEdit(this);
    EditPres->setObjectName(QStringLiteral("EditPres"));
    EditPres->setMaxLength(p::kPresTipoSize);
    PC = new QLineEdit(this);
    PC->setObjectName(QStringLiteral("PC"));
    Can = parts::digitsBox(this, "Can", 9);
    PG = new QLineEdit(this);
    PG->setObjectName(QStringLiteral("PG"));
    PV = new QLineEdit(this);
    PV->setObjectName(QStringLiteral("PV"));
    for (QLineEdit* price : {PC, PG, PV})
        price->setMaxLength(20);
    EdPresUbi = parts::box(this, "EdPresUbi", p::kPresUbicacionSize);
    Cb1 = parts::choice(this, "Cb1", {QStringLiteral("COMERCIAL"), QStringLiteral("GENERICO")},
                        QStringLiteral("LINEA COMERCIAL"), p::kPresChoiceSize + 5);
    CbEstado = parts::choice(this, "CbEstado", {kContinuo, QStringLiteral("DISCONTINUO")},
                             kContinuo, p::kPresEstadoSize);
    CbUnidadTodo =
        parts::choice(this, "CbUnidadTodo", {QStringLiteral("CAJA"), QStringLiteral("UNIDAD")},
                      QString(), p::kPresChoiceSize);
    EdPm = parts::digitsBox(this, "EdPm", 5);
    ui::setHint(EdPm, QStringLiteral("CANTIDAD MINIMA QUE DEBE HABER EN STOCK"));
    EdPosologia = parts::memo(this, "EdPosologia", p::kPresPosologiaSize);
    CON = new QRadioButton(QStringLiteral("Mas IGV"), this);
    CON->setObjectName(QStringLiteral("CON"));
    ui::setHint(CON, QStringLiteral("EL PRODUCTO NO VIENE CON I.G.V. HAY QUE INCLUIRLO"));
    SIN = new QRadioButton(QStringLiteral("Con IGV"), this);
    SIN->setObjectName(QStringLiteral("SIN"));
    ui::setHint(SIN, QStringLiteral("EL PRODUCTO YA VIENE CON I.G.V."));
    SIN->setChecked(true);
    auto* tax = new QGroupBox(QStringLiteral("IGV"), this);
    auto* taxRow = new QHBoxLayout(tax);
    taxRow->addWidget(CON);
    taxRow->addWidget(SIN);
    Editar = parts::button(this, "Editar", QStringLiteral("&Editar"));
    Salir = parts::button(this, "Salir", QStringLiteral("&Salir"));
    prices_ = prices::PriceBoxes(PC, Can, PG, PV);

    auto* grid = new QGridLayout;
    const auto row = [grid](int at, const char* label, QWidget* box, QWidget* beside = nullptr) {
        grid->addWidget(new QLabel(QString::fromUtf8(label)), at, 0);
        grid->addWidget(box, at, 1);
        if (beside)
            grid->addWidget(beside, at, 2);
    };
    row(0, "Presentacion:", EditPres);
    row(1, "Precio de Costo", PC, tax);
    row(2, "Cantidad:", Can);
    row(3, "Porcentaje de Ganancia:", PG);
    row(4, "Precio de Venta:", PV);
    row(5, "Otra Ubicación", EdPresUbi);
    row(6, "Linea:", Cb1, CbEstado);
    row(7, "Venta:", CbUnidadTodo);
    row(8, "Promedio Minimo:", EdPm);
    row(9, "Posologia", EdPosologia);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Editar);
    buttons->addWidget(Salir);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PROD);
    layout->addWidget(Mensaje);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    setMinimumWidth(640);
    QWidget* order[] = {EditPres,     PC,   Can,      PG,  PV,  EdPresUbi,  Cb1,
                        CbUnidadTodo, EdPm, CbEstado, CON, SIN, EdPosologia};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void TFrmEdicionPresentacion::wire() {
    prices_.filter();
    new prices::CapitalAid(EditPres, 'w');
    for (QObject* w : std::initializer_list<QObject*>{EditPres, PC, Can, PG, PV, EdPresUbi, Cb1,
                                                      CbUnidadTodo, Editar, Salir})
        w->installEventFilter(this);
    connect(CON, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            PC->setFocus();
    });
    connect(Editar, &QPushButton::clicked, this, &TFrmEdicionPresentacion::EditarClick);
    connect(Salir, &QPushButton::clicked, this, &TFrmEdicionPresentacion::SalirClick);
}

void TFrmEdicionPresentacion::fill(Prices prices) {
    const session::PresentationRow& p = presentation_;
    EditPres->setText(p.PresTipo.trimmed());
    PC->setText(priceText(p.PresPrecioCosto, prices));
    PG->setText(p.PORCENGANAN().trimmed());
    PV->setText(priceText(p.PresVenta, prices));
    EdPresUbi->setText(p.PresUbicacion.trimmed());
    Cb1->setCurrentText(p.PresGenCom.trimmed());
    EdPm->setText(QString::number(p.PresPromUni));
    CbUnidadTodo->setCurrentText(p.PresUniTodo.trimmed());
    EdPosologia->setPlainText(p.PresIndicaPosologia.trimmed());
}

bool TFrmEdicionPresentacion::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && watched != Can) {
        close();
        return true;
    }
    if (!prices::isEnter(event))
        return QWidget::eventFilter(watched, event);
    if (watched == EditPres)
        PC->setFocus();
    else if (watched == PC)
        ui::guard(ctx_.messages, [this] { PCEnter(); });
    else if (watched == Can)
        ui::guard(ctx_.messages, [this] {
            prices_.costPerUnit();
            PC->setFocus();
        });
    else if (watched == PG)
        ui::guard(ctx_.messages, [this] { PGEnter(); });
    else if (watched == PV)
        ui::guard(ctx_.messages, [this] { PVEnter(); });
    else
        return QWidget::eventFilter(watched, event);
    return true;
}

void TFrmEdicionPresentacion::activated() {
    const QString type = presentation_.PresTipo;
    setWindowTitle(product_ + QStringLiteral("  ") + brand_ + QStringLiteral("  ") + type);
    PROD->setText(QStringLiteral("    PRODUCTO         :   ") + product_ +
                  QStringLiteral("\n    PRESENTACION :   ") + type);
    Mensaje->clear();
    ui::setTextColour(PC, ui::palette::black);
}

void TFrmEdicionPresentacion::PCEnter() {
    prices::PriceBoxes::points(PC);
    if (CON->isChecked())
        prices_.addTax(rate_);
    PG->setFocus();
}

void TFrmEdicionPresentacion::PGEnter() {
    prices::PriceBoxes::points(PC);
    prices::PriceBoxes::points(PG);
    try {
        prices_.costFromSale();
        prices_.saleFromProfit();
    } catch (const std::invalid_argument&) {
    }
    PV->setFocus();
}

void TFrmEdicionPresentacion::PVEnter() {
    prices::PriceBoxes::points(PC);
    prices::PriceBoxes::points(PV);
    try {
        prices_.costFromSale();
        if (!prices::PriceBoxes::holdsText(PG) && prices::PriceBoxes::holdsText(PV) &&
            prices::PriceBoxes::holdsText(PC))
            prices_.profitFromSale(true);
    } catch (const std::invalid_argument&) {
        ctx_.messages.notice(prices::kPointForComma);
        return;
    }
    Editar->setFocus();
}

void TFrmEdicionPresentacion::EditarClick() {
    ui::guard(ctx_.messages, [this] {
        if (!session::roleAllows(ctx_, core::roles::Group::AdministratorOrPharmacist,
                                 core::roles::kOperacion)) {
            close();
            return;
        }
        Mensaje->clear();
        if (!checked())
            return;
        ui::guard(
            ctx_.messages, [this] { save(); }, kSaveFailed);
    });
}

// The choice boxes in their order, each refusal with its focus.
bool TFrmEdicionPresentacion::checked() {
    if (!prices::isLine(Cb1->currentText().trimmed())) {
        ctx_.messages.notice(prices::kChooseLine);
        Cb1->setFocus();
        return false;
    }
    const QString state = CbEstado->currentText().trimmed();
    if (state != kContinuo && state != QLatin1String("DISCONTINUO")) {
        ctx_.messages.notice(kChooseState);
        CbEstado->setFocus();
        return false;
    }
    const QString unit = CbUnidadTodo->currentText().trimmed();
    if (unit != QLatin1String("UNIDAD") && unit != QLatin1String("CAJA")) {
        ctx_.messages.notice(kChooseUnit);
        return false;
    }
    return true;
}

void TFrmEdicionPresentacion::save() {
    for (QLineEdit* box : {PC, PG, PV})
        if (!prices::PriceBoxes::holdsText(box))
            box->setText(kZero);
    EditPres->setText(prices::normaliseType(EditPres->text(), false));
    for (QLineEdit* box : {PC, PV, PG})
        prices::PriceBoxes::points(box);
    if (prices::PriceBoxes::number(PV) <= prices::PriceBoxes::number(PC)) {
        ctx_.messages.notice(prices::kPriceRefused);
        Mensaje->setText(prices::kUserError);
        return;
    }
    const core::Money cost = prices::moneyOf(PC);
    const core::Money sale = prices::moneyOf(PV);
    if (cost > core::Money())
        PG->setText(core::fmt::twoDecimals((sale.toDouble() / cost.toDouble() - 1) * 100));
    if (EditPres->text().trimmed().isEmpty()) {
        ctx_.messages.notice(kNoName);
        EditPres->setFocus();
        return;
    }
    db::proc::SPEditarPresentacionIn in;
    in.pPresCodigo = presentation_.CodPresentacion;
    in.pNomPresEdit = EditPres->text().trimmed();
    in.pEditCosto = cost;
    in.pPresUbi = EdPresUbi->text().trimmed();
    in.pPresPos = EdPosologia->toPlainText().trimmed();
    in.pPresVen = sale;
    in.pPresGenCom = Cb1->currentText();
    in.pPresUniTodo = CbUnidadTodo->currentText();
    in.pPresPromUni = prices::integerOf(EdPm, kSmallintMax);
    in.pPresEstado = CbEstado->currentText();
    const db::proc::SPEditarPresentacionOut out = db::proc::editarPresentacionConSeguimiento(
        ctx_.db, in, ctx_.session.userCode(), ctx_.clock.now());
    if (out.editado)
        presentation_.PresTipo = in.pNomPresEdit;
    PROD->setText(EditPres->text());
    ctx_.dm.refreshPresentations();
    Mensaje->setText(out.pMensaje);
    CbEstado->setCurrentText(QStringLiteral("ESTADO"));
    Cb1->setCurrentText(QStringLiteral("LINEA"));
    Salir->setFocus();
}

void TFrmEdicionPresentacion::SalirClick() {
    Mensaje->clear();
    ctx_.session.requestProductGridFocus();
    close();
}

}  // namespace catalogue
