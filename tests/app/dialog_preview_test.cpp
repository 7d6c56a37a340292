// The preview drawn as the compiled dialog looks, compared as pictures: texts decoded from their
// escapes and the script's code page, the caption bar the compiled style gives, the statics
// drawn, the script's icons shown.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QImage>
#include <QPushButton>
#include <QStringDecoder>

#include "app/dialog_panel.h"
#include "app/live_controls.h"
#include "document/document.h"
#include "document/document_commands.h"
#include "document/templates.h"
#include "images/hex_data.h"
#include "support/main_window_fixture.h"
#include "support/temp_dir.h"
#include "syntax/encoding.h"

namespace kolvre {
namespace {

// A dialog with a caption and a static text, both `text` as written between the quotes.
std::string textDialog(const std::string& name, const std::string& text) {
  return name + " DIALOG 0, 0, 80, 30\r\nSTYLE WS_POPUP | WS_CAPTION\r\nCAPTION \"" + text +
         "\"\r\n{\r\n LTEXT \"" + text + "\", -1, 5, 5, 70, 10\r\n}\r\n\r\n";
}

class PreviewPictures : public ::testing::Test {
 protected:
  // The preview of dialog `name` of a script written as `bytes`, as a picture.
  QImage preview(const std::string& bytes, const std::string& name) {
    Document doc;
    loadDocument(doc, dir.write("s" + std::to_string(++files) + ".rc", bytes));
    std::string why;
    const auto picture = dialogSnapshot(doc, name, why);
    EXPECT_TRUE(picture) << why;
    return picture ? *picture : QImage();
  }
  testing::TempDir dir;
  int files = 0;
};

TEST_F(PreviewPictures, TheSameTextWrittenInEitherCodeOrCharactersLooksTheSame) {
  // "gi\xf9" in a Windows-1252 script, "giù" in a UTF-16 one.
  const QImage escaped = preview(textDialog("D", R"(Sposta gi\xf9)"), "D");
  const std::string utf16 = "\xFF\xFE" + utf8ToUtf16(textDialog("D", "Sposta giù"), false);
  EXPECT_EQ(preview(utf16, "D"), escaped);
  EXPECT_EQ(preview(textDialog("D", "Sposta gi\xf9"), "D"), escaped);
  EXPECT_NE(preview(textDialog("D", "Sposta giu"), "D"), escaped);
  // Octal and hexadecimal escapes of one byte; another byte looks different. (A quote is
  // written doubled here: how a reader takes "\"" is not what these pictures compare.)
  const std::string script = textDialog("OCT", R"(\251 ""a"")") +
                             textDialog("HEX", R"(\xa9 ""a"")") +
                             textDialog("OTHER", R"(\252 ""a"")");
  const QImage octal = preview(script, "OCT");
  EXPECT_EQ(preview(script, "HEX"), octal);
  EXPECT_NE(preview(script, "OTHER"), octal);
  // The code page a pragma sets: 0xC4 is Cyrillic Д in 1251, Ä in 1252.
  EXPECT_NE(preview("#pragma code_page(1251)\r\n" + textDialog("D", R"(\xc4)"), "D"),
            preview(textDialog("D", R"(\xc4)"), "D"));
}

TEST_F(PreviewPictures, ACaptionBarOnlyWhereTheCompiledStyleHasOne) {
  const std::string none = "NONE DIALOG 0, 0, 80, 30\r\n{\r\n}\r\n";
  const std::string plain = "PLAIN DIALOG 0, 0, 80, 30\r\nSTYLE WS_POPUP | WS_BORDER\r\n{\r\n}\r\n";
  const std::string titled =
      "TITLED DIALOG 0, 0, 80, 30\r\nSTYLE WS_POPUP | WS_BORDER\r\nCAPTION \"T\"\r\n{\r\n}\r\n";
  const std::string styled =
      "STYLED DIALOG 0, 0, 80, 30\r\nSTYLE WS_POPUP | WS_CAPTION\r\n{\r\n}\r\n";
  const std::string all = none + "\r\n" + plain + "\r\n" + titled + "\r\n" + styled;
  // 80 by 30 units in the system font (no FONT statement: base units 8 x 16): 160 by 60 pixels
  // of client area, a frame of 4 pixels a side.
  const QSize bare(160 + 8, 60 + 8), captioned(160 + 8, 60 + 8 + 22);
  const QColor bar = QApplication::palette().color(QPalette::Active, QPalette::Highlight);
  for (const char* name : {"NONE", "PLAIN"}) {
    const QImage picture = preview(all, name);
    EXPECT_EQ(picture.size(), bare) << name;
    EXPECT_NE(picture.pixelColor(70, 10), bar) << name;
  }
  for (const char* name : {"TITLED", "STYLED"}) {
    const QImage picture = preview(all, name);
    EXPECT_EQ(picture.size(), captioned) << name;
    EXPECT_EQ(picture.pixelColor(70, 10), bar) << name;
  }
}

TEST_F(PreviewPictures, IconsTheScriptHoldsAndDrawnStatics) {
  const std::string script = "APP ICON\r\n{\r\n" + formatHexDataLines(templateIcon()) +
                             "\r\n}\r\n\r\nD DIALOG 0, 0, 100, 60\r\nSTYLE WS_POPUP\r\n{\r\n"
                             " ICON \"APP\", -1, 0, 0\r\n"
                             " CONTROL \"app\", -1, \"Static\", SS_ICON, 40, 0, 20, 20\r\n"
                             " ICON \"NONE\", -1, 0, 30\r\n"
                             " CONTROL \"Static\", -1, \"Static\", SS_ETCHEDHORZ, 40, 30, 50, 1\r\n"
                             " CONTROL \"Static\", -1, \"Static\", SS_BLACKRECT, 40, 40, 10, 10\r\n"
                             "}\r\n";
  const QImage picture = preview(script, "D");
  // The system font's units (no FONT statement): 2 pixels across and down a unit.
  const QPoint client(4, 4);
  EXPECT_EQ(picture.pixelColor(client + QPoint(16, 16)), QColor(Qt::green));
  EXPECT_EQ(picture.pixelColor(client + QPoint(80 + 16, 16)), QColor(Qt::green));
  EXPECT_EQ(picture.pixelColor(client + QPoint(2, 60 + 2)), QColor(192, 192, 192));
  // The etched line, 2 pixels thick as Windows makes it: dark over light along its top, and no
  // text below it.
  auto colour = [](QPalette::ColorRole role) { return QApplication::palette().color(role).rgb(); };
  EXPECT_EQ(picture.pixel(client + QPoint(90, 60)), colour(QPalette::Dark));
  EXPECT_EQ(picture.pixel(client + QPoint(90, 61)), colour(QPalette::Light));
  EXPECT_EQ(picture.pixel(client + QPoint(90, 64)), colour(QPalette::Window));
  EXPECT_EQ(picture.pixel(client + QPoint(90, 90)), colour(QPalette::WindowText));
}

TEST(PreviewTexts, CodePagesWithoutATableOfTheProgramsGoThroughQt) {
  if (!QStringDecoder("windows-1253").isValid()) GTEST_SKIP() << "Qt without ICU";
  EXPECT_EQ(shownText(R"(\xc4 \xe0)", {1253, false}), "Δ ΰ");
  EXPECT_EQ(shownText(R"(\x82\xa0)", {932, false}), "あ");
  // A code page no converter knows reads as Windows-1252.
  EXPECT_EQ(shownText(R"(\xc4)", {99999, false}), "Ä");
}

using PreviewPanel = testing::MainWindowFixture<>;

TEST_F(PreviewPanel, ControlsTakeTheLooksOfTheirStyles) {
  showMainWindow("d.rc",
                 "DLG DIALOG 0, 0, 120, 80\r\n{\r\n"
                 " COMBOBOX 1, 5, 5, 60, 0, CBS_DROPDOWNLIST\r\n"
                 " PUSHBUTTON \"una riga molto lunga\", 2, 5, 30, 40, 24, BS_MULTILINE\r\n"
                 " PUSHBUTTON \"una riga\\nsola\", 3, 60, 30, 40, 24\r\n}");
  ASSERT_TRUE(window->panel());
  const auto combos = window->panel()->findChildren<QComboBox*>();
  ASSERT_EQ(combos.size(), 1);
  // A closed drop-down list, whatever its designed height: the font's height (16, the system
  // font's) and 8.
  EXPECT_EQ(combos[0]->height(), 16 + 8);
  const auto buttons = window->panel()->findChildren<QPushButton*>();
  ASSERT_EQ(buttons.size(), 2);
  EXPECT_TRUE(buttons[0]->text().contains(u'\n')) << buttons[0]->text().toStdString();
  EXPECT_EQ(buttons[0]->text().replace(u'\n', u' '), "una riga molto lunga");
  EXPECT_EQ(buttons[1]->text(), "una rigasola");
  // No FONT statement: Windows' system font, 16 pixels high.
  const QFontInfo font(buttons[0]->font());
  EXPECT_EQ(font.family(), "System");
  EXPECT_EQ(font.pixelSize(), 16);
}

}  // namespace
}  // namespace kolvre
