#include "einvoice/SummaryFiles.h"

#include "core/Format.h"
#include "core/Igv.h"
#include "einvoice/FacturaFiles.h"
#include "einvoice/FieldTable.h"
#include "einvoice/SafeFiles.h"

#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <map>
#include <stdexcept>

namespace einvoice {

namespace {

using core::fmt::twoDecimals;
using fields::Field;
using fields::join;
using fields::lit;

// The summary's tax share is the fixed 18 % of the tool's format, whatever the rate in force.
const core::IgvRate kSummaryRate(18);

struct BoletaValues {
    const QDate& day;  // G
    int n;
    const SummaryBoletaLine& b;
    double T() const { return b.total.toDouble(); }
    double B() const { return kSummaryRate.base(T()); }
    double I() const { return kSummaryRate.taxIn(T()); }
};

QString g(const BoletaValues& v) {
    return core::fmt::isoDate(v.day);
}
QString n(const BoletaValues& v) {
    return QString::number(v.n);
}

const std::vector<Field<BoletaValues>>& rdiFields() {
    using V = BoletaValues;
    const auto empty = lit<V>("");
    static const std::vector<Field<V>> table = {
        g,                                                                     // 1
        g,                                                                     // 2
        lit<V>("03"),                                                          // 3
        [](const V& v) { return QStringLiteral("B001-%1").arg(v.b.number); },  // 4
        lit<V>("1"),                                                           // 5
        lit<V>("11111111"),                                                    // 6
        lit<V>("PEN"),                                                         // 7
        [](const V& v) { return twoDecimals(v.B()); },                         // 8
        lit<V>("0.00"),                                                        // 9
        lit<V>("0"),                                                           // 10
        lit<V>("0"),                                                           // 11
        lit<V>("0"),                                                           // 12
        lit<V>("0"),                                                           // 13
        [](const V& v) { return twoDecimals(v.T()); },                         // 14
        empty,
        empty,
        empty,
        empty,
        empty,
        empty,
        empty,
        empty,        // 15-22
        lit<V>("1"),  // 23
    };
    return table;
}

const std::vector<std::vector<Field<BoletaValues>>>& trdFields() {
    using V = BoletaValues;
    static const std::vector<std::vector<Field<V>>> lines = {
        {n, lit<V>("1000"), lit<V>("IGV"), lit<V>("VAT"),
         [](const V& v) { return twoDecimals(v.B()); },
         [](const V& v) { return twoDecimals(v.I()); }},
        {n, lit<V>("9997"), lit<V>("EXO"), lit<V>("VAT"), lit<V>("0"), lit<V>("0")},
        {n, lit<V>("9998"), lit<V>("INA"), lit<V>("FRE"), lit<V>("0"), lit<V>("0")},
        {n, lit<V>("7152"), lit<V>("ICBPER"), lit<V>("OTH"), lit<V>("0"), lit<V>("0")},
    };
    return lines;
}

const QByteArray kCrLf("\r\n");
const QStringList kExtensions{QStringLiteral(".rdi"), QStringLiteral(".trd")};

QString prefix() {
    return QLatin1String(FacturaFiles::kIssuer) + QStringLiteral("-RC-");
}

// "<issuer>-RC-<YYYYMMDD>-<nnn><ext>": the summary files of a day.
QRegularExpression namedFile(const QDate& day) {
    return QRegularExpression(
        QStringLiteral("^%1%2-(\\d{3})\\.(rdi|trd)$")
            .arg(QRegularExpression::escape(prefix()), core::fmt::compactDate(day)));
}

// ".<name><ext>.<workstation>.<random>.tmp", the workstation percent-encoded.
const QRegularExpression& temporaryName() {
    static const QRegularExpression re(
        QStringLiteral("^\\.(%1\\d{8}-\\d{3})(\\.rdi|\\.trd)\\.(([^.]*)\\.[0-9a-z]+)\\.tmp$")
            .arg(QRegularExpression::escape(prefix())));
    return re;
}

std::runtime_error failure(const QString& what, const QString& path) {
    return std::runtime_error((what + QLatin1Char(' ') + path).toStdString());
}

}  // namespace

SummaryFiles::SummaryFiles(const QString& folder, const QString& driveRoot, const QDate& day,
                           int correlative, const QString& token)
    : folder_(folder), day_(day), correlative_(correlative), token_(token) {
    if (correlative < 1 || correlative > kMostCorrelatives)
        throw std::runtime_error("no quedan correlativos para el resumen del dia");
    if (QDir(driveRoot).exists() && !QDir(folder_).exists())
        QDir().mkpath(folder_);
}

SummaryFiles::~SummaryFiles() {
    if (!committed_)
        discard();
}

QString SummaryFiles::baseName(const QDate& day, int correlative) {
    return prefix() + core::fmt::compactDate(day) +
           QStringLiteral("-%1").arg(correlative, 3, 10, QLatin1Char('0'));
}

QString SummaryFiles::finalPath(const QString& extension) const {
    return QDir(folder_).filePath(baseName() + extension);
}

QString SummaryFiles::tempPath(const QString& extension) const {
    return QDir(folder_).filePath(QLatin1Char('.') + baseName() + extension + QLatin1Char('.') +
                                  token_ + QStringLiteral(".tmp"));
}

QString SummaryFiles::rdiLine(const QDate& day, const SummaryBoletaLine& boleta) {
    return join(rdiFields(), BoletaValues{day, 0, boleta});
}

QStringList SummaryFiles::trdLines(int number, const SummaryBoletaLine& boleta) {
    QStringList out;
    for (const auto& line : trdFields())
        out << join(line, BoletaValues{QDate(), number, boleta});
    return out;
}

void SummaryFiles::writeFile(const QString& extension, const QByteArray& content) {
    written_ << extension;
    QFile f(tempPath(extension));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(content) != content.size() ||
        !f.flush() || ::fsync(f.handle()) != 0)
        throw failure(QStringLiteral("no se pudo escribir"), finalPath(extension));
}

void SummaryFiles::write(const std::vector<SummaryBoletaLine>& boletas) {
    QByteArray rdi;
    QByteArray trd;
    int number = 0;
    for (const SummaryBoletaLine& b : boletas) {
        rdi += rdiLine(day_, b).toLatin1() + kCrLf;
        for (const QString& line : trdLines(++number, b))
            trd += line.toLatin1() + kCrLf;
    }
    try {
        writeFile(kExtensions[0], rdi);
        writeFile(kExtensions[1], trd);
        if (!safefiles::syncFolder(folder_))
            throw failure(QStringLiteral("no se pudo escribir"), folder_);
    } catch (...) {
        discard();
        throw;
    }
}

void SummaryFiles::commit() {
    keep();
    for (const QString& ext : written_) {
        if (safefiles::renamedWithoutReplacing(tempPath(ext), finalPath(ext)))
            continue;
        // Another workstation's recovery may have named it first.
        if (QFileInfo::exists(tempPath(ext)) || !QFileInfo::exists(finalPath(ext)))
            throw failure(QStringLiteral("no se pudo nombrar"), finalPath(ext));
    }
    // Names a power cut takes back are given again by recover().
    safefiles::syncFolder(folder_);
}

void SummaryFiles::discard() {
    for (const QString& ext : written_)
        QFile::remove(tempPath(ext));
    written_.clear();
}

int SummaryFiles::highestCorrelative(const QString& folder, const QDate& day) {
    const QRegularExpression re = namedFile(day);
    int highest = 0;
    for (const QString& name : QDir(folder).entryList(QDir::Files)) {
        const QRegularExpressionMatch m = re.match(name);
        if (m.hasMatch())
            highest = std::max(highest, m.captured(1).toInt());
    }
    return highest;
}

int SummaryFiles::recover(const QString& folder, const QString& workstation,
                          const std::function<std::optional<QString>(const QString&)>& recorded) {
    const QDir dir(folder);
    const QString own = safefiles::encodedWorkstation(workstation);
    std::map<QString, std::optional<QString>> names;  // by token, asked once each
    int named = 0;
    for (const QString& file : dir.entryList(QDir::Files | QDir::Hidden)) {
        const QRegularExpressionMatch m = temporaryName().match(file);
        if (!m.hasMatch())
            continue;
        const QString token = m.captured(3);
        if (!names.contains(token))
            names[token] = recorded(token);
        const std::optional<QString>& name = names[token];
        if (name && *name == m.captured(1)) {
            const QString target = dir.filePath(*name + m.captured(2));
            named += safefiles::renamedWithoutReplacing(dir.filePath(file), target) ? 1 : 0;
        } else if (!name && m.captured(4) == own) {
            QFile::remove(dir.filePath(file));
        }
    }
    safefiles::syncFolder(folder);
    return named;
}

}  // namespace einvoice
