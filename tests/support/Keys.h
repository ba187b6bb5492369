#pragma once

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QString>
#include <QTest>
#include <QWidget>

namespace testsupport {

// The key a character is typed with: Latin-1 keys carry the upper-case character's code.
inline Qt::Key keyOf(QChar c) {
    if (c == QLatin1Char('\r') || c == QLatin1Char('\n'))
        return Qt::Key_Return;
    const QChar upper = c.toUpper();
    return upper.unicode() >= 0x20 && upper.unicode() <= 0xFF ? Qt::Key(upper.unicode())
                                                              : Qt::Key_unknown;
}

// Types text into the widget one character at a time, as key presses and releases that carry
// the character. Unlike QTest::keyClicks this takes any character ("Ñ", "É").
inline void typeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        const QString one = c == QLatin1Char('\n') ? QStringLiteral("\r") : QString(c);
        QKeyEvent press(QEvent::KeyPress, keyOf(c), Qt::NoModifier, one);
        QCoreApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, keyOf(c), Qt::NoModifier, one);
        QCoreApplication::sendEvent(widget, &release);
    }
}

// The window's control of that objectName; a test that names a missing one fails.
template <class W>
W* child(const QObject* window, const char* name) {
    W* found = window->findChild<W*>(QLatin1String(name));
    if (!found)
        ADD_FAILURE() << "no control " << name << " in " << window->objectName().toStdString();
    return found;
}

// Presses and releases one key (Enter, Esc, F4, Ctrl+N, ...).
inline void pressKey(QWidget* widget, Qt::Key key,
                     Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(widget, key, modifiers);
}

}  // namespace testsupport
