#include "dialogs/dialog_properties.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "base/text.h"
#include "dialogs/dialog_model.h"
#include "dialogs/dialog_reader.h"
#include "dialogs/dialog_session.h"
#include "dialogs/dialog_writer.h"
#include "dialogs/styles.h"
#include "document/edit.h"
#include "document/resource_commands.h"
#include "messages/form_check.h"
#include "messages/messages.h"
#include "syntax/vocabulary.h"

namespace kolvre {

namespace {

std::string withoutTrailingSpace(std::string_view text) {
  while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
  return std::string(text);
}

std::size_t characterCount(std::string_view utf8) {
  std::size_t n = 0;
  for (char c : utf8) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return n;
}

// A number field's text: digits only, and no more significant digits than its picture.
std::optional<std::string_view> numberFault(std::string_view text, std::string_view picture) {
  text = trimBlanks(text);
  std::size_t digits = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return kBadFieldMessage;
    if (digits > 0 || c != '0') ++digits;
  }
  if (digits > picture.size()) return kNumberTooLargeMessage;
  return std::nullopt;
}

// A number as written for an edited field: without blanks and leading zeros; 0 when empty.
std::string plainNumber(std::string_view text) {
  text = trimBlanks(text);
  while (text.size() > 1 && text.front() == '0') text.remove_prefix(1);
  return text.empty() ? "0" : std::string(text);
}

bool hasControlCharacter(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) {
    const auto b = static_cast<unsigned char>(c);
    return b < 0x20 || b == 0x7F;
  });
}

// The name a changed name field stands for: as the name prompt takes a typed name. The field
// as shown, or one that comes out the same, is no new name.
std::optional<std::string> newName(const DialogProperties& edited, const DialogProperties& shown) {
  if (edited.name == shown.name) return std::nullopt;
  std::string typed = typedName(trimBlanks(edited.name));
  if (typed == shown.name) return std::nullopt;
  return typed;
}

// The style text of an edited field on one line: its line breaks become blanks.
std::string oneLine(std::string_view text) {
  std::string out;
  for (char c : trimSpace(text)) out += (c == '\r' || c == '\n') ? ' ' : c;
  return out;
}

}  // namespace

std::string& dialogPropertyValue(DialogProperties& form, int id) {
  switch (id) {
    case 101:
      return form.name;
    case 103:
      return form.x;
    case 104:
      return form.y;
    case 105:
      return form.width;
    case 106:
      return form.height;
    case 107:
      return form.style;
    default:
      return form.caption;
  }
}

const std::string& dialogPropertyValue(const DialogProperties& form, int id) {
  return dialogPropertyValue(const_cast<DialogProperties&>(form), id);
}

std::size_t fieldLength(int id, const DialogProperties& shown) {
  for (const DialogPropertyField& field : kDialogPropertyFields)
    if (field.id == id && field.maxLength != 0)
      return std::max(field.maxLength, characterCount(dialogPropertyValue(shown, id)));
  return 0;
}

DialogTexts dialogTexts(const Document& doc, std::size_t offset) {
  return {doc.encoding(), scriptCharsetAt(doc.text(), offset, doc.form().utf16 != Utf16::None)};
}

DialogPropertiesReading readDialogProperties(std::string_view block, const DialogTexts& texts) {
  DialogPropertiesReading reading;
  const DialogReading dialog = readDialog(block, DialogMode::Designer);
  if (dialog.failure != DialogFailure::None) {
    reading.failure = dialog.failure;
    return reading;
  }
  // The fields as written: the header's name and numbers, the caption's text with its doubled
  // quotes undone, the style's expression on one line.
  const KeptHeader& header = *dialog.dialog.header;
  const auto asWritten = [&](const FieldSpan& span) {
    return toDisplay(std::string_view(header.text).substr(span.begin, span.end - span.begin),
                     texts.encoding);
  };
  DialogProperties& shown = reading.shown;
  shown.name = asWritten(header.name);
  if (dialog.dialog.captionAsWritten)
    shown.caption = writtenToUtf8(undoubledQuotes(dialog.dialog.title), texts.caption);
  shown.x = asWritten(header.coordinates[0]);
  shown.y = asWritten(header.coordinates[1]);
  shown.width = asWritten(header.coordinates[2]);
  shown.height = asWritten(header.coordinates[3]);
  shown.style = toDisplay(dialog.styleText, texts.encoding);
  return reading;
}

std::optional<DialogPropertyFault> checkDialogProperties(const DialogProperties& edited,
                                                         const DialogProperties& shown,
                                                         const ResourceIndex& index,
                                                         const DialogTexts& texts,
                                                         std::optional<std::size_t> position) {
  for (const DialogPropertyField& field : kDialogPropertyFields) {
    const std::string& value = dialogPropertyValue(edited, field.id);
    if (value == dialogPropertyValue(shown, field.id)) continue;
    const auto fault = [&](std::string_view message) {
      return DialogPropertyFault{field.id, std::string(message)};
    };
    if (field.required && trimSpace(value).empty()) return fault(kBadFieldMessage);
    if (!field.picture.empty()) {
      if (const auto message = numberFault(value, field.picture)) return fault(*message);
      continue;
    }
    switch (field.id) {
      case 101:
        if (const auto name = newName(edited, shown)) {
          const std::string refusal = nameRefusal(index, *name, typeKeyword(ResourceType::Dialog),
                                                  texts.encoding, position);
          if (!refusal.empty()) return fault(refusal);
        }
        break;
      case 102:
        if (characterCount(value) > fieldLength(field.id, shown) || hasControlCharacter(value) ||
            !utf8ToWritten(value, texts.caption))
          return fault(kBadFieldMessage);
        break;
      case 107:
        if (!representable(value, texts.encoding)) return fault(kBadFieldMessage);
        if (!parseStyle(oneLine(value))) return fault(invalidStyleNotice(oneLine(value)));
        break;
      default:
        break;
    }
  }
  return std::nullopt;
}

std::optional<std::string> dialogPropertiesBlock(std::string_view block,
                                                 const DialogProperties& shown,
                                                 const DialogProperties& edited,
                                                 const DialogTexts& texts) {
  if (edited == shown) return std::nullopt;
  // The block read and written back by the dialog's own reader and writer: only the fields
  // changed are rewritten, each where it stands.
  DialogReading reading = readDialog(block);
  if (reading.failure != DialogFailure::None) return std::nullopt;
  DialogModel& dialog = reading.dialog;
  const auto changed = [&](int id) {
    return dialogPropertyValue(edited, id) != dialogPropertyValue(shown, id);
  };
  std::string name = dialog.header->nameAsRead;
  if (const auto typed = newName(edited, shown)) name = fromDisplay(*typed, texts.encoding);

  // The numbers are taken before the style changes: the placement depends on the style.
  DialogUnitRect units =
      dialogUnits(dialog.rect, dialog.baseUnits, dialog.styleAsRead, dialog.mode);
  int* const numbers[] = {&units.x, &units.y, &units.width, &units.height};
  for (int id = 103; id <= 106; ++id)
    if (changed(id))
      *numbers[id - 103] = static_cast<int>(
          std::strtol(plainNumber(dialogPropertyValue(edited, id)).c_str(), nullptr, 10));
  if (changed(107)) {
    const std::string typed = fromDisplay(oneLine(edited.style), texts.encoding);
    const auto style = parseStyle(typed);
    if (!style) return std::nullopt;
    // The style as typed, at the place and with the indentation of the statement it replaces.
    const std::string& before = dialog.style ? dialog.style->text : std::string();
    dialog.styleAsRead = *style;
    const std::string indentation = before.substr(0, dialog.styleSpans.keyword);
    dialog.style = KeptText<std::uint32_t>{indentation + "STYLE " + typed, *style};
    dialog.styleSpans.value = {indentation.size() + 6, dialog.style->text.size()};
  }
  dialog.rect = placeDialog(units, dialog.baseUnits, dialog.styleAsRead, dialog.mode);
  if (changed(102)) {
    const auto caption = utf8ToWritten(edited.caption, texts.caption);
    if (!caption) return std::nullopt;
    dialog.title = doubledQuotes(withoutTrailingSpace(*caption));
  }
  return dialogBlock(dialog, name);
}

std::optional<Edit> dialogPropertiesEdit(std::string_view text, const ResourceIndex& index,
                                         std::size_t position, const DialogProperties& shown,
                                         const DialogProperties& edited, const DialogTexts& texts) {
  if (position >= index.size() || index[position].type != ResourceType::Dialog) return std::nullopt;
  const auto extent = dialogExtent(text, index, position);
  if (!extent) return std::nullopt;
  auto block = dialogPropertiesBlock(extent->of(text), shown, edited, texts);
  if (!block || *block == extent->of(text)) return std::nullopt;
  Edit edit;
  edit.label = kDialogPropertiesTitle;
  edit.currentBefore = keyAt(index, position);
  edit.currentAfter = edit.currentBefore;
  if (const auto name = newName(edited, shown)) {
    // Renamed: the dialog moves to its new name's place and is found under it.
    edit.placeBlockAt = extent->begin;
    edit.placedNameBefore = index[position].name;
    edit.currentAfter = ResourceKey{fromDisplay(*name, texts.encoding), ResourceType::Dialog, 0};
  }
  edit.splices.push_back(narrowedSplice(extent->begin, extent->of(text), std::move(*block)));
  return edit;
}

bool changeDialogProperties(UserInterface& ui, Document& doc, std::optional<std::size_t> current,
                            const OpenDialogProperties& open) {
  const auto extent = currentDialogExtent(ui, doc, current);
  if (!extent) return false;
  const std::size_t position = *current;
  const DialogTexts texts = dialogTexts(doc, extent->begin);
  const DialogPropertiesReading reading = readDialogProperties(extent->of(doc.text()), texts);
  if (reading.failure != DialogFailure::None) {
    inform(ui, dialogFailureText(reading.failure));
    return false;
  }
  const DialogProperties& shown = reading.shown;
  const auto edited = open(shown, [&](const DialogProperties& values) {
    return checkDialogProperties(values, shown, doc.index(), texts, position);
  });
  if (!edited) return false;
  // The form confirms only values that pass; a form that did not check them stores nothing.
  if (const auto fault = checkDialogProperties(*edited, shown, doc.index(), texts, position)) {
    inform(ui, fault->message);
    return false;
  }
  const auto edit = dialogPropertiesEdit(doc.text(), doc.index(), position, shown, *edited, texts);
  return edit && doc.commit(*edit);
}

}  // namespace kolvre
