#pragma once

#include "db/Db.h"
#include "db/Settings.h"

#include <memory>

namespace db {

// Connects to the database the settings name and brings its schema up to date (open()). Throws
// Error with a text fit to show the operator.
std::unique_ptr<Db> openConfigured(const Settings& settings);

// Connects to the database and brings its schema up to date (migrate()). A SQLite file gets its
// folder created and is checked before anything writes into it: a damaged one is refused with an
// Error naming it and its newest copy.
std::unique_ptr<Db> open(const ConnectionInfo& info);

}  // namespace db
