#include "support/CheckoutSeed.h"
#include "support/DbTest.h"
#include "support/Seed.h"

#include "db/procedures/Withdrawals.h"

#include <QSet>
#include <mutex>

using namespace db::proc;
using testsupport::money;

namespace {

class WithdrawalsProcedures : public testsupport::DbTest {
protected:
    const QDateTime now{QDate(2026, 3, 7), QTime(10, 0)};
    QDateTime from() { return now.addDays(-1); }
    QDateTime to() { return now.addDays(1); }
};

VELCARIS_DB_TEST_SUITE(WithdrawalsProcedures);

// A withdrawal is listed first, with its user's full name, and the total grows by its amount.
TEST_P(WithdrawalsProcedures, AWithdrawalIsListedFirstAndTotalled) {
    testsupport::seedUser(db(), 7, QStringLiteral("ANA"), QStringLiteral("x"),
                          QStringLiteral("ADMINISTRADOR"), QStringLiteral("ACTIVO"),
                          QStringLiteral("ANA MARIA"), QStringLiteral("QUISPE ROJAS"));
    EXPECT_EQ(totalEgresos(db(), from(), to()), core::Money());
    struct Case {
        const char* amount;
        const char* total;
        int user;
        const char* name;
    };
    for (const Case& c :
         {Case{"3.25", "3.25", 0, ""}, Case{"12.50", "15.75", 7, "ANA MARIA, QUISPE ROJAS"}}) {
        const IngresoEgresoOut out = KZ_IngresoEgreso(
            db(), {money(c.amount), QStringLiteral("PAGO\nAGUA"), c.user}, now.addSecs(c.user));
        const std::vector<EgresoRow> rows = egresos(db(), from(), to());
        ASSERT_FALSE(rows.empty());
        EXPECT_EQ(rows.front().EgreCod, out.EgreCod);
        EXPECT_EQ(rows.front().EgreMonto, money(c.amount));
        EXPECT_EQ(rows.front().UsuCod, c.user);
        EXPECT_EQ(rows.front().NOMBRE_COMPLETO, QString::fromLatin1(c.name));
        EXPECT_EQ(totalEgresos(db(), from(), to()), money(c.total));
    }
    EXPECT_TRUE(egresos(db(), to(), to().addDays(1)).empty());
}

TEST_P(WithdrawalsProcedures, EightWorkstationsRecordingAtOnceGetEightKeys) {
    std::mutex mutex;
    QSet<int> keys;
    concurrently(8, [&](int, db::Db& connection) {
        const int key =
            KZ_IngresoEgreso(connection, {money("1"), QStringLiteral("X"), 1}, now).EgreCod;
        const std::lock_guard<std::mutex> lock(mutex);
        keys << key;
    });
    EXPECT_EQ(keys, (QSet<int>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(totalEgresos(db(), from(), to()), money("8"));
}

}  // namespace
