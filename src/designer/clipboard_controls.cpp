#include "designer/clipboard_controls.h"

#include <utility>

#include "base/text.h"
#include "designer/control_ids.h"
#include "designer/control_kinds.h"
#include "dialogs/dialog_reader.h"
#include "dialogs/dialog_writer.h"
#include "messages/messages.h"

namespace kolvre {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// The lines of a clipboard text, without their line ends.
// The lines of a text from outside: CR LF, a lone LF and a lone CR each end one.
std::vector<std::string_view> textLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find_first_of("\r\n");
    lines.push_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    const bool crLf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
    text.remove_prefix(end + (crLf ? 2 : 1));
  }
  return lines;
}

// The clipboard's text with CR LF ending each line, as a script's lines end (another program
// may end them with LF alone, or a lone CR). The lexer keeps a lone CR or LF inside its line,
// while a statement's lines are cut at every line end: left in, one would cut a statement
// short where the lexer reads on, and the written dialog would not read back.
std::string withScriptLineEnds(std::string_view text) {
  std::string out;
  for (const std::string_view line : textLines(text)) {
    if (!out.empty()) out += kLineEnd;
    out += line;
  }
  return out;
}

void addPasteStyle(DialogControl& c) {
  if (!c.liveStyle) return;
  for (const PasteStyleExtra& extra : kPasteStyleExtras)
    if (extra.live == c.live) *c.liveStyle |= extra.added;
}

}  // namespace

std::string copiedText(const std::vector<DialogControl>& controls,
                       std::optional<std::size_t> current, BaseUnits base) {
  if (current && *current < controls.size()) return controlStatement(controls[*current], base);
  std::string text;
  for (const DialogControl& c : controls) {
    if (!c.selected) continue;
    if (!text.empty()) text += kLineEnd;
    text += controlStatement(c, base);
  }
  return text;
}

PastedControls readPastedControls(std::string_view text, std::optional<PixelPoint> at, int firstId,
                                  BaseUnits base) {
  PastedControls pasted;
  int id = firstId;
  // Positions in eighths of a pixel (y) and quarters (x), so that the offset keeps the
  // fractions of a unit (base.y / 8 and base.x / 4 pixels) until each control is placed.
  std::optional<long long> offsetY8;
  std::optional<long long> offsetX4;
  for (BodyStatement& statement : readBodyStatements(withScriptLineEnds(text), base)) {
    ControlReading& reading = statement.reading;
    if (reading.kind == ControlReading::Kind::NotAControl) {
      pasted.notices.push_back(unsupportedControlNotice(statement.keyword));
      continue;
    }
    // Indented by one blank, as the writer indents the lines of a body.
    reindent(*reading.control.statement, " ");
    for (std::string& notice : reading.notices) pasted.notices.push_back(std::move(notice));
    DialogControl c = std::move(reading.control);
    c.linesBefore.clear();
    const long long top8 = static_cast<long long>(base.y) * pixelsToDuY(c.rect.y, base);
    const long long left4 = static_cast<long long>(base.x) * pixelsToDuX(c.rect.x, base);
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
