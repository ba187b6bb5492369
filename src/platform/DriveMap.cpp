#include "platform/DriveMap.h"

namespace platform {

namespace {

bool hasDriveLetter(const QString& path) {
    return path.size() >= 2 && path.at(1) == QLatin1Char(':') && path.at(0).isLetter() &&
           path.at(0).unicode() < 0x80;
}

QString withoutTrailingSlashes(QString folder) {
    while (folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder;
}

}  // namespace

QString mapWindowsPath(const QString& windowsPath,
                       const std::function<QString(QChar letter)>& driveFolder) {
    QString path = windowsPath;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!hasDriveLetter(path))
        return path;
    QString rest = path.mid(2);
    if (!rest.isEmpty() && !rest.startsWith(QLatin1Char('/')))
        rest.prepend(QLatin1Char('/'));
    const QString folder = withoutTrailingSlashes(driveFolder(path.at(0).toUpper()));
    return folder.isEmpty() && rest.isEmpty() ? QStringLiteral("/") : folder + rest;
}

}  // namespace platform
