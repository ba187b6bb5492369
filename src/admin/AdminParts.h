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

// Tells a window's activation that comes back from a message box of the window's own action:
// the action runs inside own(), and the first activation after the window lost the activation
// meanwhile gets true from returning(), once, whenever the window manager delivers it.
class OwnBoxes : public QObject {
public:
    explicit OwnBoxes(QWidget* window);
    void own(const std::function<void()>& action);
    bool returning();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int running_ = 0;
    bool left_ = false;
};

// The one folder of the database's copy and its archive on drive E:.
QString backupFolder(const platform::Platform& platform);

}  // namespace admin::parts
