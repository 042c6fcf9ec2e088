#include "res/skin/bmp_writer.h"

#include <QDataStream>
#include <QIODevice>

namespace skin {

namespace {

constexpr quint32 kFileHeaderSize = 14;
constexpr quint32 kInfoHeaderSize = 40;
constexpr quint32 kPixelsPerMetre = 3780;  // 96 dots per inch

quint32 PaddedRowSize(int width, int bits) {
  return ((width * bits + 31) / 32) * 4;
}

}  // namespace

QByteArray EncodeBmp(const QImage& source) {
  const bool indexed = source.format() == QImage::Format_Indexed8;
  const QImage image = indexed ? source : source.convertToFormat(QImage::Format_RGB32);
  const int bits = indexed ? 8 : 24;
  const quint32 colours = indexed ? quint32(image.colorCount()) : 0;
  const quint32 row_size = PaddedRowSize(image.width(), bits);
  const quint32 pixels_offset = kFileHeaderSize + kInfoHeaderSize + colours * 4;
  const quint32 image_size = row_size * quint32(image.height());

  QByteArray file;
  QDataStream out(&file, QIODevice::WriteOnly);
  out.setByteOrder(QDataStream::LittleEndian);
  out.writeRawData("BM", 2);
  out << quint32(pixels_offset + image_size) << quint16(0) << quint16(0) << pixels_offset;
  out << kInfoHeaderSize << qint32(image.width()) << qint32(image.height()) << quint16(1)
      << quint16(bits) << quint32(0) << image_size << kPixelsPerMetre << kPixelsPerMetre << colours
      << quint32(0);
  for (QRgb entry : image.colorTable())
    out << quint8(qBlue(entry)) << quint8(qGreen(entry)) << quint8(qRed(entry)) << quint8(0);

  QByteArray row(int(row_size), '\0');
  for (int y = image.height() - 1; y >= 0; --y) {
    const uchar* line = image.constScanLine(y);
    if (indexed) {
      std::copy(line, line + image.width(), row.begin());
    } else {
      const QRgb* pixels = reinterpret_cast<const QRgb*>(line);
      for (int x = 0; x < image.width(); ++x) {
        row[3 * x] = char(qBlue(pixels[x]));
        row[3 * x + 1] = char(qGreen(pixels[x]));
        row[3 * x + 2] = char(qRed(pixels[x]));
      }
    }
    out.writeRawData(row.constData(), row.size());
  }
  return file;
}

}  // namespace skin
