#include "dialogs/dialog_reader.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "base/text.h"
#include "dialogs/reader_fields.h"
#include "dialogs/statement_words.h"
#include "dialogs/styles.h"
#include "syntax/lexer.h"
#include "syntax/vocabulary.h"

namespace kolvre {

using namespace reader_fields;

namespace {

constexpr std::size_t npos = std::string_view::npos;

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
    if (opensBodyLine(line)) break;
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

// A quoted text of the script, one string as the lexer reads it: a quote inside it doubled, or
// escaped with a backslash (which windres reads and llvm-rc refuses).
bool isQuotedText(std::string_view text) {
  return text.size() >= 2 && text.front() == '"' && text.back() == '"' &&
         lexing::stringEnd(text, 0) == text.size();
}

// The header statement: name, keyword, memory options, x, y, cx, cy and what follows cy.
bool readHeader(std::string_view header, DialogModel& dialog, DialogUnitRect& units,
                SymbolUse* symbols) {
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
    const std::string_view field = trimSpace(fields[i].text);
    if (field.empty()) return false;
    *targets[i] = readKept(field, dialog.coordinates[i], symbols);
  }
  dialog.headerTail = tailFrom(numbers, fields, 4);
  return true;
}

// The header statement as written, with where its name and its x, y, cx, cy stand. `code` is
// `raw` with its comments blanked.
std::optional<KeptHeader> keptHeader(std::string_view raw, std::string_view code,
                                     const DialogUnitRect& units) {
  KeptHeader kept;
  kept.text = std::string(raw);
  kept.units = units;
  std::size_t at = 0;
  const auto skipBlanks = [&] {
    while (at < code.size() && isSpace(code[at])) ++at;
  };
  const auto wordEnd = [&] {
    std::size_t end = at;
    while (end < code.size() && !isSpace(code[end]) && code[end] != ',') ++end;
    return end;
  };
  skipBlanks();
  // The name runs to the first blank, as the index reads it.
  std::size_t nameEnd = at;
  while (nameEnd < code.size() && !isSpace(code[nameEnd])) ++nameEnd;
  kept.name = {at, nameEnd};
  kept.nameAsRead = std::string(code.substr(at, kept.name.end - at));
  at = kept.name.end;
  skipBlanks();
  at = wordEnd();  // DIALOG or DIALOGEX
  for (;;) {
    skipBlanks();
    const std::string_view option = code.substr(at, wordEnd() - at);
    const bool isOption =
        std::any_of(kMemoryOptions.begin(), kMemoryOptions.end(),
                    [&](std::string_view known) { return equalsIgnoringCase(option, known); });
    if (!isOption || option.empty()) break;
    at += option.size();
  }
  // Split at every comma, as readHeader splits the numbers (they hold no quoted text).
  for (std::size_t i = 0; i < 4; ++i) {
    const std::size_t comma = std::min(code.find(',', at), code.size());
    FieldSpan field{at, comma};
    while (field.begin < field.end && isSpace(code[field.begin])) ++field.begin;
    while (field.end > field.begin && isSpace(code[field.end - 1])) --field.end;
    kept.coordinates[i] = field;
    if (comma == code.size() && i < 3) return std::nullopt;
    at = comma + 1;
  }
  return kept;
}

// The header statements read into the model besides the header itself: the first STYLE, CAPTION
// and FONT statements, each null when there is none.
struct HeaderStatements {
  const Statement* style = nullptr;
  const Statement* caption = nullptr;
  const Statement* font = nullptr;
};

// The header statements after the header: the first STYLE, CAPTION and FONT statements are
// read, the others kept in their order. Each is found by its keyword, not by its line: the
// writer puts the kept statements after FONT, so a rule by position would read another caption
// after a store.
HeaderStatements sortHeaderStatements(const BlockLines& lines, const std::vector<Statement>& header,
                                      DialogModel& dialog) {
  HeaderStatements found;
  // Where each of the three stood: before which kept line, and its rank there.
  int rank = 0;
  const auto place = [&] { return static_cast<int>(dialog.headerLines.size()) * 10 + rank++; };
  std::optional<int> style, caption, font;
  for (std::size_t i = 1; i < header.size(); ++i) {
    const std::string& text = header[i].text;
    if (header[i].cutShort()) {
      dialog.headerLines.emplace_back(lines.raw(header[i]));
      rank = 0;
    } else if (!found.style && isWord(text, "STYLE")) {
      found.style = &header[i];
      style = place();
    } else if (!found.caption && readCaption(text)) {
      found.caption = &header[i];
      caption = place();
    } else if (!found.font && isWord(text, "FONT")) {
      found.font = &header[i];
      font = place();
    } else {
      dialog.headerLines.emplace_back(lines.raw(header[i]));
      rank = 0;
    }
  }
  // One the block lacks goes where a new dialog has it: STYLE before the other two, CAPTION
  // after STYLE, FONT after both.
  if (!style) style = std::min(caption.value_or(0), font.value_or(0));
  if (!caption) caption = *style;
  if (!font) font = std::max(*style, *caption);
  dialog.places = {*style, *caption, *font};
  return found;
}

// A STYLE statement's text: the vocabulary's names, or the script's symbols.
std::optional<std::uint32_t> readStyleText(std::string_view text, SymbolUse* symbols) {
  const auto written = parseStyle(text);
  return written ? written : symbolStyle(text, 0, symbols);
}

// The dialog's style as read from its STYLE statement (null when there is none): the default
// style without one, or when its text is invalid (with the notice).
void readDialogStyle(const BlockLines& lines, const Statement* style, DialogReading& reading,
                     SymbolUse* symbols) {
  DialogModel& dialog = reading.dialog;
  dialog.styleAsRead = kDefaultDialogStyle;
  if (!style) {
    dialog.style = KeptText<std::uint32_t>{{}, dialog.styleAsRead};
  } else if (const auto value = readStyleText(style->text.substr(5), symbols)) {
    dialog.styleAsRead = *value;
    // A STYLE statement stays as written (its names, its spacing, its lines) while the style is
    // unchanged: the writer's vocabulary would spell some bits as a number.
    dialog.style = KeptText<std::uint32_t>{std::string(lines.raw(*style)), *value};
  } else {
    reading.notices.push_back(invalidStyleNotice(style->text.substr(5)));
    dialog.style = KeptText<std::uint32_t>{std::string(lines.raw(*style)), dialog.styleAsRead};
  }
}

// The title from the CAPTION statement; a blank one is kept as written.
void readDialogCaption(const BlockLines& lines, const Statement& caption, DialogModel& dialog) {
  dialog.title = *readCaption(caption.text);
  dialog.captionAsWritten = KeptText<std::string>{std::string(lines.raw(caption)), dialog.title};
}

// The font from the FONT statement.
void readDialogFont(const BlockLines& lines, const Statement& statement, DialogModel& dialog) {
  const FontStatement font = *readFont(statement.text);
  const std::string_view code = lines.code(statement);
  std::size_t keywordEnd = 0;
  while (keywordEnd < code.size() && isSpace(code[keywordEnd])) ++keywordEnd;
  const std::vector<FieldSpan> fields = fieldSpans(code, keywordEnd + 4);
  KeptFont kept{std::string(lines.raw(statement)), fields[0], std::nullopt, font.size, font.face};
  if (fields.size() > 1) kept.face = fields[1];
  dialog.fontAsWritten = std::move(kept);
  dialog.fontStatement = true;
  dialog.fontSize = font.size;
  if (font.sizeText) dialog.fontSizeAsWritten = KeptText<int>{*font.sizeText, font.size};
  dialog.faceName = font.face;
  if (font.faceText) dialog.face = KeptText<std::string>{*font.faceText, font.face};
  dialog.fontTail = font.tail;
}

// The body: CONTROL statements become controls; every other statement is kept before the
// control that follows it.
void readControls(const BlockLines& lines, const Body& body, DialogReading& reading,
                  SymbolUse* symbols) {
  DialogModel& dialog = reading.dialog;
  dialog.bodyOpen = std::string(lines.raw(body.open));
  const std::size_t closeBegin = lines.lineBegin(body.close);
  dialog.bodyClose = std::string(lines.raw(body.close).substr(0, body.end - closeBegin));
  std::vector<std::string> pending;
  for (const Statement& s : lines.statements(body.open + 1, body.close)) {
    if (!s.cutShort()) {
      ControlReading control = readBodyStatement(lines.raw(s), lines.code(s), s.text, symbols);
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
}

// The statements a dialog's header may hold after the header itself.
constexpr std::array<std::string_view, 9> kHeaderStatements{
    "STYLE", "EXSTYLE",  "CAPTION", "FONT",           "MENU",
    "CLASS", "LANGUAGE", "VERSION", "CHARACTERISTICS"};

bool isOneOf(std::string_view word, auto const& words) {
  return std::any_of(words.begin(), words.end(),
                     [&](std::string_view w) { return equalsIgnoringCase(word, w); });
}

bool isControlKeyword(std::string_view word) {
  return equalsIgnoringCase(word, "CONTROL") ||
         std::any_of(
             kShortStatements.begin(), kShortStatements.end(),
             [&](const ShortStatement& row) { return equalsIgnoringCase(word, row.keyword); });
}

// A block written compactly ("{" on the header's line, BEGIN END on one line, a whole dialog on
// one line) with a line break put before each statement, delimiter and control that does not
// begin its line, and before what follows a "{" or BEGIN on its line: the form the lines of the
// reader read. `breaks`: where each line break put in stands in `text`.
struct SpreadBlock {
  std::string text;
  std::vector<std::size_t> breaks;
  // The length in the block as written of the first `spreadLength` bytes of `text`.
  std::size_t writtenLength(std::size_t spreadLength) const {
    std::size_t length = spreadLength;
    for (std::size_t at : breaks)
      if (at < spreadLength) length -= std::min<std::size_t>(2, spreadLength - at);
    return length;
  }
};

SpreadBlock spreadBlock(std::string_view block) {
  std::vector<std::size_t> breaks;  // where a line break goes, in order
  Lexer lexer(block);
  Token previous;
  bool inBody = false;
  bool afterOpen = false;  // the token before opened the body
  for (Token t = lexer.nextCode(); t.kind != TokenKind::End; t = lexer.nextCode()) {
    const std::string_view text = t.of(block);
    const bool word = t.kind == TokenKind::Word;
    const bool afterComma = previous.kind == TokenKind::Punct && previous.of(block) == ",";
    const bool open = !inBody && ((t.kind == TokenKind::Punct && text == "{") ||
                                  (word && equalsIgnoringCase(text, "BEGIN")));
    const bool close = inBody && ((t.kind == TokenKind::Punct && text == "}") ||
                                  (word && equalsIgnoringCase(text, "END")));
    const bool starts = open || close ||
                        (word && !afterComma && previous.kind != TokenKind::End &&
                         (inBody ? isControlKeyword(text) : isOneOf(text, kHeaderStatements)));
    if ((starts || afterOpen) && !t.newLine && previous.kind != TokenKind::End)
      breaks.push_back(t.begin);
    afterOpen = open;
    if (open) inBody = true;
    if (close) {
      const Token next = lexer.peekCode();
      if (next.kind != TokenKind::End && !next.newLine) breaks.push_back(t.end);
      break;
    }
    previous = t;
  }
  SpreadBlock spread;
  std::size_t copied = 0;
  for (std::size_t at : breaks) {
    spread.text.append(block.substr(copied, at - copied));
    spread.text += "\r\n";
    spread.breaks.push_back(spread.text.size() - 2);
    copied = at;
  }
  spread.text.append(block.substr(copied));
  return spread;
}

DialogReading readLines(std::string_view block, DialogMode mode, const SymbolTable* symbols);

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

std::optional<std::string> readCaption(std::string_view statement) {
  if (!isWord(statement, "CAPTION")) return std::nullopt;
  const std::string_view rest = statement.substr(7);
  if (rest.empty() || rest.front() != ' ') return std::nullopt;
  const std::string_view quoted = trimSpace(rest);
  if (!isQuotedText(quoted)) return std::nullopt;
  return std::string(quoted.substr(1, quoted.size() - 2));
}

std::optional<FontStatement> readFont(std::string_view statement) {
  if (!isWord(statement, "FONT")) return std::nullopt;
  const std::string_view rest = statement.substr(4);
  const std::vector<Field> fields = splitFields(rest);
  FontStatement font;
  const std::string_view size = trimSpace(fields[0].text);
  const NumberField n = readNumber(size);
  font.size = n.value;
  if (!n.plain) font.sizeText = std::string(size);
  if (fields.size() < 2) return font;  // no face: written back as ""
  const std::string_view face = trimSpace(fields[1].text);
  font.face = withoutQuotes(face);
  if (!isQuotedText(face)) font.faceText = std::string(face);
  font.tail = tailFrom(rest, fields, 2);
  return font;
}

std::optional<std::size_t> dialogBlockLength(std::string_view block) {
  const SpreadBlock spread = spreadBlock(block);
  const auto body = findBody(BlockLines(spread.text));
  if (!body) return std::nullopt;
  return spread.writtenLength(body->end);
}

DialogReading readDialog(std::string_view block, DialogMode mode, const SymbolTable* symbols) {
  SpreadBlock spread = spreadBlock(block);
  if (spread.breaks.empty()) return readLines(block, mode, symbols);
  // A compact block is read in its lines and kept as written: the writer gives it back while
  // the dialog is unchanged.
  DialogReading reading = readLines(spread.text, mode, symbols);
  if (reading.failure != DialogFailure::None) return reading;
  DialogModel& dialog = reading.dialog;
  spread.text.resize(dialog.blockLength);
  dialog.blockLength = spread.writtenLength(dialog.blockLength);
  dialog.compact = KeptText<std::string>{std::string(block.substr(0, dialog.blockLength)),
                                         std::move(spread.text)};
  return reading;
}

namespace {

DialogReading readLines(std::string_view block, DialogMode mode, const SymbolTable* symbols) {
  DialogReading reading;
  SymbolUse use{symbols, {}};
  SymbolUse* const used = symbols ? &use : nullptr;
  DialogModel& dialog = reading.dialog;
  dialog.mode = mode;
  const BlockLines lines(block);
  const std::optional<Body> body = findBody(lines);
  const std::vector<Statement> header = lines.statements(0, body ? body->open : lines.count());
  DialogUnitRect units;
  if (header.empty() || standsAlone(header[0].text) || header[0].cutShort() ||
      !readHeader(header[0].text, dialog, units, used)) {
    reading.failure = DialogFailure::NoHeaderNumbers;
    return reading;
  }
  if (!body) {
    reading.failure = DialogFailure::NoBody;
    return reading;
  }

  dialog.header = keptHeader(lines.raw(header[0]), lines.code(header[0]), units);
  const HeaderStatements found = sortHeaderStatements(lines, header, dialog);
  readDialogStyle(lines, found.style, reading, used);
  dialog.liveStyle = liveDialogStyle(dialog.styleAsRead, mode);
  dialog.rect = placeDialog(units, dialog.styleAsRead, mode);
  if (found.caption) readDialogCaption(lines, *found.caption, dialog);
  if (found.font) readDialogFont(lines, *found.font, dialog);

  readControls(lines, *body, reading, used);
  dialog.blockLength = body->end;
  if (!use.undefined.empty()) reading.notices.push_back(undefinedSymbolsNotice(use.undefined));
  reading.undefinedSymbols = std::move(use.undefined);
  return reading;
}

}  // namespace

}  // namespace kolvre
