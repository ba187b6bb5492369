#pragma once

#include "db/ConnectionInfo.h"
#include "db/procedures/Procedure.h"

#include <QDateTime>
#include <QProcessEnvironment>
#include <QStringList>
#include <atomic>

// The shop's database copied to one file while the other workstations work on, packed into an
// archive, and restored from either into a new database.
namespace db::proc {

inline const QString kBackupFile = QStringLiteral("Velcaris_1.kzv");
inline const QString kArchiveFile = QStringLiteral("VelcarisRAR.zip");

struct BacKupBaseDatosIn {
    QString pCarpeta;  // the backup folder; created when its parent (the drive's folder) exists
    const std::atomic<bool>* cancelled = nullptr;  // set: stop, leaving no temporary file
};
struct BacKupBaseDatosOut {
    QString file;
    qint64 size = 0;
    QDateTime at;
};

// A consistent copy of the database `info` names as kBackupFile in the folder: SQLite by VACUUM
// INTO (one read snapshot), PostgreSQL by pg_dump in its custom format. The copy is written
// under a temporary name, checked (SQLite: integrity_check and the schema version; PostgreSQL:
// pg_dump's exit status and pg_restore --list) and only then renamed over the previous one.
// Opens connections of its own, so it may run on a thread of its own. Throws Error with the
// reason; the previous copy is then untouched and no temporary file is left.
BacKupBaseDatosOut KZ_BacKupBaseDatosVelcaris(const ConnectionInfo& info,
                                              const BacKupBaseDatosIn& in);

struct DbaAddRarFileIn {
    QString pFile;      // the copy to pack
    QString Rarfile;    // the archive to write
    QString pPassword;  // empty: a plain zip; otherwise AES-256
};

// Packs the copy into a zip archive under a temporary name, then renames it over the previous
// archive. Throws Error.
void KZ_Dba_AddRarFile(const DbaAddRarFileIn& in);

// Restores a copy (kBackupFile's format, or the archive holding one, opened with `password`)
// into the database `info` names, only when that database is new or empty. Throws Error.
void restoreDatabase(const ConnectionInfo& info, const QString& file, const QString& password);

// What a PostgreSQL tool gets: the server, the user and the database in its arguments, the
// password only in its environment.
QStringList pgArguments(const ConnectionInfo& info);
QProcessEnvironment pgEnvironment(const ConnectionInfo& info);

}  // namespace db::proc
