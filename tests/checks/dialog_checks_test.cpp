// Each dialog rule against the smallest dialog that breaks it and one that almost does, with a
// measure of fixed widths (5 pixels a character, 13 a line), so the arithmetic is the test's.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "checks/checks.h"
#include "checks/translations.h"

namespace kolvre {
namespace {

class FixedMeasure : public FontMeasure {
 public:
  TextSize textSize(const DialogModel&, std::string_view text, int wrapWidth) const override {
    const int width = 5 * static_cast<int>(text.size());
    if (wrapWidth <= 0 || width <= wrapWidth) return {width, 13};
    const int lines = (width + wrapWidth - 1) / wrapWidth;
    return {wrapWidth, 13 * lines};
  }
  int chromeWidth(ControlClass live) const override {
    return live == ControlClass::CheckBox ? 20 : live == ControlClass::Button ? 8 : 0;
  }
};

std::string dialog(const std::string& body, const std::string& name = "D",
                   const std::string& size = "100, 50") {
  return name + " DIALOG 0, 0, " + size + "\r\nBEGIN\r\n" + body + "END\r\n";
}

std::vector<std::string> rulesOf(const std::string& script) {
  const FixedMeasure measure;
  std::vector<std::string> words;
  for (const Finding& f : checkScript(script, "", &measure))
    words.push_back(std::string(ruleInfo(f.rule).word) + ":" + f.control);
  return words;
}

using Rules = std::vector<std::string>;

std::vector<std::string> messagesOf(const std::string& script) {
  const FixedMeasure measure;
  std::vector<std::string> messages;
  for (const Finding& f : checkScript(script, "", &measure)) messages.push_back(f.message);
  return messages;
}

using Messages = std::vector<std::string>;

// What the findings say, word for word: a control by its id and, for a text the user reads on
// it, that text as shown.
TEST(DialogChecks, MessagesWordForWord) {
  const struct {
    std::string script;
    Messages messages;
  } rows[] = {
      {dialog("  PUSHBUTTON \"A\", 10, 120, 0, 10, 10\r\n"),
       {"Il controllo 10 \"A\" è fuori dall'area del dialog."}},
      {dialog("  PUSHBUTTON \"A\", 10, 60, 31, 40, 20\r\n"),
       {"Il controllo 10 \"A\" esce dall'area del dialog."}},
      {dialog("  GROUPBOX \"\", 1, 0, 0, 90, 40\r\n  GROUPBOX \"\", 2, 0, 0, 90, 40\r\n"),
       {"Il controllo 2 sta esattamente sopra 1."}},
      {dialog("  LTEXT \"\", 1, 5, 5, 31, 8\r\n  EDITTEXT 2, 35, 5, 30, 8\r\n"),
       {"Il controllo 2 si sovrappone a 1."}},
      {"#define IDC_A 7\r\n#define IDC_B (IDC_A)\r\n" +
           dialog("  EDITTEXT IDC_A, 0, 0, 10, 10\r\n  EDITTEXT IDC_B, 0, 20, 10, 10\r\n"),
       {"L'ID IDC_B (7) è già di IDC_A."}},
      {dialog("  PUSHBUTTON \"&Apri\", 1, 0, 0, 40, 10\r\n"
              "  PUSHBUTTON \"&apri\", 2, 0, 20, 40, 10\r\n"),
       {"Il tasto Alt+A di 2 \"apri\" è già di 1 \"Apri\"."}},
      {dialog("  LTEXT \"abcdefghijklmno\", 1, 0, 0, 40, 8, SS_LEFTNOWORDWRAP\r\n"),
       {"Il testo di 1 \"abcdefghijklmno\" non entra nel controllo (servono 75 pixel, ce ne sono "
        "70)."}},
      {dialog("  LTEXT \"abcdefghijklmno\", 1, 0, 0, 40, 8\r\n"),
       {"Il testo di 1 \"abcdefghijklmno\" non entra nel controllo (servono 26 pixel di altezza, "
        "ce ne sono 13)."}},
      {dialog("  CONTROL \"\", 1, \"Button\", BS_NOSUCH | IDX, 0, 0, 10, 10\r\n"),
       {"Stile sconosciuto: BS_NOSUCH.", "Simbolo non definito: IDX."}},
      {dialog("  CONTROL \"\", 1, \"Button\", WS_CHILD |, 0, 0, 10, 10\r\n"),
       {"Stile non valido."}},
  };
  for (const auto& row : rows) EXPECT_EQ(messagesOf(row.script), row.messages) << row.script;
}

TEST(DialogChecks, ControlsOutsideTheClientArea) {
  EXPECT_EQ(rulesOf(dialog("  PUSHBUTTON \"A\", 10, 60, 31, 40, 20\r\n")),
            Rules{"fuori-area:10"});  // one unit over the bottom edge
  EXPECT_EQ(rulesOf(dialog("  PUSHBUTTON \"A\", 10, 60, 31, 40, 20\r\n", "D", "100, 51")), Rules{});
  EXPECT_EQ(rulesOf(dialog("  PUSHBUTTON \"A\", 10, 120, 0, 10, 10\r\n")),
            Rules{"fuori-area:10"});  // wholly outside
  EXPECT_EQ(rulesOf(dialog("  PUSHBUTTON \"A\", 10, -1, 0, 10, 10\r\n")), Rules{"fuori-area:10"});
  // A hidden control is parked where the program wants it.
  EXPECT_EQ(rulesOf(dialog("  CONTROL \"A\", 10, \"Button\", NOT WS_VISIBLE, 120, 0, 10, 10\r\n")),
            Rules{});
}

TEST(DialogChecks, OverlapsButNotContainersNorNeighbours) {
  // Touching edges do not overlap; one unit more does. The pixels' rounding must not count.
  EXPECT_EQ(rulesOf(dialog("  LTEXT \"\", 1, 5, 5, 30, 8\r\n  EDITTEXT 2, 35, 5, 30, 8\r\n")),
            Rules{});
  EXPECT_EQ(rulesOf(dialog("  LTEXT \"\", 1, 5, 5, 31, 8\r\n  EDITTEXT 2, 35, 5, 30, 8\r\n")),
            Rules{"sovrapposti:2"});
  // A group box, an etched line, a tab control or an up-down control over others is by design.
  EXPECT_EQ(rulesOf(dialog("  GROUPBOX \"\", 1, 0, 0, 90, 40\r\n  EDITTEXT 2, 5, 10, 30, 8\r\n"
                           "  CONTROL \"\", 3, \"Static\", SS_ETCHEDHORZ, 0, 12, 90, 1\r\n"
                           "  CONTROL \"\", 4, \"msctls_updown32\", 0, 30, 10, 8, 8\r\n")),
            Rules{});
  // Two controls exactly on top of each other overlap, group boxes too.
  EXPECT_EQ(
      rulesOf(dialog("  GROUPBOX \"\", 1, 0, 0, 90, 40\r\n  GROUPBOX \"\", 2, 0, 0, 90, 40\r\n")),
      Rules{"sovrapposti:2"});
  // A drop-down combo box takes its closed box, not its list.
  EXPECT_EQ(rulesOf(dialog("  COMBOBOX 1, 5, 5, 60, 80, CBS_DROPDOWNLIST\r\n"
                           "  EDITTEXT 2, 5, 20, 30, 12\r\n",
                           "D", "100, 100")),
            Rules{});
}

TEST(DialogChecks, DuplicateIdsBySymbolValue) {
  EXPECT_EQ(
      rulesOf("#define IDC_A 7\r\n#define IDC_B (IDC_A)\r\n" +
              dialog("  EDITTEXT IDC_A, 0, 0, 10, 10\r\n  EDITTEXT IDC_B, 0, 20, 10, 10\r\n")),
      Rules{"id-doppio:IDC_B"});
  // -1 and IDC_STATIC are every static's; an undefined symbol is reported as such, once.
  EXPECT_EQ(rulesOf(dialog("  LTEXT \"\", -1, 0, 0, 10, 8\r\n  LTEXT \"\", IDC_STATIC, 0, 10, "
                           "10, 8\r\n  EDITTEXT IDC_X, 0, 20, 10, 8\r\n  EDITTEXT IDC_Y, 0, 30, "
                           "10, 8\r\n")),
            Rules{"simbolo-non-definito:"});
}

TEST(DialogChecks, DuplicateMnemonics) {
  EXPECT_EQ(rulesOf(dialog("  PUSHBUTTON \"&Apri\", 1, 0, 0, 40, 10\r\n"
                           "  PUSHBUTTON \"&apri\", 2, 0, 20, 40, 10\r\n")),
            Rules{"tasto-doppio:2"});
  // "&&" shows an ampersand; SS_NOPREFIX shows the text as it is; a static's key counts.
  EXPECT_EQ(rulesOf(dialog("  PUSHBUTTON \"&Apri\", 1, 0, 0, 40, 10\r\n"
                           "  PUSHBUTTON \"B&&A\", 2, 0, 12, 40, 10\r\n"
                           "  LTEXT \"&A\", 3, 0, 24, 40, 8, SS_NOPREFIX\r\n"
                           "  LTEXT \"&Bue\", 4, 0, 34, 40, 8\r\n  EDITTEXT 5, 45, 34, 40, 8\r\n")),
            Rules{});
  EXPECT_EQ(rulesOf(dialog("  PUSHBUTTON \"&Bene\", 1, 0, 0, 40, 10\r\n"
                           "  LTEXT \"&Bue\", 4, 0, 34, 40, 8\r\n  EDITTEXT 5, 45, 34, 40, 8\r\n")),
            Rules{"tasto-doppio:4"});
}

TEST(DialogChecks, TextsThatDoNotFit) {
  // 40 units are 70 pixels: 14 characters fit a static on one line, 15 do not.
  EXPECT_EQ(rulesOf(dialog("  LTEXT \"abcdefghijklmn\", 1, 0, 0, 40, 8, SS_LEFTNOWORDWRAP\r\n")),
            Rules{});
  EXPECT_EQ(rulesOf(dialog("  LTEXT \"abcdefghijklmno\", 1, 0, 0, 40, 8, SS_LEFTNOWORDWRAP\r\n")),
            Rules{"testo-tagliato:1"});
  // A wrapping static has the lines its height gives (8 units: 13 pixels, one line).
  EXPECT_EQ(rulesOf(dialog("  LTEXT \"abcdefghijklmno\", 1, 0, 0, 40, 16\r\n")), Rules{});
  EXPECT_EQ(rulesOf(dialog("  LTEXT \"abcdefghijklmno\", 1, 0, 0, 40, 8\r\n")),
            Rules{"testo-tagliato:1"});
  // The mark of a check box and the margins of a button take their room; the & is not shown.
  EXPECT_EQ(rulesOf(dialog("  AUTOCHECKBOX \"&abcdefghij\", 1, 0, 0, 40, 10\r\n")), Rules{});
  EXPECT_EQ(rulesOf(dialog("  AUTOCHECKBOX \"abcdefghijk\", 1, 0, 0, 40, 10\r\n")),
            Rules{"testo-tagliato:1"});
  // Owner-drawn buttons and ellipsis statics draw their text their own way.
  EXPECT_EQ(rulesOf(dialog("  CONTROL \"abcdefghijklmnopq\", 1, \"Button\", BS_OWNERDRAW, 0, 0, "
                           "40, 10\r\n  LTEXT \"abcdefghijklmnopq\", 2, 0, 20, 40, 8, "
                           "SS_ENDELLIPSIS\r\n")),
            Rules{});
}

TEST(DialogChecks, StylesOutsideTheVocabulary) {
  EXPECT_EQ(rulesOf(dialog("  CONTROL \"\", 1, \"Button\", BS_NOSUCH | IDX, 0, 0, 10, 10\r\n")),
            Rules({"stile-sconosciuto:", "simbolo-non-definito:"}));
  EXPECT_EQ(rulesOf(dialog("  CONTROL \"\", 1, \"Button\", BS_FLAT, 0, 0, 10, 10\r\n")), Rules{});
}

std::string translated(const std::string& language, const std::string& body) {
  return "LANGUAGE " + language + "\r\n" + dialog(body);
}

TEST(Translations, ComparedWithTheFirstLanguage) {
  const std::string first =
      translated("LANG_ENGLISH, SUBLANG_ENGLISH_US",
                 "  PUSHBUTTON \"Open\", 1, 0, 0, 40, 10\r\n  PUSHBUTTON \"Close\", 2, 0, 12, 40, "
                 "10\r\n  LTEXT \"x\", -1, 0, 24, 10, 8\r\n");
  // A control missing, one added, a text that fits only in the first language; the statics
  // with -1 are not compared.
  const std::string second = translated(
      "LANG_ITALIAN, SUBLANG_ITALIAN",
      "  PUSHBUTTON \"Apri questo documento\", 1, 0, 0, 40, 10\r\n  PUSHBUTTON \"Altro\", 3, 0, "
      "12, 40, 10\r\n");
  EXPECT_EQ(rulesOf(first + second),
            Rules({"manca-in-traduzione:2", "tagliato-in-traduzione:1", "in-piu-in-traduzione:3"}));
  EXPECT_EQ(messagesOf(first + second),
            Messages({"Manca il controllo 2 della prima lingua (en-US).",
                      "Il testo di 1 \"Apri questo documento\" entra nella prima lingua (en-US) ma "
                      "non in questa.",
                      "Il controllo 3 non c'è nella prima lingua (en-US)."}));
  // What the comparison window outlines: the translation's two controls, and the whole dialog
  // for the button it lacks; nothing on the first language.
  const FixedMeasure fixed;
  const std::vector<Finding> all = checkScript(first + second, {}, &fixed);
  const ResourceIndex index = indexResources(first + second);
  const DialogMarks marks = findingsByControl(all, index[1].offset);
  EXPECT_EQ(marks.controls, (std::vector<std::size_t>{0, 1}));
  EXPECT_TRUE(marks.wholeDialog);
  EXPECT_EQ(marks.findings.size(), 3u);
  EXPECT_TRUE(findingsByControl(all, index[0].offset).findings.empty());
  // Across files, the first file is the first language.
  const FixedMeasure measure;
  const auto found = checkScripts({{"en.rc", first}, {"it.rc", second}}, &measure);
  ASSERT_EQ(found.size(), 2u);
  EXPECT_TRUE(found[0].empty());
  EXPECT_EQ(found[1].size(), 3u);
}

TEST(Translations, EntriesOfOneDialog) {
  const ResourceIndex index = indexResources(
      translated("LANG_ENGLISH, SUBLANG_ENGLISH_US", "") + dialog("", "E") +
      translated("LANG_ITALIAN, SUBLANG_ITALIAN", "") + translated("LANG_GERMAN, 1", ""));
  ASSERT_EQ(index.size(), 4u);
  std::vector<std::string> languages;
  for (std::size_t entry : translationEntries(index, 0)) languages.push_back(index[entry].language);
  EXPECT_EQ(languages, (std::vector<std::string>{"en-US", "it", "de"}));
}

}  // namespace
}  // namespace kolvre
