#pragma once

#include "core/Money.h"
#include "db/procedures/Transfer.h"
#include "ui/TableModel.h"

#include <QWidget>
#include <vector>

class QLineEdit;
class QPushButton;
class QTableView;

namespace session {
struct AppContext;
}

namespace sales {

// The notes a transfer of `required` converts, in list order (largest first): every note not
// larger than `required` is added to a running sum, and converted while that sum stays within
// `required`; a larger note is skipped.
std::vector<int> notesToConvert(const std::vector<db::proc::SaleNote>& notes, core::Money required);

// The administrator's transfer of today's discharged sale notes into boletas, largest first,
// up to a required amount. One window for the whole run, hidden when closed.
class TFormTraspasoNotBol : public QWidget {
    Q_OBJECT

public:
    explicit TFormTraspasoNotBol(session::AppContext& context, QWidget* parent = nullptr);

    // The run's window, created on first use, shown in front.
    static TFormTraspasoNotBol* showFor(session::AppContext& context);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void readNotes();
    void SpeedButton1Click();

    session::AppContext& ctx_;
    QDate listDay_;  // the day the notes listed are of
    std::vector<db::proc::SaleNote> notes_;
    ui::VectorModel<db::proc::SaleNote>* model_ = nullptr;

    QLineEdit* EdMonto = nullptr;
    QTableView* DBGrid1 = nullptr;
    QPushButton* SpeedButton1 = nullptr;
};

}  // namespace sales
