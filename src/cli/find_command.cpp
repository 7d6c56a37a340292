// The batch tool's find: a text looked for across the resources of a script, one match a line or
// a JSON array.
#include <ostream>

#include "cli/commands.h"
#include "resources/find.h"
#include "syntax/positions.h"

namespace kolvre::cli {

namespace {

// A field of a line: tabs and line ends would split it, so they become blanks.
std::string field(std::string_view text) {
  std::string out(text);
  for (char& ch : out)
    if (ch == '\t' || ch == '\r' || ch == '\n') ch = ' ';
  return out;
}

// The place as the panel shows it: the word of what holds the text, then which one.
std::string placeText(const FindMatch& m) {
  std::string out(foundInWord(m.in));
  if (!m.place.empty()) out += " " + m.place;
  return out;
}

void printJson(std::ostream& out, const Document& doc, const std::vector<FindMatch>& matches) {
  out << '[';
  for (std::size_t i = 0; i < matches.size(); ++i) {
    const FindMatch& m = matches[i];
    out << (i == 0 ? "\n" : ",\n") << "  {\"type\": " << jsonString(m.type)
        << ", \"resource\": " << jsonString(m.name)
        << ", \"language\": " << (m.language.empty() ? std::string("null") : jsonString(m.language))
        << ", \"place\": " << jsonString(placeText(m))
        << ", \"line\": " << lineNumberAt(doc.text(), m.offset) << ", \"offset\": " << m.offset
        << ", \"text\": " << jsonString(m.context) << ", \"match\": [" << m.matchBegin << ", "
        << m.matchBegin + m.matchLength << "]}";
  }
  out << (matches.empty() ? "]\n" : "\n]\n");
}

}  // namespace

int cmdFind(Context& c) {
  std::vector<std::string> args = c.args;
  const auto jsonAt = std::find(args.begin(), args.end(), "--json");
  const bool json = jsonAt != args.end();
  if (json) args.erase(jsonAt);
  if (args.size() != 2 || args[1].empty()) return kUsage;
  Document doc;
  if (!openScript(c, args[0], doc)) return kFailed;
  const SymbolTable symbols = scriptSymbols(doc.text(), doc.fileName());
  const std::vector<FindMatch> matches = findInResources(doc, &symbols, args[1]);
  if (json) {
    printJson(c.out, doc, matches);
  } else {
    for (const FindMatch& m : matches)
      c.out << field(m.type + " " + m.name) << '\t' << field(placeText(m)) << '\t'
            << field(m.context) << '\n';
  }
  return matches.empty() ? kFailed : kOk;
}

}  // namespace kolvre::cli
