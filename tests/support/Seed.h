#pragma once

#include <QString>

namespace db {
class Db;
}

namespace testsupport {

// One USUARIO row; the password is stored as the program stores it (core::Encripta).
void seedUser(db::Db& db, int code, const QString& login, const QString& password,
              const QString& role, const QString& estado = QStringLiteral("ACTIVO"),
              const QString& nombres = QString(), const QString& apellidos = QString(),
              const QString& tecla = QString());

}  // namespace testsupport
