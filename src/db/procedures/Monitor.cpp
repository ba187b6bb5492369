#include "db/procedures/Monitor.h"

#include "db/procedures/Checkout.h"

namespace db::proc {

std::vector<DaySale> daySales(Db& db, const core::DateTimeRange& day) {
    QSqlQuery q = db.exec(QStringLiteral("SELECT FacNumero, Estado, SUM(Cantidad * Importe) "
                                         "FROM DETAFAC WHERE FacFecha BETWEEN ? AND ? "
                                         "GROUP BY FacNumero, Estado ORDER BY FacNumero, Estado"),
                          {day.start, day.end});
    std::vector<DaySale> out;
    while (q.next())
        out.push_back({integer(q.value(0)), text(q.value(1)), money(q.value(2))});
    return out;
}

int undischargedSales(Db& db, const core::DateTimeRange& day) {
    return integer(db.scalar(QStringLiteral("SELECT COUNT(FacNumero) FROM FACTURA "
                                            "WHERE FacEstado = ? AND FacFecha BETWEEN ? AND ?"),
                             {kNoDescargado, day.start, day.end}));
}

}  // namespace db::proc
