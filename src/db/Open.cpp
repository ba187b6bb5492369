#include "db/Open.h"

#include "db/Migrations.h"
#include "db/SqliteFile.h"

#include <QDir>
#include <QFileInfo>

namespace db {

std::unique_ptr<Db> openConfigured(const Settings& settings) {
    const auto info = ConnectionInfo::parse(settings.databaseUrl());
    if (!info)
        throw Error(QStringLiteral("configuracion"),
                    QStringLiteral("la direccion de la base de datos no es valida (database/url "
                                   "o VELCARIS_DB)"));
    return open(*info);
}

std::unique_ptr<Db> open(const ConnectionInfo& info) {
    if (sqlitefile::isFile(info)) {
        const QString folder = QFileInfo(info.path).absolutePath();
        if (!QDir().mkpath(folder))
            throw Error(info.display(), QStringLiteral("no se pudo crear la carpeta ") + folder);
        sqlitefile::checkIntact(info.path);
    }
    auto db = std::make_unique<Db>(info);
    migrate(*db);
    return db;
}

}  // namespace db
