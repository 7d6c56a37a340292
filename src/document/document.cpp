#include "document/document.h"

#include <functional>

#include "document/reorder.h"

namespace kolvre {

void Document::load(std::string fileName, std::string diskBytes) {
  ScriptText script = fromDisk(std::move(diskBytes));
  fileName_ = std::move(fileName);
  text_ = std::move(script.text);
  form_ = script.form;
  // A UTF-16 file is worked on as UTF-8.
  encoding_ = form_.utf16 != Utf16::None ? TextEncoding::Utf8 : detectEncoding(text_);
  tree_.reset(text_, readStatements(text_));
  index_ = indexResources(text_, tree_.statements(), kinds_);
  history_.clear();
  disk_ = {};
  markSaved();
  changed({DocumentChange::Kind::Loaded, std::nullopt, {}});
}

void Document::setListedKinds(ListedKinds kinds) {
  kinds_ = kinds;
  index_ = indexResources(text_, tree_.statements(), kinds_);
}

bool Document::commit(const Edit& edit) {
  // The statements follow each stage, read again only where it changed the text.
  std::string after = applySplices(text_, edit.splices);
  std::vector<Statement> statements = rereadStatements(text_, tree_.statements(), after);
  std::optional<std::size_t> landed = edit.placeBlockAt;
  if (edit.placeBlockAt) {
    std::string placed =
        placeBlock(after, statements, *edit.placeBlockAt, &*landed, edit.placedNameBefore);
    statements = rereadStatements(after, statements, placed);
    after = std::move(placed);
  }
  if (edit.reorderAll) {
    after = reorderScript(after);
    statements = readStatements(after);
  }
  if (after == text_) return false;
  const StatementMatch match =
      matchStatements(text_, tree_.statements(), after, statements, kMostIndexMatched);
  ResourceIndex index = std::move(index_);
  updateIndex(index, text_, tree_.statements(), after, statements, kinds_, match);
  std::optional<ResourceKey> current = edit.currentAfter;
  // The block written is current where it landed, even among namesakes; a resource the index
  // does not hold (read into a statement left open) is not, and the first row is instead.
  if (landed && current) {
    for (std::size_t i = 0; i < index.size(); ++i)
      if (index[i].offset == *landed && sameName(index[i].name, current->name) &&
          index[i].type == current->type)
        current = keyAt(index, i);
  }
  if (current && !findEntry(index, *current)) current.reset();
  HistoryStep step{edit.label, TextDiff::between(text_, after), edit.currentBefore, current};
  text_ = std::move(after);
  tree_.follow(text_, std::move(statements), match);
  index_ = std::move(index);
  history_.push(std::move(step));
  changed({DocumentChange::Kind::Edited, current, edit.label});
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
  return replay(false);
}

bool Document::redo() {
  return replay(true);
}

bool Document::replay(bool forward) {
  const HistoryStep* step = forward ? history_.nextRedo() : history_.nextUndo();
  if (!step) return false;
  const std::string before = text_;
  if (forward) {
    step->diff.redo(text_);
    history_.stepForward();
  } else {
    step->diff.undo(text_);
    history_.stepBack();
  }
  std::vector<Statement> statements = rereadStatements(before, tree_.statements(), text_);
  const StatementMatch match =
      matchStatements(before, tree_.statements(), text_, statements, kMostIndexMatched);
  updateIndex(index_, before, tree_.statements(), text_, statements, kinds_, match);
  tree_.follow(text_, std::move(statements), match);
  changed({forward ? DocumentChange::Kind::Redone : DocumentChange::Kind::Undone,
           forward ? step->currentAfter : step->currentBefore, step->label});
  return true;
}

void Document::changed(DocumentChange change) {
  if (observer_) observer_->documentChanged(change);
}

void Document::markSaved() {
  savedSize_ = text_.size();
  savedHash_ = std::hash<std::string>{}(text_);
}

void Document::markDiskCopyLost() {
  savedSize_ = std::string::npos;  // no text is that long
}

bool Document::unsaved() const {
  return text_.size() != savedSize_ || std::hash<std::string>{}(text_) != savedHash_;
}

bool hasUnsavedChanges(const Document& doc) {
  return doc.unsaved();
}

}  // namespace kolvre
