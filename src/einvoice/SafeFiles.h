#pragma once

#include <QString>

class QFile;

// What the tax files share to reach the disk safely in the tool's folder.
namespace einvoice::safefiles {

// The folder the tax authority's tool reads its files from, on the workstation's drive D:.
inline constexpr const char* kToolFolder = "D:\\SFS_v1.3.4.4\\sunat_archivos\\sfs\\DATA\\";

// Asks the system to start writing a file's data to the disk without waiting: files written
// together then go out in one pass, and the syncs that follow wait for it.
void startWriting(QFile& file);
// Makes the names given in a folder survive a power cut. (QFile does not open a folder.)
bool syncFolder(const QString& folder);
// Gives the file its name only while no file has it; false when one has it or the renaming
// failed. A file system without the atomic form is asked first whether the name is free.
bool renamedWithoutReplacing(const QString& from, const QString& to);
// A computer name as temporary names carry it: percent-encoded, so it holds no ".".
QString encodedWorkstation(const QString& workstation);
// A token that makes a writer's temporary names its own: the encoded workstation, "." and a
// random part.
QString writerToken(const QString& workstation);

}  // namespace einvoice::safefiles
