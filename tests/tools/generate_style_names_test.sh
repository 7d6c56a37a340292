#!/usr/bin/env bash
# The vocabulary's check finds what it is for: a value changed by hand, a name dropped and a name
# the headers lack are each reported by name; without the headers the check is skipped (77).
set -u
tool="$1"
table="$2"
headers="${3:-/usr/share/mingw-w64/include}"
[ -r "$headers/commctrl.h" ] || { echo "SKIP: $headers/commctrl.h missing"; exit 77; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
sed -e 's/{"LBS_WANTKEYBOARDINPUT", 0x00000400}/{"LBS_WANTKEYBOARDINPUT", 0x00004000}/' \
    -e '/{"TVS_HASLINES",/d' \
    -e 's/^\( *\){"DS_CENTER",/\1{"DS_CENTRE", 0x00000800},\n\1{"DS_CENTER",/' "$table" > "$work/bad.h"
fail=0
out=$(perl "$tool" --check "$work/bad.h" "$headers") && { echo "a wrong table let through"; fail=1; }
for expected in "LBS_WANTKEYBOARDINPUT: 0x00004000 in the table, 0x00000400 in winuser.h" \
                "TVS_HASLINES: missing from the table" "DS_CENTRE: in the table, not among"; do
  grep -qF "$expected" <<<"$out" || { echo "missing finding: $expected"; echo "$out"; fail=1; }
done
perl "$tool" --check "$table" "$work/none" >/dev/null
[ $? -eq 77 ] || { echo "missing headers not a skip"; fail=1; }
[ $fail -eq 0 ] && echo "1 passed, 0 failed"
exit $fail
