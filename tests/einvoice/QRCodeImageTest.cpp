#include "einvoice/QRCodeImage.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>

using einvoice::TQRCodeImage;

namespace {

const QString kBoleta = QStringLiteral("6|10471829356|1|11111111|25|B001-245|2026-3-7|59|10.62");
const QString kFactura =
    QStringLiteral("6|10471829356|6||20481234567|01|F001-31|2026-3-7|8.9916|59");

QString longText() {
    QString text;
    for (int i = 0; text.size() < 600; ++i)
        text += QStringLiteral("%1|B001-%2|2026-3-7|%3.25;").arg(i).arg(i * 7).arg(i * 13);
    return text;
}

struct BmpHeader {
    QByteArray magic;
    qint32 width = 0;
    qint32 height = 0;
    quint16 bitsPerPixel = 0;
};

BmpHeader readBmpHeader(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_GE(bytes.size(), 54);
    const auto* data = reinterpret_cast<const uchar*>(bytes.constData());
    return {bytes.left(2), qFromLittleEndian<qint32>(data + 18),
            qFromLittleEndian<qint32>(data + 22), qFromLittleEndian<quint16>(data + 28)};
}

// The symbol as a reader sees it printed: each module 4 pixels, with a white border of 4
// modules (zbar needs the quiet zone the picture leaves out).
QString decode(const QImage& symbol, const QString& folder) {
    constexpr int kScale = 4;
    constexpr int kBorder = 4 * kScale;
    QImage page(symbol.width() * kScale + 2 * kBorder, symbol.height() * kScale + 2 * kBorder,
                QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter(&page).drawImage(
        QRect(kBorder, kBorder, symbol.width() * kScale, symbol.height() * kScale), symbol);
    const QString path = folder + QStringLiteral("/scan.png");
    EXPECT_TRUE(page.save(path));
    QProcess zbar;
    zbar.start(QStringLiteral("zbarimg"), {QStringLiteral("--raw"), QStringLiteral("-q"), path});
    EXPECT_TRUE(zbar.waitForFinished(60000));
    return QString::fromLatin1(zbar.readAllStandardOutput()).chopped(1);
}

bool isDark(const QImage& image, int x, int y) {
    return qGray(image.pixel(x, y)) < 128;
}

}  // namespace

TEST(QRCodeImage, StartsAtMediumShowingItsName) {
    TQRCodeImage qr;
    EXPECT_EQ(qr.errorCorrectionLevel(), TQRCodeImage::MEDIUM);
    EXPECT_FALSE(qr.isOk());
    EXPECT_EQ(qr.qrSize(), 0);
    EXPECT_TRUE(qr.picture().isNull());

    qr.setObjectName(QStringLiteral("QRCodeImage2"));
    EXPECT_EQ(qr.text(), QStringLiteral("QRCodeImage2"));
    EXPECT_TRUE(qr.isOk());
    EXPECT_EQ(qr.qrSize(), 21);
    EXPECT_EQ(qr.property("Text").toString(), QStringLiteral("QRCodeImage2"));
}

TEST(QRCodeImage, SizeFollowsTheVersionOneModulePerPixel) {
    struct Case {
        QString text;
        TQRCodeImage::TECL level;
        int side;
    };
    const Case cases[] = {
        {QStringLiteral("A"), TQRCodeImage::MEDIUM, 21},            // version 1
        {kBoleta, TQRCodeImage::MEDIUM, 33},                        // 56 bytes: version 4
        {kBoleta, TQRCodeImage::HIGH, 41},                          // version 6 at HIGH
        {QString(2953, QLatin1Char('x')), TQRCodeImage::LOW, 177},  // the most version 40 holds
    };
    for (const Case& c : cases) {
        TQRCodeImage qr;
        qr.setErrorCorrectionLevel(c.level);
        qr.setText(c.text);
        EXPECT_TRUE(qr.isOk()) << c.side;
        EXPECT_EQ(qr.qrSize(), c.side);
        EXPECT_EQ(qr.property("QRSize").toInt(), c.side);
        EXPECT_EQ(qr.picture().size(), QSize(c.side, c.side));
    }
}

TEST(QRCodeImage, SameTextEncodesOnceAndALevelChangeReencodes) {
    TQRCodeImage qr;
    QSignalSpy redraws(&qr, &TQRCodeImage::pictureChanged);
    qr.setText(kBoleta);
    qr.setText(kBoleta);
    EXPECT_EQ(redraws.count(), 1);

    qr.setErrorCorrectionLevel(TQRCodeImage::MEDIUM);  // the current level
    qr.setErrorCorrectionLevel(4);                     // out of range
    qr.setErrorCorrectionLevel(-1);
    EXPECT_EQ(redraws.count(), 1);
    EXPECT_EQ(qr.errorCorrectionLevel(), TQRCodeImage::MEDIUM);

    qr.setErrorCorrectionLevel(TQRCodeImage::HIGH);
    EXPECT_EQ(redraws.count(), 2);
    EXPECT_EQ(qr.qrSize(), 41);
}

TEST(QRCodeImage, EmptyTextIsNotEncodedOnALevelChange) {
    TQRCodeImage qr;
    QSignalSpy redraws(&qr, &TQRCodeImage::pictureChanged);
    qr.setErrorCorrectionLevel(TQRCodeImage::LOW);
    EXPECT_EQ(redraws.count(), 0);
    EXPECT_FALSE(qr.isOk());
}

TEST(QRCodeImage, TooLongATextFailsAndLeavesNoStalePicture) {
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/kzv.bmp");
    TQRCodeImage qr;
    qr.setErrorCorrectionLevel(TQRCodeImage::LOW);
    qr.setText(kBoleta);
    ASSERT_TRUE(qr.saveBitmap(path));

    qr.setText(QString(2954, QLatin1Char('x')));
    EXPECT_FALSE(qr.isOk());
    EXPECT_EQ(qr.qrSize(), 0);
    EXPECT_TRUE(qr.picture().isNull());
    EXPECT_FALSE(qr.saveBitmap(path));
}

TEST(QRCodeImage, StaysSquare) {
    TQRCodeImage qr;
    qr.setWidth(120);
    EXPECT_EQ(qr.size(), QSize(120, 120));
    qr.setHeight(88);
    EXPECT_EQ(qr.size(), QSize(88, 88));
    qr.setProperty("Width", 100);
    EXPECT_EQ(qr.size(), QSize(100, 100));
    qr.show();
    qr.resize(150, 90);  // a shown control takes the proposed height for both sides
    EXPECT_EQ(qr.size(), QSize(90, 90));
}

TEST(QRCodeImage, BitmapIsEightBitsWithoutQuietZone) {
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/kzv.bmp");
    TQRCodeImage qr;
    qr.setText(kBoleta);
    ASSERT_TRUE(qr.saveBitmap(path));

    const BmpHeader header = readBmpHeader(path);
    EXPECT_EQ(header.magic, QByteArray("BM"));
    EXPECT_EQ(header.bitsPerPixel, 8);
    EXPECT_EQ(header.width, 33);
    EXPECT_EQ(std::abs(header.height), 33);

    // The three finder patterns reach the picture's edges: their outer rings are dark from the
    // first pixel, and the separator after them is light.
    const QImage image(path);
    const int last = image.width() - 1;
    for (int i = 0; i < 7; ++i) {
        EXPECT_TRUE(isDark(image, i, 0));
        EXPECT_TRUE(isDark(image, 0, i));
        EXPECT_TRUE(isDark(image, last - i, 0));
        EXPECT_TRUE(isDark(image, 0, last - i));
    }
    EXPECT_FALSE(isDark(image, 7, 0));
    EXPECT_FALSE(isDark(image, last - 7, 0));
    EXPECT_FALSE(isDark(image, 0, last - 7));
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(7, 0), qRgb(0xFF, 0xFF, 0xFF));
}

TEST(QRCodeImage, SavedBitmapDecodesBackToItsText) {
    if (QStandardPaths::findExecutable(QStringLiteral("zbarimg")).isEmpty())
        GTEST_SKIP() << "zbarimg (zbar-tools) is not installed";
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/kzv.bmp");
    for (const QString& text : {kBoleta, kFactura, longText()}) {
        TQRCodeImage qr;
        qr.setText(text);
        ASSERT_TRUE(qr.saveBitmap(path));
        EXPECT_EQ(decode(QImage(path), dir.path()), text);
    }
}
