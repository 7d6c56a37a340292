#include "cli/commands.h"

#include <cstdio>

#include "document/document_commands.h"
#include "document/resource_commands.h"
#include "document/resource_edits.h"
#include "messages/messages.h"
#include "syntax/encoding.h"

namespace kolvre::cli {

namespace {

// Where the index holds NAME (UTF-8, as typed) of TYPE; nothing (with the message) when it is
// not there.
std::optional<std::size_t> findResource(Context& c, const Document& doc, const std::string& name,
                                        const std::string& typeWord) {
  std::optional<ResourceKey> key = keyForHeader(doc.scriptBytes(name), typeWord);
  std::optional<std::size_t> at;
  if (key) {
    key->occurrence = c.nth - 1;
    at = findEntry(doc.index(), *key);
  }
  if (!at) {
    c.err << "Risorsa " << name;
    if (c.nth > 1) c.err << " numero " << c.nth;
    c.err << " non trovata.\n";
  }
  return at;
}

// The block of the entry at `position`; nothing (with the message) when it cannot be located.
std::optional<BlockExtent> findBlock(Context& c, const Document& doc, std::size_t position) {
  auto block = entryBlock(doc.statements(), doc.index(), position);
  if (!block) c.err << unlocatableMessage(doc.display(doc.index()[position].name)) << "\n";
  return block;
}

}  // namespace

bool openScript(Context& c, const std::string& file, Document& doc) {
  if (!fileExists(file)) {
    c.err << "Impossibile trovare il file " << file << ".\n";
    return false;
  }
  loadDocument(doc, file);
  return true;
}

std::optional<ResourceType> parseType(std::string_view word) {
  for (const auto& info : kResourceTypes)
    if (!word.empty() && (word == info.keyword || word == info.code)) return info.type;
  return std::nullopt;
}

// Takes "OPTION VALUE" out of the arguments; false when the option has no value.
bool takeOption(std::vector<std::string>& args, std::string_view option,
                std::optional<std::string>& value) {
  const auto at = std::find(args.begin(), args.end(), option);
  if (at == args.end()) return true;
  if (at + 1 == args.end()) return false;
  value = *(at + 1);
  args.erase(at, at + 2);
  return true;
}

// A JSON string: quotes, backslashes and control characters escaped; bytes that are no UTF-8
// read as Windows-1252 characters, so the output is always UTF-8.
std::string jsonString(std::string_view text) {
  const std::string utf8 = toDisplay(text, TextEncoding::Utf8);
  std::string out = "\"";
  for (const char ch : utf8) {
    const auto byte = static_cast<unsigned char>(ch);
    switch (ch) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (byte < 0x20) {
          char escaped[7];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
          out += escaped;
        } else {
          out += ch;
        }
    }
  }
  return out + "\"";
}

int commitAndSave(Context& c, Document& doc, const Edit& edit) {
  if (!doc.commit(edit)) return kOk;
  return writeDocument(c.ui, doc) ? kOk : kFailed;
}

int onResource(Context& c,
               const std::function<int(Document&, std::size_t, const BlockExtent&)>& command) {
  if (c.args[2].empty()) return kUsage;
  Document doc;
  if (!openScript(c, c.args[0], doc)) return kFailed;
  const auto position = findResource(c, doc, c.args[1], c.args[2]);
  if (!position) return kFailed;
  const auto block = findBlock(c, doc, *position);
  if (!block) return kFailed;
  return command(doc, *position, *block);
}

bool parseCount(const std::string& text, std::size_t& count) {
  if (text.empty() || text.size() > 9) return false;
  count = 0;
  for (char ch : text) {
    if (ch < '0' || ch > '9') return false;
    count = count * 10 + static_cast<std::size_t>(ch - '0');
  }
  return count >= 1;
}

}  // namespace kolvre::cli
