#include "db/procedures/SaleReads.h"

namespace db::proc {

namespace {

// Outer joins throughout: a line never drops out because a catalogue row or its header is gone.
QString saleLinesSelect(const QString& lines) {
    return QStringLiteral(
               "SELECT D.FacNumero, D.FacFecha, D.DetaNumero, D.CodPresentacion, D.Cantidad, "
               "D.Importe, D.Estado, P.PresTipo, L.LabNombre, P.PresPrecioCosto, P.PresVenta, "
               "P.PresStockTotal, F.FacEstado, F.FacHostName, F.FacSerieSunat, F.FacNumSunat, "
               "F.FacTipoSunat, F.FacEstadoSunat, P.CodPresentacion AS PresCodPresentacion FROM ") +
           lines +
           QStringLiteral(
               " D LEFT JOIN FACTURA F ON F.FacNumero = D.FacNumero AND F.FacFecha = D.FacFecha "
               "LEFT JOIN PRESENTACION P ON P.CodPresentacion = D.CodPresentacion "
               "LEFT JOIN PRODUCTO_LABORATORIO PL ON PL.ProdLabCod = P.ProdLabCod "
               "LEFT JOIN LABORATORIO L ON L.LabCodigo = PL.LabCodigo "
               "WHERE D.FacNumero = ? AND D.FacFecha BETWEEN ? AND ?");
}

const QString kSaleLinesSelect = saleLinesSelect(QStringLiteral("DETAFAC"));

}  // namespace

QString saleLinesTableOver(const QString& lines) {
    return QLatin1Char('(') + saleLinesSelect(lines) + QLatin1Char(')');
}

const QString kSaleLinesTable = saleLinesTableOver(QStringLiteral("DETAFAC"));

const QString kLineColumns =
    QStringLiteral("FacNumero, FacFecha, DetaNumero, CodPresentacion, Cantidad, Importe, Estado");

SaleLine lineAt(const QSqlQuery& q, int first) {
    const auto value = [&](int column) { return q.value(first + column); };
    SaleLine l;
    l.FacNumero = integer(value(0));
    l.FacFecha = dateTime(value(1));
    l.DetaNumero = integer(value(2));
    l.CodPresentacion = integer(value(3));
    l.Cantidad = integer(value(4));
    l.Importe = money(value(5));
    l.SUB_TOTAL = l.Importe * l.Cantidad;
    l.Estado = text(value(6));
    l.PresTipo = text(value(7));
    l.LabNombre = text(value(8));
    l.PresPrecioCosto = money(value(9));
    l.PresVenta = money(value(10));
    l.PresStockTotal = integer(value(11));
    l.FacEstado = text(value(12));
    l.FacHostName = text(value(13));
    l.FacSerieSunat = text(value(14));
    l.FacNumSunat = integer(value(15));
    l.FacTipoSunat = text(value(16));
    l.FacEstadoSunat = integer(value(17)) != 0;
    l.inCatalogue = !value(18).isNull();
    return l;
}

std::vector<SaleLine> saleLines(Db& db, int facNumero, const core::DateTimeRange& window) {
    QSqlQuery q = db.exec(kSaleLinesSelect + QStringLiteral(" ORDER BY D.FacFecha, D.DetaNumero"),
                          {facNumero, window.start, window.end});
    std::vector<SaleLine> out;
    while (q.next())
        out.push_back(lineAt(q, 0));
    return out;
}

std::optional<SaleHeader> saleHeader(Db& db, int facNumero, const core::DateTimeRange& window) {
    QSqlQuery q = db.exec(QStringLiteral("SELECT FacHostName, FacTipoSunat, FacNumSunat, "
                                         "FacFecha, FacDescargo FROM FACTURA "
                                         "WHERE FacNumero = ? AND FacFecha BETWEEN ? AND ? "
                                         "ORDER BY FacFecha"),
                          {facNumero, window.start, window.end});
    if (!q.next())
        return std::nullopt;
    return SaleHeader{text(q.value(0)), text(q.value(1)), integer(q.value(2)), dateTime(q.value(3)),
                      dateTime(q.value(4))};
}

const QString kIgvInForce = QStringLiteral(
    "(SELECT IgvCod, IgvValor, IgvSerieBoleta, IgvSerieFactura FROM IGV "
    "ORDER BY IgvCod DESC LIMIT 1)");

std::optional<Igv> igvAt(const QSqlQuery& q, int first) {
    if (q.value(first).isNull())
        return std::nullopt;
    const QVariant rate = q.value(first + 1);
    return Igv{integer(q.value(first)), rate.isNull() ? std::nullopt : std::optional(real(rate)),
               text(q.value(first + 2)).trimmed(), text(q.value(first + 3)).trimmed()};
}

std::optional<Igv> currentIgv(Db& db) {
    QSqlQuery q = db.exec(QStringLiteral("SELECT * FROM ") + kIgvInForce + QStringLiteral(" I"));
    return q.next() ? igvAt(q, 0) : std::nullopt;
}

}  // namespace db::proc
