// The run-time error handler: a sentence and an abandoned command for file-system failures, a
// quiet default for a few others, and an e-mail report and the end of the program for the rest.
#pragma once

#include <string>
#include <string_view>

#include "messages/error_record.h"
#include "platform/user_interface.h"

namespace kolvre {

class Document;

enum class ErrorAction {
  Stop,   // the sentence was shown; abandon the command, the document stays as it is
  Fatal,  // the report was offered; the program ends now (exit code 0)
};

struct ErrorOutcome {
  ErrorAction action = ErrorAction::Fatal;
  std::string text;          // Stop: the sentence shown; Fatal: the report
  std::string recoveryFile;  // Fatal: where unsaved changes were written ("" when nowhere)
};

inline constexpr std::string_view kReportQuestion = ";;Inviare rapporto di errore via email?";

// errorDescription: the technical description of a failure, ";" separating its lines; the last
// line says where the record was made, when that is known.
std::string errorDescription(const ErrorRecord& record);

// The mail link that carries a report: no recipient, the executable's path and the report in the
// body. "&" becomes "%26" and ";" a line break ("%0d%0a"); "%" and "#" are escaped too, so that a
// file name holding them can neither garble nor cut the body.
std::string reportMailLink(std::string_view executablePath, std::string_view report);

// handleError: handles one failure that a command did not catch. Rows of file-system failures stop
// with a sentence; anything else is fatal. Before the fatal report, a document (when given)
// whose text differs from its file on disk is written beside it, to the file name +
// ".recovered" (never over an existing file), and the report says where.
ErrorOutcome handleError(UserInterface& ui, const ErrorRecord& record, const Document* document,
                         std::string_view executablePath);

}  // namespace kolvre
