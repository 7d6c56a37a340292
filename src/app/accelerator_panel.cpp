#include "app/accelerator_panel.h"

#include <QHeaderView>

#include "app/main_window.h"
#include "resources/accelerators.h"
#include "ui/qt_user_interface.h"

namespace kolvre {

AcceleratorView::AcceleratorView(const Document& doc, std::size_t begin, QWidget* parent)
    : ResourceView(parent) {
  setObjectName(QStringLiteral("acceleratorPanel"));
  const ViewSource source = viewSource(doc, begin);
  if (!source.statement) {
    problem_ = QStringLiteral("La risorsa non si trova nel testo.");
    return;
  }
  const AcceleratorReading reading =
      readAccelerators(doc.text(), *source.statement, source.symbols.get(), source.charset);
  if (!reading.problem.empty()) {
    problem_ = qstr(reading.problem);
    return;
  }
  table_ = new QTableWidget(static_cast<int>(reading.rows.size()), 3, this);
  table_->setHorizontalHeaderLabels(
      {QStringLiteral("Tasto"), QStringLiteral("Id"), QStringLiteral("Opzioni")});
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->verticalHeader()->hide();
  table_->horizontalHeader()->setStretchLastSection(true);
  for (int row = 0; row < static_cast<int>(reading.rows.size()); ++row) {
    const Accelerator& accelerator = reading.rows[static_cast<std::size_t>(row)];
    const QString cells[] = {qstr(accelerator.label), qstr(doc.display(accelerator.id)),
                             qstr(acceleratorOptionWords(accelerator.options))};
    for (int column = 0; column < 3; ++column)
      table_->setItem(row, column, new QTableWidgetItem(cells[column]));
  }
  table_->resizeColumnsToContents();
  status_ = QStringLiteral("Acceleratori: %1").arg(reading.rows.size());
}

void AcceleratorView::resizeEvent(QResizeEvent*) {
  if (table_) table_->setGeometry(rect());
}

QWidget* acceleratorPanel(const PanelContext& context) {
  return showView(context, new AcceleratorView(context.doc, entryBegin(context),
                                               context.window.centralWidget()));
}

}  // namespace kolvre
