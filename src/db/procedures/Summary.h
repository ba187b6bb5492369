#pragma once

#include "core/DayWindow.h"
#include "core/Money.h"
#include "db/Reader.h"
#include "db/procedures/Procedure.h"

#include <QDate>
#include <QDateTime>
#include <optional>
#include <vector>

// The daily summary of boletas. A discharged boleta is waiting (FacEstadoSunat 1, FacResumen
// null), excluded (FacEstadoSunat 0, FacResumen null) or reported (FacResumen names the RESUMEN
// row of the summary that holds it). Whatever changes that state runs under kSummaryLock.
namespace db::proc {

inline const QString kSummaryLock = QStringLiteral("RESUMEN");

// A boleta as the summary screen lists it.
struct SummaryBoleta {
    int FacNumero = 0;
    QDateTime FacFecha;
    int FacNumSunat = 0;
    QString FacTipoSunat;
    int UsuCod = 0;
    QString FacEstado;
    QString FacHostName;
    QString FacSerieSunat;
    bool FacEstadoSunat = false;  // ticked: waiting
};
// The discharged, unreported boletas of the range, waiting or excluded, by sale number and date.
std::vector<SummaryBoleta> summaryBoletas(Db& db, const core::DateTimeRange& range);
// The same as a listing, and one of its rows.
Listing summaryBoletasListing(const core::DateTimeRange& range);
SummaryBoleta boletaOf(const QSqlQuery& row);
// One of them again by its sale key; none once it is reported (or is no discharged boleta).
std::optional<SummaryBoleta> summaryBoleta(Db& db, int facNumero, const QDateTime& facFecha);

struct IncluyeBoletaIn {
    int pFacNumero = 0;
    QDateTime pFacFecha;
    bool pIncluida = false;  // true: waiting; false: excluded
};
struct IncluyeBoletaOut {
    QString pMensaje;      // varchar(50)
    bool changed = false;  // the boleta was unreported and now has the state asked for
};
// Includes or excludes an unreported discharged boleta, under the summary lock: a boleta a
// summary already holds keeps its state.
IncluyeBoletaOut KZ_IncluyeBoleta(Db& db, const IncluyeBoletaIn& in);

// A waiting boleta as the summary writes it: T is the total of its own sale's lines that are
// neither "DEVUELTO" nor "SIN STOCK" (0 when there are none).
struct WaitingBoleta {
    int FacNumero = 0;
    QDateTime FacFecha;
    int FacNumSunat = 0;
    core::Money total;
};
// Every waiting boleta sold up to `upTo`, whatever its day, by sale number and date.
std::vector<WaitingBoleta> waitingBoletas(Db& db, const QDateTime& upTo);

// The highest correlative recorded for summaries generated on the day; 0 for none.
int highestSummaryCorrelative(Db& db, const QDate& day);

struct RegistraResumenIn {
    QDate pFecha;  // the generation day
    int pCorrelativo = 0;
    QString pArchivo;   // varchar(40): the files' name without extension
    QString pTemporal;  // varchar(200): what the files' temporary names carry
    int pUsuCod = 0;    // 0 before a login
    QString pHostName;  // varchar(30): the computer name
    QDateTime pMomento;
    int pBoletas = 0;
};
struct RegistraResumenOut {
    int ResCod = 0;
};
// Records a summary under the next key.
RegistraResumenOut KZ_RegistraResumen(Db& db, const RegistraResumenIn& in);

struct CambiaEstadoFacturaIn {
    int pFacNumero = 0;
    QDateTime pFacFecha;
    int pBoletaNumSunat = 0;
    int pResumen = 0;  // the RESUMEN row that reports it
};
struct CambiaEstadoFacturaOut {
    QString pMensaje;  // varchar(50)
};
// Marks a waiting boleta reported by the summary: no longer waiting. Throws db::Error, marking
// nothing, when the boleta of that key and number is not waiting.
CambiaEstadoFacturaOut SP_CambiaEstadoFactura(Db& db, const CambiaEstadoFacturaIn& in);

// The file name (without extension) of the summary whose temporary names carry `temporal`;
// none when no summary was recorded with them.
std::optional<QString> recordedSummaryFile(Db& db, const QString& temporal);

}  // namespace db::proc
