#pragma once

#include <QString>

class QFileDialog;
class QWidget;

namespace platform {

// The picture-file dialog: Qt's own dialog (so it behaves the same on every desktop and speaks
// the program's language), listing folders and picture files only, by their names. It never
// opens a file to learn its type or icon: a file of the shop's SQLite database opened and closed
// by this process would drop the process's locks on it, and another workstation could then
// remove the database's journal while this one still writes into it. It starts in the user's
// pictures folder (else the home folder), never in `avoidFolder` (the database's folder).
QFileDialog* newPictureDialog(QWidget* parent, const QString& avoidFolder);

// Runs the dialog; the chosen file's path, empty when cancelled.
QString choosePicture(QWidget* parent, const QString& avoidFolder);

}  // namespace platform
