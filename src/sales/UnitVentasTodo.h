#pragma once

#include "core/DayWindow.h"
#include "db/procedures/Monitor.h"
#include "sales/SaleLinesView.h"

#include <QWidget>
#include <functional>
#include <vector>

class QKeyEvent;
class QLabel;
class QPushButton;
class QTableView;
class QTimer;

namespace session {
struct AppContext;
}

namespace sales {

class DaySalesModel;

// The sales monitor: the sales of today or of one of the ten days before, by line state, the
// lines of one of them and how many are still not discharged. It changes nothing.
class TFormVentasTodo : public QWidget {
    Q_OBJECT

public:
    explicit TFormVentasTodo(session::AppContext& context, QWidget* parent = nullptr);
    ~TFormVentasTodo() override;

    // What the opener does right after showing the monitor.
    void startingSteps();

    // The day offsets of the day buttons, in the order they are shown ("HOY", "1" ... "10").
    static constexpr int kDays = 11;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using Tint = SaleLinesView::Tint;

    void build();
    QWidget* buildDayButtons();
    void wire();

    bool silently(const std::function<void()>& action);
    void setDay(int offset);
    void readList();
    void readCount();
    void open(int facNumero);
    void redCaption(int offset);

    void activated();
    void Timer1Timer();
    void dayClick(int offset);
    void DBGrid3ColEnter();
    void EdFacNumeroEnter();
    void EdFacNumeroEscape();
    void DBGrid3Escape();
    void resetAfterEscape(bool fromLines);

    session::AppContext& ctx_;
    SaleLinesView sale_;
    int offset_ = 0;
    core::DateTimeRange day_;
    std::vector<db::proc::DaySale> list_;
    DaySalesModel* listModel_ = nullptr;

    QTableView* DBGrid3 = nullptr;
    QLabel* ST = nullptr;
    QPushButton* Salir = nullptr;
    std::vector<QPushButton*> dayButtons_;  // by -offset
    QTimer* Timer1 = nullptr;
};

// Opens a new monitor on the desktop and applies the starting steps.
TFormVentasTodo* openSalesMonitor(session::AppContext& context);

}  // namespace sales
