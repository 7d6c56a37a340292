// The edits of a menu's items: each case is a script before, the edit, and the script after;
// what the edit does not touch stays byte for byte.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "document/edit.h"
#include "messages/error_record.h"
#include "resources/menus.h"
#include "support/crlf.h"

namespace kolvre {
namespace {

using testing::crlf;

struct Script {
  std::string text;
  SymbolTable symbols;
  MenuReading menu;
};

Script scriptOf(const std::string& lines) {
  Script s{crlf(lines), {}, {}};
  readDefines(s.text, s.symbols);
  for (const Statement& st : readStatements(s.text))
    if (st.kind == StatementKind::Resource) {
      s.menu = readMenu(s.text, st, &s.symbols, {});
      break;
    }
  return s;
}

using MenuEditFn = std::function<Edit(const Script&)>;

// The script after the edit, or the refusal's message after "refused: ".
std::string edited(const std::string& before, const MenuEditFn& edit) {
  const Script s = scriptOf(before);
  try {
    const Edit e = edit(s);
    std::string after = applySplices(s.text, e.splices);
    std::string out;
    for (std::size_t at = 0; at < after.size(); ++at)
      if (!(after[at] == '\r' && at + 1 < after.size() && after[at + 1] == '\n')) out += after[at];
    return out;
  } catch (const Refusal& r) {
    return std::string("refused: ") + r.what();
  }
}

struct Case {
  const char* name;
  std::string before;
  MenuEditFn edit;
  std::string after;  // "refused: ..." for a refusal (its beginning)
};

void runCases(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    const std::string got = edited(c.before, c.edit);
    if (c.after.starts_with("refused: "))
      EXPECT_TRUE(got.starts_with(c.after)) << c.name << "\n" << got;
    else
      EXPECT_EQ(got, c.after) << c.name;
  }
}

const std::string kMenu =
    "#define IDM_OPEN 101\n"
    "#define IDM_SAVE 102\n"
    "M MENU\n"
    "BEGIN\n"
    "    POPUP \"&File\"\n"
    "    BEGIN\n"
    "        MENUITEM \"&Apri\\tCtrl+O\", IDM_OPEN  // apre\n"
    "        MENUITEM SEPARATOR\n"
    "        MENUITEM \"&Salva\", IDM_SAVE, GRAYED, CHECKED\n"
    "    END\n"
    "    POPUP \"&Vista\"\n"
    "    BEGIN\n"
    "        MENUITEM \"Barra\", 201\n"
    "    END\n"
    "END\n";

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

TEST(MenuEdits, TextIsWrittenWithTheEscapesAndOnlyItsLiteralChanges) {
  const auto text = [](MenuPath p, std::string t) {
    return [p, t](const Script& s) { return setMenuText(s.text, s.menu, p, t, {}); };
  };
  runCases({
      {"shortcut after a tab", kMenu, text({0, 0}, "&Apri file...\tCtrl+Maiusc+O"),
       replaced(kMenu, "\"&Apri\\tCtrl+O\"", "\"&Apri file...\\tCtrl+Maiusc+O\"")},
      {"quote and backslash", kMenu, text({1}, "Vi\"sta\\"),
       replaced(kMenu, "\"&Vista\"", "\"Vi\"\"sta\\\\\"")},
      {"same text: nothing", kMenu, text({0, 2}, "&Salva"), kMenu},
      {"a separator has none", kMenu, text({0, 1}, "x"), "refused: Un separatore non ha testo."},
      {"no such item", kMenu, text({0, 7}, "x"), "refused: Voce di menu non trovata."},
      {"wide and \\a kept", "M MENU\n{\n  MENUITEM L\"Esci\\aAlt+F4\", 1\n}\n",
       text({0}, "Chiudi\bAlt+F4"), "M MENU\n{\n  MENUITEM L\"Chiudi\\aAlt+F4\", 1\n}\n"},
      {"a body that does not read", "M MENU\n{\n  MENUITEM \"a\"\n}\n", text({0}, "b"),
       "refused: Riga 3: manca l'id"},
  });
}

TEST(MenuEdits, IdIsANumberOrADefinedSymbol) {
  const auto id = [](MenuPath p, std::string v) {
    return [p, v](const Script& s) { return setMenuId(s.text, s.menu, p, v, &s.symbols); };
  };
  const std::string ex =
      "X MENUEX\n{\n  POPUP \"&Vista\", 200\n  {\n    MENUITEM \"a\"\n"
      "    MENUITEM \"b\", 7, MFT_STRING\n  }\n}\n";
  runCases({
      {"symbol", kMenu, id({0, 0}, "IDM_SAVE"), replaced(kMenu, "IDM_OPEN  //", "IDM_SAVE  //")},
      {"number, options kept", kMenu, id({0, 2}, "0x70"),
       replaced(kMenu, "IDM_SAVE, GRAYED", "0x70, GRAYED")},
      {"undefined symbol named", kMenu, id({0, 0}, "IDM_NONE"),
       "refused: ID non valido: «IDM_NONE» non è un numero né un simbolo definito."},
      {"not an expression", kMenu, id({0, 0}, "\"x\""), "refused: ID non valido: «\"x\"»"},
      {"MENU pop-up", kMenu, id({0}, "5"), "refused: Un pop-up di un menu MENU non ha ID."},
      {"separator", kMenu, id({0, 1}, "5"), "refused: Un separatore non ha ID."},
      {"MENUEX: added", ex, id({0, 0}, "IDM_X + 1"), "refused: ID non valido: «IDM_X + 1»"},
      {"MENUEX: added where none", ex, id({0, 0}, "300"), replaced(ex, "\"a\"\n", "\"a\", 300\n")},
      {"MENUEX: taken away before a type: 0", ex, id({0, 1}, ""),
       replaced(ex, "\"b\", 7,", "\"b\", 0,")},
      {"MENUEX: taken away at the end", ex, id({0}, ""),
       replaced(ex, "\"&Vista\", 200", "\"&Vista\"")},
  });
}

TEST(MenuEdits, MenuOptionsKeptAsWrittenNewOnesAfterTheLast) {
  const auto flags = [](MenuPath p, unsigned f) {
    return [p, f](const Script& s) { return setMenuFlags(s.text, s.menu, p, f, &s.symbols); };
  };
  runCases({
      {"first option", kMenu, flags({0, 0}, kMenuGrayed),
       replaced(kMenu, "IDM_OPEN  //", "IDM_OPEN, GRAYED  //")},
      {"one taken away", kMenu, flags({0, 2}, kMenuChecked),
       replaced(kMenu, "IDM_SAVE, GRAYED, CHECKED", "IDM_SAVE, CHECKED")},
      {"all taken away", kMenu, flags({0, 2}, 0),
       replaced(kMenu, "IDM_SAVE, GRAYED, CHECKED", "IDM_SAVE")},
      {"last swapped", kMenu, flags({0, 2}, kMenuGrayed | kMenuHelp),
       replaced(kMenu, "GRAYED, CHECKED", "GRAYED, HELP")},
      {"pop-up", kMenu, flags({1}, kMenuInactive | kMenuBreak),
       replaced(kMenu, "\"&Vista\"", "\"&Vista\", INACTIVE, MENUBREAK")},
      {"lower case kept", "m menu\n{\n  menuitem \"a\", 1,grayed\n}\n",
       flags({0}, kMenuGrayed | kMenuChecked),
       "m menu\n{\n  menuitem \"a\", 1,grayed,checked\n}\n"},
      {"default is MENUEX's", kMenu, flags({0, 0}, kMenuDefault), "refused: DEFAULT vale solo"},
      {"separator", kMenu, flags({0, 1}, kMenuGrayed), "refused: Le opzioni di un separatore"},
  });
}

TEST(MenuEdits, ExtendedFlagsChangeTheTermsOfTypeAndState) {
  const auto flags = [](MenuPath p, unsigned f) {
    return [p, f](const Script& s) { return setMenuFlags(s.text, s.menu, p, f, &s.symbols); };
  };
  const std::string named =
      "X MENUEX\n{\n  MENUITEM \"a\", 1, MFT_STRING, MFS_CHECKED | MFS_DEFAULT\n"
      "  MENUITEM \"b\", 2\n}\n";
  const std::string numbers = "X MENUEX\n{\n  MENUITEM \"a\", 1, 0, 0x0009\n}\n";
  runCases({
      {"a term taken away", named, flags({0}, kMenuDefault),
       replaced(named, "MFS_CHECKED | MFS_DEFAULT", "MFS_DEFAULT")},
      {"a term added after the last", named, flags({0}, kMenuChecked | kMenuDefault | kMenuGrayed),
       replaced(named, "MFS_CHECKED | MFS_DEFAULT", "MFS_CHECKED | MFS_DEFAULT | MFS_GRAYED")},
      {"the state taken away at the end", named, flags({0}, 0),
       replaced(named, "MFT_STRING, MFS_CHECKED | MFS_DEFAULT", "MFT_STRING")},
      {"type and state added, named as the menu names them", named,
       flags({1}, kMenuChecked | kMenuBreak),
       replaced(named, "\"b\", 2\n", "\"b\", 2, MFT_MENUBREAK, MFS_CHECKED\n")},
      {"a number written without the bit", numbers, flags({0}, kMenuGrayed),
       replaced(numbers, "0x0009", "0x1")},
      {"a new bit as a number where no name is written", numbers,
       flags({0}, kMenuGrayed | kMenuChecked | kMenuHelp),
       replaced(numbers, ", 0, 0x0009", ", 0x4000, 0x0009")},
  });
}

TEST(MenuEdits, ExtendedFieldsAsWritten) {
  const auto field = [](MenuPath p, MenuExField f, std::string v) {
    return
        [p, f, v](const Script& s) { return setMenuExField(s.text, s.menu, p, f, v, &s.symbols); };
  };
  const std::string ex = "X MENUEX\n{\n  POPUP \"p\", 5\n  {\n    MENUITEM \"a\", 1\n  }\n}\n";
  runCases({
      {"help ID after zeros", ex, field({0}, MenuExField::HelpId, "77"),
       replaced(ex, "\"p\", 5\n", "\"p\", 5, 0, 0, 77\n")},
      {"state", ex, field({0, 0}, MenuExField::State, "MFS_GRAYED"),
       replaced(ex, "\"a\", 1\n", "\"a\", 1, 0, MFS_GRAYED\n")},
      {"an item has no help ID", ex, field({0, 0}, MenuExField::HelpId, "3"),
       "refused: Solo un pop-up"},
      {"an unknown name", ex, field({0, 0}, MenuExField::Type, "MFT_NONE"),
       "refused: ID non valido: «MFT_NONE»"},
      {"a MENU has none", kMenu, field({0, 0}, MenuExField::Type, "0"), "refused: Tipo, stato"},
  });
}

TEST(MenuEdits, AnInsertedItemCopiesItsNeighbour) {
  const auto insert = [](MenuPath p, NewMenuItem item) {
    return [p, item](const Script& s) {
      return insertMenuItem(s.text, s.menu, p, item, {}, &s.symbols);
    };
  };
  const std::string open = "        MENUITEM \"&Apri\\tCtrl+O\", IDM_OPEN  // apre\n";
  runCases({
      {"after an item", kMenu, insert({0, 1}, {false, "&Nuovo", "IDM_SAVE"}),
       replaced(kMenu, open, open + "        MENUITEM \"&Nuovo\", IDM_SAVE\n")},
      {"a separator", kMenu, insert({0, 1}, {true, "", ""}),
       replaced(kMenu, open, open + "        MENUITEM SEPARATOR\n")},
      {"first, before the first", kMenu, insert({1, 0}, {false, "Stato", "202"}),
       replaced(kMenu, "        MENUITEM \"Barra\"",
                "        MENUITEM \"Stato\", 202\n        MENUITEM \"Barra\"")},
      {"after a pop-up, at the top level", kMenu, insert({1}, {false, "&?", "9"}),
       replaced(kMenu, "    END\n    POPUP \"&Vista\"",
                "    END\n    MENUITEM \"&?\", 9\n    POPUP \"&Vista\"")},
      {"in an empty pop-up, one step in", "M MENU\n{\n  POPUP \"a\"\n  {\n  }\n}\n",
       insert({0, 0}, {false, "b", "1"}),
       "M MENU\n{\n  POPUP \"a\"\n  {\n    MENUITEM \"b\", 1\n  }\n}\n"},
      {"spacing and case copied", "m menu\n{\n  menuitem  \"a\" ,1\n}\n",
       insert({1}, {false, "b", "2"}),
       "m menu\n{\n  menuitem  \"a\" ,1\n  menuitem  \"b\" ,2\n}\n"},
      {"MENUEX without an ID", "X MENUEX\n{\n  MENUITEM \"a\", 1\n}\n",
       insert({1}, {false, "b", ""}), "X MENUEX\n{\n  MENUITEM \"a\", 1\n  MENUITEM \"b\"\n}\n"},
      {"an undefined ID", kMenu, insert({0, 0}, {false, "x", "IDM_NEW"}),
       "refused: ID non valido: «IDM_NEW»"},
      {"a MENU item needs an ID", kMenu, insert({0, 0}, {false, "x", ""}), "refused: Manca l'ID"},
      // An empty pop-up: its body opened and closed with the words of the body nearest it.
      {"a pop-up after a pop-up", kMenu, insert({1}, {false, "&Modifica", "", true}),
       replaced(kMenu, "    END\n    POPUP \"&Vista\"",
                "    END\n    POPUP \"&Modifica\"\n    BEGIN\n    END\n    POPUP \"&Vista\"")},
      {"a pop-up in a pop-up, in braces",
       "M MENU\n{\n  POPUP \"a\"\n  {\n    MENUITEM \"b\", 1\n  }\n}\n",
       insert({0, 1}, {false, "c", "", true}),
       "M MENU\n{\n  POPUP \"a\"\n  {\n    MENUITEM \"b\", 1\n    POPUP \"c\"\n    {\n    }\n  "
       "}\n}\n"},
      {"a pop-up in lower case", "m menu\nbegin\n  menuitem \"a\", 1\nend\n",
       insert({1}, {false, "p", "", true}),
       "m menu\nbegin\n  menuitem \"a\", 1\n  popup \"p\"\n  begin\n  end\nend\n"},
      {"a MENUEX pop-up with its ID", "X MENUEX\n{\n  MENUITEM \"a\", 1\n}\n",
       insert({1}, {false, "p", "7", true}),
       "X MENUEX\n{\n  MENUITEM \"a\", 1\n  POPUP \"p\", 7\n  {\n  }\n}\n"},
  });
}

TEST(MenuEdits, ADeletedItemTakesItsLines) {
  const auto remove = [](MenuPath p) {
    return [p](const Script& s) { return deleteMenuItem(s.text, s.menu, p); };
  };
  runCases({
      {"with its comment", kMenu, remove({0, 0}),
       replaced(kMenu, "        MENUITEM \"&Apri\\tCtrl+O\", IDM_OPEN  // apre\n", "")},
      {"a pop-up with its items", kMenu, remove({1}),
       replaced(kMenu,
                "    POPUP \"&Vista\"\n    BEGIN\n        MENUITEM \"Barra\", 201\n    END\n", "")},
      {"on a shared line: its tokens", "M MENU { MENUITEM \"a\", 1 MENUITEM \"b\", 2 }\n",
       remove({0}), "M MENU { MENUITEM \"b\", 2 }\n"},
      {"an #if left open",
       "M MENU\n{\n  POPUP \"a\"\n  {\n#ifdef X\n    MENUITEM \"b\", 1\n  }\n#endif\n}\n",
       remove({0}), "refused: Impossibile eliminare il pop-up «a»: le sue righe"},
  });
}

TEST(MenuEdits, AMovedItemTakesItsLinesAndTheIndentationOfItsPlace) {
  const auto move = [](MenuPath p, MenuMove m) {
    return [p, m](const Script& s) { return moveMenuItem(s.text, s.menu, p, m); };
  };
  const std::string open = "        MENUITEM \"&Apri\\tCtrl+O\", IDM_OPEN  // apre\n";
  const std::string separator = "        MENUITEM SEPARATOR\n";
  const std::string save = "        MENUITEM \"&Salva\", IDM_SAVE, GRAYED, CHECKED\n";
  const std::string view =
      "    POPUP \"&Vista\"\n    BEGIN\n        MENUITEM \"Barra\", 201\n    END\n";
  runCases({
      {"down, its comment with it", kMenu, move({0, 0}, MenuMove::Down),
       replaced(kMenu, open + separator, separator + open)},
      {"up", kMenu, move({0, 2}, MenuMove::Up),
       replaced(kMenu, separator + save, save + separator)},
      {"first cannot go up", kMenu, move({0, 0}, MenuMove::Up), "refused: La voce è già la prima"},
      {"a pop-up up, with its body", kMenu, move({1}, MenuMove::Up),
       replaced(replaced(kMenu, view, ""), "BEGIN\n    POPUP \"&File\"",
                "BEGIN\n" + view + "    POPUP \"&File\"")},
      {"out, after its pop-up", kMenu, move({0, 2}, MenuMove::Out),
       replaced(
           replaced(kMenu, save, ""), "    END\n    POPUP \"&Vista\"",
           "    END\n    MENUITEM \"&Salva\", IDM_SAVE, GRAYED, CHECKED\n    POPUP \"&Vista\"")},
      {"out of the first place, before its pop-up", kMenu, move({1, 0}, MenuMove::Out),
       replaced(replaced(kMenu, "        MENUITEM \"Barra\", 201\n", ""), "    POPUP \"&Vista\"",
                "    MENUITEM \"Barra\", 201\n    POPUP \"&Vista\"")},
      {"in, the last of the pop-up before", kMenu, move({1}, MenuMove::In),
       replaced(replaced(kMenu, view, ""), save + "    END\n",
                save +
                    "        POPUP \"&Vista\"\n        BEGIN\n            MENUITEM \"Barra\", 201\n"
                    "        END\n    END\n")},
      {"in, the first of the pop-up after",
       "M MENU\n{\n  MENUITEM \"a\", 1\n  POPUP \"p\"\n  {\n    MENUITEM \"b\", 2\n  }\n}\n",
       move({0}, MenuMove::In),
       "M MENU\n{\n  POPUP \"p\"\n  {\n    MENUITEM \"a\", 1\n    MENUITEM \"b\", 2\n  }\n}\n"},
      {"no pop-up beside", kMenu, move({0, 1}, MenuMove::In), "refused: Nessun pop-up"},
      {"past a preprocessor line",
       "M MENU\n{\n  MENUITEM \"a\", 1\n#ifdef X\n  MENUITEM \"b\", 2\n#endif\n}\n",
       move({0}, MenuMove::Down), "refused: Impossibile spostare la voce «a»: passerebbe"},
      {"on a shared line", "M MENU { MENUITEM \"a\", 1 MENUITEM \"b\", 2 }\n",
       move({0}, MenuMove::Down),
       "refused: Impossibile spostare la voce «a»: non sta su righe sue."},
      {"a blank line and a comment stay between",
       "M MENU\n{\n  MENUITEM \"a\", 1\n\n  // b\n  MENUITEM \"b\", 2\n}\n",
       move({1}, MenuMove::Up),
       "M MENU\n{\n  MENUITEM \"b\", 2\n\n  // b\n  MENUITEM \"a\", 1\n}\n"},
  });
}

TEST(MenuEdits, MovedPathsFollowTheMoves) {
  const Script s = scriptOf(kMenu);
  EXPECT_EQ(movedMenuPath(s.menu, {0, 2}, MenuMove::Out), (MenuPath{1}));
  EXPECT_EQ(movedMenuPath(s.menu, {1, 0}, MenuMove::Out), (MenuPath{1}));
  EXPECT_EQ(movedMenuPath(s.menu, {1}, MenuMove::In), (MenuPath{0, 3}));
  EXPECT_EQ(movedMenuPath(s.menu, {0}, MenuMove::In), (MenuPath{0, 0}));
  EXPECT_EQ(movedMenuPath(s.menu, {0, 2}, MenuMove::Down), std::nullopt);
  EXPECT_EQ(menuTextPath(s.menu, {0, 2}), "File/Salva");
}

TEST(MenuEdits, TheNextFreeIdPassesTheMenuAndTheSymbols) {
  Script s = scriptOf(kMenu);
  EXPECT_EQ(nextFreeMenuId(s.menu, &s.symbols), 202u);
  s.symbols.define("IDM_TAKEN", "202");
  EXPECT_EQ(nextFreeMenuId(s.menu, &s.symbols), 203u);
  s.symbols.define("_APS_NEXT_COMMAND_VALUE", "32771");
  EXPECT_EQ(nextFreeMenuId(s.menu, &s.symbols), 32771u);
  EXPECT_EQ(nextFreeMenuId(scriptOf("M MENU\n{\n}\n").menu, nullptr), 1u);
}

TEST(MenuEdits, FlagWordsReadInAnyCaseAndSeparation) {
  EXPECT_EQ(menuFlagsFromWords("grayed, CHECKED help"),
            unsigned(kMenuGrayed | kMenuChecked | kMenuHelp));
  EXPECT_EQ(menuFlagsFromWords(""), 0u);
  try {
    menuFlagsFromWords("GRAYED BOLD");
    ADD_FAILURE() << "BOLD read";
  } catch (const Refusal& r) {
    EXPECT_NE(std::string(r.what()).find("«BOLD»"), std::string::npos);
  }
}

}  // namespace
}  // namespace kolvre
