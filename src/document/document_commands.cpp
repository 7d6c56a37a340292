#include "document/document_commands.h"

#include <cerrno>

#include "app/recent_files.h"
#include "ui/error_record.h"
#include "ui/messages.h"

namespace kolvre {

namespace {

bool confirmReplace(UserInterface& ui) {
  return POPMSG(ui, "Sostituire il file esistente?", MsgKind::OkCancel).accepted();
}

}  // namespace

bool writeDocument(UserInterface& ui, const Document& doc) {
  if (writeFileSafely(doc.fileName, doc.diskBytes()) == 0) return true;
  inform(ui, "Impossibile salvare il file " + doc.fileName + ".");
  return false;
}

void loadDocument(Document& doc, const std::string& path) {
  FileRead read = readWholeFile(path);
  if (read.error != 0 && read.error != ENOENT)
    throw CommandError(fileErrorRecord(read.error, kGenOpen, path, "apertura"));
  doc.fileName = path;
  doc.setFromDisk(std::move(read.bytes));
}

bool CHIUDI(UserInterface& ui, Document& doc) {
  if (!hasUnsavedChanges(doc)) return true;
  const MsgResult answer = POPMSG(ui, "Il file di risorse è stato modificato. Salvo le modifiche?",
                                  MsgKind::YesNoCancel);
  if (answer.button == kIdNo) return true;
  if (answer.button == kIdCancel || answer.button == 0) return false;
  return writeDocument(ui, doc);
}

bool CREARC(UserInterface& ui, Document& doc, ResourceList* list) {
  if (list && !CHIUDI(ui, doc)) return false;
  std::string name = ui.chooseFile(FileDialogMode::Save, "Nuovo file di risorse...");
  if (name.empty()) return false;
  name = withDefaultExtension(name);
  if (fileExists(name) && !confirmReplace(ui)) return false;
  if (writeFileSafely(name, {}) != 0) {
    inform(ui, "Impossibile creare il file " + name + ".");
    return false;
  }
  ADDMRU(ui, name);
  doc.fileName = name;
  doc.text.clear();
  doc.lineEnds = LineEnds::AsRead;
  doc.encoding = TextEncoding::Windows1252;
  AGGIORNA(doc, list);
  return true;
}

bool APRIRC(UserInterface& ui, Document& doc, ResourceList* list, const std::string& path) {
  if (!CHIUDI(ui, doc)) return false;
  std::string name = path;
  if (name.empty()) {
    name = ui.chooseFile(FileDialogMode::Open, "Apri file di risorse");
    if (name.empty()) return false;
    name = withDefaultExtension(name);
    if (!fileExists(name)) {
      inform(ui, "Impossibile trovare il file " + name + ".");
      return false;
    }
  }
  // Read before anything changes, so that a file that cannot be read leaves the document and
  // the recent-files list as they were.
  Document opened;
  loadDocument(opened, name);
  ADDMRU(ui, name);
  doc.fileName = std::move(opened.fileName);
  doc.text = std::move(opened.text);
  doc.lineEnds = opened.lineEnds;
  doc.encoding = opened.encoding;
  AGGIORNA(doc, list);
  return true;
}

bool SALVARC(UserInterface& ui, Document& doc, bool saveAs) {
  if (saveAs) {
    std::string name = ui.chooseFile(FileDialogMode::Save, "Salva file di risorse con nome...");
    if (name.empty()) return false;
    name = withDefaultExtension(name);
    if (isDirectory(name)) {
      inform(ui, "Esiste già una cartella chiamata " + name + ".");
      return false;
    }
    if (fileExists(name) && !confirmReplace(ui)) return false;
    doc.fileName = name;
  }
  if (!writeDocument(ui, doc)) return false;
  if (saveAs) ADDMRU(ui, doc.fileName);
  return true;
}

}  // namespace kolvre
