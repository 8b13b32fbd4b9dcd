#!/usr/bin/env bash
# Starts Wine's server (kept alive between programs) and its services for the
# environment of tools/env.sh, and waits until a program started under Wine
# answers. Exits 1, saying so, when Wine does not answer within a minute.
set -u
wineserver -p >/dev/null 2>&1 || true # exit 2: a server is already running
answer="$(mktemp)"
trap 'rm -f "$answer"' EXIT
for _ in $(seq 1 30); do
  # Into a file, not a pipe: the services started now would hold a pipe open.
  wine64 cmd /c echo wine-ready </dev/null >"$answer" 2>/dev/null
  if tr -d '\r' <"$answer" | grep -qx wine-ready; then exit 0; fi
  sleep 2
done
echo "wine-ready: Wine does not answer (prefix $WINEPREFIX)" >&2
exit 1
