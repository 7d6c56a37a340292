#include "ui/pictures.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

namespace kolvre {

namespace {

QByteArray bytesOf(const std::vector<std::uint8_t>& bytes) {
  return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                    static_cast<qsizetype>(bytes.size()));
}

}  // namespace

QImage pictureOf(ResourceType type, const std::vector<std::uint8_t>& bytes) {
  if (type == ResourceType::Bitmap) {
    QImage image;
    image.loadFromData(bytesOf(bytes), "BMP");
    return image;
  }
  // An icon file, or a cursor file (directory type 2), read from memory.
  QByteArray data = bytesOf(bytes);
  QBuffer buffer(&data);
  buffer.open(QIODevice::ReadOnly);
  const bool cursor = bytes.size() > 3 && bytes[2] == 2 && bytes[3] == 0;
  QImageReader reader(&buffer, cursor ? "cur" : "ico");
  QImage image = reader.read();
  if (image.isNull() && cursor) {
    // A cursor directory that the cursor reader refuses: its images are icon images.
    data[2] = 1;
    buffer.seek(0);
    QImageReader asIcon(&buffer, "ico");
    image = asIcon.read();
  }
  if (!image.isNull() && (image.width() > kIconSize || image.height() > kIconSize))
    image = image.scaled(kIconSize, kIconSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  return image;
}

}  // namespace kolvre
