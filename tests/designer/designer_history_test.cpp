// Undo and redo in the designer: each gesture one step, and the written dialog after every undo
// and redo exactly what it was after the step it returns to.
#include "designer/designer_history.h"

#include <gtest/gtest.h>

#include <iostream>
#include <random>

#include "designer/control_kinds.h"
#include "designer/designer.h"
#include "designer/designer_fixture.h"
#include "document/document.h"
#include "document/resource_edits.h"
#include "document/script_file.h"
#include "support/corpus.h"
#include "support/corpus_documents.h"

namespace kolvre {
namespace {

using testing::controlLine;
using testing::Designer;
using testing::lines;

TEST(DesignerHistory, KeepsAtMostItsLimitAndDropsRedoOnANewStep) {
  DesignerHistory history(2);
  const auto state = [](int id) {
    DesignerSnapshot s;
    s.controls.emplace_back().Cargo = id;
    return s;
  };
  history.record(state(1));
  history.record(state(2));
  history.record(state(3));
  EXPECT_EQ(history.undoSteps(), 2u);
  auto back = history.undo(state(4));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->controls[0].Cargo, 3);
  EXPECT_TRUE(history.canRedo());
  history.record(state(5));
  EXPECT_FALSE(history.canRedo());
  EXPECT_FALSE(history.redo(state(6)));
}

TEST(DesignerHistory, SelectionAloneIsNoChange) {
  DesignerSnapshot a;
  a.controls.resize(2);
  DesignerSnapshot b = a;
  b.controls[1].lSel = true;
  b.current = 1;
  EXPECT_TRUE(sameControls(a, b));
  b.controls[1].rect.x = 1;
  EXPECT_FALSE(sameControls(a, b));
}

TEST(DesignerUndo, RestoresControlsSelectionAndCurrentControl) {
  Designer d(lines({controlLine("OK", 101, "BUTTON", testing::kButtonStyle, 10, 10, 40, 14),
                    controlLine("Nome", -1, "STATIC", testing::kStaticStyle, 10, 40, 40, 8)}));
  const std::string original = d.text();
  d.dragControl(0, {d.at(0).rect.y + 1, d.at(0).rect.x + 1}, {});  // current, no step
  EXPECT_EQ(d.drag.undoSteps(), 0u);
  d.drag.KeyDown(vk(DesignerKey::Delete), {});
  ASSERT_EQ(d.model.aControls.size(), 1u);
  EXPECT_FALSE(d.drag.oCtl);
  EXPECT_TRUE(d.drag.KeyDown(vk(DesignerKey::Z), {false, true}));
  EXPECT_EQ(d.text(), original);
  EXPECT_EQ(d.drag.oCtl, 0u);
  EXPECT_TRUE(d.drag.aSize[0].shown);
  const DesignerRefresh refresh = d.drag.takeRefresh();
  EXPECT_TRUE(refresh.rebuild);
  EXPECT_TRUE(d.drag.KeyDown(vk(DesignerKey::Y), {false, true}));
  EXPECT_EQ(d.model.aControls.size(), 1u);
  EXPECT_TRUE(d.drag.KeyDown(vk(DesignerKey::Z), {false, true}));
  EXPECT_EQ(d.model.aControls.size(), 2u);
  EXPECT_TRUE(d.drag.KeyDown(vk(DesignerKey::Z), {true, true}));  // Ctrl+Shift+Z redoes
  EXPECT_EQ(d.model.aControls.size(), 1u);
  EXPECT_FALSE(d.drag.canRedo());
}

// A random sequence of gestures and commands with undos and redos mixed in. After each step the
// written dialog is recorded; an undo or redo must give back exactly the text of the step it
// lands on, and an action that records no step must leave the text alone.
TEST(DesignerUndo, RandomActionsAgreeWithTheTextOfEveryStep) {
  const std::string body = lines(
      {controlLine("Gruppo", -1, "BUTTON", testing::kGroupStyle, 5, 5, 150, 80),
       controlLine("OK", 101, "BUTTON", testing::kButtonStyle, 10, 15, 40, 14),
       controlLine("Nome", -1, "STATIC", testing::kStaticStyle, 10, 35, 40, 8),
       "// kept before the edit", controlLine("", 102, "EDIT", testing::kEditStyle, 60, 35, 60, 12),
       controlLine("", 103, "COMBOBOX", testing::kComboStyle, 60, 55, 60, 50),
       controlLine("Scelta", 104, "BUTTON", "BS_AUTOCHECKBOX | WS_CHILD | WS_VISIBLE | WS_TABSTOP",
                   10, 90, 60, 10)});
  for (unsigned seed = 1; seed <= 8; ++seed) {
    SCOPED_TRACE(seed);
    Designer d(body);
    d.ui.settings["parametri/kolv"] = seed % 2 ? "Si" : "No";
    std::mt19937 rng(seed);
    const auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    const auto randomPoint = [&] { return Point{pick(200), pick(360)}; };
    std::vector<std::string> texts{d.text()};
    std::size_t pos = 0;
    int undos = 0, redos = 0;
    for (int action = 0; action < 160; ++action) {
      const std::size_t count = d.model.aControls.size();
      const auto anyControl = [&] {
        return static_cast<std::size_t>(pick(static_cast<int>(count)));
      };
      const auto press = [&](std::size_t i) {
        const UnitRect r = d.at(i).rect;
        return Point{r.y + r.height / 2, r.x + r.width / 2};
      };
      // Redo is drawn more often than undo, or no step would be left to redo between the steps.
      const int kind = pick(19);
      if (kind >= 14) {
        const bool undo = kind <= 15;
        const bool can = undo ? d.drag.canUndo() : d.drag.canRedo();
        EXPECT_EQ(undo ? d.drag.Undo() : d.drag.Redo(), can);
        if (can) {
          pos = undo ? pos - 1 : pos + 1;
          undo ? ++undos : ++redos;
        }
        ASSERT_EQ(d.text(), texts[pos]) << (undo ? "undo" : "redo") << " at action " << action;
        continue;
      }
      const std::size_t stepsBefore = d.drag.undoSteps();
      switch (kind) {
        case 0:  // a drag of one control, or of the selection it belongs to
          if (count == 0) break;
          {
            const std::size_t i = anyControl();
            const Point from = press(i);
            d.dragControl(i, from,
                          {{from.row + pick(40) - 20, from.column + pick(40) - 20},
                           {from.row + pick(60) - 30, from.column + pick(60) - 30}});
          }
          break;
        case 1:  // a band
          d.band(randomPoint(), randomPoint());
          break;
        case 2: {  // a nudge key
          const DesignerKey keys[] = {DesignerKey::Up,    DesignerKey::Down,   DesignerKey::Left,
                                      DesignerKey::Right, DesignerKey::PageUp, DesignerKey::End};
          d.drag.KeyDown(vk(keys[pick(6)]), {});
          break;
        }
        case 3:  // a resize of the current control
          if (d.drag.oCtl && d.drag.aSize[0].shown) {
            const int type = 1 + pick(kHandleCount);
            const UnitRect h = d.drag.aSize[static_cast<std::size_t>(type - 1)].rect;
            d.drag.InitSize(type, {h.y, h.x});
            d.drag.DragSize(randomPoint());
            d.drag.StopSize();
          } else if (count > 0) {
            const std::size_t i = anyControl();
            d.dragControl(i, press(i), {});
          }
          break;
        case 4:
          d.drag.NewRes(kNewControlKinds[static_cast<std::size_t>(pick(21))].name, randomPoint());
          break;
        case 5:
          if (count > 0 && pick(2) == 0) {
            const std::size_t i = anyControl();
            d.dragControl(i, press(i), {});
          }
          d.drag.KeyDown(vk(DesignerKey::Delete), {});
          break;
        case 6:
          d.drag.CopyCtl();
          d.drag.PasteCtl(snapPoint(randomPoint(), 5));
          break;
        case 7:
          if (count == 0) break;
          d.host.answer = [&](ControlProperties form) {
            form.x = std::to_string(pick(150));
            form.caption = pick(2) ? "Testo" : form.caption;
            return form;
          };
          d.drag.PropCtl(anyControl());
          break;
        case 8:
          d.drag.RenSel(std::nullopt);
          break;
        case 9:
          d.drag.RenId(101, 199, std::nullopt);
          break;
        case 10:
          if (count > 0) d.drag.MaxWidth(anyControl());
          break;
        case 11:
          if (count > 0) d.drag.AutoSize(anyControl());
          break;
        case 12:
          if (count > 0) d.drag.InitDrg(anyControl(), {0, 0}, {true, false});
          break;
        case 13:
          if (count > 0) d.drag.RightMenu(anyControl(), randomPoint());
          break;
      }
      ASSERT_EQ(d.drag.gesture(), Gesture::None);
      if (d.drag.undoSteps() > stepsBefore) {
        texts.resize(pos + 1);
        texts.push_back(d.text());
        ++pos;
      } else {
        ASSERT_EQ(d.drag.undoSteps(), stepsBefore);
        ASSERT_EQ(d.text(), texts[pos]) << "a change without a step, action " << kind;
      }
    }
    // Everything undone: the dialog is written as it was read.
    while (d.drag.Undo()) {
    }
    EXPECT_EQ(d.text(), texts.front());
    EXPECT_GT(undos, 5);
    EXPECT_GT(redos, 0);
  }
}

// Select everything with a band, drag it one grid step and back (or undo the drag), and nudge
// it one unit and back: the dialog is written as it was read.
struct RoundTrip {
  int dialogs = 0;
  int draggedBack = 0;  // every selected control on the grid, so the drag back restores it
};

void roundTrip(const DialogModel& read, std::string_view name, RoundTrip& tally) {
  for (const int variant : {0, 1, 2}) {
    DialogModel model = read;
    testing::ScriptedUi ui;
    testing::RecordingHost host;
    TDrag drag(model, ui, host, testing::fixedWidth);
    const std::string original = MAKEDLG(model, name);
    const UnitRect client = drag.clientSize();
    drag.InitSel({0, 0});
    drag.DragSel({client.height, client.width});
    drag.StopSel();
    std::optional<std::size_t> lead;
    bool onGrid = true;
    for (std::size_t i = 0; i < model.aControls.size(); ++i) {
      const DialogControl& c = model.aControls[i];
      if (!c.lSel) continue;
      if (!lead) lead = i;
      onGrid = onGrid && snapRow(c.rect.y, 5) == c.rect.y && snapColumn(c.rect.x, 5) == c.rect.x;
    }
    if (!lead) return;
    if (variant == 0) ++tally.dialogs;
    const UnitRect r = model.aControls[*lead].rect;
    const Point grab{r.y + 1, r.x + 1};
    if (variant == 0) {
      if (!onGrid) continue;
      ++tally.draggedBack;
      drag.InitDrg(*lead, grab);
      drag.DragDrg({grab.row, grab.column + 9});
      EXPECT_NE(model.aControls[*lead].rect.x, r.x);
      drag.DragDrg(grab);
      drag.StopDrg();
    } else if (variant == 1) {
      drag.InitDrg(*lead, grab);
      drag.DragDrg({grab.row + 8, grab.column + 9});
      drag.StopDrg();
      EXPECT_NE(MAKEDLG(model, name), original);
      EXPECT_TRUE(drag.Undo());
    } else {
      drag.KeyDown(vk(DesignerKey::Right), {});
      drag.KeyDown(vk(DesignerKey::Down), {});
      drag.KeyDown(vk(DesignerKey::Left), {});
      drag.KeyDown(vk(DesignerKey::Up), {});
    }
    EXPECT_EQ(MAKEDLG(model, name), original) << "variant " << variant;
  }
}

TEST(DesignerUndo, MovingEverythingAndBackLeavesEveryCorpusDialogUnchanged) {
  const std::vector<std::string> files = testing::corpusScripts();
  KOLVRE_CORPUS_CASE(files.empty() ? std::string() : files.front());
  RoundTrip tally;
  testing::forEachCorpusDialog(files, [&](const Document& doc, std::size_t i) {
    const auto block = entryBlock(doc.text(), doc.index(), i);
    if (!block) return;
    const DialogReading reading = readDialog(block->of(doc.text()));
    if (reading.failure != DialogFailure::None) return;
    SCOPED_TRACE(doc.index()[i].name);
    roundTrip(reading.dialog, doc.index()[i].name, tally);
  });
  std::cout << "[ corpus   ] " << tally.dialogs << " dialogs moved and back, " << tally.draggedBack
            << " of them dragged back on the grid\n";
  EXPECT_GT(tally.dialogs, 100);
  EXPECT_GT(tally.draggedBack, 0);
}

TEST(DesignerUndo, ADialogOnTheGridIsDraggedAndBackUnchanged) {
  Designer d(lines({controlLine("OK", 101, "BUTTON", testing::kButtonStyle, 10, 10, 40, 15),
                    controlLine("Nome", -1, "STATIC", testing::kStaticStyle, 10, 40, 40, 10)}));
  RoundTrip tally;
  roundTrip(d.model, "DLG", tally);
  EXPECT_EQ(tally.draggedBack, 1);
}

}  // namespace
}  // namespace kolvre
