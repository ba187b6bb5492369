#pragma once

#include <QString>
#include <QWidget>

namespace ui {

// A control's hint: its tooltip, and the text the main window's status bar shows while the
// mouse is over it.
inline void setHint(QWidget* widget, const QString& hint) {
    widget->setToolTip(hint);
    widget->setStatusTip(hint);
}

}  // namespace ui
