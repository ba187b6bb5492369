#pragma once

#include "db/procedures/Exchange.h"
#include "session/AppContext.h"

#include <QDateTime>
#include <QWidget>

class QComboBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace ui {
template <class Row>
class VectorModel;
}

namespace stock {

class IntakeDocument;

// "Canje de Productos": the batches of the current presentation and the exchanges of the
// selected one; sends units of the batch back to the supplier and receives their replacements.
// Coming back to the window keeps the batch, the exchange, the movement and the boxes chosen.
class TFrmCanje : public QWidget {
    Q_OBJECT

public:
    static TFrmCanje* open(session::AppContext& ctx);

private:
    enum class Mode { None, Send, Receive };

    explicit TFrmCanje(session::AppContext& ctx);
    void build();
    QWidget* buildBoxes();
    void buildGrids();
    void wire();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void activated();

    void readBatches(int keepBatch, int keepExchange);
    void readExchanges(int keepExchange);
    const db::proc::LoteCanje* batch() const;
    const db::proc::CanjeRow* exchange() const;
    void CBEstadoChange();
    void applyMode();

    void SPEditarClick();
    bool unitsChecked();
    void receive(int units);
    void sendBack(int units);
    void refuseUnits(const QString& text);
    void shown(const db::proc::CanjeOut& out);
    void rereadGrids();

    session::AppContext& ctx_;
    int presentation_ = 0;
    QDateTime since_;
    Mode mode_ = Mode::None;
    bool opened_ = false;
    int ownActions_ = 0;
    bool leftForOwnBox_ = false;

    QLabel* STProducto = nullptr;
    QComboBox* CBEstado = nullptr;
    QLineEdit* EdUnidades = nullptr;
    IntakeDocument* document_ = nullptr;
    QDateTimeEdit* DateTimePicker1 = nullptr;
    QTableView* DBGrid1 = nullptr;
    QTableView* DBGrid2 = nullptr;
    ui::VectorModel<db::proc::LoteCanje>* batches_ = nullptr;
    ui::VectorModel<db::proc::CanjeRow>* exchanges_ = nullptr;
    QPushButton* SPEditar = nullptr;
    QPushButton* SpeedButton4 = nullptr;
};

}  // namespace stock
