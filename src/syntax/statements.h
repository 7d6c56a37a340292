// The top-level statements of a script, read as a resource compiler reads them: every resource
// statement of every type, string tables, LANGUAGE, VERSION and CHARACTERISTICS, preprocessor
// lines and comments. Their extents cover the text in order, with only white space between.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "syntax/lexer.h"
#include "syntax/resource_types.h"

namespace kolvre {

enum class StatementKind : std::uint8_t {
  Resource,         // NAME TYPE ...
  StringTable,      // STRINGTABLE ... { ... }
  Language,         // LANGUAGE x, y
  Version,          // VERSION n
  Characteristics,  // CHARACTERISTICS n
  Directive,        // a preprocessor line
  Comment,          // a comment outside every statement
  Other,            // what no statement reads: the tokens up to the line end
};

// How a resource type's statement ends.
enum class BodyRule : std::uint8_t {
  Required,    // a body in { } or BEGIN END always follows its header statements
  FileOrBody,  // a file name, or a body
};

// The resource types the compilers predefine, as words of the script.
struct ResourceKeyword {
  std::string_view word;
  BodyRule body;
  ResourceType kind;  // the list's kind (Other for the types without a kind of their own)
};
inline constexpr std::array<ResourceKeyword, 21> kResourceKeywords{{
    {"ACCELERATORS", BodyRule::Required, ResourceType::Accelerators},
    {"ANICURSOR", BodyRule::FileOrBody, ResourceType::Other},
    {"ANIICON", BodyRule::FileOrBody, ResourceType::Other},
    {"BITMAP", BodyRule::FileOrBody, ResourceType::Bitmap},
    {"CURSOR", BodyRule::FileOrBody, ResourceType::Cursor},
    {"DIALOG", BodyRule::Required, ResourceType::Dialog},
    {"DIALOGEX", BodyRule::Required, ResourceType::Dialog},
    {"DLGINCLUDE", BodyRule::FileOrBody, ResourceType::Other},
    {"DLGINIT", BodyRule::Required, ResourceType::DlgInit},
    {"FONT", BodyRule::FileOrBody, ResourceType::Font},
    {"HTML", BodyRule::FileOrBody, ResourceType::Html},
    {"ICON", BodyRule::FileOrBody, ResourceType::Icon},
    {"MENU", BodyRule::Required, ResourceType::Menu},
    {"MENUEX", BodyRule::Required, ResourceType::MenuEx},
    {"MESSAGETABLE", BodyRule::FileOrBody, ResourceType::MessageTable},
    {"PLUGPLAY", BodyRule::FileOrBody, ResourceType::Other},
    {"RCDATA", BodyRule::FileOrBody, ResourceType::RcData},
    {"TEXTINCLUDE", BodyRule::Required, ResourceType::TextInclude},
    {"TOOLBAR", BodyRule::Required, ResourceType::Toolbar},
    {"VERSIONINFO", BodyRule::Required, ResourceType::VersionInfo},
    {"VXD", BodyRule::FileOrBody, ResourceType::Other},
}};

// The predefined type a word names (whole word, any case), or nothing.
const ResourceKeyword* resourceKeyword(std::string_view word);

// A word that starts no resource name: the statement words and the body's delimiters.
bool isReservedWord(std::string_view word);

// Memory options between a resource's type and its file or body (PRELOAD, DISCARDABLE, ...).
bool isMemoryOption(std::string_view word);

// The kind of a resource's type as written, among the six the editor creates: a keyword of one
// of them, 24 or RT_MANIFEST. Nothing for any other type.
std::optional<ResourceType> listedType(std::string_view typeWord);

// The list's kind of a resource's type as written: listedType, else the kind of its keyword,
// else Other (a number, an RT_ name or a user-defined type).
ResourceType typeOfWord(std::string_view typeWord);

struct Statement {
  std::size_t begin = 0;  // the first byte: a resource's name
  std::size_t end = 0;    // after its last token: the closing "}" or END, or the file name
  StatementKind kind = StatementKind::Other;
  // Resources: the type as written, [typeBegin, typeEnd); the name is [begin, nameEnd).
  std::size_t nameEnd = 0;
  std::size_t typeBegin = 0;
  std::size_t typeEnd = 0;
  // The kind among the six the editor creates (listedType): the blocks the reorder sorts.
  std::optional<ResourceType> listed;
  // A resource or string table whose body was never closed, or that names no file: it runs
  // to the next statement at a line start, and the commands that need its end say so.
  bool complete = true;
  // No preprocessor line inside but whole conditional sections: the statement can move
  // without changing what the lines around it compile to.
  bool selfContained = true;
  DirectiveKind directive = DirectiveKind::Other;  // directives: which kind
  // In preprocessed input, a statement from a header's text: after a line marker naming a
  // header (marksHeader), before the next line marker. Never listed.
  bool fromHeader = false;

  std::string_view of(std::string_view text) const { return text.substr(begin, end - begin); }
  std::string_view name(std::string_view text) const { return text.substr(begin, nameEnd - begin); }
  std::string_view type(std::string_view text) const {
    return text.substr(typeBegin, typeEnd - typeBegin);
  }
};

// The list's kind of a resource or string table statement; nothing for other statements.
std::optional<ResourceType> entryType(const Statement& s, std::string_view text);

// Every top-level statement of the text, in text order.
std::vector<Statement> readStatements(std::string_view text);

// The statements of `after`, given those of `before` (readStatements(before)): equal to
// readStatements(after), read again only from the last statement before the first changed byte
// that the change cannot reach, and only until the reading meets the old one again in the bytes
// both texts end with.
std::vector<Statement> rereadStatements(std::string_view before,
                                        const std::vector<Statement>& statements,
                                        std::string_view after);

// What a resource or string table holds after its type and header statements, as the reader
// read it: the delimiters of its body, or where its file name begins (tokens whose newLine is
// not noted).
struct ResourceContent {
  std::optional<Token> opener;    // "{" or BEGIN
  std::optional<Token> closer;    // "}" or END: the statement's last token; none when left open
  std::optional<Token> fileName;  // the first token of the file name, when there is no body
};

// The content of the statement `s` of `text` (one readStatements(text) gave). Only its header is
// read again: the closer is where the statement ends. Nothing for other statements.
ResourceContent resourceContent(std::string_view text, const Statement& s);

// The file name of the statement `s` of `text` as written, from its first token `first` (the
// content's fileName): a string in double quotes alone (`quoted`), else the tokens from `first`
// that follow one another with nothing between them, within the statement (a path's words,
// dots and backslashes: `..\res\app.ico`).
struct WrittenFileName {
  std::string_view text;
  bool quoted = false;
};
WrittenFileName fileNameAsWritten(std::string_view text, const Statement& s, const Token& first);

// True when the word `word` (a whole word, any letter case) stands among the code tokens of the
// resource or string table `s` of `text` after its type, before its body opens (comments and
// strings are no words): a header statement's keyword such as LANGUAGE. A look through the
// lexer's tokens, far cheaper than reading the statement's tree. False for other statements.
bool headerHoldsWord(std::string_view text, const Statement& s, std::string_view word);

}  // namespace kolvre
