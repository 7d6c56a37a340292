#!/usr/bin/env bash
# The words check finds English words in the texts the editor shows, and lets through script
# keywords in capitals, comments, character literals, checks made while building and the
# command-line tool's usage lines.
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
CPP
printf 'void f() {\n  inform(ui, "Nuova icon");\n}\n' > "$work/bad/b.cpp"
printf 'const char* m = "Impossibile aprire il Folder";\n' > "$work/bad/c.h"
fail=0
out=$(perl "$check" "$work/good") || { echo "good texts refused:"; echo "$out"; fail=1; }
out=$(perl "$check" "$work/bad") && { echo "English words let through"; fail=1; }
for expected in 'b.cpp:2: "Nuova icon"' 'c.h:1: "Impossibile aprire il Folder"'; do
  grep -qF "$expected" <<<"$out" || { echo "missing finding: $expected"; echo "$out"; fail=1; }
done
[ $fail -eq 0 ] && echo "1 passed, 0 failed"
exit $fail
