#include "shell/error_handler.h"

#include <gtest/gtest.h>

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

ErrorRecord record(int genCode, int osCode = 0, std::optional<int> subCode = std::nullopt,
                   bool canDefault = false) {
  ErrorRecord r;
  r.genCode = genCode;
  r.osCode = osCode;
  r.subCode = subCode;
  r.canDefault = canDefault;
  r.subSystem = "FILE";
  r.description = "guasto";
  r.fileName = "a.rc";
  return r;
}

TEST(DefError, EachRowOfTheTable) {
  using enum ErrorAction;
  using enum DefaultResult;
  const std::string fatal = "Error FILE/???  guasto: a.rc;Function: ???  Line: 0";
  const std::tuple<const char*, ErrorRecord, ErrorAction, DefaultResult, std::string> rows[] = {
      {"1", record(kGenOpen, 21), Stop, None, "Disco a.rc non pronto."},
      {"2", record(kGenOpen, 27), Stop, None, "Disco a.rc non formattato."},
      {"2", record(kGenOpen, 31), Stop, None, "Disco a.rc non formattato."},
      {"3", record(kGenWrite, 19), Stop, None, "Disco a.rc protetto da scrittura."},
      {"4", record(kGenCreate, 82), Stop, None, "Directory a.rc piena."},
      {"5", record(kGenWrite, 0, kSubDiskFull), Stop, None, "Spazio sul disco a.rc insufficiente."},
      {"6", record(kGenOpen, 5), Stop, None, "Impossibile accedere al file a.rc."},
      {"7", record(kGenOpen, 3), Stop, None, "Percorso a.rc non trovato."},
      {"8", record(kGenOpen, 2), Stop, None, "Impossibile aprire il file a.rc."},
      {"9", record(kGenRead, 0, 1012), Stop, None, "Il file a.rc risulta corrotto."},
      {"9", record(32), Stop, None, "Il file a.rc risulta corrotto."},
      {"10", record(1001, 0, 7), Stop, None, "Error FILE/7  guasto: a.rc;Function: ???  Line: 0"},
      {"11", record(5), Continue, Zero, ""},
      {"12", record(kGenOpen, 32, std::nullopt, true), Continue, False, ""},
      {"13", record(40, 0, std::nullopt, true), Continue, False, ""},
      // In table order a refused open stops at row 6 before row 12 can let it default.
      {"6 before 12", record(kGenOpen, 5, std::nullopt, true), Stop, None,
       "Impossibile accedere al file a.rc."},
      {"12 may not default", record(kGenOpen, 32), Fatal, None, fatal},
      {"13 may not default", record(40), Fatal, None, fatal},
      {"14", record(12), Fatal, None, fatal},
  };
  for (const auto& [what, rec, action, result, text] : rows) {
    ScriptedUi ui;
    ui.buttons = {kIdCancel};  // the fatal report's question
    const ErrorOutcome out = DEFERROR(ui, rec, nullptr, kExe);
    EXPECT_EQ(out.action, action) << what;
    EXPECT_EQ(out.result, result) << what;
    EXPECT_EQ(out.sharingFailure, result == False) << what;
    EXPECT_EQ(out.text, text) << what;
    // A stop shows its sentence, a fatal end its question, a quiet default nothing.
    ASSERT_EQ(ui.messages.size(), action == Continue ? 0u : 1u) << what;
    if (action == Stop) {
      EXPECT_EQ(ui.messages[0].text, messageLines(text)) << what;
    }
    if (action != Continue) {
      EXPECT_EQ(ui.messages[0].kind, action == Stop ? MsgKind::Info : MsgKind::OkCancel) << what;
    }
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
  // "?\?" keeps "??/" from reading as a trigraph.
  const std::tuple<ErrorRecord, ErrorOrigin, const char*> rows[] = {
      {bare, {}, "Error ?\?\?/???;Function: ???  Line: 0"},
      {warning,
       {"ORDINARES", 42},
       "Warning BASE/1081  Argument error: +;Function: ORDINARES  Line: 42"},
      {withFile, {}, "Warning BASE/1081  Argument error: C:\\x.rc;Function: ???  Line: 0"},
      {emptyDescription, {}, "Error ?\?\?/???  ;Function: ???  Line: 0"},
  };
  for (const auto& [rec, origin, expected] : rows) EXPECT_EQ(ERRORMESSAGE(rec, origin), expected);
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
  const ErrorRecord r = record(12, 0, 1);
  const std::string report = "Error FILE/1  guasto: a.rc;Function: F  Line: 9";
  for (const int button : {kIdOk, kIdCancel}) {
    ScriptedUi ui;
    ui.buttons = {button};
    const ErrorOutcome out = DEFERROR(ui, r, nullptr, kExe, {"F", 9});
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
    ErrorOutcome out = DEFERROR(ui, record(12), &doc, kExe);
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
