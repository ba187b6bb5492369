#include "ui/PictureFile.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <algorithm>

namespace ui {

QByteArray photoBytes(const QString& file) {
    QImageReader reader(file);
    reader.setAutoTransform(true);
    const QImage picture = reader.read();
    if (picture.isNull())
        return {};
    if (std::max(picture.width(), picture.height()) <= kLargestPhotoSide) {
        QFile in(file);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }
    const QImage scaled = picture.scaled(kLargestPhotoSide, kLargestPhotoSide, Qt::KeepAspectRatio,
                                         Qt::SmoothTransformation);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    scaled.save(&buffer, scaled.hasAlphaChannel() ? "PNG" : "JPG", 90);
    return bytes;
}

}  // namespace ui
