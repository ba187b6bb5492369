#include "db/procedures/Transfer.h"

#include "db/procedures/Checkout.h"

namespace db::proc {

std::vector<SaleNote> saleNotes(Db& db, const QDate& day) {
    const core::DateTimeRange window = core::saleDay(day);
    QSqlQuery q =
        db.exec(QStringLiteral(
                    "SELECT F.FacNumero, SUM(D.Cantidad * D.Importe) AS SUMA_TOTAL, "
                    "F.FacTipoSunat FROM DETAFAC D JOIN FACTURA F ON F.FacNumero = D.FacNumero "
                    "AND F.FacFecha = D.FacFecha WHERE D.Estado = ? AND F.FacEstado = ? "
                    "AND F.FacTipoSunat = ? AND F.FacFecha BETWEEN ? AND ? "
                    "GROUP BY F.FacNumero, F.FacTipoSunat ORDER BY SUMA_TOTAL DESC, F.FacNumero"),
                {kDescargado, kDescargado, kNotaDeVenta, window.start, window.end});
    std::vector<SaleNote> out;
    while (q.next())
        out.push_back({integer(q.value(0)), money(q.value(1)), text(q.value(2))});
    return out;
}

CambioNotBolOut KZ_CambioNotBol(Db& db, const CambioNotBolIn& in) {
    const core::DateTimeRange window = core::saleDay(in.pFecha);
    const QString sale = QStringLiteral("VENTA ") + QString::number(in.pFacNum);
    Db::Transaction t(db);
    db.lock(kSaleLinesLock);
    QSqlQuery q = db.exec(QStringLiteral("SELECT FacFecha, FacEstado, FacTipoSunat FROM FACTURA "
                                         "WHERE FacNumero = ? AND FacFecha BETWEEN ? AND ? "
                                         "ORDER BY FacFecha LIMIT 1"),
                          {in.pFacNum, window.start, window.end});
    if (!q.next()) {
        t.commit();
        return {param(sale + QStringLiteral(" NO EXISTE"), 100)};
    }
    const QDateTime facFecha = dateTime(q.value(0));
    if (text(q.value(1)) != kDescargado || text(q.value(2)) != kNotaDeVenta) {
        t.commit();
        return {param(sale + QStringLiteral(" NO ES UNA NOTA DE VENTA DESCARGADA"), 100)};
    }
    const int number = nextReceiptNumber(db, kBoletaDeVenta);
    const std::optional<Igv> igv = currentIgv(db);
    const QString series = igv ? igv->IgvSerieBoleta : QString();
    db.exec(QStringLiteral("UPDATE FACTURA SET FacTipoSunat = ?, FacNumSunat = ?, "
                           "FacSerieSunat = ?, FacEstadoSunat = 1 WHERE FacNumero = ? "
                           "AND FacFecha = ?"),
            {kBoletaDeVenta, number, series.isEmpty() ? QVariant() : QVariant(series), in.pFacNum,
             facFecha});
    t.commit();
    const QString receipt = series.isEmpty() ? QString::number(number)
                                             : series + QLatin1Char('-') + QString::number(number);
    return {param(sale + QStringLiteral(" PASO A LA BOLETA ") + receipt, 100), true, number};
}

}  // namespace db::proc
