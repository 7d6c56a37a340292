#include "dialogs/dialog_reader.h"

#include <algorithm>
#include <cstdint>

#include "base/text.h"
#include "dialogs/statement_words.h"
#include "dialogs/styles.h"
#include "document/lexer.h"

namespace kolvre {

namespace {

constexpr std::size_t npos = std::string_view::npos;
constexpr std::uint32_t kNoIntegralHeight = styleNameValue("LBS_NOINTEGRALHEIGHT");
constexpr std::uint32_t kComboTypeBits = 3;  // CBS_DROPDOWNLIST: the combo box kinds

// One line of the block: [begin, end) without its CR LF.
struct Line {
  std::size_t begin = 0;
  std::size_t end = 0;
};

std::vector<Line> splitLines(std::string_view block) {
  std::vector<Line> lines;
  std::size_t at = 0;
  for (;;) {
    const std::size_t lineEnd = block.find("\r\n", at);
    if (lineEnd == npos) {
      lines.push_back({at, block.size()});
      return lines;
    }
    lines.push_back({at, lineEnd});
    at = lineEnd + 2;
  }
}

std::string_view trim(std::string_view text) {
  while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
  return text;
}

// A line as it is read: each tab as blanks up to the next multiple of four columns, without
// leading and trailing blanks.
std::string readable(std::string_view line) {
  std::string out;
  out.reserve(line.size());
  for (char c : line) {
    if (c == '\t') {
      do out += ' ';
      while (out.size() % 4 != 0);
    } else {
      out += c;
    }
  }
  return std::string(trim(out));
}

// One statement: lines first to last (inclusive), and their readable texts joined by blanks.
struct Statement {
  std::size_t first = 0;
  std::size_t last = 0;
  std::string text;
  // It ends with "," or "|" where the header or the body ends: cut short. Such a statement is
  // never read (written afresh, it would run on into the line the writer puts after it).
  bool cutShort() const { return text.ends_with(',') || text.ends_with('|'); }
};

class BlockLines {
 public:
  // Lines are read as the compiler reads them, comments as blanks; what is kept is kept as
  // written, comments included (both texts share their offsets).
  explicit BlockLines(std::string_view block)
      : block_(block), code_(blankComments(block)), lines_(splitLines(block)) {}

  std::size_t count() const { return lines_.size(); }
  std::string_view raw(std::size_t i) const {
    return block_.substr(lines_[i].begin, lines_[i].end - lines_[i].begin);
  }
  std::string readableLine(std::size_t i) const { return readable(code(i)); }
  std::string_view code(std::size_t i) const {
    return std::string_view(code_).substr(lines_[i].begin, lines_[i].end - lines_[i].begin);
  }
  // The statement's lines as written, CR LF between them.
  std::string_view raw(const Statement& s) const {
    return block_.substr(lines_[s.first].begin, lines_[s.last].end - lines_[s.first].begin);
  }
  // The statement's lines as the compiler reads them: its comments blanked.
  std::string_view code(const Statement& s) const {
    return std::string_view(code_).substr(lines_[s.first].begin,
                                          lines_[s.last].end - lines_[s.first].begin);
  }
  std::size_t lineBegin(std::size_t i) const { return lines_[i].begin; }

  // The statements of lines [from, to). A statement continues onto the next line while it ends
  // with "," or "|" or the next line begins with one of them; a line that holds only comments
  // reads as blank and stands alone.
  std::vector<Statement> statements(std::size_t from, std::size_t to) const {
    std::vector<Statement> out;
    for (std::size_t i = from; i < to;) {
      Statement s{i, i, readableLine(i)};
      if (!standsAlone(s.text)) {
        while (s.last + 1 < to) {
          const std::string next = readableLine(s.last + 1);
          if (standsAlone(next)) break;
          const bool continues = s.text.ends_with(',') || s.text.ends_with('|') ||
                                 next.starts_with(',') || next.starts_with('|') ||
                                 beginsWithStyleName(next) || next.starts_with('"');
          if (!continues) break;
          s.text += ' ';
          s.text += next;
          ++s.last;
        }
      }
      i = s.last + 1;
      out.push_back(std::move(s));
    }
    return out;
  }

 private:
  std::string_view block_;
  std::string code_;
  std::vector<Line> lines_;
};

// Where the body opens and closes: the line indices, and the byte just after the "}" or END.
struct Body {
  std::size_t open = 0;
  std::size_t close = 0;
  std::size_t end = 0;
};

std::optional<Body> findBody(const BlockLines& lines) {
  Body body;
  std::size_t i = 1;
  for (; i < lines.count(); ++i) {
    const std::string line = lines.readableLine(i);
    if (line.starts_with('{') || equalsIgnoringCase(line, "BEGIN")) break;
  }
  if (i >= lines.count()) return std::nullopt;
  body.open = i;
  for (++i; i < lines.count(); ++i) {
    const std::string line = lines.readableLine(i);
    const std::string_view raw = lines.raw(i);
    if (line.starts_with('}')) {
      body.close = i;
      body.end = lines.lineBegin(i) + raw.find('}') + 1;
      return body;
    }
    if (equalsIgnoringCase(line, "END")) {
      body.close = i;
      std::size_t last = raw.size();
      while (last > 0 && isSpace(raw[last - 1])) --last;
      body.end = lines.lineBegin(i) + last;
      return body;
    }
  }
  return std::nullopt;
}

// A number field (trimmed): its value as the dialog template holds it (16 bits, signed), read
// from its leading number (0 when it has none), and whether it is a plain number the writer
// gives back as it stood: decimal digits without leading zeros, a minus for a negative value,
// within 16 bits.
struct NumberField {
  int value = 0;
  bool plain = false;
};

NumberField readNumber(std::string_view field) {
  std::size_t i = 0;
  bool negative = false;
  if (i < field.size() && (field[i] == '-' || field[i] == '+')) negative = field[i++] == '-';
  const std::size_t firstDigit = i;
  long long magnitude = 0;
  while (i < field.size() && field[i] >= '0' && field[i] <= '9') {
    if (magnitude < 1000000) magnitude = magnitude * 10 + (field[i] - '0');
    ++i;
  }
  const std::size_t digits = i - firstDigit;
  const long long value = negative ? -magnitude : magnitude;
  NumberField n;
  n.value = static_cast<std::int16_t>(static_cast<std::uint16_t>(value & 0xFFFF));
  n.plain = digits > 0 && i == field.size() && field[0] != '+' &&
            (digits == 1 || field[firstDigit] != '0') && !(negative && magnitude == 0) &&
            value == n.value;
  return n;
}

// A number field read into a value, keeping its text when it is not plain.
int readKept(std::string_view field, std::optional<KeptText<int>>& kept) {
  const NumberField n = readNumber(field);
  if (!n.plain) kept = KeptText<int>{std::string(field), n.value};
  return n.value;
}

// The fields of a text separated by commas, each with where it begins.
struct Field {
  std::size_t at = 0;
  std::string_view text;
};

std::vector<Field> splitFields(std::string_view text) {
  std::vector<Field> fields;
  std::size_t at = 0;
  for (;;) {
    const std::size_t comma = text.find(',', at);
    fields.push_back({at, text.substr(at, comma == npos ? npos : comma - at)});
    if (comma == npos) return fields;
    at = comma + 1;
  }
}

// The text from field `i`'s comma on, or "" when there are no more than `i` fields.
std::string tailFrom(std::string_view text, const std::vector<Field>& fields, std::size_t i) {
  return fields.size() > i ? std::string(text.substr(fields[i].at - 1)) : std::string();
}

std::string withoutQuotes(std::string_view text) {
  std::string out;
  for (char c : text)
    if (c != '"') out += c;
  return out;
}

// A quoted text of the script: every quote inside it doubled.
bool isQuotedText(std::string_view text) {
  if (text.size() < 2 || text.front() != '"' || text.back() != '"') return false;
  const std::string_view inner = text.substr(1, text.size() - 2);
  for (std::size_t i = 0; i < inner.size(); ++i) {
    if (inner[i] != '"') continue;
    if (i + 1 >= inner.size() || inner[i + 1] != '"') return false;
    ++i;
  }
  return true;
}

// The fields of a statement as written, from `from` on: split at the commas outside quoted
// texts, each without the white space (line breaks too) around it.
std::vector<FieldSpan> statementFields(std::string_view raw, std::size_t from) {
  std::vector<FieldSpan> fields;
  std::size_t begin = from;
  bool quoted = false;
  for (std::size_t i = from; i <= raw.size(); ++i) {
    if (i < raw.size() && raw[i] == '"') {
      quoted = !quoted;  // a doubled quote turns twice
      continue;
    }
    if (i < raw.size() && (quoted || raw[i] != ',')) continue;
    FieldSpan field{begin, i};
    while (field.begin < field.end && isSpace(raw[field.begin])) ++field.begin;
    while (field.end > field.begin && isSpace(raw[field.end - 1])) --field.end;
    fields.push_back(field);
    begin = i + 1;
  }
  return fields;
}

std::string_view spanText(std::string_view raw, const FieldSpan& span) {
  return raw.substr(span.begin, span.end - span.begin);
}

// Where the keyword of a statement as written ends.
std::size_t keywordEnd(std::string_view raw) {
  std::size_t at = 0;
  while (at < raw.size() && isSpace(raw[at])) ++at;
  while (at < raw.size() && !isSpace(raw[at]) && raw[at] != '"' && raw[at] != ',') ++at;
  return at;
}

// The row of the class table for a class and a style; nothing when the table lacks the class.
const ClassRow* classRow(std::string_view scriptClass, std::uint32_t style) {
  const auto row = std::find_if(kClassTable.begin(), kClassTable.end(), [&](const ClassRow& r) {
    return scriptClass.starts_with(r.scriptClass) && (style & r.typeMask) == r.typeValue;
  });
  return row == kClassTable.end() ? nullptr : &*row;
}

// The class table's adjustment of a style read.
std::uint32_t adjusted(const ClassRow& row, std::uint32_t style, DialogControl& c) {
  if (row.adjust == StyleAdjust::DropDownList && (style & kComboTypeBits) != kComboTypeBits) {
    c.dropDown = true;
    return style + 1;
  }
  if (row.adjust == StyleAdjust::NoIntegralHeight) return style | kNoIntegralHeight;
  return style;
}

// A style field as the compiler reads it from `base`; an empty field adds nothing.
std::optional<std::uint32_t> compiledField(std::string_view field, std::uint32_t base) {
  return trim(field).empty() ? std::optional<std::uint32_t>(base) : compileStyle(field, base);
}

// The text of a statement's text field: a quoted text with its doubled quotes undone, or
// anything else (an icon's name) as written.
std::string fieldCaption(std::string_view field) {
  std::string caption;
  std::string_view rest = field;
  while (!rest.empty()) {
    // The next quoted piece: up to the first quote that is not doubled.
    std::size_t close = 1;
    for (; close < rest.size(); ++close) {
      if (rest[close] != '"') continue;
      if (close + 1 < rest.size() && rest[close + 1] == '"') {
        ++close;
        continue;
      }
      break;
    }
    if (rest.front() != '"' || close >= rest.size()) return std::string(field);
    caption += undoubled(rest.substr(1, close - 1));
    rest = trim(rest.substr(close + 1));
  }
  return caption;
}

// Fills a kept statement's values from the control read from it.
void keepStatement(DialogControl& c, KeptStatement kept) {
  kept.caption = c.caption;
  kept.id = c.id;
  kept.rect = c.rect;
  kept.comboHeight = c.comboHeight;
  kept.liveStyle = c.liveStyle;
  c.statement = std::move(kept);
}

// A short control statement (kShortStatements[which]) as written, on one line or several.
// `code` is `raw` with its comments blanked: the fields are read from it, the text kept is `raw`.
ControlReading readShortStatement(std::string_view raw, std::string_view code, std::size_t which) {
  ControlReading reading;
  const ShortStatement& row = kShortStatements[which];
  const bool icon = row.keyword == "ICON";
  const std::vector<FieldSpan> fields = statementFields(code, keywordEnd(code));
  const std::size_t required = (row.hasText ? 1 : 0) + 1 + (icon ? 2 : 4);
  if (fields.size() < required || (icon && fields.size() == required + 1)) return reading;
  for (std::size_t i = 0; i < required + (icon && fields.size() > required ? 2 : 0); ++i)
    if (fields[i].begin == fields[i].end) return reading;

  KeptStatement kept;
  kept.text = std::string(raw);
  kept.statement = which;
  std::size_t f = 0;
  if (row.hasText) kept.textField = fields[f++];
  kept.idField = fields[f++];
  for (std::size_t i = 0; i < 4; ++i)
    if (i < 2 || !icon || fields.size() > required) kept.coordinates[i] = fields[f++];
  if (f < fields.size()) kept.style = fields[f++];

  reading.kind = ControlReading::Kind::Control;
  DialogControl& c = reading.control;
  const std::uint32_t base = kControlBaseStyle | row.impliedStyle;
  c.compiledStyle =
      kept.style ? compiledField(spanText(code, *kept.style), base) : base | row.defaultStyle;
  if (!c.compiledStyle) reading.notices.emplace_back(kInvalidStyleNotice);
  const std::uint32_t style = c.compiledStyle.value_or(base | row.defaultStyle);
  const ClassRow* classes = classRow(row.scriptClass, style);
  c.live = icon ? ControlClass::Placeholder : classes->live;
  c.liveStyle = adjusted(*classes, style, c);
  if (icon)
    c.caption = std::string(row.keyword);
  else if (kept.textField)
    c.caption = fieldCaption(spanText(code, *kept.textField));
  c.id = readKept(spanText(code, kept.idField), c.idAsWritten);
  DialogUnitRect units;
  int* const targets[] = {&units.x, &units.y, &units.width, &units.height};
  for (std::size_t i = 0; i < 4; ++i)
    if (kept.coordinates[i])
      *targets[i] = readKept(spanText(code, *kept.coordinates[i]), c.coordinates[i]);
  c.rect = toPixels(units);
  if (icon) c.rect.width = c.rect.height = kIconPixels;
  if (c.live == ControlClass::ComboBox) c.comboHeight = units.height;
  if (f < fields.size()) c.tail = std::string(raw.substr(code.rfind(',', fields[f].begin)));
  keepStatement(c, std::move(kept));
  return reading;
}

// A CONTROL statement the writer cannot write afresh with the same meaning, kept as written: a
// class the class table lacks (a placeholder) or a text that is not quoted (an image's name).
ControlReading readKeptControl(std::string_view raw, std::string_view code) {
  ControlReading reading;
  const std::vector<FieldSpan> fields = statementFields(code, keywordEnd(code));
  if (fields.size() < 8) return reading;
  for (std::size_t i = 0; i < 8; ++i)
    if (i != 3 && fields[i].begin == fields[i].end) return reading;
  const std::string_view classField = spanText(code, fields[2]);
  const std::string_view styleText = spanText(code, fields[3]);
  const std::string scriptClass = upperAscii(withoutQuotes(classField));

  reading.kind = ControlReading::Kind::Control;
  DialogControl& c = reading.control;
  c.compiledStyle = compiledField(styleText, kControlBaseStyle);
  // A class of the table takes its style as any CONTROL statement does; a placeholder, having no
  // look of its own to choose, the style it compiles to.
  const std::optional<std::uint32_t> style = parseStyle(styleText);
  const std::uint32_t tested = style.value_or(kDefaultControlStyle);
  const ClassRow* row = classRow(scriptClass, tested);
  if (!style)
    reading.notices.emplace_back(kInvalidStyleNotice);
  else if (!row)
    reading.notices.push_back(unsupportedControlNotice(scriptClass));
  if (row) {
    c.live = row->live;
    if (style || row->adjust != StyleAdjust::None) c.liveStyle = adjusted(*row, tested, c);
    if (liveClass(c.live).receivesText) c.caption = fieldCaption(spanText(code, fields[0]));
  } else {
    c.live = ControlClass::Placeholder;
    c.liveStyle = c.compiledStyle;
    c.caption = withoutQuotes(classField);
  }
  c.id = readKept(spanText(code, fields[1]), c.idAsWritten);
  DialogUnitRect units;
  int* const targets[] = {&units.x, &units.y, &units.width, &units.height};
  for (std::size_t i = 0; i < 4; ++i)
    *targets[i] = readKept(spanText(code, fields[4 + i]), c.coordinates[i]);
  c.rect = toPixels(units);
  if (c.live == ControlClass::ComboBox) c.comboHeight = units.height;
  if (fields.size() > 8) c.tail = std::string(raw.substr(code.rfind(',', fields[8].begin)));

  KeptStatement kept;
  kept.text = std::string(raw);
  kept.statement = kShortStatements.size();
  kept.textField = fields[0];
  kept.idField = fields[1];
  for (std::size_t i = 0; i < 4; ++i) kept.coordinates[i] = fields[4 + i];
  kept.style = fields[3];
  keepStatement(c, std::move(kept));
  return reading;
}

// A body statement (as written, and as read on one line): a control, or why not. A CONTROL
// statement over several lines is kept as written too, so that it stays in its lines.
// A statement with a comment is kept as written too, so that its comment stays.
ControlReading readBodyStatement(std::string_view raw, std::string_view code, std::string_view text,
                                 bool severalLines) {
  if (isWord(text, "CONTROL")) {
    ControlReading reading = readControlStatement(text);
    if (reading.kind == ControlReading::Kind::Control && !severalLines && raw == code)
      return reading;
    ControlReading kept = readKeptControl(raw, code);
    return kept.kind == ControlReading::Kind::Control ? kept : reading;
  }
  for (std::size_t i = 0; i < kShortStatements.size(); ++i)
    if (isWord(text, kShortStatements[i].keyword)) return readShortStatement(raw, code, i);
  return {};
}

// The header statement: name, keyword, memory options, x, y, cx, cy and what follows cy.
bool readHeader(std::string_view header, DialogModel& dialog, DialogUnitRect& units) {
  // Words are separated by white space of any kind: a lone line feed inside a line too.
  std::size_t at = header.find(' ');
  if (at == npos) return false;
  const auto skipBlanks = [&] {
    while (at < header.size() && isSpace(header[at])) ++at;
  };
  const auto word = [&] {
    const std::size_t end = std::min(header.find_first_of(" \t\r\n,", at), header.size());
    return header.substr(at, end - at);
  };
  skipBlanks();
  dialog.keyword = std::string(word());
  at += dialog.keyword.size();
  for (;;) {
    skipBlanks();
    const std::string_view option = word();
    const bool isOption =
        std::any_of(kMemoryOptions.begin(), kMemoryOptions.end(),
                    [&](std::string_view known) { return equalsIgnoringCase(option, known); });
    if (!isOption || option.empty()) break;
    dialog.memoryOptions.emplace_back(option);
    at += option.size();
  }
  const std::string_view numbers = header.substr(at);
  const std::vector<Field> fields = splitFields(numbers);
  if (fields.size() < 4) return false;
  int* const targets[] = {&units.x, &units.y, &units.width, &units.height};
  for (std::size_t i = 0; i < 4; ++i) {
    const std::string_view field = trim(fields[i].text);
    if (field.empty()) return false;
    *targets[i] = readKept(field, dialog.coordinates[i]);
  }
  dialog.headerTail = tailFrom(numbers, fields, 4);
  return true;
}

}  // namespace

std::string_view dialogFailureText(DialogFailure failure) {
  switch (failure) {
    case DialogFailure::None:
      return {};
    case DialogFailure::NoHeaderNumbers:
      return "Impossibile leggere il dialog: l'intestazione non contiene x, y, larghezza e "
             "altezza.";
    case DialogFailure::NoBody:
      return "Impossibile leggere il dialog: manca il corpo tra { e } (o BEGIN ed END).";
  }
  return {};
}

std::string unsupportedControlNotice(std::string_view scriptClass) {
  std::string text = "Controllo ";
  text += scriptClass;
  text += " non supportato.";
  return text;
}

std::optional<std::string> readCaption(std::string_view statement) {
  if (!isWord(statement, "CAPTION")) return std::nullopt;
  const std::string_view rest = statement.substr(7);
  if (rest.empty() || rest.front() != ' ') return std::nullopt;
  const std::string_view quoted = trim(rest);
  if (!isQuotedText(quoted)) return std::nullopt;
  return std::string(quoted.substr(1, quoted.size() - 2));
}

std::optional<FontStatement> readFont(std::string_view statement) {
  if (!isWord(statement, "FONT")) return std::nullopt;
  const std::string_view rest = statement.substr(4);
  const std::vector<Field> fields = splitFields(rest);
  FontStatement font;
  const std::string_view size = trim(fields[0].text);
  const NumberField n = readNumber(size);
  font.size = n.value;
  if (!n.plain) font.sizeText = std::string(size);
  if (fields.size() < 2) return font;  // no face: written back as ""
  const std::string_view face = trim(fields[1].text);
  font.face = withoutQuotes(face);
  if (face.size() < 2 || face.front() != '"' || face.back() != '"' ||
      face.substr(1, face.size() - 2).find('"') != npos)
    font.faceText = std::string(face);
  font.tail = tailFrom(rest, fields, 2);
  return font;
}

ControlReading readControlStatement(std::string_view statement) {
  ControlReading reading;
  if (!isWord(statement, "CONTROL")) return reading;
  std::size_t open = 7;
  while (open < statement.size() && statement[open] == ' ') ++open;
  if (open >= statement.size() || statement[open] != '"') return reading;
  // The text ends at the first quote that is not doubled.
  std::size_t close = open + 1;
  for (; close < statement.size(); ++close) {
    if (statement[close] != '"') continue;
    if (close + 1 < statement.size() && statement[close + 1] == '"') {
      ++close;
      continue;
    }
    break;
  }
  if (close >= statement.size()) return reading;
  const std::string_view text = statement.substr(open + 1, close - open - 1);
  const std::string_view rest = statement.substr(close + 1);
  const std::vector<Field> fields = splitFields(rest);
  if (fields.size() < 8 || !trim(fields[0].text).empty()) return reading;
  const std::string_view id = trim(fields[1].text);
  const std::string_view classField = trim(fields[2].text);
  const std::string_view styleText = trim(fields[3].text);
  if (id.empty() || classField.empty()) return reading;
  for (std::size_t i = 4; i < 8; ++i)
    if (trim(fields[i].text).empty()) return reading;

  const std::string scriptClass = upperAscii(withoutQuotes(classField));
  const std::optional<std::uint32_t> style = parseStyle(styleText);
  if (!style) reading.notices.emplace_back(kInvalidStyleNotice);
  const std::uint32_t tested = style.value_or(kDefaultControlStyle);
  const ClassRow* row = classRow(scriptClass, tested);
  if (!row) {
    reading.kind = ControlReading::Kind::Unsupported;
    if (style) reading.notices.push_back(unsupportedControlNotice(scriptClass));
    return reading;
  }

  reading.kind = ControlReading::Kind::Control;
  DialogControl& c = reading.control;
  c.live = row->live;
  c.id = readKept(id, c.idAsWritten);
  if (scriptClass != row->scriptClass) c.classText = std::string(classField);
  if (liveClass(c.live).receivesText)
    c.caption = undoubled(text);
  else
    c.scriptText = std::string(text);
  if (style || row->adjust != StyleAdjust::None) c.liveStyle = adjusted(*row, tested, c);
  c.compiledStyle = compiledField(styleText, kControlBaseStyle);
  if (!style) c.style = KeptText<std::optional<std::uint32_t>>{std::string(styleText), c.liveStyle};
  DialogUnitRect units;
  int* const targets[] = {&units.x, &units.y, &units.width, &units.height};
  for (std::size_t i = 0; i < 4; ++i)
    *targets[i] = readKept(trim(fields[4 + i].text), c.coordinates[i]);
  c.rect = toPixels(units);
  if (c.live == ControlClass::ComboBox) c.comboHeight = units.height;
  c.tail = tailFrom(rest, fields, 8);
  return reading;
}

ControlReading readStatementLine(std::string_view line) {
  const std::string code = blankComments(line);
  const std::string text = readable(code);
  // A line that ends with "," or "|" goes on in a line that is not there: cut short, it is
  // not read (as in a body).
  if (text.ends_with(',') || text.ends_with('|')) return {};
  return readBodyStatement(line, code, text, false);
}

std::string scriptClassName(const DialogControl& control) {
  std::string name;
  if (control.statement && control.statement->statement < kShortStatements.size())
    return std::string(kShortStatements[control.statement->statement].scriptClass);
  if (control.statement) {
    const FieldSpan& span = *control.statement->textField;
    const std::vector<FieldSpan> fields = statementFields(control.statement->text, span.end);
    name = withoutQuotes(spanText(control.statement->text, fields[2]));
  } else if (!control.classText.empty()) {
    name = withoutQuotes(control.classText);
  } else {
    name = std::string(liveClass(control.live).classWritten);
  }
  const std::string upper = upperAscii(name);
  for (const ShortStatement& row : kShortStatements)
    if (upper == row.scriptClass) return upper;
  return name;
}

DialogUnitRect unitsAsWritten(const DialogControl& control) {
  DialogUnitRect units = toDialogUnits(control.rect);
  if (control.live == ControlClass::ComboBox) units.height = control.comboHeight;
  if (control.statement && control.statement->statement < kShortStatements.size() &&
      kShortStatements[control.statement->statement].keyword == "ICON") {
    const auto& size = control.statement->coordinates;
    units.width = size[2] ? readNumber(spanText(control.statement->text, *size[2])).value : 0;
    units.height = size[3] ? readNumber(spanText(control.statement->text, *size[3])).value : 0;
  }
  return units;
}

std::optional<std::size_t> dialogBlockLength(std::string_view block) {
  const auto body = findBody(BlockLines(block));
  if (!body) return std::nullopt;
  return body->end;
}

DialogReading readDialog(std::string_view block, DialogMode mode) {
  DialogReading reading;
  DialogModel& dialog = reading.dialog;
  dialog.mode = mode;
  const BlockLines lines(block);
  const std::optional<Body> body = findBody(lines);
  const std::vector<Statement> header = lines.statements(0, body ? body->open : lines.count());
  DialogUnitRect units;
  if (header.empty() || standsAlone(header[0].text) || header[0].cutShort() ||
      !readHeader(header[0].text, dialog, units)) {
    reading.failure = DialogFailure::NoHeaderNumbers;
    return reading;
  }
  if (!body) {
    reading.failure = DialogFailure::NoBody;
    return reading;
  }

  // The header statements: the first STYLE, CAPTION and FONT statements are read, the others
  // kept in their order. Each is found by its keyword, not by its line: the writer puts the
  // kept statements after FONT, so a rule by position would read another caption after a store.
  std::optional<std::size_t> styleAt;
  std::optional<std::size_t> captionAt;
  std::optional<std::size_t> fontAt;
  for (std::size_t i = 1; i < header.size(); ++i) {
    const std::string& text = header[i].text;
    if (header[i].cutShort()) {
      dialog.headerLines.emplace_back(lines.raw(header[i]));
    } else if (!styleAt && isWord(text, "STYLE")) {
      styleAt = i;
    } else if (!captionAt && readCaption(text)) {
      captionAt = i;
    } else if (!fontAt && isWord(text, "FONT")) {
      fontAt = i;
    } else {
      dialog.headerLines.emplace_back(lines.raw(header[i]));
    }
  }

  // The neutral LANGUAGE line the writer would put first among them anyway.
  if (!dialog.headerLines.empty() && dialog.headerLines.front() == kNeutralLanguage &&
      !holdsLanguage({dialog.headerLines.begin() + 1, dialog.headerLines.end()}))
    dialog.headerLines.erase(dialog.headerLines.begin());

  dialog.styleAsRead = kDefaultDialogStyle;
  if (!styleAt) {
    dialog.style = KeptText<std::uint32_t>{{}, dialog.styleAsRead};
  } else if (const auto style = parseStyle(header[*styleAt].text.substr(5))) {
    dialog.styleAsRead = *style;
    // A STYLE statement over several lines stays in its lines while the style is unchanged.
    if (header[*styleAt].last != header[*styleAt].first)
      dialog.style = KeptText<std::uint32_t>{std::string(lines.raw(header[*styleAt])), *style};
  } else {
    reading.notices.emplace_back(kInvalidStyleNotice);
    dialog.style =
        KeptText<std::uint32_t>{std::string(lines.raw(header[*styleAt])), dialog.styleAsRead};
  }
  dialog.liveStyle = liveDialogStyle(dialog.styleAsRead, mode);
  dialog.rect = placeDialog(units, dialog.styleAsRead, mode);

  if (captionAt) {
    dialog.title = *readCaption(header[*captionAt].text);
    if (trim(dialog.title).empty())
      dialog.blankCaption =
          KeptText<std::string>{std::string(lines.raw(header[*captionAt])), dialog.title};
  }
  if (fontAt) {
    const FontStatement font = *readFont(header[*fontAt].text);
    dialog.fontStatement = true;
    dialog.fontSize = font.size;
    if (font.sizeText) dialog.fontSizeAsWritten = KeptText<int>{*font.sizeText, font.size};
    dialog.faceName = font.face;
    if (font.faceText) dialog.face = KeptText<std::string>{*font.faceText, font.face};
    dialog.fontTail = font.tail;
  }

  // The body: CONTROL statements become controls; every other statement is kept before the
  // control that follows it.
  dialog.bodyOpen = std::string(trim(lines.raw(body->open)));
  const std::string closeLine = lines.readableLine(body->close);
  dialog.bodyClose = closeLine.starts_with('}') ? "}" : closeLine;
  std::vector<std::string> pending;
  for (const Statement& s : lines.statements(body->open + 1, body->close)) {
    if (!s.cutShort()) {
      ControlReading control =
          readBodyStatement(lines.raw(s), lines.code(s), s.text, s.last != s.first);
      for (std::string& notice : control.notices) reading.notices.push_back(std::move(notice));
      if (control.kind == ControlReading::Kind::Control) {
        control.control.linesBefore = std::move(pending);
        pending.clear();
        dialog.controls.push_back(std::move(control.control));
        continue;
      }
    }
    pending.emplace_back(lines.raw(s));
  }
  dialog.bodyTail = std::move(pending);
  dialog.blockLength = body->end;
  return reading;
}

}  // namespace kolvre
