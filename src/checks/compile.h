// "Compila" (F7): a real resource compiler (windres or llvm-rc) run on the saved script, its
// errors and warnings read back with their line numbers and the resource that holds each line.
// Everything here is text and arithmetic; the program runs through UserInterface::runCapturing.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "checks/findings.h"
#include "document/document.h"
#include "document/edit.h"
#include "platform/user_interface.h"

namespace kolvre {

enum class CompilerKind { Windres, LlvmRc };

// The compilers looked for on the PATH, in this order, when the settings name none: windres
// first, since it gives a line number for every syntax error (llvm-rc names none for its own).
inline constexpr std::array<std::string_view, 3> kCompilerNames{
    "windres", "x86_64-w64-mingw32-windres", "llvm-rc"};

// The settings key that names the compiler (a path or a program name): [Compilatore] RC=.
inline constexpr std::string_view kCompilerSection = "Compilatore";
inline constexpr std::string_view kCompilerKey = "RC";
// Where the platform's headers stand when the MinGW headers are installed.
inline constexpr std::string_view kMingwHeaders = "/usr/share/mingw-w64/include";

// `name` as the shell finds it: a name with a "/" as it stands, any other in the folders of
// `searchPath` (a PATH value). The path of an executable file, or "" when there is none.
std::string findProgram(std::string_view name, std::string_view searchPath);

// windres or llvm-rc, by the program's file name.
CompilerKind compilerKindOf(std::string_view program);

// Everything one compiler run needs besides the script.
struct CompilerSetup {
  std::string program;  // the compiler's path
  CompilerKind kind = CompilerKind::Windres;
  // The preprocessor windres is given, where the one it would run is missing (its own cross
  // compiler); empty: windres runs its own.
  std::string preprocessor;
  std::string headers;  // the platform's headers; empty when not installed
};

// The compiler named in the settings (`setting`, empty for none), else the first of
// kCompilerNames on `searchPath`; with windres, its preprocessor when its own is missing, and
// the headers at `headers` when they exist. Nothing when no compiler is found.
std::optional<CompilerSetup> chooseCompiler(
    std::string_view setting, std::string_view searchPath,
    const std::string& headers = std::string(kMingwHeaders));

// The compiler's arguments for `script`, with its folder on the include path, writing `output`.
std::vector<std::string> compilerArguments(const CompilerSetup& setup, const std::string& script,
                                           const std::string& output);

// One line of what a compiler printed.
struct CompileMessage {
  std::optional<int> line;  // in the script; none for a message without one
  Severity severity = Severity::Error;
  std::string text;  // as printed, without the file, line and severity
  // The file the message is about, when that is not the script (a header it includes).
  std::string otherFile;
  std::optional<ResourceKey> resource;  // the resource the message is about, once mapped
  bool operator==(const CompileMessage&) const = default;
};

// Reads what windres, llvm-rc and their preprocessors (cpp, clang) printed compiling `script`:
// "file:line[:column]: [fatal error|error|warning:] text" lines, llvm-rc's "llvm-rc: Error ..."
// lines and "error : ..." continuations. The source echo and summary lines are left out. A
// message in a header the script includes takes the line of the script's #include. A program's
// name before a message ("llvm-rc: ") is taken off.
std::vector<CompileMessage> parseCompilerOutput(std::string_view output, const std::string& script);

// The index entry whose text span holds line `line` (from 1) of `text`; nothing between
// resources.
std::optional<std::size_t> entryAtLine(std::string_view text, const ResourceIndex& index, int line);

// Maps each message to its resource: by its line, or by the statement llvm-rc names ("Error in
// ICON statement (ID A)").
void mapToResources(std::vector<CompileMessage>& messages, std::string_view text,
                    const ResourceIndex& index);

struct CompileReport {
  std::vector<CompileMessage> messages;
  std::string status;    // "Compilato senza errori." and the like
  std::string compiler;  // the compiler's file name
};

// The whole command on `doc`'s script: asks to save unsaved changes first (`save` saves; No
// compiles the file on disk as it stands, and the status says so), finds the compiler (the
// settings' RC key, else the PATH), runs it into a temporary file that is removed, and reads its
// messages. Nothing when the command stopped (cancelled, no file, no compiler, the compiler
// could not start): the user has been told why.
std::optional<CompileReport> compileScript(UserInterface& ui, const Document& doc,
                                           const std::function<bool()>& save);

}  // namespace kolvre
