#!/usr/bin/env bash
# Recovery after a crash, with the real editor under a virtual X server: a rename typed into it
# (xdotool), the recovery file awaited and checked, the editor killed with SIGKILL and left a
# zombie (its parent never waits for it, so its process id still exists); started again on the
# script, the question answered "Sì" (Enter, its default button) and the script saved (F9): the
# file saved must be the renamed script, and the recovery file gone.
#
# XDG_STATE_HOME and XDG_RUNTIME_DIR point into the test's own folder. Without one of the tools
# it needs (Xvfb, xdotool) the test is skipped: exit status 77, with the reason printed;
# where the GUI tests must run (KOLVRE_REQUIRE_GUI=1, as in CI) that is a failure instead.
set -euo pipefail

if [[ "${1:-}" == --inside ]]; then
  # Within the X server: $2 the program, $3 the test's folder.
  exe="$2" work="$3"
  script="$work/s.rc" state="$work/state/kolvre"
  fail() {
    echo "FAILED: $*" >&2
    exit 1
  }
  # Waits (at most 40 s: a loaded machine starts the editor slowly) for a visible window whose
  # title is $1; prints its id.
  window() {
    local id
    for _ in $(seq 1 160); do
      id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) || true
      if [[ -n "$id" ]]; then
        echo "$id"
        return 0
      fi
      sleep 0.25
    done
    return 1
  }
  keys() {  # window id, then keys
    local id="$1"
    shift
    xdotool windowfocus --sync "$id"
    sleep 0.3
    xdotool key --delay 60 "$@"
  }
  recovery_files() { find "$state" -name '*.rec' 2>/dev/null; }
  pid="" parent=""
  trap '[[ -z "$pid" ]] || kill -KILL "$pid" 2>/dev/null || true
        [[ -z "$parent" ]] || kill -KILL "$parent" 2>/dev/null || true' EXIT
  # The first editor's parent starts it and then only sleeps: it never waits for it.
  sh -c '"$1" "$2" 2>"$3" & echo $! >"$4"; exec sleep 600' sh "$exe" "$script" \
    "$work/first.err" "$work/first.pid" &
  parent=$!
  for _ in $(seq 1 80); do
    [[ -s "$work/first.pid" ]] && break
    sleep 0.25
  done
  pid=$(cat "$work/first.pid")
  main=$(window "KOLV Software Resource Editor") || fail "the editor's window did not open"
  sleep 0.5
  keys "$main" ctrl+r
  sleep 0.5
  prompt=$(xdotool getwindowfocus)
  keys "$prompt" ctrl+a BackSpace B E T A Return
  for _ in $(seq 1 80); do
    [[ -n "$(recovery_files)" ]] && break
    sleep 0.25
  done
  file=$(recovery_files)
  [[ -n "$file" ]] || fail "no recovery file in $state 20 s after the rename"
  kill -KILL "$pid"
  for _ in $(seq 1 80); do
    [[ "$(cut -d' ' -f3 "/proc/$pid/stat" 2>/dev/null)" == Z ]] && break
    sleep 0.25
  done
  [[ "$(cut -d' ' -f3 "/proc/$pid/stat" 2>/dev/null)" == Z ]] ||
    fail "the killed editor $pid is not a zombie"
  [[ -f "$file" ]] || fail "the recovery file went with the editor"
  [[ "$(head -n 1 "$file")" == "KOLVRE-RECOVERY 1" ]] || fail "$file is no recovery file"
  grep -qx "$script" "$file" || fail "$file does not name $script"
  grep -qx "pid $pid" "$file" || fail "$file does not name the editor killed"
  [[ "$(tail -n 1 "$file")" == end ]] || fail "$file has no end line"
  cmp -s "$script" "$work/original.rc" || fail "the script changed on disk without a save"
  dead=$pid

  "$exe" "$script" 2>"$work/second.err" &
  pid=$!
  question=$(window "Attenzione") || fail "no question at the second start"
  keys "$question" Return
  main=$(window "KOLV Software Resource Editor") || fail "the editor's window did not open again"
  keys "$main" F9
  for _ in $(seq 1 80); do
    cmp -s "$script" "$work/expected.rc" && [[ -z "$(recovery_files)" ]] && break
    sleep 0.25
  done
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  if ! cmp -s "$script" "$work/expected.rc"; then
    diff "$work/expected.rc" "$script" >&2 || true
    fail "the script saved after the recovery is not the renamed one"
  fi
  [[ -z "$(recovery_files)" ]] || fail "the recovery file is still there after the save"
  [[ -e "/proc/$dead" ]] || fail "the zombie was waited for before the end of the test"
  exit 0
fi

exe="$1"
source "$(dirname "$0")/../support/require_tools.sh"
source "$(dirname "$0")/../support/xserver.sh"
require_tools "GUI recovery test" "xvfb and xdotool" Xvfb xdotool

work="$(mktemp -d)"
trap 'stop_xserver; rm -rf "$work"' EXIT
mkdir -m 700 "$work/state" "$work/runtime"
printf 'ALFA DIALOG 0, 0, 120, 60\r\n{\r\n}\r\n' >"$work/s.rc"
cp "$work/s.rc" "$work/original.rc"
printf 'BETA DIALOG 0, 0, 120, 60\r\n{\r\n}\r\n' >"$work/expected.rc"
printf '[Parametri]\nMaximized=No\nTop=0\nLeft=0\nWidth=760\nHeight=520\n' >"$work/KOLVRE.INI"

status=0
start_xserver "$work" 1024x700x24
KOLVRE_INI="$work/KOLVRE.INI" XDG_STATE_HOME="$work/state" XDG_RUNTIME_DIR="$work/runtime" \
  QT_QPA_PLATFORM=xcb bash "$0" --inside "$exe" "$work" || status=$?
if ((status != 0)); then
  for log in first second; do
    [[ -s "$work/$log.err" ]] && sed "s/^/$log run: /" "$work/$log.err" >&2
  done
  exit "$status"
fi
echo "1 passed, 0 failed"
