#include "db/Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QSysInfo>

namespace db {

namespace {

struct Known {
    const char* key;
    const char* variable;
};

constexpr Known kKnown[] = {
    {"database/url", "VELCARIS_DB"},
    {"drives/C", "VELCARIS_DRIVE_C"},
    {"drives/D", "VELCARIS_DRIVE_D"},
    {"drives/E", "VELCARIS_DRIVE_E"},
    {"workstation/name", "VELCARIS_WORKSTATION"},
};

QString variableFor(const QString& key) {
    for (const Known& k : kKnown)
        if (key == QLatin1String(k.key))
            return QString::fromLatin1(k.variable);
    return {};
}

QString defaultFor(const QString& key) {
    const QString data = Settings::dataFolder();
    if (key == QLatin1String("database/url"))
        return QStringLiteral("sqlite://") + data + QStringLiteral("/velcaris.db");
    if (key.startsWith(QLatin1String("drives/")))
        return data + QLatin1Char('/') + key.mid(7);
    if (key == QLatin1String("workstation/name"))
        return QSysInfo::machineHostName().toUpper();
    return {};
}

}  // namespace

QString Settings::dataFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/velcaris");
}

Settings Settings::load() {
    Settings s;
    const QString explicitPath = qEnvironmentVariable("VELCARIS_CONFIG");
    s.iniPath_ = !explicitPath.isEmpty()
                     ? explicitPath
                     : QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                           QStringLiteral("/velcaris/velcaris.ini");
    return s;
}

QString Settings::drive(QChar letter) const {
    return value(QStringLiteral("drives/") + letter.toUpper());
}

QString Settings::value(const QString& key, const QString& fallback) const {
    const QString variable = variableFor(key);
    if (!variable.isEmpty() && qEnvironmentVariableIsSet(variable.toLatin1().constData()))
        return qEnvironmentVariable(variable.toLatin1().constData());
    const QSettings ini(iniPath_, QSettings::IniFormat);
    if (ini.contains(key))
        return ini.value(key).toString();
    const QString d = defaultFor(key);
    return d.isEmpty() ? fallback : d;
}

void Settings::setValue(const QString& key, const QString& value) {
    QDir().mkpath(QFileInfo(iniPath_).absolutePath());
    QSettings ini(iniPath_, QSettings::IniFormat);
    ini.setValue(key, value);
}

}  // namespace db
