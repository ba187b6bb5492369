#include "session/Commands.h"

#include "session/AppContext.h"
#include "session/CommandRules.h"
#include "ui/Guard.h"

namespace session {

void Commands::add(const QString& control, Opener opener) {
    openers_.insert(control, std::move(opener));
}

bool Commands::run(const QString& control, AppContext& context) const {
    const CommandRule* rule = commandRule(control);
    const auto opener = openers_.constFind(control);
    bool passed = false;
    ui::guard(context.messages, [&] {
        if (rule && !runCommandRule(*rule, context))
            return;
        passed = true;
        if (opener != openers_.constEnd() && *opener)
            (*opener)();
    });
    return passed;
}

ReauthWindow* Commands::newReauthWindow(QWidget* parent) const {
    return reauth_ ? reauth_(parent) : nullptr;
}

void Commands::setReauthScreen(ReauthPurpose purpose, ReauthScreen screen) {
    screens_[purpose] = std::move(screen);
}

Commands::ReauthScreen Commands::reauthScreen(ReauthPurpose purpose) const {
    const auto it = screens_.find(purpose);
    return it == screens_.end() ? ReauthScreen() : it->second;
}

}  // namespace session
