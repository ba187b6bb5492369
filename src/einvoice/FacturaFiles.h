#pragma once

#include "core/Money.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

class QFile;

namespace einvoice {

// What the header files of one factura say, read on the checkout at the moment of the discharge.
struct FacturaHeader {
    int number = 0;     // N, the sale's FacNumSunat
    QDateTime at;       // D and H: the discharge of the first line
    core::Money total;  // T
    QString ruc;        // trimmed customer boxes
    QString name;
    QString address;
    QString totalInWords;   // the amount in words of T, as the receipt writes it
    double igvPercent = 0;  // the rate of the IGV row in force, in percent: B = T / (1 + rate)
};

// One detail line, in the order the lines are discharged.
struct FacturaLine {
    int quantity = 0;   // q
    core::Money price;  // p
    int codPresentacion = 0;
    QString presTipo;
    core::Money saleTotal;  // T as read when the line is written
};

// The five files the tax authority's invoicing tool reads for a factura:
// "<issuer>-01-F001-<N>.cab", ".aca", ".ley", ".tri" and ".det", Windows-1252 text,
// fields separated and ended by "|"; .tri and .det lines end with CR LF.
//
// The files are written under temporary names in the same folder and given their names only by
// commit(), once the discharge itself has been committed; discard() (or destruction without a
// commit) removes them, so a discharge that did not happen leaves no file. The temporary names
// carry the workstation and are this object's own: a failed discharge lets go of its number before
// it discards, and the next discharge may already be writing the files of that number. Every write
// failure throws std::runtime_error, before anything is committed.
class FacturaFiles {
public:
    static constexpr const char* kIssuer = "10471829356";
    static constexpr const char* kSeries = "F001";
    // The share of a line's amount that the files (and the factura's QR code) give as its tax,
    // fixed whatever the IGV rate.
    static constexpr double kLineTaxFactor = 0.1524;

    // folder: the tool's data folder; created with its parents when driveRoot exists.
    // workstation: this computer's name, carried by the temporary names.
    FacturaFiles(const QString& folder, const QString& driveRoot, int number,
                 const QString& workstation);
    ~FacturaFiles();
    FacturaFiles(const FacturaFiles&) = delete;
    FacturaFiles& operator=(const FacturaFiles&) = delete;

    // Writes .cab, .aca, .ley and .tri, then opens .det. Throws, writing nothing, when a file of
    // the number already has its final name: a tax file is never replaced.
    void writeHeader(const FacturaHeader& header);
    // A .det line at the header's IGV rate.
    void appendLine(const FacturaLine& line);
    // Puts every file safely on the disk, still under its temporary name, in one pass: the five
    // are written out together, then each file and the folder are synced once. What is sealed
    // survives a power cut from then on.
    void seal();
    // Seals, then gives every file its final name; never replaces a file of that name. The
    // names themselves are not synced: recover() gives again those a power cut takes back.
    void commit();
    void discard();

    // After a crash of this workstation: the files of a factura whose discharge committed but
    // that were never given their names get them (the newest complete set of that number, when
    // no file has the name yet and that set is this workstation's); every other temporary file
    // of this workstation is removed. Temporary files of other workstations sharing the folder
    // are left alone: they may be in the middle of a discharge. `numbered(N)` tells whether a
    // discharged factura carries the number N. Returns how many facturas got their files.
    static int recover(const QString& folder, const QString& workstation,
                       const std::function<bool(int)>& numbered);

    QString finalPath(const QString& extension) const;
    static QString baseName(int number);

    // The lines of each file, as written (without the CR LF ends); exposed for tests.
    static QString cabLine(const FacturaHeader& h);
    static QString acaLine(const FacturaHeader& h);
    static QString leyLine(const FacturaHeader& h);
    static QStringList triLines(const FacturaHeader& h);
    static QString detLine(const FacturaLine& l, double igvPercent);

private:
    QString tempPath(const QString& extension) const;
    std::runtime_error writeError(const QString& extension) const;
    // Opens a file of the factura under its temporary name.
    QFile& create(const QString& extension);
    void writeFile(const QString& extension, const QByteArray& bytes);

    QString folder_;
    int number_;
    QString token_;        // makes the temporary names this object's own
    QStringList written_;  // extensions written under temporary names
    double igvPercent_ = 0;  // the header's
    // Files written but not yet synced (.det last while lines are added), by extension.
    std::vector<std::pair<QString, std::unique_ptr<QFile>>> unsynced_;
    bool sealed_ = false;
    bool committed_ = false;
};

}  // namespace einvoice
