#pragma once

#include "core/Money.h"
#include "db/procedures/Procedure.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// Purchasing: suppliers, their representatives, orders placed with them and the orders'
// instalments, with the reads of the windows that keep them. Every write holds the purchasing
// lock, so a supplier's name stays unique and nothing is removed while another workstation
// attaches a row to it.
namespace db::proc {

inline const QString kComprasLock = QStringLiteral("PROVEEDOR");

// PROVEEDOR's and REPRESENTANTE's column sizes.
inline constexpr int kProvRazSocSize = 50;
inline constexpr int kProvTelefonoSize = 10;
inline constexpr int kProvTelefaxSize = 24;
inline constexpr int kProvEmailSize = 25;
inline constexpr int kProvCuentaSize = 50;
inline constexpr int kProvDescripSize = 50;
inline constexpr int kProvEstadoSize = 8;
inline constexpr int kRepNombreSize = 40;
inline constexpr int kRepApellidosSize = 60;
inline constexpr int kRepTelefonoSize = 12;
inline constexpr int kRepEmailSize = 30;

// The states an order and an instalment may be in, in the order their boxes offer them.
QStringList estadosPedido();
QStringList estadosPago();

struct ProveedorDatos {
    QString pProvRazSoc;
    QString pProvTelefono;
    QString pProvTelefax;
    QString pProvEmail;
    QString pProvCuenta;
    QString pProvDescrip;
};
struct Resultado {
    QString pMensaje;
    int codigo = 0;  // the row written; 0 when refused
};

// A new supplier, "ACTIVO"; refuses an empty legal name and one (trimmed) another supplier has.
Resultado KZ_IngresoProveedor(Db& db, const ProveedorDatos& in);
struct EditarProveedorIn {
    int pProvCod = 0;
    ProveedorDatos datos;
    QString pProvEstado;
};
// Replaces the supplier's texts; refuses an unknown supplier, an empty name, a name another
// supplier has and a state other than "ACTIVO" or "INACTIVO".
Resultado KZ_EditarProveedor(Db& db, const EditarProveedorIn& in);
// Removes a supplier that has no representative and no intake, staged or recorded.
Resultado KZ_BorraProveedor(Db& db, int pProvCod);

struct RepresentanteDatos {
    QString pRepNombre;
    QString pRepApellidos;
    QString pRepTelefono;
    QString pRepEmail;
    QString pRepDescrip;  // kept whole
};
struct IngresoRepresentanteIn {
    QString pProvNombre;  // the supplier's legal name
    RepresentanteDatos datos;
};
// A new representative of the supplier of that (trimmed) name; refuses an unknown supplier.
Resultado KZ_IngresoRepresentante(Db& db, const IngresoRepresentanteIn& in);
// Replaces the representative's texts; the supplier stays.
Resultado KZ_EditarRepresentante(Db& db, int pRepCodigo, const RepresentanteDatos& in);
// Removes a representative without orders.
Resultado KZ_BorraRepresentante(Db& db, int pRepCodigo);
Resultado KZ_BorraFotoRepresentante(Db& db, int pRepCod);
// Stores the picture's bytes as the representative's photo; false for an unknown one.
bool guardaFotoRepresentante(Db& db, int repCodigo, const QByteArray& photo);

struct PedidoIn {
    int pRepCodigo = 0;  // a new order's representative
    int pPedNumero = 0;  // the order edited
    int pUsuCod = 0;
    QDateTime pPedFechaPedido;
    QDateTime pPedFechaEntrega;
    QString pPedEstado;
};
// A new order of the representative; refuses an unknown representative, an unlisted state and a
// delivery before the order.
Resultado KZ_IngresoPedido(Db& db, const PedidoIn& in);
// The order's dates and state; its representative and user stay.
Resultado KZ_EditarPedido(Db& db, const PedidoIn& in);
// Removes the order with its instalments.
Resultado KZ_BorraPedido(Db& db, int pPedNumero);

struct PagoIn {
    int pPedNumero = 0;  // a new instalment's order
    int pPagCod = 0;     // the instalment edited
    QDateTime pPagFechaPago;
    double pPagMonto = 0;
    QString pPagEstado;
};
// A new instalment of the order; refuses an unknown order and an unlisted state.
Resultado KZ_IngresoPago(Db& db, const PagoIn& in);
// That instalment's date, amount and state.
Resultado KZ_EditarPago(Db& db, const PagoIn& in);

// ---- reads ----

struct ProveedorRow {
    int ProvCod = 0;
    QString ProvRazSoc, ProvTelefono, ProvTelefax, ProvEmail, ProvCuenta, ProvDescrip, ProvEstado;
};
// Every supplier by legal name.
std::vector<ProveedorRow> proveedores(Db& db);

struct RepresentanteRow {
    int RepCodigo = 0;
    int ProvCod = 0;
    QString RepNombre, RepApellidos, RepTelefono, RepEmail, RepDescrip, ProvRazSoc;
};
// Every representative by surname, with the supplier's name (blank when it is gone).
std::vector<RepresentanteRow> representantes(Db& db);
// The representatives of one supplier, by surname.
std::vector<RepresentanteRow> representantesDe(Db& db, int provCod);
QByteArray fotoRepresentante(Db& db, int repCodigo);

struct PedidoRow {
    int PedNumero = 0;
    double TOTAL = 0;
    int PedNumCuotas = 0;
    QString ProvRazSoc, APENOMPEDIDO, PedEstado, APENOMUSU;
    QDateTime PedFechaPedido, PedFechaEntrega;
};
// Every order, newest first, with the sum and number of its instalments (0 and 0 without one);
// an order whose representative, supplier or user is gone is listed with blanks.
std::vector<PedidoRow> pedidos(Db& db);

struct PagoRow {
    int PagCod = 0;
    int PedNumero = 0;
    QDateTime PagFechaPago;
    double PagMonto = 0;
    QString PagEstado;
};
// The instalments of an order, in the order they were entered.
std::vector<PagoRow> pagosDe(Db& db, int pedNumero);

struct PresentacionConsulta {
    int CodPresentacion = 0;
    QString PresTipo, LabNombre;
    core::Money PresPrecioCosto, PresVenta;
    int PresStockTotal = 0;
};
// Every presentation with its brand, prices and stock (unsorted).
std::vector<PresentacionConsulta> presentacionesConsulta(Db& db);

}  // namespace db::proc
