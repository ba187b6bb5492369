#include "ui/Clicks.h"

#include <QEvent>
#include <QMouseEvent>
#include <QWidget>

namespace ui {

namespace {

class ClickFilter : public QObject {
public:
    ClickFilter(QWidget* widget, std::function<void()> handler)
        : QObject(widget), handler_(std::move(handler)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == parent() && event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            handler_();
            return true;
        }
        return false;
    }

private:
    std::function<void()> handler_;
};

}  // namespace

void onClick(QWidget* widget, std::function<void()> handler) {
    widget->installEventFilter(new ClickFilter(widget, std::move(handler)));
}

}  // namespace ui
