#pragma once

#include "core/Money.h"

#include <QByteArray>
#include <QColor>
#include <QDate>
#include <QString>
#include <QVariant>
#include <vector>

namespace db {
class Db;
}

namespace testsupport {

// One sale line as a seller's quotation leaves it.
struct SeedLine {
    int codPresentacion = 0;
    int cantidad = 1;
    const char* importe = "1";
    QString estado = QStringLiteral("NO DESCARGADO");
};

// A presentation with its own product, brand and product-brand link.
void seedPresentation(db::Db& db, int code, const QString& presTipo, int stock,
                      const QString& brand = QStringLiteral("GENFAR"));
// A sale of the day (at 00:00:01, as sale numbers are reserved) with lines numbered from 1.
void seedSale(db::Db& db, int facNumero, const QDate& day, const QString& facHostName,
              const std::vector<SeedLine>& lines);
// One more line of an existing sale of the day, numbered `detaNumero`.
void addSaleLine(db::Db& db, int facNumero, const QDate& day, int detaNumero, const SeedLine& line);
void seedIgv(db::Db& db, int code, const QString& serieBoleta, const QString& serieFactura);
// The sale header as a discharge leaves it: its state, receipt type and number (null: none).
void setSaleReceipt(db::Db& db, int facNumero, const QDate& day, const QString& facEstado,
                    const QString& facTipoSunat, const QVariant& facNumSunat = {});
// A user's photo: a small picture of one colour, as a PNG.
QByteArray photoOf(const QColor& colour);
void setUserPhoto(db::Db& db, int userCode, const QByteArray& photo);

int stockOf(db::Db& db, int codPresentacion);
QString lineState(db::Db& db, int facNumero, const QDate& day, int detaNumero);
// FacTipoSunat and FacNumSunat of a sale (the number null when it has none).
struct SaleReceipt {
    QString type;
    QVariant number;
};
SaleReceipt saleReceipt(db::Db& db, int facNumero, const QDate& day);
core::Money money(const char* text);

}  // namespace testsupport
