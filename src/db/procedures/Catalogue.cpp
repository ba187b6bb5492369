#include "db/procedures/Catalogue.h"

namespace db::proc {

namespace {

const QString kLaboratorioLock = QStringLiteral("LABORATORIO");
const QString kEnlaceLock = QStringLiteral("PRODUCTO_LABORATORIO");
const QString kActivo = QStringLiteral("ACTIVO");
const QString kPresentacionLock = QStringLiteral("PRESENTACION");
const QString kContinuo = QStringLiteral("CONTINUO");
const QString kNoPresentacion = QStringLiteral("NO EXISTE LA PRESENTACION");

QVariant bound(core::Money value) {
    return QVariant::fromValue(value);
}

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

// A product is found by its commercial name, generic name or action mechanism: one of them must
// hold more than blanks.
bool unnamed(const QString& comercial, const QString& generico, const QString& mecanismo) {
    return comercial.trimmed().isEmpty() && generico.trimmed().isEmpty() &&
           mecanismo.trimmed().isEmpty();
}
const QString kUnnamed = QStringLiteral("FALTA EL NOMBRE DEL PRODUCTO");

}  // namespace

IngresoProductoOut KZ_IngresoPRODUCTO(Db& db, const IngresoProductoIn& in) {
    if (unnamed(in.pProNomCom, in.pProNomGen, in.pProAccion))
        return {kUnnamed, {}, 0};
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
    if (unnamed(in.pNomCom, in.pNomGen, in.pMecanismo))
        return {kUnnamed, false};
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
    const QString nombre = param(in.pLabNombre, kLabNombreSize).trimmed();
    if (nombre.isEmpty())
        return {QStringLiteral("FALTA EL NOMBRE DE LA MARCA"), 0};
    Db::Transaction tx(db, {kLaboratorioLock});
    if (!db.scalar(QStringLiteral("SELECT LabCodigo FROM LABORATORIO WHERE TRIM(LabNombre) = ?"),
                   {nombre})
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
    Db::Transaction tx(db, {kEnlaceLock});
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
    Db::Transaction tx(db, {kEnlaceLock});
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

IngresoPresentacionOut KZ_IngresoPresentacion(Db& db, const IngresoPresentacionIn& in) {
    Db::Transaction tx(db);
    if (!exists(db,
                QStringLiteral("SELECT ProdLabCod FROM PRODUCTO_LABORATORIO WHERE ProdLabCod = ?"),
                in.pProdLabCod)) {
        tx.commit();
        return {QStringLiteral("NO EXISTE EL PRODUCTO-LABORATORIO"), 0};
    }
    const int code = db.nextKey(QStringLiteral("PRESENTACION"), QStringLiteral("CodPresentacion"));
    db.exec(QStringLiteral("INSERT INTO PRESENTACION (CodPresentacion, ProdLabCod, PresTipo, "
                           "PresPrecioCosto, PresVenta, PresIndicaPosologia, PresUbicacion, "
                           "PresGenCom, PresUniTodo, PresStockTotal, PresPromUni, PresEstado, "
                           "PresCodDigemid, PresNumCaja) "
                           "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, 0, ?, ?, ?, ?)"),
            {code, in.pProdLabCod, param(in.pPresTipo, kPresTipoSize), bound(in.pPresPrecioCosto),
             bound(in.pPreVen), param(in.pPos, kPresPosologiaSize),
             param(in.pPresUbi, kPresUbicacionSize), param(in.pPresGenCom, kPresChoiceSize),
             param(in.pPresUniTodo, kPresChoiceSize), in.pPresPromUni, kContinuo,
             in.pPresCodDigemid, in.pPresNumCaja});
    tx.commit();
    return {QStringLiteral("PRESENTACION INGRESADA CON CODIGO ") + QString::number(code), code};
}

void KZ_IngreSegEdit(Db& db, const IngreSegEditIn& in, const QDateTime& now) {
    Db::Transaction tx(db);
    const int code = db.nextKey(QStringLiteral("SEGUIMIENTO_PRECIO"), QStringLiteral("SegCod"));
    db.exec(QStringLiteral("INSERT INTO SEGUIMIENTO_PRECIO (SegCod, CodPresentacion, UsuCod, "
                           "SegFecha, SegAnPc, SegAnPv, SegNewPc, SegNewPv) "
                           "VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
            {code, in.pCodPresentacion, in.pUsuario, now, bound(in.pAnPc), bound(in.pAnPv),
             bound(in.pNewPc), bound(in.pNewPv)});
    tx.commit();
}

SPEditarPresentacionOut KZ_SPEditarPresentacion(Db& db, const SPEditarPresentacionIn& in) {
    Db::Transaction tx(db);
    const int changed = db.execCount(
        QStringLiteral("UPDATE PRESENTACION SET PresTipo = ?, PresPrecioCosto = ?, "
                       "PresUbicacion = ?, PresIndicaPosologia = ?, PresVenta = ?, "
                       "PresGenCom = ?, PresUniTodo = ?, PresPromUni = ?, PresEstado = ? "
                       "WHERE CodPresentacion = ?"),
        {param(in.pNomPresEdit, kPresTipoSize), bound(in.pEditCosto),
         param(in.pPresUbi, kPresUbicacionSize), param(in.pPresPos, kPresPosologiaSize),
         bound(in.pPresVen), param(in.pPresGenCom, kPresChoiceSize),
         param(in.pPresUniTodo, kPresChoiceSize), in.pPresPromUni,
         param(in.pPresEstado, kPresEstadoSize), in.pPresCodigo});
    tx.commit();
    if (changed == 0)
        return {kNoPresentacion, false};
    return {QStringLiteral("PRESENTACION EDITADA"), true};
}

std::optional<PresentacionPrecios> presentacionPrecios(Db& db, int codPresentacion) {
    QSqlQuery q = db.exec(QStringLiteral("SELECT PresPrecioCosto, PresVenta FROM PRESENTACION "
                                         "WHERE CodPresentacion = ?"),
                          {codPresentacion});
    if (!q.next())
        return std::nullopt;
    return PresentacionPrecios{money(q.value(0)), money(q.value(1))};
}

SPEditarPresentacionOut editarPresentacionConSeguimiento(Db& db, const SPEditarPresentacionIn& in,
                                                         int usuario, const QDateTime& now) {
    Db::Transaction tx(db, {kPresentacionLock});
    const std::optional<PresentacionPrecios> old = presentacionPrecios(db, in.pPresCodigo);
    if (!old) {
        tx.commit();
        return {kNoPresentacion, false};
    }
    if (old->PresPrecioCosto != in.pEditCosto || old->PresVenta != in.pPresVen)
        KZ_IngreSegEdit(db,
                        {in.pPresCodigo, usuario, old->PresPrecioCosto, old->PresVenta,
                         in.pEditCosto, in.pPresVen},
                        now);
    SPEditarPresentacionOut out = KZ_SPEditarPresentacion(db, in);
    tx.commit();
    return out;
}

BorraFotoOut KZ_BorraFoto(Db& db, const BorraFotoIn& in) {
    Db::Transaction tx(db);
    const int changed = db.execCount(QStringLiteral("UPDATE PRESENTACION SET PresFoto = NULL "
                                                    "WHERE CodPresentacion = ? AND ProdLabCod = ?"),
                                     {in.pCod, in.pProdLabCod});
    tx.commit();
    return {changed == 0 ? kNoPresentacion : QStringLiteral("IMAGEN ELIMINADA...")};
}

bool guardaFotoPresentacion(Db& db, int codPresentacion, const QByteArray& picture) {
    Db::Transaction tx(db);
    const int changed = db.execCount(
        QStringLiteral("UPDATE PRESENTACION SET PresFoto = ? WHERE CodPresentacion = ?"),
        {picture, codPresentacion});
    tx.commit();
    return changed > 0;
}

void KZ_IngresoCodDigemid(Db& db, const IngresoCodDigemidIn& in) {
    Db::Transaction tx(db);
    db.exec(QStringLiteral("UPDATE PRESENTACION SET PresCodDigemid = ? WHERE CodPresentacion = ?"),
            {in.pCodDige, in.pCodPres});
    tx.commit();
}

VerificaExistenPresFotoOut KZ_VerificaExistenPresFoto(Db& db, int pCodPresentacion) {
    return {integer(
        db.scalar(QStringLiteral("SELECT COUNT(*) FROM PRESENTACION WHERE CodPresentacion = ?"),
                  {pCodPresentacion}))};
}

bool codDigemidEnOtraPresentacion(Db& db, int codDigemid, int except) {
    return !db.scalar(QStringLiteral("SELECT CodPresentacion FROM PRESENTACION "
                                     "WHERE PresCodDigemid = ? AND CodPresentacion <> ? LIMIT 1"),
                      {codDigemid, except})
                .isNull();
}

}  // namespace db::proc
