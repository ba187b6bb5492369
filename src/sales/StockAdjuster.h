#pragma once

#include "session/AppContext.h"

#include <QWidget>

class QCheckBox;
class QLineEdit;
class QMenu;

namespace sales {

class TFormBusqueda;

// The stock adjuster of the search screen: hidden controls on its stock panel (Panel4) that
// take a number of units and the kind of correction, and KZ_EditarStockTotal applies it to the
// current presentation (administrators only). The stock figure's menu PopupMenu4 opens, hides
// and closes it.
class StockAdjuster : public QWidget {
    Q_OBJECT

public:
    // Builds the adjuster into the screen's stock panel and gives the panel its menu.
    static StockAdjuster* attach(session::AppContext& ctx, TFormBusqueda& screen);
    // The adjuster of the session's search screen; nullptr while none is open.
    static StockAdjuster* of(session::AppContext& ctx);

    QMenu* menu() const { return PopupMenu4; }

    // "&Editar": the quantity box and the kinds (administrators only).
    void Editar();
    // "&NoCambios": every control hidden, the panel on the info background, and a notice.
    void NoCambios();
    // "&Ocultar": the quantity box emptied and hidden, with the kinds.
    void Ocultar();
    // The search box's "Stock Modificar": the quantity box alone, empty, with the cursor.
    void StockModificar();

    // The console switched the stock-change lock from this workstation: unlocked shows all five
    // controls on the active-caption gradient; locked hides the quantity box on the info
    // background.
    void showUnlocked();
    void showLocked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    StockAdjuster(session::AppContext& ctx, QWidget* panel, QLineEdit* searchBox);
    void buildMenu(QWidget* stockFigure);
    void paintPanel(const QColor& colour);
    void showEditing(bool registerSwitch);
    void kindChecked(QCheckBox* checked, QCheckBox* other);
    void backToSearch();
    void EdCanStockEnter();
    void adjust();

    session::AppContext& ctx_;
    QWidget* panel_;
    QLineEdit* searchBox_;

    QMenu* PopupMenu4 = nullptr;
    QLineEdit* EdCanStock = nullptr;
    QCheckBox* CBStockSobra = nullptr;
    QCheckBox* CBStockFalta = nullptr;
    QCheckBox* CbPCCero = nullptr;
    QCheckBox* CBRegNoReg = nullptr;
};

}  // namespace sales
