#include "core/Roles.h"

namespace core::roles {

namespace {

bool isBlankOrControl(QChar c) {
    return c.unicode() <= 0x20 || c.category() == QChar::Other_Control;
}

}  // namespace

const QStringList& rolesOf(Group group) {
    static const QStringList administrator{ADMINISTRADOR};
    static const QStringList pharmacist{ADMINISTRADOR, QUIMICO_FARMACEUTICO};
    static const QStringList counter{CAJERO, ADMINISTRADOR, QUIMICO_FARMACEUTICO};
    static const QStringList cashier{ADMINISTRADOR, CAJERO};
    static const QStringList backup{AUXILIAR, CAJERO, ADMINISTRADOR, QUIMICO_FARMACEUTICO};
    switch (group) {
        case Group::AdministratorOnly:
            return administrator;
        case Group::AdministratorOrPharmacist:
            return pharmacist;
        case Group::CounterStaff:
            return counter;
        case Group::AdministratorOrCashier:
            return cashier;
        case Group::BackupStaff:
            return backup;
    }
    return administrator;
}

const QStringList& loginRoles() {
    static const QStringList roles{TECNICA, AUXILIAR, ADMINISTRADOR, CAJERO, QUIMICO_FARMACEUTICO};
    return roles;
}

QString trimmed(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlankOrControl(text.at(begin)))
        ++begin;
    while (end > begin && isBlankOrControl(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

bool passes(const QString& role, Group group) {
    return rolesOf(group).contains(trimmed(role));
}

bool mayLogIn(const QString& role) {
    return loginRoles().contains(trimmed(role));
}

QString refusalText(Refusal shape, const QString& sessionName, const QString& detail) {
    const QString name = trimmed(sessionName);
    const QString notAuthorised = name + QStringLiteral(" NO TIENES LA AUTORIZACION PARA\r");
    switch (shape) {
        case Refusal::NotAuthorised:
            return notAuthorised + detail;
        case Refusal::NotAuthorisedNamingProduct:
            return notAuthorised + QStringLiteral("REALIZAR ESTA OPERACION DE ELIMINAR A\r") +
                   trimmed(detail);
        case Refusal::Restricted:
            return name + QStringLiteral(" ACCESO RESTRINGIDO");
        case Refusal::RestrictedDotted:
            return name + QStringLiteral(" ACCESO RESTRINGIDO...");
    }
    return {};
}

}  // namespace core::roles
