#!/usr/bin/env bash
# Prepares this Debian machine for building and running Wavora: installs what
# is missing, makes the Wine prefix under the build folder, and starts a virtual
# display when there is none. Safe to run again; it only does what is missing.
# Usage: tools/setup.sh [build-folder]   (default: build/mingw)
# With DISPLAY set, that display is used (Xvfb is started on it when nothing
# answers there); without, the build folder's own Xvfb on a free number. The
# display used is written to <build-folder>/display for what runs next.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
top="$(cd "$here/.." && pwd)"
build="${1:-$top/build/mingw}"
mkdir -p "$build"
build="$(cd "$build" && pwd)"

packages=(cmake make g++ libgtest-dev googletest libbenchmark-dev
          g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
          wine64 fonts-wine xvfb xauth xdotool fonts-ipafont-gothic imagemagick sox e2fsprogs
          clang libclang-rt-14-dev zip unzip)
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

# The display the caller asked for, if any: env.sh would fill in the one this
# build used last time, which is only taken again below while it is ours.
asked="${DISPLAY:-}"
# shellcheck source=tools/env.sh
source "$here/env.sh" "$build"
DISPLAY="$asked"

answers() { # the display in DISPLAY: a 1-pixel screenshot within 4 s
  for _ in $(seq 1 20); do
    import -window root -resize 1x1 null: >/dev/null 2>&1 && return 0
    sleep 0.2
  done
  return 1
}

started_at() { # a process's start time, so that a reused pid is not taken for it
  awk '{print $22}' "/proc/$1/stat" 2>/dev/null
}

# The build folder's own virtual display: an Xvfb that picked a free number
# itself (-displayfd). X sockets are shared by every container of a machine
# while /tmp is not, so a fixed number can be held by a server this machine's
# /tmp does not show; and two checkouts tested at once each get their own.
# "$build/xvfb" records the number, the pid and its start time, so the next
# run takes it again while that very process lives.
own_display() {
  local record="$build/xvfb" num pid at
  if [ -f "$record" ] && read -r num pid at < "$record" && [ -n "$at" ] &&
     [ "$(started_at "$pid")" = "$at" ] && grep -qx Xvfb "/proc/$pid/comm" 2>/dev/null; then
    echo ":$num"
    return 0
  fi
  local chosen
  chosen="$(mktemp)"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$chosen" </dev/null >/dev/null 2>&1 &
  pid=$!
  for _ in $(seq 1 100); do grep -q . "$chosen" && break; sleep 0.1; done
  num="$(tr -dc '0-9' < "$chosen")"
  rm -f "$chosen"
  if [ -z "$num" ]; then
    kill "$pid" 2>/dev/null
    echo "setup: Xvfb did not start" >&2
    return 1
  fi
  echo "$num $pid $(started_at "$pid")" > "$record"
  echo "setup: started Xvfb on :$num" >&2
  echo ":$num"
}

# A display asked for by number that nothing answers on: Xvfb is started on
# it. A socket and lock left behind by a server that is gone (a machine
# restored from an image has them) would stop it, so they only count while
# their process lives.
start_on() {
  local dnum="${1#:}"; dnum="${dnum%%.*}"
  local lock="/tmp/.X${dnum}-lock" xpid
  if [ -f "$lock" ]; then
    xpid="$(tr -dc '0-9' < "$lock")"
    # A restored machine may have given the old number to another process.
    if [ -z "$xpid" ] || ! grep -q '^X' "/proc/$xpid/comm" 2>/dev/null; then
      echo "setup: removing the stale display $1"
      rm -f "$lock" "/tmp/.X11-unix/X${dnum}"
    fi
  fi
  echo "setup: starting Xvfb on $1"
  Xvfb "$1" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
  for _ in $(seq 1 50); do [ -e "/tmp/.X11-unix/X${dnum}" ] && return 0; sleep 0.1; done
  echo "setup: Xvfb did not start on $1 (another X server on this machine may hold it;" \
       "without DISPLAY or WAVORA_TEST_DISPLAY a free display is chosen)" >&2
  return 1
}

# Without a display that answers, every window of the programs fails and the
# tests would only report that nothing appeared; say so here instead.
if [ -z "$DISPLAY" ]; then
  DISPLAY="$(own_display)"
  export DISPLAY
elif ! answers; then
  start_on "$DISPLAY" || exit 1
fi
answers || { echo "setup: the display $DISPLAY does not answer" >&2; exit 1; }
# What follows this run (env.sh, the build's wine-run.sh) uses it too.
echo "$DISPLAY" > "$build/display"

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
