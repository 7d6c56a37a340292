#!/usr/bin/env bash
# Starts the real editor on a copy of the sample script under a virtual X server, takes a
# screenshot and checks that the list shows the sample's resources: the type column must show
# the icon (green), bitmap (red) and cursor (yellow) cells.
#
# Without one of the tools it needs (Xvfb, import and convert, looked up on PATH) the test is
# skipped: exit status 77, CTest's SKIP_RETURN_CODE, with the reason printed. Where the test must
# run (CI sets KOLVRE_REQUIRE_GUI=1) a missing tool fails it instead.
set -euo pipefail
exe="$1" sample="$2" shot="$3"

source "$(dirname "$0")/../support/require_tools.sh"
source "$(dirname "$0")/../support/xserver.sh"
require_tools "GUI smoke test" "xvfb and imagemagick" Xvfb import convert

work="$(mktemp -d)"
trap 'stop_xserver; rm -rf "$work"' EXIT
cp "$sample" "$work/sample.rc"
printf '[Parametri]\nMaximized=No\nTop=0\nLeft=0\nWidth=760\nHeight=520\n' > "$work/KOLVRE.INI"
cd "$work"

has_colour() {  # image colour -> true when some pixel of the list's type column has it
  local mean
  mean=$(convert "$1" -crop 30x400+140+55 +repage -fill black +opaque "$2" -fill white \
    -opaque "$2" -colorspace gray -format '%[fx:mean]' info:)
  awk -v m="$mean" 'BEGIN { exit !(m > 0) }'
}

start_xserver "$work" 1024x700x24
KOLVRE_INI="$work/KOLVRE.INI" QT_QPA_PLATFORM=xcb "$exe" "$work/sample.rc" 2>/dev/null &
pid=$!
for _ in $(seq 1 160); do
  sleep 0.25
  import -window root "$shot.tmp.png" 2>/dev/null || continue
  has_colour "$shot.tmp.png" "#00FF00" && break
done
sleep 0.5
import -window root "$shot.tmp.png"
convert "$shot.tmp.png" -crop 760x520+0+0 +repage "$shot"
rm -f "$shot.tmp.png"
kill "$pid"
wait "$pid" 2>/dev/null || true

for colour in "#00FF00" "#FF0000" "#FFFF00"; do
  if ! has_colour "$shot" "$colour"; then
    echo "the resource list in $shot shows no $colour type cell"
    exit 1
  fi
done
echo "1 passed, 0 failed"
