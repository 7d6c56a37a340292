// The dialog properties: what the form shows, what it refuses, and the block it writes.
#include "dialogs/dialog_properties.h"

#include <gtest/gtest.h>

#include "dialogs/dialog_test_blocks.h"
#include "document/reorder.h"
#include "support/current_entry.h"
#include "support/scripted_ui.h"

namespace kolvre {
namespace {

using testing::crlfLines;
using testing::CurrentEntry;
using testing::ScriptedUi;

constexpr auto kEncoding = TextEncoding::Windows1252;

const std::string kNoCaption = crlfLines({
    "DLG DIALOG 10, 20, 200, 100",
    "STYLE WS_POPUP | WS_BORDER",
    "FONT 8, \"MS Sans Serif\"",
    "LANGUAGE LANG_NEUTRAL, SUBLANG_NEUTRAL",
    "{",
    " CONTROL \"OK\", 1, \"BUTTON\", BS_PUSHBUTTON | WS_CHILD | WS_VISIBLE, 5, 5, 50, 14",
    "}",
});

DialogProperties shownOf(std::string_view block) {
  const DialogPropertiesReading reading = readDialogProperties(block, kEncoding);
  EXPECT_EQ(reading.failure, DialogFailure::None);
  return reading.shown;
}

std::string edited(std::string_view block, const std::function<void(DialogProperties&)>& change) {
  const DialogProperties shown = shownOf(block);
  DialogProperties values = shown;
  change(values);
  return dialogPropertiesBlock(block, shown, values, kEncoding).value_or("<unchanged>");
}

TEST(DialogProperties, TheFormShowsTheHeaderStyleAndCaption) {
  const DialogProperties shown = shownOf(testing::ownFormDialog(""));
  EXPECT_EQ(shown, (DialogProperties{"DLG", "Prova", "0", "0", "200", "100",
                                     "DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU"}));
}

// Comments are no part of a field: the form shows what the compiler reads, and a changed field
// leaves the comments where they stand.
TEST(DialogProperties, CommentsAreNoPartOfTheFields) {
  const std::string block = crlfLines({
      "D DIALOG 0, 0, 100, 50 // x",
      "STYLE WS_POPUP /* a */ | WS_CAPTION",
      "CAPTION \"Folder\" //comment",
      "/* more",
      "   lines */",
      "BEGIN // x",
      " CONTROL \"OK\", 1, \"BUTTON\", BS_PUSHBUTTON | WS_CHILD | WS_VISIBLE, 5, 5, 50, 14",
      "END",
  });
  const DialogProperties shown = shownOf(block);
  EXPECT_EQ(shown,
            (DialogProperties{"D", "Folder", "0", "0", "100", "50", "WS_POPUP | WS_CAPTION"}));
  const std::string changed = edited(block, [](DialogProperties& p) { p.caption = "Cartella"; });
  EXPECT_EQ(changed,
            crlfLines({
                "D DIALOG 0, 0, 100, 50 // x",
                "STYLE WS_POPUP /* a */ | WS_CAPTION",
                "CAPTION \"Cartella\" //comment",
                "/* more",
                "   lines */",
                "BEGIN // x",
                " CONTROL \"OK\", 1, \"BUTTON\", BS_PUSHBUTTON | WS_CHILD | WS_VISIBLE, 5, "
                "5, 50, 14",
                "END",
            }));
}

TEST(DialogProperties, WithoutACaptionLineTheTitleIsEmptyAndStaysAbsent) {
  EXPECT_EQ(shownOf(kNoCaption).caption, "");
  // Another field changes: still no CAPTION line, and FONT stays the third line.
  const std::string block = edited(kNoCaption, [](DialogProperties& p) { p.x = "15"; });
  EXPECT_EQ(block, "DLG DIALOG 15, 20, 200, 100" + kNoCaption.substr(27));
}

TEST(DialogProperties, ACaptionTypedForADialogWithoutOneGoesBetweenStyleAndFont) {
  const std::string block = edited(kNoCaption, [](DialogProperties& p) { p.caption = "Nuovo  "; });
  EXPECT_EQ(block, crlfLines({"DLG DIALOG 10, 20, 200, 100", "STYLE WS_POPUP | WS_BORDER",
                              "CAPTION \"Nuovo\"", "FONT 8, \"MS Sans Serif\"",
                              "LANGUAGE LANG_NEUTRAL, SUBLANG_NEUTRAL", "{",
                              " CONTROL \"OK\", 1, \"BUTTON\", BS_PUSHBUTTON | WS_CHILD | "
                              "WS_VISIBLE, 5, 5, 50, 14",
                              "}"}));
  // Emptying it again drops the line: the caption written is no caption.
  const std::string none =
      edited(testing::ownFormDialog(""), [](DialogProperties& p) { p.caption = "   "; });
  EXPECT_EQ(none.find("CAPTION \""), std::string::npos);
}

TEST(DialogProperties, QuotesInTheCaptionAreShownOnceAndWrittenDoubled) {
  const std::string block = crlfLines(
      {"DLG DIALOG 0, 0, 10, 10", "STYLE WS_POPUP", "CAPTION \"Di \"\"noi\"\"\"", "{", "}"});
  EXPECT_EQ(shownOf(block).caption, "Di \"noi\"");
  const std::string moved = edited(block, [](DialogProperties& p) { p.y = "1"; });
  EXPECT_NE(moved.find("CAPTION \"Di \"\"noi\"\"\"\r\n"), std::string::npos);
  const std::string typed = edited(block, [](DialogProperties& p) { p.caption = "a \"b\""; });
  EXPECT_NE(typed.find("CAPTION \"a \"\"b\"\"\"\r\n"), std::string::npos);
}

TEST(DialogProperties, WhatTheFormHasNoPlaceForIsCarriedOver) {
  // DIALOGEX with a memory option and a help id, EXSTYLE and a comment before FONT, a LANGUAGE
  // of its own, a BEGIN/END body that is not in the writer's form, and a resource after it.
  const std::string block = crlfLines({
      "DLG DIALOGEX DISCARDABLE 0, 0, 100, 50, 77",
      "EXSTYLE WS_EX_TOOLWINDOW",
      "STYLE DS_MODALFRAME |",
      "      WS_POPUP",
      "// titolo",
      "CAPTION \"Prova\"",
      "FONT 8, \"MS Shell Dlg\", 400, 0, 0x1   ",
      "LANGUAGE LANG_ITALIAN, SUBLANG_ITALIAN",
      "MENU IDR_MENU",
      "BEGIN",
      "    LTEXT  \"Nome:\",-1,5,5,40,8",
      "END",
  });
  const std::string text = block + "\r\n\r\nNEXT ICON n.ico\r\n";
  EXPECT_EQ(shownOf(text).style, "DS_MODALFRAME | WS_POPUP");
  // Only the number changed is rewritten: every other line stays as it stood, in its place.
  std::string wider = block;
  wider.replace(wider.find("100"), 3, "120");
  EXPECT_EQ(edited(text, [](DialogProperties& p) { p.width = "120"; }), wider);
  // A style typed over several lines is written on one, where the statement stood.
  const std::string styled =
      edited(text, [](DialogProperties& p) { p.style = "WS_POPUP |\nWS_CAPTION"; });
  EXPECT_NE(styled.find("\r\nSTYLE WS_POPUP | WS_CAPTION\r\n// titolo"), std::string::npos)
      << styled;
}

TEST(DialogProperties, LongNamesCaptionsAndSymbolsStayWholeUnlessEdited) {
  const std::string caption(150, 'c');
  const std::string block = crlfLines({"A_VERY_LONG_DIALOG_NAME DIALOG X0, 0, 10, 10",
                                       "STYLE WS_POPUP", "CAPTION \"" + caption + "\"", "{", "}"});
  const DialogProperties shown = shownOf(block);
  EXPECT_EQ(shown.name, "A_VERY_LONG_DIALOG_NAME");
  EXPECT_EQ(shown.caption, caption);
  EXPECT_EQ(shown.x, "X0");
  EXPECT_EQ(fieldLength(101, shown), 23u);
  EXPECT_EQ(fieldLength(102, shown), 150u);
  EXPECT_EQ(fieldLength(103, shown), 4u);  // "X0" is shorter than the picture
  ResourceIndex index = indexResources(block);
  DialogProperties values = shown;
  values.height = "11";
  EXPECT_FALSE(checkDialogProperties(values, shown, index, kEncoding));
  const std::string out = *dialogPropertiesBlock(block, shown, values, kEncoding);
  EXPECT_EQ(out.substr(0, out.find("\r\n")), "A_VERY_LONG_DIALOG_NAME DIALOG X0, 0, 10, 11");
  EXPECT_NE(out.find(caption), std::string::npos);
  // Edited, the name is checked as the prompt checks one.
  values.name = "A_VERY_LONG_DIALOG";
  const auto fault = checkDialogProperties(values, shown, index, kEncoding);
  ASSERT_TRUE(fault);
  EXPECT_EQ(fault->field, 101);
  EXPECT_EQ(fault->message, "Nome troppo lungo: al massimo 15 caratteri.");
}

TEST(DialogProperties, TheChecksOfTheForm) {
  const std::string script =
      testing::ownFormDialog("") + "\r\n\r\nOTHER DIALOG 0, 0, 1, 1\r\n{\r\n}";
  const ResourceIndex index = indexResources(script);
  const DialogProperties shown = shownOf(script);
  const auto faultOf = [&](const std::function<void(DialogProperties&)>& change) {
    DialogProperties values = shown;
    change(values);
    const auto fault = checkDialogProperties(values, shown, index, kEncoding);
    return fault ? std::to_string(fault->field) + " " + fault->message : std::string("ok");
  };
  EXPECT_EQ(faultOf([](DialogProperties&) {}), "ok");
  EXPECT_EQ(faultOf([](DialogProperties& p) { p.name = " "; }), "101 Campo non valido.");
  EXPECT_EQ(faultOf([](DialogProperties& p) { p.name = "other"; }),
            "101 Nome risorsa già presente.");
  EXPECT_EQ(faultOf([](DialogProperties& p) { p.name = "dlg"; }), "ok");  // the same name
  EXPECT_EQ(faultOf([](DialogProperties& p) { p.name = "A B"; }), "101 Spazi non ammessi.");
  EXPECT_EQ(faultOf([](DialogProperties& p) { p.caption = "a\nb"; }), "102 Campo non valido.");
  EXPECT_EQ(faultOf([](DialogProperties& p) { p.caption = std::string(141, 'x'); }),
            "102 Campo non valido.");
  EXPECT_EQ(faultOf([](DialogProperties& p) { p.x = ""; }), "ok");  // x and y may be empty
  EXPECT_EQ(faultOf([](DialogProperties& p) { p.x = "-5"; }), "103 Campo non valido.");
  EXPECT_EQ(faultOf([](DialogProperties& p) { p.y = "12345"; }), "104 Numero troppo grande.");
  EXPECT_EQ(faultOf([](DialogProperties& p) { p.y = "00099"; }), "ok");
  EXPECT_EQ(faultOf([](DialogProperties& p) { p.width = ""; }), "105 Campo non valido.");
  EXPECT_EQ(faultOf([](DialogProperties& p) { p.height = "1a"; }), "106 Campo non valido.");
  EXPECT_EQ(faultOf([](DialogProperties& p) { p.style = " \n"; }), "107 Campo non valido.");
  EXPECT_EQ(faultOf([](DialogProperties& p) { p.style = "WS_POPUP | WS_NOTHING"; }),
            "107 Stile non valido: WS_NOTHING.");
  // The first failing field is the one reported.
  EXPECT_EQ(faultOf([](DialogProperties& p) {
              p.height = "";
              p.width = "";
            }),
            "105 Campo non valido.");
}

TEST(DialogProperties, NumbersAreWrittenPlainAndEmptyOnesAsZero) {
  const std::string block = edited(testing::ownFormDialog(""), [](DialogProperties& p) {
    p.x = "";
    p.y = "007";
  });
  EXPECT_EQ(block.substr(0, block.find("\r\n")), "DLG DIALOG 0, 7, 200, 100");
}

TEST(DialogProperties, NothingChangedIsNoEdit) {
  const std::string script = testing::ownFormDialog("");
  const ResourceIndex index = indexResources(script);
  const DialogProperties shown = shownOf(script);
  EXPECT_FALSE(dialogPropertiesEdit(script, index, 0, shown, shown, kEncoding));
  DialogProperties same = shown;
  same.name = "dlg ";  // typed as the prompt takes it, the same name
  EXPECT_FALSE(dialogPropertiesEdit(script, index, 0, shown, same, kEncoding));
}

class PropertiesCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    doc.load("", "ALPHA DIALOG 0, 0, 10, 10\r\nSTYLE WS_POPUP\r\n{\r\n}\r\n\r\n\r\n" +
                     testing::ownFormDialog("") +
                     "\r\n\r\n\r\nOMEGA DIALOG 0, 0, 10, 10\r\nSTYLE WS_POPUP\r\n{\r\n}");
  }
  // Runs changeDialogProperties on the entry `name`; the form changes the values and confirms (or
  // cancels with nothing), and sees the check's verdict.
  bool run(std::string_view name,
           const std::function<std::optional<DialogProperties>(DialogProperties)>& form) {
    current.row =
        static_cast<int>(*findEntry(doc.index(), {std::string(name), ResourceType::Dialog, 0})) + 1;
    return changeDialogProperties(
        ui, doc, current.position(),
        [&](const DialogProperties& shown, const DialogPropertiesCheck& check) {
          auto values = form(shown);
          // A form whose check fails stays open; the user then cancels it.
          if (values && (fault = check(*values))) return std::optional<DialogProperties>();
          return values;
        });
  }
  Document doc;
  CurrentEntry current{doc};
  ScriptedUi ui;
  std::optional<DialogPropertyFault> fault;
};

TEST_F(PropertiesCommand, ARenameSortsTheBlockAfterTheOthersAndSelectsIt) {
  const std::string before = doc.text();
  EXPECT_TRUE(run("DLG", [](DialogProperties p) {
    p.name = "zeta";
    return std::optional(p);
  }));
  EXPECT_FALSE(fault);
  ASSERT_EQ(doc.index().size(), 3u);
  EXPECT_EQ(doc.index()[2].name, "ZETA");
  EXPECT_GT(doc.text().find("ZETA DIALOG"), doc.text().find("OMEGA DIALOG"));
  EXPECT_EQ(current.row, 3);
  EXPECT_EQ(current.last->label, kDialogPropertiesTitle);
  // One step of the history.
  doc.undo();
  EXPECT_EQ(doc.text(), before);
}

TEST_F(PropertiesCommand, TheCheckRefusesAnotherDialogsNameAndACancelChangesNothing) {
  const std::string before = doc.text();
  EXPECT_FALSE(run("DLG", [](DialogProperties p) {
    p.name = "OMEGA";
    return std::optional(p);
  }));
  ASSERT_TRUE(fault);
  EXPECT_EQ(fault->message, "Nome risorsa già presente.");
  EXPECT_FALSE(run("DLG", [](DialogProperties) { return std::optional<DialogProperties>(); }));
  EXPECT_EQ(doc.text(), before);
  EXPECT_FALSE(doc.canUndo());
}

TEST_F(PropertiesCommand, TheDialogsOwnNameInOtherLettersIsTaken) {
  doc.load("", "zz DIALOG 0, 0, 10, 10\r\n{\r\n}\r\nYY DIALOG 0, 0, 10, 10\r\n{\r\n}");
  EXPECT_TRUE(run("zz", [](DialogProperties p) {
    p.name = "ZZ";
    return std::optional(p);
  }));
  EXPECT_FALSE(fault);
  EXPECT_NE(doc.text().find("ZZ DIALOG"), std::string::npos);
  EXPECT_EQ(doc.text().find("zz"), std::string::npos);
}

TEST_F(PropertiesCommand, AnUnreadableDialogSaysWhyAndOpensNoForm) {
  doc.load("", "BAD DIALOG 0, 0\r\n{\r\n}");
  current.row = 1;
  bool opened = false;
  EXPECT_FALSE(changeDialogProperties(ui, doc, 0,
                                      [&](const DialogProperties&, const DialogPropertiesCheck&) {
                                        opened = true;
                                        return std::optional<DialogProperties>();
                                      }));
  EXPECT_FALSE(opened);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, dialogFailureText(DialogFailure::NoHeaderNumbers));
}

}  // namespace
}  // namespace kolvre
