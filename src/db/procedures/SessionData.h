#pragma once

#include "core/Money.h"
#include "db/procedures/Procedure.h"

#include <QByteArray>
#include <QDateTime>
#include <QStringList>
#include <optional>
#include <vector>

// The reads behind a session's datasets: the product list, the presentations with their
// cross-check figures, the access query and the user lists of the login windows.
namespace db::proc {

// One product-brand link of the product list.
struct ProductRow {
    int ProdCodigo = 0;
    QString ProdNomComercial;
    QString LabNombre;
    QString ProAccionMecanismo;
    int ProdLabCod = 0;
    QString ProdNomGenerico;
    QString ProdLinea;
    QString ProDescripcion;
    int LabCodigo = 0;
    QString ProdLabEstado;

    // "INACTIVO" when the link's state is exactly "INACTIVO", empty otherwise.
    QString ACTINAC() const;
};

// One presentation (the photo is read on demand: presentationPhoto).
struct PresentationRow {
    int CodPresentacion = 0;
    int ProdLabCod = 0;
    QString PresTipo;
    core::Money PresPrecioCosto;
    core::Money PresVenta;
    QString PresIndicaPosologia;
    QString PresUbicacion;
    QString PresGenCom;
    QString PresUniTodo;
    int PresStockTotal = 0;
    int PresPromUni = 0;
    QString PresEstado;
    int PresCodDigemid = 0;

    // "D" discontinued; "*" continued with no stock; empty otherwise.
    QString P_Estado() const;
    // The margin (sale / cost - 1) x 100 as "%8.2f"; empty when the cost is 0.
    QString PORCENGANAN() const;
};

// A presentation's cross-check figure TOTAL_UNIDADES_REALES: the units that remain after the
// cross-check and the units it found over or short, then its kind ("7 /3 FALTA").
struct CruceRow {
    int CodPresentacion = 0;
    QString total;  // empty when any part is null
};

// A whole USUARIO row.
struct UserRow {
    int UsuCod = 0;
    int SucCod = 0;
    QString UsuLogin;
    QString UsuPassword;
    QString UsuCargo;  // as stored: role checks trim it themselves
    QString UsuNombres;
    QString UsuApellidos;
    QString UsuDni;
    QString UsuTelefono;
    int UsuEdad = 0;
    QString UsuDomicilio;
    QDateTime UsuFechNac;
    QString UsuEstado;
    QString UsuTecla;
    QDateTime UsuFechaIngreso;
    QDateTime UsuFechaRenuncia;
    QByteArray UsuFoto;
};

// Every product-brand link with its product and brand, in link order.
std::vector<ProductRow> productList(Db& db);
// Every presentation in code order, or those of one link.
std::vector<PresentationRow> presentationRows(Db& db);
std::vector<PresentationRow> presentationRowsOfLink(Db& db, int prodLabCod);
// The cross-check rows in their own order (a presentation may have several: the first counts),
// of every presentation or of one link's.
std::vector<CruceRow> cruceRows(Db& db);
std::vector<CruceRow> cruceRowsOfLink(Db& db, int prodLabCod);
QByteArray presentationPhoto(Db& db, int codPresentacion);

// The access query: the accounts with the code and stored password (UsuCod, UsuLogin, UsuFoto,
// UsuCargo, UsuEstado, UsuTecla and UsuApellidos filled).
std::vector<UserRow> accessRows(Db& db, int userCode, const QString& storedPassword);
// The access query's row of a code, whatever its password.
std::optional<UserRow> accessByCode(Db& db, int userCode);
// The whole account of a code.
std::optional<UserRow> userRow(Db& db, int userCode);
// Every account but user 1, by code, with UsuPassword left empty.
std::vector<UserRow> usersButTheOwner(Db& db);

// The login window's list: active accounts but user 1, by code.
struct LoginEntry {
    int UsuCod = 0;
    QString UsuLogin;
    QString UsuApellidos;
};
std::vector<LoginEntry> activeUsersButTheOwner(Db& db);
// The logins of the active accounts but user 1, sorted ignoring case.
QStringList activeLoginsButTheOwner(Db& db);

}  // namespace db::proc
