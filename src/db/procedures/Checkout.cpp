#include "db/procedures/Checkout.h"

#include <map>
#include <set>

namespace db::proc {

namespace {

const QString kLineKey = QStringLiteral(
    "FacNumero = ? AND DetaNumero = ? AND CodPresentacion = ? AND FacFecha BETWEEN ? AND ?");

QVariantList lineKey(int facNum, int detaNumero, int codPres, const core::DateTimeRange& day) {
    return {facNum, detaNumero, codPres, day.start, day.end};
}

core::DateTimeRange dayOf(const QDateTime& fechaHoy) {
    return core::saleDay(fechaHoy.date());
}

// FacTipoSunat as a discharge writes it: "NOTA DE VENTA" when no type is passed.
QString receiptType(const std::optional<QString>& type) {
    return type ? param(*type, 15) : kNotaDeVenta;
}

// The series of the IGV row in force for a receipt type; null for a sale note, and for a type
// the row gives no series.
QVariant seriesOf(const std::optional<Igv>& igv, const QString& type) {
    const QString series = !igv                     ? QString()
                           : type == kBoletaDeVenta ? igv->IgvSerieBoleta
                           : type == kFactura       ? igv->IgvSerieFactura
                                                    : QString();
    return series.isEmpty() ? QVariant() : QVariant(series);
}

QVariant currentSeries(Db& db, const QString& type) {
    return seriesOf(currentIgv(db), type);
}

const QString kItemDescargado = QStringLiteral("ITEM DESCARGADO");
const QString kItemSinStock = QStringLiteral("SIN STOCK SUFICIENTE");
const QString kItemNoEncontrado = QStringLiteral("ITEM NO ENCONTRADO");

DecargarPresStockOut alreadyProcessed(const QString& estado) {
    return {QStringLiteral("ITEM YA PROCESADO: ") + estado, estado, false};
}

// What a discharge writes into the sale's header.
struct HeaderMark {
    int facNumero = 0;
    QDateTime facFecha;
    std::optional<QString> type;  // none for a sale note
    std::optional<int> number;
    QString cashierTag;
    QVariant series;  // the current IGV row's for the type; null for a sale note
    QDateTime at;     // the moment of the discharge (FacDescargo); none keeps the one stored
};

Db::Write saleDischarged(const HeaderMark& mark) {
    const QString type = receiptType(mark.type);
    const QVariant number = mark.number ? QVariant(*mark.number) : QVariant();
    // A boleta already reported in a daily summary stays reported.
    return {QStringLiteral("UPDATE FACTURA SET FacEstado = ?, FacTipoSunat = ?, FacNumSunat = ?, "
                           "FacSerieSunat = ?, FacEstadoSunat = CASE WHEN FacResumen IS NULL "
                           "THEN ? ELSE FacEstadoSunat END, FacCajero = ?, "
                           "FacDescargo = COALESCE(?, FacDescargo) "
                           "WHERE FacNumero = ? AND FacFecha = ?"),
            {kDescargado, type, number, mark.series, type == kBoletaDeVenta ? 1 : 0,
             param(mark.cashierTag, 17),
             mark.at.isValid() ? QVariant(mark.at) : QVariant(QMetaType(QMetaType::QDateTime)),
             mark.facNumero, mark.facFecha}};
}

void markSaleDischarged(Db& db, const HeaderMark& mark) {
    const Db::Write w = saleDischarged(mark);
    db.exec(w.sql, w.values);
}

// A sale none of whose lines could be discharged so far reads "SIN STOCK".
void markSaleWithoutStock(Db& db, const HeaderMark& mark) {
    db.exec(QStringLiteral("UPDATE FACTURA SET FacEstado = ?, FacCajero = ? "
                           "WHERE FacNumero = ? AND FacFecha = ? "
                           "AND (FacEstado IS NULL OR FacEstado <> ?)"),
            {kSinStock, param(mark.cashierTag, 17), mark.facNumero, mark.facFecha, kDescargado});
}

bool takeStock(Db& db, int codPres, int units) {
    return db.execCount(
               QStringLiteral("UPDATE PRESENTACION SET PresStockTotal = PresStockTotal - ? "
                              "WHERE CodPresentacion = ? AND PresStockTotal >= ?"),
               {units, codPres, units}) == 1;
}

// The header of the sale a discharge settles, and the series of the receipt type it asks for.
struct DischargeHeader {
    QDateTime FacFecha;
    QString FacTipoSunat;
    int FacNumSunat = 0;  // 0: none
    QString FacHostName;
    QVariant series;
};

// Taken by whatever gives a receipt a number.
const QString kNumbersLock = QStringLiteral("FACTURA.FacNumSunat");
const QString kNextReceiptNumber = QStringLiteral(
    "(SELECT COALESCE(MAX(FacNumSunat), 0) + 1 FROM FACTURA WHERE FacTipoSunat = ?)");

// What a discharge starts from, in one statement: every line of the sale (as saleLines reads
// them), its header (none without one), the IGV row in force, and the next number of the
// receipt type asked for (0 for a sale note), which is only right under the numbers' lock.
struct DischargeBasis {
    std::vector<SaleLine> lines;
    std::optional<DischargeHeader> header;
    std::optional<Igv> igv;
    int nextNumber = 0;
};
DischargeBasis dischargeBasis(Db& db, const DischargeOrder& order) {
    constexpr int kFirstLineColumn = 9;
    QSqlQuery q = db.exec(
        QStringLiteral("SELECT F.FacFecha, F.FacTipoSunat, F.FacNumSunat, F.FacHostName, I.*, ") +
            kNextReceiptNumber +
            QStringLiteral(", S.* FROM (SELECT 1 AS One) X LEFT JOIN (SELECT FacFecha, "
                           "FacTipoSunat, FacNumSunat, FacHostName FROM FACTURA WHERE FacNumero "
                           "= ? AND FacFecha BETWEEN ? AND ? ORDER BY FacFecha LIMIT 1) F ON 1 = 1 "
                           "LEFT JOIN ") +
            kIgvInForce + QStringLiteral(" I ON 1 = 1 LEFT JOIN ") + kSaleLinesTable +
            QStringLiteral(" S ON 1 = 1 ORDER BY S.FacFecha, S.DetaNumero"),
        {order.type ? QVariant(*order.type) : QVariant(QMetaType(QMetaType::QString)),
         order.facNumero, order.day.start, order.day.end, order.facNumero, order.day.start,
         order.day.end});
    DischargeBasis start;
    for (bool first = true; q.next(); first = false) {
        if (first) {
            start.igv = igvAt(q, 4);
            if (!q.value(0).isNull())
                start.header =
                    DischargeHeader{dateTime(q.value(0)), text(q.value(1)), integer(q.value(2)),
                                    text(q.value(3)), seriesOf(start.igv, receiptType(order.type))};
            if (order.type)
                start.nextNumber = integer(q.value(8));
        }
        if (!q.value(kFirstLineColumn).isNull())
            start.lines.push_back(lineAt(q, kFirstLineColumn));
    }
    return start;
}

// The receipt number a discharge takes over: the boleta number the sale already carries; none
// for a factura, whose lines discharged later are a receipt of their own with files of their own.
int numberCarried(const std::optional<DischargeHeader>& header, const DischargeOrder& order) {
    if (!header || !order.type || *order.type == kFactura || header->FacTipoSunat != *order.type)
        return 0;
    return header->FacNumSunat;
}

// The lines still "NO DESCARGADO" of one sale (FacNumero, FacFecha), within a statement.
const QString kPendingOfSale = QStringLiteral("FacNumero = ? AND FacFecha = ? AND Estado = ?");

QVariantList pendingOfSale(int facNumero, const QDateTime& facFecha) {
    return {facNumero, facFecha, kNoDescargado};
}

// A pending line, the stock of its presentation (none when the presentation is gone) and
// whether the stock covers it.
struct PendingLine {
    int DetaNumero = 0;
    int CodPresentacion = 0;
    int units = 0;
    std::optional<int> stock;
    bool covered = false;
};

// The lines of the sale's header date still pending, in line order, with the stock as the lines
// were read (under the sale lines' lock, so no line changes meanwhile): a change of the stock
// since then makes the update that takes the units find less than it was judged by, which undoes
// the discharge.
std::vector<PendingLine> pendingLines(const std::vector<SaleLine>& lines,
                                      const QDateTime& facFecha) {
    std::vector<PendingLine> out;
    for (const SaleLine& line : lines) {
        if (line.FacFecha != facFecha || line.Estado != kNoDescargado)
            continue;
        out.push_back({line.DetaNumero, line.CodPresentacion, line.Cantidad,
                       line.inCatalogue ? std::optional(line.PresStockTotal) : std::nullopt});
    }
    return out;
}

// Line by line in line order, as single-line discharges one after the other would: a line is
// covered while its presentation's stock still holds its units, which it then takes.
void judge(std::vector<PendingLine>& lines) {
    std::map<int, int> left;  // by presentation
    for (PendingLine& line : lines) {
        if (!line.stock)
            continue;
        const auto it = left.try_emplace(line.CodPresentacion, *line.stock).first;
        line.covered = it->second >= line.units;
        if (line.covered)
            it->second -= line.units;
    }
}

// The pending lines of a sale as one discharge settled them, and the series it wrote.
struct Settlement {
    std::map<std::pair<int, int>, bool> covered;  // by DetaNumero and CodPresentacion
    QVariant series;                              // null unless a line was sold
};

// What KZ_DecargarPresStock would have answered for the line.
DecargarPresStockOut outcomeOf(const Settlement& settlement, const SaleLine& line) {
    const auto it = settlement.covered.find({line.DetaNumero, line.CodPresentacion});
    if (it != settlement.covered.end())
        return it->second ? DecargarPresStockOut{kItemDescargado, kDescargado, true}
                          : DecargarPresStockOut{kItemSinStock, kSinStock, true};
    if (line.Estado == kNoDescargado)  // removed since the lines were read
        return {kItemNoEncontrado, QString(), false};
    return alreadyProcessed(line.Estado);
}

// The lines without stock are marked one by one (there are seldom any); then the covered lines
// are all the sale still has pending, and one write takes their units from stock, never below 0,
// another marks them and a third marks the header as discharged (on PostgreSQL in one
// statement). Counts that differ from the judgement undo the whole discharge. Returns how many
// lines were sold; with none, the header is left to the caller.
int writeJudgement(Db& db, const HeaderMark& mark, const std::vector<PendingLine>& lines) {
    const QVariantList pending = pendingOfSale(mark.facNumero, mark.facFecha);
    int uncovered = 0;
    int marked = 0;
    std::set<int> presentations;
    for (const PendingLine& line : lines) {
        if (line.covered) {
            presentations.insert(line.CodPresentacion);
            continue;
        }
        ++uncovered;
        marked +=
            db.execCount(QStringLiteral("UPDATE DETAFAC SET Estado = ? WHERE DetaNumero = ? AND ") +
                             kPendingOfSale,
                         QVariantList{kSinStock, line.DetaNumero} + pending);
    }
    const int covered = int(lines.size()) - uncovered;
    std::vector<int> counts{0, 0, 0};
    if (covered > 0)
        counts = db.execCounts(
            {{QStringLiteral("UPDATE PRESENTACION SET PresStockTotal = PresStockTotal - T.units "
                             "FROM (SELECT CodPresentacion, SUM(Cantidad) AS units FROM DETAFAC "
                             "WHERE ") +
                  kPendingOfSale +
                  QStringLiteral(" GROUP BY CodPresentacion) T "
                                 "WHERE PRESENTACION.CodPresentacion = T.CodPresentacion "
                                 "AND PRESENTACION.PresStockTotal >= T.units"),
              pending},
             {QStringLiteral("UPDATE DETAFAC SET Estado = ? WHERE ") + kPendingOfSale,
              QVariantList{kDescargado} + pending},
             saleDischarged(mark)});
    const int taken = counts[0];
    const int sold = counts[1];
    if (marked != uncovered || sold != covered || taken != int(presentations.size()) ||
        counts[2] != (covered > 0 ? 1 : 0))
        throw Error(QStringLiteral("DischargeSale"),
                    QStringLiteral("la venta o el stock cambiaron durante el descargo"));
    return sold;
}

// Judges and writes the pending lines of the sale, and marks its header.
Settlement settle(Db& db, const DischargeOrder& order, const DischargeHeader& header, int number,
                  const std::vector<SaleLine>& saleLines) {
    std::vector<PendingLine> lines = pendingLines(saleLines, header.FacFecha);
    Settlement settlement;
    if (lines.empty())
        return settlement;
    judge(lines);
    for (const PendingLine& line : lines)
        settlement.covered[{line.DetaNumero, line.CodPresentacion}] = line.covered;
    HeaderMark mark{order.facNumero,
                    header.FacFecha,
                    order.type,
                    std::nullopt,
                    cashierTag(order.cashierCode, header.FacHostName),
                    header.series,
                    order.at};
    if (order.type)
        mark.number = number;
    if (writeJudgement(db, mark, lines) == 0) {
        markSaleWithoutStock(db, mark);
        return settlement;
    }
    settlement.series = mark.series;
    return settlement;
}

}  // namespace

std::vector<PendingSale> pendingSales(Db& db, const core::DateTimeRange& day) {
    QSqlQuery q = db.exec(QStringLiteral("SELECT FacNumero, SUM(Cantidad * Importe) FROM DETAFAC "
                                         "WHERE Estado = ? AND FacFecha BETWEEN ? AND ? "
                                         "GROUP BY FacNumero ORDER BY FacNumero DESC"),
                          {kNoDescargado, day.start, day.end});
    std::vector<PendingSale> out;
    while (q.next())
        out.push_back({integer(q.value(0)), money(q.value(1))});
    return out;
}

std::optional<core::Money> saleTotal(Db& db, int facNumero, const core::DateTimeRange& day) {
    const QVariant total =
        db.scalar(QStringLiteral("SELECT SUM(Cantidad * Importe) FROM DETAFAC "
                                 "WHERE FacNumero = ? AND FacFecha BETWEEN ? AND ? "
                                 "AND Estado <> ? AND Estado <> ?"),
                  {facNumero, day.start, day.end, kDevuelto, kSinStock});
    return total.isNull() ? std::nullopt : std::optional(money(total));
}

QByteArray sellerPhoto(Db& db, const QString& key) {
    if (key.isEmpty())
        return {};
    return blob(db.scalar(QStringLiteral("SELECT UsuFoto FROM USUARIO WHERE UsuTecla = ? AND "
                                         "UsuEstado = ? ORDER BY UsuCod LIMIT 1"),
                          {key, QStringLiteral("ACTIVO")}));
}

QString sellerKey(const QString& facHostName) {
    const QString tag = facHostName.trimmed();
    if (tag.isEmpty())
        return {};
    const QChar last = tag.back();
    return last >= QLatin1Char('4') && last <= QLatin1Char('9') ? QStringLiteral("F") + last
                                                                : QString();
}

QString cashierTag(int cashierCode, const QString& facHostName) {
    const QString code = QString::number(cashierCode);
    return (cashierCode <= 10 ? QStringLiteral("0") + code : code) + facHostName.trimmed();
}

int nextReceiptNumber(Db& db, const QString& facTipoSunat) {
    db.lock(kNumbersLock);
    return integer(db.scalar(QStringLiteral("SELECT ") + kNextReceiptNumber, {facTipoSunat}));
}

bool facturaNumbered(Db& db, int facNumSunat) {
    return integer(db.scalar(QStringLiteral("SELECT COUNT(*) FROM FACTURA WHERE FacTipoSunat = ? "
                                            "AND FacNumSunat = ?"),
                             {kFactura, facNumSunat})) > 0;
}

DecargarPresStockOut KZ_DecargarPresStock(Db& db, const DecargarPresStockIn& in) {
    const QVariantList key = lineKey(in.pFacNum, in.pDetaNumero, in.pCodPres, dayOf(in.pFechaHoy));
    Db::Transaction tx(db);
    QSqlQuery line =
        db.exec(QStringLiteral("SELECT Cantidad, FacFecha FROM DETAFAC WHERE ") + kLineKey, key);
    if (!line.next()) {
        tx.commit();
        return {kItemNoEncontrado, QString(), false};
    }
    const int units = integer(line.value(0));
    HeaderMark mark{in.pFacNum,      dateTime(line.value(1)), in.pFacTipoSunat,
                    in.pFacNumSunat, in.pFacHostName,         QVariant(),
                    QDateTime()};
    line.finish();
    // Claimed first, so that a second workstation on the same line waits and then finds it
    // settled.
    if (db.execCount(QStringLiteral("UPDATE DETAFAC SET Estado = ? WHERE ") + kLineKey +
                         QStringLiteral(" AND Estado = ?"),
                     QVariantList{kDescargado} + key + QVariantList{kNoDescargado}) != 1) {
        const QString estado =
            text(db.scalar(QStringLiteral("SELECT Estado FROM DETAFAC WHERE ") + kLineKey, key));
        tx.commit();
        return alreadyProcessed(estado);
    }
    DecargarPresStockOut out{kItemDescargado, kDescargado, true};
    if (takeStock(db, in.pCodPres, units)) {
        mark.series = currentSeries(db, receiptType(in.pFacTipoSunat));
        markSaleDischarged(db, mark);
    } else {
        db.exec(QStringLiteral("UPDATE DETAFAC SET Estado = ? WHERE ") + kLineKey,
                QVariantList{kSinStock} + key);
        markSaleWithoutStock(db, mark);
        out = {kItemSinStock, kSinStock, true};
    }
    tx.commit();
    return out;
}

EliminarItemDescargarOut KZ_EliminarItemDescargar(Db& db, const EliminarItemDescargarIn& in) {
    const core::DateTimeRange day = dayOf(in.pFechaHoy);
    const QVariantList key = lineKey(in.pFacNum, in.pDetaNumero, in.pCodPres, day);
    Db::Transaction tx(db, {kSaleLinesLock});
    const int removed = db.execCount(
        QStringLiteral("DELETE FROM DETAFAC WHERE ") + kLineKey + QStringLiteral(" AND Estado = ?"),
        key + QVariantList{kNoDescargado});
    if (removed == 0) {
        const bool exists =
            !db.scalar(QStringLiteral("SELECT Estado FROM DETAFAC WHERE ") + kLineKey, key)
                 .isNull();
        tx.commit();
        return {exists ? QStringLiteral("ITEM YA FUE DESCARGADO")
                       : QStringLiteral("ITEM NO ENCONTRADO")};
    }
    db.exec(QStringLiteral("DELETE FROM DESCUENTO WHERE ") + kLineKey, key);
    markSaleLeftWithoutStock(db, in.pFacNum, day);
    tx.commit();
    return {QStringLiteral("ITEM ELIMINADO")};
}

void markSaleLeftWithoutStock(Db& db, int facNumero, const core::DateTimeRange& day) {
    const QString ofHeader = QStringLiteral(
        " FROM DETAFAC D WHERE D.FacNumero = FACTURA.FacNumero "
        "AND D.FacFecha = FACTURA.FacFecha");
    db.exec(QStringLiteral("UPDATE FACTURA SET FacEstado = ? WHERE FacNumero = ? "
                           "AND FacFecha BETWEEN ? AND ? AND FacEstado = ? AND EXISTS (SELECT 1") +
                ofHeader + QStringLiteral(") AND NOT EXISTS (SELECT 1") + ofHeader +
                QStringLiteral(" AND D.Estado <> ?)"),
            {kSinStock, facNumero, day.start, day.end, kNoDescargado, kSinStock});
}

DischargeResult DischargeSale(Db& db, const DischargeOrder& order, const DischargeHooks& hooks) {
    // A receipt number is only right under the numbers' lock, taken with the lines'.
    Db::Transaction tx(
        db, order.type ? QStringList{kSaleLinesLock, kNumbersLock} : QStringList{kSaleLinesLock});
    const DischargeBasis start = dischargeBasis(db, order);
    const std::vector<SaleLine>& lines = start.lines;
    int number = 0;
    if (order.type) {
        number = numberCarried(start.header, order);
        if (number <= 0)
            number = start.nextNumber;
    }
    if (hooks.begin)
        hooks.begin({order, number, lines, start.igv});
    const Settlement settlement =
        start.header ? settle(db, order, *start.header, number, lines) : Settlement{};
    DischargeResult result;
    for (const SaleLine& line : lines) {
        if (hooks.beforeLine)
            hooks.beforeLine(line);
        const DecargarPresStockOut out = outcomeOf(settlement, line);
        if (out.changed && out.Estado == kDescargado)
            ++result.discharged;
        if (out.changed && out.Estado == kSinStock)
            ++result.withoutStock;
        if (hooks.afterLine)
            hooks.afterLine(line, out);
    }
    if (result.discharged > 0 && order.type) {
        result.receiptNumber = number;
        result.series = text(settlement.series);
    }
    if (hooks.beforeCommit)
        hooks.beforeCommit();
    tx.commit();
    return result;
}

}  // namespace db::proc
