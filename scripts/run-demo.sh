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
# centre.
png=$(cd "$out" && pwd)/vesmar-editor.png
"$build/vsthost" editor "$build/vesmar.so" --audio --do "click 170 200" --do "drag 348 119 348 145" \
  --do "wait 2100" -o "$png" --force >/dev/null
echo "Editor picture: $png"
