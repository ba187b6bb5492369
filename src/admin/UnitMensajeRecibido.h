#pragma once

#include "session/AppContext.h"

#include <QWidget>

class QLabel;
class QPushButton;

namespace db::proc {
struct MensajeRecibido;
}

namespace admin {

// A message from another workstation: its sender, time and text. Stays on top and is shown
// without taking the focus from the box being typed in.
class TFormMensajeRecibido : public QWidget {
    Q_OBJECT

public:
    static TFormMensajeRecibido* open(session::AppContext& ctx, const db::proc::MensajeRecibido& m);

private:
    TFormMensajeRecibido(session::AppContext& ctx, const db::proc::MensajeRecibido& m);
    void build(const db::proc::MensajeRecibido& m);

    QLabel* LblRemitente = nullptr;
    QLabel* LblTexto = nullptr;
    QPushButton* BtnAceptar = nullptr;
};

}  // namespace admin
