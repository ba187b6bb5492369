#include "session/Session.h"

namespace session {

Session::Session(QObject* parent) : QObject(parent) {}

void Session::logIn(int userCode, const QString& login, int attendanceId, bool costFiguresVisible) {
    userCode_ = userCode;
    login_ = login;
    attendanceId_ = attendanceId;
    loginAttempts_ = 0;
    costFiguresVisible_ = costFiguresVisible;
    // A login starts without a sale: another user's sale is never carried over to this one.
    currentSale_.reset();
    newSale_ = true;
    emit currentSaleChanged(currentSale_);
    setUserCaption(QStringLiteral("USUARIO: ") + login);
    emit loggedIn();
}

void Session::logOut() {
    emit loggedOut();
}

void Session::setUserCaption(const QString& text) {
    userCaption_ = text;
    emit userCaptionChanged(text);
}

void Session::setCostFiguresVisible(bool visible) {
    costFiguresVisible_ = visible;
    emit costFiguresVisibleChanged(visible);
}

void Session::reserveSale(int number) {
    saleNumber_ = number;
    currentSale_ = number;
    newSale_ = false;
    emit currentSaleChanged(currentSale_);
}

void Session::clearCurrentSale() {
    currentSale_.reset();
    emit currentSaleChanged(currentSale_);
}

QString Session::saleLabel() const {
    return currentSale_ ? QString::number(*currentSale_) : QStringLiteral("V");
}

void Session::setSaleDay(const QDate& day) {
    saleDay_ = core::saleDay(day);
}

void Session::recordDischarge(int saleNumber) {
    lastDischargedSale_ = saleNumber;
    emit saleDischarged(saleNumber);
}

void Session::requestEnd() {
    emit endRequested();
}

}  // namespace session
