#include "printing/Paint.h"

#include <QDir>
#include <QFileInfo>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

namespace printing {

namespace {

constexpr double kMmPerInch = 25.4;

// Draws the model's millimetres in the painter's device pixels; fonts keep their point size,
// which the painter resolves for the device.
class PagePainter {
public:
    PagePainter(QPainter& painter, double dpi) : p_(painter), scale_(dpi / kMmPerInch) {}

    void operator()(const PlacedText& t) const {
        const QRectF box = rect(t.rectMm);
        p_.save();
        p_.setClipRect(box, Qt::IntersectClip);
        p_.setFont(qtFont(t.font));
        p_.setPen(t.color);
        p_.drawText(box, int(t.align) | Qt::TextSingleLine, t.text);
        p_.restore();
        if (t.framed)
            (*this)(PlacedFrame{t.rectMm, 0.2});
    }
    void operator()(const PlacedPicture& pic) const { p_.drawImage(rect(pic.rectMm), pic.image); }
    void operator()(const PlacedLine& l) const {
        p_.setPen(pen(l.widthMm));
        p_.drawLine(QLineF(point(l.lineMm.p1()), point(l.lineMm.p2())));
    }
    void operator()(const PlacedFrame& f) const {
        p_.setPen(pen(f.widthMm));
        p_.setBrush(Qt::NoBrush);
        p_.drawRect(rect(f.rectMm));
    }

private:
    QPointF point(QPointF mm) const { return mm * scale_; }
    QRectF rect(const QRectF& mm) const { return {point(mm.topLeft()), point(mm.bottomRight())}; }
    QPen pen(double widthMm) const {
        return QPen(Qt::black, widthMm * scale_, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    }

    QPainter& p_;
    double scale_;
};

void paintPage(QPainter& painter, const Page& page, double dpi) {
    const PagePainter draw(painter, dpi);
    for (const Element& e : page.elements)
        std::visit(draw, e);
}

}  // namespace

QFont qtFont(const Font& font) {
    QFont f(font.family);
    f.setPointSizeF(font.points);
    f.setBold(font.bold);
    f.setItalic(font.italic);
    return f;
}

QPageLayout pageLayout(const PageSetup& setup) {
    QPageLayout layout(
        QPageSize(setup.paperMm, QPageSize::Millimeter, QString(), QPageSize::ExactMatch),
        setup.orientation, QMarginsF(), QPageLayout::Millimeter);
    layout.setMode(QPageLayout::FullPageMode);
    return layout;
}

void paint(const Document& doc, QPagedPaintDevice& device) {
    if (!device.setPageLayout(pageLayout(doc.page)))
        throw PrintError("the device refuses the report's paper");
    QPainter painter;
    if (!painter.begin(&device))
        throw PrintError("the device cannot be painted on");
    const double dpi = device.logicalDpiY();
    for (int i = 0; i < doc.pageCount(); ++i) {
        if (i > 0 && !device.newPage())
            throw PrintError("the device cannot start a new page");
        paintPage(painter, doc.pages[i], dpi);
    }
    if (!painter.end())
        throw PrintError("the device could not finish the report");
}

QImage renderPage(const Document& doc, int page, double dpi) {
    const QSizeF sheet = doc.page.sheetMm() * (dpi / kMmPerInch);
    QImage image(sheet.toSize(), QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / kMmPerInch * 1000));
    image.setDotsPerMeterY(qRound(dpi / kMmPerInch * 1000));
    image.fill(Qt::white);
    QPainter painter(&image);
    paintPage(painter, doc.pages.at(page), dpi);
    return image;
}

void writePdf(const Document& doc, const QString& path, const QString& title) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QPdfWriter writer(path);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("VELCARIS"));
    paint(doc, writer);
}

}  // namespace printing
