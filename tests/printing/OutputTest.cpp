#include "SampleReport.h"
#include "db/Settings.h"
#include "printing/Layout.h"
#include "printing/Output.h"
#include "printing/Paint.h"
#include "support/FakePrintSystem.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

using namespace printing;

namespace {

const QDateTime kAt(QDate(2026, 3, 7), QTime(9, 5, 7));

bool havePoppler() {
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty();
}

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    EXPECT_TRUE(p.waitForFinished(60000)) << program.toStdString();
    EXPECT_EQ(p.exitCode(), 0) << program.toStdString() << ": "
                               << p.readAllStandardError().toStdString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString pageText(const QString& pdf, int page) {
    const QString n = QString::number(page);
    return run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-f"), n,
                                             QStringLiteral("-l"), n, pdf, QStringLiteral("-")});
}

QString pdfInfo(const QString& pdf, const QString& key) {
    for (const QString& line : run(QStringLiteral("pdfinfo"), {pdf}).split(QLatin1Char('\n')))
        if (line.startsWith(key + QLatin1Char(':')))
            return line.mid(key.size() + 1).simplified();
    return {};
}

// A settings file of the test's own.
class ScopedSettings {
public:
    ScopedSettings() {
        qputenv("VELCARIS_CONFIG", dir_.filePath(QStringLiteral("velcaris.ini")).toUtf8());
    }
    ~ScopedSettings() { qunsetenv("VELCARIS_CONFIG"); }
    db::Settings load() const { return db::Settings::load(); }

private:
    QTemporaryDir dir_;
};

// A narrow roll with a picture, a field formatted as money and a rule of dashes.
Report roll() {
    QImage qr(21, 21, QImage::Format_RGB32);
    qr.fill(Qt::white);
    for (int i = 0; i < 21; ++i)
        qr.setPixel(i, i, qRgb(0, 0, 0));
    Report r;
    r.page.paperMm = {80.7, 233.1};
    r.page.marginsMm = {1, 1, 1, 1};
    const Font bold12{.points = 12, .bold = true};
    r.pageHeader = Band{
        12,
        {Text{.box = {15, 0, 60, 6}, .value = fixed(QStringLiteral("VELCARIS")), .font = bold12},
         Text{.box = {0, 6, 78.7, 5},
              .value = fixed(QString(67, QLatin1Char('-'))),
              .font = {.points = 8}}}};
    r.detail = Band{4,
                    {Text{.box = {0, 0, 8, 4}, .value = field(QStringLiteral("CANTIDAD"))},
                     Text{.box = {8, 0, 40, 4}, .value = field(QStringLiteral("NOMBRE"))},
                     Text{.box = {60, 0, 18, 4},
                          .value = field(QStringLiteral("CANTIDAD"),
                                         [](const QVariant& v) {
                                             return QString::number(v.toInt() * 1.5, 'f', 2);
                                         }),
                          .align = Qt::AlignRight | Qt::AlignVCenter}}};
    r.summary =
        Band{30,
             {Text{.box = {0, 0, 78.7, 5},
                   .value = fixed(QStringLiteral("SON: CIENTO DIECIOCHO CON 00/100 SOLES")),
                   .font = {.points = 8, .bold = true}},
              Picture{{30.35, 7, 18, 17.5}, qr},
              Text{.box = {0, 25, 78.7, 5},
                   .value = fixed(QStringLiteral("GRACIAS POR SU COMPRA...DIOS LE BENDIGA...!!!")),
                   .font = {.points = 7, .bold = true, .italic = true},
                   .align = Qt::AlignCenter}}};
    r.rows = sample::items(3);
    return r;
}

}  // namespace

TEST(ReportOutput, PdfCarriesEveryPageWithItsNumberOfPages) {
    if (!havePoppler())
        GTEST_SKIP() << "poppler-utils is not installed";
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("listado.pdf"));
    writePdf(layout(sample::listing(sample::items(14)), kAt), pdf, QStringLiteral("LISTADO"));

    EXPECT_EQ(pdfInfo(pdf, QStringLiteral("Pages")), QStringLiteral("3"));
    EXPECT_EQ(pdfInfo(pdf, QStringLiteral("Title")), QStringLiteral("LISTADO"));
    const QString second = pageText(pdf, 2);
    EXPECT_TRUE(second.contains(QStringLiteral("Pág. Nº: 2 de 3"))) << second.toStdString();
    EXPECT_TRUE(second.contains(QStringLiteral("ITEM 06")));
    EXPECT_TRUE(second.contains(QStringLiteral("ITEM 11")));
    EXPECT_FALSE(second.contains(QStringLiteral("ITEM 12")));
    EXPECT_FALSE(second.contains(QStringLiteral("FILAS")));
    const QString third = pageText(pdf, 3);
    EXPECT_TRUE(third.contains(QStringLiteral("FILAS: 14")));
    EXPECT_TRUE(third.contains(QStringLiteral("Pág. Nº: 3 de 3")));
}

TEST(ReportOutput, NarrowRollPdfHasTheCustomPaper) {
    if (!havePoppler())
        GTEST_SKIP() << "poppler-utils is not installed";
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("recibo.pdf"));
    writePdf(layout(roll(), kAt), pdf);

    EXPECT_EQ(pdfInfo(pdf, QStringLiteral("Pages")), QStringLiteral("1"));
    // 80.7 by 233.1 mm in whole points, as Qt keeps page sizes.
    EXPECT_TRUE(pdfInfo(pdf, QStringLiteral("Page size")).startsWith(QStringLiteral("229 x 661")))
        << pdfInfo(pdf, QStringLiteral("Page size")).toStdString();
    const QString text = pageText(pdf, 1);
    for (const char* expected :
         {"VELCARIS", "ITEM 01", "4.50", "SON: CIENTO DIECIOCHO CON 00/100 SOLES",
          "GRACIAS POR SU COMPRA...DIOS LE BENDIGA...!!!"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n"
                                                                << text.toStdString();
}

TEST(ReportOutput, UnwritablePdfIsAnError) {
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const Document doc = layout(roll(), kAt);
    EXPECT_THROW(writePdf(doc, dir.filePath(QStringLiteral("file/recibo.pdf"))), PrintError);
}

// Printing on the fake print system, with settings of the test's own.
class PrintingOnAQueue : public ::testing::Test {
protected:
    Printed printIt(const QString& baseName = QStringLiteral("boleta")) {
        return print(doc, settings, system, baseName, kAt);
    }
    static QString receiptsFolder() { return db::Settings::dataFolder() + "/recibos"; }
    void TearDown() override { QDir(receiptsFolder()).removeRecursively(); }

    // What every way of not printing gives: the reason, and the receipt as a file.
    void expectKeptAsFile(const Printed& printed, const QString& problem) {
        EXPECT_EQ(printed.problem, problem);
        EXPECT_TRUE(printed.printer.isEmpty());
        EXPECT_EQ(printed.file, receiptsFolder() + "/boleta_20260307-090507.pdf");
        EXPECT_GT(QFileInfo(printed.file).size(), 0);
    }

    ScopedSettings scoped;
    db::Settings settings = scoped.load();
    testsupport::FakePrintSystem system;
    const Document doc = layout(roll(), kAt);
};

TEST_F(PrintingOnAQueue, PdfFolderSettingSendsReportsToNumberedFilesAndNothingToTheQueue) {
    QTemporaryDir folder;
    settings.setValue(QStringLiteral("printing/pdf_folder"), folder.path());
    system.remove();  // no warning either way

    const Printed first = printIt();
    const Printed second = printIt();
    EXPECT_FALSE(first.failed());
    EXPECT_TRUE(first.printer.isEmpty());
    EXPECT_EQ(first.file, folder.filePath(QStringLiteral("boleta_20260307-090507.pdf")));
    EXPECT_EQ(second.file, folder.filePath(QStringLiteral("boleta_20260307-090507-2.pdf")));
    EXPECT_TRUE(QFileInfo(first.file).size() > 0);
    EXPECT_TRUE(QFileInfo(second.file).size() > 0);
    EXPECT_TRUE(system.jobs.empty());
}

TEST_F(PrintingOnAQueue, AWorkingQueueGetsTheDocumentOnItsOwnPaperAndNoFileIsLeft) {
    const Printed printed = printIt();
    EXPECT_FALSE(printed.failed());
    EXPECT_EQ(printed.printer, QStringLiteral("RECIBOS"));
    EXPECT_TRUE(printed.file.isEmpty());
    ASSERT_EQ(system.jobs.size(), 1u);
    EXPECT_EQ(system.jobs[0].queue, QStringLiteral("RECIBOS"));
    EXPECT_EQ(system.jobs[0].paperMm, QSizeF(80.7, 233.1));
    EXPECT_TRUE(system.jobs[0].pdf.startsWith("%PDF"));
    EXPECT_FALSE(system.jobs[0].cancelled);
    EXPECT_FALSE(QDir(receiptsFolder()).exists());
}

TEST_F(PrintingOnAQueue, AQueueThatCannotTakeTheJobIsNamedAndTheDocumentKeptAsAFile) {
    system.stop();
    expectKeptAsFile(printIt(), QStringLiteral("IMPRESORA RECIBOS DETENIDA"));
    system.queue.queue.stopped = false;
    system.refuseJobs();
    QDir(receiptsFolder()).removeRecursively();
    expectKeptAsFile(printIt(), QStringLiteral("IMPRESORA RECIBOS NO ACEPTA TRABAJOS"));
    EXPECT_TRUE(system.jobs.empty());

    system.remove();
    QDir(receiptsFolder()).removeRecursively();
    expectKeptAsFile(printIt(), QStringLiteral("NO HAY IMPRESORA PREDETERMINADA"));
    system.shutDown();
    QDir(receiptsFolder()).removeRecursively();
    expectKeptAsFile(printIt(), QStringLiteral("EL SISTEMA DE IMPRESION NO RESPONDE"));
}

TEST_F(PrintingOnAQueue, AJobRefusedHeldOrCancelledByTheQueueIsNamedAndTheDocumentKeptAsAFile) {
    system.refusal = QStringLiteral("client-error-document-format-not-supported");
    expectKeptAsFile(printIt(), QStringLiteral("IMPRESORA RECIBOS RECHAZO EL TRABAJO "
                                               "(client-error-document-format-not-supported)"));
    system.refusal.clear();

    QDir(receiptsFolder()).removeRecursively();
    system.fate = platform::PrintSystem::JobState::Held;
    expectKeptAsFile(printIt(), QStringLiteral("TRABAJO RETENIDO EN LA IMPRESORA RECIBOS"));
    ASSERT_EQ(system.jobs.size(), 1u);
    EXPECT_TRUE(system.jobs[0].cancelled);  // it must not print after the customer left

    QDir(receiptsFolder()).removeRecursively();
    system.fate = platform::PrintSystem::JobState::Aborted;
    expectKeptAsFile(printIt(), QStringLiteral("IMPRESORA RECIBOS CANCELO EL TRABAJO"));
}

TEST_F(PrintingOnAQueue, AJobStillWaitingWhenItsQueueStoppedIsCancelled) {
    system.fate = platform::PrintSystem::JobState::Pending;
    system.stopOnSubmit = true;
    expectKeptAsFile(printIt(), QStringLiteral("IMPRESORA RECIBOS DETENIDA"));
    ASSERT_EQ(system.jobs.size(), 1u);
    EXPECT_TRUE(system.jobs[0].cancelled);
}

TEST_F(PrintingOnAQueue, AJobWaitingBehindOthersOnAWorkingQueueIsOnItsWay) {
    system.fate = platform::PrintSystem::JobState::Pending;
    const Printed printed = printIt();
    EXPECT_FALSE(printed.failed());
    ASSERT_EQ(system.jobs.size(), 1u);
    EXPECT_FALSE(system.jobs[0].cancelled);
}

TEST(ReportOutput, AJobUnknownToThePrintSystemSoonAfterIsTakenAsPrinted) {
    ScopedSettings scoped;
    testsupport::FakePrintSystem system;
    system.fate.reset();  // a queue that keeps no history of finished jobs
    EXPECT_FALSE(
        print(layout(roll(), kAt), scoped.load(), system, QStringLiteral("nota"), kAt).failed());
}

TEST(ReportOutput, PreviewShowsEveryPageModally) {
    const Document doc = layout(sample::listing(sample::items(14)), kAt);
    int shownPages = -1;
    bool wasModal = false;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            wasModal = dialog->isModal();
            if (auto* pages = dialog->findChild<QPrintPreviewWidget*>())
                shownPages = pages->pageCount();
        }
        if (modal)
            modal->close();
    });
    preview(doc, nullptr, QStringLiteral("LISTADO"));
    EXPECT_TRUE(wasModal);
    EXPECT_EQ(shownPages, 3);
}
