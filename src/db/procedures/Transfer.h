#pragma once

#include "core/DayWindow.h"
#include "core/Money.h"
#include "db/procedures/Procedure.h"

#include <QDate>
#include <vector>

// Sale notes turned into boletas.
namespace db::proc {

// A discharged sale note of the day and the total of its discharged lines.
struct SaleNote {
    int FacNumero = 0;
    core::Money SUMA_TOTAL;
    QString FacTipoSunat;
};
// The day's discharged sale notes, largest total first (ties by number).
std::vector<SaleNote> saleNotes(Db& db, const QDate& day);

struct CambioNotBolIn {
    int pFacNum = 0;
    QDate pFecha;  // the day of the sale: sale numbers repeat every day
};
struct CambioNotBolOut {
    QString pMensaje;      // varchar(100)
    bool changed = false;  // the sale was a discharged sale note and now is a boleta
    int FacNumSunat = 0;   // the boleta number it got; 0 when refused
};
// Makes the day's sale a boleta, only while it is a discharged "NOTA DE VENTA": the next boleta
// number (under the discharge's locks, so two workstations never give one note two numbers nor
// one number to two sales), the series of the IGV row in force, and waiting for the daily
// summary. Anything else is refused in pMensaje and left unchanged.
CambioNotBolOut KZ_CambioNotBol(Db& db, const CambioNotBolIn& in);

}  // namespace db::proc
