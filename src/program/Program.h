#pragma once

#include "db/Settings.h"
#include "session/AppContext.h"

#include <memory>

namespace core {
class Clock;
}
namespace db {
class Db;
}
namespace platform {
class Platform;
}
namespace ui {
class Messages;
}

namespace session {
class Commands;
class Session;
class TDM;
}  // namespace session
namespace shell {
class TPRINCIPAL;
}

namespace program {

// Registers every subsystem's commands and services in the context, before the main window
// is built (it asks the registry which of its controls do something).
void registerSubsystems(session::AppContext& context);

// One running program around an open database: the data module, the session, the command
// registry and the main window, with the services every window shares.
class Program {
public:
    // Without `messages` the real message boxes are used; without `clock`, the local clock set
    // to the database server's time.
    Program(std::unique_ptr<db::Db> database, const db::Settings& settings,
            platform::Platform& platform, ui::Messages* messages = nullptr,
            core::Clock* clock = nullptr);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Shows the main window maximised and, once the shop has an account (a shop without one is
    // asked for its owner first), the first login window. False when the owner was not given.
    bool start();

    session::AppContext& context() { return *context_; }
    db::Db& db() { return *db_; }
    session::TDM& dm() { return *dm_; }
    session::Session& session() { return *session_; }
    shell::TPRINCIPAL& principal() { return *principal_; }

private:
    std::unique_ptr<db::Db> db_;
    db::Settings settings_;
    std::unique_ptr<ui::Messages> ownMessages_;
    std::unique_ptr<core::Clock> ownClock_;
    std::unique_ptr<session::TDM> dm_;
    std::unique_ptr<session::Session> session_;
    std::unique_ptr<session::Commands> commands_;
    std::unique_ptr<session::AppContext> context_;
    std::unique_ptr<shell::TPRINCIPAL> principal_;
};

// The graphical program: one copy per workstation (a second one ends at once, silently), the
// application title, the settings, the database, then the Program and its message loop.
// Returns the exit code.
int runGui();

}  // namespace program
