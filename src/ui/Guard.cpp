#include "ui/Guard.h"

#include <QLoggingCategory>
#include <exception>

namespace ui {

namespace {

// What ended an action goes into the program's log.
Q_LOGGING_CATEGORY(lcGuard, "velcaris.guard", QtWarningMsg)

}  // namespace

bool guard(Messages& messages, const std::function<void()>& action, const QString& message,
           Messages::Kind kind) {
    try {
        action();
        return true;
    } catch (const std::exception& e) {
        qCWarning(lcGuard, "action ended: %s", e.what());
    }
    if (!message.isEmpty())
        messages.notice(message, kind);
    return false;
}

bool guardShowingError(Messages& messages, const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (const std::exception& e) {
        qCWarning(lcGuard, "action ended: %s", e.what());
        messages.notice(QString::fromUtf8(e.what()), Messages::Kind::Error);
    }
    return false;
}

bool guard(QWidget* parent, const std::function<void()>& action, const QString& message,
           Messages::Kind kind) {
    DialogMessages messages(parent);
    return guard(messages, action, message, kind);
}

}  // namespace ui
