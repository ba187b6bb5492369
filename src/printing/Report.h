#pragma once

#include "printing/RowSource.h"

#include <QColor>
#include <QDateTime>
#include <QImage>
#include <QLineF>
#include <QMarginsF>
#include <QPageLayout>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <functional>
#include <memory>
#include <variant>
#include <vector>

// A band report: a page setup and bands of items, laid out into pages (Layout.h) and painted on
// a printer or a PDF (Paint.h, Output.h). Every length is in millimetres; font sizes are in
// points. An item's text is clipped to its box, unless the item asks to wrap: then its band
// grows by the lines it adds.
namespace printing {

struct PageSetup {
    QSizeF paperMm{210, 297};  // width by height, portrait
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMarginsF marginsMm{10, 10, 10, 10};  // left, top, right, bottom
    int columns = 1;                      // detail and group header bands flow in columns
    double columnGapMm = 0;
    // A roll: one sheet as long as the bands laid out on it, cut below the last band and its
    // bottom margin, instead of pages of the paper's height (which is then ignored). Portrait.
    bool fitHeight = false;

    // The sheet as printed: the paper turned by the orientation.
    QSizeF sheetMm() const;
    double printableWidthMm() const;
    double columnWidthMm() const;
};

// What a value is computed from when its band is placed.
struct Context {
    const RowSource* rows = nullptr;
    int row = -1;       // the row being printed (the last one in the summary); -1 for none
    int rowNumber = 0;  // detail rows printed so far, the current one included
    int page = 1;       // 1-based
    int pageCount = 0;  // the report's total
    QDateTime printedAt;

    // A column of the current row; null when there is no row.
    QVariant value(const QString& column) const;
};

using Value = std::function<QString(const Context&)>;
using Format = std::function<QString(const QVariant&)>;

// Values of texts: a fixed text, a data field, the system fields and their concatenation.
Value fixed(const QString& text);
// A column of the current row through `format` (QVariant::toString when none).
Value field(const QString& column, Format format = {});
Value pageNumber();
Value pageCount();
Value rowNumber();
Value printedAt(std::function<QString(const QDateTime&)> format);
Value concat(std::vector<Value> parts);

struct Font {
    QString family = QStringLiteral("Arial");
    double points = 8;
    bool bold = false;
    bool italic = false;

    // A size given as a pixel height on a 96 dpi screen.
    static constexpr double pointsOfPixels(double pixels) { return pixels * 72.0 / 96.0; }
};

// Boxes and lines are relative to the top-left corner of their band.
struct Text {
    QRectF box;
    Value value;
    Font font = {};
    Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter;
    QColor color = Qt::black;
    bool framed = false;  // a ruled box around it
    // The text breaks between words (inside a word too long for the box) onto as many lines as
    // it needs, each as tall as the box, one under the other. The band grows by the added lines,
    // and every item of the band below the box moves down with them. Not for the page header
    // and footer, whose heights are fixed; its value should not show the page count, which the
    // first pass does not know yet.
    bool wrap = false;
};

// Stretched into its box.
struct Picture {
    QRectF box;
    QImage image;
};

struct Line {
    QLineF line;
    double widthMm = 0.2;
};

struct Frame {
    QRectF box;
    double widthMm = 0.2;
};

using Item = std::variant<Text, Picture, Line, Frame>;

// A band of height 0 is absent. Its height is the least it takes: wrapping texts add to it.
struct Band {
    double heightMm = 0;
    std::vector<Item> items;
};

// A group header is printed before the first row and before every row whose key differs from
// the previous row's; a change of an outer group's key prints the inner headers again.
struct Group {
    Value key;
    Band header;
};

// Page header on every page, then the title on the first; group headers and details in column
// order; the summary after the last row; the page footer at the foot of every page. A band that
// does not fit above the footer opens the next column or page; a group header is kept with the
// row that follows it.
struct Report {
    PageSetup page;
    Band title;
    Band pageHeader;
    std::vector<Group> groups;  // outermost first
    Band detail;
    Band summary;
    Band pageFooter;
    std::shared_ptr<const RowSource> rows;  // none: no detail rows
};

}  // namespace printing
