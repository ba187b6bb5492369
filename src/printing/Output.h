#pragma once

#include "printing/PageModel.h"

#include <QDateTime>
#include <QString>
#include <functional>

class QWidget;

namespace db {
class Settings;
}
namespace platform {
class PrintSystem;
}

namespace printing {

// What became of a printed report.
struct Printed {
    QString printer;  // the queue that took it; empty when it was written to a file
    QString file;     // the PDF file it was written to instead
    // Why it did not go to a printer that takes it ("IMPRESORA RECIBOS DETENIDA"); empty when
    // it did, and when the settings ask for files.
    QString problem;

    bool failed() const { return !problem.isEmpty(); }
};

// Prints the document, one copy on its own paper, on the workstation's default queue; or writes
// it as a PDF file into the folder the setting `printing/pdf_folder` names. When the queue
// cannot take it (no print system, no default queue, a queue stopped or refusing jobs, a job
// held, stopped or cancelled within moments of being sent), the document is written into
// <data folder>/recibos instead and the outcome says why; a job left waiting in a stopped queue
// is cancelled, so that it does not print after the customer left. Files are named
// "<baseName>_<yyyyMMdd-HHmmss>.pdf" by the time given, with "-2", "-3"... when such a file
// already exists. Throws PrintError when the file cannot be written.
Printed print(const Document& doc, const db::Settings& settings, platform::PrintSystem& system,
              const QString& baseName, const QDateTime& at);

// The document in a modal preview window over `parent`, to zoom and page through; returns when
// the window is closed. With `print`, its button "IMPRIMIR" (action "previewPrint") closes the
// window and calls it, so the document goes where every print of the program goes.
void preview(const Document& doc, QWidget* parent, const QString& title = {},
             const std::function<void()>& print = {});

}  // namespace printing
