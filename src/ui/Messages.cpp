#include "ui/Messages.h"

#include "ui/Activation.h"

#include <QApplication>
#include <QMessageBox>

namespace ui {

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

void DialogMessages::notice(const QString& text, Kind kind) {
    const QMessageBox::Icon icon = kind == Kind::Error     ? QMessageBox::Critical
                                   : kind == Kind::Warning ? QMessageBox::Warning
                                                           : QMessageBox::Information;
    QMessageBox box(icon, QApplication::applicationName(), displayed(text), QMessageBox::Ok,
                    parent_);
    execModal(box);
}

bool DialogMessages::confirm(const QString& text) {
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), displayed(text),
                    QMessageBox::Yes | QMessageBox::No, parent_);
    box.setDefaultButton(QMessageBox::No);
    return execModal(box) == QMessageBox::Yes;
}

}  // namespace ui
