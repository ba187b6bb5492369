#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace ui {

// Every message box of the program goes through here, so that tests can script them.
// In texts, "\r" is a line break.
class Messages {
public:
    enum class Kind { Information, Warning, Error };

    virtual ~Messages() = default;
    // A modal box with one OK button. When it closes, the activation it causes in the window
    // that was active runs before this returns (ui::boxClosed).
    void notice(const QString& text, Kind kind = Kind::Information);
    // Yes and No; true only for Yes. Closes as a notice does.
    bool confirm(const QString& text);
    // A dangerous bulk operation: asks each text in turn and goes on only while answered Yes.
    bool confirmEach(const QStringList& texts);

    // The text as a box shows it: "\r" (and "\r\n") become line breaks.
    static QString displayed(const QString& text);

protected:
    virtual void showNotice(const QString& text, Kind kind) = 0;
    virtual bool ask(const QString& text) = 0;
};

// The real modal dialogs, over the active window (the given parent when none is active).
class DialogMessages : public Messages {
public:
    explicit DialogMessages(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

protected:
    void showNotice(const QString& text, Kind kind) override;
    bool ask(const QString& text) override;

private:
    QWidget* owner() const;

    QWidget* parent_;
};

}  // namespace ui
