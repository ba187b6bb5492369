#include "sales/Receipts.h"

#include "core/AmountInWords.h"
#include "core/Format.h"
#include "core/Igv.h"
#include "db/Db.h"
#include "db/Settings.h"
#include "db/procedures/Checkout.h"
#include "db/procedures/SaleReads.h"
#include "einvoice/FacturaFiles.h"
#include "einvoice/QRCodeImage.h"
#include "printing/RowSource.h"

#include <QPainter>
#include <QPainterPath>
#include <memory>

namespace sales {

namespace {

using printing::Font;
using printing::Value;

const QString kIssuer = QString::fromLatin1(einvoice::FacturaFiles::kIssuer);

// The roll: 80.7 mm by 233.1 mm with 1 mm margins, so 78.7 mm to print on.
constexpr double kWidth = 78.7;
constexpr double kMmPerPoint = 25.4 / 72.0;

const Font kTitle{.points = 12, .bold = true};
const Font kOwner{.points = 8};
const Font kRuc{.points = 9, .bold = true};
const Font kHeading{.points = 10, .bold = true};
const Font kInfo{.points = 7};
const Font kInfoBold{.points = 7, .bold = true};
const Font kColumnTitle{.points = 8, .bold = true};
const Font kDetail{.points = 7};
const Font kTotalLabel{.points = 10, .bold = true};
const Font kTotalValue{.points = 12, .bold = true};
const Font kRefusal{.points = 9, .bold = true};
const Font kBlessing{.points = 7, .bold = true, .italic = true};
const Font kRule{.points = 8};

constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;
constexpr Qt::Alignment kCentre = Qt::AlignHCenter | Qt::AlignVCenter;

// A row's height for a font size: the line spacing of Arial with a little air.
double rowHeight(const Font& font) {
    return font.points * kMmPerPoint * 1.3;
}

// One text of a row, placed across [x, x + width).
struct Cell {
    double x = 0;
    double width = kWidth;
    Value value;
    Font font = kInfo;
    Qt::Alignment align = kLeft;
    bool wrap = false;  // continues on further rows under itself instead of being cut
};

Cell cell(double x, double width, const QString& text, const Font& font,
          Qt::Alignment align = kLeft) {
    return {x, width, printing::fixed(text), font, align};
}

// Stacks rows of items from the top of a band down.
class BandBuilder {
public:
    // A row as tall as its largest font.
    void row(const std::vector<Cell>& cells) {
        double height = 0;
        for (const Cell& c : cells)
            height = std::max(height, rowHeight(c.font));
        row(height, cells);
    }
    void row(double height, const std::vector<Cell>& cells) {
        for (const Cell& c : cells)
            band_.items.push_back(printing::Text{.box = QRectF(c.x, y_, c.width, height),
                                                 .value = c.value,
                                                 .font = c.font,
                                                 .align = c.align,
                                                 .wrap = c.wrap});
        y_ += height;
    }
    // The rule of dashes across the roll.
    void dashes() { row({cell(0, kWidth, QString(67, QLatin1Char('-')), kRule, kCentre)}); }
    // A drawn line across the roll.
    void line() {
        constexpr double kHeight = 1.4;
        band_.items.emplace_back(std::in_place_type<printing::Line>,
                                 QLineF(0, y_ + kHeight / 2, kWidth, y_ + kHeight / 2));
        y_ += kHeight;
    }
    // A label followed by a ruled blank to write on.
    void blank(const QString& label) {
        constexpr double kHeight = 6;
        constexpr double kLabelWidth = 15;
        band_.items.push_back(printing::Text{QRectF(0, y_ + kHeight - 4, kLabelWidth, 4),
                                             printing::fixed(label), kInfoBold,
                                             Qt::AlignLeft | Qt::AlignBottom});
        band_.items.emplace_back(
            std::in_place_type<printing::Line>,
            QLineF(kLabelWidth, y_ + kHeight - 0.6, kWidth - 2, y_ + kHeight - 0.6), 0.15);
        y_ += kHeight;
    }
    void picture(const QRectF& box, const QImage& image) {
        band_.items.push_back(printing::Picture{box.translated(0, y_), image});
    }
    void space(double height) { y_ += height; }

    printing::Band band() const {
        printing::Band b = band_;
        b.heightMm = y_;
        return b;
    }

private:
    printing::Band band_;
    double y_ = 0;
};

// A label and its text, which continues on further rows under itself when it is long.
void labelled(BandBuilder& b, const QString& label, double labelWidth, const Font& labelFont,
              const QString& text, const Font& textFont) {
    Cell value = cell(labelWidth, kWidth - labelWidth, text, textFont);
    value.wrap = true;
    b.row({cell(0, labelWidth, label, labelFont), value});
}

QString amount(core::Money m) {
    return core::fmt::thousands(m);
}

QString moneyField(const QVariant& v) {
    return amount(v.value<core::Money>());
}

// The columns of the lines: quantity, presentation, brand, price and line total.
struct Column {
    const char* name;
    const char* title;
    double x;
    double width;
    Qt::Alignment align;
    bool money;
};
constexpr Column kColumns[] = {
    {"PresCanUT", "CAN", 0, 6.5, kCentre, false},
    {"PRODUCTO", "PRESENTACION", 7, 26.5, kLeft, false},
    {"LabNombre", "LAB.", 34.5, 16.5, kLeft, false},
    {"Importe", "IMP.", 51.5, 13, kCentre, true},
    {"SUB_TOTAL", "SUB.", 64.5, 14.2, kCentre, true},
};

void columnTitles(BandBuilder& b) {
    std::vector<Cell> cells;
    for (const Column& c : kColumns)
        cells.push_back(cell(c.x, c.width, QString::fromLatin1(c.title), kColumnTitle, c.align));
    b.row(cells);
}

printing::Band detailBand() {
    std::vector<Cell> cells;
    for (const Column& c : kColumns) {
        const QString name = QString::fromLatin1(c.name);
        const printing::Format format = c.money ? moneyField : printing::Format();
        cells.push_back({c.x, c.width, printing::field(name, format), kDetail, c.align});
    }
    BandBuilder b;
    b.row(cells);
    return b.band();
}

std::shared_ptr<const printing::RowSource> detailRows(const ReceiptData& data) {
    auto rows = std::make_shared<printing::RowList>();
    for (const ReceiptLine& l : data.lines)
        rows->append({{QStringLiteral("PresCanUT"), l.PresCanUT},
                      {QStringLiteral("PRODUCTO"), l.PRODUCTO},
                      {QStringLiteral("LabNombre"), l.LabNombre},
                      {QStringLiteral("Importe"), QVariant::fromValue(l.Importe)},
                      {QStringLiteral("SUB_TOTAL"), QVariant::fromValue(l.SUB_TOTAL)}});
    return rows;
}

// Logo, business name, owner and the issuer's taxpayer number.
void shopTop(BandBuilder& b, const Shop& shop) {
    constexpr double kLogoHeight = 11;
    b.picture(QRectF(0, 0, 13, kLogoHeight), shop.logo);
    b.row(6.5, {cell(15, kWidth - 15, QStringLiteral("VELCARIS"), kTitle)});
    b.row(4.5, {cell(15, kWidth - 15, QStringLiteral("De: ") + shop.owner, kOwner)});
    b.space(1);
    b.row({cell(0, kWidth, QStringLiteral("R.U.C: ") + kIssuer, kRuc, kCentre)});
}

void printedAtRow(BandBuilder& b) {
    b.row({cell(0, 10, QStringLiteral("Fecha:"), kInfo),
           Cell{10, 40, printing::printedAt(core::fmt::shortDateLongTime), kInfo}});
}

void saleRow(BandBuilder& b, const ReceiptData& data) {
    b.row({cell(0, 10, QStringLiteral("Venta:"), kInfo),
           cell(10, 20, QString::number(data.FacNumero), kInfo),
           cell(33, 8, QStringLiteral("Caja:"), kInfo),
           cell(41, kWidth - 41, data.HOSTVENTA, kInfo)});
}

printing::PageSetup rollPaper() {
    printing::PageSetup page;
    page.paperMm = {80.7, 233.1};
    page.marginsMm = {1, 1, 1, 1};
    return page;
}

struct TaxLayout {
    QString heading;  // "BOLETA ELECTRONICA"
    QString series;   // ADOQIgv's series of the type
    QString idLabel;  // "DNI:" or "RUC:"
    QString idText;   // the customer's document number
};

printing::Band taxHeader(const TaxLayout& t, const ReceiptData& data, const CustomerData& customer,
                         const Shop& shop) {
    constexpr double kCustomerLabel = 14;
    BandBuilder b;
    shopTop(b, shop);
    b.row({cell(0, kWidth, t.heading, kHeading, kCentre)});
    b.row({cell(0, kWidth, t.series + QLatin1Char('-') + QString::number(data.FacNumSunat),
                kHeading, kCentre)});
    b.space(0.8);
    printedAtRow(b);
    saleRow(b, data);
    b.row({cell(0, kWidth, QStringLiteral("Forma de Pago:  CONTADO."), kInfo)});
    b.dashes();
    labelled(b, QStringLiteral("Cliente: "), kCustomerLabel, kInfo, customer.name.trimmed(), kInfo);
    b.row({cell(0, kCustomerLabel, t.idLabel, kInfo),
           cell(kCustomerLabel, kWidth - kCustomerLabel, t.idText, kInfo)});
    labelled(b, QStringLiteral("Direccion:"), kCustomerLabel, kInfo, customer.address.trimmed(),
             kInfo);
    b.dashes();
    columnTitles(b);
    return b.band();
}

void amountInWords(BandBuilder& b, const ReceiptData& data, const Font& words) {
    labelled(b, QStringLiteral("SON:"), 8, kInfoBold,
             core::Imprime_Soles(core::fmt::shortest(data.totalV)), words);
}

// A label and its figure, right-aligned at the roll's edge.
void figure(BandBuilder& b, const QString& label, const QString& value, const Font& labelFont,
            const Font& valueFont) {
    constexpr double kValueWidth = 20;
    b.row({cell(0, kWidth - kValueWidth - 1, label, labelFont, kRight),
           cell(kWidth - kValueWidth, kValueWidth, value, valueFont, kRight)});
}

// The rate a tax receipt splits its total with.
core::IgvRate igvRate(const ReceiptData& data) {
    if (!data.igvPercent)
        throw ReceiptError("sale " + std::to_string(data.FacNumero) +
                           ": there is no IGV rate in force");
    return core::IgvRate(*data.igvPercent);
}

printing::Band taxSummary(const ReceiptData& data, const core::IgvRate& igv, const QImage& qr) {
    constexpr double kQrSide = 18;
    BandBuilder b;
    b.dashes();
    amountInWords(b, data, kInfo);
    figure(b, QStringLiteral("N° de Artículos Entregados:"), QString::number(data.articles()),
           kInfo, kInfoBold);
    b.row({cell(0, kWidth, QStringLiteral("Op. Inafectas: 0.00"), kInfo, kRight)});
    b.row({cell(0, kWidth, QStringLiteral("Op. Exoneradas: 0.00"), kInfo, kRight)});
    const double total = data.total.toDouble();
    figure(b, QStringLiteral("Op. Gravadas:"), core::fmt::thousands(igv.base(total)), kInfo, kInfo);
    figure(b, QStringLiteral("I.G.V:"), core::fmt::thousands(igv.taxIn(total)), kInfo, kInfo);
    figure(b, QStringLiteral("TOTAL A PAGAR:"), amount(data.totalV), kTotalLabel, kTotalValue);
    b.space(1.5);
    b.picture(QRectF((kWidth - kQrSide) / 2, 0, kQrSide, kQrSide), qr);
    b.space(kQrSide + 1.5);
    b.row({cell(0, kWidth, QStringLiteral("NO SE ACEPTAN DEVOLUCIONES"), kRefusal, kCentre)});
    b.row({cell(0, kWidth, QStringLiteral("GRACIAS POR SU COMPRA...DIOS LE BENDIGA...!!!"),
                kBlessing, kCentre)});
    return b.band();
}

printing::Report taxReceipt(const TaxLayout& t, ReceiptType type, const ReceiptData& data,
                            const CustomerData& customer, const Shop& shop, const QImage& qr) {
    if (!data.carriesNumber(type))
        throw ReceiptError("sale " + std::to_string(data.FacNumero) + " carries no " +
                           facTipoSunat(type)->toStdString() + " number");
    printing::Report r;
    r.page = rollPaper();
    r.title = taxHeader(t, data, customer, shop);
    r.detail = detailBand();
    r.summary = taxSummary(data, igvRate(data), qr);
    r.rows = detailRows(data);
    return r;
}

// A discharged line as the receipt prints it: the brand cut to its first 10 characters.
ReceiptLine receiptLine(const db::proc::SaleLine& line) {
    ReceiptLine l;
    l.CodPresentacion = line.CodPresentacion;
    l.PRODUCTO = line.PresTipo;
    l.LabNombre = line.LabNombre.left(10);
    while (!l.LabNombre.isEmpty() && l.LabNombre.front() == QLatin1Char(' '))
        l.LabNombre.remove(0, 1);
    l.Importe = line.Importe;
    l.PresCanUT = line.Cantidad;
    l.SUB_TOTAL = line.SUB_TOTAL;
    return l;
}

}  // namespace

bool ReceiptData::carriesNumber(ReceiptType type) const {
    const std::optional<QString> tipo = facTipoSunat(type);
    return !tipo || (FacTipoSunat == *tipo && FacNumSunat > 0);
}

int ReceiptData::articles() const {
    int units = 0;
    for (const ReceiptLine& l : lines)
        units += l.PresCanUT;
    return units;
}

ReceiptData loadReceiptData(db::Db& db, int facNumero, const core::DateTimeRange& day) {
    ReceiptData data;
    data.FacNumero = facNumero;
    if (const std::optional<db::proc::SaleHeader> header =
            db::proc::saleHeader(db, facNumero, day)) {
        data.HOSTVENTA =
            header->FacHostName + QLatin1Char('(') + QString::number(facNumero) + QLatin1Char(')');
        data.FacTipoSunat = header->FacTipoSunat;
        data.FacNumSunat = header->FacNumSunat;
        data.dischargedAt = header->FacDescargo.isValid() ? header->FacDescargo : header->FacFecha;
    }
    for (const db::proc::SaleLine& line : db::proc::saleLines(db, facNumero, day)) {
        if (line.Estado != db::proc::kDescargado || line.Cantidad <= 0)
            continue;
        data.totalV += line.SUB_TOTAL;
        if (line.Importe > core::Money())
            data.lines.push_back(receiptLine(line));
    }
    data.total = db::proc::saleTotal(db, facNumero, day).value_or(core::Money());
    if (const std::optional<db::proc::Igv> igv = db::proc::currentIgv(db)) {
        data.serieBoleta = igv->IgvSerieBoleta;
        data.serieFactura = igv->IgvSerieFactura;
        data.igvPercent = igv->IgvValor;
    }
    return data;
}

Shop Shop::fromSettings(const db::Settings& settings) {
    Shop shop;
    shop.owner = settings.value(QStringLiteral("shop/owner"),
                                QStringLiteral("ROSA ELENA MIRANTO CASTAÑEDA"));
    shop.address = settings.value(QStringLiteral("shop/address"),
                                  QStringLiteral("AV. ESPAÑA 1520 - TRUJILLO"));
    const QString logo = settings.value(QStringLiteral("shop/logo"));
    if (!logo.isEmpty())
        shop.logo.load(logo);
    if (shop.logo.isNull())
        shop.logo = defaultLogo();
    return shop;
}

// A green pharmacy cross on white, drawn for a shop without a logo file of its own.
QImage Shop::defaultLogo() {
    QImage image(260, 220, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath cross;
    cross.addRoundedRect(QRectF(95, 15, 70, 190), 10, 10);
    cross.addRoundedRect(QRectF(35, 75, 190, 70), 10, 10);
    p.fillPath(cross.simplified(), QColor(0x1B, 0x8A, 0x3C));
    p.setPen(QPen(Qt::white, 10));
    p.drawLine(QPointF(130, 80), QPointF(130, 140));
    p.drawLine(QPointF(100, 110), QPointF(160, 110));
    return image;
}

QString boletaQrText(const ReceiptData& data, const QDate& date) {
    return QStringList{QStringLiteral("6"),
                       kIssuer,
                       QStringLiteral("1"),
                       QStringLiteral("11111111"),
                       QString::number(data.FacNumero),
                       QStringLiteral("B001-") + QString::number(data.FacNumSunat),
                       core::fmt::unpaddedIsoDate(date),
                       core::fmt::shortest(data.totalV),
                       core::fmt::shortest(data.totalV.times(igvRate(data).fraction()))}
        .join(QLatin1Char('|'));
}

QString facturaQrText(const ReceiptData& data, const QString& ruc, const QDate& date) {
    return QStringList{
        QStringLiteral("6"),
        kIssuer,
        QStringLiteral("6"),
        QString(),
        ruc.trimmed(),
        QStringLiteral("01"),
        QStringLiteral("F001-") + QString::number(data.FacNumSunat),
        core::fmt::unpaddedIsoDate(date),
        core::fmt::shortest(data.totalV.times(einvoice::FacturaFiles::kLineTaxFactor)),
        core::fmt::shortest(data.totalV)}
        .join(QLatin1Char('|'));
}

QImage storeQrPicture(einvoice::TQRCodeImage& qr, const QString& text, const QString& bmpPath) {
    qr.setText(text);
    if (!qr.isOk())
        throw ReceiptError("the QR text cannot be encoded: " + text.toStdString());
    if (!qr.saveBitmap(bmpPath))
        throw ReceiptError("the QR picture cannot be written to " + bmpPath.toStdString());
    const QImage picture(bmpPath, "BMP");
    if (picture.isNull())
        throw ReceiptError("the QR picture cannot be read from " + bmpPath.toStdString());
    return picture.convertToFormat(QImage::Format_Indexed8);
}

printing::Report QuickRep1(const ReceiptData& data, const CustomerData& customer, const Shop& shop,
                           const QImage& qr) {
    const TaxLayout t{QStringLiteral("BOLETA ELECTRONICA"), data.serieBoleta,
                      QStringLiteral("DNI:"), customer.dni.trimmed()};
    return taxReceipt(t, ReceiptType::Boleta, data, customer, shop, qr);
}

printing::Report QuickRep2(const ReceiptData& data, const CustomerData& customer, const Shop& shop,
                           const QImage& qr) {
    const TaxLayout t{QStringLiteral("FACTURA ELECTRONICA"), data.serieFactura,
                      QStringLiteral("RUC:"), customer.ruc.trimmed()};
    return taxReceipt(t, ReceiptType::Factura, data, customer, shop, qr);
}

printing::Report QuickRep3(const ReceiptData& data, const Shop& shop) {
    BandBuilder header;
    shopTop(header, shop);
    header.row({cell(0, kWidth, shop.address, kOwner, kCentre)});
    header.space(0.8);
    printedAtRow(header);
    saleRow(header, data);
    header.space(0.8);
    columnTitles(header);
    header.line();

    BandBuilder summary;
    summary.line();
    amountInWords(summary, data, kInfoBold);
    figure(summary, QStringLiteral("TOTAL:"), amount(data.totalV), kTotalLabel, kTotalValue);
    summary.blank(QStringLiteral("NOMBRE:"));
    summary.blank(QStringLiteral("DNI/RUC:"));
    summary.space(2);
    summary.row(
        {cell(0, kWidth, QStringLiteral("GRACIAS POR SU VISITA"), Font{.points = 10}, kCentre)});
    summary.row({cell(0, kWidth, QStringLiteral("ESTE NO ES UN COMPROBANTE DE VENTA"),
                      Font{.points = 6}, kCentre)});

    printing::Report r;
    r.page = rollPaper();
    r.title = header.band();
    r.detail = detailBand();
    r.summary = summary.band();
    r.rows = detailRows(data);
    return r;
}

printing::Report receiptReport(ReceiptType type, const ReceiptData& data,
                               const CustomerData& customer, const Shop& shop, const QImage& qr) {
    switch (type) {
        case ReceiptType::Boleta:
            return QuickRep1(data, customer, shop, qr);
        case ReceiptType::Factura:
            return QuickRep2(data, customer, shop, qr);
        case ReceiptType::NotaDeVenta:
            break;
    }
    return QuickRep3(data, shop);
}

}  // namespace sales
