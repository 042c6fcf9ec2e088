// Writes Windows bitmap files as the program's resources hold them: 8 bits with a colour table
// for indexed images, 24 bits for every other image. (Qt's own writer stores an indexed image
// with few colours in 4 bits, which is not what the disabled faces must be.)
#pragma once

#include <QByteArray>
#include <QImage>

namespace skin {

// The whole file: a bottom-up BITMAPINFOHEADER bitmap, rows padded to four bytes.
QByteArray EncodeBmp(const QImage& image);

}  // namespace skin
