#include "sales/StockAdjuster.h"

#include "core/Clock.h"
#include "core/InputRules.h"
#include "core/Roles.h"
#include "db/procedures/StockAdjust.h"
#include "sales/UnitBusqueda.h"
#include "session/CommandRules.h"
#include "session/Session.h"
#include "session/UnitDM.h"
#include "ui/ContextMenu.h"
#include "ui/Guard.h"
#include "ui/Hint.h"
#include "ui/InputFilter.h"
#include "ui/Palette.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>

namespace sales {

namespace {

constexpr int kQuantityDigits = 5;
const QString kMaximos = QStringLiteral("MAXIMOS");
const QString kNotReadAgain =
    QStringLiteral("EL STOCK SE CAMBIO, PERO NO SE PUDO LEER DE NUEVO LA PRESENTACION...");

QCheckBox* checkBox(const char* name, const QString& caption, const QString& hint,
                    QWidget* parent) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    ui::setHint(box, hint);
    box->hide();
    return box;
}

}  // namespace

StockAdjuster* StockAdjuster::attach(session::AppContext& ctx, TFormBusqueda& screen) {
    QWidget* panel = screen.findChild<QWidget*>(QStringLiteral("Panel4"));
    auto* adjuster =
        new StockAdjuster(ctx, panel, screen.findChild<QLineEdit*>(QStringLiteral("EdNombre")));
    adjuster->buildMenu(screen.findChild<QWidget*>(QStringLiteral("LabelStock")));
    screen.setStockAdjuster(adjuster, adjuster->EdCanStock);
    return adjuster;
}

StockAdjuster* StockAdjuster::of(session::AppContext& ctx) {
    TFormBusqueda* screen = TFormBusqueda::of(ctx);
    return screen ? screen->findChild<StockAdjuster*>() : nullptr;
}

StockAdjuster::StockAdjuster(session::AppContext& ctx, QWidget* panel, QLineEdit* searchBox)
    : QWidget(panel), ctx_(ctx), panel_(panel), searchBox_(searchBox) {
    setObjectName(QStringLiteral("StockAdjuster"));
    EdCanStock = new QLineEdit(this);
    EdCanStock->setObjectName(QStringLiteral("EdCanStock"));
    ui::setHint(EdCanStock, QStringLiteral("NUEVA CANTIDAD A EDITAR EN EL PRODUCTO"));
    ui::filter(EdCanStock, core::endsWithDigit);
    EdCanStock->setMaxLength(kQuantityDigits);
    EdCanStock->hide();
    CBStockSobra = checkBox("CBStockSobra", QStringLiteral("S(-)"),
                            QStringLiteral("RESTA UNIDADES AL STOCK ACTUAL"), this);
    CBStockFalta = checkBox("CBStockFalta", QStringLiteral("F(+)"),
                            QStringLiteral("SUMA UNIDADES AL STOCK ACTUAL"), this);
    CbPCCero = checkBox("CbPCCero", QStringLiteral("PC=0"),
                        QStringLiteral("SE INGRESA LA PRESENTACION CON COSTO CERO"), this);
    CBRegNoReg = checkBox("CBRegNoReg", QString(),
                          QStringLiteral("REGISTRA / NO REGISTRA NO HAY ALMACENAMIENTO EN BASE DE "
                                         "DATOS"),
                          this);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(EdCanStock, 0, 0, 1, 2);
    grid->addWidget(CBStockSobra, 1, 0);
    grid->addWidget(CBStockFalta, 1, 1);
    grid->addWidget(CbPCCero, 2, 0);
    grid->addWidget(CBRegNoReg, 2, 1);
    for (QObject* w : {static_cast<QObject*>(EdCanStock), static_cast<QObject*>(CBStockSobra),
                       static_cast<QObject*>(CBStockFalta)})
        w->installEventFilter(this);
    connect(CBStockSobra, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            kindChecked(CBStockSobra, CBStockFalta);
    });
    connect(CBStockFalta, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            kindChecked(CBStockFalta, CBStockSobra);
    });
    connect(CBRegNoReg, &QCheckBox::toggled, CbPCCero, &QWidget::setHidden);
    panel_->setAutoFillBackground(true);
}

void StockAdjuster::buildMenu(QWidget* stockFigure) {
    PopupMenu4 = new QMenu(this);
    PopupMenu4->setObjectName(QStringLiteral("PopupMenu4"));
    const auto item = [this](const char* name, const QString& caption, const char* shortcut,
                             void (StockAdjuster::*action)()) {
        QAction* a = PopupMenu4->addAction(caption);
        a->setObjectName(QLatin1String(name));
        a->setShortcut(QKeySequence(QString::fromLatin1(shortcut)));
        connect(a, &QAction::triggered, this, [this, action] {
            ui::guard(ctx_.messages, [this, action] { (this->*action)(); });
        });
    };
    item("Editar1", QStringLiteral("&Editar"), "Ctrl+E", &StockAdjuster::Editar);
    item("NoCambios1", QStringLiteral("&NoCambios"), "Ctrl+N", &StockAdjuster::NoCambios);
    item("Ocultar1", QStringLiteral("&Ocultar"), "Ctrl+O", &StockAdjuster::Ocultar);
    ui::attachContextMenu(stockFigure, PopupMenu4);
}

void StockAdjuster::paintPanel(const QColor& colour) {
    QPalette p = panel_->palette();
    p.setColor(QPalette::Window, colour);
    panel_->setPalette(p);
}

void StockAdjuster::showEditing(bool registerSwitch) {
    for (QWidget* w : {static_cast<QWidget*>(EdCanStock), static_cast<QWidget*>(CBStockFalta),
                       static_cast<QWidget*>(CBStockSobra), static_cast<QWidget*>(CbPCCero)})
        w->show();
    CBRegNoReg->setVisible(registerSwitch);
}

void StockAdjuster::Editar() {
    if (!session::roleAllows(ctx_, core::roles::Group::AdministratorOnly,
                             core::roles::kOperacionEdicion))
        return;
    const auto& user = ctx_.dm.user();
    showEditing(user && core::roles::trimmed(user->UsuLogin) == kMaximos);
    EdCanStock->clear();
    EdCanStock->setFocus();
}

void StockAdjuster::NoCambios() {
    for (QWidget* w : {static_cast<QWidget*>(EdCanStock), static_cast<QWidget*>(CBStockFalta),
                       static_cast<QWidget*>(CBStockSobra), static_cast<QWidget*>(CbPCCero),
                       static_cast<QWidget*>(CBRegNoReg)})
        w->hide();
    paintPanel(ui::palette::infoBackground);
    ctx_.messages.notice(QStringLiteral("DESDE AHORA NO SE PUEDE\rCAMBIAR EL STOCK..."));
}

void StockAdjuster::Ocultar() {
    EdCanStock->clear();
    EdCanStock->hide();
    CBStockFalta->hide();
    CBStockSobra->hide();
}

void StockAdjuster::StockModificar() {
    EdCanStock->show();
    EdCanStock->clear();
    EdCanStock->setFocus();
}

void StockAdjuster::showUnlocked() {
    paintPanel(ui::palette::activeCaptionGradient);
    showEditing(true);
}

void StockAdjuster::showLocked() {
    EdCanStock->hide();
    paintPanel(ui::palette::infoBackground);
}

void StockAdjuster::kindChecked(QCheckBox* checked, QCheckBox* other) {
    other->setChecked(false);
    checked->setChecked(true);
    EdCanStock->clear();
    EdCanStock->setFocus();
}

void StockAdjuster::backToSearch() {
    searchBox_->clear();
    searchBox_->setFocus();
}

bool StockAdjuster::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Escape) {
        if (watched == EdCanStock)
            EdCanStock->clear();
        backToSearch();
        return true;
    }
    if (watched == EdCanStock && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        EdCanStockEnter();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void StockAdjuster::EdCanStockEnter() {
    paintPanel(ui::palette::infoBackground);
    if (!ui::guard(ctx_.messages, [this] { adjust(); }))
        paintPanel(ui::palette::red);
}

void StockAdjuster::adjust() {
    if (!session::roleAllows(ctx_, core::roles::Group::AdministratorOnly, core::roles::kOperacion))
        return;
    const QString typed = EdCanStock->text().trimmed();
    if (typed.isEmpty())
        return;
    if (!CBStockSobra->isChecked() && !CBStockFalta->isChecked()) {
        ctx_.messages.notice(QStringLiteral("ELIGE EL TIPO DE PROCESO..."));
        return;
    }
    const session::PresentationRow* presentation = ctx_.dm.currentPresentation();
    db::proc::EditarStockTotalIn in;
    in.pCodPresentacion = presentation ? presentation->CodPresentacion : 0;
    in.pUsuCod = ctx_.session.userCode();
    const int units = typed.toInt();
    const bool sobra = CBStockSobra->isChecked();
    in.pInvDetaTipo = sobra ? db::proc::kSobra : db::proc::kFalta;
    in.pInvDetaUni = sobra ? units : -units;
    if (!CbPCCero->isChecked() && presentation) {
        in.pInvDetaPc = presentation->PresPrecioCosto;
        in.pInvDetaPv = presentation->PresVenta;
    }
    in.pSW = CBRegNoReg->isChecked() ? 1 : 0;
    const db::proc::EditarStockTotalOut out =
        db::proc::KZ_EditarStockTotal(ctx_.db, in, ctx_.clock.now());
    // Whatever happens now, the adjustment stands: a failing read says so on its own.
    ui::guard(
        ctx_.messages, [this] { ctx_.dm.refreshPresentations(); }, kNotReadAgain);
    EdCanStock->clear();
    ctx_.messages.notice(out.pMensaje.trimmed());
    searchBox_->setFocus();
}

}  // namespace sales
