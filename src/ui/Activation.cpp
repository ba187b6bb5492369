#include "ui/Activation.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <vector>

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

enum class Modal { None, Window, Box };

class ActivationWatch;

std::vector<ActivationWatch*>& watches() {
    static std::vector<ActivationWatch*> all;
    return all;
}

// Watches one window and runs the handler when it turns from inactive to active. Both the
// window's own WindowActivate and, inside an MDI area, its sub-window's activation count; the
// state keeps the two from running the handler twice for one activation. A modal window or box
// over it runs the handler as it closes (`returned`), and the window manager's activation that
// follows finds the window active already. The filter is a child of the window, so it goes
// with it.
class ActivationWatch : public QObject {
public:
    ActivationWatch(QWidget* window, std::function<void()> handler, BoxActivation boxes)
        : QObject(window), window_(window), handler_(std::move(handler)), boxes_(boxes) {
        watches().push_back(this);
        followSubWindow();
        // Another window taking the focus ends this one's activation even when the toolkit
        // never counted it active (a box closed and the window manager chose another window).
        connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* focus) {
            if (focus && !isPopup(focus) && focus != window_->window()->windowHandle())
                active_ = false;
        });
    }
    ~ActivationWatch() override { std::erase(watches(), this); }

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

    bool covers(const QWidget* owner) const {
        return window_->isVisible() && window_->window() == owner && isCurrentSubWindow();
    }

    void opening(Modal modal) {
        active_ = false;
        modal_ = modal;
    }

    void returned() {
        becomeActive();
        modal_ = Modal::None;
    }

private:
    static bool isPopup(const QWindow* w) {
        return w->type() == Qt::Popup || w->type() == Qt::ToolTip;
    }

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
        if (running_ || (modal_ == Modal::Box && boxes_ == BoxActivation::None))
            return;
        // A box the handler itself shows (an error of the activation) does not run it again.
        running_ = true;
        const QPointer<ActivationWatch> alive = this;
        try {
            handler_();
        } catch (...) {
            if (alive)
                running_ = false;
            throw;
        }
        if (alive)
            running_ = false;
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
    BoxActivation boxes_;
    QPointer<QMdiSubWindow> sub_;
    QMetaObject::Connection subConnection_;
    bool active_ = false;
    bool running_ = false;
    Modal modal_ = Modal::None;
};

std::vector<QPointer<ActivationWatch>> watchesOf(const QWidget* owner) {
    std::vector<QPointer<ActivationWatch>> out;
    if (owner)
        for (ActivationWatch* w : watches())
            if (w->covers(owner))
                out.emplace_back(w);
    return out;
}

void opening(const QWidget* owner, Modal modal) {
    for (const auto& w : watchesOf(owner))
        w->opening(modal);
}

// Hands the activation back to `owner` and runs its handlers now. A handler may close windows,
// so each watch is checked again before it runs.
void returned(QWidget* owner) {
    if (!owner || !owner->isVisible())
        return;
    if (QApplication::activeWindow() != owner)
        owner->activateWindow();
    for (const auto& w : watchesOf(owner))
        if (w)
            w->returned();
}

}  // namespace

void onActivation(QWidget* window, std::function<void()> handler, BoxActivation boxes) {
    window->installEventFilter(new ActivationWatch(window, std::move(handler), boxes));
}

int execModal(QDialog& dialog) {
    const QPointer<QWidget> before = QApplication::activeWindow();
    opening(before, Modal::Window);
    const int result = dialog.exec();
    returned(before);
    return result;
}

void boxOpening(QWidget* owner) {
    opening(owner, Modal::Box);
}

void boxClosed(QWidget* owner) {
    returned(owner);
}

}  // namespace ui
