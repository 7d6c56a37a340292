// The menu reader: MENU and MENUEX bodies into item trees, and the reasons a body does not read.
#include "resources/menus.h"

#include <gtest/gtest.h>

#include <string>

#include "base/text.h"
#include "syntax/statements.h"

namespace kolvre {
namespace {

// Lines joined with CR LF, as the document holds them.
std::string lines(std::initializer_list<std::string_view> parts) {
  std::string text;
  for (std::string_view part : parts) text += std::string(part) + "\r\n";
  return text;
}

// The menu of the first resource of `text`, read with the script's own defines.
MenuReading menuOf(const std::string& text) {
  SymbolTable symbols;
  readDefines(text, symbols);
  for (const Statement& s : readStatements(text))
    if (s.kind == StatementKind::Resource) return readMenu(text, s, &symbols, {});
  ADD_FAILURE() << "no resource in " << text;
  return {};
}

TEST(MenuReader, NestsPopupsAndReadsTextsIdsAndOptions) {
  const MenuReading menu = menuOf(lines({
      "#define IDM_OPEN 101",
      "M MENU DISCARDABLE",
      "BEGIN",
      "  POPUP \"&File\"",
      "  {",
      "    MENUITEM \"&Apri...\\tCtrl+O\", IDM_OPEN  // a comment",
      "    MENUITEM SEPARATOR",
      "#ifdef EXTRA",
      "    MENUITEM \"Extra\", IDM_BASE + 2, GRAYED CHECKED",
      "#endif",
      "    POPUP \"Recenti\", INACTIVE",
      "    BEGIN",
      "      MENUITEM \"a\\\"b\", -1, MENUBREAK, MENUBARBREAK",
      "    END",
      "  }",
      "  menuitem \"&?\", 9, help",
      "END",
  }));
  ASSERT_EQ(menu.problem, "");
  EXPECT_FALSE(menu.extended);
  ASSERT_EQ(menu.items.size(), 2u);
  EXPECT_EQ(countMenuEntries(menu.items), 7u);
  const MenuEntry& file = menu.items[0];
  EXPECT_TRUE(file.popup);
  EXPECT_EQ(file.text, "&File");
  ASSERT_EQ(file.items.size(), 4u);
  EXPECT_EQ(file.items[0].text, "&Apri...");
  EXPECT_EQ(file.items[0].shortcut, "Ctrl+O");
  EXPECT_EQ(file.items[0].id, "IDM_OPEN");
  EXPECT_EQ(file.items[0].idValue, 101u);
  EXPECT_EQ(file.items[1].flags, unsigned(kMenuSeparator));
  // An id whose name the script does not define is kept as written, without a value.
  EXPECT_EQ(file.items[2].id, "IDM_BASE + 2");
  EXPECT_FALSE(file.items[2].idValue);
  EXPECT_EQ(menuFlagWords(file.items[2].flags), "GRAYED CHECKED");
  EXPECT_EQ(file.items[3].flags, unsigned(kMenuInactive));
  EXPECT_EQ(file.items[3].items[0].text, "a\"b");
  EXPECT_EQ(file.items[3].items[0].idValue, 0xFFFFFFFFu);
  EXPECT_EQ(menuFlagWords(file.items[3].items[0].flags), "MENUBARBREAK MENUBREAK");
  EXPECT_EQ(menu.items[1].flags, unsigned(kMenuHelp));
}

TEST(MenuReader, ExtendedItemsTakeTheirFlagsFromTypeAndState) {
  const MenuReading menu = menuOf(lines({
      "X MENUEX",
      "{",
      "  POPUP \"&Vista\", 200, MFT_STRING, MFS_ENABLED, 7",
      "  {",
      "    MENUITEM \"Dettagli\\tCtrl+4\", 201, , MFS_CHECKED | MFS_DEFAULT",
      "    MENUITEM \"\", -1, MFT_SEPARATOR",
      "    MENUITEM \"Spento\", 202, MFT_RADIOCHECK | MFT_MENUBARBREAK, MFS_GRAYED",
      "    MENUITEM \"Senza id\"",
      "  }",
      "}",
  }));
  ASSERT_EQ(menu.problem, "");
  EXPECT_TRUE(menu.extended);
  const MenuEntry& view = menu.items.at(0);
  EXPECT_EQ(view.id, "200");
  ASSERT_EQ(view.items.size(), 4u);
  EXPECT_EQ(view.items[0].shortcut, "Ctrl+4");
  EXPECT_EQ(view.items[0].type, "");
  EXPECT_EQ(view.items[0].state, "MFS_CHECKED | MFS_DEFAULT");
  EXPECT_EQ(view.items[0].flags, unsigned(kMenuChecked | kMenuDefault));
  EXPECT_EQ(view.items[1].flags, unsigned(kMenuSeparator));
  EXPECT_EQ(view.items[2].flags, unsigned(kMenuGrayed | kMenuBarBreak));
  EXPECT_EQ(view.items[3].id, "");
}

TEST(MenuReader, ABodyThatDoesNotReadGivesTheLineAndNoItems) {
  const struct {
    std::string_view line;
    std::string_view reason;
  } cases[] = {
      {"MENUITEM IDM_X", "Riga 3: atteso il testo tra virgolette dopo MENUITEM."},
      {"MENUITEM \"a\"", "Riga 3: manca l'id della voce dopo il testo."},
      {"MENUITEM \"a\", 1, BOLD", "Riga 3: opzione sconosciuta «BOLD»."},
      {"MENUITEM \"a\", 1,", "Riga 4: attesa un'opzione dopo la virgola."},
      {"MY_SEPARATOR", "Riga 3: «MY_SEPARATOR» non è una voce di menu"},
      {"POPUP \"a\", GRAYED", "Riga 4: manca BEGIN o { dopo il pop-up «a»."},
      {"POPUP \"a\" {", "il corpo del menu non è chiuso."},
  };
  for (const auto& c : cases) {
    const MenuReading menu = menuOf(lines({"M MENU", "{", c.line, "}"}));
    EXPECT_TRUE(menu.items.empty()) << c.line;
    EXPECT_NE(menu.problem.find(c.reason), std::string::npos) << c.line << ": " << menu.problem;
  }
}

}  // namespace
}  // namespace kolvre
