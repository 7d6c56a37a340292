#include "dialogs/dialog_reader.h"

#include <algorithm>
#include <cstdint>

#include "base/text.h"
#include "dialogs/styles.h"

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

// The first word of a statement: up to a blank, a quote or a comma.
std::string_view firstWord(std::string_view text) {
  const std::size_t end = text.find_first_of(" \",");
  return text.substr(0, end);
}

bool isWord(std::string_view text, std::string_view word) {
  return equalsIgnoringCase(firstWord(text), word);
}

// Comments and preprocessor lines stand alone: nothing continues onto them or from them.
bool standsAlone(std::string_view line) {
  return line.empty() || line.starts_with("//") || line.starts_with("#") || line.starts_with("/*");
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
  explicit BlockLines(std::string_view block) : block_(block), lines_(splitLines(block)) {}

  std::size_t count() const { return lines_.size(); }
  std::string_view raw(std::size_t i) const {
    return block_.substr(lines_[i].begin, lines_[i].end - lines_[i].begin);
  }
  std::string readableLine(std::size_t i) const { return readable(raw(i)); }
  // The statement's lines as written, CR LF between them.
  std::string_view raw(const Statement& s) const {
    return block_.substr(lines_[s.first].begin, lines_[s.last].end - lines_[s.first].begin);
  }
  std::size_t lineBegin(std::size_t i) const { return lines_[i].begin; }

  // The statements of lines [from, to). A statement continues onto the next line while it ends
  // with "," or "|" or the next line begins with one of them; a comment opened by "/*" runs
  // through the line that closes it.
  std::vector<Statement> statements(std::size_t from, std::size_t to) const {
    std::vector<Statement> out;
    for (std::size_t i = from; i < to;) {
      Statement s{i, i, readableLine(i)};
      if (s.text.starts_with("/*") && s.text.find("*/", 2) == npos) {
        while (s.last + 1 < to) {
          ++s.last;
          if (raw(s.last).find("*/") != npos) break;
        }
      } else if (!standsAlone(s.text)) {
        while (s.last + 1 < to) {
          const std::string next = readableLine(s.last + 1);
          if (standsAlone(next)) break;
          const bool continues = s.text.ends_with(',') || s.text.ends_with('|') ||
                                 next.starts_with(',') || next.starts_with('|');
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

std::string undoubled(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    out += text[i];
    if (text[i] == '"' && i + 1 < text.size() && text[i + 1] == '"') ++i;
  }
  return out;
}

// The header statement: name, keyword, memory options, x, y, cx, cy and what follows cy.
bool readHeader(std::string_view header, DialogModel& dialog, UnitRect& units) {
  std::size_t at = header.find(' ');
  if (at == npos) return false;
  const auto skipBlanks = [&] {
    while (at < header.size() && header[at] == ' ') ++at;
  };
  const auto word = [&] {
    const std::size_t end = std::min(header.find_first_of(" ,", at), header.size());
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

std::optional<std::string> MAKECAPTION(std::string_view statement) {
  if (!isWord(statement, "CAPTION")) return std::nullopt;
  const std::string_view rest = statement.substr(7);
  if (rest.empty() || rest.front() != ' ') return std::nullopt;
  const std::string_view quoted = trim(rest);
  if (!isQuotedText(quoted)) return std::nullopt;
  return std::string(quoted.substr(1, quoted.size() - 2));
}

std::optional<FontStatement> MAKEFONT(std::string_view statement) {
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
  const auto row = std::find_if(kClassTable.begin(), kClassTable.end(), [&](const ClassRow& r) {
    return scriptClass.starts_with(r.scriptClass) && (tested & r.typeMask) == r.typeValue;
  });
  if (row == kClassTable.end()) {
    reading.kind = ControlReading::Kind::Unsupported;
    if (style) reading.notices.push_back(unsupportedControlNotice(scriptClass));
    return reading;
  }

  reading.kind = ControlReading::Kind::Control;
  DialogControl& c = reading.control;
  c.live = row->live;
  c.Cargo = readKept(id, c.id);
  if (scriptClass != row->scriptClass) c.classText = std::string(classField);
  if (liveClass(c.live).receivesText)
    c.cCaption = undoubled(text);
  else
    c.scriptText = std::string(text);
  if (style || row->adjust != StyleAdjust::None) {
    std::uint32_t value = tested;
    if (row->adjust == StyleAdjust::DropDownList && (value & kComboTypeBits) != kComboTypeBits) {
      value += 1;
      c.lDropDown = true;
    } else if (row->adjust == StyleAdjust::NoIntegralHeight) {
      value |= kNoIntegralHeight;
    }
    c.nStyle = value;
  }
  if (!style) c.style = KeptText<std::optional<std::uint32_t>>{std::string(styleText), c.nStyle};
  UnitRect units;
  int* const targets[] = {&units.x, &units.y, &units.width, &units.height};
  for (std::size_t i = 0; i < 4; ++i)
    *targets[i] = readKept(trim(fields[4 + i].text), c.coordinates[i]);
  c.rect = duToPixels(units);
  if (c.live == ControlClass::TComboBox2) c.comboHeight = units.height;
  c.tail = tailFrom(rest, fields, 8);
  return reading;
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
  UnitRect units;
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
    } else if (!captionAt && MAKECAPTION(text)) {
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

  dialog.Cargo = kDefaultDialogStyle;
  if (!styleAt) {
    dialog.style = KeptText<std::uint32_t>{{}, dialog.Cargo};
  } else if (const auto style = parseStyle(header[*styleAt].text.substr(5))) {
    dialog.Cargo = *style;
  } else {
    reading.notices.emplace_back(kInvalidStyleNotice);
    dialog.style = KeptText<std::uint32_t>{std::string(lines.raw(header[*styleAt])), dialog.Cargo};
  }
  dialog.nStyle = liveDialogStyle(dialog.Cargo, mode);
  dialog.rect = placeDialog(units, dialog.Cargo, mode);

  if (captionAt) {
    dialog.cTitle = *MAKECAPTION(header[*captionAt].text);
    if (trim(dialog.cTitle).empty())
      dialog.blankCaption =
          KeptText<std::string>{std::string(lines.raw(header[*captionAt])), dialog.cTitle};
  }
  if (fontAt) {
    const FontStatement font = *MAKEFONT(header[*fontAt].text);
    dialog.fontStatement = true;
    dialog.nFontSize = font.size;
    if (font.sizeText) dialog.fontSize = KeptText<int>{*font.sizeText, font.size};
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
    if (!s.cutShort() && isWord(s.text, "CONTROL")) {
      ControlReading control = readControlStatement(s.text);
      for (std::string& notice : control.notices) reading.notices.push_back(std::move(notice));
      if (control.kind == ControlReading::Kind::Control) {
        control.control.linesBefore = std::move(pending);
        pending.clear();
        dialog.aControls.push_back(std::move(control.control));
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
