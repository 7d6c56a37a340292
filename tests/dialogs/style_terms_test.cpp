#include "dialogs/style_terms.h"

#include <gtest/gtest.h>

#include "dialogs/styles.h"

namespace kolvre {
namespace {

std::optional<std::string> restyled(std::string_view field, std::uint32_t base, std::uint32_t style,
                                    std::uint32_t typeMask = 0) {
  return restyledField(field, base, style, typeMask, buttonStyleNames);
}

std::uint32_t v(std::string_view name) {
  return *compilerNameValue(name);
}

TEST(RestyledField, KeepsTheTermsThatHoldAndTheirSpelling) {
  const std::uint32_t was = v("WS_VISIBLE") | v("WS_POPUP") | v("WS_CAPTION") | v("WS_SYSMENU");
  // A removed term takes its separator; an added bit is named at the end.
  EXPECT_EQ(restyled("ws_visible|WS_POPUP | WS_CAPTION|WS_SYSMENU", 0, was & ~v("WS_SYSMENU")),
            "ws_visible|WS_POPUP | WS_CAPTION");
  EXPECT_EQ(restyled("WS_VISIBLE | WS_POPUP", 0, v("WS_VISIBLE") | v("WS_POPUP") | v("WS_TABSTOP")),
            "WS_VISIBLE | WS_POPUP | WS_TABSTOP");
  EXPECT_EQ(restyled("WS_VISIBLE | WS_POPUP", 0, v("WS_POPUP")), "WS_POPUP");
  EXPECT_EQ(restyled("WS_VISIBLE", 0, 0), "0");
  // Over lines: the line break stays where it stood.
  EXPECT_EQ(
      restyled("WS_CHILD |\r\n      WS_BORDER | WS_TABSTOP", 0, v("WS_CHILD") | v("WS_TABSTOP")),
      "WS_CHILD |\r\n      WS_TABSTOP");
}

TEST(RestyledField, AStyleWrittenAsANumberStaysANumber) {
  EXPECT_EQ(restyled("0x51234", 0, 0x51234 | 0x8), "0x5123C");
  EXPECT_EQ(restyled("0x00051234", 0, 0x41234), "0x00041234");
  EXPECT_EQ(restyled("332", 0, 333), "333");
  // Names and a number: the number takes the new bits.
  EXPECT_EQ(restyled("WS_CHILD | 0x4", 0, v("WS_CHILD") | 0x4 | 0x100), "WS_CHILD | 0x104");
}

TEST(RestyledField, AChangedKindIsNamedWholeInThePlaceOfTheOld) {
  const std::uint32_t base = v("WS_CHILD") | v("WS_VISIBLE");
  EXPECT_EQ(restyled("BS_CHECKBOX | WS_TABSTOP", base,
                     base | v("BS_AUTOCHECKBOX") | v("WS_TABSTOP"), kStyleTypeBits),
            "BS_AUTOCHECKBOX | WS_TABSTOP");
  EXPECT_EQ(restyled("BS_PUSHBUTTON | WS_TABSTOP", base,
                     base | v("BS_DEFPUSHBUTTON") | v("WS_TABSTOP"), kStyleTypeBits),
            "BS_DEFPUSHBUTTON | WS_TABSTOP");
  EXPECT_EQ(restyled("WS_TABSTOP | BS_DEFPUSHBUTTON", base, base | v("WS_TABSTOP"), kStyleTypeBits),
            "WS_TABSTOP | BS_PUSHBUTTON");
  // Without a kind term, the new kind is added.
  EXPECT_EQ(
      restyled("WS_TABSTOP", base, base | v("BS_AUTOCHECKBOX") | v("WS_TABSTOP"), kStyleTypeBits),
      "WS_TABSTOP | BS_AUTOCHECKBOX");
}

TEST(RestyledField, RefusesWhatItCannotSayInTheSameForm) {
  // A symbol, NOT, a bracket, and a bit of the statement's own the new style lacks.
  EXPECT_FALSE(restyled("IDS_STYLE | WS_CHILD", 0, v("WS_CHILD")));
  EXPECT_FALSE(restyled("NOT WS_TABSTOP", 0, 0));
  EXPECT_FALSE(restyled("(WS_CHILD)", 0, v("WS_CHILD")));
  EXPECT_FALSE(restyled("WS_BORDER", v("WS_TABSTOP"), v("WS_BORDER")));
  EXPECT_FALSE(restyled("", 0, 1));
}

}  // namespace
}  // namespace kolvre
