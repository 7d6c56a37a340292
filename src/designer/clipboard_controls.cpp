#include "designer/clipboard_controls.h"

#include <utility>

#include "base/text.h"
#include "designer/control_ids.h"
#include "designer/control_kinds.h"
#include "dialogs/dialog_reader.h"
#include "dialogs/dialog_writer.h"
#include "syntax/lexer.h"
#include "messages/messages.h"

namespace kolvre {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// The lines of a clipboard text, without their line ends.
std::vector<std::string_view> textLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t lf = text.find('\n');
    std::string_view line = text.substr(0, lf);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (lf == std::string_view::npos) break;
    text.remove_prefix(lf + 1);
  }
  return lines;
}

// The statements of a clipboard text: its lines, a line joined to the one before (CR LF between
// them) while that one ends with "," or "|" or it begins with one, as a statement goes on in a
// dialog's body. A control copied from a statement over several lines pastes back whole.
std::vector<std::string> textStatements(std::string_view text) {
  std::vector<std::string> statements;
  for (std::string_view raw : textLines(text)) {
    const std::string_view line = trimSpace(raw);
    const bool goesOn = !statements.empty() && !line.empty() &&
                        (statements.back().ends_with(',') || statements.back().ends_with('|') ||
                         line.starts_with(',') || line.starts_with('|'));
    if (goesOn) {
      statements.back() += kLineEnd;
      statements.back() +=
          raw.substr(0, raw.find_last_not_of(" \t\r") + 1);  // its indentation kept
    } else {
      statements.emplace_back(line);
    }
  }
  return statements;
}

// The first word of a line, to name a line that is no control.
std::string_view firstWord(std::string_view line) {
  line = trimBlanks(line);
  return line.substr(0, line.find_first_of(" \t,"));
}

// True when a string or a block comment of the line runs past its end: written into the
// dialog, it would take in the lines after it, the body's end too.
bool leavesSomethingOpen(std::string_view line) {
  Lexer lexer(line);
  for (Token t = lexer.next(); t.kind != TokenKind::End; t = lexer.next())
    if (leftOpen(line, t)) return true;
  return false;
}

// True when the statement, in a dialog's body, reads as one control: a line that a body would
// read as more statements (a control's keyword inside it) is no control to paste.
bool readsAsOneControl(std::string_view statement) {
  const std::string block = "P DIALOG 0, 0, 1, 1\r\n{\r\n " + std::string(statement) + "\r\n}";
  const DialogReading reading = readDialog(block);
  return reading.failure == DialogFailure::None && reading.dialog.controls.size() == 1 &&
         reading.dialog.bodyTail.empty() && reading.dialog.controls[0].linesBefore.empty();
}

void addPasteStyle(DialogControl& c) {
  if (!c.liveStyle) return;
  for (const PasteStyleExtra& extra : kPasteStyleExtras)
    if (extra.live == c.live) *c.liveStyle |= extra.added;
}

}  // namespace

std::string copiedText(const std::vector<DialogControl>& controls,
                       std::optional<std::size_t> current) {
  if (current && *current < controls.size()) return controlStatement(controls[*current]);
  std::string text;
  for (const DialogControl& c : controls) {
    if (!c.selected) continue;
    if (!text.empty()) text += kLineEnd;
    text += controlStatement(c);
  }
  return text;
}

PastedControls readPastedControls(std::string_view text, std::optional<PixelPoint> at,
                                  int firstId) {
  PastedControls pasted;
  int id = firstId;
  // Positions in eighths of a pixel (y) and quarters (x), so that the offset keeps the
  // fractions of 1.625 and 1.75 until each control is placed.
  std::optional<long long> offsetY8;
  std::optional<long long> offsetX4;
  for (const std::string& statement : textStatements(text)) {
    const std::string_view line = statement;
    if (line.empty()) continue;
    if (leavesSomethingOpen(line)) {
      pasted.notices.push_back(unsupportedControlNotice(firstWord(line)));
      continue;
    }
    // Indented by one blank, as the writer indents the lines of a body.
    ControlReading reading = readStatementLine(" " + std::string(line));
    if (reading.kind == ControlReading::Kind::NotAControl ||
        (reading.kind == ControlReading::Kind::Control && !readsAsOneControl(line))) {
      pasted.notices.push_back(unsupportedControlNotice(firstWord(line)));
      continue;
    }
    for (std::string& notice : reading.notices) pasted.notices.push_back(std::move(notice));
    if (reading.kind != ControlReading::Kind::Control) continue;
    DialogControl c = std::move(reading.control);
    c.linesBefore.clear();
    const long long top8 = 13LL * pixelsToDuY(c.rect.y);
    const long long left4 = 7LL * pixelsToDuX(c.rect.x);
    if (!offsetY8) {
      const PixelPoint first = at.value_or(PixelPoint{c.rect.x, c.rect.y});
      offsetY8 = 8LL * first.y - top8;
      offsetX4 = 4LL * first.x - left4;
    }
    c.rect.y = static_cast<int>((top8 + *offsetY8) / 8);  // the fraction dropped
    c.rect.x = static_cast<int>((left4 + *offsetX4) / 4);
    addPasteStyle(c);
    if (c.live == ControlClass::GroupBox || c.live == ControlClass::StaticText) {
      if (!hasSymbolicId(c)) c.id = -1;
    } else if (!hasSymbolicId(c)) {
      c.id = id++;
    }
    c.selected = false;
    pasted.controls.push_back(std::move(c));
  }
  return pasted;
}

}  // namespace kolvre
