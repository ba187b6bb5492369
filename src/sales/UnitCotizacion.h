#pragma once

#include "core/Money.h"
#include "db/procedures/Sales.h"
#include "session/AppContext.h"

#include <QWidget>
#include <optional>
#include <vector>

class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableView;

namespace db::proc {
struct PresentationRow;
}
namespace ui {
template <class Row>
class VectorModel;
}

namespace sales {

class SalesCounter;

// "COTIZACION DE PRODUCTOS": turns the presentation chosen on the search screen into lines of
// the current sale. Each quantity is checked against the stock the sale already holds and
// recorded by KZ_IngresoPresVenta, which returns the running total. Lines can be deleted,
// taken out to change their quantity or price, and the whole quotation deleted. Closing only
// hides the window; the main window's "&Calcular" shows the last one again.
class TFormCotizacion : public QWidget {
    Q_OBJECT

public:
    // F1 on the search screen: a new window for the current presentation, prepared and shown.
    // The window created before it, hidden by then, is freed. None without a presentation.
    static TFormCotizacion* openForCurrent(session::AppContext& ctx);
    // "&Calcular": the last window created in this run, with the search screen's current
    // presentation, shown again; false when there is none.
    static bool reshowLast(session::AppContext& ctx);

    ~TFormCotizacion() override;

    // 0: the next quantity adds the window's presentation; 1: it puts a taken-out line back.
    int lineEditMode() const { return mode_; }
    const std::vector<db::proc::LineaVenta>& lines() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The presentation the next quantity adds (line edit mode 0) or the line taken out (1).
    struct Item {
        int CodPresentacion = 0;
        QString PresTipo;
        core::Money PresPrecioCosto;
        core::Money PresVenta;
    };

    TFormCotizacion(session::AppContext& ctx, QWidget* parent);
    void build();
    void buildMenus();
    void prepare(const db::proc::PresentationRow& presentation);
    void usePresentation(const db::proc::PresentationRow& presentation);

    void FormActivate();
    void EdPvEnter();
    void EdCanEnter();
    void recordQuantity(int quantity);
    bool refuseDischargedSale();
    bool refuseBeyondStock(int quantity, int stock, const QString& message);
    void refuseStock(const QString& message);
    bool recordLine(int quantity, core::Money cost);
    void endDischargedSale();
    struct Removed {
        db::proc::LineaVenta line;
        db::proc::EliminarItemOut out;
    };
    std::optional<Removed> removeSelectedLine();
    void takeOut(bool discount);
    void deleteLine();
    bool refuseDischargedLine(const db::proc::LineaVenta& line);
    void askDiscount();
    void showLastDiscountAuth();
    void BitBtn1Click();
    void escape();

    void reloadLines();
    const db::proc::LineaVenta* selectedLine() const;
    void showTotal(core::Money total);
    int saleNumber() const;
    core::DateTimeRange saleDay() const;
    void backToAdding();

    session::AppContext& ctx_;
    SalesCounter& counter_;
    ui::VectorModel<db::proc::LineaVenta>* model_;
    Item item_;      // mode 0: the presentation being sold
    Item takenOut_;  // mode 1: the line taken out
    int mode_ = 0;

    // Controls, named as their objectName.
    QLabel* CLIENTE = nullptr;
    QLabel* TOTAL = nullptr;
    QLineEdit* EdPres = nullptr;
    QLineEdit* EdPv = nullptr;
    QLineEdit* EdCan = nullptr;
    QLabel* DETALLE = nullptr;
    QTableView* DBGrid1 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QMenu* PopupMenu1 = nullptr;  // the grid's: "&Editar", "&Borrar", "Descuento"
    QMenu* PopupMenu2 = nullptr;  // EdCan's: "&Descuento"
};

}  // namespace sales
