#pragma once

#include <functional>

class QWidget;

namespace ui {

// Runs `handler` when the left mouse button is released over `widget` (labels and pictures
// that act as buttons). The handler lives as long as the widget.
void onClick(QWidget* widget, std::function<void()> handler);

}  // namespace ui
