#pragma once

class QLineEdit;
class QMdiArea;
class QWidget;

namespace ui {

// Shows every character typed into the box as "#", as the program's password boxes do; the
// box's text stays the real one.
void hashEcho(QLineEdit* box);

// Moves a top-level window to the middle of the screen it is on, and keeps it within that screen:
// whenever its size changes so that its frame no longer fits where it stands (a window that
// grows with its state), it is centred again.
void centreOnDesktop(QWidget* window);

// Keeps a window of its own above the program's other windows, the maximised main window
// included; its message boxes and dialogs are its children, so they stand in front of it. Called
// before the window is first shown.
void stayOnTop(QWidget* window);

// Shows a screen as a sub-window of the desktop that closes with it (maximised when asked);
// without a desktop (a screen tested alone) as a window of its own.
void showOnDesktop(QWidget* screen, QMdiArea* desktop, bool maximised);
// Closes the screen together with its sub-window, so no empty frame is left on the desktop.
void closeOnDesktop(QWidget* screen);

}  // namespace ui
