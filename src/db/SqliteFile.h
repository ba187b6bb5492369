#pragma once

#include "db/ConnectionInfo.h"

#include <QString>
#include <QStringList>

namespace db {

class Db;

// The safety of a shop's SQLite file at start-up: its check before anything writes into it, and
// the copies "<file>.before-NNN" made before migration NNN is applied to it.
namespace sqlitefile {

// A SQLite database in a file (not sqlite::memory:).
bool isFile(const ConnectionInfo& info);

// PRAGMA quick_check on an existing file, through a read-only connection of its own. A damaged
// file throws an Error that names it and its newest copy (or says there is none).
void checkIntact(const QString& path);

// The copies of the file, oldest first.
QStringList copiesOf(const QString& path);

// Copies the database of `db` (VACUUM INTO) to "<file>.before-NNN", NNN being `migration` in
// three digits, replacing a copy of that name, and removes all but the newest three copies.
// Must run outside a transaction. Returns the copy's path; throws Error when it cannot be made.
QString copyBefore(Db& db, int migration);

}  // namespace sqlitefile

}  // namespace db
