#include "checks/compile.h"

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <regex>

#include "base/text.h"
#include "document/blocks.h"
#include "messages/messages.h"
#include "syntax/positions.h"
#include "syntax/statements.h"

namespace kolvre {

namespace fs = std::filesystem;

namespace {

bool isExecutable(const fs::path& file) {
  std::error_code ec;
  return fs::is_regular_file(file, ec) && ::access(file.c_str(), X_OK) == 0;
}

std::string fileNameOf(std::string_view path) {
  return fs::path(std::string(path)).filename().string();
}

bool sameFile(const std::string& printed, const std::string& script) {
  if (printed == script) return true;
  std::error_code ec;
  return fs::equivalent(printed, script, ec);
}

// The severity words a message may begin with, and what they mean.
struct SeverityWord {
  std::string_view word;
  std::optional<Severity> severity;  // none: the line is left out (a note)
};
constexpr SeverityWord kCompilerPrintsSeverities[] = {
    {"fatal error: ", Severity::Error},
    {"error: ", Severity::Error},
    {"warning: ", Severity::Warning},
    {"note: ", std::nullopt},
};

// What only sums up the messages before it.
constexpr std::string_view kCompilerPrintsSummaries[] = {"preprocessing failed.",
                                                         "compilation terminated."};

// llvm-rc says "Error ..." and "Warning ..." without a colon.
constexpr std::string_view kCompilerPrintsWarning = "Warning";

// Takes the severity word off `text`; false for a line to leave out.
bool takeSeverity(std::string& text, Severity& severity) {
  for (const SeverityWord& s : kCompilerPrintsSeverities) {
    if (text.compare(0, s.word.size(), s.word) != 0) continue;
    if (!s.severity) return false;
    severity = *s.severity;
    text.erase(0, s.word.size());
    return true;
  }
  severity = Severity::Error;
  return true;
}

bool startsWithSeverity(std::string_view text) {
  for (const SeverityWord& s : kCompilerPrintsSeverities)
    if (s.severity && text.substr(0, s.word.size()) == s.word) return true;
  return false;
}

bool isSummary(std::string_view text) {
  for (std::string_view s : kCompilerPrintsSummaries)
    if (equalsIgnoringCase(text, s)) return true;
  return false;
}

}  // namespace

std::string findProgram(std::string_view name, std::string_view searchPath) {
  if (name.empty()) return {};
  if (name.find('/') != std::string_view::npos)
    return isExecutable(fs::path(std::string(name))) ? std::string(name) : std::string();
  std::size_t from = 0;
  while (from <= searchPath.size()) {
    std::size_t to = searchPath.find(':', from);
    if (to == std::string_view::npos) to = searchPath.size();
    // An empty folder in PATH is the current one.
    const std::string folder(to > from ? searchPath.substr(from, to - from) : ".");
    const fs::path candidate = fs::path(folder) / std::string(name);
    if (isExecutable(candidate)) return candidate.string();
    from = to + 1;
  }
  return {};
}

CompilerKind compilerKindOf(std::string_view program) {
  return fileNameOf(program).find("llvm-rc") != std::string::npos ? CompilerKind::LlvmRc
                                                                  : CompilerKind::Windres;
}

std::optional<CompilerSetup> chooseCompiler(std::string_view setting, std::string_view searchPath,
                                            const std::string& headers) {
  CompilerSetup setup;
  if (!setting.empty()) {
    setup.program = findProgram(setting, searchPath);
  } else {
    for (std::string_view name : kCompilerNames)
      if (setup.program.empty()) setup.program = findProgram(name, searchPath);
  }
  if (setup.program.empty()) return std::nullopt;
  setup.kind = compilerKindOf(setup.program);
  if (setup.kind == CompilerKind::Windres) {
    // windres runs "<its prefix>gcc -E"; a cross windres without its cross compiler is given
    // the system's preprocessor instead.
    const std::string name = fileNameOf(setup.program);
    const std::size_t at = name.rfind("windres");
    const std::string prefix = at == std::string::npos ? std::string() : name.substr(0, at);
    if (findProgram(prefix + "gcc", searchPath).empty())
      setup.preprocessor = findProgram("cpp", searchPath);
  }
  std::error_code ec;
  if (!headers.empty() && fs::is_directory(headers, ec)) setup.headers = headers;
  return setup;
}

std::vector<std::string> compilerArguments(const CompilerSetup& setup, const std::string& script,
                                           const std::string& output) {
  std::string folder = fs::path(script).parent_path().string();
  if (folder.empty()) folder = ".";
  std::vector<std::string> args;
  if (setup.kind == CompilerKind::LlvmRc) {
    args = {"/I", folder};
    if (!setup.headers.empty()) args.insert(args.end(), {"/I", setup.headers});
    args.insert(args.end(), {"/FO", output, script});
    return args;
  }
  args = {"--include-dir=" + folder};
  if (!setup.headers.empty()) args.push_back("--include-dir=" + setup.headers);
  if (!setup.preprocessor.empty()) {
    // The system's preprocessor knows nothing of the platform: say what its own would.
    args.insert(args.end(), {"--preprocessor=" + setup.preprocessor, "-DRC_INVOKED", "-D_WIN32"});
  }
  args.insert(args.end(), {"--input-format=rc", "--output-format=res", "-i", script, "-o", output});
  return args;
}

std::vector<CompileMessage> parseCompilerOutput(std::string_view output,
                                                const std::string& script) {
  static const std::regex located(R"(^(.+?):(\d+)(?::\d+)?:\s*(.*)$)");
  static const std::regex including(R"(^\s*(?:In file included )?from (.+?):(\d+)(?::\d+)?[,:]$)");
  // A program's name, or its path as it was started: "/usr/bin/llvm-rc: ".
  static const std::regex programPrefix(R"(^((?:/[^:\s]*/)?[A-Za-z0-9_.+-]+): (.*)$)");
  static const std::regex continuation(R"(^error : (.*)$)");
  std::vector<CompileMessage> messages;
  std::optional<int> includedAt;  // the script's #include line of the header a message is in
  bool chainOpen = false;
  std::size_t from = 0;
  while (from < output.size()) {
    std::size_t end = output.find('\n', from);
    if (end == std::string_view::npos) end = output.size();
    std::string line(output.substr(from, end - from));
    from = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::smatch m;
    if (std::regex_match(line, m, including)) {
      if (!chainOpen) includedAt.reset();
      chainOpen = true;
      if (sameFile(m[1].str(), script)) includedAt = std::stoi(m[2].str());
      continue;
    }
    const bool chained = chainOpen;
    chainOpen = false;
    if (std::regex_match(line, m, continuation)) {
      // llvm-rc's reason under its "Error in ICON statement (ID A): " line.
      if (!messages.empty() && !messages.back().text.empty() && messages.back().text.back() == ' ')
        messages.back().text += m[1].str();
      else
        messages.push_back({std::nullopt, Severity::Error, m[1].str(), {}, std::nullopt});
      continue;
    }
    std::string rest = line;
    bool prefixed = false;
    if (std::regex_match(line, m, programPrefix)) {
      const std::string word = m[1].str();
      if (word != "note" && word != "warning" && word != "error") {
        rest = m[2].str();
        prefixed = true;
      }
    }
    CompileMessage message;
    std::smatch at;
    if (std::regex_match(rest, at, located)) {
      message.text = at[3].str();
      if (sameFile(at[1].str(), script)) {
        message.line = std::stoi(at[2].str());
      } else {
        message.otherFile = fileNameOf(at[1].str()) + ":" + at[2].str();
        if (chained) message.line = includedAt;
      }
    } else if (prefixed || startsWithSeverity(rest)) {
      message.text = rest;
    } else {
      continue;  // the source echoed under a message, its caret, a count of errors
    }
    if (!takeSeverity(message.text, message.severity) || isSummary(message.text)) continue;
    if (message.text.starts_with(kCompilerPrintsWarning)) message.severity = Severity::Warning;
    if (message.text.empty() && !prefixed) continue;
    messages.push_back(std::move(message));
  }
  return messages;
}

std::optional<std::size_t> entryAtLine(std::string_view text, const ResourceIndex& index,
                                       int line) {
  if (line < 1) return std::nullopt;
  const std::size_t begin = lineStart(text, static_cast<std::size_t>(line));
  if (begin >= text.size()) return std::nullopt;
  const std::vector<Statement> statements = readStatements(text);
  for (std::size_t i = 0; i < index.size(); ++i) {
    const auto block = blockAt(statements, index[i].offset);
    if (block && begin >= block->begin && begin < block->end) return i;
    // The header's line holds the statement even where it does not start at the line's start.
    if (block && index[i].offset >= begin && index[i].offset < lineEndAt(text, begin)) return i;
  }
  return std::nullopt;
}

void mapToResources(std::vector<CompileMessage>& messages, std::string_view text,
                    const ResourceIndex& index) {
  static const std::regex kCompilerPrintsNamedStatement(
      R"(Error in (\w+) statement \(ID ([^)]*)\))");
  for (CompileMessage& message : messages) {
    std::optional<std::size_t> position;
    std::smatch m;
    if (message.line) {
      position = entryAtLine(text, index, *message.line);
    } else if (std::regex_search(message.text, m, kCompilerPrintsNamedStatement)) {
      for (std::size_t i = 0; i < index.size() && !position; ++i)
        if (equalsIgnoringCase(index[i].name, m[2].str()) &&
            m[1].str().rfind(std::string(index[i].keyword()), 0) == 0)
          position = i;
    }
    if (position) message.resource = keyAt(index, *position);
  }
}

namespace {

std::string counted(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

// The compiler's output file: in the temporary folder, named for this process and this moment.
std::string temporaryOutput() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
  const std::string name =
      "kolvre-compila-" + std::to_string(::getpid()) + "-" + std::to_string(now) + ".res";
  std::error_code ec;
  fs::path folder = fs::temp_directory_path(ec);
  if (ec) folder = "/tmp";
  return (folder / name).string();
}

}  // namespace

std::optional<CompileReport> compileScript(UserInterface& ui, const Document& doc,
                                           const std::function<bool()>& save) {
  const std::string& script = doc.fileName();
  if (script.empty()) {
    inform(ui, "Il file di risorse non ha ancora un nome: salvarlo prima di compilarlo.");
    return std::nullopt;
  }
  bool diskCopy = false;
  std::error_code ec;
  if (!fs::exists(script, ec)) {
    if (!showMessage(ui,
                     "Il file di risorse non è ancora stato salvato.;Salvarlo ora per compilarlo?",
                     MessageKind::YesNo)
             .accepted() ||
        !save())
      return std::nullopt;
  } else if (hasUnsavedChanges(doc)) {
    const int answer = showMessage(ui,
                                   "Il file di risorse ha modifiche non salvate.;Salvarlo prima "
                                   "di compilarlo? (No: si compila il file com'è su disco)",
                                   MessageKind::YesNoCancel)
                           .button;
    if (answer == kIdCancel) return std::nullopt;
    if (answer == kIdYes && !save()) return std::nullopt;
    diskCopy = answer == kIdNo;
  }

  const std::string setting = ui.readSetting(kCompilerSection, kCompilerKey, "");
  const char* path = std::getenv("PATH");
  const std::optional<CompilerSetup> setup = chooseCompiler(setting, path ? path : "");
  if (!setup) {
    if (setting.empty())
      inform(ui, "Nessun compilatore di risorse trovato (windres o llvm-rc).");
    else
      inform(ui, "Il compilatore di risorse indicato nelle impostazioni ([Compilatore] RC=" +
                     setting + ") non si trova.");
    return std::nullopt;
  }
  const std::string output = temporaryOutput();
  std::string printed;
  const int code =
      ui.runCapturing(setup->program, compilerArguments(*setup, script, output), printed);
  fs::remove(output, ec);
  if (code == -1 && printed.empty()) {
    inform(ui, "Impossibile avviare il compilatore di risorse " + setup->program + ".");
    return std::nullopt;
  }

  CompileReport report;
  report.messages = parseCompilerOutput(printed, script);
  std::size_t errors = 0;
  for (const CompileMessage& m : report.messages)
    if (m.severity == Severity::Error) ++errors;
  if (code != 0 && errors == 0) {
    // A failure without a message of its own: the exit code, and the last line printed.
    std::string last = printed;
    while (!last.empty() && (last.back() == '\n' || last.back() == '\r')) last.pop_back();
    last = last.substr(last.rfind('\n') == std::string::npos ? 0 : last.rfind('\n') + 1);
    report.messages.push_back({std::nullopt,
                               Severity::Error,
                               "Il compilatore è terminato con il codice " + std::to_string(code) +
                                   (last.empty() ? "." : ": " + last),
                               {},
                               std::nullopt});
    ++errors;
  }
  mapToResources(report.messages, doc.text(), doc.index());
  const std::size_t warnings = report.messages.size() - errors;
  if (code == 0 && report.messages.empty())
    report.status = "Compilato senza errori.";
  else if (code == 0)
    report.status = "Compilato con " + counted(warnings, "avviso.", "avvisi.");
  else
    report.status = "Compilazione non riuscita: " + counted(errors, "errore", "errori") + ", " +
                    counted(warnings, "avviso.", "avvisi.");
  report.compiler = fileNameOf(setup->program);
  if (diskCopy) report.status += " Compilato il file su disco, senza le modifiche non salvate.";
  return report;
}

}  // namespace kolvre
