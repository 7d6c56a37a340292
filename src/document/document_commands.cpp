#include "document/document_commands.h"

#include <cerrno>

#include "messages/error_record.h"
#include "messages/messages.h"

namespace kolvre {

namespace {

bool confirmReplace(UserInterface& ui) {
  return showMessage(ui, "Sostituire il file esistente?", MessageKind::OkCancel).accepted();
}

constexpr std::string_view kChangedOnDisk = "Il file è stato modificato da un altro programma.";

// Before a save over the script's own file: a copy another program wrote since the last load
// or save (whether or not the user was asked to reload it) is replaced only on Yes.
bool mayWriteOverDiskCopy(UserInterface& ui, const Document& doc) {
  if (!diskCopyIsForeign(doc.disk(), fileStamp(doc.fileName()))) return true;
  return showMessage(ui, std::string(kChangedOnDisk) + " Sovrascriverlo?",
                     MessageKind::YesNoDefaultNo)
      .accepted();
}

}  // namespace

bool writeDocument(UserInterface& ui, Document& doc) {
  // The headers a step changed go first, each whole, and only once every one of them can be
  // written; the script last: a header that cannot be written leaves every file as it was.
  const std::vector<std::string> headers = doc.unsavedHeaders();
  for (const std::string& header : headers)
    if (const int problem = writableProblem(header); problem != 0) {
      inform(ui, "Impossibile salvare il file " + header + ".;" + saveFailureReason(problem) +
                     " Il file di risorse non è stato salvato.");
      return false;
    }
  for (const std::string& header : headers) {
    if (const int failed = writeFileSafely(header, doc.headerTexts().find(header)->second);
        failed != 0) {
      inform(ui, "Impossibile salvare il file " + header + ".;" + saveFailureReason(failed) +
                     " Il file di risorse non è stato salvato.");
      return false;
    }
    doc.markHeaderSaved(header);
  }
  const int error = writeFileSafely(doc.fileName(), doc.diskBytes());
  if (error == 0) {
    doc.markSaved();
    // The file as written: the watcher's signal that this write causes finds nothing new.
    doc.recordDiskStamp(fileStamp(doc.fileName()));
    return true;
  }
  inform(ui, "Impossibile salvare il file " + doc.fileName() + ".;" + saveFailureReason(error));
  return false;
}

void loadDocument(Document& doc, const std::string& path) {
  // Taken before reading: a change made while the file is read shows as a change afterwards.
  const FileStamp stamp = fileStamp(path);
  FileRead read = readWholeFile(path);
  if (read.error != 0 && read.error != ENOENT)
    throw CommandError(fileErrorRecord(read.error, kGenOpen, path, "apertura"));
  // A UTF-16 file that would not come back byte for byte is not opened at all.
  const std::string problem = utf16Problem(read.bytes);
  if (!problem.empty())
    throw Refusal("Impossibile aprire il file " + path + ".;Il file è in UTF-16 ma " + problem +
                  ": salvandolo si perderebbero dei dati.");
  doc.load(path, std::move(read.bytes));
  doc.recordDiskStamp(stamp);
}

bool checkScriptOnDisk(UserInterface& ui, Document& doc) {
  const FileStamp now = fileStamp(doc.fileName());
  const DiskNotice notice = diskNotice(doc.disk(), now, hasUnsavedChanges(doc));
  if (notice == DiskNotice::None) return false;
  // Noted before asking: the checks that come while the question is up ask nothing.
  doc.noteDiskChange(now);
  if (notice == DiskNotice::Deleted) {
    doc.markDiskCopyLost();
    inform(ui,
           "Il file è stato eliminato da un altro programma.;Sarà scritto di nuovo al "
           "prossimo salvataggio.");
    return false;
  }
  const bool losing = notice == DiskNotice::ChangedOverUnsaved;
  const std::string question = std::string(kChangedOnDisk) + " Ricaricarlo?" +
                               (losing ? ";Le modifiche non salvate andranno perse." : "");
  if (!showMessage(ui, question, losing ? MessageKind::YesNoDefaultNo : MessageKind::YesNo)
           .accepted()) {
    doc.markDiskCopyLost();
    return false;
  }
  loadDocument(doc, doc.fileName());
  return true;
}

bool closeScript(UserInterface& ui, Document& doc) {
  if (!hasUnsavedChanges(doc)) return true;
  const MessageResult answer = showMessage(
      ui, "Il file di risorse è stato modificato. Salvo le modifiche?", MessageKind::YesNoCancel);
  if (answer.button == kIdNo) return true;
  if (answer.button == kIdCancel || answer.button == 0) return false;
  return mayWriteOverDiskCopy(ui, doc) && writeDocument(ui, doc);
}

bool newScript(UserInterface& ui, Document& doc, bool askClose) {
  if (askClose && !closeScript(ui, doc)) return false;
  std::string name = ui.chooseFile(FileDialogMode::Save, "Nuovo file di risorse...");
  if (name.empty()) return false;
  name = withDefaultExtension(name);
  if (fileExists(name) && !confirmReplace(ui)) return false;
  if (const int error = writeFileSafely(name, {}); error != 0) {
    inform(ui, "Impossibile creare il file " + name + ".;" + saveFailureReason(error));
    return false;
  }
  doc.load(name, {});
  doc.recordDiskStamp(fileStamp(name));
  return true;
}

bool openScriptFile(UserInterface& ui, Document& doc, const std::string& path) {
  if (!closeScript(ui, doc)) return false;
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
  // A file that cannot be read raises before anything changes, so the document (and the
  // caller's recent files) stay as they were.
  loadDocument(doc, name);
  return true;
}

bool saveScript(UserInterface& ui, Document& doc, bool saveAs) {
  if (saveAs) {
    std::string name = ui.chooseFile(FileDialogMode::Save, "Salva file di risorse con nome...");
    if (name.empty()) return false;
    name = withDefaultExtension(name);
    if (isDirectory(name)) {
      inform(ui, "Esiste già una cartella chiamata " + name + ".");
      return false;
    }
    if (fileExists(name) && !confirmReplace(ui)) return false;
    const std::string old = doc.fileName();
    doc.setFileName(name);
    if (!writeDocument(ui, doc)) {
      doc.setFileName(old);
      return false;
    }
    return true;
  }
  return mayWriteOverDiskCopy(ui, doc) && writeDocument(ui, doc);
}

}  // namespace kolvre
