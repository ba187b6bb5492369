#pragma once

#include "printing/PageModel.h"

#include <QDateTime>
#include <QString>

class QWidget;

namespace db {
class Settings;
}

namespace printing {

// Where a printed report goes: a printer by name, or a PDF file.
struct Destination {
    QString printer;
    QString pdfPath;

    bool isPdf() const { return !pdfPath.isEmpty(); }
};

// The workstation's default printer; a PDF file instead when the setting `printing/pdf_folder`
// names a folder, or when there is no printer (then into <data folder>/recibos). The file is
// named "<baseName>_<yyyyMMdd-HHmmss>.pdf" by the time given, with "-2", "-3"... when such a
// file already exists.
Destination chooseDestination(const db::Settings& settings, const QString& baseName,
                              const QDateTime& at);

// Prints the document, one copy, where chooseDestination says; throws PrintError when the
// printer or the file fails.
Destination print(const Document& doc, const db::Settings& settings, const QString& baseName,
                  const QDateTime& at);

// The document in a modal preview window over `parent`, from which the user can page, zoom and
// print; returns when the window is closed.
void preview(const Document& doc, QWidget* parent, const QString& title = {});

}  // namespace printing
