// Commands on the script as a whole file: close check, new, open, save and save as. The caller
// puts a file that was opened, created or saved under a new name at the top of the recent
// files.
#pragma once

#include <string>

#include "document/document.h"
#include "platform/user_interface.h"

namespace kolvre {

// closeScript: true when the current document may be given up (nothing to save, the user declined
// to save, or the save succeeded); false when the user cancelled or the save failed.
[[nodiscard]] bool closeScript(UserInterface& ui, Document& doc);

// newScript: creates a new empty file and makes it the document. `askClose` is false at start-up,
// where there is no document to give up.
bool newScript(UserInterface& ui, Document& doc, bool askClose = true);

// openScriptFile: opens another script, asking for it when `path` is empty. A given path is used as
// it stands. True when the document is the new file.
[[nodiscard]] bool openScriptFile(UserInterface& ui, Document& doc, const std::string& path = {});

// saveScript: writes the script to its file, or under a new name with `saveAs`. Over its own file,
// a copy another program wrote since the last load or save is replaced only when the user says so
// (also for the save that closeScript offers).
[[nodiscard]] bool saveScript(UserInterface& ui, Document& doc, bool saveAs = false);

// Writes the document to its file safely, whatever stands there, and records the file's stamp;
// on failure shows "Impossibile salvare il file ...". The headers a step changed are written
// first, each safely, once each of them can be; when one cannot, nothing is written.
[[nodiscard]] bool writeDocument(UserInterface& ui, Document& doc);

// checkScriptOnDisk: compares the script's file on disk with the one last loaded or saved and,
// once per change, asks whether to reload it ("Il file è stato modificato da un altro
// programma. Ricaricarlo?", naming the unsaved changes that would be lost) or says that it was
// deleted. Yes reloads (the history starts again). No, or a deleted file, keeps the text, which
// then counts as unsaved; the next save asks before writing over the other program's copy and
// writes a deleted file again. True when the document was reloaded.
bool checkScriptOnDisk(UserInterface& ui, Document& doc);

// Reads `path` into the document. A missing file gives an empty text; any other failure to
// read raises a CommandError and leaves the document as it was.
void loadDocument(Document& doc, const std::string& path);

}  // namespace kolvre
