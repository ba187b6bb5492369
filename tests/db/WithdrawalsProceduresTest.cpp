#include "support/CheckoutSeed.h"
#include "support/DbTest.h"

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

// Eight workstations recording at once get eight keys and the total counts each once.
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
