#pragma once

#include "core/Money.h"
#include "db/procedures/Procedure.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

// The catalogue: products, brands, the product-brand links and their presentations, with the
// reads of the windows that maintain them. Texts are taken up to the whole size of their column.
namespace db::proc {

// PRODUCTO's and LABORATORIO's column sizes.
inline constexpr int kProdNombreSize = 110;      // ProdNomComercial, ProdNomGenerico
inline constexpr int kProdLineaSize = 60;        // ProdLinea
inline constexpr int kProdDescripcionSize = 30;  // ProDescripcion
inline constexpr int kProdMecanismoSize = 120;   // ProAccionMecanismo
inline constexpr int kLabNombreSize = 82;        // LabNombre
inline constexpr int kLabRazSocSize = 82;        // LabRazSoc
inline constexpr int kLabDescripcionSize = 45;   // LabDescripcion
// PRESENTACION's.
inline constexpr int kPresTipoSize = 90;        // PresTipo
inline constexpr int kPresUbicacionSize = 20;   // PresUbicacion
inline constexpr int kPresPosologiaSize = 150;  // PresIndicaPosologia
inline constexpr int kPresChoiceSize = 10;      // PresGenCom, PresUniTodo
inline constexpr int kPresEstadoSize = 20;      // PresEstado

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
// Refuses (code 0, no statement) a product whose commercial name, generic name and action
// mechanism are all blank.
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
// Replaces the five texts of the product; refuses a code no product has and texts whose
// commercial name, generic name and action mechanism are all blank.
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
// Records a new brand, its name trimmed, under the next code; refuses an empty name and a name
// (trimmed) that a brand already has. The check and the insertion hold the brands' lock.
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

struct IngresoPresentacionIn {
    int pProdLabCod = 0;
    QString pPresTipo;
    core::Money pPresPrecioCosto;
    QString pPos;
    QString pPresUbi;
    core::Money pPreVen;
    QString pPresGenCom;
    QString pPresUniTodo;
    int pPresPromUni = 0;  // smallint
    int pPresCodDigemid = 0;
    int pPresNumCaja = 0;
};
struct IngresoPresentacionOut {
    QString pMensaje;         // varchar(50)
    int CodPresentacion = 0;  // 0 when refused
};
// Records a presentation of the link under the next code, "CONTINUO" with no stock; refuses a
// link that does not exist.
IngresoPresentacionOut KZ_IngresoPresentacion(Db& db, const IngresoPresentacionIn& in);

struct IngreSegEditIn {
    int pCodPresentacion = 0;
    int pUsuario = 0;
    core::Money pAnPc;
    core::Money pAnPv;
    core::Money pNewPc;
    core::Money pNewPv;
};
// One SEGUIMIENTO_PRECIO row under the next code, dated now.
void KZ_IngreSegEdit(Db& db, const IngreSegEditIn& in, const QDateTime& now);

struct SPEditarPresentacionIn {
    int pPresCodigo = 0;
    QString pNomPresEdit;
    core::Money pEditCosto;
    QString pPresUbi;
    QString pPresPos;
    core::Money pPresVen;
    QString pPresGenCom;
    QString pPresUniTodo;
    int pPresPromUni = 0;  // smallint
    QString pPresEstado;
};
struct SPEditarPresentacionOut {
    QString pMensaje;  // varchar(50)
    bool editado = false;
};
// Replaces the nine values of the presentation; refuses a code no presentation has.
SPEditarPresentacionOut KZ_SPEditarPresentacion(Db& db, const SPEditarPresentacionIn& in);

// The edit window's save: under the presentation's lock and in one transaction, the prices it
// replaces are read, a price change is logged (KZ_IngreSegEdit) with them, and the edit is made.
// A refused or failed edit leaves no log row.
SPEditarPresentacionOut editarPresentacionConSeguimiento(Db& db, const SPEditarPresentacionIn& in,
                                                         int usuario, const QDateTime& now);

// The prices of a presentation, as stored; none when it does not exist.
struct PresentacionPrecios {
    core::Money PresPrecioCosto;
    core::Money PresVenta;
};
std::optional<PresentacionPrecios> presentacionPrecios(Db& db, int codPresentacion);

struct BorraFotoIn {
    int pCod = 0;
    int pProdLabCod = 0;
};
struct BorraFotoOut {
    QString pMensaje;  // varchar(50)
};
// Removes the photo of the presentation of that link.
BorraFotoOut KZ_BorraFoto(Db& db, const BorraFotoIn& in);

// Stores the picture as the presentation's photo; false when no presentation has the code.
bool guardaFotoPresentacion(Db& db, int codPresentacion, const QByteArray& picture);

struct IngresoCodDigemidIn {
    int pCodPres = 0;
    int pCodDige = 0;
};
void KZ_IngresoCodDigemid(Db& db, const IngresoCodDigemidIn& in);

struct VerificaExistenPresFotoOut {
    int pNum = 0;  // above 0 when the presentation exists
};
VerificaExistenPresFotoOut KZ_VerificaExistenPresFoto(Db& db, int pCodPresentacion);

// Whether a presentation other than `except` has the DIGEMID code (ADOQBuscaCod, leaving out
// the presentation the code is entered for).
bool codDigemidEnOtraPresentacion(Db& db, int codDigemid, int except);

}  // namespace db::proc
