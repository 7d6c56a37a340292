#include "shell/error_handler.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "document/document.h"
#include "messages/messages.h"
#include "support/replace_text.h"
#include "support/scripted_ui.h"
#include "support/temp_dir.h"

namespace kolvre {
namespace {

using testing::replaceText;
using testing::ScriptedUi;
using testing::TempDir;

constexpr std::string_view kExe = "/opt/kolvre/kolvre";

ErrorRecord record(int genCode, int osCode = 0, std::optional<int> subCode = std::nullopt) {
  ErrorRecord r;
  r.genCode = genCode;
  r.osCode = osCode;
  r.subCode = subCode;
  r.subSystem = "FILE";
  r.description = "guasto";
  r.fileName = "a.rc";
  return r;
}

TEST(DefError, EachRowOfTheTable) {
  using enum ErrorAction;
  const std::string fatal = "Error FILE/???  guasto: a.rc";
  const std::tuple<const char*, ErrorRecord, ErrorAction, std::string> rows[] = {
      {"1", record(kGenOpen, 21), Stop, "Disco a.rc non pronto."},
      {"2", record(kGenOpen, 27), Stop, "Disco a.rc non formattato."},
      {"2", record(kGenOpen, 31), Stop, "Disco a.rc non formattato."},
      {"3", record(kGenWrite, 19), Stop, "Disco a.rc protetto da scrittura."},
      {"4", record(kGenCreate, 82), Stop, "Directory a.rc piena."},
      {"5", record(kGenWrite, 0, kSubDiskFull), Stop, "Spazio sul disco a.rc insufficiente."},
      {"6", record(kGenOpen, 5), Stop, "Impossibile accedere al file a.rc."},
      {"7", record(kGenOpen, 3), Stop, "Percorso a.rc non trovato."},
      {"8", record(kGenOpen, 2), Stop, "Impossibile aprire il file a.rc."},
      {"9", record(kGenRead, 0, 1012), Stop, "Il file a.rc risulta corrotto."},
      {"9", record(32), Stop, "Il file a.rc risulta corrotto."},
      // No failure continues quietly or shows its description alone: a class nothing raises
      // (a division by zero, a lock, a file held by another process) ends like any other.
      {"division by zero", record(5), Fatal, fatal},
      {"held by another process", record(kGenOpen, 32), Fatal, fatal},
      {"lock", record(40), Fatal, fatal},
      {"show and stop", record(1001, 0, 7), Fatal, "Error FILE/7  guasto: a.rc"},
      {"any other", record(12), Fatal, fatal},
  };
  for (const auto& [what, rec, action, text] : rows) {
    ScriptedUi ui;
    ui.buttons = {kIdCancel};  // the fatal report's question
    const ErrorOutcome out = handleError(ui, rec, nullptr, kExe);
    EXPECT_EQ(out.action, action) << what;
    EXPECT_EQ(out.text, text) << what;
    // A stop shows its sentence, a fatal end its question.
    ASSERT_EQ(ui.messages.size(), 1u) << what;
    if (action == Stop) {
      EXPECT_EQ(ui.messages[0].text, messageLines(text)) << what;
    }
    EXPECT_EQ(ui.messages[0].kind, action == Stop ? MessageKind::Info : MessageKind::OkCancel)
        << what;
  }
}

TEST(ErrorMessage, Texts) {
  ErrorRecord bare;  // severity 2, no subsystem, subcode, description, file or operation
  ErrorRecord warning = bare;
  warning.severity = 1;
  warning.subSystem = "BASE";
  warning.subCode = 1081;
  warning.description = "Argument error";
  warning.operation = "+";
  ErrorRecord withFile = warning;
  withFile.fileName = "C:\\x.rc";
  ErrorRecord emptyDescription = bare;
  emptyDescription.description = "";
  ErrorRecord located = warning;
  located.function = "reorderScript";
  located.line = 42;
  // "?\?" keeps "??/" from reading as a trigraph. Where the record was made shows only when
  // it is known.
  const std::pair<ErrorRecord, const char*> rows[] = {
      {bare, "Error ?\?\?/???"},
      {located, "Warning BASE/1081  Argument error: +;Function: reorderScript  Line: 42"},
      {withFile, "Warning BASE/1081  Argument error: C:\\x.rc"},
      {emptyDescription, "Error ?\?\?/???  "},
  };
  for (const auto& [rec, expected] : rows) EXPECT_EQ(errorDescription(rec), expected);
}

TEST(ErrorRecords, SayWhereTheyWereMade) {
  const int line = __LINE__ + 1;
  const ErrorRecord made = fileErrorRecord(ENOENT, kGenOpen, "a.rc", "apertura");
  EXPECT_EQ(made.line, line);
  EXPECT_EQ(made.function, "TestBody");
  EXPECT_NE(errorDescription(made).find(";Function: TestBody  Line: " + std::to_string(line)),
            std::string::npos);
  EXPECT_EQ(shortFunctionName("void kolvre::loadDocument(kolvre::Document&, const std::string&)"),
            "loadDocument");
  EXPECT_EQ(shortFunctionName("int main(int, char**)"), "main");
  EXPECT_EQ(shortFunctionName("bool kolvre::{anonymous}::f()"), "f");
  EXPECT_EQ(shortFunctionName("g"), "g");
  EXPECT_EQ(shortFunctionName(""), "");
}

TEST(ReportMail, EscapesTheBody) {
  EXPECT_EQ(reportMailLink("/opt/k&r/kolvre", "Error A&B;Function: X  Line: 1"),
            "mailto:?subject=Rapporto di errore&body=Applicazione: /opt/k%26r/kolvre"
            "%0d%0a%0d%0aError A%26B%0d%0aFunction: X  Line: 1");
  // A percent sign or a hash in a file name neither makes a false escape nor ends the body.
  EXPECT_EQ(reportMailLink("/k", "100%;#1"),
            "mailto:?subject=Rapporto di errore&body=Applicazione: /k%0d%0a%0d%0a"
            "100%25%0d%0a%231");
}

TEST(FatalReport, OkSendsTheMailCancelDoesNot) {
  ErrorRecord r = record(12, 0, 1);
  r.function = "F";
  r.line = 9;
  const std::string report = "Error FILE/1  guasto: a.rc;Function: F  Line: 9";
  for (const int button : {kIdOk, kIdCancel}) {
    ScriptedUi ui;
    ui.buttons = {button};
    const ErrorOutcome out = handleError(ui, r, nullptr, kExe);
    EXPECT_EQ(out.action, ErrorAction::Fatal);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              messageLines(report + ";;Inviare rapporto di errore via email?"));
    EXPECT_EQ(ui.beeps, 1);
    if (button == kIdOk) {
      EXPECT_EQ(ui.urls, std::vector<std::string>{reportMailLink(kExe, report)});
    } else {
      EXPECT_TRUE(ui.urls.empty());
    }
  }
}

// Unsaved changes written beside the script before the fatal end.
struct Recovery {
  TempDir dir;
  Document doc;
  std::string script;
  Recovery() {
    script = dir.write("a.rc", "A DIALOG\r\n{\r\n}\r\n");
    doc.load(script, TempDir::read(script));
  }
  ErrorOutcome fail() {
    ScriptedUi ui;
    ui.buttons = {kIdOk};
    ErrorOutcome out = handleError(ui, record(12), &doc, kExe);
    mailed = ui.urls.empty() ? "" : ui.urls[0];
    return out;
  }
  std::string mailed;
};

TEST(FatalReport, OnlyAChangedDocumentIsWrittenBesideTheScript) {
  Recovery r;
  ErrorOutcome out = r.fail();
  EXPECT_EQ(out.recoveryFile, "");
  EXPECT_EQ(out.text.find("modifiche"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(r.script + ".recovered"));

  replaceText(r.doc, r.doc.text() + "B ICON \"b.ico\"\r\n");
  out = r.fail();
  EXPECT_EQ(out.recoveryFile, r.script + ".recovered");
  EXPECT_EQ(TempDir::read(out.recoveryFile), r.doc.diskBytes());
  EXPECT_EQ(TempDir::read(r.script), "A DIALOG\r\n{\r\n}\r\n");
  EXPECT_TRUE(out.text.ends_with(";Le modifiche non salvate sono state scritte nel file " +
                                 out.recoveryFile + "."))
      << out.text;
  EXPECT_NE(r.mailed.find("%0d%0aLe modifiche non salvate"), std::string::npos) << r.mailed;
}

TEST(FatalReport, NeverWritesOverAnExistingFileOrThroughALink) {
  Recovery r;
  replaceText(r.doc, "changed");
  r.dir.write("a.rc.recovered", "earlier recovery");
  std::filesystem::create_symlink(r.script, r.script + ".recovered-2");
  const ErrorOutcome out = r.fail();
  EXPECT_EQ(out.recoveryFile, r.script + ".recovered-3");
  EXPECT_EQ(TempDir::read(out.recoveryFile), "changed");
  EXPECT_EQ(TempDir::read(r.script + ".recovered"), "earlier recovery");
  EXPECT_EQ(TempDir::read(r.script), "A DIALOG\r\n{\r\n}\r\n");
}

TEST(FatalReport, AFailedRecoveryIsReported) {
  Recovery r;
  replaceText(r.doc, "changed");
  r.doc.setFileName(r.dir.file("gone/a.rc"));  // its folder does not exist
  const ErrorOutcome out = r.fail();
  EXPECT_EQ(out.recoveryFile, "");
  EXPECT_NE(out.text.find(";Impossibile scrivere le modifiche non salvate"), std::string::npos)
      << out.text;
}

}  // namespace
}  // namespace kolvre
