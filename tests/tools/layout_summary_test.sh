#!/usr/bin/env bash
# The layout summary rounds the plain rule as MulDiv does (halves away from zero, negative
# positions too), so that a control on the rule is never counted off it; it names the styles that
# change a control's size, counts each font's base units once per dialog, and leaves out the
# controls the dialog manager did not make and the dialogs it refused.
set -u
summary="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
t=$'\t'
{
  printf 'dialog\tA\t0409\nclient\t300\t200\t6\t13\nfont\t8\t400\t0\t1\tMS Shell Dlg\tTahoma\n'
  # On the rule: 1.5 -> 2, 4.875 -> 5 (y 3 at 13/8), -4.5 -> -5, 22.5 -> 23, -1.625 -> -2.
  printf '0\t1\tStatic\t2\t5\t23\t-2\t0\t13\t13\t6\t7\t50020000\t1\t3\t15\t-1\n'
  printf '1\t2\tStatic\t-5\t0\t6\t13\t0\t13\t13\t6\t7\t50020000\t-3\t0\t4\t8\n'
  # Off it: a drop-down list one line high, an icon at its image's size, two edits narrowed.
  printf '2\t3\tComboBox\t11\t11\t150\t21\t0\t13\t-\t6\t7\t50210003\t7\t7\t100\t80\n'
  printf '3\t4\tStatic\t11\t11\t32\t32\t0\t13\t-\t6\t7\t50000243\t7\t7\t13\t11\n'
  printf '4\t5\tEdit\t11\t11\t49\t21\t0\t13\t-\t6\t7\t50810080\t7\t7\t43\t13\n'
  printf '5\t6\tEdit\t11\t11\t40\t21\t0\t13\t-\t6\t7\t50810080\t7\t7\t43\t13\n'
  printf '6\t7\tmissing\n'
  printf 'dialog\tB\t0409\nerror\t0\n'
  printf 'dialog\tC\t0410\nclient\t200\t100\t6\t13\nfont\t8\t400\t0\t1\tMS Shell Dlg\tTahoma\n'
  printf 'dialog\tD\t0410\nclient\t200\t100\t8\t16\nfont\t-\t-\t-\t-\t-\tSystem\n'
  printf '0\t1\tButton\t14\t16\t102\t30\t0\t16\t-\t8\t7\t50010001\t7\t8\t51\t15\n'
} >"$work/a.layout"

perl "$summary" "$work/a.layout" >"$work/out" 2>&1 || {
  echo "FAILED: the summary failed:" && cat "$work/out"
  exit 1
}
failed=0
expect() {  # a line the summary must print, whole, up to spaces
  if ! sed 's/  */ /g' "$work/out" | grep -qxF -- "$1"; then
    echo "FAILED: no line \"$1\" in:" && cat "$work/out"
    failed=1
  fi
}
expect "1 scripts, 4 dialogs (1 not created), 7 controls (1 not created)"
expect " MS Shell Dlg 8 6x13 (2) [Tahoma]"
expect " (no FONT: the system font) 8x16 (1) [System]"
expect "Controls whose rectangle is not the plain rule: 4 of 7"
expect " Edit 2 of 2 (w 2x -25..-16)"
expect " ComboBox CBS_DROPDOWNLIST 1 of 1 (h 1x -109)"
expect " Static SS_ICON | SS_REALSIZECONTROL | SS_CENTERIMAGE 1 of 1 (w 1x +12; h 1x +14)"
if grep -q "Button\|Static SS_LEFT" "$work/out"; then
  echo "FAILED: a control on the plain rule is counted off it:" && cat "$work/out"
  failed=1
fi
((failed == 0)) && echo "8 passed, 0 failed"
exit "$failed"
