#pragma once

#include "ui/Messages.h"

#include <QList>
#include <QStringList>
#include <functional>

namespace testsupport {

// Records every text shown or asked, in order, and answers questions from a script
// (No once the script runs out).
class ScriptedMessages : public ui::Messages {
public:
    QString last() const { return shown.isEmpty() ? QString() : shown.last(); }
    void clear() {
        shown.clear();
        asked.clear();
        kinds.clear();
    }

    QStringList shown;
    QStringList asked;
    QList<Kind> kinds;
    QList<bool> answers;
    // Runs while each notice is up, as what happens on screen behind a modal box.
    std::function<void()> whileShown;
    // Runs while each question is up.
    std::function<void()> whileAsked;

protected:
    void showNotice(const QString& text, Kind kind) override {
        shown << text;
        kinds << kind;
        if (whileShown)
            whileShown();
    }
    bool ask(const QString& text) override {
        asked << text;
        shown << text;
        kinds << Kind::Information;
        if (whileAsked)
            whileAsked();
        return answers.isEmpty() ? false : answers.takeFirst();
    }
};

}  // namespace testsupport
