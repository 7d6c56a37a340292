#include "resources/string_tables.h"

#include <algorithm>

#include "base/text.h"
#include "document/languages.h"
#include "document/resource_commands.h"
#include "document/resource_edits.h"
#include "messages/error_record.h"
#include "messages/messages.h"
#include "syntax/conditionals.h"
#include "syntax/syntax_tree.h"
#include "syntax/vocabulary.h"

namespace kolvre {

namespace {

StringTable failed(StringTable table, std::string problem) {
  table.entries.clear();
  table.problem = std::move(problem);
  return table;
}

std::string atLine(std::string_view text, std::size_t offset) {
  return " alla riga " + std::to_string(lineNumberAt(text, offset)) + ".";
}

// The statement a table was read from.
Statement statementOf(const StringTable& table) {
  Statement statement;
  statement.kind = StatementKind::StringTable;
  statement.begin = table.begin;
  statement.end = table.end;
  return statement;
}

// The characters an ID as written may hold beside words and numbers.
constexpr std::string_view kIdOperators = "+-*/|&~()";

}  // namespace

std::optional<std::uint16_t> stringIdValue(std::string_view id, const SymbolTable* symbols) {
  const Evaluation evaluation = evaluate(id, symbols);
  if (!evaluation.value || !evaluation.undefined.empty()) return std::nullopt;
  return static_cast<std::uint16_t>(*evaluation.value & 0xFFFF);
}

StringTable readStringTable(std::string_view text, const Statement& statement,
                            const StringContext& context) {
  return readStringTable(text, statement, readStatementTree(text, statement), context);
}

StringTable readStringTable(std::string_view text, const Statement& statement,
                            const StatementTree& tree, const StringContext& context) {
  StringTable table;
  table.begin = statement.begin;
  table.end = statement.end;
  constexpr std::string_view kNotClosed = "La tabella delle stringhe non è chiusa da END o }.";
  if (!statement.complete) return failed(std::move(table), std::string(kNotClosed));
  const std::size_t base = statement.begin;
  const std::string_view own = statement.of(text);
  const std::size_t body = childOfKind(tree, 0, NodeKind::Body);
  if (body == 0) return failed(std::move(table), "Manca BEGIN o { dopo STRINGTABLE.");
  if (!closesBody(own, tree, tree.nodes[body]))
    return failed(std::move(table), std::string(kNotClosed));
  table.bodyBegin = base + tree.tokens[tree.nodes[body].first].end;
  const ScriptCharset charset = charsetAt(text, statement.begin, context);
  // Each entry is an ID, the tokens up to its text (a comma after them left out), then its
  // text: the entries' fields as the tree reads them, an ID and its text on two lines too.
  std::string problem;
  std::optional<StringEntry> entry;  // an ID read, its text still to come
  std::size_t next = 0;              // the first token not yet read
  const auto idWithoutText = [&] {
    return failed(std::move(table), "ID senza testo" + atLine(text, entry->idBegin));
  };
  // Reads tokens [from, to) of the body; a problem when the body does not read.
  const auto read = [&](std::size_t from, std::size_t to) -> bool {
    for (std::size_t k = std::max(from, next); k < to; k = std::max(k + 1, next)) {
      const TreeToken& t = tree.tokens[k];
      if (isLiteral(own, t)) {
        if (!entry) {
          problem = "Testo senza ID" + atLine(text, base + t.begin);
          return false;
        }
        next = k;
        auto written = readLiterals(text, base, tree, next, charset, problem);
        if (!written) return false;
        entry->id = std::string(text.substr(entry->idBegin, entry->idEnd - entry->idBegin));
        entry->value = stringIdValue(entry->id, context.symbols);
        entry->text = std::move(*written);
        table.entries.push_back(std::move(*entry));
        entry.reset();
        continue;
      }
      if (t.kind == TokenKind::String) {  // an apostrophe string stands where no ID may
        if (!entry) entry = StringEntry{{}, base + t.begin, base + t.begin, {}, {}};
        problem = "ID senza testo" + atLine(text, entry->idBegin);
        return false;
      }
      if (t.kind == TokenKind::Punct && own[t.begin] == ',') continue;
      if (!entry) entry = StringEntry{{}, base + t.begin, base + t.begin, {}, {}};
      entry->idEnd = base + t.end;
    }
    return true;
  };
  for (const std::size_t item : tree.children(body)) {
    const TreeNode& node = tree.nodes[item];
    switch (node.kind) {
      case NodeKind::Directive:
        if (entry) return idWithoutText();
        continue;
      case NodeKind::Body:  // a "{" or BEGIN where an ID should stand
        if (!entry)
          entry = StringEntry{{}, base + tree.beginOf(node), base + tree.beginOf(node), {}, {}};
        return idWithoutText();
      case NodeKind::StringEntry:
        for (const std::size_t field : tree.children(item))
          if (!read(tree.nodes[field].first, tree.nodes[field].last))
            return failed(std::move(table), problem);
        continue;
      default:  // what no entry reads: commas alone, a lone token
        if (!read(node.first, node.last)) return failed(std::move(table), problem);
        continue;
    }
  }
  if (entry) return idWithoutText();
  return table;
}

std::vector<StringTable> readStringTables(std::string_view text,
                                          const std::vector<Statement>& statements,
                                          const std::vector<std::string>& languages,
                                          const StringContext& context) {
  std::vector<StringTable> tables;
  for (std::size_t i = 0; i < statements.size(); ++i) {
    if (statements[i].kind != StatementKind::StringTable) continue;
    tables.push_back(readStringTable(text, statements[i], context));
    if (i < languages.size()) tables.back().language = languages[i];
  }
  return tables;
}

std::vector<StringTable> documentStringTables(const Document& doc, const SymbolTable* symbols) {
  // The document's statement trees, read once and kept.
  const std::vector<Statement>& statements = doc.tree().statements();
  const std::vector<std::string> languages = statementLanguages(
      doc.text(), statements, skippedStatements(doc.text(), statements, doc.headers()));
  const StringContext context = stringContext(doc, symbols);
  std::vector<StringTable> tables;
  for (std::size_t i = 0; i < statements.size(); ++i) {
    if (statements[i].kind != StatementKind::StringTable) continue;
    tables.push_back(readStringTable(doc.text(), statements[i],
                                     doc.tree().statementTree(doc.text(), i), context));
    tables.back().language = languages[i];
  }
  return tables;
}

bool sameStringId(const StringEntry& a, const StringEntry& b) {
  if (a.value && b.value) return *a.value == *b.value;
  return a.id == b.id;
}

Edit setStringText(std::string_view script, const StringTable& table, std::size_t entry,
                   std::string_view text, const StringContext& context) {
  const WrittenText& written = table.entries.at(entry).text;
  Edit edit;
  edit.label = "Modifica stringa";
  if (written.text == text) return edit;
  const ScriptCharset charset = scriptCharsetAt(script, table.begin, context.utf16File);
  // The table read again must hold the text where it was and its other strings as they were:
  // an apostrophe could close one left open before the literal on its line (a script the
  // compilers would refuse), so a second try writes apostrophes in octal.
  for (const bool octalApostrophes : {false, true}) {
    const std::string literal = literalFor(text, written.wide, charset, octalApostrophes);
    const std::string after = applySplices(script, {{written.begin, written.end, literal}});
    Statement statement;
    statement.kind = StatementKind::StringTable;
    statement.begin = table.begin;
    statement.end = table.end + literal.size() - (written.end - written.begin);
    const StringTable again = readStringTable(after, statement, context);
    bool same = again.problem.empty() && again.entries.size() == table.entries.size();
    for (std::size_t e = 0; same && e < table.entries.size(); ++e)
      same = again.entries[e].id == table.entries[e].id &&
             (e == entry || again.entries[e].text.text == table.entries[e].text.text);
    if (same) {
      edit.splices.push_back({written.begin, written.end, literal});
      return edit;
    }
  }
  throw Refusal(
      "Impossibile scrivere il testo senza cambiare come si leggono le altre "
      "stringhe della tabella.");
}

namespace {

// The ID as typed, without its blanks: words, numbers and the operators of an expression, on
// one line. Throws Refusal when it is none.
std::string readableStringId(std::string_view id) {
  const std::string_view trimmed = trimBlanks(id);
  bool readable = !trimmed.empty();
  Lexer lexer(trimmed, 0, false);
  for (Token t = lexer.next(); readable && t.kind != TokenKind::End; t = lexer.next())
    readable = t.kind == TokenKind::Number ||
               (t.kind == TokenKind::Word && !isReservedWord(t.of(trimmed))) ||
               (t.kind == TokenKind::Punct &&
                kIdOperators.find(trimmed[t.begin]) != std::string_view::npos);
  if (!readable) throw Refusal("ID non valido: " + std::string(trimmed) + ".");
  return std::string(trimmed);
}

// Throws Refusal when a table of `language` among `tables` (but `added` itself, where it is
// `own`'s entry) already holds the ID of `added`. `lineOf` tells the line of an offset of the
// tables' text as the user's script numbers it.
template <typename LineOf>
void refuseTakenId(const std::vector<StringTable>& tables, const std::string& language,
                   const StringEntry& added, const StringEntry* own, LineOf lineOf) {
  for (const StringTable& other : tables) {
    if (other.language != language) continue;
    for (const StringEntry& entry : other.entries)
      if (&entry != own && sameStringId(entry, added))
        throw Refusal("L'ID " + added.id + " è già in una tabella delle stringhe della stessa " +
                      "lingua (riga " + std::to_string(lineOf(entry.idBegin)) + ").");
  }
}

}  // namespace

Edit insertString(std::string_view script, const std::vector<StringTable>& tables,
                  std::size_t table, std::optional<std::size_t> after, std::string_view id,
                  std::string_view text, const StringContext& context) {
  const StringTable& target = tables.at(table);
  if (!target.problem.empty()) throw Refusal(target.problem);
  StringEntry added;
  added.id = readableStringId(id);
  added.value = stringIdValue(added.id, context.symbols);
  refuseTakenId(tables, target.language, added, nullptr,
                [&](std::size_t at) { return lineNumberAt(script, at); });
  const ScriptCharset charset = scriptCharsetAt(script, target.begin, context.utf16File);
  const StatementLines tree(script, statementOf(target));
  // Indented and spaced like the row it follows (or the first row).
  const std::optional<std::size_t> model =
      after ? after : (target.entries.empty() ? std::nullopt : std::optional<std::size_t>(0));
  std::string indent = "  ";
  std::string gap = ", ";
  if (model) {
    const StringEntry& row = target.entries.at(*model);
    if (const auto lineStart = tree.lineStartBefore(row.idBegin))
      indent = std::string(script.substr(*lineStart, row.idBegin - *lineStart));
    const std::string_view between = script.substr(row.idEnd, row.text.begin - row.idEnd);
    if (between.find_first_not_of(" \t,") == std::string_view::npos && !between.empty())
      gap = std::string(between);
  }
  const std::string line = indent + added.id + gap + literalFor(text, false, charset);
  Edit edit;
  edit.label = "Nuova stringa";
  // On a line of its own after the line that ends where `end` stands, when only blanks and
  // comments follow it there; else right after `end`, on a new line.
  const auto insertAfter = [&](std::size_t end, std::string_view atLineEnd) {
    if (const auto lineEnd = tree.lineEndAfter(end))
      edit.splices.push_back({*lineEnd + 2, *lineEnd + 2, line + "\r\n"});
    else
      edit.splices.push_back({end, end, "\r\n" + line + std::string(atLineEnd)});
  };
  if (after) {
    insertAfter(target.entries.at(*after).text.end, "");
  } else if (const auto lineStart = target.entries.empty()
                                        ? std::nullopt
                                        : tree.lineStartBefore(target.entries[0].idBegin)) {
    edit.splices.push_back({*lineStart, *lineStart, line + "\r\n"});
  } else {
    insertAfter(target.bodyBegin, "\r\n");
  }
  return edit;
}

Edit deleteString(std::string_view script, const StringTable& table, std::size_t entry) {
  const StringEntry& row = table.entries.at(entry);
  const StatementLines tree(script, statementOf(table));
  Edit edit;
  edit.label = "Elimina stringa";
  const auto lineStart = tree.lineStartBefore(row.idBegin);
  const auto lineEnd = tree.lineEndAfter(row.text.end);
  if (lineStart && lineEnd) {
    edit.splices.push_back({*lineStart, *lineEnd + 2, ""});
  } else {
    // The row shares its line: its tokens go, with the blanks after them. What follows must not
    // become a preprocessor line by standing first on it.
    std::size_t end = row.text.end;
    while (end < script.size() && isBlank(script[end])) ++end;
    const TreeToken& next = tree.tree.tokens[tree.tokenAfter(row.text.end)];
    if (!next.newLine && next.kind == TokenKind::Punct && tree.own[next.begin] == '#')
      throw Refusal("Impossibile eliminare la stringa " + row.id +
                    ": il resto della sua riga diventerebbe una direttiva.");
    // A blank stays between what stood before and after it, so that they do not join.
    const bool joins = row.idBegin > 0 && !isSpace(script[row.idBegin - 1]) &&
                       end < script.size() && !isSpace(script[end]);
    edit.splices.push_back({row.idBegin, end, joins ? " " : ""});
  }
  return edit;
}

std::optional<Edit> newStringTableEdit(std::string_view script,
                                       const std::vector<Statement>& statements,
                                       std::string_view firstId, const StringContext& context) {
  const std::string id = readableStringId(firstId);
  std::optional<Edit> edit = newResourceEdit(script, statements, ResourceType::StringTable, id);
  if (!edit) return std::nullopt;
  // The table as it reads where it goes, in the language in force there.
  const std::string after = applySplices(script, edit->splices);
  const std::vector<Statement> read = readStatements(after);
  const std::vector<StringTable> tables = readStringTables(
      after, read, statementLanguages(after, read, skippedStatements(after, read)), context);
  const Splice& added = edit->splices.front();
  const auto table = std::find_if(tables.begin(), tables.end(), [&](const StringTable& t) {
    return t.begin >= added.begin && t.begin < added.begin + added.inserted.size();
  });
  if (table == tables.end() || table->entries.size() != 1)
    throw Refusal("ID non valido: " + id + ".");
  // A line after the new table is numbered as it stands in the script, without the table.
  const std::size_t addedEnd = added.begin + added.inserted.size();
  const std::size_t addedLines = lineNumberAt(after, addedEnd) - lineNumberAt(after, added.begin);
  refuseTakenId(
      tables, table->language, table->entries[0], &table->entries[0],
      [&](std::size_t at) { return lineNumberAt(after, at) - (at >= addedEnd ? addedLines : 0); });
  return edit;
}

bool newStringTable(UserInterface& ui, Document& doc, std::optional<std::size_t> current) {
  const std::string_view title = typeInfo(ResourceType::StringTable).newLabel;
  std::string id;
  if (!ui.inputBox(title, "Primo ID:", id, 255)) return false;
  const SymbolTable symbols = scriptSymbols(doc.text(), doc.fileName());
  std::optional<Edit> edit = newStringTableEdit(doc.text(), doc.statements(), doc.scriptBytes(id),
                                                stringContext(doc, &symbols));
  if (!edit) {
    inform(ui, noPlaceMessage(std::string(trimBlanks(id))));
    return false;
  }
  if (current && *current < doc.index().size()) edit->currentBefore = keyAt(doc.index(), *current);
  return doc.commit(*edit);
}

}  // namespace kolvre
