#include "sales/UnitBusqueda.h"

#include "core/Clock.h"
#include "core/Format.h"
#include "db/procedures/Sales.h"
#include "platform/Platform.h"
#include "sales/SalesCounter.h"
#include "sales/SearchScreenParts.h"
#include "session/Commands.h"
#include "session/ContextRules.h"
#include "session/Session.h"
#include "session/UnitDM.h"
#include "ui/Activation.h"
#include "ui/ContextMenu.h"
#include "ui/FormHelpers.h"
#include "ui/Grid.h"
#include "ui/Guard.h"
#include "ui/Hint.h"
#include "ui/InputFilter.h"
#include "ui/Palette.h"
#include "ui/TableModel.h"
#include "ui/TextStyle.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPixmap>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <map>

namespace sales {

namespace {

constexpr int kNameColumn = 2;      // NOMBRE COMERCIAL in the product grid
constexpr int kPanelHeight = 24;    // one presentation panel
constexpr int kPanels = 9;          // panels shown at once
constexpr int kPhotoDelayMs = 120;  // the photo follows the cursor once typing pauses
// The stock figures are read again once the cursor rests, so another workstation's discharge
// shows without Enter while a keystroke still runs no query.
constexpr int kStockDelayMs = 400;
constexpr int kTagNameSize = 15;
const QString kNotYet = QStringLiteral("NO DISPONIBLE TODAVIA");

using ui::setHint;

// Presentation grid columns.
enum PresColumn { cMargin, cState, cTipo, cPi, cCost, cPv, cPrice, cDigemid, cStockLabel, cStock };

}  // namespace

TFormBusqueda::TFormBusqueda(session::AppContext& ctx, QWidget* parent)
    : QWidget(parent),
      ctx_(ctx),
      counter_(SalesCounter::of(ctx)),
      products_(new ui::TableModel(this)),
      presentations_(new parts::HintedModel(this)),
      photoTimer_(new QTimer(this)),
      stockTimer_(new QTimer(this)) {
    setObjectName(QStringLiteral("FormBusqueda"));
    setWindowTitle(QStringLiteral("BUSQUEDA DE PRODUCTO"));
    setAttribute(Qt::WA_DeleteOnClose);
    counter_.setSearchScreen(this);
    build();
    connectDataModule();
    connectSession();
    photoTimer_->setSingleShot(true);
    photoTimer_->setInterval(kPhotoDelayMs);
    connect(photoTimer_, &QTimer::timeout, this, &TFormBusqueda::showPhoto);
    stockTimer_->setSingleShot(true);
    stockTimer_->setInterval(kStockDelayMs);
    connect(stockTimer_, &QTimer::timeout, this,
            [this] { ui::guard(ctx_.messages, [this] { refreshPresentations(); }); });
    ui::onActivation(this, [this] { FormActivate(); });
    showCurrentProduct();
}

TFormBusqueda::~TFormBusqueda() = default;

QString TFormBusqueda::workstationTag(const QString& computerName) {
    return computerName.trimmed().left(kTagNameSize).trimmed() + QStringLiteral("-4");
}

TFormBusqueda* TFormBusqueda::openOnDesktop(session::AppContext& ctx) {
    auto* screen = new TFormBusqueda(ctx);
    ui::showOnDesktop(screen, ctx.desktop, true);
    screen->focusSearchBox();
    return screen;
}

void TFormBusqueda::closeOnDesktop(session::AppContext& ctx) {
    if (TFormBusqueda* screen = of(ctx))
        ui::closeOnDesktop(screen);
}

TFormBusqueda* TFormBusqueda::of(session::AppContext& ctx) {
    return qobject_cast<TFormBusqueda*>(SalesCounter::of(ctx).searchScreen());
}

void TFormBusqueda::setCostFiguresVisible(bool visible) {
    costVisible_ = visible;
    for (const int c : {cMargin, cPi, cCost})
        cg->setColumnHidden(c, !visible);
}

void TFormBusqueda::paintPresentations(const QColor& base, const QColor& selected) {
    presentationsBase_ = base;
    parts::setBase(cg, base);
    setPresentationsSelected(selected);
}

void TFormBusqueda::setPresentationsSelected(const QColor& selected) {
    QPalette p = cg->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive})
        p.setColor(group, QPalette::Highlight, selected);
    cg->setPalette(p);
}

void TFormBusqueda::focusSearchBox() {
    EdNombre->setFocus();
}

void TFormBusqueda::setStockAdjuster(QWidget* adjuster, QWidget* quantityBox) {
    adjusterQuantity_ = quantityBox;
    stockColumn_->insertWidget(stockColumn_->indexOf(DBText8) + 1, adjuster);
}

// ---- construction ----

void TFormBusqueda::build() {
    PMNombre = new QMenu(this);
    PMNombre->setObjectName(QStringLiteral("PMNombre"));
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(buildSearchPanel());
    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    setUpProductGrid();
    layout->addWidget(DBGrid1, 1);
    layout->addWidget(buildProductPanel());
    layout->addWidget(buildPresentationRow());
    for (QObject* w : {static_cast<QObject*>(EdNombre), static_cast<QObject*>(DBGrid1),
                       static_cast<QObject*>(DBGrid1->viewport()), static_cast<QObject*>(cg),
                       static_cast<QObject*>(DBImage1)})
        w->installEventFilter(this);
    buildContextMenus();
}

// Every context item of the table, in its menu; one nobody registered stays disabled.
void TFormBusqueda::buildContextMenus() {
    const std::map<session::ContextMenu, QMenu*> menus{
        {session::ContextMenu::Products, PopupMenu1},
        {session::ContextMenu::Presentations, PopupMenu2},
        {session::ContextMenu::SearchBox, PMNombre}};
    for (const session::ContextItem& item : session::contextItems()) {
        QMenu* menu = menus.at(item.menu);
        QAction* action = menu->addAction(item.caption);
        const QString control = item.rule.control;
        action->setObjectName(control);
        action->setShortcut(item.shortcut);
        if (item.isDefault)
            menu->setDefaultAction(action);
        const bool registered = ctx_.commands.has(control);
        action->setEnabled(registered);
        if (!registered)
            action->setToolTip(kNotYet);
        connect(action, &QAction::triggered, this,
                [this, control] { ctx_.commands.run(control, ctx_); });
    }
    ui::attachContextMenu(EdNombre, PMNombre);
    ui::attachContextMenu(DBGrid1, PopupMenu1);
    ui::attachContextMenu(cg, PopupMenu2);
}

QWidget* TFormBusqueda::buildSearchPanel() {
    auto* panel = new QWidget(this);
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);
    auto* caption = parts::label(QStringLiteral("PRODUCTO A BUSCAR:"), panel);
    QFont bold = caption->font();
    bold.setBold(true);
    caption->setFont(bold);
    EdNombre = new QLineEdit(panel);
    EdNombre->setObjectName(QStringLiteral("EdNombre"));
    setHint(EdNombre, QStringLiteral("PRODUCTO A BUSCAR"));
    ui::forceUpperCase(EdNombre);
    ui::capLength(EdNombre, 110);
    QFont big = EdNombre->font();
    big.setPointSize(14);
    EdNombre->setFont(big);
    connect(EdNombre, &QLineEdit::textChanged, this, [this] { EdNombreChange(); });
    V = parts::field("V", panel, ui::palette::red, 26, true);
    V->setText(ctx_.session.saleLabel());
    V->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    V->setMinimumWidth(140);
    setHint(V, QStringLiteral("MUESTRA EL NUMERO DE VENTA"));
    row->addWidget(caption);
    row->addWidget(EdNombre, 1);
    row->addWidget(V);
    return panel;
}

QWidget* TFormBusqueda::buildProductPanel() {
    auto* panel = new QWidget(this);
    panel->setAutoFillBackground(true);
    QPalette p = panel->palette();
    p.setColor(QPalette::Window, ui::palette::white);
    panel->setPalette(p);
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(8, 4, 8, 4);
    grid->setVerticalSpacing(2);
    DBText1 = parts::field("DBText1", panel, ui::palette::navy, 16, true);
    DBText2 = parts::field("DBText2", panel, ui::palette::green, 11, true);
    setHint(DBText2,
            QStringLiteral("NOMBRE DEL LABORATORIO CON LA CUAL HA SIDO ASIGNADO EL PRODUCTO"));
    DBText3 = parts::field("DBText3", panel, ui::palette::maroon, 0, false, true);
    DBText4 = parts::field("DBText4", panel, ui::palette::black);
    DBText5 = parts::field("DBText5", panel, ui::palette::black, 0, true);
    DBText9 = parts::field("DBText9", panel, ui::palette::black);
    setHint(DBText9, QStringLiteral("INDICA CON QUE FRECUENCIA SE TOMA EL MEDICAMENTO"));
    DBText9->setWordWrap(true);
    grid->addWidget(DBText1, 0, 0, 1, 2);
    grid->addWidget(DBText2, 0, 2, 1, 2, Qt::AlignRight);
    grid->addWidget(DBText3, 1, 0, 1, 4);
    grid->addWidget(parts::label(QStringLiteral("Ppio. Activo:"), panel), 2, 0);
    grid->addWidget(DBText4, 2, 1);
    grid->addWidget(parts::label(QStringLiteral("Ubicacion:"), panel), 2, 2, Qt::AlignRight);
    grid->addWidget(DBText5, 2, 3);
    grid->addWidget(DBText9, 3, 0, 1, 4);
    grid->setColumnStretch(1, 1);
    return panel;
}

QWidget* TFormBusqueda::buildPresentationRow() {
    auto* rowWidget = new QWidget(this);
    auto* row = new QHBoxLayout(rowWidget);
    row->setContentsMargins(0, 0, 0, 0);
    cg = new QTableView(rowWidget);
    cg->setObjectName(QStringLiteral("cg"));
    setUpPresentationGrid();
    DBImage1 = new QLabel(rowWidget);
    DBImage1->setObjectName(QStringLiteral("DBImage1"));
    DBImage1->setScaledContents(true);
    DBImage1->setFixedSize(220, cg->height());
    DBImage1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    DBImage1->setFocusPolicy(Qt::ClickFocus);
    row->addWidget(cg, 1);
    row->addWidget(DBImage1);
    row->addWidget(buildStockPanel());
    return rowWidget;
}

QWidget* TFormBusqueda::buildStockPanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel4"));
    auto* column = new QVBoxLayout(panel);
    stockColumn_ = column;
    column->setContentsMargins(4, 0, 0, 0);
    DBText10 = parts::field("DBText10", panel, ui::palette::blue, 11, true);
    setHint(DBText10, QStringLiteral("STOCK VERDADERO"));
    DBText8 = parts::field("DBText8", panel, ui::palette::red, 28, true);
    setHint(DBText8, QStringLiteral("STOCK ACTUAL EN FARMACIA"));
    DBText11 = parts::field("DBText11", panel, ui::palette::black, 11, true);
    column->addWidget(DBText10);
    QLabel* stockLabel = parts::label(QStringLiteral("STOCK ACTUAL:"), panel);
    stockLabel->setObjectName(QStringLiteral("LabelStock"));
    column->addWidget(stockLabel);
    column->addWidget(DBText8);
    column->addStretch(1);
    column->addWidget(parts::label(QStringLiteral("VENTA POR:"), panel));
    column->addWidget(DBText11);
    panel->setFixedWidth(170);
    return panel;
}

void TFormBusqueda::setUpProductGrid() {
    const session::TDM& dm = ctx_.dm;
    auto row = [&dm](int r) -> const session::ProductRow& { return dm.products()[std::size_t(r)]; };
    products_->setColumns({
        {.title = QStringLiteral("CODIGO"),
         .width = 70,
         .alignment = Qt::AlignCenter,
         .value = [row](int r) { return QVariant(row(r).ProdCodigo); },
         .foreground = [](int) { return ui::palette::grey; }},
        {.title = QStringLiteral("."),
         .width = 80,
         .value = [row](int r) { return QVariant(row(r).ACTINAC()); },
         .foreground = [](int) { return ui::palette::maroon; },
         .bold = [](int) { return true; }},
        {.title = QStringLiteral("NOMBRE COMERCIAL"),
         .width = 380,
         .value = [row](int r) { return QVariant(row(r).ProdNomComercial); },
         .foreground =
             [this, row](int r) {
                 return !searchText_.isEmpty() &&
                                row(r).ProdNomComercial.contains(searchText_, Qt::CaseInsensitive)
                            ? ui::palette::red
                            : QColor();
             }},
        {.title = QStringLiteral("MARCA"),
         .width = 240,
         .value = [row](int r) { return QVariant(row(r).LabNombre); }},
        {.title = QStringLiteral("DESCRIPCION"),
         .width = 520,
         .value = [row](int r) { return QVariant(row(r).ProAccionMecanismo); }},
    });
    products_->reset(int(dm.products().size()));
    ui::Grid::setUp(DBGrid1, products_);
    DBGrid1->setItemDelegate(new parts::FocusedRowDelegate(DBGrid1));
    DBGrid1->horizontalHeader()->setStretchLastSection(true);
    connect(DBGrid1, &QTableView::clicked, this, [this] { DBGrid1CellClick(); });
    connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    ctx_.dm.setCurrentProductIndex(current.row());
            });
}

void TFormBusqueda::setUpPresentationGrid() {
    const session::TDM& dm = ctx_.dm;
    presentations_->setColumns(parts::presentationColumns(dm));
    auto* hinted = static_cast<parts::HintedModel*>(presentations_);
    hinted->setHint(cPrice, QStringLiteral("PRECIO DE VENTA AL PUBLICO"));
    hinted->setHint(cDigemid, QStringLiteral("Codigo Digemid"));
    presentations_->reset(int(dm.presentations().size()));
    ui::Grid::setUp(cg, presentations_);
    cg->horizontalHeader()->hide();
    cg->horizontalHeader()->setStretchLastSection(true);
    cg->verticalHeader()->setDefaultSectionSize(kPanelHeight);
    cg->setShowGrid(false);
    cg->setFixedHeight(kPanels * kPanelHeight + 2 * cg->frameWidth());
    connect(cg, &QTableView::clicked, this, [this] { cgClick(); });
    connect(cg->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (!current.isValid())
                    return;
                ctx_.dm.setCurrentPresentationIndex(current.row());
                stockTimer_->start();
            });
    paintPresentations(ui::palette::white, ui::palette::highlight());
}

void TFormBusqueda::connectDataModule() {
    connect(&ctx_.dm, &session::TDM::currentProductChanged, this, [this] {
        showCurrentProduct();
        stockTimer_->start();
    });
    connect(&ctx_.dm, &session::TDM::currentPresentationChanged, this,
            [this] { showCurrentPresentation(); });
    connect(&ctx_.dm, &session::TDM::sessionDatasetsReopened, this, [this] {
        products_->reset(int(ctx_.dm.products().size()));
        showCurrentProduct();
    });
}

void TFormBusqueda::connectSession() {
    const session::Session& s = ctx_.session;
    connect(&s, &session::Session::currentSaleChanged, this,
            [this] { V->setText(ctx_.session.saleLabel()); });
    connect(&s, &session::Session::productGridFocusRequested, this,
            [this] { DBGrid1->setFocus(); });
    connect(&s, &session::Session::costFiguresVisibleChanged, this,
            &TFormBusqueda::setCostFiguresVisible);
    connect(&counter_, &SalesCounter::quotationClosed, this, &TFormBusqueda::backFromQuotation);
    setCostFiguresVisible(s.costFiguresVisible());
}

// The quotation closed: the screen takes the activation and the focus back.
void TFormBusqueda::backFromQuotation() {
    window()->activateWindow();
    focusSearchBox();
    paintPresentations(ui::palette::white, ui::palette::highlight());
}

// ---- what the screen shows ----

void TFormBusqueda::selectRowOf(QTableView* view, int row) {
    if (row < 0 || ui::Grid::currentRow(view) == row)
        return;
    const QSignalBlocker block(view->selectionModel());
    ui::Grid::selectRow(view, row);
    view->scrollTo(view->model()->index(row, 0), QAbstractItemView::PositionAtTop);
    view->viewport()->update();
}

void TFormBusqueda::showCurrentProduct() {
    const session::TDM& dm = ctx_.dm;
    if (products_->rowCount() != int(dm.products().size()))
        products_->reset(int(dm.products().size()));
    selectRowOf(DBGrid1, dm.currentProductIndex());
    const session::ProductRow* p = dm.currentProduct();
    DBText1->setText(p ? p->ProdNomComercial : QString());
    DBText2->setText(p ? p->LabNombre : QString());
    DBText3->setText(p ? p->ProAccionMecanismo : QString());
    DBText4->setText(p ? p->ProdNomGenerico : QString());
    presentations_->reset(int(dm.presentations().size()));
    showCurrentPresentation();
}

void TFormBusqueda::showCurrentPresentation() {
    const session::TDM& dm = ctx_.dm;
    if (presentations_->rowCount() != int(dm.presentations().size()))
        presentations_->reset(int(dm.presentations().size()));
    selectRowOf(cg, dm.currentPresentationIndex());
    cg->viewport()->update();
    const session::PresentationRow* p = dm.currentPresentation();
    DBText5->setText(p ? p->PresUbicacion : QString());
    DBText9->setText(p ? p->PresIndicaPosologia : QString());
    DBText8->setText(p ? QString::number(p->PresStockTotal) : QString());
    DBText11->setText(p ? p->PresUniTodo : QString());
    DBText10->setText(dm.cruceText());
    photoTimer_->start();
}

void TFormBusqueda::showPhoto() {
    ui::guard(ctx_.messages, [this] {
        const session::PresentationRow* p = ctx_.dm.currentPresentation();
        QPixmap photo;
        if (p)
            photo.loadFromData(ctx_.dm.presentationPhoto(p->CodPresentacion));
        if (photo.isNull())
            DBImage1->clear();
        else
            DBImage1->setPixmap(photo);
    });
}

void TFormBusqueda::refreshPresentations() {
    ctx_.dm.refreshPresentations();
    showCurrentPresentation();
}

// ---- keys and mouse ----

bool TFormBusqueda::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
            return keyPress(watched, static_cast<QKeyEvent*>(event)->key());
        case QEvent::MouseButtonPress:
            if (watched == EdNombre)
                EdNombreMouseDown();
            else if (watched == DBGrid1->viewport())
                DBGrid1MouseDown();
            return false;
        default:
            return QWidget::eventFilter(watched, event);
    }
}

bool TFormBusqueda::keyPress(QObject* watched, int key) {
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    const bool esc = key == Qt::Key_Escape;
    if (watched == EdNombre) {
        if (enter)
            EdNombreEnter();
        else if (esc)
            EdNombreEsc();
        else
            return commonKey(key, watched);
        return true;
    }
    if (watched == DBGrid1) {
        if (enter)
            DBGrid1Enter();
        else if (esc)
            DBGrid1Esc();
        else
            return commonKey(key, watched);
        return true;
    }
    if (watched == cg) {
        if (enter)
            cgEnter();
        else if (esc)
            cgEsc();
        else if (key == Qt::Key_F1)
            F1();
        else if (key == Qt::Key_0)
            run(SalesCounter::Command::EditPresentation);
        else if (key == Qt::Key_Period)
            run(SalesCounter::Command::ExpiryDate);
        else
            return commonKey(key, watched);
        return true;
    }
    if (watched == DBImage1) {
        if (esc)
            focusSearchBox();
        else if (key == Qt::Key_F4)
            F4();
        else if (key == Qt::Key_F9)
            F9();
        else
            return false;
        return true;
    }
    return false;
}

// F3, F4 and F9 of the search box and both grids; the grids' F9 also re-reads the presentations.
bool TFormBusqueda::commonKey(int key, QObject* watched) {
    switch (key) {
        case Qt::Key_F3:
            F3();
            return true;
        case Qt::Key_F4:
            F4();
            return true;
        case Qt::Key_F9:
            F9();
            if (watched != EdNombre)
                ui::guard(ctx_.messages, [this] { refreshPresentations(); });
            return true;
        default:
            return false;
    }
}

void TFormBusqueda::EdNombreChange() {
    searchText_ = EdNombre->text();
    ctx_.session.setProductSearch(searchText_);
    ui::guard(ctx_.messages, [this] { ctx_.dm.locateProduct(searchText_); });
    DBGrid1->viewport()->update();
}

void TFormBusqueda::EdNombreEnter() {
    paintSearchBox(ui::palette::white);
    DBGrid1->setFocus();
}

void TFormBusqueda::EdNombreEsc() {
    EdNombre->clear();
    paintPresentations(ui::palette::white, ui::palette::highlight());
    focusSearchBox();
}

void TFormBusqueda::EdNombreMouseDown() {
    setPresentationsSelected(ui::palette::highlight());
    ui::guard(ctx_.messages, [this] { refreshPresentations(); });
}

void TFormBusqueda::DBGrid1Enter() {
    cg->setFocus();
    paintPresentations(ui::palette::silver, ui::palette::red);
    ui::guard(ctx_.messages, [this] { refreshPresentations(); });
}

void TFormBusqueda::DBGrid1Esc() {
    EdNombre->clear();
    paintPresentations(ui::palette::white, cg->palette().color(QPalette::Highlight));
    focusSearchBox();
}

void TFormBusqueda::DBGrid1CellClick() {
    ui::guard(ctx_.messages, [this] { refreshPresentations(); });
    setPresentationsSelected(ui::palette::highlight());
    paintSearchBox(ui::palette::white);
}

void TFormBusqueda::DBGrid1MouseDown() {
    setPresentationsSelected(ui::palette::red);
    ui::guard(ctx_.messages, [this] { refreshPresentations(); });
}

void TFormBusqueda::cgEnter() {
    if (!adjusterQuantity_ || !adjusterQuantity_->isVisible()) {
        focusSearchBox();
        paintSearchBox(ui::palette::red);
        paintPresentations(ui::palette::white, ui::palette::highlight());
        return;
    }
    paintSearchBox(ui::palette::red);
    if (adjusterQuantity_)
        adjusterQuantity_->setFocus();
}

void TFormBusqueda::cgEsc() {
    EdNombre->clear();
    paintPresentations(ui::palette::white, cg->palette().color(QPalette::Highlight));
    paintSearchBox(ui::palette::red);
    focusSearchBox();
}

void TFormBusqueda::cgClick() {
    ui::guard(ctx_.messages, [this] { refreshPresentations(); });
}

void TFormBusqueda::paintSearchBox(const QColor& color) {
    parts::setBase(EdNombre, color);
}

void TFormBusqueda::FormActivate() {
    ctx_.session.setSaleDay(ctx_.clock.today());
    ctx_.session.setDiscountAllowed(false);
}

void TFormBusqueda::closeEvent(QCloseEvent* event) {
    ctx_.session.setUserCaption(QString());
    QWidget::closeEvent(event);
}

// ---- the sale ----

void TFormBusqueda::F3() {
    ctx_.platform.trimWorkingSet();
    if (!ctx_.dm.isSessionOpen())
        return;
    run(SalesCounter::Command::Checkout);
}

void TFormBusqueda::F9() {
    run(SalesCounter::Command::QuickCheckout);
}

void TFormBusqueda::run(SalesCounter::Command command) {
    ui::guard(ctx_.messages, [this, command] { counter_.run(command); });
}

void TFormBusqueda::F4() {
    ui::guard(ctx_.messages, [this] {
        session::Session& s = ctx_.session;
        const QString tag = workstationTag(ctx_.platform.computerName());
        if (!s.newSale() && s.currentSale()) {
            db::proc::Kz_EditaVendedorNumeroVenta(ctx_.db,
                                                  {s.saleDay().start, tag, *s.currentSale()});
            return;
        }
        s.setSaleDay(ctx_.clock.today());
        const auto& user = ctx_.dm.user();
        const int sale =
            db::proc::KZ_NumeroVenta(ctx_.db, {s.saleDay().start, user ? user->UsuCod : 0, tag},
                                     ctx_.clock.now())
                .pNumero;
        s.reserveSale(sale);
        focusSearchBox();
    });
}

void TFormBusqueda::noSaleRefusal(const QString& message) {
    ctx_.messages.notice(message);
    paintPresentations(ui::palette::white, ui::palette::highlight());
    focusSearchBox();
}

void TFormBusqueda::F1() {
    ui::guard(ctx_.messages, [this] {
        if (!ctx_.session.currentSale()) {
            noSaleRefusal(QStringLiteral("DEBE CREAR UNA NUEVA VENTA, Pulse Su Tecla"));
            return;
        }
        refreshPresentations();  // the stock as it is now, not as last shown
        const session::PresentationRow* p = ctx_.dm.currentPresentation();
        if (!p || p->PresStockTotal < 1) {
            noSaleRefusal(QStringLiteral("NO HAY STOCK DE: ") +
                          (p ? p->PresTipo.trimmed() : QString()) + QStringLiteral("\r") +
                          QStringLiteral("ANOTAR EN CUADERNO DE FALTOS..."));
            return;
        }
        counter_.run(SalesCounter::Command::Quote);
    });
}

}  // namespace sales
