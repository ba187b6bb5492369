#pragma once

#include "catalogue/PriceAids.h"
#include "session/AppContext.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace catalogue {

// "PRESENTACION DE PRODUCTO": enters a new presentation (KZ_IngresoPresentacion) for the data
// module's current product-brand link, with the price aids. After a save the new presentation
// is the data module's current one.
class TFormPresentacion : public QWidget {
    Q_OBJECT

public:
    // Shows it for the current link: its names, the type, cost, sale and posology boxes empty
    // (and the profit box with `emptyProfit`), the focus in the type box.
    static TFormPresentacion* open(session::AppContext& ctx, bool emptyProfit);

private:
    explicit TFormPresentacion(session::AppContext& ctx);
    void build();
    void wire();
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Runs an action of the window in the guard; a box it shows is the window's own.
    void act(const std::function<void()>& action, const QString& error = {});
    void activated();

    void PcEnter();
    void CanEnter();
    void PgEnter();
    void PvEnter();
    void CB1Enter();
    void GrabarClick();
    void save();
    void SpeedButton1Click();
    void SalirClick();

    session::AppContext& ctx_;
    double rate_ = 0;  // QIgv's IgvValor; 0 without a row
    int ownActions_ = 0;
    bool leftForOwnBox_ = false;

    QLabel* PROD = nullptr;
    QLabel* LAB = nullptr;
    QLabel* Mensaje = nullptr;
    QLineEdit* PresTipo = nullptr;
    QLineEdit* Pc = nullptr;
    QLineEdit* Can = nullptr;
    QLineEdit* Pg = nullptr;
    QComboBox* CB1 = nullptr;
    QLineEdit* Pv = nullptr;
    QLineEdit* PresPosologia = nullptr;
    QRadioButton* Mas = nullptr;
    QRadioButton* Sin = nullptr;
    QLineEdit* EDPresUbi = nullptr;
    QComboBox* CBUniTodo = nullptr;
    QLineEdit* EdMinimo = nullptr;
    QLineEdit* EdNumCaja = nullptr;
    QLineEdit* EdCodDigemid = nullptr;
    QPushButton* SpeedButton1 = nullptr;
    QPushButton* Grabar = nullptr;
    QPushButton* Salir = nullptr;
    prices::PriceBoxes prices_;
};

}  // namespace catalogue
