#pragma once

#include <QString>
#include <functional>

namespace platform {

// Maps a Windows path of the program onto the folders that stand for its drives:
// "D:\SFS\DATA\" becomes "<folder of D>/SFS/DATA/" (drive letter in either case). A path
// without a drive letter comes back with its backslashes turned into slashes.
QString mapWindowsPath(const QString& windowsPath,
                       const std::function<QString(QChar letter)>& driveFolder);

}  // namespace platform
