#include "db/procedures/Exchange.h"

#include <QSqlQuery>
#include <optional>

namespace db::proc {

namespace {

const QString kPresentacionLock = QStringLiteral("PRESENTACION");
constexpr int kStockMax = 32767;
constexpr int kProvNombreSize = 50;
constexpr int kDocSize = 20;
const QString kEnviado = QStringLiteral("PCD");
const QString kRecibido = QStringLiteral("PCR");

const QString kBadUnits = QStringLiteral("CANTIDAD DE UNIDADES INCORRECTA");
const QString kNotOfPresentation = QStringLiteral("EL LOTE NO ES DE ESTA PRESENTACION");
const QString kStockHolds = QStringLiteral("EN FISICO SOLO HAY %1 UNIDADES");
const QString kBatchHolds = QStringLiteral("DEL LOTE SOLO QUEDAN %1 UNIDADES POR DEVOLVER");
const QString kSent = QStringLiteral("DEVOLUCION POR CANJE REALIZADA");
const QString kNotOfBatch = QStringLiteral("EL CANJE NO ES DE ESTE LOTE");
const QString kAwaits = QStringLiteral("EL CANJE SOLO ESPERA %1 UNIDADES");
const QString kNoSupplier = QStringLiteral("NO EXISTE EL PROVEEDOR");
const QString kOverflow = QStringLiteral("EL STOCK NO PUEDE PASAR DE 32767 UNIDADES");
const QString kReceived = QStringLiteral("INGRESO POR CANJE REALIZADO");
const QString kBadState = QStringLiteral("ELIJA SI EL PRODUCTO SOBRA O FALTA");
const QString kNoPresentation = QStringLiteral("NO EXISTE LA PRESENTACION");
const QString kShortageAbove = QStringLiteral("LA FALTA SUPERA EL STOCK DE %1 UNIDADES");
const QString kRecorded = QStringLiteral("CRUCE INGRESADO CORRECTAMENTE");
const QString kNoRow = QStringLiteral("NO EXISTE EL CRUCE");
const QString kDeleted = QStringLiteral("CRUCE ELIMINADO CORRECTAMENTE");

bool validUnits(int units) {
    return units >= 1 && units <= kStockMax;
}

// "NAMES, SURNAMES"; empty when either is missing, as the concatenation of a null is null.
QString person(const QVariant& names, const QVariant& surnames) {
    if (names.isNull() || surnames.isNull())
        return {};
    return text(names) + QStringLiteral(", ") + text(surnames);
}

std::optional<int> stockOf(Db& db, int codPresentacion) {
    const QVariant v =
        db.scalar(QStringLiteral("SELECT COALESCE(PresStockTotal, 0) FROM PRESENTACION "
                                 "WHERE CodPresentacion = ?"),
                  {codPresentacion});
    if (v.isNull())
        return std::nullopt;
    return integer(v);
}

// Moves the stock by `delta` when it stays within 0..32767; false (nothing changed) otherwise.
bool moveStock(Db& db, int codPresentacion, int delta) {
    // The delta as an integer: PostgreSQL would take it as the column's smallint.
    return db.execCount(QStringLiteral("UPDATE PRESENTACION SET PresStockTotal = "
                                       "COALESCE(PresStockTotal, 0) + CAST(? AS INTEGER) WHERE "
                                       "CodPresentacion = ? AND COALESCE(PresStockTotal, 0) + "
                                       "CAST(? AS INTEGER) BETWEEN 0 AND ?"),
                        {delta, codPresentacion, delta, kStockMax}) == 1;
}

// The units a batch received and those its exchanges sent, when it is of the presentation.
struct Lote {
    int received = 0;
    int sent = 0;
};
std::optional<Lote> lote(Db& db, int karInCod, int codPresentacion) {
    QSqlQuery q = db.exec(
        QStringLiteral("SELECT K.KarInStock, (SELECT COALESCE(SUM(C.CanUnidades), 0) FROM CANJE C "
                       "WHERE C.KarInCod = K.KarInCod) FROM KARDEXINGRESO K "
                       "WHERE K.KarInCod = ? AND K.CodPresentacion = ?"),
        {karInCod, codPresentacion});
    if (!q.next())
        return std::nullopt;
    return Lote{integer(q.value(0)), integer(q.value(1))};
}

std::optional<int> proveedorCod(Db& db, const QString& name) {
    const QVariant v =
        db.scalar(QStringLiteral("SELECT ProvCod FROM PROVEEDOR WHERE TRIM(ProvRazSoc) = ?"),
                  {param(name, kProvNombreSize).trimmed()});
    if (v.isNull())
        return std::nullopt;
    return integer(v);
}

// The units an exchange of that batch and presentation still awaits.
std::optional<int> awaited(Db& db, const IngresoCanjeIn& in) {
    QSqlQuery q = db.exec(QStringLiteral("SELECT CanUnidades - COALESCE(CanUnidPen, 0) FROM CANJE "
                                         "WHERE CanCod = ? AND KarInCod = ? AND "
                                         "CodPresentacion = ?"),
                          {in.pCanCod, in.pKarCod, in.pCodPresentacion});
    if (!q.next())
        return std::nullopt;
    return integer(q.value(0));
}

void recordReplacement(Db& db, const IngresoCanjeIn& in, int provCod, const QDateTime& now) {
    const int key = db.nextKey(QStringLiteral("KARDEXINGRESO"), QStringLiteral("KarInCod"));
    db.exec(QStringLiteral("INSERT INTO KARDEXINGRESO (KarInCod, CodPresentacion, UsuCod, ProvCod, "
                           "KarInStock, KarInPc, KarInFechaIngreso, KarInFechaCad, KarInDocTipo, "
                           "KarInNumDoc) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            {key, in.pCodPresentacion, in.pUsuCod, provCod, in.pUnidades, in.pPC.toDouble(), now,
             in.pFechCad, param(in.pDocTipo, kDocSize), param(in.pNumDoc, kDocSize)});
    db.exec(QStringLiteral("INSERT INTO PRESFECHCAD (CodPresentacion, PresFechIngre, "
                           "PresStockActual, Hora, KarInCod) VALUES (?, ?, ?, ?, ?)"),
            {in.pCodPresentacion, now, *stockOf(db, in.pCodPresentacion), now, key});
    db.exec(QStringLiteral("UPDATE CANJE SET CanUnidPen = COALESCE(CanUnidPen, 0) + ?, "
                           "CanFechaIngreso = ?, CanEstado = CASE WHEN COALESCE(CanUnidPen, 0) + "
                           "? >= CanUnidades THEN ? ELSE ? END WHERE CanCod = ?"),
            {in.pUnidades, now, in.pUnidades, kRecibido, kEnviado, in.pCanCod});
}

}  // namespace

std::vector<LoteCanje> lotesCanje(Db& db, int codPresentacion, const QDateTime& desde) {
    QSqlQuery q =
        db.exec(QStringLiteral("SELECT U.UsuNombres, U.UsuApellidos, K.KarInFechaIngreso, "
                               "K.KarInFechaCad, K.KarInStock, K.KarInCod, V.ProvRazSoc "
                               "FROM KARDEXINGRESO K LEFT JOIN USUARIO U ON U.UsuCod = K.UsuCod "
                               "LEFT JOIN PROVEEDOR V ON V.ProvCod = K.ProvCod "
                               "WHERE K.CodPresentacion = ? AND K.KarInFechaCad >= ? "
                               "ORDER BY K.KarInFechaCad, K.KarInCod"),
                {codPresentacion, desde});
    std::vector<LoteCanje> rows;
    while (q.next())
        rows.push_back({person(q.value(0), q.value(1)), dateTime(q.value(2)), dateTime(q.value(3)),
                        integer(q.value(4)), integer(q.value(5)), text(q.value(6))});
    return rows;
}

std::vector<CanjeRow> canjesDeLote(Db& db, int karInCod) {
    QSqlQuery q = db.exec(QStringLiteral("SELECT CanCod, CanFechaSalida, CanFechaIngreso, "
                                         "CanUnidades, CanUnidPen, CanEstado FROM CANJE "
                                         "WHERE KarInCod = ? ORDER BY CanCod"),
                          {karInCod});
    std::vector<CanjeRow> rows;
    while (q.next())
        rows.push_back({integer(q.value(0)), dateTime(q.value(1)), dateTime(q.value(2)),
                        integer(q.value(3)), integer(q.value(4)), text(q.value(5))});
    return rows;
}

CanjeOut KZ_DevolucionCanje(Db& db, const DevolucionCanjeIn& in, const QDateTime& now) {
    Db::Transaction tx(db, {kPresentacionLock});
    if (!validUnits(in.pUnidades))
        return {kBadUnits, false};
    const std::optional<Lote> batch = lote(db, in.pKarCod, in.pCodPresentacion);
    if (!batch)
        return {kNotOfPresentation, false};
    if (!moveStock(db, in.pCodPresentacion, -in.pUnidades))
        return {kStockHolds.arg(stockOf(db, in.pCodPresentacion).value_or(0)), false};
    if (in.pUnidades > batch->received - batch->sent)
        return {kBatchHolds.arg(std::max(batch->received - batch->sent, 0)), false};
    db.exec(QStringLiteral("INSERT INTO CANJE (CanCod, CodPresentacion, KarInCod, CanEstado, "
                           "CanFechaSalida, CanUnidades, CanUnidPen) VALUES (?, ?, ?, ?, ?, ?, 0)"),
            {db.nextKey(QStringLiteral("CANJE"), QStringLiteral("CanCod")), in.pCodPresentacion,
             in.pKarCod, kEnviado, now, in.pUnidades});
    tx.commit();
    return {kSent, true};
}

CanjeOut KZ_IngresoCanje(Db& db, const IngresoCanjeIn& in, const QDateTime& now) {
    Db::Transaction tx(db, {kPresentacionLock});
    if (!validUnits(in.pUnidades))
        return {kBadUnits, false};
    const std::optional<int> due = awaited(db, in);
    if (!due)
        return {kNotOfBatch, false};
    if (in.pUnidades > *due)
        return {kAwaits.arg(std::max(*due, 0)), false};
    const std::optional<int> supplier = proveedorCod(db, in.pProvNom);
    if (!supplier)
        return {kNoSupplier, false};
    if (!moveStock(db, in.pCodPresentacion, in.pUnidades))
        return {kOverflow, false};
    recordReplacement(db, in, *supplier, now);
    tx.commit();
    return {kReceived, true};
}

std::vector<CruceItem> crucesDePresentacion(Db& db, int codPresentacion) {
    QSqlQuery q = db.exec(
        QStringLiteral("SELECT U.UsuNombres, U.UsuApellidos, C.CruFecha, C.CruEstado, "
                       "ABS(C.CruCantidad), C.CruceCod, C.CodPresentacion FROM CRUCE C "
                       "LEFT JOIN USUARIO U ON U.UsuCod = C.UsuCod WHERE C.CodPresentacion = ? "
                       "ORDER BY C.CruFecha DESC, C.CruceCod DESC"),
        {codPresentacion});
    std::vector<CruceItem> rows;
    while (q.next())
        rows.push_back({person(q.value(0), q.value(1)), dateTime(q.value(2)), text(q.value(3)),
                        integer(q.value(4)), integer(q.value(5)), integer(q.value(6))});
    return rows;
}

MontosCruce montosCruce(Db& db) {
    QSqlQuery q = db.exec(
        QStringLiteral("SELECT COALESCE(SUM(CASE WHEN C.CruEstado = ? THEN ABS(C.CruCantidad) * "
                       "P.PresVenta END), 0), COALESCE(SUM(CASE WHEN C.CruEstado = ? THEN "
                       "ABS(C.CruCantidad) * P.PresVenta END), 0) FROM CRUCE C "
                       "JOIN PRESENTACION P ON P.CodPresentacion = C.CodPresentacion"),
        {kFalta, kSobra});
    q.next();
    return {money(q.value(0)), money(q.value(1))};
}

CanjeOut KZ_IngresoCruce(Db& db, const IngresoCruceIn& in, const QDateTime& now) {
    Db::Transaction tx(db, {kPresentacionLock});
    if (!validUnits(in.pUnidades))
        return {kBadUnits, false};
    const QString state = param(in.pEstado, 5);
    if (state != kFalta && state != kSobra)
        return {kBadState, false};
    const std::optional<int> stock = stockOf(db, in.pCodPresentacion);
    if (!stock)
        return {kNoPresentation, false};
    if (state == kFalta && in.pUnidades > *stock)
        return {kShortageAbove.arg(*stock), false};
    db.exec(QStringLiteral("INSERT INTO CRUCE (CruceCod, CodPresentacion, UsuCod, CruCantidad, "
                           "CruEstado, CruFecha) VALUES (?, ?, ?, ?, ?, ?)"),
            {db.nextKey(QStringLiteral("CRUCE"), QStringLiteral("CruceCod")), in.pCodPresentacion,
             in.pUsuario, state == kFalta ? in.pUnidades : -in.pUnidades, state, now});
    tx.commit();
    return {kRecorded, true};
}

CanjeOut KZ_EliminaItemCruce(Db& db, const EliminaItemCruceIn& in) {
    Db::Transaction tx(db, {kPresentacionLock});
    if (db.execCount(QStringLiteral("DELETE FROM CRUCE WHERE CruceCod = ? AND CodPresentacion = ?"),
                     {in.pCodCruce, in.pCodPresentacion}) == 0)
        return {kNoRow, false};
    tx.commit();
    return {kDeleted, true};
}

CanjeOut eliminaCruces(Db& db, const std::vector<EliminaItemCruceIn>& rows) {
    Db::Transaction tx(db, {kPresentacionLock});
    CanjeOut last{kNoRow, false};
    for (const EliminaItemCruceIn& row : rows) {
        last = KZ_EliminaItemCruce(db, row);
        if (!last.done)
            return last;
    }
    tx.commit();
    return last;
}

}  // namespace db::proc
