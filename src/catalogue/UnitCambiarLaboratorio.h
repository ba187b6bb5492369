#pragma once

#include "catalogue/ChoiceList.h"
#include "session/AppContext.h"

#include <QWidget>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace catalogue {

// "CAMBIAR LABORATORIO": moves the product-brand link it was opened on to the brand chosen
// from the list (KZ_EditarLaboratorio). The link is the data module's current one at opening,
// whatever the product list's current row becomes afterwards.
class TFormCambiarLaboratorio : public QWidget {
    Q_OBJECT

public:
    // nullptr without a current link.
    static TFormCambiarLaboratorio* open(session::AppContext& ctx);
    ~TFormCambiarLaboratorio() override;

    int linkCode() const { return link_; }

private:
    TFormCambiarLaboratorio(session::AppContext& ctx, int link, QWidget* parent);
    void build();
    void EditarClick();

    session::AppContext& ctx_;
    int link_;

    QLineEdit* EdLaboratorio = nullptr;
    QLabel* AVISO = nullptr;
    QTableView* DBGrid1 = nullptr;
    QPushButton* Editar = nullptr;
    QPushButton* Salir = nullptr;
    std::unique_ptr<BrandList> QConLab;
};

}  // namespace catalogue
