#include "db/procedures/Messages.h"

namespace db::proc {

namespace {

constexpr int kTextSize = 255;
constexpr int kPcSize = 20;
constexpr int kStationSize = 30;
const QString kMessages = QStringLiteral("MENSAJE");

QString stationName(const QString& name, int size) {
    return param(name.trimmed().toUpper(), size);
}

}  // namespace

void registraEstacion(Db& db, const QString& station, const QDateTime& now) {
    Db::Transaction tx(db);
    db.exec(QStringLiteral("INSERT INTO ESTACION (EstNombre, EstUltimaConexion) VALUES (?, ?) "
                           "ON CONFLICT (EstNombre) DO UPDATE SET EstUltimaConexion = "
                           "excluded.EstUltimaConexion"),
            {stationName(station, kStationSize), now});
    tx.commit();
}

void detieneEstacion(Db& db, const QString& station) {
    Db::Transaction tx(db);
    db.exec(QStringLiteral("UPDATE ESTACION SET EstUltimaConexion = NULL WHERE EstNombre = ?"),
            {stationName(station, kStationSize)});
    tx.commit();
}

void KZ_MensajeActualizaPC(Db& db, const MensajeActualizaPCIn& in, const QDateTime& now) {
    Db::Transaction tx(db, {kMessages});
    const QString addressee = stationName(in.pPC, kPcSize);
    if (db.scalar(QStringLiteral("SELECT EstNombre FROM ESTACION WHERE EstNombre = ? AND "
                                 "EstUltimaConexion >= ?"),
                  {addressee, now.addSecs(-kStationAliveSeconds)})
            .isNull())
        throw Error(QStringLiteral("KZ_MensajeActualizaPC"),
                    QStringLiteral("NOMBRE DE PC, NO EXISTE"));
    db.exec(QStringLiteral("INSERT INTO MENSAJE (MenCod, EstNombre, MenTexto, MenFecha, MenLeido, "
                           "MenRemitente) VALUES (?, ?, ?, ?, 0, ?)"),
            {db.nextKey(kMessages, QStringLiteral("MenCod")), addressee,
             param(in.pCadena, kTextSize), now, stationName(in.remitente, kStationSize)});
    tx.commit();
}

std::vector<MensajeRecibido> reclamaMensajes(Db& db, const QString& station) {
    const QString sql = QStringLiteral(
        "SELECT MenCod, MenRemitente, MenFecha, MenTexto FROM MENSAJE WHERE EstNombre = ? AND "
        "MenLeido = 0 ORDER BY MenCod");
    const QString name = stationName(station, kStationSize);
    if (db.scalar(sql, {name}).isNull())
        return {};
    Db::Transaction tx(db);
    std::vector<MensajeRecibido> unread;
    QSqlQuery q = db.exec(sql, {name});
    while (q.next())
        unread.push_back(
            {integer(q.value(0)), text(q.value(1)), dateTime(q.value(2)), q.value(3).toString()});
    q.finish();
    std::vector<MensajeRecibido> claimed;
    for (MensajeRecibido& m : unread)
        if (db.execCount(QStringLiteral("UPDATE MENSAJE SET MenLeido = 1 WHERE MenCod = ? AND "
                                        "MenLeido = 0"),
                         {m.MenCod}) == 1)
            claimed.push_back(std::move(m));
    tx.commit();
    return claimed;
}

}  // namespace db::proc
