#include "app/text_panel.h"

#include <QFontDatabase>
#include <QStringDecoder>

#include "app/main_window.h"
#include "document/script_file.h"
#include "resources/resource_data.h"
#include "syntax/encoding.h"
#include "ui/qt_user_interface.h"

namespace kolvre {

namespace {

QString codePageText(std::string_view bytes, int codePage) {
  if (const auto utf8 = codePageToUtf8(bytes, codePage)) return qstr(*utf8);
  return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

}  // namespace

QString fileText(std::string_view bytes, int codePage) {
  const auto decode = [&](QStringConverter::Encoding encoding, std::size_t skip) {
    QStringDecoder decoder(encoding);
    const std::string_view rest = bytes.substr(skip);
    return QString(decoder(QByteArrayView(rest.data(), static_cast<qsizetype>(rest.size()))));
  };
  if (bytes.starts_with("\xEF\xBB\xBF")) return decode(QStringConverter::Utf8, 3);
  if (bytes.starts_with("\xFF\xFE")) return decode(QStringConverter::Utf16LE, 2);
  if (bytes.starts_with("\xFE\xFF")) return decode(QStringConverter::Utf16BE, 2);
  QStringDecoder utf8(QStringConverter::Utf8);
  const QString text = utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
  if (!utf8.hasError()) return text;
  return codePageText(bytes, codePage);
}

TextView::TextView(const Document& doc, std::size_t begin, QWidget* parent) : ResourceView(parent) {
  setObjectName(QStringLiteral("textPanel"));
  const ViewSource source = viewSource(doc, begin);
  if (!source.statement) {
    problem_ = QStringLiteral("La risorsa non si trova nel testo.");
    return;
  }
  QString text;
  if (const auto file = namedFile(doc, *source.statement)) {
    const FileRead read = readFileBytes(file->path);
    if (read.error != 0) {
      problem_ = QStringLiteral("Impossibile leggere il file %1.").arg(qstr(file->path));
      return;
    }
    text = fileText(read.bytes, source.charset.codePage);
    status_ = QStringLiteral("File %1 (%2 byte)").arg(qstr(file->path)).arg(read.bytes.size());
  } else if (const auto data =
                 inlineData(doc.text(), *source.statement, source.symbols.get(), source.charset)) {
    if (!data->problem.empty()) {
      problem_ = qstr(data->problem);
      return;
    }
    // The strings end with zeros where the compiler keeps them: the text is what stands
    // between them.
    std::string bytes(data->bytes.begin(), data->bytes.end());
    std::erase(bytes, '\0');
    text = source.charset.utf16File ? qstr(bytes) : codePageText(bytes, source.charset.codePage);
    status_ = QStringLiteral("Testo nella risorsa (%1 byte)").arg(bytes.size());
  } else {
    problem_ = QStringLiteral("La risorsa non contiene testo né nomina un file.");
    return;
  }
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  view_ = new QPlainTextEdit(this);
  view_->setReadOnly(true);
  view_->setLineWrapMode(QPlainTextEdit::NoWrap);
  view_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  view_->setPlainText(text);
}

void TextView::resizeEvent(QResizeEvent*) {
  if (view_) view_->setGeometry(rect());
}

QWidget* textPanel(const PanelContext& context) {
  return showView(context,
                  new TextView(context.doc, entryBegin(context), context.window.centralWidget()));
}

}  // namespace kolvre
