#pragma once

#include <QString>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class QWidget;

// Controls and window handling the catalogue's windows share.
namespace catalogue::parts {

// An upper-case box of the column's size.
QLineEdit* box(QWidget* parent, const char* name, int size);
// A box of digits only that holds `digits` of them; a change that leaves another character
// empties it and puts the focus in it.
QLineEdit* digitsBox(QWidget* parent, const char* name, int digits);
// A box to choose one of the items or type one, of the column's size, showing `text`.
QComboBox* choice(QWidget* parent, const char* name, const QStringList& items, const QString& text,
                  int size);
// A memo of the column's size.
QPlainTextEdit* memo(QWidget* parent, const char* name, int size);
// A button that leaves Enter to the boxes.
QPushButton* button(QWidget* parent, const char* name, const QString& caption);
// The message strip across a window's top: bold lime on black.
QLabel* messageStrip(QWidget* parent, const char* name);
// A status text in a sunken panel.
QLabel* notice(QWidget* parent, const char* name);

// A navigator of the grid: first, prior, next and last row.
QWidget* navigator(QWidget* parent, const char* name, QTableView* grid);

// Shows a catalogue window over the main window (freed when closed, on top, a fixed size,
// centred) and activates it.
void show(QWidget* window);

}  // namespace catalogue::parts
