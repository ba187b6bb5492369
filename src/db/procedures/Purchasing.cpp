#include "db/procedures/Purchasing.h"

#include <cmath>

namespace db::proc {

namespace {

const QString kActivo = QStringLiteral("ACTIVO");

Resultado refused(Db::Transaction& tx, const char* message) {
    tx.commit();
    return {QString::fromLatin1(message), 0};
}

Resultado done(Db::Transaction& tx, const QString& message, int code) {
    tx.commit();
    return {message, code};
}

bool exists(Db& db, const char* table, const char* key, int code) {
    return !db.scalar(QStringLiteral("SELECT 1 FROM %1 WHERE %2 = ?")
                          .arg(QLatin1String(table), QLatin1String(key)),
                      {code})
                .isNull();
}

// Another supplier (not `except`) of this trimmed legal name.
bool nameTaken(Db& db, const QString& name, int except) {
    return !db.scalar(QStringLiteral(
                          "SELECT 1 FROM PROVEEDOR WHERE TRIM(ProvRazSoc) = ? AND ProvCod <> ?"),
                      {name.trimmed(), except})
                .isNull();
}

// A text as its column keeps it: cut to the column, empty rather than NULL.
QString texto(const QString& value, int size) {
    const QString t = param(value, size);
    return t.isNull() ? QString::fromLatin1("") : t;
}

QVariantList proveedorValues(const ProveedorDatos& d) {
    return {
        texto(d.pProvRazSoc, kProvRazSocSize).trimmed(), texto(d.pProvTelefono, kProvTelefonoSize),
        texto(d.pProvTelefax, kProvTelefaxSize),         texto(d.pProvEmail, kProvEmailSize),
        texto(d.pProvCuenta, kProvCuentaSize),           texto(d.pProvDescrip, kProvDescripSize)};
}

QVariantList representanteValues(const RepresentanteDatos& d) {
    return {texto(d.pRepNombre, kRepNombreSize), texto(d.pRepApellidos, kRepApellidosSize),
            texto(d.pRepTelefono, kRepTelefonoSize), texto(d.pRepEmail, kRepEmailSize),
            texto(d.pRepDescrip, int(d.pRepDescrip.size()))};
}

// A date-time as stored: whole seconds.
QDateTime seconds(const QDateTime& dt) {
    return dt.addMSecs(-dt.time().msec());
}

// The checks an order's values pass before they are written; a refusal text or empty.
const char* pedidoRefusal(const PedidoIn& in) {
    if (!estadosPedido().contains(in.pPedEstado.trimmed()))
        return "ELIJA EL ESTADO DEL PEDIDO";
    if (!in.pPedFechaPedido.isValid() || !in.pPedFechaEntrega.isValid())
        return "FECHAS DEL PEDIDO NO VALIDAS";
    if (seconds(in.pPedFechaEntrega) < seconds(in.pPedFechaPedido))
        return "FECHA DE ENTREGA MENOR QUE FECHA DE PEDIDO";
    return nullptr;
}

const char* pagoRefusal(const PagoIn& in) {
    if (!estadosPago().contains(in.pPagEstado.trimmed()))
        return "ELIJA EL ESTADO DEL PAGO";
    if (!in.pPagFechaPago.isValid())
        return "FECHA DE PAGO NO VALIDA";
    if (!std::isfinite(in.pPagMonto) || in.pPagMonto <= 0)
        return "EL MONTO DEBE SER MAYOR QUE CERO";
    return nullptr;
}

QString apellidosNombres(const QVariant& apellidos, const QVariant& nombres) {
    const QString a = text(apellidos).trimmed();
    const QString n = text(nombres).trimmed();
    return a.isEmpty() && n.isEmpty() ? QString() : a + QStringLiteral(", ") + n;
}

const QString kRepresentanteColumns = QStringLiteral(
    "SELECT R.RepCodigo, R.ProvCod, R.RepNombre, R.RepApellidos, R.RepTelefono, R.RepEmail, "
    "R.RepDescrip, V.ProvRazSoc FROM REPRESENTANTE R LEFT JOIN PROVEEDOR V ON V.ProvCod = "
    "R.ProvCod ");

std::vector<RepresentanteRow> readRepresentantes(QSqlQuery q) {
    std::vector<RepresentanteRow> rows;
    while (q.next())
        rows.push_back({integer(q.value(0)), integer(q.value(1)), text(q.value(2)),
                        text(q.value(3)), text(q.value(4)), text(q.value(5)), text(q.value(6)),
                        text(q.value(7))});
    return rows;
}

}  // namespace

QStringList estadosPedido() {
    return {QStringLiteral("NO ENTREGADO"), QStringLiteral("ENTREGADO")};
}

QStringList estadosPago() {
    return {QStringLiteral("PENDIENTE"), QStringLiteral("CANCELADO")};
}

// ---- suppliers ----

Resultado KZ_IngresoProveedor(Db& db, const ProveedorDatos& in) {
    Db::Transaction tx(db, {kComprasLock});
    const QVariantList values = proveedorValues(in);
    const QString name = values[0].toString();
    if (name.isEmpty())
        return refused(tx, "FALTA EL NOMBRE DEL PROVEEDOR");
    if (nameTaken(db, name, 0))
        return refused(tx, "YA EXISTE UN PROVEEDOR CON ESE NOMBRE");
    const int code = db.nextKey(QStringLiteral("PROVEEDOR"), QStringLiteral("ProvCod"));
    db.exec(QStringLiteral("INSERT INTO PROVEEDOR (ProvCod, ProvRazSoc, ProvTelefono, "
                           "ProvTelefax, ProvEmail, ProvCuenta, ProvDescrip, ProvEstado) VALUES "
                           "(?, ?, ?, ?, ?, ?, ?, ?)"),
            QVariantList{code} + values + QVariantList{kActivo});
    return done(tx, QStringLiteral("PROVEEDOR INGRESADO CON CODIGO %1").arg(code), code);
}

Resultado KZ_EditarProveedor(Db& db, const EditarProveedorIn& in) {
    Db::Transaction tx(db, {kComprasLock});
    const QVariantList values = proveedorValues(in.datos);
    const QString name = values[0].toString();
    const QString estado = in.pProvEstado.trimmed();
    if (!exists(db, "PROVEEDOR", "ProvCod", in.pProvCod))
        return refused(tx, "NO EXISTE EL PROVEEDOR");
    if (name.isEmpty())
        return refused(tx, "FALTA EL NOMBRE DEL PROVEEDOR");
    if (nameTaken(db, name, in.pProvCod))
        return refused(tx, "YA EXISTE UN PROVEEDOR CON ESE NOMBRE");
    if (estado != kActivo && estado != QLatin1String("INACTIVO"))
        return refused(tx, "ELIJA EL ESTADO DEL PROVEEDOR");
    db.exec(QStringLiteral("UPDATE PROVEEDOR SET ProvRazSoc = ?, ProvTelefono = ?, ProvTelefax = "
                           "?, ProvEmail = ?, ProvCuenta = ?, ProvDescrip = ?, ProvEstado = ? "
                           "WHERE ProvCod = ?"),
            values + QVariantList{estado, in.pProvCod});
    return done(tx, QStringLiteral("PROVEEDOR EDITADO CORRECTAMENTE"), in.pProvCod);
}

Resultado KZ_BorraProveedor(Db& db, int pProvCod) {
    // Intakes are staged and recorded under the presentations' lock.
    Db::Transaction tx(db, {kComprasLock, QStringLiteral("PRESENTACION")});
    if (!exists(db, "PROVEEDOR", "ProvCod", pProvCod))
        return refused(tx, "NO EXISTE EL PROVEEDOR");
    if (exists(db, "REPRESENTANTE", "ProvCod", pProvCod))
        return refused(tx, "EL PROVEEDOR TIENE REPRESENTANTES");
    if (exists(db, "KARDEXINGRESO", "ProvCod", pProvCod) ||
        exists(db, "KARDEXINGRESO_TEMP", "ProvCod", pProvCod))
        return refused(tx, "EL PROVEEDOR TIENE INGRESOS DE STOCK");
    db.exec(QStringLiteral("DELETE FROM PROVEEDOR WHERE ProvCod = ?"), {pProvCod});
    return done(tx, QStringLiteral("PROVEEDOR ELIMINADO"), pProvCod);
}

// ---- representatives ----

Resultado KZ_IngresoRepresentante(Db& db, const IngresoRepresentanteIn& in) {
    Db::Transaction tx(db, {kComprasLock});
    const int provCod = integer(
        db.scalar(QStringLiteral("SELECT ProvCod FROM PROVEEDOR WHERE TRIM(ProvRazSoc) = ?"),
                  {param(in.pProvNombre, kProvRazSocSize).trimmed()}));
    if (provCod == 0)
        return refused(tx, "NO EXISTE EL PROVEEDOR");
    const int code = db.nextKey(QStringLiteral("REPRESENTANTE"), QStringLiteral("RepCodigo"));
    db.exec(QStringLiteral("INSERT INTO REPRESENTANTE (RepCodigo, ProvCod, RepNombre, "
                           "RepApellidos, RepTelefono, RepEmail, RepDescrip) VALUES "
                           "(?, ?, ?, ?, ?, ?, ?)"),
            QVariantList{code, provCod} + representanteValues(in.datos));
    return done(tx, QStringLiteral("REPRESENTANTE INGRESADO CON CODIGO %1").arg(code), code);
}

Resultado KZ_EditarRepresentante(Db& db, int pRepCodigo, const RepresentanteDatos& in) {
    Db::Transaction tx(db, {kComprasLock});
    if (!exists(db, "REPRESENTANTE", "RepCodigo", pRepCodigo))
        return refused(tx, "NO EXISTE EL REPRESENTANTE");
    db.exec(QStringLiteral("UPDATE REPRESENTANTE SET RepNombre = ?, RepApellidos = ?, "
                           "RepTelefono = ?, RepEmail = ?, RepDescrip = ? WHERE RepCodigo = ?"),
            representanteValues(in) + QVariantList{pRepCodigo});
    return done(tx, QStringLiteral("REPRESENTANTE EDITADO CORRECTAMENTE"), pRepCodigo);
}

Resultado KZ_BorraRepresentante(Db& db, int pRepCodigo) {
    Db::Transaction tx(db, {kComprasLock});
    if (!exists(db, "REPRESENTANTE", "RepCodigo", pRepCodigo))
        return refused(tx, "NO EXISTE EL REPRESENTANTE");
    if (exists(db, "PEDIDO", "RepCodigo", pRepCodigo))
        return refused(tx, "EL REPRESENTANTE TIENE PEDIDOS");
    db.exec(QStringLiteral("DELETE FROM REPRESENTANTE WHERE RepCodigo = ?"), {pRepCodigo});
    return done(tx, QStringLiteral("REPRESENTANTE ELIMINADO"), pRepCodigo);
}

Resultado KZ_BorraFotoRepresentante(Db& db, int pRepCod) {
    Db::Transaction tx(db, {kComprasLock});
    if (db.execCount(QStringLiteral("UPDATE REPRESENTANTE SET RepFoto = NULL WHERE RepCodigo = ?"),
                     {pRepCod}) == 0)
        return refused(tx, "NO EXISTE EL REPRESENTANTE");
    return done(tx, QStringLiteral("IMAGEN DEL REPRESENTANTE ELIMINADA"), pRepCod);
}

bool guardaFotoRepresentante(Db& db, int repCodigo, const QByteArray& photo) {
    Db::Transaction tx(db, {kComprasLock});
    const bool stored =
        db.execCount(QStringLiteral("UPDATE REPRESENTANTE SET RepFoto = ? WHERE RepCodigo = ?"),
                     {photo, repCodigo}) == 1;
    tx.commit();
    return stored;
}

// ---- orders and instalments ----

Resultado KZ_IngresoPedido(Db& db, const PedidoIn& in) {
    Db::Transaction tx(db, {kComprasLock});
    if (!exists(db, "REPRESENTANTE", "RepCodigo", in.pRepCodigo))
        return refused(tx, "NO EXISTE EL REPRESENTANTE");
    if (const char* refusal = pedidoRefusal(in))
        return refused(tx, refusal);
    const int number = db.nextKey(QStringLiteral("PEDIDO"), QStringLiteral("PedNumero"));
    db.exec(QStringLiteral("INSERT INTO PEDIDO (PedNumero, RepCodigo, UsuCod, PedFechaPedido, "
                           "PedFechaEntrega, PedEstado) VALUES (?, ?, ?, ?, ?, ?)"),
            {number, in.pRepCodigo, in.pUsuCod, in.pPedFechaPedido, in.pPedFechaEntrega,
             in.pPedEstado.trimmed()});
    return done(tx, QStringLiteral("PEDIDO INGRESADO CON NUMERO %1").arg(number), number);
}

Resultado KZ_EditarPedido(Db& db, const PedidoIn& in) {
    Db::Transaction tx(db, {kComprasLock});
    if (!exists(db, "PEDIDO", "PedNumero", in.pPedNumero))
        return refused(tx, "NO EXISTE EL PEDIDO");
    if (const char* refusal = pedidoRefusal(in))
        return refused(tx, refusal);
    db.exec(QStringLiteral("UPDATE PEDIDO SET PedFechaPedido = ?, PedFechaEntrega = ?, PedEstado "
                           "= ? WHERE PedNumero = ?"),
            {in.pPedFechaPedido, in.pPedFechaEntrega, in.pPedEstado.trimmed(), in.pPedNumero});
    return done(tx, QStringLiteral("PEDIDO EDITADO CORRECTAMENTE"), in.pPedNumero);
}

Resultado KZ_BorraPedido(Db& db, int pPedNumero) {
    Db::Transaction tx(db, {kComprasLock});
    if (!exists(db, "PEDIDO", "PedNumero", pPedNumero))
        return refused(tx, "NO EXISTE EL PEDIDO");
    db.exec(QStringLiteral("DELETE FROM PAGO WHERE PedNumero = ?"), {pPedNumero});
    db.exec(QStringLiteral("DELETE FROM PEDIDO WHERE PedNumero = ?"), {pPedNumero});
    return done(tx, QStringLiteral("PEDIDO ELIMINADO CON SUS PAGOS"), pPedNumero);
}

Resultado KZ_IngresoPago(Db& db, const PagoIn& in) {
    Db::Transaction tx(db, {kComprasLock});
    if (!exists(db, "PEDIDO", "PedNumero", in.pPedNumero))
        return refused(tx, "NO EXISTE EL PEDIDO");
    if (const char* refusal = pagoRefusal(in))
        return refused(tx, refusal);
    const int code = db.nextKey(QStringLiteral("PAGO"), QStringLiteral("PagCod"));
    db.exec(QStringLiteral("INSERT INTO PAGO (PagCod, PedNumero, PagFechaPago, PagMonto, "
                           "PagEstado) VALUES (?, ?, ?, ?, ?)"),
            {code, in.pPedNumero, in.pPagFechaPago, in.pPagMonto, in.pPagEstado.trimmed()});
    return done(tx, QStringLiteral("PAGO INGRESADO CON CODIGO %1").arg(code), code);
}

Resultado KZ_EditarPago(Db& db, const PagoIn& in) {
    Db::Transaction tx(db, {kComprasLock});
    if (!exists(db, "PAGO", "PagCod", in.pPagCod))
        return refused(tx, "NO EXISTE EL PAGO");
    if (const char* refusal = pagoRefusal(in))
        return refused(tx, refusal);
    db.exec(QStringLiteral("UPDATE PAGO SET PagFechaPago = ?, PagMonto = ?, PagEstado = ? WHERE "
                           "PagCod = ?"),
            {in.pPagFechaPago, in.pPagMonto, in.pPagEstado.trimmed(), in.pPagCod});
    return done(tx, QStringLiteral("PAGO EDITADO CORRECTAMENTE"), in.pPagCod);
}

// ---- reads ----

std::vector<ProveedorRow> proveedores(Db& db) {
    QSqlQuery q = db.exec(QStringLiteral(
        "SELECT ProvCod, ProvRazSoc, ProvTelefono, ProvTelefax, ProvEmail, ProvCuenta, "
        "ProvDescrip, ProvEstado FROM PROVEEDOR ORDER BY ProvRazSoc, ProvCod"));
    std::vector<ProveedorRow> rows;
    while (q.next())
        rows.push_back({integer(q.value(0)), text(q.value(1)), text(q.value(2)), text(q.value(3)),
                        text(q.value(4)), text(q.value(5)), text(q.value(6)), text(q.value(7))});
    return rows;
}

std::vector<RepresentanteRow> representantes(Db& db) {
    return readRepresentantes(
        db.exec(kRepresentanteColumns + QStringLiteral("ORDER BY R.RepApellidos, R.RepCodigo")));
}

std::vector<RepresentanteRow> representantesDe(Db& db, int provCod) {
    return readRepresentantes(
        db.exec(kRepresentanteColumns +
                    QStringLiteral("WHERE R.ProvCod = ? ORDER BY R.RepApellidos, R.RepCodigo"),
                {provCod}));
}

QByteArray fotoRepresentante(Db& db, int repCodigo) {
    return blob(db.scalar(QStringLiteral("SELECT RepFoto FROM REPRESENTANTE WHERE RepCodigo = ?"),
                          {repCodigo}));
}

std::vector<PedidoRow> pedidos(Db& db) {
    QSqlQuery q = db.exec(QStringLiteral(
        "SELECT P.PedNumero, COALESCE(G.TOTAL, 0), COALESCE(G.CUOTAS, 0), V.ProvRazSoc, "
        "R.RepApellidos, R.RepNombre, P.PedFechaPedido, P.PedFechaEntrega, P.PedEstado, "
        "U.UsuApellidos, U.UsuNombres FROM PEDIDO P "
        "LEFT JOIN REPRESENTANTE R ON R.RepCodigo = P.RepCodigo "
        "LEFT JOIN PROVEEDOR V ON V.ProvCod = R.ProvCod "
        "LEFT JOIN USUARIO U ON U.UsuCod = P.UsuCod "
        "LEFT JOIN (SELECT PedNumero, SUM(PagMonto) AS TOTAL, COUNT(PagCod) AS CUOTAS FROM PAGO "
        "GROUP BY PedNumero) G ON G.PedNumero = P.PedNumero "
        "ORDER BY P.PedFechaPedido DESC, P.PedNumero DESC"));
    std::vector<PedidoRow> rows;
    while (q.next()) {
        PedidoRow r;
        r.PedNumero = integer(q.value(0));
        r.TOTAL = real(q.value(1));
        r.PedNumCuotas = integer(q.value(2));
        r.ProvRazSoc = text(q.value(3));
        r.APENOMPEDIDO = apellidosNombres(q.value(4), q.value(5));
        r.PedFechaPedido = dateTime(q.value(6));
        r.PedFechaEntrega = dateTime(q.value(7));
        r.PedEstado = text(q.value(8));
        r.APENOMUSU = apellidosNombres(q.value(9), q.value(10));
        rows.push_back(std::move(r));
    }
    return rows;
}

std::vector<PagoRow> pagosDe(Db& db, int pedNumero) {
    QSqlQuery q = db.exec(QStringLiteral("SELECT PagCod, PedNumero, PagFechaPago, PagMonto, "
                                         "PagEstado FROM PAGO WHERE PedNumero = ? ORDER BY "
                                         "PagCod"),
                          {pedNumero});
    std::vector<PagoRow> rows;
    while (q.next())
        rows.push_back({integer(q.value(0)), integer(q.value(1)), dateTime(q.value(2)),
                        real(q.value(3)), text(q.value(4))});
    return rows;
}

std::vector<PresentacionConsulta> presentacionesConsulta(Db& db) {
    QSqlQuery q = db.exec(QStringLiteral(
        "SELECT P.CodPresentacion, P.PresTipo, L.LabNombre, P.PresPrecioCosto, P.PresVenta, "
        "P.PresStockTotal FROM PRESENTACION P "
        "JOIN PRODUCTO_LABORATORIO K ON K.ProdLabCod = P.ProdLabCod "
        "JOIN LABORATORIO L ON L.LabCodigo = K.LabCodigo"));
    std::vector<PresentacionConsulta> rows;
    while (q.next())
        rows.push_back({integer(q.value(0)), text(q.value(1)), text(q.value(2)), money(q.value(3)),
                        money(q.value(4)), integer(q.value(5))});
    return rows;
}

}  // namespace db::proc
