// What the panels of the resources the editor only shows share: a view built from the
// document and the statement's first byte, with the status text it shows or the reason it
// cannot, and its placement beside the list.
#pragma once

#include <QString>
#include <QWidget>
#include <cstddef>
#include <memory>

#include "app/show_resource.h"
#include "document/document.h"
#include "syntax/statements.h"
#include "syntax/string_literal.h"
#include "syntax/symbols.h"

namespace kolvre {

class ResourceView : public QWidget {
 public:
  explicit ResourceView(QWidget* parent) : QWidget(parent) {}
  // Why the resource cannot be shown; empty when it is.
  const QString& problem() const { return problem_; }
  // The status bar's text while the view is shown.
  const QString& statusText() const { return status_; }

 protected:
  QString problem_;
  QString status_;
};

// The statement of the resource that begins at `begin`, the script's symbols and its charset
// there: what every view reads its resource with. Null statement when none begins there.
struct ViewSource {
  const Statement* statement = nullptr;
  std::shared_ptr<const SymbolTable> symbols;
  ScriptCharset charset;
};
ViewSource viewSource(const Document& doc, std::size_t begin);

// The offset of the entry's statement: where its name starts.
std::size_t entryBegin(const PanelContext& context);

// Shows `view` beside the list, filling the space there, with its status text; a view with a
// problem is replaced by the empty panel, the problem in the status bar.
QWidget* showView(const PanelContext& context, ResourceView* view);

}  // namespace kolvre
