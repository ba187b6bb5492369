#pragma once

#include "sales/SalesCounter.h"
#include "session/AppContext.h"

#include <QColor>
#include <QWidget>

class QLabel;
class QLineEdit;
class QMenu;
class QTableView;
class QTimer;
class QVBoxLayout;

namespace ui {
class TableModel;
}

namespace sales {

// The seller's working screen "BUSQUEDA DE PRODUCTO": the product list searched by name as the
// seller types (in memory, no query), the presentations of the chosen product with prices,
// stock, location, dosage and photo, and the sale: F4 reserves a sale number for the
// workstation, F1 opens the quotation window for the chosen presentation.
class TFormBusqueda : public QWidget {
    Q_OBJECT

public:
    explicit TFormBusqueda(session::AppContext& ctx, QWidget* parent = nullptr);
    ~TFormBusqueda() override;

    // The session's screen: a maximised sub-window of the desktop (a top-level window without
    // one), at most one per session, focused on its search box.
    static TFormBusqueda* openOnDesktop(session::AppContext& ctx);
    // Closes the session's screen with its sub-window, so no empty frame is left.
    static void closeOnDesktop(session::AppContext& ctx);
    static TFormBusqueda* of(session::AppContext& ctx);

    // The workstation tag of the sales this screen reserves: the computer name (up to 15
    // characters), trimmed, and "-4".
    static QString workstationTag(const QString& computerName);

    // The margin figure, the cost figure and their label "PI:" (administrators only), as the
    // session says.
    bool costFiguresVisible() const { return costVisible_; }

    // Places the stock adjuster on the stock panel (Panel4), below the stock figure; Enter in
    // the presentation grid moves the cursor to its quantity box while that box is shown.
    void setStockAdjuster(QWidget* adjuster, QWidget* quantityBox);
    void focusSearchBox();

    // Context menus of the search box, the product grid and the presentation grid, with every
    // item of the context table (session/ContextRules.h); an item whose opener nobody
    // registered is disabled.
    QMenu* searchMenu() const { return PMNombre; }
    QMenu* productMenu() const { return PopupMenu1; }
    QMenu* presentationMenu() const { return PopupMenu2; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void build();
    void buildContextMenus();
    QWidget* buildSearchPanel();
    QWidget* buildProductPanel();
    QWidget* buildPresentationRow();
    QWidget* buildStockPanel();
    void setUpProductGrid();
    void setUpPresentationGrid();
    void connectDataModule();
    void connectSession();
    void setCostFiguresVisible(bool visible);
    void backFromQuotation();
    void paintPresentations(const QColor& base, const QColor& selected);
    // Re-reads the current link's presentations, keeping the current one.
    void refreshPresentations();

    void showCurrentProduct();
    void showCurrentPresentation();
    void showPhoto();
    void selectRowOf(QTableView* view, int row);

    bool keyPress(QObject* watched, int key);
    bool commonKey(int key, QObject* watched);
    void EdNombreChange();
    void EdNombreEnter();
    void EdNombreEsc();
    void EdNombreMouseDown();
    void DBGrid1Enter();
    void DBGrid1Esc();
    void DBGrid1CellClick();
    void DBGrid1MouseDown();
    void cgEnter();
    void cgEsc();
    void cgClick();
    void FormActivate();

    void F1();
    void F3();
    void F4();
    void F9();
    void run(SalesCounter::Command command);
    void noSaleRefusal(const QString& message);
    void paintSearchBox(const QColor& color);
    void setPresentationsSelected(const QColor& selected);

    session::AppContext& ctx_;
    SalesCounter& counter_;
    ui::TableModel* products_;
    ui::TableModel* presentations_;
    QTimer* photoTimer_;
    QTimer* stockTimer_;
    QVBoxLayout* stockColumn_ = nullptr;
    QWidget* adjusterQuantity_ = nullptr;
    QString searchText_;
    QColor presentationsBase_;
    bool costVisible_ = true;

    // Controls, named as their objectName.
    QMenu* PMNombre = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QMenu* PopupMenu2 = nullptr;
    QLineEdit* EdNombre = nullptr;
    QLabel* V = nullptr;
    QTableView* DBGrid1 = nullptr;
    QLabel* DBText1 = nullptr;  // commercial name
    QLabel* DBText2 = nullptr;  // brand
    QLabel* DBText3 = nullptr;  // mechanism of action
    QLabel* DBText4 = nullptr;  // generic name
    QLabel* DBText5 = nullptr;  // shelf location
    QLabel* DBText9 = nullptr;  // dosage
    QTableView* cg = nullptr;
    QLabel* DBImage1 = nullptr;
    QLabel* DBText10 = nullptr;  // cross-check figure
    QLabel* DBText8 = nullptr;   // stock
    QLabel* DBText11 = nullptr;  // sale unit
};

}  // namespace sales
