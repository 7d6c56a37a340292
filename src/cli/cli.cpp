#include "cli/cli.h"

#include <algorithm>
#include <functional>
#include <iostream>
#include <map>
#include <set>

#include "base/version.h"
#include "cli/commands.h"
#include "messages/error_record.h"
#include "messages/messages.h"

namespace kolvre {

using namespace cli;

namespace {

constexpr std::string_view kUsageText =
    "uso: kolvre-cli COMANDO FILE [ARGOMENTI]\n"
    "     kolvre-cli --help | -h | --version\n"
    "  list FILE [--six]         elenca le risorse: nome, tabulazione, codice del tipo e, se ha\n"
    "                            una lingua, tabulazione e lingua (--six: solo dialog, immagini,\n"
    "                            manifesti e informazioni di versione)\n"
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
    "                            (numerata come prima del riordino); le righe del preprocessore\n"
    "                            restano al loro posto; senza RIGA scrive le righe:\n"
    "                            numero, testo, id, classe, x, y, cx, cy, separati da\n"
    "                            tabulazioni\n"
    "  menu FILE NOME            scrive le voci del menu NOME (MENU o MENUEX), rientrate di due\n"
    "                            spazi per livello: testo (la scorciatoia dopo \\t), id, opzioni,\n"
    "                            separati da tabulazioni\n"
    "  accelerators FILE NOME    scrive i tasti della tabella NOME: tasto, id, opzioni, separati\n"
    "                            da tabulazioni\n"
    "  strings FILE [--raw]      elenca le stringhe, una per riga: lingua, ID come scritto,\n"
    "                            testo, separati da tabulazioni; il testo è quello che la\n"
    "                            stringa mostra (nella code page dello script), con \\\\ per la\n"
    "                            barra rovesciata, \\n \\r \\t per a capo, ritorno e tabulazione,\n"
    "                            \\xhh per gli altri caratteri di controllo; --raw lo scrive\n"
    "                            senza escape\n"
    "  string-set FILE ID TESTO [--lang LINGUA]\n"
    "                            cambia il testo della stringa ID (come scritto o per valore);\n"
    "                            TESTO come lo scrive strings (senza --raw): lo stesso testo\n"
    "                            lascia lo script com'è; --lang sceglie la lingua quando l'ID è\n"
    "                            in più lingue\n"
    "  version FILE NOME         scrive i campi fissi delle informazioni di versione NOME, poi\n"
    "                            blocco, chiave e valore di ogni VALUE\n"
    "  version-set FILE NOME CHIAVE VALORE [--lang BLOCCO]\n"
    "                            cambia il valore CHIAVE del blocco BLOCCO di StringFileInfo\n"
    "                            (040904b0, o la sua lingua: en-US), o lo aggiunge; senza\n"
    "                            --lang, l'unico blocco\n"
    "  check FILE... [--json]    controlla gli script: una riga per problema, con file, riga,\n"
    "                            risorsa (codice del tipo e nome), lingua, controllo, regola e\n"
    "                            messaggio, separati da tabulazioni (- per lingua o controllo\n"
    "                            assenti); --json: un array JSON, un oggetto per problema con\n"
    "                            gli stessi campi e la gravità (errore o avviso). Esce con 0\n"
    "                            senza problemi, 1 con problemi, 2 se un file non si legge\n"
    "  tree FILE                 scrive l'albero della sintassi dello script, un nodo per riga:\n"
    "                            tipo, riga, posizione in byte e testo come scritto\n"
    "  style parse TESTO         scrive il numero dello stile (0x e otto cifre esadecimali)\n"
    "  style text FAMIGLIA NUMERO\n"
    "                            scrive lo stile NUMERO (0x: esadecimale, 0: ottale) come testo\n"
    "                            (FAMIGLIA: dialog, button, combobox, edit, listbox, scrollbar,\n"
    "                            static, systreeview32, window)\n"
    "Con --nth K, show, rename, delete, replace, image, dialog, dialog-props, tab-order, menu,\n"
    "accelerators, version e version-set agiscono sulla K-esima risorsa con quel nome e tipo\n"
    "(1 la prima).\n";

// The commands that take one resource by name and type, and so `--nth K`.
const std::set<std::string, std::less<>> kPicksOne{
    "accelerators", "delete",  "dialog", "dialog-props", "image",   "menu",
    "rename",       "replace", "show",   "tab-order",    "version", "version-set"};

const std::map<std::string, std::function<int(Context&)>, std::less<>>& commands() {
  static const std::map<std::string, std::function<int(Context&)>, std::less<>> table{
      {"accelerators", cmdAccelerators},
      {"check", cmdCheck},
      {"delete", cmdDelete},
      {"dialog", cmdDialog},
      {"dialog-props", cmdDialogProps},
      {"image", cmdImage},
      {"tab-order", cmdTabOrder},
      {"list", cmdList},
      {"menu", cmdMenu},
      {"new", cmdNew},
      {"paste", cmdPaste},
      {"rename", cmdRename},
      {"reorder", cmdReorder},
      {"replace", cmdReplace},
      {"show", cmdShow},
      {"strings", cmdStrings},
      {"string-set", cmdStringSet},
      {"style", cmdStyle},
      {"tree", cmdTree},
      {"version", cmdVersion},
      {"version-set", cmdVersionSet},
  };
  return table;
}

}  // namespace

int runCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err, const MeasureSource& measure) {
  if (args.empty() || args[0] == "-h" || args[0] == "--help") {
    (args.empty() ? err : out) << kUsageText;
    return args.empty() ? kUsage : kOk;
  }
  if (args[0] == "--version") {
    out << "kolvre-cli (KOLVRE) " << kProgramVersion << '\n';
    return kOk;
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
  Context context{rest, in, out, err, ui, nth, measure};
  try {
    const int code = command->second(context);
    if (code == kUsage && !context.reported) err << kUsageText;
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
