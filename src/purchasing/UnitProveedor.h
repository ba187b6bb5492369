#pragma once

#include "db/procedures/Purchasing.h"
#include "session/AppContext.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
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

// "PROVEDDOR": enters, edits and removes suppliers.
class TFormProveedor : public QWidget {
    Q_OBJECT

public:
    static TFormProveedor* open(session::AppContext& ctx);

private:
    explicit TFormProveedor(session::AppContext& ctx);
    void build();
    void buildGrid();
    void wire();
    void activated();
    void reload();

    void BtnNuevoClick();
    void BtnGrabarClick();
    void BtnEditarClick();
    void BtnBorrarClick();
    void PMEditarClick();
    void PMEliminarClick();

    const db::proc::ProveedorRow* selected() const;
    db::proc::ProveedorDatos typed() const;
    bool nameGiven();
    void shown(const db::proc::Resultado& out);
    void setButtons(bool grabar, bool editar, bool borrar);

    session::AppContext& ctx_;
    parts::OwnBoxes* own_ = nullptr;
    int editing_ = 0;  // the supplier the boxes were filled from
    db::proc::ProveedorRow deleting_;

    QLineEdit* EdRS = nullptr;
    QLineEdit* EdT = nullptr;
    QLineEdit* EdTF = nullptr;
    QLineEdit* EdE = nullptr;
    QLineEdit* EdC = nullptr;
    QLineEdit* EdD = nullptr;
    QComboBox* CBE = nullptr;
    QLabel* ST = nullptr;
    QTableView* DBProveedor = nullptr;
    ui::VectorModel<db::proc::ProveedorRow>* QProveedor = nullptr;
    QPushButton* BtnNuevo = nullptr;
    QPushButton* BtnGrabar = nullptr;
    QPushButton* BtnEditar = nullptr;
    QPushButton* BtnBorrar = nullptr;
    QPushButton* BtnSalir = nullptr;
};

}  // namespace purchasing
