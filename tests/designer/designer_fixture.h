// A designer over a dialog model, with a scripted user interface and a host that records what
// the designer asks of its window.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "designer/designer.h"
#include "dialogs/dialog_reader.h"
#include "dialogs/dialog_writer.h"
#include "support/scripted_ui.h"

namespace kolvre::testing {

class RecordingHost : public DesignerHost {
 public:
  int stores = 0;
  int closes = 0;
  std::string status;   // the default text
  std::string message;  // the current message
  std::vector<ControlProperties> shownForms;
  // The user's answer to the properties form: the values confirmed, or nothing (cancel).
  std::function<std::optional<ControlProperties>(ControlProperties)> answer;

  void store(const DialogModel&) override { ++stores; }
  void close() override { ++closes; }
  void setStatus(std::string_view text, bool alsoMessage) override {
    status = text;
    if (alsoMessage) message = text;
  }
  std::optional<ControlProperties> editProperties(const ControlProperties& shown) override {
    shownForms.push_back(shown);
    if (!answer) return std::nullopt;
    return answer(shown);
  }
};

// Every character 6 pixels wide.
inline int fixedWidth(std::string_view text) {
  return 6 * static_cast<int>(text.size());
}

struct TestDesigner {
  DialogModel model;
  ScriptedUi ui;
  RecordingHost host;
  Designer designer;

  // A dialog of 200 x 100 dialog units holding `body` (CONTROL lines joined by CR LF).
  // `charset`: the code page in force where the dialog stands.
  explicit TestDesigner(std::string_view body, const ScriptCharset& charset = {})
      : model(read(body)), designer(model, ui, host, fixedWidth, charset) {}

  static DialogModel read(std::string_view body) {
    std::string block =
        "DLG DIALOG 0, 0, 200, 100\r\n"
        "STYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU\r\n"
        "FONT 8, \"MS Sans Serif\"\r\n"
        "{\r\n";
    block += body;
    if (!body.empty()) block += "\r\n";
    block += "}";
    const DialogReading reading = readDialog(block);
    EXPECT_EQ(reading.failure, DialogFailure::None);
    return reading.dialog;
  }

  DialogControl& at(std::size_t i) { return model.controls.at(i); }
  std::string text() const { return dialogBlock(model, "DLG"); }

  // A press, moves and a release on control `i`, points in the client area.
  void dragControl(std::size_t i, PixelPoint from, std::initializer_list<PixelPoint> moves) {
    designer.pressControl(i, from);
    for (PixelPoint p : moves) designer.mouseMove(p);
    designer.mouseRelease();
  }
  void band(PixelPoint from, PixelPoint to) {
    designer.pressBackground(from);
    designer.mouseMove(to);
    designer.mouseRelease();
  }
  DesignerCommands& commands() { return designer.commands(); }
};

// A control line at x, y, cx, cy dialog units.
inline std::string controlLine(std::string_view caption, int id, std::string_view cls,
                               std::string_view style, int x, int y, int cx, int cy) {
  return " CONTROL \"" + std::string(caption) + "\", " + std::to_string(id) + ", \"" +
         std::string(cls) + "\", " + std::string(style) + ", " + std::to_string(x) + ", " +
         std::to_string(y) + ", " + std::to_string(cx) + ", " + std::to_string(cy);
}

inline std::string lines(std::initializer_list<std::string> parts) {
  std::string out;
  for (const std::string& p : parts) {
    if (!out.empty()) out += "\r\n";
    out += p;
  }
  return out;
}

inline constexpr std::string_view kButtonStyle = "BS_PUSHBUTTON | WS_CHILD | WS_VISIBLE";
inline constexpr std::string_view kEditStyle = "ES_AUTOHSCROLL | WS_CHILD | WS_VISIBLE";
inline constexpr std::string_view kGroupStyle = "BS_GROUPBOX | WS_CHILD | WS_VISIBLE";
inline constexpr std::string_view kStaticStyle = "SS_LEFT | WS_CHILD | WS_VISIBLE";
inline constexpr std::string_view kComboStyle = "CBS_DROPDOWNLIST | WS_CHILD | WS_VISIBLE";

inline constexpr KeyModifiers kShift{true, false};
inline constexpr KeyModifiers kCtrl{false, true};

inline int key(DesignerKey k) {
  return vk(k);
}

// A push button "OK" at x, y dialog units, 40 x 14.
inline std::string button(int id, int x, int y) {
  return controlLine("OK", id, "BUTTON", kButtonStyle, x, y, 40, 14);
}

inline bool handlesShown(const Designer& designer) {
  for (const Handle& h : designer.handles())
    if (!h.shown) return false;
  return true;
}
inline bool handlesHidden(const Designer& designer) {
  for (const Handle& h : designer.handles())
    if (h.shown) return false;
  return true;
}

// A group box around a button: the group at (20, 20) 200 x 200 (right and bottom 220), the
// button at (60, 60) 70 x 25.
struct GroupDialog : TestDesigner {
  GroupDialog()
      : TestDesigner(lines(
            {controlLine("Gruppo", -1, "BUTTON", kGroupStyle, 0, 0, 10, 10), button(101, 0, 0)})) {
    at(0).rect = {20, 20, 200, 200};  // top 20, left 20, bottom 220, right 220
    at(1).rect = {60, 60, 70, 25};
  }
};

}  // namespace kolvre::testing
