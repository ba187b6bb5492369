#include "einvoice/FacturaFiles.h"

#include "core/CodePage.h"
#include "core/Format.h"
#include "core/Igv.h"
#include "einvoice/FieldTable.h"
#include "einvoice/SafeFiles.h"

#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <functional>
#include <map>
#include <stdexcept>
#include <vector>

namespace einvoice {

namespace {

using core::fmt::twoDecimals;
using fields::Field;
using fields::join;
using fields::lit;
using safefiles::encodedWorkstation;
using safefiles::renamedWithoutReplacing;
using safefiles::startWriting;
using safefiles::syncFolder;

// The figures every field is computed from.
struct HeaderValues {
    const FacturaHeader& h;
    core::IgvRate igv() const { return core::IgvRate(h.igvPercent); }
    double T() const { return h.total.toDouble(); }
    double B() const { return igv().base(T()); }
    double I() const { return igv().taxIn(T()); }
};

struct LineValues {
    const FacturaLine& l;
    core::IgvRate igv;
    double p() const { return l.price.toDouble(); }
    double t() const { return l.quantity * p() * FacturaFiles::kLineTaxFactor; }
    double v() const { return l.saleTotal.toDouble() - t(); }
};

// A typed text cannot carry the separator: it would shift every field after it.
QString text(const QString& typed) {
    QString s = typed.trimmed();
    s.replace(QLatin1Char('|'), QLatin1Char(' '));
    return s;
}

const std::vector<Field<HeaderValues>>& cabFields() {
    using V = HeaderValues;
    static const std::vector<Field<V>> fields = {
        lit<V>("0101"),
        [](const V& v) { return core::fmt::isoDate(v.h.at.date()); },
        [](const V& v) { return core::fmt::longTime(v.h.at.time()); },
        lit<V>("-"),
        lit<V>("0000"),
        [](const V& v) { return QString::number(v.h.number); },
        [](const V& v) { return text(v.h.ruc); },
        [](const V& v) { return text(v.h.name); },
        lit<V>("PEN"),
        [](const V& v) { return twoDecimals(v.I()); },
        [](const V& v) { return twoDecimals(v.B()); },
        [](const V& v) { return twoDecimals(v.T()); },
        lit<V>("0.00"),
        lit<V>("0.00"),
        lit<V>("0.00"),
        [](const V& v) { return twoDecimals(v.T()); },
        lit<V>("2.1"),
        lit<V>("2.0"),
    };
    return fields;
}

const std::vector<Field<HeaderValues>>& acaFields() {
    using V = HeaderValues;
    static const std::vector<Field<V>> fields = {
        lit<V>(""), lit<V>("000"), lit<V>("0"),      lit<V>("0.00"),
        lit<V>(""), lit<V>("PE"),  lit<V>("130101"), [](const V& v) { return text(v.h.address); },
        lit<V>(""), lit<V>(""),    lit<V>(""),
    };
    return fields;
}

const std::vector<Field<HeaderValues>>& leyFields() {
    using V = HeaderValues;
    static const std::vector<Field<V>> fields = {
        lit<V>("1000"),
        [](const V& v) { return v.h.totalInWords; },
    };
    return fields;
}

const std::vector<std::vector<Field<HeaderValues>>>& triFields() {
    using V = HeaderValues;
    static const std::vector<std::vector<Field<V>>> lines = {
        {lit<V>("1000"), lit<V>("IGV"), lit<V>("VAT"),
         [](const V& v) { return twoDecimals(v.B()); },
         [](const V& v) { return twoDecimals(v.I()); }},
        {lit<V>("9997"), lit<V>("EXO"), lit<V>("VAT"), lit<V>("0"), lit<V>("0")},
        {lit<V>("9998"), lit<V>("INA"), lit<V>("FRE"), lit<V>("0"), lit<V>("0")},
        {lit<V>("7152"), lit<V>("ICBPER"), lit<V>("OTH"), lit<V>("0"), lit<V>("0")},
    };
    return lines;
}

const std::vector<Field<LineValues>>& detFields() {
    using V = LineValues;
    const auto empty = lit<V>("");
    static const std::vector<Field<V>> fields = {
        lit<V>("NIU"),                                                    // 1
        [](const V& v) { return QString::number(v.l.quantity); },         // 2 q
        [](const V& v) { return QString::number(v.l.codPresentacion); },  // 3 code
        lit<V>("-"),                                                      // 4
        [](const V& v) { return text(v.l.presTipo.left(28)); },           // 5 desc
        [](const V& v) { return twoDecimals(v.igv.base(v.p())); },        // 6
        [](const V& v) { return twoDecimals(v.t()); },                    // 7
        lit<V>("1000"),                                                   // 8
        [](const V& v) { return twoDecimals(v.t()); },                    // 9
        [](const V& v) { return twoDecimals(v.v()); },                    // 10
        empty,                                                            // 11
        lit<V>("IGV"),
        lit<V>("VAT"),
        lit<V>("10"),
        [](const V& v) { return twoDecimals(v.igv.percent()); },  // 12-15
        lit<V>("-"),
        lit<V>("0.00"),
        lit<V>("0.00"),  // 16-18
        empty,
        empty,
        empty,  // 19-21
        lit<V>("15.00"),
        lit<V>("-"),
        lit<V>("0.00"),
        lit<V>("0.00"),  // 22-25
        empty,
        empty,  // 26-27
        lit<V>("15.00"),
        lit<V>("-"),
        lit<V>("0"),
        lit<V>("0"),  // 28-31
        empty,
        empty,                                          // 32-33
        lit<V>("0"),                                    // 34
        [](const V& v) { return twoDecimals(v.p()); },  // 35
        [](const V& v) { return twoDecimals(v.v()); },  // 36
        empty,                                          // 37
        lit<V>("0.00"),                                 // 38
    };
    return fields;
}

// Single-byte text in the tool's code page: characters it cannot hold become "?".
QByteArray bytes(const QString& s) {
    return core::toWindows1252(s);
}

const QByteArray kCrLf("\r\n");

const QStringList kExtensions{QStringLiteral(".cab"), QStringLiteral(".aca"),
                              QStringLiteral(".ley"), QStringLiteral(".tri"),
                              QStringLiteral(".det")};

// ".<base><ext>.<workstation>.<token>.tmp": the temporary name of one file of one writer, on
// the workstation whose computer name is percent-encoded (so it holds no "."): the tool's folder
// may be shared by several workstations.
const QRegularExpression& temporaryName() {
    static const QRegularExpression re(
        QStringLiteral("^\\.(%1-01-%2-(\\d+))(\\.[a-z]{3})\\.(([^.]*)\\.[0-9a-z]+)\\.tmp$")
            .arg(QLatin1String(FacturaFiles::kIssuer), QLatin1String(FacturaFiles::kSeries)));
    return re;
}

}  // namespace

FacturaFiles::FacturaFiles(const QString& folder, const QString& driveRoot, int number,
                           const QString& workstation)
    : folder_(folder), number_(number), token_(safefiles::writerToken(workstation)) {
    if (QDir(driveRoot).exists() && !QDir(folder_).exists())
        QDir().mkpath(folder_);
}

FacturaFiles::~FacturaFiles() {
    if (!committed_)
        discard();
}

QString FacturaFiles::baseName(int number) {
    return QStringLiteral("%1-01-%2-%3")
        .arg(QLatin1String(kIssuer), QLatin1String(kSeries))
        .arg(number);
}

QString FacturaFiles::finalPath(const QString& extension) const {
    return QDir(folder_).filePath(baseName(number_) + extension);
}

QString FacturaFiles::tempPath(const QString& extension) const {
    return QDir(folder_).filePath(QLatin1Char('.') + baseName(number_) + extension +
                                  QLatin1Char('.') + token_ + QStringLiteral(".tmp"));
}

QString FacturaFiles::cabLine(const FacturaHeader& h) {
    return join(cabFields(), HeaderValues{h});
}
QString FacturaFiles::acaLine(const FacturaHeader& h) {
    return join(acaFields(), HeaderValues{h});
}
QString FacturaFiles::leyLine(const FacturaHeader& h) {
    return join(leyFields(), HeaderValues{h});
}

QStringList FacturaFiles::triLines(const FacturaHeader& h) {
    QStringList out;
    for (const auto& fields : triFields())
        out << join(fields, HeaderValues{h});
    return out;
}

QString FacturaFiles::detLine(const FacturaLine& l, double igvPercent) {
    return join(detFields(), LineValues{l, core::IgvRate(igvPercent)});
}

std::runtime_error FacturaFiles::writeError(const QString& extension) const {
    return std::runtime_error(("no se pudo escribir " + finalPath(extension)).toStdString());
}

QFile& FacturaFiles::create(const QString& extension) {
    written_ << extension;
    unsynced_.emplace_back(extension, std::make_unique<QFile>(tempPath(extension)));
    QFile& f = *unsynced_.back().second;
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw writeError(extension);
    return f;
}

void FacturaFiles::writeFile(const QString& extension, const QByteArray& content) {
    if (create(extension).write(content) != content.size())
        throw writeError(extension);
}

void FacturaFiles::writeHeader(const FacturaHeader& h) {
    for (const QString& ext : kExtensions)
        if (QFileInfo::exists(finalPath(ext)))
            throw std::runtime_error(
                ("ya existe " + finalPath(ext) + ": la factura no se emite").toStdString());
    igvPercent_ = h.igvPercent;
    writeFile(QStringLiteral(".cab"), bytes(cabLine(h)));
    writeFile(QStringLiteral(".aca"), bytes(acaLine(h)));
    writeFile(QStringLiteral(".ley"), bytes(leyLine(h)));
    QByteArray tri;
    for (const QString& line : triLines(h))
        tri += bytes(line) + kCrLf;
    writeFile(QStringLiteral(".tri"), tri);
    create(QStringLiteral(".det"));
}

void FacturaFiles::appendLine(const FacturaLine& line) {
    const QString det = QStringLiteral(".det");
    if (unsynced_.empty() || unsynced_.back().first != det)
        throw std::logic_error("FacturaFiles::appendLine before writeHeader");
    const QByteArray content = bytes(detLine(line, igvPercent_)) + kCrLf;
    if (unsynced_.back().second->write(content) != content.size())
        throw writeError(det);
}

void FacturaFiles::seal() {
    if (sealed_)
        return;
    for (const auto& [extension, file] : unsynced_) {
        if (!file->flush())
            throw writeError(extension);
        startWriting(*file);
    }
    for (const auto& [extension, file] : unsynced_) {
        if (::fsync(file->handle()) != 0)
            throw writeError(extension);
    }
    unsynced_.clear();
    if (!syncFolder(folder_))
        throw std::runtime_error(("no se pudo escribir " + folder_).toStdString());
    sealed_ = true;
}

void FacturaFiles::commit() {
    seal();
    for (const QString& ext : written_)
        if (!renamedWithoutReplacing(tempPath(ext), finalPath(ext)))
            throw std::runtime_error(("no se pudo nombrar " + finalPath(ext)).toStdString());
    // The names need no sync of their own: names a power cut takes back are given again by
    // recover() at the next start, as after a stop between the discharge and the naming.
    committed_ = true;
}

void FacturaFiles::discard() {
    unsynced_.clear();
    for (const QString& ext : written_)
        QFile::remove(tempPath(ext));
    written_.clear();
}

int FacturaFiles::recover(const QString& folder, const QString& workstation,
                          const std::function<bool(int)>& numbered) {
    struct Temporary {
        QString name;
        QString finalName;
    };
    struct Set {
        int number = 0;
        bool own = false;  // written on this workstation
        std::vector<Temporary> files;
        QDateTime newest;
    };
    const QDir dir(folder);
    const auto named = [&dir](const QString& finalName) {
        return QFile::exists(dir.filePath(finalName));
    };
    const QString own = encodedWorkstation(workstation);
    std::map<QString, Set> sets;  // by number and writer's token
    for (const QFileInfo& file : dir.entryInfoList(QDir::Files | QDir::Hidden)) {
        const QRegularExpressionMatch m = temporaryName().match(file.fileName());
        if (!m.hasMatch())
            continue;
        Set& set = sets[m.captured(2) + QLatin1Char('.') + m.captured(4)];
        set.number = m.captured(2).toInt();
        set.own = m.captured(5) == own;
        set.files.push_back({file.fileName(), m.captured(1) + m.captured(3)});
        set.newest = std::max(set.newest, file.lastModified());
    }
    // A set can finish a factura when, file by file, it holds what is not named yet; the
    // commit may have stopped halfway through the naming.
    const auto canFinish = [&](const Set& set) {
        int missing = 0;
        for (const QString& ext : kExtensions) {
            const QString finalName = baseName(set.number) + ext;
            const bool held =
                std::any_of(set.files.begin(), set.files.end(),
                            [&](const Temporary& t) { return t.finalName == finalName; });
            if (!named(finalName) && !held)
                return false;
            missing += named(finalName) ? 0 : 1;
        }
        return missing > 0 && numbered(set.number);
    };
    // Every workstation's sets compete: of two complete sets of a number, the newer one belongs
    // to the discharge that committed, and a set of another workstation is finished there.
    std::map<int, const Set*> chosen;
    for (const auto& [key, set] : sets) {
        if (!canFinish(set))
            continue;
        const Set*& best = chosen[set.number];
        if (!best || best->newest < set.newest)
            best = &set;
    }
    int finished = 0;
    for (const auto& [key, set] : sets) {
        if (!set.own)
            continue;
        const auto it = chosen.find(set.number);
        const bool finishing = it != chosen.end() && it->second == &set;
        finished += finishing ? 1 : 0;
        for (const Temporary& t : set.files) {
            if (finishing && !named(t.finalName))
                renamedWithoutReplacing(dir.filePath(t.name), dir.filePath(t.finalName));
            else
                QFile::remove(dir.filePath(t.name));
        }
    }
    syncFolder(folder);
    return finished;
}

}  // namespace einvoice
