#include "db/procedures/Returns.h"

#include "core/DayWindow.h"
#include "db/procedures/Checkout.h"

namespace db::proc {

namespace {

constexpr int kMensajeSize = 100;
constexpr int kCajeroSize = 20;

const QString kLineKey = QStringLiteral(
    "FacNumero = ? AND DetaNumero = ? AND CodPresentacion = ? AND FacFecha BETWEEN ? AND ?");

IngresoDevolucionOut refused(Devolucion why, const QString& text) {
    return {param(text, kMensajeSize), why, 0};
}

QString item(const IngresoDevolucionIn& in) {
    return QStringLiteral("ITEM %1 DE LA VENTA Nº %2").arg(in.pDetaNumero).arg(in.pFacNum);
}

// Why a line could not give back the units: it is missing, not discharged, or has fewer.
IngresoDevolucionOut refusal(Db& db, const IngresoDevolucionIn& in, const QVariantList& key) {
    QSqlQuery line =
        db.exec(QStringLiteral("SELECT Estado, Cantidad FROM DETAFAC WHERE ") + kLineKey, key);
    if (!line.next())
        return refused(Devolucion::ItemNoEncontrado, QStringLiteral("NO EXISTE EL ") + item(in));
    const QString estado = text(line.value(0));
    if (estado != kDescargado)
        return refused(Devolucion::ItemNoDescargado, item(in) + QStringLiteral(" ") + estado +
                                                         QStringLiteral(": NO SE DEVUELVE"));
    return refused(Devolucion::SobrepasaLoVendido,
                   QStringLiteral("NO PUEDE SOBREPASAR LO VENDIDO: QUEDAN %1 UNIDADES")
                       .arg(integer(line.value(1))));
}

}  // namespace

IngresoDevolucionOut KZ_IngresoDevolucion(Db& db, const IngresoDevolucionIn& in,
                                          const QDateTime& now) {
    if (in.pCanDevueltas < 1)
        return refused(Devolucion::CantidadNoAdmisible, QStringLiteral("CANTIDAD NO ADMISIBLE"));
    const core::DateTimeRange day = core::saleDay(in.pFacFecha.date());
    const QVariantList key{in.pFacNum, in.pDetaNumero, in.pCodPres, day.start, day.end};
    const int units = in.pCanDevueltas;
    Db::Transaction tx(db);
    // The bound and the change in one statement: a second return of the same units finds the
    // line already lowered (PostgreSQL re-reads the row it waited for).
    const int claimed = db.execCount(
        QStringLiteral("UPDATE DETAFAC SET Estado = CASE WHEN Cantidad = ? THEN ? ELSE Estado END, "
                       "Cantidad = Cantidad - ? WHERE ") +
            kLineKey + QStringLiteral(" AND Estado = ? AND Cantidad >= ?"),
        QVariantList{units, kDevuelto, units} + key + QVariantList{kDescargado, units});
    if (claimed != 1) {
        IngresoDevolucionOut out = refusal(db, in, key);
        tx.commit();
        return out;
    }
    QSqlQuery line =
        db.exec(QStringLiteral("SELECT FacFecha, Cantidad FROM DETAFAC WHERE ") + kLineKey, key);
    line.next();
    const QDateTime facFecha = dateTime(line.value(0));
    const int restantes = integer(line.value(1));
    line.finish();
    db.exec(QStringLiteral("INSERT INTO DEVOLUCION (DetaNumero, FacFecha, DevUnidades, DevFecha, "
                           "FacNumero, CodPresentacion, DevCajero) VALUES (?, ?, ?, ?, ?, ?, ?)"),
            {in.pDetaNumero, facFecha, units, now, in.pFacNum, in.pCodPres,
             param(in.pCajero, kCajeroSize)});
    if (db.execCount(QStringLiteral("UPDATE PRESENTACION SET PresStockTotal = PresStockTotal + ? "
                                    "WHERE CodPresentacion = ?"),
                     {units, in.pCodPres}) != 1)
        throw Error(QStringLiteral("KZ_IngresoDevolucion"),
                    QStringLiteral("NO EXISTE LA PRESENTACION %1").arg(in.pCodPres));
    tx.commit();
    return {param(QStringLiteral("DEVUELTAS %1 UNIDADES DEL ").arg(units) + item(in) +
                      QStringLiteral("; QUEDAN %1").arg(restantes),
                  kMensajeSize),
            Devolucion::Devuelto, restantes};
}

Listing ventasDevolucionListing(int codPres, const core::DateTimeRange& range) {
    return {{QStringLiteral("SELECT P.PresTipo, D.Cantidad, D.Estado, D.FacFecha, F.FacNumero, "
                            "P.CodPresentacion, F.FacHostName, D.Importe, D.Costo, D.DetaNumero "
                            "FROM DETAFAC D JOIN FACTURA F ON F.FacNumero = D.FacNumero AND "
                            "F.FacFecha = D.FacFecha JOIN PRESENTACION P ON P.CodPresentacion = "
                            "D.CodPresentacion WHERE D.CodPresentacion = ? AND D.Estado = ? AND "
                            "D.Cantidad > 0 AND D.FacFecha BETWEEN ? AND ? "
                            "ORDER BY D.FacFecha DESC, F.FacNumero DESC, D.DetaNumero"),
             {codPres, kDescargado, range.start, range.end}},
            std::nullopt};
}

VentaDevolucion ventaDevolucion(const QSqlQuery& q) {
    return {text(q.value(0)),    integer(q.value(1)), text(q.value(2)), dateTime(q.value(3)),
            integer(q.value(4)), integer(q.value(5)), text(q.value(6)), money(q.value(7)),
            money(q.value(8)),   integer(q.value(9))};
}

std::vector<VentaDevolucion> ventasDevolucion(Db& db, int codPres,
                                              const core::DateTimeRange& range) {
    return readAll(db, ventasDevolucionListing(codPres, range), &ventaDevolucion);
}

}  // namespace db::proc
