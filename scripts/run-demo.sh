#!/usr/bin/env bash
# The main job on an embedded default: installs what is missing, builds the Linux plug-in and
# vsthost, renders the built-in demo (stereo test signal + MIDI note pattern) through vesmar.so
# and draws its editor after a click and a knob drag, and prints where both results are.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash scripts/deps.sh
build="${VESMAR_BUILD_ROOT:-$root/build}/release"
out="${1:-$build/demo}"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVESMAR_TESTS=OFF -DVESMAR_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target vesmar_plugin vsthost >/dev/null
mkdir -p "$out"
bash scripts/demo.sh "$build" "$out"
# The editor while the demo plays through it: Pan Side set to Left by a click, the Pan Offset knob
# dragged, then two seconds of the note pattern, so the pan bar shows the envelope away from the
# centre. Drawn in a real X11 window on a private virtual display (Xvfb), so the script's input
# never moves the pointer of the user's own display; offscreen when no Xvfb can start.
png=$(cd "$out" && pwd)/vesmar-editor.png
xvfb_started=0
trap 'if [ "$xvfb_started" = 1 ]; then bash "$root/scripts/xvfb.sh" stop "$out"; fi' EXIT
if command -v Xvfb >/dev/null && display=$(bash scripts/xvfb.sh start "$out" 2>/dev/null); then
  export DISPLAY=$display
  xvfb_started=1
else
  unset DISPLAY
fi
"$build/vsthost" editor "$build/vesmar.so" --audio --do "click 170 200" --do "drag 348 119 348 145" \
  --do "wait 2100" -o "$png" --force | grep '^Editor:' | sed 's/^Editor: */Editor drawn: /'
echo "Editor picture: $png"
