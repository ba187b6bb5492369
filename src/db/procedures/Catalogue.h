#pragma once

#include "db/procedures/Procedure.h"

#include <QString>
#include <vector>

// The catalogue: products, brands and the product-brand links, with the reads of the windows
// that maintain them. Texts are taken up to the whole size of their column.
namespace db::proc {

// PRODUCTO's and LABORATORIO's column sizes.
inline constexpr int kProdNombreSize = 110;      // ProdNomComercial, ProdNomGenerico
inline constexpr int kProdLineaSize = 60;        // ProdLinea
inline constexpr int kProdDescripcionSize = 30;  // ProDescripcion
inline constexpr int kProdMecanismoSize = 120;   // ProAccionMecanismo
inline constexpr int kLabNombreSize = 82;        // LabNombre
inline constexpr int kLabRazSocSize = 82;        // LabRazSoc
inline constexpr int kLabDescripcionSize = 45;   // LabDescripcion

struct IngresoProductoIn {
    QString pProLinea;
    QString pProNomGen;
    QString pProNomCom;
    QString pProDescrip;
    QString pProAccion;
};
struct IngresoProductoOut {
    QString pMensaje;     // varchar(50)
    QString pMensajeSQL;  // the INSERT that recreates the product, whole, on one line
    int ProdCodigo = 0;
};
// Records a new product under the next code. pMensajeSQL is one statement, valid on either
// engine, that inserts the same row (code and texts) into another database of this schema.
IngresoProductoOut KZ_IngresoPRODUCTO(Db& db, const IngresoProductoIn& in);

struct EditarProductoIn {
    int pProdCodigo = 0;
    QString pNomCom;
    QString pLinea;
    QString pNomGen;
    QString pMecanismo;
    QString pDescrip;
};
struct EditarProductoOut {
    QString pMensaje;  // varchar(60)
    bool editado = false;
};
// Replaces the five texts of the product; refuses a code no product has.
EditarProductoOut KZ_EditarProducto(Db& db, const EditarProductoIn& in);

struct IngresoLaboratorioIn {
    QString pLabNombre;
    QString pLabRazSoc;
    QString pDescrip;
};
struct IngresoLaboratorioOut {
    QString pMensaje;   // varchar(45)
    int LabCodigo = 0;  // 0 when refused
};
// Records a new brand under the next code; refuses an empty name and a name (trimmed) that a
// brand already has. The check and the insertion hold the brands' lock.
IngresoLaboratorioOut KZ_IngresoLABORATORIO(Db& db, const IngresoLaboratorioIn& in);

struct AsignaLaboratorioProductoIn {
    int pCodProd = 0;
    int pCodLab = 0;
};
struct AsignaLaboratorioProductoOut {
    QString pMensaje;    // varchar(40)
    int ProdLabCod = 0;  // the new link; 0 when refused
};
// Links the product to the brand, "ACTIVO", under the next link code; refuses an unknown
// product or brand and a pair already linked. The checks and the insertion hold the links'
// lock.
AsignaLaboratorioProductoOut KZ_AsignaLaboratorioProducto(Db& db,
                                                          const AsignaLaboratorioProductoIn& in);

struct EditarLaboratorioIn {
    int pPLCodigo = 0;
    int pNewLabCodigo = 0;
};
struct EditarLaboratorioOut {
    QString pMensaje;  // varchar(60)
    bool cambiado = false;
};
// Moves the link to the brand; it keeps its code, and so its presentations. Refuses an unknown
// link or brand and a move onto a pair already linked (its own included), under the links'
// lock.
EditarLaboratorioOut KZ_EditarLaboratorio(Db& db, const EditarLaboratorioIn& in);

// A row of the assignment window's product list.
struct ProductoChoice {
    int ProdCodigo = 0;
    QString ProdNomComercial;
    QString ProdNomGenerico;
};
// A row of a brand list.
struct LaboratorioChoice {
    int LabCodigo = 0;
    QString LabNombre;
};
// Every product, and every brand, in code order (the windows sort them).
std::vector<ProductoChoice> productoChoices(Db& db);
std::vector<LaboratorioChoice> laboratorioChoices(Db& db);

}  // namespace db::proc
