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

// "VENTANA DE INGRESO DE REPRESENTANTE": a supplier's representatives with their photos.
class TFormRepresentante : public QWidget {
    Q_OBJECT

public:
    static TFormRepresentante* open(session::AppContext& ctx);

private:
    explicit TFormRepresentante(session::AppContext& ctx);
    void build();
    void buildGrid();
    void wire();
    void activated();
    void fillSuppliers();
    void reload();
    void showPhoto();

    void BtnNuevoClick();
    void BtnGrabarClick();
    bool grabarChecked();
    void BtnEditarClick();
    void BtnEliminarClick();
    void PMFotoClick();
    void PMEditarClick();
    void PMBorrarFotoClick();
    void PMEliminarClick();

    const db::proc::RepresentanteRow* selected() const;
    db::proc::RepresentanteDatos typed() const;
    void shown(const db::proc::Resultado& out);
    void setButtons(bool grabar, bool editar, bool eliminar);

    session::AppContext& ctx_;
    parts::OwnBoxes* own_ = nullptr;
    bool toldNoSuppliers_ = false;
    int editing_ = 0;  // the representative the boxes were filled from
    db::proc::RepresentanteRow deleting_;

    QLineEdit* EdN = nullptr;
    QLineEdit* EdA = nullptr;
    QLineEdit* EdT = nullptr;
    QLineEdit* EdE = nullptr;
    QLineEdit* EdD = nullptr;
    QComboBox* CBRepresentate = nullptr;
    QLabel* DBImage1 = nullptr;
    QLabel* ST = nullptr;
    QTableView* DBGrid1 = nullptr;
    ui::VectorModel<db::proc::RepresentanteRow>* QRepresentante = nullptr;
    QPushButton* BtnNuevo = nullptr;
    QPushButton* BtnGrabar = nullptr;
    QPushButton* BtnEditar = nullptr;
    QPushButton* BtnEliminar = nullptr;
    QPushButton* BtnSalir = nullptr;
};

}  // namespace purchasing
