#include "summary/SummaryFixture.h"

#include "db/procedures/Summary.h"
#include "einvoice/SafeFiles.h"

#include <QSet>
#include <QThread>
#include <atomic>
#include <mutex>
#include <semaphore>

using namespace db::proc;
using summary::DailySummary;
using summary::SummaryHooks;
using summary::SummaryResult;
using testsupport::SeedLine;
using testsupport::summary::kToday;

namespace {

class Summary : public testsupport::summary::SummaryTest {
protected:
    std::vector<SummaryBoleta> listed(int days = 1) {
        return summaryBoletas(db(), core::midnights(kToday.addDays(1 - days), kToday.addDays(1)));
    }
    IncluyeBoletaOut include(int facNumero, bool included, const QDate& day = kToday) {
        return KZ_IncluyeBoleta(db(), {facNumero, QDateTime(day, core::kDayFirstSecond), included});
    }
    // The receipt numbers of a .rdi file's lines, in order.
    static QList<int> numbers(const QByteArray& rdi) {
        QList<int> out;
        for (const QByteArray& line : rdi.split('\n')) {
            if (line.isEmpty())
                continue;
            const QList<QByteArray> fields = line.split('|');
            if (fields.size() < 4) {
                ADD_FAILURE() << "not a summary line: " << line.constData();
                continue;
            }
            out << fields.at(3).mid(5).toInt();
        }
        return out;
    }
};

// The bytes of the files.

TEST_P(Summary, ABoletaOf59WritesItsLineAndItsFourTaxLines) {
    const int n = boleta(1, kToday, {{101, 2, "29.50"}});
    EXPECT_EQ(generate().name, QStringLiteral("10471829356-RC-20260307-001"));
    EXPECT_EQ(file(1, ".rdi"), QByteArray("2026-03-07|2026-03-07|03|B001-") +
                                   QByteArray::number(n) +
                                   "|1|11111111|PEN|50.00|0.00|0|0|0|0|59.00|||||||||1|\r\n");
    EXPECT_EQ(file(1, ".trd"),
              "1|1000|IGV|VAT|50.00|9.00|\r\n1|9997|EXO|VAT|0|0|\r\n1|9998|INA|FRE|0|0|\r\n"
              "1|7152|ICBPER|OTH|0|0|\r\n");
    EXPECT_GT(reportedBy(1), 0);
}

TEST_P(Summary, ThreeBoletasGiveThreeLinesAndTwelveTaxLinesNumberedOneToThree) {
    boleta(1, kToday, {{101, 1, "59.00"}});
    boleta(2, kToday, {{101, 1, "10.00"}});
    boleta(3, kToday, {{101, 3, "1.00"}});
    EXPECT_EQ(generate().boletas, 3);
    EXPECT_EQ(numbers(file(1, ".rdi")), (QList<int>{1, 2, 3}));
    QByteArray firsts;
    for (const QByteArray& line : file(1, ".trd").split('\n'))
        if (!line.isEmpty())
            firsts += line.left(2);
    EXPECT_EQ(firsts, "1|1|1|1|2|2|2|2|3|3|3|3|");
    EXPECT_TRUE(file(1, ".trd").contains("2|1000|IGV|VAT|8.47|1.53|\r\n"));
    EXPECT_EQ(reportedCount(), 3);
}

TEST_P(Summary, NamesCarryTheGenerationDayAsEightDigits) {
    boleta(1, kToday, {{101, 1, "5.00"}});
    EXPECT_EQ(generate().name, QStringLiteral("10471829356-RC-20260307-001"));
    const QDate december(2026, 12, 15);
    clock.set(QDateTime(december, QTime(9, 0)));
    boleta(1, december, {{101, 1, "5.00"}});
    EXPECT_EQ(generate().name, QStringLiteral("10471829356-RC-20261215-001"));
    EXPECT_TRUE(file(1, ".rdi", december).startsWith("2026-12-15|2026-12-15|03|"));
}

// Totals.

TEST_P(Summary, ABoletaGetsItsOwnSaleTotalWhateverTheSameNumberSoldOnTheDaysBefore) {
    discharge(7, kToday.addDays(-1), {{101, 1, "100.00"}}, std::nullopt);  // a sale note
    boleta(7, kToday.addDays(-2), {{101, 1, "20.00"}});
    boleta(7, kToday, {{101, 2, "29.50"}});
    generate();
    const QList<QByteArray> lines = file(1, ".rdi").split('\n');
    ASSERT_EQ(lines.size(), 3);
    // By sale number, then date; both dated with the generation day.
    EXPECT_TRUE(lines[0].startsWith("2026-03-07|2026-03-07|03|B001-1|"));
    EXPECT_TRUE(lines[0].contains("|16.95|0.00|0|0|0|0|20.00|"));
    EXPECT_TRUE(lines[1].contains("|B001-2|1|11111111|PEN|50.00|0.00|0|0|0|0|59.00|"));
}

TEST_P(Summary, ReturnedAndOutOfStockLinesAreLeftOutAndAWhollyReturnedBoletaIsZero) {
    testsupport::seedPresentation(db(), 102, QStringLiteral("JARABE"), 1);
    boleta(1, kToday, {{101, 1, "10.00"}, {102, 5, "3.00"}, {101, 2, "4.00"}});
    boleta(2, kToday, {{101, 1, "6.00"}});
    db().exec(
        QStringLiteral("UPDATE DETAFAC SET Estado = ? WHERE (FacNumero = 1 AND DetaNumero = 3) "
                       "OR FacNumero = 2"),
        {kDevuelto});
    ASSERT_EQ(testsupport::lineState(db(), 1, kToday, 2), kSinStock);
    generate();
    const QList<QByteArray> lines = file(1, ".rdi").split('\n');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].contains("|8.47|0.00|0|0|0|0|10.00|"));
    EXPECT_TRUE(lines[1].contains("|0.00|0.00|0|0|0|0|0.00|"));
}

TEST_P(Summary, AReportedBoletaNeverWaitsAgainAfterAnotherDischargeOfItsSale) {
    boleta(1, kToday, {{101, 1, "5.00"}});
    ASSERT_EQ(generate().boletas, 1);
    const int summary = reportedBy(1);
    testsupport::addSaleLine(db(), 1, kToday, 2, {101, 1, "3.00"});
    ASSERT_EQ(DischargeSale(db(), {1, core::saleDay(kToday), 1, kBoletaDeVenta}).discharged, 1);
    EXPECT_EQ(reportedBy(1), summary);
    EXPECT_EQ(db::integer(db().scalar(QStringLiteral("SELECT FacEstadoSunat FROM FACTURA"))), 0);
    EXPECT_TRUE(generate().name.isEmpty());
}

// Correlatives.

TEST_P(Summary, ASecondGenerationOfTheDayWrites002AndLeaves001ByteForByte) {
    boleta(1, kToday, {{101, 1, "5.00"}});
    generate();
    const QByteArray rdi = file(1, ".rdi");
    const QByteArray trd = file(1, ".trd");
    boleta(2, kToday, {{101, 1, "7.00"}});
    EXPECT_EQ(generate().name, QStringLiteral("10471829356-RC-20260307-002"));
    EXPECT_EQ(file(1, ".rdi"), rdi);
    EXPECT_EQ(file(1, ".trd"), trd);
    EXPECT_EQ(numbers(file(2, ".rdi")), QList<int>{2});
    EXPECT_NE(reportedBy(1), reportedBy(2));
}

TEST_P(Summary, AFileOfTheDayTheDatabaseDoesNotKnowIsNeverOverwritten) {
    QDir().mkpath(folder());
    QFile other(path(1, ".rdi"));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write("not ours");
    other.close();
    boleta(1, kToday, {{101, 1, "5.00"}});
    EXPECT_EQ(generate().name, QStringLiteral("10471829356-RC-20260307-002"));
    EXPECT_EQ(file(1, ".rdi"), "not ours");
}

TEST_P(Summary, ARecordedSummaryWhoseFilesTheToolTookAwayStillCounts) {
    boleta(1, kToday, {{101, 1, "5.00"}});
    generate();
    QFile::remove(path(1, ".rdi"));
    QFile::remove(path(1, ".trd"));
    boleta(2, kToday, {{101, 1, "7.00"}});
    EXPECT_EQ(generate().name, QStringLiteral("10471829356-RC-20260307-002"));
}

TEST_P(Summary, TheSummaryIsRecordedWithItsUserWorkstationAndCount) {
    boleta(1, kToday, {{101, 1, "5.00"}});
    boleta(2, kToday, {{101, 1, "7.00"}});
    generate();
    QSqlQuery q =
        db().exec(QStringLiteral("SELECT ResFecha, ResCorrelativo, ResArchivo, UsuCod, "
                                 "ResHostName, ResMomento, ResBoletas FROM RESUMEN"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(db::dateTime(q.value(0)), QDateTime(kToday, QTime(0, 0)));
    EXPECT_EQ(db::integer(q.value(1)), 1);
    EXPECT_EQ(db::text(q.value(2)), QStringLiteral("10471829356-RC-20260307-001"));
    EXPECT_EQ(db::integer(q.value(3)), 3);
    EXPECT_EQ(db::text(q.value(4)), QStringLiteral("CAJA01"));
    EXPECT_EQ(db::dateTime(q.value(5)), clock.now());
    EXPECT_EQ(db::integer(q.value(6)), 2);
    EXPECT_FALSE(q.next());
}

// Waiting, excluded and reported.

TEST_P(Summary, NothingWaitingTouchesNoFileAndASecondGenerationFindsNothing) {
    EXPECT_TRUE(generate().name.isEmpty());
    EXPECT_TRUE(entries().isEmpty());
    boleta(1, kToday, {{101, 1, "5.00"}});
    generate();
    EXPECT_TRUE(generate().name.isEmpty());
    EXPECT_EQ(entries().size(), 2);
    EXPECT_EQ(summaries(), 1);
}

TEST_P(Summary, OnlyDischargedBoletasWaitAndTheGenerationTakesThemWhateverTheirDay) {
    discharge(1, kToday, {{101, 1, "5.00"}}, std::nullopt);
    discharge(2, kToday, {{101, 1, "5.00"}}, kFactura);
    testsupport::seedSale(db(), 3, kToday, QStringLiteral("CAJA1-5"), {{101, 1, "5.00"}});
    boleta(4, kToday.addDays(-40), {{101, 1, "5.00"}});
    EXPECT_TRUE(listed(7).empty());  // forty days back is outside what is listed
    EXPECT_EQ(generate().boletas, 1);
    EXPECT_GT(reportedBy(4, kToday.addDays(-40)), 0);
}

TEST_P(Summary, AnExcludedBoletaStaysListedUntickedAndOnceTickedBackGoesIntoTheNextSummary) {
    boleta(1, kToday, {{101, 1, "5.00"}});
    boleta(2, kToday, {{101, 1, "7.00"}});
    EXPECT_TRUE(include(2, false).changed);
    EXPECT_EQ(generate().boletas, 1);
    std::vector<SummaryBoleta> rows = listed();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].FacNumero, 2);
    EXPECT_FALSE(rows[0].FacEstadoSunat);
    EXPECT_TRUE(generate().name.isEmpty());

    EXPECT_TRUE(include(2, true).changed);
    EXPECT_TRUE(listed()[0].FacEstadoSunat);
    EXPECT_EQ(generate().name, QStringLiteral("10471829356-RC-20260307-002"));
    EXPECT_EQ(numbers(file(2, ".rdi")), QList<int>{2});
    EXPECT_TRUE(listed().empty());
}

TEST_P(Summary, TheListIsOfTheChosenDaysBySaleNumberThenDate) {
    boleta(5, kToday, {{101, 1, "5.00"}});
    boleta(5, kToday.addDays(-1), {{101, 1, "5.00"}});
    boleta(2, kToday.addDays(-6), {{101, 1, "5.00"}});
    boleta(1, kToday.addDays(-7), {{101, 1, "5.00"}});
    EXPECT_EQ(listed(1).size(), 1u);
    const std::vector<SummaryBoleta> week = listed(7);
    ASSERT_EQ(week.size(), 3u);
    EXPECT_EQ(week[0].FacNumero, 2);
    EXPECT_EQ(week[1].FacFecha.date(), kToday.addDays(-1));
    EXPECT_EQ(week[2].FacFecha.date(), kToday);
    EXPECT_EQ(week[2].FacTipoSunat, kBoletaDeVenta);
    EXPECT_EQ(week[2].FacEstado, kDescargado);
}

TEST_P(Summary, AFlipFromAListReadBeforeAnotherWorkstationGeneratedChangesNothing) {
    boleta(1, kToday, {{101, 1, "5.00"}});
    const std::vector<SummaryBoleta> stale = listed();
    ASSERT_EQ(stale.size(), 1u);
    auto other = connectAnother();
    DailySummary(*other, platform).generate(clock.now(), 4);
    const int summary = reportedBy(1);
    ASSERT_GT(summary, 0);

    EXPECT_FALSE(include(1, false).changed);
    EXPECT_FALSE(include(1, true).changed);
    EXPECT_EQ(reportedBy(1), summary);
    EXPECT_FALSE(summaryBoleta(db(), 1, stale[0].FacFecha).has_value());
    EXPECT_TRUE(generate().name.isEmpty());
}

TEST_P(Summary, MarkingABoletaThatNoLongerWaitsThrowsAndChangesNothing) {
    boleta(1, kToday, {{101, 1, "5.00"}});
    include(1, false);
    const QDateTime at(kToday, core::kDayFirstSecond);
    EXPECT_THROW(SP_CambiaEstadoFactura(db(), {1, at, 1, 99}), db::Error);
    include(1, true);
    EXPECT_THROW(SP_CambiaEstadoFactura(db(), {1, at, 2, 99}), db::Error);  // another number
    EXPECT_EQ(reportedBy(1), 0);
    SP_CambiaEstadoFactura(db(), {1, at, 1, 99});
    EXPECT_EQ(reportedBy(1), 99);
    EXPECT_THROW(SP_CambiaEstadoFactura(db(), {1, at, 1, 98}), db::Error);
    EXPECT_EQ(reportedBy(1), 99);
}

// Failures: nothing marked, no file left, and the next generation reports them all.

TEST_P(Summary, WithoutTheFolderNothingIsMarked) {
    boleta(1, kToday, {{101, 1, "5.00"}});
    platform.removeDrive(QLatin1Char('D'));
    EXPECT_ANY_THROW(generate());
    EXPECT_EQ(reportedCount(), 0);
    EXPECT_EQ(summaries(), 0);
    platform.makeDrive(QLatin1Char('D'));
    EXPECT_EQ(generate().name, QStringLiteral("10471829356-RC-20260307-001"));
}

TEST_P(Summary, AFolderWhereNoFileCanBeWrittenMarksNothing) {
    boleta(1, kToday, {{101, 1, "5.00"}});
    const QString data = folder();
    QDir().mkpath(QFileInfo(QDir::cleanPath(data)).path());
    // Not even the superuser creates files in /proc.
    ASSERT_TRUE(QFile::link(QStringLiteral("/proc"), QDir::cleanPath(data)));
    EXPECT_ANY_THROW(generate());
    EXPECT_EQ(reportedCount(), 0);
    EXPECT_EQ(summaries(), 0);
    QFile::remove(QDir::cleanPath(data));
    EXPECT_EQ(generate().boletas, 1);
}

TEST_P(Summary, AMarkingThatFailsHalfWayUndoesTheWholeSummary) {
    for (int i = 1; i <= 3; ++i)
        boleta(i, kToday, {{101, 1, "5.00"}});
    SummaryHooks failing;
    failing.beforeMark = [](int k) {
        if (k == 2)
            throw std::runtime_error("marking failed");
    };
    EXPECT_THROW(generate(failing), std::runtime_error);
    EXPECT_EQ(reportedCount(), 0);
    EXPECT_EQ(summaries(), 0);
    EXPECT_TRUE(entries().isEmpty());
    EXPECT_EQ(generate().name, QStringLiteral("10471829356-RC-20260307-001"));
    EXPECT_EQ(numbers(file(1, ".rdi")), (QList<int>{1, 2, 3}));
}

// A stop between the commit and the naming, and one before the commit.

TEST_P(Summary, ACommittedSummaryLeftUnnamedGetsItsNamesAtTheNextStart) {
    boleta(1, kToday, {{101, 1, "5.00"}});
    boleta(2, kToday, {{101, 1, "7.00"}});
    SummaryHooks stopping;
    stopping.afterCommit = [] { throw std::runtime_error("stopped"); };
    EXPECT_THROW(generate(stopping), std::runtime_error);
    EXPECT_EQ(entries().size(), 2);
    EXPECT_FALSE(QFile::exists(path(1, ".rdi")));

    EXPECT_EQ(DailySummary(db(), platform).recover(), 2);
    EXPECT_EQ(numbers(file(1, ".rdi")), (QList<int>{1, 2}));
    EXPECT_EQ(file(1, ".trd").count("\r\n"), 8);
    EXPECT_EQ(entries().size(), 2);
    EXPECT_EQ(reportedCount(), 2);
    EXPECT_TRUE(generate().name.isEmpty());
}

TEST_P(Summary, TheNextGenerationNamesAnUnnamedSummaryBeforeChoosingItsCorrelative) {
    boleta(1, kToday, {{101, 1, "5.00"}});
    SummaryHooks stopping;
    stopping.afterCommit = [] { throw std::runtime_error("stopped"); };
    EXPECT_THROW(generate(stopping), std::runtime_error);
    boleta(2, kToday, {{101, 1, "7.00"}});
    EXPECT_EQ(generate().name, QStringLiteral("10471829356-RC-20260307-002"));
    EXPECT_EQ(numbers(file(1, ".rdi")), QList<int>{1});
}

TEST_P(Summary, TemporariesOfAnUnrecordedSummaryGoOnlyOnTheirOwnWorkstation) {
    boleta(1, kToday, {{101, 1, "5.00"}});
    const auto leftBy = [this](const QString& workstation) {
        einvoice::SummaryFiles files(folder(), platform.driveFolder(QLatin1Char('D')), kToday, 1,
                                     einvoice::safefiles::writerToken(workstation));
        files.write({{1, testsupport::money("5.00")}});
        files.keep();  // as a stop before the commit leaves them
    };
    leftBy(QStringLiteral("CAJA01"));
    leftBy(QStringLiteral("CAJA02"));
    EXPECT_EQ(DailySummary(db(), platform).recover(), 0);
    const QStringList left = entries();
    ASSERT_EQ(left.size(), 2);
    EXPECT_TRUE(left[0].contains(QStringLiteral(".CAJA02.")));
    EXPECT_EQ(reportedBy(1), 0);
}

// Several workstations.

class SharedDrives : public testsupport::FakePlatform {
public:
    SharedDrives(const FakePlatform& shared, const QString& computer) : shared_(shared) {
        name = computer;
    }
    QString mapPath(const QString& windowsPath) const override {
        return shared_.mapPath(windowsPath);
    }

private:
    const FakePlatform& shared_;
};

// The first generation is held after its read, before it marks anything, while the second
// starts: the second must wait for it and then find nothing waiting.
TEST_P(Summary, AGenerationStartedWhileAnotherIsBetweenItsReadAndItsMarkingWaitsForIt) {
    for (int s = 1; s <= 3; ++s)
        boleta(s, kToday, {{101, 1, "5.00"}});
    std::binary_semaphore held{0};
    std::atomic<bool> secondDone{false};
    std::atomic<bool> secondDoneWhileHeld{false};
    SummaryResult first;
    SummaryResult second;
    concurrently(2, [&](int i, db::Db& connection) {
        SharedDrives here(platform, QStringLiteral("CAJA0%1").arg(i));
        if (i == 1) {
            held.acquire();
            second = DailySummary(connection, here).generate(clock.now(), 2);
            secondDone = true;
            return;
        }
        SummaryHooks hold;
        hold.beforeMark = [&](int k) {
            if (k != 1)
                return;
            held.release();
            secondDoneWhileHeld = doneBeforeBlocked(secondDone);
        };
        first = DailySummary(connection, here).generate(clock.now(), 1, hold);
    });
    EXPECT_FALSE(secondDoneWhileHeld.load());
    EXPECT_EQ(first.boletas, 3);
    EXPECT_TRUE(second.name.isEmpty());
    EXPECT_EQ(reportedCount(), 3);
    EXPECT_EQ(entries().size(), 2);
}

TEST_P(Summary, FourWorkstationsGeneratingWhileOthersDischargeReportEveryBoletaOnce) {
    constexpr int kGenerators = 4;
    constexpr int kDischargers = 4;
    constexpr int kSalesEach = 8;
    for (int s = 1; s <= kDischargers * kSalesEach; ++s)
        testsupport::seedSale(db(), s, kToday, QStringLiteral("CAJA1-5"), {{101, 1, "5.00"}});
    std::mutex mutex;
    QStringList names;
    concurrently(kGenerators + kDischargers, [&](int i, db::Db& connection) {
        if (i >= kGenerators) {
            for (int s = 0; s < kSalesEach; ++s)
                DischargeSale(connection, {(i - kGenerators) * kSalesEach + s + 1,
                                           core::saleDay(kToday), 1, kBoletaDeVenta});
            return;
        }
        SharedDrives here(platform, QStringLiteral("CAJA0%1").arg(i));
        for (int round = 0; round < 4; ++round) {
            const QString name = DailySummary(connection, here).generate(clock.now(), i).name;
            const std::lock_guard<std::mutex> lock(mutex);
            if (!name.isEmpty())
                names << name;
        }
    });
    const QString last = generate().name;
    if (!last.isEmpty())
        names << last;

    EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), names.size());
    EXPECT_EQ(reportedCount(), kDischargers * kSalesEach);
    EXPECT_EQ(entries().size(), 2 * names.size());  // every pair named, no temporary left
    std::vector<std::pair<int, QString>> recorded;
    QSqlQuery q = db().exec(QStringLiteral("SELECT ResCod, ResArchivo FROM RESUMEN"));
    while (q.next())
        recorded.emplace_back(db::integer(q.value(0)), db::text(q.value(1)));
    EXPECT_EQ(recorded.size(), std::size_t(names.size()));
    QList<int> written;
    for (const auto& [resCod, archivo] : recorded) {
        QFile rdi(QDir(folder()).filePath(archivo + QStringLiteral(".rdi")));
        ASSERT_TRUE(rdi.open(QIODevice::ReadOnly));
        QList<int> lines = numbers(rdi.readAll());
        QList<int> marked;
        QSqlQuery m = db().exec(
            QStringLiteral(
                "SELECT FacNumSunat FROM FACTURA WHERE FacResumen = ? ORDER BY FacNumero"),
            {resCod});
        while (m.next())
            marked << db::integer(m.value(0));
        std::sort(lines.begin(), lines.end());
        std::sort(marked.begin(), marked.end());
        EXPECT_EQ(lines, marked) << archivo.toStdString();
        written += lines;
    }
    std::sort(written.begin(), written.end());
    QList<int> every;
    for (int n = 1; n <= kDischargers * kSalesEach; ++n)
        every << n;
    EXPECT_EQ(written, every);
}

VELCARIS_DB_TEST_SUITE(Summary);

}  // namespace
