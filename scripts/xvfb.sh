#!/usr/bin/env bash
# Starts or stops a private X server (Xvfb) for the Windows tests that open real windows under
# Wine. Xvfb picks a free display itself (-displayfd); start prints it (":N") for DISPLAY.
#   export DISPLAY=$(scripts/xvfb.sh start BUILD_DIR)    scripts/xvfb.sh stop BUILD_DIR
set -euo pipefail
cmd=${1:?usage: xvfb.sh start|stop BUILD_DIR}
build=$(cd "${2:?usage: xvfb.sh start|stop BUILD_DIR}" && pwd)
case "$cmd" in
  start)
    rm -f "$build/xvfb.display"
    setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$build/xvfb.display" </dev/null >/dev/null 2>&1 &
    echo $! > "$build/xvfb.pid"
    for _ in $(seq 100); do
      if [ -s "$build/xvfb.display" ]; then echo ":$(head -n1 "$build/xvfb.display")"; exit 0; fi
      sleep 0.1
    done
    echo "Xvfb did not start" >&2; exit 1
    ;;
  stop)
    if [ -f "$build/xvfb.pid" ]; then
      kill "$(cat "$build/xvfb.pid")" 2>/dev/null || true
      rm -f "$build/xvfb.pid" "$build/xvfb.display"
    fi
    ;;
  *) echo "usage: xvfb.sh start|stop BUILD_DIR" >&2; exit 2 ;;
esac
