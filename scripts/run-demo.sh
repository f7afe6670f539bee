#!/usr/bin/env bash
# The main job on an embedded default: installs what is missing, builds the Linux plug-in and
# vsthost, renders the built-in demo (stereo test signal + MIDI note pattern) through vesmar.so
# and prints where the result is.
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
