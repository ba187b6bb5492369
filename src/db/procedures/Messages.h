#pragma once

#include "db/procedures/Procedure.h"

#include <QDateTime>
#include <vector>

// Workstations that run the program, and the short texts they send each other.
namespace db::proc {

// A workstation counts as running while it was seen within this many seconds.
constexpr int kStationAliveSeconds = 90;

// Records the workstation (its name upper case) as running at `now`.
void registraEstacion(Db& db, const QString& station, const QDateTime& now);
// Records it as stopped: no message reaches it until it runs again.
void detieneEstacion(Db& db, const QString& station);

struct MensajeActualizaPCIn {
    QString pCadena;    // varchar(255): the text, line breaks included
    QString pPC;        // varchar(20): the addressee, taken upper case
    QString remitente;  // the sending workstation
};

// Leaves the message for a running workstation of that name, under a new key. Throws Error
// ("NOMBRE DE PC, NO EXISTE") for any other name, writing nothing.
void KZ_MensajeActualizaPC(Db& db, const MensajeActualizaPCIn& in, const QDateTime& now);

struct MensajeRecibido {
    int MenCod = 0;
    QString remitente;
    QDateTime fecha;
    QString texto;
};

// The workstation's unread messages, oldest first, each marked read in the same transaction;
// a message another program of the same name claimed meanwhile is left out. One indexed read
// when there is none.
std::vector<MensajeRecibido> reclamaMensajes(Db& db, const QString& station);

}  // namespace db::proc
