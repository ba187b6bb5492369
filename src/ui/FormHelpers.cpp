#include "ui/FormHelpers.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProxyStyle>
#include <QScreen>
#include <QStyle>
#include <QWidget>

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

}  // namespace

void hashEcho(QLineEdit* box) {
    auto* style = new HashEchoStyle;
    style->setParent(box);
    box->setStyle(style);
    box->setEchoMode(QLineEdit::Password);
}

void centreOnDesktop(QWidget* window) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    window->setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window->size(),
                                            screen->availableGeometry()));
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
