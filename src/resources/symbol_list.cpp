#include "resources/symbol_list.h"

#include <algorithm>
#include <map>
#include <tuple>
#include <unordered_map>

#include "base/text.h"
#include "dialogs/dialog_model.h"
#include "document/script_file.h"
#include "messages/error_record.h"
#include "syntax/positions.h"

namespace kolvre {

namespace {

// The innermost item and field of each token of a statement's tree, as its nodes lie.
struct TokenOwners {
  explicit TokenOwners(const StatementTree& tree)
      : item(tree.tokens.size(), 0), field(tree.tokens.size(), 0) {
    // In preorder, a node comes after the nodes that hold it: the innermost is written last.
    for (std::uint32_t n = 0; n < tree.nodes.size(); ++n) {
      const TreeNode& node = tree.nodes[n];
      std::vector<std::uint32_t>& owner = node.kind == NodeKind::Field ? field : item;
      for (std::uint32_t t = node.first; t < node.last; ++t) owner[t] = n;
    }
  }
  std::vector<std::uint32_t> item;
  std::vector<std::uint32_t> field;  // 0: in no field
};

// Which of its fields node `item` holds token `token` in; nothing when none.
std::optional<std::size_t> fieldPlace(const StatementTree& tree, const TokenOwners& owners,
                                      std::size_t item, std::size_t token) {
  const std::uint32_t field = owners.field[token];
  if (field == 0) return std::nullopt;
  std::size_t place = 0;
  for (const std::size_t child : tree.children(item)) {
    if (tree.nodes[child].kind != NodeKind::Field) continue;
    if (child == field) return place;
    ++place;
  }
  return std::nullopt;
}

// The field a control statement writes its ID in: the second after a text, else the first.
std::size_t controlIdField(std::string_view keyword) {
  if (isKeyword(keyword, "CONTROL")) return 1;
  for (const ShortStatement& row : kShortStatements)
    if (isKeyword(keyword, row.keyword)) return row.hasText ? 1 : 0;
  return 1;
}

// A resource's type as its kind compares it: DIALOGEX is a DIALOG, MENUEX a MENU.
std::string typeKey(std::string_view written) {
  std::string type = upperAscii(written);
  if (type == "DIALOGEX") return "DIALOG";
  if (type == "MENUEX") return "MENU";
  return type;
}

// The use of the word at token `token` of statement `statement`'s tree.
SymbolReference classify(std::string_view own, const StatementTree& tree, const TokenOwners& owners,
                         std::size_t statement, std::size_t token) {
  SymbolReference use;
  use.statement = statement;
  const std::size_t item = owners.item[token];
  const TreeNode& node = tree.nodes[item];
  const auto field = fieldPlace(tree, owners, item, token);
  switch (node.kind) {
    case NodeKind::Name:
      if (tree.nodes[0].kind == NodeKind::Resource) {
        use.kind = SymbolUseKind::ResourceName;
        if (const std::size_t type = childOfKind(tree, 0, NodeKind::Type); type != 0)
          use.resourceType = typeKey(nodeText(own, tree, tree.nodes[type]));
      }
      break;
    case NodeKind::Control: {
      std::size_t ordinal = 0;
      for (std::size_t n = 0; n < item; ++n)
        if (tree.nodes[n].kind == NodeKind::Control) ++ordinal;
      use.control = ordinal;
      const std::string_view keyword = tokenText(own, tree.tokens[node.first]);
      if (field == controlIdField(keyword)) use.kind = SymbolUseKind::Control;
      break;
    }
    case NodeKind::MenuItem:
    case NodeKind::Popup:
      if (field == 1) use.kind = SymbolUseKind::MenuItem;
      break;
    case NodeKind::Accelerator:
      if (field == 1) use.kind = SymbolUseKind::Accelerator;
      break;
    case NodeKind::StringEntry:
      if (field == 0) use.kind = SymbolUseKind::String;
      break;
    default:
      break;
  }
  return use;
}

std::optional<Symbol::Kind> kindOfUse(const SymbolReference& use) {
  switch (use.kind) {
    case SymbolUseKind::ResourceName:
      return Symbol::Kind{IdKind::Resource, use.resourceType};
    case SymbolUseKind::Control:
      return Symbol::Kind{IdKind::Control, {}};
    case SymbolUseKind::MenuItem:
    case SymbolUseKind::Accelerator:
      return Symbol::Kind{IdKind::Command, {}};
    case SymbolUseKind::String:
      return Symbol::Kind{IdKind::String, {}};
    default:
      return std::nullopt;
  }
}

std::optional<Symbol::Kind> kindOfName(std::string_view name) {
  for (const IdPrefix& prefix : kIdPrefixes)
    if (name.starts_with(prefix.prefix)) return Symbol::Kind{prefix.kind, std::string(prefix.type)};
  return std::nullopt;
}

// Every word token of the script's statements (preprocessor lines apart), with its statement
// and token index.
template <typename Visit>
void forEachScriptWord(std::string_view text, const SyntaxTree& tree, Visit&& visit) {
  const std::vector<Statement>& statements = tree.statements();
  for (std::size_t i = 0; i < statements.size(); ++i) {
    const StatementKind kind = statements[i].kind;
    if (kind == StatementKind::Directive || kind == StatementKind::Comment) continue;
    const StatementTree& own = tree.statementTree(text, i);
    const std::string_view ownText = statements[i].of(text);
    for (std::size_t t = 0; t < own.tokens.size(); ++t)
      if (own.tokens[t].kind == TokenKind::Word) visit(i, ownText, own, t);
  }
}

}  // namespace

std::string_view symbolUseKindName(SymbolUseKind kind) {
  switch (kind) {
    case SymbolUseKind::ResourceName:
      return "nome di risorsa";
    case SymbolUseKind::Control:
      return "controllo";
    case SymbolUseKind::MenuItem:
      return "voce di menu";
    case SymbolUseKind::Accelerator:
      return "acceleratore";
    case SymbolUseKind::String:
      return "stringa";
    case SymbolUseKind::Directive:
      return "direttiva";
    case SymbolUseKind::Other:
      break;
  }
  return "altro";
}

const Symbol* SymbolList::find(std::string_view name) const {
  const auto at = std::lower_bound(symbols.begin(), symbols.end(), name,
                                   [](const Symbol& s, std::string_view n) { return s.name < n; });
  return at != symbols.end() && at->name == name ? &*at : nullptr;
}

std::size_t SymbolList::definitionCount() const {
  std::size_t n = 0;
  for (const Symbol& s : symbols) n += s.definitions.size();
  return n;
}

SymbolList readSymbolList(std::string_view text, const SyntaxTree& tree,
                          const HeaderReader& readHeader) {
  const DirectiveSymbols directives = readDirectiveSymbols(text, readHeader, &tree);
  SymbolList list;
  list.files.emplace_back();
  for (const HeaderText& header : directives.headers) {
    list.files.push_back(header.path);
    list.headerTexts.push_back(header.text);
  }
  // The definitions, by name; the table as the preprocessor leaves it, for the values.
  std::map<std::string, Symbol, std::less<>> byName;
  SymbolTable table;
  for (const DirectiveWord& w : directives.words) {
    const std::string_view name = directives.wordOf(w, text);
    const SymbolPlace place{w.file, w.begin, w.end, w.line};
    if (w.role == DirectiveWord::Role::Defines) {
      Symbol& symbol = byName[std::string(name)];
      symbol.name = name;
      symbol.definitions.push_back({w.value, place, std::nullopt});
      table.define(name, w.value);
    } else if (w.role == DirectiveWord::Role::Undefines) {
      table.undefine(name);
    }
  }
  for (const DirectiveWord& w : directives.words) {
    if (w.role == DirectiveWord::Role::Defines) continue;
    const auto found = byName.find(directives.wordOf(w, text));
    if (found == byName.end()) continue;
    SymbolReference use;
    use.kind = SymbolUseKind::Directive;
    use.place = {w.file, w.begin, w.end, w.line};
    found->second.uses.push_back(std::move(use));
  }
  if (!byName.empty()) {
    std::unordered_map<std::string_view, Symbol*> names;
    for (auto& [name, symbol] : byName) names.emplace(name, &symbol);
    LineNumbers lines(text);
    std::size_t ownersOf = static_cast<std::size_t>(-1);
    std::optional<TokenOwners> owners;
    forEachScriptWord(text, tree,
                      [&](std::size_t statement, std::string_view own, const StatementTree& stree,
                          std::size_t token) {
                        const TreeToken& t = stree.tokens[token];
                        const auto found = names.find(own.substr(t.begin, t.end - t.begin));
                        if (found == names.end()) return;
                        if (ownersOf != statement) {
                          owners.emplace(stree);
                          ownersOf = statement;
                        }
                        SymbolReference use = classify(own, stree, *owners, statement, token);
                        const std::size_t begin = tree.statements()[statement].begin + t.begin;
                        use.place = {0, begin, begin + (t.end - t.begin), lines.of(begin)};
                        found->second->uses.push_back(std::move(use));
                      });
  }
  for (auto& [name, symbol] : byName) {
    std::sort(symbol.uses.begin(), symbol.uses.end(),
              [](const SymbolReference& a, const SymbolReference& b) {
                return std::pair(a.place.file, a.place.begin) <
                       std::pair(b.place.file, b.place.begin);
              });
    for (SymbolDefinition& definition : symbol.definitions) {
      const Evaluation value = evaluate(definition.value, &table);
      if (value.value && value.undefined.empty()) definition.number = value.value;
    }
    symbol.value = symbol.definitions.back().number;
    for (const SymbolReference& use : symbol.uses)
      if (const auto kind = kindOfUse(use);
          kind && std::find(symbol.kinds.begin(), symbol.kinds.end(), *kind) == symbol.kinds.end())
        symbol.kinds.push_back(*kind);
    if (symbol.kinds.empty())
      if (const auto kind = kindOfName(name)) symbol.kinds.push_back(*kind);
    list.symbols.push_back(std::move(symbol));
  }
  // Symbols of one kind with one value.
  std::map<std::tuple<IdKind, std::string, std::uint32_t>, std::vector<std::size_t>> groups;
  for (std::size_t i = 0; i < list.symbols.size(); ++i) {
    const Symbol& s = list.symbols[i];
    if (!s.value) continue;
    for (const Symbol::Kind& kind : s.kinds) groups[{kind.kind, kind.type, *s.value}].push_back(i);
  }
  for (const auto& [key, members] : groups) {
    if (members.size() < 2) continue;
    for (const std::size_t i : members)
      for (const std::size_t j : members) {
        std::vector<std::string>& same = list.symbols[i].sameValue;
        if (i != j && std::find(same.begin(), same.end(), list.symbols[j].name) == same.end())
          same.push_back(list.symbols[j].name);
      }
  }
  for (Symbol& s : list.symbols) std::sort(s.sameValue.begin(), s.sameValue.end());
  return list;
}

SymbolList documentSymbols(const Document& doc) {
  return readSymbolList(doc.text(), doc.tree(), doc.headers());
}

namespace {

// A name the preprocessor can define: one word, not a number.
bool isSymbolName(std::string_view name) {
  if (name.empty()) return false;
  Lexer lexer(name, 0, false);
  const Token word = lexer.next();
  return word.kind == TokenKind::Word && word.begin == 0 && word.end == name.size() &&
         lexer.next().kind == TokenKind::End;
}

// True when `word` stands as a word in the script's statements or its preprocessor lines.
bool wordInUse(std::string_view script, const SyntaxTree& tree, const SymbolList& list,
               const DirectiveSymbols& directives, std::string_view word) {
  if (list.find(word)) return true;
  for (const DirectiveWord& w : directives.words)
    if (directives.wordOf(w, script) == word) return true;
  bool found = false;
  forEachScriptWord(script, tree,
                    [&](std::size_t, std::string_view own, const StatementTree& t, std::size_t i) {
                      if (!found && tokenText(own, t.tokens[i]) == word) found = true;
                    });
  return found;
}

}  // namespace

Edit renameSymbolEdit(std::string_view script, const SyntaxTree& tree, const SymbolList& list,
                      const std::string& scriptPath, std::string_view from, std::string_view to) {
  Edit edit;
  edit.label = "Rinomina simbolo";
  // Every word of the name changes, and the new name was no word: each condition finds what
  // it found.
  edit.keepsSections = true;
  const Symbol* symbol = list.find(from);
  if (!symbol) throw Refusal("Il simbolo " + std::string(from) + " non è definito.");
  // The script's readers take such a word as the language's wherever it stands (BEGIN opening a
  // block, WS_CHILD in a style): renamed, those places would read as something else.
  if (wordClasses(from) != 0 || compilerNameValue(from))
    throw Refusal("Il simbolo " + std::string(from) +
                  " è una parola del linguaggio delle risorse e non si rinomina.");
  if (to == from) return edit;
  const std::string name(to);
  if (!isSymbolName(to)) throw Refusal("Nome di simbolo non valido: " + name + ".");
  if (wordClasses(to) != 0 || compilerNameValue(to))
    throw Refusal("Il nome " + name + " è una parola del linguaggio delle risorse.");
  if (list.find(to)) throw Refusal("Il simbolo " + name + " esiste già.");
  // The headers as the list read them: the words of their preprocessor lines.
  const DirectiveSymbols directives = readDirectiveSymbols(
      script,
      [&](const std::string& path) -> std::optional<std::string> {
        for (std::size_t f = 1; f < list.files.size(); ++f)
          if (list.files[f] == path) return list.headerTexts[f - 1];
        return std::nullopt;
      },
      &tree);
  if (wordInUse(script, tree, list, directives, to))
    throw Refusal("Il nome " + name + " è già usato nello script o nei suoi file di intestazione.");
  std::vector<std::vector<Splice>> splices(list.files.size());
  const auto rename = [&](const SymbolPlace& place) {
    splices[place.file].push_back({place.begin, place.end, name});
  };
  for (const SymbolDefinition& d : symbol->definitions) rename(d.place);
  for (const SymbolReference& use : symbol->uses) rename(use.place);
  for (std::vector<Splice>& file : splices) {
    std::sort(file.begin(), file.end(),
              [](const Splice& a, const Splice& b) { return a.begin < b.begin; });
    file.erase(std::unique(file.begin(), file.end(),
                           [](const Splice& a, const Splice& b) { return a.begin == b.begin; }),
               file.end());
  }
  edit.splices = std::move(splices[0]);
  for (std::size_t f = 1; f < list.files.size(); ++f)
    if (!splices[f].empty())
      edit.files.push_back({headerFullPath(scriptPath, list.files[f]), list.headerTexts[f - 1],
                            std::move(splices[f])});
  return edit;
}

Edit renameSymbol(const Document& doc, std::string_view from, std::string_view to,
                  std::optional<ResourceKey> current) {
  const SymbolList list = documentSymbols(doc);
  Edit edit = renameSymbolEdit(doc.text(), doc.tree(), list, doc.fileName(), from, to);
  for (const FileEdit& file : edit.files)
    if (const int problem = writableProblem(file.path); problem != 0)
      throw Refusal("Impossibile rinominare il simbolo " + std::string(from) + ": il file " +
                    file.path + " non si può scrivere.;" + saveFailureReason(problem));
  edit.currentBefore = current;
  if (current && current->name == from) current->name = to;
  edit.currentAfter = std::move(current);
  return edit;
}

}  // namespace kolvre
