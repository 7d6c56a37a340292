#include "document/resource_commands.h"

#include <cerrno>
#include <cstdio>

#include "document/name_prompt.h"
#include "document/reorder.h"
#include "document/templates.h"
#include "document/work_files.h"
#include "ui/error_record.h"
#include "ui/messages.h"

namespace kolvre {

namespace {

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The first and second blank-delimited tokens of a text (only blanks separate them).
std::pair<std::string_view, std::string_view> firstTwoTokens(std::string_view text,
                                                             std::size_t* bodyStart = nullptr) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  std::size_t j = i;
  while (j < text.size() && text[j] != ' ') ++j;
  std::size_t k = j;
  while (k < text.size() && text[k] == ' ') ++k;
  std::size_t m = k;
  while (m < text.size() && text[m] != ' ') ++m;
  if (bodyStart) *bodyStart = m;
  return {text.substr(i, j - i), text.substr(k, m - k)};
}

// Appends a block after the separator, trims the whole text, reorders and refreshes.
void appendBlock(Document& doc, ResourceList& list, const std::string& block) {
  std::string text = doc.text;
  text += kBlockSeparator;
  text += block;
  std::size_t first = 0;
  while (first < text.size() && isSpace(text[first])) ++first;
  // Only whole lines go (lines end at CR LF): what stands before the text on its first line,
  // blanks or a lone CR or LF, decides whether that line is a header and what it names.
  while (first > 0 && !(first >= 2 && text[first - 2] == '\r' && text[first - 1] == '\n')) --first;
  std::size_t last = text.size();
  while (last > first && text[last - 1] == ' ') --last;
  doc.text = text.substr(first, last - first);
  ORDINARES(doc);
  const auto [name, type] = firstTwoTokens(block);
  AGGIORNA(doc, &list, name, type);
}

int currentPosition(const Document& doc, const ResourceList& list) {
  return currentEntry(doc, list);
}

// The current entry's block, or nothing after telling the user it cannot be found.
std::optional<BlockExtent> currentBlock(UserInterface& ui, const Document& doc, int position) {
  auto block = entryBlock(doc, static_cast<std::size_t>(position));
  if (!block) inform(ui, unlocatableMessage(doc.display(doc.index[position].name)));
  return block;
}

void writeWorkFile(const std::string& path, std::string_view bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  const bool ok = f && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  const int err = errno;
  if (f && std::fclose(f) != 0 && ok)
    throw CommandError(fileErrorRecord(errno, kGenWrite, path, "scrittura"));
  if (!ok) throw CommandError(fileErrorRecord(err ? err : EIO, kGenCreate, path, "creazione"));
}

}  // namespace

std::string unlocatableMessage(std::string_view name) {
  return "Impossibile individuare il testo della risorsa " + std::string(name) + ".";
}

std::string withCrLf(std::string text) {
  return fromDisk(std::move(text)).text;
}

std::optional<BlockExtent> entryBlock(const Document& doc, std::size_t position) {
  if (position >= doc.index.size()) return std::nullopt;
  const IndexEntry& wanted = doc.index[position];
  // The index may be older than the text (a block replaced in place keeps names and types but
  // moves what follows it): find the entry's header line again in a fresh scan.
  const ResourceIndex fresh = ARESOURCES(doc.text);
  std::size_t offset = std::string::npos;
  if (position < fresh.size() && fresh[position].name == wanted.name &&
      fresh[position].type == wanted.type)
    offset = fresh[position].offset;
  const std::vector<HeaderLine> lines = scanHeaderLines(doc.text);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const HeaderLine& h = lines[i];
    const bool same = offset != std::string::npos
                          ? h.offset == offset
                          : h.name == wanted.name && h.type == wanted.type && h.locatable;
    if (same) return h.locatable ? std::optional(blockExtentAt(doc.text, lines, i)) : std::nullopt;
  }
  return std::nullopt;
}

bool NUOVARIS(UserInterface& ui, Document& doc, ResourceList& list, std::string_view kind) {
  const auto type = templateKind(kind);
  if (!type) return false;
  std::string lower(kind);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  const auto name =
      askResourceName(ui, doc.index, "Nuova " + lower, "Nome:", "", kind, doc.encoding);
  if (!name) return false;
  appendBlock(doc, list, resourceTemplate(*type, *name));
  return true;
}

bool RINORIS(UserInterface& ui, Document& doc, ResourceList& list) {
  const int position = currentPosition(doc, list);
  if (position < 0) return false;
  const IndexEntry entry = doc.index[position];
  const std::string_view keyword = typeKeyword(entry.type);
  const auto block = currentBlock(ui, doc, position);
  if (!block) return false;
  const auto name =
      askResourceName(ui, doc.index, "Rinomina", "Nuovo nome:", entry.name, keyword, doc.encoding);
  if (!name) return false;
  // Only the header's own name changes: the same words inside captions or comments stay.
  doc.text.replace(block->begin, entry.name.size(), *name);
  ORDINARES(doc);
  AGGIORNA(doc, &list, *name, keyword);
  return true;
}

bool ELIMRIS(UserInterface& ui, Document& doc, ResourceList& list, bool ask) {
  const int position = currentPosition(doc, list);
  if (position < 0) return false;
  const ResourceIndex before = doc.index;
  const IndexEntry& entry = before[position];
  const auto block = currentBlock(ui, doc, position);
  if (!block) return false;
  if (ask && !POPMSG(ui, "Confermi l'eliminazione della risorsa " + doc.display(entry.name) + "?",
                     MsgKind::OkCancel)
                  .accepted())
    return false;
  // The block and the separator after it: at most three CR LF pairs, never the next resource.
  std::size_t end = block->end;
  for (int pairs = 0; pairs < 3 && doc.text.compare(end, 2, "\r\n") == 0; ++pairs) end += 2;
  doc.text.erase(block->begin, end - block->begin);
  const std::size_t row = static_cast<std::size_t>(position) + 1;
  if (row == 1) {
    AGGIORNA(doc, &list);
  } else {
    const IndexEntry& neighbour = row == before.size() ? before[row - 2] : before[row];
    AGGIORNA(doc, &list, neighbour.name, neighbour.code());
  }
  return true;
}

bool COPIARIS(UserInterface& ui, Document& doc, ResourceList& list) {
  const int position = currentPosition(doc, list);
  if (position < 0) return false;
  const auto block = currentBlock(ui, doc, position);
  if (!block) return false;
  ui.setClipboardText(toDisk(block->of(doc.text), doc.lineEnds));
  return false;
}

bool INCOLLARIS(UserInterface& ui, Document& doc, ResourceList& list) {
  const std::string text = withCrLf(ui.clipboardText());
  std::size_t bodyStart = 0;
  const auto [pastedName, typeToken] = firstTwoTokens(text, &bodyStart);
  if (typeToken.empty()) {
    inform(ui, "Gli appunti non contengono una risorsa da incollare.");
    return false;
  }
  const auto name =
      askResourceName(ui, doc.index, "Incolla", "Nome:", pastedName, typeToken, doc.encoding);
  if (!name) return false;
  appendBlock(doc, list, *name + " " + std::string(typeToken) + text.substr(bodyStart));
  return true;
}

bool replaceResourceText(UserInterface& ui, Document& doc, ResourceList& list, std::size_t position,
                         std::string edited) {
  const auto block = currentBlock(ui, doc, static_cast<int>(position));
  if (!block) return false;
  const std::string_view old = block->of(doc.text);
  if (edited == toDisk(old, doc.lineEnds) || edited == old) return false;
  const std::string replacement = withCrLf(std::move(edited));
  doc.text.replace(block->begin, block->end - block->begin, replacement);
  ORDINARES(doc);
  const auto [name, type] = firstTwoTokens(replacement);
  AGGIORNA(doc, &list, name, type);
  return true;
}

bool EDITRIS(UserInterface& ui, Document& doc, ResourceList& list) {
  const int position = currentPosition(doc, list);
  if (position < 0) return false;
  const std::string editor = ui.readSetting("Edit", "TXT", "");
  if (editor.empty()) {
    inform(ui,
           "Nessun editor di testo impostato.;Indicare il programma nella chiave TXT della "
           "sezione [Edit] del file " +
               ui.settingsFile() + ".");
    return false;
  }
  const auto block = currentBlock(ui, doc, position);
  if (!block) return false;
  const std::string work = GETNEWFNAME();
  const std::string written = toDisk(block->of(doc.text), doc.lineEnds);
  writeWorkFile(work, written);
  list.hideWindow();
  const int started = ui.runAndWait(editor, {work});
  list.showWindow();
  FileRead back = readWholeFile(work);
  std::remove(work.c_str());
  if (started == -1) {
    inform(ui, "Impossibile avviare l'editor " + editor +
                   ".;Controllare la chiave TXT della "
                   "sezione [Edit] del file " +
                   ui.settingsFile() + ".");
    return false;
  }
  if (back.error != 0) throw CommandError(fileErrorRecord(back.error, kGenRead, work, "lettura"));
  if (back.bytes == written) return false;
  return replaceResourceText(ui, doc, list, static_cast<std::size_t>(position),
                             std::move(back.bytes));
}

}  // namespace kolvre
