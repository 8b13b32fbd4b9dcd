#!/usr/bin/env bash
# Sets everything up on this Debian machine and runs every test: the native
# unit tests (with sanitizers), the Windows tests under Wine, and the smoke run
# of the real editor.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
cd "$top"
# The tests run on a display of their own: windows they open must not land on
# a user's desktop, and a caller's display may not be one we can reach. It is
# the build folder's own Xvfb, on a number it found free (so another X server
# on the machine, or a second checkout tested at the same time, never meets
# it); WAVORA_TEST_DISPLAY names a display to use instead.
if [ -n "${WAVORA_TEST_DISPLAY:-}" ]; then export DISPLAY="$WAVORA_TEST_DISPLAY"; else unset DISPLAY; fi
"$top/tools/setup.sh" "$top/build/mingw"
DISPLAY="$(cat "$top/build/mingw/display")"
export DISPLAY
echo "test: display $DISPLAY"

echo "== native"
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native -j2

echo "== fuzz"
# Each parser's harness for a few seconds over its committed corpus, so that
# an input that once crashed it is tried again on every run.
"$top/tools/fuzz.sh" -t 3

echo "== windows (under Wine)"
# shellcheck source=tools/env.sh
source "$top/tools/env.sh" "$top/build/mingw"
cmake --preset mingw >/dev/null
cmake --build --preset mingw
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
# Wine's server and services answer before the first test; a test program
# that Wine then fails to start is retried once by the build's wine-run.sh,
# which says so, while a test that fails is reported as it is.
"$top/tools/wine-ready.sh" || { echo "test: Wine does not start on this machine" >&2; exit 1; }
ctest --preset mingw -j1

echo "== smoke"
"$top/tools/run.sh" --smoke

echo "== package"
# The release package, built once and listed: it must hold what a user unpacks.
"$top/tools/package.sh" | tail -n 1
echo "== all tests passed"
