#pragma once

#include <QString>
#include <QStringList>

// The role vocabulary (USUARIO.UsuCargo), the groups the commands allow and the refusal texts.
namespace core::roles {

inline const QString ADMINISTRADOR = QStringLiteral("ADMINISTRADOR");
inline const QString QUIMICO_FARMACEUTICO = QStringLiteral("QUIMICO FARMACEUTICO");
inline const QString CAJERO = QStringLiteral("CAJERO");
inline const QString TECNICA = QStringLiteral("TECNICA");
inline const QString AUXILIAR = QStringLiteral("AUXILIAR");
inline const QString CONTADOR = QStringLiteral("CONTADOR");
inline const QString VIGILANTE = QStringLiteral("VIGILANTE");

enum class Group {
    AdministratorOnly,          // ADMINISTRADOR
    AdministratorOrPharmacist,  // + QUIMICO FARMACEUTICO
    CounterStaff,               // CAJERO, ADMINISTRADOR, QUIMICO FARMACEUTICO
    AdministratorOrCashier,     // ADMINISTRADOR, CAJERO
    BackupStaff,                // AUXILIAR, CAJERO, ADMINISTRADOR, QUIMICO FARMACEUTICO
};

// The roles of a group, in the order they are compared.
const QStringList& rolesOf(Group group);
// The roles that may log in.
const QStringList& loginRoles();

// The text without its leading and trailing blanks and control characters (the trimming of
// roles, logins and passwords).
QString trimmed(const QString& text);
// The role check: the trimmed role equals one of the group's roles exactly (case counts).
bool passes(const QString& role, Group group);
// The login's check: the trimmed role is one of the five that may log in.
bool mayLogIn(const QString& role);

// The shapes of a refusal.
enum class Refusal {
    NotAuthorised,               // name + " NO TIENES LA AUTORIZACION PARA" + "\r" + suffix
    NotAuthorisedNamingProduct,  // ... + "\r" + "REALIZAR ESTA OPERACION DE ELIMINAR A" + "\r" +
                                 // product
    Restricted,                  // name + " ACCESO RESTRINGIDO"
    RestrictedDotted,            // name + " ACCESO RESTRINGIDO..."
};

// Suffixes of the not-authorised shape.
inline const QString kOperacion = QStringLiteral("REALIZAR ESTA OPERACION");
inline const QString kOperacionIngreso = QStringLiteral("REALIZAR ESTA OPERACION DE INGRESO...");
inline const QString kOperacionEdicionDots =
    QStringLiteral("REALIZAR ESTA OPERACION DE EDICION...");
inline const QString kOperacionEdicion = QStringLiteral("REALIZAR ESTA OPERACION DE EDICION");
inline const QString kIngresos = QStringLiteral("REALIZAR INGRESOS");

// The refusal message for the session user's name (trimmed here). `detail` is the suffix of the
// not-authorised shape, or the product's commercial name (trimmed here) when naming a product;
// the restricted shapes ignore it.
QString refusalText(Refusal shape, const QString& sessionName, const QString& detail = {});

}  // namespace core::roles
