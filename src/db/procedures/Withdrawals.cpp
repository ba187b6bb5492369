#include "db/procedures/Withdrawals.h"

namespace db::proc {

namespace {

constexpr int kMotivoSize = 100;
constexpr int kMensajeSize = 50;
const QString kWithdrawals = QStringLiteral("EGRESO");

}  // namespace

IngresoEgresoOut KZ_IngresoEgreso(Db& db, const IngresoEgresoIn& in, const QDateTime& now) {
    Db::Transaction tx(db, {kWithdrawals});
    IngresoEgresoOut out;
    out.EgreCod = db.nextKey(kWithdrawals, QStringLiteral("EgreCod"));
    db.exec(QStringLiteral("INSERT INTO EGRESO (EgreCod, UsuCod, EgreFecha, EgreMonto, "
                           "EgreMotivo) VALUES (?, ?, ?, ?, ?)"),
            {out.EgreCod, in.UsuCod, now, QVariant::fromValue(in.pMonto),
             param(in.pMotivo, kMotivoSize)});
    tx.commit();
    out.pMensaje = param(QStringLiteral("EGRESO REGISTRADO..."), kMensajeSize);
    return out;
}

std::vector<EgresoRow> egresos(Db& db, const QDateTime& from, const QDateTime& to) {
    QSqlQuery q = db.exec(
        QStringLiteral("SELECT E.EgreCod, E.UsuCod, E.EgreFecha, E.EgreMonto, E.EgreMotivo, "
                       "U.UsuNombres, U.UsuApellidos FROM EGRESO E LEFT JOIN USUARIO U ON "
                       "U.UsuCod = E.UsuCod WHERE E.EgreFecha BETWEEN ? AND ? "
                       "ORDER BY E.EgreFecha DESC, E.EgreCod DESC"),
        {from, to});
    std::vector<EgresoRow> rows;
    while (q.next()) {
        const bool named = !q.value(5).isNull();
        rows.push_back(
            {integer(q.value(0)), integer(q.value(1)), dateTime(q.value(2)), money(q.value(3)),
             q.value(4).toString(),
             named ? text(q.value(5)) + QStringLiteral(", ") + text(q.value(6)) : QString()});
    }
    return rows;
}

core::Money totalEgresos(Db& db, const QDateTime& from, const QDateTime& to) {
    return money(db.scalar(
        QStringLiteral("SELECT SUM(EgreMonto) FROM EGRESO WHERE EgreFecha BETWEEN ? AND ?"),
        {from, to}));
}

}  // namespace db::proc
