#pragma once

#include "core/Roles.h"
#include "db/procedures/Exchange.h"
#include "session/AppContext.h"

#include <QWidget>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace ui {
template <class Row>
class VectorModel;
}

namespace stock {

// "VENTANA CRUCE DE PRESENTACIONES...": records the differences counted on the shelf for the
// current presentation, lists and deletes them, and values every difference of the shop.
class TFormCruce : public QWidget {
    Q_OBJECT

public:
    static TFormCruce* open(session::AppContext& ctx);

private:
    explicit TFormCruce(session::AppContext& ctx);
    void build();
    QWidget* buildBoxes();
    void buildGrid();
    QWidget* buildButtons();
    void wire();
    void activated();
    void readRows();

    void SBGrabarClick();
    bool recordChecked(int& units);
    void Borrar1Click();
    void SBEliminaTodoCruceClick();
    void SPCalculaMontoClick();
    void SBNuevoClick();
    bool allowed(core::roles::Group group);
    void refuseUnits(const QString& text);
    void afterChange(const QString& message);

    session::AppContext& ctx_;
    int presentation_ = 0;

    QLabel* ST1 = nullptr;
    QCheckBox* CBFalta = nullptr;
    QCheckBox* CBSobra = nullptr;
    QLabel* STFalta = nullptr;
    QLabel* STSobra = nullptr;
    QLineEdit* EdUnidades = nullptr;
    QPushButton* SPCalculaMonto = nullptr;
    QPushButton* SBEliminaTodoCruce = nullptr;
    QTableView* DBGrid1 = nullptr;
    ui::VectorModel<db::proc::CruceItem>* rows_ = nullptr;
    QAction* Borrar1 = nullptr;
    QPushButton* SBNuevo = nullptr;
    QPushButton* SBGrabar = nullptr;
    QPushButton* SBSalir = nullptr;
};

}  // namespace stock
