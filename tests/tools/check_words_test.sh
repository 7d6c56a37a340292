#!/usr/bin/env bash
# The words check finds English words in the texts the editor shows, a label of one word too, and
# lets through script keywords in capitals, words Italian shares with English, keys and names in
# small letters, comments, character literals, checks made while building, the settings file's
# names, the platform's class names and the command-line tool's usage lines.
set -u
check="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/good" "$work/bad"
cat > "$work/good/a.cpp" <<'CPP'
// "the new cursor" in a comment
char quote = '"';
const char* kind = "Nuovo cursore";     // CURSOR below is a keyword
const char* line = "BMP CURSOR \"x.cur\"";
static_assert(true, "the table is in order");
const char* usage = "  delete FILE NOME TIPO     elimina la risorsa";
const char* status = "Icon: ";
const char* same[] = {"&File", "Menu", "Dialog", "Font:", "ID", "OK", "Tab", "Bitmap"};
const char* key = "text";               // a key of the JSON output
std::string editor = ui.readSetting("Edit", key, "");
writeNumber(ui, "Width", 3);
constexpr ClassMacro kClassMacros[] = {{"WC_EDIT", "Edit", 0x81}};
const char* missing = "Manca TXT nella sezione [Edit] del file";
const char* menu = "Apri il pop-up";
constexpr std::string_view kUsageText =
    "  version FILE NOME   scrive; la versione\n"
    "accelerators e version agiscono sulla risorsa\n";
CPP
printf 'void f() {\n  inform(ui, "Nuova icon");\n}\n' > "$work/bad/b.cpp"
printf 'const char* m = "Impossibile aprire il Folder";\n' > "$work/bad/c.h"
cat > "$work/bad/d.cpp" <<'CPP'
add.add("Autosize", MenuCommand::AutoSize, true);
{PropertyFieldId::Caption, "Caption:", "", false};
const char* save = "&Save\tCTRL-S";
const char* version = "accelerators e version agiscono";  // commands only in the usage
CPP
fail=0
out=$(perl "$check" "$work/good") || { echo "good texts refused:"; echo "$out"; fail=1; }
out=$(perl "$check" "$work/bad") && { echo "English words let through"; fail=1; }
for expected in 'b.cpp:2: "Nuova icon"' 'c.h:1: "Impossibile aprire il Folder"' \
                'd.cpp:1: "Autosize"' 'd.cpp:2: "Caption:"' 'd.cpp:3: "&Save\tCTRL-S"' \
                'd.cpp:4: "accelerators e version agiscono"'; do
  grep -qF "$expected" <<<"$out" || { echo "missing finding: $expected"; echo "$out"; fail=1; }
done
[ $fail -eq 0 ] && echo "1 passed, 0 failed"
exit $fail
