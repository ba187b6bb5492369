#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QWidget>

namespace ui {

// The colour a control draws its text in: labels, check boxes, buttons and boxes alike.
inline void setTextColour(QWidget* widget, const QColor& colour) {
    QPalette p = widget->palette();
    p.setColor(QPalette::WindowText, colour);
    p.setColor(QPalette::ButtonText, colour);
    p.setColor(QPalette::Text, colour);
    widget->setPalette(p);
}

// The control's own font at `points`, bold or not.
inline void setFontSize(QWidget* widget, int points, bool bold = false) {
    QFont font = widget->font();
    font.setPointSize(points);
    font.setBold(bold);
    widget->setFont(font);
}

}  // namespace ui
