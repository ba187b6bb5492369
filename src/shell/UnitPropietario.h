#pragma once

#include "session/AppContext.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace shell {

// The first start of a shop: asks for the owner's login and password (twice) and creates
// user 1, "ADMINISTRADOR", through KZ_IngresoPropietario.
class TFormPropietario : public QDialog {
    Q_OBJECT

public:
    explicit TFormPropietario(session::AppContext& ctx, QWidget* parent = nullptr);

private:
    struct Fault {
        QString message;
        QLineEdit* box = nullptr;
    };

    void build();
    void AceptarClick();
    // What is wrong with the entry, the first fault found; none when it may be recorded.
    Fault fault() const;
    void record();

    session::AppContext& ctx_;
    QLineEdit* EdNombres = nullptr;
    QLineEdit* EdLogin = nullptr;
    QLineEdit* EdPassword1 = nullptr;
    QLineEdit* EdPassword2 = nullptr;
    QPushButton* Aceptar = nullptr;
    QPushButton* Cancelar = nullptr;
};

// With no account in the database, runs the owner's dialog. False when the dialog was
// cancelled (the program then ends); true once an account exists.
bool ensureOwner(session::AppContext& ctx);

}  // namespace shell
