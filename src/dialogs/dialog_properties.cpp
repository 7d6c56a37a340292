#include "dialogs/dialog_properties.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "base/text.h"
#include "dialogs/dialog_model.h"
#include "dialogs/dialog_reader.h"
#include "dialogs/dialog_session.h"
#include "dialogs/dialog_writer.h"
#include "dialogs/statement_words.h"
#include "dialogs/styles.h"
#include "document/edit.h"
#include "document/resource_commands.h"
#include "messages/form_check.h"
#include "messages/messages.h"
#include "syntax/vocabulary.h"

namespace kolvre {

namespace {

constexpr std::size_t npos = std::string_view::npos;
constexpr std::string_view kLineEnd = "\r\n";

// One line of the block, without its CR LF.
struct Line {
  std::size_t begin = 0;
  std::size_t end = 0;
};

std::vector<Line> splitLines(std::string_view block) {
  std::vector<Line> lines;
  for (std::size_t at = 0;;) {
    const std::size_t lineEnd = block.find(kLineEnd, at);
    if (lineEnd == npos) {
      lines.push_back({at, block.size()});
      return lines;
    }
    lines.push_back({at, lineEnd});
    at = lineEnd + 2;
  }
}

// A line as the reader reads it: tabs as blanks, without white space at either end.
std::string readable(std::string_view line) {
  std::string out(trimSpace(line));
  std::replace(out.begin(), out.end(), '\t', ' ');
  return out;
}

// One header statement: its lines as written (CR LF between them) and as read on one line.
struct Statement {
  std::string raw;
  std::string text;
  bool cutShort() const { return text.ends_with(',') || text.ends_with('|'); }
};

// The statements of lines [from, to), by the reader's rules: a statement goes on to the next
// line while it ends with "," or "|", or the next line begins with one of them, a style name or
// a quote; a comment opened by "/*" runs through the line that closes it.
// `code` is the block with its comments blanked (blankComments): the statements are read from it
// and kept as the block writes them.
std::vector<Statement> statements(std::string_view block, std::string_view code,
                                  const std::vector<Line>& lines, std::size_t from,
                                  std::size_t to) {
  const auto raw = [&](std::size_t i) {
    return code.substr(lines[i].begin, lines[i].end - lines[i].begin);
  };
  std::vector<Statement> out;
  for (std::size_t i = from; i < to;) {
    std::size_t last = i;
    std::string text = readable(raw(i));
    // A line that only a comment fills is a statement of its own, kept as written.
    if (text.empty()) {
      out.push_back({std::string(block.substr(lines[i].begin, lines[i].end - lines[i].begin)), {}});
      ++i;
      continue;
    }
    if (!standsAlone(text)) {
      while (last + 1 < to) {
        const std::string next = readable(raw(last + 1));
        if (standsAlone(next)) break;
        const bool continues = text.ends_with(',') || text.ends_with('|') ||
                               next.starts_with(',') || next.starts_with('|') ||
                               beginsWithStyleName(next) || next.starts_with('"');
        if (!continues) break;
        text += ' ';
        text += next;
        ++last;
      }
    }
    out.push_back({std::string(block.substr(lines[i].begin, lines[last].end - lines[i].begin)),
                   std::move(text)});
    i = last + 1;
  }
  return out;
}

std::string withoutTrailingSpace(std::string_view text) {
  while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
  return std::string(text);
}

std::size_t characterCount(std::string_view utf8) {
  std::size_t n = 0;
  for (char c : utf8) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return n;
}

// The parts of a dialog's block that the properties edit or carry over.
struct BlockParts {
  std::string name;
  std::string keyword;  // DIALOG or DIALOGEX as written
  std::vector<std::string> memoryOptions;
  std::array<std::string, 4> numbers;  // x, y, cx, cy as written
  std::string headerTail;              // the header's fields after cy, from their first comma
  std::optional<Statement> style;
  std::optional<Statement> caption;
  std::string captionText;  // between the quotes, doubled quotes undone
  std::optional<Statement> font;
  std::vector<std::string> others;  // the other header statements as written
  std::size_t bodyBegin = 0;        // where the "{" or BEGIN line starts
  std::size_t end = 0;              // just after the "}" or END
};

// The header statement: name, keyword, memory options, the four numbers and what follows them.
bool readHeader(std::string_view header, BlockParts& parts) {
  std::size_t at = header.find(' ');
  if (at == npos) return false;
  parts.name = std::string(header.substr(0, at));
  const auto skipBlanks = [&] {
    while (at < header.size() && header[at] == ' ') ++at;
  };
  const auto word = [&] {
    const std::size_t end = std::min(header.find_first_of(" ,", at), header.size());
    return header.substr(at, end - at);
  };
  skipBlanks();
  parts.keyword = std::string(word());
  at += parts.keyword.size();
  for (;;) {
    skipBlanks();
    const std::string_view option = word();
    const bool isOption =
        !option.empty() &&
        std::any_of(kMemoryOptions.begin(), kMemoryOptions.end(),
                    [&](std::string_view known) { return equalsIgnoringCase(option, known); });
    if (!isOption) break;
    parts.memoryOptions.emplace_back(option);
    at += option.size();
  }
  const std::string_view numbers = header.substr(at);
  std::size_t from = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    const std::size_t comma = numbers.find(',', from);
    const std::string_view field =
        trimSpace(numbers.substr(from, comma == npos ? npos : comma - from));
    if (field.empty() || (comma == npos && i < 3)) return false;
    parts.numbers[i] = std::string(field);
    if (comma == npos) {
      from = numbers.size();
      break;
    }
    from = comma + 1;
  }
  if (from < numbers.size()) parts.headerTail = std::string(numbers.substr(from - 1));
  return true;
}

// The block's parts; nothing when the reader could not read it either.
std::optional<BlockParts> blockParts(std::string_view block) {
  const auto end = dialogBlockLength(block);
  if (!end) return std::nullopt;
  const std::vector<Line> lines = splitLines(block);
  const std::string code = blankComments(block);
  std::size_t open = 1;
  while (open < lines.size()) {
    const std::string line = readable(
        std::string_view(code).substr(lines[open].begin, lines[open].end - lines[open].begin));
    if (opensBodyLine(line)) break;
    ++open;
  }
  if (open >= lines.size()) return std::nullopt;
  const std::vector<Statement> header = statements(block, code, lines, 0, open);
  BlockParts parts;
  if (header.empty() || standsAlone(header[0].text) || header[0].cutShort() ||
      !readHeader(header[0].text, parts))
    return std::nullopt;
  // The first STYLE, CAPTION and FONT statements, found by keyword as the reader finds them.
  for (std::size_t i = 1; i < header.size(); ++i) {
    const Statement& s = header[i];
    if (s.cutShort()) {
      parts.others.push_back(s.raw);
    } else if (!parts.style && isWord(s.text, "STYLE")) {
      parts.style = s;
    } else if (!parts.caption && readCaption(s.text)) {
      parts.caption = s;
      parts.captionText = undoubledQuotes(*readCaption(s.text));
    } else if (!parts.font && isWord(s.text, "FONT")) {
      parts.font = s;
    } else {
      parts.others.push_back(s.raw);
    }
  }
  parts.bodyBegin = lines[open].begin;
  parts.end = *end;
  return parts;
}

// The style as the form shows it: the statement after its keyword, on one line, each run of
// blanks (a comment's place among them) one blank.
std::string styleShown(const BlockParts& parts) {
  if (!parts.style) return {};
  std::string shown;
  for (const char c : trimSpace(std::string_view(parts.style->text).substr(5)))
    if (c != ' ' || shown.empty() || shown.back() != ' ') shown += c;
  return shown;
}

// A number field's text: digits only, and no more significant digits than its picture.
std::optional<std::string_view> numberFault(std::string_view text, std::string_view picture) {
  text = trimBlanks(text);
  std::size_t digits = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return kBadFieldMessage;
    if (digits > 0 || c != '0') ++digits;
  }
  if (digits > picture.size()) return kNumberTooLargeMessage;
  return std::nullopt;
}

// A number as written for an edited field: without blanks and leading zeros; 0 when empty.
std::string plainNumber(std::string_view text) {
  text = trimBlanks(text);
  while (text.size() > 1 && text.front() == '0') text.remove_prefix(1);
  return text.empty() ? "0" : std::string(text);
}

bool hasControlCharacter(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) {
    const auto b = static_cast<unsigned char>(c);
    return b < 0x20 || b == 0x7F;
  });
}

// The name a changed name field stands for: as the name prompt takes a typed name. The field
// as shown, or one that comes out the same, is no new name.
std::optional<std::string> newName(const DialogProperties& edited, const DialogProperties& shown) {
  if (edited.name == shown.name) return std::nullopt;
  std::string typed = typedName(trimBlanks(edited.name));
  if (typed == shown.name) return std::nullopt;
  return typed;
}

// The style text of an edited field on one line: its line breaks become blanks.
std::string oneLine(std::string_view text) {
  std::string out;
  for (char c : trimSpace(text)) out += (c == '\r' || c == '\n') ? ' ' : c;
  return out;
}

}  // namespace

std::string& dialogPropertyValue(DialogProperties& form, int id) {
  switch (id) {
    case 101:
      return form.name;
    case 103:
      return form.x;
    case 104:
      return form.y;
    case 105:
      return form.width;
    case 106:
      return form.height;
    case 107:
      return form.style;
    default:
      return form.caption;
  }
}

const std::string& dialogPropertyValue(const DialogProperties& form, int id) {
  return dialogPropertyValue(const_cast<DialogProperties&>(form), id);
}

std::size_t fieldLength(int id, const DialogProperties& shown) {
  for (const DialogPropertyField& field : kDialogPropertyFields)
    if (field.id == id && field.maxLength != 0)
      return std::max(field.maxLength, characterCount(dialogPropertyValue(shown, id)));
  return 0;
}

DialogPropertiesReading readDialogProperties(std::string_view block, TextEncoding encoding) {
  DialogPropertiesReading reading;
  const DialogReading dialog = readDialog(block, DialogMode::Designer);
  const auto parts = dialog.failure == DialogFailure::None ? blockParts(block) : std::nullopt;
  if (!parts) {
    reading.failure =
        dialog.failure == DialogFailure::None ? DialogFailure::NoHeaderNumbers : dialog.failure;
    return reading;
  }
  DialogProperties& shown = reading.shown;
  shown.name = toDisplay(parts->name, encoding);
  shown.caption = toDisplay(parts->captionText, encoding);
  shown.x = toDisplay(parts->numbers[0], encoding);
  shown.y = toDisplay(parts->numbers[1], encoding);
  shown.width = toDisplay(parts->numbers[2], encoding);
  shown.height = toDisplay(parts->numbers[3], encoding);
  shown.style = toDisplay(styleShown(*parts), encoding);
  return reading;
}

std::optional<DialogPropertyFault> checkDialogProperties(const DialogProperties& edited,
                                                         const DialogProperties& shown,
                                                         const ResourceIndex& index,
                                                         TextEncoding encoding,
                                                         std::optional<std::size_t> position) {
  for (const DialogPropertyField& field : kDialogPropertyFields) {
    const std::string& value = dialogPropertyValue(edited, field.id);
    if (value == dialogPropertyValue(shown, field.id)) continue;
    const auto fault = [&](std::string_view message) {
      return DialogPropertyFault{field.id, std::string(message)};
    };
    if (field.required && trimSpace(value).empty()) return fault(kBadFieldMessage);
    if (!field.picture.empty()) {
      if (const auto message = numberFault(value, field.picture)) return fault(*message);
      continue;
    }
    switch (field.id) {
      case 101:
        if (const auto name = newName(edited, shown)) {
          const std::string refusal =
              nameRefusal(index, *name, typeKeyword(ResourceType::Dialog), encoding, position);
          if (!refusal.empty()) return fault(refusal);
        }
        break;
      case 102:
        if (characterCount(value) > fieldLength(field.id, shown) || hasControlCharacter(value) ||
            !representable(value, encoding))
          return fault(kBadFieldMessage);
        break;
      case 107:
        if (!representable(value, encoding)) return fault(kBadFieldMessage);
        if (!parseStyle(oneLine(value))) return fault(invalidStyleNotice(oneLine(value)));
        break;
      default:
        break;
    }
  }
  return std::nullopt;
}

std::optional<std::string> dialogPropertiesBlock(std::string_view block,
                                                 const DialogProperties& shown,
                                                 const DialogProperties& edited,
                                                 TextEncoding encoding) {
  if (edited == shown) return std::nullopt;
  // The block read and written back by the dialog's own reader and writer: only the fields
  // changed are rewritten, each where it stands.
  DialogReading reading = readDialog(block);
  if (reading.failure != DialogFailure::None) return std::nullopt;
  DialogModel& dialog = reading.dialog;
  const auto changed = [&](int id) {
    return dialogPropertyValue(edited, id) != dialogPropertyValue(shown, id);
  };
  std::string name = dialog.header ? dialog.header->nameAsRead
                                   : std::string(block.substr(0, block.find_first_of(" \t")));
  if (const auto typed = newName(edited, shown)) name = fromDisplay(*typed, encoding);

  // The numbers are taken before the style changes: the placement depends on the style.
  DialogUnitRect units = dialogUnits(dialog.rect, dialog.styleAsRead, dialog.mode);
  int* const numbers[] = {&units.x, &units.y, &units.width, &units.height};
  for (int id = 103; id <= 106; ++id)
    if (changed(id))
      *numbers[id - 103] = static_cast<int>(
          std::strtol(plainNumber(dialogPropertyValue(edited, id)).c_str(), nullptr, 10));
  if (changed(107)) {
    const std::string typed = fromDisplay(oneLine(edited.style), encoding);
    const auto style = parseStyle(typed);
    if (!style) return std::nullopt;
    // The style as typed, at the place and with the indentation of the statement it replaces.
    const std::string& before = dialog.style ? dialog.style->text : std::string();
    dialog.styleAsRead = *style;
    dialog.style = KeptText<std::uint32_t>{
        before.substr(0, before.find_first_not_of(" \t")) + "STYLE " + typed, *style};
  }
  dialog.rect = placeDialog(units, dialog.styleAsRead, dialog.mode);
  if (changed(102))
    dialog.title = doubledQuotes(withoutTrailingSpace(fromDisplay(edited.caption, encoding)));
  return dialogBlock(dialog, name);
}

std::optional<Edit> dialogPropertiesEdit(std::string_view text, const ResourceIndex& index,
                                         std::size_t position, const DialogProperties& shown,
                                         const DialogProperties& edited, TextEncoding encoding) {
  if (position >= index.size() || index[position].type != ResourceType::Dialog) return std::nullopt;
  const auto extent = dialogExtent(text, index, position);
  if (!extent) return std::nullopt;
  auto block = dialogPropertiesBlock(extent->of(text), shown, edited, encoding);
  if (!block || *block == extent->of(text)) return std::nullopt;
  Edit edit;
  edit.label = kDialogPropertiesTitle;
  edit.currentBefore = keyAt(index, position);
  edit.currentAfter = edit.currentBefore;
  if (const auto name = newName(edited, shown)) {
    // Renamed: the dialog moves to its new name's place and is found under it.
    edit.placeBlockAt = extent->begin;
    edit.currentAfter = ResourceKey{fromDisplay(*name, encoding), ResourceType::Dialog, 0};
  }
  edit.splices.push_back({extent->begin, extent->end, std::move(*block)});
  return edit;
}

bool changeDialogProperties(UserInterface& ui, Document& doc, std::optional<std::size_t> current,
                            const OpenDialogProperties& open) {
  const auto extent = currentDialogExtent(ui, doc, current);
  if (!extent) return false;
  const std::size_t position = *current;
  const DialogPropertiesReading reading =
      readDialogProperties(extent->of(doc.text()), doc.encoding());
  if (reading.failure != DialogFailure::None) {
    inform(ui, dialogFailureText(reading.failure));
    return false;
  }
  const DialogProperties& shown = reading.shown;
  const auto edited = open(shown, [&](const DialogProperties& values) {
    return checkDialogProperties(values, shown, doc.index(), doc.encoding(), position);
  });
  if (!edited) return false;
  // The form confirms only values that pass; a form that did not check them stores nothing.
  if (const auto fault =
          checkDialogProperties(*edited, shown, doc.index(), doc.encoding(), position)) {
    inform(ui, fault->message);
    return false;
  }
  const auto edit =
      dialogPropertiesEdit(doc.text(), doc.index(), position, shown, *edited, doc.encoding());
  return edit && doc.commit(*edit);
}

}  // namespace kolvre
