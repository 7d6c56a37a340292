// The panel of an accelerator table: its rows, read only: the key as shown, the id as written
// and the options.
#pragma once

#include <QTableWidget>

#include "app/resource_view.h"

namespace kolvre {

class AcceleratorView : public ResourceView {
 public:
  // The table whose statement begins at `begin` of `doc`.
  AcceleratorView(const Document& doc, std::size_t begin, QWidget* parent);
  QTableWidget* table() const { return table_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QTableWidget* table_ = nullptr;
};

// Shows an accelerator entry: its rows, or the empty panel with the reason its body does not
// read.
QWidget* acceleratorPanel(const PanelContext& context);

}  // namespace kolvre
