#include "resources/find.h"

#include <gtest/gtest.h>

#include <tuple>

#include "resources/menus.h"
#include "syntax/code_pages.h"

namespace kolvre {
namespace {

Document documentOf(const std::string& text) {
  Document doc;
  doc.load("", text);
  return doc;
}

// Each match as "TYPE NAME | word place | context", the way the batch tool lines them up.
std::vector<std::string> rows(const std::vector<FindMatch>& matches) {
  std::vector<std::string> out;
  for (const FindMatch& m : matches) {
    std::string place(foundInWord(m.in));
    if (!m.place.empty()) place += " " + m.place;
    out.push_back(m.type + " " + m.name + " | " + place + " | " + m.context);
  }
  return out;
}

std::vector<std::string> found(const std::string& text, const std::string& typed,
                               const SymbolTable* symbols = nullptr) {
  const Document doc = documentOf(text);
  return rows(findInResources(doc, symbols, typed));
}

const std::string kScript =
    "#define IDC_NAME 1001\r\n"
    "#define IDM_OPEN 0x65\r\n"
    "IDD_ABOUT DIALOGEX 0, 0, 200, 100\r\n"
    "CAPTION \"About the Program\"\r\n"
    "BEGIN\r\n"
    "  LTEXT \"Name:\", -1, 7, 7, 40, 8\r\n"
    "  EDITTEXT IDC_NAME, 50, 7, 43, 12\r\n"
    "  CONTROL \"Open\", 1002, \"Button\", BS_PUSHBUTTON, 7, 25, 80, 10\r\n"
    "  LTEXT \"Also a name\", -1, 7, 40, 40, 8\r\n"
    "END\r\n"
    "\r\n"
    "STRINGTABLE\r\n"
    "BEGIN\r\n"
    "  101, \"Open a file\"\r\n"
    "  IDC_NAME, \"Dup\\tname\"\r\n"
    "END\r\n"
    "\r\n"
    "MAIN MENU\r\n"
    "BEGIN\r\n"
    "  POPUP \"&File\"\r\n"
    "  BEGIN\r\n"
    "    MENUITEM \"&Open...\\tCtrl+O\", IDM_OPEN\r\n"
    "  END\r\n"
    "END\r\n"
    "\r\n"
    "1 VERSIONINFO\r\n"
    "FILEVERSION 1,0,0,1\r\n"
    "BEGIN\r\n"
    "  BLOCK \"StringFileInfo\"\r\n"
    "  BEGIN\r\n"
    "    BLOCK \"040904b0\"\r\n"
    "    BEGIN\r\n"
    "      VALUE \"FileDescription\", \"Opens names\\0\"\r\n"
    "    END\r\n"
    "  END\r\n"
    "END\r\n";

TEST(FindInResources, EachKindOfPlaceInTextOrderWithoutRegardToCase) {
  SymbolTable symbols;
  symbols.define("IDC_NAME", "1001");
  symbols.define("IDM_OPEN", "0x65");
  EXPECT_EQ(found(kScript, "OPEN", &symbols),
            (std::vector<std::string>{
                "D IDD_ABOUT | controllo 1002 | Open",
                "S 101..IDC_NAME | stringa 101 | Open a file",
                "M MAIN | voce File/Open... | &Open... Ctrl+O",
                "M MAIN | voce File/Open... | IDM_OPEN",
                "VI 1 | valore 040904b0/FileDescription | Opens names",
            }));
  // The tab of a text shows as a blank in its frame, not in the place.
  EXPECT_EQ(found(kScript, "name", &symbols),
            (std::vector<std::string>{
                "D IDD_ABOUT | controllo -1 (n. 1) | Name:",
                "D IDD_ABOUT | controllo IDC_NAME | IDC_NAME",
                "D IDD_ABOUT | controllo -1 (n. 4) | Also a name",
                "S 101..IDC_NAME | stringa IDC_NAME | IDC_NAME",
                "S 101..IDC_NAME | stringa IDC_NAME | Dup name",
                "VI 1 | valore 040904b0/FileDescription | Opens names",
            }));
  EXPECT_EQ(found(kScript, "about", &symbols),
            (std::vector<std::string>{"D IDD_ABOUT | nome | IDD_ABOUT",
                                      "D IDD_ABOUT | titolo | About the Program"}));
}

TEST(FindInResources, ANumberFindsTheIdsOfThatValueWhateverTheyAreWrittenWith) {
  SymbolTable symbols;
  symbols.define("IDC_NAME", "1001");
  symbols.define("IDM_OPEN", "0x65");
  // 1001 is IDC_NAME's value: the control and the string; 101 the string written so and the
  // menu item written with a symbol; a number does not find its digits inside another number.
  EXPECT_EQ(found(kScript, "1001", &symbols),
            (std::vector<std::string>{"D IDD_ABOUT | controllo IDC_NAME | IDC_NAME = 1001",
                                      "S 101..IDC_NAME | stringa IDC_NAME | IDC_NAME = 1001"}));
  EXPECT_EQ(found(kScript, "0x65", &symbols),
            (std::vector<std::string>{"S 101..IDC_NAME | stringa 101 | 101",
                                      "M MAIN | voce File/Open... | IDM_OPEN = 101"}));
  EXPECT_EQ(found(kScript, "100", &symbols), std::vector<std::string>{});
  // A numeric name by its value; -1 finds the controls written so.
  EXPECT_EQ(found(kScript, "0x1", &symbols), (std::vector<std::string>{"VI 1 | nome | 1"}));
  EXPECT_EQ(found(kScript, "-1", &symbols).size(), 2u);
  // Without the symbols the IDs written with names have no value, and are found by name alone.
  EXPECT_EQ(found(kScript, "1001"), std::vector<std::string>{});
  EXPECT_EQ(found(kScript, "idc_na").size(), 2u);
}

TEST(FindInResources, MatchesSayWhereTheyStandAndWhereThePanelsFindThem) {
  SymbolTable symbols;
  symbols.define("IDM_OPEN", "0x65");
  const Document doc = documentOf(kScript);
  const std::vector<FindMatch> matches = findInResources(doc, &symbols, "open");
  ASSERT_EQ(matches.size(), 5u);
  const std::string& text = doc.text();
  EXPECT_EQ(text.compare(matches[0].offset, 6, "\"Open\""), 0);
  EXPECT_EQ(matches[0].control, 2u);
  EXPECT_EQ(designerControl(doc, matches[0].resourceOffset, *matches[0].control, &symbols), 2u);
  EXPECT_EQ(matches[0].resource, (ResourceKey{"IDD_ABOUT", ResourceType::Dialog, 0}));
  EXPECT_EQ(text.compare(matches[1].offset, 13, "\"Open a file\""), 0);
  EXPECT_EQ(matches[1].stringEntry, 0u);
  EXPECT_EQ(matches[2].menuPath, (MenuPath{0, 0}));
  EXPECT_EQ(text.compare(matches[3].offset, 8, "IDM_OPEN"), 0);
  EXPECT_EQ(matches[4].versionBlock, 0u);
  EXPECT_EQ(matches[4].versionValue, 0u);
  EXPECT_EQ(text.compare(matches[4].offset, 6, "\"Opens"), 0);
  for (const FindMatch& m : matches)
    EXPECT_EQ(m.resourceOffset, doc.index()[*findEntry(doc.index(), m.resource)].offset);
}

TEST(FindInResources, TheFrameCutsALongTextAroundTheMatch) {
  const std::string text = "STRINGTABLE\r\n{\r\n  1, \"" + std::string(60, 'a') + "needle" +
                           std::string(60, 'b') + "\"\r\n  2, \"short needle\"\r\n}\r\n";
  const Document doc = documentOf(text);
  const std::vector<FindMatch> matches = findInResources(doc, nullptr, "NEEDLE");
  ASSERT_EQ(matches.size(), 2u);
  EXPECT_EQ(matches[0].context, "…" + std::string(24, 'a') + "needle" + std::string(40, 'b') + "…");
  EXPECT_EQ(matches[0].context.substr(matches[0].matchBegin, matches[0].matchLength), "needle");
  EXPECT_EQ(matches[1].context, "short needle");
  EXPECT_EQ(matches[1].matchBegin, 6u);
}

TEST(FindInResources, TextsAreComparedAsShownInTheScriptsCodePage) {
  // Cyrillic in code page 1251 (escapes decoded in it: "\xc4\xe0" is "Да"), Greek in UTF-8,
  // Japanese in 932.
  const std::string text =
      "#pragma code_page(1251)\r\n"
      "STRINGTABLE\r\nBEGIN\r\n"
      "  1, \"\xc4\xe0\xed\xed\xfb\xe5\"\r\n"  // Данные
      "  2, \"\\xc4\\xe0 \xed\xe5\xf2\"\r\n"   // Да нет
      "END\r\n"
      "#pragma code_page(65001)\r\n"
      "G MENU { MENUITEM \"Αρχείο\", 1 }\r\n"
      "#pragma code_page(932)\r\n"
      "J MENU { MENUITEM \"\x93\xfa\x96\x7b\", 1 }\r\n";  // 日本
  const Document doc = documentOf(text);
  // Upper and lower case of either alphabet meet.
  EXPECT_EQ(
      rows(findInResources(doc, nullptr, "дА")),
      (std::vector<std::string>{"S 1..2 | stringa 1 | Данные", "S 1..2 | stringa 2 | Да нет"}));
  EXPECT_EQ(rows(findInResources(doc, nullptr, "ΑΡΧ")),
            (std::vector<std::string>{"M G | voce Αρχείο | Αρχείο"}));
  EXPECT_EQ(rows(findInResources(doc, nullptr, "日本")),
            (std::vector<std::string>{"M J | voce 日本 | 日本"}));
  EXPECT_EQ(rows(findInResources(doc, nullptr, "НЕТ")),
            (std::vector<std::string>{"S 1..2 | stringa 2 | Да нет"}));
}

TEST(FindInResources, FoldingKeepsEveryLetterItsLength) {
  EXPECT_EQ(foldCase("ÀÉÎÕÜ ÿŸ"), "àéîõü ÿŸ");
  EXPECT_EQ(foldCase("ĀĹŁŽ ıİ"), "āĺłž ıİ");
  EXPECT_EQ(foldCase("ΆΈΌΏΣ"), "άέόώσ");
  EXPECT_EQ(foldCase("ЀЯЁӁ"), "ѐяёӂ");
  // Bytes that are no UTF-8 stay as they are.
  EXPECT_EQ(foldCase("A\xc4Z\xff"), "a\xc4z\xff");
  for (const std::string s : {"ÀÉÎÕÜ ÿŸ", "ĀĹŁŽ ıİ", "ΆΈΌΏΣ", "ЀЯЁӁ", "€ Ω"})
    EXPECT_EQ(foldCase(s).size(), s.size()) << s;
}

TEST(FindInResources, PagesComeInTextOrderAndAddUpToTheWhole) {
  std::string text;
  for (int i = 0; i < 30; ++i)
    text +=
        "S" + std::to_string(i) + " MENU { MENUITEM \"Item\", 1 MENUITEM \"Other item\", 2 }\r\n";
  const Document doc = documentOf(text);
  const std::vector<FindMatch> all = findInResources(doc, nullptr, "item");
  ASSERT_EQ(all.size(), 60u);
  // Pages bounded by the resources read (three of two matches each), or by the matches found
  // (a resource is read whole: a page may pass the bound by a resource's matches less one).
  for (const auto& [matches, resources, pageCount] :
       {std::tuple{std::size_t{7}, std::size_t{3}, std::size_t{10}},
        std::tuple{std::size_t{3}, SIZE_MAX, std::size_t{15}}}) {
    ResourceFinder finder(doc, nullptr, "item");
    EXPECT_EQ(finder.resourceCount(), 30u);
    std::vector<FindMatch> paged;
    std::size_t pages = 0;
    while (!finder.done()) {
      const std::vector<FindMatch> page = finder.next(matches, resources);
      EXPECT_LE(page.size(), matches + 1);
      paged.insert(paged.end(), page.begin(), page.end());
      ++pages;
    }
    EXPECT_EQ(pages, pageCount);
    EXPECT_EQ(finder.resourcesRead(), 30u);
    EXPECT_EQ(rows(paged), rows(all));
  }
  for (std::size_t i = 1; i < all.size(); ++i) EXPECT_LT(all[i - 1].offset, all[i].offset);
}

TEST(FindInResources, NothingForAnEmptyTextAndNamesakesByTheirOccurrence) {
  const std::string text = "A MENU { MENUITEM \"x\", 1 }\r\na MENU { MENUITEM \"x\", 2 }\r\n";
  const Document doc = documentOf(text);
  EXPECT_TRUE(findInResources(doc, nullptr, "").empty());
  const std::vector<FindMatch> matches = findInResources(doc, nullptr, "x");
  ASSERT_EQ(matches.size(), 2u);
  EXPECT_EQ(findEntry(doc.index(), matches[0].resource), std::optional<std::size_t>(0));
  EXPECT_EQ(matches[1].resource.occurrence, 1u);
  EXPECT_EQ(doc.index()[*findEntry(doc.index(), matches[1].resource)].offset,
            matches[1].resourceOffset);
}

TEST(FindInResources, OnlyTheKindsTheListShows) {
  Document doc = documentOf(kScript);
  doc.setListedKinds(ListedKinds::CreatableOnly);
  EXPECT_EQ(rows(findInResources(doc, nullptr, "open")),
            (std::vector<std::string>{"D IDD_ABOUT | controllo 1002 | Open",
                                      "VI 1 | valore 040904b0/FileDescription | Opens names"}));
}

TEST(FindInResources, TheDesignerCountsOnlyTheStatementsThatReadAsControls) {
  // The first CONTROL lacks its fields: no control to the designer, which counts the next one
  // as its first.
  const std::string text =
      "D DIALOG 0, 0, 100, 50\r\nBEGIN\r\n"
      "  CONTROL \"Broken\"\r\n"
      "  LTEXT \"Whole\", 1, 0, 0, 10, 10\r\n"
      "END\r\n";
  const Document doc = documentOf(text);
  const std::vector<FindMatch> broken = findInResources(doc, nullptr, "broken");
  ASSERT_EQ(broken.size(), 1u);
  EXPECT_EQ(broken[0].control, 0u);
  EXPECT_EQ(designerControl(doc, broken[0].resourceOffset, 0, nullptr), std::nullopt);
  const std::vector<FindMatch> whole = findInResources(doc, nullptr, "whole");
  ASSERT_EQ(whole.size(), 1u);
  EXPECT_EQ(whole[0].control, 1u);
  EXPECT_EQ(designerControl(doc, whole[0].resourceOffset, 1, nullptr), 0u);
}

TEST(CodePages, ThePageInForceFromTheChangesReadOnce) {
  const std::string text = "#pragma code_page(1251)\r\nA\r\n#pragma code_page(65001)\r\nB\r\n";
  const std::vector<CodePageChange> changes = codePageChanges(text, text.size());
  for (std::size_t at :
       {std::size_t{0}, text.find('A'), text.find("#pragma", 5), text.find('B'), text.size()})
    EXPECT_EQ(codePageIn(changes, at), codePageAt(text, at)) << at;
}

}  // namespace
}  // namespace kolvre
