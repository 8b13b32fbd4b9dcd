#!/usr/bin/env bash
# The speed sweep: every generator, effect, edit command, Play render, undo
# step, window opening and the sound window's painting on a full 500000-byte
# sound as ratios against a plain pass over the same bytes (native,
# optimised), then the editor's start-up to a ready frame against a bare
# window program under the same Wine.
#   tools/speed-sweep.sh [RUNS]     (start-up runs, default 7)
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
build="$top/build/mingw"
cd "$top"
echo "== speed sweep (native)"
cmake --preset native >/dev/null
cmake --build --preset native --target SweepBench
"$top/build/native/SweepBench" --benchmark_min_time=0.5

echo "== start-up (under Wine)"
# WAVORA_TEST_DISPLAY or the caller's display; without either, the build's
# own Xvfb on a free number (tools/setup.sh), which env.sh then names.
if [ -n "${WAVORA_TEST_DISPLAY:-}" ]; then export DISPLAY="$WAVORA_TEST_DISPLAY"; fi
"$top/tools/setup.sh" "$build" >/dev/null
# shellcheck source=tools/env.sh
source "$top/tools/env.sh" "$build"
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target startup_bench
"$top/tools/wine-ready.sh"
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
WAVORA_STAGE="$build/stage" "$build/wine-run.sh" "$build/startup_bench.exe" "${1:-7}"
