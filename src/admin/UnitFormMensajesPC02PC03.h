#pragma once

#include "session/AppContext.h"

#include <QWidget>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace admin {

// "ENVIO DE MENSAJES...": a short text for another running workstation, named by its computer
// name.
class TFormMensajesPC02PC03 : public QWidget {
    Q_OBJECT

public:
    static TFormMensajesPC02PC03* open(session::AppContext& ctx);

private:
    explicit TFormMensajesPC02PC03(session::AppContext& ctx);
    void build();
    void wire();
    void activated();

    void BtnMensajesClick();
    void BtnNuevoClick();

    session::AppContext& ctx_;

    QPlainTextEdit* Memo1 = nullptr;
    QRadioButton* RB2 = nullptr;
    QRadioButton* RB3 = nullptr;
    QLineEdit* EdNombrePC = nullptr;
    QPushButton* BtnNuevo = nullptr;
    QPushButton* BtnMensajes = nullptr;
    QPushButton* BitBtn1 = nullptr;
};

}  // namespace admin
