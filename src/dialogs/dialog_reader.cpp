#include "dialogs/dialog_reader.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "base/text.h"
#include "dialogs/reader_fields.h"
#include "dialogs/styles.h"
#include "syntax/lexer.h"
#include "syntax/positions.h"
#include "syntax/statement_reader.h"
#include "syntax/syntax_tree.h"
#include "syntax/vocabulary.h"

namespace kolvre {

using namespace reader_fields;

namespace {

// The dialog's statement as the syntax tree reads it, with its parts: the header's name, type,
// memory options and numbers, the header statements after them, and the body's items. Every
// offset it gives counts from the start of the block.
class DialogSyntax {
 public:
  explicit DialogSyntax(std::string_view block) {
    StatementReader reader(block);
    const std::optional<Statement> s = reader.next();
    if (!s || s->kind != StatementKind::Resource) return;
    base_ = s->begin;
    own_ = block.substr(s->begin, s->end - s->begin);
    tree_ = readStatementTree(block, *s);
    read_ = true;
    for (const std::size_t c : tree_.children(0)) {
      const TreeNode& n = tree_.nodes[c];
      if (body_) continue;  // what follows the body is no part of the dialog
      switch (n.kind) {
        case NodeKind::Name:
          name_ = c;
          break;
        case NodeKind::Type:
          type_ = c;
          break;
        case NodeKind::MemoryOption:
          options_.push_back(c);
          break;
        case NodeKind::Values:
          values_ = c;
          break;
        case NodeKind::Body:
          body_ = c;
          break;
        default:
          headerItems_.push_back(c);
          break;
      }
    }
    if (body_) {
      bodyItems_ = tree_.children(*body_);
      const TreeNode& b = tree_.nodes[*body_];
      const std::size_t lastCovered =
          bodyItems_.empty() ? b.first + 1 : tree_.nodes[bodyItems_.back()].last;
      closed_ = b.last > lastCovered && closes(b.last - 1);
    }
  }

  bool read() const { return read_; }
  const StatementTree& tree() const { return tree_; }
  std::string_view own() const { return own_; }
  const TreeNode& node(std::size_t i) const { return tree_.nodes[i]; }
  std::optional<std::size_t> name() const { return name_; }
  std::optional<std::size_t> type() const { return type_; }
  const std::vector<std::size_t>& options() const { return options_; }
  std::optional<std::size_t> values() const { return values_; }
  const std::vector<std::size_t>& headerItems() const { return headerItems_; }
  std::optional<std::size_t> body() const { return body_; }
  const std::vector<std::size_t>& bodyItems() const { return bodyItems_; }
  bool closed() const { return closed_; }

  // Where token `i` begins and ends in the block.
  std::size_t begin(std::size_t i) const {
    const std::size_t at = base_ + tree_.tokens[i].begin;
    return at + 2 * breaksUpTo(at, true);
  }
  std::size_t end(std::size_t i) const {
    const std::size_t at = base_ + tree_.tokens[i].end;
    return at + 2 * breaksUpTo(at, false);
  }

  // Offsets from now on in the block with a line break (CR LF) put in at each of `breaks`
  // (breaks()): the tree read from the block as written stands for the block spread, whose
  // reading could differ (a '#' that a break would put first on its line).
  void spreadBy(std::vector<std::size_t> breaks) { breaks_ = std::move(breaks); }
  std::string_view text(std::size_t i) const {
    return own_.substr(tree_.tokens[i].begin, tree_.tokens[i].end - tree_.tokens[i].begin);
  }
  std::string code(std::size_t first, std::size_t last) const {
    return codeText(own_, tree_, first, last);
  }
  // An item that ends with a comma or an operator where its statement ends: cut short. Such a
  // statement is never read (written afresh, it would run on into the line after it).
  bool cutShort(const TreeNode& n) const {
    if (n.last <= n.first) return false;
    const TreeToken& t = tree_.tokens[n.last - 1];
    const std::string_view last = text(n.last - 1);
    return t.kind == TokenKind::Punct && (last == "," || last == "|");
  }

  // Where a line break goes for every part to begin its own line: before each header
  // statement, the body's opener, each item of the body and the closer, where it does not
  // begin its line already.
  std::vector<std::size_t> breaks() const {
    std::vector<std::size_t> at;
    const auto needs = [&](std::size_t token) {
      if (!tree_.tokens[token].newLine) at.push_back(begin(token));
    };
    for (const std::size_t i : headerItems_) needs(node(i).first);
    if (!body_) return at;
    needs(node(*body_).first);
    for (const std::size_t i : bodyItems_) needs(node(i).first);
    if (closed_) needs(node(*body_).last - 1);
    return at;
  }

  // Where the statement begins in the block.
  std::size_t base() const { return base_; }
  // Where the body ends in the block: after its "}" or END.
  std::size_t bodyEnd() const { return end(node(*body_).last - 1); }

 private:
  bool closes(std::size_t i) const {
    const std::string_view t = text(i);
    return t == "}" || (tree_.tokens[i].kind == TokenKind::Word && isEndWord(t));
  }

  // The breaks put in before `at` (and at it, for a token's beginning).
  std::size_t breaksUpTo(std::size_t at, bool inclusive) const {
    const auto end = inclusive ? std::upper_bound(breaks_.begin(), breaks_.end(), at)
                               : std::lower_bound(breaks_.begin(), breaks_.end(), at);
    return static_cast<std::size_t>(end - breaks_.begin());
  }

  std::string_view own_;
  std::size_t base_ = 0;
  std::vector<std::size_t> breaks_;
  StatementTree tree_;
  bool read_ = false;
  std::optional<std::size_t> name_, type_, values_, body_;
  std::vector<std::size_t> options_, headerItems_, bodyItems_;
  bool closed_ = false;
};

// The block's lines (ended by CR LF, as the lexer ends them), and where the tree's parts stand
// among them. Every part of the dialog begins its own line (DialogSyntax::breaks).
class BlockLines {
 public:
  BlockLines(std::string_view block, const DialogSyntax& syntax)
      : block_(block), syntax_(syntax), lines_(crLfLines(block)) {}

  std::size_t lineOf(std::size_t offset) const {
    const auto after =
        std::upper_bound(lines_.begin(), lines_.end(), offset,
                         [](std::size_t at, const LineSpan& line) { return at < line.begin; });
    return static_cast<std::size_t>(after - lines_.begin()) - 1;
  }
  // The first and last lines of node `i`'s tokens.
  std::size_t firstLine(std::size_t i) const {
    return lineOf(syntax_.begin(syntax_.node(i).first));
  }
  std::size_t lastLine(std::size_t i) const {
    const TreeNode& n = syntax_.node(i);
    return lineOf(syntax_.end(n.last - 1) - 1);
  }
  std::size_t lineBegin(std::size_t line) const { return lines_[line].begin; }
  // Lines first to last (inclusive) as written, CR LF between them.
  std::string_view raw(std::size_t first, std::size_t last) const {
    return block_.substr(lines_[first].begin, lines_[last].end - lines_[first].begin);
  }

  // A statement of lines first to last: an item of the tree, or a line no item covers (blank,
  // or comments alone), which stands alone.
  struct Part {
    std::size_t first = 0;
    std::size_t last = 0;
    std::optional<std::size_t> node;
  };
  // The parts of lines [from, to): the items `nodes` (in order) and the lines between them.
  std::vector<Part> parts(std::size_t from, std::size_t to,
                          const std::vector<std::size_t>& nodes) const {
    std::vector<Part> out;
    auto item = nodes.begin();
    for (std::size_t line = from; line < to;) {
      while (item != nodes.end() && firstLine(*item) < line) ++item;
      if (item != nodes.end() && firstLine(*item) == line) {
        const std::size_t last = std::min(std::max(lastLine(*item), line), to - 1);
        out.push_back({line, last, *item});
        line = last + 1;
        ++item;
      } else {
        out.push_back({line, line, std::nullopt});
        ++line;
      }
    }
    return out;
  }

 private:
  std::string_view block_;
  const DialogSyntax& syntax_;
  std::vector<LineSpan> lines_;
};

// A body statement's values as the control reader takes them, spans counted from `rawBegin`.
StatementFields statementFields(const DialogSyntax& syntax, std::size_t item, std::string_view raw,
                                std::size_t rawBegin) {
  // The item's tokens stand together: the breaks put in before it move them all alike.
  const std::size_t first = syntax.node(item).first;
  const std::size_t moved = syntax.begin(first) - syntax.base() - syntax.tree().tokens[first].begin;
  return itemFields(syntax.tree(), syntax.own(), item, raw, rawBegin - moved - syntax.base());
}

// A quoted text of the script, one string as the lexer reads it: a quote inside it doubled, or
// escaped with a backslash (which windres reads and llvm-rc refuses).
bool isQuotedText(std::string_view text) {
  return quotedText(text).has_value();
}

// Reads the dialog from `block`, every part of which begins its own line.
class DialogLines {
 public:
  DialogLines(std::string_view block, const DialogSyntax& syntax, DialogReading& reading,
              SymbolUse* symbols, const DialogFontMetrics* fonts)
      : syntax_(syntax),
        lines_(block, syntax),
        reading_(reading),
        symbols_(symbols),
        fonts_(fonts) {}

  void read() {
    DialogModel& dialog = reading_.dialog;
    DialogUnitRect units;
    if (!syntax_.read() || !readHeader(units)) {
      reading_.failure = DialogFailure::NoHeaderNumbers;
      return;
    }
    if (!syntax_.body() || !syntax_.closed()) {
      reading_.failure = DialogFailure::NoBody;
      return;
    }
    readHeaderStatements();
    readStyle();
    if (caption_) readCaption(*caption_);
    // The font first: the dialog's units are its font's.
    if (font_) readFont(*font_);
    dialog.baseUnits = baseUnitsOf(dialogFontOf(dialog), fonts_);
    dialog.liveStyle = liveDialogStyle(dialog.styleAsRead, dialog.mode);
    dialog.rect = placeDialog(units, dialog.baseUnits, dialog.styleAsRead, dialog.mode);
    readControls();
    dialog.blockLength = syntax_.bodyEnd();
  }

 private:
  using Part = BlockLines::Part;

  std::string_view raw(const Part& p) const { return lines_.raw(p.first, p.last); }
  std::string_view keyword(const Part& p) const {
    return syntax_.text(syntax_.node(*p.node).first);
  }
  bool isStatement(const Part& p, std::string_view word) const {
    return p.node && syntax_.node(*p.node).kind == NodeKind::HeaderStatement &&
           isKeyword(keyword(p), word);
  }
  // Where the keyword and the value (the tokens after the keyword) of an item stand in its
  // lines.
  KeptSpans spansOf(const Part& p) const {
    const TreeNode& n = syntax_.node(*p.node);
    const std::size_t rawBegin = lines_.lineBegin(p.first);
    KeptSpans spans;
    spans.keyword = syntax_.begin(n.first) - rawBegin;
    const std::size_t after = syntax_.end(n.first) - rawBegin;
    spans.value = n.last > n.first + 1 ? FieldSpan{syntax_.begin(n.first + 1) - rawBegin,
                                                   syntax_.end(n.last - 1) - rawBegin}
                                       : FieldSpan{after, after};
    return spans;
  }
  // The code of an item after its keyword.
  std::string codeAfterKeyword(const Part& p) const {
    const TreeNode& n = syntax_.node(*p.node);
    return syntax_.code(n.first + 1, n.last);
  }

  // The header statement: name, keyword, memory options, x, y, cx, cy and what follows cy.
  bool readHeader(DialogUnitRect& units) {
    DialogModel& dialog = reading_.dialog;
    if (!syntax_.name() || !syntax_.type() || !syntax_.values()) return false;
    const TreeNode& values = syntax_.node(*syntax_.values());
    if (syntax_.cutShort(values)) return false;
    const std::vector<CommaField> fields =
        commaFields(syntax_.own(), syntax_.tree(), values.first, values.last);
    if (fields.size() < 4) return false;
    for (std::size_t i = 0; i < 4; ++i)
      if (fields[i].empty()) return false;
    dialog.keyword = std::string(syntax_.text(syntax_.node(*syntax_.type()).first));
    for (const std::size_t option : syntax_.options())
      dialog.memoryOptions.emplace_back(syntax_.text(syntax_.node(option).first));
    int* const targets[] = {&units.x, &units.y, &units.width, &units.height};
    for (std::size_t i = 0; i < 4; ++i)
      *targets[i] =
          readKept(syntax_.code(fields[i].first, fields[i].last), dialog.coordinates[i], symbols_);
    if (fields.size() > 4) dialog.headerTail = syntax_.code(*fields[4].comma, values.last);

    // The header as written, with where its name and numbers stand: its lines through its last
    // number (or memory option).
    std::size_t last = lines_.lastLine(*syntax_.values());
    for (const std::size_t option : syntax_.options())
      last = std::max(last, lines_.lastLine(option));
    headerEnd_ = last + 1;
    const std::size_t rawBegin = lines_.lineBegin(0);
    const auto span = [&](std::size_t first, std::size_t lastToken) {
      return FieldSpan{syntax_.begin(first) - rawBegin, syntax_.end(lastToken - 1) - rawBegin};
    };
    KeptHeader kept;
    kept.text = std::string(lines_.raw(0, last));
    kept.units = units;
    const TreeNode& name = syntax_.node(*syntax_.name());
    kept.name = span(name.first, name.last);
    kept.nameAsRead = std::string(syntax_.text(name.first));
    for (std::size_t i = 0; i < 4; ++i) kept.coordinates[i] = span(fields[i].first, fields[i].last);
    dialog.header = std::move(kept);
    return true;
  }

  // The header statements after the header: the first STYLE, CAPTION and FONT statements are
  // read, the others kept in their order. Each is found by its keyword, not by its line: the
  // writer puts the kept statements after FONT, so a rule by position would read another
  // caption after a store.
  void readHeaderStatements() {
    DialogModel& dialog = reading_.dialog;
    // Where each of the three stood: before which kept line, and its rank there.
    int rank = 0;
    const auto place = [&] { return static_cast<int>(dialog.headerLines.size()) * 10 + rank++; };
    std::optional<int> style, caption, font;
    const std::size_t open = lines_.firstLine(*syntax_.body());
    for (const Part& p : lines_.parts(headerEnd_, open, syntax_.headerItems())) {
      const bool whole = p.node && !syntax_.cutShort(syntax_.node(*p.node));
      if (whole && !style_ && isStatement(p, "STYLE")) {
        style_ = p;
        style = place();
      } else if (whole && !caption_ && isStatement(p, "CAPTION") && captionOf(p)) {
        caption_ = p;
        caption = place();
      } else if (whole && !font_ && isStatement(p, "FONT")) {
        font_ = p;
        font = place();
      } else {
        dialog.headerLines.emplace_back(raw(p));
        rank = 0;
      }
    }
    // One the block lacks goes where a new dialog has it: STYLE before the other two, CAPTION
    // after STYLE, FONT after both.
    if (!style) style = std::min(caption.value_or(0), font.value_or(0));
    if (!caption) caption = *style;
    if (!font) font = std::max(*style, *caption);
    dialog.places = {*style, *caption, *font};
  }

  // The dialog's style as read from its STYLE statement: the default style without one, or
  // when its text is invalid (with the notice).
  void readStyle() {
    DialogModel& dialog = reading_.dialog;
    dialog.styleAsRead = kDefaultDialogStyle;
    if (!style_) {
      dialog.style = KeptText<std::uint32_t>{{}, dialog.styleAsRead};
      return;
    }
    const std::string text = codeAfterKeyword(*style_);
    reading_.styleText = text;
    const auto written = parseStyle(text);
    const auto value = written ? written : symbolStyle(text, 0, symbols_);
    if (value) {
      dialog.styleAsRead = *value;
    } else {
      reading_.notices.push_back(invalidStyleNotice(text));
    }
    // A STYLE statement stays as written (its names, its spacing, its lines) while the style is
    // unchanged: the writer's vocabulary would spell some bits as a number.
    dialog.style = KeptText<std::uint32_t>{std::string(raw(*style_)), dialog.styleAsRead};
    dialog.styleSpans = spansOf(*style_);
  }

  // The title of a CAPTION statement: its one quoted text, between its quotes as written.
  std::optional<std::string> captionOf(const Part& p) const {
    const TreeNode& n = syntax_.node(*p.node);
    if (n.last != n.first + 2) return std::nullopt;
    const std::string_view quoted = syntax_.text(n.first + 1);
    if (!isQuotedText(quoted)) return std::nullopt;
    return std::string(quoted.substr(1, quoted.size() - 2));
  }

  // The title from the CAPTION statement; a blank one is kept as written.
  void readCaption(const Part& p) {
    DialogModel& dialog = reading_.dialog;
    dialog.title = *captionOf(p);
    dialog.captionAsWritten = KeptText<std::string>{std::string(raw(p)), dialog.title};
    dialog.captionSpans = spansOf(p);
  }

  // The font from the FONT statement: its size, its face, and the fields after them.
  void readFont(const Part& p) {
    DialogModel& dialog = reading_.dialog;
    const std::string_view text = raw(p);
    const StatementFields fields =
        statementFields(syntax_, *p.node, text, lines_.lineBegin(p.first));
    const StatementFields::Value& size = fields.values[0];
    const NumberField n = readNumber(size.code);
    KeptFont kept{std::string(text), size.span, std::nullopt, n.value, {}};
    dialog.fontStatement = true;
    dialog.fontSize = n.value;
    if (!n.plain) dialog.fontSizeAsWritten = KeptText<int>{size.code, n.value};
    if (fields.values.size() > 1) {
      const StatementFields::Value& face = fields.values[1];
      kept.face = face.span;
      const std::string name = stringsText(face.code).value_or(std::string(face.code));
      dialog.faceName = name;
      if (!face.quoted || !isQuotedText(face.code))
        dialog.face = KeptText<std::string>{face.code, name};
    }
    kept.faceRead = dialog.faceName;
    if (fields.values.size() > 2) {
      const TreeNode& n2 = syntax_.node(*p.node);
      const auto f = commaFields(syntax_.own(), syntax_.tree(), n2.first + 1, n2.last);
      dialog.fontTail = syntax_.code(*f[2].comma, n2.last);
      // DIALOGEX's weight and italic flag choose the face's style, and so its base units.
      dialog.fontWeight = readNumber(fields.values[2].code).value;
      if (fields.values.size() > 3)
        dialog.fontItalic = readNumber(fields.values[3].code).value != 0;
    }
    dialog.fontAsWritten = std::move(kept);
  }

  // The body: control statements become controls; every other statement is kept before the
  // control that follows it.
  void readControls() {
    DialogModel& dialog = reading_.dialog;
    const std::size_t open = lines_.firstLine(*syntax_.body());
    const std::size_t close = lines_.lineOf(syntax_.bodyEnd() - 1);
    dialog.bodyOpen = std::string(lines_.raw(open, open));
    const std::size_t closeBegin = lines_.lineBegin(close);
    dialog.bodyClose =
        std::string(lines_.raw(close, close).substr(0, syntax_.bodyEnd() - closeBegin));
    std::vector<std::string> pending;
    for (const Part& p : lines_.parts(open + 1, close, syntax_.bodyItems())) {
      if (p.node && syntax_.node(*p.node).kind == NodeKind::Control) {
        const StatementFields fields =
            statementFields(syntax_, *p.node, raw(p), lines_.lineBegin(p.first));
        ControlReading control = readBodyStatement(fields, dialog.baseUnits, symbols_);
        for (std::string& notice : control.notices) reading_.notices.push_back(std::move(notice));
        if (control.kind == ControlReading::Kind::Control) {
          control.control.linesBefore = std::move(pending);
          pending.clear();
          dialog.controls.push_back(std::move(control.control));
          continue;
        }
      }
      pending.emplace_back(raw(p));
    }
    dialog.bodyTail = std::move(pending);
  }

  const DialogSyntax& syntax_;
  BlockLines lines_;
  DialogReading& reading_;
  SymbolUse* symbols_;
  const DialogFontMetrics* fonts_;
  std::size_t headerEnd_ = 1;  // the first line after the header statement
  std::optional<Part> style_, caption_, font_;
};

DialogReading readLines(std::string_view block, const DialogSyntax& syntax, DialogMode mode,
                        const SymbolTable* symbols, const DialogFontMetrics* fonts) {
  DialogReading reading;
  SymbolUse use{symbols, {}};
  reading.dialog.mode = mode;
  DialogLines(block, syntax, reading, symbols ? &use : nullptr, fonts).read();
  if (reading.failure != DialogFailure::None) return reading;
  if (!use.undefined.empty()) reading.notices.push_back(undefinedSymbolsNotice(use.undefined));
  reading.undefinedSymbols = std::move(use.undefined);
  return reading;
}

}  // namespace

StatementFields itemFields(const StatementTree& tree, std::string_view own, std::size_t item,
                           std::string_view raw, std::size_t rawBegin) {
  const TreeNode& n = tree.nodes[item];
  const auto begin = [&](std::size_t i) { return tree.tokens[i].begin - rawBegin; };
  const auto end = [&](std::size_t i) { return tree.tokens[i].end - rawBegin; };
  StatementFields out;
  out.raw = raw;
  out.keyword =
      own.substr(tree.tokens[n.first].begin, tree.tokens[n.first].end - tree.tokens[n.first].begin);
  out.keywordAt = begin(n.first);
  if (n.last > n.first) {
    const TreeToken& last = tree.tokens[n.last - 1];
    const char c = own[last.begin];
    out.cutShort = last.kind == TokenKind::Punct && (c == ',' || c == '|');
  }
  for (const CommaField& f : commaFields(own, tree, n.first + 1, n.last)) {
    StatementFields::Value value;
    if (f.empty()) {
      const std::size_t at = f.first < n.last ? begin(f.first) : end(n.last - 1);
      value.span = {at, at};
    } else {
      value.span = {begin(f.first), end(f.last - 1)};
      value.code = codeText(own, tree, f.first, f.last);
      value.quoted = f.last == f.first + 1 && tree.tokens[f.first].kind == TokenKind::String;
    }
    value.commaAt = f.comma ? begin(*f.comma) : end(n.first);
    out.values.push_back(std::move(value));
  }
  return out;
}

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

std::optional<std::size_t> dialogBlockLength(std::string_view block) {
  const DialogSyntax syntax(block);
  if (!syntax.body() || !syntax.closed()) return std::nullopt;
  return syntax.bodyEnd();
}

DialogReading readDialog(std::string_view block, DialogMode mode, const SymbolTable* symbols,
                         const DialogFontMetrics* fonts) {
  const DialogSyntax syntax(block);
  const std::vector<std::size_t> breaks = syntax.breaks();
  if (breaks.empty()) return readLines(block, syntax, mode, symbols, fonts);
  // A block written compactly ("{" on the header's line, BEGIN END on one line, a whole dialog
  // on one line) is read with a line break put before each part that does not begin its line,
  // and kept as written: the writer gives it back while the dialog is unchanged.
  std::string spread;
  std::size_t copied = 0;
  for (const std::size_t at : breaks) {
    spread.append(block.substr(copied, at - copied));
    spread += "\r\n";
    copied = at;
  }
  spread.append(block.substr(copied));
  DialogSyntax spreadSyntax = syntax;
  spreadSyntax.spreadBy(breaks);
  DialogReading reading = readLines(spread, spreadSyntax, mode, symbols, fonts);
  if (reading.failure != DialogFailure::None) return reading;
  DialogModel& dialog = reading.dialog;
  // The length as written: the breaks put in before the dialog's end taken away again.
  const std::size_t spreadLength = dialog.blockLength;
  std::size_t length = spreadLength;
  for (std::size_t i = 0; i < breaks.size(); ++i)
    if (breaks[i] + 2 * i < spreadLength) length -= 2;
  spread.resize(spreadLength);
  dialog.blockLength = length;
  dialog.compact = KeptText<std::string>{std::string(block.substr(0, length)), std::move(spread)};
  return reading;
}

std::vector<BodyStatement> readBodyStatements(std::string_view text, BaseUnits base) {
  std::string block = "P DIALOG 0, 0, 1, 1\r\n{\r\n";
  block += text;
  block += "\r\n}";
  const DialogSyntax syntax(block);
  std::vector<BodyStatement> out;
  if (!syntax.body()) return out;
  const BlockLines lines(block, syntax);
  const std::vector<std::size_t>& items = syntax.bodyItems();
  for (std::size_t i = 0; i < items.size();) {
    // The items that share lines make one statement, and no control.
    std::size_t j = i + 1;
    while (j < items.size() && !syntax.tree().tokens[syntax.node(items[j]).first].newLine) ++j;
    const std::size_t first = lines.firstLine(items[i]);
    BodyStatement statement;
    statement.raw = std::string(lines.raw(first, lines.lastLine(items[j - 1])));
    statement.keyword = std::string(syntax.text(syntax.node(items[i]).first));
    // A body left open: something at the text's end ran on over its "}".
    const bool runsOn = !syntax.closed() && j == items.size();
    // Lines that end inside a comment running on into the lines after them are not the whole
    // statement: alone, they would leave the comment open over what follows them.
    const bool cutInComment = endsLeftOpen(statement.raw, 0, statement.raw.size());
    if (j == i + 1 && !runsOn && !cutInComment && syntax.node(items[i]).kind == NodeKind::Control)
      statement.reading = readBodyStatement(
          statementFields(syntax, items[i], statement.raw, lines.lineBegin(first)), base);
    out.push_back(std::move(statement));
    i = j;
  }
  // A "}" or END of the text's own closes the body before its end: what follows is no part of
  // it.
  if (syntax.closed() && syntax.bodyEnd() != block.size()) {
    BodyStatement closer;
    closer.keyword = std::string(syntax.text(syntax.node(*syntax.body()).last - 1));
    out.push_back(std::move(closer));
  }
  return out;
}

ControlReading readStatementLine(std::string_view line, BaseUnits base) {
  std::vector<BodyStatement> statements = readBodyStatements(line, base);
  if (statements.size() != 1) return {};
  return std::move(statements[0].reading);
}

}  // namespace kolvre
