#include "app/image_panels.h"

#include <QPainter>

#include "app/main_window.h"
#include "document/image_resources.h"
#include "document/script_file.h"
#include "ui/pictures.h"

namespace kolvre {

namespace {

// A disabled window at the panel origin that paints its picture at (0, 0) on its colour.
class ImagePanel : public QWidget {
 public:
  ImagePanel(QWidget* parent, QImage picture, QPalette::ColorRole background)
      : QWidget(parent), picture_(std::move(picture)), background_(background) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Active, background_));
    painter.drawImage(QPoint(0, 0), picture_);
  }

 private:
  QImage picture_;
  QPalette::ColorRole background_;
};

QWidget* showImage(const PanelContext& c) {
  const ResourceType type = c.doc.index()[c.position].type;
  const ImageSource source = imageSource(c.doc, c.position);
  std::vector<std::uint8_t> bytes = source.bytes;
  std::string problem = source.problem;
  if (source.kind == ImageSource::Kind::File) {
    const FileRead read = readFileBytes(source.file);
    bytes.assign(read.bytes.begin(), read.bytes.end());
    if (read.error != 0) problem = "impossibile leggere il file " + source.file + ".";
  }
  QImage picture;
  if (problem.empty()) {
    picture = pictureOf(type, bytes);
    if (picture.isNull()) problem = "i dati non formano un'immagine.";
  }
  if (!problem.empty()) {
    QWidget* empty = emptyPanel(c.window);
    c.window.setDefaultStatusText(qstr(cannotShowText(problem)));
    return empty;
  }
  const bool bitmap = type == ResourceType::Bitmap;
  auto* panel =
      new ImagePanel(c.window.centralWidget(), picture, bitmap ? QPalette::Button : QPalette::Dark);
  panel->setObjectName(bitmap ? QStringLiteral("bitmapPanel") : QStringLiteral("iconPanel"));
  if (bitmap)
    panel->setGeometry(c.window.panelLeft(), 0, picture.width(), picture.height());
  else
    panel->setGeometry(c.window.panelLeft(), 0, kIconSize, kIconSize);
  // Every kind says the size of its picture, as the list names the kind.
  const QString kind = bitmap                         ? QStringLiteral("Bitmap")
                       : type == ResourceType::Cursor ? QStringLiteral("Cursor")
                                                      : QStringLiteral("Icon");
  c.window.setDefaultStatusText(
      QStringLiteral("%1: %2 x %3").arg(kind).arg(picture.width()).arg(picture.height()));
  panel->show();
  panel->setEnabled(false);
  return panel;
}

}  // namespace

QWidget* bitmapPanel(const PanelContext& c) {
  return showImage(c);
}
QWidget* iconPanel(const PanelContext& c) {
  return showImage(c);
}
QWidget* cursorPanel(const PanelContext& c) {
  return showImage(c);
}

bool editImage(const PanelContext& c) {
  return editImageResource(c.ui, c.doc, c.position);
}

}  // namespace kolvre
