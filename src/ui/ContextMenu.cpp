#include "ui/ContextMenu.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>

namespace ui {

namespace {

// The menu's shortcuts while the widget has the focus. The widget claims the key before the
// window's shortcuts see it (so the main window's Ctrl+A or Ctrl+P give way, and no shortcut is
// ambiguous) and runs the item on the key press, ahead of its own bindings.
class MenuKeys : public QObject {
public:
    MenuKeys(QWidget* widget, QMenu* menu) : QObject(widget), widget_(widget), menu_(menu) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        const bool press = event->type() == QEvent::KeyPress;
        if (watched != widget_ || (!press && event->type() != QEvent::ShortcutOverride))
            return false;
        QAction* action = actionFor(*static_cast<QKeyEvent*>(event));
        if (!action)
            return false;
        event->accept();
        if (press)
            action->trigger();
        return true;
    }

private:
    QAction* actionFor(const QKeyEvent& key) const {
        if (!menu_)
            return nullptr;
        const QKeySequence pressed(key.keyCombination());
        for (QAction* action : menu_->actions())
            if (action->isEnabled() && !action->shortcut().isEmpty() &&
                action->shortcut() == pressed)
                return action;
        return nullptr;
    }

    QWidget* widget_;
    QPointer<QMenu> menu_;
};

}  // namespace

void attachContextMenu(QWidget* widget, QMenu* menu) {
    for (QAction* action : menu->actions())
        action->setShortcutContext(Qt::WidgetShortcut);
    widget->installEventFilter(new MenuKeys(widget, menu));
    widget->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* scrollArea = qobject_cast<QAbstractScrollArea*>(widget);
    QWidget* surface = scrollArea ? scrollArea->viewport() : widget;
    QObject::connect(widget, &QWidget::customContextMenuRequested, menu,
                     [menu, surface](const QPoint& at) { menu->popup(surface->mapToGlobal(at)); });
}

}  // namespace ui
