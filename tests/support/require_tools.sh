# Sourced by the tests of the real program: `require_tools TEST PACKAGES TOOL...` returns when
# every tool is on the PATH; else it skips the test (exit 77, with the reason) or, under
# KOLVRE_REQUIRE_GUI=1 as in CI, fails it.
require_tools() {
  local test="$1" packages="$2"
  shift 2
  local missing=() tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
  done
  ((${#missing[@]} == 0)) && return 0
  if [[ "${KOLVRE_REQUIRE_GUI:-}" == 1 ]]; then
    echo "FAILED: not found on PATH: ${missing[*]}; KOLVRE_REQUIRE_GUI=1 requires the $test" \
      "(install $packages)" >&2
    exit 1
  fi
  echo "SKIPPED: not found on PATH: ${missing[*]} (install $packages to run the $test;" \
    "KOLVRE_REQUIRE_GUI=1 makes this a failure)" >&2
  exit 77
}
