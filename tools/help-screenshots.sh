#!/usr/bin/env bash
# Takes the screenshots of the help pages from the real editor under Wine and
# saves them, cut and reduced to small palette BMP files, in
# assets/help/pictures (where the build stages them from). The pictures are
# committed; run this again when the windows they show have changed.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
build="$top/build/mingw"
# WAVORA_TEST_DISPLAY or the caller's display; without either, the build's
# own Xvfb on a free number (tools/setup.sh), which env.sh then names.
if [ -n "${WAVORA_TEST_DISPLAY:-}" ]; then export DISPLAY="$WAVORA_TEST_DISPLAY"; fi
"$top/tools/setup.sh" "$build"
# shellcheck source=tools/env.sh
source "$top/tools/env.sh" "$build"
cd "$top"
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target stage help_shots

raw="$build/help-shots-raw"
rm -rf "$raw"
mkdir -p "$raw"
wineserver -p || true
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
wine64 cmd /c exit </dev/null >/dev/null 2>&1 || true
WAVORA_STAGE="$build/stage" wine64 "$build/help_shots.exe" "Z:$raw" > "$build/help-shots.log" 2>&1 || { cat "$build/help-shots.log"; exit 1; }
cat "$build/help-shots.log"

out="$top/assets/help/pictures"
# name, colours, further ImageMagick options (a resize for the larger ones)
while read -r name colours options; do
  [ -f "$raw/$name" ] || { echo "help-screenshots: $name was not taken" >&2; exit 1; }
  # shellcheck disable=SC2086
  convert "$raw/$name" $options -dither None -colors "$colours" -type Palette -compress None "BMP3:$out/$name"
  echo "help-screenshots: $out/$name"
done <<'LIST'
ShotNewSound.bmp 64 -resize 86%
ShotSinDialog.bmp 64
ShotTakasaSinDialog.bmp 64
ShotGamen.bmp 64 -resize 44%
ShotHakeiGraph.bmp 32
ShotGraphs.bmp 32 -resize 90%
ShotSinSin.bmp 16
ShotSinKakeSin.bmp 16
ShotTakasaSin.bmp 16
ShotNoise.bmp 16
ShotSentaku.bmp 16 -crop 470x260+40+0 +repage
ShotMarker.bmp 16 -crop 470x260+40+0 +repage
ShotPatternWindow.bmp 32 -resize 66%
LIST
