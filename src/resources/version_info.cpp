#include "resources/version_info.h"

#include <algorithm>
#include <cctype>

#include "base/text.h"
#include "messages/error_record.h"
#include "syntax/number_form.h"
#include "syntax/version_vocabulary.h"
#include "syntax/vocabulary.h"

namespace kolvre {

namespace {

const std::string_view* fixedField(std::string_view word) {
  for (const std::string_view& field : kVersionFields)
    if (isKeyword(word, field)) return &field;
  return nullptr;
}

std::string atLine(std::string_view text, std::size_t offset) {
  return " alla riga " + std::to_string(lineNumberAt(text, offset)) + ".";
}

// Reads the resource from its statement's tree: the fixed fields, then the body's blocks and
// values.
class VersionReader {
 public:
  VersionReader(std::string_view text, const Statement& statement, const StatementTree& tree,
                const StringContext& context)
      : text_(text),
        base_(statement.begin),
        own_(statement.of(text)),
        tree_(tree),
        charset_(charsetAt(text, statement.begin, context)) {}

  VersionInfo read() {
    std::size_t body = 0;
    for (const std::size_t child : tree_.children(0)) {
      const TreeNode& node = tree_.nodes[child];
      if (node.kind == NodeKind::Body) {
        body = child;
        break;
      }
      if (node.kind != NodeKind::FixedField) continue;
      readField(node);
    }
    if (body == 0) return failed("Manca BEGIN o { dopo VERSIONINFO.");
    if (!readBody(body, 1, std::nullopt)) return failed(problem_);
    if (body + tree_.nodes[body].size < tree_.nodes.size())
      return failed("Testo dopo la fine della risorsa.");
    return std::move(info_);
  }

 private:
  std::string_view token(std::size_t i) const { return tokenText(own_, tree_.tokens[i]); }
  std::size_t at(std::size_t i) const { return base_ + tree_.tokens[i].begin; }
  bool isLiteralAt(std::size_t i) const { return isLiteral(own_, tree_.tokens[i]); }
  // Where the line of token `i` ends, when only blanks and comments follow it there.
  std::optional<std::size_t> lineEndAfter(std::size_t i) const {
    const auto end = lineEndBefore(own_, tree_, i + 1);
    return end ? std::optional(base_ + *end) : std::nullopt;
  }

  TextSpan span(std::size_t first, std::size_t last) const {
    return {at(first), base_ + tree_.tokens[last - 1].end};
  }

  // A fixed field: its keyword, its value as written, its values between commas.
  void readField(const TreeNode& node) {
    const std::string_view* keyword = fixedField(token(node.first));
    VersionField field;
    field.keyword = std::string(keyword ? *keyword : token(node.first));
    field.begin = at(node.first);
    const std::size_t first = node.first + 1;
    if (node.last > first) {
      field.span = span(first, node.last);
      field.value = std::string(text_.substr(field.span.begin, field.span.end - field.span.begin));
      field.code = codeText(own_, tree_, first, node.last);
    } else {
      field.span.begin = field.span.end = base_ + tree_.tokens[node.first].end;
    }
    bool empty = false, numbers = true;
    for (const CommaField& part : commaFields(own_, tree_, first, node.last)) {
      if (part.empty()) {
        empty = true;
        continue;
      }
      field.parts.push_back(span(part.first, part.last));
      numbers = numbers && part.last == part.first + 1 &&
                tree_.tokens[part.first].kind == TokenKind::Number;
    }
    // Its line, counted only for a reason given (a count from the text's start).
    const auto where = [&] {
      return " alla riga " + std::to_string(lineNumberAt(text_, field.begin));
    };
    // An expression of names and numbers: anything else (a string, a stray byte) is no value
    // the editor writes over.
    bool plain = true;
    for (std::size_t i = first; i < node.last; ++i) {
      const TreeToken& t = tree_.tokens[i];
      plain =
          plain && (t.kind == TokenKind::Word || t.kind == TokenKind::Number ||
                    (t.kind == TokenKind::Punct && t.end == t.begin + 1 &&
                     std::string_view(",|&+-~()").find(own_[t.begin]) != std::string_view::npos));
    }
    if (!plain) {
      field.readOnly = field.keyword + where() + " non è scritto con soli numeri e nomi.";
    } else if (fixedFieldKind(field.keyword) == FixedFieldKind::Version) {
      if (empty || field.parts.size() > 4)
        field.readOnly = field.keyword + where() + " non è scritto come quattro numeri.";
      else if (field.parts.size() < 4 && !numbers)
        // A name may stand for several numbers: it is mended where it is defined.
        field.readOnly = field.keyword + where() +
                         " ha meno di quattro valori e un nome tra essi: si modifica dove il "
                         "nome è definito.";
    } else if (empty || field.parts.size() > 1) {
      field.readOnly = field.keyword + where() + " ha più di un valore.";
    }
    info_.fields.push_back(std::move(field));
  }

  VersionInfo failed(std::string problem) {
    VersionInfo info;
    info.problem = std::move(problem);
    return info;
  }

  bool fail(std::string problem) {
    problem_ = std::move(problem);
    return false;
  }

  // The items of the body `body`, inside the block `current` (a place in the blocks; nothing
  // in the resource's own body).
  bool readBody(std::size_t body, int depth, std::optional<std::size_t> current) {
    const std::vector<std::size_t> items = tree_.children(body);
    for (std::size_t i = 0; i < items.size(); ++i) {
      const TreeNode& node = tree_.nodes[items[i]];
      switch (node.kind) {
        case NodeKind::Directive:
          continue;
        case NodeKind::Block:
          if (!readBlock(items[i], depth, current ? info_.blocks[*current].name : std::string()))
            return false;
          continue;
        case NodeKind::Value: {
          if (!current) return fail("VALUE fuori da un blocco" + atLine(text_, at(node.first)));
          // Literals on the lines after it go on with its last one: the compilers join them.
          std::size_t last = node.last;
          while (i + 1 < items.size() && isLiteralAt(last - 1) &&
                 tree_.nodes[items[i + 1]].kind == NodeKind::Unread &&
                 isLiteralAt(tree_.nodes[items[i + 1]].first))
            last = tree_.nodes[items[++i]].last;
          if (!readValue(node.first, last, info_.blocks[*current])) return false;
          continue;
        }
        case NodeKind::Unread:
          // A macro that stands for whole lines: its line goes with it.
          if (tree_.tokens[node.first].kind == TokenKind::Word) continue;
          [[fallthrough]];
        default:
          return fail("Riga inattesa" + atLine(text_, at(node.first)));
      }
    }
    if (!closesBody(own_, tree_, tree_.nodes[body]))
      return fail("La risorsa non è chiusa da END o }.");
    return true;
  }

  bool readBlock(std::size_t n, int depth, const std::string& parent) {
    const TreeNode& node = tree_.nodes[n];
    std::size_t next = node.first + 1;
    const auto name = readLiterals(text_, base_, tree_, next, charset_, problem_);
    if (!name)
      return fail(problem_.empty() ? "BLOCK senza nome" + atLine(text_, at(node.first)) : problem_);
    while (tree_.tokens[next].kind == TokenKind::Directive) ++next;
    const std::size_t body = childOfKind(tree_, n, NodeKind::Body);
    if (body == 0 || tree_.nodes[body].first != next)
      return fail("Manca BEGIN o {" + atLine(text_, at(next)));
    // Every block inside a top block holds values: it is listed even when empty. A top block
    // is listed when VALUE lines stand in it (VarFileInfo).
    VersionBlock block;
    block.name = name->text;
    block.parent = parent;
    block.begin = at(node.first);
    block.nameSpan = {name->begin, name->end};
    block.wideName = name->wide;
    block.bodyBegin = base_ + tree_.tokens[next].end;
    block.bodyLineEnd = lineEndAfter(next);
    const TreeNode& opened = tree_.nodes[body];
    block.closer = at(opened.last - 1);
    block.end = base_ + tree_.tokens[opened.last - 1].end;
    const auto start = lineStartBefore(own_, tree_, node.first);
    if (start) block.lineStart = base_ + *start;
    block.lineEnd = lineEndAfter(opened.last - 1);
    const std::size_t place = info_.blocks.size();
    info_.blocks.push_back(std::move(block));
    if (!readBody(body, depth + 1, place)) return false;
    if (depth == 1) info_.groups.push_back(info_.blocks[place]);
    if (depth == 1 && info_.blocks[place].values.empty())
      info_.blocks.erase(info_.blocks.begin() + static_cast<std::ptrdiff_t>(place));
    return true;
  }

  // The VALUE whose tokens are [first, last): its keyword, its key, a comma, its values.
  bool readValue(std::size_t first, std::size_t last, VersionBlock& block) {
    VersionValue value;
    value.begin = at(first);
    std::size_t next = first + 1;
    const auto key =
        next < last ? readLiterals(text_, base_, tree_, next, charset_, problem_) : std::nullopt;
    if (!key)
      return fail(problem_.empty() ? "VALUE senza nome" + atLine(text_, value.begin) : problem_);
    value.key = *key;
    std::size_t end = key->end;  // after the last token taken
    if (next < last && token(next) == ",") {
      end = base_ + tree_.tokens[next++].end;
      value.commaAfterKey = true;
    }
    // No value: its place is after the key, or after the comma that follows it.
    value.valueBegin = value.valueEnd = next < last ? at(next) : end;
    if (next < last && isLiteralAt(next)) {
      auto literal = readLiterals(text_, base_, tree_, next, charset_, problem_);
      if (!literal) return fail(problem_);
      value.valueEnd = literal->end;
      if (next >= last) value.text = std::move(*literal);
    }
    for (; next < last; ++next) {
      const TreeToken& t = tree_.tokens[next];
      if (t.kind == TokenKind::String && !isLiteral(own_, t))
        return fail("Testo non valido" + atLine(text_, at(next)));
      value.valueEnd = base_ + t.end;
    }
    value.asWritten =
        std::string(text_.substr(value.valueBegin, value.valueEnd - value.valueBegin));
    const std::size_t firstValue = tokenAt(tree_, value.valueBegin - base_);
    if (value.valueEnd > value.valueBegin)
      for (const CommaField& part : commaFields(own_, tree_, firstValue, last))
        if (!part.empty()) value.parts.push_back(span(part.first, part.last));
    if (const auto start = lineStartBefore(own_, tree_, first)) value.lineStart = base_ + *start;
    value.lineEnd = lineEndAfter(tokenAt(tree_, value.valueEnd - base_) - 1);
    // Cut short: its last token carries it on, or a parenthesis in it is left open.
    int open = 0;
    for (std::size_t i = first; i < last; ++i) {
      const std::string_view t = token(i);
      open += t == "(" ? 1 : t == ")" && open > 0 ? -1 : 0;
    }
    value.cutShort = open > 0 || (last > first && carriesOn(own_, tree_.tokens[last - 1]));
    block.values.push_back(std::move(value));
    return true;
  }

  std::string_view text_;
  std::size_t base_;
  std::string_view own_;
  const StatementTree& tree_;
  ScriptCharset charset_;
  VersionInfo info_;
  std::string problem_;
};

// True when the literal's contents as written end with the escape of a zero byte.
bool endsWithZero(std::string_view asWritten) {
  if (!asWritten.ends_with("\\0")) return false;
  std::size_t slashes = 0;
  for (std::size_t i = asWritten.size() - 1; i > 0 && asWritten[i - 1] == '\\'; --i) ++slashes;
  return slashes % 2 == 1;
}

}  // namespace

std::vector<std::size_t> VersionInfo::stringBlocks() const {
  std::vector<std::size_t> found;
  for (std::size_t i = 0; i < blocks.size(); ++i)
    if (equalsIgnoringCase(blocks[i].parent, "StringFileInfo")) found.push_back(i);
  return found;
}

std::string VersionInfo::translation() const {
  for (const VersionBlock& block : blocks)
    if (equalsIgnoringCase(block.name, "VarFileInfo"))
      for (const VersionValue& value : block.values)
        if (equalsIgnoringCase(value.key.text, "Translation")) return value.asWritten;
  return {};
}

VersionInfo readVersionInfo(std::string_view text, const Statement& statement,
                            const StringContext& context) {
  if (!statement.complete) {
    VersionInfo info;
    info.problem = "La risorsa non è chiusa da END o }.";
    return info;
  }
  return VersionReader(text, statement, readStatementTree(text, statement), context).read();
}

Edit setVersionValue(std::string_view script, const VersionInfo& info, std::size_t block,
                     std::string_view key, std::string_view value, const StringContext& context) {
  if (!info.problem.empty()) throw Refusal(info.problem);
  if (block >= info.blocks.size()) throw Refusal("Blocco non trovato.");
  const VersionBlock& target = info.blocks[block];
  const ScriptCharset charset = scriptCharsetAt(script, target.begin, context.utf16File);
  Edit edit;
  edit.label = "Modifica valore";
  const auto found = std::find_if(target.values.begin(), target.values.end(),
                                  [&](const VersionValue& v) { return v.key.text == key; });
  if (found != target.values.end()) {
    if (found->text) {
      if (found->text->text == value) return edit;
      std::string contents = writtenString(value, charset);
      if (endsWithZero(textAsWritten(script, *found->text))) contents += "\\0";
      const std::string prefix = found->text->begin == found->key.end ? ", " : "";
      const std::string quote = found->text->wide ? "L\"" : "\"";
      edit.splices.push_back(
          {found->text->begin, found->text->end, prefix + quote + contents + "\""});
    } else {
      if (found->asWritten == value) return edit;
      const std::string literal = literalFor(value, false, charset);
      // A literal after the key's without a comma between would read as one with it.
      // The comma goes right after the key; what stood between them (a comment) stays.
      if (!found->commaAfterKey && found->valueBegin == found->valueEnd)
        edit.splices.push_back({found->key.end, found->valueEnd, ", " + literal});
      else if (!found->commaAfterKey) {
        edit.splices.push_back({found->key.end, found->key.end, ","});
        edit.splices.push_back({found->valueBegin, found->valueEnd, literal});
      } else
        edit.splices.push_back({found->valueBegin, found->valueEnd,
                                found->valueBegin == found->valueEnd ? " " + literal : literal});
    }
    return edit;
  }
  return insertVersionValue(
      script, info, block,
      target.values.empty() ? std::nullopt : std::optional<std::size_t>(target.values.size() - 1),
      key, value, context);
}

namespace {

// A version name of the vocabulary, written exactly as the header writes it.
const VersionName* versionName(std::string_view name) {
  for (const VersionName& known : kVersionNames)
    if (known.name == name) return &known;
  return nullptr;
}

// Whether a name's group serves a field of kind `kind`: the flags, the system, the type, the
// subtype (for a subtype, the type's own names beside those of every type).
bool serves(VersionNameGroup group, std::string_view keyword, std::optional<std::uint32_t> type) {
  switch (fixedFieldKind(keyword)) {
    case FixedFieldKind::Version:
      return false;
    case FixedFieldKind::Flags:
      return group == VersionNameGroup::Flag ||
             (group == VersionNameGroup::FlagMask && keyword == "FILEFLAGSMASK");
    case FixedFieldKind::System:
      return group == VersionNameGroup::System || group == VersionNameGroup::WindowSystem;
    case FixedFieldKind::Type:
      return group == VersionNameGroup::Type;
    case FixedFieldKind::Subtype:
      return group == VersionNameGroup::Subtype ||
             (group == VersionNameGroup::DriverSubtype && (!type || *type == kDriverType)) ||
             (group == VersionNameGroup::FontSubtype && (!type || *type == kFontType));
  }
  return false;
}

// A value as the compiler reads it: terms joined by "|", each a name of the vocabulary or an
// expression of numbers and the script's symbols. Nothing when a term does not read; the names
// neither gives go to `unknown`.
std::optional<std::uint32_t> valueOf(std::string_view text, const SymbolTable* symbols,
                                     std::vector<std::string>* unknown = nullptr) {
  std::uint32_t value = 0;
  const std::vector<OrTerm> terms = orTerms(text);
  if (terms.empty()) return std::nullopt;
  bool known = true;
  for (const OrTerm& term : terms) {
    const std::string_view written = term.of(text);
    if (written.empty() || term.negated) return std::nullopt;
    if (const VersionName* name = versionName(written)) {
      value |= name->value;
      continue;
    }
    const Evaluation evaluation = evaluate(written, symbols);
    if (!evaluation.value) return std::nullopt;
    if (!evaluation.undefined.empty()) {
      known = false;
      if (unknown)
        unknown->insert(unknown->end(), evaluation.undefined.begin(), evaluation.undefined.end());
    }
    value |= *evaluation.value;
  }
  return known ? std::optional(value) : std::nullopt;
}

// A text the user typed as code: its tokens, one blank where anything stood between two of
// them, as codeText gives a field's.
std::string typedCode(std::string_view typed) {
  std::string code;
  Lexer lexer(typed, 0, false);
  std::size_t end = 0;
  for (Token t = lexer.next(); t.kind != TokenKind::End; t = lexer.next()) {
    if (!code.empty() && t.begin > end) code += ' ';
    code += t.of(typed);
    end = t.end;
  }
  return code;
}

// The single number token a part is written as; nothing for anything else.
std::optional<NumberForm> formOf(std::string_view script, const TextSpan& part) {
  return numberForm(script.substr(part.begin, part.end - part.begin));
}

std::string hexadecimal(std::uint32_t value) {
  NumberForm form;
  form.base = NumberForm::Hexadecimal;
  form.prefix = "0x";
  return writtenInForm(value, form);
}

// `value` written with the names of the vocabulary a field takes, `written` being its value as
// written now (its names, in their order, come first where they still fit; the blanks around
// its first "|" are kept). Nothing when the names do not give the value.
std::optional<std::string> withNames(std::uint32_t value, const VersionField& field,
                                     std::optional<std::uint32_t> type) {
  std::vector<std::string_view> names;
  std::string separator = " | ";
  const std::vector<OrTerm> terms = orTerms(field.value);
  if (terms.size() > 1) separator = field.value.substr(terms[0].end, terms[1].begin - terms[0].end);
  if (separator.find_first_not_of(" \t|") != std::string::npos) separator = " | ";
  // One name for the whole value: the one written, else the first of the table.
  std::vector<const VersionName*> fitting;
  for (const VersionName& name : kVersionNames)
    if (name.value == value && serves(name.group, field.keyword, type) &&
        name.group != VersionNameGroup::Flag)
      fitting.push_back(&name);
  for (const OrTerm& term : terms)
    for (const VersionName* name : fitting)
      if (name->name == term.of(field.value)) return std::string(name->name);
  if (!fitting.empty()) return std::string(fitting.front()->name);
  switch (fixedFieldKind(field.keyword)) {
    case FixedFieldKind::Flags: {
      if (value == 0) return std::nullopt;
      std::uint32_t left = value;
      const auto take = [&](std::string_view written) {
        const VersionName* name = versionName(written);
        if (!name || name->group != VersionNameGroup::Flag || (left & name->value) == 0) return;
        names.push_back(name->name);
        left &= ~name->value;
      };
      for (const OrTerm& term : terms) take(term.of(field.value));
      for (const VersionName& name : kVersionNames) take(name.name);
      if (left != 0) return std::nullopt;
      break;
    }
    case FixedFieldKind::System: {
      // The system and its window system, each a name of its own.
      const VersionName* high = nullptr;
      const VersionName* low = nullptr;
      for (const VersionName& name : kVersionNames) {
        if (!high && name.group == VersionNameGroup::System && name.value == (value & 0xFFFF0000u))
          high = &name;
        if (!low && name.group == VersionNameGroup::WindowSystem && name.value == (value & 0xFFFFu))
          low = &name;
      }
      if (!high || !low) return std::nullopt;
      names = {high->name, low->name};
      break;
    }
    default:
      return std::nullopt;
  }
  std::string joined;
  for (const std::string_view name : names)
    joined += (joined.empty() ? "" : separator) + std::string(name);
  return joined;
}

// `inserted` as it replaces [begin, end): a blank after it where the next token touches that
// end (a comma aside), and before it where a word touches its begin, so that none reads as one
// word with it.
std::string apart(std::string_view script, std::size_t begin, std::size_t end,
                  std::string inserted) {
  const auto wordPart = [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
  };
  if (inserted.empty()) return inserted;
  if (end < script.size() && !isSpace(script[end]) && script[end] != ',') inserted += ' ';
  if (begin > 0 && wordPart(script[begin - 1]) && wordPart(inserted.front()))
    inserted.insert(0, 1, ' ');
  return inserted;
}

// Sets a version field's four numbers.
Edit setVersionNumbers(std::string_view script, const VersionField& field,
                       const std::array<std::uint32_t, 4>& numbers, const StringContext& context) {
  Edit edit;
  edit.label = "Modifica campo";
  std::size_t i = 0;
  for (; i < field.parts.size(); ++i) {
    const TextSpan& part = field.parts[i];
    const std::string_view written = script.substr(part.begin, part.end - part.begin);
    const std::optional<std::uint32_t> now = valueOf(written, context.symbols);
    if (now && (*now & 0xFFFFu) == numbers[i]) continue;
    const auto form = formOf(script, part);
    edit.splices.push_back(
        {part.begin, part.end,
         apart(script, part.begin, part.end,
               form ? writtenInForm(numbers[i], *form) : std::to_string(numbers[i]))});
  }
  if (i < 4) {
    // The missing numbers after the last, each after the comma and blanks the last one has.
    std::string separator = ", ";
    if (field.parts.size() > 1) {
      const TextSpan& before = field.parts[field.parts.size() - 2];
      separator = std::string(script.substr(before.end, field.parts.back().begin - before.end));
      if (separator.find_first_not_of(" \t,") != std::string::npos ||
          separator.find(',') == std::string::npos)
        separator = ", ";
    }
    const std::optional<NumberForm> form =
        field.parts.empty() ? std::nullopt : formOf(script, field.parts.back());
    std::string added = field.parts.empty() ? " " : "";
    for (; i < 4; ++i)
      added += (i == 0 ? "" : separator) +
               (form ? writtenInForm(numbers[i], *form) : std::to_string(numbers[i]));
    edit.splices.push_back(
        {field.span.end, field.span.end, apart(script, field.span.end, field.span.end, added)});
  }
  return edit;
}

// The four numbers of a version as typed: "1.2.3.4", "1, 2, 3, 4" (decimal or 0x, at most
// 65535 each); nothing when it is not that.
std::optional<std::array<std::uint32_t, 4>> typedVersion(std::string_view typed) {
  std::array<std::uint32_t, 4> numbers{};
  std::size_t count = 0;
  std::size_t at = 0;
  while (true) {
    std::size_t end = typed.find_first_of(".,", at);
    const std::string_view piece = trimBlanks(
        typed.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at));
    const auto number = compilerNumber(piece, false);
    if (!number || *number > 0xFFFF || count == 4) return std::nullopt;
    numbers[count++] = *number;
    if (end == std::string_view::npos) break;
    at = end + 1;
  }
  if (count != 4) return std::nullopt;
  return numbers;
}

// The separators and forms Translation's pairs are written with, to write one more pair or a
// pair again.
struct PairForm {
  std::string inside = ", ";   // between a language and its code page
  std::string between = ", ";  // between two pairs
  std::optional<NumberForm> language;
  std::optional<NumberForm> codePage;
};

PairForm pairForm(std::string_view script, const VersionValue& value) {
  PairForm form;
  const auto gap = [&](std::size_t a) {
    const TextSpan& left = value.parts[a];
    const TextSpan& right = value.parts[a + 1];
    std::string text(script.substr(left.end, right.begin - left.end));
    // Only a comma, blanks and line ends: anything more is not copied.
    return text.find_first_not_of(" \t\r\n,") == std::string::npos &&
                   text.find(',') != std::string::npos
               ? std::optional(text)
               : std::nullopt;
  };
  if (value.parts.size() >= 2) {
    form.inside = gap(0).value_or(", ");
    form.between = form.inside;
    form.language = formOf(script, value.parts[0]);
    form.codePage = formOf(script, value.parts[1]);
  }
  if (value.parts.size() >= 3) form.between = gap(1).value_or(form.inside);
  return form;
}

std::string languageNumber(std::uint16_t number, const std::optional<NumberForm>& form) {
  if (form) return writtenInForm(number, *form);
  NumberForm hex;
  hex.base = NumberForm::Hexadecimal;
  hex.prefix = "0x";
  hex.width = 4;
  return writtenInForm(number, hex);
}

std::string codePageNumber(std::uint16_t number, const std::optional<NumberForm>& form) {
  return form ? writtenInForm(number, *form) : std::to_string(number);
}

// The splices that keep Translation in step when block `oldPair` (nothing: a block added)
// becomes `newPair`: the old pair's numbers rewritten where it stands, else a pair added at
// the end, written like the pairs before it. None when Translation lacks nothing.
std::vector<Splice> translationSplices(
    std::string_view script, const VersionInfo& info,
    std::optional<std::pair<std::uint16_t, std::uint16_t>> oldPair,
    std::pair<std::uint16_t, std::uint16_t> newPair) {
  const auto where = info.translationValue();
  const auto pairs = translationPairs(info);
  if (!where || !pairs) return {};
  const VersionValue& value = info.blocks[where->first].values[where->second];
  if (std::find(pairs->begin(), pairs->end(), newPair) != pairs->end()) return {};
  const PairForm form = pairForm(script, value);
  if (oldPair)
    for (std::size_t p = 0; p < pairs->size(); ++p) {
      if ((*pairs)[p] != *oldPair) continue;
      std::vector<Splice> splices;
      const TextSpan& language = value.parts[2 * p];
      const TextSpan& codePage = value.parts[2 * p + 1];
      if (oldPair->first != newPair.first)
        splices.push_back({language.begin, language.end,
                           languageNumber(newPair.first, formOf(script, language))});
      if (oldPair->second != newPair.second)
        splices.push_back({codePage.begin, codePage.end,
                           codePageNumber(newPair.second, formOf(script, codePage))});
      return splices;
    }
  if (value.cutShort) return {};
  const std::string added = (value.parts.empty() ? " " : form.between) +
                            languageNumber(newPair.first, form.language) + form.inside +
                            codePageNumber(newPair.second, form.codePage);
  return {{value.valueEnd, value.valueEnd, added}};
}

// A block name as typed: eight hexadecimal digits. Refuses anything else, and a name a block
// of StringFileInfo already has (in any letter case).
std::pair<std::uint16_t, std::uint16_t> checkedBlockName(const VersionInfo& info,
                                                         std::string_view name,
                                                         std::optional<std::size_t> renamed) {
  const auto pair = blockLanguageAndCodePage(name);
  if (!pair)
    throw Refusal("Nome di blocco non valido: " + std::string(name) +
                  ". Servono otto cifre esadecimali, lingua e codifica (040904b0).");
  for (const std::size_t b : info.stringBlocks())
    if (b != renamed && equalsIgnoringCase(info.blocks[b].name, name))
      throw Refusal("Il blocco " + std::string(name) + " c'è già in StringFileInfo.");
  return *pair;
}

}  // namespace

FixedFieldKind fixedFieldKind(std::string_view keyword) {
  if (isKeyword(keyword, "FILEVERSION") || isKeyword(keyword, "PRODUCTVERSION"))
    return FixedFieldKind::Version;
  if (isKeyword(keyword, "FILEOS")) return FixedFieldKind::System;
  if (isKeyword(keyword, "FILETYPE")) return FixedFieldKind::Type;
  if (isKeyword(keyword, "FILESUBTYPE")) return FixedFieldKind::Subtype;
  return FixedFieldKind::Flags;
}

std::vector<std::string_view> versionNamesFor(std::string_view keyword,
                                              std::optional<std::uint32_t> fileType) {
  std::vector<std::string_view> names;
  for (const VersionName& name : kVersionNames)
    if (serves(name.group, keyword, fileType)) names.push_back(name.name);
  return names;
}

std::vector<std::size_t> VersionInfo::fieldsNamed(std::string_view keyword) const {
  std::vector<std::size_t> found;
  for (std::size_t i = 0; i < fields.size(); ++i)
    if (fields[i].keyword == keyword) found.push_back(i);
  return found;
}

std::optional<std::pair<std::size_t, std::size_t>> VersionInfo::translationValue() const {
  for (std::size_t b = 0; b < blocks.size(); ++b)
    if (equalsIgnoringCase(blocks[b].name, "VarFileInfo"))
      for (std::size_t v = 0; v < blocks[b].values.size(); ++v)
        if (equalsIgnoringCase(blocks[b].values[v].key.text, "Translation")) return std::pair(b, v);
  return std::nullopt;
}

std::optional<std::uint32_t> fixedFieldValue(const VersionInfo& info, std::size_t field,
                                             const StringContext& context) {
  const VersionField& f = info.fields.at(field);
  if (fixedFieldKind(f.keyword) == FixedFieldKind::Version || f.code.empty()) return std::nullopt;
  return valueOf(f.code, context.symbols);
}

std::optional<std::array<std::uint16_t, 4>> versionNumbers(const VersionInfo& info,
                                                           std::size_t field,
                                                           const StringContext& context) {
  const VersionField& f = info.fields.at(field);
  if (fixedFieldKind(f.keyword) != FixedFieldKind::Version || !f.readOnly.empty())
    return std::nullopt;
  // The parts' texts are the field's own: read them from its value as written.
  std::array<std::uint16_t, 4> numbers{};
  for (std::size_t i = 0; i < f.parts.size(); ++i) {
    const std::string_view written = std::string_view(f.value).substr(
        f.parts[i].begin - f.span.begin, f.parts[i].end - f.parts[i].begin);
    const auto value = valueOf(written, context.symbols);
    if (!value) return std::nullopt;
    numbers[i] = static_cast<std::uint16_t>(*value & 0xFFFFu);
  }
  return numbers;
}

std::optional<std::pair<std::uint16_t, std::uint16_t>> blockLanguageAndCodePage(
    std::string_view name) {
  if (name.size() != 8) return std::nullopt;
  std::uint32_t value = 0;
  for (const char c : name) {
    const int digit = c >= '0' && c <= '9'   ? c - '0'
                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                             : -1;
    if (digit < 0) return std::nullopt;
    value = value * 16 + static_cast<std::uint32_t>(digit);
  }
  return std::pair(static_cast<std::uint16_t>(value >> 16),
                   static_cast<std::uint16_t>(value & 0xFFFFu));
}

std::optional<std::vector<std::pair<std::uint16_t, std::uint16_t>>> translationPairs(
    const VersionInfo& info) {
  const auto where = info.translationValue();
  if (!where) return std::nullopt;
  const VersionValue& value = info.blocks[where->first].values[where->second];
  if (value.text || value.parts.size() % 2 != 0) return std::nullopt;
  std::vector<std::pair<std::uint16_t, std::uint16_t>> pairs;
  for (std::size_t p = 0; p + 1 < value.parts.size(); p += 2) {
    const auto part = [&](std::size_t i) {
      const TextSpan& span = value.parts[i];
      return std::string_view(value.asWritten)
          .substr(span.begin - value.valueBegin, span.end - span.begin);
    };
    const auto language = valueOf(part(p), nullptr);
    const auto codePage = valueOf(part(p + 1), nullptr);
    if (!language || !codePage) return std::nullopt;
    pairs.emplace_back(static_cast<std::uint16_t>(*language),
                       static_cast<std::uint16_t>(*codePage));
  }
  return pairs;
}

Edit setVersionField(std::string_view script, const VersionInfo& info, std::size_t field,
                     std::string_view typed, const StringContext& context) {
  if (!info.problem.empty()) throw Refusal(info.problem);
  if (field >= info.fields.size()) throw Refusal("Campo non trovato.");
  const VersionField& target = info.fields[field];
  Edit edit;
  edit.label = "Modifica campo";
  // The text as it stands, however it is spaced: nothing changes.
  if (typed == target.value || typedCode(typed) == target.code) return edit;
  if (fixedFieldKind(target.keyword) == FixedFieldKind::Version) {
    const auto numbers = typedVersion(typed);
    if (!numbers)
      throw Refusal(target.keyword + " vuole quattro numeri da 0 a 65535 (1.0.0.1 o 1, 0, 0, 1): " +
                    std::string(typed) + ".");
    if (const auto now = versionNumbers(info, field, context);
        now && std::equal(now->begin(), now->end(), numbers->begin()))
      return edit;
    if (!target.readOnly.empty()) throw Refusal(target.readOnly);
    return setVersionNumbers(script, target, *numbers, context);
  }
  std::vector<std::string> unknown;
  const std::optional<std::uint32_t> wanted = valueOf(typed, context.symbols, &unknown);
  if (!wanted) {
    if (!unknown.empty()) throw Refusal(undefinedSymbolsNotice(unknown));
    throw Refusal("Valore non valido per " + target.keyword + ": " + std::string(typed) + ".");
  }
  const std::optional<std::uint32_t> now = fixedFieldValue(info, field, context);
  if (now && *now == *wanted) return edit;
  if (!target.readOnly.empty()) throw Refusal(target.readOnly);
  // The type the subtype's names follow.
  std::optional<std::uint32_t> type;
  if (const auto types = info.fieldsNamed("FILETYPE"); types.size() == 1)
    type = fixedFieldValue(info, types.front(), context);
  // Written as the field was: a single number in its form; names where names were written and
  // give the value; else a number, in hexadecimal.
  std::string written;
  const std::optional<NumberForm> form =
      target.parts.size() == 1 ? formOf(script, target.parts[0]) : std::nullopt;
  bool names = !target.code.empty() && !form;
  for (const OrTerm& term : orTerms(target.code))
    names = names && !term.negated && !term.of(target.code).empty() &&
            !compilerNumber(term.of(target.code)) &&
            term.of(target.code).find_first_of(" ()+-*/&~") == std::string_view::npos;
  if (form) {
    written = writtenInForm(*wanted, *form);
  } else if (const auto withName = names ? withNames(*wanted, target, type) : std::nullopt) {
    written = *withName;
  } else {
    written = hexadecimal(*wanted);
  }
  edit.splices.push_back({target.span.begin, target.span.end,
                          apart(script, target.span.begin, target.span.end,
                                target.span.begin == target.span.end ? " " + written : written)});
  return edit;
}

Edit insertVersionValue(std::string_view script, const VersionInfo& info, std::size_t block,
                        std::optional<std::size_t> after, std::string_view key,
                        std::string_view value, const StringContext& context) {
  if (!info.problem.empty()) throw Refusal(info.problem);
  if (block >= info.blocks.size()) throw Refusal("Blocco non trovato.");
  const VersionBlock& target = info.blocks[block];
  if (after && *after >= target.values.size()) throw Refusal("Valore non trovato.");
  for (const VersionValue& v : target.values)
    if (v.key.text == key)
      throw Refusal("Il blocco " + target.name + " ha già il valore " + std::string(key) + ".");
  const ScriptCharset charset = scriptCharsetAt(script, target.begin, context.utf16File);
  // Written like the value it follows, or the first one.
  const std::optional<std::size_t> model =
      after ? after : (target.values.empty() ? std::nullopt : std::optional<std::size_t>(0));
  std::string line;
  if (model) {
    const VersionValue& like = target.values[*model];
    const std::string_view beforeKey =
        script.substr(like.begin + 5, like.key.begin - like.begin - 5);
    std::string_view beforeValue = script.substr(like.key.end, like.valueBegin - like.key.end);
    // A comma between, and only blanks beside it, or the two would read as one text.
    if (!like.commaAfterKey || beforeValue.find_first_not_of(" \t,") != std::string_view::npos)
      beforeValue = ", ";
    line = indentOf(script, like.begin) + std::string(script.substr(like.begin, 5)) +
           std::string(beforeKey.find_first_not_of(" \t") == std::string_view::npos ? beforeKey
                                                                                    : " ") +
           literalFor(key, like.key.wide, charset) + std::string(beforeValue) +
           literalFor(value, like.text && like.text->wide, charset);
  } else {
    line = indentOf(script, target.begin) + "    VALUE " + literalFor(key, false, charset) + ", " +
           literalFor(value, false, charset);
  }
  Edit edit;
  edit.label = "Nuovo valore";
  if (after) {
    const VersionValue& last = target.values[*after];
    // A value cut short (by a comma, an operator) would take in the line put after it.
    if (last.cutShort)
      throw Refusal("Il VALUE della riga " + std::to_string(lineNumberAt(script, last.begin)) +
                    " termina con una virgola o un operatore: un valore aggiunto dopo ne farebbe "
                    "parte.");
    // On a line of its own: after the line it follows, or, where that line goes on with more
    // than a comment, between the two parts of it (what follows would else read as its value).
    if (last.lineEnd)
      edit.splices.push_back({*last.lineEnd + 2, *last.lineEnd + 2, line + "\r\n"});
    else
      edit.splices.push_back({last.valueEnd, last.valueEnd, "\r\n" + line + "\r\n"});
  } else if (!target.values.empty() && target.values[0].lineStart) {
    edit.splices.push_back(
        {*target.values[0].lineStart, *target.values[0].lineStart, line + "\r\n"});
  } else if (target.bodyLineEnd) {
    edit.splices.push_back({*target.bodyLineEnd + 2, *target.bodyLineEnd + 2, line + "\r\n"});
  } else {
    edit.splices.push_back({target.bodyBegin, target.bodyBegin, "\r\n" + line + "\r\n"});
  }
  return edit;
}

Edit deleteVersionValue(std::string_view script, const VersionInfo& info, std::size_t block,
                        std::size_t value) {
  if (!info.problem.empty()) throw Refusal(info.problem);
  if (block >= info.blocks.size() || value >= info.blocks[block].values.size())
    throw Refusal("Valore non trovato.");
  const VersionValue& row = info.blocks[block].values[value];
  Edit edit;
  edit.label = "Elimina valore";
  if (row.lineStart && row.lineEnd) {
    edit.splices.push_back({*row.lineStart, *row.lineEnd + 2, ""});
    return edit;
  }
  // The value shares its line: its tokens go, with the blanks after them; one blank stays
  // between what stood before and after it, so that they do not join.
  std::size_t end = row.valueEnd;
  while (end < script.size() && isBlank(script[end])) ++end;
  if (end < script.size() && script[end] == '#')
    throw Refusal("Impossibile eliminare il valore " + row.key.text +
                  ": il resto della sua riga diventerebbe una direttiva.");
  const bool joins = row.begin > 0 && !isSpace(script[row.begin - 1]) && end < script.size() &&
                     !isSpace(script[end]);
  edit.splices.push_back({row.begin, end, joins ? " " : ""});
  return edit;
}

bool translationWouldChange(const VersionInfo& info, std::string_view name,
                            std::optional<std::size_t> renamed) {
  const auto pair = blockLanguageAndCodePage(name);
  const auto pairs = translationPairs(info);
  if (!pair || !pairs) return false;
  if (renamed && blockLanguageAndCodePage(info.blocks.at(*renamed).name) == pair) return false;
  return std::find(pairs->begin(), pairs->end(), *pair) == pairs->end();
}

Edit addLanguageBlock(std::string_view script, const VersionInfo& info, std::size_t model,
                      std::string_view name, bool emptyValues, bool keepTranslation,
                      const StringContext& context) {
  if (!info.problem.empty()) throw Refusal(info.problem);
  const std::vector<std::size_t> strings = info.stringBlocks();
  if (std::find(strings.begin(), strings.end(), model) == strings.end())
    throw Refusal("Blocco non trovato.");
  const auto pair = checkedBlockName(info, name, std::nullopt);
  const VersionBlock& like = info.blocks[model];
  if (!like.lineStart || !like.lineEnd)
    throw Refusal("Il blocco " + like.name +
                  " divide le sue righe con altro testo: non se ne copia la forma.");
  const ScriptCharset charset = scriptCharsetAt(script, like.begin, context.utf16File);
  // The model's lines, its name and (when asked) its values' texts replaced.
  std::vector<Splice> inside;
  inside.push_back(
      {like.nameSpan.begin, like.nameSpan.end, literalFor(name, like.wideName, charset)});
  if (emptyValues)
    for (const VersionValue& value : like.values) {
      if (value.valueBegin == value.valueEnd) continue;
      const bool wide = value.text && value.text->wide;
      if (value.text && value.text->text.empty()) continue;
      // A final "\0" stays, as the writer of a value keeps it.
      const bool zero = value.text && endsWithZero(textAsWritten(script, *value.text));
      inside.push_back({value.valueBegin, value.valueEnd,
                        std::string(wide ? "L\"" : "\"") + (zero ? "\\0" : "") + "\""});
    }
  const std::size_t from = *like.lineStart, to = *like.lineEnd + 2;
  std::string copy(script.substr(from, to - from));
  for (auto s = inside.rbegin(); s != inside.rend(); ++s)
    copy.replace(s->begin - from, s->end - s->begin, s->inserted);
  Edit edit;
  edit.label = "Nuovo blocco";
  edit.splices.push_back({to, to, copy});
  if (keepTranslation)
    for (Splice& splice : translationSplices(script, info, std::nullopt, pair))
      edit.splices.push_back(std::move(splice));
  std::sort(edit.splices.begin(), edit.splices.end(),
            [](const Splice& a, const Splice& b) { return a.begin < b.begin; });
  return edit;
}

Edit renameVersionBlock(std::string_view script, const VersionInfo& info, std::size_t block,
                        std::string_view name, bool keepTranslation, const StringContext& context) {
  if (!info.problem.empty()) throw Refusal(info.problem);
  const std::vector<std::size_t> strings = info.stringBlocks();
  if (std::find(strings.begin(), strings.end(), block) == strings.end())
    throw Refusal("Blocco non trovato.");
  const VersionBlock& target = info.blocks[block];
  Edit edit;
  edit.label = "Rinomina blocco";
  if (target.name == name) return edit;
  const auto pair = checkedBlockName(info, name, block);
  const ScriptCharset charset = scriptCharsetAt(script, target.begin, context.utf16File);
  std::vector<Splice> splices;
  splices.push_back(
      {target.nameSpan.begin, target.nameSpan.end, literalFor(name, target.wideName, charset)});
  if (keepTranslation)
    for (Splice& splice :
         translationSplices(script, info, blockLanguageAndCodePage(target.name), pair))
      splices.push_back(std::move(splice));
  std::sort(splices.begin(), splices.end(),
            [](const Splice& a, const Splice& b) { return a.begin < b.begin; });
  edit.splices = std::move(splices);
  return edit;
}

}  // namespace kolvre
