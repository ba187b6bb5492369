#pragma once

#include "db/procedures/Procedure.h"

#include <QDate>

namespace db::proc {

struct BorrarVentasNoDescargadasOut {
    QString pMensaje;  // varchar(50)
};
// Removes every sale line still "NO DESCARGADO" (with its discounts) and reports how many.
// Sale headers stay, so a number a workstation holds is never handed to another.
BorrarVentasNoDescargadasOut KZ_BorrarVentasNoDescargadas(Db& db);

// The day's discharged total of one receipt type ("BOLETA DE VENTA", "FACTURA"): every line of a
// discharged sale dated from the day's midnight to the next midnight, both included.
core::Money totalDelDia(Db& db, const QDate& day, const QString& receiptType);

}  // namespace db::proc
