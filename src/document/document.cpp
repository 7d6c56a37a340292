#include "document/document.h"

#include "document/reorder.h"

namespace kolvre {

void Document::setFromDisk(std::string bytes) {
  ScriptText script = fromDisk(std::move(bytes));
  text = std::move(script.text);
  lineEnds = script.lineEnds;
  encoding = detectEncoding(text);
}

int currentEntry(const Document& doc, const ResourceList& list) {
  const int row = list.currentRow();
  if (row < 1 || static_cast<std::size_t>(row) > doc.index.size()) return -1;
  return row - 1;
}

void ORDINARES(Document& doc) {
  doc.text = reorderScript(doc.text);
}

void AGGIORNA(Document& doc, ResourceList* list, std::string_view name, std::string_view type) {
  doc.index = ARESOURCES(doc.text);
  if (!list) return;
  list->bind(doc.index);
  if (!name.empty()) {
    for (std::size_t i = 0; i < doc.index.size(); ++i) {
      const IndexEntry& e = doc.index[i];
      if (e.name == name && typeMatchesByFirstLetter(type, e.type)) {
        list->setCurrentRow(static_cast<int>(i) + 1);
        break;
      }
    }
  }
  list->stabilize();
  if (doc.index.empty()) list->clearStatusText();
}

bool hasUnsavedChanges(const Document& doc) {
  return readWholeFile(doc.fileName).bytes != doc.diskBytes();
}

}  // namespace kolvre
