// The batch tool's dialog commands: dialog, dialog-props and tab-order.
#include "cli/commands.h"

#include <cstdio>
#include <map>

#include "base/text.h"
#include "checks/text_measure.h"
#include "dialogs/class_names.h"
#include "dialogs/control_windows.h"
#include "dialogs/dialog_properties.h"
#include "dialogs/dialog_reader.h"
#include "dialogs/dialog_writer.h"
#include "dialogs/tab_order.h"
#include "document/resource_commands.h"
#include "document/resource_edits.h"
#include "messages/messages.h"
#include "syntax/symbols.h"

namespace kolvre::cli {

namespace {

// The dialog NAME (arguments 1 and 2 of `c`), readable, then the command on its block.
int onDialog(Context& c,
             const std::function<int(Document&, std::size_t, std::string_view)>& command) {
  const std::vector<std::string> withType{c.args[0], c.args[1], "DIALOG"};
  Context inner{withType, c.in, c.out, c.err, c.ui, c.nth, c.measure};
  return onResource(inner, [&](Document& doc, std::size_t position, const BlockExtent&) {
    const auto extent = dialogExtent(doc.text(), doc.index(), position);
    if (!extent) {
      c.err << unlocatableMessage(doc.display(doc.index()[position].name)) << "\n";
      return kFailed;
    }
    return command(doc, position, extent->of(doc.text()));
  });
}

// "X,Y" as two texts; nothing when there are not exactly two.
std::optional<std::pair<std::string, std::string>> pairOf(std::string_view text) {
  const std::size_t comma = text.find(',');
  if (comma == std::string_view::npos || text.find(',', comma + 1) != std::string_view::npos)
    return std::nullopt;
  return std::pair{std::string(text.substr(0, comma)), std::string(text.substr(comma + 1))};
}

// The rows, their texts read in `charset`, the code page in force where the dialog stands.
void printRows(Context& c, const std::vector<TabOrderRow>& rows, const ScriptCharset& charset) {
  for (std::size_t i = 0; i < rows.size(); ++i) {
    c.out << i + 1;
    for (const std::string& cell : rowCells(rows[i])) c.out << '\t' << writtenToUtf8(cell, charset);
    c.out << '\n';
  }
}

// The window class Windows gives a control: a predefined class as the system spells it.
std::string windowClassName(const DialogControl& control) {
  const std::string written = scriptClassName(control);
  for (const ClassMacro& row : kClassMacros)
    if (row.ordinal != 0 && equalsIgnoringCase(row.className, written))
      return std::string(row.className);
  return written;
}

// The dialog as Windows lays it out, in pixels: "client W H BASEX BASEY", then per control
// "INDEX ID CLASS X Y W H" in its client area, tab-separated (the form of tools/wine-layout).
void printLayout(Context& c, const DialogModel& dialog) {
  const BaseUnits base = dialog.baseUnits;
  const PixelSize client = dialogClientSize(dialog);
  c.out << "client\t" << client.width << '\t' << client.height << '\t' << base.x << '\t' << base.y
        << '\n';
  // A plain template's ids are 16-bit.
  const bool extended = equalsIgnoringCase(dialog.keyword, "DIALOGEX");
  const std::vector<PixelRect> rects = controlWindowRects(dialog.controls, base);
  for (std::size_t i = 0; i < dialog.controls.size(); ++i) {
    const DialogControl& control = dialog.controls[i];
    const PixelRect& r = rects[i];
    const int id = extended ? control.id : (control.id & 0xFFFF);
    c.out << i << '\t' << id << '\t' << windowClassName(control) << '\t' << r.x << '\t' << r.y
          << '\t' << r.width << '\t' << r.height << '\n';
  }
}

}  // namespace

int cmdDialog(Context& c) {
  const bool controls = c.args.size() == 3 && c.args[2] == "--controls";
  const bool layout = c.args.size() == 3 && c.args[2] == "--layout";
  if (c.args.size() != 2 && !controls && !layout) return kUsage;
  const std::vector<std::string> withType{c.args[0], c.args[1], "DIALOG"};
  Context inner{withType, c.in, c.out, c.err, c.ui, c.nth, c.measure};
  return onResource(inner, [&](Document& doc, std::size_t position, const BlockExtent& block) {
    const SymbolTable symbols = scriptSymbols(doc.text(), doc.fileName());
    // The layout is in the dialog's own font, where the tool can measure one.
    const DialogFontMetrics* fonts = layout && c.measure ? c.measure() : nullptr;
    const DialogReading reading =
        readDialog(block.of(doc.text()), DialogMode::Designer, &symbols, fonts);
    for (const std::string& notice : reading.notices) c.err << doc.display(notice) << "\n";
    if (reading.failure != DialogFailure::None) {
      c.err << dialogFailureText(reading.failure) << "\n";
      return kFailed;
    }
    if (layout) {
      printLayout(c, reading.dialog);
      return kOk;
    }
    if (controls) {
      for (const DialogControl& control : reading.dialog.controls) {
        const DialogUnitRect units = unitsAsWritten(control, reading.dialog.baseUnits);
        char style[16] = "?";
        if (control.compiledStyle)
          std::snprintf(style, sizeof style, "0x%08X",
                        static_cast<unsigned>(*control.compiledStyle));
        c.out << doc.display(namedClass(scriptClassName(control), &symbols)) << '\t'
              << doc.display(control.idAsWritten ? control.idAsWritten->text
                                                 : std::to_string(control.id))
              << '\t' << units.x << '\t' << units.y << '\t' << units.width << '\t' << units.height
              << '\t' << style << '\n';
      }
      return kOk;
    }
    const std::string name = doc.index()[position].name;
    c.out << toDisk(dialogBlock(reading.dialog, name), doc.form());
    return kOk;
  });
}

int cmdDialogProps(Context& c) {
  if (c.args.size() < 2 || c.args.size() % 2 != 0) return kUsage;
  std::vector<std::pair<std::string, std::string>> options;
  for (std::size_t i = 2; i < c.args.size(); i += 2) {
    const std::string& option = c.args[i];
    const std::string& value = c.args[i + 1];
    if (option == "--pos" || option == "--size") {
      const auto pair = pairOf(value);
      if (!pair) return kUsage;
      options.emplace_back(option == "--pos" ? "x" : "width", pair->first);
      options.emplace_back(option == "--pos" ? "y" : "height", pair->second);
    } else if (option == "--name" || option == "--caption" || option == "--style") {
      options.emplace_back(option.substr(2), value);
    } else {
      return kUsage;
    }
  }
  return onDialog(c, [&](Document& doc, std::size_t position, std::string_view block) {
    const DialogTexts texts =
        dialogTexts(doc, static_cast<std::size_t>(block.data() - doc.text().data()));
    const DialogPropertiesReading reading = readDialogProperties(block, texts);
    if (reading.failure != DialogFailure::None) {
      c.err << dialogFailureText(reading.failure) << "\n";
      return kFailed;
    }
    const DialogProperties& shown = reading.shown;
    if (options.empty()) {
      for (const DialogPropertyField& field : kDialogPropertyFields)
        c.out << field.label << '\t' << dialogPropertyValue(shown, field.id) << '\n';
      return kOk;
    }
    DialogProperties edited = shown;
    const std::map<std::string_view, std::string*> fields{
        {"name", &edited.name},   {"caption", &edited.caption}, {"x", &edited.x},
        {"y", &edited.y},         {"width", &edited.width},     {"height", &edited.height},
        {"style", &edited.style},
    };
    for (const auto& [field, value] : options) *fields.at(field) = value;
    if (const auto fault = checkDialogProperties(edited, shown, doc.index(), texts)) {
      for (const DialogPropertyField& field : kDialogPropertyFields)
        if (field.id == fault->field) c.err << field.label << ' ';
      c.err << fault->message << "\n";
      return kFailed;
    }
    const auto edit = dialogPropertiesEdit(doc.text(), doc.index(), position, shown, edited, texts);
    return edit ? commitAndSave(c, doc, *edit) : kOk;
  });
}

int cmdTabOrder(Context& c) {
  if (c.args.size() < 2) return kUsage;
  std::vector<std::string> order;
  std::vector<std::pair<std::string, std::string>> ids;
  for (std::size_t i = 2; i < c.args.size(); ++i) {
    if (c.args[i] != "--id") {
      order.push_back(c.args[i]);
      continue;
    }
    if (i + 1 == c.args.size()) return kUsage;
    const std::string& given = c.args[++i];
    const std::size_t equals = given.find('=');
    if (equals == std::string::npos) return kUsage;
    ids.emplace_back(given.substr(0, equals), given.substr(equals + 1));
  }
  return onDialog(c, [&](Document& doc, std::size_t position, std::string_view block) {
    const TabOrderReading reading = readTabOrder(block);
    const ScriptCharset charset =
        scriptCharsetAt(doc.text(), static_cast<std::size_t>(block.data() - doc.text().data()),
                        doc.form().utf16 != Utf16::None);
    if (reading.failure != DialogFailure::None) {
      c.err << dialogFailureText(reading.failure) << "\n";
      return kFailed;
    }
    TabOrder edited = reading.order;
    const std::size_t count = edited.rows.size();
    const auto rowNumber = [&](const std::string& text) -> std::optional<std::size_t> {
      std::size_t n = 0;
      if (!parseCount(text, n) || n > count) {
        c.err << "Riga " << text << " inesistente: le righe vanno da 1 a " << count << ".\n";
        return std::nullopt;
      }
      return n - 1;
    };
    for (const auto& [row, id] : ids) {
      const auto at = rowNumber(row);
      if (!at) return kFailed;
      TabOrderRow& target = edited.rows[*at];
      if (!target.control) {
        c.err << "La riga " << row << " non è un controllo e non ha un id.\n";
        return kFailed;
      }
      if (const auto fault = idFault(id, rowIdText(target))) {
        c.err << "Id " << id << ": " << *fault << "\n";
        return kFailed;
      }
      setRowId(target, id);
    }
    if (!order.empty()) {
      if (order.size() != count) {
        c.err << "Indicare ognuna delle " << count << " righe una volta.\n";
        return kFailed;
      }
      std::vector<TabOrderRow> rows;
      std::vector<bool> taken(count, false);
      for (const std::string& row : order) {
        const auto at = rowNumber(row);
        if (!at) return kFailed;
        if (taken[*at]) {
          c.err << "Riga " << row << " indicata due volte.\n";
          return kFailed;
        }
        taken[*at] = true;
        rows.push_back(edited.rows[*at]);
      }
      edited.rows = std::move(rows);
    }
    if (const auto fault = tabOrderFault(edited)) {
      c.err << *fault << "\n";
      return kFailed;
    }
    const auto edit = tabOrderEdit(doc.text(), doc.index(), position, edited);
    const int code = edit && (!order.empty() || !ids.empty()) ? commitAndSave(c, doc, *edit) : kOk;
    if (order.empty() && code == kOk) printRows(c, edited.rows, charset);
    return code;
  });
}

}  // namespace kolvre::cli
