#pragma once

#include <functional>

class QDialog;
class QWidget;

namespace ui {

// Whether a message box over a window counts as an activation of that window when it closes.
// Some windows count only the return from another window of the program.
enum class BoxActivation { Runs, None };

// Runs `handler` each time `window` becomes active again: when the user switches to it, and when
// a modal window, a preview or (unless `boxes` is None) a message box over it closes. A window
// shown inside an MDI area counts as active while it is the area's current sub-window and the
// main window is active; switching between sub-windows activates the one switched to. The
// handler lives as long as the window.
//
// The activation a modal window of the program causes runs as it closes, before the code that
// opened it goes on, and once: the window manager's later activation of the same window runs
// nothing again.
void onActivation(QWidget* window, std::function<void()> handler,
                  BoxActivation boxes = BoxActivation::Runs);

// Runs a modal dialog (a window of the program or a preview) over the active window and then
// gives the activation back to that window, running its activation handlers before it returns.
int execModal(QDialog& dialog);

// The two halves of a modal message box over `owner` (the window that was active when it
// opened), for the message services: `boxOpening` before it shows, `boxClosed` after it closed,
// which runs the owner's activation handlers that count message boxes.
void boxOpening(QWidget* owner);
void boxClosed(QWidget* owner);

}  // namespace ui
