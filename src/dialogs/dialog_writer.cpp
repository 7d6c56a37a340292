#include "dialogs/dialog_writer.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <optional>
#include <vector>

#include "base/text.h"
#include "dialogs/dialog_reader.h"
#include "dialogs/style_terms.h"
#include "dialogs/styles.h"
#include "document/resource_edits.h"
#include "syntax/vocabulary.h"

namespace kolvre {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::uint32_t kComboTypeBits = 3;

// The window flags of a control, without the separator after the last one.
std::string windowFlags(std::uint32_t style) {
  std::string text = windowStyleNames(style);
  text.resize(text.size() < 3 ? 0 : text.size() - 3);
  return text;
}

std::string familyNames(StyleWriter writer, std::uint32_t style) {
  switch (writer) {
    case StyleWriter::Button:
      return buttonStyleNames(style);
    case StyleWriter::ComboBox:
      return comboBoxStyleNames(style);
    case StyleWriter::Edit:
      return editStyleNames(style);
    case StyleWriter::ListBox:
      return listBoxStyleNames(style);
    case StyleWriter::ScrollBar:
      return scrollBarStyleNames(style);
    case StyleWriter::Static:
      return staticStyleNames(style);
    case StyleWriter::TreeView:
      return treeViewStyleNames(style);
    case StyleWriter::WindowFlags:
      return windowFlags(style);
  }
  return {};
}

// The bits of a family's exclusive kinds: a button's or a static's type, a combo box's kind.
std::uint32_t typeBits(StyleWriter writer) {
  switch (writer) {
    case StyleWriter::Button:
    case StyleWriter::Static:
      return kStyleTypeBits;
    case StyleWriter::ComboBox:
      return kComboTypeBits;
    default:
      return 0;
  }
}

// The names, then the bits they leave uncovered as one hexadecimal term.
std::string withUnnamedBits(std::string names, std::uint32_t style) {
  const std::uint32_t unnamed = style & ~parseStyle(names).value_or(0);
  if (unnamed != 0) {
    char term[16];
    std::snprintf(term, sizeof term, "0x%08X", static_cast<unsigned>(unnamed));
    if (!names.empty()) names += " | ";
    names += term;
  }
  if (names.empty()) names.push_back('0');
  return names;
}

template <typename T>
bool keeps(const std::optional<KeptText<T>>& kept, const T& value) {
  return kept && kept->value == value;
}

std::string number(int value, const std::optional<KeptText<int>>& kept) {
  return keeps(kept, value) ? kept->text : std::to_string(value);
}

// ", x, y, cx, cy" with the kept texts of those that still hold the value read.
std::string coordinates(const DialogUnitRect& units, const KeptCoordinates& kept) {
  const int values[] = {units.x, units.y, units.width, units.height};
  std::string out;
  for (std::size_t i = 0; i < 4; ++i) {
    out += i == 0 ? "" : ", ";
    out += number(values[i], kept[i]);
  }
  return out;
}

bool isBlank(std::string_view text) {
  for (char c : text)
    if (!isSpace(c)) return false;
  return true;
}

// The parts of one line, then its line end.
void appendLine(std::string& out, std::initializer_list<std::string_view> parts) {
  for (std::string_view part : parts) out += part;
  out += kLineEnd;
}

// Replacements in a text, each a span and what takes its place.
struct Change {
  FieldSpan span;
  std::string text;
};

std::string withChanges(std::string text, std::vector<Change> changes) {
  std::sort(changes.begin(), changes.end(),
            [](const Change& a, const Change& b) { return a.span.begin > b.span.begin; });
  for (const Change& change : changes)
    text.replace(change.span.begin, change.span.end - change.span.begin, change.text);
  return text;
}

// The terms of a style field that make `style` from `base`: the names (and one hexadecimal term)
// of the bits `base` lacks, then NOT and a name for each group of bits it has and the style
// lacks. Names of no bits (SS_LEFT, ES_LEFT, ...) are left out.
std::string styleFromBase(StyleWriter writer, std::uint32_t base, std::uint32_t style) {
  const auto terms = [&](std::uint32_t bits) {
    std::vector<std::string> out;
    if (bits == 0) return out;
    const std::string text = withUnnamedBits(familyNames(writer, bits), bits);
    for (std::size_t at = 0; at <= text.size();) {
      const std::size_t end = std::min(text.find(" | ", at), text.size());
      std::string term = text.substr(at, end - at);
      if (parseStyle(term).value_or(0) != 0) out.push_back(std::move(term));
      at = end + 3;
    }
    return out;
  };
  std::string out;
  for (const std::string& term : terms(style & ~base)) out += (out.empty() ? "" : " | ") + term;
  for (const std::string& term : terms(base & ~style))
    out += (out.empty() ? "NOT " : " | NOT ") + term;
  return out.empty() ? "0" : out;
}

// A list box's widget is given LBS_NOINTEGRALHEIGHT where it is read: a list box whose text
// (`asRead`) did not have it is written without it.
std::uint32_t withoutReadersBits(const DialogControl& control, std::uint32_t style,
                                 std::uint32_t asRead) {
  constexpr std::uint32_t kNoIntegralHeight = styleNameValue("LBS_NOINTEGRALHEIGHT");
  if (control.live == ControlClass::ListBox && (asRead & kNoIntegralHeight) == 0)
    style &= ~kNoIntegralHeight;
  return style;
}

// The style a control of a kept statement compiles to now: its live style without the class
// table's adjustments. A CONTROL statement of a class of the table holds its style as written,
// to which the compiler adds WS_CHILD and WS_VISIBLE.
std::uint32_t compiledNow(const DialogControl& control) {
  std::uint32_t style = *control.liveStyle;
  if (control.statement->statement == kShortStatements.size() &&
      control.live != ControlClass::Placeholder)
    style |= kControlBaseStyle;
  if (control.dropDown && (style & kComboTypeBits) != 0) style -= 1;
  return withoutReadersBits(control, style, control.compiledStyle.value_or(0));
}

// The control's x, y, cx, cy in dialog units, as the writer puts them down.
DialogUnitRect controlUnits(const DialogControl& control, BaseUnits base) {
  DialogUnitRect units = toDialogUnits(control.rect, base);
  if (control.live == ControlClass::ComboBox) units.height = control.comboHeight;
  return units;
}

DialogUnitRect keptUnits(const KeptStatement& kept, ControlClass live, BaseUnits base) {
  DialogUnitRect units = toDialogUnits(kept.rect, base);
  if (live == ControlClass::ComboBox) units.height = kept.comboHeight;
  return units;
}

// The user gave the control another text (a placeholder's caption is only its label).
bool captionChanged(const DialogControl& control) {
  return control.live != ControlClass::Placeholder && control.caption != control.statement->caption;
}

// A short statement whose new style it cannot say, as a CONTROL statement of the same meaning.
std::string asControlStatement(const DialogControl& control, std::uint32_t style, BaseUnits base) {
  const KeptStatement& kept = *control.statement;
  const ShortStatement& row = kShortStatements[kept.statement];
  const std::string_view written =
      kept.textField ? std::string_view(kept.text).substr(
                           kept.textField->begin, kept.textField->end - kept.textField->begin)
                     : std::string_view("\"\"");
  std::string line = " CONTROL ";
  if (captionChanged(control))
    line += "\"" + doubledQuotes(control.caption) + "\"";
  else
    line += written;
  line += ", ";
  line += number(control.id, control.idAsWritten);
  line += ", \"";
  line += row.scriptClass;
  line += "\", ";
  const StyleWriter writer = liveClass(control.live).style;
  line += styleText(writer, style);
  if ((style & kControlBaseStyle) != kControlBaseStyle)
    line += " | " + styleFromBase(writer, kControlBaseStyle, style & kControlBaseStyle);
  line += ", ";
  DialogUnitRect units = controlUnits(control, base);
  if (row.keyword == "ICON") units.width = units.height = 0;  // the icon's own size
  line += coordinates(units, control.coordinates);
  line += control.tail;
  return line;
}

// A control the designer made as the short statement of its class and kind, when one says its
// style: KEYWORD ["text",] id, x, y, cx, cy[, the terms beyond what the statement implies].
// Nothing when none can (a style that lacks a bit the statement implies, a text EDITTEXT has no
// place for, a class without one).
std::optional<std::string> asShortStatement(const DialogControl& control, BaseUnits fontUnits) {
  if (!control.liveStyle) return std::nullopt;
  const LiveClassInfo& info = liveClass(control.live);
  std::uint32_t compiled = *control.liveStyle | kControlBaseStyle;
  if (control.dropDown && (compiled & kComboTypeBits) != 0) compiled -= 1;
  const std::string scriptClass = upperAscii(info.classWritten);
  for (const ShortStatement& row : kShortStatements) {
    if (row.scriptClass != scriptClass || row.keyword == "ICON") continue;
    const std::uint32_t base = kControlBaseStyle | row.impliedStyle;
    if ((compiled & row.kindMask) != (row.impliedStyle & row.kindMask) || (base & ~compiled) != 0)
      continue;
    if (compiled == base && row.defaultStyle != 0) continue;  // it would gain its default style
    if (!row.hasText && !control.caption.empty()) continue;
    std::string line(row.keyword);
    line += ' ';
    if (row.hasText) line += "\"" + doubledQuotes(control.caption) + "\", ";
    line += number(control.id, control.idAsWritten) + ", ";
    line += coordinates(controlUnits(control, fontUnits), control.coordinates);
    if (compiled != base) line += ", " + styleFromBase(info.style, base, compiled);
    return line;
  }
  return std::nullopt;
}

// A kept statement with the fields the user changed rewritten in place.
std::string keptStatementText(const DialogControl& control, BaseUnits fontUnits) {
  const KeptStatement& kept = *control.statement;
  const bool shortForm = kept.statement < kShortStatements.size();
  const bool icon = shortForm && kShortStatements[kept.statement].keyword == "ICON";
  const LiveClassInfo& info = liveClass(control.live);
  std::vector<Change> changes;

  // A text for a statement without a text field (an edit's initial text) needs CONTROL.
  if (captionChanged(control) && !kept.textField)
    return asControlStatement(
        control, control.liveStyle ? compiledNow(control) : control.compiledStyle.value_or(0),
        fontUnits);
  if ((control.liveStyle != kept.liveStyle || control.dropDown != kept.dropDown) &&
      control.liveStyle) {
    const std::uint32_t style = compiledNow(control);
    std::uint32_t base = kControlBaseStyle;
    if (shortForm) {
      const ShortStatement& row = kShortStatements[kept.statement];
      if ((style & row.kindMask) != (row.impliedStyle & row.kindMask))
        return asControlStatement(control, style, fontUnits);
      base |= row.impliedStyle;
    }
    // The style given keeps its terms and its form (restyledField); where it cannot, it keeps
    // its text followed by what changed; a style the compiler could not be followed through is
    // written afresh.
    std::string text;
    const std::string_view given = kept.style
                                       ? std::string_view(kept.text).substr(
                                             kept.style->begin, kept.style->end - kept.style->begin)
                                       : std::string_view();
    const auto naming = [&](std::uint32_t bits) { return familyNames(info.style, bits); };
    std::optional<std::string> restyled;
    if (!given.empty()) restyled = restyledField(given, base, style, typeBits(info.style), naming);
    if (restyled)
      text = std::move(*restyled);
    else if (!given.empty() && control.compiledStyle)
      text = std::string(given) + " | " + styleFromBase(info.style, *control.compiledStyle, style);
    else
      text = styleFromBase(info.style, base, style);
    if (kept.style) {
      changes.push_back({*kept.style, std::move(text)});
    } else {
      // A statement that gave no style gets one after its last coordinate.
      const FieldSpan last = kept.coordinates[3] ? *kept.coordinates[3] : *kept.coordinates[1];
      changes.push_back(
          {{last.end, last.end}, (icon && !kept.coordinates[3] ? ", 0, 0, " : ", ") + text});
    }
  }
  if (captionChanged(control))
    changes.push_back({*kept.textField, "\"" + doubledQuotes(control.caption) + "\""});
  if (control.id != kept.id) changes.push_back({kept.idField, std::to_string(control.id)});
  const DialogUnitRect now = controlUnits(control, fontUnits);
  const DialogUnitRect before = keptUnits(kept, control.live, fontUnits);
  const int nowValues[] = {now.x, now.y, now.width, now.height};
  const int beforeValues[] = {before.x, before.y, before.width, before.height};
  for (std::size_t i = 0; i < (icon ? 2u : 4u); ++i)
    if (nowValues[i] != beforeValues[i] && kept.coordinates[i])
      changes.push_back({*kept.coordinates[i], std::to_string(nowValues[i])});

  return withChanges(kept.text, std::move(changes));
}

// The header statement: as written, with a changed number or name rewritten in place; written
// afresh for a dialog that was not read from a block.
std::string headerText(const DialogModel& dialog, std::string_view name) {
  const DialogUnitRect units =
      dialogUnits(dialog.rect, dialog.baseUnits, dialog.styleAsRead, dialog.mode);
  if (dialog.header) {
    const KeptHeader& kept = *dialog.header;
    const int now[] = {units.x, units.y, units.width, units.height};
    const int before[] = {kept.units.x, kept.units.y, kept.units.width, kept.units.height};
    std::vector<Change> changes;
    for (std::size_t i = 0; i < 4; ++i)
      if (now[i] != before[i]) changes.push_back({kept.coordinates[i], std::to_string(now[i])});
    if (name != kept.nameAsRead) changes.push_back({kept.name, std::string(name)});
    return withChanges(kept.text, std::move(changes));
  }
  std::string out(name);
  out += ' ';
  out += dialog.keyword;
  for (const std::string& option : dialog.memoryOptions) {
    out += ' ';
    out += option;
  }
  out += ' ';
  out += coordinates(units, dialog.coordinates);
  out += dialog.headerTail;
  return out;
}

// The STYLE statement: as written while the style is unchanged; a changed style keeps the
// terms that still hold and the form of the expression ("" for a block that had none and
// still holds its style).
std::string styleStatement(const DialogModel& dialog) {
  if (keeps(dialog.style, dialog.styleAsRead)) return dialog.style->text;
  if (dialog.style && !dialog.style->text.empty()) {
    const std::string& text = dialog.style->text;
    const FieldSpan span = dialog.styleSpans.value;
    const auto field =
        restyledField(std::string_view(text).substr(span.begin, span.end - span.begin), 0,
                      dialog.styleAsRead, 0, dialogStyleNames);
    if (field) return withChanges(text, {{span, *field}});
    return text.substr(0, dialog.styleSpans.keyword) + "STYLE " +
           dialogStyleText(dialog.styleAsRead);
  }
  return "STYLE " + dialogStyleText(dialog.styleAsRead);
}

// The CAPTION statement: as written while the title is the one read, its quoted text replaced
// by a new title, none for a blank title.
std::string captionStatement(const DialogModel& dialog) {
  const auto& kept = dialog.captionAsWritten;
  if (keeps(kept, dialog.title)) return kept->text;
  if (isBlank(dialog.title)) return {};
  if (kept)
    return withChanges(kept->text, {{dialog.captionSpans.value, "\"" + dialog.title + "\""}});
  return "CAPTION \"" + dialog.title + "\"";
}

// The FONT statement: as written, with a changed size or face rewritten in place.
std::string fontStatement(const DialogModel& dialog) {
  if (!dialog.fontStatement && dialog.fontSize == 0 && dialog.faceName.empty()) return {};
  if (dialog.fontAsWritten) {
    const KeptFont& kept = *dialog.fontAsWritten;
    std::vector<Change> changes;
    if (dialog.fontSize != kept.sizeRead)
      changes.push_back({kept.size, std::to_string(dialog.fontSize)});
    if (dialog.faceName != kept.faceRead) {
      if (kept.face)
        changes.push_back({*kept.face, "\"" + dialog.faceName + "\""});
      else
        changes.push_back({{kept.size.end, kept.size.end}, ", \"" + dialog.faceName + "\""});
    }
    return withChanges(kept.text, std::move(changes));
  }
  const bool keptFace = keeps(dialog.face, dialog.faceName);
  return "FONT " + number(dialog.fontSize, dialog.fontSizeAsWritten) + ", " +
         (keptFace ? dialog.face->text : "\"" + dialog.faceName + "\"") + dialog.fontTail;
}

// A block read compactly, written again: `spread` is the block `written` as the reader spread
// it (a line break put before each part that did not begin its line), `out` the writer's lines
// for the dialog now. The lines the writer left as they were keep what joined them as written;
// where lines were changed one for one, so do they; lines added or taken away stand on lines
// of their own.
std::string compactedAgain(std::string_view written, std::string_view spread,
                           std::string_view out) {
  if (out == spread) return std::string(written);
  // The spread lines, and whether each break between two of them was written (else put in).
  std::vector<std::string_view> before;
  std::vector<bool> writtenBreak;
  std::size_t i = 0, lineBegin = 0;
  for (std::size_t j = 0; j < spread.size();) {
    if (spread.substr(j, kLineEnd.size()) == kLineEnd) {
      const bool wasWritten = written.substr(i, kLineEnd.size()) == kLineEnd;
      before.push_back(spread.substr(lineBegin, j - lineBegin));
      writtenBreak.push_back(wasWritten);
      j += kLineEnd.size();
      lineBegin = j;
      if (wasWritten) i += kLineEnd.size();
      continue;
    }
    if (i >= written.size() || written[i] != spread[j]) return std::string(out);  // not spread
    ++i;
    ++j;
  }
  before.push_back(spread.substr(lineBegin));
  std::vector<std::string_view> after;
  for (std::size_t from = 0;;) {
    const std::size_t end = out.find(kLineEnd, from);
    after.push_back(out.substr(from, end == std::string_view::npos ? end : end - from));
    if (end == std::string_view::npos) break;
    from = end + kLineEnd.size();
  }
  const std::size_t n = before.size(), m = after.size();
  std::size_t prefix = 0, suffix = 0;
  while (prefix < std::min(n, m) && before[prefix] == after[prefix]) ++prefix;
  while (suffix < std::min(n, m) - prefix && before[n - 1 - suffix] == after[m - 1 - suffix])
    ++suffix;
  const bool oneForOne = n == m;
  // The break of `spread` that stands where the break before line k of `after` does: one of
  // the prefix's or the suffix's, or any where lines were changed one for one; none where lines
  // were added or taken away.
  const auto oldBreak = [&](std::size_t k) -> std::optional<std::size_t> {
    if (oneForOne || k < prefix) return k - 1;
    if (k == prefix && k == m - suffix) return n - suffix - 1;  // lines taken away here
    if (k > m - suffix) return n - (m - k) - 1;
    return std::nullopt;
  };
  std::string result;
  for (std::size_t k = 0; k < m; ++k) {
    const std::optional<std::size_t> old = k > 0 ? oldBreak(k) : std::nullopt;
    if (k > 0 && !(old && !writtenBreak[*old])) {
      // A line end where none stood takes the place of the blanks before the part after it.
      if (!old && (k - 1 >= prefix || !writtenBreak[k - 1]))
        while (!result.empty() && (result.back() == ' ' || result.back() == '\t'))
          result.pop_back();
      result += kLineEnd;
    }
    result += after[k];
  }
  return result;
}

}  // namespace

std::string styleText(StyleWriter writer, std::uint32_t style) {
  return withUnnamedBits(familyNames(writer, style), style);
}

std::string dialogStyleText(std::uint32_t style) {
  return withUnnamedBits(dialogStyleNames(style), style);
}

std::string controlStyleField(const DialogControl& control) {
  if (keeps(control.style, control.liveStyle)) return control.style->text;
  std::uint32_t style = control.liveStyle.value_or(kDefaultControlStyle);
  // A combo box is written with the kind it was read with, not the drop-down list it shows.
  if (control.dropDown && (style & kComboTypeBits) != 0) style -= 1;
  // A control read from a text (not one the designer made) gains no bit on the way.
  if (control.compiledStyle) style = withoutReadersBits(control, style, *control.compiledStyle);
  return styleText(liveClass(control.live).style, style);
}

std::string controlStatement(const DialogControl& control, BaseUnits base) {
  if (control.statement) return keptStatementText(control, base);
  const LiveClassInfo& info = liveClass(control.live);
  std::string line = " CONTROL \"";
  if (info.writesCaption) line += doubledQuotes(control.caption);
  line += "\", ";
  line += number(control.id, control.idAsWritten);
  line += ", \"";
  line += info.classWritten;
  line += "\", ";
  line += controlStyleField(control);
  line += ", ";
  line += coordinates(controlUnits(control, base), control.coordinates);
  line += control.tail;
  return line;
}

std::string dialogBlock(const DialogModel& dialog, std::string_view name) {
  std::string out = headerText(dialog, name);
  out += kLineEnd;

  // The header statements in their places: STYLE, CAPTION and FONT where they stood.
  struct Placed {
    int key;
    int order;
    std::string text;
  };
  std::vector<Placed> header;
  if (std::string style = styleStatement(dialog); !style.empty())
    header.push_back({dialog.places.style, 0, std::move(style)});
  if (std::string caption = captionStatement(dialog); !caption.empty())
    header.push_back({dialog.places.caption, 1, std::move(caption)});
  if (std::string font = fontStatement(dialog); !font.empty())
    header.push_back({dialog.places.font, 2, std::move(font)});
  for (std::size_t i = 0; i < dialog.headerLines.size(); ++i)
    header.push_back({static_cast<int>(i) * 10 + 9, 3, dialog.headerLines[i]});
  std::stable_sort(header.begin(), header.end(), [](const Placed& a, const Placed& b) {
    return a.key != b.key ? a.key < b.key : a.order < b.order;
  });
  for (const Placed& line : header) appendLine(out, {line.text});

  appendLine(out, {dialog.bodyOpen});
  // A control the designer made takes the form of the statement before it (the first one for
  // the controls before every statement): its indentation, and a short statement where the
  // dialog's statements are short ones and one says the control.
  const auto firstKept =
      std::find_if(dialog.controls.begin(), dialog.controls.end(),
                   [](const DialogControl& c) { return c.statement.has_value(); });
  const KeptStatement* neighbour =
      firstKept == dialog.controls.end() ? nullptr : &*firstKept->statement;
  for (const DialogControl& control : dialog.controls) {
    for (const std::string& line : control.linesBefore) appendLine(out, {line});
    if (control.statement) {
      neighbour = &*control.statement;
      appendLine(out, {controlStatement(control, dialog.baseUnits)});
      continue;
    }
    const std::string_view indentation =
        neighbour ? std::string_view(neighbour->text).substr(0, neighbour->keyword) : " ";
    std::optional<std::string> line;
    if (neighbour && neighbour->statement < kShortStatements.size())
      line = asShortStatement(control, dialog.baseUnits);
    appendLine(
        out, {indentation, line ? *line : trimSpace(controlStatement(control, dialog.baseUnits))});
  }
  for (const std::string& line : dialog.bodyTail) appendLine(out, {line});
  out += dialog.bodyClose;
  if (dialog.compact) return compactedAgain(dialog.compact->text, dialog.compact->value, out);
  return out;
}

std::optional<BlockExtent> dialogExtent(std::string_view text, const ResourceIndex& index,
                                        std::size_t position) {
  const auto block = entryBlock(text, index, position);
  if (!block) return std::nullopt;
  const auto length = dialogBlockLength(block->of(text));
  if (!length) return std::nullopt;
  return BlockExtent{block->begin, block->begin + *length};
}

std::optional<Edit> dialogEdit(std::string_view text, const ResourceIndex& index,
                               std::size_t position, std::string block) {
  if (position >= index.size() || index[position].type != ResourceType::Dialog) return std::nullopt;
  const auto extent = dialogExtent(text, index, position);
  if (!extent || extent->of(text) == block) return std::nullopt;
  Edit edit;
  edit.label = kLabelEditDialog;
  edit.currentBefore = keyAt(index, position);
  edit.currentAfter = edit.currentBefore;
  edit.splices.push_back(narrowedSplice(extent->begin, extent->of(text), std::move(block)));
  return edit;
}

}  // namespace kolvre
