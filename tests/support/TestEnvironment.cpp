#include "support/TestEnvironment.h"

#include <QDir>
#include <QTemporaryDir>

namespace testsupport {

void useTemporaryHome(const QTemporaryDir& home) {
    if (!qEnvironmentVariableIsSet("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toUtf8());
    qputenv("XDG_CACHE_HOME", (home.path() + QStringLiteral("/cache")).toUtf8());
    QDir(home.path()).mkpath(QStringLiteral("config"));
}

}  // namespace testsupport
