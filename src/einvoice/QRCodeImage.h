#pragma once

#include <qrcodegen.h>

#include <QImage>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>

namespace einvoice {

// A picture control that shows its text as a QR code: one pixel per module, black on white, no
// quiet zone, stretched to the control's square bounds. Encoding uses versions 1 to 40, the
// automatic mask and boosted error correction. A new control shows its own object name until it
// is given a text.
class TQRCodeImage : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Text READ text WRITE setText)
    Q_PROPERTY(TECL ErrorCorrectionLevel READ errorCorrectionLevel WRITE setErrorCorrectionLevel)
    Q_PROPERTY(bool IsOk READ isOk)
    Q_PROPERTY(int QRSize READ qrSize)
    Q_PROPERTY(int Width READ width WRITE setWidth)
    Q_PROPERTY(int Height READ height WRITE setHeight)

public:
    // In the library's order.
    enum TECL { LOW = qrcodegen_Ecc_LOW, MEDIUM, QUARTILE, HIGH };
    Q_ENUM(TECL)

    explicit TQRCodeImage(QWidget* parent = nullptr);

    QString text() const { return text_; }
    // The same text again does nothing; another one is encoded and the picture redrawn.
    void setText(const QString& text);

    TECL errorCorrectionLevel() const { return level_; }
    // Levels outside LOW..HIGH and the current level are ignored; another level encodes the
    // current text again unless it is empty.
    void setErrorCorrectionLevel(int level);

    // Whether the last encoding succeeded; a text too long for version 40 at the level fails.
    bool isOk() const { return ok_; }
    // The side of the symbol in modules (21 to 177), 0 when the last encoding failed.
    int qrSize() const;

    // Both sides take the value: the control stays square.
    void setWidth(int side) { resize(side, side); }
    void setHeight(int side) { resize(side, side); }

    // The symbol, QRSize by QRSize pixels, 8 bits per pixel (black index 0, white index 1 of a
    // 256-entry colour table). Null before the first successful encoding and after a failed one,
    // so a stale symbol is never taken for the current text.
    const QImage& picture() const { return picture_; }
    // Writes the picture as an 8-bit-per-pixel BMP file, replacing the file. False when there is
    // no picture (the last encoding failed) or the file cannot be written.
    bool saveBitmap(const QString& path) const;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return width; }

signals:
    // After every redraw of the picture.
    void pictureChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void encode();
    void redraw();

    QString text_;
    TECL level_ = MEDIUM;
    bool ok_ = false;
    std::array<std::uint8_t, qrcodegen_BUFFER_LEN_MAX> symbol_{};
    std::array<std::uint8_t, qrcodegen_BUFFER_LEN_MAX> work_{};
    QImage picture_;
};

}  // namespace einvoice
