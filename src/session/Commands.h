#pragma once

#include "session/Session.h"

#include <QHash>
#include <QString>
#include <QWidget>
#include <functional>
#include <map>

namespace session {

struct AppContext;

// A privileged re-authentication window, as the windows that ask for one see it.
class ReauthWindow : public QWidget {
    Q_OBJECT

public:
    using QWidget::QWidget;
    // Sets the session's re-authentication purpose and shows the window, centred.
    virtual void showFor(ReauthPurpose purpose) = 0;
};

// The command registry: every subsystem registers, at start-up, the opener of each menu item,
// toolbar button or box it serves, by the control's objectName. The main window builds its
// controls, asks the registry what each does and disables those nobody registered.
class Commands {
public:
    using Opener = std::function<void()>;
    using ReauthFactory = std::function<ReauthWindow*(QWidget* parent)>;
    // Creates and shows the screen a re-authentication opens; returns it.
    using ReauthScreen = std::function<QWidget*()>;

    // Registers the opener of a control; a second registration of the same name replaces it.
    void add(const QString& control, Opener opener);
    bool has(const QString& control) const { return openers_.contains(control); }

    // What the control does when used: its rule's tests (CommandRules.h), then its opener,
    // inside the action guard. True when the rule passed.
    bool run(const QString& control, AppContext& context) const;

    // The re-authentication window's maker, registered by the module that has it.
    void setReauthFactory(ReauthFactory factory) { reauth_ = std::move(factory); }
    // A new re-authentication window; nullptr when no module provides one.
    ReauthWindow* newReauthWindow(QWidget* parent) const;
    // The screen a re-authentication of the purpose opens, registered by the module that has
    // it; empty when none did.
    void setReauthScreen(ReauthPurpose purpose, ReauthScreen screen);
    ReauthScreen reauthScreen(ReauthPurpose purpose) const;

private:
    QHash<QString, Opener> openers_;
    ReauthFactory reauth_;
    std::map<ReauthPurpose, ReauthScreen> screens_;
};

}  // namespace session
