#pragma once

class QLineEdit;
class QWidget;

namespace ui {

// Shows every character typed into the box as "#", as the program's password boxes do; the
// box's text stays the real one.
void hashEcho(QLineEdit* box);

// Moves a top-level window to the middle of the screen it is on.
void centreOnDesktop(QWidget* window);

}  // namespace ui
