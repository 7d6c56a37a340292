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
    "                            manifesti e informazioni di versione); una risorsa che il\n"
    "                            compilatore salta (#if 0, #ifdef APSTUDIO_INVOKED, ...) ha il\n"
    "                            quarto campo inattivo, il terzo vuoto se non ha lingua\n"
    "  reorder FILE [-o OUT]     riordina le risorse per tipo e nome (-o -: sullo standard\n"
    "                            output)\n"
    "  show FILE NOME TIPO       scrive il testo della risorsa (TIPO: DIALOG o D, ...)\n"
    "  rename FILE NOME TIPO NUOVONOME\n"
    "                            rinomina la risorsa\n"
    "  delete FILE NOME TIPO     elimina la risorsa\n"
    "  new FILE TIPO NOME [--file F]\n"
    "                            aggiunge una nuova risorsa (24, VERSIONINFO, BITMAP, CURSOR,\n"
    "                            DIALOG, ICON, MENU, MENUEX, ACCELERATORS, RCDATA, HTML;\n"
    "                            STRINGTABLE, il cui NOME è il primo ID), scritta come le\n"
    "                            risorse vicine; --file: il file che nomina (24, RCDATA,\n"
    "                            HTML; per HTML è obbligatorio)\n"
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
    "  dialog FILE NOME --layout\n"
    "                            scrive il dialog come Windows lo dispone, in pixel: \"client\",\n"
    "                            larghezza, altezza e unità base del font, poi per controllo\n"
    "                            indice, id, classe, x, y, larghezza, altezza\n"
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
    "                            spazi per livello: testo (la scorciatoia dopo \\t; gli escape\n"
    "                            come in strings), id, opzioni, separati da tabulazioni\n"
    "  menu-set FILE NOME VOCE [--text T] [--id ID] [--flags F,F...]\n"
    "           [--type T] [--state S] [--help-id H]\n"
    "                            cambia la voce VOCE del menu NOME: VOCE è il suo ID (come\n"
    "                            scritto o per valore) o il percorso dei testi senza & "
    "(File/Apri);\n"
    "                            T come lo scrive menu: lo stesso testo lascia lo script com'è;\n"
    "                            ID un numero o un simbolo definito; F fra GRAYED, INACTIVE,\n"
    "                            CHECKED, MENUBREAK, MENUBARBREAK, HELP e, nei MENUEX, DEFAULT\n"
    "                            (vuoto: nessuna); --type, --state e --help-id come scritti nei\n"
    "                            MENUEX\n"
    "  accelerators FILE NOME    scrive i tasti della tabella NOME: tasto, id, opzioni, separati\n"
    "                            da tabulazioni\n"
    "  accelerator-set FILE NOME RIGA [--key TASTO] [--id ID]\n"
    "                            cambia il tasto e l'id della riga RIGA (da 1) della tabella\n"
    "                            NOME; TASTO come lo scrive accelerators (Ctrl+Maiusc+O,\n"
    "                            Ctrl+Shift+O, F5, \"^C\"), scritto come la riga scrive i tasti;\n"
    "                            ID: un numero o un simbolo definito\n"
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
    "                            --lang, l'unico blocco; una CHIAVE in maiuscole che nomina un\n"
    "                            campo fisso (FILEVERSION, PRODUCTVERSION, FILEFLAGSMASK,\n"
    "                            FILEFLAGS, FILEOS, FILETYPE, FILESUBTYPE) cambia quel campo:\n"
    "                            quattro numeri per le versioni (1.0.0.1), un numero o nomi\n"
    "                            uniti da | per gli altri (VS_FF_DEBUG | VS_FF_PATCHED)\n"
    "  check FILE... [--json]    controlla gli script: una riga per problema, con file, riga,\n"
    "                            risorsa (codice del tipo e nome), lingua, controllo, regola e\n"
    "                            messaggio, separati da tabulazioni (- per lingua o controllo\n"
    "                            assenti); --json: un array JSON, un oggetto per problema con\n"
    "                            gli stessi campi e la gravità (errore o avviso). Esce con 0\n"
    "                            senza problemi, 1 con problemi, 2 se un file non si legge\n"
    "  find FILE TESTO [--json]  cerca TESTO nelle risorse, senza distinguere maiuscole e\n"
    "                            minuscole: nomi, titoli e testi dei dialog, stringhe, voci dei\n"
    "                            menu, valori delle informazioni di versione e ID (un numero\n"
    "                            trova anche l'ID di un simbolo che vale quel numero); una riga\n"
    "                            per risultato: risorsa (codice del tipo e nome), posto, testo\n"
    "                            intorno, separati da tabulazioni; --json: un array JSON con\n"
    "                            anche lingua, riga e posizione in byte. Esce con 0 se trova\n"
    "                            qualcosa, 1 se non trova nulla\n"
    "  symbols FILE [--json]     elenca i simboli (#define dello script e dei file di\n"
    "                            intestazione che include fra virgolette), uno per riga: nome,\n"
    "                            valore come scritto, file:riga della definizione, numero di\n"
    "                            usi e segni (non usato; stesso valore di altri simboli dello\n"
    "                            stesso tipo, - se nessuno), separati da tabulazioni; --json:\n"
    "                            un array JSON, un oggetto per definizione con gli usi (file,\n"
    "                            riga, tipo)\n"
    "  symbol-rename FILE VECCHIO NUOVO\n"
    "                            rinomina il simbolo VECCHIO in NUOVO in ogni uso e\n"
    "                            definizione, nello script e nei file di intestazione, salvati\n"
    "                            prima dello script; se uno non si può scrivere nessun file\n"
    "                            cambia\n"
    "  tree FILE                 scrive l'albero della sintassi dello script, un nodo per riga:\n"
    "                            tipo, riga, posizione in byte e testo come scritto\n"
    "  style parse TESTO         scrive il numero dello stile (0x e otto cifre esadecimali)\n"
    "  style text FAMIGLIA NUMERO\n"
    "                            scrive lo stile NUMERO (0x: esadecimale, 0: ottale) come testo\n"
    "                            (FAMIGLIA: dialog, button, combobox, edit, listbox, scrollbar,\n"
    "                            static, systreeview32, window)\n"
    "Con --nth K, show, rename, delete, replace, image, dialog, dialog-props, tab-order, menu,\n"
    "menu-set, accelerators, accelerator-set, version e version-set agiscono sulla K-esima\n"
    "risorsa con quel nome e tipo (1 la prima): prima quelle attive, poi le inattive, nell'ordine\n"
    "del testo.\n";

// The commands that take one resource by name and type, and so `--nth K`.
const std::set<std::string, std::less<>> kPicksOne{
    "accelerators", "accelerator-set", "delete", "dialog",  "dialog-props", "image",
    "menu",         "menu-set",        "rename", "replace", "show",         "tab-order",
    "version",      "version-set"};

const std::map<std::string, std::function<int(Context&)>, std::less<>>& commands() {
  static const std::map<std::string, std::function<int(Context&)>, std::less<>> table{
      {"accelerators", cmdAccelerators},
      {"accelerator-set", cmdAcceleratorSet},
      {"check", cmdCheck},
      {"delete", cmdDelete},
      {"dialog", cmdDialog},
      {"dialog-props", cmdDialogProps},
      {"find", cmdFind},
      {"image", cmdImage},
      {"tab-order", cmdTabOrder},
      {"list", cmdList},
      {"menu", cmdMenu},
      {"menu-set", cmdMenuSet},
      {"new", cmdNew},
      {"paste", cmdPaste},
      {"rename", cmdRename},
      {"reorder", cmdReorder},
      {"replace", cmdReplace},
      {"show", cmdShow},
      {"strings", cmdStrings},
      {"string-set", cmdStringSet},
      {"style", cmdStyle},
      {"symbols", cmdSymbols},
      {"symbol-rename", cmdSymbolRename},
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
