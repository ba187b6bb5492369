#include "db/procedures/Checkout.h"
#include "einvoice/FacturaFiles.h"
#include "sales/ReceiptPrinter.h"
#include "sales/Receipts.h"
#include "support/CheckoutSeed.h"
#include "support/FakePlatform.h"
#include "support/WindowTest.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

using namespace sales;

namespace {

// A discharge at the checkout with the program's own receipt output, printing to PDF files.
class ReceiptPrinting : public testsupport::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        if (IsSkipped())
            return;
        settings.setValue(QStringLiteral("printing/pdf_folder"), pdfs.path());
        testsupport::seedIgv(db(), 1, QStringLiteral("B001"), QStringLiteral("F001"));
        testsupport::seedPresentation(db(), 101, QStringLiteral("PARACETAMOL 500MG"), 50);
        testsupport::seedSale(db(), 25, clock.today(), QStringLiteral("CAJA1-4"),
                              {{101, 2, "5.90"}});
        logIn(4, QStringLiteral("CAJERO"));
    }
    void TearDown() override {
        settings.setValue(QStringLiteral("printing/pdf_folder"), QString());
        WindowTest::TearDown();
    }

    ReceiptJob job(ReceiptType type, bool print = true) const {
        return {25,
                core::saleDay(clock.today()),
                type,
                {QStringLiteral("FARMACIAS DEL NORTE SAC"), QStringLiteral("JR. PIZARRO 410"),
                 QStringLiteral("00000000"), QStringLiteral("20481234567")},
                print};
    }

    db::proc::DischargeResult discharge(const ReceiptJob& j) {
        ReceiptPrinter printer(ctx());
        return dischargeSale(ctx(), j, printer);
    }

    QStringList printed() const {
        return QDir(pdfs.path()).entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name);
    }

    QString printedText(const QString& file) const {
        QProcess p;
        p.start(QStringLiteral("pdftotext"),
                {QStringLiteral("-layout"), QDir(pdfs.path()).filePath(file), QStringLiteral("-")});
        p.waitForFinished(60000);
        return QString::fromUtf8(p.readAllStandardOutput());
    }

    QString qrPicture() const { return platform.driveFolder(QLatin1Char('C')) + "/kzv.bmp"; }
    QStringList taxFiles() const {
        return QDir(platform.mapPath(QString::fromLatin1(FacturaFilesOutput::kDataFolder)))
            .entryList(QDir::Files);
    }
    QByteArray taxFile(int number, const char* extension) const {
        QFile f(QDir(platform.mapPath(QString::fromLatin1(FacturaFilesOutput::kDataFolder)))
                    .filePath(einvoice::FacturaFiles::baseName(number) + QLatin1String(extension)));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    QTemporaryDir pdfs;
};

TEST_P(ReceiptPrinting, ADischargedBoletaPrintsItsLayoutWithItsNumberAndQrPicture) {
    EXPECT_EQ(discharge(job(ReceiptType::Boleta)).receiptNumber, 1);
    ASSERT_EQ(printed().size(), 1);
    EXPECT_TRUE(printed().front().startsWith(QStringLiteral("boleta_")));
    EXPECT_TRUE(QFile::exists(qrPicture()));
    const QString text = printedText(printed().front());
    EXPECT_TRUE(text.contains(QStringLiteral("BOLETA ELECTRONICA")));
    EXPECT_TRUE(text.contains(QStringLiteral("B001-1")));
    EXPECT_TRUE(text.contains(QStringLiteral("PARACETAMOL 500MG")));
    EXPECT_TRUE(taxFiles().isEmpty());
}

TEST_P(ReceiptPrinting, ADischargedFacturaPrintsItsLayoutAndLeavesItsFiveFiles) {
    discharge(job(ReceiptType::Factura));
    ASSERT_EQ(printed().size(), 1);
    const QString text = printedText(printed().front());
    EXPECT_TRUE(text.contains(QStringLiteral("FACTURA ELECTRONICA")));
    EXPECT_TRUE(text.contains(QStringLiteral("F001-1")));
    EXPECT_TRUE(text.contains(QStringLiteral("20481234567")));
    EXPECT_EQ(taxFiles().size(), 5);
}

TEST_P(ReceiptPrinting, AFacturaDischargedAgainGetsANewNumberAndFilesOfItsOwnAndTheFirstStay) {
    const char* const extensions[] = {".cab", ".aca", ".ley", ".tri", ".det"};
    EXPECT_EQ(discharge(job(ReceiptType::Factura)).receiptNumber, 1);
    std::vector<QByteArray> first;
    for (const char* ext : extensions)
        first.push_back(taxFile(1, ext));
    testsupport::addSaleLine(db(), 25, clock.today(), 2, {101, 1, "3.00"});

    EXPECT_EQ(discharge(job(ReceiptType::Factura)).receiptNumber, 2);

    EXPECT_EQ(taxFiles().size(), 10);
    for (size_t i = 0; i < first.size(); ++i)
        EXPECT_EQ(taxFile(1, extensions[i]), first[i]) << extensions[i];
    EXPECT_TRUE(
        taxFile(2, ".cab").contains("|0000|2|20481234567|FARMACIAS DEL NORTE SAC|PEN|"
                                    "0.46|2.54|3.00|0.00|0.00|0.00|3.00|"));
    EXPECT_TRUE(taxFile(2, ".aca").contains("|JR. PIZARRO 410|"));
    EXPECT_TRUE(taxFile(2, ".ley").startsWith("1000|TRES CON 00/100"));
    EXPECT_TRUE(taxFile(2, ".tri").startsWith("1000|IGV|VAT|2.54|0.46|\r\n"));
    EXPECT_EQ(taxFile(2, ".det").count("\r\n"), 1);
    EXPECT_TRUE(taxFile(2, ".det").startsWith("NIU|1|101|-|PARACETAMOL 500MG|2.54|"));
    ASSERT_EQ(printed().size(), 2);
    const QString both = printedText(printed()[0]) + printedText(printed()[1]);
    EXPECT_EQ(both.count(QStringLiteral("F001-1")), 1);
    EXPECT_EQ(both.count(QStringLiteral("F001-2")), 1);
}

TEST_P(ReceiptPrinting, AFacturaWhoseNumberAlreadyHasFilesIsNotDischarged) {
    const QString folder = platform.mapPath(QString::fromLatin1(FacturaFilesOutput::kDataFolder));
    QDir().mkpath(folder);
    QFile stale(QDir(folder).filePath(einvoice::FacturaFiles::baseName(1) + ".ley"));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("1000|OTRA FACTURA|");
    stale.close();

    EXPECT_ANY_THROW(discharge(job(ReceiptType::Factura)));

    EXPECT_EQ(testsupport::lineState(db(), 25, clock.today(), 1), db::proc::kNoDescargado);
    EXPECT_EQ(taxFiles(), QStringList{einvoice::FacturaFiles::baseName(1) + ".ley"});
    EXPECT_EQ(taxFile(1, ".ley"), "1000|OTRA FACTURA|");
    EXPECT_TRUE(printed().isEmpty());
}

TEST_P(ReceiptPrinting, TheStartUpRecoveryTouchesOnlyThisWorkstationsTemporaryFiles) {
    const QString folder = platform.mapPath(QString::fromLatin1(FacturaFilesOutput::kDataFolder));
    einvoice::FacturaFiles there(folder, platform.driveFolder(QLatin1Char('D')), 1,
                                 QStringLiteral("CAJA02"));
    einvoice::FacturaHeader h;
    h.number = 1;
    h.igvPercent = 18;
    there.writeHeader(h);
    const QStringList theirs = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    ASSERT_EQ(theirs.size(), 5);
    QFile ours(QDir(folder).filePath(QStringLiteral(".") + einvoice::FacturaFiles::baseName(2) +
                                     QStringLiteral(".cab.") + platform.name +
                                     QStringLiteral(".x1.tmp")));
    ASSERT_TRUE(ours.open(QIODevice::WriteOnly));
    ours.close();

    sales::recoverFacturaFiles(db(), platform);

    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), theirs);
}

TEST_P(ReceiptPrinting, AFacturaLineShortOfStockIsLeftOutOfTheTotalAndTheDetail) {
    testsupport::seedPresentation(db(), 102, QStringLiteral("IBUPROFENO 400MG"), 1);
    testsupport::addSaleLine(db(), 25, clock.today(), 2, {102, 3, "2.00"});

    EXPECT_EQ(discharge(job(ReceiptType::Factura, false)).receiptNumber, 1);

    EXPECT_EQ(testsupport::lineState(db(), 25, clock.today(), 2), db::proc::kSinStock);
    EXPECT_TRUE(taxFile(1, ".cab").contains("|PEN|1.80|10.00|11.80|0.00|0.00|0.00|11.80|"));
    const QByteArray det = taxFile(1, ".det");
    EXPECT_EQ(det.count("\r\n"), 1);
    EXPECT_TRUE(det.startsWith("NIU|2|101|"));
    EXPECT_FALSE(det.contains("IBUPROFENO"));
}

TEST_P(ReceiptPrinting, ASaleNotePrintsWithoutQrAndNothingPrintsWhenPrintingIsOff) {
    discharge(job(ReceiptType::NotaDeVenta));
    ASSERT_EQ(printed().size(), 1);
    EXPECT_TRUE(printed().front().startsWith(QStringLiteral("nota_")));
    EXPECT_FALSE(QFile::exists(qrPicture()));

    testsupport::seedSale(db(), 26, clock.today(), QStringLiteral("CAJA1-4"), {{101, 1, "5.90"}});
    ReceiptJob quiet = job(ReceiptType::Boleta, false);
    quiet.facNumero = 26;
    discharge(quiet);
    EXPECT_EQ(printed().size(), 1);
}

// The warnings logged while it lives.
class LoggedWarnings {
public:
    LoggedWarnings() {
        lines().clear();
        previous_ = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext&, const QString& text) {
                if (type == QtWarningMsg)
                    lines() << text;
            });
    }
    ~LoggedWarnings() { qInstallMessageHandler(previous_); }
    static QStringList& lines() {
        static QStringList all;
        return all;
    }

private:
    QtMessageHandler previous_;
};

TEST_P(ReceiptPrinting, AReceiptOnAWorkingQueuePrintsWithoutAWord) {
    settings.setValue(QStringLiteral("printing/pdf_folder"), QString());
    discharge(job(ReceiptType::Boleta));
    ASSERT_EQ(platform.printer.jobs.size(), 1u);
    EXPECT_EQ(platform.printer.jobs[0].title, QStringLiteral("boleta"));
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_P(ReceiptPrinting, AReceiptThatCannotBePrintedIsKeptAsAFileAndTheCashierTold) {
    settings.setValue(QStringLiteral("printing/pdf_folder"), QString());
    const QString folder = db::Settings::dataFolder() + QStringLiteral("/recibos");
    QDir(folder).removeRecursively();
    platform.printer.stop();
    LoggedWarnings log;

    EXPECT_EQ(discharge(job(ReceiptType::Boleta)).receiptNumber, 1);

    EXPECT_EQ(testsupport::lineState(db(), 25, clock.today(), 1), db::proc::kDescargado);
    const QString file = folder + QStringLiteral("/boleta_20260302-090000.pdf");
    EXPECT_TRUE(QFile::exists(file));
    const QString told = QStringLiteral(
                             "NO SE PUDO IMPRIMIR EL COMPROBANTE B001-1: IMPRESORA RECIBOS "
                             "DETENIDA\rEL COMPROBANTE SE GUARDO EN ") +
                         file;
    EXPECT_EQ(messages.shown, QStringList{told});
    EXPECT_TRUE(LoggedWarnings::lines().join('\n').contains(ui::Messages::displayed(told)))
        << LoggedWarnings::lines().join('\n').toStdString();
    QDir(folder).removeRecursively();
}

// The roll is cut below the receipt: 40 lines make it 39 detail rows longer than one line, on
// one sheet. The fixed setting keeps the 233.1 mm pages.
TEST_P(ReceiptPrinting, TheRollIsAsLongAsTheReceiptUnlessItsLengthIsFixed) {
    settings.setValue(QStringLiteral("printing/pdf_folder"), QString());
    const std::vector<testsupport::SeedLine> forty(40, {101, 1, "0.295"});  // 11.80 as sale 25
    testsupport::seedSale(db(), 26, clock.today(), QStringLiteral("CAJA1-4"), forty);
    testsupport::seedSale(db(), 27, clock.today(), QStringLiteral("CAJA1-4"), {{101, 1, "1"}});
    discharge(job(ReceiptType::Boleta));
    ReceiptJob longer = job(ReceiptType::Boleta);
    longer.facNumero = 26;
    discharge(longer);
    settings.setValue(QStringLiteral("printing/fixed_length"), QStringLiteral("true"));
    ReceiptJob fixed = job(ReceiptType::Factura);
    fixed.facNumero = 27;
    discharge(fixed);
    settings.setValue(QStringLiteral("printing/fixed_length"), QString());

    const std::vector<testsupport::FakePrintSystem::Job>& jobs = platform.printer.jobs;
    ASSERT_EQ(jobs.size(), 3u);
    const double detailRow = 7 * 25.4 / 72 * 1.3;
    for (const auto& j : jobs)
        EXPECT_DOUBLE_EQ(j.paperMm.width(), 80.7);
    EXPECT_LT(jobs[0].paperMm.height(), 233.1 - 80);
    EXPECT_NEAR(jobs[1].paperMm.height() - jobs[0].paperMm.height(), 39 * detailRow, 0.01);
    EXPECT_GT(jobs[1].paperMm.height(), 233.1);
    EXPECT_EQ(jobs[1].pdf.count("/Type /Page\n") + jobs[1].pdf.count("/Type /Page\r"), 1)
        << "one sheet";
    EXPECT_DOUBLE_EQ(jobs[2].paperMm.height(), 233.1);
}

TEST_P(ReceiptPrinting, AQrPictureThatCannotBeWrittenFailsThePrintingNotTheDischarge) {
    platform.removeDrive(QLatin1Char('C'));
    EXPECT_THROW(discharge(job(ReceiptType::Boleta)), ReceiptError);
    EXPECT_EQ(testsupport::lineState(db(), 25, clock.today(), 1), db::proc::kDescargado);
    EXPECT_TRUE(printed().isEmpty());
}

TEST_P(ReceiptPrinting, AFacturaWhoseFilesCannotBeWrittenIsNotDischargedNorPrinted) {
    platform.removeDrive(QLatin1Char('D'));
    EXPECT_ANY_THROW(discharge(job(ReceiptType::Factura)));
    EXPECT_EQ(testsupport::lineState(db(), 25, clock.today(), 1), db::proc::kNoDescargado);
    EXPECT_EQ(testsupport::stockOf(db(), 101), 50);
    EXPECT_TRUE(printed().isEmpty());
    EXPECT_FALSE(QDir(platform.driveFolder(QLatin1Char('D'))).exists());

    platform.makeDrive(QLatin1Char('D'));
    EXPECT_EQ(discharge(job(ReceiptType::Factura)).receiptNumber, 1);
    EXPECT_EQ(taxFiles().size(), 5);
}

TEST_P(ReceiptPrinting, TheRateOfTheIgvRowInForceSplitsThePrintedTotalAndTheTaxFiles) {
    testsupport::seedIgv(db(), 2, QStringLiteral("B001"), QStringLiteral("F001"));
    db().exec(QStringLiteral("UPDATE IGV SET IgvValor = ? WHERE IgvCod = ?"), {10, 2});
    EXPECT_EQ(discharge(job(ReceiptType::Factura)).receiptNumber, 1);
    ASSERT_EQ(printed().size(), 1);
    const QString text = printedText(printed().front()).simplified();
    EXPECT_TRUE(text.contains(QStringLiteral("Op. Gravadas: 10.73"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("I.G.V: 1.07"))) << text.toStdString();
    EXPECT_TRUE(taxFile(1, ".cab").contains("|PEN|1.07|10.73|11.80|"));
    EXPECT_TRUE(taxFile(1, ".tri").startsWith("1000|IGV|VAT|10.73|1.07|\r\n"));
    const QList<QByteArray> det = taxFile(1, ".det").split('|');
    ASSERT_GT(det.size(), 15);
    EXPECT_EQ(det[5], "5.36");    // 5.90 / 1.10
    EXPECT_EQ(det[14], "10.00");  // the rate itself
}

TEST_P(ReceiptPrinting, WithoutAnIgvRateAFacturaIsNotDischargedAndABoletaNotPrinted) {
    db().exec(QStringLiteral("UPDATE IGV SET IgvValor = NULL"));
    EXPECT_ANY_THROW(discharge(job(ReceiptType::Factura)));
    EXPECT_EQ(testsupport::lineState(db(), 25, clock.today(), 1), db::proc::kNoDescargado);
    EXPECT_TRUE(taxFiles().isEmpty());
    EXPECT_THROW(discharge(job(ReceiptType::Boleta)), ReceiptError);  // after the commit
    EXPECT_EQ(testsupport::lineState(db(), 25, clock.today(), 1), db::proc::kDescargado);
    EXPECT_TRUE(printed().isEmpty());
}

TEST_P(ReceiptPrinting, PreviewShowsTheReceiptOfTheCheckedTypeWithoutDischargingAgain) {
    discharge(job(ReceiptType::Boleta, false));
    QString title;
    int pages = -1;
    QTimer::singleShot(0, [&] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            title = dialog->windowTitle();
            if (auto* preview = dialog->findChild<QPrintPreviewWidget*>())
                pages = preview->pageCount();
            dialog->close();
        }
    });
    ReceiptPrinter(ctx()).preview(job(ReceiptType::Boleta));
    EXPECT_EQ(title, QStringLiteral("BOLETA DE VENTA"));
    EXPECT_EQ(pages, 1);
    EXPECT_TRUE(QFile::exists(qrPicture()));
    EXPECT_TRUE(printed().isEmpty());
    EXPECT_EQ(testsupport::stockOf(db(), 101), 48);
}

TEST_P(ReceiptPrinting, AReceiptReadLaterCarriesTheMomentOfItsSalesLastDischarge) {
    const QDateTime discharged = clock.now();
    discharge(job(ReceiptType::Boleta, false));
    clock.advanceSeconds(3600);
    const core::DateTimeRange day = core::saleDay(clock.today());
    EXPECT_EQ(loadReceiptData(db(), 25, day).dischargedAt, discharged);

    // A discharge that sells nothing more leaves the moment as it was.
    discharge(job(ReceiptType::Boleta, false));
    EXPECT_EQ(loadReceiptData(db(), 25, day).dischargedAt, discharged);
    testsupport::addSaleLine(db(), 25, clock.today(), 2, {101, 1, "3.00"});
    discharge(job(ReceiptType::Boleta, false));
    EXPECT_EQ(loadReceiptData(db(), 25, day).dischargedAt, clock.now());
}

// Asks the next preview to print, once it is shown.
void printFromThePreview() {
    QTimer::singleShot(0, [] {
        if (QWidget* modal = QApplication::activeModalWidget())
            if (auto* print = modal->findChild<QAction*>(QStringLiteral("previewPrint")))
                print->trigger();
    });
}

TEST_P(ReceiptPrinting, TheReceiptPrintedFromThePreviewIsDatedAtItsSalesDischarge) {
    discharge(job(ReceiptType::Boleta, false));
    clock.advanceSeconds(3600);
    printFromThePreview();
    ReceiptPrinter(ctx()).preview(job(ReceiptType::Boleta));
    ASSERT_EQ(printed().size(), 1);
    const QString text = printedText(printed().front()).simplified();
    EXPECT_TRUE(text.contains(QStringLiteral("Fecha: 02/03/2026 9:00:00"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("10:00:00")));
}

TEST_P(ReceiptPrinting, AReceiptKeptAsAFileIsPrintedAgainFromThePreviewOnceThePrinterIsBack) {
    settings.setValue(QStringLiteral("printing/pdf_folder"), QString());
    platform.printer.stop();
    discharge(job(ReceiptType::Boleta));
    ASSERT_EQ(messages.shown.size(), 1);

    messages.clear();
    printFromThePreview();
    ReceiptPrinter(ctx()).preview(job(ReceiptType::Boleta));
    ASSERT_EQ(messages.shown.size(), 1);  // still stopped: the same warning
    EXPECT_TRUE(messages.last().startsWith(
        QStringLiteral("NO SE PUDO IMPRIMIR EL COMPROBANTE B001-1: IMPRESORA RECIBOS DETENIDA")));

    platform.printer.queue.queue.stopped = false;
    messages.clear();
    printFromThePreview();
    ReceiptPrinter(ctx()).preview(job(ReceiptType::Boleta));
    EXPECT_TRUE(messages.shown.isEmpty());
    ASSERT_EQ(platform.printer.jobs.size(), 1u);
    EXPECT_EQ(platform.printer.jobs[0].title, QStringLiteral("boleta"));
    EXPECT_EQ(testsupport::stockOf(db(), 101), 48);  // printed, not discharged again
    QDir(db::Settings::dataFolder() + QStringLiteral("/recibos")).removeRecursively();
}

TEST_P(ReceiptPrinting, PreviewOfASaleWithoutDischargedLinesSaysSo) {
    ReceiptPrinter printer(ctx());
    printer.preview(job(ReceiptType::Boleta));
    EXPECT_EQ(messages.last(), QStringLiteral("NO HAY PRESENTACIONES VENDIDAS\rEN LA VENTA: 25"));
    EXPECT_TRUE(printed().isEmpty());
}

// The factura files output on its own, driven at the points of a discharge.
class FacturaFilesOutputAlone : public ::testing::Test {
protected:
    static db::proc::SaleLine line(int deta, int code, const char* price) {
        db::proc::SaleLine l;
        l.DetaNumero = deta;
        l.CodPresentacion = code;
        l.Cantidad = 1;
        l.Importe = testsupport::money(price);
        l.SUB_TOTAL = l.Importe;
        l.PresTipo = QStringLiteral("PRESENTACION %1").arg(code);
        return l;
    }
    // Begins factura 7 and sells the lines.
    void sell(const std::vector<db::proc::SaleLine>& lines) {
        ReceiptJob job;
        job.type = ReceiptType::Factura;
        output.begin(job, 7, QDateTime(QDate(2026, 3, 7), QTime(9, 5, 7)), lines,
                     db::proc::Igv{1, 18, QStringLiteral("B001"), QStringLiteral("F001")});
        for (const db::proc::SaleLine& l : lines)
            output.afterLine(l, {QString(), db::proc::kDescargado, true});
    }
    QStringList inFolder() const {
        return QDir(platform.mapPath(QString::fromLatin1(FacturaFilesOutput::kDataFolder)))
            .entryList(QDir::Files | QDir::Hidden);
    }
    QByteArray det() const {
        QFile f(QDir(platform.mapPath(QString::fromLatin1(FacturaFilesOutput::kDataFolder)))
                    .filePath(einvoice::FacturaFiles::baseName(7) + QStringLiteral(".det")));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    testsupport::FakePlatform platform;
    FacturaFilesOutput output{platform};
};

TEST_F(FacturaFilesOutputAlone, AnAbandonedDischargeLeavesNeitherNamesNorTemporaryFiles) {
    sell({line(1, 101, "10.00")});
    output.beforeCommit();
    ASSERT_EQ(inFolder().size(), 5);  // under their temporary names
    output.abandoned();
    EXPECT_EQ(inFolder(), QStringList());
}

TEST_F(FacturaFilesOutputAlone, EachDetailLineCarriesTheTotalLessItsOwnTax) {
    sell({line(1, 101, "10.00"), line(2, 102, "5.00")});
    output.beforeCommit();
    output.committed({});
    const QList<QByteArray> lines = det().split('\n');
    ASSERT_EQ(lines.size(), 3);  // two lines and the empty rest after the last end
    const QList<QByteArray> first = lines[0].split('|');
    const QList<QByteArray> second = lines[1].split('|');
    ASSERT_GT(second.size(), 36);
    EXPECT_EQ(first[9], "13.48");  // 15.00 - 10.00 x 0.1524
    EXPECT_EQ(first[35], "13.48");
    EXPECT_EQ(second[9], "14.24");  // 15.00 - 5.00 x 0.1524
    EXPECT_EQ(second[35], "14.24");
}

}  // namespace

VELCARIS_DB_TEST_SUITE(ReceiptPrinting);
