#include "db/procedures/Shell.h"

namespace db::proc {

BorrarVentasNoDescargadasOut KZ_BorrarVentasNoDescargadas(Db& db) {
    Db::Transaction tx(db);
    db.execCount(
        QStringLiteral("DELETE FROM DESCUENTO WHERE EXISTS (SELECT 1 FROM DETAFAC D WHERE "
                       "D.FacNumero = DESCUENTO.FacNumero AND D.FacFecha = DESCUENTO.FacFecha AND "
                       "D.DetaNumero = DESCUENTO.DetaNumero AND D.Estado = 'NO DESCARGADO')"));
    const int lines =
        db.execCount(QStringLiteral("DELETE FROM DETAFAC WHERE Estado = 'NO DESCARGADO'"));
    tx.commit();
    return {param(QStringLiteral("SE ELIMINARON %1 ITEMS NO DESCARGADOS").arg(lines), 50)};
}

core::Money totalDelDia(Db& db, const QDate& day, const QString& receiptType) {
    const QDateTime from(day, QTime(0, 0));
    const QDateTime to(day.addDays(1), QTime(0, 0));
    return money(
        db.scalar(QStringLiteral("SELECT SUM(D.Importe * D.Cantidad) FROM FACTURA F, DETAFAC D "
                                 "WHERE F.FacNumero = D.FacNumero AND F.FacFecha = D.FacFecha AND "
                                 "F.FacEstado = 'DESCARGADO' AND F.FacTipoSunat = ? AND "
                                 "F.FacFecha BETWEEN ? AND ?"),
                  {receiptType, from, to}));
}

}  // namespace db::proc
