#include "dialogs/tab_order.h"

#include <algorithm>

#include "base/text.h"
#include "dialogs/control_reader.h"
#include "dialogs/dialog_session.h"
#include "dialogs/dialog_writer.h"
#include "document/blocks.h"
#include "document/edit.h"
#include "document/resource_commands.h"
#include "messages/form_check.h"
#include "messages/messages.h"
#include "syntax/lexer.h"
#include "syntax/statements.h"
#include "syntax/vocabulary.h"

namespace kolvre {

namespace {

std::string captionOf(const DialogControl& control) {
  if (control.statement) {
    const KeptStatement& kept = *control.statement;
    if (!kept.textField) return {};
    // A text in pieces (over several lines) as the control shows it.
    if (liveClass(control.live).receivesText) return control.caption;
    return fieldText(std::string_view(kept.text).substr(
        kept.textField->begin, kept.textField->end - kept.textField->begin));
  }
  return liveClass(control.live).receivesText ? control.caption : std::string();
}

// Another item on one line, as the caption column shows it.
std::string statementText(std::string_view text) {
  std::string out;
  for (char c : trimSpace(text)) {
    if (c == '\n') continue;
    out += c == '\r' || c == '\t' ? ' ' : c;
  }
  return out;
}

// A typed id's value: digits only (blanks around them allowed), 0 when there are none.
std::optional<long long> idValue(std::string_view typed) {
  typed = trimBlanks(typed);
  long long value = 0;
  for (char c : typed) {
    if (c < '0' || c > '9') return std::nullopt;
    value = std::min(value * 10 + (c - '0'), 10000000LL);
  }
  return value;
}

// The first child of node `n` of the kind, or nothing.
std::optional<std::size_t> childOf(const StatementTree& tree, std::size_t n, NodeKind kind) {
  for (std::size_t child : tree.children(n))
    if (tree.nodes[child].kind == kind) return child;
  return std::nullopt;
}

// The row of a body item: a control when it reads as one.
TabOrderRow itemRow(const StatementTree& tree, std::string_view own, std::size_t index) {
  const TreeNode& item = tree.nodes[index];
  TabOrderRow row;
  const std::size_t begin = tree.beginOf(item);
  row.text = std::string(own.substr(begin, tree.endOf(item) - begin));
  row.directive = item.kind == NodeKind::Directive;
  if (item.kind == NodeKind::Control) {
    // The rows' rectangles only go back as they came: any base units give the numbers back.
    ControlReading reading =
        readBodyStatement(itemFields(tree, own, index, row.text, begin), kFixedBaseUnits);
    if (reading.kind == ControlReading::Kind::Control) row.control = std::move(reading.control);
  }
  return row;
}

// A row's bytes as written back.
std::string rowText(const TabOrderRow& row) {
  std::string out = row.before;
  out += row.control ? controlStatement(*row.control, kFixedBaseUnits) : row.text;
  out += row.after;
  return out;
}

std::size_t readLength(const TabOrderRow& row) {
  return row.before.size() + row.text.size() + row.after.size();
}

// The tab order of the dialog at `extent` from the document's tree, when its statement is the
// block; else from the block's own reading.
TabOrderReading readFromDocument(const Document& doc, const BlockExtent& extent) {
  const std::vector<Statement>& statements = doc.statements();
  const auto s =
      std::lower_bound(statements.begin(), statements.end(), extent.begin,
                       [](const Statement& st, std::size_t at) { return st.begin < at; });
  if (s != statements.end() && s->begin == extent.begin && s->end == extent.end &&
      s->kind == StatementKind::Resource) {
    const std::size_t i = static_cast<std::size_t>(s - statements.begin());
    return readTabOrder(doc.tree().statementTree(doc.text(), i), s->of(doc.text()));
  }
  return readTabOrder(extent.of(doc.text()));
}

}  // namespace

std::string rowIdText(const TabOrderRow& row) {
  if (!row.control) return {};
  const DialogControl& c = *row.control;
  if (c.idAsWritten && c.idAsWritten->value == c.id) return c.idAsWritten->text;
  return std::to_string(c.id);
}

std::array<std::string, 7> rowCells(const TabOrderRow& row) {
  if (!row.control) return {statementText(row.text), {}, {}, {}, {}, {}, {}};
  const DialogControl& c = *row.control;
  const DialogUnitRect units = unitsAsWritten(c, kFixedBaseUnits);
  return {captionOf(c),
          rowIdText(row),
          scriptClassName(c),
          std::to_string(units.x),
          std::to_string(units.y),
          std::to_string(units.width),
          std::to_string(units.height)};
}

TabOrderReading readTabOrder(const StatementTree& tree, std::string_view own) {
  TabOrderReading reading;
  const auto values = childOf(tree, 0, NodeKind::Values);
  if (!values || tree.children(*values).size() < 4) {
    reading.failure = DialogFailure::NoHeaderNumbers;
    return reading;
  }
  const auto body = childOf(tree, 0, NodeKind::Body);
  if (!body) {
    reading.failure = DialogFailure::NoBody;
    return reading;
  }
  // The closer is the body's last token after its opener and its items; a body left open has
  // none.
  const TreeNode& node = tree.nodes[*body];
  const std::vector<std::size_t> items = tree.children(*body);
  const std::size_t itemsEnd = items.empty() ? node.first + 1 : tree.nodes[items.back()].last;
  if (node.last <= itemsEnd) {
    reading.failure = DialogFailure::NoBody;
    return reading;
  }
  const std::size_t closer = node.last - 1;
  // Each item from the line end that ends the line before it (what follows the code of that
  // line stays with it) to the line end after it.
  std::vector<std::size_t> breaks;
  for (std::size_t item : items)
    breaks.push_back(triviaLineBreak(tree, own, tree.nodes[item].first));
  breaks.push_back(triviaLineBreak(tree, own, closer));
  TabOrder& order = reading.order;
  order.head = std::string(own.substr(0, breaks.front()));
  order.close = std::string(own.substr(breaks.back(), tree.tokens[closer].end - breaks.back()));
  for (std::size_t k = 0; k < items.size(); ++k) {
    const TreeNode& item = tree.nodes[items[k]];
    TabOrderRow row = itemRow(tree, own, items[k]);
    row.item = k;
    row.before = std::string(own.substr(breaks[k], tree.beginOf(item) - breaks[k]));
    row.after = std::string(own.substr(tree.endOf(item), breaks[k + 1] - tree.endOf(item)));
    order.rows.push_back(std::move(row));
  }
  return reading;
}

TabOrderReading readTabOrder(std::string_view block) {
  const std::vector<Statement> statements = readStatements(block);
  if (statements.empty() || statements.front().kind != StatementKind::Resource) {
    TabOrderReading reading;
    reading.failure = DialogFailure::NoHeaderNumbers;
    return reading;
  }
  const Statement& s = statements.front();
  return readTabOrder(readStatementTree(block, s), s.of(block));
}

std::string tabOrderBlock(const TabOrder& order) {
  std::string out = order.head;
  for (const TabOrderRow& row : order.rows) out += rowText(row);
  out += order.close;
  return out;
}

std::optional<std::string_view> tabOrderFault(const TabOrder& order) {
  const std::vector<TabOrderRow>& rows = order.rows;
  // The preprocessor lines in their places, then every other row in the stretch between two of
  // them that it was read in.
  std::vector<std::size_t> directivesBefore(rows.size() + 1, 0);
  for (std::size_t p = 0; p < rows.size(); ++p) {
    if (rows[p].directive && rows[p].item != p) return kTabOrderAcrossDirective;
    directivesBefore[p + 1] = directivesBefore[p] + (rows[p].directive ? 1 : 0);
  }
  for (std::size_t p = 0; p < rows.size(); ++p)
    if (rows[p].item < rows.size() && directivesBefore[rows[p].item] != directivesBefore[p])
      return kTabOrderAcrossDirective;
  return std::nullopt;
}

std::optional<std::string_view> idFault(std::string_view typed, std::string_view shown) {
  if (typed == shown) return std::nullopt;
  const auto value = idValue(typed);
  if (!value) return kBadFieldMessage;
  std::string_view digits = trimBlanks(typed);
  while (digits.size() > 1 && digits.front() == '0') digits.remove_prefix(1);
  if (digits.size() > kIdPicture.size() || *value > kMaxControlId) return kNumberTooLargeMessage;
  return std::nullopt;
}

bool setRowId(TabOrderRow& row, std::string_view typed) {
  if (!row.control) return false;
  if (typed == rowIdText(row)) return true;
  if (const auto value = idValue(typed)) row.control->id = static_cast<int>(*value);
  return true;
}

TabOrderAction tabOrderKeyAction(std::vector<TabOrderRow>& rows, std::size_t& current, int key) {
  if (rows.empty()) return TabOrderAction::None;
  const auto row = std::find_if(kTabOrderKeys.begin(), kTabOrderKeys.end(),
                                [&](const TabOrderKey& k) { return k.key == key; });
  if (row == kTabOrderKeys.end()) return TabOrderAction::None;
  current = std::min(current, rows.size() - 1);
  const auto movable = [&](std::size_t a) { return !rows[a].directive && !rows[a + 1].directive; };
  if (row->action == TabOrderAction::MoveUp && current > 0 && movable(current - 1)) {
    std::swap(rows[current - 1], rows[current]);
    --current;
  } else if (row->action == TabOrderAction::MoveDown && current + 1 < rows.size() &&
             movable(current)) {
    std::swap(rows[current], rows[current + 1]);
    ++current;
  }
  return row->action;
}

std::optional<Edit> tabOrderEdit(std::string_view text, const ResourceIndex& index,
                                 std::size_t position, const TabOrder& order) {
  if (tabOrderFault(order)) return std::nullopt;
  if (position >= index.size() || index[position].type != ResourceType::Dialog) return std::nullopt;
  const auto extent = dialogExtent(text, index, position);
  if (!extent) return std::nullopt;
  const std::string_view block = extent->of(text);
  // The rows as read, by their places; the order must be the one read from this block.
  const std::vector<TabOrderRow>& rows = order.rows;
  std::vector<const TabOrderRow*> read(rows.size(), nullptr);
  for (const TabOrderRow& row : rows) {
    if (row.item >= rows.size() || read[row.item]) return std::nullopt;
    read[row.item] = &row;
  }
  if (!block.starts_with(order.head) || !block.ends_with(order.close)) return std::nullopt;
  std::vector<std::size_t> begins{order.head.size()};
  for (const TabOrderRow* row : read) {
    const std::size_t at = begins.back();
    if (block.substr(at, row->before.size()) != row->before ||
        block.substr(at + row->before.size(), row->text.size()) != row->text ||
        block.substr(at + row->before.size() + row->text.size(), row->after.size()) != row->after)
      return std::nullopt;
    begins.push_back(at + readLength(*row));
  }
  if (begins.back() + order.close.size() != block.size()) return std::nullopt;

  // One splice over each run of places whose row is not the one read there, as written.
  Edit edit;
  edit.label = kLabelTabOrder;
  for (std::size_t p = 0; p < rows.size();) {
    std::string written = rowText(rows[p]);
    if (written == block.substr(begins[p], begins[p + 1] - begins[p])) {
      ++p;
      continue;
    }
    const std::size_t from = p;
    for (++p; p < rows.size(); ++p) {
      std::string next = rowText(rows[p]);
      if (next == block.substr(begins[p], begins[p + 1] - begins[p])) break;
      written += next;
    }
    edit.splices.push_back(
        {extent->begin + begins[from], extent->begin + begins[p], std::move(written)});
  }
  if (edit.splices.empty()) return std::nullopt;
  edit.currentBefore = keyAt(index, position);
  edit.currentAfter = edit.currentBefore;
  return edit;
}

bool changeTabOrder(UserInterface& ui, Document& doc, std::optional<std::size_t> current,
                    const OpenTabOrder& open) {
  const auto extent = currentDialogExtent(ui, doc, current);
  if (!extent) return false;
  const std::size_t position = *current;
  const TabOrderReading reading = readFromDocument(doc, *extent);
  if (reading.failure != DialogFailure::None) {
    inform(ui, dialogFailureText(reading.failure));
    return false;
  }
  TabOrder order = reading.order;
  std::size_t row = 0;
  for (;;) {
    TabOrderClosing closing = open(order.rows, row);
    order.rows = std::move(closing.rows);
    row = closing.current;
    if (closing.confirmed) {
      if (const auto fault = tabOrderFault(order)) {
        inform(ui, *fault);
        continue;
      }
      const auto edit = tabOrderEdit(doc.text(), doc.index(), position, order);
      return edit && doc.commit(*edit);
    }
    // Only a change of the rows counts: a body not in the writer's form is no change.
    if (order.rows == reading.order.rows) return false;
    if (showMessage(ui, kQuestionDropChanges, MessageKind::YesNoDefaultNo).accepted()) return false;
  }
}

}  // namespace kolvre
