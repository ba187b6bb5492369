#pragma once

class QMenu;
class QWidget;

namespace ui {

// Gives the widget its context menu: shown on the right button, and the shortcuts of the menu's
// enabled actions active while the widget has the focus, ahead of the widget's own key bindings
// and of the window's shortcuts (a box's Ctrl+A runs the item, not select-all).
void attachContextMenu(QWidget* widget, QMenu* menu);

}  // namespace ui
