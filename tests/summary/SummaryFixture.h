#pragma once

#include "support/CheckoutSeed.h"
#include "support/WindowTest.h"

#include "core/DayWindow.h"
#include "db/procedures/Checkout.h"
#include "einvoice/SummaryFiles.h"
#include "summary/DailySummary.h"

#include <QDir>
#include <QFile>

namespace testsupport::summary {

inline const QDate kToday(2026, 3, 7);

// A shop with one presentation in stock and a summary on this workstation's drive D:.
class SummaryTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        if (IsSkipped())
            return;
        clock.set(QDateTime(kToday, QTime(18, 30)));
        seedPresentation(db(), 101, QStringLiteral("PARACETAMOL 500MG"), 30000);
    }

    // A sale of the day, discharged as a boleta; its receipt number.
    int boleta(int facNumero, const QDate& day, const std::vector<SeedLine>& lines) {
        return discharge(facNumero, day, lines, db::proc::kBoletaDeVenta);
    }
    int discharge(int facNumero, const QDate& day, const std::vector<SeedLine>& lines,
                  const std::optional<QString>& type) {
        seedSale(db(), facNumero, day, QStringLiteral("CAJA1-5"), lines);
        return db::proc::DischargeSale(db(), {facNumero, core::saleDay(day), 1, type})
            .receiptNumber;
    }

    ::summary::SummaryResult generate(const ::summary::SummaryHooks& hooks = {}) {
        return ::summary::DailySummary(db(), platform).generate(clock.now(), 3, hooks);
    }

    QString folder() { return ::summary::DailySummary(db(), platform).folder(); }
    QString path(int correlative, const char* extension, const QDate& day = kToday) {
        return QDir(folder()).filePath(einvoice::SummaryFiles::baseName(day, correlative) +
                                       QLatin1String(extension));
    }
    QByteArray file(int correlative, const char* extension, const QDate& day = kToday) {
        QFile f(path(correlative, extension, day));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    QStringList entries() {
        return QDir(folder()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    // The RESUMEN row that reports the sale; 0 while none does.
    int reportedBy(int facNumero, const QDate& day = kToday) {
        return db::integer(db().scalar(QStringLiteral("SELECT FacResumen FROM FACTURA "
                                                      "WHERE FacNumero = ? AND FacFecha = ?"),
                                       {facNumero, QDateTime(day, core::kDayFirstSecond)}));
    }
    int reportedCount() {
        return db::integer(db().scalar(
            QStringLiteral("SELECT COUNT(*) FROM FACTURA WHERE FacResumen IS NOT NULL")));
    }
    int summaries() {
        return db::integer(db().scalar(QStringLiteral("SELECT COUNT(*) FROM RESUMEN")));
    }
};

}  // namespace testsupport::summary
