#include "einvoice/FacturaFiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

using core::Money;
using einvoice::FacturaFiles;
using einvoice::FacturaHeader;
using einvoice::FacturaLine;

namespace {

// The demo shop's IGV rate, in percent.
constexpr double kIgvPercent = 18;

// This workstation, and another one sharing the tool's folder.
const QString kHere = QStringLiteral("CAJA01");
const QString kThere = QStringLiteral("CAJA.02");

Money soles(const char* text) {
    return *Money::parse(QString::fromLatin1(text));
}

FacturaHeader header(const char* total, QTime at = QTime(9, 5, 7)) {
    FacturaHeader h;
    h.number = 245;
    h.at = QDateTime(QDate(2026, 3, 7), at);
    h.total = soles(total);
    h.ruc = QStringLiteral("20123456789");
    h.name = QStringLiteral("BOTICA SAN JUAN S.A.");
    h.address = QStringLiteral("AV. LOS PINOS 123");
    h.totalInWords = QStringLiteral("ONCE CON 80/100 SOLES");
    h.igvPercent = kIgvPercent;
    return h;
}

QByteArray read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

TEST(FacturaFiles, OneLineFacturaByteForByte) {
    const FacturaHeader h = header("11.80");
    EXPECT_EQ(FacturaFiles::cabLine(h),
              QStringLiteral("0101|2026-03-07|9:05:07|-|0000|245|20123456789|BOTICA SAN JUAN S.A.|"
                             "PEN|1.80|10.00|11.80|0.00|0.00|0.00|11.80|2.1|2.0|"));
    EXPECT_EQ(FacturaFiles::acaLine(h),
              QStringLiteral("|000|0|0.00||PE|130101|AV. LOS PINOS 123||||"));
    EXPECT_EQ(FacturaFiles::leyLine(h), QStringLiteral("1000|ONCE CON 80/100 SOLES|"));
    EXPECT_EQ(FacturaFiles::triLines(h),
              (QStringList{QStringLiteral("1000|IGV|VAT|10.00|1.80|"),
                           QStringLiteral("9997|EXO|VAT|0|0|"), QStringLiteral("9998|INA|FRE|0|0|"),
                           QStringLiteral("7152|ICBPER|OTH|0|0|")}));
    const FacturaLine line{2, soles("5.90"), 123, QStringLiteral("PARACETAMOL 500MG"),
                           soles("11.80")};
    EXPECT_EQ(FacturaFiles::detLine(line, kIgvPercent),
              QStringLiteral("NIU|2|123|-|PARACETAMOL 500MG|5.00|1.80|1000|1.80|10.00||IGV|VAT|10|"
                             "18.00|-|0.00|0.00||||15.00|-|0.00|0.00|||15.00|-|0|0|||0|5.90|10.00||"
                             "0.00|"));
}

TEST(FacturaFiles, TheRateSplitsTheTotalAndNamesItselfWhileTheLineTaxStaysFixed) {
    FacturaHeader h = header("11.00");
    h.igvPercent = 10;
    EXPECT_TRUE(FacturaFiles::cabLine(h).contains(QStringLiteral("|PEN|1.00|10.00|11.00|")));
    EXPECT_EQ(FacturaFiles::triLines(h).front(), QStringLiteral("1000|IGV|VAT|10.00|1.00|"));
    const FacturaLine line{2, soles("5.50"), 123, QStringLiteral("A"), soles("11.00")};
    const QStringList fields = FacturaFiles::detLine(line, 10).split(QLatin1Char('|'));
    ASSERT_GT(fields.size(), 14);
    EXPECT_EQ(fields[5], QStringLiteral("5.00"));    // 5.50 / 1.10
    EXPECT_EQ(fields[14], QStringLiteral("10.00"));  // the rate
    EXPECT_EQ(fields[6], QStringLiteral("1.68"));    // 2 x 5.50 x 0.1524, whatever the rate
}

TEST(FacturaFiles, TimeHasNoLeadingZeroAndEveryLineCarriesTheSaleTotal) {
    EXPECT_TRUE(FacturaFiles::cabLine(header("15.00", QTime(14, 10, 3)))
                    .startsWith(QStringLiteral("0101|2026-03-07|14:10:03|")));
    // Two lines of 10.00 and 5.00: fields 10 and 36 are 15.00 less each line's own tax.
    const FacturaLine first{1, soles("10.00"), 1, QStringLiteral("A"), soles("15.00")};
    const FacturaLine second{1, soles("5.00"), 2, QStringLiteral("B"), soles("15.00")};
    const QStringList f1 = FacturaFiles::detLine(first, kIgvPercent).split(QLatin1Char('|'));
    const QStringList f2 = FacturaFiles::detLine(second, kIgvPercent).split(QLatin1Char('|'));
    ASSERT_EQ(f1.size(), 39);  // 38 fields and the empty text after the last separator
    ASSERT_EQ(f2.size(), 39);
    EXPECT_EQ(f1[9], QStringLiteral("13.48"));  // 15.00 - 1.524
    EXPECT_EQ(f1[35], QStringLiteral("13.48"));
    EXPECT_EQ(f2[9], QStringLiteral("14.24"));  // 15.00 - 0.762
    EXPECT_EQ(f2[35], QStringLiteral("14.24"));
    EXPECT_EQ(f1[6], QStringLiteral("1.52"));
    EXPECT_EQ(f2[5], QStringLiteral("4.24"));  // 5.00 / 1.18
}

TEST(FacturaFiles, DescriptionIsCutTo28AndTypedSeparatorsCannotShiftFields) {
    const FacturaLine line{1, soles("1"), 7,
                           QStringLiteral("AMOXICILINA 500MG CAPSULAS X  100 BLISTER"), soles("1")};
    EXPECT_EQ(FacturaFiles::detLine(line, kIgvPercent).split(QLatin1Char('|'))[4],
              QStringLiteral("AMOXICILINA 500MG CAPSULAS X"));
    FacturaHeader h = header("1");
    h.name = QStringLiteral("PEREZ | HIJOS");
    EXPECT_EQ(FacturaFiles::cabLine(h).split(QLatin1Char('|')).size(), 19);
    EXPECT_TRUE(FacturaFiles::cabLine(h).contains(QStringLiteral("|PEREZ   HIJOS|")));
}

class FacturaFilesOnDisk : public ::testing::Test {
protected:
    QTemporaryDir drive;
    QString folder() const { return drive.filePath(QStringLiteral("SFS/DATA")); }
    QStringList filesInFolder() const {
        return QDir(folder()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    // The sealed temporary files of factura `number`, as a workstation that stopped between
    // the commit and the naming leaves them; `lines` detail lines.
    void leaveSealed(int number, int lines, const QString& workstation = kHere) {
        QTemporaryDir keep;
        {
            FacturaFiles files(folder(), drive.path(), number, workstation);
            files.writeHeader(header("1"));
            for (int i = 0; i < lines; ++i)
                files.appendLine({1, soles("1"), i, QStringLiteral("A"), soles("1")});
            files.seal();
            for (const QString& name : filesInFolder())
                QFile::copy(QDir(folder()).filePath(name), keep.filePath(name));
        }
        for (const QString& name : QDir(keep.path()).entryList(QDir::Files | QDir::Hidden))
            QFile::copy(keep.filePath(name), QDir(folder()).filePath(name));
    }
    static QString name(int number, const char* extension) {
        return FacturaFiles::baseName(number) + QLatin1String(extension);
    }
};

TEST_F(FacturaFilesOnDisk, CommitGivesTheFiveNamesWithLatin1AndCrLfWhereDue) {
    {
        FacturaFiles files(folder(), drive.path(), 245, kHere);
        FacturaHeader h = header("11.80");
        h.name = QStringLiteral("PEÑA");
        files.writeHeader(h);
        files.appendLine(
            {2, soles("5.90"), 123, QStringLiteral("PARACETAMOL 500MG"), soles("11.80")});
        files.appendLine({1, soles("0"), 124, QStringLiteral("X"), soles("11.80")});
        EXPECT_EQ(files.finalPath(QStringLiteral(".cab")),
                  QDir(folder()).filePath(QStringLiteral("10471829356-01-F001-245.cab")));
        files.commit();
    }
    EXPECT_EQ(filesInFolder(),
              (QStringList{"10471829356-01-F001-245.aca", "10471829356-01-F001-245.cab",
                           "10471829356-01-F001-245.det", "10471829356-01-F001-245.ley",
                           "10471829356-01-F001-245.tri"}));
    const QString base = QDir(folder()).filePath(QStringLiteral("10471829356-01-F001-245"));
    const QByteArray cab = read(base + ".cab");
    EXPECT_TRUE(
        cab.contains("|PE\xD1"
                     "A|"));
    EXPECT_FALSE(cab.endsWith("\n"));
    EXPECT_TRUE(read(base + ".tri").endsWith("7152|ICBPER|OTH|0|0|\r\n"));
    EXPECT_EQ(read(base + ".det").count("\r\n"), 2);
}

TEST_F(FacturaFilesOnDisk, SpanishNamesAndTypographicDashesKeepTheirWindows1252Bytes) {
    {
        FacturaFiles files(folder(), drive.path(), 245, kHere);
        FacturaHeader h = header("11.80");
        h.name = QStringLiteral("PEÑA & HIJOS S.A.C.");
        h.address = QStringLiteral("JR. UNIÓN 120 – INT. 4 N° 5");
        files.writeHeader(h);
        files.appendLine(
            {2, soles("5.90"), 123, QStringLiteral("JARABE “NIÑOS” …"), soles("11.80")});
        files.commit();
    }
    const QString base = QDir(folder()).filePath(QStringLiteral("10471829356-01-F001-245"));
    EXPECT_TRUE(read(base + ".cab")
                    .contains("|20123456789|PE\xD1"
                              "A & HIJOS S.A.C.|PEN|"));
    EXPECT_TRUE(read(base + ".aca").contains("|130101|JR. UNI\xD3N 120 \x96 INT. 4 N\xB0 5||||"));
    EXPECT_TRUE(read(base + ".det").contains("|JARABE \x93NI\xD1OS\x94 \x85|"));
    for (const char* ext : {".cab", ".aca", ".det"})
        EXPECT_FALSE(read(base + ext).contains('?')) << ext;
}

TEST_F(FacturaFilesOnDisk, ADischargeThatDidNotHappenLeavesNoFile) {
    {
        FacturaFiles files(folder(), drive.path(), 9, kHere);
        files.writeHeader(header("1"));
        files.appendLine({1, soles("1"), 1, QStringLiteral("A"), soles("1")});
        EXPECT_EQ(filesInFolder().size(), 5);
    }
    EXPECT_TRUE(filesInFolder().isEmpty());
}

TEST_F(FacturaFilesOnDisk, AFileOfTheNumberIsNeverReplaced) {
    QDir().mkpath(folder());
    const QString det = QDir(folder()).filePath(name(245, ".det"));
    {
        QFile earlier(det);
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write("EARLIER");
    }
    {
        FacturaFiles files(folder(), drive.path(), 245, kHere);
        EXPECT_THROW(files.writeHeader(header("1")), std::runtime_error);
    }
    EXPECT_EQ(filesInFolder(), QStringList{name(245, ".det")});
    EXPECT_EQ(read(det), "EARLIER");

    // A name taken between the writing and the naming is not taken over either.
    QFile::remove(det);
    {
        FacturaFiles files(folder(), drive.path(), 245, kHere);
        files.writeHeader(header("1"));
        QFile later(QDir(folder()).filePath(name(245, ".cab")));
        ASSERT_TRUE(later.open(QIODevice::WriteOnly));
        later.write("LATER");
        later.close();
        EXPECT_THROW(files.commit(), std::runtime_error);
    }
    EXPECT_EQ(read(QDir(folder()).filePath(name(245, ".cab"))), "LATER");
}

TEST_F(FacturaFilesOnDisk, AnUnwritableFolderThrowsBeforeAnythingIsNamed) {
    FacturaFiles files(drive.filePath(QStringLiteral("nowhere/DATA")),
                       drive.filePath(QStringLiteral("no-drive")), 1, kHere);
    EXPECT_THROW(files.writeHeader(header("1")), std::runtime_error);
    EXPECT_FALSE(QDir(drive.filePath(QStringLiteral("nowhere"))).exists());
}

// Sealed means the folder's entries are on the disk too: a folder that cannot be synced stops
// the discharge, before anything is committed.
TEST_F(FacturaFilesOnDisk, ASealThatCannotSyncTheFolderThrows) {
    FacturaFiles files(folder(), drive.path(), 3, kHere);
    files.writeHeader(header("1"));
    files.appendLine({1, soles("1"), 1, QStringLiteral("A"), soles("1")});
    ASSERT_TRUE(QDir(drive.path()).rename(QStringLiteral("SFS"), QStringLiteral("SFS-moved")));
    EXPECT_THROW(files.seal(), std::runtime_error);
}

TEST_F(FacturaFilesOnDisk, RecoveryNamesTheFilesOfCommittedFacturasAndDropsTheRest) {
    leaveSealed(7, 1);  // committed, never named
    leaveSealed(8, 1);  // its discharge did not happen
    leaveSealed(9, 1);  // committed and named: a leftover of an earlier failed attempt
    {
        FacturaFiles named(folder(), drive.path(), 9, kHere);
        named.writeHeader(header("1"));
        named.commit();
    }
    QFile(QDir(folder()).filePath(QStringLiteral(".") + name(10, ".cab") +
                                  QStringLiteral(".CAJA01.abc.tmp")))
        .open(QIODevice::WriteOnly);  // an incomplete set

    const int recovered = FacturaFiles::recover(folder(), kHere, [](int n) { return n != 8; });

    EXPECT_EQ(recovered, 1);
    QStringList expected;
    for (const int n : {7, 9})
        for (const char* ext : {".aca", ".cab", ".det", ".ley", ".tri"})
            expected << name(n, ext);
    expected.sort();
    EXPECT_EQ(filesInFolder(), expected);
    EXPECT_EQ(read(QDir(folder()).filePath(name(7, ".det"))).count("\r\n"), 1);
}

TEST_F(FacturaFilesOnDisk, RecoveryLeavesTheTemporariesOfOtherWorkstationsAlone) {
    FacturaFiles discharging(folder(), drive.path(), 12, kThere);  // in the middle of it
    discharging.writeHeader(header("1"));
    discharging.appendLine({1, soles("1"), 1, QStringLiteral("A"), soles("1")});
    leaveSealed(13, 1, kThere);  // committed there, for that workstation's own recovery
    leaveSealed(7, 1);           // committed here, never named
    leaveSealed(8, 1);           // its discharge did not happen here
    QStringList theirs = filesInFolder();
    theirs.removeIf([](const QString& f) { return f.contains(QStringLiteral(".CAJA01.")); });
    ASSERT_EQ(theirs.size(), 10);

    EXPECT_EQ(FacturaFiles::recover(folder(), kHere, [](int n) { return n != 8; }), 1);

    QStringList expected = theirs;
    for (const char* ext : {".aca", ".cab", ".det", ".ley", ".tri"})
        expected << name(7, ext);
    expected.sort();
    EXPECT_EQ(filesInFolder(), expected);
    discharging.commit();
    EXPECT_EQ(read(QDir(folder()).filePath(name(12, ".det"))).count("\r\n"), 1);

    EXPECT_EQ(FacturaFiles::recover(folder(), kThere, [](int) { return true; }), 1);
    EXPECT_EQ(filesInFolder().size(), 15);
}

TEST_F(FacturaFilesOnDisk, RecoveryFinishesANamingThatStoppedHalfway) {
    leaveSealed(11, 2);
    for (const QString& file : filesInFolder())
        if (file.contains(QStringLiteral(".cab.")))
            QFile::rename(QDir(folder()).filePath(file), QDir(folder()).filePath(name(11, ".cab")));
    EXPECT_EQ(FacturaFiles::recover(folder(), kHere, [](int) { return true; }), 1);
    EXPECT_EQ(filesInFolder().size(), 5);
    EXPECT_TRUE(QFile::exists(QDir(folder()).filePath(name(11, ".det"))));
}

TEST_F(FacturaFilesOnDisk, RecoveryTakesTheNewestCompleteSetOfANumber) {
    leaveSealed(5, 1);  // an attempt that died before its commit
    QThread::msleep(20);
    leaveSealed(5, 3);  // the discharge that committed
    EXPECT_EQ(FacturaFiles::recover(folder(), kHere, [](int) { return true; }), 1);
    EXPECT_EQ(filesInFolder().size(), 5);
    EXPECT_EQ(read(QDir(folder()).filePath(name(5, ".det"))).count("\r\n"), 3);
}

}  // namespace
