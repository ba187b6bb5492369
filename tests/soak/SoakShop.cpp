#include "soak/SoakShop.h"

#include "db/procedures/Checkout.h"
#include "einvoice/FacturaFiles.h"
#include "platform/DriveMap.h"
#include "sales/FacturaFilesOutput.h"
#include "support/CheckoutSeed.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QUrl>
#include <cstdio>

using namespace db::proc;

namespace soak {

namespace {

const QStringList kTaxFileExtensions{QStringLiteral(".cab"), QStringLiteral(".aca"),
                                     QStringLiteral(".ley"), QStringLiteral(".tri"),
                                     QStringLiteral(".det")};

QVariantList dayBounds() {
    return {saleDay().start, saleDay().end};
}

// Lines of a file, without their CR LF ends.
int lineCount(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    return static_cast<int>(f.readAll().count("\r\n"));
}

bool isTemporary(const QString& name) {
    return name.startsWith(QLatin1Char('.')) && name.endsWith(QStringLiteral(".tmp"));
}

// A temporary file of the final name `name` (".NAME.<writer>.tmp"); empty when there is none.
QString temporaryOf(const QStringList& present, const QString& name) {
    const QString prefix = QLatin1Char('.') + name + QLatin1Char('.');
    for (const QString& file : present) {
        if (isTemporary(file) && file.startsWith(prefix))
            return file;
    }
    return {};
}

// The facturas the database shows discharged: receipt number -> lines settled by them.
std::map<int, int> dischargedFacturas(db::Db& db) {
    QSqlQuery q = db.exec(QStringLiteral("SELECT F.FacNumSunat, COUNT(*) FROM FACTURA F "
                                         "JOIN DETAFAC D ON D.FacNumero = F.FacNumero "
                                         "AND D.FacFecha = F.FacFecha "
                                         "WHERE F.FacTipoSunat = ? AND D.Estado IN (?, ?) "
                                         "GROUP BY F.FacNumSunat"),
                          {kFactura, kDescargado, kDevuelto});
    std::map<int, int> out;
    while (q.next())
        out[db::integer(q.value(0))] = db::integer(q.value(1));
    return out;
}

// Numbers must be 1, 2, ..., n.
QStringList runFaults(const QString& what, const QList<int>& sorted) {
    QStringList faults;
    for (int i = 0; i < sorted.size(); ++i) {
        if (sorted[i] != i + 1) {
            faults << QStringLiteral("%1: %2 where %3 was due").arg(what).arg(sorted[i]).arg(i + 1);
            break;
        }
    }
    return faults;
}

}  // namespace

FolderPlatform::FolderPlatform(QString root) : root_(std::move(root)) {
    for (const char letter : {'C', 'D', 'E'})
        QDir(root_).mkpath(QString(QLatin1Char(letter)));
}

QString FolderPlatform::mapPath(const QString& windowsPath) const {
    return platform::mapWindowsPath(
        windowsPath, [this](QChar letter) { return root_ + QLatin1Char('/') + letter.toUpper(); });
}

bool FolderPlatform::driveExists(QChar letter) const {
    return QDir(root_ + QLatin1Char('/') + letter.toUpper()).exists();
}

void announce(const QByteArray& step) {
    std::fputs((kMark + step + '\n').constData(), stdout);
    std::fflush(stdout);
}

QString workerUrl(const db::ConnectionInfo& info) {
    if (info.dialect == db::Dialect::SQLite)
        return QStringLiteral("sqlite://") + info.path;
    QUrl url(qEnvironmentVariable("VELCARIS_TEST_PG"));
    url.setPath(QLatin1Char('/') + info.database);
    return url.toString();
}

QString FolderPlatform::dataFolder() const {
    return mapPath(QString::fromLatin1(sales::FacturaFilesOutput::kDataFolder));
}

Station::Station(db::Db& db, platform::Platform& platform, int userCode)
    : clock_(QDateTime(kDay, QTime(10, 0))), dm_(db), context_{db,        settings_, clock_,
                                                               messages_, platform,  dm_,
                                                               session_,  commands_} {
    session_.logIn(userCode, QString(), 0, false);
}

quint32 seed() {
    bool ok = false;
    const quint32 s = qEnvironmentVariable("VELCARIS_SOAK_SEED").toUInt(&ok);
    return ok ? s : 20260307u;
}

void seedShop(db::Db& db, const Stock& stock) {
    db::Db::Transaction tx(db);
    for (const auto& [code, units] : stock)
        testsupport::seedPresentation(db, code, QStringLiteral("PRESENTACION %1").arg(code), units);
    testsupport::seedIgv(db, 1, QStringLiteral("B001"), QStringLiteral("F001"));
    tx.commit();
}

QStringList saleNumberFaults(db::Db& db) {
    QSqlQuery q = db.exec(QStringLiteral("SELECT FacNumero FROM FACTURA WHERE FacFecha BETWEEN ? "
                                         "AND ? ORDER BY FacNumero"),
                          dayBounds());
    QList<int> numbers;
    while (q.next())
        numbers << db::integer(q.value(0));
    return runFaults(QStringLiteral("sale number"), numbers);
}

QStringList receiptNumberFaults(db::Db& db) {
    QStringList faults;
    for (const QString& type : {kBoletaDeVenta, kFactura}) {
        QSqlQuery q = db.exec(QStringLiteral("SELECT FacNumSunat FROM FACTURA WHERE "
                                             "FacTipoSunat = ? ORDER BY FacNumSunat"),
                              {type});
        QList<int> numbers;
        while (q.next()) {
            if (q.value(0).isNull())
                faults << type + QStringLiteral(" without a number");
            numbers << db::integer(q.value(0));
        }
        faults << runFaults(type, numbers);
    }
    if (db::integer(db.scalar(QStringLiteral("SELECT COUNT(*) FROM FACTURA WHERE FacTipoSunat = ? "
                                             "AND FacNumSunat IS NOT NULL"),
                              {kNotaDeVenta})) > 0)
        faults << QStringLiteral("a sale note with a receipt number");
    return faults;
}

QStringList lineAndSaleFaults(db::Db& db) {
    QStringList faults;
    const QSet<QString> states{kNoDescargado, kDescargado, kDevuelto, kSinStock};
    QSqlQuery lines =
        db.exec(QStringLiteral("SELECT FacNumero, DetaNumero, Estado, Cantidad FROM DETAFAC"));
    while (lines.next()) {
        const QString where = QStringLiteral("line %1/%2 ")
                                  .arg(db::integer(lines.value(0)))
                                  .arg(db::integer(lines.value(1)));
        const QString estado = db::text(lines.value(2));
        const int cantidad = db::integer(lines.value(3));
        if (!states.contains(estado))
            faults << where + QStringLiteral("in state '%1'").arg(estado);
        else if ((estado == kDevuelto) != (cantidad == 0) || cantidad < 0)
            faults << where + estado + QStringLiteral(" holding %1 units").arg(cantidad);
    }

    QSqlQuery sales = db.exec(
        QStringLiteral("SELECT F.FacNumero, F.FacEstado, F.FacTipoSunat, "
                       "SUM(CASE WHEN D.Estado = ? THEN 1 ELSE 0 END), "
                       "SUM(CASE WHEN D.Estado IN (?, ?) THEN 1 ELSE 0 END), COUNT(D.DetaNumero) "
                       "FROM FACTURA F LEFT JOIN DETAFAC D ON D.FacNumero = F.FacNumero "
                       "AND D.FacFecha = F.FacFecha "
                       "GROUP BY F.FacNumero, F.FacFecha, F.FacEstado, F.FacTipoSunat"),
        {kNoDescargado, kDescargado, kDevuelto});
    while (sales.next()) {
        const QString sale = QStringLiteral("sale %1 ").arg(db::integer(sales.value(0)));
        const QString estado = db::text(sales.value(1));
        const QString tipo = db::text(sales.value(2));
        const int pending = db::integer(sales.value(3));
        const int sold = db::integer(sales.value(4));
        const int all = db::integer(sales.value(5));
        // A sale whose every line went without stock takes new lines, so pending lines may stand
        // beside lines left without stock; beside sold ones they would be a partial discharge.
        const QString expected = pending > 0 || all == 0 ? kNoDescargado
                                 : sold > 0              ? kDescargado
                                                         : kSinStock;
        if (pending > 0 && sold > 0)
            faults << sale + QStringLiteral("partly discharged: %1 of %2 lines pending")
                                 .arg(pending)
                                 .arg(all);
        else if (estado != expected)
            faults << sale + QStringLiteral("reads '%1' where '%2' was due").arg(estado, expected);
        else if ((sold > 0) == tipo.isEmpty())
            faults << sale + QStringLiteral("with %1 lines sold has type '%2'").arg(sold).arg(tipo);
    }
    return faults;
}

QStringList stockFaults(db::Db& db, const Stock& initial) {
    QStringList faults;
    std::map<int, int> held;
    QSqlQuery q = db.exec(QStringLiteral("SELECT CodPresentacion, SUM(Cantidad) FROM DETAFAC "
                                         "WHERE Estado IN (?, ?) GROUP BY CodPresentacion"),
                          {kDescargado, kDevuelto});
    while (q.next())
        held[db::integer(q.value(0))] = db::integer(q.value(1));
    for (const auto& [code, units] : initial) {
        const int stock = testsupport::stockOf(db, code);
        if (stock < 0)
            faults << QStringLiteral("presentation %1 at %2 units").arg(code).arg(stock);
        if (stock != units - held[code])
            faults << QStringLiteral("presentation %1: %2 in stock, %3 - %4 sold = %5 due")
                          .arg(code)
                          .arg(stock)
                          .arg(units)
                          .arg(held[code])
                          .arg(units - held[code]);
    }
    return faults;
}

QStringList taxFileFaults(db::Db& db, const QString& dataFolder, bool complete) {
    QStringList faults;
    const std::map<int, int> facturas = dischargedFacturas(db);
    QSet<QString> expected;
    for (const auto& [number, lines] : facturas) {
        for (const QString& ext : kTaxFileExtensions)
            expected.insert(einvoice::FacturaFiles::baseName(number) + ext);
    }
    const QDir folder(dataFolder);
    const QStringList present = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : present) {
        const bool temporary = isTemporary(name);
        if (temporary && complete)
            faults << QStringLiteral("temporary file left: ") + name;
        else if (!temporary && !expected.contains(name))
            faults << QStringLiteral("file of no discharged factura: ") + name;
    }
    for (const auto& [number, lines] : facturas) {
        for (const QString& ext : kTaxFileExtensions) {
            const QString name = einvoice::FacturaFiles::baseName(number) + ext;
            const QString found = present.contains(name) ? name
                                  : complete             ? QString()
                                                         : temporaryOf(present, name);
            if (found.isEmpty())
                faults << QStringLiteral("missing ") + name;
            else if (ext == QStringLiteral(".det") && lineCount(folder.filePath(found)) != lines)
                faults << QStringLiteral("%1: %2 lines for %3 sold")
                              .arg(found)
                              .arg(lineCount(folder.filePath(found)))
                              .arg(lines);
        }
    }
    return faults;
}

}  // namespace soak
