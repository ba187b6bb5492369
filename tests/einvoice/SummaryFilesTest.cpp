#include "einvoice/FacturaFiles.h"
#include "einvoice/SafeFiles.h"
#include "einvoice/SummaryFiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using einvoice::SummaryBoletaLine;
using einvoice::SummaryFiles;

namespace {

const QDate kMarch7(2026, 3, 7);

SummaryBoletaLine boleta(int number, const char* total) {
    return {number, *core::Money::parse(QString::fromLatin1(total))};
}

QByteArray read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void touch(const QString& path, const QByteArray& content = "x") {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}

class SummaryFilesTest : public ::testing::Test {
protected:
    QString folder() const { return dir.path() + QStringLiteral("/DATA"); }
    std::unique_ptr<SummaryFiles> files(int correlative, const QString& token = kToken) {
        return std::make_unique<SummaryFiles>(folder(), dir.path(), kMarch7, correlative, token);
    }
    QStringList entries() const {
        return QDir(folder()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    static inline const QString kToken = QStringLiteral("CAJA01.abc123");
    QTemporaryDir dir;
};

TEST(SummaryLines, ABoletaOf59SplitsInto50And9) {
    EXPECT_EQ(SummaryFiles::rdiLine(kMarch7, boleta(245, "59.00")),
              QStringLiteral("2026-03-07|2026-03-07|03|B001-245|1|11111111|PEN|50.00|0.00|0|0|0|0|"
                             "59.00|||||||||1|"));
    EXPECT_EQ(
        SummaryFiles::trdLines(1, boleta(245, "59.00")),
        (QStringList{QStringLiteral("1|1000|IGV|VAT|50.00|9.00|"),
                     QStringLiteral("1|9997|EXO|VAT|0|0|"), QStringLiteral("1|9998|INA|FRE|0|0|"),
                     QStringLiteral("1|7152|ICBPER|OTH|0|0|")}));
}

TEST(SummaryLines, TheRdiLineHas23FieldsAndTheTaxOf10IsRoundedOnce) {
    const QString line = SummaryFiles::rdiLine(kMarch7, boleta(3, "10.00"));
    const QStringList fields = line.split(QLatin1Char('|'));
    ASSERT_EQ(fields.size(), 24);  // 23 fields, each followed by "|"
    EXPECT_EQ(fields[7], QStringLiteral("8.47"));
    EXPECT_EQ(fields[13], QStringLiteral("10.00"));
    EXPECT_EQ(fields[22], QStringLiteral("1"));
    EXPECT_EQ(SummaryFiles::trdLines(2, boleta(3, "10.00")).front(),
              QStringLiteral("2|1000|IGV|VAT|8.47|1.53|"));
}

TEST(SummaryLines, AWhollyReturnedBoletaIsWrittenWithZero) {
    EXPECT_TRUE(SummaryFiles::rdiLine(kMarch7, boleta(9, "0"))
                    .contains(QStringLiteral("|PEN|0.00|0.00|0|0|0|0|0.00|")));
}

TEST(SummaryLines, NamesCarryTheIssuerTheDayAndAThreeDigitCorrelative) {
    EXPECT_EQ(SummaryFiles::baseName(kMarch7, 1), QStringLiteral("10471829356-RC-20260307-001"));
    EXPECT_EQ(SummaryFiles::baseName(QDate(2026, 12, 15), 12),
              QStringLiteral("10471829356-RC-20261215-012"));
}

TEST_F(SummaryFilesTest, ThreeBoletasGiveThreeLinesAndTwelveNumberedLinesEndedByCrLf) {
    auto f = files(1);
    f->write({boleta(1, "59.00"), boleta(2, "10.00"), boleta(3, "1.18")});
    f->commit();
    const QByteArray rdi = read(f->finalPath(QStringLiteral(".rdi")));
    const QByteArray trd = read(f->finalPath(QStringLiteral(".trd")));
    EXPECT_EQ(rdi.count("\r\n"), 3);
    EXPECT_TRUE(rdi.endsWith("|1|\r\n"));
    EXPECT_TRUE(rdi.contains("|B001-3|1|11111111|PEN|1.00|0.00|0|0|0|0|1.18|||||||||1|\r\n"));
    const QList<QByteArray> lines = trd.split('\n');
    ASSERT_EQ(lines.size(), 13);  // twelve lines and what follows the last end
    const QByteArray numbers = "111122223333";
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(lines[i].at(0), numbers.at(i)) << i;
        EXPECT_TRUE(lines[i].endsWith("|\r")) << i;
    }
    EXPECT_EQ(entries(), (QStringList{QStringLiteral("10471829356-RC-20260307-001.rdi"),
                                      QStringLiteral("10471829356-RC-20260307-001.trd")}));
}

TEST_F(SummaryFilesTest, WrittenFilesStayUnderTemporaryNamesUntilTheCommit) {
    auto f = files(1);
    f->write({boleta(1, "59.00")});
    EXPECT_FALSE(QFile::exists(f->finalPath(QStringLiteral(".rdi"))));
    EXPECT_EQ(entries().size(), 2);
    for (const QString& name : entries())
        EXPECT_TRUE(name.startsWith(QLatin1Char('.')) && name.endsWith(QStringLiteral(".tmp")));
    f.reset();  // never committed
    EXPECT_TRUE(entries().isEmpty());
}

TEST_F(SummaryFilesTest, AFileThatCannotBeWrittenLeavesNoTemporaryBehind) {
    QDir().mkpath(folder());
    // A folder where the .trd temporary would go: it cannot be opened as a file.
    QDir().mkpath(folder() + QStringLiteral("/.10471829356-RC-20260307-001.trd.") + kToken +
                  QStringLiteral(".tmp"));
    auto f = files(1);
    EXPECT_THROW(f->write({boleta(1, "59.00")}), std::runtime_error);
    EXPECT_TRUE(entries().isEmpty());
}

TEST_F(SummaryFilesTest, NamingNeverReplacesAFile) {
    QDir().mkpath(folder());
    touch(folder() + QStringLiteral("/10471829356-RC-20260307-001.trd"), "the tool's own");
    auto f = files(1);
    f->write({boleta(1, "59.00")});
    EXPECT_THROW(f->commit(), std::runtime_error);
    EXPECT_EQ(read(folder() + QStringLiteral("/10471829356-RC-20260307-001.trd")),
              "the tool's own");
}

TEST_F(SummaryFilesTest, TheHighestCorrelativeIsTheDaysOwnNamedFiles) {
    QDir().mkpath(folder());
    touch(folder() + QStringLiteral("/10471829356-RC-20260307-002.rdi"));
    touch(folder() + QStringLiteral("/10471829356-RC-20260307-004.trd"));
    touch(folder() + QStringLiteral("/10471829356-RC-20260308-009.rdi"));  // another day
    touch(folder() + QStringLiteral("/10471829356-01-F001-7.cab"));
    touch(folder() + QStringLiteral("/.10471829356-RC-20260307-005.rdi.CAJA01.x.tmp"));
    EXPECT_EQ(SummaryFiles::highestCorrelative(folder(), kMarch7), 4);
    EXPECT_EQ(SummaryFiles::highestCorrelative(folder(), QDate(2026, 3, 9)), 0);
}

TEST_F(SummaryFilesTest, RecoveryNamesRecordedSummariesAndRemovesOnlyThisWorkstationsOthers) {
    auto recorded = files(1, QStringLiteral("CAJA01.rec"));
    recorded->write({boleta(1, "59.00")});
    recorded->keep();
    auto mine = files(2, QStringLiteral("CAJA01.dead"));
    mine->write({boleta(2, "5.00")});
    mine->keep();
    auto theirs = files(2, QStringLiteral("CAJA%2E02.busy"));
    theirs->write({boleta(3, "5.00")});
    theirs->keep();
    const QByteArray expected = read(folder() + QStringLiteral("/.10471829356-RC-20260307-001.rdi."
                                                               "CAJA01.rec.tmp"));

    const int named =
        SummaryFiles::recover(folder(), QStringLiteral("CAJA01"), [](const QString& t) {
            return t == QStringLiteral("CAJA01.rec")
                       ? std::optional<QString>(QStringLiteral("10471829356-RC-20260307-001"))
                       : std::nullopt;
        });
    EXPECT_EQ(named, 2);
    EXPECT_EQ(read(folder() + QStringLiteral("/10471829356-RC-20260307-001.rdi")), expected);
    EXPECT_EQ(entries(),
              (QStringList{QStringLiteral(".10471829356-RC-20260307-002.rdi.CAJA%2E02.busy.tmp"),
                           QStringLiteral(".10471829356-RC-20260307-002.trd.CAJA%2E02.busy.tmp"),
                           QStringLiteral("10471829356-RC-20260307-001.rdi"),
                           QStringLiteral("10471829356-RC-20260307-001.trd")}));
}

TEST_F(SummaryFilesTest, TheFacturaRecoveryLeavesSummaryTemporariesAlone) {
    auto f = files(1, einvoice::safefiles::writerToken(QStringLiteral("CAJA01")));
    f->write({boleta(1, "59.00")});
    f->keep();
    einvoice::FacturaFiles::recover(folder(), QStringLiteral("CAJA01"), [](int) { return true; });
    EXPECT_EQ(entries().size(), 2);
}

}  // namespace
