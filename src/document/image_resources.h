// Bitmap, icon and cursor resources: where their picture comes from (inline data or a file the
// block names), its size, the edit that stores new data, and the commands that hand the picture
// to the external image editor (editBitmap, editIcon, editCursor).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/document.h"
#include "document/edit.h"
#include "platform/user_interface.h"

namespace kolvre {

inline constexpr std::string_view kLabelEditImage = "Modifica immagine";

// Where an image resource's picture is.
struct ImageSource {
  enum class Kind {
    Inline,      // the block holds the file's bytes as data lines
    File,        // the block names a file that exists
    Unreadable,  // neither: `problem` says why
  };
  Kind kind = Kind::Unreadable;
  std::vector<std::uint8_t> bytes;  // Inline: the decoded data
  std::string file;                 // File: the path found; else the path looked for, if any
  std::string problem;              // Unreadable: a sentence for the status bar or a message
};

// The picture of the image entry at `position`. A named file is taken relative to the script's
// folder, with "\" or "/" between folders, and matched without regard to case where the exact
// name is missing.
ImageSource imageSource(const Document& doc, std::size_t position);

// The file `name` (as a script writes it) names, seen from `scriptPath`'s folder; `name` itself,
// joined to that folder, when no file matches.
std::string resolveImageFile(std::string_view scriptPath, std::string_view name);

// The width and height of a picture file's bytes as their header states them: a bitmap file
// for BITMAP, an icon or cursor file (its first image) for ICON and CURSOR. Nothing when the
// bytes are no such file.
struct PictureSize {
  int width = 0;
  int height = 0;
};
std::optional<PictureSize> pictureSize(ResourceType type, const std::vector<std::uint8_t>& bytes);

// The status text for a picture that cannot be shown.
std::string cannotShowText(std::string_view problem);

// The edit that stores `bytes` as the data of the image entry at `position` (encodeBitmap,
// encodeIcon): the block through its closing delimiter is rewritten in the written layout, nothing
// else changes and nothing is reordered. Nothing when the block has no inline data.
std::optional<Edit> imageDataEdit(std::string_view text, const ResourceIndex& index,
                                  std::size_t position, const std::vector<std::uint8_t>& bytes);

// editBitmap, editIcon, editCursor: hands the picture of the image entry at `position` to the
// image editor of its kind ("BMP", "ICO") in a work file, and stores what the editor leaves, as
// one step. A picture kept in a file is edited in that file, and the script is not touched. An
// emptied work file keeps the old data, with a message. True when the script changed.
bool editImageResource(UserInterface& ui, Document& doc, std::size_t position);
inline bool editBitmap(UserInterface& ui, Document& doc, std::size_t position) {
  return editImageResource(ui, doc, position);
}
inline bool editIcon(UserInterface& ui, Document& doc, std::size_t position) {
  return editImageResource(ui, doc, position);
}
inline bool editCursor(UserInterface& ui, Document& doc, std::size_t position) {
  return editImageResource(ui, doc, position);
}

}  // namespace kolvre
