// The designer's entry point: the keys and the context menus, without windows.
#include "designer/designer.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "designer/control_kinds.h"
#include "designer/designer_fixture.h"

namespace kolvre {
namespace {

using namespace testing;

// --- keys ---

TEST(DesignerKeys, RightArrowMovesTheCurrentControlOneUnit) {
  TestDesigner d(button(101, 0, 0));
  d.at(0).rect.x = 26;
  d.dragControl(0, {30, 3}, {});
  ASSERT_EQ(d.at(0).rect.x, 26);
  EXPECT_TRUE(d.designer.keyDown(key(DesignerKey::Right), {}));
  EXPECT_EQ(d.at(0).rect.x, 28);
  EXPECT_EQ(d.designer.handles()[1].rect.x, 28 - 2);  // the handles follow
  EXPECT_EQ(d.designer.undoSteps(), 1u);
}

TEST(DesignerKeys, PageUpMovesOnlyTheButtonOfABandSelectedEditAndButton) {
  TestDesigner d(lines(
      {controlLine("", 101, "EDIT", testing::kEditStyle, 10, 20, 60, 12), button(102, 80, 20)}));
  d.band({0, 0}, {300, 100});
  ASSERT_FALSE(d.designer.current());
  const PixelRect edit = d.at(0).rect, ok = d.at(1).rect;
  d.designer.keyDown(key(DesignerKey::PageUp), {});
  EXPECT_EQ(d.at(0).rect, edit);
  EXPECT_EQ(d.at(1).rect.y, duToPixelsY(19, kFixedBaseUnits));
  d.designer.keyDown(key(DesignerKey::Up), {});
  EXPECT_EQ(d.at(0).rect.y, duToPixelsY(19, kFixedBaseUnits));
  EXPECT_EQ(d.at(1).rect.y, duToPixelsY(18, kFixedBaseUnits));
  EXPECT_EQ(d.at(1).rect.x, ok.x);
  EXPECT_EQ(d.designer.undoSteps(), 2u);  // one step per key press
}

TEST(DesignerKeys, AnEditWithTextKeepsItsKeys) {
  for (const bool multi : {false, true}) {
    TestDesigner d(controlLine("", 101, "EDIT",
                               multi ? "ES_MULTILINE | WS_CHILD | WS_VISIBLE" : testing::kEditStyle,
                               10, 20, 60, 12));
    d.dragControl(0, {d.at(0).rect.x + 1, d.at(0).rect.y + 1}, {});
    d.at(0).caption = "testo";
    const PixelRect r = d.at(0).rect;
    EXPECT_FALSE(d.designer.keyDown(key(DesignerKey::Up), {}));
    d.designer.keyDown(key(DesignerKey::Delete), {});
    EXPECT_EQ(d.model.controls.size(), 1u) << "Delete belongs to the edit";
    EXPECT_EQ(d.at(0).rect, r);
    d.at(0).caption.clear();
    EXPECT_TRUE(d.designer.keyDown(key(DesignerKey::Up), {}));
    EXPECT_EQ(d.at(0).rect.y, duToPixelsY(19, kFixedBaseUnits));
    d.designer.keyDown(key(DesignerKey::Delete), {});
    EXPECT_TRUE(d.model.controls.empty());
    EXPECT_FALSE(d.designer.current());
    EXPECT_TRUE(handlesHidden(d.designer));
  }
}

TEST(DesignerKeys, EscapeStoreAndPropertiesGoToTheHost) {
  TestDesigner d(button(101, 0, 0));
  d.designer.keyDown(key(DesignerKey::F9), {});
  d.designer.keyDown(key(DesignerKey::P), kCtrl);  // no current control: nothing
  EXPECT_TRUE(d.host.shownForms.empty());
  d.dragControl(0, {1, 1}, {});
  d.designer.keyDown(key(DesignerKey::P), kCtrl);
  EXPECT_EQ(d.host.shownForms.size(), 1u);
  d.designer.keyDown(key(DesignerKey::Escape), {});
  EXPECT_EQ(d.host.stores, 1);
  EXPECT_EQ(d.host.closes, 1);
}

TEST(DesignerKeys, OnlyEscapeActsWhileAPressIsUnderWay) {
  TestDesigner d(button(101, 0, 0));
  d.designer.pressControl(0, {1, 1});
  EXPECT_FALSE(d.designer.keyDown(key(DesignerKey::Delete), {}));
  EXPECT_FALSE(d.designer.keyDown(key(DesignerKey::Insert), kShift));
  EXPECT_EQ(d.model.controls.size(), 1u);
  d.designer.mouseMove({1, 30});
  d.designer.mouseRelease();
  EXPECT_EQ(d.at(0).rect.y, snapRow(29, 5, kFixedBaseUnits));
}

// --- menus ---

std::vector<std::string> labels(const DesignerMenu& menu) {
  std::vector<std::string> out;
  for (const MenuItem& item : menu.items) out.push_back(item.separator() ? "-" : item.label);
  return out;
}

TEST(DesignerMenus, TheBackgroundMenuOffersEveryKindAndPaste) {
  TestDesigner d(button(101, 10, 10));
  const DesignerMenu menu = d.designer.contextMenu(std::nullopt, {100, 100});
  const std::vector<std::string> l = labels(menu);
  ASSERT_EQ(l.size(), 21u + 5u);
  EXPECT_EQ(l.front(), "Nuovo TBitmap (STATIC)");
  EXPECT_EQ(l[20], "Nuovo TXBrowse (SysListView32)");
  EXPECT_EQ(std::vector<std::string>(l.begin() + 21, l.end()),
            (std::vector<std::string>{"-", "Incolla\tMAIUSC-INS", "-", "Annulla\tCTRL-Z",
                                      "Ripristina\tCTRL-Y"}));
  EXPECT_FALSE(menu.items[24].enabled);
  EXPECT_EQ(menu.at, (PixelPoint{96, 98}));  // snapped
  EXPECT_EQ(d.host.message, "Dialog: x 0, y 0 \u2014 200 \u00d7 100");

  d.designer.runMenuCommand(menu, 2);  // Nuovo Button at the snapped point
  ASSERT_EQ(d.model.controls.size(), 2u);
  EXPECT_EQ(d.at(1).rect, (PixelRect{96, 98, 70, 25}));
  const DesignerMenu after = d.designer.contextMenu(std::nullopt, {0, 0});
  EXPECT_TRUE(after.items[after.items.size() - 2].enabled);
  d.designer.runMenuCommand(after, after.items.size() - 2);  // Annulla
  EXPECT_EQ(d.model.controls.size(), 1u);
}

// Each kind is offered by its class word and the window class a Win32 programmer knows, the one
// the writer puts down where the kind is a platform control.
TEST(DesignerMenus, EveryNewKindNamesItsWindowClass) {
  TestDesigner d(button(101, 10, 10));
  const DesignerMenu menu = d.designer.contextMenu(std::nullopt, {100, 100});
  ASSERT_GE(menu.items.size(), kNewControlKinds.size());
  for (std::size_t i = 0; i < kNewControlKinds.size(); ++i) {
    const NewControlKind& kind = kNewControlKinds[i];
    EXPECT_EQ(menu.items[i].label,
              "Nuovo " + std::string(kind.name) + " (" + std::string(kind.windowsClass) + ")");
    EXPECT_EQ(menu.items[i].kind, kind.name);
    const std::string_view written = liveClass(kind.live).classWritten;
    if (!written.starts_with('T')) {
      EXPECT_EQ(upperAscii(written), upperAscii(kind.windowsClass)) << kind.name;
    }
  }
  const std::pair<std::string_view, std::string_view> known[] = {
      {"TGet", "Nuovo TGet (EDIT)"},
      {"TSay", "Nuovo TSay (STATIC)"},
      {"TCBrowse", "Nuovo TCBrowse (SysListView32)"},
      {"TXBrowse", "Nuovo TXBrowse (SysListView32)"},
      {"TFolder", "Nuovo TFolder (SysTabControl32)"},
      {"TMeter", "Nuovo TMeter (msctls_progress32)"},
  };
  for (const auto& [name, label] : known) {
    ASSERT_TRUE(newControlKind(name)) << name;
    EXPECT_EQ(newControlLabel(*newControlKind(name)), label);
  }
}

TEST(DesignerMenus, TheControlMenuDependsOnSelectionAndClass) {
  TestDesigner d(lines({controlLine("Nome", 1234, "STATIC", testing::kStaticStyle, 10, 10, 40, 8),
                        button(1200, 10, 40)}));
  DesignerMenu menu = d.designer.contextMenu(0, {20, 20});
  EXPECT_EQ(d.designer.current(), 0u);  // no selection: the clicked control becomes current
  EXPECT_TRUE(handlesShown(d.designer));
  EXPECT_EQ(labels(menu),
            (std::vector<std::string>{
                "Proprietà\tCTRL-P", "-", "Dimensione automatica", "-", "Estendi orizzontalmente",
                "-", "Rinumera da Id 1201 a Id 1299", "-", "Elimina\tCANC", "-", "Copia\tCTRL-INS",
                "-", "Annulla\tCTRL-Z", "Ripristina\tCTRL-Y"}));
  EXPECT_EQ(d.host.message, "Id: 1234   x 10, y 10 \u2014 40 \u00d7 8");
  menu = d.designer.contextMenu(1, {20, 70});
  EXPECT_EQ(labels(menu)[4], "Rinumera da Id 1201 a Id 1299");  // 1200 gives the same range
  d.at(0).selected = true;
  menu = d.designer.contextMenu(1, {20, 70});
  EXPECT_EQ(labels(menu)[4], "Rinumera selezionati");
  EXPECT_EQ(labels(menu)[6], "Elimina\tCANC");
}

TEST(DesignerMenus, ARightClickNearAGroupFrameIsOnTheGroup) {
  GroupDialog d;
  EXPECT_EQ(d.designer.contextMenu(std::nullopt, {100, 25}).control, 0u);
  EXPECT_FALSE(d.designer.contextMenu(std::nullopt, {100, 100}).control);
}

}  // namespace
}  // namespace kolvre
