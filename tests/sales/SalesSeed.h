#pragma once

#include "core/Money.h"
#include "db/Db.h"

#include <QString>

// Catalogue rows for the seller's counter: links with names and brands, presentations with
// cost, price and stock.
namespace testsupport::counter {

inline core::Money soles(const char* text) {
    return *core::Money::parse(QString::fromLatin1(text));
}

// A product, its brand and their link, all under the same code.
inline void seedLink(db::Db& db, int code, const QString& name, const QString& brand,
                     const QString& estado = QStringLiteral("ACTIVO")) {
    db.exec(QStringLiteral("INSERT INTO PRODUCTO (ProdCodigo, ProdNomComercial, ProdNomGenerico, "
                           "ProAccionMecanismo) VALUES (?, ?, ?, ?)"),
            {code, name, name + QStringLiteral(" GENERICO"), QStringLiteral("ANALGESICO")});
    db.exec(QStringLiteral("INSERT INTO LABORATORIO (LabCodigo, LabNombre) VALUES (?, ?)"),
            {code, brand});
    db.exec(QStringLiteral("INSERT INTO PRODUCTO_LABORATORIO (ProdLabCod, ProdCodigo, LabCodigo, "
                           "ProdLabEstado) VALUES (?, ?, ?, ?)"),
            {code, code, code, estado});
}

inline void seedPresentation(db::Db& db, int code, int link, const QString& presTipo,
                             const char* cost, const char* price, int stock) {
    db.exec(QStringLiteral("INSERT INTO PRESENTACION (CodPresentacion, ProdLabCod, PresTipo, "
                           "PresPrecioCosto, PresVenta, PresStockTotal, PresEstado, PresUniTodo, "
                           "PresUbicacion) VALUES (?, ?, ?, ?, ?, ?, 'CONTINUO', 'UNIDAD', 'A1')"),
            {code, link, presTipo, QVariant::fromValue(soles(cost)),
             QVariant::fromValue(soles(price)), stock});
}

// The state of a sale header or line, as the cashier would set it.
inline void setSaleState(db::Db& db, int facNumero, const QString& estado) {
    db.exec(QStringLiteral("UPDATE FACTURA SET FacEstado = ? WHERE FacNumero = ?"),
            {estado, facNumero});
}
inline void setLineState(db::Db& db, int facNumero, int detaNumero, const QString& estado) {
    db.exec(QStringLiteral("UPDATE DETAFAC SET Estado = ? WHERE FacNumero = ? AND DetaNumero = ?"),
            {estado, facNumero, detaNumero});
}

inline int count(db::Db& db, const QString& table) {
    return db::integer(db.scalar(QStringLiteral("SELECT COUNT(*) FROM ") + table));
}

}  // namespace testsupport::counter
