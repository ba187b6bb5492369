#pragma once

#include <functional>

class QWidget;

namespace ui {

// Runs `handler` each time `window` becomes the active window again: when the user switches
// to it, and when a message box or a preview over it closes. For a window shown inside an MDI
// area, its activation as a sub-window counts too. The handler lives as long as the window.
void onActivation(QWidget* window, std::function<void()> handler);

}  // namespace ui
