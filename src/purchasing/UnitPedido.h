#pragma once

#include "db/procedures/Purchasing.h"
#include "session/AppContext.h"

#include <QWidget>

class QComboBox;
class QDateTimeEdit;
class QLabel;
class QPushButton;
class QTableView;

namespace ui {
template <class Row>
class VectorModel;
}

namespace purchasing {

namespace parts {
class OwnBoxes;
}

// "VENTANA DE INGRESO DE PEDIDOS": orders placed with a supplier's representative, with the
// sum and number of their instalments. The instalments are entered in a window of their own,
// asked for through the two signals.
class TFormPedido : public QWidget {
    Q_OBJECT

public:
    explicit TFormPedido(session::AppContext& ctx);
    // Reads the orders and the selected order's instalments again, keeping the selections.
    void reload();
    // The next activation comes back from the instalment window: the boxes stay as they are.
    void returningFromPayment();

signals:
    void newInstalmentAsked(int pedNumero);
    void editInstalmentAsked(const db::proc::PagoRow& pago);

private:
    void build();
    void buildLists();
    void buildOrderGrid();
    void buildInstalmentGrid();
    QWidget* buildBoxes();
    void wire();
    void activated();
    void reloadRepresentatives();
    void reloadInstalments();

    void BtnNuevoClick();
    void BtnGrabarClick();
    void BtnEditarClick();
    void BtnEliminarClick();
    void PMEditarClick();
    void PMEliminarClick();

    bool commonChecks();
    bool stateAndDatesChecked();
    void shown(const db::proc::Resultado& out);
    void setButtons(bool grabar, bool editar, bool eliminar);
    const db::proc::PedidoRow* selectedOrder() const;

    session::AppContext& ctx_;
    parts::OwnBoxes* own_ = nullptr;
    int editing_ = 0;   // the order the boxes were filled from
    int deleting_ = 0;  // the order chosen to delete

    QTableView* DBGrid2 = nullptr;
    ui::VectorModel<db::proc::ProveedorRow>* TProveedor = nullptr;
    QTableView* DBGrid1 = nullptr;
    ui::VectorModel<db::proc::RepresentanteRow>* TRepresentante = nullptr;
    QDateTimeEdit* DateTimePicker1 = nullptr;
    QDateTimeEdit* DateTimePicker2 = nullptr;
    QComboBox* CBEstado = nullptr;
    QLabel* ST = nullptr;
    QTableView* DBGrid3 = nullptr;
    ui::VectorModel<db::proc::PedidoRow>* QPedido = nullptr;
    QTableView* DBGrid4 = nullptr;
    ui::VectorModel<db::proc::PagoRow>* TPago = nullptr;
    QPushButton* BtnNuevo = nullptr;
    QPushButton* BtnGrabar = nullptr;
    QPushButton* BtnEditar = nullptr;
    QPushButton* BtnEliminar = nullptr;
    QPushButton* BtnSalir = nullptr;
};

}  // namespace purchasing
