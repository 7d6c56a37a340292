#!/usr/bin/env bash
# Starts the real editor on a copy of the sample script under a virtual X server, takes a
# screenshot and checks that the list shows the sample's resources: the type column must show
# the icon (green), bitmap (red) and cursor (yellow) cells.
#
# Without one of the tools it needs (xvfb-run, import and convert, looked up on PATH) the test is
# skipped: exit status 77, CTest's SKIP_RETURN_CODE, with the reason printed. Where the test must
# run (CI sets KOLVRE_REQUIRE_GUI=1) a missing tool fails it instead.
set -euo pipefail
exe="$1" sample="$2" shot="$3"

source "$(dirname "$0")/../support/require_tools.sh"
require_tools "GUI smoke test" "xvfb and imagemagick" xvfb-run import convert

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp "$sample" "$work/sample.rc"
printf '[Parametri]\nMaximized=No\nTop=0\nLeft=0\nWidth=760\nHeight=520\n' > "$work/KOLVRE.INI"
cd "$work"

has_colour() {  # image colour -> true when some pixel of the list's type column has it
  local mean
  mean=$(convert "$1" -crop 30x400+140+55 +repage -fill black +opaque "$2" -fill white \
    -opaque "$2" -colorspace gray -format '%[fx:mean]' info:)
  awk -v m="$mean" 'BEGIN { exit !(m > 0) }'
}

KOLVRE_INI="$work/KOLVRE.INI" xvfb-run -a -n $((200 + $$ % 400)) -s "-screen 0 1024x700x24" bash -c '
  "$1" "$2" 2>/dev/null &
  pid=$!
  for i in $(seq 1 40); do
    sleep 0.25
    import -window root "$3.tmp.png" 2>/dev/null || continue
    mean=$(convert "$3.tmp.png" -crop 30x400+140+55 +repage -fill black +opaque "#00FF00" \
      -fill white -opaque "#00FF00" -colorspace gray -format "%[fx:mean]" info:)
    awk -v m="$mean" "BEGIN { exit !(m > 0) }" && break
  done
  sleep 0.5
  import -window root "$3.tmp.png"
  convert "$3.tmp.png" -crop 760x520+0+0 +repage "$3"
  rm -f "$3.tmp.png"
  kill "$pid"
' _ "$exe" "$work/sample.rc" "$shot"

for colour in "#00FF00" "#FF0000" "#FFFF00"; do
  if ! has_colour "$shot" "$colour"; then
    echo "the resource list in $shot shows no $colour type cell"
    exit 1
  fi
done
echo "1 passed, 0 failed"
