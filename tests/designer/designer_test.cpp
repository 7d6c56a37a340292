// The designer's gestures and commands on a dialog model, without windows.
#include "designer/designer.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "designer/control_kinds.h"
#include "designer/designer_fixture.h"

namespace kolvre {
namespace {

using testing::controlLine;
using testing::Designer;
using testing::lines;

constexpr KeyModifiers kShift{true, false};
constexpr KeyModifiers kCtrl{false, true};

std::string button(int id, int x, int y) {
  return controlLine("OK", id, "BUTTON", testing::kButtonStyle, x, y, 40, 14);
}

int key(DesignerKey k) {
  return vk(k);
}

bool handlesShown(const TDrag& drag) {
  for (const TSize& h : drag.aSize)
    if (!h.shown) return false;
  return true;
}
bool handlesHidden(const TDrag& drag) {
  for (const TSize& h : drag.aSize)
    if (h.shown) return false;
  return true;
}

// --- dragging ---

TEST(DesignerDrag, SnapsTheNewTopLeftToTheGrid) {
  Designer d(button(101, 0, 0));
  d.at(0).rect = {0, 0, 70, 25};
  d.drag.InitDrg(0, {5, 5});
  EXPECT_EQ(d.drag.gesture(), Gesture::Dragging);
  EXPECT_FALSE(d.drag.lDrw);
  EXPECT_TRUE(handlesHidden(d.drag));
  EXPECT_EQ(d.host.status, "Id: 101   70 x 25");
  d.drag.DragDrg({25, 35});  // unsnapped top-left (20, 30)
  EXPECT_EQ(d.drag.takeRefresh().moved, (std::vector<std::size_t>{0}));
  d.drag.StopDrg();
  EXPECT_EQ(d.at(0).rect, (UnitRect{26, 16, 70, 25}));
  EXPECT_TRUE(d.drag.lDrw);
  EXPECT_EQ(d.drag.oCtl, 0u);
  EXPECT_TRUE(handlesShown(d.drag));
  EXPECT_EQ(d.drag.aSize[0].rect, (UnitRect{26 - 2 + 7, 16 - 2, 70 + 4 - 14, 2}));
  EXPECT_EQ(d.drag.undoSteps(), 1u);
}

TEST(DesignerDrag, SelectedControlsFollowAndGetNoHandles) {
  Designer d(lines({button(101, 10, 10), button(102, 10, 40), button(103, 100, 80)}));
  d.band({0, 0}, {80, 100});  // the first two
  ASSERT_TRUE(d.at(0).lSel && d.at(1).lSel && !d.at(2).lSel);
  const UnitRect a = d.at(0).rect, b = d.at(1).rect;
  d.dragControl(0, {a.y + 2, a.x + 2}, {{a.y + 2 + 8, a.x + 2 + 9}});
  EXPECT_EQ(d.at(0).rect.y, snapRow(a.y + 8, 5));
  EXPECT_EQ(d.at(1).rect.y, snapRow(b.y + d.at(0).rect.y - a.y, 5));
  EXPECT_EQ(d.at(1).rect.x, snapColumn(b.x + d.at(0).rect.x - a.x, 5));
  EXPECT_EQ(pixelsToDuY(d.at(1).rect.y), 45);
  EXPECT_EQ(pixelsToDuX(d.at(1).rect.x), 15);
  EXPECT_EQ(d.drag.oCtl, 0u);  // current, but dragged as one of the selection: no handles
  EXPECT_TRUE(handlesHidden(d.drag));
  EXPECT_TRUE(d.at(0).lSel && d.at(1).lSel);
  EXPECT_EQ(d.drag.outlines().size(), 2u);
}

TEST(DesignerDrag, KolvPutsFollowingStaticsOneUnitBelowTheGridLine) {
  const std::string body =
      lines({button(101, 10, 10),
             controlLine("Nome", -1, "STATIC", testing::kStaticStyle, 60, 10, 40, 8)});
  for (const bool kolv : {false, true}) {
    Designer d(body);
    if (kolv) d.ui.settings["parametri/kolv"] = "Si";
    d.band({0, 0}, {30, 120});
    const UnitRect a = d.at(0).rect;
    d.dragControl(0, {a.y + 1, a.x + 1}, {{a.y + 1 + 8, a.x + 1}});
    EXPECT_EQ(pixelsToDuY(d.at(1).rect.y), kolv ? 16 : 15) << kolv;
  }
}

TEST(DesignerDrag, MovesWithShiftHeldAreIgnored) {
  Designer d(button(101, 0, 0));
  d.drag.InitDrg(0, {3, 3});
  d.drag.DragDrg({20, 3}, kShift);  // moves with Shift held are ignored
  EXPECT_EQ(d.at(0).rect.y, 0);
  d.drag.StopDrg();
  EXPECT_EQ(d.drag.gesture(), Gesture::None);
  EXPECT_TRUE(d.drag.lDrw);
}

TEST(DesignerDrag, StrayMovesAndReleasesAreIgnored) {
  Designer d(button(101, 0, 0));
  d.drag.DragDrg({50, 50});
  d.drag.StopDrg();
  d.drag.DragSel({50, 50});
  d.drag.StopSel();
  d.drag.DragSize({50, 50});
  d.drag.StopSize();
  EXPECT_EQ(d.at(0).rect, (UnitRect{0, 0, 70, 23}));
  EXPECT_EQ(d.drag.undoSteps(), 0u);
}

// --- bands and group boxes ---

struct GroupDialog : Designer {
  GroupDialog()
      : Designer(lines({controlLine("Gruppo", -1, "BUTTON", testing::kGroupStyle, 0, 0, 10, 10),
                        button(101, 0, 0)})) {
    at(0).rect = {20, 20, 200, 200};  // top 20, left 20, bottom 220, right 220
    at(1).rect = {60, 60, 70, 25};
  }
};

TEST(DesignerBand, InsideAGroupBoxSelectsWhatItTouchesButNotTheGroup) {
  GroupDialog d;
  d.band({50, 50}, {100, 100});
  EXPECT_FALSE(d.at(0).lSel);
  EXPECT_TRUE(d.at(1).lSel);
  EXPECT_FALSE(d.drag.oCtl);
  EXPECT_FALSE(d.drag.band());  // removed on release
}

TEST(DesignerBand, AcrossTheFrameSelectsTheGroupToo) {
  GroupDialog d;
  d.band({100, 100}, {10, 10});  // drawn backwards
  EXPECT_TRUE(d.at(0).lSel);
  EXPECT_TRUE(d.at(1).lSel);
}

TEST(DesignerBand, ClipsAtTheClientAreaAndAPressAloneSelectsNothing) {
  GroupDialog d;
  d.drag.InitSel({300, 300});
  d.drag.DragSel({-40, -5});
  EXPECT_EQ(d.drag.band(), (Box{300, 300, 0, 0}));
  d.drag.StopSel();
  EXPECT_TRUE(d.at(0).lSel && d.at(1).lSel);
  d.drag.InitSel({300, 300});  // a press clears the selection...
  EXPECT_FALSE(d.drag.NeedRefresh());
  d.drag.StopSel();  // ...and a release without a move selects nothing
  EXPECT_FALSE(d.drag.NeedRefresh());
}

TEST(DesignerBand, PressesInsideAndNearAGroupBoxFrame) {
  {
    GroupDialog d;  // 11 pixels or more inside the frame: a band
    d.drag.InitSel({100, 120});
    EXPECT_EQ(d.drag.gesture(), Gesture::Banding);
    EXPECT_FALSE(d.drag.oCtl);
  }
  {
    GroupDialog d;  // within 10 pixels of the top edge: the group box is dragged
    d.drag.InitSel({30, 120});
    EXPECT_EQ(d.drag.gesture(), Gesture::Dragging);
    EXPECT_EQ(d.drag.oCtl, 0u);
    EXPECT_EQ(d.drag.nTop, 10);  // the grab offset inside the group box
    EXPECT_EQ(d.drag.nLft, 100);
    d.drag.MouseMove({30 + 8, 120});  // the dialog holds the mouse: the move drags the group
    d.drag.MouseRelease();
    EXPECT_EQ(d.at(0).rect.y, snapRow(28, 5));
  }
  {
    GroupDialog d;  // a selected group box is dragged from its interior as well
    d.at(0).lSel = true;
    d.drag.InitSel({100, 120});
    EXPECT_EQ(d.drag.gesture(), Gesture::Dragging);
    EXPECT_EQ(d.drag.oCtl, 0u);
  }
}

// --- Shift+click ---

TEST(DesignerShiftClick, OnTheCurrentControlMakesItSelected) {
  Designer d(lines({button(101, 0, 0), button(102, 60, 0)}));
  d.dragControl(0, {3, 3}, {});
  ASSERT_EQ(d.drag.oCtl, 0u);
  ASSERT_TRUE(handlesShown(d.drag));
  d.drag.InitDrg(0, {3, 3}, kShift);
  EXPECT_TRUE(d.at(0).lSel);
  EXPECT_FALSE(d.drag.oCtl);
  EXPECT_TRUE(handlesHidden(d.drag));
  EXPECT_EQ(d.drag.outlines().size(), 1u);
  EXPECT_EQ(d.drag.gesture(), Gesture::None);  // nothing is dragged
}

TEST(DesignerShiftClick, OnAnotherControlSelectsBoth) {
  Designer d(lines({button(101, 0, 0), button(102, 60, 0)}));
  d.dragControl(0, {3, 3}, {});
  d.drag.InitDrg(1, {3, 110}, kShift);
  EXPECT_TRUE(d.at(0).lSel && d.at(1).lSel);
  EXPECT_FALSE(d.drag.oCtl);
}

TEST(DesignerShiftClick, OnASelectedControlDeselectsIt) {
  Designer d(lines({button(101, 0, 0), button(102, 60, 0)}));
  d.band({0, 0}, {5, 200});
  ASSERT_TRUE(d.at(0).lSel && d.at(1).lSel);
  d.drag.takeRefresh();
  d.drag.InitDrg(1, {3, 110}, kShift);
  EXPECT_TRUE(d.at(0).lSel);
  EXPECT_FALSE(d.at(1).lSel);
  EXPECT_TRUE(d.drag.takeRefresh().repaint);
}

// --- keys ---

TEST(DesignerKeys, RightArrowMovesTheCurrentControlOneUnit) {
  Designer d(button(101, 0, 0));
  d.at(0).rect.x = 26;
  d.dragControl(0, {3, 30}, {});
  ASSERT_EQ(d.at(0).rect.x, 26);
  EXPECT_TRUE(d.drag.KeyDown(key(DesignerKey::Right), {}));
  EXPECT_EQ(d.at(0).rect.x, 28);
  EXPECT_EQ(d.drag.aSize[1].rect.x, 28 - 2);  // the handles follow
  EXPECT_EQ(d.drag.undoSteps(), 1u);
}

TEST(DesignerKeys, PageUpMovesOnlyTheButtonOfABandSelectedEditAndButton) {
  Designer d(lines(
      {controlLine("", 101, "EDIT", testing::kEditStyle, 10, 20, 60, 12), button(102, 80, 20)}));
  d.band({0, 0}, {100, 300});
  ASSERT_FALSE(d.drag.oCtl);
  const UnitRect edit = d.at(0).rect, ok = d.at(1).rect;
  d.drag.KeyDown(key(DesignerKey::PageUp), {});
  EXPECT_EQ(d.at(0).rect, edit);
  EXPECT_EQ(d.at(1).rect.y, duToPixelsY(19));
  d.drag.KeyDown(key(DesignerKey::Up), {});
  EXPECT_EQ(d.at(0).rect.y, duToPixelsY(19));
  EXPECT_EQ(d.at(1).rect.y, duToPixelsY(18));
  EXPECT_EQ(d.at(1).rect.x, ok.x);
  EXPECT_EQ(d.drag.undoSteps(), 2u);  // one step per key press
}

TEST(DesignerKeys, AnEditWithTextKeepsItsKeys) {
  for (const bool multi : {false, true}) {
    Designer d(controlLine("", 101, "EDIT",
                           multi ? "ES_MULTILINE | WS_CHILD | WS_VISIBLE" : testing::kEditStyle, 10,
                           20, 60, 12));
    d.dragControl(0, {d.at(0).rect.y + 1, d.at(0).rect.x + 1}, {});
    d.at(0).cCaption = "testo";
    const UnitRect r = d.at(0).rect;
    EXPECT_FALSE(d.drag.KeyDown(key(DesignerKey::Up), {}));
    d.drag.KeyDown(key(DesignerKey::Delete), {});
    EXPECT_EQ(d.model.aControls.size(), 1u) << "Delete belongs to the edit";
    EXPECT_EQ(d.at(0).rect, r);
    d.at(0).cCaption.clear();
    EXPECT_TRUE(d.drag.KeyDown(key(DesignerKey::Up), {}));
    EXPECT_EQ(d.at(0).rect.y, duToPixelsY(19));
    d.drag.KeyDown(key(DesignerKey::Delete), {});
    EXPECT_TRUE(d.model.aControls.empty());
    EXPECT_FALSE(d.drag.oCtl);
    EXPECT_TRUE(handlesHidden(d.drag));
  }
}

TEST(DesignerKeys, EscapeStoreAndPropertiesGoToTheHost) {
  Designer d(button(101, 0, 0));
  d.drag.KeyDown(key(DesignerKey::F9), {});
  d.drag.KeyDown(key(DesignerKey::P), kCtrl);  // no current control: nothing
  EXPECT_TRUE(d.host.shownForms.empty());
  d.dragControl(0, {1, 1}, {});
  d.drag.KeyDown(key(DesignerKey::P), kCtrl);
  EXPECT_EQ(d.host.shownForms.size(), 1u);
  d.drag.KeyDown(key(DesignerKey::Escape), {});
  EXPECT_EQ(d.host.stores, 1);
  EXPECT_EQ(d.host.closes, 1);
}

TEST(DesignerKeys, OnlyEscapeActsWhileAPressIsUnderWay) {
  Designer d(button(101, 0, 0));
  d.drag.InitDrg(0, {1, 1});
  EXPECT_FALSE(d.drag.KeyDown(key(DesignerKey::Delete), {}));
  EXPECT_FALSE(d.drag.KeyDown(key(DesignerKey::Insert), kShift));
  EXPECT_EQ(d.model.aControls.size(), 1u);
  d.drag.DragDrg({30, 1});
  d.drag.StopDrg();
  EXPECT_EQ(d.at(0).rect.y, snapRow(29, 5));
}

// --- delete ---

TEST(DesignerDelete, EverySelectedControlGoesAndKeptLinesStay) {
  Designer d(lines({button(101, 0, 0), "// commento", button(102, 0, 30), button(103, 0, 60),
                    button(104, 0, 90)}));
  d.band({0, 0}, {duToPixelsY(60) + 1, 10});  // 101, 102 and 103
  d.drag.KeyDown(key(DesignerKey::Delete), {});
  ASSERT_EQ(d.model.aControls.size(), 1u);
  EXPECT_EQ(d.at(0).Cargo, 104);
  EXPECT_NE(d.text().find("// commento"), std::string::npos);
  EXPECT_TRUE(d.drag.takeRefresh().rebuild);
}

// --- handles ---

TEST(DesignerResize, TopHandlePastTheBottomStopsAt15) {
  Designer d(button(101, 0, 0));
  d.at(0).rect = {100, 50, 80, 40};  // bottom 90
  d.dragControl(0, {51, 101}, {});
  const TSize top = d.drag.aSize[0];
  d.drag.InitSize(1, {top.rect.y, top.rect.x + 5});
  EXPECT_TRUE(handlesHidden(d.drag));
  d.drag.DragSize({200, top.rect.x + 5});
  EXPECT_EQ(d.host.status, "Id: 101   80 x 15");
  d.drag.StopSize();
  EXPECT_EQ(d.at(0).rect, (UnitRect{100, 75, 80, 15}));
  EXPECT_TRUE(handlesShown(d.drag));
  EXPECT_EQ(d.drag.aSize[0].rect.y, 75 - 2);
}

TEST(DesignerResize, PressAndReleaseChangesNothing) {
  Designer d(button(101, 0, 0));
  d.dragControl(0, {1, 1}, {});
  const UnitRect r = d.at(0).rect;
  d.drag.InitSize(9, {d.drag.aSize[8].rect.y, d.drag.aSize[8].rect.x});
  d.drag.DragSize({d.drag.aSize[8].rect.y, d.drag.aSize[8].rect.x});
  d.drag.StopSize();
  EXPECT_EQ(d.at(0).rect, r);
  EXPECT_TRUE(handlesShown(d.drag));
  EXPECT_EQ(d.drag.undoSteps(), 0u);
}

TEST(DesignerResize, AComboBoxIgnoresAllButItsSideBars) {
  Designer d(controlLine("", 101, "COMBOBOX", testing::kComboStyle, 10, 10, 80, 60));
  d.dragControl(0, {d.at(0).rect.y + 1, d.at(0).rect.x + 1}, {});
  const UnitRect r = d.at(0).rect;
  for (int type : {1, 3, 5, 8, 9, 12}) {
    d.drag.InitSize(type, {0, 0});
    d.drag.DragSize({200, 300});
    d.drag.StopSize();
    EXPECT_EQ(d.at(0).rect, r) << type;
  }
  d.drag.InitSize(4, {0, 0});
  d.drag.DragSize({200, 300});
  d.drag.StopSize();
  EXPECT_EQ(d.at(0).rect.width, snapColumn(300, 5) - r.x);
  EXPECT_EQ(d.at(0).rect.height, r.height);
}

// --- new controls and ids ---

TEST(DesignerNew, IdsFollowTheLargestAndNeverGoBelow101) {
  Designer d(lines({button(57, 0, 0), button(12, 0, 30)}));
  EXPECT_EQ(d.drag.NextId(), 101);
  d.drag.NewRes("TButton", {40, 40});
  d.drag.NewRes("TButton", {80, 40});
  d.drag.NewRes("TSay", {120, 40});
  ASSERT_EQ(d.model.aControls.size(), 5u);
  EXPECT_EQ(d.at(2).Cargo, 101);
  EXPECT_EQ(d.at(3).Cargo, 102);
  EXPECT_EQ(d.at(4).Cargo, -1);
  EXPECT_EQ(d.at(2).rect, (UnitRect{40, 40, 70, 25}));
  EXPECT_EQ(d.drag.oCtl, 4u);
  EXPECT_TRUE(handlesShown(d.drag));
  EXPECT_EQ(d.drag.undoSteps(), 3u);
}

TEST(DesignerNew, IdsWrittenAsSymbolsDoNotCount) {
  Designer d(lines(
      {controlLine("OK", 0, "BUTTON", testing::kButtonStyle, 0, 0, 40, 14), button(140, 0, 30)}));
  d.model.aControls[0].id = KeptText<int>{"600+1", 600};
  d.at(0).Cargo = 600;
  EXPECT_EQ(d.drag.NextId(), 141);
}

TEST(DesignerNew, EveryKindIsWrittenAsAControlLineThatReadsBackAsItsClass) {
  Designer d("");
  for (const NewControlKind& kind : kNewControlKinds) {
    d.drag.NewRes(kind.name, {0, 0});
    const DialogControl& made = d.model.aControls.back();
    const ControlReading back = readControlStatement(std::string(trimSpace(MAKECONTROL(made))));
    ASSERT_EQ(back.kind, ControlReading::Kind::Control) << kind.name;
    EXPECT_EQ(back.control.live, kind.live) << kind.name;
    EXPECT_EQ(pixelsToDuX(back.control.rect.width), pixelsToDuX(made.rect.width)) << kind.name;
  }
  EXPECT_NE(d.text().find("\"TCheckBox\", 105, \"BUTTON\", BS_AUTOCHECKBOX | BS_LEFTTEXT"),
            std::string::npos);
  EXPECT_NE(d.text().find("\"\", 106, \"COMBOBOX\", CBS_DROPDOWNLIST"), std::string::npos);
}

// --- renumbering ---

TEST(DesignerRenumber, SelectedControlsCountOnFromTheFirst) {
  Designer d(
      lines({button(310, 0, 0), controlLine("x", -1, "STATIC", testing::kStaticStyle, 0, 20, 20, 8),
             button(120, 0, 40), button(500, 0, 60), button(999, 100, 0)}));
  for (std::size_t i = 0; i < 4; ++i) d.at(i).lSel = true;
  d.drag.RenSel(std::nullopt);
  EXPECT_EQ(d.at(0).Cargo, 310);
  EXPECT_EQ(d.at(1).Cargo, -1);
  EXPECT_EQ(d.at(2).Cargo, 311);
  EXPECT_EQ(d.at(3).Cargo, 312);
  EXPECT_EQ(d.at(4).Cargo, 999);
}

TEST(DesignerRenumber, ARangeIsNumberedInListOrder) {
  Designer d(
      lines({button(205, 0, 0), button(230, 0, 20), button(150, 0, 40), button(260, 0, 60)}));
  d.drag.RenId(201, 299, 1);
  EXPECT_EQ(d.at(0).Cargo, 201);
  EXPECT_EQ(d.at(1).Cargo, 202);
  EXPECT_EQ(d.at(2).Cargo, 150);
  EXPECT_EQ(d.at(3).Cargo, 203);
  EXPECT_EQ(d.host.status, "Id: 202   70 x 23");
}

TEST(DesignerRenumber, ASymbolicIdIsKept) {
  Designer d(lines({button(205, 0, 0), button(0, 0, 20), button(230, 0, 40)}));
  d.at(1).id = KeptText<int>{"IDC_NOME", 0};
  for (DialogControl& c : d.model.aControls) c.lSel = true;
  d.drag.RenSel(std::nullopt);
  EXPECT_EQ(d.at(2).Cargo, 206);
  EXPECT_NE(d.text().find("IDC_NOME"), std::string::npos);
  d.drag.RenId(0, 99, std::nullopt);
  EXPECT_NE(d.text().find("IDC_NOME"), std::string::npos);
}

// --- copy and paste ---

TEST(DesignerPaste, ThreeControlsKeepTheirLayoutBelowThePoint) {
  Designer d(lines({button(101, 10, 10), button(102, 10, 20), button(103, 10, 40)}));
  for (DialogControl& c : d.model.aControls) c.lSel = true;
  d.drag.KeyDown(key(DesignerKey::Insert), kCtrl);
  EXPECT_EQ(d.ui.clipboard, lines({button(101, 10, 10), button(102, 10, 20), button(103, 10, 40)}));
  d.drag.KeyDown(key(DesignerKey::Insert), kShift);
  ASSERT_EQ(d.model.aControls.size(), 6u);
  EXPECT_EQ(d.at(3).rect.y, 0);
  EXPECT_EQ(d.at(4).rect.y, 16);
  EXPECT_EQ(d.at(5).rect.y, 48);
  EXPECT_EQ(d.at(3).rect.x, 0);
  EXPECT_EQ(d.at(3).Cargo, 104);
  EXPECT_EQ(d.at(5).Cargo, 106);
  for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(d.at(i).lSel, i >= 3) << i;
  EXPECT_FALSE(d.drag.oCtl);
  EXPECT_EQ(d.drag.undoSteps(), 1u);
}

TEST(DesignerPaste, ASingleControlBecomesCurrent) {
  Designer d(button(101, 10, 10));
  d.dragControl(0, {d.at(0).rect.y + 1, d.at(0).rect.x + 1}, {});
  d.drag.CopyCtl();
  EXPECT_EQ(d.ui.clipboard, button(101, 10, 10));
  d.drag.PasteCtl({50, 60});
  ASSERT_EQ(d.model.aControls.size(), 2u);
  EXPECT_EQ(d.at(1).rect, (UnitRect{60, 50, 70, 23}));
  EXPECT_EQ(d.drag.oCtl, 1u);
  EXPECT_FALSE(d.at(1).lSel);
  EXPECT_TRUE(handlesShown(d.drag));
  EXPECT_EQ(d.host.message, "Id: 102   70 x 23");
}

TEST(DesignerPaste, ClassExtrasAndLinesThatAreNoControl) {
  Designer d("");
  d.ui.clipboard =
      "CONTROL \"Scelta\", 7, \"BUTTON\", BS_AUTOCHECKBOX | WS_CHILD, 0, 0, 50, 10\n"
      "// commento\n"
      "\n"
      "FOO 1, 2\r\n"
      "CONTROL \"\", 8, \"LISTBOX\", WS_CHILD | WS_VSCROLL, 0, 20, 50, 40\r\n"
      "CONTROL \"\", IDC_LISTA, \"LISTBOX\", WS_CHILD, 0, 70, 50, 40";
  d.drag.PasteCtl({0, 0});
  ASSERT_EQ(d.model.aControls.size(), 3u);
  EXPECT_EQ(d.ui.messageTexts(), (std::vector<std::string>{"Controllo // non supportato.",
                                                           "Controllo FOO non supportato."}));
  EXPECT_TRUE(*d.at(0).nStyle & styleNameValue("BS_LEFTTEXT"));
  EXPECT_TRUE(*d.at(1).nStyle & styleNameValue("LBS_DISABLENOSCROLL"));
  EXPECT_EQ(d.at(0).Cargo, 101);
  EXPECT_EQ(d.at(1).Cargo, 102);
  EXPECT_NE(d.text().find("\"\", IDC_LISTA, \"LISTBOX\""), std::string::npos);
}

TEST(DesignerPaste, AnEmptyClipboardPastesNothing) {
  Designer d(button(101, 10, 10));
  d.drag.PasteCtl({0, 0});
  EXPECT_EQ(d.model.aControls.size(), 1u);
  EXPECT_EQ(d.drag.undoSteps(), 0u);
}

// --- properties ---

TEST(DesignerProperties, ACaptionWithCommasShowsClassAndStyleAndSurvives) {
  Designer d(controlLine("Uno, due, tre", 101, "BUTTON", testing::kButtonStyle, 10, 20, 40, 14));
  d.host.answer = [](ControlProperties form) {
    form.x = "30";
    return form;
  };
  ASSERT_TRUE(d.drag.PropCtl(0));
  const ControlProperties& shown = d.host.shownForms.at(0);
  EXPECT_EQ(shown.caption, "Uno, due, tre");
  EXPECT_EQ(shown.className, "BUTTON");
  EXPECT_EQ(shown.style, "BS_PUSHBUTTON | WS_CHILD | WS_VISIBLE");
  EXPECT_EQ(shown.id, "101");
  EXPECT_EQ(shown.y, "20");
  EXPECT_EQ(d.at(0).cCaption, "Uno, due, tre");
  EXPECT_EQ(d.at(0).rect.x, duToPixelsX(30));
  EXPECT_EQ(d.drag.undoSteps(), 1u);
}

TEST(DesignerProperties, ConfirmAppliesEveryField) {
  Designer d(controlLine("OK", 101, "BUTTON", testing::kButtonStyle, 10, 20, 40, 14));
  d.host.answer = [](ControlProperties form) {
    form.caption = "Annulla  ";
    form.id = "2";
    form.width = "50";
    form.height = "15";
    form.style = "BS_DEFPUSHBUTTON | WS_CHILD | WS_VISIBLE | WS_TABSTOP";
    return form;
  };
  ASSERT_TRUE(d.drag.PropCtl(0));
  EXPECT_EQ(MAKECONTROL(d.at(0)),
            " CONTROL \"Annulla\", 2, \"BUTTON\", BS_DEFPUSHBUTTON | WS_CHILD | WS_VISIBLE | "
            "WS_TABSTOP, 10, 20, 50, 15");
}

TEST(DesignerProperties, ACancelOrAFaultChangesNothing) {
  Designer d(controlLine("OK", 101, "BUTTON", testing::kButtonStyle, 10, 20, 40, 14));
  const std::string before = d.text();
  EXPECT_FALSE(d.drag.PropCtl(0));  // cancelled
  struct Case {
    std::string ControlProperties::*field;
    std::string value;
    std::string message;
  };
  const Case cases[] = {
      {&ControlProperties::width, "", "Campo non valido."},
      {&ControlProperties::style, " ", "Campo non valido."},
      {&ControlProperties::x, "12345", "Numero troppo grande."},
      {&ControlProperties::id, "123456", "Numero troppo grande."},
      {&ControlProperties::y, "1a", "Campo non valido."},
      {&ControlProperties::style, "WS_NIENTE", "Stile non valido."},
  };
  for (const Case& c : cases) {
    d.ui.messages.clear();
    d.host.answer = [&](ControlProperties form) {
      form.*c.field = c.value;
      return form;
    };
    EXPECT_FALSE(d.drag.PropCtl(0)) << c.value;
    EXPECT_EQ(d.ui.messageTexts(), std::vector<std::string>{c.message}) << c.value;
  }
  EXPECT_EQ(d.text(), before);
  EXPECT_EQ(d.drag.undoSteps(), 0u);
}

TEST(DesignerProperties, AComboBoxHeightAndKindReachTheLine) {
  Designer d(controlLine("", 101, "COMBOBOX", testing::kComboStyle, 10, 20, 80, 60));
  d.host.answer = [](ControlProperties form) {
    EXPECT_EQ(form.height, "60");
    form.height = "90";
    form.style = "CBS_DROPDOWN | WS_CHILD | WS_VISIBLE";
    return form;
  };
  ASSERT_TRUE(d.drag.PropCtl(0));
  EXPECT_EQ(MAKECONTROL(d.at(0)),
            " CONTROL \"\", 101, \"COMBOBOX\", CBS_DROPDOWN | WS_CHILD | WS_VISIBLE, 10, 20, 80, "
            "90");
  EXPECT_TRUE(d.at(0).lDropDown);
}

// --- menus ---

std::vector<std::string> labels(const DesignerMenu& menu) {
  std::vector<std::string> out;
  for (const MenuItem& item : menu.items) out.push_back(item.separator() ? "-" : item.label);
  return out;
}

TEST(DesignerMenus, TheBackgroundMenuOffersEveryKindAndPaste) {
  Designer d(button(101, 10, 10));
  const DesignerMenu menu = d.drag.RightMenu(std::nullopt, {100, 100});
  const std::vector<std::string> l = labels(menu);
  ASSERT_EQ(l.size(), 21u + 5u);
  EXPECT_EQ(l.front(), "Nuovo TBitmap");
  EXPECT_EQ(l[20], "Nuovo TXBrowse");
  EXPECT_EQ(std::vector<std::string>(l.begin() + 21, l.end()),
            (std::vector<std::string>{"-", "Incolla\tCTRL-INS", "-", "Annulla\tCTRL-Z",
                                      "Ripristina\tCTRL-Y"}));
  EXPECT_FALSE(menu.items[24].enabled);
  EXPECT_EQ(menu.at, (Point{98, 96}));  // snapped
  EXPECT_EQ(d.host.message, "Dialog: 358 x 193");

  d.drag.runMenuCommand(menu, 2);  // Nuovo TButton at the snapped point
  ASSERT_EQ(d.model.aControls.size(), 2u);
  EXPECT_EQ(d.at(1).rect, (UnitRect{96, 98, 70, 25}));
  const DesignerMenu after = d.drag.RightMenu(std::nullopt, {0, 0});
  EXPECT_TRUE(after.items[after.items.size() - 2].enabled);
  d.drag.runMenuCommand(after, after.items.size() - 2);  // Annulla
  EXPECT_EQ(d.model.aControls.size(), 1u);
}

TEST(DesignerMenus, TheControlMenuDependsOnSelectionAndClass) {
  Designer d(lines({controlLine("Nome", 1234, "STATIC", testing::kStaticStyle, 10, 10, 40, 8),
                    button(1200, 10, 40)}));
  DesignerMenu menu = d.drag.RightMenu(0, {20, 20});
  EXPECT_EQ(d.drag.oCtl, 0u);  // no selection: the clicked control becomes current
  EXPECT_TRUE(handlesShown(d.drag));
  EXPECT_EQ(labels(menu), (std::vector<std::string>{
                              "Proprietà\tCTRL-P", "-", "Autosize", "-", "Estendi orizzontalmente",
                              "-", "Rinumera da Id 1201 a Id 1299", "-", "Elimina\tCANC", "-",
                              "Copia", "-", "Annulla\tCTRL-Z", "Ripristina\tCTRL-Y"}));
  EXPECT_EQ(d.host.message, "Id: 1234   70 x 13");
  menu = d.drag.RightMenu(1, {70, 20});
  EXPECT_EQ(labels(menu)[4], "Rinumera da Id 1201 a Id 1299");  // 1200 gives the same range
  d.at(0).lSel = true;
  menu = d.drag.RightMenu(1, {70, 20});
  EXPECT_EQ(labels(menu)[4], "Rinumera selezionati");
  EXPECT_EQ(labels(menu)[6], "Elimina\tCANC");
}

TEST(DesignerMenus, ARightClickNearAGroupFrameIsOnTheGroup) {
  GroupDialog d;
  EXPECT_EQ(d.drag.RightMenu(std::nullopt, {25, 100}).control, 0u);
  EXPECT_FALSE(d.drag.RightMenu(std::nullopt, {100, 100}).control);
}

// --- widen and autosize ---

TEST(DesignerWiden, WidthOfTheClientAreaOnTheGrid) {
  Designer d(controlLine("Nome", -1, "STATIC", testing::kStaticStyle, 10, 10, 40, 8));
  d.drag.MaxWidth(0);
  EXPECT_EQ(d.at(0).rect, (UnitRect{0, duToPixelsY(10), 350, duToPixelsY(8)}));
  d.drag.Resized(358 + 20, 193);
  d.drag.MaxWidth(0);
  EXPECT_EQ(d.at(0).rect.width, 368);  // 370 / 8.75 = 42.3 -> 42 steps
  EXPECT_EQ(d.drag.oCtl, 0u);
  EXPECT_EQ(d.host.message, "Id: -1   368 x 13");
}

TEST(DesignerWiden, AutosizeFitsTheTextToWholeSteps) {
  Designer d(controlLine("Nome", -1, "STATIC", testing::kStaticStyle, 10, 10, 100, 8));
  d.drag.AutoSize(0);
  EXPECT_EQ(d.at(0).rect.width, 26);  // 24 pixels -> 3 steps of 8.75
  d.at(0).cCaption.clear();
  d.drag.AutoSize(0);
  EXPECT_EQ(d.at(0).rect.width, 9);  // never narrower than one step
}

}  // namespace
}  // namespace kolvre

namespace kolvre {
namespace {

TEST(DesignerPaste, ShortStatementsPasteInTheirOwnFormAndACutLineIsNoControl) {
  Designer d(button(101, 10, 10));
  d.ui.clipboard =
      "LTEXT \"Nome:\", -1, 5, 5, 40, 8\r\n"
      "\tEDITTEXT IDC_NOME, 50, 5, 80, 12, ES_AUTOHSCROLL\r\n"
      "CONTROL \"A\", 103, \"EDIT\", ES_LEFT | WS_CHILD, 5, 30, 50,";
  d.drag.PasteCtl({0, 0});
  ASSERT_EQ(d.model.aControls.size(), 3u);
  EXPECT_EQ(d.ui.messageTexts(), (std::vector<std::string>{"Controllo CONTROL non supportato."}));
  EXPECT_EQ(d.at(1).live, ControlClass::TSay2);
  EXPECT_EQ(d.at(2).live, ControlClass::TGet);
  // Written in their own form, at the place pasted, and read back as the same controls.
  const std::string written = d.text();
  EXPECT_NE(written.find(" LTEXT \"Nome:\", -1, 0, 0, 40, 8\r\n"), std::string::npos) << written;
  EXPECT_NE(written.find(" EDITTEXT IDC_NOME, 45, 0, 80, 12, ES_AUTOHSCROLL\r\n"),
            std::string::npos)
      << written;
  EXPECT_EQ(readDialog(written).dialog.aControls.size(), 3u);
}

}  // namespace
}  // namespace kolvre
