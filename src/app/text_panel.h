// The panel of a resource that holds text: a manifest (type 24), HTML and TEXTINCLUDE. The
// text, read only, in a monospaced view: from the file the resource names (resolved against the
// script's folder), or from its body (TEXTINCLUDE's strings decoded and joined).
#pragma once

#include <QPlainTextEdit>
#include <string_view>

#include "app/resource_view.h"

namespace kolvre {

class TextView : public ResourceView {
 public:
  // The resource whose statement begins at `begin` of `doc`.
  TextView(const Document& doc, std::size_t begin, QWidget* parent);
  QPlainTextEdit* view() const { return view_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QPlainTextEdit* view_ = nullptr;
};

// A file's bytes as text: UTF-8 or UTF-16 where a byte order mark or the bytes say so, else
// the bytes of `codePage`.
QString fileText(std::string_view bytes, int codePage);

QWidget* textPanel(const PanelContext& context);

}  // namespace kolvre
