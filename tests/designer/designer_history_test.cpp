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
using testing::lines;
using testing::TestDesigner;

TEST(DesignerHistory, KeepsAtMostItsLimitAndDropsRedoOnANewStep) {
  DesignerHistory history(2);
  const auto state = [](int id) {
    DesignerSnapshot s;
    s.controls.emplace_back().id = id;
    return s;
  };
  history.record(state(1));
  history.record(state(2));
  history.record(state(3));
  EXPECT_EQ(history.undoSteps(), 2u);
  auto back = history.undo(state(4));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->controls[0].id, 3);
  EXPECT_TRUE(history.canRedo());
  history.record(state(5));
  EXPECT_FALSE(history.canRedo());
  EXPECT_FALSE(history.redo(state(6)));
}

TEST(DesignerHistory, SelectionAloneIsNoChange) {
  DesignerSnapshot a;
  a.controls.resize(2);
  DesignerSnapshot b = a;
  b.controls[1].selected = true;
  b.current = 1;
  EXPECT_TRUE(sameControls(a, b));
  b.controls[1].rect.x = 1;
  EXPECT_FALSE(sameControls(a, b));
}

TEST(DesignerUndo, RestoresControlsSelectionAndCurrentControl) {
  TestDesigner d(lines({controlLine("OK", 101, "BUTTON", testing::kButtonStyle, 10, 10, 40, 14),
                        controlLine("Nome", -1, "STATIC", testing::kStaticStyle, 10, 40, 40, 8)}));
  const std::string original = d.text();
  d.dragControl(0, {d.at(0).rect.x + 1, d.at(0).rect.y + 1}, {});  // current, no step
  EXPECT_EQ(d.designer.undoSteps(), 0u);
  d.designer.keyDown(vk(DesignerKey::Delete), {});
  ASSERT_EQ(d.model.controls.size(), 1u);
  EXPECT_FALSE(d.designer.current());
  EXPECT_TRUE(d.designer.keyDown(vk(DesignerKey::Z), {false, true}));
  EXPECT_EQ(d.text(), original);
  EXPECT_EQ(d.designer.current(), 0u);
  EXPECT_TRUE(d.designer.handles()[0].shown);
  const DesignerRefresh refresh = d.designer.takeRefresh();
  EXPECT_TRUE(refresh.rebuild);
  EXPECT_TRUE(d.designer.keyDown(vk(DesignerKey::Y), {false, true}));
  EXPECT_EQ(d.model.controls.size(), 1u);
  EXPECT_TRUE(d.designer.keyDown(vk(DesignerKey::Z), {false, true}));
  EXPECT_EQ(d.model.controls.size(), 2u);
  EXPECT_TRUE(d.designer.keyDown(vk(DesignerKey::Z), {true, true}));  // Ctrl+Shift+Z redoes
  EXPECT_EQ(d.model.controls.size(), 1u);
  EXPECT_FALSE(d.designer.canRedo());
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
    TestDesigner d(body);
    d.ui.settings["parametri/kolv"] = seed % 2 ? "Si" : "No";
    std::mt19937 rng(seed);
    const auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    // y is drawn before x, as the seeds' sequences were recorded.
    const auto randomPoint = [&] {
      const int y = pick(200);
      return PixelPoint{pick(360), y};
    };
    std::vector<std::string> texts{d.text()};
    std::size_t pos = 0;
    int undos = 0, redos = 0;
    for (int action = 0; action < 160; ++action) {
      const std::size_t count = d.model.controls.size();
      const auto anyControl = [&] {
        return static_cast<std::size_t>(pick(static_cast<int>(count)));
      };
      const auto press = [&](std::size_t i) {
        const PixelRect r = d.at(i).rect;
        return PixelPoint{r.x + r.width / 2, r.y + r.height / 2};
      };
      // Redo is drawn more often than undo, or no step would be left to redo between the steps.
      const int kind = pick(19);
      if (kind >= 14) {
        const bool undo = kind <= 15;
        const bool can = undo ? d.designer.canUndo() : d.designer.canRedo();
        EXPECT_EQ(undo ? d.commands().undo() : d.commands().redo(), can);
        if (can) {
          pos = undo ? pos - 1 : pos + 1;
          undo ? ++undos : ++redos;
        }
        ASSERT_EQ(d.text(), texts[pos]) << (undo ? "undo" : "redo") << " at action " << action;
        continue;
      }
      const std::size_t stepsBefore = d.designer.undoSteps();
      switch (kind) {
        case 0:  // a drag of one control, or of the selection it belongs to
          if (count == 0) break;
          {
            const std::size_t i = anyControl();
            const PixelPoint from = press(i);
            const int y1 = from.y + pick(40) - 20;
            const PixelPoint first{from.x + pick(40) - 20, y1};
            const int y2 = from.y + pick(60) - 30;
            const PixelPoint second{from.x + pick(60) - 30, y2};
            d.dragControl(i, from, {first, second});
          }
          break;
        case 1:  // a band
          d.band(randomPoint(), randomPoint());
          break;
        case 2: {  // a nudge key
          const DesignerKey keys[] = {DesignerKey::Up,    DesignerKey::Down,   DesignerKey::Left,
                                      DesignerKey::Right, DesignerKey::PageUp, DesignerKey::End};
          d.designer.keyDown(vk(keys[pick(6)]), {});
          break;
        }
        case 3:  // a resize of the current control
          if (d.designer.current() && d.designer.handles()[0].shown) {
            const int type = 1 + pick(kHandleCount);
            const PixelRect h = d.designer.handles()[static_cast<std::size_t>(type - 1)].rect;
            d.designer.pressHandle(type, {h.x, h.y});
            d.designer.mouseMove(randomPoint());
            d.designer.mouseRelease();
          } else if (count > 0) {
            const std::size_t i = anyControl();
            d.dragControl(i, press(i), {});
          }
          break;
        case 4:
          d.commands().newControl(kNewControlKinds[static_cast<std::size_t>(pick(21))].name,
                                  randomPoint());
          break;
        case 5:
          if (count > 0 && pick(2) == 0) {
            const std::size_t i = anyControl();
            d.dragControl(i, press(i), {});
          }
          d.designer.keyDown(vk(DesignerKey::Delete), {});
          break;
        case 6:
          d.commands().copy();
          d.commands().paste(snapPoint(randomPoint(), 5, kFixedBaseUnits));
          break;
        case 7:
          if (count == 0) break;
          d.host.answer = [&](ControlProperties form) {
            form.x = std::to_string(pick(150));
            form.caption = pick(2) ? "Testo" : form.caption;
            return form;
          };
          d.commands().editProperties(anyControl());
          break;
        case 8:
          d.commands().renumberSelected(std::nullopt);
          break;
        case 9:
          d.commands().renumberRange(101, 199, std::nullopt);
          break;
        case 10:
          if (count > 0) d.commands().widen(anyControl());
          break;
        case 11:
          if (count > 0) d.commands().autosize(anyControl());
          break;
        case 12:
          if (count > 0) d.designer.pressControl(anyControl(), {0, 0}, {true, false});
          break;
        case 13:
          if (count > 0) d.designer.contextMenu(anyControl(), randomPoint());
          break;
      }
      ASSERT_EQ(d.designer.gesture(), GestureState::Idle);
      if (d.designer.undoSteps() > stepsBefore) {
        texts.resize(pos + 1);
        texts.push_back(d.text());
        ++pos;
      } else {
        ASSERT_EQ(d.designer.undoSteps(), stepsBefore);
        ASSERT_EQ(d.text(), texts[pos]) << "a change without a step, action " << kind;
      }
    }
    // Everything undone: the dialog is written as it was read.
    while (d.commands().undo()) {
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
    Designer designer(model, ui, host, testing::fixedWidth);
    const std::string original = dialogBlock(model, name);
    const PixelRect client = designer.clientSize();
    designer.pressBackground({0, 0});
    designer.mouseMove({client.width, client.height});
    designer.mouseRelease();
    std::optional<std::size_t> lead;
    bool onGrid = true;
    for (std::size_t i = 0; i < model.controls.size(); ++i) {
      const DialogControl& c = model.controls[i];
      if (!c.selected) continue;
      if (!lead) lead = i;
      onGrid = onGrid && snapRow(c.rect.y, 5, kFixedBaseUnits) == c.rect.y &&
               snapColumn(c.rect.x, 5, kFixedBaseUnits) == c.rect.x;
    }
    if (!lead) return;
    if (variant == 0) ++tally.dialogs;
    const PixelRect r = model.controls[*lead].rect;
    const PixelPoint grab{r.x + 1, r.y + 1};
    if (variant == 0) {
      if (!onGrid) continue;
      ++tally.draggedBack;
      designer.pressControl(*lead, grab);
      designer.mouseMove({grab.x + 9, grab.y});
      EXPECT_NE(model.controls[*lead].rect.x, r.x);
      designer.mouseMove(grab);
      designer.mouseRelease();
    } else if (variant == 1) {
      designer.pressControl(*lead, grab);
      designer.mouseMove({grab.x + 9, grab.y + 8});
      designer.mouseRelease();
      EXPECT_NE(dialogBlock(model, name), original);
      EXPECT_TRUE(designer.commands().undo());
    } else {
      designer.keyDown(vk(DesignerKey::Right), {});
      designer.keyDown(vk(DesignerKey::Down), {});
      designer.keyDown(vk(DesignerKey::Left), {});
      designer.keyDown(vk(DesignerKey::Up), {});
    }
    EXPECT_EQ(dialogBlock(model, name), original) << "variant " << variant;
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
  TestDesigner d(lines({controlLine("OK", 101, "BUTTON", testing::kButtonStyle, 10, 10, 40, 15),
                        controlLine("Nome", -1, "STATIC", testing::kStaticStyle, 10, 40, 40, 10)}));
  RoundTrip tally;
  roundTrip(d.model, "DLG", tally);
  EXPECT_EQ(tally.draggedBack, 1);
}

}  // namespace
}  // namespace kolvre
