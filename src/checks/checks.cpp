#include "checks/checks.h"

#include <algorithm>
#include <memory>

#include "checks/check_context.h"
#include "checks/dialog_checks.h"
#include "checks/script_checks.h"
#include "checks/translations.h"
#include "syntax/vocabulary.h"

namespace kolvre {

Finding findingAt(const CheckContext& context, std::size_t entry, CheckRule rule,
                  std::string message) {
  Finding found;
  found.rule = rule;
  found.resource = keyAt(context.index, entry);
  found.language = context.index[entry].language;
  found.offset = context.index[entry].offset;
  found.message = std::move(message);
  return found;
}

namespace {

// Headers of the system's development kit that scripts include in quotes: the compiler finds
// them on its own include path, not in the script's folder, and the names they define that
// dialogs use (styles, IDOK, IDC_STATIC) are known without them.
constexpr std::string_view kSystemHeaders[] = {
    "afxres.h",  "commctrl.h", "dlgs.h",   "prsht.h",   "richedit.h", "shlobj.h",  "winbase.h",
    "windef.h",  "windows.h",  "wingdi.h", "winnls.h",  "winnt.h",    "winres.h",  "winresrc.h",
    "winuser.h", "winuser.rh", "winver.h", "verrsrc.h", "ntverp.h",   "common.ver"};

bool isSystemHeader(std::string_view path) {
  const std::size_t slash = path.find_last_of("/\\");
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  for (std::string_view known : kSystemHeaders)
    if (sameName(known, name)) return true;
  return false;
}

// Whether the preprocessor line `line`, read into `tree`, includes `header` in quotes: its name
// as the symbols take it, a doubled backslash one, each backslash a slash.
bool includes(std::string_view line, const StatementTree& tree, std::string_view header) {
  if (tree.nodes[0].kind != NodeKind::Include || tree.nodes.size() < 2) return false;
  const TreeNode& field = tree.nodes[1];
  if (field.first == field.last || tree.tokens[field.first].kind != TokenKind::String) return false;
  const TreeToken& name = tree.tokens[field.first];
  // A wide or an open string names no header.
  const auto inside = quotedText(line.substr(name.begin, name.end - name.begin));
  if (!inside) return false;
  const std::string_view quoted = *inside;
  std::string path;
  for (std::size_t i = 0; i < quoted.size(); ++i) {
    if (quoted[i] == '\\' && i + 1 < quoted.size() && quoted[i + 1] == '\\') ++i;
    path += quoted[i] == '\\' ? '/' : quoted[i];
  }
  return path == header;
}

// Where the script includes `header` in quotes (a preprocessor line of its own or one inside a
// resource); 0 when no line does.
std::size_t includeAt(const CheckContext& c, std::string_view header) {
  for (std::size_t i = 0; i < c.statements.size(); ++i) {
    const Statement& s = c.statements[i];
    if (s.kind == StatementKind::Comment) continue;
    const StatementTree& tree = c.tree.statementTree(c.text, i);
    if (s.kind == StatementKind::Directive) {
      if (includes(s.of(c.text), tree, header)) return s.begin;
      continue;
    }
    for (const TreeToken& t : tree.tokens) {
      if (t.kind != TokenKind::Directive) continue;
      const Statement line = lineInside(s, t);
      if (includes(line.of(c.text), readStatementTree(c.text, line), header)) return line.begin;
    }
  }
  return 0;
}

// One script read for the checks: what its context refers to, and its dialogs.
struct ScriptRun {
  ScriptRun(std::string_view text, const std::string& fileName, const FontMeasure* measure,
            bool utf16File, const HeaderTexts* kept = nullptr)
      : tree(text),
        index(indexResources(text, tree.statements(), ListedKinds::All,
                             fileName.empty() ? HeaderReader() : headerReaderFor(fileName, kept))),
        symbols(scriptSymbols(text, fileName, &missingHeaders, kept)),
        context{text, tree, tree.statements(), index, &symbols, fileName, measure, utf16File},
        dialogs(readCheckedDialogs(context)) {
    std::erase_if(missingHeaders, isSystemHeader);
  }
  ScriptRun(const ScriptRun&) = delete;

  const DialogUnderCheck* dialogNamed(std::string_view name) const {
    for (const DialogUnderCheck& d : dialogs)
      if (sameName(index[d.entry].name, name)) return &d;
    return nullptr;
  }

  SyntaxTree tree;
  ResourceIndex index;
  std::vector<std::string> missingHeaders;  // declared before the symbols that fill it
  SymbolTable symbols;
  CheckContext context;
  std::vector<DialogUnderCheck> dialogs;
};

// The script's own findings; a dialog whose name `earlier` holds is compared with that one
// instead of with its first language here.
std::vector<Finding> findingsOf(const ScriptRun& run,
                                const std::vector<const ScriptRun*>& earlier) {
  const CheckContext& context = run.context;
  std::vector<Finding> found = checkScriptResources(context);
  for (const DialogUnderCheck& checked : run.dialogs) {
    const IndexEntry& entry = run.index[checked.entry];
    const Finding frame = findingAt(context, checked.entry, CheckRule::OutsideClient, {});
    std::vector<Finding> own = checkDialog(checked, context.measure, frame);
    found.insert(found.end(), own.begin(), own.end());
    const DialogUnderCheck* original = nullptr;
    std::string originalLanguage;
    for (const ScriptRun* other : earlier) {
      if ((original = other->dialogNamed(entry.name))) {
        originalLanguage = other->index[original->entry].language;
        break;
      }
    }
    if (!original) {
      const std::vector<std::size_t> same = translationEntries(run.index, checked.entry);
      if (same.front() == checked.entry) continue;
      for (const DialogUnderCheck& d : run.dialogs)
        if (d.entry == same.front()) original = &d;
      if (!original) continue;
      originalLanguage = run.index[original->entry].language;
    }
    std::vector<Finding> compared =
        compareTranslation(*original, originalLanguage, checked, context.measure, frame);
    found.insert(found.end(), compared.begin(), compared.end());
  }
  preferTranslationFindings(found);
  // Without a header the script includes, its symbols cannot be judged: the header is the
  // finding, once.
  if (!run.missingHeaders.empty())
    std::erase_if(found, [](const Finding& f) { return f.rule == CheckRule::UndefinedSymbol; });
  for (const std::string& header : run.missingHeaders) {
    Finding f;
    f.rule = CheckRule::MissingFile;
    f.offset = includeAt(context, header);
    f.message =
        "Intestazione non trovata: " + header + "; i simboli che definisce non sono controllati.";
    found.push_back(std::move(f));
  }
  // In the order of the text; each resource's findings in the order the rules gave them.
  std::stable_sort(found.begin(), found.end(),
                   [](const Finding& a, const Finding& b) { return a.offset < b.offset; });
  return found;
}

}  // namespace

std::vector<Finding> checkScript(std::string_view text, const std::string& fileName,
                                 const FontMeasure* measure, bool utf16File,
                                 const HeaderTexts* kept) {
  const ScriptRun run(text, fileName, measure, utf16File, kept);
  return findingsOf(run, {});
}

std::vector<std::vector<Finding>> checkScripts(const std::vector<ScriptSource>& scripts,
                                               const FontMeasure* measure) {
  std::vector<std::unique_ptr<ScriptRun>> runs;
  std::vector<const ScriptRun*> earlier;
  std::vector<std::vector<Finding>> found;
  for (const ScriptSource& script : scripts) {
    runs.push_back(
        std::make_unique<ScriptRun>(script.text, script.fileName, measure, script.utf16File));
    found.push_back(findingsOf(*runs.back(), earlier));
    earlier.push_back(runs.back().get());
  }
  return found;
}

}  // namespace kolvre
