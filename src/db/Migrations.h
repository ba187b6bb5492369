#pragma once

#include "db/Db.h"

namespace db {

// The schema version this program writes: the number of the newest migration it carries.
int latestSchemaVersion(Dialect dialect);
// The version recorded in the database; 0 for an empty one.
int schemaVersion(Db& db);
// Applies, in one transaction, every migration newer than the database's version. A database
// written by a newer program is refused with an Error whose text says so.
void migrate(Db& db);

}  // namespace db
