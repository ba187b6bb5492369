#include "support/DbTest.h"

#include "db/procedures/Messages.h"

#include <QSet>
#include <mutex>

using namespace db::proc;

namespace {

const QDateTime kNow(QDate(2026, 3, 7), QTime(10, 0));

class MessagesProcedures : public testsupport::DbTest {
protected:
    int rows() { return db::integer(db().scalar(QStringLiteral("SELECT COUNT(*) FROM MENSAJE"))); }
};

VELCARIS_DB_TEST_SUITE(MessagesProcedures);

// A message is left only for a workstation of that name seen within the last 90 seconds.
TEST_P(MessagesProcedures, AMessageReachesOnlyARunningWorkstation) {
    registraEstacion(db(), QStringLiteral("caja2"), kNow.addSecs(-kStationAliveSeconds));
    registraEstacion(db(), QStringLiteral("CAJA3"), kNow);
    detieneEstacion(db(), QStringLiteral("CAJA3"));
    registraEstacion(db(), QStringLiteral("CAJA4"), kNow.addSecs(-kStationAliveSeconds - 1));
    struct Case {
        const char* to;
        bool left;
    };
    for (const Case& c : {Case{"CAJA2", true}, Case{" caja2 ", true}, Case{"NOEXISTE", false},
                          Case{"CAJA3", false}, Case{"CAJA4", false}}) {
        const int before = rows();
        const QString to = QString::fromLatin1(c.to);
        if (c.left)
            KZ_MensajeActualizaPC(db(), {QStringLiteral("HOLA"), to, QStringLiteral("CAJA1")},
                                  kNow);
        else
            EXPECT_THROW(KZ_MensajeActualizaPC(db(), {QStringLiteral("HOLA"), to, {}}, kNow),
                         db::Error);
        EXPECT_EQ(rows(), before + (c.left ? 1 : 0)) << c.to;
    }
    EXPECT_EQ(reclamaMensajes(db(), QStringLiteral("CAJA2")).size(), 2u);
}

// Eight workstations sending at once get eight keys; two programs polling one name at once claim
// each message once.
TEST_P(MessagesProcedures, EachMessageIsKeyedAndClaimedOnce) {
    registraEstacion(db(), QStringLiteral("CAJA2"), kNow);
    concurrently(8, [](int i, db::Db& connection) {
        KZ_MensajeActualizaPC(connection,
                              {QStringLiteral("TEXTO %1\r\nLINEA").arg(i), QStringLiteral("CAJA2"),
                               QStringLiteral("CAJA%1").arg(i + 3)},
                              kNow);
    });
    std::mutex mutex;
    QList<int> claimed;
    concurrently(3, [&](int, db::Db& connection) {
        for (const MensajeRecibido& m : reclamaMensajes(connection, QStringLiteral("CAJA2"))) {
            const std::lock_guard<std::mutex> lock(mutex);
            claimed << m.MenCod;
        }
    });
    EXPECT_EQ(QSet<int>(claimed.begin(), claimed.end()), (QSet<int>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(claimed.size(), 8);
    EXPECT_TRUE(reclamaMensajes(db(), QStringLiteral("CAJA2")).empty());
}

}  // namespace
