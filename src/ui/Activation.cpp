#include "ui/Activation.h"

#include <QEvent>
#include <QWidget>

namespace ui {

namespace {

// Runs the handler on the watched widget's WindowActivate. The filter is a child of the widget,
// so it goes with it.
class ActivationFilter : public QObject {
public:
    ActivationFilter(QWidget* window, std::function<void()> handler)
        : QObject(window), handler_(std::move(handler)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::WindowActivate && watched == parent())
            handler_();
        return false;
    }

private:
    std::function<void()> handler_;
};

}  // namespace

void onActivation(QWidget* window, std::function<void()> handler) {
    window->installEventFilter(new ActivationFilter(window, std::move(handler)));
}

}  // namespace ui
