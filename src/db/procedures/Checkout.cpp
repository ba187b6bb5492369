#include "db/procedures/Checkout.h"

namespace db::proc {

namespace {

const QString kLineKey = QStringLiteral(
    "FacNumero = ? AND DetaNumero = ? AND CodPresentacion = ? AND FacFecha BETWEEN ? AND ?");

QVariantList lineKey(int facNum, int detaNumero, int codPres, const core::DateTimeRange& day) {
    return {facNum, detaNumero, codPres, day.start, day.end};
}

core::DateTimeRange dayOf(const QDateTime& fechaHoy) {
    return core::saleDay(fechaHoy.date());
}

// The series of the IGV row in force for a receipt type; null for a sale note, and for a type
// the row gives no series.
QVariant seriesOf(const std::optional<Igv>& igv, const QString& type) {
    const QString series = !igv                     ? QString()
                           : type == kBoletaDeVenta ? igv->IgvSerieBoleta
                           : type == kFactura       ? igv->IgvSerieFactura
                                                    : QString();
    return series.isEmpty() ? QVariant() : QVariant(series);
}

QVariant currentSeries(Db& db, const QString& type) {
    return seriesOf(currentIgv(db), type);
}

void markSaleDischarged(Db& db, const DecargarPresStockIn& in, const QDateTime& facFecha) {
    const QString type = in.pFacTipoSunat ? param(*in.pFacTipoSunat, 15) : kNotaDeVenta;
    const QVariant number = in.pFacNumSunat ? QVariant(*in.pFacNumSunat) : QVariant();
    db.exec(QStringLiteral("UPDATE FACTURA SET FacEstado = ?, FacTipoSunat = ?, FacNumSunat = ?, "
                           "FacSerieSunat = ?, FacEstadoSunat = ?, FacCajero = ? "
                           "WHERE FacNumero = ? AND FacFecha = ?"),
            {kDescargado, type, number, currentSeries(db, type), type == kBoletaDeVenta ? 1 : 0,
             param(in.pFacHostName, 17), in.pFacNum, facFecha});
}

// A sale none of whose lines could be discharged so far reads "SIN STOCK".
void markSaleWithoutStock(Db& db, const DecargarPresStockIn& in, const QDateTime& facFecha) {
    db.exec(QStringLiteral("UPDATE FACTURA SET FacEstado = ?, FacCajero = ? "
                           "WHERE FacNumero = ? AND FacFecha = ? "
                           "AND (FacEstado IS NULL OR FacEstado <> ?)"),
            {kSinStock, param(in.pFacHostName, 17), in.pFacNum, facFecha, kDescargado});
}

bool takeStock(Db& db, int codPres, int units) {
    return db.execCount(
               QStringLiteral("UPDATE PRESENTACION SET PresStockTotal = PresStockTotal - ? "
                              "WHERE CodPresentacion = ? AND PresStockTotal >= ?"),
               {units, codPres, units}) == 1;
}

// The receipt number a new discharge of the sale takes over: the boleta number it already
// carries; 0 for none, and always for a factura, whose lines discharged later are a receipt of
// their own with files of their own.
int numberCarried(Db& db, const DischargeOrder& order) {
    if (*order.type == kFactura)
        return 0;
    QSqlQuery q = db.exec(QStringLiteral("SELECT FacTipoSunat, FacNumSunat FROM FACTURA "
                                         "WHERE FacNumero = ? AND FacFecha BETWEEN ? AND ?"),
                          {order.facNumero, order.day.start, order.day.end});
    if (!q.next() || text(q.value(0)) != *order.type)
        return 0;
    return integer(q.value(1));
}

}  // namespace

std::vector<PendingSale> pendingSales(Db& db, const core::DateTimeRange& day) {
    QSqlQuery q = db.exec(QStringLiteral("SELECT FacNumero, SUM(Cantidad * Importe) FROM DETAFAC "
                                         "WHERE Estado = ? AND FacFecha BETWEEN ? AND ? "
                                         "GROUP BY FacNumero ORDER BY FacNumero DESC"),
                          {kNoDescargado, day.start, day.end});
    std::vector<PendingSale> out;
    while (q.next())
        out.push_back({integer(q.value(0)), money(q.value(1))});
    return out;
}

std::optional<core::Money> saleTotal(Db& db, int facNumero, const core::DateTimeRange& day) {
    const QVariant total =
        db.scalar(QStringLiteral("SELECT SUM(Cantidad * Importe) FROM DETAFAC "
                                 "WHERE FacNumero = ? AND FacFecha BETWEEN ? AND ? "
                                 "AND Estado <> ? AND Estado <> ?"),
                  {facNumero, day.start, day.end, kDevuelto, kSinStock});
    return total.isNull() ? std::nullopt : std::optional(money(total));
}

QByteArray sellerPhoto(Db& db, const QString& key) {
    if (key.isEmpty())
        return {};
    return blob(db.scalar(QStringLiteral("SELECT UsuFoto FROM USUARIO WHERE UsuTecla = ? AND "
                                         "UsuEstado = ? ORDER BY UsuCod LIMIT 1"),
                          {key, QStringLiteral("ACTIVO")}));
}

QString sellerKey(const QString& facHostName) {
    const QString tag = facHostName.trimmed();
    if (tag.isEmpty())
        return {};
    const QChar last = tag.back();
    return last >= QLatin1Char('4') && last <= QLatin1Char('9') ? QStringLiteral("F") + last
                                                                : QString();
}

QString cashierTag(int cashierCode, const QString& facHostName) {
    const QString code = QString::number(cashierCode);
    return (cashierCode <= 10 ? QStringLiteral("0") + code : code) + facHostName.trimmed();
}

int nextReceiptNumber(Db& db, const QString& facTipoSunat) {
    db.lock(QStringLiteral("FACTURA.FacNumSunat"));
    return integer(db.scalar(
        QStringLiteral(
            "SELECT COALESCE(MAX(FacNumSunat), 0) + 1 FROM FACTURA WHERE FacTipoSunat = ?"),
        {facTipoSunat}));
}

bool facturaNumbered(Db& db, int facNumSunat) {
    return integer(db.scalar(QStringLiteral("SELECT COUNT(*) FROM FACTURA WHERE FacTipoSunat = ? "
                                            "AND FacNumSunat = ?"),
                             {kFactura, facNumSunat})) > 0;
}

DecargarPresStockOut KZ_DecargarPresStock(Db& db, const DecargarPresStockIn& in) {
    const QVariantList key = lineKey(in.pFacNum, in.pDetaNumero, in.pCodPres, dayOf(in.pFechaHoy));
    Db::Transaction tx(db);
    QSqlQuery line =
        db.exec(QStringLiteral("SELECT Cantidad, FacFecha FROM DETAFAC WHERE ") + kLineKey, key);
    if (!line.next()) {
        tx.commit();
        return {QStringLiteral("ITEM NO ENCONTRADO"), QString(), false};
    }
    const int units = integer(line.value(0));
    const QDateTime facFecha = dateTime(line.value(1));
    line.finish();
    // Claimed first, so that a second workstation on the same line waits and then finds it
    // settled.
    if (db.execCount(QStringLiteral("UPDATE DETAFAC SET Estado = ? WHERE ") + kLineKey +
                         QStringLiteral(" AND Estado = ?"),
                     QVariantList{kDescargado} + key + QVariantList{kNoDescargado}) != 1) {
        const QString estado =
            text(db.scalar(QStringLiteral("SELECT Estado FROM DETAFAC WHERE ") + kLineKey, key));
        tx.commit();
        return {QStringLiteral("ITEM YA PROCESADO: ") + estado, estado, false};
    }
    DecargarPresStockOut out{QStringLiteral("ITEM DESCARGADO"), kDescargado, true};
    if (takeStock(db, in.pCodPres, units)) {
        markSaleDischarged(db, in, facFecha);
    } else {
        db.exec(QStringLiteral("UPDATE DETAFAC SET Estado = ? WHERE ") + kLineKey,
                QVariantList{kSinStock} + key);
        markSaleWithoutStock(db, in, facFecha);
        out = {QStringLiteral("SIN STOCK SUFICIENTE"), kSinStock, true};
    }
    tx.commit();
    return out;
}

EliminarItemDescargarOut KZ_EliminarItemDescargar(Db& db, const EliminarItemDescargarIn& in) {
    const QVariantList key = lineKey(in.pFacNum, in.pDetaNumero, in.pCodPres, dayOf(in.pFechaHoy));
    Db::Transaction tx(db);
    const int removed = db.execCount(
        QStringLiteral("DELETE FROM DETAFAC WHERE ") + kLineKey + QStringLiteral(" AND Estado = ?"),
        key + QVariantList{kNoDescargado});
    if (removed == 0) {
        const bool exists =
            !db.scalar(QStringLiteral("SELECT Estado FROM DETAFAC WHERE ") + kLineKey, key)
                 .isNull();
        tx.commit();
        return {exists ? QStringLiteral("ITEM YA FUE DESCARGADO")
                       : QStringLiteral("ITEM NO ENCONTRADO")};
    }
    db.exec(QStringLiteral("DELETE FROM DESCUENTO WHERE ") + kLineKey, key);
    tx.commit();
    return {QStringLiteral("ITEM ELIMINADO")};
}

DischargeResult DischargeSale(Db& db, const DischargeOrder& order, const DischargeHooks& hooks) {
    Db::Transaction tx(db);
    db.lock(QStringLiteral("DESCARGO"));
    const std::vector<SaleLine> lines = saleLines(db, order.facNumero, order.day);
    const std::optional<Igv> igv = currentIgv(db);
    int number = 0;
    if (order.type) {
        number = numberCarried(db, order);
        if (number <= 0)
            number = nextReceiptNumber(db, *order.type);
    }
    if (hooks.begin)
        hooks.begin({order, number, lines, igv});
    DischargeResult result;
    for (const SaleLine& line : lines) {
        if (hooks.beforeLine)
            hooks.beforeLine(line);
        DecargarPresStockIn in;
        in.pCodPres = line.CodPresentacion;
        in.pUsuCod = order.cashierCode;
        in.pFacNum = line.FacNumero;
        in.pFechaHoy = order.day.start;
        in.pFacHostName = cashierTag(order.cashierCode, line.FacHostName);
        in.pDetaNumero = line.DetaNumero;
        in.pFacTipoSunat = order.type;
        if (order.type)
            in.pFacNumSunat = number;
        const DecargarPresStockOut out = KZ_DecargarPresStock(db, in);
        if (out.changed && out.Estado == kDescargado)
            ++result.discharged;
        if (out.changed && out.Estado == kSinStock)
            ++result.withoutStock;
        if (hooks.afterLine)
            hooks.afterLine(line, out);
    }
    if (result.discharged > 0 && order.type) {
        result.receiptNumber = number;
        result.series = text(seriesOf(igv, *order.type));
    }
    if (hooks.beforeCommit)
        hooks.beforeCommit();
    tx.commit();
    return result;
}

}  // namespace db::proc
