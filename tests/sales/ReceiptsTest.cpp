#include "core/AmountInWords.h"
#include "core/DayWindow.h"
#include "db/procedures/Checkout.h"
#include "einvoice/QRCodeImage.h"
#include "printing/Layout.h"
#include "printing/Paint.h"
#include "sales/Receipts.h"
#include "support/CheckoutSeed.h"
#include "support/DbTest.h"
#include "support/Pages.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace sales;
using testsupport::money;

using testsupport::pageOf;

namespace {

const QDate kDay(2026, 3, 7);
const QDateTime kPrintedAt(kDay, QTime(9, 5, 7));
const QString kDashes(67, QLatin1Char('-'));

Shop demoShop() {
    return {QStringLiteral("ROSA MIRANTO"), QStringLiteral("AV. ESPAÑA 1520"), Shop::defaultLogo()};
}

CustomerData boxes() {
    return {QStringLiteral(" CLIENTES VARIOS "), QStringLiteral("SAUCAL - VU DEZURUZE "),
            QStringLiteral("00000000"), QStringLiteral("20481234567")};
}

QImage qrOf(const QString& text) {
    einvoice::TQRCodeImage qr;
    qr.setText(text);
    return qr.picture();
}

// Sale 25, boleta 245 (factura 31): two discharged lines adding up to 59.00.
ReceiptData sale25(const QString& type = db::proc::kBoletaDeVenta, int number = 245) {
    ReceiptData d;
    d.FacNumero = 25;
    d.HOSTVENTA = QStringLiteral("CAJA1-4(25)");
    d.FacTipoSunat = type;
    d.FacNumSunat = number;
    d.lines = {{101, QStringLiteral("PARACETAMOL 500MG"), QStringLiteral("GENFAR"), money("5.9"),
                money("11.8"), 2},
               {102, QStringLiteral("IBUPROFENO 400MG"), QStringLiteral("BAYER"), money("47.2"),
                money("47.2"), 1}};
    d.totalV = money("59");
    d.total = money("59");
    d.serieBoleta = QStringLiteral("B001");
    d.serieFactura = QStringLiteral("F001");
    d.igvPercent = 18;
    return d;
}

// The texts of a page in the order they were placed, a picture as "[picture]".
QStringList sequence(const printing::Page& page) {
    QStringList out;
    for (const printing::Element& e : page.elements) {
        if (const auto* t = std::get_if<printing::PlacedText>(&e))
            out << t->text;
        else if (std::holds_alternative<printing::PlacedPicture>(e))
            out << QStringLiteral("[picture]");
    }
    return out;
}

std::vector<printing::PlacedPicture> pictures(const printing::Document& doc) {
    std::vector<printing::PlacedPicture> out;
    for (const printing::Page& page : doc.pages)
        for (const printing::Element& e : page.elements)
            if (const auto* p = std::get_if<printing::PlacedPicture>(&e))
                out.push_back(*p);
    return out;
}

const QStringList kLines = {QStringLiteral("2"),
                            QStringLiteral("PARACETAMOL 500MG"),
                            QStringLiteral("GENFAR"),
                            QStringLiteral("5.90"),
                            QStringLiteral("11.80"),
                            QStringLiteral("1"),
                            QStringLiteral("IBUPROFENO 400MG"),
                            QStringLiteral("BAYER"),
                            QStringLiteral("47.20"),
                            QStringLiteral("47.20")};
const QStringList kColumnTitles = {QStringLiteral("CAN"), QStringLiteral("PRESENTACION"),
                                   QStringLiteral("LAB."), QStringLiteral("IMP."),
                                   QStringLiteral("SUB.")};

QStringList shopTop() {
    return {QStringLiteral("[picture]"), QStringLiteral("VELCARIS"),
            QStringLiteral("De: ROSA MIRANTO"), QStringLiteral("R.U.C: 10471829356")};
}

QStringList saleInfo() {
    return {QStringLiteral("Fecha:"), QStringLiteral("07/03/2026 9:05:07"),
            QStringLiteral("Venta:"), QStringLiteral("25"),
            QStringLiteral("Caja:"),  QStringLiteral("CAJA1-4(25)")};
}

}  // namespace

TEST(ReceiptLayouts, TheBoletaPrintsEveryLineInOrder) {
    const printing::Document doc = printing::layout(
        QuickRep1(sale25(), boxes(), demoShop(), qrOf(QStringLiteral("X"))), kPrintedAt);
    ASSERT_EQ(doc.pageCount(), 1);
    const QStringList expected =
        shopTop() + QStringList{QStringLiteral("BOLETA ELECTRONICA"), QStringLiteral("B001-245")} +
        saleInfo() +
        QStringList{QStringLiteral("Forma de Pago:  CONTADO."),
                    kDashes,
                    QStringLiteral("Cliente: "),
                    QStringLiteral("CLIENTES VARIOS"),
                    QStringLiteral("DNI:"),
                    QStringLiteral("00000000"),
                    QStringLiteral("Direccion:"),
                    QStringLiteral("SAUCAL - VU DEZURUZE"),
                    kDashes} +
        kColumnTitles + kLines +
        QStringList{kDashes,
                    QStringLiteral("SON:"),
                    QStringLiteral("CINCUENTA Y NUEVE CON 00/100 SOLES"),
                    QStringLiteral("N° de Artículos Entregados:"),
                    QStringLiteral("3"),
                    QStringLiteral("Op. Inafectas: 0.00"),
                    QStringLiteral("Op. Exoneradas: 0.00"),
                    QStringLiteral("Op. Gravadas:"),
                    QStringLiteral("50.00"),
                    QStringLiteral("I.G.V:"),
                    QStringLiteral("9.00"),
                    QStringLiteral("TOTAL A PAGAR:"),
                    QStringLiteral("59.00"),
                    QStringLiteral("[picture]"),
                    QStringLiteral("NO SE ACEPTAN DEVOLUCIONES"),
                    QStringLiteral("GRACIAS POR SU COMPRA...DIOS LE BENDIGA...!!!")};
    EXPECT_EQ(sequence(pageOf(doc, 0)), expected);
}

TEST(ReceiptLayouts, TheFacturaDiffersInHeadingSeriesCustomerAndZeros) {
    ReceiptData data = sale25(db::proc::kFactura, 31);
    data.serieFactura = QStringLiteral("F002");
    const printing::Document doc = printing::layout(
        QuickRep2(data, boxes(), demoShop(), qrOf(QStringLiteral("X"))), kPrintedAt);
    const QStringList texts = sequence(pageOf(doc, 0));
    EXPECT_EQ(texts.mid(4, 2),
              (QStringList{QStringLiteral("FACTURA ELECTRONICA"), QStringLiteral("F002-31")}));
    const qsizetype customer = texts.indexOf(QStringLiteral("Cliente: "));
    EXPECT_EQ(texts.mid(customer, 6),
              (QStringList{QStringLiteral("Cliente: "), QStringLiteral("CLIENTES VARIOS"),
                           QStringLiteral("RUC:"), QStringLiteral("20481234567"),
                           QStringLiteral("Direccion:"), QStringLiteral("SAUCAL - VU DEZURUZE")}));
    // The boleta's zeros.
    const qsizetype zeros = texts.indexOf(QStringLiteral("Op. Inafectas: 0.00"));
    ASSERT_GE(zeros, 0);
    EXPECT_EQ(texts.value(zeros + 1), QStringLiteral("Op. Exoneradas: 0.00"));
    EXPECT_FALSE(texts.join(' ').contains(QStringLiteral("00.00 ")));
    EXPECT_FALSE(texts.contains(QStringLiteral("DNI:")));
    EXPECT_EQ(texts.count(QStringLiteral("[picture]")), 2);  // logo and QR code
}

TEST(ReceiptLayouts, TheSaleNotePrintsNeitherQrNorCustomerNorTaxSplit) {
    const printing::Document doc =
        printing::layout(QuickRep3(sale25(db::proc::kNotaDeVenta, 0), demoShop()), kPrintedAt);
    const QStringList expected = shopTop() + QStringList{QStringLiteral("AV. ESPAÑA 1520")} +
                                 saleInfo() + kColumnTitles + kLines +
                                 QStringList{QStringLiteral("SON:"),
                                             QStringLiteral("CINCUENTA Y NUEVE CON 00/100 SOLES"),
                                             QStringLiteral("TOTAL:"),
                                             QStringLiteral("59.00"),
                                             QStringLiteral("NOMBRE:"),
                                             QStringLiteral("DNI/RUC:"),
                                             QStringLiteral("GRACIAS POR SU VISITA"),
                                             QStringLiteral("ESTE NO ES UN COMPROBANTE DE VENTA")};
    EXPECT_EQ(sequence(pageOf(doc, 0)), expected);
    EXPECT_EQ(pictures(doc).size(), 1u);  // the logo alone
    int lines = 0;
    for (const printing::Element& e : pageOf(doc, 0).elements)
        lines += std::holds_alternative<printing::PlacedLine>(e);
    EXPECT_EQ(lines, 4);  // under the titles, over the summary, two blanks to write on
}

TEST(ReceiptLayouts, TheTaxSplitComesFromTheSaleTotalWithTheFixedFactor) {
    struct Case {
        const char* total;
        QString base;
        QString tax;
    };
    const Case cases[] = {
        {"118", QStringLiteral("100.00"), QStringLiteral("18.00")},
        {"10", QStringLiteral("8.47"), QStringLiteral("1.53")},
        {"1234.5", QStringLiteral("1,046.19"), QStringLiteral("188.31")},
    };
    for (const Case& c : cases) {
        ReceiptData data = sale25();
        data.total = money(c.total);  // differs from what the discharged lines add up to
        const QStringList texts =
            pageOf(printing::layout(QuickRep1(data, boxes(), demoShop(), {}), kPrintedAt), 0)
                .textValues();
        EXPECT_EQ(texts.value(texts.indexOf(QStringLiteral("Op. Gravadas:")) + 1), c.base)
            << c.total;
        EXPECT_EQ(texts.value(texts.indexOf(QStringLiteral("I.G.V:")) + 1), c.tax) << c.total;
        EXPECT_EQ(texts.value(texts.indexOf(QStringLiteral("TOTAL A PAGAR:")) + 1),
                  QStringLiteral("59.00"));
    }
}

TEST(ReceiptLayouts, LongWordsAndNamesContinueOnTheNextRowsWithNothingLost) {
    ReceiptData data = sale25();
    data.totalV = money("1777777.77");
    CustomerData customer = boxes();
    customer.name = QStringLiteral("DISTRIBUIDORA FARMACEUTICA DEL NORTE SOCIEDAD ANONIMA CERRADA");
    const QStringList texts =
        pageOf(printing::layout(QuickRep1(data, customer, demoShop(), {}), kPrintedAt), 0)
            .textValues();
    const qsizetype son = texts.indexOf(QStringLiteral("SON:"));
    const qsizetype articles = texts.indexOf(QStringLiteral("N° de Artículos Entregados:"));
    const QString words = core::Imprime_Soles(QStringLiteral("1777777.77"));
    ASSERT_GT(articles - son, 2) << "the words take more than one row";
    EXPECT_EQ(texts.mid(son + 1, articles - son - 1).join(QLatin1Char(' ')), words);

    const qsizetype name = texts.indexOf(QStringLiteral("Cliente: "));
    EXPECT_EQ(texts.value(name + 1) + QLatin1Char(' ') + texts.value(name + 2), customer.name);
    EXPECT_EQ(texts.value(name + 3), QStringLiteral("DNI:"));
}

TEST(ReceiptLayouts, TheFacturaShowsTheWholeNameAndAddressAndEverythingBelowMovesDown) {
    CustomerData customer = boxes();
    customer.name = QStringLiteral(
        "CORPORACION DE DISTRIBUIDORAS FARMACEUTICAS Y DROGUERIAS UNIDAS DEL NORTE PERUANO "
        "PEÑA & HIJOS SOCIEDAD ANONIMA CERRADAS");
    customer.address = QStringLiteral(
        "AV. JOSE FAUSTINO SANCHEZ CARRION 1520 INTERIOR 4 URBANIZACION LOS JARDINES DE SAN "
        "ISIDRO – DISTRITO DE VICTOR LARCO HE.");
    ASSERT_EQ(customer.name.size(), 120);
    ASSERT_EQ(customer.address.size(), 120);
    const printing::Document doc = printing::layout(
        QuickRep2(sale25(db::proc::kFactura, 31), customer, demoShop(), qrOf(QStringLiteral("X"))),
        kPrintedAt);
    ASSERT_EQ(doc.pageCount(), 1);
    const QStringList texts = pageOf(doc, 0).textValues();
    const auto between = [&](const QString& label, const QString& next) {
        const qsizetype from = texts.indexOf(label) + 1;
        return texts.mid(from, texts.indexOf(next, from) - from);
    };
    const QStringList name = between(QStringLiteral("Cliente: "), QStringLiteral("RUC:"));
    EXPECT_GE(name.size(), 3);
    EXPECT_EQ(name.join(QLatin1Char(' ')), customer.name);
    const QStringList address = between(QStringLiteral("Direccion:"), kDashes);
    EXPECT_GE(address.size(), 3);
    EXPECT_EQ(address.join(QLatin1Char(' ')), customer.address);

    // Nothing overlaps: from the name down, a text is on the row of the one before it or starts
    // under that row.
    double rowTop = -1;
    double rowBottom = -1;
    for (const printing::PlacedText* t : pageOf(doc, 0).texts()) {
        if (t->text == QStringLiteral("Cliente: "))
            rowTop = t->rectMm.top();
        if (rowTop < 0)
            continue;
        if (!qFuzzyCompare(t->rectMm.top(), rowTop)) {
            EXPECT_GE(t->rectMm.top() + 1e-6, rowBottom) << t->text.toStdString();
            rowTop = t->rectMm.top();
        }
        rowBottom = std::max(rowBottom, t->rectMm.bottom());
    }
}

TEST(ReceiptLayouts, ATaxReceiptWithoutItsNumberIsRefused) {
    const ReceiptData note = sale25(db::proc::kNotaDeVenta, 0);
    EXPECT_THROW(QuickRep1(note, boxes(), demoShop(), {}), ReceiptError);
    EXPECT_THROW(QuickRep2(note, boxes(), demoShop(), {}), ReceiptError);
    EXPECT_NO_THROW(QuickRep3(note, demoShop()));
    // A boleta's number is no factura's.
    EXPECT_THROW(QuickRep2(sale25(), boxes(), demoShop(), {}), ReceiptError);
    EXPECT_THROW(QuickRep1(sale25(db::proc::kBoletaDeVenta, 0), boxes(), demoShop(), {}),
                 ReceiptError);
}

TEST(ReceiptQr, TheBoletasTaxFollowsTheRateAndATaxReceiptNeedsOne) {
    ReceiptData data = sale25();
    data.igvPercent = 10;
    EXPECT_TRUE(boletaQrText(data, kDay).endsWith(QStringLiteral("|59|5.9")));
    // The factura's is the fixed share of the tax files.
    EXPECT_TRUE(facturaQrText(data, QString(), kDay).endsWith(QStringLiteral("|8.9916|59")));
    data.igvPercent.reset();
    EXPECT_THROW(boletaQrText(data, kDay), ReceiptError);
    EXPECT_THROW(QuickRep1(data, boxes(), demoShop(), {}), ReceiptError);
    EXPECT_NO_THROW(QuickRep3(data, demoShop()));
}

TEST(ReceiptQr, TextsFieldByField) {
    EXPECT_EQ(boletaQrText(sale25(), kDay),
              QStringLiteral("6|10471829356|1|11111111|25|B001-245|2026-3-7|59|10.62"));
    EXPECT_EQ(facturaQrText(sale25(db::proc::kFactura, 31), QStringLiteral(" 20481234567 "), kDay),
              QStringLiteral("6|10471829356|6||20481234567|01|F001-31|2026-3-7|8.9916|59"));
    ReceiptData odd = sale25();
    odd.totalV = money("25.5");  // the amount paid, not the sale total
    odd.total = money("999");
    EXPECT_EQ(boletaQrText(odd, QDate(2026, 12, 25)),
              QStringLiteral("6|10471829356|1|11111111|25|B001-245|2026-12-25|25.5|4.59"));
    EXPECT_EQ(facturaQrText(odd, QString(), QDate(2026, 12, 25)),
              QStringLiteral("6|10471829356|6|||01|F001-245|2026-12-25|3.8862|25.5"));
}

TEST(ReceiptQr, ThePictureIsStoredAsAnEightBitBitmapAndReadBack) {
    QTemporaryDir c;
    const QString bmp = c.filePath(QStringLiteral("kzv.bmp"));
    einvoice::TQRCodeImage qr;
    const QImage picture = storeQrPicture(qr, boletaQrText(sale25(), kDay), bmp);
    EXPECT_EQ(picture.format(), QImage::Format_Indexed8);
    EXPECT_EQ(picture.size(), QSize(qr.qrSize(), qr.qrSize()));
    QFile file(bmp);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.read(30).at(28), char(8));  // bits per pixel
}

TEST(ReceiptQr, AFailureStopsAndNeverHandsOnAnOlderPicture) {
    QTemporaryDir c;
    const QString bmp = c.filePath(QStringLiteral("kzv.bmp"));
    einvoice::TQRCodeImage qr;
    storeQrPicture(qr, boletaQrText(sale25(), kDay), bmp);
    EXPECT_THROW(storeQrPicture(qr, QString(3000, QLatin1Char('x')), bmp), ReceiptError);
    EXPECT_THROW(storeQrPicture(qr, QString(3000, QLatin1Char('x')), bmp), ReceiptError);
    EXPECT_THROW(storeQrPicture(qr, boletaQrText(sale25(), kDay),
                                c.filePath(QStringLiteral("no-drive/kzv.bmp"))),
                 ReceiptError);
}

// --- What the receipts read from the database, on both engines.

namespace {

class ReceiptsOnTheDatabase : public testsupport::DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped())
            return;
        testsupport::seedIgv(db(), 1, QStringLiteral("B001"), QStringLiteral("F001"));
        testsupport::seedPresentation(db(), 101, QStringLiteral("PARACETAMOL 500MG X 100 TABLETAS"),
                                      50, QStringLiteral("LABORATORIOS GENFAR"));
        testsupport::seedPresentation(db(), 102, QStringLiteral("IBUPROFENO 400MG"), 50,
                                      QStringLiteral("BAYER"));
        testsupport::seedPresentation(db(), 103, QStringLiteral("AMOXICILINA 500MG"), 50,
                                      QStringLiteral(" PORTUGAL LABS"));
    }

    core::DateTimeRange day() const { return core::saleDay(kDay); }

    int discharge(int facNumero, const std::optional<QString>& type) {
        return db::proc::DischargeSale(db(), {facNumero, day(), 4, type}).receiptNumber;
    }

    void addPendingLine(int facNumero, int detaNumero, int codPres, const char* importe) {
        db().exec(QStringLiteral("INSERT INTO DETAFAC (FacNumero, FacFecha, DetaNumero, "
                                 "CodPresentacion, Cantidad, Importe, Costo, Estado) "
                                 "VALUES (?, ?, ?, ?, 1, ?, 0, 'NO DESCARGADO')"),
                  {facNumero, QDateTime(kDay, core::kDayFirstSecond), detaNumero, codPres,
                   QVariant::fromValue(money(importe))});
    }

    // Sale 25 of CAJA1-4, discharged as a boleta: line 1 (2 x 5.90) stays discharged, line 2
    // (1 x 20.00) is returned, and the seller then adds line 3 (106.20), still pending.
    void seedSaleWithAReturn() {
        testsupport::seedSale(db(), 25, kDay, QStringLiteral("CAJA1-4"),
                              {{101, 2, "5.90"}, {102, 1, "20"}});
        discharge(25, db::proc::kBoletaDeVenta);
        db().exec(QStringLiteral("UPDATE DETAFAC SET Estado = 'DEVUELTO' WHERE DetaNumero = 2"));
        addPendingLine(25, 3, 103, "106.20");
    }
};

}  // namespace

TEST_P(ReceiptsOnTheDatabase, OnlyDischargedLinesPrintAndEachTotalHasItsOwnLines) {
    seedSaleWithAReturn();
    const ReceiptData data = loadReceiptData(db(), 25, day());
    ASSERT_EQ(data.lines.size(), 1u);
    EXPECT_EQ(data.lines[0].CodPresentacion, 101);
    EXPECT_EQ(data.lines[0].PRODUCTO, QStringLiteral("PARACETAMOL 500MG X 100 TABLETAS"));
    EXPECT_EQ(data.lines[0].LabNombre, QStringLiteral("LABORATORI"));
    EXPECT_EQ(data.lines[0].Importe, money("5.9"));
    EXPECT_EQ(data.lines[0].SUB_TOTAL, money("11.8"));
    EXPECT_EQ(data.lines[0].PresCanUT, 2);
    EXPECT_EQ(data.totalV, money("11.80"));  // discharged lines
    EXPECT_EQ(data.total, money("118.00"));  // neither returned nor without stock
    EXPECT_EQ(data.HOSTVENTA, QStringLiteral("CAJA1-4(25)"));
    EXPECT_EQ(data.FacTipoSunat, db::proc::kBoletaDeVenta);
    EXPECT_EQ(data.FacNumSunat, 1);
    EXPECT_TRUE(data.carriesNumber(ReceiptType::Boleta));
    EXPECT_FALSE(data.carriesNumber(ReceiptType::Factura));
}

TEST_P(ReceiptsOnTheDatabase, IdenticalLinesEachPrintAndBrandsAreCutToTenCharacters) {
    testsupport::seedSale(db(), 7, kDay, QStringLiteral("CAJA2-5"),
                          {{102, 1, "3.50"}, {102, 1, "3.50"}, {103, 1, "2"}, {101, 1, "0"}});
    discharge(7, std::nullopt);
    const ReceiptData data = loadReceiptData(db(), 7, day());
    ASSERT_EQ(data.lines.size(), 3u);  // the line of price 0 does not print
    EXPECT_EQ(data.lines[0].LabNombre, QStringLiteral("BAYER"));
    EXPECT_EQ(data.lines[1].LabNombre, QStringLiteral("BAYER"));
    EXPECT_EQ(data.lines[2].LabNombre, QStringLiteral("PORTUGAL "));  // " PORTUGAL " left-trimmed
    EXPECT_EQ(data.articles(), 3);
    EXPECT_EQ(data.totalV, money("9"));
    EXPECT_EQ(data.FacTipoSunat, db::proc::kNotaDeVenta);
    EXPECT_EQ(data.FacNumSunat, 0);
    EXPECT_TRUE(data.carriesNumber(ReceiptType::NotaDeVenta));
    EXPECT_FALSE(data.carriesNumber(ReceiptType::Boleta));
}

TEST_P(ReceiptsOnTheDatabase, ALineWhosePresentationIsGonePrintsBlankAndKeepsItsMoney) {
    testsupport::seedSale(db(), 7, kDay, QStringLiteral("CAJA2-5"),
                          {{102, 2, "3.50"}, {103, 1, "2"}});
    discharge(7, db::proc::kBoletaDeVenta);
    db().exec(QStringLiteral("DELETE FROM PRESENTACION WHERE CodPresentacion = ?"), {102});
    const ReceiptData data = loadReceiptData(db(), 7, day());
    ASSERT_EQ(data.lines.size(), 2u);
    EXPECT_EQ(data.lines[0].CodPresentacion, 102);
    EXPECT_TRUE(data.lines[0].PRODUCTO.isEmpty());
    EXPECT_TRUE(data.lines[0].LabNombre.isEmpty());
    EXPECT_EQ(data.lines[0].SUB_TOTAL, money("7"));
    EXPECT_EQ(data.lines[1].PRODUCTO, QStringLiteral("AMOXICILINA 500MG"));
    EXPECT_EQ(data.totalV, money("9"));
    EXPECT_EQ(data.articles(), 3);
}

TEST_P(ReceiptsOnTheDatabase, SeriesAndRateComeFromTheIgvRowInForceAndOtherDaysDoNotCount) {
    testsupport::seedIgv(db(), 3, QStringLiteral("B002"), QStringLiteral("F009"));
    testsupport::seedIgv(db(), 2, QStringLiteral("B003"), QStringLiteral("F003"));
    db().exec(QStringLiteral("UPDATE IGV SET IgvValor = 16 WHERE IgvCod = 3"));
    testsupport::seedSale(db(), 25, kDay.addDays(-1), QStringLiteral("CAJA1-4"), {{101, 9, "1"}});
    discharge(25, std::nullopt);
    const ReceiptData data = loadReceiptData(db(), 25, day());
    // The highest code is in force, not the highest series nor the row written last.
    EXPECT_EQ(data.serieBoleta, QStringLiteral("B002"));
    EXPECT_EQ(data.serieFactura, QStringLiteral("F009"));
    EXPECT_EQ(data.igvPercent, std::optional<double>(16));
    EXPECT_TRUE(data.lines.empty());
    EXPECT_TRUE(data.totalV.isZero());
    EXPECT_TRUE(data.HOSTVENTA.isEmpty());
}

// --- End to end: from the database to the PDF a customer gets.

namespace {

bool haveTools() {
    for (const char* tool : {"pdftotext", "pdftoppm", "zbarimg"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            return false;
    return true;
}

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    EXPECT_TRUE(p.waitForFinished(60000)) << program.toStdString();
    EXPECT_EQ(p.exitCode(), 0) << program.toStdString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString pdfText(const QString& pdf) {
    return run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
}

// The lines of the text that contain `label`, spaces simplified.
QStringList linesWith(const QString& text, const QString& label) {
    QStringList out;
    for (const QString& line : text.split(QLatin1Char('\n')))
        if (line.contains(label))
            out << line.simplified();
    return out;
}

// The QR picture of page 1 as a reader scans it: the page rasterised at 300 dpi, the symbol's box
// cut out and padded with white.
QString scanQr(const QString& pdf, const QRectF& boxMm, const QString& folder) {
    constexpr double kDpi = 300;
    run(QStringLiteral("pdftoppm"),
        {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(kDpi),
         QStringLiteral("-singlefile"), pdf, folder + QStringLiteral("/page")});
    const QImage page(folder + QStringLiteral("/page.png"));
    const double px = kDpi / 25.4;
    const QRect box(QPoint(qRound(boxMm.left() * px), qRound(boxMm.top() * px)),
                    QPoint(qRound(boxMm.right() * px), qRound(boxMm.bottom() * px)));
    constexpr int kBorder = 40;
    QImage padded(box.size() + QSize(2 * kBorder, 2 * kBorder), QImage::Format_RGB32);
    padded.fill(Qt::white);
    QPainter(&padded).drawImage(kBorder, kBorder, page.copy(box));
    const QString scan = folder + QStringLiteral("/scan.png");
    padded.save(scan);
    return run(QStringLiteral("zbarimg"), {QStringLiteral("--raw"), QStringLiteral("-q"), scan})
        .trimmed();
}

}  // namespace

TEST_P(ReceiptsOnTheDatabase, ThePrintedBoletaShowsWhatWasDischargedAndItsQrReadsBack) {
    if (!haveTools())
        GTEST_SKIP() << "poppler-utils or zbar-tools are not installed";
    seedSaleWithAReturn();
    QTemporaryDir out;
    const ReceiptData data = loadReceiptData(db(), 25, day());
    einvoice::TQRCodeImage qr;
    const QString qrText = boletaQrText(data, kDay);
    const QImage picture = storeQrPicture(qr, qrText, out.filePath(QStringLiteral("kzv.bmp")));
    CustomerData customer = boxes();
    customer.dni.clear();
    const printing::Document doc =
        printing::layout(QuickRep1(data, customer, demoShop(), picture), kPrintedAt);
    const QString pdf = out.filePath(QStringLiteral("boleta.pdf"));
    printing::writePdf(doc, pdf);

    const QString text = pdfText(pdf);
    EXPECT_EQ(linesWith(text, QStringLiteral("TOTAL A PAGAR:")),
              QStringList{QStringLiteral("TOTAL A PAGAR: 11.80")});
    EXPECT_EQ(linesWith(text, QStringLiteral("Op. Gravadas:")),
              QStringList{QStringLiteral("Op. Gravadas: 100.00")});
    EXPECT_EQ(linesWith(text, QStringLiteral("I.G.V:")),
              QStringList{QStringLiteral("I.G.V: 18.00")});
    EXPECT_EQ(linesWith(text, QStringLiteral("SON:")),
              QStringList{QStringLiteral("SON: ONCE CON 80/100 SOLES")});
    EXPECT_EQ(linesWith(text, QStringLiteral("B001")), QStringList{QStringLiteral("B001-1")});
    EXPECT_EQ(linesWith(text, QStringLiteral("DNI:")), QStringList{QStringLiteral("DNI:")});
    EXPECT_EQ(linesWith(text, QStringLiteral("LABORATORI")).size(), 1);
    EXPECT_FALSE(text.contains(QStringLiteral("LABORATORIO")));
    EXPECT_FALSE(text.contains(QStringLiteral("IBUPROFENO")));   // returned
    EXPECT_FALSE(text.contains(QStringLiteral("AMOXICILINA")));  // not discharged yet

    const std::vector<printing::PlacedPicture> shown = pictures(doc);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(scanQr(pdf, shown[1].rectMm, out.path()), qrText);
}

TEST_P(ReceiptsOnTheDatabase, ThePrintedFacturaQrReadsBackWithTheCustomersRuc) {
    if (!haveTools())
        GTEST_SKIP() << "poppler-utils or zbar-tools are not installed";
    testsupport::seedSale(db(), 31, kDay, QStringLiteral("CAJA1-4"), {{102, 5, "11.80"}});
    discharge(31, db::proc::kFactura);
    QTemporaryDir out;
    const ReceiptData data = loadReceiptData(db(), 31, day());
    einvoice::TQRCodeImage qr;
    const QString qrText = facturaQrText(data, boxes().ruc, kDay);
    EXPECT_EQ(qrText, QStringLiteral("6|10471829356|6||20481234567|01|F001-1|2026-3-7|8.9916|59"));
    const QImage picture = storeQrPicture(qr, qrText, out.filePath(QStringLiteral("kzv.bmp")));
    const printing::Document doc =
        printing::layout(QuickRep2(data, boxes(), demoShop(), picture), kPrintedAt);
    const QString pdf = out.filePath(QStringLiteral("factura.pdf"));
    printing::writePdf(doc, pdf);

    const QString text = pdfText(pdf);
    EXPECT_EQ(linesWith(text, QStringLiteral("RUC:")),
              QStringList{QStringLiteral("RUC: 20481234567")});
    EXPECT_EQ(linesWith(text, QStringLiteral("F001")), QStringList{QStringLiteral("F001-1")});
    EXPECT_EQ(scanQr(pdf, pictures(doc)[1].rectMm, out.path()), qrText);
}

TEST_P(ReceiptsOnTheDatabase, ThePrintedSaleNoteCarriesNoCustomerAndNoQr) {
    if (!haveTools())
        GTEST_SKIP() << "poppler-utils or zbar-tools are not installed";
    testsupport::seedSale(db(), 9, kDay, QStringLiteral("CAJA1-4"), {{101, 1, "118"}});
    discharge(9, std::nullopt);
    QTemporaryDir out;
    const printing::Document doc =
        printing::layout(QuickRep3(loadReceiptData(db(), 9, day()), demoShop()), kPrintedAt);
    const QString pdf = out.filePath(QStringLiteral("nota.pdf"));
    printing::writePdf(doc, pdf);

    const QString text = pdfText(pdf);
    EXPECT_EQ(linesWith(text, QStringLiteral("TOTAL:")),
              QStringList{QStringLiteral("TOTAL: 118.00")});
    EXPECT_EQ(linesWith(text, QStringLiteral("SON:")),
              QStringList{QStringLiteral("SON: CIENTO DIECIOCHO CON 00/100 SOLES")});
    for (const char* absent :
         {"Cliente", "DNI:", "Direccion", "Op. ", "I.G.V", "BOLETA", "CLIENTES VARIOS"})
        EXPECT_FALSE(text.contains(QString::fromLatin1(absent))) << absent;
    EXPECT_EQ(linesWith(text, QStringLiteral("RUC:")), QStringList{QStringLiteral("DNI/RUC:")});
    EXPECT_TRUE(text.contains(QStringLiteral("ESTE NO ES UN COMPROBANTE DE VENTA")));
    EXPECT_EQ(pictures(doc).size(), 1u);
}

VELCARIS_DB_TEST_SUITE(ReceiptsOnTheDatabase);
