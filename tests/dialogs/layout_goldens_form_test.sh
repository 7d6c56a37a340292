#!/usr/bin/env bash
# The goldens of tests/dialogs/layout/ read without Wine: every script has its .layout, with a
# block for each of its dialogs, and every block is a dialog line, then a client line (or an
# error), then one line per control, numbered from 0, of 17 fields (3 for a control the dialog
# manager did not make). The pairs of texts.layout sit either side of the edge.
set -uo pipefail
dir="$(cd "$(dirname "$0")/layout" && pwd)"
failed=0
for rc in "$dir"/*.rc; do
  golden="${rc%.rc}.layout"
  if [[ ! -f "$golden" ]]; then
    echo "FAILED: no golden for $rc" >&2
    failed=1
    continue
  fi
  dialogs=$(grep -cE '^[A-Za-z0-9_]+[[:space:]]+DIALOG(EX)?[[:space:]]' "$rc")
  awk -F'\t' -v dialogs="$dialogs" -v file="${golden##*/}" '
    function bad(why) { printf "FAILED: %s:%d: %s: %s\n", file, NR, why, $0 > "/dev/stderr"; wrong = 1 }
    function numbers(from, to,   i) { for (i = from; i <= to; i++) if ($i !~ /^-?[0-9]+$/) return 0; return 1 }
    $1 == "dialog" { if (NF != 3 || length($3) != 4 || $3 !~ /^[0-9a-f]+$/) bad("dialog line"); seen++; expect = "client"; next }
    expect == "client" {
      if ($1 == "error") { expect = "dialog"; next }
      if ($1 != "client" || NF != 5 || !numbers(2, 5)) bad("client line")
      expect = "control"; index_ = 0; next
    }
    expect == "control" && $3 == "missing" {
      if (NF != 3 || $1 != index_) bad("control line " index_)
      index_++; next
    }
    expect == "control" {
      if (NF != 17 || $1 != index_ || !numbers(2, 2) || !numbers(4, 9) || !numbers(11, 12) ||
          ($10 != "-" && !numbers(10, 10)) || length($13) != 8 || $13 !~ /^[0-9a-f]+$/ || !numbers(14, 17))
        bad("control line " index_)
      index_++; next
    }
    { bad("line out of place") }
    END {
      if (seen != dialogs) { printf "FAILED: %s: %d dialogs, the script has %d\n", file, seen, dialogs > "/dev/stderr"; wrong = 1 }
      exit wrong
    }' "$golden" || failed=1
done
# texts.rc holds its texts in pairs, the first control just wide enough for its text, the second
# just too narrow: so they must stay.
awk -F'\t' '
  $1 == "dialog" { dialog = $2 }
  $1 ~ /^[0-9]+$/ && $1 % 2 == 0 && $8 > $6 { printf "FAILED: texts.layout: %s %s: the text (%d) no longer fits (%d)\n", dialog, $2, $8, $6 > "/dev/stderr"; wrong = 1 }
  $1 ~ /^[0-9]+$/ && $1 % 2 == 1 && $8 <= $6 { printf "FAILED: texts.layout: %s %s: the text (%d) fits (%d)\n", dialog, $2, $8, $6 > "/dev/stderr"; wrong = 1 }
  END { exit wrong }' "$dir/texts.layout" || failed=1
((failed == 0)) && echo "goldens well formed"
exit "$failed"
