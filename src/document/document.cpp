#include "document/document.h"

#include "document/reorder.h"

namespace kolvre {

void Document::load(std::string fileName, std::string diskBytes) {
  ScriptText script = fromDisk(std::move(diskBytes));
  fileName_ = std::move(fileName);
  text_ = std::move(script.text);
  form_ = script.form;
  // A UTF-16 file is worked on as UTF-8.
  encoding_ = form_.utf16 != Utf16::None ? TextEncoding::Utf8 : detectEncoding(text_);
  index_ = ARESOURCES(text_);
  history_.clear();
  changed({DocumentChange::Kind::Loaded, std::nullopt, {}});
}

bool Document::commit(const Edit& edit) {
  std::string after = applySplices(text_, edit.splices);
  if (edit.reorder) after = reorderScript(after);
  if (after == text_) return false;
  HistoryStep step{edit.label, TextDiff::between(text_, after), edit.currentBefore,
                   edit.currentAfter};
  text_ = std::move(after);
  index_ = ARESOURCES(text_);
  history_.push(std::move(step));
  changed({DocumentChange::Kind::Edited, edit.currentAfter, edit.label});
  return true;
}

std::string_view Document::undoLabel() const {
  const HistoryStep* step = history_.nextUndo();
  return step ? std::string_view(step->label) : std::string_view();
}

std::string_view Document::redoLabel() const {
  const HistoryStep* step = history_.nextRedo();
  return step ? std::string_view(step->label) : std::string_view();
}

bool Document::undo() {
  const HistoryStep* step = history_.nextUndo();
  if (!step) return false;
  step->diff.undo(text_);
  index_ = ARESOURCES(text_);
  history_.stepBack();
  changed({DocumentChange::Kind::Undone, step->currentBefore, step->label});
  return true;
}

bool Document::redo() {
  const HistoryStep* step = history_.nextRedo();
  if (!step) return false;
  step->diff.redo(text_);
  index_ = ARESOURCES(text_);
  history_.stepForward();
  changed({DocumentChange::Kind::Redone, step->currentAfter, step->label});
  return true;
}

void Document::changed(DocumentChange change) {
  if (observer_) observer_->documentChanged(change);
}

std::string ORDINARES(std::string_view text) {
  return reorderScript(text);
}

bool hasUnsavedChanges(const Document& doc) {
  return readWholeFile(doc.fileName()).bytes != doc.diskBytes();
}

}  // namespace kolvre
