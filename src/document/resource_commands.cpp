#include "document/resource_commands.h"

#include <cerrno>
#include <cstdio>

#include "base/text.h"
#include "document/name_prompt.h"
#include "document/resource_edits.h"
#include "document/templates.h"
#include "document/work_files.h"
#include "messages/error_record.h"
#include "messages/messages.h"

namespace kolvre {

namespace {

// The current entry's block, or nothing after telling the user it cannot be found.
std::optional<BlockExtent> currentBlock(UserInterface& ui, const Document& doc,
                                        std::size_t position) {
  auto block = position < doc.index().size()
                   ? blockAt(doc.statements(), doc.index()[position].offset)
                   : std::nullopt;
  if (!block) inform(ui, unlocatableMessage(doc.display(doc.index()[position].name)));
  return block;
}

bool hasEntry(const Document& doc, std::optional<std::size_t> current) {
  return current && *current < doc.index().size();
}

std::optional<ResourceKey> keyOf(const Document& doc, std::optional<std::size_t> current) {
  if (!hasEntry(doc, current)) return std::nullopt;
  return keyAt(doc.index(), *current);
}

// Whether a text begins (after comments) with a string table whose body closes.
bool startsWithWholeStringTable(std::string_view text) {
  for (const Statement& s : readStatements(text)) {
    if (s.kind == StatementKind::Comment) continue;
    return s.kind == StatementKind::StringTable && s.complete;
  }
  return false;
}

}  // namespace

std::string unlocatableMessage(std::string_view name) {
  return "Impossibile individuare il testo della risorsa " + std::string(name) + ".";
}

std::string unclosedMessage(std::string_view name) {
  return "Il testo della risorsa " + std::string(name) +
         " non si chiude: correggilo con \"Modifica come testo\" prima di eliminarla.";
}

std::string joinsNeighboursMessage(std::string_view name) {
  return "Eliminando la risorsa " + std::string(name) +
         " il testo che la circonda verrebbe letto in un altro modo: prima di essa una risorsa, "
         "un commento o una stringa non si chiude. Correggilo con \"Modifica come testo\".";
}

std::string noPlaceMessage(std::string_view name) {
  return "Non c'è un punto dove inserire la risorsa " + std::string(name) +
         " senza cambiare il modo in cui si legge il testo intorno: una risorsa, un commento o "
         "una stringa non si chiude. Correggilo con \"Modifica come testo\".";
}

std::string withCrLf(std::string text) {
  return fromDisk(std::move(text)).text;
}

std::optional<std::string> newFileNameFault(std::string_view file, bool required) {
  if (required && trimBlanks(file).empty()) return "Indicare il file della risorsa.";
  if (file.find('"') != std::string_view::npos)
    return "Nome di file non valido: " + std::string(file) + ".";
  return std::nullopt;
}

bool newResource(UserInterface& ui, Document& doc, ResourceType kind,
                 std::optional<std::size_t> current) {
  const ResourceTypeInfo& info = typeInfo(kind);
  const auto name = askResourceName(ui, doc.index(), std::string(info.newLabel), "Nome:", "",
                                    info.keyword, doc.encoding());
  if (!name) return false;
  // A kind that can name a file asks for it: none where the data may stand in the block.
  std::string file;
  if (!info.fileTemplate.empty()) {
    const bool required = info.bodyTemplate.empty();
    for (;;) {
      if (!ui.inputBox(info.newLabel, required ? "File:" : "File (vuoto: i dati nel blocco):", file,
                       260))
        return false;
      const auto fault = newFileNameFault(file, required);
      if (!fault) break;
      inform(ui, *fault);
    }
    file = fromDisplay(trimBlanks(file), doc.encoding());
  }
  std::optional<Edit> edit = newResourceEdit(doc.text(), doc.statements(), kind, *name, file);
  if (!edit) {
    inform(ui, noPlaceMessage(doc.display(*name)));
    return false;
  }
  edit->currentBefore = keyOf(doc, current);
  return doc.commit(*edit);
}

bool reorderResources(Document& doc, std::optional<std::size_t> current) {
  Edit edit;
  edit.label = kLabelReorderAll;
  edit.reorderAll = true;
  edit.currentBefore = keyOf(doc, current);
  edit.currentAfter = edit.currentBefore;
  return doc.commit(edit);
}

bool renameResource(UserInterface& ui, Document& doc, std::optional<std::size_t> current) {
  if (!hasEntry(doc, current)) return false;
  const IndexEntry entry = doc.index()[*current];
  if (entry.type == ResourceType::StringTable) {
    inform(ui, kUnnamedMessage);
    return false;
  }
  const auto block = currentBlock(ui, doc, *current);
  if (!block) return false;
  // Its own name is no duplicate: in other letters it changes their case.
  const auto name = askResourceName(ui, doc.index(), "Rinomina", "Nuovo nome:", entry.name,
                                    entry.keyword(), doc.encoding(), *current);
  if (!name) return false;
  return doc.commit(renameEdit(doc.index(), *current, *block, *name));
}

bool deleteResource(UserInterface& ui, Document& doc, std::optional<std::size_t> current) {
  if (!hasEntry(doc, current)) return false;
  const auto block = currentBlock(ui, doc, *current);
  if (!block) return false;
  const std::string name = doc.display(doc.index()[*current].name);
  // Where a body never closes, the end of the resource is a guess: the user corrects it first.
  if (!block->complete) {
    inform(ui, unclosedMessage(name));
    return false;
  }
  if (!showMessage(ui, "Confermi l'eliminazione della risorsa " + name + "?", MessageKind::OkCancel)
           .accepted())
    return false;
  const std::optional<Edit> edit =
      deleteEdit(doc.text(), doc.index(), *current, *block, &doc.statements());
  if (!edit) {
    inform(ui, joinsNeighboursMessage(name));
    return false;
  }
  return doc.commit(*edit);
}

bool copyResource(UserInterface& ui, const Document& doc, std::optional<std::size_t> current) {
  if (!hasEntry(doc, current)) return false;
  const auto block = currentBlock(ui, doc, *current);
  if (!block) return false;
  ui.setClipboardText(doc.display(withLineEnds(block->of(doc.text()), doc.form().lineEnds)));
  return false;
}

bool pasteResource(UserInterface& ui, Document& doc, std::optional<std::size_t> current) {
  const std::string text = withCrLf(doc.scriptBytes(ui.clipboardText()));
  // A string table has no name to ask for: it goes in as copied, when it is what the text
  // begins with and its body is whole (the word alone, or a body left open, would take in the
  // resources after it).
  if (const std::optional<ResourceKey> key = keyOfText(text);
      key && key->type == ResourceType::StringTable) {
    if (!startsWithWholeStringTable(text)) {
      inform(ui, kNothingToPasteMessage);
      return false;
    }
    std::optional<Edit> edit = appendEdit(doc.text(), text, kLabelPaste, &doc.statements());
    if (!edit) {
      inform(ui, noPlaceMessage("STRINGTABLE"));
      return false;
    }
    edit->currentBefore = keyOf(doc, current);
    return doc.commit(*edit);
  }
  const HeaderTokens tokens = firstTwoTokens(text);
  if (tokens.type.empty()) {
    inform(ui, kNothingToPasteMessage);
    return false;
  }
  const auto name = askResourceName(ui, doc.index(), "Incolla", "Nome:", tokens.name,
                                    pastedTypeWord(text), doc.encoding());
  if (!name) return false;
  std::optional<Edit> edit =
      appendEdit(doc.text(), pastedBlock(text, *name), kLabelPaste, &doc.statements());
  if (!edit) {
    inform(ui, noPlaceMessage(doc.display(*name)));
    return false;
  }
  edit->currentBefore = keyOf(doc, current);
  return doc.commit(*edit);
}

bool editResourceAsText(UserInterface& ui, Document& doc, std::optional<std::size_t> current) {
  if (!hasEntry(doc, current)) return false;
  const auto editor = configuredEditor(ui, "TXT", "di testo");
  if (!editor) return false;
  const auto block = currentBlock(ui, doc, *current);
  if (!block) return false;
  const std::string work = workFolder().newFile(".rc");
  // The work file stands in the script's own form: its line ends, UTF-16 where it is.
  const std::string written = toDisk(block->of(doc.text()), doc.form());
  writeWorkFile(work, written);
  const bool ran = runEditor(ui, *editor, "TXT", work);
  FileRead back = readWholeFile(work);
  std::remove(work.c_str());
  if (!ran) return false;
  if (back.error != 0) throw CommandError(fileErrorRecord(back.error, kGenRead, work, "lettura"));
  if (back.bytes == written) return false;
  const auto edit =
      replaceEdit(doc.text(), doc.index(), *current, *block, withCrLf(std::move(back.bytes)));
  return edit && doc.commit(*edit);
}

}  // namespace kolvre
