#pragma once

class QMdiArea;
class QWidget;

namespace core {
class Clock;
}
namespace db {
class Db;
class Settings;
}  // namespace db
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

// What every window receives in its constructor: nothing in the program is a hidden global, so
// a test builds a whole program around a throwaway database.
struct AppContext {
    db::Db& db;
    db::Settings& settings;
    core::Clock& clock;
    ui::Messages& messages;
    platform::Platform& platform;
    TDM& dm;
    Session& session;
    Commands& commands;
    // Set by the main window once it exists: the parent of the program's top-level windows and
    // the desktop its sub-windows open on. Without them (a window tested alone) windows are
    // top-level.
    QWidget* mainWindow = nullptr;
    QMdiArea* desktop = nullptr;
};

}  // namespace session
