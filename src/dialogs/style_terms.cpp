#include "dialogs/style_terms.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <vector>

#include "base/text.h"
#include "dialogs/styles.h"
#include "syntax/symbols.h"

namespace kolvre {

namespace {

struct Term {
  std::size_t begin = 0;  // the term's text, blanks around it left out
  std::size_t end = 0;
  std::uint32_t value = 0;
  bool number = false;
  bool hex = false;
  std::size_t digits = 0;  // hexadecimal digits as written, for the width of a rewritten number
};

std::optional<std::vector<Term>> splitTerms(std::string_view field) {
  std::vector<Term> terms;
  for (const OrTerm& t : orTerms(field)) {
    if (t.negated) return std::nullopt;
    Term term{t.begin, t.end};
    const std::string_view text = t.of(field);
    if (const auto name = compilerNameValue(text)) {
      term.value = *name;
    } else if (const auto number = compilerNumber(text, false)) {
      term.value = *number;
      term.number = true;
      term.hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
      if (term.hex) {
        term.digits = 2;
        while (term.digits < text.size() &&
               std::isxdigit(static_cast<unsigned char>(text[term.digits])))
          ++term.digits;
        term.digits -= 2;
      }
    } else {
      return std::nullopt;
    }
    terms.push_back(term);
  }
  return terms;
}

std::string numberText(const Term& term, std::uint32_t value) {
  char text[16];
  if (term.hex)
    std::snprintf(text, sizeof text, "0x%0*X", static_cast<int>(term.digits),
                  static_cast<unsigned>(value));
  else
    std::snprintf(text, sizeof text, "%u", static_cast<unsigned>(value));
  return text;
}

}  // namespace

std::optional<std::string> restyledField(std::string_view field, std::uint32_t base,
                                         std::uint32_t style, std::uint32_t typeMask,
                                         const StyleNaming& naming) {
  if ((base & ~style) != 0) return std::nullopt;
  const auto terms = splitTerms(field);
  if (!terms) return std::nullopt;
  std::uint32_t before = base;
  for (const Term& term : *terms) before |= term.value;
  const bool kindChanged = (before & typeMask) != (style & typeMask);

  // What each term becomes: kept as written, removed, or (a number) another number.
  std::vector<std::optional<std::uint32_t>> values;
  std::uint32_t covered = base;
  std::size_t lastNumber = terms->size();
  for (std::size_t i = 0; i < terms->size(); ++i) {
    const Term& term = (*terms)[i];
    std::optional<std::uint32_t> value = term.value;
    if (term.number) {
      lastNumber = i;
      value = term.value & style & ~(kindChanged ? typeMask : 0);
    } else if ((term.value & ~style) != 0 ||
               (kindChanged && ((term.value & typeMask) != 0 || term.value == 0))) {
      value.reset();
    }
    if (value) covered |= *value;
    values.push_back(value);
  }
  // The new kind's name takes the place of the old kind's.
  std::vector<std::string> replaced(terms->size());
  bool kindPlaced = false;
  if (kindChanged && lastNumber == terms->size()) {
    const std::uint32_t kind = style & typeMask;
    const std::string names = naming(kind);
    std::string kindName;
    for (std::size_t at = 0; at < names.size() && kindName.empty();) {
      const std::size_t end = std::min(names.find(" | ", at), names.size());
      const std::string_view name = std::string_view(names).substr(at, end - at);
      if (compilerNameValue(name) == kind) kindName = std::string(name);
      at = end + 3;
    }
    for (std::size_t i = 0; i < terms->size() && !kindName.empty() && !kindPlaced; ++i) {
      const Term& term = (*terms)[i];
      if (values[i] || ((term.value & typeMask) == 0 && term.value != 0)) continue;
      values[i] = kind;
      replaced[i] = kindName;
      covered |= kind;
      kindPlaced = true;
    }
  }
  std::uint32_t missing = style & ~covered;
  if (kindChanged && lastNumber == terms->size() && !kindPlaced) missing |= style & typeMask;
  std::string added;
  if (lastNumber < terms->size()) {
    *values[lastNumber] |= missing;
  } else if (missing != 0) {
    // Names of no bits (BS_PUSHBUTTON, SS_LEFT) say nothing, unless they name the new kind.
    const bool zeroKind = kindChanged && !kindPlaced && (style & typeMask) == 0;
    const std::string names = naming(missing);
    for (std::size_t at = 0; at < names.size();) {
      const std::size_t end = std::min(names.find(" | ", at), names.size());
      const std::string_view term = std::string_view(names).substr(at, end - at);
      if (zeroKind || compilerNameValue(term).value_or(0) != 0)
        added += (added.empty() ? "" : " | ") + std::string(term);
      at = end + 3;
    }
    const std::uint32_t named = compileStyle(added.empty() ? "0" : added, 0).value_or(0);
    if ((missing & ~named) != 0) {
      Term hex;
      hex.hex = true;
      hex.digits = 8;
      added += (added.empty() ? "" : " | ") + numberText(hex, missing & ~named);
    }
  }

  // The field with each term rewritten in place; a removed term takes one separator with it.
  std::string out;
  std::size_t copied = 0;
  bool anyLeft = false;
  std::string separator = " | ";
  if (terms->size() > 1)
    separator = std::string(field.substr((*terms)[0].end, (*terms)[1].begin - (*terms)[0].end));
  for (std::size_t i = 0; i < terms->size(); ++i) {
    const Term& term = (*terms)[i];
    const bool drop = !values[i] || (term.number && *values[i] == 0 && terms->size() > 1);
    if (!drop) {
      anyLeft = true;
      if (!replaced[i].empty()) {
        out += field.substr(copied, term.begin - copied);
        out += replaced[i];
        copied = term.end;
      } else if (term.number && *values[i] != term.value) {
        out += field.substr(copied, term.begin - copied);
        out += numberText(term, *values[i]);
        copied = term.end;
      }
      continue;
    }
    // The removed term with the separator after it; the last one with the separator before it,
    // so that the lines of the terms before stay as they were.
    out += field.substr(copied, term.begin - copied);
    if (i + 1 < terms->size()) {
      copied = (*terms)[i + 1].begin;
      continue;
    }
    copied = term.end;
    while (!out.empty() && isSpace(out.back())) out.pop_back();
    if (!out.empty() && out.back() == '|') out.pop_back();
  }
  out += field.substr(copied);
  std::string_view kept = trimSpace(out);
  if (!anyLeft) {
    out = added.empty() ? "0" : added;
  } else if (!added.empty()) {
    out = std::string(kept) + separator + added;
  } else {
    out = std::string(kept);
  }
  // What is written says exactly the new style, or the field is not rewritten this way.
  const auto check = compileStyle(out, base);
  if (!check || *check != style) return std::nullopt;
  return out;
}

}  // namespace kolvre
