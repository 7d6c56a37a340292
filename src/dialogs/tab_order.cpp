#include "dialogs/tab_order.h"

#include <algorithm>

#include "base/text.h"
#include "dialogs/dialog_session.h"
#include "dialogs/dialog_writer.h"
#include "document/edit.h"
#include "document/resource_commands.h"
#include "messages/form_check.h"
#include "messages/messages.h"
#include "syntax/lexer.h"
#include "syntax/vocabulary.h"

namespace kolvre {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// A text field as the list shows it: a quoted text without its quotes and with its doubled
// quotes undone, anything else (an icon's name) as written.
std::string fieldText(std::string_view field) {
  if (field.size() >= 2 && field.front() == '"' && field.back() == '"')
    return undoubledQuotes(field.substr(1, field.size() - 2));
  return std::string(field);
}

std::string captionOf(const DialogControl& control) {
  if (control.statement) {
    const KeptStatement& kept = *control.statement;
    if (!kept.textField) return {};
    return fieldText(std::string_view(kept.text).substr(
        kept.textField->begin, kept.textField->end - kept.textField->begin));
  }
  return liveClass(control.live).receivesText ? control.caption : std::string();
}

// Another statement on one line, as the caption column shows it.
std::string statementText(std::string_view text) {
  std::string out;
  for (char c : trimSpace(text)) {
    if (c == '\n') continue;
    out += c == '\r' || c == '\t' ? ' ' : c;
  }
  return out;
}

void addOtherRows(std::vector<TabOrderRow>& rows, const std::vector<std::string>& lines) {
  for (const std::string& line : lines)
    if (!trimSpace(line).empty()) rows.push_back({std::nullopt, line});
}

// Where the line after the body's "{" or BEGIN line starts; nothing without one. A comment on
// that line is none of it, as the dialog's reader reads it.
std::optional<std::size_t> afterBodyOpen(std::string_view block) {
  const std::string code = blankComments(block);
  std::size_t at = code.find(kLineEnd);
  while (at != std::string_view::npos) {
    const std::size_t start = at + 2;
    at = code.find(kLineEnd, start);
    const std::string_view line = trimSpace(std::string_view(code).substr(start, at - start));
    if (opensBodyLine(line))
      return at == std::string_view::npos ? std::nullopt : std::optional(at + 2);
  }
  return std::nullopt;
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
  const DialogUnitRect units = unitsAsWritten(c);
  return {captionOf(c),
          rowIdText(row),
          scriptClassName(c),
          std::to_string(units.x),
          std::to_string(units.y),
          std::to_string(units.width),
          std::to_string(units.height)};
}

TabOrderReading readTabOrder(std::string_view block) {
  TabOrderReading reading;
  DialogReading dialog = readDialog(block, DialogMode::Designer);
  const auto headEnd = afterBodyOpen(block);
  if (dialog.failure != DialogFailure::None || !headEnd) {
    reading.failure =
        dialog.failure == DialogFailure::None ? DialogFailure::NoBody : dialog.failure;
    return reading;
  }
  TabOrder& order = reading.order;
  order.head = std::string(block.substr(0, *headEnd));
  order.close = dialog.dialog.bodyClose;
  for (DialogControl& control : dialog.dialog.controls) {
    addOtherRows(order.rows, control.linesBefore);
    control.linesBefore.clear();
    order.rows.push_back({std::move(control), {}});
  }
  addOtherRows(order.rows, dialog.dialog.bodyTail);
  return reading;
}

std::string tabOrderBlock(const TabOrder& order) {
  std::string out = order.head;
  for (const TabOrderRow& row : order.rows) {
    out += row.control ? controlStatement(*row.control) : row.text;
    out += kLineEnd;
  }
  out += order.close;
  return out;
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
  if (row->action == TabOrderAction::MoveUp && current > 0) {
    std::swap(rows[current - 1], rows[current]);
    --current;
  } else if (row->action == TabOrderAction::MoveDown && current + 1 < rows.size()) {
    std::swap(rows[current], rows[current + 1]);
    ++current;
  }
  return row->action;
}

std::optional<Edit> tabOrderEdit(std::string_view text, const ResourceIndex& index,
                                 std::size_t position, const TabOrder& order) {
  auto edit = dialogEdit(text, index, position, tabOrderBlock(order));
  if (edit) edit->label = kLabelTabOrder;
  return edit;
}

bool changeTabOrder(UserInterface& ui, Document& doc, std::optional<std::size_t> current,
                    const OpenTabOrder& open) {
  const auto extent = currentDialogExtent(ui, doc, current);
  if (!extent) return false;
  const std::size_t position = *current;
  const TabOrderReading reading = readTabOrder(extent->of(doc.text()));
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
      const auto edit = tabOrderEdit(doc.text(), doc.index(), position, order);
      return edit && doc.commit(*edit);
    }
    // Only a change of the rows counts: a body not in the writer's form is no change.
    if (order.rows == reading.order.rows) return false;
    if (showMessage(ui, kQuestionDropChanges, MessageKind::YesNoDefaultNo).accepted()) return false;
  }
}

}  // namespace kolvre
