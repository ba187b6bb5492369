#include "ui/Messages.h"

#include "ui/Activation.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>

namespace ui {

void Messages::notice(const QString& text, Kind kind) {
    const QPointer<QWidget> owner = QApplication::activeWindow();
    boxOpening(owner);
    showNotice(text, kind);
    boxClosed(owner);
}

bool Messages::confirm(const QString& text) {
    const QPointer<QWidget> owner = QApplication::activeWindow();
    boxOpening(owner);
    const bool yes = ask(text);
    boxClosed(owner);
    return yes;
}

bool Messages::confirmEach(const QStringList& texts) {
    for (const QString& t : texts)
        if (!confirm(t))
            return false;
    return true;
}

QString Messages::displayed(const QString& text) {
    QString s = text;
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

// A box belongs to the window whose action raised it, so the window manager keeps it in front
// of that window and gives the activation back to it.
QWidget* DialogMessages::owner() const {
    if (QWidget* active = QApplication::activeWindow())
        return active;
    return parent_;
}

void DialogMessages::showNotice(const QString& text, Kind kind) {
    const QMessageBox::Icon icon = kind == Kind::Error     ? QMessageBox::Critical
                                   : kind == Kind::Warning ? QMessageBox::Warning
                                                           : QMessageBox::Information;
    QMessageBox box(icon, QApplication::applicationName(), displayed(text), QMessageBox::Ok,
                    owner());
    box.exec();
}

bool DialogMessages::ask(const QString& text) {
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), displayed(text),
                    QMessageBox::Yes | QMessageBox::No, owner());
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace ui
