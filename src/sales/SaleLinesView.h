#pragma once

#include "core/DayWindow.h"
#include "db/procedures/SaleReads.h"

#include <QColor>
#include <QString>
#include <optional>
#include <vector>

class QLabel;
class QLineEdit;
class QTableView;
class QWidget;

namespace session {
struct AppContext;
}

namespace sales {

class SaleLinesModel;

// The sale a counter screen has loaded, as the checkout and the sales monitor show it: the sale
// number box, the seller's workstation (PC), the total, the seller's photo, the line grid and the
// message bar, with the display rules both screens apply. The widgets go into the owner's
// layouts; `withDate` puts a "FECHA" column first in the line grid.
class SaleLinesView {
public:
    enum class Tint { Notice, Settled };

    SaleLinesView(session::AppContext& context, QWidget* owner, bool withDate);

    // The header row: the caption, the sale number box, PC, the total and the photo.
    QWidget* header(const QString& caption);

    void open(int facNumero, const core::DateTimeRange& window);
    void close();
    const db::proc::SaleLine* firstLine() const;
    const std::vector<db::proc::SaleLine>& lines() const { return lines_; }
    QString totalText() const;

    // The sale number typed, blanks ignored; none when it is not a number.
    std::optional<int> typedNumber() const;

    // PC, the total, the message, the colours and the photo as the first line's state gives
    // them; returns that state (empty without lines).
    QString applyDisplayRules();
    // PC and the total of the loaded sale, without the rules' colours and message.
    void showPcAndTotal();
    void showSellerPhoto();
    void closePhoto();
    void setTint(std::optional<Tint> estado, std::optional<Tint> subTotal);
    void setPcAndTotalColour(const QColor& colour);
    // Empties PC, the total and the message.
    void clearShown();

    // What the start-up refresh does first: nothing shown, the state column as a notice, PC
    // and the total blue, the window's caption naming the session's user.
    void startUp(QWidget* window);
    // The one sale the start-up refresh loads: PC, the total and the photo, both columns as
    // notices.
    void showStartUpSale();
    // No sale loaded, nothing shown.
    void unload();
    // What the openers do after showing the screen: no lines, no total, the state column as a
    // notice, the cursor in the sale number box.
    void startingSteps();
    // The same with the sale number box emptied (Esc in the lines or on a button).
    void closeSale();

    QLineEdit* EdFacNumero = nullptr;
    QLabel* PC = nullptr;
    QLabel* Total = nullptr;
    QLabel* FOTO_CAJERO = nullptr;
    QTableView* DBGrid1 = nullptr;
    QLabel* Mensaje = nullptr;

private:
    session::AppContext& ctx_;
    SaleLinesModel* model_ = nullptr;
    std::vector<db::proc::SaleLine> lines_;
    std::optional<core::Money> total_;
};

}  // namespace sales
