#!/usr/bin/env bash
# The random user at the real editor under Wine: a long seeded sequence of
# menu commands, dialog answers, mouse drags, keys, window switches and closes.
#   tools/random-user.sh [-n STEPS] [-s SEED]     (default: 10000 steps, a new seed)
# The seed is printed first; run again with -s SEED to see a failure again.
# The step log is written to build/mingw/e2e-work/random-user-SEED/random-user.log.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
build="$top/build/mingw"
steps=10000
seed="$(date +%s)"
while [ $# -gt 0 ]; do
  case "$1" in
    -n) steps="$2"; shift 2 ;;
    -s) seed="$2"; shift 2 ;;
    *) echo "usage: tools/random-user.sh [-n STEPS] [-s SEED]" >&2; exit 2 ;;
  esac
done
# WAVORA_TEST_DISPLAY or the caller's display; without either, the build's
# own Xvfb on a free number (tools/setup.sh), which env.sh then names.
if [ -n "${WAVORA_TEST_DISPLAY:-}" ]; then export DISPLAY="$WAVORA_TEST_DISPLAY"; fi
"$top/tools/setup.sh" "$build" >/dev/null
# shellcheck source=tools/env.sh
source "$top/tools/env.sh" "$build"
cd "$top"
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target random_user
"$top/tools/wine-ready.sh"
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
start=$(date +%s)
rc=0
WAVORA_STAGE="$build/stage" "$build/wine-run.sh" "$build/random_user.exe" -n "$steps" -s "$seed" || rc=$?
echo "random-user: $steps steps with seed $seed took $(( $(date +%s) - start )) s (exit $rc)"
exit "$rc"
