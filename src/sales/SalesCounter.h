#pragma once

#include "core/Money.h"

#include <QObject>
#include <QPointer>
#include <array>
#include <functional>

namespace shell {
class TFormLoginPassword;
}

namespace sales {

class TFormBusqueda;
class TFormCotizacion;

// What the seller's counter keeps for the whole run, whoever is logged in: the last sale total,
// the last quotation and re-authentication windows created, and the commands of the search
// screen whose windows live in other modules. One per main window (its child), found with of().
class SalesCounter : public QObject {
    Q_OBJECT

public:
    // The search screen's commands that open other modules' windows. Until a module wires its
    // command, the key does nothing.
    enum class Command {
        Checkout,          // F3: trimmed, session-open test passed
        QuickCheckout,     // F9
        EditPresentation,  // "0" in the presentation grid
        ExpiryDate,        // "." in the presentation grid
    };
    using Opener = std::function<void(TFormBusqueda& screen)>;

    // The counter of the program whose main window (or any object standing for it) is `owner`.
    static SalesCounter& of(QObject* owner);

    void wire(Command command, Opener opener);
    // Runs the command's opener; false when it is not wired.
    bool run(Command command, TFormBusqueda& screen) const;

    core::Money lastSaleTotal;  // the last @pTOTAL received in this run, for whatever sale
    QPointer<TFormBusqueda> searchScreen;              // the session's search screen, while open
    QPointer<TFormCotizacion> quotation;               // the last quotation window created
    QPointer<shell::TFormLoginPassword> discountAuth;  // the last re-authentication for a discount

private:
    explicit SalesCounter(QObject* owner);

    std::array<Opener, 4> openers_;
};

}  // namespace sales
