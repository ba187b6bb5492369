#include "db/procedures/StockAdjust.h"

#include <optional>

namespace db::proc {

namespace {

constexpr int kMensajeSize = 50;
constexpr int kTipoSize = 13;
constexpr int kStockMax = 32767;
const QString kAdjustments = QStringLiteral("INVENTARIO_DETALLE");

EditarStockTotalOut outcome(AjusteStock result) {
    switch (result) {
        case AjusteStock::Editado:
            return {QStringLiteral("EDICION SATISFACTORIA..."), result};
        case AjusteStock::ValorNegativo:
            return {QStringLiteral("EDICION NO PERMITIDA...VALOR NEGATIVO"), result};
        case AjusteStock::StockMaximo:
            return {QStringLiteral("EDICION NO PERMITIDA...STOCK MAYOR A %1").arg(kStockMax),
                    result};
        case AjusteStock::CantidadCero:
            return {QStringLiteral("EDICION NO PERMITIDA...CANTIDAD CERO"), result};
        case AjusteStock::SinInventario:
            return {QStringLiteral("NO HAY INVENTARIO ABIERTO...NO SE EDITA"), result};
        case AjusteStock::AjusteMaximo:
            return {QStringLiteral("EDICION NO PERMITIDA...AJUSTE MAYOR A %1").arg(kStockMax),
                    result};
        case AjusteStock::ErrorTransaccion:
            break;
    }
    return {QStringLiteral("ERROR EN TRANSACCION..."), AjusteStock::ErrorTransaccion};
}

// Takes the units from stock when the result stays within 0..32767; otherwise says why not.
AjusteStock subtract(Db& db, const EditarStockTotalIn& in) {
    const int units = in.pInvDetaUni;
    // The units as an integer: PostgreSQL would take them as the column's smallint.
    if (db.execCount(QStringLiteral("UPDATE PRESENTACION SET PresStockTotal = PresStockTotal - "
                                    "CAST(? AS INTEGER) WHERE CodPresentacion = ? AND "
                                    "PresStockTotal >= 0 AND PresStockTotal - CAST(? AS INTEGER) "
                                    "BETWEEN 0 AND ?"),
                     {units, in.pCodPresentacion, units, kStockMax}) == 1)
        return AjusteStock::Editado;
    return units > 0 ? AjusteStock::ValorNegativo : AjusteStock::StockMaximo;
}

bool hasRowOfKind(Db& db, const EditarStockTotalIn& in, int period, const QString& kind) {
    return !db.scalar(QStringLiteral("SELECT InvDetaCod FROM INVENTARIO_DETALLE WHERE "
                                     "CodPresentacion = ? AND InvCod = ? AND InvDetaTipo = ? "
                                     "LIMIT 1"),
                      {in.pCodPresentacion, period, kind})
                .isNull();
}

// The row that takes the units: while the presentation has rows of both kinds in the period,
// the period's newest row of the kind; none otherwise (a new row is added).
struct Accumulating {
    int code = 0;
    int units = 0;
};
std::optional<Accumulating> accumulatingRow(Db& db, const EditarStockTotalIn& in, int period,
                                            const QString& kind) {
    if (!hasRowOfKind(db, in, period, kSobra) || !hasRowOfKind(db, in, period, kFalta))
        return std::nullopt;
    QSqlQuery q = db.exec(QStringLiteral("SELECT InvDetaCod, InvDetaUni FROM INVENTARIO_DETALLE "
                                         "WHERE InvDetaCod = (SELECT MAX(InvDetaCod) FROM "
                                         "INVENTARIO_DETALLE WHERE CodPresentacion = ? AND "
                                         "InvCod = ? AND InvDetaTipo = ?)"),
                          {in.pCodPresentacion, period, kind});
    q.next();
    return Accumulating{integer(q.value(0)), integer(q.value(1))};
}

// The row takes the units; a row left with none goes.
void accumulate(Db& db, const EditarStockTotalIn& in, int code) {
    db.exec(QStringLiteral("UPDATE INVENTARIO_DETALLE SET InvDetaUni = InvDetaUni + ? "
                           "WHERE InvDetaCod = ?"),
            {in.pInvDetaUni, code});
    db.exec(QStringLiteral("DELETE FROM INVENTARIO_DETALLE WHERE InvDetaCod = ? AND "
                           "InvDetaUni = 0"),
            {code});
}

void insertRow(Db& db, const EditarStockTotalIn& in, int period, const QString& kind,
               const QDateTime& now) {
    db.exec(QStringLiteral("INSERT INTO INVENTARIO_DETALLE (InvDetaCod, UsuCod, CodPresentacion, "
                           "InvCod, InvDetaTipo, InvDetaUni, InvDetaPc, InvDetaPv, InvDetaFecha) "
                           "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            {db.nextKey(kAdjustments, QStringLiteral("InvDetaCod")), in.pUsuCod,
             in.pCodPresentacion, period, kind, in.pInvDetaUni, QVariant::fromValue(in.pInvDetaPc),
             QVariant::fromValue(in.pInvDetaPv), now});
}

AjusteStock adjust(Db& db, const EditarStockTotalIn& in, const QDateTime& now) {
    const QString kind = param(in.pInvDetaTipo, kTipoSize);
    if (kind != kSobra && kind != kFalta)
        return AjusteStock::ErrorTransaccion;
    if (db.scalar(QStringLiteral("SELECT CodPresentacion FROM PRESENTACION WHERE "
                                 "CodPresentacion = ? AND PresStockTotal >= 0"),
                  {in.pCodPresentacion})
            .isNull())
        return AjusteStock::ErrorTransaccion;
    if (in.pInvDetaUni == 0)
        return AjusteStock::CantidadCero;
    if (in.pSW == 1)
        return subtract(db, in);
    const QVariant period = db.scalar(QStringLiteral("SELECT MAX(InvCod) FROM INVENTARIO"));
    if (period.isNull())
        return AjusteStock::SinInventario;
    const std::optional<Accumulating> row = accumulatingRow(db, in, integer(period), kind);
    const qint64 accumulated = row ? qint64(row->units) + in.pInvDetaUni : 0;
    if (accumulated < -kStockMax - 1 || accumulated > kStockMax)
        return AjusteStock::AjusteMaximo;
    const AjusteStock moved = subtract(db, in);
    if (moved == AjusteStock::Editado) {
        if (row)
            accumulate(db, in, row->code);
        else
            insertRow(db, in, integer(period), kind, now);
    }
    return moved;
}

}  // namespace

bool stockChangeLocked(Db& db) {
    return text(db.scalar(QStringLiteral("SELECT ParValor FROM PARAMETRO WHERE ParNombre = ?"),
                          {kStockChangeLockKey})) == kStockChangeLocked;
}

EditarStockTotalOut KZ_EditarStockTotal(Db& db, const EditarStockTotalIn& in,
                                        const QDateTime& now) {
    Db::Transaction tx(db);
    // Every adjustment of the shop in turn, so the kind rows read are the ones written to.
    db.lock(kAdjustmentsLock);
    if (stockChangeLocked(db))
        throw Error(QStringLiteral("KZ_EditarStockTotal"),
                    QStringLiteral("CAMBIO DE STOCK BLOQUEADO"));
    EditarStockTotalOut out = outcome(adjust(db, in, now));
    out.pMensaje = param(out.pMensaje, kMensajeSize);
    tx.commit();
    return out;
}

}  // namespace db::proc
