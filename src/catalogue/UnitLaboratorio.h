#pragma once

#include "session/AppContext.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace catalogue {

// "VENTANA DE INGRESO DE NUEVA MARCA": enters a new brand (KZ_IngresoLABORATORIO).
class TFormLaboratorio : public QWidget {
    Q_OBJECT

public:
    // A new window, its boxes empty.
    static TFormLaboratorio* open(session::AppContext& ctx);

private:
    TFormLaboratorio(session::AppContext& ctx, QWidget* parent);
    void build();
    void wire();
    void empty();
    void GrabarClick();
    void SpeedButton3Click();

    session::AppContext& ctx_;
    QLabel* MENSAJE = nullptr;
    QLineEdit* EdNombre = nullptr;
    QLineEdit* EdRazSoc = nullptr;
    QPlainTextEdit* Descri = nullptr;
    QPushButton* SpeedButton2 = nullptr;
    QPushButton* Grabar = nullptr;
    QPushButton* SpeedButton3 = nullptr;
};

}  // namespace catalogue
