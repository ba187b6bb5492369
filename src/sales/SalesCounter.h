#pragma once

#include "core/Money.h"

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>

namespace session {
struct AppContext;
class ReauthWindow;
}  // namespace session

namespace sales {

// What the seller's counter keeps for the whole run, whoever is logged in, and how its windows
// reach each other without knowing each other: the last sale total, the windows last created,
// the search screen's commands whose windows live elsewhere, and the signals the search screen
// answers. One per program (a child of its session), found with of().
class SalesCounter : public QObject {
    Q_OBJECT

public:
    // The search screen's commands that open other windows. Until a module wires its command,
    // the key does nothing.
    enum class Command {
        Quote,             // F1: the quotation of the current presentation
        Checkout,          // F3: trimmed, session-open test passed
        QuickCheckout,     // F9
        EditPresentation,  // "0" in the presentation grid
        ExpiryDate,        // "." in the presentation grid
    };
    using Opener = std::function<void()>;

    // The counter of the program whose context this is.
    static SalesCounter& of(session::AppContext& context);

    void wire(Command command, Opener opener);
    // Runs the command's opener; false when it is not wired.
    bool run(Command command) const;

    // The search screen is open (none while logged out).
    bool searchScreenOpen() const { return searchScreen_ != nullptr; }
    void setSearchScreen(QWidget* screen) { searchScreen_ = screen; }
    QWidget* searchScreen() const { return searchScreen_; }

    core::Money lastSaleTotal;       // the last @pTOTAL received in this run, for any sale
    QPointer<QWidget> quotation;     // the last quotation window created
    QPointer<QWidget> discountAuth;  // the last re-authentication for a discount
    QPointer<QWidget> transfer;      // the sale-note transfer, one for the run

signals:
    // The quotation closed: the search screen takes the focus back.
    void quotationClosed();

private:
    explicit SalesCounter(QObject* owner);

    std::array<Opener, 5> openers_;
    QPointer<QWidget> searchScreen_;
};

}  // namespace sales
