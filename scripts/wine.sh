#!/usr/bin/env bash
# Starts or stops a persistent Wine server for a Windows build tree's private prefix.
# Tests cost ~0.1 s each under a warm server; a server first started inside ctest makes ctest
# wait for ever on the inherited output pipe, so always start it here first.
#   scripts/wine.sh start BUILD_DIR    scripts/wine.sh stop BUILD_DIR
set -euo pipefail
cmd=${1:?usage: wine.sh start|stop BUILD_DIR}
build=$(cd "${2:?usage: wine.sh start|stop BUILD_DIR}" && pwd)
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES=winedbg.exe=d
server=/usr/lib/wine/wineserver64
loader=/usr/lib/wine/wine64
case "$cmd" in
  start)
    mkdir -p "$WINEPREFIX"
    setsid "$server" -p -f </dev/null >/dev/null 2>&1 &
    echo $! > "$build/wineserver.pid"
    "$loader" wineboot -i </dev/null >/dev/null 2>&1 || true
    ;;
  stop)
    "$server" -k </dev/null >/dev/null 2>&1 || true
    if [ -f "$build/wineserver.pid" ]; then
      kill "$(cat "$build/wineserver.pid")" 2>/dev/null || true
      rm -f "$build/wineserver.pid"
    fi
    ;;
  *) echo "usage: wine.sh start|stop BUILD_DIR" >&2; exit 2 ;;
esac
