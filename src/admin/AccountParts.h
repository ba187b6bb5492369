#pragma once

#include "admin/AdminParts.h"

#include <QString>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// Controls of the user-accounts window.
namespace admin::parts {

// A D.N.I. is exactly this many digits.
inline constexpr int kDniDigits = 8;

// An upper-case box; `size` > 0 caps it at that many characters.
QLineEdit* box(QWidget* parent, const char* name, int size = 0);
// An upper-case password box shown as "#".
QLineEdit* passwordBox(QWidget* parent, const char* name, int size = 0);
// A box of at most `digits` digits: a change that leaves a text not ending in a digit empties it
// and puts the focus in it.
QLineEdit* digitsBox(QWidget* parent, const char* name, int digits);
// An editable upper-case list of choices showing `text`, capped at `size` characters.
QComboBox* choice(QWidget* parent, const char* name, const QStringList& items, const QString& text,
                  int size);
// Enter in `from` (a box, or an editable list's box) puts the focus in `to`.
void moveOnEnter(QWidget* from, QWidget* to);

}  // namespace admin::parts
