#include "printing/Layout.h"

#include "printing/Paint.h"

#include <QFontMetricsF>
#include <QImage>
#include <algorithm>
#include <limits>
#include <map>

namespace printing {

namespace {

constexpr double kEpsilonMm = 1e-6;
// The page a sheet cut to its content is laid out on: longer than any roll.
constexpr double kEndlessMm = 1e9;
constexpr double kMmPerInch = 25.4;

// Texts are measured at a printer's resolution, where hinting no longer changes their widths,
// and given a little room for a device that draws them wider.
constexpr double kMeasuringDpi = 1200;
constexpr double kRoom = 0.97;

class Measure {
public:
    Measure(const Font& font, double widthMm)
        : metrics_(qtFont(font), device()), width_(widthMm / kMmPerInch * kMeasuringDpi * kRoom) {}

    bool fits(const QString& text) const { return metrics_.horizontalAdvance(text) <= width_; }

private:
    static QImage* device() {
        static QImage image = [] {
            QImage i(1, 1, QImage::Format_RGB32);
            const int dotsPerMetre = qRound(kMeasuringDpi / kMmPerInch * 1000);
            i.setDotsPerMeterX(dotsPerMetre);
            i.setDotsPerMeterY(dotsPerMetre);
            return i;
        }();
        return &image;
    }

    QFontMetricsF metrics_;
    double width_;
};

// Cuts a word too long for a line into pieces that fit (at least one character each).
QStringList pieces(const QString& word, const Measure& measure) {
    QStringList out;
    QString rest = word;
    while (!rest.isEmpty()) {
        qsizetype n = 1;
        while (n < rest.size() && measure.fits(rest.left(n + 1)))
            ++n;
        out << rest.left(n);
        rest.remove(0, n);
    }
    return out;
}

// The text in lines that fit `widthMm`, broken between words; at least one line.
QStringList wrapped(const QString& text, const Font& font, double widthMm) {
    const Measure measure(font, widthMm);
    QStringList lines;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString longer = lines.isEmpty() ? word : lines.back() + QLatin1Char(' ') + word;
        if (!lines.isEmpty() && measure.fits(longer))
            lines.back() = longer;
        else
            lines << (measure.fits(word) ? QStringList{word} : pieces(word, measure));
    }
    return lines.isEmpty() ? QStringList{QString()} : lines;
}

double topOf(const Item& item) {
    struct {
        double operator()(const Text& t) const { return t.box.top(); }
        double operator()(const Picture& p) const { return p.box.top(); }
        double operator()(const Line& l) const { return std::min(l.line.y1(), l.line.y2()); }
        double operator()(const Frame& f) const { return f.box.top(); }
    } top;
    return std::visit(top, item);
}

// How far the wrapping texts of a band push what lies below them: the lines each adds under
// the bottom of its box, the most of those ending at the same height.
class Growth {
public:
    void add(double bottom, double extra) {
        double& most = extraAt_[bottom];
        most = std::max(most, extra);
    }
    // The shift of an item whose top is at `top`.
    double below(double top) const {
        double shift = 0;
        for (const auto& [bottom, extra] : extraAt_)
            if (bottom <= top + kEpsilonMm)
                shift += extra;
        return shift;
    }
    double total() const { return below(std::numeric_limits<double>::max()); }

private:
    std::map<double, double> extraAt_;
};

// A band as placed: its elements, and its height with the lines its wrapping texts added.
struct ArrangedBand {
    std::vector<Element> elements;
    double heightMm = 0;
};

// The elements of one item moved by `at`: a text's lines one under the other.
void appendItem(std::vector<Element>& out, const Text& t, QPointF at, const QStringList& lines) {
    for (qsizetype l = 0; l < lines.size(); ++l)
        out.push_back(PlacedText{t.box.translated(at + QPointF(0, double(l) * t.box.height())),
                                 lines[l], t.font, t.align, t.color, t.framed});
}
void appendItem(std::vector<Element>& out, const Picture& p, QPointF at, const QStringList&) {
    out.emplace_back(std::in_place_type<PlacedPicture>, p.box.translated(at), p.image);
}
void appendItem(std::vector<Element>& out, const Line& l, QPointF at, const QStringList&) {
    out.emplace_back(std::in_place_type<PlacedLine>, l.line.translated(at), l.widthMm);
}
void appendItem(std::vector<Element>& out, const Frame& f, QPointF at, const QStringList&) {
    out.emplace_back(std::in_place_type<PlacedFrame>, f.box.translated(at), f.widthMm);
}

// The band with its top-left corner at `at`.
ArrangedBand arrange(const Band& band, const Context& c, QPointF at = {}) {
    // The lines of every text, computed once.
    std::vector<QStringList> lines(band.items.size());
    Growth growth;
    for (size_t i = 0; i < band.items.size(); ++i) {
        const auto* t = std::get_if<Text>(&band.items[i]);
        if (!t)
            continue;
        const QString text = t->value ? t->value(c) : QString();
        lines[i] = t->wrap ? wrapped(text, t->font, t->box.width()) : QStringList{text};
        growth.add(t->box.bottom(), double(lines[i].size() - 1) * t->box.height());
    }
    ArrangedBand out;
    for (size_t i = 0; i < band.items.size(); ++i) {
        const QPointF itemAt = at + QPointF(0, growth.below(topOf(band.items[i])));
        std::visit([&](const auto& item) { appendItem(out.elements, item, itemAt, lines[i]); },
                   band.items[i]);
    }
    out.heightMm = band.heightMm + growth.total();
    return out;
}

// One pass over the rows. A band's height depends only on its own values, so the pages break at
// the same rows whatever the page count the values are given.
class Paginator {
public:
    Paginator(const Report& report, const QDateTime& printedAt, int pageCount)
        : report_(report), printedAt_(printedAt), pageCount_(pageCount) {}

    Document run() {
        doc_.page = report_.page;
        startPage();
        place(report_.title, fullWidth());
        columnTop_ = y_;
        const int rows = report_.rows ? report_.rows->rowCount() : 0;
        for (int row = 0; row < rows; ++row)
            placeRow(row);
        placeSummary();
        finishPage();
        return std::move(doc_);
    }

private:
    const PageSetup& setup() const { return report_.page; }
    // The left edge of a band across the page, and of one in the current column.
    double fullWidth() const { return setup().marginsMm.left(); }
    double inColumn() const {
        return fullWidth() + column_ * (setup().columnWidthMm() + setup().columnGapMm);
    }
    double bottom() const {
        const double sheet = setup().fitHeight ? kEndlessMm : setup().sheetMm().height();
        return sheet - setup().marginsMm.bottom() - report_.pageFooter.heightMm;
    }
    bool fits(double height) const { return y_ + height <= bottom() + kEpsilonMm; }
    bool atColumnTop() const { return y_ <= columnTop_ + kEpsilonMm; }

    Context context() const {
        return {report_.rows.get(),     row_,       rowNumber_,
                int(doc_.pages.size()), pageCount_, printedAt_};
    }

    void placeRow(int row) {
        const int changed = firstChangedGroup(row);
        row_ = row;
        double needed = heightOf(report_.detail);
        for (size_t g = changed; g < report_.groups.size(); ++g)
            needed += heightOf(report_.groups[g].header);
        makeRoom(needed);
        for (size_t g = changed; g < report_.groups.size(); ++g)
            place(report_.groups[g].header, inColumn());
        ++rowNumber_;
        place(report_.detail, inColumn());
    }

    // The outermost group whose key differs from the previous row's; the number of groups
    // when none does.
    int firstChangedGroup(int row) {
        Context c = context();
        c.row = row;
        std::vector<QString> keys;
        for (const Group& g : report_.groups)
            keys.push_back(g.key(c));
        const auto differs =
            std::mismatch(keys.begin(), keys.end(), lastKeys_.begin(), lastKeys_.end());
        const int changed = row == 0 ? 0 : int(differs.first - keys.begin());
        lastKeys_ = std::move(keys);
        return changed;
    }

    void placeSummary() {
        if (report_.summary.heightMm <= 0)
            return;
        y_ = std::max(y_, lowestY_);
        if (!fits(heightOf(report_.summary)) && !onEmptyPage()) {
            finishPage();
            startPage();
        }
        place(report_.summary, fullWidth());
    }

    bool onEmptyPage() const { return column_ == 0 && atColumnTop(); }

    // Opens the next column, or the next page, when `height` does not fit; a band taller than
    // a whole column is placed anyway (and cut by the sheet).
    void makeRoom(double height) {
        if (fits(height) || atColumnTop())
            return;
        if (column_ + 1 < std::max(setup().columns, 1)) {
            ++column_;
            y_ = columnTop_;
            return;
        }
        finishPage();
        startPage();
    }

    void startPage() {
        doc_.pages.emplace_back();
        y_ = setup().marginsMm.top();
        place(report_.pageHeader, fullWidth());
        columnTop_ = y_;
        lowestY_ = y_;
        column_ = 0;
    }

    void finishPage() {
        y_ = setup().fitHeight ? std::max(y_, lowestY_) : bottom();
        place(report_.pageFooter, fullWidth());
        if (setup().fitHeight)
            doc_.page.paperMm.setHeight(y_ + setup().marginsMm.bottom());
    }

    // The height the band takes with the current row's values.
    double heightOf(const Band& band) const {
        return band.heightMm <= 0 ? 0 : arrange(band, context()).heightMm;
    }

    void place(const Band& band, double left) {
        if (band.heightMm <= 0)
            return;
        ArrangedBand arranged = arrange(band, context(), QPointF(left, y_));
        std::vector<Element>& elements = doc_.pages.back().elements;
        elements.insert(elements.end(), std::make_move_iterator(arranged.elements.begin()),
                        std::make_move_iterator(arranged.elements.end()));
        y_ += arranged.heightMm;
        lowestY_ = std::max(lowestY_, y_);
    }

    const Report& report_;
    const QDateTime printedAt_;
    const int pageCount_;
    Document doc_;
    double y_ = 0;
    double columnTop_ = 0;
    double lowestY_ = 0;
    int column_ = 0;
    int row_ = -1;
    int rowNumber_ = 0;
    std::vector<QString> lastKeys_;
};

}  // namespace

Document layout(const Report& report, const QDateTime& printedAt) {
    const int pageCount = Paginator(report, printedAt, 0).run().pageCount();
    return Paginator(report, printedAt, pageCount).run();
}

}  // namespace printing
