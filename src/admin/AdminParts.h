#pragma once

#include <qnamespace.h>
#include <QString>

class QLabel;
class QPushButton;
class QWidget;

namespace platform {
class Platform;
}

// Controls and window handling the administration windows share.
namespace admin::parts {

// The window flags of an administration window: fixed, with system and minimise buttons,
// on top of the program's other windows when `onTop`.
Qt::WindowFlags windowFlags(bool onTop);
// A status text: bold lime on black.
QLabel* statusText(QWidget* parent, const char* name);
QPushButton* button(QWidget* parent, const char* name, const QString& caption);
// Shows the window freed when closed, at a fixed size, centred, and activates it.
void show(QWidget* window);

// The one folder of the database's copy and its archive on drive E:.
QString backupFolder(const platform::Platform& platform);

}  // namespace admin::parts
