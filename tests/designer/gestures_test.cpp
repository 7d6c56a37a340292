// The gesture state machine: dragging, bands, Shift clicks and resizing by the handles.
#include "designer/gestures.h"

#include <gtest/gtest.h>

#include <functional>

#include "designer/designer_fixture.h"

namespace kolvre {
namespace {

using namespace testing;

// --- dragging ---

TEST(DesignerDrag, SnapsTheNewTopLeftToTheGrid) {
  TestDesigner d(button(101, 0, 0));
  d.at(0).rect = {0, 0, 70, 25};
  d.designer.pressControl(0, {5, 5});
  EXPECT_EQ(d.designer.gesture(), GestureState::Pressed);
  EXPECT_FALSE(d.designer.outlinesShown());
  EXPECT_TRUE(handlesHidden(d.designer));
  EXPECT_EQ(d.host.status, "Id: 101   x 0, y 0 \u2014 40 \u00d7 15");
  d.designer.mouseMove({35, 25});  // unsnapped top-left (30, 20)
  EXPECT_EQ(d.designer.gesture(), GestureState::Dragging);
  EXPECT_EQ(d.designer.takeRefresh().moved, (std::vector<std::size_t>{0}));
  d.designer.mouseRelease();
  EXPECT_EQ(d.at(0).rect, (PixelRect{26, 16, 70, 25}));
  EXPECT_TRUE(d.designer.outlinesShown());
  EXPECT_EQ(d.designer.current(), 0u);
  EXPECT_TRUE(handlesShown(d.designer));
  EXPECT_EQ(d.designer.handles()[0].rect, (PixelRect{26 - 2 + 7, 16 - 2, 70 + 4 - 14, 2}));
  EXPECT_EQ(d.designer.undoSteps(), 1u);
}

TEST(DesignerDrag, SelectedControlsFollowAndGetNoHandles) {
  TestDesigner d(lines({button(101, 10, 10), button(102, 10, 40), button(103, 100, 80)}));
  d.band({0, 0}, {100, 80});  // the first two
  ASSERT_TRUE(d.at(0).selected && d.at(1).selected && !d.at(2).selected);
  const PixelRect a = d.at(0).rect, b = d.at(1).rect;
  d.dragControl(0, {a.x + 2, a.y + 2}, {{a.x + 2 + 9, a.y + 2 + 8}});
  EXPECT_EQ(d.at(0).rect.y, snapRow(a.y + 8, 5, kFixedBaseUnits));
  EXPECT_EQ(d.at(1).rect.y, snapRow(b.y + d.at(0).rect.y - a.y, 5, kFixedBaseUnits));
  EXPECT_EQ(d.at(1).rect.x, snapColumn(b.x + d.at(0).rect.x - a.x, 5, kFixedBaseUnits));
  EXPECT_EQ(pixelsToDuY(d.at(1).rect.y, kFixedBaseUnits), 45);
  EXPECT_EQ(pixelsToDuX(d.at(1).rect.x, kFixedBaseUnits), 15);
  EXPECT_EQ(d.designer.current(), 0u);  // current, but dragged as one of the selection: no handles
  EXPECT_TRUE(handlesHidden(d.designer));
  EXPECT_TRUE(d.at(0).selected && d.at(1).selected);
  EXPECT_EQ(d.designer.outlines().size(), 2u);
}

TEST(DesignerDrag, KolvPutsFollowingStaticsOneUnitBelowTheGridLine) {
  const std::string body =
      lines({button(101, 10, 10),
             controlLine("Nome", -1, "STATIC", testing::kStaticStyle, 60, 10, 40, 8)});
  // The flag reads as every yes-or-no key does: "si" is yes as "Si" is.
  for (const char* value : {"No", "Si", "si"}) {
    const bool kolv = value[0] != 'N';
    TestDesigner d(body);
    d.ui.settings["parametri/kolv"] = value;
    d.band({0, 0}, {120, 30});
    const PixelRect a = d.at(0).rect;
    d.dragControl(0, {a.x + 1, a.y + 1}, {{a.x + 1, a.y + 1 + 8}});
    EXPECT_EQ(pixelsToDuY(d.at(1).rect.y, kFixedBaseUnits), kolv ? 16 : 15) << kolv;
  }
}

TEST(DesignerDrag, MovesWithShiftHeldAreIgnored) {
  TestDesigner d(button(101, 0, 0));
  d.designer.pressControl(0, {3, 3});
  d.designer.mouseMove({3, 20}, kShift);  // moves with Shift held are ignored
  EXPECT_EQ(d.at(0).rect.y, 0);
  EXPECT_EQ(d.designer.gesture(), GestureState::Pressed);
  d.designer.mouseRelease();
  EXPECT_EQ(d.designer.gesture(), GestureState::Idle);
  EXPECT_TRUE(d.designer.outlinesShown());
}

TEST(DesignerDrag, StrayMovesAndReleasesAreIgnored) {
  TestDesigner d(button(101, 0, 0));
  d.designer.mouseMove({50, 50});
  d.designer.mouseRelease();
  EXPECT_EQ(d.designer.gesture(), GestureState::Idle);
  EXPECT_EQ(d.at(0).rect, (PixelRect{0, 0, 70, 23}));
  EXPECT_EQ(d.designer.undoSteps(), 0u);
}

// --- the gesture state machine ---

TEST(DesignerGestures, EachPressStartsItsGestureAndTheReleaseEndsIt) {
  struct Case {
    const char* name;
    std::function<void(TestDesigner&)> press;
    GestureState pressed;
  };
  const Case cases[] = {
      {"control",
       [](TestDesigner& d) {
         d.designer.pressControl(0, {3, 3});
       },
       GestureState::Pressed},
      {"background",
       [](TestDesigner& d) {
         d.designer.pressBackground({300, 150});
       },
       GestureState::Banding},
      {"handle of the current control",
       [](TestDesigner& d) {
         d.dragControl(0, {3, 3}, {});
         d.designer.pressHandle(4, {0, 0});
       },
       GestureState::Resizing},
      {"handle without a current control",
       [](TestDesigner& d) {
         d.designer.pressHandle(4, {0, 0});
       },
       GestureState::Idle},
      {"handle 13",
       [](TestDesigner& d) {
         d.dragControl(0, {3, 3}, {});
         d.designer.pressHandle(13, {0, 0});
       },
       GestureState::Idle},
      {"Shift on a control",
       [](TestDesigner& d) {
         d.designer.pressControl(0, {3, 3}, kShift);
       },
       GestureState::Idle},
      {"control out of range",
       [](TestDesigner& d) {
         d.designer.pressControl(7, {3, 3});
       },
       GestureState::Idle},
  };
  for (const Case& c : cases) {
    TestDesigner d(button(101, 0, 0));
    c.press(d);
    EXPECT_EQ(d.designer.gesture(), c.pressed) << c.name;
    d.designer.mouseRelease();
    EXPECT_EQ(d.designer.gesture(), GestureState::Idle) << c.name;
    EXPECT_TRUE(d.designer.outlinesShown()) << c.name;
  }
}

TEST(DesignerGestures, APressIsDraggingOnlyOnceThePointerLeavesTheGrabPoint) {
  TestDesigner d(button(101, 0, 0));
  d.designer.pressControl(0, {3, 3});
  d.designer.mouseMove({3, 3});
  EXPECT_EQ(d.designer.gesture(), GestureState::Pressed);
  d.designer.mouseMove({4, 3});  // off the grab point, on the same grid point
  EXPECT_EQ(d.designer.gesture(), GestureState::Dragging);
  EXPECT_EQ(d.at(0).rect.x, 0);
  d.designer.mouseRelease();
  EXPECT_EQ(d.designer.undoSteps(), 0u);
}

TEST(DesignerGestures, APressWhileAGestureIsUnderWayIsIgnored) {
  TestDesigner d(lines({button(101, 0, 0), button(102, 60, 0)}));
  d.designer.pressControl(0, {3, 3});
  d.designer.pressBackground({300, 150});  // would clear the current control
  d.designer.pressControl(1, {110, 3});
  d.designer.pressHandle(4, {0, 0});
  EXPECT_EQ(d.designer.gesture(), GestureState::Pressed);
  EXPECT_EQ(d.designer.current(), 0u);
  EXPECT_TRUE(d.designer.contextMenu(1, {110, 3}).items.empty());
  d.designer.mouseMove({3, 30});
  d.designer.mouseRelease();
  EXPECT_EQ(d.at(0).rect.y, snapRow(27, 5, kFixedBaseUnits));
  EXPECT_EQ(d.at(1).rect, (PixelRect{duToPixelsX(60, kFixedBaseUnits), 0, 70, 23}));
}

// --- bands and group boxes ---

TEST(DesignerBand, InsideAGroupBoxSelectsWhatItTouchesButNotTheGroup) {
  GroupDialog d;
  d.band({50, 50}, {100, 100});
  EXPECT_FALSE(d.at(0).selected);
  EXPECT_TRUE(d.at(1).selected);
  EXPECT_FALSE(d.designer.current());
  EXPECT_FALSE(d.designer.band());  // removed on release
}

TEST(DesignerBand, AcrossTheFrameSelectsTheGroupToo) {
  GroupDialog d;
  d.band({100, 100}, {10, 10});  // drawn backwards
  EXPECT_TRUE(d.at(0).selected);
  EXPECT_TRUE(d.at(1).selected);
}

TEST(DesignerBand, ClipsAtTheClientAreaAndAPressAloneSelectsNothing) {
  GroupDialog d;
  d.designer.pressBackground({300, 300});
  d.designer.mouseMove({-5, -40});
  EXPECT_EQ(d.designer.band(), (Box{300, 300, 0, 0}));
  d.designer.mouseRelease();
  EXPECT_TRUE(d.at(0).selected && d.at(1).selected);
  d.designer.pressBackground({300, 300});  // a press clears the selection...
  EXPECT_FALSE(d.designer.selection().anySelected());
  d.designer.mouseRelease();  // ...and a release without a move selects nothing
  EXPECT_FALSE(d.designer.selection().anySelected());
}

TEST(DesignerBand, PressesInsideAndNearAGroupBoxFrame) {
  {
    GroupDialog d;  // 11 pixels or more inside the frame: a band
    d.designer.pressBackground({120, 100});
    EXPECT_EQ(d.designer.gesture(), GestureState::Banding);
    EXPECT_FALSE(d.designer.current());
  }
  {
    GroupDialog d;  // within 10 pixels of the top edge: the group box is dragged
    d.designer.pressBackground({120, 30});
    EXPECT_EQ(d.designer.gesture(), GestureState::Pressed);
    EXPECT_EQ(d.designer.current(), 0u);
    // The grab offset inside the group box.
    EXPECT_EQ(d.designer.gestures().grabOffset(), (PixelPoint{100, 10}));
    d.designer.mouseMove({120, 30 + 8});  // the dialog holds the mouse: the move drags the group
    d.designer.mouseRelease();
    EXPECT_EQ(d.at(0).rect.y, snapRow(28, 5, kFixedBaseUnits));
  }
  {
    GroupDialog d;  // a selected group box is dragged from its interior as well
    d.at(0).selected = true;
    d.designer.pressBackground({120, 100});
    EXPECT_EQ(d.designer.gesture(), GestureState::Pressed);
    EXPECT_EQ(d.designer.current(), 0u);
  }
}

// --- Shift+click ---

TEST(DesignerShiftClick, OnTheCurrentControlMakesItSelected) {
  TestDesigner d(lines({button(101, 0, 0), button(102, 60, 0)}));
  d.dragControl(0, {3, 3}, {});
  ASSERT_EQ(d.designer.current(), 0u);
  ASSERT_TRUE(handlesShown(d.designer));
  d.designer.pressControl(0, {3, 3}, kShift);
  EXPECT_TRUE(d.at(0).selected);
  EXPECT_FALSE(d.designer.current());
  EXPECT_TRUE(handlesHidden(d.designer));
  EXPECT_EQ(d.designer.outlines().size(), 1u);
  EXPECT_EQ(d.designer.gesture(), GestureState::Idle);  // nothing is dragged
}

TEST(DesignerShiftClick, OnAnotherControlSelectsBoth) {
  TestDesigner d(lines({button(101, 0, 0), button(102, 60, 0)}));
  d.dragControl(0, {3, 3}, {});
  d.designer.pressControl(1, {110, 3}, kShift);
  EXPECT_TRUE(d.at(0).selected && d.at(1).selected);
  EXPECT_FALSE(d.designer.current());
}

TEST(DesignerShiftClick, OnASelectedControlDeselectsIt) {
  TestDesigner d(lines({button(101, 0, 0), button(102, 60, 0)}));
  d.band({0, 0}, {200, 5});
  ASSERT_TRUE(d.at(0).selected && d.at(1).selected);
  d.designer.takeRefresh();
  d.designer.pressControl(1, {110, 3}, kShift);
  EXPECT_TRUE(d.at(0).selected);
  EXPECT_FALSE(d.at(1).selected);
  EXPECT_TRUE(d.designer.takeRefresh().repaint);
}

// --- handles ---

TEST(DesignerResize, TopHandlePastTheBottomStopsAt15) {
  TestDesigner d(button(101, 0, 0));
  d.at(0).rect = {100, 50, 80, 40};  // bottom 90
  d.dragControl(0, {101, 51}, {});
  const Handle top = d.designer.handles()[0];
  d.designer.pressHandle(1, {top.rect.x + 5, top.rect.y});
  EXPECT_TRUE(handlesHidden(d.designer));
  d.designer.mouseMove({top.rect.x + 5, 200});
  EXPECT_EQ(d.host.status, "Id: 101   x 57, y 46 \u2014 46 \u00d7 9");
  d.designer.mouseRelease();
  EXPECT_EQ(d.at(0).rect, (PixelRect{100, 75, 80, 15}));
  EXPECT_TRUE(handlesShown(d.designer));
  EXPECT_EQ(d.designer.handles()[0].rect.y, 75 - 2);
}

TEST(DesignerResize, PressAndReleaseChangesNothing) {
  TestDesigner d(button(101, 0, 0));
  d.dragControl(0, {1, 1}, {});
  const PixelRect r = d.at(0).rect;
  d.designer.pressHandle(9, {d.designer.handles()[8].rect.x, d.designer.handles()[8].rect.y});
  d.designer.mouseMove({d.designer.handles()[8].rect.x, d.designer.handles()[8].rect.y});
  d.designer.mouseRelease();
  EXPECT_EQ(d.at(0).rect, r);
  EXPECT_TRUE(handlesShown(d.designer));
  EXPECT_EQ(d.designer.undoSteps(), 0u);
}

TEST(DesignerResize, AComboBoxIgnoresAllButItsSideBars) {
  TestDesigner d(controlLine("", 101, "COMBOBOX", testing::kComboStyle, 10, 10, 80, 60));
  d.dragControl(0, {d.at(0).rect.x + 1, d.at(0).rect.y + 1}, {});
  const PixelRect r = d.at(0).rect;
  for (int type : {1, 3, 5, 8, 9, 12}) {
    d.designer.pressHandle(type, {0, 0});
    d.designer.mouseMove({300, 200});
    d.designer.mouseRelease();
    EXPECT_EQ(d.at(0).rect, r) << type;
  }
  d.designer.pressHandle(4, {0, 0});
  d.designer.mouseMove({300, 200});
  d.designer.mouseRelease();
  EXPECT_EQ(d.at(0).rect.width, snapColumn(300, 5, kFixedBaseUnits) - r.x);
  EXPECT_EQ(d.at(0).rect.height, r.height);
}

}  // namespace
}  // namespace kolvre
