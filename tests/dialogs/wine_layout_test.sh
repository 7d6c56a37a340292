#!/usr/bin/env bash
# The layouts of the test dialogs by Wine's dialog manager (tests/dialogs/layout/*.layout) are
# what tools/wine-layout makes of them today, and the tool keeps going past what it cannot lay
# out: a dialog the system refuses prints "error" and the next one follows; a resource file cut
# short prints what came before and fails.
#
# Without Wine (or the MinGW compiler, xvfb, Wine's fonts) the test is skipped: exit status 77,
# with the reason. Where it must run (KOLVRE_REQUIRE_WINE=1) a missing tool fails it instead.
set -uo pipefail
tools="$(cd "$(dirname "$0")/../../tools/wine-layout" && pwd)"

work="$(mktemp -d)"
trap 'WINEPREFIX="$work/wine/prefix" wineserver -k >/dev/null 2>&1; rm -rf "$work"' EXIT
export KOLVRE_WINE_KEEP="$work/wine"

"$tools/refresh-goldens" --check >"$work/check" 2>&1
status=$?
if ((status == 77)); then
  if [[ "${KOLVRE_REQUIRE_WINE:-}" == 1 ]]; then
    echo "FAILED: $(cat "$work/check"); KOLVRE_REQUIRE_WINE=1 requires the layout goldens check" \
      "(install wine wine64 fonts-wine gcc-mingw-w64-x86-64 xvfb xauth)" >&2
    exit 1
  fi
  echo "SKIPPED: $(cat "$work/check") (KOLVRE_REQUIRE_WINE=1 makes this a failure)" >&2
  exit 77
fi
failed=0
fail() {
  echo "FAILED: $*" >&2
  failed=1
}
((status == 0)) || fail "the goldens are stale:"$'\n'"$(cat "$work/check")"

# A dialog with a control of a class number the system does not know, which it refuses to
# create, between two dialogs it makes.
cat >"$work/edge.rc" <<'RC'
LANGUAGE 9, 1
A DIALOG 0, 0, 53, 23
BEGIN
    LTEXT "a", 2, 3, 3, 21, 9
END
B DIALOGEX 0, 0, 51, 21
FONT 8, "MS Shell Dlg", 0, 0, 1
BEGIN
    CONTROL "b", 1, 0x99, 0x50000000, 3, 3, 21, 9
END
C DIALOG 0, 0, 55, 25
BEGIN
    LTEXT "c", 3, 5, 5, 23, 9
END
RC
x86_64-w64-mingw32-windres --preprocessor=cpp -J rc -O res -i "$work/edge.rc" -o "$work/edge.res"
"$tools/run" "$work/edge.res" >"$work/edge.out" 2>"$work/edge.err" || fail "run on edge.res: $?"
expected=$'dialog\tA\t0409\nclient\t106\t46\t8\t16\n0\t2\tStatic\t6\t6\t42\t18
dialog\tB\t0409\nerror\ndialog\tC\t0409\nclient\t110\t50\t8\t16\n0\t3\tStatic\t10\t10\t46\t18'
got="$(cut -f1-7 "$work/edge.out" | sed 's/^error\t.*/error/')"
[[ "$got" == "$expected" ]] || fail "a refused dialog: expected"$'\n'"$expected"$'\n'"got"$'\n'"$got"

# The same file cut inside the header of its third resource.
head -c 250 "$work/edge.res" >"$work/cut.res"
"$tools/run" "$work/cut.res" >"$work/cut.out" 2>"$work/cut.err"
status=$?
((status == 1)) || fail "a file cut short: exit status $status, not 1"
grep -q "runs past the end" "$work/cut.err" || fail "a file cut short: no message ($(cat "$work/cut.err"))"
[[ "$(grep -c '^dialog' "$work/cut.out")" == 2 ]] ||
  fail "a file cut short: the dialogs before the cut are missing:"$'\n'"$(cat "$work/cut.out")"

((failed == 0)) && echo "3 passed, 0 failed"
exit "$failed"
