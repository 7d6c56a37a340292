// The tab order: the rows of a body, the keys that move them, ids, and the block written back.
#include "dialogs/tab_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>

#include "dialogs/dialog_properties.h"
#include "dialogs/dialog_test_blocks.h"
#include "dialogs/dialog_writer.h"
#include "document/edit.h"
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

// The rows in their order, reversed within each stretch between two preprocessor lines.
std::vector<TabOrderRow> reversedInStretches(std::vector<TabOrderRow> rows) {
  auto from = rows.begin();
  for (auto at = rows.begin();; ++at) {
    if (at == rows.end() || at->directive) {
      std::reverse(from, at);
      if (at == rows.end()) return rows;
      from = at + 1;
    }
  }
}

TEST(TabOrder, TheItemsOfTheBodyAreTheRowsAndCommentsAndBlankLinesGoWithThem) {
  const TabOrder order = orderOf(kBlock);
  ASSERT_EQ(order.rows.size(), 3u);
  EXPECT_EQ(column(order, 0), (std::vector<std::string>{"OK", "Nome:", "Di \"noi\""}));
  EXPECT_EQ(column(order, 1), (std::vector<std::string>{"1", "IDC_NOME", "3"}));
  EXPECT_EQ(column(order, 2), (std::vector<std::string>{"BUTTON", "STATIC", "STATIC"}));
  EXPECT_EQ(rowCells(order.rows[1]),
            (std::array<std::string, 7>{"Nome:", "IDC_NOME", "STATIC", "5", "25", "40", "8"}));
  // The comment and the blank line above LTEXT are its own, from the line end before them.
  EXPECT_EQ(order.rows[1].before, "\r\n  // i testi\r\n\r\n  ");
  EXPECT_EQ(order.rows[1].text, "LTEXT \"Nome:\", IDC_NOME, 5, 25, 40, 8");
  EXPECT_EQ(order.head.substr(order.head.size() - 3), "\r\n{");
  EXPECT_EQ(order.close, "\r\n}");
}

TEST(TabOrder, AnUnchangedOrderWritesTheBlockAsItStood) {
  EXPECT_EQ(tabOrderBlock(orderOf(kBlock)), kBlock);
  // Blank lines, comments between and after the controls, a comment after BEGIN and after a
  // control, tabs.
  const std::string block = crlfLines({
      "DLG DIALOGEX 0, 0, 100, 50",
      "BEGIN  /* the controls */ ",
      "",
      "\t// first",
      "    PUSHBUTTON \"A\", 1, 5, 5, 50, 14  // A",
      "",
      "",
      "    PUSHBUTTON \"B\", 2, 5, 25, 50, 14",
      "    // nothing after B",
      "",
      "END",
  });
  Document doc;
  doc.load("", block + "\r\n");
  EXPECT_EQ(tabOrderBlock(orderOf(block)), block);
  EXPECT_EQ(tabOrderEdit(doc.text(), doc.index(), 0, orderOf(block)), std::nullopt);

  // Reversed: what follows BEGIN on its line stays there, the lines after BEGIN go with the
  // first control, the lines after the last control stay before END.
  TabOrder reversed = orderOf(block);
  std::reverse(reversed.rows.begin(), reversed.rows.end());
  EXPECT_EQ(tabOrderBlock(reversed), crlfLines({
                                         "DLG DIALOGEX 0, 0, 100, 50",
                                         "BEGIN  /* the controls */ ",
                                         "",
                                         "",
                                         "    PUSHBUTTON \"B\", 2, 5, 25, 50, 14",
                                         "",
                                         "\t// first",
                                         "    PUSHBUTTON \"A\", 1, 5, 5, 50, 14  // A",
                                         "    // nothing after B",
                                         "",
                                         "END",
                                     }));
}

// A body without items has no rows; a header without its four numbers, a block without a body
// or with its body left open has no tab order, as the dialog's reader reads them.
TEST(TabOrder, AnEmptyBodyHasNoRowsAndABlockWithoutABodyNoOrder) {
  const std::string empty = "DLG DIALOG 0, 0, 100, 50\r\nBEGIN // none\r\n  // yet\r\nEND";
  const TabOrder order = orderOf(empty);
  EXPECT_TRUE(order.rows.empty());
  EXPECT_EQ(tabOrderBlock(order), empty);
  for (const auto& [block, failure] : std::vector<std::pair<std::string, DialogFailure>>{
           {"DLG DIALOG 0, 0, 100\r\nBEGIN\r\nEND", DialogFailure::NoHeaderNumbers},
           {"DLG DIALOG 0, 0, 100, 50\r\nSTYLE WS_POPUP", DialogFailure::NoBody},
           {"DLG DIALOG 0, 0, 100, 50\r\nBEGIN\r\n  LTEXT \"A\", 1, 5, 5, 50, 8",
            DialogFailure::NoBody},
       }) {
    EXPECT_EQ(readTabOrder(block).failure, failure) << block;
    EXPECT_EQ(readDialog(block).failure, failure) << block;
  }
}

TEST(TabOrder, F11OnTheFirstRowAndF12OnTheLastChangeNothing) {
  TabOrder order = orderOf(kBlock);
  const std::vector<TabOrderRow> rows = order.rows;
  std::size_t current = 0;
  EXPECT_EQ(tabOrderKeyAction(order.rows, current, 122), TabOrderAction::MoveUp);
  EXPECT_EQ(current, 0u);
  current = 2;
  EXPECT_EQ(tabOrderKeyAction(order.rows, current, 123), TabOrderAction::MoveDown);
  EXPECT_EQ(current, 2u);
  EXPECT_EQ(order.rows, rows);
  // In between, the current row follows the moved control.
  EXPECT_EQ(tabOrderKeyAction(order.rows, current, 122), TabOrderAction::MoveUp);
  EXPECT_EQ(current, 1u);
  EXPECT_EQ(column(order, 0), (std::vector<std::string>{"OK", "Di \"noi\"", "Nome:"}));
  current = 0;
  EXPECT_EQ(tabOrderKeyAction(order.rows, current, 123), TabOrderAction::MoveDown);
  EXPECT_EQ(current, 1u);
  EXPECT_EQ(column(order, 0)[0], "Di \"noi\"");
  EXPECT_EQ(tabOrderKeyAction(order.rows, current, 13), TabOrderAction::Confirm);
  EXPECT_EQ(tabOrderKeyAction(order.rows, current, 113), TabOrderAction::EditId);
  EXPECT_EQ(tabOrderKeyAction(order.rows, current, 65), TabOrderAction::None);
  std::vector<TabOrderRow> none;
  EXPECT_EQ(tabOrderKeyAction(none, current, 123), TabOrderAction::None);
}

TEST(TabOrder, AMovedControlTakesItsCommentLinesAndItsLineEndWithIt) {
  TabOrder order = orderOf(kBlock);
  std::size_t current = 2;
  tabOrderKeyAction(order.rows, current, 122);
  tabOrderKeyAction(order.rows, current, 122);  // "Di noi" first
  EXPECT_EQ(tabOrderBlock(order),
            testing::ownFormDialog(crlfLines({
                " CONTROL \"Di \"\"noi\"\"\", 3, \"STATIC\", SS_LEFT | WS_CHILD | WS_VISIBLE, 5, "
                "40, 90, 8",
                "CONTROL \"OK\",1,\"BUTTON\",BS_PUSHBUTTON|WS_CHILD|WS_VISIBLE,5,5,50,14",
                "  // i testi",
                "",
                "  LTEXT \"Nome:\", IDC_NOME, 5, 25, 40, 8",
            })));
  current = 2;
  tabOrderKeyAction(order.rows, current, 122);  // LTEXT above OK, its comment with it
  EXPECT_NE(tabOrderBlock(order).find("90, 8\r\n  // i testi\r\n\r\n  LTEXT \"Nome:\", IDC_NOME, "
                                      "5, 25, 40, 8\r\nCONTROL \"OK\""),
            std::string::npos);
}

// A comment after a control's code on its last line stays with it; one on the lines after it
// goes with the control below (the one it stands above), and one after the last control stays
// before the close.
TEST(TabOrder, ACommentAfterTheCodeOnItsLineStaysWithTheControl) {
  const std::string block = crlfLines({
      "DLG DIALOG 0, 0, 100, 50",
      "BEGIN",
      "    PUSHBUTTON \"A\", 1, 5, 5, 50, 14 /* A */ // A",
      "    // over B",
      "    PUSHBUTTON \"B\", 2, 5, 25, 50, 14",
      "    PUSHBUTTON \"C\", 3, 5, 45, 50, 14 // C",
      "    // the end",
      "END",
  });
  TabOrder order = orderOf(block);
  ASSERT_EQ(order.rows.size(), 3u);
  EXPECT_EQ(order.rows[0].after, " /* A */ // A");
  std::reverse(order.rows.begin(), order.rows.end());
  EXPECT_EQ(tabOrderBlock(order), crlfLines({
                                      "DLG DIALOG 0, 0, 100, 50",
                                      "BEGIN",
                                      "    PUSHBUTTON \"C\", 3, 5, 45, 50, 14 // C",
                                      "    // over B",
                                      "    PUSHBUTTON \"B\", 2, 5, 25, 50, 14",
                                      "    PUSHBUTTON \"A\", 1, 5, 5, 50, 14 /* A */ // A",
                                      "    // the end",
                                      "END",
                                  }));
}

TEST(TabOrder, AStatementOverSeveralLinesMovesWhole) {
  const std::string block = crlfLines({
      "DLG DIALOGEX 0, 0, 100, 50",
      "{",
      "    CONTROL \"Uno\", 1, \"BUTTON\",",
      "            BS_PUSHBUTTON | // the kind",
      "            WS_TABSTOP,",
      "            5, 5, 50, 14",
      "    EDITTEXT 2, 5, 25, 50, 14, ES_AUTOHSCROLL",
      "            | WS_BORDER",
      "}",
  });
  TabOrder order = orderOf(block);
  ASSERT_EQ(order.rows.size(), 2u);
  EXPECT_EQ(rowCells(order.rows[0]),
            (std::array<std::string, 7>{"Uno", "1", "BUTTON", "5", "5", "50", "14"}));
  EXPECT_EQ(rowCells(order.rows[1])[1], "2");
  // A text in pieces over several lines shows as the control shows it.
  const TabOrder pieces =
      orderOf(crlfLines({"D DIALOG 0, 0, 10, 10", "{", " LTEXT \"a \"\"b\"\" \" \\",
                         "   \"c\", 1, 2, 3, 4, 5", "}"}));
  ASSERT_EQ(pieces.rows.size(), 1u);
  EXPECT_EQ(rowCells(pieces.rows[0])[0], "a \"b\" c");
  std::swap(order.rows[0], order.rows[1]);
  EXPECT_EQ(tabOrderBlock(order), crlfLines({
                                      "DLG DIALOGEX 0, 0, 100, 50",
                                      "{",
                                      "    EDITTEXT 2, 5, 25, 50, 14, ES_AUTOHSCROLL",
                                      "            | WS_BORDER",
                                      "    CONTROL \"Uno\", 1, \"BUTTON\",",
                                      "            BS_PUSHBUTTON | // the kind",
                                      "            WS_TABSTOP,",
                                      "            5, 5, 50, 14",
                                      "}",
                                  }));
}

// A line end of LF alone is no line end to the script's reading: the line end and indentation
// before a control move with it as they are.
TEST(TabOrder, LoneLineFeedsMoveWithTheirControls) {
  const std::string block =
      "DLG DIALOG 0, 0, 100, 50\r\nBEGIN\n    LTEXT \"A\", 1, 5, 5, 50, 8\n"
      "    LTEXT \"B\", 2, 5, 25, 50, 8\r\n    LTEXT \"C\", 3, 5, 45, 50, 8\nEND";
  TabOrder order = orderOf(block);
  ASSERT_EQ(order.rows.size(), 3u);
  EXPECT_EQ(tabOrderBlock(order), block);
  std::reverse(order.rows.begin(), order.rows.end());
  const std::string reversed =
      "DLG DIALOG 0, 0, 100, 50\r\nBEGIN\r\n    LTEXT \"C\", 3, 5, 45, 50, 8\n"
      "    LTEXT \"B\", 2, 5, 25, 50, 8\n    LTEXT \"A\", 1, 5, 5, 50, 8\nEND";
  EXPECT_EQ(tabOrderBlock(order), reversed);
  TabOrder back = orderOf(reversed);
  std::reverse(back.rows.begin(), back.rows.end());
  EXPECT_EQ(tabOrderBlock(back), block);
}

TEST(TabOrder, IdsAreCheckedAndWrittenInTheStatementsOwnForm) {
  TabOrder order = orderOf(kBlock);
  EXPECT_EQ(idFault("IDC_NOME", "IDC_NOME"), std::nullopt);  // as shown, a symbol too
  EXPECT_EQ(idFault("12a", "IDC_NOME"), "Campo non valido.");
  EXPECT_EQ(idFault("123456", "1"), "Numero troppo grande.");
  EXPECT_EQ(idFault("70000", "1"), "Numero troppo grande.");
  EXPECT_EQ(idFault("000065535", "1"), std::nullopt);
  EXPECT_EQ(idFault("", "1"), std::nullopt);

  EXPECT_TRUE(setRowId(order.rows[1], "IDC_NOME"));  // unchanged
  EXPECT_EQ(order.rows, orderOf(kBlock).rows);
  EXPECT_TRUE(setRowId(order.rows[1], "120"));
  EXPECT_TRUE(setRowId(order.rows[0], " 7"));
  EXPECT_EQ(column(order, 1), (std::vector<std::string>{"7", "120", "3"}));
  const std::string block = tabOrderBlock(order);
  EXPECT_NE(block.find("  // i testi\r\n\r\n  LTEXT \"Nome:\", 120, 5, 25, 40, 8\r\n"),
            std::string::npos);
  EXPECT_NE(block.find("CONTROL \"OK\",7,\"BUTTON\""), std::string::npos) << block;
}

// The edit replaces only the rows that moved or changed: one splice over each run of them.
TEST(TabOrder, TheEditSplicesOnlyTheRowsThatMovedOrChanged) {
  const std::string body = crlfLines({
      "  LTEXT \"A\", 1, 5, 5, 50, 8",
      "  LTEXT \"B\", 2, 5, 15, 50, 8",
      "  LTEXT \"C\", 3, 5, 25, 50, 8",
      "  LTEXT \"D\", 4, 5, 35, 50, 8",
      "  LTEXT \"E\", 5, 5, 45, 50, 8",
  });
  Document doc;
  doc.load("", "X ICON x.ico\r\n" + testing::ownFormDialog(body) + "\r\n");
  const std::size_t dialog = doc.index()[0].type == ResourceType::Dialog ? 0 : 1;
  const auto extent = dialogExtent(doc.text(), doc.index(), dialog);
  ASSERT_TRUE(extent);
  TabOrder order = readTabOrder(extent->of(doc.text())).order;
  std::swap(order.rows[1], order.rows[2]);
  setRowId(order.rows[4], "9");
  const auto edit = tabOrderEdit(doc.text(), doc.index(), dialog, order);
  ASSERT_TRUE(edit);
  EXPECT_EQ(edit->label, "Ordine tabulazione");
  ASSERT_EQ(edit->splices.size(), 2u);
  const std::string_view text = doc.text();
  EXPECT_EQ(text.substr(edit->splices[0].begin, edit->splices[0].end - edit->splices[0].begin),
            "\r\n  LTEXT \"B\", 2, 5, 15, 50, 8\r\n  LTEXT \"C\", 3, 5, 25, 50, 8");
  EXPECT_EQ(edit->splices[0].inserted,
            "\r\n  LTEXT \"C\", 3, 5, 25, 50, 8\r\n  LTEXT \"B\", 2, 5, 15, 50, 8");
  EXPECT_EQ(edit->splices[1].inserted, "\r\n  LTEXT \"E\", 9, 5, 45, 50, 8");
  EXPECT_EQ(text.substr(edit->splices[1].end, 3), "\r\n}");
  // An order read from another text stores nothing.
  EXPECT_EQ(tabOrderEdit(doc.text(), doc.index(), dialog, orderOf(kBlock)), std::nullopt);
}

// Preprocessor lines are rows that stay in their places, and no row moves past one: the keys
// change nothing there, and an order that would need it is refused.
TEST(TabOrder, PreprocessorLinesStayAndNoRowMovesPastThem) {
  const std::string block = crlfLines({
      "DLG DIALOG 0, 0, 100, 50",
      "BEGIN",
      "    LTEXT \"A\", 1, 5, 5, 50, 8",
      "    LTEXT \"B\", 2, 5, 15, 50, 8",
      "#ifdef EXTRA",
      "    LTEXT \"C\", 3, 5, 25, 50, 8",
      "    LTEXT \"D\", 4, 5, 35, 50, 8",
      "#else",
      "    LTEXT \"E\", 5, 5, 45, 50, 8",
      "#endif",
      "END",
  });
  TabOrder order = orderOf(block);
  ASSERT_EQ(order.rows.size(), 8u);
  EXPECT_EQ(column(order, 0),
            (std::vector<std::string>{"A", "B", "#ifdef EXTRA", "C", "D", "#else", "E", "#endif"}));
  EXPECT_EQ(rowCells(order.rows[2])[1], "");
  EXPECT_FALSE(setRowId(order.rows[2], "5"));  // a preprocessor line has no id
  const std::vector<TabOrderRow> rows = order.rows;
  for (const auto& [row, key] : std::vector<std::pair<std::size_t, int>>{
           {1, 123}, {2, 122}, {2, 123}, {3, 122}, {4, 123}, {6, 122}, {6, 123}}) {
    std::size_t current = row;
    tabOrderKeyAction(order.rows, current, key);
    EXPECT_EQ(current, row) << row << " " << key;
  }
  EXPECT_EQ(order.rows, rows);
  EXPECT_EQ(tabOrderFault(order), std::nullopt);
  order.rows = reversedInStretches(order.rows);
  EXPECT_EQ(tabOrderFault(order), std::nullopt);
  EXPECT_EQ(column(order, 0),
            (std::vector<std::string>{"B", "A", "#ifdef EXTRA", "D", "C", "#else", "E", "#endif"}));
  EXPECT_NE(tabOrderBlock(order).find("#ifdef EXTRA\r\n    LTEXT \"D\""), std::string::npos);

  // Across #else, or a preprocessor line moved.
  order.rows = rows;
  std::swap(order.rows[4], order.rows[6]);
  EXPECT_EQ(tabOrderFault(order),
            "Le righe del preprocessore (#if, #else, #endif, ...) restano al loro posto e "
            "nessuna riga passa oltre una di esse.");
  order.rows = rows;
  std::rotate(order.rows.begin() + 1, order.rows.begin() + 2, order.rows.begin() + 3);
  EXPECT_TRUE(tabOrderFault(order));
  Document doc;
  doc.load("", block);
  EXPECT_EQ(tabOrderEdit(doc.text(), doc.index(), 0, order), std::nullopt);
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
  EXPECT_EQ(rowCells(opened[1][1])[0], "Di \"noi\"");
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

TEST_F(TabOrderCommand, AConfirmWithTheOrderUnchangedStoresNothing) {
  EXPECT_FALSE(run({[](std::vector<TabOrderRow> rows, std::size_t row) {
    return TabOrderClosing{true, rows, row};
  }}));
  EXPECT_EQ(doc.text(), kBlock + "\r\n\r\n\r\nZ ICON z.ico");
  EXPECT_FALSE(doc.canUndo());
}

TEST_F(TabOrderCommand, AnOrderAcrossAPreprocessorLineIsToldAndTheListOpensAgain) {
  doc.load("", crlfLines({"DLG DIALOG 0, 0, 100, 50", "BEGIN", "    LTEXT \"A\", 1, 5, 5, 50, 8",
                          "#if 0", "    LTEXT \"B\", 2, 5, 15, 50, 8", "#endif", "END"}));
  const std::string before = doc.text();
  ui.buttons = {kIdOk, kIdYes};
  EXPECT_FALSE(run({[](std::vector<TabOrderRow> rows, std::size_t) {
                      std::swap(rows[0], rows[2]);
                      return TabOrderClosing{true, rows, 2};
                    },
                    [](std::vector<TabOrderRow> rows, std::size_t row) {
                      return TabOrderClosing{false, rows, row};
                    }}));
  ASSERT_EQ(opened.size(), 2u);
  EXPECT_EQ(rowCells(opened[1][0])[0], "B");
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0].text, kTabOrderAcrossDirective);
  EXPECT_EQ(doc.text(), before);
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

// Every readable dialog of the corpus of real scripts: the order confirmed unchanged stores
// nothing, the rows reversed (within the stretches between preprocessor lines) and reversed
// again give the script back byte for byte, and a changed width leaves the body byte for byte.
TEST(TabOrderCorpus, TheOrderUnchangedOrReversedTwiceLeavesTheBytesAndPropertiesLeaveTheBody) {
  const std::vector<std::string> files = testing::corpusScripts();
  KOLVRE_CORPUS_CASE(files.empty() ? std::string() : files.front());
  int all = 0, dialogs = 0, rows = 0, blankLines = 0, directives = 0, unreadByTheDialogReader = 0;
  std::size_t splicedBytes = 0, blockBytes = 0;
  testing::forEachCorpusDialog(files, [&](Document& doc, std::size_t i) {
    ++all;
    const auto extent = dialogExtent(doc.text(), doc.index(), i);
    if (!extent) return;
    const std::string_view block = extent->of(doc.text());
    const TabOrderReading reading = readTabOrder(block);
    if (reading.failure != DialogFailure::None) return;
    SCOPED_TRACE(doc.index()[i].name);
    ++dialogs;
    rows += static_cast<int>(reading.order.rows.size());
    const std::string_view body = block.substr(reading.order.head.size());
    if (body.find("\r\n\r\n") != std::string_view::npos) ++blankLines;
    if (std::any_of(reading.order.rows.begin(), reading.order.rows.end(),
                    [](const TabOrderRow& row) { return row.directive; }))
      ++directives;
    if (readDialog(block).failure != DialogFailure::None) ++unreadByTheDialogReader;

    // Unchanged: the same block, no edit, and the command reading the document's tree agrees.
    EXPECT_EQ(tabOrderBlock(reading.order), block);
    EXPECT_EQ(tabOrderEdit(doc.text(), doc.index(), i, reading.order), std::nullopt);
    ScriptedUi ui;
    std::vector<TabOrderRow> shown;
    EXPECT_FALSE(changeTabOrder(ui, doc, i, [&](const std::vector<TabOrderRow>& r, std::size_t) {
      shown = r;
      return TabOrderClosing{true, r, 0};
    }));
    EXPECT_TRUE(shown == reading.order.rows);

    // The last row moved up one: one splice over the two rows, nothing else.
    const std::vector<TabOrderRow>& read = reading.order.rows;
    if (read.size() >= 2 && !read[read.size() - 2].directive && !read.back().directive) {
      TabOrder swapped = reading.order;
      std::swap(swapped.rows[read.size() - 2], swapped.rows.back());
      const auto edit = tabOrderEdit(doc.text(), doc.index(), i, swapped);
      const auto length = [](const TabOrderRow& row) {
        return row.before.size() + row.text.size() + row.after.size();
      };
      ASSERT_TRUE(edit);
      ASSERT_EQ(edit->splices.size(), 1u);
      EXPECT_EQ(edit->splices[0].end - edit->splices[0].begin,
                length(read.back()) + length(read[read.size() - 2]));
      EXPECT_EQ(edit->splices[0].end, extent->end - reading.order.close.size());
      splicedBytes += edit->splices[0].inserted.size();
      blockBytes += block.size();
    }

    // Reversed, then reversed again.
    TabOrder reversed = reading.order;
    reversed.rows = reversedInStretches(reversed.rows);
    ASSERT_EQ(tabOrderFault(reversed), std::nullopt);
    const auto there = tabOrderEdit(doc.text(), doc.index(), i, reversed);
    const std::string turned = there ? applySplices(doc.text(), there->splices) : doc.text();
    const auto turnedExtent = dialogExtent(turned, doc.index(), i);
    ASSERT_TRUE(turnedExtent);
    EXPECT_EQ(turnedExtent->of(turned), tabOrderBlock(reversed));
    TabOrderReading again = readTabOrder(turnedExtent->of(turned));
    ASSERT_EQ(again.failure, DialogFailure::None);
    ASSERT_EQ(again.order.rows.size(), reading.order.rows.size());
    again.order.rows = reversedInStretches(again.order.rows);
    const auto back = tabOrderEdit(turned, doc.index(), i, again.order);
    EXPECT_EQ(back ? applySplices(turned, back->splices) : turned, doc.text());

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
    EXPECT_EQ(
        dialogUnits(after.dialog.rect, kFixedBaseUnits, after.dialog.styleAsRead, after.dialog.mode)
            .width,
        321);
    EXPECT_EQ(after.dialog.title, before.dialog.title);
    EXPECT_EQ(after.dialog.styleAsRead, before.dialog.styleAsRead);
    EXPECT_TRUE(after.dialog.controls == before.dialog.controls);
    const std::size_t bodyAt = reading.order.head.rfind("\r\n");
    const std::string_view oldBody = block.substr(bodyAt + 2);
    EXPECT_TRUE(std::string_view(*changed).ends_with(oldBody)) << *changed;
  });
  std::cout << "[ corpus   ] " << dialogs << " of " << all << " dialogs, " << rows << " rows; "
            << blankLines << " with blank lines in the body, " << directives
            << " with preprocessor lines, " << unreadByTheDialogReader
            << " the dialog reader does not read; the last row moved up splices " << splicedBytes
            << " of " << blockBytes << " bytes\n";
  EXPECT_GT(dialogs, 200);
}

}  // namespace
}  // namespace kolvre
