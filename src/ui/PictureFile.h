#pragma once

#include <QByteArray>
#include <QString>

namespace ui {

// The longer side of a stored photo, in pixels; a larger picture is stored scaled down.
inline constexpr int kLargestPhotoSide = 1024;

// A picture file's bytes as they are to be stored: the file itself, or the picture re-encoded
// (PNG with transparency, else JPEG) when its longer side exceeds kLargestPhotoSide. Empty when
// the file is no picture.
QByteArray photoBytes(const QString& file);

}  // namespace ui
