// The run-time error record, and failures of the file system mapped onto it.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kolvre {

// What a failure carries to the error handler. Codes follow the system error numbers and
// general classes that the handler's table knows.
struct ErrorRecord {
  int genCode = 0;
  std::optional<int> subCode;
  int osCode = 0;
  std::optional<std::string> subSystem;
  std::optional<std::string> description;
  std::string fileName;
  std::string operation;
  int severity = 2;
  // Where the record was made: the function's name and the line; empty and 0 when not known
  // (a fault caught at the dispatch point).
  std::string function;
  int line = 0;
};

// General classes used for file failures.
inline constexpr int kGenOpen = 21;
inline constexpr int kGenRead = 22;
inline constexpr int kGenWrite = 23;
inline constexpr int kGenCreate = 20;
// Subsystem code for a full disk.
inline constexpr int kSubDiskFull = 2016;

// A failure that abandons the command in progress; the dispatch point hands it to the handler.
class CommandError : public std::runtime_error {
 public:
  explicit CommandError(ErrorRecord record)
      : std::runtime_error(record.description.value_or("comando non riuscito")),
        record_(std::move(record)) {}
  const ErrorRecord& record() const { return record_; }

 private:
  ErrorRecord record_;
};

// A command refused for a reason the user is told in one sentence (";" for a line break):
// nothing was changed. The dispatch point shows the sentence; the batch tool prints it.
class Refusal : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Where a record is made: the calling function and line, filled in by the default arguments of
// `here` (the compilers' builtins, which every compiler the project builds with has, where the
// standard library's source location is not in all of them).
struct CodePlace {
  const char* function = "";
  unsigned line = 0;
  static constexpr CodePlace here(const char* function = __builtin_FUNCTION(),
                                  unsigned line = __builtin_LINE()) {
    return {function, line};
  }
};

// The record for an errno of a failed file operation (`genCode` one of the classes above),
// made where it is called.
ErrorRecord fileErrorRecord(int err, int genCode, std::string fileName, std::string operation,
                            CodePlace where = CodePlace::here());

// A function's name as a report shows it: "loadDocument" of
// "void kolvre::loadDocument(kolvre::Document&, const std::string&)".
std::string shortFunctionName(std::string_view signature);

// The system error number that stands for an errno in the handler's table (0 when none).
int osCodeForErrno(int err);

}  // namespace kolvre

namespace kolvre {

// The sentence that the handler shows for a failure it stops on (file-system failures);
// nothing for the failures it treats otherwise.
std::optional<std::string> stopMessage(const ErrorRecord& record);

}  // namespace kolvre
