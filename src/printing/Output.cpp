#include "printing/Output.h"

#include "db/Settings.h"
#include "printing/Paint.h"
#include "ui/Activation.h"

#include <QDir>
#include <QFileInfo>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace printing {

namespace {

const QString kPdfFolderKey = QStringLiteral("printing/pdf_folder");

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

}  // namespace

Destination chooseDestination(const db::Settings& settings, const QString& baseName,
                              const QDateTime& at) {
    QString folder = settings.value(kPdfFolderKey);
    if (folder.isEmpty()) {
        const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
        if (!printer.isNull())
            return {printer.printerName(), {}};
        folder = db::Settings::dataFolder() + QStringLiteral("/recibos");
    }
    return {{}, freePdfPath(folder, baseName, at)};
}

Destination print(const Document& doc, const db::Settings& settings, const QString& baseName,
                  const QDateTime& at) {
    const Destination to = chooseDestination(settings, baseName, at);
    if (to.isPdf()) {
        writePdf(doc, to.pdfPath, baseName);
        return to;
    }
    QPrinter printer(QPrinterInfo::printerInfo(to.printer), QPrinter::HighResolution);
    preparePrinter(printer, doc, baseName);
    paint(doc, printer);
    if (printer.printerState() == QPrinter::Error)
        throw PrintError("the printer " + to.printer.toStdString() + " failed");
    return to;
}

void preview(const Document& doc, QWidget* parent, const QString& title) {
    QPrinter printer(QPrinter::HighResolution);
    preparePrinter(printer, doc, title);
    QPrintPreviewDialog dialog(&printer, parent);
    if (!title.isEmpty())
        dialog.setWindowTitle(title);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&doc](QPrinter* target) {
                         try {
                             paint(doc, *target);
                         } catch (const PrintError& e) {
                             qWarning("preview: %s", e.what());
                         }
                     });
    ui::execModal(dialog);
}

}  // namespace printing
