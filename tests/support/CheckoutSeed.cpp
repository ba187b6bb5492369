#include "support/CheckoutSeed.h"

#include "core/DayWindow.h"
#include "db/Db.h"

#include <QBuffer>
#include <QImage>

namespace testsupport {

void seedPresentation(db::Db& db, int code, const QString& presTipo, int stock,
                      const QString& brand) {
    db.exec(QStringLiteral("INSERT INTO PRODUCTO (ProdCodigo, ProdNomComercial) VALUES (?, ?)"),
            {code, presTipo});
    db.exec(QStringLiteral("INSERT INTO LABORATORIO (LabCodigo, LabNombre) VALUES (?, ?)"),
            {code, brand});
    db.exec(QStringLiteral("INSERT INTO PRODUCTO_LABORATORIO (ProdLabCod, ProdCodigo, LabCodigo, "
                           "ProdLabEstado) VALUES (?, ?, ?, 'ACTIVO')"),
            {code, code, code});
    db.exec(
        QStringLiteral("INSERT INTO PRESENTACION (CodPresentacion, ProdLabCod, PresTipo, "
                       "PresVenta, PresStockTotal, PresEstado) VALUES (?, ?, ?, ?, ?, ?)"),
        {code, code, presTipo, QVariant::fromValue(money("1")), stock, QStringLiteral("CONTINUO")});
}

void seedSale(db::Db& db, int facNumero, const QDate& day, const QString& facHostName,
              const std::vector<SeedLine>& lines) {
    db.exec(QStringLiteral("INSERT INTO FACTURA (FacNumero, FacFecha, UsuCod, FacHostName, "
                           "FacEstado) VALUES (?, ?, 1, ?, ?)"),
            {facNumero, QDateTime(day, core::kDayFirstSecond), facHostName,
             QStringLiteral("NO DESCARGADO")});
    int deta = 0;
    for (const SeedLine& l : lines)
        addSaleLine(db, facNumero, day, ++deta, l);
}

void addSaleLine(db::Db& db, int facNumero, const QDate& day, int detaNumero,
                 const SeedLine& line) {
    db.exec(QStringLiteral("INSERT INTO DETAFAC (FacNumero, FacFecha, DetaNumero, "
                           "CodPresentacion, Cantidad, Importe, Costo, Estado) "
                           "VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
            {facNumero, QDateTime(day, core::kDayFirstSecond), detaNumero, line.codPresentacion,
             line.cantidad, QVariant::fromValue(money(line.importe)),
             QVariant::fromValue(money("0")), line.estado});
}

void seedIgv(db::Db& db, int code, const QString& serieBoleta, const QString& serieFactura) {
    db.exec(QStringLiteral("INSERT INTO IGV (IgvCod, UsuCod, IgvValor, IgvSerieBoleta, "
                           "IgvSerieFactura) VALUES (?, 1, 18, ?, ?)"),
            {code, serieBoleta, serieFactura});
}

void setSaleReceipt(db::Db& db, int facNumero, const QDate& day, const QString& facEstado,
                    const QString& facTipoSunat, const QVariant& facNumSunat) {
    db.exec(
        QStringLiteral("UPDATE FACTURA SET FacEstado = ?, FacTipoSunat = ?, FacNumSunat = ? "
                       "WHERE FacNumero = ? AND FacFecha = ?"),
        {facEstado, facTipoSunat, facNumSunat, facNumero, QDateTime(day, core::kDayFirstSecond)});
}

QByteArray photoOf(const QColor& colour) {
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(colour);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return png;
}

void setUserPhoto(db::Db& db, int userCode, const QByteArray& photo) {
    db.exec(QStringLiteral("UPDATE USUARIO SET UsuFoto = ? WHERE UsuCod = ?"), {photo, userCode});
}

int stockOf(db::Db& db, int codPresentacion) {
    return db::integer(db.scalar(
        QStringLiteral("SELECT PresStockTotal FROM PRESENTACION WHERE CodPresentacion = ?"),
        {codPresentacion}));
}

QString lineState(db::Db& db, int facNumero, const QDate& day, int detaNumero) {
    const core::DateTimeRange w = core::saleDay(day);
    return db::text(db.scalar(QStringLiteral("SELECT Estado FROM DETAFAC WHERE FacNumero = ? AND "
                                             "DetaNumero = ? AND FacFecha BETWEEN ? AND ?"),
                              {facNumero, detaNumero, w.start, w.end}));
}

SaleReceipt saleReceipt(db::Db& db, int facNumero, const QDate& day) {
    const core::DateTimeRange w = core::saleDay(day);
    QSqlQuery q = db.exec(QStringLiteral("SELECT FacTipoSunat, FacNumSunat FROM FACTURA "
                                         "WHERE FacNumero = ? AND FacFecha BETWEEN ? AND ?"),
                          {facNumero, w.start, w.end});
    if (!q.next())
        return {};
    return {db::text(q.value(0)),
            q.value(1).isNull() ? QVariant() : QVariant(db::integer(q.value(1)))};
}

core::Money money(const char* text) {
    return *core::Money::parse(QString::fromLatin1(text));
}

}  // namespace testsupport
