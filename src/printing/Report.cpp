#include "printing/Report.h"
#include "printing/PageModel.h"

namespace printing {

QSizeF PageSetup::sheetMm() const {
    return orientation == QPageLayout::Landscape ? paperMm.transposed() : paperMm;
}

double PageSetup::printableWidthMm() const {
    return sheetMm().width() - marginsMm.left() - marginsMm.right();
}

double PageSetup::columnWidthMm() const {
    const int n = std::max(columns, 1);
    return (printableWidthMm() - columnGapMm * (n - 1)) / n;
}

QVariant Context::value(const QString& column) const {
    return rows && row >= 0 ? rows->value(row, column) : QVariant();
}

Value fixed(const QString& text) {
    return [text](const Context&) { return text; };
}

Value field(const QString& column, Format format) {
    if (!format)
        format = [](const QVariant& v) { return v.toString(); };
    return [column, format](const Context& c) { return format(c.value(column)); };
}

Value pageNumber() {
    return [](const Context& c) { return QString::number(c.page); };
}

Value pageCount() {
    return [](const Context& c) { return QString::number(c.pageCount); };
}

Value rowNumber() {
    return [](const Context& c) { return QString::number(c.rowNumber); };
}

Value printedAt(std::function<QString(const QDateTime&)> format) {
    return [format](const Context& c) { return format(c.printedAt); };
}

Value concat(std::vector<Value> parts) {
    return [parts](const Context& c) {
        QString text;
        for (const Value& part : parts)
            text += part(c);
        return text;
    };
}

std::vector<const PlacedText*> Page::texts() const {
    std::vector<const PlacedText*> out;
    for (const Element& e : elements)
        if (const auto* t = std::get_if<PlacedText>(&e))
            out.push_back(t);
    return out;
}

QStringList Page::textValues() const {
    QStringList out;
    for (const PlacedText* t : texts())
        out << t->text;
    return out;
}

}  // namespace printing
