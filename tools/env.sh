# Source this to get the environment the Windows programs run in:
#   source tools/env.sh [build-folder]
_wavora_build="${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/mingw}"
export PATH=/usr/lib/wine:$PATH
export WINEPREFIX="$_wavora_build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export HOME="$_wavora_build/winehome"
export DISPLAY="${DISPLAY:-:91}"
unset _wavora_build
