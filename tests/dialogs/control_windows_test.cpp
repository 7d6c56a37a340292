#include "dialogs/control_windows.h"

#include <gtest/gtest.h>

#include "dialogs/dialog_reader.h"

namespace kolvre {
namespace {

constexpr BaseUnits kShellDlg8{6, 13};

// The windows of a body read at kFixedBaseUnits, placed with the base units of MS Shell Dlg 8
// (only the rules' own pixels differ between the two).
std::vector<PixelRect> windowsOf(const std::string& body) {
  const DialogReading reading = readDialog("D DIALOG 0, 0, 200, 100\r\n{\r\n" + body + "}\r\n");
  EXPECT_EQ(reading.failure, DialogFailure::None);
  return controlWindowRects(reading.dialog.controls, kShellDlg8);
}

TEST(ControlWindows, CombosCloseToTheirFontsHeightUnlessTheyShowTheirList) {
  const auto w = windowsOf(
      " COMBOBOX 1, 0, 0, 50, 80, CBS_DROPDOWNLIST\r\n"
      " COMBOBOX 2, 0, 20, 50, 80, CBS_DROPDOWN\r\n"
      " COMBOBOX 3, 0, 40, 50, 80, CBS_SIMPLE\r\n"
      " CONTROL \"\", 4, \"ComboBox\", WS_CHILD, 0, 60, 50, 80\r\n");  // type 0: drops down
  EXPECT_EQ(w[0].height, 13 + 8);
  EXPECT_EQ(w[1].height, 13 + 8);
  EXPECT_EQ(w[2].height, duToPixelsY(80, kFixedBaseUnits));
  EXPECT_EQ(w[3].height, 13 + 8);
}

TEST(ControlWindows, EtchedLinesAreTwoPixelsThickAndTwoLonger) {
  const auto w = windowsOf(
      " CONTROL \"\", -1, \"Static\", SS_ETCHEDHORZ, 0, 0, 100, 5\r\n"
      " CONTROL \"\", -1, \"Static\", SS_ETCHEDVERT, 0, 0, 5, 40\r\n"
      " CONTROL \"\", -1, \"Static\", SS_ETCHEDFRAME, 0, 0, 20, 20\r\n");
  EXPECT_EQ(w[0].width, duToPixelsX(100, kFixedBaseUnits) + 2);
  EXPECT_EQ(w[0].height, 2);
  EXPECT_EQ(w[1].width, 2);
  EXPECT_EQ(w[1].height, duToPixelsY(40, kFixedBaseUnits) + 2);
  EXPECT_EQ(w[2], (PixelRect{0, 0, 35, 33}));  // a frame keeps its rectangle
}

TEST(ControlWindows, AlignedUpDownsStandOnTheirBuddysSide) {
  // 0x94: UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS; 0x18: UDS_ALIGNLEFT | UDS_AUTOBUDDY.
  const auto w = windowsOf(
      " EDITTEXT 1, 10, 10, 40, 12\r\n"
      " CONTROL \"\", 2, \"msctls_updown32\", 0x50000094, 50, 10, 10, 12\r\n"
      " EDITTEXT 3, 10, 30, 40, 12\r\n"
      " CONTROL \"\", 4, \"msctls_updown32\", 0x50000018, 0, 0, 10, 12\r\n"
      " LTEXT \"a\", 5, 10, 50, 40, 12\r\n"
      " CONTROL \"\", 6, \"msctls_updown32\", 0x50000014, 0, 0, 10, 12\r\n"
      " EDITTEXT 7, 10, 70, 40, 12\r\n"
      " CONTROL \"\", 8, \"msctls_updown32\", 0x50000004, 90, 70, 10, 12\r\n");
  const PixelRect edit = toPixels({10, 10, 40, 12}, kFixedBaseUnits);
  // Right: the edit narrowed by 16, the up-down over its right frame.
  EXPECT_EQ(w[0], (PixelRect{edit.x, edit.y, edit.width - 16, edit.height}));
  EXPECT_EQ(w[1], (PixelRect{edit.x + edit.width - 16 - 2, edit.y, 16, edit.height}));
  // Left: the edit moved right by 16, the up-down 18 wide at its old left.
  EXPECT_EQ(w[2].x, edit.x + 16);
  EXPECT_EQ(w[3].x, edit.x);
  EXPECT_EQ(w[3].width, 18);
  // A buddy that is no edit keeps its frame free; no UDS_AUTOBUDDY, no buddy.
  EXPECT_EQ(w[5].x, w[4].x + w[4].width);
  EXPECT_EQ(w[7], toPixels({90, 70, 10, 12}, kFixedBaseUnits));
  EXPECT_EQ(w[6], toPixels({10, 70, 40, 12}, kFixedBaseUnits));
}

TEST(ControlWindows, ListBoxesKeepWholeRowsOfTheSystemFont) {
  // 47 units (76 pixels) with a border: 2 pixels an edge and four rows of 16.
  const auto w = windowsOf(
      " CONTROL \"\", 1, \"ListBox\", WS_BORDER | WS_VSCROLL, 0, 0, 50, 47\r\n"
      " CONTROL \"\", 2, \"ListBox\", WS_BORDER | LBS_NOINTEGRALHEIGHT, 0, 0, 50, 47\r\n"
      " CONTROL \"\", 3, \"ListBox\", WS_VSCROLL, 0, 0, 50, 47\r\n"
      " CONTROL \"\", 4, \"ListBox\", WS_BORDER, 0, 0, 50, 9\r\n"
      " CONTROL \"\", 5, \"ListBox\", WS_BORDER | LBS_OWNERDRAWVARIABLE, 0, 0, 50, 47\r\n");
  EXPECT_EQ(w[0].height, 4 + 4 * 16);
  EXPECT_EQ(w[1].height, 76);
  EXPECT_EQ(w[2].height, 4 * 16);  // no border: 76 is four rows and 12 pixels
  EXPECT_EQ(w[3].height, duToPixelsY(9, kFixedBaseUnits));  // shorter than a row: as it is
  EXPECT_EQ(w[4].height, 76);
}

TEST(ControlWindows, ScrollBarsOfTheDialogTakeFromItsClientArea) {
  DialogReading reading = readDialog(
      "D DIALOG 0, 0, 200, 100\r\nSTYLE WS_POPUP | WS_VSCROLL | WS_HSCROLL\r\n{\r\n}\r\n");
  ASSERT_EQ(reading.failure, DialogFailure::None);
  EXPECT_EQ(dialogClientSize(reading.dialog), (PixelSize{350 - 17, 163 - 17}));
  reading = readDialog("D DIALOG 0, 0, 200, 100\r\n{\r\n}\r\n");
  EXPECT_EQ(dialogClientSize(reading.dialog), (PixelSize{350, 163}));
}

}  // namespace
}  // namespace kolvre
