#include "app/resource_view.h"

#include <algorithm>

#include "app/main_window.h"
#include "app/panel_support.h"
#include "resources/resource_data.h"

namespace kolvre {

ViewSource viewSource(const Document& doc, std::size_t begin) {
  ViewSource source;
  source.statement = statementAt(doc.statements(), begin);
  source.symbols = cachedScriptSymbols(doc.text(), doc.fileName(), &doc.headerTexts());
  source.charset = scriptCharsetAt(doc.text(), begin, doc.form().utf16 != Utf16::None);
  return source;
}

std::size_t entryBegin(const PanelContext& context) {
  return context.doc.index()[context.position].offset;
}

QWidget* showView(const PanelContext& context, ResourceView* view) {
  MainWindow& window = context.window;
  if (!view->problem().isEmpty()) {
    const QString problem = view->problem();
    delete view;
    QWidget* empty = emptyPanel(window);
    window.setDefaultStatusText(problem);
    return empty;
  }
  fillBesideList(view, window);
  view->show();
  window.setDefaultStatusText(view->statusText());
  return view;
}

}  // namespace kolvre
