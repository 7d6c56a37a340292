# Sourced by the tests of the real program: `start_xserver FOLDER SIZE` starts a virtual X server
# (Xvfb) of one screen of SIZE (as 1024x700x24), exports DISPLAY and returns once the server takes
# connections; `stop_xserver` (for the caller's exit trap) stops it. The server picks its display number
# itself (-displayfd: it takes the first whose socket it can bind and writes the number once it
# listens), so two tests or two runs at once never meet on one display, and no client starts
# before the server is there to answer. No authority file: a local server takes local clients.
start_xserver() {
  local folder="$1" size="$2" number=""
  : >"$folder/display"
  Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 "$size" 3>"$folder/display" \
    2>"$folder/xvfb.err" &
  KOLVRE_XSERVER_PID=$!
  for _ in $(seq 1 120); do
    number=$(tr -dc '0-9' <"$folder/display")
    [[ -n "$number" ]] && break
    kill -0 "$KOLVRE_XSERVER_PID" 2>/dev/null || break
    sleep 0.25
  done
  if [[ -z "$number" ]]; then
    echo "FAILED: the virtual X server did not start" >&2
    cat "$folder/xvfb.err" >&2
    exit 1
  fi
  unset XAUTHORITY
  export DISPLAY=":$number"
}

stop_xserver() {
  [[ -z "${KOLVRE_XSERVER_PID:-}" ]] && return 0
  kill "$KOLVRE_XSERVER_PID" 2>/dev/null || true
  wait "$KOLVRE_XSERVER_PID" 2>/dev/null || true
}
