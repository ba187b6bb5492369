#pragma once

#include "db/Db.h"

#include <map>

namespace db {

// Migration scripts by number.
using Migrations = std::map<int, QString>;

// The program's own migrations of a dialect: the files "NNN_name.sql" it carries.
Migrations migrations(Dialect dialect);
// The schema version this program writes: the number of the newest migration it carries.
int latestSchemaVersion(Dialect dialect);
// The version recorded in the database; 0 for an empty one.
int schemaVersion(Db& db);
// Applies, in one transaction, every migration newer than the database's version (the program's
// own, or `all`). A database written by a newer program is refused with an Error whose text says
// so. Before a migration is applied to a SQLite file that already has a schema, the file is
// copied to "<file>.before-NNN" (NNN: the first migration applied; the newest three copies are
// kept), and a migration that fails leaves the database as it was, with an Error naming the copy.
void migrate(Db& db);
void migrate(Db& db, const Migrations& all);

}  // namespace db
