#pragma once

#include "core/Money.h"
#include "session/AppContext.h"

#include <QWidget>

class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace stock {

class IntakeDocument;

// "INGRESO DE MERCADERIA, EXISTENTE EN FARMACIA": batches of the presentation current when the
// window opened are staged, applied with a new cost and confirmed with new prices. Leaving an
// intake unconfirmed undoes it.
class TFrmMasStock : public QWidget {
    Q_OBJECT

public:
    // Ready (nothing staged), staged, applied (only confirming or leaving remain), confirmed.
    enum class State { Ready, Staged, Applied, Confirmed };

    static TFrmMasStock* open(session::AppContext& ctx);

    State state() const { return state_; }

private:
    TFrmMasStock(session::AppContext& ctx, int presentation, const QString& product);
    void build();
    QWidget* buildNewPrices();
    void wire();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void enterIn(QObject* watched);
    void closeEvent(QCloseEvent* event) override;
    bool underWay() const { return state_ == State::Staged || state_ == State::Applied; }

    void activated();
    void startAfresh();
    void showBefore();

    void PcEnter();
    void CantidadEnter();
    void StockEnter();
    void NPCEnter();
    void NPGEnter();
    void NPVEnter();

    void IngresoClick();
    bool batchChecked();
    void stage(int units);
    void AveriguarClick();
    void apply();
    void IngresarClick();
    void confirm();
    bool roleRefused();
    bool undo();

    session::AppContext& ctx_;
    const int presentation_;
    const QString product_;
    State state_ = State::Ready;
    int intake_ = 0;  // the intake number; 0 until the first batch
    int staged_ = 0;  // units staged and not yet confirmed
    double rate_ = 0;

    QLabel* PRODUCTO = nullptr;
    QLabel* PRESENTACION = nullptr;
    QLabel* AVISO = nullptr;
    QLabel* antes = nullptr;
    QLineEdit* Pc = nullptr;
    QLineEdit* Cantidad = nullptr;
    QRadioButton* CON = nullptr;
    QRadioButton* SIN = nullptr;
    QLineEdit* Stock = nullptr;
    QDateTimeEdit* DateTimePicker1 = nullptr;
    QPushButton* Ingreso = nullptr;
    QLabel* S = nullptr;
    IntakeDocument* document_ = nullptr;
    QWidget* Nuevo = nullptr;
    QLineEdit* NPC = nullptr;
    QLineEdit* NPG = nullptr;
    QLineEdit* NPV = nullptr;
    QPushButton* Averiguar = nullptr;
    QPushButton* Ingresar = nullptr;
    QPushButton* Salir = nullptr;
};

}  // namespace stock
