#include "sales/ReceiptPrinter.h"

#include "core/Clock.h"
#include "db/Settings.h"
#include "einvoice/QRCodeImage.h"
#include "platform/Platform.h"
#include "printing/Layout.h"
#include "printing/Output.h"
#include "sales/Receipts.h"
#include "session/AppContext.h"
#include "ui/Messages.h"

#include <QApplication>
#include <QDir>

namespace sales {

namespace {

QString baseName(ReceiptType type) {
    switch (type) {
        case ReceiptType::Boleta:
            return QStringLiteral("boleta");
        case ReceiptType::Factura:
            return QStringLiteral("factura");
        case ReceiptType::NotaDeVenta:
            break;
    }
    return QStringLiteral("nota");
}

// How the cashier knows the receipt: "B001-12", "F001-3", "NOTA DE VENTA 25".
QString receiptName(ReceiptType type, const ReceiptData& data) {
    switch (type) {
        case ReceiptType::Boleta:
            return data.serieBoleta + QLatin1Char('-') + QString::number(data.FacNumSunat);
        case ReceiptType::Factura:
            return data.serieFactura + QLatin1Char('-') + QString::number(data.FacNumSunat);
        case ReceiptType::NotaDeVenta:
            break;
    }
    return db::proc::kNotaDeVenta + QLatin1Char(' ') + QString::number(data.FacNumero);
}

}  // namespace

ReceiptPrinter::ReceiptPrinter(session::AppContext& context)
    : FacturaFilesOutput(context.platform), ctx_(context) {}

printing::Document ReceiptPrinter::document(const ReceiptData& data, const ReceiptJob& job,
                                            const QDateTime& at) {
    const QDate date = at.date();
    QImage qr;
    if (job.type != ReceiptType::NotaDeVenta) {
        const QString text = job.type == ReceiptType::Boleta
                                 ? boletaQrText(data, date)
                                 : facturaQrText(data, job.customer.ruc, date);
        einvoice::TQRCodeImage image;
        qr = storeQrPicture(image, text, ctx_.platform.mapPath(QString::fromLatin1(kQrPicture)));
    }
    const Shop shop = Shop::fromSettings(ctx_.settings);
    printing::Report report = receiptReport(job.type, data, job.customer, shop, qr);
    report.page.fitHeight =
        ctx_.settings.value(QStringLiteral("printing/fixed_length")) != QLatin1String("true");
    return printing::layout(report, at);
}

void ReceiptPrinter::print(const Receipt& receipt) {
    const ReceiptData data = loadReceiptData(ctx_.db, receipt.job.facNumero, receipt.job.day);
    send(data, receipt.job.type, document(data, receipt.job, receipt.at), receipt.at);
}

void ReceiptPrinter::send(const ReceiptData& data, ReceiptType type, const printing::Document& doc,
                          const QDateTime& at) {
    const printing::Printed printed =
        printing::print(doc, ctx_.settings, ctx_.platform.printSystem(), baseName(type), at);
    if (!printed.failed())
        return;
    const QString text = QStringLiteral("NO SE PUDO IMPRIMIR EL COMPROBANTE ") +
                         receiptName(type, data) + QStringLiteral(": ") + printed.problem +
                         QStringLiteral("\rEL COMPROBANTE SE GUARDO EN ") +
                         QDir::toNativeSeparators(printed.file);
    qWarning("receipt: %s", qUtf8Printable(ui::Messages::displayed(text)));
    ctx_.messages.notice(text, ui::Messages::Kind::Warning);
}

void ReceiptPrinter::preview(const ReceiptJob& job) {
    const ReceiptData data = loadReceiptData(ctx_.db, job.facNumero, job.day);
    if (data.lines.empty()) {
        ctx_.messages.notice(QStringLiteral("NO HAY PRESENTACIONES VENDIDAS\rEN LA VENTA: ") +
                             QString::number(job.facNumero));
        return;
    }
    const QDateTime at = data.dischargedAt.isValid() ? data.dischargedAt : ctx_.clock.now();
    const printing::Document doc = document(data, job, at);
    printing::preview(doc, QApplication::activeWindow(),
                      facTipoSunat(job.type).value_or(db::proc::kNotaDeVenta),
                      [&] { send(data, job.type, doc, at); });
}

}  // namespace sales
