#include "checks/dialog_checks.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "dialogs/dialog_looks.h"
#include "dialogs/dialog_reader.h"
#include "dialogs/styles.h"
#include "document/blocks.h"
#include "syntax/style_vocabulary.h"
#include "syntax/symbols.h"

namespace kolvre {

namespace {

constexpr std::uint32_t kVisible = styleNameValue("WS_VISIBLE");
constexpr std::uint32_t kStaticType = styleNameValue("SS_TYPEMASK");
constexpr std::uint32_t kNoPrefix = styleNameValue("SS_NOPREFIX");
constexpr std::uint32_t kCenterImage = styleNameValue("SS_CENTERIMAGE");
constexpr std::uint32_t kEllipsis = styleNameValue("SS_ELLIPSISMASK");
constexpr std::uint32_t kButtonType = 0xF;
constexpr std::uint32_t kMultiLine = styleNameValue("BS_MULTILINE");
constexpr std::uint32_t kButtonPicture = styleNameValue("BS_BITMAP") | styleNameValue("BS_ICON");
constexpr int kClosedComboUnits = 12;  // a drop-down combo box's closed height, in dialog units

// The static types that draw a text, and those of them that break it into lines.
constexpr std::uint32_t kTextStatics[] = {styleNameValue("SS_LEFT"), styleNameValue("SS_CENTER"),
                                          styleNameValue("SS_RIGHT"), styleNameValue("SS_SIMPLE"),
                                          styleNameValue("SS_LEFTNOWORDWRAP")};
constexpr std::uint32_t kFrameStatics[] = {
    styleNameValue("SS_BLACKRECT"),  styleNameValue("SS_GRAYRECT"),
    styleNameValue("SS_WHITERECT"),  styleNameValue("SS_BLACKFRAME"),
    styleNameValue("SS_GRAYFRAME"),  styleNameValue("SS_WHITEFRAME"),
    styleNameValue("SS_ETCHEDHORZ"), styleNameValue("SS_ETCHEDVERT"),
    styleNameValue("SS_ETCHEDFRAME")};
// The button types that draw their text beside a mark or in a box: not owner-drawn, user,
// split or command-link buttons.
constexpr std::uint32_t kTextButtons[] = {
    styleNameValue("BS_PUSHBUTTON"),      styleNameValue("BS_DEFPUSHBUTTON"),
    styleNameValue("BS_CHECKBOX"),        styleNameValue("BS_AUTOCHECKBOX"),
    styleNameValue("BS_RADIOBUTTON"),     styleNameValue("BS_3STATE"),
    styleNameValue("BS_AUTO3STATE"),      styleNameValue("BS_GROUPBOX"),
    styleNameValue("BS_AUTORADIOBUTTON"), styleNameValue("BS_PUSHBOX")};

template <std::size_t N>
bool among(std::uint32_t value, const std::uint32_t (&values)[N]) {
  return std::find(std::begin(values), std::end(values), value) != std::end(values);
}

std::uint32_t styleOf(const DialogControl& c) {
  return c.compiledStyle ? *c.compiledStyle : c.liveStyle.value_or(kDefaultControlStyle);
}

bool isStaticText(const DialogControl& c) {
  return c.live == ControlClass::StaticText && among(styleOf(c) & kStaticType, kTextStatics);
}

bool isTextButton(const DialogControl& c) {
  const std::uint32_t style = styleOf(c);
  switch (c.live) {
    case ControlClass::Button:
    case ControlClass::CheckBox:
    case ControlClass::RadioButton:
    case ControlClass::GroupBox:
      return among(style & kButtonType, kTextButtons) && (style & kButtonPicture) == 0;
    default:
      return false;
  }
}

// An up-down control stands on the edge of the edit box it belongs to.
bool isAttached(const DialogControl& c) {
  constexpr std::string_view upDown = "msctls_updown32";
  if (c.caption.size() != upDown.size()) return false;
  for (std::size_t i = 0; i < upDown.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(c.caption[i])) != upDown[i]) return false;
  return true;
}

// Controls that stand behind others by design: a group box, a frame or rectangle, an etched
// line, a tab control's pages.
bool overlapsByDesign(const DialogControl& c) {
  if (c.live == ControlClass::GroupBox || c.live == ControlClass::TabControl) return true;
  if (c.live == ControlClass::Placeholder) return isAttached(c);
  return c.live == ControlClass::StaticText && among(styleOf(c) & kStaticType, kFrameStatics);
}

// The text as shown and its & key: "&&" shows one "&", "&x" shows x and makes it the key.
struct ShownText {
  std::string text;
  std::string key;  // the key's character, ASCII letters in lower case; empty for none
};

ShownText withoutMnemonics(const std::string& shown, bool prefixes) {
  if (!prefixes) return {shown, {}};
  ShownText out;
  for (std::size_t i = 0; i < shown.size(); ++i) {
    if (shown[i] != '&' || i + 1 == shown.size()) {
      out.text += shown[i];
      continue;
    }
    ++i;
    if (shown[i] == '&') {
      out.text += '&';
      continue;
    }
    if (out.key.empty()) {
      // One character of UTF-8.
      std::size_t length = 1;
      while (i + length < shown.size() &&
             (static_cast<unsigned char>(shown[i + length]) & 0xC0) == 0x80)
        ++length;
      out.key = shown.substr(i, length);
      if (length == 1 && out.key[0] >= 'A' && out.key[0] <= 'Z') out.key[0] += 'a' - 'A';
    }
    out.text += shown[i];
  }
  return out;
}

ShownText shownTextOf(const DialogControl& c, const ScriptCharset& charset) {
  const bool prefixes = !(c.live == ControlClass::StaticText && (styleOf(c) & kNoPrefix));
  return withoutMnemonics(shownString(controlTextAsWritten(c), charset), prefixes);
}

}  // namespace

std::string namedControl(const DialogControl& c, const ScriptCharset& charset) {
  std::string name = controlIdText(c);
  if (isStaticText(c) || isTextButton(c)) {
    const std::string text = shownTextOf(c, charset).text;
    if (!text.empty()) name += " \"" + text + "\"";
  }
  return name;
}

namespace {

bool intersects(const DialogUnitRect& a, const DialogUnitRect& b) {
  return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

bool inside(const DialogUnitRect& inner, const DialogUnitRect& outer) {
  return inner.x >= outer.x && inner.y >= outer.y &&
         inner.x + inner.width <= outer.x + outer.width &&
         inner.y + inner.height <= outer.y + outer.height;
}

// A key as a keyboard shows it: a letter in capitals.
std::string keyLabel(std::string key) {
  if (key.size() == 1 && key[0] >= 'a' && key[0] <= 'z') key[0] -= 'a' - 'A';
  return key;
}

// A name of one of the vocabulary's families: its prefix through the first "_" is a prefix of
// the vocabulary's names (WS_, BS_, CBS_, ...).
bool isStyleFamilyName(std::string_view name) {
  const std::size_t underscore = name.find('_');
  if (underscore == std::string_view::npos || underscore == 0) return false;
  const std::string_view family = name.substr(0, underscore + 1);
  return std::any_of(kStyleVocabulary.begin(), kStyleVocabulary.end(),
                     [&](const VocabularyName& known) { return known.name.starts_with(family); });
}

// A text whose characters the script does not say: no code page is given, and its bytes read
// as UTF-8 characters of several bytes, which the default code page shows as two or three
// characters each. The author's build most likely reads them as UTF-8; measuring either way
// would be a guess.
bool uncertainCharacters(std::string_view asWritten, const ScriptCharset& charset) {
  if (charset.utf16File || charset.codePage != kDefaultCodePage) return false;
  bool multibyte = false;
  for (std::size_t i = 0; i < asWritten.size();) {
    const auto lead = static_cast<unsigned char>(asWritten[i]);
    const std::size_t length = lead < 0x80         ? 1
                               : (lead >> 5) == 6  ? 2
                               : (lead >> 4) == 14 ? 3
                               : (lead >> 3) == 30 ? 4
                                                   : 0;
    if (length == 0 || i + length > asWritten.size()) return false;
    for (std::size_t k = 1; k < length; ++k)
      if ((static_cast<unsigned char>(asWritten[i + k]) & 0xC0) != 0x80) return false;
    multibyte = multibyte || length > 1;
    i += length;
  }
  return multibyte;
}

bool startsWith(std::string_view text, std::string_view head) {
  return text.substr(0, head.size()) == head;
}

}  // namespace

std::string controlIdText(const DialogControl& control) {
  return control.idAsWritten ? control.idAsWritten->text : std::to_string(control.id);
}

DialogUnitRect occupiedRect(const DialogControl& control, BaseUnits base) {
  // The pixels give back the units they were made from.
  DialogUnitRect rect = toDialogUnits(control.rect, base);
  const std::uint32_t comboType = styleOf(control) & 3;
  if (control.live == ControlClass::ComboBox && comboType != 1)
    rect.height = std::min(rect.height, kClosedComboUnits);
  return rect;
}

DialogUnitRect clientRect(const DialogModel& dialog) {
  const DialogUnitRect units =
      dialog.header ? dialog.header->units
                    : dialogUnits(dialog.rect, dialog.baseUnits, dialog.styleAsRead, dialog.mode);
  return {0, 0, units.width, units.height};
}

bool isShown(const DialogControl& control) {
  return (styleOf(control) & kVisible) != 0;
}

std::optional<TextFit> measureText(const DialogControl& c, const DialogModel& dialog,
                                   const ScriptCharset& charset, const FontMeasure* measure) {
  if (!measure || !isShown(c)) return std::nullopt;
  const std::uint32_t style = styleOf(c);
  const bool text = isStaticText(c) || isTextButton(c);
  if (!text || (c.live == ControlClass::StaticText && (style & kEllipsis))) return std::nullopt;
  if (uncertainCharacters(controlTextAsWritten(c), charset)) return std::nullopt;
  std::string shown = shownTextOf(c, charset).text;
  if (shown.empty()) return std::nullopt;
  const int room = c.rect.width - measure->chromeWidth(c.live);
  const bool wraps = c.live == ControlClass::StaticText
                         ? (style & kStaticType) <= 2 && !(style & kCenterImage)
                         : (style & kMultiLine) != 0;
  if (wraps) {
    const TextSize size = measure->textSize(dialog, shown, std::max(room, 1));
    if (size.width > room) return TextFit{false, size.width, room, false};
    return TextFit{size.height <= c.rect.height, size.height, c.rect.height, true};
  }
  // A button draws its text on one line, its line breaks left out.
  if (c.live != ControlClass::StaticText)
    std::erase_if(shown, [](char ch) { return ch == '\r' || ch == '\n'; });
  const int width = measure->textSize(dialog, shown, 0).width;
  return TextFit{width <= room, width, room, false};
}

std::optional<bool> textFits(const DialogControl& c, const DialogModel& dialog,
                             const ScriptCharset& charset, const FontMeasure* measure) {
  const auto fit = measureText(c, dialog, charset, measure);
  return fit ? std::optional<bool>(fit->fits) : std::nullopt;
}

std::vector<DialogUnderCheck> readCheckedDialogs(const CheckContext& context) {
  std::vector<DialogUnderCheck> dialogs;
  for (std::size_t i = 0; i < context.index.size(); ++i) {
    if (context.index[i].type != ResourceType::Dialog) continue;
    const auto block = blockAt(context.statements, context.index[i].offset);
    if (!block) continue;
    DialogReading reading = readDialog(context.text.substr(block->begin), DialogMode::Preview,
                                       context.symbols, context.measure);
    if (reading.failure != DialogFailure::None) continue;
    std::vector<bool> unknownId;
    for (const DialogControl& c : reading.dialog.controls)
      unknownId.push_back(c.idAsWritten &&
                          !evaluate(c.idAsWritten->text, context.symbols).undefined.empty());
    dialogs.push_back({i, std::move(reading.dialog), std::move(reading.notices),
                       std::move(reading.undefinedSymbols),
                       scriptCharsetAt(context.text, block->begin, context.utf16File),
                       std::move(unknownId)});
  }
  return dialogs;
}

std::vector<Finding> checkDialog(const DialogUnderCheck& checked, const FontMeasure* measure,
                                 const Finding& frame) {
  const DialogModel& dialog = checked.dialog;
  const std::vector<DialogControl>& controls = dialog.controls;
  std::vector<Finding> found;
  auto add = [&](CheckRule rule, std::optional<std::size_t> at, std::string message) {
    Finding f = frame;
    f.rule = rule;
    if (at) {
      f.control = controlIdText(controls[*at]);
      f.controlIndex = at;
    }
    f.message = std::move(message);
    found.push_back(std::move(f));
  };
  auto name = [&](std::size_t at) { return namedControl(controls[at], checked.charset); };

  // What the reading could not take: style texts that do not read; names no definition gives,
  // those of a style family misspelt (BS_NOSUCH) as such, the others as undefined symbols.
  for (const std::string& notice : checked.notices)
    if (startsWith(notice, kInvalidStyleWord) || notice == kInvalidStyleNotice)
      add(CheckRule::UnknownStyle, std::nullopt, notice);
  std::vector<std::string> undefined;
  for (const std::string& symbol : checked.undefinedSymbols) {
    if (isStyleFamilyName(symbol))
      add(CheckRule::UnknownStyle, std::nullopt, "Stile sconosciuto: " + symbol + ".");
    else
      undefined.push_back(symbol);
  }
  if (!undefined.empty())
    add(CheckRule::UndefinedSymbol, std::nullopt, undefinedSymbolsNotice(undefined));

  const DialogUnitRect client = clientRect(dialog);
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (!isShown(controls[i])) continue;
    const DialogUnitRect rect = occupiedRect(controls[i], dialog.baseUnits);
    if (!intersects(rect, client) && rect.width > 0 && rect.height > 0)
      add(CheckRule::OutsideClient, i,
          "Il controllo " + name(i) + " è fuori dall'area del dialog.");
    else if (!inside(rect, client))
      add(CheckRule::OutsideClient, i, "Il controllo " + name(i) + " esce dall'area del dialog.");
  }

  for (std::size_t j = 0; j < controls.size(); ++j) {
    if (!isShown(controls[j])) continue;
    const DialogUnitRect b = occupiedRect(controls[j], dialog.baseUnits);
    for (std::size_t i = 0; i < j; ++i) {
      if (!isShown(controls[i])) continue;
      const DialogUnitRect a = occupiedRect(controls[i], dialog.baseUnits);
      if (a == b && a.width > 0 && a.height > 0) {
        add(CheckRule::Overlap, j,
            "Il controllo " + name(j) + " sta esattamente sopra " + name(i) + ".");
        break;
      }
      if (overlapsByDesign(controls[i]) || overlapsByDesign(controls[j]) || !intersects(a, b))
        continue;
      add(CheckRule::Overlap, j, "Il controllo " + name(j) + " si sovrappone a " + name(i) + ".");
      break;
    }
  }

  // IDs: -1 (IDC_STATIC) is every static's; an ID whose symbol is undefined reads as 0 and is
  // reported as such.
  std::map<std::uint16_t, std::size_t> firstWithId;
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const auto id = static_cast<std::uint16_t>(controls[i].id);
    if (id == 0xFFFF || checked.unknownId[i]) continue;
    const auto [first, isNew] = firstWithId.emplace(id, i);
    if (!isNew)
      add(CheckRule::DuplicateControlId, i,
          "L'ID " + controlIdText(controls[i]) + " (" + std::to_string(id) + ") è già di " +
              name(first->second) + ".");
  }

  // & keys: a static text's or group box's key moves the focus to the control after it.
  std::map<std::string, std::size_t> firstWithKey;
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (!isStaticText(controls[i]) && !isTextButton(controls[i])) continue;
    const std::string key = shownTextOf(controls[i], checked.charset).key;
    if (key.empty()) continue;
    const auto [first, isNew] = firstWithKey.emplace(key, i);
    if (!isNew)
      add(CheckRule::DuplicateMnemonic, i,
          "Il tasto Alt+" + keyLabel(key) + " di " + name(i) + " è già di " + name(first->second) +
              ".");
  }

  for (std::size_t i = 0; i < controls.size(); ++i) {
    const auto fit = measureText(controls[i], dialog, checked.charset, measure);
    if (fit && !fit->fits)
      add(CheckRule::TextDoesNotFit, i,
          "Il testo di " + name(i) + " non entra nel controllo (servono " +
              std::to_string(fit->needed) + " pixel" + (fit->height ? " di altezza" : "") +
              ", ce ne sono " + std::to_string(fit->available) + ").");
  }
  return found;
}

}  // namespace kolvre
