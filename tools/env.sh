# Source this to get the environment the Windows programs run in:
#   source tools/env.sh [build-folder]
_wavora_build="${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/mingw}"
export PATH=/usr/lib/wine:$PATH
export WINEPREFIX="$_wavora_build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export HOME="$_wavora_build/winehome"
# The display tools/setup.sh prepared for this build, unless one is set.
if [ -z "${DISPLAY:-}" ] && [ -s "$_wavora_build/display" ]; then
  DISPLAY="$(cat "$_wavora_build/display")"
  export DISPLAY
fi
# Wine turns Unix file names into Windows ones through the locale: only a
# UTF-8 locale that exists keeps "Wavora部品" readable, whatever the caller has.
export LC_ALL=C.UTF-8 LANG=C.UTF-8
unset _wavora_build
