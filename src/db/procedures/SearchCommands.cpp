#include "db/procedures/SearchCommands.h"

#include "db/procedures/Checkout.h"
#include "db/procedures/Stock.h"
#include "db/procedures/StockAdjust.h"

#include <optional>

namespace db::proc {

namespace {

constexpr int kMensajeSize = 50;
constexpr int kMensaje4Size = 100;
const QString kActivo = QStringLiteral("ACTIVO");
const QString kInactivo = QStringLiteral("INACTIVO");

// What still refers to a presentation, with the word the refusal uses.
struct Reference {
    const char* table;
    const char* what;
};
constexpr Reference kReferences[] = {
    {"DETAFAC", "VENTAS"}, {"KARDEXINGRESO", "INGRESOS DE STOCK"},          {"CANJE", "CANJES"},
    {"CRUCE", "CRUCES"},   {"INVENTARIO_DETALLE", "AJUSTES DE INVENTARIO"},
};

BorraPresentacionOut refusedDeletion(const QString& why) {
    return {param(QStringLiteral("NO SE PUEDE BORRAR LA PRESENTACION: ") + why, kMensaje4Size),
            false};
}

}  // namespace

QString prodLabEstado(Db& db, int prodLabCod) {
    return text(db.scalar(
        QStringLiteral("SELECT ProdLabEstado FROM PRODUCTO_LABORATORIO WHERE ProdLabCod = ?"),
        {prodLabCod}));
}

EditarEstadoProductoLaboratorioOut KZ_EditarEstadoProductoLaboratorio(
    Db& db, const EditarEstadoProductoLaboratorioIn& in) {
    Db::Transaction tx(db);
    const int changed =
        db.execCount(QStringLiteral("UPDATE PRODUCTO_LABORATORIO SET ProdLabEstado = CASE WHEN "
                                    "ProdLabEstado = ? THEN ? ELSE ? END WHERE ProdLabCod = ?"),
                     {kActivo, kInactivo, kActivo, in.pProdLabCod});
    const QString estado = changed == 1 ? prodLabEstado(db, in.pProdLabCod) : QString();
    tx.commit();
    if (changed != 1)
        return {param(QStringLiteral("NO EXISTE EL PRODUCTO-LABORATORIO"), kMensajeSize)};
    return {param(QStringLiteral("PRODUCTO-LABORATORIO ") + estado, kMensajeSize)};
}

BorraPresentacionOut KZ_BorraPresentacion(Db& db, const BorraPresentacionIn& in,
                                          const BorraPresentacionHooks& hooks) {
    // Every writer of the stock waits meanwhile: sales, the adjuster and the intakes.
    Db::Transaction tx(db, {kSaleLinesLock, kAdjustmentsLock, kPresentacionLock});
    const auto refuse = [&](const QString& why) {
        tx.commit();
        return refusedDeletion(why);
    };
    const auto stockRefusal = [&] {
        const QVariant stock = db.scalar(
            QStringLiteral("SELECT PresStockTotal FROM PRESENTACION WHERE CodPresentacion = ?"),
            {in.pCodPres});
        if (stock.isNull())
            return std::optional(refuse(QStringLiteral("NO EXISTE")));
        if (integer(stock) != 0)
            return std::optional(refuse(QStringLiteral("TIENE STOCK (%1)").arg(integer(stock))));
        return std::optional<BorraPresentacionOut>();
    };
    if (auto refused = stockRefusal())
        return *refused;
    for (const Reference& ref : kReferences) {
        const QString table = QString::fromLatin1(ref.table);
        if (!db.scalar(QStringLiteral("SELECT CodPresentacion FROM ") + table +
                           QStringLiteral(" WHERE CodPresentacion = ? LIMIT 1"),
                       {in.pCodPres})
                 .isNull())
            return refuse(QStringLiteral("TIENE ") + QString::fromLatin1(ref.what));
    }
    if (hooks.beforeDelete)
        hooks.beforeDelete();
    // Only at stock 0 as it is now: stock brought by a path without these locks stops it.
    if (db.execCount(QStringLiteral("DELETE FROM PRESENTACION WHERE CodPresentacion = ? AND "
                                    "PresStockTotal = 0"),
                     {in.pCodPres}) != 1)
        return stockRefusal().value_or(refusedDeletion(QStringLiteral("NO EXISTE")));
    for (const char* table : {"SEGUIMIENTO_PRECIO", "PRESFECHCAD"})
        db.exec(QStringLiteral("DELETE FROM ") + QString::fromLatin1(table) +
                    QStringLiteral(" WHERE CodPresentacion = ?"),
                {in.pCodPres});
    tx.commit();
    return {param(QStringLiteral("PRESENTACION BORRADA"), kMensaje4Size), true};
}

std::vector<SeguimientoRow> seguimiento(Db& db, int codPresentacion) {
    // The presentation's newest lines first, on their own (its index gives them in order), then
    // their sales: the headers are read for those lines only.
    QSqlQuery q = db.exec(
        QStringLiteral("SELECT D.Cantidad, D.Costo, D.Importe, F.FacHostName, D.FacFecha, "
                       "D.FacNumero FROM (SELECT Cantidad, Costo, Importe, FacFecha, FacNumero, "
                       "DetaNumero FROM DETAFAC WHERE CodPresentacion = ? AND Estado = ? AND "
                       "Cantidad > 0 ORDER BY FacFecha DESC, FacNumero DESC, DetaNumero LIMIT ?) D "
                       "LEFT JOIN FACTURA F ON F.FacNumero = D.FacNumero AND F.FacFecha = "
                       "D.FacFecha ORDER BY D.FacFecha DESC, D.FacNumero DESC, D.DetaNumero"),
        {codPresentacion, kDescargado, kSeguimientoLines});
    std::vector<SeguimientoRow> rows;
    while (q.next())
        rows.push_back({integer(q.value(0)), money(q.value(1)), money(q.value(2)), text(q.value(3)),
                        dateTime(q.value(4)), integer(q.value(5))});
    return rows;
}

}  // namespace db::proc
