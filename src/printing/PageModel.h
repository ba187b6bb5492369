#pragma once

#include "printing/Report.h"

#include <QStringList>
#include <variant>
#include <vector>

// The laid-out report, independent of any device: pages of items at their final place, in
// millimetres from the sheet's top-left corner, with every value computed.
namespace printing {

struct PlacedText {
    QRectF rectMm;
    QString text;
    Font font;
    Qt::Alignment align;
    QColor color;
    bool framed = false;
};

struct PlacedPicture {
    QRectF rectMm;
    QImage image;
};

struct PlacedLine {
    QLineF lineMm;
    double widthMm = 0;
};

struct PlacedFrame {
    QRectF rectMm;
    double widthMm = 0;
};

using Element = std::variant<PlacedText, PlacedPicture, PlacedLine, PlacedFrame>;

struct Page {
    std::vector<Element> elements;

    std::vector<const PlacedText*> texts() const;
    // The texts in the order they were placed.
    QStringList textValues() const;
};

struct Document {
    PageSetup page;
    std::vector<Page> pages;

    int pageCount() const { return int(pages.size()); }
};

}  // namespace printing
