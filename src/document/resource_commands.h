// Commands on one whole resource: new, rename, delete, copy, paste and edit as text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "document/blocks.h"
#include "document/document.h"
#include "platform/user_interface.h"

namespace kolvre {

// Each command works on the list's current entry (where it needs one) and returns true when
// it changed the script text.

// NUOVARIS: asks for a name and adds the template of the kind (a type keyword).
bool NUOVARIS(UserInterface& ui, Document& doc, ResourceList& list, std::string_view kind);
// RINORIS: renames the current resource; only its header line changes.
bool RINORIS(UserInterface& ui, Document& doc, ResourceList& list);
// ELIMRIS: deletes the current resource after confirmation (`ask` false: without asking).
bool ELIMRIS(UserInterface& ui, Document& doc, ResourceList& list, bool ask = true);
// COPIARIS: puts the current resource's text on the clipboard.
bool COPIARIS(UserInterface& ui, Document& doc, ResourceList& list);
// INCOLLARIS: adds the clipboard's resource under a name the user confirms.
bool INCOLLARIS(UserInterface& ui, Document& doc, ResourceList& list);
// EDITRIS: edits the current resource as text in the external text editor.
bool EDITRIS(UserInterface& ui, Document& doc, ResourceList& list);

// The block of the index entry at `position`, located by its own header line (so each of two
// resources with the same name and type is found in its own place). Nothing when its header
// cannot be located.
std::optional<BlockExtent> entryBlock(const Document& doc, std::size_t position);

// Puts `edited` (the text the external editor left) in place of the block of the entry at
// `position`. Text equal to the block (in the file's own line-end form) changes nothing; an
// empty text removes the resource. Reorders and refreshes the list on the first two words of
// the new text.
bool replaceResourceText(UserInterface& ui, Document& doc, ResourceList& list, std::size_t position,
                         std::string edited);

// The message for a resource whose text cannot be found in the script.
std::string unlocatableMessage(std::string_view name);

// Text from outside (clipboard, editor) with LF line ends only gets CR LF, as the script has.
std::string withCrLf(std::string text);

}  // namespace kolvre
