#include "SampleReport.h"
#include "printing/Layout.h"
#include "printing/Paint.h"
#include "support/Pages.h"

#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QSqlDatabase>
#include <QSqlQuery>

using namespace printing;

using testsupport::pageOf;

namespace {

const QDateTime kAt(QDate(2026, 3, 7), QTime(9, 5, 7));

QStringList strings(std::initializer_list<const char*> texts) {
    QStringList out;
    for (const char* t : texts)
        out << QString::fromUtf8(t);
    return out;
}

const PlacedText& textNamed(const Page& page, const QString& value) {
    for (const PlacedText* t : page.texts())
        if (t->text == value)
            return *t;
    throw std::runtime_error("no text " + value.toStdString());
}

Text groupText(const QString& label, const QString& column) {
    return sample::text(concat({fixed(label), field(column)}));
}

}  // namespace

TEST(ReportLayout, DetailRowsOverflowIntoThreePagesNumberedOfThree) {
    const Document doc = layout(sample::listing(sample::items(14)), kAt);
    ASSERT_EQ(doc.pageCount(), 3);
    EXPECT_EQ(pageOf(doc, 0).textValues(),
              strings({"LISTADO", "REPORTE DE PRUEBA", "1", "ITEM 01", "2", "ITEM 02", "3",
                       "ITEM 03", "4", "ITEM 04", "5", "ITEM 05", "Pág. Nº: 1 de 3"}));
    EXPECT_EQ(pageOf(doc, 1).textValues(),
              strings({"LISTADO", "6", "ITEM 06", "7", "ITEM 07", "8", "ITEM 08", "9", "ITEM 09",
                       "10", "ITEM 10", "11", "ITEM 11", "Pág. Nº: 2 de 3"}));
    EXPECT_EQ(pageOf(doc, 2).textValues(),
              strings({"LISTADO", "12", "ITEM 12", "13", "ITEM 13", "14", "ITEM 14", "FILAS: 14",
                       "Pág. Nº: 3 de 3"}));

    // Bands stack from the top margin; the footer sits on the bottom margin.
    EXPECT_EQ(textNamed(pageOf(doc, 1), QStringLiteral("LISTADO")).rectMm, QRectF(10, 10, 60, 10));
    EXPECT_EQ(textNamed(pageOf(doc, 1), QStringLiteral("ITEM 06")).rectMm, QRectF(20, 20, 60, 10));
    EXPECT_EQ(textNamed(pageOf(doc, 1), QStringLiteral("ITEM 11")).rectMm, QRectF(20, 70, 60, 10));
    EXPECT_EQ(textNamed(pageOf(doc, 1), QStringLiteral("Pág. Nº: 2 de 3")).rectMm,
              QRectF(10, 80, 80, 10));
    EXPECT_EQ(textNamed(pageOf(doc, 2), QStringLiteral("FILAS: 14")).rectMm,
              QRectF(10, 50, 60, 10));
}

TEST(ReportLayout, ASheetFittedToItsContentEndsBelowItsLastBandWhateverTheRows) {
    Report r = sample::listing(sample::items(1));
    r.page.fitHeight = true;
    const Document one = layout(r, kAt);
    ASSERT_EQ(one.pageCount(), 1);
    // Margin, page header, title, one row, summary and footer, margin.
    EXPECT_DOUBLE_EQ(one.page.paperMm.height(), 70);
    EXPECT_EQ(textNamed(pageOf(one, 0), QStringLiteral("Pág. Nº: 1 de 1")).rectMm,
              QRectF(10, 50, 80, 10));
    EXPECT_DOUBLE_EQ(one.page.paperMm.width(), 100);

    r.rows = sample::items(14);  // three pages of the paper's height
    const Document long_ = layout(r, kAt);
    ASSERT_EQ(long_.pageCount(), 1);
    EXPECT_DOUBLE_EQ(long_.page.paperMm.height(), 200);
    EXPECT_EQ(textNamed(pageOf(long_, 0), QStringLiteral("FILAS: 14")).rectMm,
              QRectF(10, 170, 60, 10));

    r.rows = sample::items(0);  // the bands without rows
    EXPECT_DOUBLE_EQ(layout(r, kAt).page.paperMm.height(), 60);
}

TEST(ReportLayout, ReportWithoutRowsPrintsItsBandsOnOnePage) {
    const Document doc = layout(sample::listing(sample::items(0)), kAt);
    ASSERT_EQ(doc.pageCount(), 1);
    EXPECT_EQ(pageOf(doc, 0).textValues(),
              strings({"LISTADO", "REPORTE DE PRUEBA", "FILAS: 0", "Pág. Nº: 1 de 1"}));

    Report noSource = sample::listing(nullptr);
    EXPECT_EQ(pageOf(layout(noSource, kAt), 0).textValues(), pageOf(doc, 0).textValues());
}

TEST(ReportLayout, SummaryThatDoesNotFitOpensAPageOfItsOwn) {
    // Five rows fill the first page exactly.
    const Document doc = layout(sample::listing(sample::items(5)), kAt);
    ASSERT_EQ(doc.pageCount(), 2);
    EXPECT_EQ(pageOf(doc, 1).textValues(), strings({"LISTADO", "FILAS: 5", "Pág. Nº: 2 de 2"}));
    EXPECT_EQ(textNamed(pageOf(doc, 1), QStringLiteral("FILAS: 5")).rectMm.top(), 20);
}

TEST(ReportLayout, SummarySeesTheLastRowAndFieldsFormatTheirValues) {
    Report r = sample::listing(sample::items(3));
    r.summary = sample::band({sample::text(field(QStringLiteral("CANTIDAD"), [](const QVariant& v) {
        return QStringLiteral("ULTIMA: %1").arg(v.toInt() * 10);
    }))});
    r.title = sample::band({sample::text(printedAt(
        [](const QDateTime& at) { return at.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")); }))});
    const Page page = pageOf(layout(r, kAt), 0);
    EXPECT_TRUE(page.textValues().contains(QStringLiteral("ULTIMA: 30")));
    EXPECT_TRUE(page.textValues().contains(QStringLiteral("07/03/2026 09:05:07")));
}

TEST(ReportLayout, GroupHeaderOpensEachChangeOfKeyAndKeepsWithItsRow) {
    Report r = sample::listing(
        sample::items(6, {QStringLiteral("A"), QStringLiteral("A"), QStringLiteral("A"),
                          QStringLiteral("B"), QStringLiteral("B"), QStringLiteral("C")}));
    r.groups.push_back(
        {field(QStringLiteral("GRUPO")),
         sample::band({groupText(QStringLiteral("GRUPO: "), QStringLiteral("GRUPO"))})});
    r.detail = sample::band({sample::text(field(QStringLiteral("NOMBRE")))});
    const Document doc = layout(r, kAt);

    // Header A and its three rows fill four of the first page's five places; header B would
    // take the last one alone, so it opens the second page with its first row.
    ASSERT_EQ(doc.pageCount(), 2);
    EXPECT_EQ(pageOf(doc, 0).textValues(),
              strings({"LISTADO", "REPORTE DE PRUEBA", "GRUPO: A", "ITEM 01", "ITEM 02", "ITEM 03",
                       "Pág. Nº: 1 de 2"}));
    EXPECT_EQ(pageOf(doc, 1).textValues(),
              strings({"LISTADO", "GRUPO: B", "ITEM 04", "ITEM 05", "GRUPO: C", "ITEM 06",
                       "FILAS: 6", "Pág. Nº: 2 de 2"}));
}

TEST(ReportLayout, OuterGroupChangeRepeatsTheInnerHeader) {
    auto rows = std::make_shared<RowList>();
    for (const auto& [zona, grupo, nombre] :
         {std::tuple{"N", "A", "R1"}, {"N", "B", "R2"}, {"S", "B", "R3"}, {"S", "B", "R4"}})
        rows->append({{QStringLiteral("ZONA"), QString::fromLatin1(zona)},
                      {QStringLiteral("GRUPO"), QString::fromLatin1(grupo)},
                      {QStringLiteral("NOMBRE"), QString::fromLatin1(nombre)}});
    Report r = sample::listing(rows);
    r.page.paperMm = {100, 300};
    r.title = {};
    r.groups.push_back(
        {field(QStringLiteral("ZONA")),
         sample::band({groupText(QStringLiteral("ZONA "), QStringLiteral("ZONA"))})});
    r.groups.push_back(
        {field(QStringLiteral("GRUPO")),
         sample::band({groupText(QStringLiteral("GRUPO "), QStringLiteral("GRUPO"))})});
    r.detail = sample::band({sample::text(field(QStringLiteral("NOMBRE")))});
    EXPECT_EQ(pageOf(layout(r, kAt), 0).textValues(),
              strings({"LISTADO", "ZONA N", "GRUPO A", "R1", "GRUPO B", "R2", "ZONA S", "GRUPO B",
                       "R3", "R4", "FILAS: 4", "Pág. Nº: 1 de 1"}));
}

TEST(ReportLayout, DetailsFlowDownColumnsThenPages) {
    Report r = sample::listing(sample::items(12));
    r.page.columns = 2;
    r.page.columnGapMm = 4;  // columns 38 mm wide, at 10 and 52 mm
    r.detail = sample::band({sample::text(field(QStringLiteral("NOMBRE")), 0, 38)});
    const Document doc = layout(r, kAt);

    ASSERT_EQ(doc.pageCount(), 2);  // 5 + 5 rows on the first page, 2 on the second
    EXPECT_EQ(textNamed(pageOf(doc, 0), QStringLiteral("ITEM 05")).rectMm, QRectF(10, 70, 38, 10));
    EXPECT_EQ(textNamed(pageOf(doc, 0), QStringLiteral("ITEM 06")).rectMm, QRectF(52, 30, 38, 10));
    EXPECT_EQ(textNamed(pageOf(doc, 0), QStringLiteral("ITEM 10")).rectMm, QRectF(52, 70, 38, 10));
    EXPECT_EQ(textNamed(pageOf(doc, 1), QStringLiteral("ITEM 11")).rectMm, QRectF(10, 20, 38, 10));
    // The summary spans the page under the lowest column.
    EXPECT_EQ(textNamed(pageOf(doc, 1), QStringLiteral("FILAS: 12")).rectMm,
              QRectF(10, 40, 60, 10));
}

TEST(ReportLayout, LandscapeTurnsTheSheet) {
    Report r = sample::listing(sample::items(1));
    r.page.paperMm = {100, 200};
    r.page.orientation = QPageLayout::Landscape;
    const Document doc = layout(r, kAt);
    EXPECT_EQ(doc.page.sheetMm(), QSizeF(200, 100));
    EXPECT_EQ(textNamed(pageOf(doc, 0), QStringLiteral("Pág. Nº: 1 de 1")).rectMm.top(), 80);
}

TEST(ReportLayout, PicturesLinesAndFramesKeepTheirPlaceInTheBand) {
    QImage dot(3, 3, QImage::Format_RGB32);
    dot.fill(Qt::black);
    Report r = sample::listing(sample::items(0));
    r.summary = Band{
        20, {Picture{{30, 1, 18, 17.5}, dot}, Line{{0, 0, 80, 0}, 0.3}, Frame{{0, 2, 80, 16}}}};
    const Page page = pageOf(layout(r, kAt), 0);
    std::vector<QRectF> pictures, frames;
    std::vector<QLineF> lines;
    for (const Element& e : page.elements) {
        if (const auto* p = std::get_if<PlacedPicture>(&e))
            pictures.push_back(p->rectMm);
        if (const auto* f = std::get_if<PlacedFrame>(&e))
            frames.push_back(f->rectMm);
        if (const auto* l = std::get_if<PlacedLine>(&e))
            lines.push_back(l->lineMm);
    }
    EXPECT_EQ(pictures, std::vector<QRectF>{QRectF(40, 31, 18, 17.5)});
    EXPECT_EQ(lines, std::vector<QLineF>{QLineF(10, 30, 90, 30)});
    EXPECT_EQ(frames, std::vector<QRectF>{QRectF(10, 32, 80, 16)});
}

TEST(ReportLayout, LongTextIsClippedToItsBox) {
    Report r = sample::listing(sample::items(0));
    const QString longText(200, QLatin1Char('W'));
    r.summary = sample::band({Text{
        .box = {20, 0, 20, 10}, .value = fixed(longText), .font = {.points = 12, .bold = true}}});
    const Document doc = layout(r, kAt);
    const PlacedText& placed = textNamed(pageOf(doc, 0), longText);
    EXPECT_EQ(placed.rectMm, QRectF(30, 30, 20, 10));  // the box does not grow

    // Ink inside the box, none beside it on the same line (10 pixels a millimetre).
    const QImage page = renderPage(doc, 0, 254);
    auto inkIn = [&](double leftMm, double rightMm) {
        int dark = 0;
        for (int y = 300; y < 400; ++y)
            for (int x = int(leftMm * 10); x < int(rightMm * 10); ++x)
                dark += qGray(page.pixel(x, y)) < 128;
        return dark;
    };
    EXPECT_GT(inkIn(30, 50), 100);
    EXPECT_EQ(inkIn(50.2, 100), 0);
    EXPECT_EQ(inkIn(0, 29.8), 0);
}

// The texts of a page after `after`, up to the one before `next`.
QStringList textsBetween(const Page& page, const QString& after, const QString& next) {
    const QStringList all = page.textValues();
    const qsizetype from = all.indexOf(after) + 1;
    return all.mid(from, all.indexOf(next, from) - from);
}

TEST(ReportLayout, AWrappingTextTakesTheLinesItNeedsAndPushesWhatLiesBelowIt) {
    const QString words = QStringLiteral("UNO DOS TRES CUATRO CINCO SEIS SIETE OCHO NUEVE DIEZ");
    Report r = sample::listing(sample::items(1));
    const Font font{.points = 8};
    r.title = Band{20,
                   {Text{.box = {0, 0, 30, 5}, .value = fixed(words), .font = font, .wrap = true},
                    sample::text(fixed(QStringLiteral("AL LADO")), 40), Line{{0, 5, 80, 5}},
                    Text{.box = {0, 10, 60, 5}, .value = fixed(QStringLiteral("DEBAJO"))}}};
    const Page page = pageOf(layout(r, kAt), 0);

    const QStringList lines =
        textsBetween(page, QStringLiteral("LISTADO"), QStringLiteral("AL LADO"));
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines.join(QLatin1Char(' ')), words);
    const double extra = 5.0 * double(lines.size() - 1);
    // Each line fits its box as the page is painted (10 pixels a millimetre).
    QImage device(1, 1, QImage::Format_RGB32);
    device.setDotsPerMeterX(10000);
    const QFontMetricsF metrics(qtFont(font), &device);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(textNamed(page, lines[i]).rectMm, QRectF(10, 20 + 5.0 * double(i), 30, 5));
        EXPECT_LE(metrics.horizontalAdvance(lines[i]), 300) << lines[i].toStdString();
    }
    // Beside the box nothing moves; under it everything moves by the added lines, and so does
    // the next band.
    EXPECT_EQ(textNamed(page, QStringLiteral("AL LADO")).rectMm, QRectF(50, 20, 60, 10));
    for (const Element& e : page.elements) {
        if (const auto* l = std::get_if<PlacedLine>(&e)) {
            EXPECT_EQ(l->lineMm, QLineF(10, 25 + extra, 90, 25 + extra));
        }
    }
    EXPECT_EQ(textNamed(page, QStringLiteral("DEBAJO")).rectMm, QRectF(10, 30 + extra, 60, 5));
    EXPECT_EQ(textNamed(page, QStringLiteral("ITEM 01")).rectMm.top(), 40 + extra);
}

TEST(ReportLayout, AGrownRowThatNoLongerFitsOpensThePageAndAWordTooLongIsCutNotLost) {
    // 24 one-line rows leave 10 mm above the footer of a 300 mm sheet: room for one more line.
    auto rows = std::make_shared<RowList>();
    for (int i = 0; i < 24; ++i)
        rows->append({{QStringLiteral("NOMBRE"), QStringLiteral("R")}});
    const QString longWord(40, QLatin1Char('W'));
    rows->append({{QStringLiteral("NOMBRE"), QStringLiteral("B %1 C").arg(longWord)}});
    rows->append({{QStringLiteral("NOMBRE"), QStringLiteral("D")}});
    Report r = sample::listing(rows);
    r.page.paperMm = {100, 300};
    r.detail = sample::band(
        {Text{.box = {10, 0, 30, 10}, .value = field(QStringLiteral("NOMBRE")), .wrap = true}});
    const Document doc = layout(r, kAt);

    ASSERT_EQ(doc.pageCount(), 2);
    EXPECT_EQ(pageOf(doc, 0).textValues().count(QStringLiteral("R")), 24);
    const QStringList grown =
        textsBetween(pageOf(doc, 1), QStringLiteral("LISTADO"), QStringLiteral("D"));
    ASSERT_GE(grown.size(), 4);  // "B", the word in pieces, "C"
    EXPECT_EQ(grown.front(), QStringLiteral("B"));
    EXPECT_EQ(grown.back(), QStringLiteral("C"));
    EXPECT_EQ(grown.mid(1, grown.size() - 2).join(QString()), longWord);
    EXPECT_EQ(textNamed(pageOf(doc, 1), QStringLiteral("B")).rectMm, QRectF(20, 20, 30, 10));
    EXPECT_EQ(textNamed(pageOf(doc, 1), QStringLiteral("D")).rectMm.top(),
              20 + 10.0 * double(grown.size()));
    EXPECT_EQ(pageOf(doc, 1).textValues().last(), QStringLiteral("Pág. Nº: 2 de 2"));
}

TEST(ReportLayout, QueryRowsReadColumnsWhateverTheirCase) {
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("printing-rows"));
        db.setDatabaseName(QStringLiteral(":memory:"));
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec(QStringLiteral(
            "SELECT 'A' AS prestipo, 2 AS prescanut UNION ALL SELECT 'B', 5 ORDER BY 1")));
        const QueryRows rows(q);
        EXPECT_EQ(rows.rowCount(), 2);
        EXPECT_EQ(rows.value(1, QStringLiteral("PresTipo")).toString(), QStringLiteral("B"));
        EXPECT_EQ(rows.value(0, QStringLiteral("PRESCANUT")).toInt(), 2);
        EXPECT_FALSE(rows.value(2, QStringLiteral("PresTipo")).isValid());
    }
    QSqlDatabase::removeDatabase(QStringLiteral("printing-rows"));
}
