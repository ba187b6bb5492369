#pragma once

#include "db/Settings.h"

#include <QString>

namespace db {

// The program's log file: velcaris.log in the data folder, next to the default database.
QString logPath();

// Sends the program's messages to its log file (core::log), rotated at 4 MiB with two older
// files kept, the password of the configured database masked. Every mode of the program starts
// it first.
void startLog(const Settings& settings);

}  // namespace db
