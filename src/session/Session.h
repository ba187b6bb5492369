#pragma once

#include "core/DayWindow.h"

#include <QObject>
#include <QString>
#include <optional>

namespace session {

// What a privileged re-authentication opens once it succeeds.
enum class ReauthPurpose { Discount, Accounts, Console };

// The state of one program's session: who is logged in, the sale the seller works on and the
// day it belongs to, what a re-authentication is for and what it granted. Windows read and
// change it here and are told of every change by its signals; no window keeps a copy.
class Session : public QObject {
    Q_OBJECT

public:
    explicit Session(QObject* parent = nullptr);

    // ---- the user ----
    // The logged-in user's code; 0 before a login.
    int userCode() const { return userCode_; }
    QString login() const { return login_; }
    int attendanceId() const { return attendanceId_; }
    // A login succeeded: the user, the attendance row opened for it, and whether the search
    // screen shows the cost figures. Emits loggedIn().
    void logIn(int userCode, const QString& login, int attendanceId, bool costFiguresVisible);
    // The user leaves (change of user, logout): the session's windows close. Emits loggedOut().
    void logOut();

    // Enters at the login window since the last success.
    int loginAttempts() const { return loginAttempts_; }
    int countLoginAttempt() { return ++loginAttempts_; }

    // The text of the main window's user label ("USUARIO: ..." or empty).
    QString userCaption() const { return userCaption_; }
    void setUserCaption(const QString& text);

    // The search screen's margin and cost figures (administrators only), for the session.
    bool costFiguresVisible() const { return costFiguresVisible_; }
    void setCostFiguresVisible(bool visible);

    // ---- the sale ----
    // The sale the counter works on: none (the label reads "V") until one is reserved, and
    // again after it was deleted or discharged.
    std::optional<int> currentSale() const { return currentSale_; }
    // The number last reserved, kept after the current sale is let go (0 before any).
    int saleNumber() const { return saleNumber_; }
    void reserveSale(int number);
    void clearCurrentSale();
    // The sale label's text: the current sale's number, or "V".
    QString saleLabel() const;

    // True until a sale number is reserved and again once a line was added: the next F4
    // reserves a new number instead of handing the current one to this workstation.
    bool newSale() const { return newSale_; }
    void setNewSale(bool value) { newSale_ = value; }

    // The sale-day window the counter's queries use (the day of the current sale).
    core::DateTimeRange saleDay() const { return saleDay_; }
    void setSaleDay(const QDate& day);

    // The sale of the checkout's last discharge (none before one). Emits saleDischarged().
    std::optional<int> lastDischargedSale() const { return lastDischargedSale_; }
    void recordDischarge(int saleNumber);

    // The search screen's search text as typed (what its "Asignar Prod-Lab" hands on).
    QString productSearch() const { return productSearch_; }
    void setProductSearch(const QString& text) { productSearch_ = text; }
    // A window that closes hands the focus back to the search screen's product grid, when that
    // screen is open.
    void requestProductGridFocus() { emit productGridFocusRequested(); }

    // ---- stock intakes ----
    // The supplier, document number and document type of the last intake batch, offered by the
    // next intake window of either kind; empty when the program starts.
    struct IntakeDocument {
        QString supplier;
        QString number;
        QString type;
    };
    const IntakeDocument& intakeDocument() const { return intakeDocument_; }
    void setIntakeDocument(const IntakeDocument& document) { intakeDocument_ = document; }
    // The new-presentation window hands its quantity to an open expiry-date window.
    void offerIntakeUnits(const QString& units) { emit intakeUnitsOffered(units); }

    // ---- re-authentication ----
    ReauthPurpose reauthPurpose() const { return reauthPurpose_; }
    void setReauthPurpose(ReauthPurpose purpose) { reauthPurpose_ = purpose; }
    // A re-authentication for a discount succeeded: the next line may carry a typed price.
    bool discountAllowed() const { return discountAllowed_; }
    void setDiscountAllowed(bool allowed) { discountAllowed_ = allowed; }

    // ---- the program ----
    // Asks the program to end (the third wrong login, the exit commands).
    void requestEnd();

signals:
    void loggedIn();
    void loggedOut();
    void userCaptionChanged(const QString& text);
    void costFiguresVisibleChanged(bool visible);
    void currentSaleChanged(std::optional<int> sale);
    void saleDischarged(int saleNumber);
    void endRequested();
    void productGridFocusRequested();
    void intakeUnitsOffered(const QString& units);

private:
    int userCode_ = 0;
    QString login_;
    int attendanceId_ = 0;
    int loginAttempts_ = 0;
    QString userCaption_;
    bool costFiguresVisible_ = false;
    std::optional<int> currentSale_;
    int saleNumber_ = 0;
    bool newSale_ = true;
    core::DateTimeRange saleDay_;
    std::optional<int> lastDischargedSale_;
    QString productSearch_;
    IntakeDocument intakeDocument_;
    ReauthPurpose reauthPurpose_ = ReauthPurpose::Discount;
    bool discountAllowed_ = false;
};

}  // namespace session
