#include "catalogue/ProductScript.h"

#include "platform/Platform.h"

#include <QDir>
#include <QFile>

namespace catalogue {

namespace {

const QString kFolder = QStringLiteral("C:\\Velcaris\\Base de datos");

}  // namespace

QString ProductScript::fileName(const QDate& day) {
    return QStringLiteral("PRODUCTO_") + day.toString(QStringLiteral("dd-MM-yyyy")) +
           QStringLiteral(".sql");
}

QString ProductScript::folder() const {
    return platform_.mapPath(kFolder);
}

QString ProductScript::path(const QDate& day) const {
    return QDir(folder()).filePath(fileName(day));
}

bool ProductScript::append(const QDate& day, const QString& statement) const {
    if (platform_.driveExists(QLatin1Char('C')) && !QDir(folder()).exists())
        QDir().mkpath(folder());
    QFile file(path(day));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const QByteArray line = statement.toUtf8() + '\n';
    return file.write(line) == line.size() && file.flush();
}

}  // namespace catalogue
