#include "db/procedures/Sales.h"

#include "db/procedures/Checkout.h"

#include <algorithm>
#include <optional>

namespace db::proc {

namespace {

constexpr int kMensajeSize = 50;
constexpr int kTagSize = 17;  // FACTURA.FacHostName: a 15-character computer name, "-" and a key

// The calendar day of a moment, as a half-open range [midnight, next midnight).
struct Day {
    QDateTime from;
    QDateTime to;
};
Day dayOf(const QDateTime& moment) {
    const QDate d = moment.date();
    return {d.startOfDay(), d.addDays(1).startOfDay()};
}

QString mensaje(const QString& text) {
    return param(text, kMensajeSize);
}

QString numero(int n) {
    return QString::number(n);
}

// What a new line of a sale is judged by, read in one statement: the sale's header within the
// day, its total so far, the units of the presentation it already has pending, the next line
// number, and the presentation (none when it does not exist).
struct LineContext {
    QDateTime FacFecha;
    QString FacEstado;
    core::Money total;
    qint64 pendingUnits = 0;
    int nextDetaNumero = 1;
    std::optional<qint64> stock;
    QString presTipo;
};

// The line's context read, and the line inserted from it when the context admits it (the
// conditions under which KZ_IngresoPresVenta refuses none). R names the context's row.
QString lineContextRead() {
    const QString ofSale = QStringLiteral(
        " FROM DETAFAC D WHERE D.FacNumero = F.FacNumero "
        "AND D.FacFecha = F.FacFecha");
    return QStringLiteral("SELECT F.FacFecha, F.FacEstado, (SELECT SUM(D.Cantidad * D.Importe)") +
           ofSale + QStringLiteral(") AS Total, (SELECT COALESCE(SUM(D.Cantidad), 0)") + ofSale +
           QStringLiteral(
               " AND D.CodPresentacion = ? AND D.Estado = ?) AS Pending, "
               "(SELECT COALESCE(MAX(D.DetaNumero), 0) + 1") +
           ofSale +
           QStringLiteral(
               ") AS NextDeta, P.CodPresentacion, P.PresStockTotal, P.PresTipo "
               "FROM FACTURA F LEFT JOIN PRESENTACION P ON P.CodPresentacion = ? "
               "WHERE F.FacNumero = ? AND F.FacFecha >= ? AND F.FacFecha < ? "
               "ORDER BY F.FacFecha LIMIT 1");
}
QVariantList lineContextValues(const IngresoPresVentaIn& in) {
    const Day day = dayOf(in.pFechaHoy);
    return {in.pCodPres, kNoDescargado, in.pCodPres, in.pNumFac, day.from, day.to};
}
Db::Write lineFromContext(const IngresoPresVentaIn& in) {
    return {QStringLiteral("INSERT INTO DETAFAC (FacNumero, FacFecha, DetaNumero, CodPresentacion, "
                           "Cantidad, Importe, Costo, Estado) "
                           "SELECT ?, R.FacFecha, R.NextDeta, ?, ?, ?, ?, ? FROM R "
                           "WHERE COALESCE(R.FacEstado, '') <> ? AND ? >= 1 "
                           "AND R.CodPresentacion IS NOT NULL "
                           "AND R.Pending + ? <= R.PresStockTotal"),
            {in.pNumFac, in.pCodPres, in.pCan, QVariant::fromValue(in.pImporte),
             QVariant::fromValue(in.pCosto), kNoDescargado, kDescargado, in.pCan, in.pCan}};
}

// A line's context from its columns, `value(0)` on; none without the sale.
template <typename Value>
std::optional<LineContext> lineContextOf(const Value& value) {
    if (value(0).isNull())
        return std::nullopt;
    LineContext c{dateTime(value(0)), text(value(1)), money(value(2)), value(3).toLongLong(),
                  integer(value(4))};
    if (!value(5).isNull()) {
        c.stock = value(6).toLongLong();
        c.presTipo = text(value(7));
    }
    return c;
}

// The context, whether the line went in and whether the sale's lines were read with them.
struct LineEntry {
    std::optional<LineContext> sale;
    bool inserted = false;
    bool linesRead = false;
};

// All three in one statement (PostgreSQL): the lines read are the stored ones and the one the
// statement inserted.
LineEntry entryWithLines(Db& db, const IngresoPresVentaIn& in, std::vector<SaleLine>& lines) {
    constexpr int kContextColumns = 8;
    const core::DateTimeRange window = core::saleDay(in.pFechaHoy.date());
    const Db::Write line = lineFromContext(in);
    const QString stored = QStringLiteral("(SELECT ") + kLineColumns +
                           QStringLiteral(" FROM DETAFAC UNION ALL SELECT ") + kLineColumns +
                           QStringLiteral(" FROM W)");
    QSqlQuery q = db.exec(
        QStringLiteral("WITH R AS (") + lineContextRead() + QStringLiteral("), W AS (") + line.sql +
            QStringLiteral(" RETURNING ") + kLineColumns +
            QStringLiteral(") SELECT R.*, (SELECT COUNT(*) FROM W), S.* FROM (SELECT 1 AS One) X "
                           "LEFT JOIN R ON 1 = 1 LEFT JOIN ") +
            saleLinesTableOver(stored) +
            QStringLiteral(" S ON 1 = 1 ORDER BY S.FacFecha, S.DetaNumero"),
        lineContextValues(in) + line.values + QVariantList{in.pNumFac, window.start, window.end});
    LineEntry entry;
    entry.linesRead = true;
    for (bool first = true; q.next(); first = false) {
        if (first) {
            entry.sale = lineContextOf([&](int i) { return q.value(i); });
            entry.inserted = integer(q.value(kContextColumns)) == 1;
        }
        if (!q.value(kContextColumns + 1).isNull())
            lines.push_back(lineAt(q, kContextColumns + 1));
    }
    return entry;
}

LineEntry enterLine(Db& db, const IngresoPresVentaIn& in, std::vector<SaleLine>* lines) {
    if (lines && db.dialect() == Dialect::PostgreSQL)
        return entryWithLines(db, in, *lines);
    const Db::ReadWrite r =
        db.readThenWrite(lineContextRead(), lineContextValues(in), lineFromContext(in));
    LineEntry entry;
    if (r.row)
        entry.sale = lineContextOf([&](int i) { return r.row->value(i); });
    entry.inserted = r.written == 1;
    return entry;
}

// Discounts of the sale's lines that match `lineFilter` (an extra condition on DETAFAC D).
void deleteDiscounts(Db& db, int facNum, const Day& day, const QString& lineFilter,
                     const QVariantList& filterValues) {
    QVariantList values{facNum, day.from, day.to};
    values << filterValues;
    db.exec(QStringLiteral("DELETE FROM DESCUENTO WHERE EXISTS (SELECT 1 FROM DETAFAC D "
                           "WHERE D.FacNumero = DESCUENTO.FacNumero "
                           "AND D.FacFecha = DESCUENTO.FacFecha "
                           "AND D.DetaNumero = DESCUENTO.DetaNumero "
                           "AND D.CodPresentacion = DESCUENTO.CodPresentacion "
                           "AND D.FacNumero = ? AND D.FacFecha >= ? AND D.FacFecha < ? AND ") +
                lineFilter + QLatin1Char(')'),
            values);
}

}  // namespace

NumeroVentaOut KZ_NumeroVenta(Db& db, const NumeroVentaIn& in, const QDateTime& now) {
    const core::DateTimeRange saleDay = core::saleDay(in.pFechaHoy.date());
    const QDateTime fecha = std::clamp(now, saleDay.start, saleDay.end);
    const Day day = dayOf(in.pFechaHoy);
    Db::Transaction tx(db, {QStringLiteral("FACTURA")});
    const int number = integer(db.scalar(QStringLiteral("SELECT COALESCE(MAX(FacNumero), 0) + 1 "
                                                        "FROM FACTURA WHERE FacFecha >= ? "
                                                        "AND FacFecha < ?"),
                                         {day.from, day.to}));
    db.exec(QStringLiteral("INSERT INTO FACTURA (FacNumero, FacFecha, UsuCod, FacHostName, "
                           "FacEstado, FacEstadoSunat) VALUES (?, ?, ?, ?, ?, 0)"),
            {number, fecha, in.pUsuCod, param(in.pUsuario, kTagSize), kNoDescargado});
    tx.commit();
    return {number};
}

void Kz_EditaVendedorNumeroVenta(Db& db, const EditaVendedorNumeroVentaIn& in) {
    const Day day = dayOf(in.pFechaHoy);
    Db::Transaction tx(db);
    db.exec(QStringLiteral("UPDATE FACTURA SET FacHostName = ? WHERE FacNumero = ? "
                           "AND FacFecha >= ? AND FacFecha < ? AND FacEstado = ?"),
            {param(in.pUsuario, kTagSize), in.pNumero, day.from, day.to, kNoDescargado});
    tx.commit();
}

IngresoPresVentaOut KZ_IngresoPresVenta(Db& db, const IngresoPresVentaIn& in,
                                        std::vector<SaleLine>* lines) {
    Db::Transaction tx(db, {kSaleLinesLock});
    if (lines)
        lines->clear();
    LineEntry entry = enterLine(db, in, lines);
    const std::optional<LineContext>& sale = entry.sale;
    const auto finish = [&] {
        if (lines && !entry.linesRead)
            *lines = saleLines(db, in.pNumFac, core::saleDay(in.pFechaHoy.date()));
        tx.commit();
    };
    const auto refuse = [&](Ingreso why, const QString& text, core::Money total) {
        if (entry.inserted)
            throw Error(QStringLiteral("KZ_IngresoPresVenta"),
                        QStringLiteral("el item se registro en una venta que lo rechaza"));
        finish();
        return IngresoPresVentaOut{total, mensaje(text), why, 0};
    };
    if (!sale)
        return refuse(Ingreso::VentaInexistente,
                      QStringLiteral("NO EXISTE LA VENTA Nº ") + numero(in.pNumFac), {});
    // Only a discharged sale is closed; one whose every line went without stock takes new lines.
    if (sale->FacEstado == kDescargado)
        return refuse(Ingreso::VentaDescargada,
                      QStringLiteral("VENTA Nº ") + numero(in.pNumFac) +
                          QStringLiteral(" HA SIDO DESCARGADA"),
                      sale->total);
    if (in.pCan < 1)
        return refuse(Ingreso::CantidadNoAdmisible, QStringLiteral("CANTIDAD NO ADMISIBLE"),
                      sale->total);
    if (!sale->stock)
        return refuse(Ingreso::PresentacionInexistente, QStringLiteral("NO EXISTE LA PRESENTACION"),
                      sale->total);
    if (sale->pendingUnits + in.pCan > *sale->stock)
        return refuse(Ingreso::SinStock,
                      QStringLiteral("SOBREPASA EL STOCK TOTAL EN LA FARMACIA..."), sale->total);
    if (!entry.inserted)
        throw Error(QStringLiteral("KZ_IngresoPresVenta"),
                    QStringLiteral("el item admitido no se registro"));
    if (sale->FacEstado != kNoDescargado) {
        db.exec(
            QStringLiteral("UPDATE FACTURA SET FacEstado = ? WHERE FacNumero = ? AND FacFecha = ?"),
            {kNoDescargado, in.pNumFac, sale->FacFecha});
        entry.linesRead = false;  // read before the header changed
    }
    finish();
    return {sale->total + in.pImporte * in.pCan,
            mensaje(QStringLiteral("ITEM ") + numero(sale->nextDetaNumero) + QStringLiteral(": ") +
                    numero(in.pCan) + QStringLiteral(" ") + sale->presTipo),
            Ingreso::Ingresado, sale->nextDetaNumero};
}

IngresoDescuentoOut KZ_IngresoDescuento(Db& db, const IngresoDescuentoIn& in,
                                        const QDateTime& now) {
    const Day day = dayOf(in.pFechaHoy);
    Db::Transaction tx(db, {kSaleLinesLock});
    QSqlQuery line = db.exec(QStringLiteral("SELECT FacFecha, DetaNumero FROM DETAFAC "
                                            "WHERE FacNumero = ? AND FacFecha >= ? "
                                            "AND FacFecha < ? AND CodPresentacion = ? "
                                            "AND Estado = ? ORDER BY DetaNumero DESC"),
                             {in.pFacNum, day.from, day.to, in.pCodPres, kNoDescargado});
    if (!line.next()) {
        tx.commit();
        return {mensaje(QStringLiteral("NO HAY ITEM PARA EL DESCUENTO"))};
    }
    const QDateTime facFecha = dateTime(line.value(0));
    const int detaNumero = integer(line.value(1));
    const QVariantList key{in.pFacNum, facFecha, detaNumero, in.pCodPres};
    db.exec(QStringLiteral("DELETE FROM DESCUENTO WHERE FacNumero = ? AND FacFecha = ? "
                           "AND DetaNumero = ? AND CodPresentacion = ?"),
            key);
    db.exec(QStringLiteral("INSERT INTO DESCUENTO (FacNumero, FacFecha, DetaNumero, "
                           "CodPresentacion, DesNombre, DesUnidades, DesImporte, DesFecha) "
                           "VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
            key + QVariantList{param(in.pNombreDescuento, 20), in.pCanDes,
                               QVariant::fromValue(in.pImpDes), now});
    tx.commit();
    return {mensaje(QStringLiteral("DESCUENTO REGISTRADO EN EL ITEM ") + numero(detaNumero))};
}

EliminarItemOut KZ_EliminarItem(Db& db, const EliminarItemIn& in) {
    const Day day = dayOf(in.pFechaHoy);
    const QVariantList line{in.pFacNum, day.from, day.to, in.pDetaNumero, in.pCodPres};
    const QString where = QStringLiteral(
        "FacNumero = ? AND FacFecha >= ? AND FacFecha < ? "
        "AND DetaNumero = ? AND CodPresentacion = ?");
    Db::Transaction tx(db, {kSaleLinesLock});
    const QVariant estado =
        db.scalar(QStringLiteral("SELECT Estado FROM DETAFAC WHERE ") + where, line);
    if (estado.isNull()) {
        tx.commit();
        return {mensaje(QStringLiteral("NO EXISTE EL ITEM ") + numero(in.pDetaNumero)), false};
    }
    if (text(estado) != kNoDescargado) {
        tx.commit();
        return {mensaje(QStringLiteral("ITEM ") + numero(in.pDetaNumero) +
                        QStringLiteral(" YA DESCARGADO: NO SE ELIMINA")),
                false};
    }
    deleteDiscounts(db, in.pFacNum, day,
                    QStringLiteral("D.DetaNumero = ? AND D.CodPresentacion = ?"),
                    {in.pDetaNumero, in.pCodPres});
    db.exec(QStringLiteral("DELETE FROM DETAFAC WHERE ") + where, line);
    markSaleLeftWithoutStock(db, in.pFacNum, core::saleDay(day.from.date()));
    tx.commit();
    return {
        mensaje(QStringLiteral("ITEM ") + numero(in.pDetaNumero) + QStringLiteral(" ELIMINADO")),
        true};
}

BorraCotizacionOut KZ_BorraCotizacion(Db& db, const BorraCotizacionIn& in) {
    const Day day = dayOf(in.pFechaHoy);
    const QVariantList sale{in.pFacNum, day.from, day.to};
    const QString ofSale = QStringLiteral("FacNumero = ? AND FacFecha >= ? AND FacFecha < ?");
    Db::Transaction tx(db, {kSaleLinesLock});
    const int kept = integer(
        db.scalar(QStringLiteral("SELECT COUNT(*) FROM DETAFAC WHERE Estado <> ? AND ") + ofSale,
                  QVariantList{kNoDescargado} + sale));
    deleteDiscounts(db, in.pFacNum, day, QStringLiteral("D.Estado = ?"), {kNoDescargado});
    const int removed =
        db.execCount(QStringLiteral("DELETE FROM DETAFAC WHERE Estado = ? AND ") + ofSale,
                     QVariantList{kNoDescargado} + sale);
    markSaleLeftWithoutStock(db, in.pFacNum, core::saleDay(day.from.date()));
    tx.commit();
    const QString venta = QStringLiteral("COTIZACION Nº ") + numero(in.pFacNum);
    if (kept > 0)
        return {mensaje(QStringLiteral("ELIMINADOS ") + numero(removed) +
                        QStringLiteral(" ITEMS; ") + numero(kept) +
                        QStringLiteral(" DESCARGADOS QUEDAN"))};
    if (removed == 0)
        return {mensaje(venta + QStringLiteral(" SIN ITEMS QUE ELIMINAR"))};
    return {mensaje(venta + QStringLiteral(" ELIMINADA: ") + numero(removed) +
                    QString::fromLatin1(removed == 1 ? " ITEM" : " ITEMS"))};
}

BorrandoProductoOut KZ_BorrandoProducto(Db& db, const BorrandoProductoIn& in) {
    Db::Transaction tx(db, {QStringLiteral("PRODUCTO_LABORATORIO")});
    if (db.scalar(
              QStringLiteral("SELECT ProdLabCod FROM PRODUCTO_LABORATORIO WHERE ProdLabCod = ?"),
              {in.pProdLabCod})
            .isNull()) {
        tx.commit();
        return {mensaje(QStringLiteral("NO EXISTE EL PRODUCTO-LABORATORIO"))};
    }
    const int presentations =
        integer(db.scalar(QStringLiteral("SELECT COUNT(*) FROM PRESENTACION WHERE ProdLabCod = ?"),
                          {in.pProdLabCod}));
    if (presentations > 0) {
        tx.commit();
        return {mensaje(QStringLiteral("NO SE BORRA: TIENE ") + numero(presentations) +
                        QStringLiteral(" PRESENTACION(ES)"))};
    }
    db.exec(QStringLiteral("DELETE FROM PRODUCTO_LABORATORIO WHERE ProdLabCod = ?"),
            {in.pProdLabCod});
    tx.commit();
    return {mensaje(QStringLiteral("PRODUCTO-LABORATORIO BORRADO"))};
}

std::optional<PresentacionVenta> presentacionVenta(Db& db, int codPres) {
    QSqlQuery q = db.exec(QStringLiteral("SELECT CodPresentacion, PresTipo, PresPrecioCosto, "
                                         "PresVenta, PresStockTotal FROM PRESENTACION "
                                         "WHERE CodPresentacion = ?"),
                          {codPres});
    if (!q.next())
        return std::nullopt;
    return PresentacionVenta{integer(q.value(0)), text(q.value(1)), money(q.value(2)),
                             money(q.value(3)), integer(q.value(4))};
}

QString estadoVenta(Db& db, int facNum, const core::DateTimeRange& window) {
    return text(db.scalar(QStringLiteral("SELECT FacEstado FROM FACTURA WHERE FacNumero = ? "
                                         "AND FacFecha BETWEEN ? AND ?"),
                          {facNum, window.start, window.end}))
        .trimmed();
}

int unidadesEnVenta(Db& db, int facNum, const core::DateTimeRange& window, int codPres) {
    return integer(db.scalar(QStringLiteral("SELECT SUM(Cantidad) FROM DETAFAC "
                                            "WHERE FacNumero = ? AND FacFecha BETWEEN ? AND ? "
                                            "AND CodPresentacion = ?"),
                             {facNum, window.start, window.end, codPres}));
}

core::Money totalVenta(Db& db, int facNum, const core::DateTimeRange& window) {
    return money(db.scalar(QStringLiteral("SELECT SUM(Cantidad * Importe) FROM DETAFAC "
                                          "WHERE FacNumero = ? AND FacFecha BETWEEN ? AND ?"),
                           {facNum, window.start, window.end}));
}

}  // namespace db::proc
