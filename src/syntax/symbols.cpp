#include "syntax/symbols.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <system_error>

#include "base/text.h"
#include "syntax/conditionals.h"
#include "syntax/lexer.h"
#include "syntax/positions.h"
#include "syntax/statements.h"
#include "syntax/syntax_tree.h"
#include "syntax/vocabulary.h"

namespace kolvre {

namespace {

// Bounds that keep a hostile script cheap: headers read, tokens a replacement may produce,
// parentheses and unary operators nested.
constexpr std::size_t kMaxHeaders = 256;
constexpr std::size_t kMaxTokens = 100000;
constexpr int kMaxDepth = 200;

// The dialog ids the system's headers define, which a script includes but never from its folder.
struct SystemId {
  std::string_view name;
  std::int32_t value;
};
constexpr std::array<SystemId, 12> kSystemIds{{
    {"IDOK", 1},
    {"IDCANCEL", 2},
    {"IDABORT", 3},
    {"IDRETRY", 4},
    {"IDIGNORE", 5},
    {"IDYES", 6},
    {"IDNO", 7},
    {"IDCLOSE", 8},
    {"IDHELP", 9},
    {"IDTRYAGAIN", 10},
    {"IDCONTINUE", 11},
    {"IDC_STATIC", -1},
}};

// Names listed in the notice before the count of the others.
constexpr std::size_t kNamesListed = 8;

// The lexer ends lines at CR LF only; a header written with bare LF gets CR LF before it.
std::string withCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

// `name` as an include line writes it, from the folder `folder`: '/' between folders, "." and
// ".." resolved where they can be. Nothing for a path from the root or a drive.
std::optional<std::string> headerPath(std::string_view folder, std::string_view name) {
  std::string path(name);
  std::replace(path.begin(), path.end(), '\\', '/');
  if (path.empty() || path.front() == '/' || path.find(':') != std::string::npos)
    return std::nullopt;
  std::vector<std::string> parts;
  std::istringstream pieces(std::string(folder) + path);
  for (std::string part; std::getline(pieces, part, '/');) {
    if (part.empty() || part == ".") continue;
    if (part == ".." && !parts.empty() && parts.back() != "..")
      parts.pop_back();
    else
      parts.push_back(part);
  }
  std::string out;
  for (const std::string& part : parts) out += (out.empty() ? "" : "/") + part;
  return out;
}

std::string folderOf(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

// The text of a directive's field as the preprocessor reads it: its tokens as written, and
// between them what stands there, each comment one blank and each backslash that continues the
// line taken out with its line end (a word cut by one is one word again).
std::string fieldText(std::string_view own, const StatementTree& tree, const TreeNode& field) {
  std::string out;
  for (std::uint32_t i = field.first; i < field.last; ++i) {
    const TreeToken& t = tree.tokens[i];
    if (i > field.first) {
      std::size_t at = tree.tokens[i - 1].end;
      Lexer trivia(own, at, false);
      for (Token c = trivia.next(); c.kind != TokenKind::End && c.begin < t.begin;
           c = trivia.next()) {
        out.append(own, at, c.begin - at);
        at = c.end;
        if (c.kind == TokenKind::Comment) {
          out += ' ';
        } else if (c.kind == TokenKind::Punct && own[c.begin] == '\\') {
          // The backslash of a continuation (the trivia's only other token), its line end.
          if (at < own.size() && own[at] == '\r') ++at;
          if (at < own.size() && own[at] == '\n') ++at;
        } else {
          out.append(own, c.begin, c.end - c.begin);
        }
      }
      out.append(own, at, t.begin - at);
    }
    out.append(own, t.begin, t.end - t.begin);
  }
  return out;
}

// The first token of a field, or nothing when the field is missing.
const TreeToken* firstToken(const StatementTree& tree, const std::vector<std::size_t>& fields,
                            std::size_t n) {
  if (n >= fields.size()) return nullptr;
  const TreeNode& field = tree.nodes[fields[n]];
  return field.first < field.last ? &tree.tokens[field.first] : nullptr;
}

// The file an include's quoted name names, as the file names of resources are read: the text
// between the quotes, a doubled backslash one. Nothing for `<name>` or a name given by a macro.
std::optional<std::string> quotedHeaderName(std::string_view quoted) {
  if (quoted.size() < 2 || quoted.front() != '"' || quoted.back() != '"') return std::nullopt;
  quoted = quoted.substr(1, quoted.size() - 2);
  std::string name;
  for (std::size_t i = 0; i < quoted.size(); ++i) {
    if (quoted[i] == '\\' && i + 1 < quoted.size() && quoted[i + 1] == '\\') ++i;
    name += quoted[i];
  }
  return name;
}

struct DefineReading {
  SymbolTable& table;
  const HeaderReader& readHeader;
  std::set<std::string> read;  // the headers already read

  void readText(std::string_view raw, std::string_view path) {
    const std::string text = withCrLf(raw);
    const std::vector<Statement> statements = readStatements(text);
    forEachPreprocessorLine(
        text, statements,
        [&](std::size_t, std::string_view own, const StatementTree& tree) {
          const DefineLine line = applyDefineLine(own, tree, table);
          if (line.kind != DefineLine::Include || !readHeader || read.size() >= kMaxHeaders) return;
          const auto header = includedHeaderPath(path, line.name);
          if (!header || !read.insert(*header).second) return;
          if (const auto headerText = readHeader(*header)) readText(*headerText, *header);
        },
        false);
  }
};

// The expression reader. Tokens come from a stack of texts: the expression, then the
// definitions of the names being replaced, innermost last.
class Evaluator {
 public:
  Evaluator(const SymbolTable* symbols, Evaluation& out) : symbols_(symbols), out_(out) {}

  std::optional<std::uint32_t> run(std::string_view text, std::uint32_t base) {
    sources_.push_back(sourceOf(text, {}));
    advance();
    std::uint32_t value = base;
    if (!orTerms(value) || token_.kind != Kind::End || failed_) return std::nullopt;
    return value;
  }

 private:
  enum class Kind : std::uint8_t { End, Number, Name, Punct, Bad };
  struct Tok {
    Kind kind = Kind::End;
    std::string_view text;
    std::uint32_t number = 0;
  };
  struct Source {
    std::string_view text;
    Lexer lexer;
    std::string name;  // the name whose definition this is; "" for the expression
  };

  bool replacing(std::string_view name) const {
    return std::any_of(sources_.begin(), sources_.end(),
                       [&](const Source& s) { return s.name == name; });
  }

  static Source sourceOf(std::string_view text, std::string name) {
    // Not at a line start: a '#' is punctuation here, and no expression holds one.
    return {text, Lexer(text, 0, false), std::move(name)};
  }

  // The next token, names with a definition replaced by the tokens of their definition; the
  // comments between them are blanks.
  void advance() {
    for (;;) {
      if (++tokens_ > kMaxTokens) failed_ = true;
      if (failed_) {
        token_ = {Kind::Bad, {}, 0};
        return;
      }
      Source& source = sources_.back();
      const Token t = source.lexer.nextCode();
      const std::string_view word = t.of(source.text);
      switch (t.kind) {
        case TokenKind::End:
          if (sources_.size() == 1) {
            token_ = {Kind::End, {}, 0};
            return;
          }
          sources_.pop_back();
          continue;
        case TokenKind::Number: {
          const auto value = compilerNumber(word);
          token_ = {value ? Kind::Number : Kind::Bad, word, value.value_or(0)};
          return;
        }
        case TokenKind::Word:
          if (const std::string* definition = symbols_ ? symbols_->find(word) : nullptr;
              definition && !replacing(word)) {
            sources_.push_back(sourceOf(*definition, std::string(word)));
            continue;
          }
          token_ = {Kind::Name, word, 0};
          return;
        case TokenKind::Punct: {
          const bool known = std::string_view("+-*/|&~()").find(word[0]) != std::string_view::npos;
          token_ = {known ? Kind::Punct : Kind::Bad, word, 0};
          return;
        }
        default:  // a string or a preprocessor line
          token_ = {Kind::Bad, word, 0};
          return;
      }
    }
  }

  bool punct(char c) const { return token_.kind == Kind::Punct && token_.text[0] == c; }
  bool notWord() const {
    return token_.kind == Kind::Name && equalsIgnoringCase(token_.text, "NOT");
  }

  // term ("|" term)*, each term or-ed into `value`, or with NOT before it taken from it.
  bool orTerms(std::uint32_t& value) {
    for (;;) {
      const bool remove = notWord();
      if (remove) advance();
      std::uint32_t term = 0;
      if (!andTerm(term)) return false;
      value = remove ? value & ~term : value | term;
      if (!punct('|')) return true;
      advance();
    }
  }

  bool andTerm(std::uint32_t& value) {
    if (!sum(value)) return false;
    while (punct('&')) {
      advance();
      std::uint32_t right = 0;
      if (!sum(right)) return false;
      value &= right;
    }
    return true;
  }

  bool sum(std::uint32_t& value) {
    if (!product(value)) return false;
    while (punct('+') || punct('-')) {
      const bool minus = punct('-');
      advance();
      std::uint32_t right = 0;
      if (!product(right)) return false;
      value = minus ? value - right : value + right;
    }
    return true;
  }

  bool product(std::uint32_t& value) {
    if (!unary(value)) return false;
    while (punct('*') || punct('/')) {
      const bool divide = punct('/');
      advance();
      std::uint32_t right = 0;
      if (!unary(right)) return false;
      // Unsigned, as the compiler divides (-7 / 2 is 0x7FFFFFFC); by zero, the dividend.
      if (!divide)
        value *= right;
      else if (right != 0)
        value /= right;
    }
    return true;
  }

  bool unary(std::uint32_t& value) {
    if (++depth_ > kMaxDepth) return false;
    bool ok = true;
    if (punct('-') || punct('~')) {
      const char op = token_.text[0];
      advance();
      ok = unary(value);
      if (op == '-') value = 0u - value;
      if (op == '~') value = ~value;
    } else {
      ok = primary(value);
    }
    --depth_;
    return ok;
  }

  bool primary(std::uint32_t& value) {
    switch (token_.kind) {
      case Kind::Number:
        value = token_.number;
        advance();
        return true;
      case Kind::Name:
        if (notWord()) return false;
        value = nameValue(token_.text);
        advance();
        return true;
      case Kind::Punct:
        if (!punct('(')) return false;
        advance();
        value = 0;
        if (!orTerms(value) || !punct(')')) return false;
        advance();
        return true;
      default:
        return false;
    }
  }

  std::uint32_t nameValue(std::string_view name) {
    if (const auto style = compilerNameValue(name)) return *style;
    for (const SystemId& id : kSystemIds)
      if (id.name == name) return static_cast<std::uint32_t>(id.value);
    if (std::find(out_.undefined.begin(), out_.undefined.end(), name) == out_.undefined.end())
      out_.undefined.emplace_back(name);
    return 0;
  }

  const SymbolTable* symbols_;
  Evaluation& out_;
  std::vector<Source> sources_;
  Tok token_;
  std::size_t tokens_ = 0;
  int depth_ = 0;
  bool failed_ = false;
};

}  // namespace

void SymbolTable::define(std::string_view name, std::string_view value) {
  values_.insert_or_assign(std::string(name), std::string(value));
}

void SymbolTable::undefine(std::string_view name) {
  const auto found = values_.find(name);
  if (found != values_.end()) values_.erase(found);
}

const std::string* SymbolTable::find(std::string_view name) const {
  const auto found = values_.find(name);
  return found == values_.end() ? nullptr : &found->second;
}

DefineLine applyDefineLine(std::string_view own, const StatementTree& tree, SymbolTable& table) {
  const std::vector<std::size_t> fields = tree.children(0);
  const TreeToken* first = firstToken(tree, fields, 0);
  if (!first) return {};
  const std::string_view word = own.substr(first->begin, first->end - first->begin);
  switch (tree.nodes[0].kind) {
    case NodeKind::Define: {
      // A name with its parameters (a function-like macro) is a field of several tokens.
      const TreeNode& name = tree.nodes[fields[0]];
      if (first->kind != TokenKind::Word || name.last - name.first != 1) return {};
      table.define(word, fields.size() > 1 ? fieldText(own, tree, tree.nodes[fields[1]]) : "");
      return {DefineLine::Define, std::string(word)};
    }
    case NodeKind::Undef:
      if (first->kind != TokenKind::Word) return {};
      table.undefine(word);
      return {DefineLine::Undef, std::string(word)};
    case NodeKind::Include:
      if (first->kind != TokenKind::String) return {};
      if (auto name = quotedHeaderName(word)) return {DefineLine::Include, std::move(*name)};
      return {};
    default:
      return {};
  }
}

std::optional<std::string> includedHeaderPath(std::string_view including, std::string_view name) {
  return headerPath(folderOf(including), name);
}

std::string headerWithCrLf(std::string_view text) {
  return withCrLf(text);
}

namespace {

// Offsets in a header's text with CR LF (withCrLf) back in the text as read: before each
// offset, as many bytes fewer as CRs were put before bare LFs.
class RawOffsets {
 public:
  explicit RawOffsets(std::string_view raw) {
    for (std::size_t i = 0; i < raw.size(); ++i)
      if (raw[i] == '\n' && (i == 0 || raw[i - 1] != '\r')) bareLineFeeds_.push_back(i);
  }
  std::size_t of(std::size_t offset) const {
    // The k-th CR put in stands at bareLineFeeds_[k] + k of the text with CR LF.
    std::size_t low = 0;
    std::size_t high = bareLineFeeds_.size();
    while (low < high) {
      const std::size_t mid = (low + high) / 2;
      if (bareLineFeeds_[mid] + mid < offset)
        low = mid + 1;
      else
        high = mid;
    }
    return offset - low;
  }

 private:
  std::vector<std::size_t> bareLineFeeds_;
};

struct DirectiveReading {
  const HeaderReader& readHeader;
  DirectiveSymbols& out;
  std::set<std::string> headersRead;

  // The preprocessor lines of file `file` (`raw` as read, `path` from the script's folder).
  void readFile(std::size_t file, std::string_view raw, std::string_view path,
                const SyntaxTree* tree) {
    const std::string converted = file == 0 ? std::string() : withCrLf(raw);
    const std::string_view text = file == 0 ? raw : std::string_view(converted);
    const RawOffsets offsets(file == 0 ? std::string_view() : raw);
    LineNumbers lines(raw);
    const std::vector<Statement> readHere = tree ? std::vector<Statement>() : readStatements(text);
    const std::vector<Statement>& statements = tree ? tree->statements() : readHere;
    forEachPreprocessorLine(
        text, statements,
        [&](std::size_t, std::string_view own, const StatementTree& line) {
          const std::size_t base = static_cast<std::size_t>(own.data() - text.data());
          const auto word = [&](const TreeToken& t, DirectiveWord::Role role) -> DirectiveWord& {
            const std::size_t begin = offsets.of(base + t.begin);
            out.words.push_back(
                {role, file, begin, offsets.of(base + t.end), lines.of(begin), {}, false});
            return out.words.back();
          };
          const auto uses = [&](const TreeNode& field, bool inValue) {
            for (std::uint32_t i = field.first; i < field.last; ++i)
              if (line.tokens[i].kind == TokenKind::Word)
                word(line.tokens[i], DirectiveWord::Role::Uses).inValue = inValue;
          };
          const std::vector<std::size_t> fields = line.children(0);
          const TreeToken* first = firstToken(line, fields, 0);
          switch (line.nodes[0].kind) {
            case NodeKind::Define: {
              if (!first) return;
              const TreeNode& name = line.nodes[fields[0]];
              const bool plain = first->kind == TokenKind::Word && name.last - name.first == 1;
              if (plain)
                word(*first, DirectiveWord::Role::Defines).value =
                    fields.size() > 1 ? fieldText(own, line, line.nodes[fields[1]]) : "";
              for (std::size_t f = 1; f < fields.size(); ++f) uses(line.nodes[fields[f]], plain);
              return;
            }
            case NodeKind::Undef:
              if (first && first->kind == TokenKind::Word)
                word(*first, DirectiveWord::Role::Undefines);
              return;
            case NodeKind::If:
            case NodeKind::Elif:
              for (const std::size_t f : fields) uses(line.nodes[f], false);
              return;
            case NodeKind::Include: {
              if (!first || first->kind != TokenKind::String || !readHeader ||
                  headersRead.size() >= kMaxHeaders)
                return;
              const auto name = quotedHeaderName(tokenText(own, *first));
              const auto header = name ? includedHeaderPath(path, *name) : std::nullopt;
              if (!header || !headersRead.insert(*header).second) return;
              auto headerText = readHeader(*header);
              if (!headerText) return;
              out.headers.push_back({*header, std::move(*headerText)});
              const std::size_t at = out.headers.size();
              // Read from its own copy: the list of headers grows meanwhile.
              const std::string copy = out.headers[at - 1].text;
              readFile(at, copy, *header, nullptr);
              return;
            }
            default:
              return;
          }
        },
        true, tree);
  }
};

}  // namespace

DirectiveSymbols readDirectiveSymbols(std::string_view script, const HeaderReader& readHeader,
                                      const SyntaxTree* tree) {
  DirectiveSymbols out;
  DirectiveReading reading{readHeader, out, {}};
  reading.readFile(0, script, "", tree);
  return out;
}

void readDefines(std::string_view text, SymbolTable& table, const HeaderReader& readHeader) {
  DefineReading reading{table, readHeader, {}};
  reading.readText(text, "");
}

namespace {

// What a header file was when it was read: its size and when it was last written, or nothing
// when it could not be read. A header edited since gives another stamp.
struct HeaderStamp {
  std::filesystem::path path;
  std::optional<std::uintmax_t> size;
  std::filesystem::file_time_type written;
  bool operator==(const HeaderStamp&) const = default;
};

HeaderStamp stampOf(const std::filesystem::path& path) {
  HeaderStamp stamp{path, std::nullopt, {}};
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(path, ec);
  if (ec) return stamp;
  stamp.written = std::filesystem::last_write_time(path, ec);
  if (!ec) stamp.size = size;
  return stamp;
}

// The text of a header the reader is asked for (`path`, from the script's folder `folder`):
// the one `kept` holds, else the file's. `stamp` (when given) notes a file read from disk.
std::optional<std::string> readHeaderText(const std::filesystem::path& folder,
                                          const std::string& path, const HeaderTexts* kept,
                                          std::vector<HeaderStamp>* stamps) {
  const std::filesystem::path file = folder / std::filesystem::path(path);
  if (kept) {
    const auto found = kept->find(file.lexically_normal().string());
    if (found != kept->end()) return found->second;
  }
  if (stamps) stamps->push_back(stampOf(file));
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// scriptSymbols, noting in `stamps` (when given) each header file asked for, before it is read.
SymbolTable readScriptSymbols(std::string_view text, const std::filesystem::path& scriptPath,
                              std::vector<std::string>* missingHeaders,
                              std::vector<HeaderStamp>* stamps, const HeaderTexts* kept) {
  SymbolTable table;
  if (scriptPath.empty()) {
    readDefines(text, table);
    return table;
  }
  const std::filesystem::path folder = scriptPath.parent_path();
  readDefines(text, table, [&](const std::string& path) -> std::optional<std::string> {
    auto header = readHeaderText(folder, path, kept, stamps);
    if (!header && missingHeaders) missingHeaders->push_back(path);
    return header;
  });
  return table;
}

std::size_t hashOf(const HeaderTexts* kept) {
  std::size_t hash = 0;
  if (kept)
    for (const auto& [path, text] : *kept)
      hash = hash * 31 + std::hash<std::string>{}(path)*7 + std::hash<std::string>{}(text);
  return hash;
}

}  // namespace

std::string headerFullPath(const std::filesystem::path& scriptPath, std::string_view path) {
  return (scriptPath.parent_path() / std::filesystem::path(path)).lexically_normal().string();
}

HeaderReader headerReaderFor(const std::filesystem::path& scriptPath, const HeaderTexts* kept) {
  if (scriptPath.empty()) return {};
  return [folder = scriptPath.parent_path(), kept](const std::string& path) {
    return readHeaderText(folder, path, kept, nullptr);
  };
}

SymbolTable scriptSymbols(std::string_view text, const std::filesystem::path& scriptPath,
                          std::vector<std::string>* missingHeaders, const HeaderTexts* kept) {
  return readScriptSymbols(text, scriptPath, missingHeaders, nullptr, kept);
}

std::shared_ptr<const SymbolTable> cachedScriptSymbols(std::string_view text,
                                                       const std::string& fileName,
                                                       const HeaderTexts* kept) {
  struct Kept {
    std::string fileName;
    std::size_t size = 0;
    std::size_t hash = 0;
    std::size_t keptHash = 0;
    std::vector<HeaderStamp> headers;
    std::shared_ptr<const SymbolTable> table;
  };
  static Kept last;
  const std::size_t hash = std::hash<std::string_view>{}(text);
  const std::size_t keptHash = hashOf(kept);
  const bool fresh = last.table && last.fileName == fileName && last.size == text.size() &&
                     last.hash == hash && last.keptHash == keptHash &&
                     std::all_of(last.headers.begin(), last.headers.end(),
                                 [](const HeaderStamp& h) { return stampOf(h.path) == h; });
  if (!fresh) {
    std::vector<HeaderStamp> headers;
    auto table = std::make_shared<const SymbolTable>(
        readScriptSymbols(text, fileName, nullptr, &headers, kept));
    last = {fileName, text.size(), hash, keptHash, std::move(headers), std::move(table)};
  }
  return last.table;
}

std::optional<std::uint32_t> compilerNumber(std::string_view word, bool wrap) {
  if (!word.empty() && upperByte(word.back()) == 'L') word.remove_suffix(1);
  unsigned radix = 10;
  if (word.size() >= 2 && word[0] == '0') {
    const char prefix = upperByte(word[1]);
    radix = prefix == 'X' ? 16 : 8;
    word.remove_prefix(prefix == 'X' || prefix == 'O' ? 2 : 1);
    if (word.empty()) return std::nullopt;
  }
  if (word.empty()) return std::nullopt;
  std::uint32_t value = 0;  // wraps past 32 bits: the compilers keep the low bits
  for (char c : word) {
    const char u = upperByte(c);
    const unsigned digit = u >= '0' && u <= '9'   ? u - '0'
                           : u >= 'A' && u <= 'F' ? u - 'A' + 10
                                                  : 99;
    if (digit >= radix) return std::nullopt;
    if (!wrap && value > (0xFFFFFFFFu - digit) / radix) return std::nullopt;
    value = value * radix + digit;
  }
  return value;
}

std::vector<OrTerm> orTerms(std::string_view text) {
  std::vector<OrTerm> terms;
  // Not at a line start: a '#' is punctuation here.
  Lexer lexer(text, 0, false);
  OrTerm term;
  std::size_t tokens = 0;    // in the term so far
  std::size_t afterBar = 0;  // where an empty term stands
  bool notFirst = false;     // the term's first token is NOT
  for (Token t = lexer.nextCode();; t = lexer.nextCode()) {
    const bool bar = t.kind == TokenKind::Punct && text[t.begin] == '|';
    if (t.kind == TokenKind::End || bar) {
      if (tokens == 0) term.begin = term.end = afterBar;
      terms.push_back(term);
      if (!bar) return terms;
      term = OrTerm{};
      tokens = 0;
      notFirst = false;
      afterBar = t.end;
      continue;
    }
    if (tokens == 0) {
      term.begin = t.begin;
      notFirst = t.kind == TokenKind::Word && isKeyword(t.of(text), "NOT");
    } else if (tokens == 1 && notFirst) {
      term.begin = t.begin;
      term.negated = true;
    }
    term.end = t.end;
    ++tokens;
  }
}

Evaluation evaluate(std::string_view text, const SymbolTable* symbols, std::uint32_t base) {
  Evaluation out;
  out.value = Evaluator(symbols, out).run(text, base);
  if (!out.value) out.undefined.clear();
  return out;
}

std::string undefinedSymbolsNotice(const std::vector<std::string>& names) {
  std::string text = names.size() == 1 ? "Simbolo non definito: " : "Simboli non definiti: ";
  for (std::size_t i = 0; i < names.size() && i < kNamesListed; ++i)
    text += (i == 0 ? "" : ", ") + names[i];
  if (names.size() > kNamesListed)
    text += " e altri " + std::to_string(names.size() - kNamesListed);
  return text + ".";
}

void SymbolUse::note(const std::vector<std::string>& names) {
  for (const std::string& name : names)
    if (std::find(undefined.begin(), undefined.end(), name) == undefined.end())
      undefined.push_back(name);
}

}  // namespace kolvre
