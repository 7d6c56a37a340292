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
  index_ = indexResources(text_, tree_.statements(), kinds_, headers());
  history_.clear();
  files_.clear();
  savedFiles_.clear();
  disk_ = {};
  markSaved();
  changed({DocumentChange::Kind::Loaded, std::nullopt, {}});
}

void Document::setFileName(std::string fileName) {
  fileName_ = std::move(fileName);
  markInactive(index_, text_, tree_.statements(), headers());
}

void Document::setListedKinds(ListedKinds kinds) {
  kinds_ = kinds;
  index_ = indexResources(text_, tree_.statements(), kinds_, headers());
}

bool Document::commit(const Edit& edit) {
  // The other files first: an edit read over a text that has moved on since changes nothing.
  struct FileAfter {
    const FileEdit& edit;
    std::string text;
  };
  std::vector<FileAfter> filesAfter;
  std::vector<FileDiff> fileDiffs;
  for (const FileEdit& file : edit.files) {
    const auto held = files_.find(file.path);
    if (held != files_.end() && held->second != file.before) return false;
    std::string changed = applySplices(file.before, file.splices);
    if (changed == file.before) continue;
    fileDiffs.push_back({file.path, TextDiff::between(file.before, changed)});
    filesAfter.push_back({file, std::move(changed)});
  }
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
  if (after == text_ && filesAfter.empty()) return false;
  for (FileAfter& file : filesAfter) {
    // A header first held counts as saved as it was read.
    if (!savedFiles_.count(file.edit.path))
      savedFiles_.emplace(file.edit.path, std::hash<std::string>{}(file.edit.before));
    files_.insert_or_assign(file.edit.path, std::move(file.text));
  }
  const StatementMatch match =
      matchStatements(text_, tree_.statements(), after, statements, kMostIndexMatched);
  ResourceIndex index = std::move(index_);
  updateIndex(index, text_, tree_.statements(), after, statements, kinds_, match, headers(),
              edit.keepsSections);
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
  HistoryStep step{edit.label,
                   TextDiff::between(text_, after),
                   std::move(fileDiffs),
                   edit.currentBefore,
                   current,
                   edit.keepsSections};
  text_ = std::move(after);
  tree_.follow(text_, std::move(statements), match);
  index_ = std::move(index);
  // Symbols a header defines decide which sections are compiled.
  if (!step.files.empty()) markInactive(index_, text_, tree_.statements(), headers());
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
  for (const FileDiff& file : step->files) {
    std::string& held = files_[file.path];
    if (forward)
      file.diff.redo(held);
    else
      file.diff.undo(held);
  }
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
  updateIndex(index_, before, tree_.statements(), text_, statements, kinds_, match, headers(),
              step->keepsSections);
  tree_.follow(text_, std::move(statements), match);
  if (!step->files.empty()) markInactive(index_, text_, tree_.statements(), headers());
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
  for (const auto& [path, text] : files_) markHeaderSaved(path);
}

std::vector<std::string> Document::unsavedHeaders() const {
  std::vector<std::string> paths;
  for (const auto& [path, text] : files_) {
    const auto saved = savedFiles_.find(path);
    if (saved == savedFiles_.end() || saved->second != std::hash<std::string>{}(text))
      paths.push_back(path);
  }
  return paths;
}

void Document::markHeaderSaved(const std::string& path) {
  const auto held = files_.find(path);
  if (held != files_.end())
    savedFiles_.insert_or_assign(path, std::hash<std::string>{}(held->second));
}

void Document::markDiskCopyLost() {
  savedSize_ = std::string::npos;  // no text is that long
}

bool Document::unsaved() const {
  return text_.size() != savedSize_ || std::hash<std::string>{}(text_) != savedHash_ ||
         !unsavedHeaders().empty();
}

bool hasUnsavedChanges(const Document& doc) {
  return doc.unsaved();
}

}  // namespace kolvre
