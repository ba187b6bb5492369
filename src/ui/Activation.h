#pragma once

#include <functional>

class QDialog;
class QWidget;

namespace ui {

// Runs `handler` each time `window` becomes active again: when the user switches to it, and
// when a message box or a preview over it closes. A window shown inside an MDI area counts as
// active while it is the area's current sub-window and the main window is active; switching
// between sub-windows activates the one switched to. The handler lives as long as the window.
void onActivation(QWidget* window, std::function<void()> handler);

// Runs a modal dialog and afterwards gives the activation back to the window that was active
// before it, as a window manager does, so that window's activation handlers run. Every modal
// box and preview of the program opens through here.
int execModal(QDialog& dialog);

}  // namespace ui
