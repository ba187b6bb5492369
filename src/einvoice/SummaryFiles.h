#pragma once

#include "core/Money.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

namespace einvoice {

// One boleta of a daily summary.
struct SummaryBoletaLine {
    int number = 0;     // N, its FacNumSunat
    core::Money total;  // T
};

// The daily summary of boletas for the tax authority's tool: "<issuer>-RC-<YYYYMMDD>-<nnn>.rdi"
// (a line per boleta) and ".trd" (four lines per boleta), Latin-1, every line ended by "|" and
// CR LF. Both files are written whole under temporary names of this writer and made durable with
// their folder by write(); commit() gives them their names, never replacing a file; discard()
// (or destruction without a commit) removes them. Failures throw std::runtime_error.
class SummaryFiles {
public:
    static constexpr int kMostCorrelatives = 999;

    // folder: the tool's data folder; created with its parents when driveRoot exists.
    // token: makes the temporary names this writer's own (safefiles::writerToken).
    SummaryFiles(const QString& folder, const QString& driveRoot, const QDate& day, int correlative,
                 const QString& token);
    ~SummaryFiles();
    SummaryFiles(const SummaryFiles&) = delete;
    SummaryFiles& operator=(const SummaryFiles&) = delete;

    void write(const std::vector<SummaryBoletaLine>& boletas);
    // The summary is recorded: from now on the files stay, named or not (recover() names them).
    void keep() { committed_ = true; }
    // Keeps the files and gives them their names.
    void commit();
    void discard();

    QString baseName() const { return baseName(day_, correlative_); }
    static QString baseName(const QDate& day, int correlative);
    QString finalPath(const QString& extension) const;

    // The highest correlative of the day's summary files named in the folder; 0 for none.
    static int highestCorrelative(const QString& folder, const QDate& day);

    // Temporary files left by a stop: those of a recorded summary get their names (when no file
    // has them), those of this workstation's unrecorded ones are removed, other workstations'
    // are left alone. `recorded(token)` gives the name a summary was recorded with under the
    // token of its temporary names. Returns how many files got their names.
    static int recover(const QString& folder, const QString& workstation,
                       const std::function<std::optional<QString>(const QString&)>& recorded);

    // The lines as written (without the CR LF ends); exposed for tests. `day` is G, n counts the
    // boletas from 1.
    static QString rdiLine(const QDate& day, const SummaryBoletaLine& boleta);
    static QStringList trdLines(int n, const SummaryBoletaLine& boleta);

private:
    QString tempPath(const QString& extension) const;
    void writeFile(const QString& extension, const QByteArray& content);

    QString folder_;
    QDate day_;
    int correlative_;
    QString token_;
    QStringList written_;
    bool committed_ = false;
};

}  // namespace einvoice
