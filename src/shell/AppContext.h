#pragma once

namespace core {
class Clock;
}
namespace db {
class Db;
class Settings;
}
namespace platform {
class Platform;
}
namespace ui {
class Messages;
}

namespace shell {

class TDM;
class TPRINCIPAL;

// What every window receives in its constructor: nothing in the program is a hidden global, so
// a test builds a whole program around a throwaway database.
struct AppContext {
    db::Db& db;
    db::Settings& settings;
    core::Clock& clock;
    ui::Messages& messages;
    platform::Platform& platform;
    TDM& dm;
    TPRINCIPAL* principal = nullptr;  // set once the main window exists
};

}  // namespace shell
