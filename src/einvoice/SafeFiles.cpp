#include "einvoice/SafeFiles.h"

#include <fcntl.h>
#include <unistd.h>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QUrl>
#include <cerrno>
#include <cstdio>

namespace einvoice::safefiles {

void startWriting(QFile& f) {
#ifdef __linux__
    ::sync_file_range(f.handle(), 0, 0, SYNC_FILE_RANGE_WRITE);
#else
    Q_UNUSED(f);
#endif
}

bool syncFolder(const QString& folder) {
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

bool renamedWithoutReplacing(const QString& from, const QString& to) {
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    const int renamed =
        ::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE);
    if (renamed == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    return !QFileInfo::exists(to) && ::rename(source.constData(), target.constData()) == 0;
}

QString encodedWorkstation(const QString& workstation) {
    return QString::fromLatin1(QUrl::toPercentEncoding(workstation, {}, "."));
}

QString writerToken(const QString& workstation) {
    return encodedWorkstation(workstation) + QLatin1Char('.') +
           QString::number(QRandomGenerator::system()->generate64(), 36);
}

}  // namespace einvoice::safefiles
