#include "db/ProgramLog.h"

#include "core/Log.h"
#include "db/ConnectionInfo.h"

namespace db {

QString logPath() {
    return Settings::dataFolder() + QStringLiteral("/velcaris.log");
}

void startLog(const Settings& settings) {
    core::log::install(logPath(), ConnectionInfo::secretsOf(settings.databaseUrl()));
}

}  // namespace db
