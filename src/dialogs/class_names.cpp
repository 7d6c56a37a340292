#include "dialogs/class_names.h"

#include "base/text.h"
#include "syntax/vocabulary.h"

namespace kolvre {

namespace {

// Script names followed from one to the next at most this many times.
constexpr int kMaxHops = 32;

const ClassMacro* classMacro(std::string_view name) {
  for (const ClassMacro& row : kClassMacros)
    if (row.macro == name) return &row;
  if (name.ends_with('A') || name.ends_with('W')) {
    name.remove_suffix(1);
    for (const ClassMacro& row : kClassMacros)
      if (row.macro == name) return &row;
  }
  return nullptr;
}

}  // namespace

std::string namedClass(std::string_view field, const SymbolTable* symbols) {
  field = trimSpace(field);
  std::string_view text = field;
  for (int hop = 0; hop < kMaxHops; ++hop) {
    if (const auto inner = quotedText(text, true)) return std::string(*inner);
    if (const ClassMacro* row = classMacro(text)) return std::string(row->className);
    const std::string* value = symbols ? symbols->find(text) : nullptr;
    if (!value) break;
    text = trimSpace(*value);
  }
  const Evaluation number = evaluate(field, symbols);
  if (number.value && number.undefined.empty())
    for (const ClassMacro& row : kClassMacros)
      if (row.ordinal != 0 && row.ordinal == *number.value) return std::string(row.className);
  return std::string(field);
}

}  // namespace kolvre
