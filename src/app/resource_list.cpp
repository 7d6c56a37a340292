#include "app/resource_list.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

#include "shell/resource_colors.h"

namespace kolvre {

namespace {

constexpr int kSelectedTextRole = Qt::UserRole + 1;
constexpr int kSelectedBackRole = Qt::UserRole + 2;

QColor toQColor(const ListColor& c) {
  switch (c.kind) {
    case ListColor::Kind::Window:
      return QApplication::palette().color(QPalette::Base);
    case ListColor::Kind::Highlight:
      return QApplication::palette().color(QPalette::Highlight);
    case ListColor::Kind::Fixed:
      break;
  }
  return QColor(c.bgr & 0xFF, (c.bgr >> 8) & 0xFF, (c.bgr >> 16) & 0xFF);
}

QFont nameFont() {
  QFont f(QStringLiteral("Arial"));
  f.setPixelSize(12);
  return f;
}

QFont typeFont() {
  // A small bitmap terminal face where there is one, else the system's monospace face.
  QFont f(QStringLiteral("Terminal"));
  f.setStyleHint(QFont::Monospace);
  f.setPixelSize(10);
  f.setBold(true);
  return f;
}

// The font each column's cells are painted in, and measured in.
QFont cellFont(int column) {
  return column == kNameColumn ? nameFont() : typeFont();
}

// The delegate's margins around a cell's text, and the room left beside it, so that a text as
// wide as the widest of its column is never cut.
constexpr int kTextLeft = 2;
constexpr int kTextRight = 1;
constexpr int kCellPadding = kTextLeft + kTextRight + 5;

// The widest of the languages' and types' columns, however long a text the script writes.
constexpr int kWidestTypeColumn = 110;
constexpr int kWidestLanguageColumn = 140;

}  // namespace

void ResourceListModel::setIndex(const ResourceIndex& index) {
  beginResetModel();
  index_ = index;
  endResetModel();
}

int ResourceListModel::rowCount(const QModelIndex& parent) const {
  // An empty script shows an empty list: no row stands for a resource that is not there.
  return parent.isValid() ? 0 : static_cast<int>(index_.size());
}

int ResourceListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : 3;
}

QVariant ResourceListModel::data(const QModelIndex& index, int role) const {
  const int row = index.row();
  const int column = index.column();
  const bool hasEntry = static_cast<std::size_t>(row) < index_.size();
  switch (role) {
    case Qt::DisplayRole:
      if (!hasEntry) return QString();
      if (column == kNameColumn) return QString::fromStdString(doc_.display(index_[row].name));
      if (column == kLanguageColumn) return QString::fromStdString(index_[row].language);
      return QString::fromStdString(doc_.display(index_[row].code()));
    case Qt::ToolTipRole:  // the whole text, where the column cuts it
      return hasEntry ? data(index, Qt::DisplayRole) : QVariant();
    case Qt::FontRole:
      return cellFont(column);
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(column == kTypeColumn ? Qt::AlignCenter
                                                       : Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::ForegroundRole:
      // A resource the compiler skips is greyed, as disabled text.
      if (hasEntry && index_[row].inactive)
        return QApplication::palette().color(QPalette::Disabled, QPalette::Text);
      return toQColor(cellTextColor(column, index_, row));
    case Qt::BackgroundRole:
      return toQColor(cellBackgroundColor(column, index_, row));
    case kSelectedTextRole:
      return toQColor(focusTextColor(index_, row));
    case kSelectedBackRole:
      return toQColor(focusBackgroundColor(index_, row));
    default:
      return {};
  }
}

void ResourceListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
  const bool selected = option.state & QStyle::State_Selected;
  const QColor back =
      (selected ? index.data(kSelectedBackRole) : index.data(Qt::BackgroundRole)).value<QColor>();
  const QColor text =
      (selected ? index.data(kSelectedTextRole) : index.data(Qt::ForegroundRole)).value<QColor>();
  painter->save();
  painter->fillRect(option.rect, back);
  painter->setPen(text);
  painter->setFont(index.data(Qt::FontRole).value<QFont>());
  const auto align = index.data(Qt::TextAlignmentRole).value<Qt::Alignment>();
  const QRect area = option.rect.adjusted(kTextLeft, 0, -kTextRight, 0);
  // A name wider than its column ends in "…"; the tooltip gives it whole.
  const QString name = painter->fontMetrics().elidedText(index.data(Qt::DisplayRole).toString(),
                                                         Qt::ElideRight, area.width());
  painter->drawText(area, static_cast<int>(align), name);
  painter->restore();
}

ResourceListView::ResourceListView(const Document& doc, QWidget* parent)
    : QTableView(parent), model_(doc) {
  setObjectName(QStringLiteral("resourceList"));
  setModel(&model_);
  setItemDelegate(new ResourceListDelegate(this));
  horizontalHeader()->hide();
  // The type column is narrower than Qt's default least section width.
  horizontalHeader()->setMinimumSectionSize(1);
  verticalHeader()->hide();
  verticalHeader()->setDefaultSectionSize(16);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setShowGrid(false);
  setTabKeyNavigation(false);
  typingClock_.start();
  // The name column takes what the type column leaves of the list's width.
  horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
  horizontalHeader()->setSectionResizeMode(kTypeColumn, QHeaderView::Fixed);
  horizontalHeader()->setSectionResizeMode(kLanguageColumn, QHeaderView::Fixed);
  fitColumns();
}

void ResourceListView::fitColumns() {
  // The type column fits its widest code (a one-letter code keeps the narrow column); the
  // language column its widest tag, and it is hidden while no entry has a language. Each is
  // measured in the font its cells are painted in.
  const QFontMetrics type(cellFont(kTypeColumn));
  const QFontMetrics language(cellFont(kLanguageColumn));
  int typeWidth = kTypeColumnWidth;
  int languageWidth = 0;
  for (const IndexEntry& e : model_.resourceIndex()) {
    if (e.code().size() > 2)
      typeWidth = std::max(
          typeWidth,
          type.horizontalAdvance(QString::fromStdString(std::string(e.code()))) + kCellPadding);
    if (!e.language.empty())
      languageWidth =
          std::max(languageWidth,
                   language.horizontalAdvance(QString::fromStdString(e.language)) + kCellPadding);
  }
  setColumnWidth(kTypeColumn, std::min(typeWidth, kWidestTypeColumn));
  setColumnHidden(kLanguageColumn, languageWidth == 0);
  if (languageWidth > 0)
    setColumnWidth(kLanguageColumn, std::min(languageWidth, kWidestLanguageColumn));
}

int ResourceListView::fittingWidth(int widestNames) const {
  const QFontMetrics names(cellFont(kNameColumn));
  int nameWidth = 0;
  for (int row = 0; row < model_.rowCount(); ++row)
    nameWidth = std::max(
        nameWidth,
        names.horizontalAdvance(model_.index(row, kNameColumn).data().toString()) + kCellPadding);
  int width = std::min(nameWidth, widestNames) + columnWidth(kTypeColumn);
  if (!isColumnHidden(kLanguageColumn)) width += columnWidth(kLanguageColumn);
  // Room for the scroll bar, which a long list shows beside the columns.
  return width + 2 * frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
}

void ResourceListView::bind(const ResourceIndex& index) {
  binding_ = true;
  model_.setIndex(index);
  fitColumns();
  setCurrentIndex(model_.index(0, 0));
  binding_ = false;
}

void ResourceListView::setCurrentRow(int row) {
  binding_ = true;
  setCurrentIndex(model_.index(row, 0));
  binding_ = false;
}

int ResourceListView::currentRow() const {
  const QModelIndex i = currentIndex();
  return i.isValid() ? i.row() : 0;
}

void ResourceListView::reveal() {
  scrollTo(currentIndex());
  viewport()->update();
  setFocus();
}

void ResourceListView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
  if (!binding_ && current.row() != previous.row() && onChange) onChange();
}

void ResourceListView::keyPressEvent(QKeyEvent* event) {
  const int vk = virtualKeyOf(event->key());
  if (vk != 0 && onKey && onKey(vk, event->modifiers())) return;
  // Copy belongs to the key table, which does nothing with an empty list; the view's own copy
  // would empty the clipboard.
  if (event->matches(QKeySequence::Copy) ||
      (event->key() == Qt::Key_Insert && event->modifiers() & Qt::ControlModifier))
    return;
  // Home and End go to the first and the last entry (the view would move between columns).
  if ((event->key() == Qt::Key_Home || event->key() == Qt::Key_End) &&
      !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
    const int row = event->key() == Qt::Key_Home ? 0 : model_.rowCount() - 1;
    if (row >= 0 && row != currentRow()) {
      setCurrentRow(row);
      reveal();
      if (onChange) onChange();
    }
    return;
  }
  const QString text = event->text();
  if (!(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) && text.size() == 1 &&
      (text[0].unicode() == 8 || (text[0].unicode() >= 32 && text[0].unicode() <= 126))) {
    int row = currentRow();
    if (typeAheadSearch(search_, model_.resourceIndex(), row, text[0].unicode(),
                        typingClock_.elapsed())) {
      setCurrentRow(row);
      reveal();
      if (onChange) onChange();
    }
    return;
  }
  QTableView::keyPressEvent(event);
}

void ResourceListView::mouseDoubleClickEvent(QMouseEvent* event) {
  QTableView::mouseDoubleClickEvent(event);
  if (onDoubleClick) onDoubleClick();
}

void ResourceListView::contextMenuEvent(QContextMenuEvent* event) {
  const QModelIndex at = indexAt(event->pos());
  if (!at.isValid()) return;
  setCurrentIndex(at);
  if (onContextMenu) onContextMenu(event->globalPos());
}

void ResourceListView::resizeEvent(QResizeEvent* event) {
  QTableView::resizeEvent(event);
  scrollTo(currentIndex());
}

ListSplitHandle::ListSplitHandle(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("listSplitHandle"));
  setCursor(Qt::SplitHCursor);
}

void ListSplitHandle::mousePressEvent(QMouseEvent* event) {
  dragging_ = event->button() == Qt::LeftButton;
  grabbedAt_ = event->position().toPoint().x();
}

void ListSplitHandle::mouseMoveEvent(QMouseEvent* event) {
  // The bar follows the pointer where it was grabbed, in the parent's coordinates.
  if (dragging_ && onDrag) onDrag(mapToParent(event->position().toPoint()).x() - grabbedAt_);
}

void ListSplitHandle::mouseReleaseEvent(QMouseEvent* event) {
  if (!dragging_ || event->button() != Qt::LeftButton) return;
  dragging_ = false;
  if (onDragEnd) onDragEnd();
}

int virtualKeyOf(int qtKey) {
  if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
    return qtKey;  // letters and digits share their codes
  switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return kVkEnter;
    case Qt::Key_Escape:
      return kVkEscape;
    case Qt::Key_Insert:
      return kVkInsert;
    case Qt::Key_Delete:
      return kVkDelete;
    case Qt::Key_F2:
      return kVkF2;
    case Qt::Key_F3:
      return kVkF3;
    case Qt::Key_Up:
      return kVkUp;
    case Qt::Key_Down:
      return kVkDown;
    case Qt::Key_Left:
      return kVkLeft;
    case Qt::Key_Right:
      return kVkRight;
    case Qt::Key_F7:
      return kVkF7;
    case Qt::Key_F8:
      return kVkF8;
    case Qt::Key_F9:
      return kVkF9;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      return kVkOemPlus;
    default:
      return 0;
  }
}

}  // namespace kolvre
