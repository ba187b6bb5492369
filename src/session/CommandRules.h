#pragma once

#include "core/Roles.h"

#include <QString>
#include <optional>
#include <vector>

namespace session {

struct AppContext;

// Who may run a main-window command, and in which order its tests are made.
struct CommandRule {
    QString control;  // objectName of the menu item, button or box
    // The tests in order: 'T' trims the working set, 'S' the session-open test (fails
    // silently), 'R' the role test. The command ends at the first test that fails.
    QString order;
    core::roles::Group group = core::roles::Group::AdministratorOrPharmacist;
    // The refusal of the role test; none: refused silently.
    std::optional<core::roles::Refusal> refusal;
    QString suffix;  // of the not-authorised shape
};

// Every main-window command, one row per control.
const std::vector<CommandRule>& commandRules();
// The row of a control, a main-window command or a context item of the search screen
// (ContextRules.h); nullptr when it has none.
const CommandRule* commandRule(const QString& control);

// Runs the rule's tests in order; a failed role test shows its refusal. True when the command
// may go on.
bool runCommandRule(const CommandRule& rule, AppContext& context);

// The role test of a window's own action: true when the session role is in the group;
// otherwise shows the not-authorised refusal with the suffix.
bool roleAllows(AppContext& context, core::roles::Group group, const QString& suffix);

}  // namespace session
