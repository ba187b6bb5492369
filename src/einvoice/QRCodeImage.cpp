#include "einvoice/QRCodeImage.h"

#include <QPainter>
#include <QResizeEvent>

namespace einvoice {

namespace {

constexpr int kMinVersion = 1;
constexpr int kMaxVersion = 40;

// Two colours in a full 256-entry table: with fewer entries the BMP writer drops to 4 bits.
QList<QRgb> blackAndWhite() {
    QList<QRgb> table(256, qRgb(0xFF, 0xFF, 0xFF));
    table[0] = qRgb(0, 0, 0);
    return table;
}

constexpr int kBlack = 0;
constexpr int kWhite = 1;

}  // namespace

TQRCodeImage::TQRCodeImage(QWidget* parent) : QWidget(parent) {
    connect(this, &QObject::objectNameChanged, this, [this](const QString& name) {
        if (text_ != name)
            setText(name);
    });
}

void TQRCodeImage::setText(const QString& text) {
    if (text == text_)
        return;
    text_ = text;
    encode();
}

void TQRCodeImage::setErrorCorrectionLevel(int level) {
    if (level < LOW || level > HIGH || level == level_)
        return;
    level_ = static_cast<TECL>(level);
    if (!text_.isEmpty())
        encode();
}

int TQRCodeImage::qrSize() const {
    return ok_ ? qrcodegen_getSize(symbol_.data()) : 0;
}

void TQRCodeImage::encode() {
    const QByteArray bytes = text_.toLatin1();
    ok_ = qrcodegen_encodeText(bytes.constData(), work_.data(), symbol_.data(),
                               static_cast<qrcodegen_Ecc>(level_), kMinVersion, kMaxVersion,
                               qrcodegen_Mask_AUTO, true);
    redraw();
}

void TQRCodeImage::redraw() {
    if (!ok_) {
        picture_ = QImage();
    } else {
        const int side = qrSize();
        QImage image(side, side, QImage::Format_Indexed8);
        image.setColorTable(blackAndWhite());
        for (int y = 0; y < side; ++y) {
            uchar* line = image.scanLine(y);
            for (int x = 0; x < side; ++x)
                line[x] = qrcodegen_getModule(symbol_.data(), x, y) ? kBlack : kWhite;
        }
        picture_ = image;
    }
    update();
    emit pictureChanged();
}

bool TQRCodeImage::saveBitmap(const QString& path) const {
    return !picture_.isNull() && picture_.save(path, "BMP");
}

void TQRCodeImage::paintEvent(QPaintEvent*) {
    if (picture_.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(rect(), picture_);
}

void TQRCodeImage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (event->size().width() != event->size().height())
        resize(event->size().height(), event->size().height());
    update();
}

}  // namespace einvoice
