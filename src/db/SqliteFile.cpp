#include "db/SqliteFile.h"

#include "db/Db.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSqlError>
#include <atomic>
#include <filesystem>
#include <map>

namespace db::sqlitefile {

namespace {

constexpr int kCopiesKept = 3;

std::atomic<int> checkSerial{0};

// SQLITE_CORRUPT and SQLITE_NOTADB: the file's content is damaged. Any other failure (busy,
// unreadable) is no finding; the program's own connection reports it.
bool isDamage(const QSqlError& error) {
    const int code = error.nativeErrorCode().toInt() & 0xff;
    return code == 11 || code == 26;
}

// The first problem PRAGMA quick_check reports; empty for a sound file.
QString firstProblem(QSqlDatabase& d) {
    if (!d.open())
        return isDamage(d.lastError()) ? d.lastError().text() : QString();
    QSqlQuery q(d);
    if (!q.exec(QStringLiteral("PRAGMA quick_check")))
        return isDamage(q.lastError()) ? q.lastError().text() : QString();
    if (!q.next())
        return {};
    const QString answer = q.value(0).toString();
    return answer == QLatin1String("ok") ? QString() : answer;
}

QString quickCheck(const QString& path) {
    const QString name = QStringLiteral("velcaris-check-%1").arg(++checkSerial);
    QString problem;
    {
        QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        d.setDatabaseName(path);
        d.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=30000"));
        problem = firstProblem(d);
        d.close();
    }
    QSqlDatabase::removeDatabase(name);
    return problem.simplified().left(160);
}

QString damaged(const QString& path, const QString& problem) {
    const QStringList copies = copiesOf(path);
    const QString newest =
        copies.isEmpty() ? QStringLiteral("No hay ninguna copia (%1.before-NNN) junto a ella.")
                               .arg(QFileInfo(path).fileName())
                         : QStringLiteral("La copia más reciente es %1.").arg(copies.back());
    return QStringLiteral(
               "la base de datos está dañada (%1). El programa se detiene sin "
               "escribir en ella. ")
               .arg(problem) +
           newest;
}

// Copies by their migration number.
std::map<int, QString> numberedCopies(const QString& path) {
    const QFileInfo file(path);
    const QRegularExpression copyName(
        QStringLiteral("^%1\\.before-(\\d{3})$").arg(QRegularExpression::escape(file.fileName())));
    std::map<int, QString> out;
    const QDir dir = file.absoluteDir();
    for (const QString& name : dir.entryList(QDir::Files)) {
        const QRegularExpressionMatch m = copyName.match(name);
        if (m.hasMatch())
            out[m.captured(1).toInt()] = dir.filePath(name);
    }
    return out;
}

void keepNewest(const QString& path) {
    const std::map<int, QString> copies = numberedCopies(path);
    auto end = copies.begin();
    std::advance(end, std::max(0, int(copies.size()) - kCopiesKept));
    for (auto it = copies.begin(); it != end; ++it)
        QFile::remove(it->second);
}

Error copyFailed(const QString& copy, const QString& why) {
    return Error(
        copy, QStringLiteral("no se pudo copiar la base de datos antes de actualizarla: ") + why);
}

}  // namespace

bool isFile(const ConnectionInfo& info) {
    return info.dialect == Dialect::SQLite && info.path != QStringLiteral(":memory:");
}

void checkIntact(const QString& path) {
    if (QFileInfo(path).size() == 0)
        return;  // none yet, or created and never written
    const QString problem = quickCheck(path);
    if (!problem.isEmpty())
        throw Error(path, damaged(path, problem));
}

QStringList copiesOf(const QString& path) {
    QStringList out;
    for (const auto& [number, copy] : numberedCopies(path))
        out << copy;
    return out;
}

QString copyBefore(Db& db, int migration) {
    const QString copy =
        db.info().path + QStringLiteral(".before-%1").arg(migration, 3, 10, QLatin1Char('0'));
    // Made under a name of its own and then renamed: a copy is complete or absent.
    const QString partial = copy + QLatin1Char('.') +
                            QString::number(QRandomGenerator::system()->generate64(), 36) +
                            QStringLiteral(".tmp");
    try {
        db.exec(QStringLiteral("VACUUM INTO ?"), {partial});
    } catch (const Error& e) {
        QFile::remove(partial);
        throw copyFailed(copy, e.serverText());
    }
    std::error_code ec;
    std::filesystem::rename(partial.toStdString(), copy.toStdString(), ec);
    if (ec) {
        QFile::remove(partial);
        throw copyFailed(copy, QString::fromStdString(ec.message()));
    }
    keepNewest(db.info().path);
    return copy;
}

}  // namespace db::sqlitefile
