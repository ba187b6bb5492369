#include "core/Roles.h"

#include <gtest/gtest.h>

namespace {

using core::roles::Group;
using core::roles::Refusal;

struct RoleCase {
    const char* role;
    Group group;
    bool passes;
};

TEST(Roles, CheckTrimsBlanksAndControlsAndComparesCaseSensitively) {
    const RoleCase cases[] = {
        {"ADMINISTRADOR", Group::AdministratorOnly, true},
        {"  ADMINISTRADOR \t\r\n", Group::AdministratorOnly, true},
        {"\x01" "ADMINISTRADOR\x7f", Group::AdministratorOnly, true},
        {"administrador", Group::AdministratorOnly, false},
        {"Administrador", Group::AdministratorOrPharmacist, false},
        {"ADMIN ISTRADOR", Group::AdministratorOnly, false},
        {"ADMINISTRADORA", Group::AdministratorOnly, false},
        {"", Group::BackupStaff, false},
        {"QUIMICO FARMACEUTICO", Group::AdministratorOnly, false},
        {"QUIMICO FARMACEUTICO", Group::AdministratorOrPharmacist, true},
        {"QUIMICO  FARMACEUTICO", Group::AdministratorOrPharmacist, false},
        {"QUIMICO FARMACEUTICO", Group::CounterStaff, true},
        {"QUIMICO FARMACEUTICO", Group::AdministratorOrCashier, false},
        {"CAJERO", Group::AdministratorOrPharmacist, false},
        {"CAJERO", Group::CounterStaff, true},
        {"CAJERO", Group::AdministratorOrCashier, true},
        {" CAJERO", Group::BackupStaff, true},
        {"AUXILIAR", Group::CounterStaff, false},
        {"AUXILIAR", Group::BackupStaff, true},
        {"TECNICA", Group::BackupStaff, false},
        {"TECNICA", Group::CounterStaff, false},
        {"CONTADOR", Group::BackupStaff, false},
        {"VIGILANTE", Group::BackupStaff, false},
    };
    for (const RoleCase& c : cases)
        EXPECT_EQ(core::roles::passes(QString::fromLatin1(c.role), c.group), c.passes)
            << '"' << c.role << "\" group " << static_cast<int>(c.group);
}

TEST(Roles, OnlyTheSalesStaffMayLogIn) {
    for (const char* role : {"TECNICA", "AUXILIAR", "ADMINISTRADOR", "CAJERO",
                             "QUIMICO FARMACEUTICO", " CAJERO  ", "ADMINISTRADOR "})
        EXPECT_TRUE(core::roles::mayLogIn(QString::fromLatin1(role))) << role;
    for (const char* role : {"CONTADOR", "VIGILANTE", "cajero", "", "GERENTE"})
        EXPECT_FALSE(core::roles::mayLogIn(QString::fromLatin1(role))) << role;
}

TEST(Roles, RefusalShapes) {
    struct Case {
        Refusal shape;
        const char* name;
        QString detail;
        const char* text;
    };
    const Case cases[] = {
        {Refusal::NotAuthorised, " ROSA ", core::roles::kOperacionIngreso,
         "ROSA NO TIENES LA AUTORIZACION PARA\rREALIZAR ESTA OPERACION DE INGRESO..."},
        {Refusal::NotAuthorised, "", core::roles::kOperacion,
         " NO TIENES LA AUTORIZACION PARA\rREALIZAR ESTA OPERACION"},
        {Refusal::NotAuthorised, "LUZ", core::roles::kIngresos,
         "LUZ NO TIENES LA AUTORIZACION PARA\rREALIZAR INGRESOS"},
        {Refusal::NotAuthorised, "LUZ", core::roles::kOperacionEdicion,
         "LUZ NO TIENES LA AUTORIZACION PARA\rREALIZAR ESTA OPERACION DE EDICION"},
        {Refusal::NotAuthorisedNamingProduct, "ROSA", QStringLiteral(" PANADOL  "),
         "ROSA NO TIENES LA AUTORIZACION PARA\rREALIZAR ESTA OPERACION DE ELIMINAR A\rPANADOL"},
        {Refusal::Restricted, "ROSA  ", {}, "ROSA ACCESO RESTRINGIDO"},
        {Refusal::RestrictedDotted, "ROSA", QStringLiteral("ignored"),
         "ROSA ACCESO RESTRINGIDO..."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(core::roles::refusalText(c.shape, QString::fromLatin1(c.name), c.detail),
                  QString::fromLatin1(c.text));
}

}  // namespace
