#include "catalogue/UnitPresentacion.h"

#include "catalogue/FormParts.h"
#include "core/Roles.h"
#include "db/procedures/Catalogue.h"
#include "session/CommandRules.h"
#include "session/Session.h"
#include "session/UnitDM.h"
#include "ui/Activation.h"
#include "ui/Guard.h"
#include "ui/Hint.h"
#include "ui/Palette.h"
#include "ui/TextStyle.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <limits>

namespace catalogue {

namespace {

const QString kCaption = QStringLiteral("PRESENTACION DE PRODUCTO");
const QString kLineaComercial = QStringLiteral("LINEA COMERCIAL");
const QString kUnidad = QStringLiteral("UNIDAD");
const QString kNoRate = QStringLiteral("PRIMERO DEBERIA INGRESAR\rEL IGV EN LA BASE DE DATOS...");
const QString kChooseUnit =
    QStringLiteral("DEBE ELEGIR ENTRE UNIDADES O CAJA...\rINTENTELO NUEVAMENTE...");
const QString kEnterValues = QStringLiteral("DEBE INGRESAR VALORES");
const QString kSaveFailed = QStringLiteral("OCURRE UN ERROR EN EL INGRESO...");
constexpr int kSmallintMax = std::numeric_limits<qint16>::max();
constexpr int kDigemidMax = 999999999;

}  // namespace

TFormPresentacion* TFormPresentacion::open(session::AppContext& ctx, bool emptyProfit) {
    auto* form = new TFormPresentacion(ctx);
    parts::show(form);
    if (const session::ProductRow* product = ctx.dm.currentProduct()) {
        form->PROD->setText(product->ProdNomComercial.trimmed());
        form->LAB->setText(product->LabNombre.trimmed());
    }
    for (QLineEdit* box : {form->PresTipo, form->Pc, form->Pv, form->PresPosologia})
        box->clear();
    if (emptyProfit)
        form->Pg->clear();
    form->PresTipo->setFocus();
    return form;
}

TFormPresentacion::TFormPresentacion(session::AppContext& ctx)
    : QWidget(ctx.mainWindow, Qt::Window | Qt::WindowCloseButtonHint), ctx_(ctx) {
    setObjectName(QStringLiteral("FormPresentacion"));
    setWindowTitle(kCaption);
    build();
    wire();
    rate_ = prices::igvRate(ctx.db);
    ui::onActivation(this, [this] { activated(); });
}

void TFormPresentacion::build() {
    namespace p = db::proc;
    PROD = new QLabel(this);
    PROD->setObjectName(QStringLiteral("PROD"));
    LAB = new QLabel(this);
    LAB->setObjectName(QStringLiteral("LAB"));
    auto* names = new QWidget(this);
    names->setAutoFillBackground(true);
    QPalette pale = names->palette();
    pale.setColor(QPalette::Window, ui::palette::cream);
    names->setPalette(pale);
    auto* nameRow = new QHBoxLayout(names);
    nameRow->addWidget(PROD, 1);
    nameRow->addWidget(LAB);
    Mensaje = parts::messageStrip(this, "Mensaje");

    PresTipo = new QLineEdit(this);
    PresTipo->setObjectName(QStringLiteral("PresTipo"));
    PresTipo->setMaxLength(p::kPresTipoSize);
    Pc = new QLineEdit(this);
    Pc->setObjectName(QStringLiteral("Pc"));
    Can = parts::digitsBox(this, "Can", 9);
    Pg = new QLineEdit(this);
    Pg->setObjectName(QStringLiteral("Pg"));
    CB1 = parts::choice(this, "CB1", {QStringLiteral("COMERCIAL"), QStringLiteral("GENERICO")},
                        kLineaComercial, p::kPresChoiceSize + 5);
    Pv = new QLineEdit(this);
    Pv->setObjectName(QStringLiteral("Pv"));
    for (QLineEdit* price : {Pc, Pg, Pv})
        price->setMaxLength(20);
    PresPosologia = parts::box(this, "PresPosologia", p::kPresPosologiaSize);
    Mas = new QRadioButton(QStringLiteral("MAS  I.G.V"), this);
    Mas->setObjectName(QStringLiteral("Mas"));
    ui::setHint(Mas, QStringLiteral("AGREGARLE I.G.V"));
    Sin = new QRadioButton(QStringLiteral("CON  I.G.V."), this);
    Sin->setObjectName(QStringLiteral("Sin"));
    ui::setHint(Sin, QStringLiteral("YA VIENE CON I.G.V."));
    Sin->setChecked(true);
    auto* tax = new QGroupBox(QStringLiteral("I.G.V"), this);
    auto* taxRow = new QHBoxLayout(tax);
    taxRow->addWidget(Mas);
    taxRow->addWidget(Sin);
    EDPresUbi = parts::box(this, "EDPresUbi", p::kPresUbicacionSize);
    ui::setHint(EDPresUbi, QStringLiteral("OTRA UBICACION FISICA DONDE SE GUARDA LA PRESENTACION"));
    CBUniTodo = parts::choice(this, "CBUniTodo", {kUnidad, QStringLiteral("CAJA")}, kUnidad,
                              p::kPresChoiceSize);
    ui::setHint(CBUniTodo, QStringLiteral("SI SE VENDE POR UNIDAD O POR CAJA AL PUBLICO"));
    EdMinimo = parts::digitsBox(this, "EdMinimo", 5);
    EdNumCaja = parts::digitsBox(this, "EdNumCaja", 5);
    EdCodDigemid = parts::digitsBox(this, "EdCodDigemid", 9);
    SpeedButton1 = parts::button(this, "SpeedButton1", QStringLiteral("&Nuevo"));
    Grabar = parts::button(this, "Grabar", QStringLiteral("&Grabar"));
    Salir = parts::button(this, "Salir", QStringLiteral("&Salir"));
    prices_ = prices::PriceBoxes(Pc, Can, Pg, Pv);

    auto* grid = new QGridLayout;
    const auto row = [grid](int at, const char* label, QWidget* box, QWidget* beside = nullptr) {
        grid->addWidget(new QLabel(QString::fromLatin1(label)), at, 0);
        grid->addWidget(box, at, 1);
        if (beside)
            grid->addWidget(beside, at, 2);
    };
    row(0, "TIPO:", PresTipo);
    row(1, "COSTO:", Pc, tax);
    row(2, "CANTIDAD:", Can);
    row(3, "GANANCIA:", Pg, CB1);
    row(4, "VENTA:", Pv);
    row(5, "POSOLOGIA:", PresPosologia);
    row(6, "UBICACION:", EDPresUbi, CBUniTodo);
    row(7, "PROMEDIO:", EdMinimo);
    row(8, "UNIDADES POR CAJA:", EdNumCaja);
    row(9, "CODIGO DIGEMID:", EdCodDigemid);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {SpeedButton1, Grabar, Salir})
        buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(names);
    layout->addWidget(Mensaje);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    setMinimumWidth(640);
    QWidget* order[] = {PresTipo, Pc,        Can, Pg,        Pv,       PresPosologia, Mas,
                        Sin,      EDPresUbi, CB1, CBUniTodo, EdMinimo, EdNumCaja,     EdCodDigemid};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void TFormPresentacion::wire() {
    prices_.filter();
    new prices::CapitalAid(PresTipo, 'w');
    new prices::CapitalAid(PresPosologia, 'z');
    for (QObject* w : std::initializer_list<QObject*>{PresTipo, Pc, Can, Pg, Pv, CB1})
        w->installEventFilter(this);
    installEventFilter(this);
    connect(SpeedButton1, &QPushButton::clicked, this, &TFormPresentacion::SpeedButton1Click);
    connect(Grabar, &QPushButton::clicked, this, &TFormPresentacion::GrabarClick);
    connect(Salir, &QPushButton::clicked, this, &TFormPresentacion::SalirClick);
}

bool TFormPresentacion::eventFilter(QObject* watched, QEvent* event) {
    if (watched == this && event->type() == QEvent::WindowDeactivate)
        leftForOwnBox_ = ownActions_ > 0;
    if (watched == this || !prices::isEnter(event))
        return QWidget::eventFilter(watched, event);
    if (watched == PresTipo) {
        Grabar->setEnabled(true);
        Pc->setFocus();
    } else if (watched == Pc) {
        act([this] { PcEnter(); });
    } else if (watched == Can) {
        act([this] { CanEnter(); });
    } else if (watched == Pg) {
        act([this] { PgEnter(); });
    } else if (watched == Pv) {
        act([this] { PvEnter(); });
    } else {
        CB1Enter();
    }
    return true;
}

void TFormPresentacion::act(const std::function<void()>& action, const QString& error) {
    ++ownActions_;
    ui::guard(ctx_.messages, action, error);
    --ownActions_;
}

// Returning from one of the window's own boxes keeps the quantity and location as typed.
void TFormPresentacion::activated() {
    ui::guard(ctx_.messages, [this] {
        if (const session::ProductRow* product = ctx_.dm.currentProduct()) {
            PROD->setText(product->ProdNomComercial);
            LAB->setText(product->LabNombre);
        }
        if (!leftForOwnBox_) {
            Can->clear();
            EDPresUbi->clear();
        }
        leftForOwnBox_ = false;
        Mensaje->clear();
    });
}

void TFormPresentacion::PcEnter() {
    prices::PriceBoxes::points(Pc);
    if (Mas->isChecked()) {
        if (rate_ == 0) {
            ctx_.messages.notice(kNoRate);
            return;
        }
        prices_.addTax(rate_);
    }
    Pv->setFocus();
}

void TFormPresentacion::CanEnter() {
    if (!prices::PriceBoxes::holdsText(Can))
        return;
    prices_.costPerUnit();
    Pg->setFocus();
}

void TFormPresentacion::PgEnter() {
    prices::PriceBoxes::points(Pg);
    prices::PriceBoxes::points(Pc);
    try {
        prices_.costFromSale();
        prices_.saleFromProfit();
    } catch (const std::invalid_argument&) {
        ctx_.messages.notice(prices::kPointForComma);
        return;
    }
    Pv->setFocus();
    Grabar->setEnabled(true);
}

void TFormPresentacion::PvEnter() {
    prices::PriceBoxes::points(Pv);
    prices::PriceBoxes::points(Pc);
    try {
        if (prices::PriceBoxes::holdsText(Pc))
            prices_.profitFromSale(false);
        prices_.costFromSale();
    } catch (const std::invalid_argument&) {
    }
    CB1->setFocus();
}

void TFormPresentacion::CB1Enter() {
    if (prices::isLine(CB1->currentText()))
        Grabar->setFocus();
}

void TFormPresentacion::GrabarClick() {
    act([this] {
        if (!session::roleAllows(ctx_, core::roles::Group::AdministratorOrPharmacist,
                                 core::roles::kOperacion))
            return;
        if (!prices::isLine(CB1->currentText())) {
            ctx_.messages.notice(prices::kChooseLine);
            return;
        }
        const QString unit = CBUniTodo->currentText();
        if (unit != kUnidad && unit != QLatin1String("CAJA")) {
            ctx_.messages.notice(kChooseUnit);
            return;
        }
        Mensaje->clear();
        PresTipo->setText(prices::normaliseType(PresTipo->text(), true));
        for (QLineEdit* box : {Pc, Pv, Pg})
            prices::PriceBoxes::points(box);
        ui::guard(
            ctx_.messages, [this] { save(); }, kSaveFailed);
    });
}

void TFormPresentacion::save() {
    const core::Money cost = prices::moneyOf(Pc);
    const core::Money sale = prices::moneyOf(Pv);
    if (sale <= cost) {
        ctx_.messages.notice(prices::kPriceRefused);
        Mensaje->setText(prices::kUserError);
        return;
    }
    if (PresTipo->text().isEmpty()) {
        ctx_.messages.notice(kEnterValues);
        PresTipo->clear();
        PresTipo->setFocus();
        return;
    }
    const session::ProductRow* product = ctx_.dm.currentProduct();
    db::proc::IngresoPresentacionIn in;
    in.pProdLabCod = product ? product->ProdLabCod : 0;
    in.pPresTipo = PresTipo->text();
    in.pPresPrecioCosto = cost;
    in.pPos = PresPosologia->text().trimmed();
    in.pPresUbi = EDPresUbi->text();
    in.pPreVen = sale;
    in.pPresGenCom = CB1->currentText();
    in.pPresUniTodo = CBUniTodo->currentText();
    in.pPresPromUni = prices::integerOf(EdMinimo, kSmallintMax);
    in.pPresCodDigemid = prices::integerOf(EdCodDigemid, kDigemidMax);
    in.pPresNumCaja = prices::integerOf(EdNumCaja, kSmallintMax);
    const db::proc::IngresoPresentacionOut out = db::proc::KZ_IngresoPresentacion(ctx_.db, in);
    Mensaje->setText(out.pMensaje);
    CB1->setCurrentText(kLineaComercial);
    if (prices::PriceBoxes::holdsText(Can))
        ctx_.session.offerIntakeUnits(Can->text().trimmed());
    ctx_.dm.refreshPresentations();
    const auto& rows = ctx_.dm.presentations();
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].CodPresentacion == out.CodPresentacion)
            ctx_.dm.setCurrentPresentationIndex(int(i));
    Salir->setFocus();
}

void TFormPresentacion::SpeedButton1Click() {
    Sin->setChecked(true);
    Mas->setChecked(false);
    for (QLabel* l : {PROD, LAB, Mensaje})
        l->clear();
    for (QLineEdit* b : {PresTipo, Pc, Pv, Pg, PresPosologia})
        b->clear();
}

void TFormPresentacion::SalirClick() {
    Mensaje->clear();
    ctx_.session.requestProductGridFocus();
    close();
}

}  // namespace catalogue
