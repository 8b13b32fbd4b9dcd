#!/usr/bin/env bash
# Prepares this Debian machine for building and running Wavora: installs what
# is missing, makes the Wine prefix under the build folder, and starts a virtual
# display when there is none. Safe to run again; it only does what is missing.
# Usage: tools/setup.sh [build-folder]   (default: build/mingw)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
top="$(cd "$here/.." && pwd)"
build="${1:-$top/build/mingw}"
mkdir -p "$build"
build="$(cd "$build" && pwd)"

packages=(cmake make g++ libgtest-dev googletest libbenchmark-dev
          g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
          wine64 fonts-wine xvfb xauth xdotool fonts-ipafont-gothic imagemagick sox e2fsprogs
          clang libclang-rt-14-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then echo "setup: run as root (sudo) to install packages" >&2; exit 1; fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get install -y --no-install-recommends "${missing[@]}" >/dev/null 2>&1 ||
    { apt-get update >/dev/null && apt-get install -y --no-install-recommends "${missing[@]}" >/dev/null; }
fi

# shellcheck source=tools/env.sh
source "$here/env.sh" "$build"

# A virtual display when there is no real one. A socket and lock left behind
# by a server that is gone (a machine restored from an image has them) would
# make every window fail, so they only count while their process lives.
dnum="${DISPLAY#:}"; dnum="${dnum%%.*}"
lock="/tmp/.X${dnum}-lock"
if [ -f "$lock" ]; then
  xpid="$(tr -dc '0-9' < "$lock")"
  # A restored machine may have given the old number to another process.
  if [ -z "$xpid" ] || ! grep -q '^X' "/proc/$xpid/comm" 2>/dev/null; then
    echo "setup: removing the stale display $DISPLAY"
    rm -f "$lock" "/tmp/.X11-unix/X${dnum}"
  fi
fi
if [ ! -e "/tmp/.X11-unix/X${dnum}" ]; then
  echo "setup: starting Xvfb on $DISPLAY"
  (Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &)
  for _ in $(seq 1 50); do [ -e "/tmp/.X11-unix/X${dnum}" ] && break; sleep 0.1; done
  [ -e "/tmp/.X11-unix/X${dnum}" ] || { echo "setup: Xvfb did not start on $DISPLAY" >&2; exit 1; }
fi
# Without a display that answers, every window of the programs fails and the
# tests would only report that nothing appeared; say so here instead.
answered=0
for _ in $(seq 1 20); do
  if import -window root -resize 1x1 null: >/dev/null 2>&1; then answered=1; break; fi
  sleep 0.2
done
[ "$answered" = 1 ] || { echo "setup: the display $DISPLAY does not answer" >&2; exit 1; }

# Sound: the default ALSA device writes what is played into a file, so tests
# can check the exact bytes; recording then delivers silence.
mkdir -p "$HOME"
cat > "$HOME/.asoundrc" <<ASOUND
pcm.!default { type file; slave.pcm "null"; file "$HOME/played.raw"; format "raw" }
ASOUND

# The Wine prefix, made once: no network prompts, Japanese fonts for the names
# the programs ask for, and a virtual desktop so that windows get frames.
if [ ! -f "$WINEPREFIX/.wavora-ready" ]; then
  echo "setup: creating the Wine prefix in $WINEPREFIX"
  rm -rf "$WINEPREFIX"
  wine64 wineboot -i >/dev/null 2>&1 || true
  wineserver -w
  reg="$build/wavora-prefix.reg"
  iconv -f UTF-8 -t UTF-16 > "$reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"ＭＳ Ｐゴシック"="IPAPGothic"
"ＭＳ ゴシック"="IPAGothic"
"MS UI Gothic"="IPAPGothic"
"MS Shell Dlg"="IPAPGothic"
"MS Shell Dlg 2"="IPAPGothic"
"Tahoma"="IPAPGothic"
"System"="IPAPGothic"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]
"MS Shell Dlg"="IPAGothic"
"MS Shell Dlg 2"="IPAGothic"

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1280x1024"
REG
  wine64 regedit "$reg" >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.wavora-ready"
fi
# The caption buttons are drawn with Marlett; this Wine finds it only inside
# the prefix, without it they show as the letters 0, 1 and r.
fonts="$WINEPREFIX/drive_c/windows/Fonts"
if [ -d "$fonts" ] && [ ! -f "$fonts/marlett.ttf" ] && [ -f /usr/share/wine/fonts/marlett.ttf ]; then
  cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
fi
echo "setup: ready (prefix $WINEPREFIX, display $DISPLAY)"
