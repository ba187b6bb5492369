#include "ui/FormHelpers.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProxyStyle>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <algorithm>

namespace ui {

namespace {

// The application's style, except for the character a password box shows.
class HashEchoStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_LineEdit_PasswordCharacter)
            return QLatin1Char('#').unicode();
        if (hint == SH_LineEdit_PasswordMaskDelay)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

QRect availableArea(const QWidget* window) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

// Moves the window's frame to the middle of the area; a frame larger than the area starts at its
// top left corner, so the window's title and first controls stay reachable.
void centreIn(QWidget* window, const QRect& area) {
    if (area.isEmpty())
        return;
    const QSize frame = window->frameGeometry().size();
    QPoint at = QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, frame, area).topLeft();
    at.setX(std::max(at.x(), area.left()));
    at.setY(std::max(at.y(), area.top()));
    window->move(at);
}

// Centres its window again when a change of size leaves the frame partly off the screen.
class KeepOnScreen : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* window = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::Resize || event->type() == QEvent::Show) {
            const QRect area = availableArea(window);
            if (!area.contains(window->frameGeometry()))
                centreIn(window, area);
        }
        return false;
    }
};

}  // namespace

void hashEcho(QLineEdit* box) {
    auto* style = new HashEchoStyle;
    style->setParent(box);
    box->setStyle(style);
    box->setEchoMode(QLineEdit::Password);
}

void centreOnDesktop(QWidget* window) {
    centreIn(window, availableArea(window));
    static const char* const kKept = "velcaris_kept_on_screen";
    if (window->property(kKept).toBool())
        return;
    window->setProperty(kKept, true);
    window->installEventFilter(new KeepOnScreen(window));
}

void stayOnTop(QWidget* window) {
    window->setWindowFlag(Qt::WindowStaysOnTopHint);
}

void showOnDesktop(QWidget* screen, QMdiArea* desktop, bool maximised) {
    if (!desktop) {
        screen->show();
        return;
    }
    QMdiSubWindow* sub = desktop->addSubWindow(screen);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    if (maximised)
        sub->showMaximized();
    else
        sub->show();
}

void closeOnDesktop(QWidget* screen) {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(screen->parentWidget()))
        sub->close();
    else
        screen->close();
}

}  // namespace ui
