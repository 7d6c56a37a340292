#include "resources/version_info.h"

#include <algorithm>

#include "base/text.h"
#include "messages/error_record.h"
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
        charset_(scriptCharsetAt(text, statement.begin, context.utf16File)) {}

  VersionInfo read() {
    std::size_t body = 0;
    for (const std::size_t child : tree_.children(0)) {
      const TreeNode& node = tree_.nodes[child];
      if (node.kind == NodeKind::Body) {
        body = child;
        break;
      }
      if (node.kind != NodeKind::FixedField) continue;
      // The value runs from its first token to its last, as written between them.
      const std::string_view* keyword = fixedField(token(node.first));
      std::string value;
      if (node.last > node.first + 1)
        value = own_.substr(tree_.tokens[node.first + 1].begin,
                            tree_.tokens[node.last - 1].end - tree_.tokens[node.first + 1].begin);
      info_.fields.push_back({std::string(keyword ? *keyword : token(node.first)), value});
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
    block.bodyBegin = base_ + tree_.tokens[next].end;
    block.bodyLineEnd = lineEndAfter(next);
    const std::size_t place = info_.blocks.size();
    info_.blocks.push_back(std::move(block));
    if (!readBody(body, depth + 1, place)) return false;
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
  // A new VALUE line, written like the last one of the block.
  std::string line;
  std::optional<std::size_t> lineEnd;
  if (!target.values.empty()) {
    const VersionValue& last = target.values.back();
    // A value cut short (by a comma, an operator) would take in the line put after it.
    if (last.cutShort)
      throw Refusal("Il VALUE della riga " + std::to_string(lineNumberAt(script, last.begin)) +
                    " termina con una virgola o un operatore: un valore aggiunto dopo ne farebbe "
                    "parte.");
    const std::string_view beforeKey =
        script.substr(last.begin + 5, last.key.begin - last.begin - 5);
    std::string_view beforeValue = script.substr(last.key.end, last.valueBegin - last.key.end);
    // A comma between, and only blanks beside it, or the two would read as one text.
    if (!last.commaAfterKey || beforeValue.find_first_not_of(" \t,") != std::string_view::npos)
      beforeValue = ", ";
    line = indentOf(script, last.begin) + std::string(script.substr(last.begin, 5)) +
           std::string(beforeKey.find_first_not_of(" \t") == std::string_view::npos ? beforeKey
                                                                                    : " ") +
           literalFor(key, false, charset) + std::string(beforeValue) +
           literalFor(value, false, charset);
    lineEnd = last.lineEnd;
  } else {
    line = indentOf(script, target.begin) + "    VALUE " + literalFor(key, false, charset) + ", " +
           literalFor(value, false, charset);
    lineEnd = target.bodyLineEnd;
  }
  edit.label = "Nuovo valore";
  // On a line of its own: after the line it follows, or, where that line goes on with more
  // than a comment, between the two parts of it (what follows would else read as its value).
  const std::size_t from = target.values.empty() ? target.bodyBegin : target.values.back().valueEnd;
  if (lineEnd)
    edit.splices.push_back({*lineEnd + 2, *lineEnd + 2, line + "\r\n"});
  else
    edit.splices.push_back({from, from, "\r\n" + line + "\r\n"});
  return edit;
}

}  // namespace kolvre
