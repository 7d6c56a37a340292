#include "shell/error_handler.h"

#include <filesystem>

#include "document/document.h"
#include "document/script_file.h"
#include "messages/messages.h"

namespace kolvre {

namespace {

// General classes the handler treats apart from the file-system rows.
constexpr int kGenShowAndStop = 1001;  // raised to show its description and stop
constexpr int kGenDivisionByZero = 5;  // the operation may give 0 instead
constexpr int kGenLockFailed = 40;     // a lock the operation may go without
// System error numbers of a file held by another process or refused.
constexpr int kOsSharingViolation = 32;
constexpr int kOsAccessDenied = 5;

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
  POPMSG(ui, text, MsgKind::Info);
  ErrorOutcome outcome;
  outcome.action = ErrorAction::Stop;
  outcome.text = std::move(text);
  return outcome;
}

ErrorOutcome carryOn(DefaultResult result, bool sharingFailure) {
  ErrorOutcome outcome;
  outcome.action = ErrorAction::Continue;
  outcome.result = result;
  outcome.sharingFailure = sharingFailure;
  return outcome;
}

}  // namespace

std::string ERRORMESSAGE(const ErrorRecord& record, const ErrorOrigin& origin) {
  std::string text = record.severity > 1 ? "Error " : "Warning ";
  text += record.subSystem.value_or("???");
  text += record.subCode ? "/" + std::to_string(*record.subCode) : "/???";
  if (record.description) text += "  " + *record.description;
  if (!record.fileName.empty())
    text += ": " + record.fileName;
  else if (!record.operation.empty())
    text += ": " + record.operation;
  text += ";Function: " + origin.function + "  Line: " + std::to_string(origin.line);
  return text;
}

std::string reportMailLink(std::string_view executablePath, std::string_view report) {
  return "mailto:?subject=Rapporto di errore&body=Applicazione: " +
         mailText(executablePath, "%3B") + "%0d%0a%0d%0a" + mailText(report, "%0d%0a");
}

ErrorOutcome DEFERROR(UserInterface& ui, const ErrorRecord& record, const Document* document,
                      std::string_view executablePath, const ErrorOrigin& origin) {
  if (std::optional<std::string> sentence = stopMessage(record))
    return stop(ui, std::move(*sentence));
  if (record.genCode == kGenShowAndStop) return stop(ui, ERRORMESSAGE(record, origin));
  if (record.genCode == kGenDivisionByZero) return carryOn(DefaultResult::Zero, false);
  const bool heldOrRefused =
      record.osCode == kOsSharingViolation || record.osCode == kOsAccessDenied;
  if (record.canDefault &&
      ((record.genCode == kGenOpen && heldOrRefused) || record.genCode == kGenLockFailed))
    return carryOn(DefaultResult::False, true);

  ErrorOutcome outcome;
  outcome.action = ErrorAction::Fatal;
  outcome.text = ERRORMESSAGE(record, origin);
  if (document) outcome.text += recoverUnsavedChanges(*document, outcome.recoveryFile);
  if (POPMSG(ui, outcome.text + std::string(kReportQuestion), MsgKind::OkCancel).accepted())
    ui.openUrl(reportMailLink(executablePath, outcome.text));
  return outcome;
}

}  // namespace kolvre
