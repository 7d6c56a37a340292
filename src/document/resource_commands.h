// Commands on one whole resource: new, rename, delete, copy, paste and edit as text. Each asks
// the user what it needs, computes its edit with a pure function (resource_edits.h) and hands
// it to Document::commit. None touches the screen.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "document/document.h"
#include "platform/user_interface.h"

namespace kolvre {

// The commands act on the entry at `current` (a position in the index; nothing when the list
// has no entry) where they need one, and return true when they changed the script.

// Why a typed file name cannot name a new resource's file (Italian, a sentence): empty where
// the kind needs one (`required`), or holding a double quote; nothing when it can.
std::optional<std::string> newFileNameFault(std::string_view file, bool required);

// newResource: asks for a name (and the file, for a kind that can name one) and adds the
// template of the kind, written in the style of the resources around its place.
bool newResource(UserInterface& ui, Document& doc, ResourceType kind,
                 std::optional<std::size_t> current = std::nullopt);
// renameResource: renames the current resource; only its header line changes.
bool renameResource(UserInterface& ui, Document& doc, std::optional<std::size_t> current);
// "Riordina le risorse": the whole reorder (reorderScript) as one step; the current resource
// stays current. False when the script is already in order.
bool reorderResources(Document& doc, std::optional<std::size_t> current);

// The message for a resource whose body never closes, which delete refuses.
std::string unclosedMessage(std::string_view name);
// The message for a delete that would run a statement left open before it on into the next.
std::string joinsNeighboursMessage(std::string_view name);
// The message for a new or pasted resource that no place takes without changing how the text
// around it reads.
std::string noPlaceMessage(std::string_view name);

// The message for a paste of a text that holds no resource statement.
inline constexpr std::string_view kNothingToPasteMessage =
    "Gli appunti non contengono una risorsa da incollare.";

// deleteResource: deletes the current resource after confirmation; not one whose body never closes.
bool deleteResource(UserInterface& ui, Document& doc, std::optional<std::size_t> current);
// copyResource: puts the current resource's text on the clipboard (as Unicode text).
bool copyResource(UserInterface& ui, const Document& doc, std::optional<std::size_t> current);
// pasteResource: adds the clipboard's resource under a name the user confirms.
bool pasteResource(UserInterface& ui, Document& doc, std::optional<std::size_t> current);
// editResourceAsText: edits the current resource as text in the external text editor.
bool editResourceAsText(UserInterface& ui, Document& doc, std::optional<std::size_t> current);

// The message for a resource whose text cannot be found in the script.
std::string unlocatableMessage(std::string_view name);

// Told when the user renames a string table.
inline constexpr std::string_view kUnnamedMessage =
    "Una tabella di stringhe non ha un nome da cambiare: la elencano i suoi ID.";

// Text from outside (clipboard, editor) with LF line ends only gets CR LF, as the script has.
std::string withCrLf(std::string text);

}  // namespace kolvre
