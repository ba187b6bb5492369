#include "summary/DailySummary.h"

#include "core/DayWindow.h"
#include "db/procedures/Summary.h"
#include "einvoice/SafeFiles.h"
#include "einvoice/SummaryFiles.h"
#include "platform/Platform.h"

#include <algorithm>
#include <vector>

namespace summary {

namespace proc = db::proc;
using einvoice::SummaryFiles;

DailySummary::DailySummary(db::Db& db, platform::Platform& platform)
    : db_(db), platform_(platform) {}

QString DailySummary::folder() const {
    return platform_.mapPath(QString::fromLatin1(einvoice::safefiles::kToolFolder));
}

int DailySummary::recoverLocked() {
    return SummaryFiles::recover(folder(), platform_.computerName(), [this](const QString& token) {
        return proc::recordedSummaryFile(db_, token);
    });
}

int DailySummary::recover() {
    db::Db::Transaction tx(db_);
    db_.lock(proc::kSummaryLock);
    const int named = recoverLocked();
    tx.commit();
    return named;
}

SummaryResult DailySummary::generate(const QDateTime& now, int userCode,
                                     const SummaryHooks& hooks) {
    const QDate day = now.date();
    db::Db::Transaction tx(db_);
    db_.lock(proc::kSummaryLock);
    recoverLocked();
    const std::vector<proc::WaitingBoleta> waiting =
        proc::waitingBoletas(db_, core::calendarDay(day).end);
    if (waiting.empty())
        return {};
    const int correlative = std::max(proc::highestSummaryCorrelative(db_, day),
                                     SummaryFiles::highestCorrelative(folder(), day)) +
                            1;
    const QString token = einvoice::safefiles::writerToken(platform_.computerName());
    SummaryFiles files(folder(), platform_.mapPath(QStringLiteral("D:\\")), day, correlative,
                       token);
    std::vector<einvoice::SummaryBoletaLine> lines;
    lines.reserve(waiting.size());
    for (const proc::WaitingBoleta& b : waiting)
        lines.push_back({b.FacNumSunat, b.total});
    files.write(lines);

    const int resumen =
        proc::KZ_RegistraResumen(db_, {day, correlative, files.baseName(), token, userCode,
                                       platform_.computerName(), now, int(waiting.size())})
            .ResCod;
    int k = 0;
    for (const proc::WaitingBoleta& b : waiting) {
        if (hooks.beforeMark)
            hooks.beforeMark(++k);
        proc::SP_CambiaEstadoFactura(db_, {b.FacNumero, b.FacFecha, b.FacNumSunat, resumen});
    }
    tx.commit();
    files.keep();
    if (hooks.afterCommit)
        hooks.afterCommit();
    try {
        files.commit();
    } catch (const std::exception& e) {
        throw NamingError(e.what());
    }
    return {files.baseName(), int(waiting.size())};
}

}  // namespace summary
