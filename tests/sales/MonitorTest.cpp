#include "support/CheckoutSeed.h"
#include "support/DbTest.h"

#include "db/procedures/Checkout.h"
#include "db/procedures/Monitor.h"

using namespace db::proc;
using namespace testsupport;

namespace {

const QDate kToday(2026, 3, 2);

class MonitorReads : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped())
            return;
        seedPresentation(db(), 101, QStringLiteral("PARACETAMOL 500MG"), 100);
    }

    // A sale of one line at a moment of its own.
    void saleAt(int facNumero, const QDateTime& at, const char* amount, const QString& estado) {
        db().exec(QStringLiteral("INSERT INTO FACTURA (FacNumero, FacFecha, FacHostName, "
                                 "FacEstado) VALUES (?, ?, 'CAJA1-4', ?)"),
                  {facNumero, at, estado});
        db().exec(QStringLiteral("INSERT INTO DETAFAC (FacNumero, FacFecha, DetaNumero, "
                                 "CodPresentacion, Cantidad, Importe, Estado) "
                                 "VALUES (?, ?, 1, 101, 1, ?, ?)"),
                  {facNumero, at, QVariant::fromValue(money(amount)), estado});
    }
};

TEST_P(MonitorReads, ASaleInThreeStatesGivesThreeRowsEachWithItsOwnSum) {
    seedSale(db(), 1, kToday, QStringLiteral("CAJA1-4"),
             {{101, 1, "2", kDescargado},
              {101, 2, "3", kDevuelto},
              {101, 1, "4"},
              {101, 1, "5", kDescargado}});
    seedSale(db(), 2, kToday, QStringLiteral("CAJA1-4"), {{101, 1, "1"}});

    const std::vector<DaySale> rows = daySales(db(), core::salesMonitorDay(kToday, 0));

    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].FacNumero, 1);
    EXPECT_EQ(rows[0].Estado, kDescargado);
    EXPECT_EQ(rows[0].TOTAL, money("7"));
    EXPECT_EQ(rows[1].Estado, kDevuelto);
    EXPECT_EQ(rows[1].TOTAL, money("6"));
    EXPECT_EQ(rows[2].Estado, kNoDescargado);
    EXPECT_EQ(rows[3].FacNumero, 2);
}

TEST_P(MonitorReads, TheLastSecondOfADayAndTheFirstOfTheNextStayApart) {
    saleAt(1, QDateTime(kToday.addDays(-1), core::kDayLastSecond), "10", kNoDescargado);
    saleAt(1, QDateTime(kToday, core::kDayFirstSecond), "20", kNoDescargado);
    saleAt(1, QDateTime(kToday, core::kDayLastSecond), "30", kDescargado);
    saleAt(1, QDateTime(kToday.addDays(1), core::kDayFirstSecond), "40", kNoDescargado);

    const core::DateTimeRange today = core::salesMonitorDay(kToday, 0);
    const std::vector<DaySale> rows = daySales(db(), today);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].TOTAL, money("30"));
    EXPECT_EQ(rows[1].TOTAL, money("20"));
    EXPECT_EQ(undischargedSales(db(), today), 1);
    EXPECT_EQ(saleTotal(db(), 1, core::salesMonitorDay(kToday, -1)), money("10"));
}

TEST_P(MonitorReads, TheCountIsOfTheDaysSalesNotDischarged) {
    seedSale(db(), 1, kToday, QStringLiteral("CAJA1-4"), {{101, 1, "1"}});
    seedSale(db(), 2, kToday, QStringLiteral("CAJA1-4"), {{101, 1, "1"}});
    seedSale(db(), 3, kToday, QStringLiteral("CAJA1-4"), {{101, 1, "1", kDescargado}});
    setSaleReceipt(db(), 3, kToday, kDescargado, kNotaDeVenta);
    seedSale(db(), 1, kToday.addDays(-1), QStringLiteral("CAJA1-4"), {{101, 1, "1"}});

    EXPECT_EQ(undischargedSales(db(), core::salesMonitorDay(kToday, 0)), 2);
    EXPECT_EQ(undischargedSales(db(), core::salesMonitorDay(kToday, -1)), 1);
    EXPECT_EQ(undischargedSales(db(), core::salesMonitorDay(kToday, -2)), 0);
}

}  // namespace

VELCARIS_DB_TEST_SUITE(MonitorReads);
