#include "ui/FocusFrame.h"

#include "ui/Palette.h"

#include <QWidget>

namespace ui {

void showFocusFrame(QWidget* window) {
    const QString colour = palette::blue.name();
    window->setStyleSheet(window->styleSheet() +
                          QStringLiteral("QCheckBox:focus, QPushButton:focus, QLineEdit:focus, "
                                         "QTableView:focus { border: 2px solid %1; }")
                              .arg(colour));
}

}  // namespace ui
