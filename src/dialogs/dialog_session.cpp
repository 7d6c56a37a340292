#include "dialogs/dialog_session.h"

#include <algorithm>
#include <vector>

#include "dialogs/dialog_reader.h"
#include "dialogs/dialog_writer.h"
#include "document/edit.h"
#include "document/resource_commands.h"
#include "messages/messages.h"

namespace kolvre {

namespace {

// Where the dialog of `key` stands now, with its text; nothing when it is gone.
struct StoredDialog {
  std::size_t position = 0;
  std::string block;
};

std::optional<StoredDialog> storedDialog(const Document& doc, const ResourceKey& key) {
  const auto position = findEntry(doc.index(), key);
  if (!position) return std::nullopt;
  const auto extent = dialogExtent(doc.text(), doc.index(), *position);
  if (!extent) return std::nullopt;
  return StoredDialog{*position, std::string(extent->of(doc.text()))};
}

bool closedByUser(DesignerClose how) {
  return how == DesignerClose::Escape || how == DesignerClose::CloseBox;
}

// The most notices one message lists: past them it tells how many more there are.
constexpr std::size_t kListedNotices = 10;

// The notices of a reading as one message: each distinct notice once, in the order read, one to
// a line (a dialog whose controls all use one unknown symbol gives one line, not one box each).
std::string noticesMessage(const Document& doc, const std::vector<std::string>& notices) {
  std::vector<std::string> distinct;
  for (const std::string& notice : notices)
    if (std::find(distinct.begin(), distinct.end(), notice) == distinct.end())
      distinct.push_back(notice);
  std::string message;
  for (std::size_t i = 0; i < distinct.size() && i < kListedNotices; ++i)
    message += (i == 0 ? "" : "\n") + doc.display(distinct[i]);
  if (distinct.size() > kListedNotices)
    message +=
        "\n" + std::string(kMoreNotices) + std::to_string(distinct.size() - kListedNotices) + ".";
  return message;
}

}  // namespace

DesignerClose designerCloseOf(int result) {
  switch (result) {
    case static_cast<int>(DesignerClose::Escape):
      return DesignerClose::Escape;
    case static_cast<int>(DesignerClose::CloseBox):
      return DesignerClose::CloseBox;
    default:
      return DesignerClose::Reopen;
  }
}

std::optional<BlockExtent> currentDialogExtent(UserInterface& ui, const Document& doc,
                                               std::optional<std::size_t> current) {
  if (!current || *current >= doc.index().size()) return std::nullopt;
  if (doc.index()[*current].type != ResourceType::Dialog) return std::nullopt;
  const auto extent = dialogExtent(doc.text(), doc.index(), *current);
  if (!extent) inform(ui, unlocatableMessage(doc.display(doc.index()[*current].name)));
  return extent;
}

std::optional<std::string> unchangedDialogText(std::string_view block, std::string_view name,
                                               const SymbolTable* symbols,
                                               const DialogFontMetrics* fonts) {
  const DialogReading reading = readDialog(block, DialogMode::Designer, symbols, fonts);
  if (reading.failure != DialogFailure::None) return std::nullopt;
  return dialogBlock(reading.dialog, name);
}

bool designDialog(UserInterface& ui, Document& doc, std::size_t position, const OpenDesigner& open,
                  const DialogFontMetrics* fonts) {
  const ResourceKey key = keyAt(doc.index(), position);
  auto stored = storedDialog(doc, key);
  if (!stored) {
    inform(ui, unlocatableMessage(doc.display(key.name)));
    return false;
  }
  std::string working = stored->block;
  // The script's symbols, as the session opens: the designer changes no #define line.
  const std::shared_ptr<const SymbolTable> symbols =
      cachedScriptSymbols(doc.text(), doc.fileName(), &doc.headerTexts());
  bool showNotices = true;
  // The store question: nothing when the dialog left is the stored one unchanged.
  const auto ask = [&](const DialogModel& left) -> std::optional<int> {
    const auto now = storedDialog(doc, key);
    if (!now || dialogBlock(left, key.name) ==
                    unchangedDialogText(now->block, key.name, symbols.get(), fonts))
      return std::nullopt;
    return showMessage(ui, kAskStoreDialog, MessageKind::YesNoCancel).button;
  };
  std::optional<int> answered;  // given while the designer was still open
  const MayCloseDesigner mayClose = [&](const DialogModel& left) {
    answered = ask(left);
    return answered != kIdCancel;
  };
  for (;;) {
    DialogReading reading = readDialog(working, DialogMode::Designer, symbols.get(), fonts);
    if (reading.failure != DialogFailure::None) {
      inform(ui, dialogFailureText(reading.failure));
      return false;
    }
    // The notices of the reading are shown once, when the designer first opens, in one message.
    if (showNotices && !reading.notices.empty()) inform(ui, noticesMessage(doc, reading.notices));
    showNotices = false;
    answered.reset();
    const DesignerClosing closing = open(reading.dialog, mayClose);
    stored = storedDialog(doc, key);
    if (!stored) return true;  // the dialog is gone: nothing left to store into
    if (!closedByUser(closing.how)) {
      working = stored->block;
      continue;
    }
    // Unchanged is what the stored block gives when written without a change: a block not
    // in the writer's own form is then left as it stands.
    const std::optional<int> answer = answered ? answered : ask(closing.dialog);
    if (!answer) return true;
    const std::string written = dialogBlock(closing.dialog, key.name);
    if (*answer == kIdYes) {
      if (const auto edit = dialogEdit(doc.text(), doc.index(), stored->position, written))
        doc.commit(*edit);
      return true;
    }
    if (*answer != kIdCancel) return true;  // No: the edit is dropped
    working = written;
  }
}

}  // namespace kolvre
