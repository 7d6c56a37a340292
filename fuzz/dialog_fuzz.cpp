// Fuzzes the dialog reader and writer: an arbitrary block is read; a block that reads is written,
// read and written again. Rules:
// - the written block reads, with the same notices and the same model (but for where the block
//   ends), and a second write gives the same text: a store changes nothing a second time;
// - every statement the model keeps as written (header lines, body lines, kept styles, a class
//   name or fields after cy) is in the written block;
// - the dialog's end lies within the block, after its header line;
// - a statement kept as written (a short statement, a placeholder) is written as it stood, and
//   moving every control and back writes the block an unchanged store writes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "dialogs/dialog_reader.h"
#include "dialogs/dialog_writer.h"

#include "fuzz_check.h"

namespace {

using kolvre::fuzzing::unless;

void require(const std::string& violation, const char* rule) {
  kolvre::fuzzing::require("dialog", violation, rule);
}

bool holds(const std::string& written, const std::string& kept) {
  return written.find(kept) != std::string::npos;
}

void checkKept(const kolvre::DialogModel& dialog, const std::string& written) {
  for (const std::string& line : dialog.headerLines)
    require(unless(holds(written, line), "header line lost: " + line), "kept");
  for (const std::string& line : dialog.bodyTail)
    require(unless(holds(written, line), "body line lost: " + line), "kept");
  if (dialog.style)
    require(unless(holds(written, dialog.style->text), "style lost: " + dialog.style->text),
            "kept");
  for (const kolvre::DialogControl& c : dialog.controls) {
    for (const std::string& line : c.linesBefore)
      require(unless(holds(written, line), "body line lost: " + line), "kept");
    require(
        unless(holds(written, c.tail),
               "a control's fields lost: " + kolvre::controlStatement(c, kolvre::kFixedBaseUnits)),
        "kept");
    if (c.statement)
      require(unless(holds(written, c.statement->text), "statement changed: " + c.statement->text),
              "kept");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kolvre;
  const std::string block(reinterpret_cast<const char*>(data), size);
  const DialogReading first = readDialog(block);
  if (first.failure != DialogFailure::None) return 0;
  require(unless(first.dialog.blockLength <= block.size() && first.dialog.blockLength > 0,
                 "the dialog ends outside its block"),
          "extent");
  require(unless(dialogBlockLength(block) == first.dialog.blockLength, "two ends"), "extent");
  // The name as the index gives it: the statement's first token (blanks before it, a form feed
  // among them, are no part of it).
  const std::string name = first.dialog.header ? first.dialog.header->nameAsRead : std::string();
  if (name.empty() || name.find_first_of("\t\r\n") != std::string::npos) return 0;
  const std::string written = dialogBlock(first.dialog, name);
  // A compact block is read in lines: what it keeps stands in those lines.
  checkKept(first.dialog, first.dialog.compact ? first.dialog.compact->value : written);
  // An unchanged store gives the block back as it stood.
  require(unless(written == block.substr(0, first.dialog.blockLength),
                 "an unchanged store changed the text:\n" + written),
          "byte for byte");

  DialogReading second = readDialog(written);
  require(unless(second.failure == DialogFailure::None,
                 "the written block does not read: " +
                     std::string(dialogFailureText(second.failure)) + "\n" + written),
          "reads");
  require(unless(second.dialog.blockLength == written.size(), "the written block ends early"),
          "extent");
  require(unless(second.notices == first.notices, "other notices:\n" + written), "notices");
  second.dialog.blockLength = first.dialog.blockLength;
  // The lines a compact block is read in may differ where the text after it differs (a string
  // left open runs on into it); the text kept is the same, byte for byte, as required above.
  second.dialog.compact = first.dialog.compact;
  require(unless(second.dialog == first.dialog, "another model after a store:\n" + written),
          "same model");
  DialogModel moved = second.dialog;
  for (DialogControl& c : moved.controls) c.rect.x += 9, c.rect.y += 8;
  const std::string movedText = dialogBlock(moved, name);
  for (DialogControl& c : moved.controls) c.rect.x -= 9, c.rect.y -= 8;
  require(unless(dialogBlock(moved, name) == written,
                 "moving and back changed the text:\n" + written + "\n---\n" + movedText),
          "moved back");
  const std::string again = dialogBlock(second.dialog, name);
  require(
      unless(again == written, "a second store changed the text:\n" + written + "\n---\n" + again),
      "stable");
  return 0;
}
