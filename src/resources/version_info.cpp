#include "resources/version_info.h"

#include <algorithm>

#include "base/text.h"
#include "messages/error_record.h"
#include "syntax/vocabulary.h"

namespace kolvre {

namespace {

bool isWord(std::string_view text, const Token& t, std::string_view word) {
  return t.kind == TokenKind::Word && isKeyword(t.of(text), word);
}

// A token that ends a VALUE line's values.
bool endsValues(std::string_view text, const Token& t) {
  return t.kind == TokenKind::End || t.kind == TokenKind::Directive || closesBody(text, t) ||
         opensBody(text, t) || isWord(text, t, "VALUE") || isWord(text, t, "BLOCK");
}

// The characters that join a value's parts across a line break.
constexpr std::string_view kJoiners = ",+-*/|&~(";

// True when `t`, on a new line, still belongs to the values whose last token is `last`: one of
// them ends the line before, or `t` begins its line (a line of values continued). Otherwise a
// line break ends the values: what follows is a line of its own (a macro that writes VALUE
// lines).
bool continuesValues(std::string_view text, const Token& t, const Token& last) {
  if (!t.newLine) return true;
  const auto joins = [&](const Token& x) {
    return x.kind == TokenKind::Punct && kJoiners.find(text[x.begin]) != std::string_view::npos;
  };
  return joins(last) || joins(t);
}

const std::string_view* fixedField(std::string_view word) {
  for (const std::string_view& field : kVersionFields)
    if (isKeyword(word, field)) return &field;
  return nullptr;
}

std::string atLine(std::string_view text, std::size_t offset) {
  return " alla riga " + std::to_string(lineNumberAt(text, offset)) + ".";
}

class VersionReader {
 public:
  VersionReader(std::string_view text, const Statement& statement, const StringContext& context)
      : text_(text.substr(0, statement.end)),
        charset_(scriptCharsetAt(text, statement.begin, context.utf16File)),
        lexer_(text_, statement.typeEnd, false) {}

  VersionInfo read() {
    Token t = lexer_.nextCode();
    VersionField* field = nullptr;
    std::size_t valueEnd = 0;
    while (!opensBody(text_, t)) {
      if (t.kind == TokenKind::End) return failed("Manca BEGIN o { dopo VERSIONINFO.");
      if (t.kind == TokenKind::Word && fixedField(t.of(text_))) {
        info_.fields.push_back({std::string(*fixedField(t.of(text_))), {}});
        field = &info_.fields.back();
        valueEnd = t.end;
      } else if (t.kind == TokenKind::Directive) {
        field = nullptr;
      } else if (field) {
        // The value runs from its first token to its last, as written between them.
        if (field->value.empty())
          field->value = std::string(t.of(text_));
        else
          field->value += text_.substr(valueEnd, t.end - valueEnd);
        valueEnd = t.end;
      }
      t = lexer_.nextCode();
    }
    if (!readBody(1, std::nullopt)) return failed(problem_);
    if (lexer_.nextCode().kind != TokenKind::End)
      return failed("Testo dopo la fine della risorsa.");
    return std::move(info_);
  }

 private:
  VersionInfo failed(std::string problem) {
    VersionInfo info;
    info.problem = std::move(problem);
    return info;
  }

  bool fail(std::string problem) {
    problem_ = std::move(problem);
    return false;
  }

  // The items of a body up to its closing END or "}", inside the block `current` (a place in
  // the blocks; nothing in the resource's own body).
  bool readBody(int depth, std::optional<std::size_t> current) {
    while (true) {
      Token t = lexer_.nextCode();
      while (t.kind == TokenKind::Directive) t = lexer_.nextCode();
      if (t.kind == TokenKind::End) return fail("La risorsa non è chiusa da END o }.");
      if (closesBody(text_, t)) return true;
      if (isWord(text_, t, "BLOCK")) {
        if (!readBlock(t, depth, current ? info_.blocks[*current].name : std::string()))
          return false;
      } else if (isWord(text_, t, "VALUE")) {
        if (!current) return fail("VALUE fuori da un blocco" + atLine(text_, t.begin));
        if (!readValue(t, info_.blocks[*current])) return false;
      } else if (t.kind == TokenKind::Word && !opensBody(text_, t)) {
        // A macro that stands for whole lines: the rest of its line goes with it.
        for (Token next = lexer_.peekCode(); !next.newLine && !endsValues(text_, next);
             next = lexer_.peekCode())
          lexer_.nextCode();
      } else {
        return fail("Riga inattesa" + atLine(text_, t.begin));
      }
    }
  }

  bool readBlock(const Token& word, int depth, const std::string& parent) {
    const Token first = lexer_.nextCode();
    const auto name = readLiterals(text_, lexer_, first, charset_, problem_);
    if (!name)
      return fail(problem_.empty() ? "BLOCK senza nome" + atLine(text_, word.begin) : problem_);
    const Token opener = lexer_.nextCode();
    if (!opensBody(text_, opener)) return fail("Manca BEGIN o {" + atLine(text_, opener.begin));
    // Every block inside a top block holds values: it is listed even when empty. A top block
    // is listed when VALUE lines stand in it (VarFileInfo).
    VersionBlock block;
    block.name = name->text;
    block.parent = parent;
    block.begin = word.begin;
    block.bodyBegin = opener.end;
    const std::size_t at = info_.blocks.size();
    info_.blocks.push_back(std::move(block));
    if (!readBody(depth + 1, at)) return false;
    if (depth == 1 && info_.blocks[at].values.empty())
      info_.blocks.erase(info_.blocks.begin() + static_cast<std::ptrdiff_t>(at));
    return true;
  }

  bool readValue(const Token& word, VersionBlock& block) {
    VersionValue value;
    value.begin = word.begin;
    const auto key = readLiterals(text_, lexer_, lexer_.nextCode(), charset_, problem_);
    if (!key)
      return fail(problem_.empty() ? "VALUE senza nome" + atLine(text_, word.begin) : problem_);
    value.key = *key;
    Token last{TokenKind::String, key->begin, key->end, false};
    const auto ends = [&](const Token& t) {
      return endsValues(text_, t) || !continuesValues(text_, t, last);
    };
    Token t = lexer_.peekCode();
    if (!ends(t) && t.kind == TokenKind::Punct && text_[t.begin] == ',') {
      last = lexer_.nextCode();
      t = lexer_.peekCode();
    }
    // No value: its place is after the key, or after the comma that follows it.
    value.valueBegin = value.valueEnd = ends(t) ? last.end : t.begin;
    if (!ends(t) && literalQuote(text_, t)) {
      lexer_.nextCode();
      auto literal = readLiterals(text_, lexer_, t, charset_, problem_);
      if (!literal) return fail(problem_);
      value.valueEnd = literal->end;
      last = Token{TokenKind::String, literal->begin, literal->end, false};
      if (ends(lexer_.peekCode())) value.text = std::move(*literal);
    }
    for (t = lexer_.peekCode(); !ends(t); t = lexer_.peekCode()) {
      if (t.kind == TokenKind::String && !literalQuote(text_, t))
        return fail("Testo non valido" + atLine(text_, t.begin));
      last = lexer_.nextCode();
      value.valueEnd = last.end;
    }
    value.asWritten =
        std::string(text_.substr(value.valueBegin, value.valueEnd - value.valueBegin));
    block.values.push_back(std::move(value));
    return true;
  }

  std::string_view text_;
  ScriptCharset charset_;
  Lexer lexer_;
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
  return VersionReader(text, statement, context).read();
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
      const std::string_view gap =
          script.substr(found->key.end, found->valueBegin - found->key.end);
      if (gap.find(',') == std::string_view::npos)
        edit.splices.push_back({found->key.end, found->valueEnd, ", " + literal});
      else
        edit.splices.push_back({found->valueBegin, found->valueEnd,
                                found->valueBegin == found->valueEnd ? " " + literal : literal});
    }
    return edit;
  }
  // A new VALUE line, written like the last one of the block.
  std::string line;
  std::size_t at = 0;
  if (!target.values.empty()) {
    const VersionValue& last = target.values.back();
    const std::string_view beforeKey =
        script.substr(last.begin + 5, last.key.begin - last.begin - 5);
    std::string_view beforeValue = script.substr(last.key.end, last.valueBegin - last.key.end);
    // A comma between, and only blanks beside it, or the two would read as one text.
    if (beforeValue.find(',') == std::string_view::npos ||
        beforeValue.find_first_not_of(" \t,") != std::string_view::npos)
      beforeValue = ", ";
    line = indentOf(script, last.begin) + std::string(script.substr(last.begin, 5)) +
           std::string(beforeKey.find_first_not_of(" \t") == std::string_view::npos ? beforeKey
                                                                                    : " ") +
           literalFor(key, false, charset) + std::string(beforeValue) +
           literalFor(value, false, charset);
    at = lineEndOf(script, last.valueEnd);
  } else {
    line = indentOf(script, target.begin) + "    VALUE " + literalFor(key, false, charset) + ", " +
           literalFor(value, false, charset);
    at = lineEndOf(script, target.bodyBegin);
  }
  edit.label = "Nuovo valore";
  // On a line of its own: after the line it follows, or, where that line goes on with more
  // than a comment, between the two parts of it (what follows would else read as its value).
  const std::size_t from = target.values.empty() ? target.bodyBegin : target.values.back().valueEnd;
  if (at < script.size() && onlyBlanksAndComments(script, from, at))
    edit.splices.push_back({at + 2, at + 2, line + "\r\n"});
  else
    edit.splices.push_back({from, from, "\r\n" + line + "\r\n"});
  return edit;
}

}  // namespace kolvre
