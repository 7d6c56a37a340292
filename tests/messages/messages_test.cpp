#include "messages/messages.h"

#include <gtest/gtest.h>

#include "messages/error_record.h"
#include "support/scripted_ui.h"

namespace kolvre {
namespace {

using testing::ScriptedUi;

TEST(Popmsg, SemicolonsBreakLinesAndTitleDefaults) {
  ScriptedUi ui;
  showMessage(ui, "uno;due;", MessageKind::Info);
  EXPECT_EQ(ui.messages[0].text, "uno\ndue\n");
  EXPECT_EQ(ui.messages[0].title, "Attenzione");
  EXPECT_EQ(ui.beeps, 0);
  showMessage(ui, "x", MessageKind::Info, "Titolo");
  EXPECT_EQ(ui.messages[1].title, "Titolo");
}

TEST(Popmsg, EachQuestionKindBeepsAndMapsItsButtons) {
  struct Row {
    MessageKind kind;
    int button;
    bool accepted;
  };
  const Row rows[] = {
      {MessageKind::OkCancel, kIdOk, true},        {MessageKind::OkCancel, kIdCancel, false},
      {MessageKind::YesNo, kIdYes, true},          {MessageKind::YesNo, kIdNo, false},
      {MessageKind::YesNoDefaultNo, kIdYes, true}, {MessageKind::YesNoDefaultNo, kIdNo, false},
      {MessageKind::StopOkCancel, kIdOk, true},    {MessageKind::StopOkCancel, kIdCancel, false},
      {MessageKind::YesNoCancel, kIdYes, false},  // kind 3 answers with the button code alone
  };
  for (const Row& row : rows) {
    ScriptedUi ui;
    ui.buttons = {row.button};
    const MessageResult r = showMessage(ui, "?", row.kind);
    EXPECT_EQ(r.accepted(), row.accepted) << static_cast<int>(row.kind);
    EXPECT_EQ(r.button, row.button);
    EXPECT_EQ(ui.beeps, 1);
  }
}

TEST(Msgget, CancelLeavesTheValueExactlyAsItWas) {
  ScriptedUi ui;
  std::string value = "AB ";
  ui.inputs = {std::nullopt};
  EXPECT_FALSE(askText(ui, "T", "P", value, 15));
  EXPECT_EQ(value, "AB ");
}

// The length is the field's limit, given apart from the value: an empty value still takes a
// whole name, and the value is shown as it is, never padded to the limit.
TEST(Msgget, ConfirmGivesTheEditedValueWithinTheLimit) {
  ScriptedUi ui;
  std::string value;
  ui.inputs = {"abcdefgh"};
  EXPECT_TRUE(askText(ui, "T", "P", value, 5));
  EXPECT_EQ(value, "abcde");
  ui.inputs = {"xy"};
  EXPECT_TRUE(askText(ui, "T", "P", value, 15));
  EXPECT_EQ(value, "xy");
  EXPECT_EQ(ui.prompts, (std::vector<std::string>{"", "abcde"}));
  EXPECT_EQ(ui.promptLimits, (std::vector<std::size_t>{5, 15}));
}

TEST(StopMessages, FileFailuresNameTheFileExactlyAsItIs) {
  ErrorRecord r;
  r.fileName = "/src/app/a.rc";
  const std::pair<int, std::string> rows[] = {
      {21, "Disco /src/app/a.rc non pronto."},
      {27, "Disco /src/app/a.rc non formattato."},
      {31, "Disco /src/app/a.rc non formattato."},
      {19, "Disco /src/app/a.rc protetto da scrittura."},
      {82, "Directory /src/app/a.rc piena."},
      {5, "Impossibile accedere al file /src/app/a.rc."},
      {3, "Percorso /src/app/a.rc non trovato."},
      {2, "Impossibile aprire il file /src/app/a.rc."},
  };
  for (const auto& [os, text] : rows) {
    r.osCode = os;
    EXPECT_EQ(stopMessage(r), text) << os;
  }
  r.osCode = 0;
  r.subCode = kSubDiskFull;
  EXPECT_EQ(stopMessage(r), "Spazio sul disco /src/app/a.rc insufficiente.");
  r.subCode = 1012;
  EXPECT_EQ(stopMessage(r), "Il file /src/app/a.rc risulta corrotto.");
  r.subCode.reset();
  EXPECT_EQ(stopMessage(r), std::nullopt);
}

TEST(StopMessages, ErrnoMapsOntoSystemCodes) {
  EXPECT_EQ(fileErrorRecord(ENOENT, kGenOpen, "/tmp/x.rc", "").osCode, 2);
  EXPECT_EQ(fileErrorRecord(ENOENT, kGenOpen, "/no/such/dir/x.rc", "").osCode, 3);
  EXPECT_EQ(fileErrorRecord(EACCES, kGenOpen, "x", "").osCode, 5);
  EXPECT_EQ(fileErrorRecord(EROFS, kGenWrite, "x", "").osCode, 19);
  EXPECT_EQ(fileErrorRecord(ENOSPC, kGenWrite, "x", "").subCode, kSubDiskFull);
}

}  // namespace
}  // namespace kolvre
