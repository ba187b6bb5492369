#pragma once

#include "catalogue/PriceAids.h"
#include "session/AppContext.h"
#include "session/UnitDM.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace catalogue {

// "VENTANA DE EDICION": changes the presentation it was opened on, whatever becomes current
// afterwards; a change of price is logged in the same transaction (SEGUIMIENTO_PRECIO).
class TFrmEdicionPresentacion : public QWidget {
    Q_OBJECT

public:
    // How the opener writes the prices: the menu's "%8.2f", the search screen's shortest form.
    enum class Prices { TwoDecimals, Shortest };

    // Shows it on the data module's current presentation, every box the save sends filled.
    // Without a presentation (or with an empty type) it shows `nothingText` and stays empty.
    static TFrmEdicionPresentacion* open(session::AppContext& ctx, Prices prices,
                                         const QString& nothingText);

    // The presentation "&Editar" changes; 0 when opened empty.
    int presentationCode() const { return presentation_.CodPresentacion; }

private:
    explicit TFrmEdicionPresentacion(session::AppContext& ctx);
    void build();
    void wire();
    void fill(Prices prices);
    bool eventFilter(QObject* watched, QEvent* event) override;
    void activated();

    void PCEnter();
    void PGEnter();
    void PVEnter();
    void EditarClick();
    bool checked();
    void save();
    void SalirClick();

    session::AppContext& ctx_;
    session::PresentationRow presentation_;
    QString product_;  // trimmed commercial name and brand of its link
    QString brand_;
    double rate_ = 0;

    QLabel* PROD = nullptr;
    QLabel* Mensaje = nullptr;
    QLineEdit* EditPres = nullptr;
    QLineEdit* PC = nullptr;
    QLineEdit* Can = nullptr;
    QLineEdit* PG = nullptr;
    QLineEdit* PV = nullptr;
    QLineEdit* EdPresUbi = nullptr;
    QComboBox* Cb1 = nullptr;
    QComboBox* CbEstado = nullptr;
    QComboBox* CbUnidadTodo = nullptr;
    QLineEdit* EdPm = nullptr;
    QPlainTextEdit* EdPosologia = nullptr;
    QRadioButton* CON = nullptr;
    QRadioButton* SIN = nullptr;
    QPushButton* Editar = nullptr;
    QPushButton* Salir = nullptr;
    prices::PriceBoxes prices_;
};

}  // namespace catalogue
