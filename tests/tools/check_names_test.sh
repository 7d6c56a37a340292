#!/usr/bin/env bash
# The names check finds what it is for and lets through what it must: names in capitals and
# type-prefixed names in code fail; the same words in strings, comments and preprocessor lines,
# style constants and the C library's names pass.
set -u
check="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/good" "$work/bad"
cat > "$work/good/a.cpp" <<'CPP'
#define KEEP_ME 1
#include <cerrno>
// SAVESCRIPT was the old name; aControls too.
/* MAKEDLG
   over lines */
const char* text = "POPMSG aControls";
char quote = '\'';
int f(FILE* file) { return errno == EINTR ? WS_VISIBLE : SIGXFSZ; }
int controls = 0, nothing = 0, lower = 0;
CPP
printf 'int saveScript() { return SAVESCRIPT(); }\n' > "$work/bad/b.cpp"
printf 'struct S {\n  int nTop = 0;\n};\n' > "$work/bad/c.h"
fail=0
out=$("$check" "$work/good") || { echo "good code refused:"; echo "$out"; fail=1; }
out=$("$check" "$work/bad") && { echo "bad code let through"; fail=1; }
for expected in "b.cpp:1: SAVESCRIPT" "c.h:2: nTop"; do
  grep -q "$expected" <<<"$out" || { echo "missing finding: $expected"; echo "$out"; fail=1; }
done
[ $fail -eq 0 ] && echo "1 passed, 0 failed"
exit $fail
