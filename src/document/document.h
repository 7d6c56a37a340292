// The document: the open script's file name, its text and the index of its resources.
#pragma once

#include <string>
#include <string_view>

#include "document/encoding.h"
#include "document/scanner.h"
#include "document/script_file.h"

namespace kolvre {

struct Document {
  std::string fileName;  // full path; shown in the window title
  std::string text;      // the whole script, CR LF line ends, otherwise exactly as read
  ResourceIndex index;   // always ARESOURCES(text) after a command
  LineEnds lineEnds = LineEnds::AsRead;
  TextEncoding encoding = TextEncoding::Windows1252;

  // Replaces the text by a file's bytes (already without the end-of-file mark).
  void setFromDisk(std::string bytes);
  // The bytes a save writes.
  std::string diskBytes() const { return toDisk(text, lineEnds); }
  // A name or other script text as UTF-8 for display.
  std::string display(std::string_view bytes) const { return toDisplay(bytes, encoding); }
};

// What the index refresh needs of the resource list on screen.
class ResourceList {
 public:
  virtual ~ResourceList() = default;
  // Shows a new index; the current row becomes 1.
  virtual void bind(const ResourceIndex& index) = 0;
  // Makes a 1-based row current.
  virtual void setCurrentRow(int row) = 0;
  virtual int currentRow() const = 0;
  // Re-shows the current resource: scroll range, repaint, change action, focus.
  virtual void stabilize() = 0;
  // Clears the default text of the status bar of the window that holds the list.
  virtual void clearStatusText() = 0;
  // Hides and shows again the window that holds the list, while an external editor runs.
  virtual void hideWindow() {}
  virtual void showWindow() {}
};

// The 0-based index position of the list's current row, or -1 when the index is empty.
int currentEntry(const Document& doc, const ResourceList& list);

// ORDINARES: reorders the document's text by type, then name.
void ORDINARES(Document& doc);

// AGGIORNA: rebuilds the index from the text and reloads the list (when given), moving to the
// first entry named exactly `name` whose type code starts with the first letter of `type`.
void AGGIORNA(Document& doc, ResourceList* list, std::string_view name = {},
              std::string_view type = {});

// True when the text differs from the file's content on disk read again now, compared in the
// form the file is written in. A file that cannot be read counts as empty.
bool hasUnsavedChanges(const Document& doc);

}  // namespace kolvre
