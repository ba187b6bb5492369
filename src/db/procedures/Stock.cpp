#include "db/procedures/Stock.h"

#include "core/Format.h"

namespace db::proc {

namespace {

const QString kCounterLock = QStringLiteral("INGRESO_STOCK");
const QString kCounterRow = QStringLiteral("INGRESO_STOCK");

const QString kStaged = QStringLiteral("FECHA DE PRESENTACION INGRESADA");
const QString kNoSupplier = QStringLiteral("NO EXISTE EL PROVEEDOR");
const QString kNoPresentation = QStringLiteral("NO EXISTE LA PRESENTACION");
const QString kBadUnits = QStringLiteral("CANTIDAD DE UNIDADES INCORRECTA");
const QString kOverflow = QStringLiteral("EL STOCK NO PUEDE PASAR DE 32767 UNIDADES");
const QString kNothingStaged = QStringLiteral("NO HAY LOTES POR INGRESAR");
const QString kAlreadyApplied = QStringLiteral("EL INGRESO YA FUE REALIZADO");
const QString kApplied = QStringLiteral("STOCK INGRESADO, INGRESE LOS NUEVOS PRECIOS");
const QString kNotApplied = QStringLiteral("EL INGRESO NO FUE REALIZADO");
const QString kPriceRefused = QStringLiteral("EL PRECIO DE VENTA DEBE SUPERAR AL DE COSTO");
const QString kConfirmed = QStringLiteral("NUEVOS PRECIOS INGRESADOS");
const QString kUndone = QStringLiteral("INGRESO ANULADO");
const QString kUndoRefused = QStringLiteral("NO SE PUEDE ANULAR: YA SE VENDIO EL STOCK");
const QString kRecorded = QStringLiteral("INGRESO REALIZADO CORRECTAMENTE");

QVariant bound(core::Money value) {
    return QVariant::fromValue(value);
}

std::optional<int> proveedorCod(Db& db, const QString& name) {
    const QVariant v =
        db.scalar(QStringLiteral("SELECT ProvCod FROM PROVEEDOR WHERE TRIM(ProvRazSoc) = ?"),
                  {param(name, kProvNombreSize).trimmed()});
    if (v.isNull())
        return std::nullopt;
    return integer(v);
}

bool validUnits(int units) {
    return units >= 1 && units <= kStockMax;
}

// One staged batch of an intake.
struct Staged {
    int linea = 0;
    int UsuCod = 0;
    int ProvCod = 0;
    int units = 0;
    core::Money cost;
    QDateTime ingreso;
    QDateTime caducidad;
    QString docTipo;
    QString numDoc;
    std::optional<int> KarInCod;
    core::Money replacedCost;
    core::Money appliedCost;
};

std::vector<Staged> stagedBatches(Db& db, int ingreso) {
    QSqlQuery q = db.exec(
        QStringLiteral("SELECT IngLinea, UsuCod, ProvCod, KarInStock, KarInPc, KarInFechaIngreso, "
                       "KarInFechaCad, KarInDocTipo, KarInNumDoc, KarInCod, IngPcAnterior, "
                       "IngPcNuevo "
                       "FROM KARDEXINGRESO_TEMP WHERE IngNumero = ? ORDER BY IngLinea"),
        {ingreso});
    std::vector<Staged> out;
    while (q.next()) {
        Staged s;
        s.linea = integer(q.value(0));
        s.UsuCod = integer(q.value(1));
        s.ProvCod = integer(q.value(2));
        s.units = integer(q.value(3));
        s.cost = money(q.value(4));
        s.ingreso = dateTime(q.value(5));
        s.caducidad = dateTime(q.value(6));
        s.docTipo = text(q.value(7));
        s.numDoc = text(q.value(8));
        if (!q.value(9).isNull())
            s.KarInCod = integer(q.value(9));
        s.replacedCost = money(q.value(10));
        s.appliedCost = money(q.value(11));
        out.push_back(s);
    }
    return out;
}

int totalUnits(const std::vector<Staged>& batches) {
    int total = 0;
    for (const Staged& s : batches)
        total += s.units;
    return total;
}

bool applied(const std::vector<Staged>& batches) {
    return !batches.empty() && batches.front().KarInCod.has_value();
}

void dropStaging(Db& db, int ingreso) {
    db.exec(QStringLiteral("DELETE FROM KARDEXINGRESO_TEMP WHERE IngNumero = ?"), {ingreso});
}

// Raises the stock by `units`; false (nothing changed) for an unknown presentation or one whose
// stock would pass the smallint.
bool raiseStock(Db& db, int code, int units) {
    return db.execCount(QStringLiteral("UPDATE PRESENTACION SET PresStockTotal = "
                                       "COALESCE(PresStockTotal, 0) + ? WHERE CodPresentacion = ? "
                                       "AND COALESCE(PresStockTotal, 0) <= ?"),
                        {units, code, kStockMax - units}) > 0;
}

QString raiseRefusal(Db& db, int code) {
    return presentacionStock(db, code) ? kOverflow : kNoPresentation;
}

// Records one batch: its KARDEXINGRESO row under the next key and its history row with the
// stock it left. Returns the key.
int recordBatch(Db& db, int code, const Staged& s, int stockAfter) {
    const int key = db.nextKey(QStringLiteral("KARDEXINGRESO"), QStringLiteral("KarInCod"));
    db.exec(QStringLiteral("INSERT INTO KARDEXINGRESO (KarInCod, CodPresentacion, UsuCod, ProvCod, "
                           "KarInStock, KarInPc, KarInFechaIngreso, KarInFechaCad, KarInDocTipo, "
                           "KarInNumDoc) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            {key, code, s.UsuCod, s.ProvCod, s.units, s.cost.toDouble(), s.ingreso, s.caducidad,
             s.docTipo, s.numDoc});
    db.exec(QStringLiteral("INSERT INTO PRESFECHCAD (CodPresentacion, PresFechIngre, "
                           "PresStockActual, Hora, KarInCod) VALUES (?, ?, ?, ?, ?)"),
            {code, s.ingreso, stockAfter, s.ingreso, key});
    return key;
}

int currentStock(Db& db, int code) {
    return integer(db.scalar(
        QStringLiteral("SELECT PresStockTotal FROM PRESENTACION WHERE CodPresentacion = ?"),
        {code}));
}

// The average of `stock` units at `oldCost` and `units` at `newCost`, to the ten-thousandth,
// ties away from zero.
core::Money averageCost(int stock, core::Money oldCost, int units, core::Money newCost) {
    const qint64 held = std::max(stock, 0);
    const qint64 total = oldCost.raw() * held + newCost.raw() * units;
    const qint64 count = held + units;
    const qint64 half = total < 0 ? -count / 2 : count / 2;
    return core::Money::fromRaw((total + half) / count);
}

// Takes back what an applied intake did: its units off the stock, the cost it replaced where
// its own still stands, its batches and their history rows. False, changing nothing, when fewer
// units remain than it added.
bool takeBack(Db& db, int code, const std::vector<Staged>& batches) {
    const int units = totalUnits(batches);
    if (db.execCount(QStringLiteral("UPDATE PRESENTACION SET PresStockTotal = PresStockTotal - ? "
                                    "WHERE CodPresentacion = ? AND PresStockTotal >= ?"),
                     {units, code, units}) == 0)
        return false;
    db.exec(QStringLiteral("UPDATE PRESENTACION SET PresPrecioCosto = ? "
                           "WHERE CodPresentacion = ? AND PresPrecioCosto = ?"),
            {bound(batches.front().replacedCost), code, bound(batches.front().appliedCost)});
    for (const Staged& s : batches) {
        db.exec(QStringLiteral("DELETE FROM KARDEXINGRESO WHERE KarInCod = ?"), {*s.KarInCod});
        db.exec(QStringLiteral("DELETE FROM PRESFECHCAD WHERE KarInCod = ?"), {*s.KarInCod});
    }
    return true;
}

}  // namespace

std::optional<PresentacionStock> presentacionStock(Db& db, int codPresentacion) {
    QSqlQuery q = db.exec(QStringLiteral("SELECT PresTipo, PresPrecioCosto, PresVenta, "
                                         "PresStockTotal FROM PRESENTACION "
                                         "WHERE CodPresentacion = ?"),
                          {codPresentacion});
    if (!q.next())
        return std::nullopt;
    return PresentacionStock{codPresentacion, text(q.value(0)), money(q.value(1)),
                             money(q.value(2)), integer(q.value(3))};
}

QStringList proveedorNombres(Db& db) {
    QSqlQuery q = db.exec(QStringLiteral("SELECT ProvRazSoc FROM PROVEEDOR ORDER BY ProvCod"));
    QStringList names;
    while (q.next())
        names << text(q.value(0));
    return names;
}

int nuevoIngresoStock(Db& db) {
    Db::Transaction tx(db, {kCounterLock});
    const int next = text(db.scalar(QStringLiteral("SELECT ParValor FROM PARAMETRO "
                                                   "WHERE ParNombre = ?"),
                                    {kCounterRow}))
                         .toInt() +
                     1;
    // A counter row lost to a maintenance of PARAMETRO starts again above the staged numbers.
    if (db.execCount(QStringLiteral("UPDATE PARAMETRO SET ParValor = ? WHERE ParNombre = ?"),
                     {QString::number(next), kCounterRow}) == 0) {
        const int above =
            integer(db.scalar(QStringLiteral("SELECT MAX(IngNumero) FROM KARDEXINGRESO_TEMP"))) + 1;
        db.exec(QStringLiteral("INSERT INTO PARAMETRO (ParNombre, ParValor) VALUES (?, ?)"),
                {kCounterRow, QString::number(above)});
        tx.commit();
        return above;
    }
    tx.commit();
    return next;
}

IngresoPresFechCadMasStockOut KZT_IngresoPresFechCadMasStock(
    Db& db, const IngresoPresFechCadMasStockIn& in) {
    Db::Transaction tx(db, {kPresentacionLock});
    const std::optional<int> supplier = proveedorCod(db, in.pProvNom);
    if (!supplier)
        return {kNoSupplier, false};
    if (!validUnits(in.pStock))
        return {kBadUnits, false};
    if (applied(stagedBatches(db, in.pIngreso)))
        return {kAlreadyApplied, false};
    const int linea =
        integer(db.scalar(QStringLiteral("SELECT MAX(IngLinea) FROM KARDEXINGRESO_TEMP "
                                         "WHERE IngNumero = ?"),
                          {in.pIngreso})) +
        1;
    db.exec(QStringLiteral("INSERT INTO KARDEXINGRESO_TEMP (IngNumero, IngLinea, IngEstacion, "
                           "CodPresentacion, UsuCod, ProvCod, KarInStock, KarInPc, "
                           "KarInFechaIngreso, KarInFechaCad, KarInDocTipo, KarInNumDoc) "
                           "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            {in.pIngreso, linea, param(in.pEstacion, kEstacionSize), in.pCodPresentacion,
             in.pCodTrab, *supplier, in.pStock, bound(in.pPC), in.pFechIngre, in.pFechCad,
             param(in.pDocTipo, kDocSize), param(in.pPresFechNumDoc, kDocSize)});
    tx.commit();
    return {kStaged, true};
}

IngresoMasStockOut KZ_IngresoMasStock(Db& db, const IngresoMasStockIn& in,
                                      const IntakeHooks& hooks) {
    Db::Transaction tx(db, {kPresentacionLock});
    const std::vector<Staged> batches = stagedBatches(db, in.pIngreso);
    if (batches.empty())
        return {{}, kNothingStaged, false};
    if (applied(batches))
        return {{}, kAlreadyApplied, false};
    const int units = totalUnits(batches);
    if (hooks.beforeRaise)
        hooks.beforeRaise();
    if (!raiseStock(db, in.pCod, units))
        return {{}, raiseRefusal(db, in.pCod), false};
    // Read once raised: the row is this transaction's now, so a sale discharged before the raise
    // is counted and none comes between.
    const PresentacionStock raised = *presentacionStock(db, in.pCod);
    const int held = raised.PresStockTotal - units;
    db.exec(QStringLiteral("UPDATE PRESENTACION SET PresPrecioCosto = ? WHERE CodPresentacion = ?"),
            {bound(in.pNewPc), in.pCod});
    int stock = held;
    for (const Staged& s : batches) {
        stock += s.units;
        const int key = recordBatch(db, in.pCod, s, stock);
        db.exec(QStringLiteral("UPDATE KARDEXINGRESO_TEMP SET KarInCod = ?, IngPcAnterior = ?, "
                               "IngPcNuevo = ? WHERE IngNumero = ? AND IngLinea = ?"),
                {key, bound(raised.PresPrecioCosto), bound(in.pNewPc), in.pIngreso, s.linea});
    }
    const core::Money proposed = averageCost(held, raised.PresPrecioCosto, units, in.pNewPc);
    tx.commit();
    return {param(core::fmt::shortest(proposed), 10), kApplied, true};
}

IngresoNPCNPGNPVOut KZ_IngresoNPCNPGNPV(Db& db, const IngresoNPCNPGNPVIn& in) {
    Db::Transaction tx(db, {kPresentacionLock});
    if (!applied(stagedBatches(db, in.pIngreso)))
        return {kNotApplied, false};
    if (in.pPresVenta <= in.pPresCosto)
        return {kPriceRefused, false};
    db.exec(QStringLiteral("UPDATE PRESENTACION SET PresPrecioCosto = ?, PresVenta = ? "
                           "WHERE CodPresentacion = ?"),
            {bound(in.pPresCosto), bound(in.pPresVenta), in.pCodProd});
    dropStaging(db, in.pIngreso);
    tx.commit();
    return {kConfirmed, true};
}

BorraTempPresOut KZ_BorraTempPres(Db& db, const BorraTempPresIn& in) {
    Db::Transaction tx(db, {kPresentacionLock});
    const std::vector<Staged> batches = stagedBatches(db, in.pIngreso);
    if (applied(batches) && !takeBack(db, in.pCodProd, batches))
        return {kUndoRefused, false};
    dropStaging(db, in.pIngreso);
    tx.commit();
    return {batches.empty() ? QString() : kUndone, true};
}

int borraIngresosDeEstacion(Db& db, const QString& estacion) {
    Db::Transaction tx(db, {kPresentacionLock});
    QSqlQuery q = db.exec(QStringLiteral("SELECT DISTINCT IngNumero, CodPresentacion FROM "
                                         "KARDEXINGRESO_TEMP WHERE IngEstacion = ?"),
                          {param(estacion, kEstacionSize)});
    std::vector<std::pair<int, int>> intakes;
    while (q.next())
        intakes.emplace_back(integer(q.value(0)), integer(q.value(1)));
    q.finish();
    int kept = 0;
    for (const auto& [ingreso, code] : intakes) {
        const std::vector<Staged> batches = stagedBatches(db, ingreso);
        if (applied(batches) && !takeBack(db, code, batches))
            ++kept;
        dropStaging(db, ingreso);
    }
    tx.commit();
    return kept;
}

KardexIngresoOut KZ_KardexIngreso(Db& db, const KardexIngresoIn& in, const IntakeHooks& hooks) {
    Db::Transaction tx(db, {kPresentacionLock});
    const std::optional<int> supplier = proveedorCod(db, in.pProvNom);
    if (!supplier)
        return {kNoSupplier, 0};
    if (!validUnits(in.pStock))
        return {kBadUnits, 0};
    const std::optional<PresentacionStock> before = presentacionStock(db, in.pCodPresentacion);
    if (hooks.beforeRaise)
        hooks.beforeRaise();
    if (!before || !raiseStock(db, in.pCodPresentacion, in.pStock))
        return {raiseRefusal(db, in.pCodPresentacion), 0};
    Staged batch;
    batch.UsuCod = in.pCodTrab;
    batch.ProvCod = *supplier;
    batch.units = in.pStock;
    batch.cost = before->PresPrecioCosto;
    batch.ingreso = in.pFechIngre;
    batch.caducidad = in.pFechCad;
    batch.docTipo = param(in.pDocTipo, kDocSize);
    batch.numDoc = param(in.pPresFechNumDoc, kDocSize);
    const int key =
        recordBatch(db, in.pCodPresentacion, batch, currentStock(db, in.pCodPresentacion));
    tx.commit();
    return {kRecorded, key};
}

}  // namespace db::proc
