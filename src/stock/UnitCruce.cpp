#include "stock/UnitCruce.h"

#include "core/Clock.h"
#include "core/Format.h"
#include "core/InputRules.h"
#include "db/procedures/Stock.h"
#include "session/CommandRules.h"
#include "session/Session.h"
#include "session/UnitDM.h"
#include "stock/IntakeDocument.h"
#include "ui/Activation.h"
#include "ui/ContextMenu.h"
#include "ui/Grid.h"
#include "ui/Guard.h"
#include "ui/InputFilter.h"
#include "ui/Palette.h"
#include "ui/TableModel.h"
#include "ui/TextStyle.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>
#include <optional>
#include <stdexcept>

namespace stock {

namespace {

using db::proc::CruceItem;
namespace roles = core::roles;

const QString kNoUnits = QStringLiteral("INGRESE LA CANTIDAD...");
const QString kZero = QStringLiteral("INGRESE VALORES MAYORES A CERO...");
const QString kAboveStock = QStringLiteral("INGRESO ERRONEO...");
const QString kNoKind = QStringLiteral("ELIGE SI EL PRODUCTO SOBRA O FALTA...");
const QString kNegative = QStringLiteral("INGRESE VALORES MAYORES QUE CERO...");
const QString kAskOne = QStringLiteral("DESEA ELIMINAR, EL ITEM SELECCIONADO...");
const QString kNoneToDelete = QStringLiteral("NO HAY PRESENTACION PARA BORRAR");
const QString kAskAll = QStringLiteral("DESEA ELIMINAR, TODOS LOS CRUCES...");
const QString kNoItems = QStringLiteral("NO HAY ITEMS PARA ELIMINAR");

QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

QLabel* label(QWidget* parent, const char* name) {
    auto* l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    QFont bold = l->font();
    bold.setBold(true);
    l->setFont(bold);
    return l;
}

db::proc::EliminaItemCruceIn keyOf(const CruceItem& row) {
    return {row.CruceCod, row.CodPresentacion};
}

}  // namespace

TFormCruce* TFormCruce::open(session::AppContext& ctx) {
    auto* form = new TFormCruce(ctx);
    showIntakeWindow(ctx, form, [form] { form->activated(); });
    return form;
}

TFormCruce::TFormCruce(session::AppContext& ctx)
    : QWidget(ctx.mainWindow, Qt::Window | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      ctx_(ctx) {
    setObjectName(QStringLiteral("FormCruce"));
    setWindowTitle(QStringLiteral("VENTANA CRUCE DE PRESENTACIONES..."));
    build();
    wire();
    ui::onActivation(this, [this] { ui::guard(ctx_.messages, [this] { activated(); }); });
}

void TFormCruce::build() {
    ST1 = label(this, "ST1");
    buildGrid();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ST1);
    layout->addWidget(buildBoxes());
    layout->addWidget(DBGrid1, 1);
    layout->addWidget(buildButtons());
    setFixedSize(760, 460);
}

QWidget* TFormCruce::buildBoxes() {
    auto* box = new QWidget(this);
    auto* group = new QGroupBox(QStringLiteral("STOCK FISICO:"), box);
    CBFalta = new QCheckBox(QStringLiteral("FALTA"), group);
    CBFalta->setObjectName(QStringLiteral("CBFalta"));
    CBFalta->setToolTip(QStringLiteral("STOCK MENOR AL DE LA COMPUTADORA"));
    CBSobra = new QCheckBox(QStringLiteral("SOBRA"), group);
    CBSobra->setObjectName(QStringLiteral("CBSobra"));
    CBSobra->setToolTip(QStringLiteral("STOCK MAYOR AL DE LA COMPUTADORA"));
    auto* kinds = new QHBoxLayout(group);
    kinds->addWidget(CBFalta);
    kinds->addWidget(CBSobra);
    EdUnidades = new QLineEdit(box);
    EdUnidades->setObjectName(QStringLiteral("EdUnidades"));
    STFalta = label(box, "STFalta");
    STSobra = label(box, "STSobra");
    ui::setTextColour(STFalta, ui::palette::red);
    STFalta->hide();
    STSobra->hide();
    SPCalculaMonto = button(box, "SPCalculaMonto", QString());
    SPCalculaMonto->setIcon(style()->standardIcon(QStyle::SP_FileDialogInfoView));
    SPCalculaMonto->setToolTip(QStringLiteral("MONTO DE LOS CRUCES"));
    SBEliminaTodoCruce = button(box, "SBEliminaTodoCruce", QStringLiteral("ELIMINA"));
    auto* row = new QHBoxLayout(box);
    row->addWidget(group);
    row->addWidget(new QLabel(QStringLiteral("UNIDADES:"), box));
    row->addWidget(EdUnidades);
    row->addWidget(STFalta);
    row->addWidget(STSobra);
    row->addStretch(1);
    row->addWidget(SPCalculaMonto);
    row->addWidget(SBEliminaTodoCruce);
    return box;
}

void TFormCruce::buildGrid() {
    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    rows_ = new ui::VectorModel<CruceItem>(this);
    const auto falta = [](const CruceItem& c) { return c.CruEstado == db::proc::kFalta; };
    rows_->setColumns(
        {{.title = QStringLiteral("USUARIO QUIEN HIZO LA MODIFICACION"),
          .width = 300,
          .value = rows_->by([](const CruceItem& c) { return QVariant(c.NOMBRE); })},
         {.title = QStringLiteral("CANTIDAD"),
          .width = 80,
          .alignment = Qt::AlignRight | Qt::AlignVCenter,
          .value = rows_->by([](const CruceItem& c) { return QVariant(c.CruCantidad); })},
         {.title = QStringLiteral("FECHA DE CAMBIO"),
          .width = 170,
          .value = rows_->by([](const CruceItem& c) {
              return QVariant(core::fmt::shortDateLongTime(c.CruFecha));
          })},
         {.title = QStringLiteral("ESTADO"),
          .width = 80,
          .value = rows_->by([](const CruceItem& c) { return QVariant(c.CruEstado); }),
          .foreground = rows_->by(
              [=](const CruceItem& c) { return falta(c) ? QColor(ui::palette::red) : QColor(); }),
          .bold = rows_->by(falta)}});
    ui::Grid::setUp(DBGrid1, rows_);
    auto* menu = new QMenu(DBGrid1);
    Borrar1 = menu->addAction(QStringLiteral("&Borrar"));
    Borrar1->setObjectName(QStringLiteral("Borrar1"));
    Borrar1->setShortcut(QKeySequence(QStringLiteral("Ctrl+B")));
    ui::attachContextMenu(DBGrid1, menu);
}

QWidget* TFormCruce::buildButtons() {
    auto* box = new QWidget(this);
    SBNuevo = button(box, "SBNuevo", QStringLiteral("&Nuevo"));
    SBGrabar = button(box, "SBGrabar", QStringLiteral("&Grabar"));
    SBSalir = button(box, "SBSalir", QStringLiteral("&Salir"));
    auto* row = new QHBoxLayout(box);
    row->addStretch(1);
    for (QPushButton* b : {SBNuevo, SBGrabar, SBSalir})
        row->addWidget(b);
    return box;
}

void TFormCruce::wire() {
    ui::filter(EdUnidades, core::endsWithDigit);
    connect(CBFalta, &QCheckBox::toggled, this, [this](bool on) {
        if (!on)
            return;
        CBSobra->setChecked(false);
        EdUnidades->setFocus();
    });
    connect(CBSobra, &QCheckBox::toggled, this, [this](bool on) {
        if (!on)
            return;
        CBFalta->setChecked(false);
        EdUnidades->setFocus();
    });
    const auto guarded = [this](void (TFormCruce::*action)()) {
        return [this, action] { ui::guard(ctx_.messages, [this, action] { (this->*action)(); }); };
    };
    connect(SBGrabar, &QPushButton::clicked, this, guarded(&TFormCruce::SBGrabarClick));
    connect(Borrar1, &QAction::triggered, this, guarded(&TFormCruce::Borrar1Click));
    connect(SBEliminaTodoCruce, &QPushButton::clicked, this,
            guarded(&TFormCruce::SBEliminaTodoCruceClick));
    connect(SPCalculaMonto, &QPushButton::clicked, this, guarded(&TFormCruce::SPCalculaMontoClick));
    connect(SBNuevo, &QPushButton::clicked, this, &TFormCruce::SBNuevoClick);
    connect(SBSalir, &QPushButton::clicked, this, &QWidget::close);
}

void TFormCruce::activated() {
    const session::PresentationRow* current = ctx_.dm.currentPresentation();
    presentation_ = current ? current->CodPresentacion : 0;
    ST1->setText(QStringLiteral("PRODUCTO: ") +
                 (current ? current->PresTipo.trimmed() : QString()));
    readRows();
}

void TFormCruce::readRows() {
    const int row = ui::Grid::currentRow(DBGrid1);
    const int kept = row < 0 ? 0 : rows_->row(row).CruceCod;
    rows_->setRows(db::proc::crucesDePresentacion(ctx_.db, presentation_));
    int index = 0;
    for (std::size_t i = 0; i < rows_->rows().size(); ++i)
        if (rows_->rows()[i].CruceCod == kept)
            index = int(i);
    ui::Grid::selectRow(DBGrid1, index);
}

void TFormCruce::SBGrabarClick() {
    int units = 0;
    if (!recordChecked(units) || presentation_ <= 0)
        return;
    db::proc::IngresoCruceIn in{presentation_, ctx_.session.userCode(), units,
                                CBSobra->isChecked() ? db::proc::kSobra : db::proc::kFalta};
    const db::proc::CanjeOut out = db::proc::KZ_IngresoCruce(ctx_.db, in, ctx_.clock.now());
    CBFalta->setChecked(false);
    CBSobra->setChecked(false);
    afterChange(out.pMensaje);
}

// The record's checks in their order, each ending it.
bool TFormCruce::recordChecked(int& units) {
    if (!session::roleAllows(ctx_, roles::Group::AdministratorOrPharmacist, roles::kOperacion))
        return false;
    const QString typed = EdUnidades->text().trimmed();
    if (typed.isEmpty()) {
        EdUnidades->setFocus();
        ST1->setText(kNoUnits);
        return false;
    }
    bool ok = false;
    const qlonglong value = typed.toLongLong(&ok);
    if (!ok && !core::isDigitsOnly(typed))
        throw std::invalid_argument("units are no number: " + typed.toStdString());
    if (ok && value == 0) {
        refuseUnits(kZero);
        return false;
    }
    const std::optional<db::proc::PresentacionStock> stock =
        db::proc::presentacionStock(ctx_.db, presentation_);
    if (CBFalta->isChecked() && (!ok || value > (stock ? stock->PresStockTotal : 0))) {
        ST1->setText(kAboveStock);
        return false;
    }
    if (!CBFalta->isChecked() && !CBSobra->isChecked()) {
        ST1->setText(kNoKind);
        return false;
    }
    if (value < 0) {
        refuseUnits(kNegative);
        return false;
    }
    if (!unitsWithinRange(ctx_, EdUnidades))
        return false;
    units = int(value);
    return true;
}

void TFormCruce::Borrar1Click() {
    EdUnidades->clear();
    if (!ctx_.dm.isSessionOpen())
        return;
    // The row asked about: the activation after the question reads the grid again.
    const int row = ui::Grid::currentRow(DBGrid1);
    const std::optional<db::proc::EliminaItemCruceIn> chosen =
        row < 0 ? std::nullopt : std::optional(keyOf(rows_->row(row)));
    if (!ctx_.messages.confirm(kAskOne))
        return;
    if (!chosen) {
        ctx_.messages.notice(kNoneToDelete);
        return;
    }
    afterChange(db::proc::KZ_EliminaItemCruce(ctx_.db, *chosen).pMensaje);
}

void TFormCruce::SBEliminaTodoCruceClick() {
    if (!allowed(roles::Group::AdministratorOrPharmacist))
        return;
    EdUnidades->clear();
    std::vector<db::proc::EliminaItemCruceIn> all;
    for (const CruceItem& row : rows_->rows())
        all.push_back(keyOf(row));
    if (!ctx_.messages.confirm(kAskAll))
        return;
    if (all.empty()) {
        ctx_.messages.notice(kNoItems);
        return;
    }
    afterChange(db::proc::eliminaCruces(ctx_.db, all).pMensaje);
}

void TFormCruce::SPCalculaMontoClick() {
    if (!allowed(roles::Group::AdministratorOnly))
        return;
    STFalta->show();
    STSobra->show();
    const db::proc::MontosCruce sums = db::proc::montosCruce(ctx_.db);
    STFalta->setText(QStringLiteral("S/.") + core::fmt::shortest(sums.FALTA) + QLatin1Char(' '));
    STSobra->setText(QStringLiteral("S/.") + core::fmt::shortest(sums.SOBRA) + QLatin1Char(' '));
    const core::Money difference = sums.FALTA - sums.SOBRA;
    ST1->setText(QStringLiteral("TOTAL: ") +
                 core::fmt::shortest(difference.raw() < 0 ? -difference : difference) +
                 QStringLiteral(" SOLES DE DESCUENTO"));
}

void TFormCruce::SBNuevoClick() {
    ST1->clear();
    STFalta->hide();
    STSobra->hide();
    CBFalta->setChecked(false);
    CBSobra->setChecked(false);
    EdUnidades->clear();
}

// The role test of the delete-all and the valuation: a refusal goes into the status line.
bool TFormCruce::allowed(roles::Group group) {
    if (roles::passes(ctx_.dm.sessionRole(), group))
        return true;
    ST1->setText(roles::refusalText(roles::Refusal::NotAuthorised, ctx_.dm.sessionName(),
                                    roles::kOperacion + QStringLiteral("...")));
    return false;
}

void TFormCruce::refuseUnits(const QString& text) {
    ctx_.messages.notice(text);
    EdUnidades->clear();
    EdUnidades->setFocus();
}

void TFormCruce::afterChange(const QString& message) {
    readRows();
    ctx_.dm.refreshPresentations();
    ST1->setText(message.trimmed());
}

}  // namespace stock
