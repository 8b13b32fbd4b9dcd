#!/usr/bin/env bash
# Sets everything up on this Debian machine, builds the programs and starts the
# editor under Wine from the staged install folder (build/mingw/stage).
#   tools/run.sh          start the editor and wait until it is closed
#   tools/run.sh --smoke  start it in a fresh folder, wait for the frame, save a
#                         screenshot (build/mingw/smoke.png), close it with "はい"
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
build="$top/build/mingw"
"$top/tools/setup.sh" "$build"
# shellcheck source=tools/env.sh
source "$top/tools/env.sh" "$build"
cd "$top"
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target stage wavora_smoke

"$top/tools/wine-ready.sh"

if [ "${1:-}" = "--smoke" ]; then
  folder="$build/smoke"
  rm -rf "$folder"
  mkdir -p "$folder"
  cp -a "$build/stage/." "$folder/"
  trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
  wine64 "$build/wavora_smoke.exe" start "Z:$folder"
  import -window root "$build/smoke.png"
  wine64 "$build/wavora_smoke.exe" close
  echo "run: screenshot in $build/smoke.png"
  exit 0
fi

cd "$build/stage"
exec wine64 Wavora.exe
