// The tab order: the rows of a body, the keys that move them, ids, and the block written back.
#include "dialogs/tab_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>

#include "dialogs/dialog_properties.h"
#include "dialogs/dialog_test_blocks.h"
#include "dialogs/dialog_writer.h"
#include "document/script_file.h"
#include "support/corpus.h"
#include "support/corpus_documents.h"
#include "support/current_entry.h"
#include "support/scripted_ui.h"

namespace kolvre {
namespace {

using testing::crlfLines;
using testing::CurrentEntry;
using testing::ScriptedUi;

// A body with a CONTROL statement not in the writer's form, a short statement, a comment, a
// blank line, a caption with quotes and a symbolic id.
const std::string kBlock = testing::ownFormDialog(crlfLines({
    "CONTROL \"OK\",1,\"BUTTON\",BS_PUSHBUTTON|WS_CHILD|WS_VISIBLE,5,5,50,14",
    "  // i testi",
    "",
    "  LTEXT \"Nome:\", IDC_NOME, 5, 25, 40, 8",
    " CONTROL \"Di \"\"noi\"\"\", 3, \"STATIC\", SS_LEFT | WS_CHILD | WS_VISIBLE, 5, 40, 90, 8",
}));

TabOrder orderOf(std::string_view block) {
  TabOrderReading reading = readTabOrder(block);
  EXPECT_EQ(reading.failure, DialogFailure::None);
  return reading.order;
}

std::vector<std::string> column(const TabOrder& order, std::size_t c) {
  std::vector<std::string> out;
  for (const TabOrderRow& row : order.rows) out.push_back(rowCells(row)[c]);
  return out;
}

TEST(TabOrder, EveryStatementOfTheBodyIsARowAndBlankLinesAreDropped) {
  const TabOrder order = orderOf(kBlock);
  ASSERT_EQ(order.rows.size(), 4u);
  EXPECT_EQ(column(order, 0),
            (std::vector<std::string>{"OK", "// i testi", "Nome:", "Di \"noi\""}));
  EXPECT_EQ(column(order, 1), (std::vector<std::string>{"1", "", "IDC_NOME", "3"}));
  EXPECT_EQ(column(order, 2), (std::vector<std::string>{"BUTTON", "", "STATIC", "STATIC"}));
  EXPECT_EQ(rowCells(order.rows[2]),
            (std::array<std::string, 7>{"Nome:", "IDC_NOME", "STATIC", "5", "25", "40", "8"}));
  EXPECT_FALSE(order.rows[1].control);
}

TEST(TabOrder, AnUnchangedConfirmWritesTheBodyAsItStood) {
  // The blank line goes: the order's rows are its statements.
  std::string expected(kBlock);
  expected.erase(expected.find("\r\n\r\n  LTEXT"), 2);
  EXPECT_EQ(tabOrderBlock(orderOf(kBlock)), expected);
}

TEST(TabOrder, F11OnTheFirstRowAndF12OnTheLastChangeNothing) {
  TabOrder order = orderOf(kBlock);
  const std::vector<TabOrderRow> rows = order.rows;
  std::size_t current = 0;
  EXPECT_EQ(tabOrderKeyAction(order.rows, current, 122), TabOrderAction::MoveUp);
  EXPECT_EQ(current, 0u);
  current = 3;
  EXPECT_EQ(tabOrderKeyAction(order.rows, current, 123), TabOrderAction::MoveDown);
  EXPECT_EQ(current, 3u);
  EXPECT_EQ(order.rows, rows);
  // In between, the current row follows the moved control.
  EXPECT_EQ(tabOrderKeyAction(order.rows, current, 122), TabOrderAction::MoveUp);
  EXPECT_EQ(current, 2u);
  EXPECT_EQ(column(order, 0),
            (std::vector<std::string>{"OK", "// i testi", "Di \"noi\"", "Nome:"}));
  current = 0;
  EXPECT_EQ(tabOrderKeyAction(order.rows, current, 123), TabOrderAction::MoveDown);
  EXPECT_EQ(current, 1u);
  EXPECT_EQ(column(order, 0)[0], "// i testi");
  EXPECT_EQ(tabOrderKeyAction(order.rows, current, 13), TabOrderAction::Confirm);
  EXPECT_EQ(tabOrderKeyAction(order.rows, current, 113), TabOrderAction::EditId);
  EXPECT_EQ(tabOrderKeyAction(order.rows, current, 65), TabOrderAction::None);
  std::vector<TabOrderRow> none;
  EXPECT_EQ(tabOrderKeyAction(none, current, 123), TabOrderAction::None);
}

TEST(TabOrder, AMovedCaptionWithQuotesStaysDoubledAndACommentMovesAsItStood) {
  TabOrder order = orderOf(kBlock);
  std::size_t current = 3;
  tabOrderKeyAction(order.rows, current, 122);
  tabOrderKeyAction(order.rows, current, 122);
  tabOrderKeyAction(order.rows, current, 122);
  current = 2;
  tabOrderKeyAction(order.rows, current, 123);  // the comment to the end
  const std::string block = tabOrderBlock(order);
  EXPECT_NE(block.find("{\r\n CONTROL \"Di \"\"noi\"\"\", 3, \"STATIC\""), std::string::npos);
  EXPECT_NE(block.find("8\r\n  // i testi\r\n}"), std::string::npos);
}

TEST(TabOrder, IdsAreCheckedAndWrittenInTheStatementsOwnForm) {
  TabOrder order = orderOf(kBlock);
  EXPECT_EQ(idFault("IDC_NOME", "IDC_NOME"), std::nullopt);  // as shown, a symbol too
  EXPECT_EQ(idFault("12a", "IDC_NOME"), "Campo non valido.");
  EXPECT_EQ(idFault("123456", "1"), "Numero troppo grande.");
  EXPECT_EQ(idFault("70000", "1"), "Numero troppo grande.");
  EXPECT_EQ(idFault("000065535", "1"), std::nullopt);
  EXPECT_EQ(idFault("", "1"), std::nullopt);

  EXPECT_TRUE(setRowId(order.rows[2], "IDC_NOME"));  // unchanged
  EXPECT_EQ(order.rows, orderOf(kBlock).rows);
  EXPECT_TRUE(setRowId(order.rows[2], "120"));
  EXPECT_TRUE(setRowId(order.rows[0], " 7"));
  EXPECT_FALSE(setRowId(order.rows[1], "5"));  // a comment has no id
  EXPECT_EQ(column(order, 1), (std::vector<std::string>{"7", "", "120", "3"}));
  const std::string block = tabOrderBlock(order);
  EXPECT_NE(block.find("  LTEXT \"Nome:\", 120, 5, 25, 40, 8\r\n"), std::string::npos);
  EXPECT_NE(block.find("CONTROL \"OK\",7,\"BUTTON\""), std::string::npos) << block;
}

// A comment after BEGIN leaves it the body's opening, as the dialog's reader reads it.
TEST(TabOrder, ABodyOpenedWithACommentOnItsLineIsABody) {
  const std::string block = crlfLines({
      "DLG DIALOG 0, 0, 100, 50",
      "BEGIN // the controls",
      "    PUSHBUTTON \"A\", 1, 5, 5, 50, 14",
      "    PUSHBUTTON \"B\", 2, 5, 25, 50, 14",
      "END",
  });
  TabOrder order = orderOf(block);
  ASSERT_EQ(order.rows.size(), 2u);
  std::size_t current = 1;
  tabOrderKeyAction(order.rows, current, 122);
  EXPECT_EQ(tabOrderBlock(order), crlfLines({
                                      "DLG DIALOG 0, 0, 100, 50",
                                      "BEGIN // the controls",
                                      "    PUSHBUTTON \"B\", 2, 5, 25, 50, 14",
                                      "    PUSHBUTTON \"A\", 1, 5, 5, 50, 14",
                                      "END",
                                  }));
}

TEST(TabOrder, ABeginEndBodyKeepsItsHeadAndItsEnd) {
  const std::string block = crlfLines({
      "DLG DIALOGEX 0, 0, 100, 50",
      "STYLE WS_POPUP",
      "BEGIN",
      "    PUSHBUTTON \"A\", 1, 5, 5, 50, 14",
      "    PUSHBUTTON \"B\", 2, 5, 25, 50, 14",
      "END",
  });
  TabOrder order = orderOf(block + "\r\n\r\nNEXT DIALOG 0, 0, 1, 1\r\nBEGIN\r\nEND\r\n");
  std::size_t current = 1;
  tabOrderKeyAction(order.rows, current, 122);
  EXPECT_EQ(tabOrderBlock(order), crlfLines({
                                      "DLG DIALOGEX 0, 0, 100, 50",
                                      "STYLE WS_POPUP",
                                      "BEGIN",
                                      "    PUSHBUTTON \"B\", 2, 5, 25, 50, 14",
                                      "    PUSHBUTTON \"A\", 1, 5, 5, 50, 14",
                                      "END",
                                  }));
}

class TabOrderCommand : public ::testing::Test {
 protected:
  void SetUp() override { doc.load("", kBlock + "\r\n\r\n\r\nZ ICON z.ico"); }
  // Runs changeTabOrder; each opening of the list applies the next of `steps` to the rows it was
  // given.
  bool run(
      std::vector<std::function<TabOrderClosing(std::vector<TabOrderRow>, std::size_t)>> steps) {
    std::size_t opening = 0;
    return changeTabOrder(ui, doc, 0, [&](const std::vector<TabOrderRow>& rows, std::size_t row) {
      opened.push_back(rows);
      return steps.at(opening++)(rows, row);
    });
  }
  static TabOrderClosing moveLastUp(std::vector<TabOrderRow> rows, std::size_t) {
    std::size_t current = rows.size() - 1;
    tabOrderKeyAction(rows, current, 122);
    return {false, rows, current};
  }
  Document doc;
  CurrentEntry current{doc};
  ScriptedUi ui;
  std::vector<std::vector<TabOrderRow>> opened;
};

TEST_F(TabOrderCommand, CancelAfterAMoveAsksAndNoShowsTheMovedRowAgain) {
  ui.buttons = {kIdNo, kIdYes};
  EXPECT_FALSE(run({moveLastUp, [](std::vector<TabOrderRow> rows, std::size_t row) {
                      return TabOrderClosing{false, rows, row};
                    }}));
  ASSERT_EQ(opened.size(), 2u);
  EXPECT_EQ(rowCells(opened[1][2])[0], "Di \"noi\"");
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0].text, "Annullo le modifiche?");
  EXPECT_EQ(ui.messages[0].kind, MessageKind::YesNoDefaultNo);
  EXPECT_EQ(doc.text(), kBlock + "\r\n\r\n\r\nZ ICON z.ico");
}

TEST_F(TabOrderCommand, ACancelWithoutAChangeAsksNothing) {
  EXPECT_FALSE(run({[](std::vector<TabOrderRow> rows, std::size_t row) {
    return TabOrderClosing{false, rows, row};
  }}));
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(TabOrderCommand, AConfirmIsOneStepAndTheDialogStaysCurrent) {
  EXPECT_TRUE(run({[](std::vector<TabOrderRow> rows, std::size_t) {
    TabOrderClosing closing = moveLastUp(rows, 0);
    closing.confirmed = true;
    return closing;
  }}));
  EXPECT_LT(doc.text().find("Di \"\"noi"), doc.text().find("LTEXT"));
  EXPECT_NE(doc.text().find("}\r\n\r\n\r\nZ ICON z.ico"), std::string::npos);
  EXPECT_EQ(current.last->label, kLabelTabOrder);
  EXPECT_EQ(current.row, 1);
  doc.undo();
  EXPECT_EQ(doc.text(), kBlock + "\r\n\r\n\r\nZ ICON z.ico");
}

// Every readable dialog of the corpus of real scripts: its rows come back the same from the
// block the tab order writes, reversed twice they give that block again, and a changed width
// leaves the body byte for byte and the controls as read.
TEST(TabOrderCorpus, RowsSurviveTheirOwnBlockAndPropertiesLeaveTheBody) {
  const std::vector<std::string> files = testing::corpusScripts();
  KOLVRE_CORPUS_CASE(files.empty() ? std::string() : files.front());
  int dialogs = 0, rows = 0;
  testing::forEachCorpusDialog(files, [&](const Document& doc, std::size_t i) {
    const auto extent = dialogExtent(doc.text(), doc.index(), i);
    if (!extent) return;
    const std::string_view block = extent->of(doc.text());
    const TabOrderReading reading = readTabOrder(block);
    if (reading.failure != DialogFailure::None) return;
    SCOPED_TRACE(doc.index()[i].name);
    ++dialogs;
    rows += static_cast<int>(reading.order.rows.size());
    const std::string written = tabOrderBlock(reading.order);
    const TabOrderReading again = readTabOrder(written);
    ASSERT_EQ(again.failure, DialogFailure::None);
    EXPECT_TRUE(again.order.rows == reading.order.rows) << written;
    TabOrder reversed = reading.order;
    std::reverse(reversed.rows.begin(), reversed.rows.end());
    TabOrder back = readTabOrder(tabOrderBlock(reversed)).order;
    std::reverse(back.rows.begin(), back.rows.end());
    EXPECT_EQ(tabOrderBlock(back), written);

    const DialogPropertiesReading properties = readDialogProperties(block, doc.encoding());
    ASSERT_EQ(properties.failure, DialogFailure::None);
    DialogProperties wider = properties.shown;
    wider.width = "321";
    ASSERT_FALSE(checkDialogProperties(wider, properties.shown, doc.index(), doc.encoding()));
    const auto changed = dialogPropertiesBlock(block, properties.shown, wider, doc.encoding());
    ASSERT_TRUE(changed);
    const DialogReading before = readDialog(block);
    const DialogReading after = readDialog(*changed);
    ASSERT_EQ(after.failure, DialogFailure::None) << *changed;
    EXPECT_EQ(dialogUnits(after.dialog.rect, after.dialog.styleAsRead, after.dialog.mode).width,
              321);
    EXPECT_EQ(after.dialog.title, before.dialog.title);
    EXPECT_EQ(after.dialog.styleAsRead, before.dialog.styleAsRead);
    EXPECT_TRUE(after.dialog.controls == before.dialog.controls);
    const std::size_t bodyAt = reading.order.head.rfind("\r\n", reading.order.head.size() - 3);
    const std::string_view oldBody = block.substr(bodyAt + 2);
    EXPECT_TRUE(std::string_view(*changed).ends_with(oldBody)) << *changed;
  });
  std::cout << "[ corpus   ] " << dialogs << " dialogs, " << rows << " rows\n";
  EXPECT_GT(dialogs, 200);
}

}  // namespace
}  // namespace kolvre
