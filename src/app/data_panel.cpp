#include "app/data_panel.h"

#include <QFontDatabase>
#include <QImageReader>

#include "app/main_window.h"
#include "resources/resource_data.h"
#include "ui/qt_user_interface.h"

namespace kolvre {

namespace {

constexpr int kMargin = 8;

// The formats whose files the panel shows as pictures.
bool pictureFormat(const QByteArray& format) {
  for (const char* shown : {"png", "jpeg", "jpg", "gif", "bmp"})
    if (format == shown) return true;
  return false;
}

}  // namespace

DataView::DataView(const Document& doc, std::size_t begin, QWidget* parent) : ResourceView(parent) {
  setObjectName(QStringLiteral("dataPanel"));
  const ViewSource source = viewSource(doc, begin);
  if (!source.statement) {
    problem_ = QStringLiteral("La risorsa non si trova nel testo.");
    return;
  }
  if (const auto file = namedFile(doc, *source.statement)) {
    const QString path = qstr(file->path);
    file_ = new QLabel(this);
    file_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    if (!file->size) {
      file_->setText(QStringLiteral("%1: non trovato").arg(path));
      status_ = QStringLiteral("Impossibile trovare il file %1.").arg(path);
      return;
    }
    file_->setText(QStringLiteral("%1: %2 byte").arg(path).arg(*file->size));
    status_ = file_->text();
    QImageReader reader(path);
    if (pictureFormat(reader.format())) {
      const QImage image = reader.read();
      if (!image.isNull()) {
        picture_ = new QLabel(this);
        picture_->setPixmap(QPixmap::fromImage(image));
        picture_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        status_ += QStringLiteral(" (%1 x %2)").arg(image.width()).arg(image.height());
      }
    }
    return;
  }
  const auto data = inlineData(doc.text(), *source.statement, source.symbols.get(), source.charset);
  if (!data) {
    problem_ = QStringLiteral("La risorsa non contiene dati né nomina un file.");
    return;
  }
  QStringList lines;
  for (const std::string& line : hexViewLines(data->bytes)) lines << qstr(line);
  hex_ = new QPlainTextEdit(this);
  hex_->setReadOnly(true);
  hex_->setLineWrapMode(QPlainTextEdit::NoWrap);
  hex_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  hex_->setPlainText(lines.join(QLatin1Char('\n')));
  // Bytes read before a value that is not known are shown, with the reason.
  status_ = data->problem.empty() ? QStringLiteral("Dati: %1 byte").arg(data->bytes.size())
                                  : qstr(data->problem);
}

void DataView::resizeEvent(QResizeEvent*) {
  if (hex_) hex_->setGeometry(rect());
  if (file_)
    file_->setGeometry(kMargin, kMargin, width() - 2 * kMargin, file_->sizeHint().height());
  if (picture_)
    picture_->setGeometry(kMargin, 2 * kMargin + file_->sizeHint().height(), width() - 2 * kMargin,
                          height() - 3 * kMargin - file_->sizeHint().height());
}

QWidget* dataPanel(const PanelContext& context) {
  return showView(context,
                  new DataView(context.doc, entryBegin(context), context.window.centralWidget()));
}

}  // namespace kolvre
