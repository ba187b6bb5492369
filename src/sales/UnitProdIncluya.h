#pragma once

#include "db/procedures/Inclusion.h"

#include <QWidget>
#include <optional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace session {
struct AppContext;
}

namespace ui {
class TableModel;
template <class Row>
class VectorModel;
}  // namespace ui

namespace sales {

// The advanced search: products by parts of their names, ingredients, mechanism, presentation
// and brand, bounded by sale price and stock; or the sale lines of a chosen day. It changes
// nothing.
class TFormProdIncluya : public QWidget {
    Q_OBJECT

public:
    explicit TFormProdIncluya(session::AppContext& context, QWidget* parent = nullptr);

    // A new window on top of the others, centred.
    static TFormProdIncluya* open(session::AppContext& context);

private:
    QWidget* buildFilters();
    QWidget* buildSaleDay();
    QLineEdit* textBox(QGridLayout* grid, int row, const char* name, const char* caption,
                       int columnSize);

    void activated();
    void SBNuevoClick();
    void SBConsultarClick();
    void listSales();
    void searchPresentations(const db::proc::ProductSearch& search);
    void searchProducts(const db::proc::ProductSearch& search);
    // The filters typed; none when a bound is no number or a stock bound has no comparison.
    std::optional<db::proc::ProductSearch> typedSearch() const;
    // Shows the model, into which the listing's rows then arrive.
    template <class Row>
    void list(db::Listing listing, Row (*convert)(const QSqlQuery&), ui::VectorModel<Row>* model);
    void show(ui::TableModel* model);
    void refuse();

    session::AppContext& ctx_;
    db::Reader* reader_ = nullptr;
    ui::TableModel* model_ = nullptr;

    QLineEdit* EdProducto = nullptr;
    QLineEdit* EdLaboratorio = nullptr;
    QLineEdit* EdPresentacion = nullptr;
    QLineEdit* EdNomGen = nullptr;
    QLineEdit* EdMecanismo = nullptr;
    QLineEdit* Ed1 = nullptr;
    QLineEdit* Ed2 = nullptr;
    QComboBox* CB1 = nullptr;
    QLineEdit* C1 = nullptr;
    QComboBox* CB2 = nullptr;
    QLineEdit* C2 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QCheckBox* CheckNumVenta = nullptr;
    QDateEdit* DateTimePicker1 = nullptr;
    QLineEdit* EdNumVen1 = nullptr;
    QLineEdit* EdNumVen2 = nullptr;
    QPushButton* SBNuevo = nullptr;
    QPushButton* SBSalir = nullptr;
    QPushButton* SBConsultar = nullptr;
    QTableView* DBGrid1 = nullptr;
    QLabel* MENSAJE = nullptr;
};

}  // namespace sales
