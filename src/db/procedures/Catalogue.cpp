#include "db/procedures/Catalogue.h"

namespace db::proc {

namespace {

const QString kLaboratorioLock = QStringLiteral("LABORATORIO");
const QString kEnlaceLock = QStringLiteral("PRODUCTO_LABORATORIO");
const QString kActivo = QStringLiteral("ACTIVO");

// A product's text as stored: one line (a memo's line breaks become blanks), cut to its column.
QString oneLine(const QString& text, int size) {
    QString s = text;
    for (QChar& c : s)
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QLatin1Char('\t'))
            c = QLatin1Char(' ');
    return param(s, size);
}

// A text as an SQL literal: quoted, each quote doubled.
QString literal(const QString& text) {
    QString s = text;
    s.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + s + QLatin1Char('\'');
}

bool exists(Db& db, const QString& sql, int code) {
    return !db.scalar(sql, {code}).isNull();
}
bool productoExists(Db& db, int code) {
    return exists(db, QStringLiteral("SELECT ProdCodigo FROM PRODUCTO WHERE ProdCodigo = ?"), code);
}
bool laboratorioExists(Db& db, int code) {
    return exists(db, QStringLiteral("SELECT LabCodigo FROM LABORATORIO WHERE LabCodigo = ?"),
                  code);
}
bool linked(Db& db, int producto, int laboratorio) {
    return !db.scalar(QStringLiteral("SELECT ProdLabCod FROM PRODUCTO_LABORATORIO "
                                     "WHERE ProdCodigo = ? AND LabCodigo = ?"),
                      {producto, laboratorio})
                .isNull();
}

}  // namespace

IngresoProductoOut KZ_IngresoPRODUCTO(Db& db, const IngresoProductoIn& in) {
    const QStringList texts{
        oneLine(in.pProNomCom, kProdNombreSize), oneLine(in.pProNomGen, kProdNombreSize),
        oneLine(in.pProLinea, kProdLineaSize), oneLine(in.pProDescrip, kProdDescripcionSize),
        oneLine(in.pProAccion, kProdMecanismoSize)};
    const QString columns = QStringLiteral(
        "INSERT INTO PRODUCTO (ProdCodigo, ProdNomComercial, ProdNomGenerico, ProdLinea, "
        "ProDescripcion, ProAccionMecanismo) VALUES (");
    Db::Transaction tx(db);
    const int code = db.nextKey(QStringLiteral("PRODUCTO"), QStringLiteral("ProdCodigo"));
    db.exec(columns + QStringLiteral("?, ?, ?, ?, ?, ?)"),
            {code, texts[0], texts[1], texts[2], texts[3], texts[4]});
    tx.commit();
    QStringList values{QString::number(code)};
    for (const QString& t : texts)
        values << literal(t);
    return {param(QStringLiteral("PRODUCTO INGRESADO CON CODIGO ") + QString::number(code), 50),
            columns + values.join(QStringLiteral(", ")) + QStringLiteral(");"), code};
}

EditarProductoOut KZ_EditarProducto(Db& db, const EditarProductoIn& in) {
    Db::Transaction tx(db);
    const int changed = db.execCount(
        QStringLiteral("UPDATE PRODUCTO SET ProdNomComercial = ?, ProdLinea = ?, "
                       "ProdNomGenerico = ?, ProAccionMecanismo = ?, ProDescripcion = ? "
                       "WHERE ProdCodigo = ?"),
        {oneLine(in.pNomCom, kProdNombreSize), oneLine(in.pLinea, kProdLineaSize),
         oneLine(in.pNomGen, kProdNombreSize), oneLine(in.pMecanismo, kProdMecanismoSize),
         oneLine(in.pDescrip, kProdDescripcionSize), in.pProdCodigo});
    tx.commit();
    if (changed == 0)
        return {QStringLiteral("NO EXISTE EL PRODUCTO ") + QString::number(in.pProdCodigo), false};
    return {QStringLiteral("PRODUCTO EDITADO"), true};
}

IngresoLaboratorioOut KZ_IngresoLABORATORIO(Db& db, const IngresoLaboratorioIn& in) {
    const QString nombre = param(in.pLabNombre, kLabNombreSize);
    if (nombre.trimmed().isEmpty())
        return {QStringLiteral("FALTA EL NOMBRE DE LA MARCA"), 0};
    Db::Transaction tx(db);
    db.lock(kLaboratorioLock);
    if (!db.scalar(QStringLiteral("SELECT LabCodigo FROM LABORATORIO WHERE TRIM(LabNombre) = ?"),
                   {nombre.trimmed()})
             .isNull()) {
        tx.commit();
        return {QStringLiteral("YA EXISTE LA MARCA"), 0};
    }
    const int code = db.nextKey(QStringLiteral("LABORATORIO"), QStringLiteral("LabCodigo"));
    db.exec(QStringLiteral("INSERT INTO LABORATORIO (LabCodigo, LabNombre, LabRazSoc, "
                           "LabDescripcion) VALUES (?, ?, ?, ?)"),
            {code, nombre, param(in.pLabRazSoc, kLabRazSocSize),
             param(in.pDescrip, kLabDescripcionSize)});
    tx.commit();
    return {QStringLiteral("MARCA INGRESADA CON CODIGO ") + QString::number(code), code};
}

AsignaLaboratorioProductoOut KZ_AsignaLaboratorioProducto(Db& db,
                                                          const AsignaLaboratorioProductoIn& in) {
    Db::Transaction tx(db);
    db.lock(kEnlaceLock);
    QString refusal;
    if (!productoExists(db, in.pCodProd))
        refusal = QStringLiteral("NO EXISTE EL PRODUCTO");
    else if (!laboratorioExists(db, in.pCodLab))
        refusal = QStringLiteral("NO EXISTE LA MARCA");
    else if (linked(db, in.pCodProd, in.pCodLab))
        refusal = QStringLiteral("YA ESTA ASIGNADO A ESA MARCA");
    if (!refusal.isEmpty()) {
        tx.commit();
        return {refusal, 0};
    }
    const int code =
        db.nextKey(QStringLiteral("PRODUCTO_LABORATORIO"), QStringLiteral("ProdLabCod"));
    db.exec(QStringLiteral("INSERT INTO PRODUCTO_LABORATORIO (ProdLabCod, ProdCodigo, LabCodigo, "
                           "ProdLabEstado) VALUES (?, ?, ?, ?)"),
            {code, in.pCodProd, in.pCodLab, kActivo});
    tx.commit();
    return {QStringLiteral("ASIGNACION REALIZADA CON CODIGO ") + QString::number(code), code};
}

EditarLaboratorioOut KZ_EditarLaboratorio(Db& db, const EditarLaboratorioIn& in) {
    Db::Transaction tx(db);
    db.lock(kEnlaceLock);
    const QVariant producto = db.scalar(
        QStringLiteral("SELECT ProdCodigo FROM PRODUCTO_LABORATORIO WHERE ProdLabCod = ?"),
        {in.pPLCodigo});
    QString refusal;
    if (producto.isNull())
        refusal = QStringLiteral("NO EXISTE EL PRODUCTO-LABORATORIO");
    else if (!laboratorioExists(db, in.pNewLabCodigo))
        refusal = QStringLiteral("NO EXISTE LA MARCA");
    else if (linked(db, integer(producto), in.pNewLabCodigo))
        refusal = QStringLiteral("EL PRODUCTO YA ESTA ASIGNADO A ESA MARCA");
    if (!refusal.isEmpty()) {
        tx.commit();
        return {refusal, false};
    }
    db.exec(QStringLiteral("UPDATE PRODUCTO_LABORATORIO SET LabCodigo = ? WHERE ProdLabCod = ?"),
            {in.pNewLabCodigo, in.pPLCodigo});
    tx.commit();
    return {QStringLiteral("LABORATORIO CAMBIADO"), true};
}

std::vector<ProductoChoice> productoChoices(Db& db) {
    QSqlQuery q =
        db.exec(QStringLiteral("SELECT ProdCodigo, ProdNomComercial, ProdNomGenerico "
                               "FROM PRODUCTO ORDER BY ProdCodigo"));
    std::vector<ProductoChoice> rows;
    while (q.next())
        rows.push_back({integer(q.value(0)), text(q.value(1)), text(q.value(2))});
    return rows;
}

std::vector<LaboratorioChoice> laboratorioChoices(Db& db) {
    QSqlQuery q =
        db.exec(QStringLiteral("SELECT LabCodigo, LabNombre FROM LABORATORIO ORDER BY LabCodigo"));
    std::vector<LaboratorioChoice> rows;
    while (q.next())
        rows.push_back({integer(q.value(0)), text(q.value(1))});
    return rows;
}

}  // namespace db::proc
