#include "resources/string_tables.h"

#include "base/text.h"
#include "document/languages.h"
#include "messages/error_record.h"
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
  StringTable table;
  table.begin = statement.begin;
  table.end = statement.end;
  if (!statement.complete)
    return failed(std::move(table), "La tabella delle stringhe non è chiusa da END o }.");
  const std::string_view within = text.substr(0, statement.end);
  const ScriptCharset charset = scriptCharsetAt(text, statement.begin, context.utf16File);
  Lexer lexer(within, statement.begin, atLineStart(text, statement.begin));
  lexer.nextCode();  // STRINGTABLE
  Token t = lexer.nextCode();
  while (t.kind != TokenKind::End && !opensBody(within, t)) t = lexer.nextCode();
  if (t.kind == TokenKind::End)
    return failed(std::move(table), "Manca BEGIN o { dopo STRINGTABLE.");
  table.bodyBegin = t.end;
  std::string problem;
  while (true) {
    t = lexer.nextCode();
    while (t.kind == TokenKind::Directive) t = lexer.nextCode();
    if (t.kind == TokenKind::End)
      return failed(std::move(table), "La tabella delle stringhe non è chiusa da END o }.");
    if (closesBody(within, t)) break;
    StringEntry entry;
    entry.idBegin = t.begin;
    entry.idEnd = t.begin;
    // The ID: the tokens up to the literal, a comma after them left out.
    while (!literalQuote(within, t)) {
      if (t.kind == TokenKind::End || closesBody(within, t) || t.kind == TokenKind::String ||
          t.kind == TokenKind::Directive || opensBody(within, t))
        return failed(std::move(table), "ID senza testo" + atLine(text, entry.idBegin));
      if (!(t.kind == TokenKind::Punct && within[t.begin] == ',')) entry.idEnd = t.end;
      t = lexer.nextCode();
    }
    if (entry.idEnd == entry.idBegin)
      return failed(std::move(table), "Testo senza ID" + atLine(text, t.begin));
    entry.id = std::string(text.substr(entry.idBegin, entry.idEnd - entry.idBegin));
    entry.value = stringIdValue(entry.id, context.symbols);
    auto written = readLiterals(within, lexer, t, charset, problem);
    if (!written) return failed(std::move(table), problem);
    entry.text = std::move(*written);
    table.entries.push_back(std::move(entry));
  }
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
  return readStringTables(doc.text(), doc.statements(),
                          statementLanguages(doc.text(), doc.statements()),
                          stringContext(doc, symbols));
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

Edit insertString(std::string_view script, const std::vector<StringTable>& tables,
                  std::size_t table, std::optional<std::size_t> after, std::string_view id,
                  std::string_view text, const StringContext& context) {
  const StringTable& target = tables.at(table);
  if (!target.problem.empty()) throw Refusal(target.problem);
  // The ID: words, numbers and the operators of an expression, on one line.
  const std::string_view trimmed = trimBlanks(id);
  bool readable = !trimmed.empty();
  Lexer lexer(trimmed, 0, false);
  for (Token t = lexer.next(); readable && t.kind != TokenKind::End; t = lexer.next())
    readable = t.kind == TokenKind::Number ||
               (t.kind == TokenKind::Word && !isReservedWord(t.of(trimmed))) ||
               (t.kind == TokenKind::Punct &&
                kIdOperators.find(trimmed[t.begin]) != std::string_view::npos);
  if (!readable) throw Refusal("ID non valido: " + std::string(trimmed) + ".");
  StringEntry added;
  added.id = std::string(trimmed);
  added.value = stringIdValue(added.id, context.symbols);
  for (const StringTable& other : tables) {
    if (other.language != target.language) continue;
    for (const StringEntry& entry : other.entries)
      if (sameStringId(entry, added))
        throw Refusal("L'ID " + added.id + " è già in una tabella delle stringhe della stessa " +
                      "lingua (riga " + std::to_string(lineNumberAt(script, entry.idBegin)) + ").");
  }
  const ScriptCharset charset = scriptCharsetAt(script, target.begin, context.utf16File);
  // Indented and spaced like the row it follows (or the first row).
  const std::optional<std::size_t> model =
      after ? after : (target.entries.empty() ? std::nullopt : std::optional<std::size_t>(0));
  std::string indent = "  ";
  std::string gap = ", ";
  if (model) {
    const StringEntry& row = target.entries.at(*model);
    const std::size_t lineStart = lineStartOf(script, row.idBegin);
    if (atLineStart(script, row.idBegin))
      indent = std::string(script.substr(lineStart, row.idBegin - lineStart));
    const std::string_view between = script.substr(row.idEnd, row.text.begin - row.idEnd);
    if (between.find_first_not_of(" \t,") == std::string_view::npos && !between.empty())
      gap = std::string(between);
  }
  const std::string line = indent + added.id + gap + literalFor(text, false, charset);
  Edit edit;
  edit.label = "Nuova stringa";
  if (after) {
    const StringEntry& row = target.entries.at(*after);
    const std::size_t lineEnd = lineEndOf(script, row.text.end);
    if (lineEnd < script.size() && onlyBlanksAndComments(script, row.text.end, lineEnd))
      edit.splices.push_back({lineEnd + 2, lineEnd + 2, line + "\r\n"});
    else
      edit.splices.push_back({row.text.end, row.text.end, "\r\n" + line});
  } else if (!target.entries.empty() && atLineStart(script, target.entries[0].idBegin)) {
    const std::size_t at = lineStartOf(script, target.entries[0].idBegin);
    edit.splices.push_back({at, at, line + "\r\n"});
  } else {
    const std::size_t lineEnd = lineEndOf(script, target.bodyBegin);
    if (lineEnd < script.size() && onlyBlanksAndComments(script, target.bodyBegin, lineEnd))
      edit.splices.push_back({lineEnd + 2, lineEnd + 2, line + "\r\n"});
    else
      edit.splices.push_back({target.bodyBegin, target.bodyBegin, "\r\n" + line + "\r\n"});
  }
  return edit;
}

Edit deleteString(std::string_view script, const StringTable& table, std::size_t entry) {
  const StringEntry& row = table.entries.at(entry);
  Edit edit;
  edit.label = "Elimina stringa";
  const std::size_t lineEnd = lineEndOf(script, row.text.end);
  if (atLineStart(script, row.idBegin) && lineEnd < script.size() &&
      onlyBlanksAndComments(script, row.text.end, lineEnd)) {
    edit.splices.push_back({lineStartOf(script, row.idBegin), lineEnd + 2, ""});
  } else {
    // The row shares its line: its tokens go, with the blanks after them. What follows must not
    // become a preprocessor line by standing first on it.
    std::size_t end = row.text.end;
    while (end < script.size() && isBlank(script[end])) ++end;
    Lexer after(script, row.text.end, false);
    const Token next = after.nextCode();
    if (!next.newLine && next.kind == TokenKind::Punct && script[next.begin] == '#')
      throw Refusal("Impossibile eliminare la stringa " + row.id +
                    ": il resto della sua riga diventerebbe una direttiva.");
    // A blank stays between what stood before and after it, so that they do not join.
    const bool joins = row.idBegin > 0 && !isSpace(script[row.idBegin - 1]) &&
                       end < script.size() && !isSpace(script[end]);
    edit.splices.push_back({row.idBegin, end, joins ? " " : ""});
  }
  return edit;
}

}  // namespace kolvre
