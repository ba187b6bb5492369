#pragma once

#include "db/Db.h"

#include <QStringList>

namespace db {

// Loads a small, always identical pharmacy (users, branch, tax setting, catalogue, suppliers) in
// one transaction, provided USUARIO holds no row yet. Returns false and changes nothing otherwise.
bool loadDemoShop(Db& db);

// The logins of the demo accounts, by user code; every one's password is the login itself.
QStringList demoLogins();

}  // namespace db
