// The panel of a resource the editor shows as data: RCDATA, MESSAGETABLE, TOOLBAR, DLGINIT,
// FONT, numbered and user-defined types. A hex view (offset, bytes, characters) of an inline
// body, or the path and size of the file the resource names, with its picture where the file is
// one (PNG, JPEG, GIF, BMP).
#pragma once

#include <QLabel>
#include <QPlainTextEdit>

#include "app/resource_view.h"

namespace kolvre {

class DataView : public ResourceView {
 public:
  // The resource whose statement begins at `begin` of `doc`.
  DataView(const Document& doc, std::size_t begin, QWidget* parent);
  // The hex view of an inline body; null for a named file.
  QPlainTextEdit* hexView() const { return hex_; }
  // A named file's picture; null when there is none.
  QLabel* picture() const { return picture_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QPlainTextEdit* hex_ = nullptr;
  QLabel* file_ = nullptr;
  QLabel* picture_ = nullptr;
};

QWidget* dataPanel(const PanelContext& context);

}  // namespace kolvre
