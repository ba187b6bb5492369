#include "support/Seed.h"

#include "core/Password.h"
#include "db/Db.h"

namespace testsupport {

void seedUser(db::Db& db, int code, const QString& login, const QString& password,
              const QString& role, const QString& estado, const QString& nombres,
              const QString& apellidos, const QString& tecla) {
    db.exec(QStringLiteral("INSERT INTO USUARIO (UsuCod, UsuLogin, UsuPassword, UsuCargo, "
                           "UsuNombres, UsuApellidos, UsuEstado, UsuTecla) "
                           "VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
            {code, login, core::Encripta(password), role, nombres, apellidos, estado, tecla});
}

}  // namespace testsupport
