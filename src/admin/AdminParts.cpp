#include "admin/AdminParts.h"

#include "platform/Platform.h"
#include "ui/FormHelpers.h"
#include "ui/Palette.h"
#include "ui/TextStyle.h"

#include <QEvent>
#include <QLabel>
#include <QPushButton>

namespace admin::parts {

Qt::WindowFlags windowFlags(bool onTop) {
    Qt::WindowFlags flags = Qt::Window | Qt::MSWindowsFixedSizeDialogHint |
                            Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
    if (onTop)
        flags |= Qt::WindowStaysOnTopHint;
    return flags;
}

QLabel* statusText(QWidget* parent, const char* name) {
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setAutoFillBackground(true);
    QPalette p = l->palette();
    p.setColor(QPalette::Window, ui::palette::black);
    l->setPalette(p);
    ui::setTextColour(l, ui::palette::lime);
    ui::setFontSize(l, 10, true);
    l->setMinimumHeight(24);
    l->setWordWrap(true);
    return l;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

void show(QWidget* window) {
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setFixedSize(window->sizeHint().expandedTo(window->minimumSize()));
    ui::centreOnDesktop(window);
    window->show();
    window->raise();
    window->activateWindow();
}

OwnBoxes::OwnBoxes(QWidget* window) : QObject(window) {
    window->installEventFilter(this);
}

void OwnBoxes::own(const std::function<void()>& action) {
    ++running_;
    struct Done {
        int& running;
        ~Done() { --running; }
    } done{running_};
    action();
}

bool OwnBoxes::returning() {
    return std::exchange(left_, false);
}

bool OwnBoxes::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::WindowDeactivate && running_ > 0)
        left_ = true;
    return QObject::eventFilter(watched, event);
}

QString backupFolder(const platform::Platform& platform) {
    return platform.mapPath(QStringLiteral("E:\\Velcaris\\Base de datos"));
}

}  // namespace admin::parts
