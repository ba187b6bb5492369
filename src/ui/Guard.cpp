#include "ui/Guard.h"

#include <QLoggingCategory>
#include <exception>

namespace ui {

namespace {

// Off by default; QT_LOGGING_RULES="velcaris.guard.info=true" shows what ended an action.
Q_LOGGING_CATEGORY(lcGuard, "velcaris.guard", QtWarningMsg)

}  // namespace

bool guard(Messages& messages, const std::function<void()>& action, const QString& message,
           Messages::Kind kind) {
    try {
        action();
        return true;
    } catch (const std::exception& e) {
        qCInfo(lcGuard) << "action ended:" << e.what();
    }
    if (!message.isEmpty())
        messages.notice(message, kind);
    return false;
}

bool guard(QWidget* parent, const std::function<void()>& action, const QString& message,
           Messages::Kind kind) {
    DialogMessages messages(parent);
    return guard(messages, action, message, kind);
}

}  // namespace ui
