#pragma once

#include "core/DayWindow.h"
#include "core/Money.h"
#include "printing/Report.h"
#include "sales/ReceiptOutput.h"

#include <QDate>
#include <QDateTime>
#include <QImage>
#include <QString>
#include <optional>
#include <stdexcept>
#include <vector>

namespace db {
class Db;
class Settings;
}  // namespace db
namespace einvoice {
class TQRCodeImage;
}

// The customer's receipts of a discharged sale: what they print, read from the database, and
// their three layouts on the 80 mm roll.
namespace sales {

// A receipt that cannot be made: no number for a tax receipt, a QR code that cannot be encoded,
// a picture file that cannot be written.
class ReceiptError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One printed line (QImprime): a discharged line of positive quantity and price.
struct ReceiptLine {
    int CodPresentacion = 0;
    QString PRODUCTO;   // the presentation text
    QString LabNombre;  // the first 10 characters of the brand
    core::Money Importe;
    core::Money SUB_TOTAL;
    int PresCanUT = 0;  // the quantity
};

// Everything a receipt prints of one sale of one day.
struct ReceiptData {
    int FacNumero = 0;
    QString HOSTVENTA;               // seller's workstation tag and sale number: "CAJA1-4(25)"
    QString FacTipoSunat;            // the receipt type the sale was discharged as
    int FacNumSunat = 0;             // its receipt number; 0 for none
    QDateTime dischargedAt;          // its last discharge; when the sale was opened for older
                                     // sales, invalid without a header
    std::vector<ReceiptLine> lines;  // QImprime, in line order
    core::Money totalV;              // QTotalV: what the discharged lines add up to
    core::Money total;               // QTotal: lines neither returned nor without stock
    QString serieBoleta;             // the series of the IGV row in force
    QString serieFactura;
    std::optional<double> igvPercent;  // its rate in percent; none without one

    // True when the sale carries a receipt number of the type (always for a sale note).
    bool carriesNumber(ReceiptType type) const;
    int articles() const;  // the units delivered
};

// Reads the receipt of sale `facNumero` of the sale-day window `day`. A sale without such a
// header or without discharged lines gives empty data (FacNumero is still set). A line whose
// presentation is gone from the catalogue prints with blank presentation and brand.
ReceiptData loadReceiptData(db::Db& db, int facNumero, const core::DateTimeRange& day);

// The shop's own data on the receipts, from the settings `shop/owner`, `shop/address` and
// `shop/logo` (a picture file); the demo shop's values when they are not set.
struct Shop {
    QString owner;
    QString address;
    QImage logo;

    static Shop fromSettings(const db::Settings& settings);
    static QImage defaultLogo();
};

// The QR texts: the boleta's "6|10471829356|1|11111111|<sale>|B001-<number>|<date>|<amount>|
// <amount x the IGV rate>" and the factura's "6|10471829356|6||<ruc>|01|F001-<number>|<date>|
// <amount x 0.1524>|<amount>", the amount being what the discharged lines add up to. The
// boleta's needs the data's IGV rate (ReceiptError without one).
QString boletaQrText(const ReceiptData& data, const QDate& date);
QString facturaQrText(const ReceiptData& data, const QString& ruc, const QDate& date);

// Encodes the text in the QR control, writes its picture as the 8-bit bitmap `bmpPath` and
// reads it back, 8 bits per pixel, as the layouts print it. Throws ReceiptError when the text
// cannot be encoded or the file cannot be written or read: a receipt never shows an older one's
// picture.
QImage storeQrPicture(einvoice::TQRCodeImage& qr, const QString& text, const QString& bmpPath);

// The layouts: QuickRep1 (boleta), QuickRep2 (factura), QuickRep3 (sale note), with the
// customer boxes' texts, trimmed. A tax receipt (boleta, factura) of a sale that carries no
// receipt number of its type, or without an IGV rate to split its total with, throws
// ReceiptError; a sale note prints neither QR code nor customer data.
printing::Report QuickRep1(const ReceiptData& data, const CustomerData& customer, const Shop& shop,
                           const QImage& qr);
printing::Report QuickRep2(const ReceiptData& data, const CustomerData& customer, const Shop& shop,
                           const QImage& qr);
printing::Report QuickRep3(const ReceiptData& data, const Shop& shop);
printing::Report receiptReport(ReceiptType type, const ReceiptData& data,
                               const CustomerData& customer, const Shop& shop, const QImage& qr);

}  // namespace sales
