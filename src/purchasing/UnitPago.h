#pragma once

#include "db/procedures/Purchasing.h"
#include "session/AppContext.h"

#include <QWidget>

class QComboBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QPushButton;

namespace purchasing {

namespace parts {
class OwnBoxes;
}

// "VENTANA DE PAGOS": enters a new instalment of an order, or edits one. Hidden, not freed,
// when closed: the order window that created it shows it again.
class TFormPago : public QWidget {
    Q_OBJECT

public:
    TFormPago(session::AppContext& ctx, QWidget* parent);
    // Shows the window for the order's next instalment; it stays open after each one.
    void startNew(int pedNumero);
    // Shows the window on that instalment; it closes once the edit is made.
    void startEdit(const db::proc::PagoRow& pago);

signals:
    void saved();
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void build();
    void wire();
    void activated();
    void present(const QString& title, bool editing);

    void BtnGrabarClick();
    void BtnEditarClick();
    bool typed(db::proc::PagoIn& in);

    session::AppContext& ctx_;
    parts::OwnBoxes* own_ = nullptr;
    int order_ = 0;
    int instalment_ = 0;  // the instalment edited; 0 for a new one

    QLabel* STPago = nullptr;
    QDateTimeEdit* DateTimePicker1 = nullptr;
    QLineEdit* EdMonto = nullptr;
    QComboBox* CbEstado = nullptr;
    QPushButton* BtnGrabar = nullptr;
    QPushButton* BtnEditar = nullptr;
    QPushButton* BtnSalir = nullptr;
};

}  // namespace purchasing
