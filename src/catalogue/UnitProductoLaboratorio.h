#pragma once

#include "catalogue/ChoiceList.h"
#include "db/procedures/Catalogue.h"
#include "session/AppContext.h"

#include <QWidget>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace catalogue {

// "ASIGNACION DE PRODUCTO": links a product to a brand (KZ_AsignaLaboratorioProducto), both
// picked from lists searched as they are typed; opens the product and brand windows for
// articles not yet listed, whose entries show once this window is active again.
class TFormProductoLaboratorio : public QWidget {
    Q_OBJECT

public:
    static TFormProductoLaboratorio* open(session::AppContext& ctx);
    ~TFormProductoLaboratorio() override;

    // The product search text (the search screen's "Asignar Prod-Lab" puts its own there); it
    // stays through the activation that follows the opening.
    void setProductSearch(const QString& text);

private:
    TFormProductoLaboratorio(session::AppContext& ctx, QWidget* parent);
    void build();
    QWidget* buildProductPane();
    QWidget* buildBrandPane();
    QWidget* buildButtonBar();
    void wire();
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool enterKey(QObject* watched);

    void FormActivate();
    void reload();
    void SpeedButton1Click();
    void assign(const db::proc::ProductoChoice& product, const db::proc::LaboratorioChoice& brand);
    void SpeedButton3Click();
    void SalirClick();
    void emptySearch();

    session::AppContext& ctx_;
    QString pendingSearch_;

    QLineEdit* EdProducto = nullptr;
    QLabel* PRODUCTO = nullptr;
    QTableView* DBGrid1 = nullptr;
    QWidget* DBNavigator2 = nullptr;
    QPushButton* SpeedButton4 = nullptr;
    QLineEdit* EdLaboratorio = nullptr;
    QLabel* LABORATORIO = nullptr;
    QTableView* DBGrid2 = nullptr;
    QWidget* DBNavigator1 = nullptr;
    QPushButton* SpeedButton5 = nullptr;
    QPushButton* SpeedButton1 = nullptr;
    QPushButton* SpeedButton3 = nullptr;
    QPushButton* Salir = nullptr;
    QLabel* AVISO = nullptr;

    std::unique_ptr<ChoiceList<db::proc::ProductoChoice>> QConProd;
    std::unique_ptr<BrandList> QConLab;
};

}  // namespace catalogue
