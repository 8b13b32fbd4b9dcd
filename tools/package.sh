#!/usr/bin/env bash
# Builds the programs and writes the release package
# build/Wavora-<version>-windows.zip: the install folder as a user unpacks it
# (Wavora/Wavora.exe, Wavora/Wavora部品/ and the guide
# Wavora/はじめにお読みください.txt, in Shift-JIS with CR LF), then lists
# the package with unzip to check that it holds all of that.
# Usage: tools/package.sh   (after tools/setup.sh, which installs zip/unzip)
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
build="$top/build/mingw"
cd "$top"
# Japanese file names are UTF-8 on this side whatever the caller's locale.
export LC_ALL=C.UTF-8 LANG=C.UTF-8
for tool in unzip iconv python3; do
  command -v "$tool" >/dev/null || { echo "package: $tool is missing (tools/setup.sh installs it)" >&2; exit 1; }
done

cmake --preset mingw >/dev/null
# Staged afresh, so that nothing a former tree staged is packed with it.
rm -rf "$build/stage"
cmake --build --preset mingw --target stage
version="$(sed -n 's/^#define WAVORA_VERSION_TEXT "\(.*\)"$/\1/p' "$build/generated/Version.h")"
[ -n "$version" ] || { echo "package: no version in $build/generated/Version.h" >&2; exit 1; }

guide="はじめにお読みください.txt"
folder="$build/package/Wavora"
rm -rf "$build/package"
mkdir -p "$folder"
cp -a "$build/stage/." "$folder/"
sed -e "s/@WAVORA_VERSION@/$version/g" -e 's/$/\r/' "$top/assets/package/$guide" |
  iconv -f UTF-8 -t CP932 > "$folder/$guide"

zip="$top/build/Wavora-$version-windows.zip"
rm -f "$zip"
# Written with Python's zipfile rather than Info-ZIP's zip: zip 3.0 stores
# UTF-8 names without the flag that says so, and Windows would then read
# "Wavora部品" in its own code page, and the editor would not find its parts.
python3 - "$build/package" "$zip" <<'PY'
import os, sys, zipfile
base, out = sys.argv[1], sys.argv[2]
with zipfile.ZipFile(out, 'w', zipfile.ZIP_DEFLATED, compresslevel=9) as z:
    for folder, dirs, files in os.walk(base):
        dirs.sort()
        for name in [folder] + [os.path.join(folder, f) for f in sorted(files)]:
            if name != base:
                z.write(name, os.path.relpath(name, base))
PY

# What a user must find after unpacking it.
listing="$(unzip -l "$zip")"
for entry in "Wavora/Wavora.exe" "Wavora/$guide" "Wavora/Wavora部品/Pictra.exe" \
             "Wavora/Wavora部品/HelpWAVORA.txt" "Wavora/Wavora部品/拡大カーソル.cur" \
             "Wavora/Wavora部品/Saiseiのアイコン.ico"; do
  grep -qF " $entry" <<<"$listing" || { echo "package: $entry is missing from $zip" >&2; exit 1; }
done
staged="$(cd "$build/stage" && find . -type f | wc -l)"
packed="$(grep -c ' Wavora/.*[^/]$' <<<"$listing")"
[ "$packed" -eq $((staged + 1)) ] ||
  { echo "package: $packed files in $zip, the stage has $staged and the guide" >&2; exit 1; }
echo "$listing"
echo "package: $zip"
