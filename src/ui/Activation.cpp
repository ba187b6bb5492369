#include "ui/Activation.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QWidget>

namespace ui {

namespace {

// The sub-window that holds `widget` inside an MDI area; none for a window of its own.
QMdiSubWindow* subWindowOf(QWidget* widget) {
    for (QWidget* w = widget; w; w = w->parentWidget()) {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(w))
            return sub;
        if (w->isWindow())
            break;
    }
    return nullptr;
}

// Watches one window and runs the handler when it turns from inactive to active. Both the
// window's own WindowActivate and, inside an MDI area, its sub-window's activation count; the
// state keeps the two from running the handler twice for one activation. The filter is a
// child of the window, so it goes with it.
class ActivationWatch : public QObject {
public:
    ActivationWatch(QWidget* window, std::function<void()> handler)
        : QObject(window), window_(window), handler_(std::move(handler)) {
        followSubWindow();
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != window_)
            return false;
        switch (event->type()) {
            case QEvent::WindowActivate:
                if (isCurrentSubWindow())
                    becomeActive();
                break;
            case QEvent::WindowDeactivate:
                active_ = false;
                break;
            case QEvent::ParentChange:
                followSubWindow();
                break;
            default:
                break;
        }
        return false;
    }

private:
    bool isCurrentSubWindow() const {
        if (!sub_)
            return true;
        const QMdiArea* area = sub_->mdiArea();
        return !area || area->currentSubWindow() == sub_;
    }

    void becomeActive() {
        if (active_)
            return;
        active_ = true;
        handler_();
    }

    void followSubWindow() {
        QMdiSubWindow* sub = subWindowOf(window_);
        if (sub == sub_)
            return;
        disconnect(subConnection_);
        sub_ = sub;
        if (!sub)
            return;
        subConnection_ =
            connect(sub, &QMdiSubWindow::windowStateChanged, this,
                    [this](Qt::WindowStates before, Qt::WindowStates now) {
                        if (now.testFlag(Qt::WindowActive) && !before.testFlag(Qt::WindowActive))
                            becomeActive();
                        else if (!now.testFlag(Qt::WindowActive))
                            active_ = false;
                    });
    }

    QWidget* window_;
    std::function<void()> handler_;
    QPointer<QMdiSubWindow> sub_;
    QMetaObject::Connection subConnection_;
    bool active_ = false;
};

}  // namespace

void onActivation(QWidget* window, std::function<void()> handler) {
    window->installEventFilter(new ActivationWatch(window, std::move(handler)));
}

int execModal(QDialog& dialog) {
    const QPointer<QWidget> before = QApplication::activeWindow();
    const int result = dialog.exec();
    if (before && before->isVisible() && QApplication::activeWindow() != before)
        before->activateWindow();
    return result;
}

}  // namespace ui
