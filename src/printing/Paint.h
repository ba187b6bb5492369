#pragma once

#include "printing/PageModel.h"

#include <QFont>
#include <QImage>
#include <QPageLayout>
#include <QString>
#include <stdexcept>

class QPagedPaintDevice;

namespace printing {

// A report that could not be printed or written.
class PrintError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The Qt font of a report font.
QFont qtFont(const Font& font);

// The paper of the setup with no margins of the device's own: items sit where the model puts
// them, measured from the sheet's corner.
QPageLayout pageLayout(const PageSetup& setup);

// Paints every page on the device (a QPrinter, a QPdfWriter), one sheet per page, after giving
// it the document's page layout. Throws PrintError when the device cannot be painted on.
void paint(const Document& doc, QPagedPaintDevice& device);

// One page as a picture at `dpi`, white behind the items.
QImage renderPage(const Document& doc, int page, double dpi);

// The document as a PDF file, replacing the file; its folder is created when missing. Throws
// PrintError when the file cannot be written.
void writePdf(const Document& doc, const QString& path, const QString& title = {});

}  // namespace printing
