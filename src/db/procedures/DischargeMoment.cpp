#include "db/procedures/Checkout.h"

namespace db::proc {

void recordDischargeMoment(Db& db, int facNumero, const core::DateTimeRange& day,
                           const QDateTime& at) {
    Db::Transaction t(db);
    db.exec(QStringLiteral("UPDATE FACTURA SET FacDescargo = ? "
                           "WHERE FacNumero = ? AND FacFecha BETWEEN ? AND ?"),
            {at, facNumero, day.start, day.end});
    t.commit();
}

}  // namespace db::proc
