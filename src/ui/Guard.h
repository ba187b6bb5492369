#pragma once

#include "ui/Messages.h"

#include <QString>
#include <functional>

class QWidget;

namespace ui {

// Runs one user action. A database or run-time error (db::Error, std::exception) ends the
// action and leaves its text as a warning in the program's log; the user is told nothing, or
// `message` when one is given. Returns true when the action ran to its end.
bool guard(Messages& messages, const std::function<void()>& action, const QString& message = {},
           Messages::Kind kind = Messages::Kind::Error);
// The same, telling the user the error's own text, as a default error box does.
bool guardShowingError(Messages& messages, const std::function<void()>& action);
// The same with the real message boxes over `parent`.
bool guard(QWidget* parent, const std::function<void()>& action, const QString& message = {},
           Messages::Kind kind = Messages::Kind::Error);

}  // namespace ui
