#include "printing/Output.h"

#include "db/Settings.h"
#include "printing/Paint.h"
#include "ui/Activation.h"

#include "platform/PrintSystem.h"

#include <QAction>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTemporaryDir>
#include <QThread>
#include <QToolBar>
#include <QVBoxLayout>

namespace printing {

namespace {

using platform::PrintSystem;

const QString kPdfFolderKey = QStringLiteral("printing/pdf_folder");

// How long a job is watched after it was sent: a receipt is through a working queue by then.
constexpr int kJobWatchMs = 3000;
constexpr int kJobPollMs = 100;

QString freePdfPath(const QString& folder, const QString& baseName, const QDateTime& at) {
    const QString stem = QDir(folder).filePath(baseName + QLatin1Char('_') +
                                               at.toString(QStringLiteral("yyyyMMdd-HHmmss")));
    QString path = stem + QStringLiteral(".pdf");
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = stem + QStringLiteral("-%1.pdf").arg(n);
    return path;
}

void preparePrinter(QPrinter& printer, const Document& doc, const QString& title) {
    printer.setFullPage(true);
    printer.setPageLayout(pageLayout(doc.page));
    printer.setCopyCount(1);
    printer.setDocName(title);
}

QString receiptsFolder() {
    return db::Settings::dataFolder() + QStringLiteral("/recibos");
}

QString queueProblem(const PrintSystem::DefaultQueue& found) {
    using Status = PrintSystem::DefaultQueue::Status;
    if (found.status == Status::Unreachable)
        return QStringLiteral("EL SISTEMA DE IMPRESION NO RESPONDE");
    if (found.status == Status::NoQueue)
        return QStringLiteral("NO HAY IMPRESORA PREDETERMINADA");
    if (!found.queue.accepting)
        return QStringLiteral("IMPRESORA %1 NO ACEPTA TRABAJOS").arg(found.queue.name);
    if (found.queue.stopped)
        return QStringLiteral("IMPRESORA %1 DETENIDA").arg(found.queue.name);
    return {};
}

// The job's fate within moments of being sent: empty when it printed or is on its way. A job
// the queue keeps from printing is cancelled.
QString watchJob(PrintSystem& system, const QString& queue, int job) {
    using State = PrintSystem::JobState;
    QDeadlineTimer deadline(kJobWatchMs);
    std::optional<State> state = system.jobState(job);
    while (state && *state != State::Completed && !deadline.hasExpired()) {
        if (*state == State::Canceled || *state == State::Aborted)
            return QStringLiteral("IMPRESORA %1 CANCELO EL TRABAJO").arg(queue);
        if (*state == State::Held || *state == State::Stopped)
            break;
        QThread::msleep(kJobPollMs);
        state = system.jobState(job);
    }
    if (!state || *state == State::Completed || *state == State::Processing)
        return {};
    QString problem;
    if (*state == State::Held)
        problem = QStringLiteral("TRABAJO RETENIDO EN LA IMPRESORA %1").arg(queue);
    else if (*state == State::Stopped)
        problem = QStringLiteral("IMPRESORA %1 DETENIDA").arg(queue);
    else
        problem = queueProblem(system.defaultQueue());  // still waiting: is the queue stopped?
    if (!problem.isEmpty())
        system.cancel(queue, job);
    return problem;
}

// Sends the document to the queue; the reason when it did not get through.
QString sendToQueue(const Document& doc, PrintSystem& system, const QString& queue,
                    const QString& title) {
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("job.pdf"));
    writePdf(doc, file, title);
    const PrintSystem::Submission sent = system.submit(queue, file, title, doc.page.sheetMm());
    if (sent.job <= 0)
        return QStringLiteral("IMPRESORA %1 RECHAZO EL TRABAJO (%2)").arg(queue, sent.error);
    return watchJob(system, queue, sent.job);
}

}  // namespace

Printed print(const Document& doc, const db::Settings& settings, PrintSystem& system,
              const QString& baseName, const QDateTime& at) {
    Printed out;
    QString folder = settings.value(kPdfFolderKey);
    if (folder.isEmpty()) {
        const PrintSystem::DefaultQueue found = system.defaultQueue();
        out.problem = queueProblem(found);
        if (out.problem.isEmpty())
            out.problem = sendToQueue(doc, system, found.queue.name, baseName);
        if (!out.problem.isEmpty())
            qWarning("printing: %s", qUtf8Printable(out.problem));
        else
            out.printer = found.queue.name;
        folder = receiptsFolder();
    }
    if (out.printer.isEmpty()) {
        out.file = freePdfPath(folder, baseName, at);
        writePdf(doc, out.file, baseName);
    }
    return out;
}

void preview(const Document& doc, QWidget* parent, const QString& title,
             const std::function<void()>& print) {
    QPrinter printer(QPrinter::HighResolution);
    preparePrinter(printer, doc, title);
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("preview"));
    dialog.setWindowTitle(title);
    auto* pages = new QPrintPreviewWidget(&printer, &dialog);
    QObject::connect(pages, &QPrintPreviewWidget::paintRequested, &dialog,
                     [&doc](QPrinter* target) {
                         try {
                             paint(doc, *target);
                         } catch (const PrintError& e) {
                             qWarning("preview: %s", e.what());
                         }
                     });
    auto* bar = new QToolBar(&dialog);
    bar->addAction(QStringLiteral("AJUSTAR"), pages, &QPrintPreviewWidget::fitInView);
    bar->addAction(QStringLiteral("ACERCAR"), pages, [pages] { pages->zoomIn(); });
    bar->addAction(QStringLiteral("ALEJAR"), pages, [pages] { pages->zoomOut(); });
    bool printAsked = false;
    if (print) {
        QAction* printAction = bar->addAction(QStringLiteral("IMPRIMIR"));
        printAction->setObjectName(QStringLiteral("previewPrint"));
        QObject::connect(printAction, &QAction::triggered, &dialog, [&] {
            printAsked = true;
            dialog.accept();
        });
    }
    bar->addAction(QStringLiteral("CERRAR"), &dialog, &QDialog::reject);
    auto* column = new QVBoxLayout(&dialog);
    column->addWidget(bar);
    column->addWidget(pages, 1);
    dialog.resize(520, 760);
    ui::execModal(dialog);
    if (printAsked)
        print();
}

}  // namespace printing
