#pragma once

#include "core/DayWindow.h"
#include "db/procedures/Returns.h"
#include "session/AppContext.h"

#include <QWidget>
#include <functional>
#include <vector>

class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace ui {
class TableModel;
}

namespace sales {

// "VENTANA DE INGRESO(DEVOLUCION) DE PRODUCTO": the discharged lines of the data module's
// current presentation, the day's (every role) or a range's (administrators), and the return
// of units of the selected line (administrators only). On top of the other windows, centred,
// destroyed on closing.
class TFormDevolucion : public QWidget {
    Q_OBJECT

public:
    // A new window whose range pickers start at `range` (their times are kept); by default
    // yesterday 23:59:59 to tomorrow 00:00:01, which is today.
    static TFormDevolucion* open(session::AppContext& ctx);
    static TFormDevolucion* open(session::AppContext& ctx, const core::DateTimeRange& range);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Kind { Day, Range };
    // One of the two listings: its rows, the presentation and range it was read for and its
    // current row.
    struct Listing {
        std::vector<db::proc::VentaDevolucion> rows;
        int presentation = 0;
        core::DateTimeRange range;
        int current = 0;
        const db::proc::VentaDevolucion* currentRow() const;
    };

    TFormDevolucion(session::AppContext& ctx, const core::DateTimeRange& range);
    void build();
    QWidget* buildPickers();
    QWidget* buildButtons();
    void setUpGrid();

    void FormActivate();
    void resetPickers();
    bool isAdministrator() const;
    int currentPresentation() const;
    Listing& listing(Kind kind) { return kind == Kind::Day ? day_ : range_; }
    void read(Kind kind, const core::DateTimeRange& range, int presentation,
              std::function<void(bool found)> then = {}, std::function<void()> failed = {});
    void showListing(Kind kind);
    void showQuantityBox();

    void ConsultarClick();
    void F1Enter();
    void EdStockEnter();
    void devolver(Kind kind);
    bool refused(const QString& message, bool focus = true);
    bool acceptable(const QString& entry, int cantidad);

    session::AppContext& ctx_;
    db::Reader* reader_;
    ui::TableModel* model_;
    Listing day_;
    Listing range_;
    Kind shown_ = Kind::Day;

    QDateTimeEdit* F1 = nullptr;
    QDateTimeEdit* F2 = nullptr;
    QPushButton* Consultar = nullptr;
    QLabel* Mensaje = nullptr;
    QTableView* DBGrid1 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* EdStock = nullptr;
    QPushButton* Ingresar = nullptr;
    QPushButton* IngresarAdmin = nullptr;
    QPushButton* Salir = nullptr;
};

}  // namespace sales
