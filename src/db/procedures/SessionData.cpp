#include "db/procedures/SessionData.h"

#include "core/Format.h"

#include <algorithm>
#include <cstdlib>

namespace db::proc {

namespace {

const QString kInactivo = QStringLiteral("INACTIVO");
const QString kActivo = QStringLiteral("ACTIVO");
constexpr int kOwner = 1;

const QString kPresentationSelect = QStringLiteral(
    "SELECT CodPresentacion, ProdLabCod, PresTipo, PresPrecioCosto, PresVenta, "
    "PresIndicaPosologia, PresUbicacion, PresGenCom, PresUniTodo, PresStockTotal, "
    "PresPromUni, PresEstado, PresCodDigemid FROM PRESENTACION ");
// Every column of USUARIO; %1 stands in the password's place.
const QString kUserSelect = QStringLiteral(
    "SELECT UsuCod, SucCod, UsuLogin, %1, UsuCargo, UsuNombres, UsuApellidos, UsuDni, "
    "UsuTelefono, UsuEdad, UsuDomicilio, UsuFechNac, UsuEstado, UsuTecla, UsuFechaIngreso, "
    "UsuFechaRenuncia, UsuFoto FROM USUARIO ");
const QString kCruceSelect = QStringLiteral(
    "SELECT C.CodPresentacion, P.PresStockTotal, C.CruCantidad, C.CruEstado "
    "FROM PRESENTACION P, CRUCE C WHERE P.CodPresentacion = C.CodPresentacion ");

// A text column exactly as stored (a role keeps its trailing blanks); null gives "".
QString stored(const QVariant& v) {
    return v.isNull() ? QString() : v.toString();
}

QString cruceTotal(const QVariant& stock, const QVariant& quantity, const QVariant& kind) {
    if (stock.isNull() || quantity.isNull() || kind.isNull())
        return {};
    const int s = integer(stock);
    const int q = integer(quantity);
    return QString::number(std::abs(s - q)) + QStringLiteral(" /") + QString::number(std::abs(q)) +
           QLatin1Char(' ') + text(kind);
}

PresentationRow presentationOf(const QSqlQuery& q) {
    PresentationRow r;
    r.CodPresentacion = integer(q.value(0));
    r.ProdLabCod = integer(q.value(1));
    r.PresTipo = text(q.value(2));
    r.PresPrecioCosto = money(q.value(3));
    r.PresVenta = money(q.value(4));
    r.PresIndicaPosologia = text(q.value(5));
    r.PresUbicacion = text(q.value(6));
    r.PresGenCom = text(q.value(7));
    r.PresUniTodo = text(q.value(8));
    r.PresStockTotal = integer(q.value(9));
    r.PresPromUni = integer(q.value(10));
    r.PresEstado = text(q.value(11));
    r.PresCodDigemid = integer(q.value(12));
    return r;
}

std::vector<PresentationRow> presentationsOf(QSqlQuery&& q) {
    std::vector<PresentationRow> rows;
    while (q.next())
        rows.push_back(presentationOf(q));
    return rows;
}

std::vector<CruceRow> cruceOf(QSqlQuery&& q) {
    std::vector<CruceRow> rows;
    while (q.next())
        rows.push_back({integer(q.value(0)), cruceTotal(q.value(1), q.value(2), q.value(3))});
    return rows;
}

UserRow accessRow(const QSqlQuery& q) {
    UserRow u;
    u.UsuCod = integer(q.value(0));
    u.UsuLogin = text(q.value(1));
    u.UsuFoto = blob(q.value(2));
    u.UsuCargo = stored(q.value(3));
    u.UsuEstado = text(q.value(4));
    u.UsuTecla = text(q.value(5));
    u.UsuApellidos = text(q.value(6));
    return u;
}

UserRow wholeUserRow(const QSqlQuery& q) {
    UserRow u;
    u.UsuCod = integer(q.value(0));
    u.SucCod = integer(q.value(1));
    u.UsuLogin = text(q.value(2));
    u.UsuPassword = text(q.value(3));
    u.UsuCargo = stored(q.value(4));
    u.UsuNombres = text(q.value(5));
    u.UsuApellidos = text(q.value(6));
    u.UsuDni = text(q.value(7));
    u.UsuTelefono = text(q.value(8));
    u.UsuEdad = integer(q.value(9));
    u.UsuDomicilio = text(q.value(10));
    u.UsuFechNac = dateTime(q.value(11));
    u.UsuEstado = text(q.value(12));
    u.UsuTecla = text(q.value(13));
    u.UsuFechaIngreso = dateTime(q.value(14));
    u.UsuFechaRenuncia = dateTime(q.value(15));
    u.UsuFoto = blob(q.value(16));
    return u;
}

}  // namespace

QString ProductRow::ACTINAC() const {
    return ProdLabEstado == kInactivo ? kInactivo : QString();
}

QString PresentationRow::P_Estado() const {
    if (PresEstado == QLatin1String("DISCONTINUO"))
        return QStringLiteral("D");
    if (PresEstado == QLatin1String("CONTINUO") && PresStockTotal == 0)
        return QStringLiteral("*");
    return {};
}

QString PresentationRow::PORCENGANAN() const {
    if (PresPrecioCosto.isZero())
        return {};
    return core::fmt::printf8_2((PresVenta.toDouble() / PresPrecioCosto.toDouble() - 1.0) * 100.0);
}

std::vector<ProductRow> productList(Db& db) {
    QSqlQuery q = db.exec(QStringLiteral(
        "SELECT P.ProdCodigo, P.ProdNomComercial, L.LabNombre, P.ProAccionMecanismo, "
        "PL.ProdLabCod, P.ProdNomGenerico, P.ProdLinea, P.ProDescripcion, L.LabCodigo, "
        "PL.ProdLabEstado "
        "FROM PRODUCTO P, LABORATORIO L, PRODUCTO_LABORATORIO PL "
        "WHERE P.ProdCodigo = PL.ProdCodigo AND L.LabCodigo = PL.LabCodigo "
        "ORDER BY PL.ProdLabCod"));
    std::vector<ProductRow> rows;
    while (q.next()) {
        ProductRow r;
        r.ProdCodigo = integer(q.value(0));
        r.ProdNomComercial = text(q.value(1));
        r.LabNombre = text(q.value(2));
        r.ProAccionMecanismo = text(q.value(3));
        r.ProdLabCod = integer(q.value(4));
        r.ProdNomGenerico = text(q.value(5));
        r.ProdLinea = text(q.value(6));
        r.ProDescripcion = text(q.value(7));
        r.LabCodigo = integer(q.value(8));
        r.ProdLabEstado = text(q.value(9));
        rows.push_back(std::move(r));
    }
    return rows;
}

std::vector<PresentationRow> presentationRows(Db& db) {
    return presentationsOf(
        db.exec(kPresentationSelect + QStringLiteral("ORDER BY CodPresentacion")));
}

std::vector<PresentationRow> presentationRowsOfLink(Db& db, int prodLabCod) {
    return presentationsOf(
        db.exec(kPresentationSelect + QStringLiteral("WHERE ProdLabCod = ?"), {prodLabCod}));
}

std::vector<CruceRow> cruceRows(Db& db) {
    return cruceOf(db.exec(kCruceSelect + QStringLiteral("ORDER BY C.CruceCod")));
}

std::vector<CruceRow> cruceRowsOfLink(Db& db, int prodLabCod) {
    return cruceOf(db.exec(
        kCruceSelect + QStringLiteral("AND P.ProdLabCod = ? ORDER BY C.CruceCod"), {prodLabCod}));
}

QByteArray presentationPhoto(Db& db, int codPresentacion) {
    return blob(
        db.scalar(QStringLiteral("SELECT PresFoto FROM PRESENTACION WHERE CodPresentacion = ?"),
                  {codPresentacion}));
}

std::vector<UserRow> accessRows(Db& db, int userCode, const QString& storedPassword) {
    QSqlQuery q =
        db.exec(QStringLiteral("SELECT UsuCod, UsuLogin, UsuFoto, UsuCargo, UsuEstado, UsuTecla, "
                               "UsuApellidos FROM USUARIO WHERE UsuCod = ? AND UsuPassword = ?"),
                {userCode, storedPassword});
    std::vector<UserRow> rows;
    while (q.next())
        rows.push_back(accessRow(q));
    return rows;
}

std::optional<UserRow> accessByCode(Db& db, int userCode) {
    QSqlQuery q =
        db.exec(QStringLiteral("SELECT UsuCod, UsuLogin, UsuFoto, UsuCargo, UsuEstado, UsuTecla, "
                               "UsuApellidos FROM USUARIO WHERE UsuCod = ?"),
                {userCode});
    if (!q.next())
        return std::nullopt;
    return accessRow(q);
}

std::optional<UserRow> userRow(Db& db, int userCode) {
    QSqlQuery q =
        db.exec(kUserSelect.arg(QStringLiteral("UsuPassword")) + QStringLiteral("WHERE UsuCod = ?"),
                {userCode});
    if (!q.next())
        return std::nullopt;
    return wholeUserRow(q);
}

std::vector<UserRow> usersButTheOwner(Db& db) {
    QSqlQuery q = db.exec(
        kUserSelect.arg(QStringLiteral("''")) + QStringLiteral("WHERE UsuCod <> ? ORDER BY UsuCod"),
        {kOwner});
    std::vector<UserRow> rows;
    while (q.next())
        rows.push_back(wholeUserRow(q));
    return rows;
}

std::vector<LoginEntry> activeUsersButTheOwner(Db& db) {
    QSqlQuery q = db.exec(QStringLiteral("SELECT UsuCod, UsuLogin, UsuApellidos FROM USUARIO "
                                         "WHERE UsuEstado = ? AND UsuCod <> ? ORDER BY UsuCod"),
                          {kActivo, kOwner});
    std::vector<LoginEntry> rows;
    while (q.next())
        rows.push_back({integer(q.value(0)), text(q.value(1)), text(q.value(2))});
    return rows;
}

QStringList activeLoginsButTheOwner(Db& db) {
    QStringList logins;
    QSqlQuery q =
        db.exec(QStringLiteral("SELECT UsuLogin FROM USUARIO WHERE UsuEstado = ? AND UsuCod <> ?"),
                {kActivo, kOwner});
    while (q.next())
        logins << text(q.value(0));
    std::sort(logins.begin(), logins.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    return logins;
}

}  // namespace db::proc
