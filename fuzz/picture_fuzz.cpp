// Fuzzes making a picture from arbitrary bytes, as the bitmap, icon and cursor panels do: no
// input may crash the readers or make a picture larger than the icon square for an icon.
#include <QGuiApplication>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ui/pictures.h"

#include "fuzz_check.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  // The image readers are plugins, found through the application.
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static QGuiApplication app(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kolvre;
  if (size == 0) return 0;
  // The first byte picks the kind; the rest are the file's bytes.
  const ResourceType type = data[0] % 3 == 0   ? ResourceType::Bitmap
                            : data[0] % 3 == 1 ? ResourceType::Icon
                                               : ResourceType::Cursor;
  const std::vector<std::uint8_t> bytes(data + 1, data + size);
  const QImage picture = pictureOf(type, bytes);
  if (type != ResourceType::Bitmap && !picture.isNull())
    fuzzing::require("picture",
                     fuzzing::unless(picture.width() <= kIconSize && picture.height() <= kIconSize,
                                     "an icon larger than the icon square"),
                     "icon size");
  return 0;
}
