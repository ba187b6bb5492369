#include "db/procedures/Summary.h"

#include "db/procedures/Checkout.h"

namespace db::proc {

namespace {

const QString kBoletaColumns = QStringLiteral(
    "SELECT FacNumero, FacFecha, FacNumSunat, FacTipoSunat, UsuCod, FacEstado, FacHostName, "
    "FacSerieSunat, FacEstadoSunat FROM FACTURA ");

// A discharged boleta that no summary holds.
const QString kUnreported =
    QStringLiteral("FacTipoSunat = ? AND FacResumen IS NULL AND FacEstado = ? ");

QVariantList unreported() {
    return {kBoletaDeVenta, kDescargado};
}

}  // namespace

SummaryBoleta boletaOf(const QSqlQuery& q) {
    return {integer(q.value(0)), dateTime(q.value(1)), integer(q.value(2)),
            text(q.value(3)),    integer(q.value(4)),  text(q.value(5)),
            text(q.value(6)),    text(q.value(7)),     integer(q.value(8)) != 0};
}

Listing summaryBoletasListing(const core::DateTimeRange& range) {
    return {{kBoletaColumns + QStringLiteral("WHERE ") + kUnreported +
                 QStringLiteral("AND FacFecha BETWEEN ? AND ? ORDER BY FacNumero, FacFecha"),
             unreported() + QVariantList{range.start, range.end}},
            std::nullopt};
}

std::vector<SummaryBoleta> summaryBoletas(Db& db, const core::DateTimeRange& range) {
    return readAll(db, summaryBoletasListing(range), &boletaOf);
}

std::optional<SummaryBoleta> summaryBoleta(Db& db, int facNumero, const QDateTime& facFecha) {
    QSqlQuery q = db.exec(kBoletaColumns + QStringLiteral("WHERE ") + kUnreported +
                              QStringLiteral("AND FacNumero = ? AND FacFecha = ?"),
                          unreported() + QVariantList{facNumero, facFecha});
    if (!q.next())
        return std::nullopt;
    return boletaOf(q);
}

IncluyeBoletaOut KZ_IncluyeBoleta(Db& db, const IncluyeBoletaIn& in) {
    Db::Transaction tx(db, {kSummaryLock});
    const int changed =
        db.execCount(QStringLiteral("UPDATE FACTURA SET FacEstadoSunat = ? WHERE ") + kUnreported +
                         QStringLiteral("AND FacNumero = ? AND FacFecha = ?"),
                     QVariantList{in.pIncluida ? 1 : 0} + unreported() +
                         QVariantList{in.pFacNumero, in.pFacFecha});
    tx.commit();
    if (changed == 0)
        return {QStringLiteral("LA BOLETA YA FUE INFORMADA"), false};
    return {in.pIncluida ? QStringLiteral("BOLETA INCLUIDA") : QStringLiteral("BOLETA EXCLUIDA"),
            true};
}

std::vector<WaitingBoleta> waitingBoletas(Db& db, const QDateTime& upTo) {
    QSqlQuery q = db.exec(
        QStringLiteral("SELECT F.FacNumero, F.FacFecha, F.FacNumSunat, "
                       "COALESCE(SUM(CASE WHEN D.Estado <> ? AND D.Estado <> ? "
                       "THEN D.Cantidad * D.Importe END), 0) "
                       "FROM FACTURA F LEFT JOIN DETAFAC D "
                       "ON D.FacNumero = F.FacNumero AND D.FacFecha = F.FacFecha "
                       "WHERE F.FacTipoSunat = ? AND F.FacResumen IS NULL AND F.FacEstado = ? "
                       "AND F.FacEstadoSunat = 1 AND F.FacFecha <= ? "
                       "GROUP BY F.FacNumero, F.FacFecha, F.FacNumSunat "
                       "ORDER BY F.FacNumero, F.FacFecha"),
        QVariantList{kDevuelto, kSinStock} + unreported() + QVariantList{upTo});
    std::vector<WaitingBoleta> out;
    while (q.next())
        out.push_back(
            {integer(q.value(0)), dateTime(q.value(1)), integer(q.value(2)), money(q.value(3))});
    return out;
}

int highestSummaryCorrelative(Db& db, const QDate& day) {
    return integer(db.scalar(
        QStringLiteral("SELECT COALESCE(MAX(ResCorrelativo), 0) FROM RESUMEN WHERE ResFecha = ?"),
        {QDateTime(day, QTime(0, 0))}));
}

RegistraResumenOut KZ_RegistraResumen(Db& db, const RegistraResumenIn& in) {
    Db::Transaction tx(db);
    const int key = db.nextKey(QStringLiteral("RESUMEN"), QStringLiteral("ResCod"));
    db.exec(
        QStringLiteral("INSERT INTO RESUMEN (ResCod, ResFecha, ResCorrelativo, ResArchivo, "
                       "ResTemporal, UsuCod, ResHostName, ResMomento, ResBoletas) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        {key, QDateTime(in.pFecha, QTime(0, 0)), in.pCorrelativo, param(in.pArchivo, 40),
         param(in.pTemporal, 200), in.pUsuCod, param(in.pHostName, 30), in.pMomento, in.pBoletas});
    tx.commit();
    return {key};
}

CambiaEstadoFacturaOut SP_CambiaEstadoFactura(Db& db, const CambiaEstadoFacturaIn& in) {
    Db::Transaction tx(db, {kSummaryLock});
    const int marked = db.execCount(
        QStringLiteral("UPDATE FACTURA SET FacEstadoSunat = 0, FacResumen = ? WHERE ") +
            kUnreported +
            QStringLiteral("AND FacEstadoSunat = 1 AND FacNumero = ? AND FacFecha = ? "
                           "AND FacNumSunat = ?"),
        QVariantList{in.pResumen} + unreported() +
            QVariantList{in.pFacNumero, in.pFacFecha, in.pBoletaNumSunat});
    if (marked != 1)
        throw Error(QStringLiteral("SP_CambiaEstadoFactura"),
                    QStringLiteral("la boleta %1 ya no espera el resumen").arg(in.pBoletaNumSunat));
    tx.commit();
    return {QStringLiteral("BOLETA INFORMADA")};
}

std::optional<QString> recordedSummaryFile(Db& db, const QString& temporal) {
    const QVariant name = db.scalar(
        QStringLiteral("SELECT ResArchivo FROM RESUMEN WHERE ResTemporal = ?"), {temporal});
    if (name.isNull())
        return std::nullopt;
    return text(name);
}

}  // namespace db::proc
