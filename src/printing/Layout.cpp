#include "printing/Layout.h"

#include <algorithm>

namespace printing {

namespace {

constexpr double kEpsilonMm = 1e-6;

// One pass over the rows. Bands have fixed heights, so the pages break at the same rows
// whatever the page count the values are given.
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
        return setup().sheetMm().height() - setup().marginsMm.bottom() -
               report_.pageFooter.heightMm;
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
        double needed = report_.detail.heightMm;
        for (size_t g = changed; g < report_.groups.size(); ++g)
            needed += report_.groups[g].header.heightMm;
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
        if (!fits(report_.summary.heightMm) && !onEmptyPage()) {
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
        y_ = bottom();
        place(report_.pageFooter, fullWidth());
    }

    void place(const Band& band, double left) {
        if (band.heightMm <= 0)
            return;
        const QPointF at(left, y_);
        const Context c = context();
        Page& page = doc_.pages.back();
        for (const Item& item : band.items)
            page.elements.push_back(
                std::visit([&](const auto& i) { return placed(i, at, c); }, item));
        y_ += band.heightMm;
        lowestY_ = std::max(lowestY_, y_);
    }

    static Element placed(const Text& t, QPointF at, const Context& c) {
        return PlacedText{t.box.translated(at),
                          t.value ? t.value(c) : QString(),
                          t.font,
                          t.align,
                          t.color,
                          t.framed};
    }
    static Element placed(const Picture& p, QPointF at, const Context&) {
        return PlacedPicture{p.box.translated(at), p.image};
    }
    static Element placed(const Line& l, QPointF at, const Context&) {
        return PlacedLine{l.line.translated(at), l.widthMm};
    }
    static Element placed(const Frame& f, QPointF at, const Context&) {
        return PlacedFrame{f.box.translated(at), f.widthMm};
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
