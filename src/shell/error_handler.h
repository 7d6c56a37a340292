// The run-time error handler: a sentence and an abandoned command for file-system failures, a
// quiet default for a few others, and an e-mail report and the end of the program for the rest.
#pragma once

#include <string>
#include <string_view>

#include "messages/error_record.h"
#include "platform/user_interface.h"

namespace kolvre {

class Document;

// Where the failure was raised, for the report's "Function:" line; unknown by default.
struct ErrorOrigin {
  std::string function = "???";
  int line = 0;
};

enum class ErrorAction {
  Stop,      // the sentence was shown; abandon the command, the document stays as it is
  Continue,  // the failing operation gives `ErrorOutcome::result` and the command goes on
  Fatal,     // the report was offered; the program ends now (exit code 0)
};

// What a failing operation that continues gives instead of failing.
enum class DefaultResult { None, Zero, False };

struct ErrorOutcome {
  ErrorAction action = ErrorAction::Fatal;
  DefaultResult result = DefaultResult::None;
  // Continue with false: the operation counts as having failed on a file another process holds.
  bool sharingFailure = false;
  std::string text;          // Stop: the sentence shown; Fatal: the report
  std::string recoveryFile;  // Fatal: where unsaved changes were written ("" when nowhere)
};

inline constexpr std::string_view kReportQuestion = ";;Inviare rapporto di errore via email?";

// ERRORMESSAGE: the technical description of a failure, ";" separating its lines.
std::string ERRORMESSAGE(const ErrorRecord& record, const ErrorOrigin& origin = {});

// The mail link that carries a report: no recipient, the executable's path and the report in the
// body. "&" becomes "%26" and ";" a line break ("%0d%0a"); "%" and "#" are escaped too, so that a
// file name holding them can neither garble nor cut the body.
std::string reportMailLink(std::string_view executablePath, std::string_view report);

// DEFERROR: handles one failure that a command did not catch. Rows of file-system failures stop
// with a sentence; a division by zero continues with 0; an open or lock failure that may default
// continues with false; anything else is fatal. Before the fatal report, a document (when given)
// whose text differs from its file on disk is written beside it, to the file name +
// ".recovered" (never over an existing file), and the report says where.
ErrorOutcome DEFERROR(UserInterface& ui, const ErrorRecord& record, const Document* document,
                      std::string_view executablePath, const ErrorOrigin& origin = {});

}  // namespace kolvre
