#include "ui/qt_about_box.h"

#include <QApplication>
#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "dialogs/dialog_units.h"

namespace kolvre {

namespace {

// The box's template, in dialog units; control names are their identifiers. The template gives
// the texts only a position: they run to the box's right margin.
constexpr DialogUnitRect kBoxSize{0, 0, 235, 145};
constexpr DialogUnitRect kPictureRect{10, 10, 57, 57};
constexpr DialogUnitRect kNameRect{80, 14, 145, 10};     // static 102
constexpr DialogUnitRect kVersionRect{80, 29, 145, 10};  // static 103
constexpr DialogUnitRect kLineRect{80, 73, 145, 1};      // sunken line
constexpr DialogUnitRect kCloseRect{16, 112, 45, 20};    // button 201, the default

QRect pixelRect(const DialogUnitRect& du) {
  const PixelRect px = toPixels(du, kFixedBaseUnits);
  return {px.x, px.y, px.width, px.height};
}

}  // namespace

void showAboutBox(QWidget* parent, const QString& name, const QString& version,
                  const QPixmap& picture) {
  QDialog box(parent ? parent : QApplication::activeWindow());
  box.setWindowTitle(QStringLiteral("Informazioni su KOLVRE"));
  // Arial when present, else the closest sans-serif face.
  QFont font(QStringLiteral("Arial"), 8);
  font.setStyleHint(QFont::SansSerif);
  box.setFont(font);
  const PixelRect size = toPixels(kBoxSize, kFixedBaseUnits);
  box.setFixedSize(size.width, size.height);

  auto* pictureLabel = new QLabel(&box);
  pictureLabel->setObjectName(QStringLiteral("picture"));
  const QRect pictureArea = pixelRect(kPictureRect);
  pictureLabel->setGeometry(pictureArea);
  pictureLabel->setAlignment(Qt::AlignCenter);
  if (picture.isNull())
    pictureLabel->setFrameStyle(QFrame::Box | QFrame::Plain);
  else
    pictureLabel->setPixmap(
        picture.scaled(pictureArea.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));

  auto* nameLabel = new QLabel(name, &box);
  nameLabel->setObjectName(QStringLiteral("102"));
  nameLabel->setGeometry(pixelRect(kNameRect));

  auto* versionLabel = new QLabel(QStringLiteral("Versione: ") + version, &box);
  versionLabel->setObjectName(QStringLiteral("103"));
  versionLabel->setGeometry(pixelRect(kVersionRect));

  auto* line = new QFrame(&box);
  line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
  line->setGeometry(pixelRect(kLineRect));

  auto* close = new QPushButton(QStringLiteral("&Chiudi"), &box);
  close->setObjectName(QStringLiteral("201"));
  close->setGeometry(pixelRect(kCloseRect));
  close->setDefault(true);
  close->setFocus();
  QObject::connect(close, &QPushButton::clicked, &box, &QDialog::accept);

  box.exec();
}

}  // namespace kolvre
