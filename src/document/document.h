// The document: the open script's file name, its text, the index of its resources and the
// history of its changes. commit() is the one way the text changes.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "document/disk_state.h"
#include "document/edit.h"
#include "document/history.h"
#include "document/scanner.h"
#include "document/script_file.h"
#include "syntax/encoding.h"
#include "syntax/statements.h"
#include "syntax/syntax_tree.h"

namespace kolvre {

// What changed in the document, as its observer is told.
struct DocumentChange {
  enum class Kind { Loaded, Edited, Undone, Redone };
  Kind kind = Kind::Edited;
  std::optional<ResourceKey> current;  // the entry to make current; nothing: the first
  std::string label;                   // the step's label (edits, undo and redo)
};

class DocumentObserver {
 public:
  virtual ~DocumentObserver() = default;
  // Called after the text and the index have changed. The observer notes what to refresh; it
  // must not run commands or change the document from here.
  virtual void documentChanged(const DocumentChange& change) = 0;
};

class Document {
 public:
  const std::string& fileName() const { return fileName_; }
  // The whole script, CR LF line ends, otherwise exactly as read.
  const std::string& text() const { return text_; }
  // Always indexResources(text(), statements(), listedKinds(), headers()).
  const ResourceIndex& index() const { return index_; }
  // The headers the script includes with quotes, read from its file's folder, or from
  // headerTexts() where a step changed them.
  HeaderReader headers() const { return headerReaderFor(fileName_, &files_); }
  // The headers the history's steps changed (a symbol renamed), by full path: their texts as
  // the steps left them, which a save writes before the script.
  const HeaderTexts& headerTexts() const { return files_; }
  // Those whose text differs from the one last saved (or read): what a save writes first.
  std::vector<std::string> unsavedHeaders() const;
  // Notes that the header at `path` holds its text on disk: after a save wrote it.
  void markHeaderSaved(const std::string& path);
  // Which resources the index holds: all of them, or the six kinds the editor creates.
  ListedKinds listedKinds() const { return kinds_; }
  // Holds the index to `kinds` and builds it again; the text and the history stay.
  void setListedKinds(ListedKinds kinds);
  // Always readStatements(text()).
  const std::vector<Statement>& statements() const { return tree_.statements(); }
  // The text's syntax tree: its statements, each statement's tree read when first asked for and
  // kept while the statement stands unchanged.
  const SyntaxTree& tree() const { return tree_; }
  // How the file stands on disk: its line ends, and whether it is UTF-16.
  const DiskForm& form() const { return form_; }
  TextEncoding encoding() const { return encoding_; }

  // Makes the document a file's content (already without the end-of-file mark) and empties the
  // history: opening, creating and closing a file.
  void load(std::string fileName, std::string diskBytes);
  // The file a save writes to (save as); the text stays as it is.
  // (The headers are read from its folder now: the index's inactive entries follow them.)
  void setFileName(std::string fileName);

  // Applies an edit: the splices, the reorder when asked, the other files' splices (over the
  // texts they were computed on: the document's where it holds one, else the edit's), a new
  // index, a step in the history, and the observer told. False, and nothing recorded, when the
  // texts come out unchanged, or an other file's text is no longer the one the edit read.
  bool commit(const Edit& edit);

  bool canUndo() const { return history_.canUndo(); }
  bool canRedo() const { return history_.canRedo(); }
  // The label of the step that undo or redo would take; empty when there is none.
  std::string_view undoLabel() const;
  std::string_view redoLabel() const;
  // Takes back the latest step (or applies again the one taken back): the exact bytes, the
  // index and the entry that was current. False when there is nothing to do.
  bool undo();
  bool redo();

  History& history() { return history_; }
  const History& history() const { return history_; }

  void setObserver(DocumentObserver* observer) { observer_ = observer; }

  // The bytes a save writes.
  std::string diskBytes() const { return toDisk(text_, form_); }
  // Notes that the text (and every header held) as it stands is the file's content: after a
  // save.
  void markSaved();
  // True when the text, or a header held, differs from the one last loaded or saved.
  bool unsaved() const;

  // The file on disk as last loaded or saved, and the change on disk last asked or told about
  // (disk_state.h). load() forgets both; the command that read or wrote the file records it.
  const DiskState& disk() const { return disk_; }
  // The stamp of the file just read or written; any change asked about is forgotten.
  void recordDiskStamp(const FileStamp& stamp) { disk_ = {stamp, std::nullopt}; }
  // The change on disk the user was just asked or told about.
  void noteDiskChange(const FileStamp& stamp) { disk_.noticed = stamp; }
  // The file on disk no longer holds the text last loaded or saved (another program changed or
  // deleted it, and the editor kept its text): the text counts as unsaved until the next save.
  void markDiskCopyLost();
  // Script bytes as UTF-8 for display, and UTF-8 text as script bytes.
  std::string display(std::string_view bytes) const { return toDisplay(bytes, encoding_); }
  std::string scriptBytes(std::string_view utf8) const { return fromDisplay(utf8, encoding_); }

 private:
  void changed(DocumentChange change);
  // Takes the next step of the history back (undo) or forward again (redo).
  bool replay(bool forward);

  std::string fileName_;  // full path; shown in the window title
  std::string text_;
  ResourceIndex index_;
  ListedKinds kinds_ = ListedKinds::All;
  SyntaxTree tree_;  // of text_, kept along with it
  DiskForm form_;
  TextEncoding encoding_ = TextEncoding::Windows1252;
  // The text as last loaded or saved, kept as its length and a hash of it.
  std::size_t savedSize_ = 0;
  std::size_t savedHash_ = 0;
  DiskState disk_;
  HeaderTexts files_;                                           // the headers the steps changed
  std::map<std::string, std::size_t, std::less<>> savedFiles_;  // a hash of each as saved
  History history_;
  DocumentObserver* observer_ = nullptr;
};

// True when the text differs from the one last loaded or saved (Document::unsaved).
bool hasUnsavedChanges(const Document& doc);

}  // namespace kolvre
