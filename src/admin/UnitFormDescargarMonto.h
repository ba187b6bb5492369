#pragma once

#include "db/procedures/Withdrawals.h"
#include "session/AppContext.h"

#include <QWidget>
#include <optional>

class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;

namespace ui {
template <class Row>
class VectorModel;
}

namespace admin {

namespace parts {
class OwnBoxes;
}

// "EGRESOS REALIZADOS EN EL DIA ACTUAL": money taken out of the till with its reason, and the
// withdrawals of a period listed, totalled and printed.
class TFormDescargarMonto : public QWidget {
    Q_OBJECT

public:
    static TFormDescargarMonto* open(session::AppContext& ctx);

private:
    explicit TFormDescargarMonto(session::AppContext& ctx);
    void build();
    void buildGrid();
    void wire();
    void activated();
    void today();
    void list();

    void BtnGrabarClick();
    std::optional<core::Money> checkedAmount();
    void record(core::Money amount);
    void BtnImprimirClick();

    session::AppContext& ctx_;
    parts::OwnBoxes* ownBoxes_ = nullptr;
    ui::VectorModel<db::proc::EgresoRow>* rows_ = nullptr;
    core::Money total_;

    QLabel* STMonto = nullptr;
    QLabel* STMensaje = nullptr;
    QTableView* DBGrid1 = nullptr;
    QLineEdit* EdCantidad = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QDateTimeEdit* DT1 = nullptr;
    QDateTimeEdit* DT2 = nullptr;
    QPushButton* BtnGrabar = nullptr;
    QPushButton* BtnEditar = nullptr;
    QPushButton* BtnImprimir = nullptr;
    QPushButton* BtnEliminar = nullptr;
    QPushButton* BtnSalir = nullptr;
};

}  // namespace admin
