#include "shell/error_handler.h"

#include <filesystem>

#include "document/document.h"
#include "document/script_file.h"
#include "messages/messages.h"

namespace kolvre {

namespace {

// A report's text made safe for the body of a mail link; `lineBreak` stands for ";".
std::string mailText(std::string_view text, std::string_view lineBreak) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '%':
        out += "%25";
        break;
      case '&':
        out += "%26";
        break;
      case '#':
        out += "%23";
        break;
      case ';':
        out += lineBreak;
        break;
      default:
        out += c;
    }
  }
  return out;
}

bool pathTaken(const std::string& path) {
  std::error_code ec;
  return std::filesystem::exists(std::filesystem::symlink_status(path, ec));
}

// The first name beside the script, from its name + ".recovered", that no file (or link) holds
// yet, so that neither the script nor an earlier recovery is ever written over.
std::string freeRecoveryName(const std::string& fileName) {
  const std::string base = fileName + ".recovered";
  if (!pathTaken(base)) return base;
  for (int n = 2; n < 100; ++n) {
    const std::string candidate = base + "-" + std::to_string(n);
    if (!pathTaken(candidate)) return candidate;
  }
  return {};
}

// Saves the changes a fatal end would lose; the report line that says where, or "".
std::string recoverUnsavedChanges(const Document& document, std::string& recoveryFile) {
  if (document.fileName().empty() || !hasUnsavedChanges(document)) return {};
  const std::string target = freeRecoveryName(document.fileName());
  if (!target.empty() && writeFileSafely(target, document.diskBytes()) == 0) {
    recoveryFile = target;
    return ";Le modifiche non salvate sono state scritte nel file " + target + ".";
  }
  return ";Impossibile scrivere le modifiche non salvate in un file accanto a " +
         document.fileName() + ".";
}

ErrorOutcome stop(UserInterface& ui, std::string text) {
  showMessage(ui, text, MessageKind::Info);
  ErrorOutcome outcome;
  outcome.action = ErrorAction::Stop;
  outcome.text = std::move(text);
  return outcome;
}

}  // namespace

std::string errorDescription(const ErrorRecord& record) {
  std::string text = record.severity > 1 ? "Error " : "Warning ";
  text += record.subSystem.value_or("???");
  text += record.subCode ? "/" + std::to_string(*record.subCode) : "/???";
  if (record.description) text += "  " + *record.description;
  if (!record.fileName.empty())
    text += ": " + record.fileName;
  else if (!record.operation.empty())
    text += ": " + record.operation;
  if (!record.function.empty())
    text += ";Function: " + record.function + "  Line: " + std::to_string(record.line);
  return text;
}

std::string reportMailLink(std::string_view executablePath, std::string_view report) {
  return "mailto:?subject=Rapporto di errore&body=Applicazione: " +
         mailText(executablePath, "%3B") + "%0d%0a%0d%0a" + mailText(report, "%0d%0a");
}

ErrorOutcome handleError(UserInterface& ui, const ErrorRecord& record, const Document* document,
                         std::string_view executablePath) {
  if (std::optional<std::string> sentence = stopMessage(record))
    return stop(ui, std::move(*sentence));

  ErrorOutcome outcome;
  outcome.action = ErrorAction::Fatal;
  outcome.text = errorDescription(record);
  if (document) outcome.text += recoverUnsavedChanges(*document, outcome.recoveryFile);
  if (showMessage(ui, outcome.text + std::string(kReportQuestion), MessageKind::OkCancel)
          .accepted())
    ui.openUrl(reportMailLink(executablePath, outcome.text));
  return outcome;
}

}  // namespace kolvre
