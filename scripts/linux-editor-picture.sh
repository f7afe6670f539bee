#!/usr/bin/env bash
# Makes docs/editor-linux.png, the picture of the Linux editor window beside the Windows one
# (docs/editor.png) in the README: vesmar.so's editor embedded in `vsthost editor`'s X11 host
# window on a private virtual display (Xvfb), after the same click and knob drag, read back from
# the X server.
#   scripts/linux-editor-picture.sh BUILD_DIR [OUT.png]     (BUILD_DIR holds vsthost and vesmar.so)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:?usage: linux-editor-picture.sh BUILD_DIR [OUT.png]}" && pwd)
out=${2:-$root/docs/editor-linux.png}
bash "$root/scripts/xvfb.sh" start "$build" >"$build/xvfb.out"
trap 'bash "$root/scripts/xvfb.sh" stop "$build"' EXIT
DISPLAY=$(cat "$build/xvfb.out") "$build/vsthost" editor "$build/vesmar.so" \
  --do "click 170 200" --do "drag 348 119 348 145" -o "$out" --force | tee "$build/editor-linux.log" | grep '^Editor:'
grep -q 'child of a top-level X11 host window' "$build/editor-linux.log" ||
  { echo "linux-editor-picture.sh: the editor did not open in an X11 window" >&2; exit 1; }
echo "wrote $out"
