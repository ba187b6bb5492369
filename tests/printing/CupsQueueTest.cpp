#include "support/CheckoutSeed.h"
#include "support/WindowTest.h"

#include "db/procedures/Checkout.h"
#include "platform/CupsPrintSystem.h"
#include "sales/ReceiptPrinter.h"

#include <cups/cups.h>
#include <pwd.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace sales;

static void PrintTo(const QString& text, std::ostream* os) {
    *os << text.toStdString();
}

namespace {

const QString kQueue = QStringLiteral("VELCARIS_PDF");
const QString kPpd = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd");

QString tool(const char* name) {
    return QStandardPaths::findExecutable(
        QString::fromLatin1(name), {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")});
}

// A scheduler of the test's own on a private socket, with a cups-pdf queue as its default.
class Scheduler {
public:
    static QString missing() {
        for (const char* t : {"cupsd", "lpadmin", "cupsdisable"})
            if (tool(t).isEmpty())
                return QStringLiteral("%1 is not installed").arg(QString::fromLatin1(t));
        if (!QFileInfo::exists(QStringLiteral("/usr/lib/cups/backend/cups-pdf")) ||
            !QFileInfo::exists(kPpd))
            return QStringLiteral("printer-driver-cups-pdf is not installed");
        if (geteuid() != 0)
            return QStringLiteral("cups-pdf runs only under a scheduler started as root");
        return {};
    }

    bool start() {
        QFile::setPermissions(dir_.path(), QFile::permissions(dir_.path()) | QFile::ReadGroup |
                                               QFile::ExeGroup | QFile::ReadOther |
                                               QFile::ExeOther);
        for (const char* sub : {"spool", "cache", "state", "log"})
            QDir(dir_.path()).mkpath(QString::fromLatin1(sub));
        write("cupsd.conf", QStringLiteral("Listen %1\nLogLevel warn\nWebInterface No\n"
                                           "Browsing No\n<Location />\n  Order allow,deny\n"
                                           "  Allow all\n</Location>\n")
                                .arg(socket()));
        write("cups-files.conf",
              QStringLiteral("ServerRoot %1\nRequestRoot %1/spool\nCacheDir %1/cache\n"
                             "StateDir %1/state\nTempDir %1/spool\nErrorLog %1/log/error_log\n"
                             "AccessLog %1/log/access_log\nPageLog %1/log/page_log\n"
                             "Printcap %1/printcap\nSandboxing Relaxed\n")
                  .arg(dir_.path()));
        daemon_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        daemon_.start(tool("cupsd"),
                      {QStringLiteral("-f"), QStringLiteral("-c"),
                       dir_.filePath(QStringLiteral("cupsd.conf")), QStringLiteral("-s"),
                       dir_.filePath(QStringLiteral("cups-files.conf"))});
        if (!daemon_.waitForStarted(10000))
            return false;
        qputenv("CUPS_SERVER", socket().toUtf8());
        cupsSetServer(socket().toUtf8().constData());
        const bool up = QTest::qWaitFor([this] { return QFileInfo::exists(socket()); }, 10000);
        // The socket can be there before the scheduler serves it (on a loaded machine): the
        // queue's creation, which may be repeated, is tried again until it is served.
        const QStringList queue{QStringLiteral("-p"),
                                kQueue,
                                QStringLiteral("-E"),
                                QStringLiteral("-v"),
                                QStringLiteral("cups-pdf:/"),
                                QStringLiteral("-P"),
                                kPpd};
        return up && QTest::qWaitFor([&] { return admin(queue); }, 20000) &&
               admin({QStringLiteral("-d"), kQueue});
    }

    void stop() {
        if (daemon_.state() == QProcess::NotRunning)
            return;
        daemon_.terminate();
        daemon_.waitForFinished(10000);
    }

    ~Scheduler() {
        stop();
        cupsSetServer(nullptr);
        qunsetenv("CUPS_SERVER");
    }

    bool admin(const QStringList& args, const char* program = "lpadmin") const {
        QProcess p;
        p.setProcessChannelMode(QProcess::ForwardedChannels);
        p.start(tool(program), args);
        return p.waitForFinished(20000) && p.exitCode() == 0;
    }

    // The media of the scheduler's most recent job.
    QString lastJobMedia() const {
        cups_job_t* jobs = nullptr;
        const int n = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, kQueue.toUtf8().constData(), 0,
                                   CUPS_WHICHJOBS_ALL);
        int last = 0;
        for (int i = 0; i < n; ++i)
            last = std::max(last, jobs[i].id);
        cupsFreeJobs(n, jobs);
        if (last == 0)
            return {};
        return platform::CupsPrintSystem::jobAttribute(last, "media");
    }

private:
    QString socket() const { return dir_.filePath(QStringLiteral("sock")); }
    void write(const char* name, const QString& text) {
        QFile f(dir_.filePath(QString::fromLatin1(name)));
        if (f.open(QIODevice::WriteOnly))
            f.write(text.toUtf8());
    }

    // In /tmp itself, open to all: the scheduler's filters run as its own user, which cannot
    // reach into a test run's private temporary folder.
    QTemporaryDir dir_{QStringLiteral("/tmp/velcaris-cups-XXXXXX")};
    QProcess daemon_;
};

// Boletas discharged at a checkout whose default printer is a real queue.
class RealQueue : public testsupport::WindowTest {
protected:
    void SetUp() override {
        const QString why = Scheduler::missing();
        if (!why.isEmpty())
            GTEST_SKIP() << why.toStdString();
        WindowTest::SetUp();
        if (IsSkipped())
            return;
        ASSERT_TRUE(scheduler.start());
        platform.realPrintSystem = &cups;
        settings.setValue(QStringLiteral("printing/pdf_folder"), QString());
        QDir(recibos()).removeRecursively();
        testsupport::seedIgv(db(), 1, QStringLiteral("B001"), QStringLiteral("F001"));
        testsupport::seedPresentation(db(), 101, QStringLiteral("PARACETAMOL 500MG"), 50);
        testsupport::seedSale(db(), 25, clock.today(), QStringLiteral("CAJA1-4"),
                              {{101, 2, "5.90"}});
        logIn(4, QStringLiteral("CAJERO"));
    }
    void TearDown() override {
        QDir(recibos()).removeRecursively();
        removePrintedFiles();
        WindowTest::TearDown();
    }

    // What cups-pdf wrote for this test into the PDF folder of the user's home.
    void removePrintedFiles() const {
        const passwd* user = getpwuid(geteuid());
        if (!user)
            return;
        const QDir out(QString::fromLocal8Bit(user->pw_dir) + QStringLiteral("/PDF"));
        for (const QFileInfo& f : out.entryInfoList({QStringLiteral("boleta*.pdf")}, QDir::Files))
            if (f.lastModified() >= started_)
                QFile::remove(f.filePath());
    }

    static QString recibos() { return db::Settings::dataFolder() + QStringLiteral("/recibos"); }

    void dischargeBoleta() {
        const ReceiptJob job{25, core::saleDay(clock.today()), ReceiptType::Boleta, {}, true};
        ReceiptPrinter printer(ctx());
        EXPECT_EQ(dischargeSale(ctx(), job, printer).receiptNumber, 1);
        EXPECT_EQ(testsupport::lineState(db(), 25, clock.today(), 1), db::proc::kDescargado);
    }

    // The cashier was told, and the receipt is in its file.
    void expectToldAndKept(const QString& problem) {
        const QString file = recibos() + QStringLiteral("/boleta_20260302-090000.pdf");
        EXPECT_EQ(messages.shown,
                  QStringList{QStringLiteral("NO SE PUDO IMPRIMIR EL COMPROBANTE "
                                             "B001-1: ") +
                              problem + QStringLiteral("\rEL COMPROBANTE SE GUARDO EN ") + file});
        EXPECT_GT(QFileInfo(file).size(), 0);
    }

    const QDateTime started_ = QDateTime::currentDateTime().addSecs(-1);
    Scheduler scheduler;
    platform::CupsPrintSystem cups;
};

TEST_P(RealQueue, ABoletaReachesTheQueueOnPaperAsLongAsItsContent) {
    dischargeBoleta();
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.shown.join('|').toStdString();
    const QString media = scheduler.lastJobMedia();
    ASSERT_TRUE(media.startsWith(QStringLiteral("Custom.80.7x"))) << media.toStdString();
    const double length = media.mid(12).chopped(2).toDouble();
    EXPECT_GT(length, 60);
    EXPECT_LT(length, 233.1);
    EXPECT_FALSE(QDir(recibos()).exists());
}

TEST_P(RealQueue, APausedQueueGivesTheMessageTheFileAndADischargedSale) {
    ASSERT_TRUE(scheduler.admin({kQueue}, "cupsdisable"));
    dischargeBoleta();
    expectToldAndKept(QStringLiteral("IMPRESORA VELCARIS_PDF DETENIDA"));
}

TEST_P(RealQueue, ARemovedQueueGivesTheMessageTheFileAndADischargedSale) {
    ASSERT_TRUE(scheduler.admin({QStringLiteral("-x"), kQueue}));
    dischargeBoleta();
    expectToldAndKept(QStringLiteral("NO HAY IMPRESORA PREDETERMINADA"));
}

TEST_P(RealQueue, AStoppedSchedulerGivesTheMessageTheFileAndADischargedSale) {
    scheduler.stop();
    dischargeBoleta();
    expectToldAndKept(QStringLiteral("EL SISTEMA DE IMPRESION NO RESPONDE"));
}

}  // namespace

VELCARIS_DB_TEST_SUITE(RealQueue);
