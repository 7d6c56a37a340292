#include "document/scanner.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <tuple>

#include "base/text.h"
#include "document/languages.h"
#include "syntax/conditionals.h"
#include "syntax/lexer.h"
#include "syntax/statement_diff.h"
#include "syntax/statements.h"
#include "syntax/syntax_tree.h"

namespace kolvre {

namespace {

// The value of a name written as a number, or nothing for any other name.
std::optional<std::uint64_t> numericName(std::string_view name) {
  if (name.empty() || name.front() < '0' || name.front() > '9') return std::nullopt;
  std::uint64_t value = 0;
  std::size_t i = 0;
  int base = 10;
  if (name.size() > 2 && name[0] == '0' && (name[1] == 'x' || name[1] == 'X')) {
    base = 16;
    i = 2;
  }
  for (; i < name.size(); ++i) {
    const char c = lowerByte(name[i]);
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (digit < 0) {
      // A number may end with L or U, as in C.
      if ((c == 'l' || c == 'u') && i + 1 == name.size()) break;
      return std::nullopt;
    }
    value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
    if (value > 0xFFFFFFFFu) return std::nullopt;
  }
  return value;
}

}  // namespace

bool sameName(std::string_view a, std::string_view b) {
  return equalsIgnoringCase(a, b);
}

namespace {

// An entry's sort key, read once: its name's value when it is a number, its name, its type code
// and its place in the text (for equal keys).
struct SortKey {
  std::optional<std::uint64_t> number;
  std::string_view name;
  ResourceType type = ResourceType::Dialog;
  std::string_view code;
  std::size_t order = 0;
  std::uint32_t language = 0;  // its language's tag, among the tags met
};

// What decides most comparisons of two keys in one integer: a number's value, or a name's
// first eight bytes in upper case, the first the most significant (zeros after a shorter name).
// Two keys whose numbers or names differ here compare as their leads do.
std::uint64_t leadOf(const SortKey& k) {
  if (k.number) return *k.number;
  std::uint64_t lead = 0;
  for (std::size_t i = 0; i < 8; ++i) {
    const unsigned char c =
        i < k.name.size() ? static_cast<unsigned char>(upperByte(k.name[i])) : 0;
    lead = lead << 8 | c;
  }
  return lead;
}

int compareKeys(const SortKey& a, const SortKey& b) {
  if (a.number && b.number) {
    if (*a.number != *b.number) return *a.number < *b.number ? -1 : 1;
  } else if (a.number || b.number) {
    return a.number ? -1 : 1;
  }
  const std::size_t n = std::min(a.name.size(), b.name.size());
  for (std::size_t i = 0; i < n; ++i) {
    const unsigned char p = static_cast<unsigned char>(upperByte(a.name[i]));
    const unsigned char q = static_cast<unsigned char>(upperByte(b.name[i]));
    if (p != q) return p < q ? -1 : 1;
  }
  if (a.name.size() != b.name.size()) return a.name.size() < b.name.size() ? -1 : 1;
  return 0;
}

}  // namespace

int compareNames(std::string_view a, std::string_view b) {
  SortKey x, y;
  x.number = numericName(a);
  x.name = a;
  y.number = numericName(b);
  y.name = b;
  return compareKeys(x, y);
}

ResourceIndex indexResources(std::string_view text, ListedKinds kinds) {
  return indexResources(text, readStatements(text), kinds);
}

std::string stringTableName(std::string_view own, const StatementTree& tree) {
  // Every ID stands before its text: the tokens of the body's entries since the last text,
  // commas left out at its ends; the first and the last such run are the names.
  const std::size_t body = childOfKind(tree, 0, NodeKind::Body);
  if (body == 0) return std::string(kEmptyTableName);
  std::size_t runBegin = std::string_view::npos, runEnd = 0;
  std::string_view first, last;
  for (const std::size_t item : tree.children(body)) {
    const TreeNode& node = tree.nodes[item];
    if (node.kind != NodeKind::StringEntry && node.kind != NodeKind::Unread) continue;
    for (std::size_t i = node.first; i < node.last; ++i) {
      const TreeToken& t = tree.tokens[i];
      if (t.kind == TokenKind::String) {
        if (runBegin != std::string_view::npos) {
          last = own.substr(runBegin, runEnd - runBegin);
          if (first.empty()) first = last;
        }
        runBegin = std::string_view::npos;
        continue;
      }
      if (tokenText(own, t) == ",") continue;
      if (runBegin == std::string_view::npos) runBegin = t.begin;
      runEnd = t.end;
    }
  }
  if (first.empty()) return std::string(kEmptyTableName);
  if (first.data() == last.data()) return std::string(first);
  std::string name(first);
  name += "..";
  name += last;
  return name;
}

std::string stringTableName(std::string_view text, const Statement& s) {
  return stringTableName(s.of(text), readStatementTree(text, s));
}

namespace {

// A string table's name and its own language, from one reading of its tree.
std::pair<std::string, std::optional<std::string>> stringTableEntry(std::string_view text,
                                                                    const Statement& s) {
  const StatementTree tree = readStatementTree(text, s);
  return {stringTableName(s.of(text), tree), ownLanguageTag(s.of(text), tree)};
}

}  // namespace

namespace {

// Sets each entry's flag from `skipped` (skippedStatements of `statements`); see markInactive.
void flagInactive(ResourceIndex& index, const std::vector<Statement>& statements,
                  const std::vector<bool>& skipped, bool fresh);

// indexResources, the statements the compiler skips already found.
ResourceIndex indexWith(std::string_view text, const std::vector<Statement>& statements,
                        ListedKinds kinds, const std::vector<bool>& skipped) {
  const bool all = kinds == ListedKinds::All;
  const auto indexed = [all](const Statement& s) {
    return !s.fromHeader && (s.listed || (all && (s.kind == StatementKind::Resource ||
                                                  s.kind == StatementKind::StringTable)));
  };
  // String tables' names are made first: the sort keys look into them.
  std::vector<std::pair<std::string, std::optional<std::string>>> tables;
  for (const Statement& s : statements)
    if (indexed(s) && s.kind == StatementKind::StringTable)
      tables.push_back(stringTableEntry(text, s));
  std::vector<SortKey> keys;
  keys.reserve(statements.size());
  // The language tags met, each once (a script has a few): the neutral one first.
  std::vector<std::string> tags{std::string()};
  const auto tagNumber = [&tags](std::string tag) {
    const auto it = std::find(tags.begin(), tags.end(), tag);
    if (it != tags.end()) return static_cast<std::uint32_t>(it - tags.begin());
    tags.push_back(std::move(tag));
    return static_cast<std::uint32_t>(tags.size() - 1);
  };
  // The tags of the last top-level LANGUAGE statement: the last the compiler keeps, for what it
  // keeps; the last of all, for what it skips (the language it would have were its branch kept).
  std::uint32_t kept = 0, any = 0;
  std::size_t table = 0;
  for (std::size_t i = 0; i < statements.size(); ++i) {
    const Statement& s = statements[i];
    const bool isSkipped = i < skipped.size() && skipped[i];
    if (s.kind == StatementKind::Language) {
      any = tagNumber(languageTagOf(s.of(text)));
      if (!isSkipped) kept = any;
    }
    const std::uint32_t current = isSkipped ? any : kept;
    if (!indexed(s)) continue;
    const ResourceType type = *entryType(s, text);
    const bool isTable = s.kind == StatementKind::StringTable;
    const std::string_view name = isTable ? std::string_view(tables[table].first) : s.name(text);
    const std::string_view code = type == ResourceType::Other ? s.type(text) : typeCode(type);
    // A string table sorts by its first ID where that is a number, among the numbered names.
    const std::string_view number =
        s.kind == StatementKind::StringTable ? name.substr(0, name.find("..")) : name;
    std::optional<std::string> own =
        isTable ? std::move(tables[table++].second) : ownLanguageTag(text, s);
    keys.push_back({numericName(number), name, type, code, s.begin,
                    own ? tagNumber(std::move(*own)) : current});
  }
  // The keys are sorted through their leads, the names compared whole only where those agree.
  struct Lead {
    bool named;
    std::uint64_t lead;
    std::uint32_t key;
  };
  std::vector<Lead> leads;
  leads.reserve(keys.size());
  for (std::size_t i = 0; i < keys.size(); ++i)
    leads.push_back({!keys[i].number, leadOf(keys[i]), static_cast<std::uint32_t>(i)});
  std::sort(leads.begin(), leads.end(), [&keys](const Lead& x, const Lead& y) {
    if (x.named != y.named) return y.named;
    if (x.lead != y.lead) return x.lead < y.lead;
    const SortKey& a = keys[x.key];
    const SortKey& b = keys[y.key];
    if (const int c = compareKeys(a, b); c != 0) return c < 0;
    if (a.code != b.code) return a.code < b.code;
    return a.order < b.order;
  });
  ResourceIndex index;
  index.reserve(keys.size());
  for (const Lead& lead : leads) {
    const SortKey& key = keys[lead.key];
    index.emplace_back(std::string(key.name), key.type, key.order,
                       key.type == ResourceType::Other ? std::string(key.code) : std::string(),
                       tags[key.language]);
  }
  flagInactive(index, statements, skipped, true);
  return index;
}

}  // namespace

ResourceIndex indexResources(std::string_view text, const std::vector<Statement>& statements,
                             ListedKinds kinds, const HeaderReader& headers) {
  return indexWith(text, statements, kinds, skippedStatements(text, statements, headers));
}

namespace {

// The statements the index holds.
bool isIndexed(const Statement& s, ListedKinds kinds) {
  return !s.fromHeader &&
         (s.listed || (kinds == ListedKinds::All && (s.kind == StatementKind::Resource ||
                                                     s.kind == StatementKind::StringTable)));
}

// The entry of one indexed statement, in the language `current` unless it names its own.
IndexEntry entryOf(std::string_view text, const Statement& s, const std::string& current) {
  const ResourceType type = *entryType(s, text);
  std::string name;
  std::optional<std::string> own;
  if (s.kind == StatementKind::StringTable) {
    std::tie(name, own) = stringTableEntry(text, s);
  } else {
    name = std::string(s.name(text));
    own = ownLanguageTag(text, s);
  }
  std::string typeWord = type == ResourceType::Other ? std::string(s.type(text)) : std::string();
  return IndexEntry(std::move(name), type, s.begin, std::move(typeWord),
                    own ? std::move(*own) : current);
}

// The index's order: the sort of indexResources.
bool entryBefore(const IndexEntry& a, const IndexEntry& b) {
  SortKey x, y;
  const auto keyOf = [](const IndexEntry& e, SortKey& k) {
    k.name = e.name;
    const std::string_view number = e.type == ResourceType::StringTable
                                        ? std::string_view(e.name).substr(0, e.name.find(".."))
                                        : std::string_view(e.name);
    k.number = numericName(number);
  };
  keyOf(a, x);
  keyOf(b, y);
  if (const int c = compareKeys(x, y); c != 0) return c < 0;
  if (a.code() != b.code()) return a.code() < b.code();
  if (a.inactive != b.inactive) return b.inactive;
  return a.offset < b.offset;
}

}  // namespace

void markInactive(ResourceIndex& index, std::string_view text,
                  const std::vector<Statement>& statements, const HeaderReader& headers) {
  markInactive(index, text, statements, headers, false);
}

void markInactive(ResourceIndex& index, std::string_view text,
                  const std::vector<Statement>& statements, const HeaderReader& headers,
                  bool fresh) {
  // Only a script with conditional sections is read for them.
  flagInactive(index, statements, skippedStatements(text, statements, headers), fresh);
}

namespace {

void flagInactive(ResourceIndex& index, const std::vector<Statement>& statements,
                  const std::vector<bool>& skipped, bool fresh) {
  // Where the skipped statements begin: few, searched for each entry.
  std::vector<std::size_t> skippedAt;
  for (std::size_t i = 0; i < skipped.size(); ++i)
    if (skipped[i]) skippedAt.push_back(statements[i].begin);
  // An index without a flag (a fresh one) is left as it is when nothing is skipped.
  if (skippedAt.empty() && (fresh || std::none_of(index.begin(), index.end(),
                                                  [](const IndexEntry& e) { return e.inactive; })))
    return;
  bool changed = false;
  for (IndexEntry& e : index) {
    const bool inactive =
        !skippedAt.empty() && std::binary_search(skippedAt.begin(), skippedAt.end(), e.offset);
    changed = changed || inactive != e.inactive;
    e.inactive = inactive;
  }
  if (changed && !std::is_sorted(index.begin(), index.end(), entryBefore))
    std::stable_sort(index.begin(), index.end(), entryBefore);
}

}  // namespace

void updateIndex(ResourceIndex& index, std::string_view before,
                 const std::vector<Statement>& beforeStatements, std::string_view after,
                 const std::vector<Statement>& afterStatements, ListedKinds kinds) {
  updateIndex(index, before, beforeStatements, after, afterStatements, kinds,
              matchStatements(before, beforeStatements, after, afterStatements, kMostIndexMatched));
}

void updateIndex(ResourceIndex& index, std::string_view before,
                 const std::vector<Statement>& beforeStatements, std::string_view after,
                 const std::vector<Statement>& afterStatements, ListedKinds kinds,
                 const StatementMatch& match, const HeaderReader& headers, bool sectionsKept) {
  const std::size_t first = match.first, beforeEnd = match.beforeEnd, afterEnd = match.afterEnd;
  const auto moved =
      static_cast<std::ptrdiff_t>(after.size()) - static_cast<std::ptrdiff_t>(before.size());
  const auto& pairs = match.pairs;
  const bool found = match.found;
  // A change anywhere can change what a condition further on finds.
  const std::vector<bool> skipped = skippedStatements(after, afterStatements, headers);
  // A LANGUAGE statement read again, or moved, changes the language of the entries after it;
  // so does a preprocessor line, in a script with conditional sections, that may now keep or
  // skip one.
  const auto changesLanguages = [&skipped, sectionsKept](const Statement& s) {
    return s.kind == StatementKind::Language ||
           (s.kind == StatementKind::Directive && !skipped.empty() && !sectionsKept);
  };
  bool rebuild = !found;
  for (std::size_t i = first; i < beforeEnd && !rebuild; ++i)
    rebuild = changesLanguages(beforeStatements[i]);
  for (std::size_t i = first; i < afterEnd && !rebuild; ++i)
    rebuild = changesLanguages(afterStatements[i]);
  if (rebuild) {
    index = indexWith(after, afterStatements, kinds, skipped);
    return;
  }
  // Where each statement between them went: its offset in `after`, or npos where it is read
  // again, in the order of their offsets in `before`.
  std::vector<std::pair<std::size_t, std::size_t>> went;
  went.reserve(beforeEnd - first);
  std::vector<bool> kept(afterEnd - first, false);
  std::size_t p = 0;
  for (std::size_t i = first; i < beforeEnd; ++i) {
    std::size_t to = std::string_view::npos;
    if (p < pairs.size() && pairs[p].first == i) {
      to = afterStatements[pairs[p].second].begin;
      kept[pairs[p].second - first] = true;
      ++p;
    }
    went.emplace_back(beforeStatements[i].begin, to);
  }
  const std::size_t tailFrom = beforeEnd < beforeStatements.size()
                                   ? beforeStatements[beforeEnd].begin
                                   : std::string_view::npos;
  std::erase_if(index, [&](IndexEntry& e) {
    if (e.offset >= tailFrom) {
      e.offset = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(e.offset) + moved);
      return false;
    }
    const auto at = std::lower_bound(went.begin(), went.end(),
                                     std::pair<std::size_t, std::size_t>(e.offset, 0));
    if (at == went.end() || at->first != e.offset) return false;  // in the head
    if (at->second == std::string_view::npos) return true;
    e.offset = at->second;
    return false;
  });
  // Namesakes keep their text order: a block that moved past one sorts again.
  if (!std::is_sorted(index.begin(), index.end(), entryBefore))
    std::stable_sort(index.begin(), index.end(), entryBefore);
  // The language the statements read again stand in, unless they name their own.
  // (Where the script holds conditional sections, the compiler's and that of the skipped ones.)
  std::optional<std::string> current, currentSkipped;
  for (std::size_t i = first; i-- > 0 && !(current && (currentSkipped || skipped.empty()));) {
    if (afterStatements[i].kind != StatementKind::Language) continue;
    if (!currentSkipped) currentSkipped = languageTagOf(afterStatements[i].of(after));
    if (!current && (skipped.empty() || !skipped[i])) current = currentSkipped;
  }
  for (std::size_t j = first; j < afterEnd; ++j) {
    if (kept[j - first] || !isIndexed(afterStatements[j], kinds)) continue;
    const bool isSkipped = !skipped.empty() && skipped[j];
    IndexEntry entry =
        entryOf(after, afterStatements[j], (isSkipped ? currentSkipped : current).value_or(""));
    index.insert(std::upper_bound(index.begin(), index.end(), entry, entryBefore),
                 std::move(entry));
  }
  flagInactive(index, afterStatements, skipped, false);
}

}  // namespace kolvre
