#pragma once

#include "db/ConnectionInfo.h"

#include <QString>

namespace db {

// The workstation's settings: an INI file in the user's configuration folder
// (~/.config/velcaris/velcaris.ini), each value overridable by an environment variable.
//
//   key               variable               default
//   database/url      VELCARIS_DB            sqlite://<data>/velcaris.db
//   drives/C          VELCARIS_DRIVE_C       <data>/C
//   drives/D          VELCARIS_DRIVE_D       <data>/D
//   drives/E          VELCARIS_DRIVE_E       <data>/E
//   workstation/name  VELCARIS_WORKSTATION   the host name
//
// <data> is the user's data folder (~/.local/share/velcaris). VELCARIS_CONFIG names another
// INI file.
class Settings {
public:
    static Settings load();

    QString iniPath() const { return iniPath_; }
    QString databaseUrl() const { return value(QStringLiteral("database/url")); }
    QString drive(QChar letter) const;
    QString workstation() const { return value(QStringLiteral("workstation/name")); }
    // The shop's business name (`shop/name`), in the main window's title and the about box.
    QString businessName() const {
        return value(QStringLiteral("shop/name"), QStringLiteral("SAUCAL"));
    }

    // Any other key of the INI file, with its environment override if it has one.
    QString value(const QString& key, const QString& fallback = {}) const;
    void setValue(const QString& key, const QString& value);

    static QString dataFolder();

private:
    QString iniPath_;
};

}  // namespace db
