#include "cli/cli.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>
#include <iostream>
#include <iterator>
#include <map>
#include <set>

#include "cli/cli_interface.h"
#include "dialogs/dialog_properties.h"
#include "dialogs/dialog_reader.h"
#include "dialogs/dialog_writer.h"
#include "dialogs/styles.h"
#include "dialogs/tab_order.h"
#include "document/document_commands.h"
#include "document/image_resources.h"
#include "document/name_prompt.h"
#include "document/resource_commands.h"
#include "document/resource_edits.h"
#include "document/templates.h"
#include "messages/error_record.h"
#include "messages/messages.h"

namespace kolvre {

namespace {

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

constexpr std::string_view kUsageText =
    "uso: kolvre-cli COMANDO FILE [ARGOMENTI]\n"
    "  list FILE                 elenca le risorse: nome, tabulazione, codice del tipo\n"
    "  reorder FILE [-o OUT]     riordina le risorse per tipo e nome (-o -: sullo standard\n"
    "                            output)\n"
    "  show FILE NOME TIPO       scrive il testo della risorsa (TIPO: DIALOG o D, ...)\n"
    "  rename FILE NOME TIPO NUOVONOME\n"
    "                            rinomina la risorsa\n"
    "  delete FILE NOME TIPO     elimina la risorsa\n"
    "  new FILE TIPO NOME        aggiunge una nuova risorsa (24, VERSIONINFO, BITMAP, CURSOR,\n"
    "                            DIALOG, ICON)\n"
    "  paste FILE [NUOVONOME]    aggiunge la risorsa letta dallo standard input\n"
    "  replace FILE NOME TIPO    sostituisce il testo della risorsa con lo standard input\n"
    "  image export FILE NOME TIPO OUT\n"
    "                            scrive i byte dell'immagine (BITMAP, ICON, CURSOR) in OUT\n"
    "  image import FILE NOME TIPO IN\n"
    "                            sostituisce i dati dell'immagine con i byte di IN\n"
    "  image info FILE NOME TIPO  scrive \"Bitmap: L x A\" o \"Icon: L x A\"\n"
    "  dialog FILE NOME          scrive il testo che il designer salverebbe chiudendo il dialog\n"
    "                            NOME senza modifiche\n"
    "  dialog FILE NOME --controls\n"
    "                            elenca i controlli: classe, id, x, y, cx, cy, stile compilato\n"
    "                            (0x e otto cifre esadecimali; ? se lo stile usa simboli ignoti),\n"
    "                            separati da tabulazioni\n"
    "  dialog-props FILE NOME [--name N] [--caption C] [--pos X,Y] [--size L,A] [--style S]\n"
    "                            cambia nome, titolo, posizione, dimensioni e stile del dialog\n"
    "                            NOME con i controlli del modulo Proprietà; senza opzioni scrive\n"
    "                            i campi del modulo\n"
    "  tab-order FILE NOME [RIGA...] [--id RIGA=ID]...\n"
    "                            riscrive il corpo del dialog con le righe attuali nell'ordine\n"
    "                            dato (da 1, ognuna una volta); --id cambia l'id di una riga\n"
    "                            (numerata come prima del riordino); senza RIGA scrive le righe:\n"
    "                            numero, caption, id, classe, x, y, cx, cy, separati da\n"
    "                            tabulazioni\n"
    "  style parse TESTO         scrive il numero dello stile (0x e otto cifre esadecimali)\n"
    "  style text FAMIGLIA NUMERO\n"
    "                            scrive lo stile NUMERO (decimale o 0x esadecimale) come testo\n"
    "                            (FAMIGLIA: dialog, button, combobox, edit, listbox, scrollbar,\n"
    "                            static, systreeview32, window)\n"
    "Con --nth K, show, rename, delete, replace, image, dialog, dialog-props e tab-order\n"
    "agiscono sulla K-esima risorsa con quel nome e tipo (1 la prima).\n";

struct Context {
  const std::vector<std::string>& args;  // after the command word
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
  CliInterface& ui;
  std::size_t nth = 1;  // --nth K: the K-th resource of that name and type
};

// Opens FILE through the editor's own reading code; false (with the message) when it fails.
bool openScript(Context& c, const std::string& file, Document& doc) {
  if (!fileExists(file)) {
    c.err << "Impossibile trovare il file " << file << ".\n";
    return false;
  }
  loadDocument(doc, file);
  return true;
}

// A type given as a keyword or a code ("DIALOG" or "D").
std::optional<ResourceType> parseType(std::string_view word) {
  for (const auto& info : kResourceTypes)
    if (word == info.keyword || word == info.code) return info.type;
  return std::nullopt;
}

// Where the index holds NAME (UTF-8, as typed) of TYPE; nothing (with the message) when it is
// not there.
std::optional<std::size_t> findResource(Context& c, const Document& doc, const std::string& name,
                                        ResourceType type) {
  const auto at = findEntry(doc.index(), {doc.scriptBytes(name), type, c.nth - 1});
  if (!at) {
    c.err << "Risorsa " << name;
    if (c.nth > 1) c.err << " numero " << c.nth;
    c.err << " non trovata.\n";
  }
  return at;
}

// The block of the entry at `position`; nothing (with the message) when it cannot be located.
std::optional<BlockExtent> findBlock(Context& c, const Document& doc, std::size_t position) {
  auto block = entryBlock(doc.text(), doc.index(), position);
  if (!block) c.err << unlocatableMessage(doc.display(doc.index()[position].name)) << "\n";
  return block;
}

// A name given on the command line, checked as the name prompt checks a typed one; nothing
// (with the prompt's message) when the prompt would refuse it.
std::optional<std::string> acceptedName(Context& c, const Document& doc, std::string_view given,
                                        std::string_view typeWord) {
  const std::string typed = typedName(given);
  const std::string refusal = nameRefusal(doc.index(), typed, typeWord, doc.encoding());
  if (!refusal.empty()) {
    c.err << refusal << "\n";
    return std::nullopt;
  }
  return doc.scriptBytes(typed);
}

// Standard input whole, as a file is read: without a final end-of-file mark.
std::string readAll(std::istream& in) {
  std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  dropEndOfFileMark(bytes);
  return bytes;
}

// Text from standard input in the document's form: a UTF-16 text (with its byte-order mark,
// as `show` prints it from a UTF-16 script) decoded, LF line ends made CR LF.
std::string readText(std::istream& in) {
  return fromDisk(readAll(in)).text;
}

// Commits the edit and saves FILE when the script changed.
int commitAndSave(Context& c, Document& doc, const Edit& edit) {
  if (!doc.commit(edit)) return kOk;
  return writeDocument(c.ui, doc) ? kOk : kFailed;
}

// Opens FILE and finds the block of NAME TYPE (arguments 1 and 2), then runs the command on it.
int onResource(Context& c,
               const std::function<int(Document&, std::size_t, const BlockExtent&)>& command) {
  const auto type = parseType(c.args[2]);
  if (!type) return kUsage;
  Document doc;
  if (!openScript(c, c.args[0], doc)) return kFailed;
  const auto position = findResource(c, doc, c.args[1], *type);
  if (!position) return kFailed;
  const auto block = findBlock(c, doc, *position);
  if (!block) return kFailed;
  return command(doc, *position, *block);
}

int cmdRename(Context& c) {
  if (c.args.size() != 4) return kUsage;
  return onResource(c, [&](Document& doc, std::size_t position, const BlockExtent& block) {
    const auto name = acceptedName(c, doc, c.args[3], typeKeyword(doc.index()[position].type));
    if (!name) return kFailed;
    return commitAndSave(c, doc, renameEdit(doc.index(), position, block, *name));
  });
}

int cmdDelete(Context& c) {
  if (c.args.size() != 3) return kUsage;
  return onResource(c, [&](Document& doc, std::size_t position, const BlockExtent& block) {
    if (!block.complete) {
      c.err << unclosedMessage(doc.display(doc.index()[position].name)) << "\n";
      return kFailed;
    }
    const auto edit = deleteEdit(doc.text(), doc.index(), position, block);
    if (!edit) {
      c.err << joinsNeighboursMessage(doc.display(doc.index()[position].name)) << "\n";
      return kFailed;
    }
    return commitAndSave(c, doc, *edit);
  });
}

int cmdReplace(Context& c) {
  if (c.args.size() != 3) return kUsage;
  std::string edited = readText(c.in);
  return onResource(c, [&](Document& doc, std::size_t position, const BlockExtent& block) {
    const auto edit = replaceEdit(doc.text(), doc.index(), position, block, std::move(edited));
    return edit ? commitAndSave(c, doc, *edit) : kOk;
  });
}

int cmdNew(Context& c) {
  if (c.args.size() != 3) return kUsage;
  const std::string& kind = c.args[1];
  const auto type = parseType(kind);
  if (!type || kind.size() < 2) return kUsage;  // a keyword, not a code
  Document doc;
  if (!openScript(c, c.args[0], doc)) return kFailed;
  const auto name = acceptedName(c, doc, c.args[2], typeKeyword(*type));
  if (!name) return kFailed;
  const auto edit = appendEdit(doc.text(), resourceTemplate(*type, *name), kLabelNew);
  if (!edit) {
    c.err << noPlaceMessage(doc.display(*name)) << "\n";
    return kFailed;
  }
  return commitAndSave(c, doc, *edit);
}

int cmdPaste(Context& c) {
  if (c.args.size() != 1 && c.args.size() != 2) return kUsage;
  const std::string pasted = readText(c.in);
  Document doc;
  if (!openScript(c, c.args[0], doc)) return kFailed;
  const HeaderTokens tokens = firstTwoTokens(pasted);
  if (tokens.type.empty()) {
    c.err << "Gli appunti non contengono una risorsa da incollare.\n";
    return kFailed;
  }
  // Without a new name the pasted one is kept, checked as if typed.
  const std::string given = c.args.size() == 2 ? c.args[1] : doc.display(tokens.name);
  const auto name = acceptedName(c, doc, given, pastedTypeWord(pasted));
  if (!name) return kFailed;
  const auto edit = appendEdit(doc.text(), pastedBlock(pasted, *name), kLabelPaste);
  if (!edit) {
    c.err << noPlaceMessage(doc.display(*name)) << "\n";
    return kFailed;
  }
  return commitAndSave(c, doc, *edit);
}

// image export|import|info FILE NAME TYPE [OUT|IN]
int cmdImage(Context& c) {
  if (c.args.empty()) return kUsage;
  const std::string verb = c.args[0];
  const std::size_t count = verb == "info" ? 4 : 5;
  if ((verb != "export" && verb != "import" && verb != "info") || c.args.size() != count)
    return kUsage;
  const std::vector<std::string> rest(c.args.begin() + 1, c.args.end());
  Context inner{rest, c.in, c.out, c.err, c.ui, c.nth};
  const auto type = parseType(rest[2]);
  if (!type || *type == ResourceType::Manifest || *type == ResourceType::VersionInfo ||
      *type == ResourceType::Dialog)
    return kUsage;
  return onResource(inner, [&](Document& doc, std::size_t position, const BlockExtent&) {
    const ImageSource source = imageSource(doc, position);
    if (source.kind == ImageSource::Kind::Unreadable) {
      c.err << cannotShowText(source.problem) << "\n";
      return kFailed;
    }
    if (verb == "import") {
      if (source.kind == ImageSource::Kind::File) {
        c.err << "La risorsa " << rest[1] << " usa il file " << source.file
              << ": importare i byte in quel file.\n";
        return kFailed;
      }
      const FileRead in = readFileBytes(rest[3]);
      if (in.error != 0) {
        c.err << "Impossibile leggere il file " << rest[3] << ".\n";
        return kFailed;
      }
      const std::vector<std::uint8_t> bytes(in.bytes.begin(), in.bytes.end());
      const auto edit = imageDataEdit(doc.text(), doc.index(), position, bytes);
      return edit ? commitAndSave(c, doc, *edit) : kFailed;
    }
    std::vector<std::uint8_t> bytes = source.bytes;
    if (source.kind == ImageSource::Kind::File) {
      const FileRead in = readFileBytes(source.file);
      bytes.assign(in.bytes.begin(), in.bytes.end());
    }
    if (verb == "export") {
      const std::string_view raw(reinterpret_cast<const char*>(bytes.data()), bytes.size());
      if (rest[3] == "-") {
        c.out << raw;
        return kOk;
      }
      const int error = writeFileSafely(rest[3], raw);
      if (error == 0) return kOk;
      c.err << "Impossibile salvare il file " << rest[3] << ".\n"
            << saveFailureReason(error) << "\n";
      return kFailed;
    }
    const auto size = pictureSize(*type, bytes);
    if (!size) {
      c.err << cannotShowText("i dati non formano un'immagine.") << "\n";
      return kFailed;
    }
    c.out << (*type == ResourceType::Bitmap ? "Bitmap: " : "Icon: ") << size->width << " x "
          << size->height << "\n";
    return kOk;
  });
}

int cmdList(Context& c) {
  if (c.args.size() != 1) return kUsage;
  Document doc;
  if (!openScript(c, c.args[0], doc)) return kFailed;
  for (const IndexEntry& e : doc.index()) c.out << doc.display(e.name) << '\t' << e.code() << '\n';
  return kOk;
}

int cmdReorder(Context& c) {
  std::string target;
  if (c.args.size() == 3 && c.args[1] == "-o") {
    target = c.args[2];
  } else if (c.args.size() != 1) {
    return kUsage;
  }
  Document doc;
  if (!openScript(c, c.args[0], doc)) return kFailed;
  Edit edit;
  edit.reorderAll = true;
  doc.commit(edit);
  if (target == "-") {
    c.out << doc.diskBytes();
    return kOk;
  }
  if (!target.empty()) doc.setFileName(target);
  return writeDocument(c.ui, doc) ? kOk : kFailed;
}

int cmdShow(Context& c) {
  if (c.args.size() != 3) return kUsage;
  return onResource(c, [&](Document& doc, std::size_t, const BlockExtent& block) {
    c.out << toDisk(block.of(doc.text()), doc.form());
    return kOk;
  });
}

// dialog FILE NAME: the block the designer would store when closed without a change, in the
// file's form; the notices the designer would show go to standard error.
//
// dialog FILE NAME --controls: one line per control, tab-separated: the class (scriptClassName),
// the id as written, x, y, cx, cy in dialog units as read, and the style the resource compiler
// gives it.
int cmdDialog(Context& c) {
  const bool controls = c.args.size() == 3 && c.args[2] == "--controls";
  if (c.args.size() != 2 && !controls) return kUsage;
  const std::vector<std::string> withType{c.args[0], c.args[1], "DIALOG"};
  Context inner{withType, c.in, c.out, c.err, c.ui, c.nth};
  return onResource(inner, [&](Document& doc, std::size_t position, const BlockExtent& block) {
    const DialogReading reading = readDialog(block.of(doc.text()), DialogMode::Designer);
    for (const std::string& notice : reading.notices) c.err << doc.display(notice) << "\n";
    if (reading.failure != DialogFailure::None) {
      c.err << dialogFailureText(reading.failure) << "\n";
      return kFailed;
    }
    if (controls) {
      for (const DialogControl& control : reading.dialog.controls) {
        const DialogUnitRect units = unitsAsWritten(control);
        char style[16] = "?";
        if (control.compiledStyle)
          std::snprintf(style, sizeof style, "0x%08X",
                        static_cast<unsigned>(*control.compiledStyle));
        c.out << doc.display(scriptClassName(control)) << '\t'
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

// A count of at least 1 written in decimal digits.
bool parseCount(const std::string& text, std::size_t& count) {
  if (text.empty() || text.size() > 9) return false;
  count = 0;
  for (char ch : text) {
    if (ch < '0' || ch > '9') return false;
    count = count * 10 + static_cast<std::size_t>(ch - '0');
  }
  return count >= 1;
}

// The dialog NAME (arguments 1 and 2 of `c`), readable, then the command on its block.
int onDialog(Context& c,
             const std::function<int(Document&, std::size_t, std::string_view)>& command) {
  const std::vector<std::string> withType{c.args[0], c.args[1], "DIALOG"};
  Context inner{withType, c.in, c.out, c.err, c.ui, c.nth};
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

// dialog-props FILE NAME [--name N] [--caption C] [--pos X,Y] [--size W,H] [--style S]: the
// properties form filled with the options, checked as the form checks it, then stored (a new
// name reorders the script). Without options the form's fields are printed.
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
    const DialogPropertiesReading reading = readDialogProperties(block, doc.encoding());
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
    if (const auto fault = checkDialogProperties(edited, shown, doc.index(), doc.encoding())) {
      for (const DialogPropertyField& field : kDialogPropertyFields)
        if (field.id == fault->field) c.err << field.label << ' ';
      c.err << fault->message << "\n";
      return kFailed;
    }
    const auto edit =
        dialogPropertiesEdit(doc.text(), doc.index(), position, shown, edited, doc.encoding());
    return edit ? commitAndSave(c, doc, *edit) : kOk;
  });
}

void printRows(Context& c, const Document& doc, const std::vector<TabOrderRow>& rows) {
  for (std::size_t i = 0; i < rows.size(); ++i) {
    c.out << i + 1;
    for (const std::string& cell : rowCells(rows[i])) c.out << '\t' << doc.display(cell);
    c.out << '\n';
  }
}

// tab-order FILE NAME [ROW...] [--id ROW=ID]...: the body rewritten with its current rows in
// the order given (1-based, every row once), in the writer's form; --id gives the row numbered
// as before the reorder another id. Without ROW the order stays and the rows are printed (after
// the ids were changed, when some were).
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
    const auto edit = tabOrderEdit(doc.text(), doc.index(), position, edited);
    const int code = edit && (!order.empty() || !ids.empty()) ? commitAndSave(c, doc, *edit) : kOk;
    if (order.empty() && code == kOk) printRows(c, doc, edited.rows);
    return code;
  });
}

// The window flags alone, as written for a control that has no family of names.
std::string windowStyleText(std::uint32_t style) {
  std::string text = windowStyleNames(style);
  text.resize(text.size() < 3 ? 0 : text.size() - 3);  // no separator after the last name
  return text;
}

struct StyleWriter {
  std::string_view family;  // as given to `style text`
  std::string (*text)(std::uint32_t style);
};

constexpr std::array<StyleWriter, 9> kStyleWriters{{
    {"dialog", dialogStyleNames},
    {"button", buttonStyleNames},
    {"combobox", comboBoxStyleNames},
    {"edit", editStyleNames},
    {"listbox", listBoxStyleNames},
    {"scrollbar", scrollBarStyleNames},
    {"static", staticStyleNames},
    {"systreeview32", treeViewStyleNames},
    {"window", windowStyleText},
}};

// style parse TEXT | style text FAMILY NUMBER
int cmdStyle(Context& c) {
  if (c.args.size() == 2 && c.args[0] == "parse") {
    const auto style = readStyle(c.ui, c.args[1]);
    if (!style) return kFailed;
    std::array<char, 16> hex{};
    std::snprintf(hex.data(), hex.size(), "0x%08X", static_cast<unsigned>(*style));
    c.out << hex.data() << '\n';
    return kOk;
  }
  if (c.args.size() != 3 || c.args[0] != "text") return kUsage;
  const auto writer = std::find_if(kStyleWriters.begin(), kStyleWriters.end(),
                                   [&](const StyleWriter& w) { return w.family == c.args[1]; });
  const auto style = parseStyleNumber(c.args[2]);
  if (writer == kStyleWriters.end() || !style) return kUsage;
  c.out << writer->text(*style) << '\n';
  return kOk;
}

// The commands that take one resource by name and type, and so `--nth K`.
const std::set<std::string, std::less<>> kPicksOne{
    "delete", "dialog", "dialog-props", "image", "rename", "replace", "show", "tab-order"};

const std::map<std::string, std::function<int(Context&)>, std::less<>>& commands() {
  static const std::map<std::string, std::function<int(Context&)>, std::less<>> table{
      {"delete", cmdDelete},   {"dialog", cmdDialog},      {"dialog-props", cmdDialogProps},
      {"image", cmdImage},     {"tab-order", cmdTabOrder}, {"list", cmdList},
      {"new", cmdNew},         {"paste", cmdPaste},        {"rename", cmdRename},
      {"reorder", cmdReorder}, {"replace", cmdReplace},    {"show", cmdShow},
      {"style", cmdStyle},
  };
  return table;
}

}  // namespace

int runCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err) {
  if (args.empty() || args[0] == "-h" || args[0] == "--help") {
    (args.empty() ? err : out) << kUsageText;
    return args.empty() ? kUsage : kOk;
  }
  const auto command = commands().find(args[0]);
  if (command == commands().end()) {
    err << "Comando sconosciuto: " << args[0] << "\n" << kUsageText;
    return kUsage;
  }
  std::vector<std::string> rest(args.begin() + 1, args.end());
  std::size_t nth = 1;
  if (const auto at = std::find(rest.begin(), rest.end(), "--nth"); at != rest.end()) {
    if (!kPicksOne.contains(args[0]) || at + 1 == rest.end() || !parseCount(*(at + 1), nth)) {
      err << kUsageText;
      return kUsage;
    }
    rest.erase(at, at + 2);
  }
  CliInterface ui(err);
  Context context{rest, in, out, err, ui, nth};
  try {
    const int code = command->second(context);
    if (code == kUsage) err << kUsageText;
    out.flush();
    return code;
  } catch (const CommandError& e) {
    err << stopMessage(e.record()).value_or(e.what()) << '\n';
    return kFailed;
  } catch (const Refusal& e) {
    err << messageLines(e.what()) << '\n';
    return kFailed;
  }
}

}  // namespace kolvre
