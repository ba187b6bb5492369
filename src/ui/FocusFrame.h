#pragma once

class QWidget;

namespace ui {

// Draws a frame around whichever of the window's boxes, check boxes, buttons and grids has the
// keyboard focus, so a cashier working by keyboard alone always sees where the next key goes.
void showFocusFrame(QWidget* window);

}  // namespace ui
