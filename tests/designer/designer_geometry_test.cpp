#include "designer/designer_geometry.h"

#include <gtest/gtest.h>

#include "designer/designer_keys.h"
#include "platform/system_metrics.h"

namespace kolvre {
namespace {

DialogControl controlAt(ControlClass live, PixelRect rect, std::uint32_t style = 0) {
  DialogControl c;
  c.live = live;
  c.rect = rect;
  c.liveStyle = style;
  return c;
}

TEST(DesignerGrid, SnappingRoundsTwiceHalvesAwayFromZero) {
  // {value, row snapped (8.125 steps), column snapped (8.75 steps)} with the grid of 5.
  const int rows[][3] = {
      {20, 16, 18},  // 20 / 8.125 = 2.46 -> 2 -> 16.25 -> 16; 20 / 8.75 = 2.29 -> 2 -> 17.5 -> 18
      {30, 33, 26},  // 30 / 8.125 = 3.69 -> 4 -> 32.5 -> 33; 30 / 8.75 = 3.43 -> 3 -> 26.25 -> 26
      {0, 0, 0},       {4, 0, 0},    {5, 8, 9},        {-5, -8, -9},
      {-20, -16, -18}, {41, 41, 44}, {1000, 999, 998},
  };
  for (const auto& [v, row, column] : rows) {
    EXPECT_EQ(snapRow(v, 5, kFixedBaseUnits), row) << v;
    EXPECT_EQ(snapColumn(v, 5, kFixedBaseUnits), column) << v;
  }
  EXPECT_EQ(snapPoint({30, 20}, 5, kFixedBaseUnits), (PixelPoint{26, 16}));
  EXPECT_EQ(snapRow(37, 0, kFixedBaseUnits), 37);  // no grid: as it is
}

TEST(DesignerGrid, EveryGridLineSnapsToItselfAndWholeUnitsSurviveTheNudge) {
  for (int grid = 1; grid <= 10; ++grid) {
    for (int k = -40; k <= 40; ++k) {
      const int row = duToPixelsY(k * grid, kFixedBaseUnits);
      const int column = duToPixelsX(k * grid, kFixedBaseUnits);
      EXPECT_EQ(snapRow(row, grid, kFixedBaseUnits), row) << grid << " " << k;
      EXPECT_EQ(snapColumn(column, grid, kFixedBaseUnits), column) << grid << " " << k;
    }
  }
  for (int du = -50; du <= 300; ++du) {
    EXPECT_EQ(nudgeColumn(duToPixelsX(du, kFixedBaseUnits), 1, kFixedBaseUnits),
              duToPixelsX(du + 1, kFixedBaseUnits));
    EXPECT_EQ(nudgeRow(duToPixelsY(du, kFixedBaseUnits), -1, kFixedBaseUnits),
              duToPixelsY(du - 1, kFixedBaseUnits));
  }
  EXPECT_EQ(nudgeColumn(26, 1, kFixedBaseUnits), 28);  // 26 / 1.75 = 14.86 -> 15; 16 * 1.75 = 28
  EXPECT_EQ(nudgeRow(0, -1, kFixedBaseUnits), -2);
}

TEST(DesignerGrid, DotsStopAtTheExtentAndRoundUp) {
  EXPECT_EQ(gridColumns(30, 5, kFixedBaseUnits),
            (std::vector<int>{0, 9, 18, 27}));  // 8.75, 17.5, 26.25
  EXPECT_EQ(gridColumns(35, 5, kFixedBaseUnits), (std::vector<int>{0, 9, 18, 27, 35}));
  EXPECT_EQ(gridRows(16, 5, kFixedBaseUnits), (std::vector<int>{0, 9}));  // 16.25 exceeds 16
  EXPECT_EQ(gridRows(17, 5, kFixedBaseUnits), (std::vector<int>{0, 9, 17}));
  EXPECT_TRUE(gridColumns(100, 0, kFixedBaseUnits).empty());
  EXPECT_EQ(ceilColumnSteps(1, 5, kFixedBaseUnits), 9);
  EXPECT_EQ(ceilColumnSteps(9, 5, kFixedBaseUnits), 18);  // 9 px is past one step of 8.75
  EXPECT_EQ(ceilColumnSteps(0, 5, kFixedBaseUnits), 0);
}

TEST(DesignerPastePlace, BesideThenBelowThenTheFirstFreePlaceThenAStepAside) {
  const PixelRect client{0, 0, 200, 100};
  DialogControl copied;
  copied.rect = {9, 8, 60, 20};
  DialogControl group;  // holds others: no obstacle
  group.live = ControlClass::GroupBox;
  group.rect = {0, 0, 200, 100};
  // Right of the copied control, a grid step away (5 units: 9 pixels across, 8 down).
  EXPECT_EQ(freePastePlace({copied, group}, copied.rect, client, 5, kFixedBaseUnits),
            (PixelPoint{79, 8}));
  // No room on the right: below.
  DialogControl right = copied;
  right.rect = {80, 0, 120, 100};
  EXPECT_EQ(freePastePlace({copied, right}, copied.rect, client, 5, kFixedBaseUnits),
            (PixelPoint{9, 41}));
  // Neither: the first free grid place, row by row.
  DialogControl below = copied;
  below.rect = {0, 30, 80, 70};
  EXPECT_EQ(freePastePlace({right, below}, copied.rect, client, 5, kFixedBaseUnits),
            (PixelPoint{0, 0}));
  // Nowhere free: a grid step right of and below the copied control.
  EXPECT_EQ(freePastePlace({copied, right, below}, copied.rect, client, 5, kFixedBaseUnits),
            (PixelPoint{18, 16}));
}

TEST(DesignerHitTest, PointBorderAndBand) {
  const Box group{20, 20, 220, 220};
  struct Case {
    Box rect;
    HitMode mode;
    bool hit;
  };
  const Case cases[] = {
      {{100, 100, 100, 100}, HitMode::Point, true},    // inside
      {{100, 100, 100, 100}, HitMode::Border, false},  // more than 10 from every edge
      {{100, 30, 100, 30}, HitMode::Border, true},     // 10 below the top edge
      {{100, 31, 100, 31}, HitMode::Border, false},    // 11
      {{210, 100, 210, 100}, HitMode::Border, true},   // 10 left of the right edge
      {{220, 220, 220, 220}, HitMode::Point, true},    // the corner: edges count
      {{100, 221, 100, 221}, HitMode::Point, false},   // below
      {{50, 50, 100, 100}, HitMode::Band, false},      // a band inside encloses nothing of it
      {{100, 100, 50, 50}, HitMode::Band, false},      // the same band drawn backwards
      {{10, 10, 100, 100}, HitMode::Band, true},       // a band across the frame
      {{0, 0, 20, 20}, HitMode::Band, true},           // touching the corner
      {{0, 0, 300, 19}, HitMode::Band, false},         // above
      {{20, 20, 220, 220}, HitMode::Band, false},      // exactly the group: enclosed
  };
  for (const Case& c : cases) {
    EXPECT_EQ(hitTest(group, c.rect, c.mode), c.hit)
        << c.rect.left << "," << c.rect.top << " " << c.rect.right << "," << c.rect.bottom
        << " mode " << int(c.mode);
  }
}

TEST(DesignerOutlines, ClassInsetsAndScrollBars) {
  // Button: insets 2, 3, 5, 6. Its top-left corner shrunk is (x, y) = (103, 52); the outline
  // runs from (99, 48) to x + (80 - 6) + 3 = 180 and y + (20 - 5) + 3 = 70.
  EXPECT_EQ(selectionOutline(controlAt(ControlClass::Button, {100, 50, 80, 20})),
            (Box{99, 48, 180, 70}));
  // A class without insets.
  EXPECT_EQ(selectionOutline(controlAt(ControlClass::Edit, {100, 50, 80, 20})),
            (Box{96, 46, 183, 73}));
  // A multi-line edit with a vertical scroll bar reaches past it; a list box only when it
  // always shows its scroll bar.
  const std::uint32_t vscroll = styleNameValue("WS_VSCROLL");
  EXPECT_EQ(
      selectionOutline(controlAt(ControlClass::MultiLineEdit, {100, 50, 80, 20}, vscroll)).right,
      183 + kScrollBarWidth);
  EXPECT_EQ(selectionOutline(controlAt(ControlClass::ListBox, {100, 50, 80, 20}, vscroll)).right,
            183);
  EXPECT_EQ(selectionOutline(controlAt(ControlClass::ListBox, {100, 50, 80, 20},
                                       styleNameValue("LBS_DISABLENOSCROLL")))
                .right,
            183 + kScrollBarWidth);
}

TEST(DesignerHandles, PlacesForMargins3And7) {
  // Margin 3: top 50, left 100, 80 x 20 (bottom 70, right 180).
  const auto r = handleRects(controlAt(ControlClass::CheckBox, {100, 50, 80, 20}));
  EXPECT_EQ(r[0], (PixelRect{104, 47, 72, 2}));  // 1: top bar
  EXPECT_EQ(r[1], (PixelRect{97, 54, 2, 12}));   // 2: left bar
  EXPECT_EQ(r[2], (PixelRect{104, 71, 72, 2}));  // 3: bottom bar
  EXPECT_EQ(r[3], (PixelRect{181, 54, 2, 12}));  // 4: right bar
  EXPECT_EQ(r[4], (PixelRect{97, 47, 6, 2}));    // 5, 6: top-left corner
  EXPECT_EQ(r[5], (PixelRect{97, 47, 2, 6}));
  EXPECT_EQ(r[6], (PixelRect{97, 67, 2, 6}));  // 7, 8: bottom-left
  EXPECT_EQ(r[7], (PixelRect{97, 71, 6, 2}));
  EXPECT_EQ(r[8], (PixelRect{177, 71, 6, 2}));  // 9: top B + 1, left R - 3
  EXPECT_EQ(r[9], (PixelRect{181, 67, 2, 6}));
  EXPECT_EQ(r[10], (PixelRect{181, 47, 2, 6}));  // 11, 12: top-right
  EXPECT_EQ(r[11], (PixelRect{177, 47, 6, 2}));

  // A static drawn as a line keeps its handles 7 pixels away, so they do not overlap.
  const auto line = handleRects(controlAt(ControlClass::StaticText, {10, 40, 100, 1}));
  EXPECT_EQ(line[0].y, 33);
  EXPECT_EQ(line[2].y, 41 + 7 - 2);
  EXPECT_GT(line[2].y, line[0].y + line[0].height);
  EXPECT_EQ(handleMargin(controlAt(ControlClass::StaticText, {10, 40, 100, 3})), 3);
  EXPECT_EQ(handleMargin(controlAt(ControlClass::Button, {10, 40, 100, 30})), 2);
  EXPECT_EQ(handleMargin(controlAt(ControlClass::Icon, {10, 40, 100, 30})), 4);
}

TEST(DesignerHandles, CursorsAndEdges) {
  const HandleCursor cursors[] = {
      HandleCursor::SizeNS,   HandleCursor::SizeWE,   HandleCursor::SizeNS,
      HandleCursor::SizeWE,   HandleCursor::SizeNWSE, HandleCursor::SizeNWSE,
      HandleCursor::SizeNESW, HandleCursor::SizeNESW, HandleCursor::SizeNWSE,
      HandleCursor::SizeNWSE, HandleCursor::SizeNESW, HandleCursor::SizeNESW};
  for (int t = 1; t <= kHandleCount; ++t) EXPECT_EQ(handleCursor(t), cursors[t - 1]) << t;
  EXPECT_EQ(handleEdges(6), kEdgeTop | kEdgeLeft);
  EXPECT_EQ(handleEdges(10), kEdgeBottom | kEdgeRight);
  EXPECT_EQ(handleEdges(12), kEdgeTop | kEdgeRight);
  EXPECT_EQ(handleEdges(0), 0u);
  EXPECT_EQ(handleEdges(13), 0u);
}

TEST(DesignerResize, EdgesFollowThePointAndStopAt15) {
  const PixelRect r{100, 50, 80, 40};  // bottom 90, right 180
  // The top bar dragged past the bottom: 15 high, the bottom edge stays.
  EXPECT_EQ(resizedRect(r, ControlClass::Button, 1, {0, 200}), (PixelRect{100, 75, 80, 15}));
  // The right bar dragged left past the left edge: 15 wide.
  EXPECT_EQ(resizedRect(r, ControlClass::Button, 4, {20, 0}), (PixelRect{100, 50, 15, 40}));
  // The bottom-left corner moves the bottom and the left edge.
  EXPECT_EQ(resizedRect(r, ControlClass::Button, 8, {70, 130}), (PixelRect{70, 50, 110, 80}));
  // The top-right corner.
  EXPECT_EQ(resizedRect(r, ControlClass::Button, 11, {300, 10}), (PixelRect{100, 10, 200, 80}));
}

TEST(DesignerResize, AComboBoxOnlyByItsSideBars) {
  const PixelRect r{100, 50, 80, 40};
  for (int t = 1; t <= kHandleCount; ++t) {
    const auto resized = resizedRect(r, ControlClass::ComboBox, t, {10, 10});
    if (t == 2 || t == 4)
      EXPECT_TRUE(resized.has_value()) << t;
    else
      EXPECT_FALSE(resized.has_value()) << t;
  }
  EXPECT_EQ(resizedRect(r, ControlClass::ComboBox, 2, {60, 0}), (PixelRect{60, 50, 120, 40}));
}

TEST(DesignerNudge, KeysPerClass) {
  const int up = vk(DesignerKey::Up), pageUp = vk(DesignerKey::PageUp);
  const int home = vk(DesignerKey::Home), end = vk(DesignerKey::End);
  ASSERT_TRUE(nudgeFor(ControlClass::Button, pageUp));
  EXPECT_EQ(nudgeFor(ControlClass::Button, pageUp)->dy, -1);
  EXPECT_EQ(nudgeFor(ControlClass::Button, end)->dx, 1);
  EXPECT_EQ(nudgeFor(ControlClass::Button, home)->dx, -1);
  EXPECT_FALSE(nudgeFor(ControlClass::Edit, pageUp));
  EXPECT_FALSE(nudgeFor(ControlClass::MultiLineEdit, home));
  EXPECT_EQ(nudgeFor(ControlClass::Edit, up)->dy, -1);
  EXPECT_FALSE(nudgeFor(ControlClass::Button, vk(DesignerKey::Z)));
}

TEST(DesignerKeys, TheFirstMatchingRowActs) {
  struct Case {
    DesignerKey key;
    KeyModifiers m;
    DesignerAction action;
  };
  const Case cases[] = {
      {DesignerKey::Escape, {true, true}, DesignerAction::Close},
      {DesignerKey::Delete, {}, DesignerAction::Delete},
      {DesignerKey::Insert, {false, true}, DesignerAction::Copy},
      {DesignerKey::Insert, {true, true}, DesignerAction::Copy},  // Ctrl is tested first
      {DesignerKey::Insert, {true, false}, DesignerAction::Paste},
      {DesignerKey::Insert, {}, DesignerAction::Nudge},
      {DesignerKey::F9, {}, DesignerAction::Store},
      {DesignerKey::P, {false, true}, DesignerAction::Properties},
      {DesignerKey::P, {}, DesignerAction::Nudge},
      {DesignerKey::Z, {false, true}, DesignerAction::Undo},
      {DesignerKey::Z, {true, true}, DesignerAction::Redo},
      {DesignerKey::Y, {false, true}, DesignerAction::Redo},
      {DesignerKey::Z, {}, DesignerAction::Nudge},
      {DesignerKey::Up, {true, true}, DesignerAction::Nudge},
  };
  for (const Case& c : cases) EXPECT_EQ(designerKeyAction(vk(c.key), c.m), c.action) << vk(c.key);
  EXPECT_TRUE(keyReachesDesigner(ControlClass::Edit, vk(DesignerKey::Delete)));
  EXPECT_FALSE(keyReachesDesigner(ControlClass::Edit, vk(DesignerKey::Up)));
  EXPECT_TRUE(keyReachesDesigner(ControlClass::MultiLineEdit, vk(DesignerKey::Up)));
}

}  // namespace
}  // namespace kolvre
