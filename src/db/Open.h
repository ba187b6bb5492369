#pragma once

#include "db/Db.h"
#include "db/Settings.h"

#include <memory>

namespace db {

// Connects to the database the settings name (creating the folder of a SQLite file) and brings
// its schema up to date. Throws Error with a text fit to show the operator.
std::unique_ptr<Db> openConfigured(const Settings& settings);

}  // namespace db
