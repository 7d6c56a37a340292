#include "dialogs/symbols.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

#include "base/text.h"
#include "dialogs/styles.h"
#include "syntax/lexer.h"

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

bool isNameStart(char c) {
  return lexing::kByteClass[static_cast<unsigned char>(c)] == lexing::ByteClass::Word;
}

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

// A preprocessor line as its words: continuations joined, comments as one blank (a string or
// character literal is kept whole), every line break a blank.
std::string directiveCode(std::string_view directive) {
  std::string joined;
  for (std::size_t i = 0; i < directive.size(); ++i) {
    if (directive[i] == '\\') {
      std::size_t next = i + 1;
      if (next < directive.size() && directive[next] == '\r') ++next;
      if (next < directive.size() && directive[next] == '\n') {
        i = next;
        continue;
      }
    }
    joined += directive[i];
  }
  std::string code;
  for (std::size_t i = 0; i < joined.size(); ++i) {
    const char c = joined[i];
    if (c == '"' || c == '\'') {
      const std::size_t close = joined.find(c, i + 1);
      const std::size_t end = close == std::string::npos ? joined.size() : close + 1;
      code.append(joined, i, end - i);
      i = end - 1;
    } else if (joined.compare(i, 2, "//") == 0) {
      break;
    } else if (joined.compare(i, 2, "/*") == 0) {
      const std::size_t close = joined.find("*/", i + 2);
      code += ' ';
      if (close == std::string::npos) break;
      i = close + 1;
    } else {
      code += isSpace(c) ? ' ' : c;
    }
  }
  return code;
}

// The word at `at` (after blanks), moving `at` past it.
std::string_view nextWord(std::string_view text, std::size_t& at) {
  while (at < text.size() && isSpace(text[at])) ++at;
  const std::size_t begin = at;
  if (at < text.size() && isNameStart(text[at]))
    while (at < text.size() && lexing::isWordByte(text[at])) ++at;
  return text.substr(begin, at - begin);
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

struct DefineReading {
  SymbolTable& table;
  const HeaderReader& readHeader;
  std::set<std::string> read;  // the headers already read

  void include(std::string_view folder, std::string_view name) {
    const auto path = headerPath(folder, name);
    if (!path || !readHeader || read.size() >= kMaxHeaders || !read.insert(*path).second) return;
    if (const auto text = readHeader(*path)) readText(*text, folderOf(*path));
  }

  void directive(std::string_view line, std::string_view folder) {
    const std::string code = directiveCode(line);
    std::size_t at = code.find('#') + 1;
    const std::string_view keyword = nextWord(code, at);
    if (keyword == "include") {
      while (at < code.size() && isSpace(code[at])) ++at;
      const std::size_t close = code.find('"', at + 1);
      if (at < code.size() && code[at] == '"' && close != std::string::npos)
        include(folder, std::string_view(code).substr(at + 1, close - at - 1));
      return;
    }
    if (keyword != "define" && keyword != "undef") return;
    const std::string_view name = nextWord(code, at);
    if (name.empty()) return;
    if (keyword == "undef") {
      table.undefine(name);
    } else if (at >= code.size() || code[at] != '(') {
      table.define(name, trimSpace(std::string_view(code).substr(at)));
    }
  }

  void readText(std::string_view raw, std::string_view folder) {
    const std::string text = withCrLf(raw);
    Lexer lexer(text);
    for (Token t = lexer.next(); t.kind != TokenKind::End; t = lexer.next())
      if (t.kind == TokenKind::Directive) directive(t.of(text), folder);
  }
};

// The expression reader. Tokens come from a stack of texts: the expression, then the
// definitions of the names being replaced, innermost last.
class Evaluator {
 public:
  Evaluator(const SymbolTable* symbols, Evaluation& out) : symbols_(symbols), out_(out) {}

  std::optional<std::uint32_t> run(std::string_view text, std::uint32_t base) {
    sources_.push_back({text, 0, {}});
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
    std::size_t at = 0;
    std::string name;  // the name whose definition this is; "" for the expression
  };

  static std::optional<std::uint32_t> numberValue(std::string_view word) {
    while (!word.empty() && (upperByte(word.back()) == 'L' || upperByte(word.back()) == 'U'))
      word.remove_suffix(1);
    unsigned radix = 10;
    if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
      radix = 16;
      word.remove_prefix(2);
    } else if (word.size() > 2 && word[0] == '0' && (word[1] == 'o' || word[1] == 'O')) {
      radix = 8;
      word.remove_prefix(2);
    }
    if (word.empty()) return std::nullopt;
    std::uint32_t value = 0;  // wraps past 32 bits, as the compiler's arithmetic does
    for (char c : word) {
      const char u = upperByte(c);
      const unsigned digit = u >= '0' && u <= '9'   ? u - '0'
                             : u >= 'A' && u <= 'F' ? u - 'A' + 10
                                                    : 99;
      if (digit >= radix) return std::nullopt;
      value = value * radix + digit;
    }
    return value;
  }

  bool replacing(std::string_view name) const {
    return std::any_of(sources_.begin(), sources_.end(),
                       [&](const Source& s) { return s.name == name; });
  }

  // The next token, names with a definition replaced by the tokens of their definition.
  void advance() {
    for (;;) {
      if (++tokens_ > kMaxTokens) failed_ = true;
      if (failed_) {
        token_ = {Kind::Bad, {}, 0};
        return;
      }
      Source& s = sources_.back();
      while (s.at < s.text.size() && isSpace(s.text[s.at])) ++s.at;
      if (s.at >= s.text.size()) {
        if (sources_.size() == 1) {
          token_ = {Kind::End, {}, 0};
          return;
        }
        sources_.pop_back();
        continue;
      }
      const std::size_t begin = s.at;
      const char c = s.text[begin];
      if (lexing::isWordByte(c)) {
        while (s.at < s.text.size() && lexing::isWordByte(s.text[s.at])) ++s.at;
        const std::string_view word = s.text.substr(begin, s.at - begin);
        if (!isNameStart(c)) {
          const auto value = numberValue(word);
          token_ = {value ? Kind::Number : Kind::Bad, word, value.value_or(0)};
          return;
        }
        if (const std::string* definition = symbols_ ? symbols_->find(word) : nullptr;
            definition && !replacing(word)) {
          sources_.push_back({*definition, 0, std::string(word)});
          continue;
        }
        token_ = {Kind::Name, word, 0};
        return;
      }
      ++s.at;
      const bool known = std::string_view("+-*/|&~()").find(c) != std::string_view::npos;
      token_ = {known ? Kind::Punct : Kind::Bad, s.text.substr(begin, 1), 0};
      return;
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
      if (!divide) {
        value *= right;
      } else {
        const auto dividend = static_cast<std::int64_t>(static_cast<std::int32_t>(value));
        const auto divisor = static_cast<std::int64_t>(static_cast<std::int32_t>(right));
        value = divisor == 0 ? 0 : static_cast<std::uint32_t>(dividend / divisor);
      }
    }
    return true;
  }

  bool unary(std::uint32_t& value) {
    if (++depth_ > kMaxDepth) return false;
    bool ok = true;
    if (punct('-') || punct('+') || punct('~')) {
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

void readDefines(std::string_view text, SymbolTable& table, const HeaderReader& readHeader) {
  DefineReading reading{table, readHeader, {}};
  reading.readText(text, "");
}

SymbolTable scriptSymbols(std::string_view text, const std::filesystem::path& scriptPath,
                          std::vector<std::string>* missingHeaders) {
  SymbolTable table;
  if (scriptPath.empty()) {
    readDefines(text, table);
    return table;
  }
  const std::filesystem::path folder = scriptPath.parent_path();
  readDefines(text, table, [&](const std::string& path) -> std::optional<std::string> {
    std::ifstream in(folder / std::filesystem::path(path), std::ios::binary);
    if (!in) {
      if (missingHeaders) missingHeaders->push_back(path);
      return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(in), {});
  });
  return table;
}

std::shared_ptr<const SymbolTable> cachedScriptSymbols(std::string_view text,
                                                       const std::string& fileName) {
  struct Kept {
    std::string fileName;
    std::size_t size = 0;
    std::size_t hash = 0;
    std::shared_ptr<const SymbolTable> table;
  };
  static Kept kept;
  const std::size_t hash = std::hash<std::string_view>{}(text);
  if (!kept.table || kept.fileName != fileName || kept.size != text.size() || kept.hash != hash)
    kept = {fileName, text.size(), hash,
            std::make_shared<const SymbolTable>(scriptSymbols(text, fileName))};
  return kept.table;
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
